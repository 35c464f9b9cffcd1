#pragma once
// The grid's font descriptions as Qt fonts, with what measuring needs kept
// per font: integer ascent and height, and the advance of every ASCII
// character so the width of plain text is a sum of table entries.
//
// The faces the grids ask for map to what a Linux desktop has:
// "Arial" to Liberation Sans (same metrics), "MS Sans Serif" (and no face)
// to the desktop's interface font. A negative height is the character
// height in pixels, a positive one the cell height (ascent + descent).
#include "grid/GridDC.h"

#include <QFont>
#include <QFontMetricsF>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace hpa {

class CQtFontEntry {
public:
    explicit CQtFontEntry(const QFont& font);

    const QFont& Font() const { return m_font; }
    int Ascent() const { return m_nAscent; }
    int Height() const { return m_nHeight; }
    // Width of the text (bytes, decoded for display as the screen shows them).
    int TextWidth(std::string_view bytes);

private:
    QFont m_font;
    QFontMetricsF m_metrics;
    std::array<qreal, 128> m_adAscii{};
    int m_nAscent = 0;
    int m_nHeight = 0;
    // Widths of texts with non-ASCII bytes; dropped whole when it grows big.
    std::unordered_map<std::string, int> m_wide;
};

class CQtFontCache {
public:
    // The process's cache (user interface thread only).
    static CQtFontCache& Instance();

    // The entry for a font description (null: the desktop's interface font).
    // Shared, so an entry dropped from the cache lives on while in use.
    std::shared_ptr<CQtFontEntry> Get(const CGridFont* pFont);

    static QFont ToQFont(const CGridFont& font);
    // A description of a Qt font (face, pixel height as a negative height,
    // weight, italic, underline).
    static CGridFont FromQFont(const QFont& font);

private:
    std::vector<std::pair<CGridFont, std::shared_ptr<CQtFontEntry>>> m_entries;
    std::shared_ptr<CQtFontEntry> m_pDefault;
};

} // namespace hpa
