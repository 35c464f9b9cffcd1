#pragma once
// The multi-cell selection: an ordered list of blocks. A cell is selected
// when the last block that contains it is selected, so a later one-cell
// block can deselect a cell inside an earlier larger block (Control+click).
#include <functional>
#include <vector>

namespace hpa {

struct CGridRange {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool Contains(int nCol, int nRow) const
    {
        return nCol >= left && nCol <= right && nRow >= top && nRow <= bottom;
    }
    bool operator==(const CGridRange&) const = default;
};

class CGridSelection {
public:
    enum Mode { off = 0, cells = 1, rows = 2 };

    struct CBlock {
        int nAnchorCol = 0, nAnchorRow = 0; // corner the block started at
        int nMoveCol = 0, nMoveRow = 0;     // corner that follows extensions
        CGridRange range;                   // normalised
        bool bSelected = true;
    };

    void SetMode(int nMode) { m_nMode = nMode; }
    int GetMode() const { return m_nMode; }

    // A new selected one-cell block that becomes the one that extends.
    void StartBlock(int nCol, int nRow);
    // The extending block's moving corner goes to (col, row); starts a block
    // when there is none.
    void ExtendBlock(int nCol, int nRow);
    // Flips a one-cell block at exactly that cell, else appends one with the
    // opposite of the cell's present state.
    void ToggleCell(int nCol, int nRow);
    void Clear();

    bool IsSelected(int nCol, int nRow) const;
    bool IsEmpty() const { return m_blocks.empty(); }
    const std::vector<CBlock>& Blocks() const { return m_blocks; }
    // Where the extending block started, (-1, -1) with no blocks.
    int AnchorColumn() const { return m_nAnchorCol; }
    int AnchorRow() const { return m_nAnchorRow; }

    // Bounding box of all blocks; false when there are none.
    bool GetBoundingBox(CGridRange* pRange) const;

    // Calls fn(col, row) for each selected cell, row by row from the top and
    // left to right; in row mode once per selected row, with column 0. With
    // no blocks (or mode off) yields just (nCurCol, nCurRow). Stops early
    // when fn returns false.
    void Enumerate(int nCurCol, int nCurRow, const std::function<bool(int, int)>& fn) const;

private:
    CBlock* Extending();

    int m_nMode = off;
    int m_nAnchorCol = -1;
    int m_nAnchorRow = -1;
    int m_nExtending = -1; // index of the block that extends
    std::vector<CBlock> m_blocks;
};

} // namespace hpa
