#pragma once
// The header on every printed page of a grid: download date, time and host
// of the accounting set (or three other labelled values), the page number
// and the name of the data kind.
// Positions are fixed printer device units from the edges of the printable
// page, so how far they sit from the paper's edge depends on the printer's
// resolution (100 units are a third of an inch at 300 dots per inch).
#include "grid/GridDC.h"

#include <array>
#include <string>
#include <string_view>

namespace hpa {

class CAcc;

struct CPrintHeaderText {
    std::string strText;
    int x = 0; // top-left corner of the text
    int y = 0;
    bool operator==(const CPrintHeaderText&) const = default;
};

inline constexpr int kPrintHeaderTextCount = 9;

// The three labelled values of the header: two lines at the left, one at
// the right above the page number. A data grid shows the accounting set's
// download date and time and its host.
struct CPrintHeaderFields {
    std::string m_strLabel1 = "Date:";
    std::string m_strValue1;
    std::string m_strLabel2 = "Time:";
    std::string m_strValue2;
    std::string m_strLabel3 = "Host:";
    std::string m_strValue3;
};
CPrintHeaderFields PrintHeaderFieldsOf(const CAcc& acc);

// The header font for a printer of nLogPixelsY dots per inch down: Arial,
// 8 points.
CGridFont PrintHeaderFont(int nLogPixelsY);

// The nine texts in drawing order: "Date:", the date, "Time:", the time,
// "Host:", the host, "Page:", the page number, the title (centred across
// the page by its width nTitleWidth in the header font).
std::array<CPrintHeaderText, kPrintHeaderTextCount> PrintHeaderTexts(const CGridRect& rcPage,
                                                                     const CAcc& acc, int nPage,
                                                                     std::string_view strTitle,
                                                                     int nTitleWidth);
std::array<CPrintHeaderText, kPrintHeaderTextCount>
PrintHeaderTexts(const CGridRect& rcPage, const CPrintHeaderFields& fields, int nPage,
                 std::string_view strTitle, int nTitleWidth);

// Draws the header of page nPage on dc: selects the header font, measures
// the title with it, draws the nine texts and restores the font selected
// before.
void DrawPrintPageHeader(CGridDC& dc, const CGridFont& headerFont, const CGridRect& rcPage,
                         const CAcc& acc, int nPage, std::string_view strTitle);
void DrawPrintPageHeader(CGridDC& dc, const CGridFont& headerFont, const CGridRect& rcPage,
                         const CPrintHeaderFields& fields, int nPage, std::string_view strTitle);

} // namespace hpa
