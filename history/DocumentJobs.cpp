// A saved document's job and status grids read back by their masks.
#include "history/DocumentJobs.h"

#include "accounting/AccText.h"
#include "accounting/FieldCatalogue.h"
#include "accounting/FieldMasks.h"
#include "grid/GridStore.h"
#include "grid/UGCtrl.h"
#include "history/HistoryValues.h"

#include <algorithm>

namespace hpa {

namespace {

constexpr int kPaperTypesPos = 20; // "Paper types count": index lines per record
constexpr int kIndexSecondPos = kJobPosIndexPair + 1;

bool IsInkPosition(int nPos)
{
    return nPos >= kJobPosBlackInk && nPos < kJobPosIndexPair;
}

} // namespace

bool CDocumentJobList::Read(CUGCtrl& jobGrid, std::string_view strJobMask, bool bVersion1,
                            std::string& strError)
{
    m_pStore = jobGrid.GetMemStore();
    m_records.clear();
    m_column.fill(-1);
    int nAll = 0;
    int nInk = 0;
    for (int nPos = 0; nPos < kMaskLength[kKindJob]; ++nPos) {
        if (MaskSelects(strJobMask, nPos)) {
            ++nAll;
            nInk += IsInkPosition(nPos);
        }
    }
    // The job reader leaves the ink columns out of a version "1" file: the
    // column count tells the two layouts apart where they differ.
    const int nColumns = jobGrid.ColumnCount();
    if (nColumns == nAll && (nInk > 0 || !bVersion1))
        m_bHasInk = true;
    else if (nColumns == nAll - nInk)
        m_bHasInk = false;
    else {
        strError = "The document's job grid has " + std::to_string(nColumns) +
                   " columns, but the selected job fields give " + std::to_string(nAll) +
                   ". Select the job fields the document was saved with (View > Filters...) "
                   "and try again.";
        return false;
    }
    int nCol = 0;
    for (int nPos = 0; nPos < kMaskLength[kKindJob]; ++nPos) {
        if (!MaskSelects(strJobMask, nPos) || (!m_bHasInk && IsInkPosition(nPos)))
            continue;
        m_column[static_cast<std::size_t>(nPos)] = nCol++;
    }
    if (m_column[kHistJobId] < 0 || m_column[kHistDate] < 0 || m_column[kHistTime] < 0) {
        strError = "The document has no Job ID, Date or Time column: the history tells jobs "
                   "apart by them, so its jobs cannot be added. Documents saved with these "
                   "job fields selected can be.";
        return false;
    }
    const int nRows = jobGrid.RowCount();
    for (int nRow = 0; nRow < nRows;) {
        int nEnd = nRow + 1;
        while (nEnd < nRows && !IsRecordStart(nEnd))
            ++nEnd;
        // Rows the printer announced but never sent stay empty: no job.
        if (!Cell(m_column[kHistJobId], nRow).empty() || !Cell(m_column[kHistDate], nRow).empty() ||
            !Cell(m_column[kHistTime], nRow).empty())
            m_records.emplace_back(nRow, nEnd);
        nRow = nEnd;
    }
    return true;
}

std::string_view CDocumentJobList::Cell(int nCol, int nRow) const
{
    const CUGCell* pCell = m_pStore && nCol >= 0 ? m_pStore->PeekCell(nCol, nRow) : nullptr;
    return pCell ? std::string_view(pCell->GetText()) : std::string_view();
}

// The rows below a record that carry its further index pairs have every
// ordinary column empty; without index columns each row is a record.
bool CDocumentJobList::IsRecordStart(int nRow) const
{
    if (m_column[kJobPosIndexPair] < 0)
        return true;
    for (int nPos = 0; nPos < kJobPosIndexPair; ++nPos)
        if (!Cell(m_column[static_cast<std::size_t>(nPos)], nRow).empty())
            return true;
    return false;
}

void CDocumentJobList::Get(std::size_t nIndex, CHistoryJob& job) const
{
    const auto [nRow, nEnd] = m_records[nIndex];
    job.m_bHasInk = m_bHasInk;
    for (int nPos = 0; nPos < kHistoryFieldCount; ++nPos)
        job.m_field[static_cast<std::size_t>(nPos)] =
            Cell(m_column[static_cast<std::size_t>(nPos)], nRow);
    job.m_strIndex.clear();
    const int nFirst = m_column[kJobPosIndexPair];
    const int nSecond = m_column[kIndexSecondPos];
    if (nFirst < 0 || nSecond < 0)
        return;
    // As many pairs as the record announces when the document shows the
    // count; else the pairs its rows hold.
    int nPairs = nEnd - nRow;
    if (m_column[kPaperTypesPos] >= 0)
        nPairs = std::min(nPairs, std::max(LeadingInteger(job.m_field[kPaperTypesPos]), 0));
    else if (Cell(nFirst, nRow).empty() && Cell(nSecond, nRow).empty())
        nPairs = 0;
    for (int r = nRow; r < nRow + nPairs; ++r) {
        AppendIndexValue(job.m_strIndex, Cell(nFirst, r));
        AppendIndexValue(job.m_strIndex, Cell(nSecond, r));
    }
}

std::array<std::string, kHistoryStatusCount> DocumentStatusValues(CUGCtrl& statusGrid,
                                                                  std::string_view strStatusMask)
{
    std::array<std::string, kHistoryStatusCount> values;
    const int nShown = CountMaskOnes(strStatusMask, kHistoryStatusCount);
    const CGridMemStore* pStore = statusGrid.GetMemStore();
    if (!pStore || statusGrid.RowCount() != nShown || statusGrid.ColumnCount() != 2)
        return values;
    int nRow = 0;
    for (int nPos = 0; nPos < kHistoryStatusCount; ++nPos) {
        if (!MaskSelects(strStatusMask, nPos))
            continue;
        if (const CUGCell* pCell = pStore->PeekCell(1, nRow))
            values[static_cast<std::size_t>(nPos)] = pCell->GetText();
        ++nRow;
    }
    return values;
}

bool PrepareDocumentCollection(CUGCtrl& jobGrid, CUGCtrl& statusGrid, const CFieldMasks& masks,
                               const std::string& strPrinter, const std::string& strHost,
                               std::int64_t nTimeUtc, CDocumentJobList& jobs,
                               CCollectionInput& input, std::string& strError)
{
    input = CCollectionInput();
    input.m_strStatus = DocumentStatusValues(statusGrid, masks.m_strStatusMask);
    const bool bVersion1 = input.m_strStatus[0] == "1";
    if (!jobs.Read(jobGrid, masks.m_strJobMask, bVersion1, strError))
        return false;
    if (jobs.Count() == 0) {
        strError = "The document holds no jobs.";
        return false;
    }
    input.m_strPrinter = strPrinter;
    input.m_strHost = strHost;
    input.m_nTimeUtc = nTimeUtc;
    input.m_pJobs = &jobs;
    return true;
}

} // namespace hpa
