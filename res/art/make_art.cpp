// Draws HPA's bitmaps: the toolbar buttons (16x15 pixel art), the program
// and document icons at the sizes the desktop wants, and the start-up
// bitmap. The PNGs it writes are committed under res/; run it again only
// after changing a drawing here:
//
//   g++ -std=c++20 -fPIC res/art/make_art.cpp -o /tmp/make_art \
//       $(pkg-config --cflags --libs Qt6Gui)
//   QT_QPA_PLATFORM=offscreen /tmp/make_art res
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace {

QString g_outDir;

const std::map<char, QRgb> kPalette = {
    {'.', qRgba(0, 0, 0, 0)},   {'k', qRgb(0, 0, 0)},       {'w', qRgb(255, 255, 255)},
    {'l', qRgb(192, 192, 192)}, {'g', qRgb(128, 128, 128)}, {'b', qRgb(0, 0, 128)},
    {'B', qRgb(200, 230, 255)}, {'y', qRgb(255, 224, 128)}, {'W', qRgb(255, 244, 192)},
    {'Y', qRgb(224, 176, 48)},  {'G', qRgb(0, 160, 0)},     {'n', qRgb(128, 64, 0)},
};

void Save(const QImage& image, const QString& strName)
{
    const QString strPath = g_outDir + QLatin1Char('/') + strName;
    if (!image.save(strPath, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(strPath));
        std::exit(1);
    }
}

// One toolbar button from 15 rows of 16 palette characters.
void Button(const char* pszName, const std::vector<const char*>& rows)
{
    if (rows.size() != 15) {
        std::fprintf(stderr, "%s: %zu rows\n", pszName, rows.size());
        std::exit(1);
    }
    QImage image(16, 15, QImage::Format_ARGB32);
    for (int y = 0; y < 15; ++y) {
        if (std::strlen(rows[y]) != 16) {
            std::fprintf(stderr, "%s: row %d is %zu wide\n", pszName, y, std::strlen(rows[y]));
            std::exit(1);
        }
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, kPalette.at(rows[y][x]));
    }
    Save(image, QStringLiteral("toolbar/%1.png").arg(QLatin1String(pszName)));
}

