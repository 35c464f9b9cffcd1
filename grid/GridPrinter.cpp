#include "grid/GridPrinter.h"

#include "grid/GridDraw.h"
#include "grid/UGCtrl.h"

#include <algorithm>

namespace hpa {

namespace {

// Screen pixels per millimetre of paper, across and down.
constexpr double kScreenPixelsPerMMX = 2.93;
constexpr double kScreenPixelsPerMMY = 2.99;

struct CBlock {
    int nFirst;
    int nLast;
};

// Cuts items nFirst..nLast of the given sizes into blocks that fit nAvail.
// When the running sum passes nAvail, the block ends before the item that
// overflowed if that item fits a page by itself (it starts the next block);
// an item too wide for any page ends the block it falls in. Items of size 0
// after the last block belong to none (they print nothing anyway).
template <class SizeFn>
std::vector<CBlock> CutBlocks(int nFirst, int nLast, long long nAvail, SizeFn sizeOf)
{
    std::vector<CBlock> blocks;
    long long nSum = 0;
    int nStart = nFirst;
    for (int n = nFirst; n <= nLast; ++n) {
        const int nSize = sizeOf(n);
        nSum += nSize;
        if (nSum <= nAvail)
            continue;
        nSum = 0;
        int nEnd = n;
        if (nSize <= nAvail && n > nStart) {
            nEnd = n - 1;
            --n; // taken again as the first item of the next block
        }
        blocks.push_back({nStart, nEnd});
        nStart = nEnd + 1;
    }
    if (nSum > 0)
        blocks.push_back({nStart, nLast});
    return blocks;
}

// Paper is white whatever scheme the screen follows: a cell's colours that
// are the screen's system colours (or unset, which means them) print in the
// light scheme; colours the program chose print as they are.
void ToPaperColors(CUGCell& cell)
{
    const GridSysColors screen = GetGridSysColors();
    const GridSysColors paper = LightGridSysColors();
    const auto map = [&](COLORREF cr, GridSysColor data, GridSysColor heading) {
        const auto d = static_cast<std::size_t>(data);
        const auto h = static_cast<std::size_t>(heading);
        if (cr == kColorUnset || cr == screen[d])
            return paper[d];
        return cr == screen[h] ? paper[h] : cr;
    };
    cell.SetTextColor(map(cell.GetTextColor(), GridSysColor::windowText, GridSysColor::buttonText));
    cell.SetBackColor(map(cell.GetBackColor(), GridSysColor::window, GridSysColor::buttonFace));
}

int Truncate(double d)
{
    return static_cast<int>(std::clamp(d, -2147483648.0, 2147483647.0));
}

} // namespace

void CGridPrinter::SetMargins(int nLeft, int nTop, int nRight, int nBottom)
{
    m_nLeftMargin = nLeft;
    m_nTopMargin = nTop;
    m_nRightMargin = nRight;
    m_nBottomMargin = nBottom;
}

void CGridPrinter::SetEntry(const CPrintPageEntry& entry)
{
    if (entry.nPage < 1)
        return;
    const auto nIndex = static_cast<std::size_t>(entry.nPage - 1);
    if (nIndex >= m_pages.size())
        m_pages.resize(nIndex + 1);
    m_pages[nIndex] = entry;
}

const CPrintPageEntry* CGridPrinter::FindPage(int nPage) const
{
    if (nPage < 1 || static_cast<std::size_t>(nPage) > m_pages.size())
        return nullptr;
    const CPrintPageEntry& entry = m_pages[static_cast<std::size_t>(nPage - 1)];
    return entry.nPage == nPage ? &entry : nullptr;
}

int CGridPrinter::ColumnScreenWidth(int nCol) const
{
    if (nCol < 0)
        return m_ctrl.GetGridLayout().m_nSideHeadingWidth;
    int nWidth = 0;
    return m_ctrl.GetColumnWidth(nCol, &nWidth) == 0 ? std::max(nWidth, 0) : 0;
}

int CGridPrinter::RowScreenHeight(int nRow) const
{
    if (nRow < 0)
        return m_ctrl.GetGridLayout().m_nTopHeadingHeight;
    int nHeight = 0;
    return m_ctrl.GetRowHeight(nRow, &nHeight) == 0 ? std::max(nHeight, 0) : 0;
}

int CGridPrinter::PrintedWidth(int nCol) const
{
    return Truncate(static_cast<double>(ColumnScreenWidth(nCol)) * m_fHScale);
}

int CGridPrinter::PrintedHeight(int nRow) const
{
    return Truncate(static_cast<double>(RowScreenHeight(nRow)) * m_fVScale);
}

int CGridPrinter::PrintPrepare(const CPrinterMetrics& metrics, int nFlags, int c0, int r0, int c1,
                               int r1)
{
    m_nColumnBlocks = 0;
    m_nRowBlocks = 0;
    if (metrics.nHorzRes <= 0 || metrics.nVertRes <= 0 || metrics.nHorzSize <= 0 ||
        metrics.nVertSize <= 0)
        return 0;

    const GridLayout& gl = m_ctrl.GetGridLayout();
    const float fWidthMM = static_cast<float>(metrics.nHorzSize - m_nLeftMargin - m_nRightMargin);
    const float fHeightMM = static_cast<float>(metrics.nVertSize - m_nTopMargin - m_nBottomMargin);
    long long nAvailX = Truncate(fWidthMM * kScreenPixelsPerMMX);
    long long nAvailY = Truncate(fHeightMM * kScreenPixelsPerMMY);
    if (nFlags & kPrintSideHeading)
        nAvailX -= gl.m_nSideHeadingWidth;
    if (nFlags & kPrintTopHeading)
        nAvailY -= gl.m_nTopHeadingHeight;
    m_nAvailWidth = static_cast<int>(nAvailX);
    m_nAvailHeight = static_cast<int>(nAvailY);
    // Margins or headings that leave no room: there is nothing sensible to
    // scale to, so no page at all.
    if (nAvailX <= 0 || nAvailY <= 0 || fWidthMM <= 0 || fHeightMM <= 0)
        return 0;

    const float kx = static_cast<float>(metrics.nHorzRes) / static_cast<float>(metrics.nHorzSize);
    const float ky = static_cast<float>(metrics.nVertRes) / static_cast<float>(metrics.nVertSize);
    m_fHScale = kx * fWidthMM / static_cast<float>(nAvailX);
    m_fVScale = ky * fHeightMM / static_cast<float>(nAvailY);
    m_nLeftOffset = Truncate(kx * static_cast<float>(m_nLeftMargin));
    m_nTopOffset = Truncate(ky * static_cast<float>(m_nTopMargin));
    m_nRightLimit =
        Truncate(static_cast<float>(metrics.nHorzRes) - kx * static_cast<float>(m_nRightMargin));
    m_nBottomLimit =
        Truncate(static_cast<float>(metrics.nVertRes) - ky * static_cast<float>(m_nBottomMargin));
    m_nPageWidth = metrics.nHorzRes;
    m_nPageHeight = metrics.nVertRes;

    const std::vector<CBlock> columns =
        CutBlocks(c0, c1, nAvailX, [this](int nCol) { return ColumnScreenWidth(nCol); });
    const std::vector<CBlock> rows =
        CutBlocks(r0, r1, nAvailY, [this](int nRow) { return RowScreenHeight(nRow); });

    const int nColumnBlocks = static_cast<int>(columns.size());
    for (int i = 0; i < nColumnBlocks; ++i)
        SetEntry({i + 1, columns[static_cast<std::size_t>(i)].nFirst,
                  columns[static_cast<std::size_t>(i)].nLast, 0, 0});
    int nRowBlock = 0;
    for (const CBlock& rowBlock : rows) {
        for (int i = 0; i < nColumnBlocks; ++i) {
            const CBlock& colBlock = columns[static_cast<std::size_t>(i)];
            SetEntry({nRowBlock * nColumnBlocks + i + 1, colBlock.nFirst, colBlock.nLast,
                      rowBlock.nFirst, rowBlock.nLast});
        }
        ++nRowBlock;
    }
    m_nColumnBlocks = nColumnBlocks;
    m_nRowBlocks = static_cast<int>(rows.size());
    return m_nColumnBlocks * m_nRowBlocks;
}

int CGridPrinter::PrintPage(CGridDC& dc, int nPage, int nFlags)
{
    const CPrintPageEntry* pEntry = FindPage(nPage);
    if (!pEntry)
        return 0;
    const CPrintPageEntry page = *pEntry;

    int y = m_nTopOffset;
    const auto printRow = [&](int nRow) {
        const int h = PrintedHeight(nRow);
        if (h <= 0)
            return;
        int x = m_nLeftOffset;
        const auto printColumn = [&](int nCol) {
            const int w = PrintedWidth(nCol);
            if (w <= 0)
                return;
            const CGridRect rc{x, y, x + w, y + h};
            if (nCol >= 0 && nRow >= 0)
                PrintJoinedCell(dc, rc, nCol, nRow);
            else
                PrintCell(dc, rc, nCol, nRow);
            if (m_bPageOutline)
                DrawOutline(dc, rc, nCol, nRow, page);
            x += w;
        };
        if (nFlags & kPrintSideHeading)
            printColumn(-1);
        for (int nCol = page.nFirstCol; nCol <= page.nLastCol; ++nCol)
            printColumn(nCol);
        y += h;
    };
    if (nFlags & kPrintTopHeading)
        printRow(-1);
    for (int nRow = page.nFirstRow; nRow <= page.nLastRow; ++nRow)
        printRow(nRow);
    return 1;
}

// A data cell, or the whole of a joined block when this is its origin; the
// other cells of a joined block print nothing.
void CGridPrinter::PrintJoinedCell(CGridDC& dc, const CGridRect& rc, int nCol, int nRow)
{
    CUGCell cell;
    m_ctrl.ResolveCell(nCol, nRow, &cell);
    if (!cell.IsJoined()) {
        PrintCell(dc, rc, nCol, nRow);
        return;
    }
    if (!cell.IsJoinOrigin())
        return;
    int nStartCol = nCol, nStartRow = nRow, nEndCol = nCol, nEndRow = nRow;
    m_ctrl.GetJoinRange(&nStartCol, &nStartRow, &nEndCol, &nEndRow);
    CGridRect rcBlock = rc;
    for (int n = nCol + 1; n <= nEndCol; ++n)
        rcBlock.right += PrintedWidth(n);
    for (int n = nRow + 1; n <= nEndRow; ++n)
        rcBlock.bottom += PrintedHeight(n);
    PrintCell(dc, rcBlock, nCol, nRow);
}

// Lines along the outer edges of the page's cell block, in the pen the
// device context has selected; end points are excluded, hence the + 1.
void CGridPrinter::DrawOutline(CGridDC& dc, const CGridRect& rc, int nCol, int nRow,
                               const CPrintPageEntry& page)
{
    if (nRow == page.nFirstRow)
        dc.Line(rc.left, rc.top, rc.right + 1, rc.top);
    else if (nRow == page.nLastRow)
        dc.Line(rc.left, rc.bottom, rc.right + 1, rc.bottom);
    if (nCol == page.nFirstCol)
        dc.Line(rc.left, rc.top, rc.left, rc.bottom + 1);
    else if (nCol == page.nLastCol)
        dc.Line(rc.right, rc.top, rc.right, rc.bottom + 1);
}

void CGridPrinter::PrintCell(CGridDC& dc, const CGridRect& rc, int nCol, int nRow)
{
    const GridLayout& gl = m_ctrl.GetGridLayout();
    const int nRefWidth = ColumnScreenWidth(nCol);
    const int nRefHeight = RowScreenHeight(nRow);
    CUGCell cell;
    m_ctrl.ResolveCell(nCol, nRow, &cell);
    ToPaperColors(cell);

    // A shaded 3D frame means nothing on paper: plain lines on all four
    // sides instead.
    int nStyle = EffectiveBorderStyle(cell);
    if (nStyle > 0 && (nStyle & (kBorderSunken | kBorderRaised)))
        nStyle = kBorderThinLeft | kBorderThinTop | kBorderThinRight | kBorderThinBottom;
    const CGridRect inner = DrawBorder(dc, rc, nStyle, cell.GetBorderPen(), gl.m_n3DBorderWidth);
    m_ctrl.GetCellType(cell.GetCellType())->DrawCellScaled(dc, inner, cell, nRefWidth, nRefHeight);
    // The content may have painted over the lines; they go on top again.
    DrawBorder(dc, rc, nStyle, cell.GetBorderPen(), gl.m_n3DBorderWidth);
}

std::vector<int> PrintPageOrder(int nFrom, int nTo, int nCopies, bool bCollate)
{
    std::vector<int> order;
    if (nFrom > nTo || nCopies < 1)
        return order;
    const long long nTotal = (static_cast<long long>(nTo) - nFrom + 1) * nCopies;
    order.reserve(static_cast<std::size_t>(std::min<long long>(nTotal, 1 << 20)));
    if (bCollate) {
        for (int nCopy = 0; nCopy < nCopies; ++nCopy)
            for (int nPage = nFrom; nPage <= nTo; ++nPage)
                order.push_back(nPage);
    } else {
        for (int nPage = nFrom; nPage <= nTo; ++nPage)
            for (int nCopy = 0; nCopy < nCopies; ++nCopy)
                order.push_back(nPage);
    }
    return order;
}

CPrintPageRange ResolvePageRange(int nPageCount, bool bPageRange, int nFromPage, int nToPage)
{
    if (!bPageRange)
        return {1, nPageCount};
    CPrintPageRange range{std::max(nFromPage, 1), nToPage};
    if (range.nTo >= nPageCount)
        range.nTo = nPageCount;
    return range;
}

} // namespace hpa
