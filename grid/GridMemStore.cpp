#include "grid/GridStore.h"

#include "grid/UGCtrl.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <utility>

namespace hpa {

CGridMemStore::CGridMemStore() = default;

CGridMemStore::~CGridMemStore()
{
    ClearAllCells();
}

CGridMemStore::CSlot* CGridMemStore::FindSlot(int nCol, int nRow)
{
    return const_cast<CSlot*>(std::as_const(*this).FindSlot(nCol, nRow));
}

const CGridMemStore::CSlot* CGridMemStore::FindSlot(int nCol, int nRow) const
{
    if (nRow < 0 || nCol < -1 || static_cast<std::size_t>(nRow) >= m_rows.size())
        return nullptr;
    const CRow& row = m_rows[static_cast<std::size_t>(nRow)];
    const auto nIndex = static_cast<std::size_t>(nCol) + 1;
    return nIndex < row.size() ? &row[nIndex] : nullptr;
}

const CUGCell* CGridMemStore::PeekCell(int nCol, int nRow) const
{
    const CSlot* pSlot = FindSlot(nCol, nRow);
    return pSlot && pSlot->bUsed ? &pSlot->cell : nullptr;
}

// Rows and columns come into being on the first write; there is nothing to
// append ahead of time.
int CGridMemStore::AppendRow()
{
    return 0;
}
int CGridMemStore::AppendColumn()
{
    return 0;
}

int CGridMemStore::InsertRowBefore(int nRow)
{
    if (nRow < 0 || static_cast<std::size_t>(nRow) >= m_rows.size())
        return 0;
    m_rows.insert(m_rows.begin() + nRow, CRow());
    return 0;
}

int CGridMemStore::InsertColumnBefore(int nCol)
{
    if (m_rows.empty() || nCol < -1)
        return 1;
    const auto nIndex = static_cast<std::size_t>(nCol) + 1;
    for (CRow& row : m_rows) {
        if (nIndex < row.size())
            row.insert(row.begin() + static_cast<std::ptrdiff_t>(nIndex), CSlot());
    }
    return 0;
}

int CGridMemStore::DeleteRow(int nRow)
{
    if (nRow < 0 || static_cast<std::size_t>(nRow) >= m_rows.size())
        return 1;
    auto it = m_rows.begin() + nRow;
    for (const CSlot& slot : *it)
        m_nCells -= slot.bUsed ? 1 : 0;
    m_rows.erase(it);
    return 0;
}

int CGridMemStore::DeleteCell(int nCol, int nRow)
{
    CSlot* pSlot = FindSlot(nCol, nRow);
    if (!pSlot)
        return 1;
    m_nCells -= pSlot->bUsed ? 1 : 0;
    CRow& row = m_rows[static_cast<std::size_t>(nRow)];
    if (nCol == -1) {
        // The side heading sits before the row's first column; removing it
        // moves nothing.
        pSlot->cell.ClearCell();
        pSlot->bUsed = false;
    } else {
        // The columns to the right close up, as in a linked row.
        row.erase(row.begin() + (nCol + 1));
    }
    return 0;
}

int CGridMemStore::DeleteColumn(int nCol)
{
    if (nCol < -1)
        return 1;
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        if (FindSlot(nCol, static_cast<int>(r)))
            DeleteCell(nCol, static_cast<int>(r));
    }
    return 0;
}

int CGridMemStore::ClearAllCells()
{
    std::vector<CRow>().swap(m_rows);
    m_nCells = 0;
    m_nWidestRow = 0;
    return 0;
}

int CGridMemStore::GetCellProps(int nCol, int nRow, CUGCell* pCell)
{
    const CSlot* pSlot = FindSlot(nCol, nRow);
    if (!pSlot || !pSlot->bUsed)
        return 1;
    if (pCell)
        pCell->MergeCellFrom(pSlot->cell);
    return 0;
}

