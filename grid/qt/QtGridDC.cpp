#include "grid/qt/QtGridDC.h"

#include "grid/qt/QtGridFont.h"
#include "platform/qt/TextDecode.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPalette>
#include <QPolygon>

#include <algorithm>

namespace hpa {

namespace {

QColor ToQColor(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

QRect ToQRect(const CGridRect& rc)
{
    return QRect(rc.left, rc.top, rc.Width(), rc.Height());
}

bool IsAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

QString ToDisplay(std::string_view bytes)
{
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return DecodeAccText(bytes);
}

} // namespace

void LoadGridSysColors(const QPalette& palette)
{
    const auto set = [&palette](GridSysColor which, QPalette::ColorRole role) {
        const QColor color = palette.color(QPalette::Active, role);
        SetGridSysColor(which, MakeRGB(color.red(), color.green(), color.blue()));
    };
    set(GridSysColor::window, QPalette::Base);
    set(GridSysColor::windowText, QPalette::Text);
    set(GridSysColor::highlight, QPalette::Highlight);
    set(GridSysColor::highlightText, QPalette::HighlightedText);
    set(GridSysColor::buttonFace, QPalette::Button);
    set(GridSysColor::buttonShadow, QPalette::Dark);
    set(GridSysColor::buttonText, QPalette::ButtonText);
}

CQtGridDC::CQtGridDC() = default;

CQtGridDC::CQtGridDC(QPainter* pPainter, QPixmap* pPixmap)
    : m_pPainter(pPainter), m_pPixmap(pPixmap)
{
    if (m_pPainter)
        m_pPainter->setRenderHint(QPainter::Antialiasing, false);
}

CQtGridDC::~CQtGridDC() = default;

COLORREF CQtGridDC::SetTextColor(COLORREF cr)
{
    return std::exchange(m_crText, cr);
}

COLORREF CQtGridDC::SetBkColor(COLORREF cr)
{
    return std::exchange(m_crBack, cr);
}

const CGridFont* CQtGridDC::SelectFont(const CGridFont* pFont)
{
    return std::exchange(m_pFont, pFont);
}

const CGridPen* CQtGridDC::SelectPen(const CGridPen* pPen)
{
    return std::exchange(m_pPen, pPen);
}

// The selected description is compared by value: a cell may change its
// font object's contents between two selections.
CQtFontEntry& CQtGridDC::Font()
{
    if (!m_pEntry || m_pFont != m_pResolvedFor || (m_pFont && !(*m_pFont == m_resolvedValue))) {
        m_pEntry = CQtFontCache::Instance().Get(m_pFont);
        m_pResolvedFor = m_pFont;
        if (m_pFont)
            m_resolvedValue = *m_pFont;
    }
    return *m_pEntry;
}

void CQtGridDC::UsePainterFont()
{
    CQtFontEntry& entry = Font();
    if (m_pPainterFont != &entry) {
        m_pPainter->setFont(entry.Font());
        m_pPainterFont = &entry;
    }
}

// Setting the painter's pen costs; most texts of a paint share one colour.
void CQtGridDC::UseTextPen()
{
    if (m_crPainterPen != m_crText) {
        m_pPainter->setPen(ToQColor(m_crText));
        m_crPainterPen = m_crText;
    }
}

CGridSize CQtGridDC::GetTextExtent(std::string_view str)
{
    CQtFontEntry& entry = Font();
    return {entry.TextWidth(str), entry.Height()};
}

void CQtGridDC::TextOut(int x, int y, const CGridRect& rcClip, std::string_view str, bool bOpaque)
{
    if (!m_pPainter)
        return;
    const QRect rc = ToQRect(rcClip);
    if (bOpaque && !rcClip.IsEmpty()) {
        m_pPainter->fillRect(rc, ToQColor(m_crBack));
        Touch(rc);
    }
    if (str.empty() || rcClip.IsEmpty())
        return;
    UsePainterFont();
    CQtFontEntry& entry = Font();
    UseTextPen();
    // Most cell texts fit their cell; only the others pay for a clip.
    const int w = entry.TextWidth(str);
    const bool bFits = x >= rcClip.left && x + w <= rcClip.right && y >= rcClip.top &&
                       y + entry.Height() <= rcClip.bottom;
    if (!bFits) {
        m_pPainter->save();
        m_pPainter->setClipRect(rc, Qt::IntersectClip);
    }
    m_pPainter->drawText(QPoint(x, y + entry.Ascent()), ToDisplay(str));
    if (!bFits)
        m_pPainter->restore();
    Touch(bFits ? QRect(x, y, w, entry.Height()) : rc);
}

void CQtGridDC::DrawWrappedText(const CGridRect& rc, std::string_view str)
{
    if (!m_pPainter || rc.IsEmpty() || str.empty())
        return;
    UsePainterFont();
    UseTextPen();
    m_pPainter->save();
    m_pPainter->setClipRect(ToQRect(rc), Qt::IntersectClip);
    m_pPainter->drawText(ToQRect(rc), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                         ToDisplay(str));
    m_pPainter->restore();
    Touch(ToQRect(rc));
}

// Horizontal and vertical lines are filled rectangles, which leaves no
// doubt about which pixels they cover; others are aliased lines whose flat
// cap leaves out the end point.
void CQtGridDC::Line(int x1, int y1, int x2, int y2)
{
    if (!m_pPainter || (x1 == x2 && y1 == y2))
        return;
    const QColor color = ToQColor(m_pPen ? m_pPen->crColor : 0);
    const int nWidth = std::max(m_pPen ? m_pPen->nWidth : 1, 1);
    QRect rc;
    if (y1 == y2) {
        const int l = x2 > x1 ? x1 : x2 + 1;
        const int r = x2 > x1 ? x2 : x1 + 1;
        rc = QRect(l, y1 - (nWidth - 1) / 2, r - l, nWidth);
    } else if (x1 == x2) {
        const int t = y2 > y1 ? y1 : y2 + 1;
        const int b = y2 > y1 ? y2 : y1 + 1;
        rc = QRect(x1 - (nWidth - 1) / 2, t, nWidth, b - t);
    }
    if (!rc.isNull()) {
        m_pPainter->fillRect(rc, color);
        Touch(rc);
        return;
    }
    QPen pen(color, nWidth == 1 ? 0 : nWidth);
    pen.setCapStyle(Qt::FlatCap);
    m_pPainter->setPen(pen);
    m_crPainterPen = kColorUnset;
    m_pPainter->drawLine(x1, y1, x2, y2);
    Touch(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                QPoint(std::max(x1, x2), std::max(y1, y2))));
}

// Every pixel of the frame whose coordinates add up to an even number is
// inverted; a device without raster operations (a printer) gets a plain
// dotted frame.
void CQtGridDC::DrawFocusRect(const CGridRect& rc)
{
    if (!m_pPainter || rc.IsEmpty())
        return;
    QPolygon points;
    auto add = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            points << QPoint(x, y);
    };
    for (int x = rc.left; x < rc.right; ++x) {
        add(x, rc.top);
        if (rc.bottom - 1 > rc.top)
            add(x, rc.bottom - 1);
    }
    for (int y = rc.top + 1; y < rc.bottom - 1; ++y) {
        add(rc.left, y);
        if (rc.right - 1 > rc.left)
            add(rc.right - 1, y);
    }
    const QPaintEngine* pEngine = m_pPainter->paintEngine();
    const bool bXor = pEngine && pEngine->hasFeature(QPaintEngine::RasterOpModes);
    m_pPainter->save();
    if (bXor) {
        m_pPainter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        m_pPainter->setPen(QPen(Qt::white, 0));
    } else {
        m_pPainter->setPen(QPen(Qt::black, 0));
    }
    m_pPainter->drawPoints(points);
    m_pPainter->restore();
    Touch(ToQRect(rc));
}

