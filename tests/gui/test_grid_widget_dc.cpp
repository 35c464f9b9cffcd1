// The QPainter device context: which pixels lines, fills, text and focus
// frames touch, scrolling a pixmap, and that measuring agrees with Qt's
// own metrics for ASCII and for decoded non-ASCII bytes.
#include "grid/render/QtGridDC.h"
#include "grid/render/QtGridFont.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cmath>

using namespace hpa;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

// Draws with fn on a white 40 x 30 image and returns it.
template <typename Fn> QImage Draw(Fn fn)
{
    QPixmap pixmap(40, 30);
    pixmap.fill(Qt::white);
    {
        QPainter painter(&pixmap);
        CQtGridDC dc(&painter, &pixmap);
        fn(dc);
    }
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

int CountNonWhite(const QImage& image, const QRect& rc)
{
    int n = 0;
    for (int y = rc.top(); y <= rc.bottom(); ++y)
        for (int x = rc.left(); x <= rc.right(); ++x)
            n += image.pixel(x, y) != kWhite ? 1 : 0;
    return n;
}

} // namespace

TEST(QtGridDC, LinesLeaveOutTheirEndPointInEitherDirection)
{
    const CGridPen pen{MakeRGB(0, 0, 0), 1};
    const QImage image = Draw([&](CGridDC& dc) {
        dc.SelectPen(&pen);
        dc.Line(2, 3, 10, 3);   // x 2..9
        dc.Line(10, 5, 2, 5);   // x 10..3
        dc.Line(20, 2, 20, 12); // y 2..11
    });
    EXPECT_EQ(image.pixel(2, 3), kBlack);
    EXPECT_EQ(image.pixel(9, 3), kBlack);
    EXPECT_EQ(image.pixel(10, 3), kWhite);
    EXPECT_EQ(image.pixel(10, 5), kBlack);
    EXPECT_EQ(image.pixel(3, 5), kBlack);
    EXPECT_EQ(image.pixel(2, 5), kWhite);
    EXPECT_EQ(image.pixel(20, 11), kBlack);
    EXPECT_EQ(image.pixel(20, 12), kWhite);
    EXPECT_EQ(CountNonWhite(image, QRect(0, 0, 40, 30)), 8 + 8 + 10);
}

TEST(QtGridDC, FillsCoverExactlyTheirRectangle)
{
    const QImage image = Draw([](CGridDC& dc) {
        dc.FillSolidRect({5, 6, 15, 9}, MakeRGB(255, 0, 0));
    });
    EXPECT_EQ(image.pixel(5, 6), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(14, 8), qRgb(255, 0, 0));
    EXPECT_EQ(CountNonWhite(image, QRect(0, 0, 40, 30)), 10 * 3);
}

TEST(QtGridDC, FocusFrameDrawnTwiceRestoresThePicture)
{
    QPixmap pixmap(40, 30);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    CQtGridDC dc(&painter, &pixmap);
    dc.FillSolidRect({0, 0, 20, 30}, MakeRGB(0, 120, 215));
    painter.end();
    const QImage before = pixmap.toImage();
    painter.begin(&pixmap);
    dc.DrawFocusRect({2, 2, 30, 20});
    painter.end();
    const QImage once = pixmap.toImage();
    EXPECT_NE(once, before);
    // Every other pixel of the frame changed, nothing inside it.
    EXPECT_NE(once.pixel(2, 2), before.pixel(2, 2));
    EXPECT_EQ(once.pixel(3, 2), before.pixel(3, 2));
    EXPECT_EQ(once.pixel(10, 10), before.pixel(10, 10));
    painter.begin(&pixmap);
    dc.DrawFocusRect({2, 2, 30, 20});
    painter.end();
    EXPECT_EQ(pixmap.toImage(), before);
}

TEST(QtGridDC, TextStaysInsideItsClipRectangle)
{
    const CGridFont font{"Arial", -14, 400};
    const QImage image = Draw([&](CGridDC& dc) {
        dc.SelectFont(&font);
        dc.SetTextColor(MakeRGB(0, 0, 0));
        dc.SetBkColor(MakeRGB(255, 255, 255));
        dc.TextOut(2, 2, {0, 0, 12, 20}, "WWWWWWWW", false);
    });
    EXPECT_GT(CountNonWhite(image, QRect(0, 0, 12, 20)), 10);
    EXPECT_EQ(CountNonWhite(image, QRect(12, 0, 28, 30)), 0);
}

TEST(QtGridDC, ScrollingMovesThePixmapsPixels)
{
    const QImage image = Draw([](CGridDC& dc) {
        dc.FillSolidRect({0, 0, 40, 5}, MakeRGB(0, 0, 0));
        dc.ScrollPixels(0, 10, {0, 0, 40, 30});
        dc.FillSolidRect({0, 0, 1, 1}, MakeRGB(255, 0, 0)); // still drawing after it
    });
    EXPECT_EQ(image.pixel(5, 12), kBlack);
    EXPECT_EQ(image.pixel(5, 16), kWhite);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
}

TEST(QtGridDC, MeasuringMatchesQtForAsciiAndDecodedBytes)
{
    CQtGridDC dc; // measuring only
    const CGridFont font{"Arial", -12, 400};
    dc.SelectFont(&font);
    const QFontMetricsF metrics(CQtFontCache::ToQFont(font));
    const CGridSize ascii = dc.GetTextExtent("report-4193.pdf");
    EXPECT_NEAR(ascii.cx, metrics.horizontalAdvance(QStringLiteral("report-4193.pdf")), 1.0);
    const QFontMetrics whole(CQtFontCache::ToQFont(font));
    EXPECT_EQ(ascii.cy, whole.ascent() + whole.descent());
    // UTF-8 and Windows-1252 spellings of the same name measure the same.
    const int nUtf8 = dc.GetTextExtent("M\xC3\xBCller").cx;
    EXPECT_EQ(dc.GetTextExtent("M\xFCller").cx, nUtf8);
    EXPECT_NEAR(nUtf8, metrics.horizontalAdvance(QString::fromUtf8("M\xC3\xBCller")), 1.0);
    EXPECT_EQ(dc.GetTextExtent("").cx, 0);
    // Another font through the same context; no font is the desktop's.
    const CGridFont big{"Arial", -24, 700};
    dc.SelectFont(&big);
    EXPECT_GT(dc.GetTextExtent("report-4193.pdf").cx, ascii.cx);
    dc.SelectFont(nullptr);
    EXPECT_GT(dc.GetTextExtent("x").cy, 0);
    // Drawing calls without a painter do nothing.
    dc.TextOut(0, 0, {0, 0, 10, 10}, "x", true);
    dc.Line(0, 0, 5, 5);
}
