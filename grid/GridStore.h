#pragma once
// Where the cells of the data area live. CGridStore is the interface the
// control talks to (every operation answers -1, "not supported", unless a
// store implements it); CGridMemStore is the built-in store.
#include "grid/UGCell.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hpa {

class CGridTextMatcher;
class CUGCtrl;

class CGridStore {
public:
    virtual ~CGridStore() = default;

    virtual int AppendRow() { return -1; }
    virtual int InsertRowBefore(int /*nRow*/) { return -1; }
    virtual int AppendColumn() { return -1; }
    virtual int InsertColumnBefore(int /*nCol*/) { return -1; }
    virtual int DeleteRow(int /*nRow*/) { return -1; }
    virtual int DeleteCell(int /*nCol*/, int /*nRow*/) { return -1; }
    virtual int ClearAllCells() { return -1; }
    // Merges the stored cell's set properties into pCell; 1 when nothing is
    // stored there (pCell unchanged).
    virtual int GetCellProps(int /*nCol*/, int /*nRow*/, CUGCell* /*pCell*/) { return -1; }
    // Full copy of pCell into the stored cell, created on first write.
    virtual int PutCellProps(int /*nCol*/, int /*nRow*/, const CUGCell* /*pCell*/) { return -1; }
    // Sets the stored cell's text, its other properties as they are (a new
    // cell holds the text alone); what reading the cell, setting its text
    // and writing it back does, without the copies.
    virtual int PutCellText(int /*nCol*/, int /*nRow*/, std::string_view /*str*/) { return -1; }
    // Text search in one column from the row after *pnRow (settings below);
    // 0 and *pnRow = the found row, or 1.
    virtual int FindFirst(int /*nCol*/, std::string_view /*str*/, int* /*pnRow*/) { return -1; }
    virtual int FindNext(int /*nCol*/, std::string_view /*str*/, int* /*pnRow*/) { return -1; }
    virtual int SortRows(const int* /*pnCols*/, int /*nCount*/) { return -1; }
    virtual int SortByColumn(int /*nCol*/) { return -1; }
    // Asked when a move goes past the last row, so a store could add rows.
    virtual int AddRowsOnDemand(int /*nRowCount*/, int /*nMissing*/, int* /*pnAdded*/)
    {
        return -1;
    }
    virtual int DeleteColumn(int /*nCol*/) { return -1; }

    // Search settings, set before each search. The matcher decides each
    // cell (not owned; null: bytes compared, only a-z folded).
    int m_bFindForward = 1;
    int m_bFindWholeWord = 0;
    int m_bFindCaseSensitive = 0;
    CGridTextMatcher* m_pFindMatcher = nullptr;

    // The control that owns the store (for CompareCells); may be null.
    void SetControl(CUGCtrl* pCtrl) { m_pCtrl = pCtrl; }
    CUGCtrl* GetControl() const { return m_pCtrl; }

protected:
    CUGCtrl* m_pCtrl = nullptr;
};

// Rows in a vector; each row holds its column slots contiguously, slot 0
// being column -1 (the side heading). A row that was only passed over by a
// far write holds no slots at all, and a slot holds a cell only once it was
// written. Rows are counted from the first row ever created; the store does
// not know the control's row count.
class CGridMemStore : public CGridStore {
public:
    CGridMemStore();
    ~CGridMemStore() override;
    CGridMemStore(const CGridMemStore&) = delete;
    CGridMemStore& operator=(const CGridMemStore&) = delete;

    int AppendRow() override;
    int InsertRowBefore(int nRow) override;
    int AppendColumn() override;
    int InsertColumnBefore(int nCol) override;
    int DeleteRow(int nRow) override;
    int DeleteCell(int nCol, int nRow) override;
    int ClearAllCells() override;
    int GetCellProps(int nCol, int nRow, CUGCell* pCell) override;
    int PutCellProps(int nCol, int nRow, const CUGCell* pCell) override;
    int PutCellText(int nCol, int nRow, std::string_view str) override;
    int FindFirst(int nCol, std::string_view str, int* pnRow) override;
    int FindNext(int nCol, std::string_view str, int* pnRow) override;
    int SortRows(const int* pnCols, int nCount) override;
    int SortByColumn(int nCol) override;
    int DeleteColumn(int nCol) override;

    // The stored cell at a position, or null; no copy.
    const CUGCell* PeekCell(int nCol, int nRow) const;
    // Number of row nodes (including rows that hold no cell).
    int StoredRowCount() const { return static_cast<int>(m_rows.size()); }
    // Number of cells written and not deleted.
    std::size_t CellCount() const { return m_nCells; }
    // Bytes held by the store's own structures and cells, not counting text
    // kept outside the string's inline buffer nor property blocks.
    std::size_t MemoryUsage() const;

    // Checks the store's invariants; on failure says which in *pstrWhy.
    bool CheckConsistency(std::string* pstrWhy = nullptr) const;

private:
    struct CSlot {
        CUGCell cell;
        bool bUsed = false;
    };
    using CRow = std::vector<CSlot>; // index = column + 1

    CSlot* FindSlot(int nCol, int nRow);
    // The slot of a cell about to be written, rows and slots created on the
    // way (not yet counted as holding a cell); throws std::bad_alloc or std::length_error.
    CSlot& SlotForWrite(int nCol, int nRow);
    // Counts the slot's cell once it holds what was written.
    void MarkUsed(CSlot& slot);
    // Writes the cell at a position with fnWrite(CUGCell&); 1 when the
    // position is outside the store or memory runs out.
    template <typename FnWrite> int WriteSlot(int nCol, int nRow, FnWrite fnWrite);
    const CSlot* FindSlot(int nCol, int nRow) const;
    int Search(int nCol, std::string_view str, int* pnRow);

    std::vector<CRow> m_rows;
    std::size_t m_nCells = 0;
    std::size_t m_nWidestRow = 0; // slots in the widest row; reserve hint for new rows
};

} // namespace hpa