void CQtGridDC::DrawBitmap(const CGridBitmap& bitmap, int x, int y, const CGridRect& rcClip)
{
    const auto* pBitmap = dynamic_cast<const CQtGridBitmap*>(&bitmap);
    if (!m_pPainter || !pBitmap || rcClip.IsEmpty())
        return;
    m_pPainter->save();
    m_pPainter->setClipRect(ToQRect(rcClip), Qt::IntersectClip);
    m_pPainter->drawPixmap(x, y, pBitmap->Pixmap());
    m_pPainter->restore();
    Touch(ToQRect(rcClip));
}

void CQtGridDC::BlitFrom(CGridDC& src, const CGridRect& rcDest, int xSrc, int ySrc)
{
    auto* pSrc = dynamic_cast<CQtGridDC*>(&src);
    if (!m_pPainter || !pSrc || !pSrc->m_pPixmap || rcDest.IsEmpty())
        return;
    const qreal dpr = pSrc->m_pPixmap->devicePixelRatio();
    const QRectF source(xSrc * dpr, ySrc * dpr, rcDest.Width() * dpr, rcDest.Height() * dpr);
    m_pPainter->drawPixmap(QRectF(ToQRect(rcDest)), *pSrc->m_pPixmap, source);
    Touch(ToQRect(rcDest));
}

// A pixmap cannot scroll while a painter is active on it; the painter's
// font and clip are set again lazily by the next drawing call.
void CQtGridDC::ScrollPixels(int dx, int dy, const CGridRect& rc)
{
    if (!m_pPainter || !m_pPixmap || rc.IsEmpty() || (dx == 0 && dy == 0))
        return;
    const qreal dpr = m_pPixmap->devicePixelRatio();
    m_pPainter->end();
    m_pPixmap->scroll(qRound(dx * dpr), qRound(dy * dpr),
                      QRect(qRound(rc.left * dpr), qRound(rc.top * dpr), qRound(rc.Width() * dpr),
                            qRound(rc.Height() * dpr)));
    m_pPainter->begin(m_pPixmap);
    m_pPainter->setRenderHint(QPainter::Antialiasing, false);
    m_pPainterFont = nullptr;
    m_crPainterPen = kColorUnset;
    Touch(ToQRect(rc));
}

CGridRect CQtGridDC::GetClipBox() const
{
    QRect rc = m_rcClip;
    if (rc.isNull() && m_pPainter && m_pPainter->device()) {
        const QPaintDevice* pDevice = m_pPainter->device();
        const qreal dpr = std::max(pDevice->devicePixelRatioF(), 1.0);
        rc = QRect(0, 0, qRound(pDevice->width() / dpr), qRound(pDevice->height() / dpr));
    }
    return {rc.left(), rc.top(), rc.right() + 1, rc.bottom() + 1};
}

} // namespace hpa
