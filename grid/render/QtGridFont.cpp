#include "grid/render/QtGridFont.h"

#include "platform/qt/TextDecode.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace hpa {

namespace {

constexpr std::size_t kMaxWideEntries = 4096;
constexpr std::size_t kMaxFonts = 64;

bool IsAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool SameFace(const std::string& str, const char* psz)
{
    return QString::fromStdString(str).compare(QLatin1String(psz), Qt::CaseInsensitive) == 0;
}

// Faces of the platform the documents come from, as installed here.
QString DesktopFace(const std::string& strFace)
{
    if (strFace.empty() || SameFace(strFace, "MS Sans Serif") || SameFace(strFace, "System") ||
        SameFace(strFace, "MS Shell Dlg"))
        return QGuiApplication::font().family();
    if (SameFace(strFace, "Arial") || SameFace(strFace, "Helvetica"))
        return QStringLiteral("Liberation Sans");
    if (SameFace(strFace, "Times New Roman"))
        return QStringLiteral("Liberation Serif");
    if (SameFace(strFace, "Courier New") || SameFace(strFace, "Courier"))
        return QStringLiteral("Liberation Mono");
    return QString::fromStdString(strFace);
}

int DefaultPixelSize()
{
    return std::max(QFontInfo(QGuiApplication::font()).pixelSize(), 1);
}

} // namespace

// ---- one font -----------------------------------------------------------------------

CQtFontEntry::CQtFontEntry(const QFont& font) : m_font(font), m_metrics(font)
{
    const QFontMetrics whole(font);
    m_nAscent = whole.ascent();
    m_nHeight = whole.ascent() + whole.descent();
    for (int c = 0; c < 128; ++c)
        m_adAscii[static_cast<std::size_t>(c)] = m_metrics.horizontalAdvance(QChar(c));
}

int CQtFontEntry::TextWidth(std::string_view bytes)
{
    if (IsAscii(bytes)) {
        qreal dSum = 0;
        for (char c : bytes)
            dSum += m_adAscii[static_cast<unsigned char>(c)];
        return static_cast<int>(std::lround(dSum));
    }
    const std::string key(bytes);
    if (auto it = m_wide.find(key); it != m_wide.end())
        return it->second;
    if (m_wide.size() >= kMaxWideEntries)
        m_wide.clear();
    const int w = static_cast<int>(std::lround(m_metrics.horizontalAdvance(DecodeAccText(bytes))));
    m_wide.emplace(key, w);
    return w;
}

// ---- the cache ------------------------------------------------------------------------

CQtFontCache& CQtFontCache::Instance()
{
    static CQtFontCache s_cache;
    return s_cache;
}

QFont CQtFontCache::ToQFont(const CGridFont& desc)
{
    QFont font(DesktopFace(desc.strFace));
    font.setKerning(false); // drawn positions then equal the summed advances
    font.setStyleStrategy(QFont::PreferAntialias);
    if (desc.nWeight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(desc.nWeight, 1, 1000)));
    font.setItalic(desc.bItalic);
    font.setUnderline(desc.bUnderline);
    if (desc.nHeight < 0) {
        font.setPixelSize(std::clamp(-desc.nHeight, 1, 4000));
    } else if (desc.nHeight > 0) {
        // A cell height: the character height that gives it, measured on a
        // large size of the same face.
        QFont probe = font;
        probe.setPixelSize(100);
        const QFontMetricsF m(probe);
        const qreal dCell = m.ascent() + m.descent();
        const qreal dPixels = dCell > 0 ? desc.nHeight * 100.0 / dCell : desc.nHeight;
        font.setPixelSize(std::clamp(static_cast<int>(std::lround(dPixels)), 1, 4000));
    } else {
        font.setPixelSize(DefaultPixelSize());
    }
    return font;
}

CGridFont CQtFontCache::FromQFont(const QFont& font)
{
    CGridFont desc;
    desc.strFace = font.family().toStdString();
    desc.nHeight = -std::max(QFontInfo(font).pixelSize(), 1);
    desc.nWeight = font.weight();
    desc.bItalic = font.italic();
    desc.bUnderline = font.underline();
    return desc;
}

std::shared_ptr<CQtFontEntry> CQtFontCache::Get(const CGridFont* pFont)
{
    if (!pFont) {
        if (!m_pDefault)
            m_pDefault = std::make_shared<CQtFontEntry>(ToQFont({}));
        return m_pDefault;
    }
    for (auto& [desc, pEntry] : m_entries)
        if (desc == *pFont)
            return pEntry;
    // Printing scales fonts to many sizes; the oldest go first.
    if (m_entries.size() >= kMaxFonts)
        m_entries.erase(m_entries.begin());
    m_entries.emplace_back(*pFont, std::make_shared<CQtFontEntry>(ToQFont(*pFont)));
    return m_entries.back().second;
}

} // namespace hpa
