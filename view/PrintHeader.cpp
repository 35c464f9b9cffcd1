#include "view/PrintHeader.h"

#include "accounting/Acc.h"

namespace hpa {

CGridFont PrintHeaderFont(int nLogPixelsY)
{
    // A negative height is the character height in pixels: 8 points.
    return CGridFont{"Arial", -(8 * nLogPixelsY) / 72, 400, false, false};
}

std::array<CPrintHeaderText, kPrintHeaderTextCount> PrintHeaderTexts(const CGridRect& rcPage,
                                                                     const CAcc& acc, int nPage,
                                                                     std::string_view strTitle,
                                                                     int nTitleWidth)
{
    const int nLeft = rcPage.left;
    const int nTop = rcPage.top;
    const int nRight = rcPage.right;
    return {{
        {"Date:", nLeft + 100, nTop + 100},
        {acc.m_strDownloadDate, nLeft + 300, nTop + 100},
        {"Time:", nLeft + 100, nTop + 200},
        {acc.m_strDownloadTime, nLeft + 300, nTop + 200},
        {"Host:", nRight - 900, nTop + 100},
        {acc.m_strHost, nRight - 700, nTop + 100},
        {"Page:", nRight - 900, nTop + 200},
        {std::to_string(nPage), nRight - 700, nTop + 200},
        {std::string(strTitle), (nRight - nLeft) / 2 - nTitleWidth / 2, nTop + 100},
    }};
}

void DrawPrintPageHeader(CGridDC& dc, const CGridFont& headerFont, const CGridRect& rcPage,
                         const CAcc& acc, int nPage, std::string_view strTitle)
{
    const CGridFont* pOldFont = dc.SelectFont(&headerFont);
    const int nTitleWidth = dc.GetTextExtent(strTitle).cx;
    for (const CPrintHeaderText& text : PrintHeaderTexts(rcPage, acc, nPage, strTitle, nTitleWidth))
        dc.TextOut(text.x, text.y, rcPage, text.strText, false);
    dc.SelectFont(pOldFont);
}

} // namespace hpa
