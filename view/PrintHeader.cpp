#include "view/PrintHeader.h"

#include "accounting/Acc.h"

namespace hpa {

CGridFont PrintHeaderFont(int nLogPixelsY)
{
    // A negative height is the character height in pixels: 8 points.
    return CGridFont{"Arial", -(8 * nLogPixelsY) / 72, 400, false, false};
}

CPrintHeaderFields PrintHeaderFieldsOf(const CAcc& acc)
{
    CPrintHeaderFields fields;
    fields.m_strValue1 = acc.m_strDownloadDate;
    fields.m_strValue2 = acc.m_strDownloadTime;
    fields.m_strValue3 = acc.m_strHost;
    return fields;
}

std::array<CPrintHeaderText, kPrintHeaderTextCount> PrintHeaderTexts(const CGridRect& rcPage,
                                                                     const CAcc& acc, int nPage,
                                                                     std::string_view strTitle,
                                                                     int nTitleWidth)
{
    return PrintHeaderTexts(rcPage, PrintHeaderFieldsOf(acc), nPage, strTitle, nTitleWidth);
}

std::array<CPrintHeaderText, kPrintHeaderTextCount>
PrintHeaderTexts(const CGridRect& rcPage, const CPrintHeaderFields& fields, int nPage,
                 std::string_view strTitle, int nTitleWidth)
{
    const int nLeft = rcPage.left;
    const int nTop = rcPage.top;
    const int nRight = rcPage.right;
    return {{
        {fields.m_strLabel1, nLeft + 100, nTop + 100},
        {fields.m_strValue1, nLeft + 300, nTop + 100},
        {fields.m_strLabel2, nLeft + 100, nTop + 200},
        {fields.m_strValue2, nLeft + 300, nTop + 200},
        {fields.m_strLabel3, nRight - 900, nTop + 100},
        {fields.m_strValue3, nRight - 700, nTop + 100},
        {"Page:", nRight - 900, nTop + 200},
        {std::to_string(nPage), nRight - 700, nTop + 200},
        {std::string(strTitle), (nRight - nLeft) / 2 - nTitleWidth / 2, nTop + 100},
    }};
}

void DrawPrintPageHeader(CGridDC& dc, const CGridFont& headerFont, const CGridRect& rcPage,
                         const CAcc& acc, int nPage, std::string_view strTitle)
{
    DrawPrintPageHeader(dc, headerFont, rcPage, PrintHeaderFieldsOf(acc), nPage, strTitle);
}

void DrawPrintPageHeader(CGridDC& dc, const CGridFont& headerFont, const CGridRect& rcPage,
                         const CPrintHeaderFields& fields, int nPage, std::string_view strTitle)
{
    const CGridFont* pOldFont = dc.SelectFont(&headerFont);
    const int nTitleWidth = dc.GetTextExtent(strTitle).cx;
    for (const CPrintHeaderText& text :
         PrintHeaderTexts(rcPage, fields, nPage, strTitle, nTitleWidth))
        dc.TextOut(text.x, text.y, rcPage, text.strText, false);
    dc.SelectFont(pOldFont);
}

} // namespace hpa