void DrawButtons()
{
    Button("new", {"................", "...kkkkkkk......", "...kwwwwwkk.....", "...kwwwwwkwk....",
                   "...kwwwwwkkkk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...",
                   "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...",
                   "...kwwwwwwwwk...", "...kkkkkkkkkk...", "................"});
    Button("open", {"................", ".........kkk....", "........k...k.k.", ".............kk.",
                    ".kkk........kkk.", "kyWyWkkkkkkk....", "kWyWyWyWyWyk....", "kyWyWyWyWyWk....",
                    "kWyWykkkkkkkkkk.", "kyWykYYYYYYYYYk.", "kWykYYYYYYYYYk..", "kykYYYYYYYYYk...",
                    "kkYYYYYYYYYk....", "kkkkkkkkkkk.....", "................"});
    Button("saveas",
           {"................", ".kkkkkkkkkkkkkk.", ".kbkwwwwwwwwkbk.", ".kbkwwwwwwwwkbk.",
            ".kbkwwwwwwwwkbk.", ".kbkwwwwwwwwkbk.", ".kbbkkkkkkkkbbk.", ".kbbbbbbbbbbbbk.",
            ".kbbllllllllbbk.", ".kbblkklllllbbk.", ".kbblkklllllbbk.", ".kbblkklllllbbk.",
            "..kblllllllllbk.", "...kkkkkkkkkkkk.", "................"});
    Button("print", {"................", "....kkkkkkkk....", "....kwwwwwwk....", "....kwkkkkwk....",
                     "....kwwwwwwk....", "..kkkkkkkkkkkk..", ".kllllllllllllk.", ".klllllllllGGlk.",
                     ".kllllllllllllk.", ".kggggggggggggk.", ".kkwwwwwwwwwwkk.", "...kwkkkkkkwk...",
                     "...kwwwwwwwwk...", "...kkkkkkkkkk...", "................"});
    Button("copy", {"................", ".kkkkkk.........", ".kwwwwkk........", ".kwkkwkwk.......",
                    ".kwwwwkkkk......", ".kwkkkkkkkkkk...", ".kwwwwkwwwwwkk..", ".kwkkkkwkkkwkwk.",
                    ".kwwwwkwwwwwkkkk", ".kwkkkkwkkkkkkwk", ".kkkkkkwwwwwwwwk", "......kwkkkkkkwk",
                    "......kwwwwwwwwk", "......kwkkkkkwwk", "......kkkkkkkkkk"});
    Button("find", {"................", "....kkkkk.......", "...kBBBBBk......", "..kBwBBBBBk.....",
                    "..kBwBBBBBk.....", "..kBBBBBBBk.....", "..kBBBBBBBk.....", "..kBBBBBBBk.....",
                    "...kBBBBBk......", "....kkkkknn.....", "..........nnn...", "...........nnn..",
                    "............nnn.", ".............nn.", "................"});
    Button("connect",
           {".............G..", "............GGG.", "...........GGGGG", ".............G..",
            "..kkkkkkk....G..", "..kwwwwwk....G..", "..kwkkkwk....G..", "kkkkkkkkkkkk.G..",
            "kllllllllllk.G..", "kllllllllGlk.G..", "kggggggggggkGG..", "kkwwwwwwwwkk....",
            "..kwkkkkwk......", "..kwwwwwwk......", "..kkkkkkkk......"});
    Button("about", {"................", ".....bbbbb......", "...bbbbbbbbb....", "..bbbbwwbbbbb...",
                     "..bbbbwwbbbbb...", ".bbbbbbbbbbbbb..", ".bbbbwwwbbbbbb..", ".bbbbbwwbbbbbb..",
                     ".bbbbbwwbbbbbb..", ".bbbbbwwbbbbbb..", "..bbbbwwbbbbb...", "..bbbwwwwbbbb...",
                     "...bbbbbbbbb....", ".....bbbbb......", "................"});
    Button("contexthelp",
           {"k...............", "kk........bbbb..", "kwk......bb..bb.", "kwwk.........bb.",
            "kwwwk.......bb..", "kwwwwk.....bb...", "kwwwwwk....bb...", "kwwwwwwk........",
            "kwwwwwwwk..bb...", "kwwwwkkkkk.bb...", "kwwkwwk.........", "kwk.kwwk........",
            "kk..kwwk........", "k....kwwk.......", ".....kkk........"});
}

// A sheet of ledger paper: white, ruled in blue, one column rule.
void DrawLedger(QPainter& p, const QRectF& r, int nRows)
{
    p.setPen(QPen(QColor(60, 60, 60), r.width() / 40.0));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(QColor(40, 90, 200), r.width() / 40.0));
    for (int i = 1; i <= nRows; ++i) {
        const double y = r.top() + r.height() * i / (nRows + 1.0);
        p.drawLine(QPointF(r.left() + r.width() * 0.08, y),
                   QPointF(r.right() - r.width() * 0.08, y));
    }
    p.drawLine(QPointF(r.left() + r.width() * 0.35, r.top() + r.height() * 0.12),
               QPointF(r.left() + r.width() * 0.35, r.bottom() - r.height() * 0.08));
}

// The program icon: a printer handing out a ledger sheet, in a unit square.
void DrawAppIcon(QPainter& p, double s)
{
    p.setRenderHint(QPainter::Antialiasing);
    const double w = s / 30.0;
    // paper tray at the back
    p.setPen(QPen(QColor(60, 60, 60), w));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(0.26 * s, 0.06 * s, 0.48 * s, 0.34 * s));
    // body
    QLinearGradient body(0, 0.32 * s, 0, 0.74 * s);
    body.setColorAt(0, QColor(236, 238, 242));
    body.setColorAt(1, QColor(150, 156, 168));
    p.setBrush(body);
    p.setPen(QPen(QColor(40, 44, 52), w));
    p.drawRoundedRect(QRectF(0.06 * s, 0.32 * s, 0.88 * s, 0.40 * s), 0.06 * s, 0.06 * s);
    // output slot and status light
    p.setBrush(QColor(40, 44, 52));
    p.drawRect(QRectF(0.18 * s, 0.58 * s, 0.64 * s, 0.05 * s));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 190, 60));
    p.drawEllipse(QRectF(0.76 * s, 0.40 * s, 0.08 * s, 0.08 * s));
    // the accounting sheet coming out
    DrawLedger(p, QRectF(0.22 * s, 0.60 * s, 0.56 * s, 0.36 * s), 3);
}

