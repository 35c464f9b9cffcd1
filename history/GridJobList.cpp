// Jobs read back from a job grid filled with every field selected.
#include "history/GridJobList.h"

#include "accounting/AccText.h"
#include "grid/GridStore.h"
#include "grid/UGCtrl.h"
#include "history/HistoryValues.h"

namespace hpa {

namespace {

// Columns of a grid with every field selected; version "1" files lack the
// four ink columns.
constexpr int kInkColumns = 4;
constexpr int kPaperTypesPos = 20; // "Paper types count": index lines per record

} // namespace

CGridJobList::CGridJobList(CUGCtrl& grid, std::vector<int> recordRows, bool bHasInk)
    : m_pStore(grid.GetMemStore()), m_recordRows(std::move(recordRows)), m_bHasInk(bHasInk)
{
}

std::size_t CGridJobList::Count() const
{
    return m_recordRows.size() < 2 ? 0 : m_recordRows.size() - 1;
}

std::string_view CGridJobList::Cell(int nCol, int nRow) const
{
    const CUGCell* pCell = m_pStore ? m_pStore->PeekCell(nCol, nRow) : nullptr;
    return pCell ? std::string_view(pCell->GetText()) : std::string_view();
}

void CGridJobList::Get(std::size_t nIndex, CHistoryJob& job) const
{
    const int nRow = m_recordRows[nIndex];
    const int nEnd = m_recordRows[nIndex + 1];
    const int nFields = m_bHasInk ? kHistoryFieldCount : kHistoryFieldCount - kInkColumns;
    job.m_bHasInk = m_bHasInk;
    for (int nPos = 0; nPos < kHistoryFieldCount; ++nPos)
        job.m_field[static_cast<std::size_t>(nPos)] =
            nPos < nFields ? Cell(nPos, nRow) : std::string_view();
    job.m_strIndex.clear();
    if (LeadingInteger(job.m_field[kPaperTypesPos]) <= 0)
        return;
    std::vector<std::pair<std::string, std::string>> pairs;
    for (int r = nRow; r < nEnd; ++r)
        pairs.emplace_back(Cell(nFields, r), Cell(nFields + 1, r));
    job.m_strIndex = EncodeIndexPairs(pairs);
}

} // namespace hpa