CGridMemStore::CSlot& CGridMemStore::SlotForWrite(int nCol, int nRow)
{
    // Readers write row after row and each row left to right, so the usual
    // growth is by one row or one slot at the end.
    const auto nRowIndex = static_cast<std::size_t>(nRow);
    if (nRowIndex == m_rows.size())
        m_rows.emplace_back();
    else if (nRowIndex > m_rows.size())
        m_rows.resize(nRowIndex + 1);
    CRow& row = m_rows[nRowIndex];
    const auto nSlots = static_cast<std::size_t>(nCol) + 2;
    if (row.size() < nSlots) {
        // Rows tend to be as wide as the widest one so far: reserve that
        // once instead of growing slot by slot.
        if (row.capacity() < nSlots)
            row.reserve(std::max(nSlots, m_nWidestRow));
        if (row.size() + 1 == nSlots)
            row.emplace_back();
        else
            row.resize(nSlots);
        m_nWidestRow = std::max(m_nWidestRow, nSlots);
    }
    return row[nSlots - 1];
}

void CGridMemStore::MarkUsed(CSlot& slot)
{
    if (!slot.bUsed) {
        slot.bUsed = true;
        ++m_nCells;
    }
}

template <typename FnWrite> int CGridMemStore::WriteSlot(int nCol, int nRow, FnWrite fnWrite)
{
    if (nRow < 0 || nCol < -1)
        return 1;
    try {
        CSlot& slot = SlotForWrite(nCol, nRow);
        fnWrite(slot.cell);
        MarkUsed(slot);
    } catch (const std::bad_alloc&) {
        return 1;
    } catch (const std::length_error&) {
        return 1;
    }
    return 0;
}

int CGridMemStore::PutCellProps(int nCol, int nRow, const CUGCell* pCell)
{
    if (!pCell)
        return 1;
    return WriteSlot(nCol, nRow, [pCell](CUGCell& cell) { cell.CopyCellFrom(*pCell); });
}

int CGridMemStore::PutCellText(int nCol, int nRow, std::string_view str)
{
    return WriteSlot(nCol, nRow, [str](CUGCell& cell) { cell.SetText(str); });
}

int CGridMemStore::SortByColumn(int nCol)
{
    return SortRows(&nCol, 1);
}

int CGridMemStore::SortRows(const int* pnCols, int nCount)
{
    if (!pnCols || nCount < 1 || pnCols[0] < -1)
        return 1;
    const auto nIndex = static_cast<std::size_t>(pnCols[0]) + 1;
    auto cellOf = [nIndex](const CRow& row) -> const CUGCell* {
        return nIndex < row.size() && row[nIndex].bUsed ? &row[nIndex].cell : nullptr;
    };
    // Rows without a cell in the sort column go last, in their old order.
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](const CRow& a, const CRow& b) {
        const CUGCell* pA = cellOf(a);
        const CUGCell* pB = cellOf(b);
        if (!pA || !pB)
            return pA != nullptr && pB == nullptr;
        const int n =
            m_pCtrl ? m_pCtrl->CompareCells(pA, pB) : pA->GetText().compare(pB->GetText());
        return n < 0;
    });
    return 0;
}

std::size_t CGridMemStore::MemoryUsage() const
{
    std::size_t n = sizeof(*this) + m_rows.capacity() * sizeof(CRow);
    for (const CRow& row : m_rows)
        n += row.capacity() * sizeof(CSlot);
    return n;
}

bool CGridMemStore::CheckConsistency(std::string* pstrWhy) const
{
    auto fail = [pstrWhy](std::string str) {
        if (pstrWhy)
            *pstrWhy = std::move(str);
        return false;
    };
    std::size_t nUsed = 0;
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        for (std::size_t c = 0; c < m_rows[r].size(); ++c) {
            const CSlot& slot = m_rows[r][c];
            if (slot.bUsed)
                ++nUsed;
            else if (!slot.cell.IsEmpty())
                return fail("unwritten slot holds properties at row " + std::to_string(r) +
                            ", column " + std::to_string(static_cast<int>(c) - 1));
        }
    }
    if (nUsed != m_nCells)
        return fail("cell count " + std::to_string(m_nCells) + " but " + std::to_string(nUsed) +
                    " slots written");
    return true;
}

} // namespace hpa