// The document icon: a page with a folded corner holding a small table.
void DrawDocIcon(QPainter& p, double s)
{
    p.setRenderHint(QPainter::Antialiasing);
    const double w = s / 32.0;
    QPainterPath page;
    page.moveTo(0.16 * s, 0.04 * s);
    page.lineTo(0.64 * s, 0.04 * s);
    page.lineTo(0.84 * s, 0.24 * s);
    page.lineTo(0.84 * s, 0.96 * s);
    page.lineTo(0.16 * s, 0.96 * s);
    page.closeSubpath();
    p.setPen(QPen(QColor(60, 60, 60), w));
    p.setBrush(Qt::white);
    p.drawPath(page);
    QPainterPath ear;
    ear.moveTo(0.64 * s, 0.04 * s);
    ear.lineTo(0.64 * s, 0.24 * s);
    ear.lineTo(0.84 * s, 0.24 * s);
    p.setBrush(QColor(210, 214, 222));
    p.drawPath(ear);
    // table: heading band and rows
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 90, 200));
    p.drawRect(QRectF(0.24 * s, 0.32 * s, 0.52 * s, 0.10 * s));
    p.setPen(QPen(QColor(40, 90, 200), w * 0.8));
    for (int i = 0; i < 4; ++i) {
        const double y = (0.52 + 0.10 * i) * s;
        p.drawLine(QPointF(0.24 * s, y), QPointF(0.76 * s, y));
    }
    p.drawLine(QPointF(0.42 * s, 0.42 * s), QPointF(0.42 * s, 0.82 * s));
    // printer badge in the corner
    p.setPen(QPen(QColor(40, 44, 52), w));
    p.setBrush(QColor(180, 186, 196));
    p.drawRoundedRect(QRectF(0.52 * s, 0.74 * s, 0.40 * s, 0.18 * s), 0.03 * s, 0.03 * s);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(0.60 * s, 0.66 * s, 0.24 * s, 0.08 * s));
}

void DrawIcons()
{
    for (int nSize : {16, 24, 32, 48, 64, 128, 256}) {
        QImage app(nSize, nSize, QImage::Format_ARGB32_Premultiplied);
        app.fill(Qt::transparent);
        {
            QPainter p(&app);
            DrawAppIcon(p, nSize);
        }
        Save(app, QStringLiteral("icons/hpa-%1.png").arg(nSize));
        QImage doc(nSize, nSize, QImage::Format_ARGB32_Premultiplied);
        doc.fill(Qt::transparent);
        {
            QPainter p(&doc);
            DrawDocIcon(p, nSize);
        }
        Save(doc, QStringLiteral("icons/hpa-document-%1.png").arg(nSize));
    }
}

void DrawSplash()
{
    const int cx = 420, cy = 260;
    QImage image(cx, cy, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, cy);
    bg.setColorAt(0, QColor(27, 42, 73));
    bg.setColorAt(1, QColor(46, 74, 125));
    p.fillRect(image.rect(), bg);
    // faint ledger rules across the background
    p.setPen(QPen(QColor(255, 255, 255, 18), 1));
    for (int y = 20; y < cy; y += 16)
        p.drawLine(0, y, cx, y);
    p.save();
    p.translate(24, 60);
    DrawAppIcon(p, 150);
    p.restore();

    QFont title(QStringLiteral("Liberation Sans"));
    title.setPixelSize(25);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(190, 62, 220, 70), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Halyard Printer Auditor"));
    QFont body(QStringLiteral("Liberation Sans"));
    body.setPixelSize(14);
    p.setFont(body);
    p.setPen(QColor(190, 210, 245));
    p.drawText(QRectF(190, 134, 220, 60), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Job, paper and status accounting from your network printers"));
    p.setPen(QColor(150, 170, 210));
    p.drawText(QRectF(190, 196, 220, 20), Qt::AlignLeft, QStringLiteral("Version 1.1.0"));
    p.setPen(QColor(12, 20, 36));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, cx - 1, cy - 1));
    p.end();
    Save(image, QStringLiteral("splash.png"));
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    g_outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("res");
    DrawButtons();
    DrawIcons();
    DrawSplash();
    return 0;
}
