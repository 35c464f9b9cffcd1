#pragma once
// Lays a range of a grid's cells out on printer pages and draws one page at
// a time. The range is cut into blocks of whole columns that fit the
// printable width and blocks of whole rows that fit the printable height;
// a page shows one column block of one row block, optionally with the row
// of column headings above it and the column of row headings at its left.
//
// Cells keep their screen proportions: a fixed number of screen pixels per
// millimetre (2.93 across, 2.99 down) fills the page between the margins,
// and every screen pixel becomes hscale x vscale printer pixels.
//
// Pages are numbered across first: pages 1 to C show the first block of
// rows from the leftmost block of columns to the rightmost, pages C + 1 to
// 2C the next block of rows, and so on.
//
// The printer itself (its resolution and size, the document and its pages)
// belongs to the caller; this class only needs the printer's metrics and a
// device context to draw a page on.
#include "grid/GridDC.h"

#include <vector>

namespace hpa {

class CUGCtrl;

// What a printer device context says about its printable area: pixels and
// whole millimetres, across and down.
struct CPrinterMetrics {
    int nHorzRes = 0;  // printable width in printer pixels
    int nVertRes = 0;  // printable height in printer pixels
    int nHorzSize = 0; // printable width in millimetres
    int nVertSize = 0; // printable height in millimetres
};

// Flags of a print request.
constexpr int kPrintTopHeading = 1;  // the row of column headings on every page
constexpr int kPrintSideHeading = 2; // the column of row headings on every page
constexpr int kPrintBothHeadings = kPrintTopHeading | kPrintSideHeading;

// One prepared page: the columns and rows it shows (inclusive).
struct CPrintPageEntry {
    int nPage = 0;
    int nFirstCol = 0;
    int nLastCol = 0;
    int nFirstRow = 0;
    int nLastRow = 0;
    bool operator==(const CPrintPageEntry&) const = default;
};

class CGridPrinter {
public:
    explicit CGridPrinter(CUGCtrl& ctrl) : m_ctrl(ctrl) {}

    CUGCtrl& Grid() const { return m_ctrl; }

    // Builds the pages of columns c0..c1 and rows r0..r1 for a printer with
    // these metrics and returns how many there are. Entries of an earlier,
    // longer preparation stay behind the new count: print only pages 1 to
    // the count returned. A printer without a usable printable area, or
    // margins and headings that leave no room for cells, gives 0 pages.
    int PrintPrepare(const CPrinterMetrics& metrics, int nFlags, int c0, int r0, int c1, int r1);

    // Draws prepared page nPage with the device context's origin at the
    // top-left of the printable area. 1 when printed, 0 when that page was
    // never prepared.
    int PrintPage(CGridDC& dc, int nPage, int nFlags);

    // One cell (col, row; -1 for the headings) in a printer rectangle: its
    // border (3D frames as plain lines), its content with the font scaled
    // to the printed row height, the border again on top.
    void PrintCell(CGridDC& dc, const CGridRect& rc, int nCol, int nRow);

    // The prepared entry of a page, or null.
    const CPrintPageEntry* FindPage(int nPage) const;

    int ColumnBlockCount() const { return m_nColumnBlocks; }
    int RowBlockCount() const { return m_nRowBlocks; }

    // Margins in millimetres (25 each by default).
    void SetMargins(int nLeft, int nTop, int nRight, int nBottom);
    // Lines along the outer edges of each page's cell block (on by default).
    void SetPageOutline(bool bOn) { m_bPageOutline = bOn; }

    // What the last preparation computed.
    float HorizontalScale() const { return m_fHScale; }
    float VerticalScale() const { return m_fVScale; }
    int LeftOffset() const { return m_nLeftOffset; }
    int TopOffset() const { return m_nTopOffset; }
    int RightLimit() const { return m_nRightLimit; }
    int BottomLimit() const { return m_nBottomLimit; }
    // Screen pixels available for cells on a page, headings taken off.
    int AvailableWidth() const { return m_nAvailWidth; }
    int AvailableHeight() const { return m_nAvailHeight; }

private:
    // Stores an entry for a page number: overwrites the one there, or
    // appends it.
    void SetEntry(const CPrintPageEntry& entry);
    int ColumnScreenWidth(int nCol) const;
    int RowScreenHeight(int nRow) const;
    int PrintedWidth(int nCol) const;
    int PrintedHeight(int nRow) const;
    void PrintJoinedCell(CGridDC& dc, const CGridRect& rc, int nCol, int nRow);
    void DrawOutline(CGridDC& dc, const CGridRect& rc, int nCol, int nRow,
                     const CPrintPageEntry& page);

    CUGCtrl& m_ctrl;
    // Indexed by page number - 1; page numbers are always 1..size.
    std::vector<CPrintPageEntry> m_pages;
    int m_nColumnBlocks = 0;
    int m_nRowBlocks = 0;
    int m_nLeftMargin = 25;
    int m_nTopMargin = 25;
    int m_nRightMargin = 25;
    int m_nBottomMargin = 25;
    bool m_bPageOutline = true;
    float m_fVScale = 1.0f;
    float m_fHScale = 1.0f;
    int m_nLeftOffset = 0;
    int m_nTopOffset = 0;
    int m_nRightLimit = 0;
    int m_nBottomLimit = 0;
    int m_nPageWidth = 0;
    int m_nPageHeight = 0;
    int m_nAvailWidth = 0;
    int m_nAvailHeight = 0;
};

// The order pages nFrom..nTo go to the printer for nCopies copies: with
// collation every copy in turn (1, 2, 3, 1, 2, 3), without it each page as
// many times as there are copies (1, 1, 2, 2, 3, 3). Empty when the range
// is empty or there are no copies.
std::vector<int> PrintPageOrder(int nFrom, int nTo, int nCopies, bool bCollate);

// The pages of a job of nPageCount pages: all of them, or the range the
// user asked for with its last page cut down to the page count.
struct CPrintPageRange {
    int nFrom = 1;
    int nTo = 0;
};
CPrintPageRange ResolvePageRange(int nPageCount, bool bPageRange, int nFromPage, int nToPage);

} // namespace hpa
