#include "grid/GridSelection.h"

#include <algorithm>

namespace hpa {

namespace {

void Normalise(CGridSelection::CBlock& block)
{
    block.range.left = std::min(block.nAnchorCol, block.nMoveCol);
    block.range.right = std::max(block.nAnchorCol, block.nMoveCol);
    block.range.top = std::min(block.nAnchorRow, block.nMoveRow);
    block.range.bottom = std::max(block.nAnchorRow, block.nMoveRow);
}

} // namespace

CGridSelection::CBlock* CGridSelection::Extending()
{
    if (m_nExtending < 0 || static_cast<std::size_t>(m_nExtending) >= m_blocks.size())
        return nullptr;
    return &m_blocks[static_cast<std::size_t>(m_nExtending)];
}

void CGridSelection::StartBlock(int nCol, int nRow)
{
    CBlock block;
    block.nAnchorCol = block.nMoveCol = nCol;
    block.nAnchorRow = block.nMoveRow = nRow;
    Normalise(block);
    m_blocks.push_back(block);
    m_nExtending = static_cast<int>(m_blocks.size()) - 1;
    m_nAnchorCol = nCol;
    m_nAnchorRow = nRow;
}

void CGridSelection::ExtendBlock(int nCol, int nRow)
{
    CBlock* pBlock = Extending();
    if (!pBlock) {
        StartBlock(nCol, nRow);
        return;
    }
    pBlock->nMoveCol = nCol;
    pBlock->nMoveRow = nRow;
    Normalise(*pBlock);
    pBlock->bSelected = true;
}

void CGridSelection::ToggleCell(int nCol, int nRow)
{
    // The newest one-cell block at exactly that cell flips; in row mode the
    // row is what counts.
    for (std::size_t i = m_blocks.size(); i-- > 0;) {
        const CGridRange& r = m_blocks[i].range;
        const bool bOneCell = r.top == r.bottom && (m_nMode == rows || r.left == r.right);
        if (bOneCell && r.top == nRow && (m_nMode == rows || r.left == nCol)) {
            m_blocks[i].bSelected = !m_blocks[i].bSelected;
            m_nExtending = static_cast<int>(i);
            m_nAnchorCol = nCol;
            m_nAnchorRow = nRow;
            return;
        }
    }
    const bool bWasSelected = IsSelected(nCol, nRow);
    StartBlock(nCol, nRow);
    m_blocks.back().bSelected = !bWasSelected;
}

void CGridSelection::Clear()
{
    m_blocks.clear();
    m_nExtending = -1;
    m_nAnchorCol = -1;
    m_nAnchorRow = -1;
}

bool CGridSelection::IsSelected(int nCol, int nRow) const
{
    for (std::size_t i = m_blocks.size(); i-- > 0;) {
        const CGridRange& r = m_blocks[i].range;
        const bool bIn =
            m_nMode == rows ? (nRow >= r.top && nRow <= r.bottom) : r.Contains(nCol, nRow);
        if (bIn)
            return m_blocks[i].bSelected;
    }
    return false;
}

bool CGridSelection::GetBoundingBox(CGridRange* pRange) const
{
    if (m_blocks.empty())
        return false;
    CGridRange box = m_blocks.front().range;
    for (const CBlock& block : m_blocks) {
        box.left = std::min(box.left, block.range.left);
        box.top = std::min(box.top, block.range.top);
        box.right = std::max(box.right, block.range.right);
        box.bottom = std::max(box.bottom, block.range.bottom);
    }
    if (pRange)
        *pRange = box;
    return true;
}

void CGridSelection::Enumerate(int nCurCol, int nCurRow,
                               const std::function<bool(int, int)>& fn) const
{
    CGridRange box;
    if (m_nMode == off || !GetBoundingBox(&box)) {
        fn(nCurCol, nCurRow);
        return;
    }
    for (int nRow = box.top; nRow <= box.bottom; ++nRow) {
        if (m_nMode == rows) {
            if (IsSelected(0, nRow) && !fn(0, nRow))
                return;
            continue;
        }
        for (int nCol = box.left; nCol <= box.right; ++nCol) {
            if (IsSelected(nCol, nRow) && !fn(nCol, nRow))
                return;
        }
    }
}

} // namespace hpa
