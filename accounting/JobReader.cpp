// The job file(s): one record line per job, each followed by its index
// lines; decoded into the job grid while the summary counters are summed.
#include "accounting/Acc.h"

#include "accounting/AccFileReader.h"
#include "accounting/AccText.h"
#include "accounting/FieldMasks.h"
#include "accounting/GridFill.h"
#include "accounting/JobRecords.h"
#include "grid/UGCtrl.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <unordered_set>
#include <vector>

namespace hpa {

namespace {

std::int32_t Clamp32(std::int64_t nValue)
{
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(std::clamp(nValue, kMin, kMax));
}

// Counters stop at the ends of their 32-bit range instead of overflowing.
void AddTo(std::int32_t& nCounter, std::int64_t nAmount)
{
    nCounter = Clamp32(static_cast<std::int64_t>(nCounter) + nAmount);
}

} // namespace

int CAcc::ReadJobFile()
{
    CUGCtrl* pGrid = m_binding.m_pGrids[kKindJob];
    if (!pGrid)
        return 0;
    CAccFileReader file;
    if (!file.Open(WorkFile(kJobFileName))) {
        Report(kMsgErrorJob);
        return 0;
    }
    CUGCtrl& grid = *pGrid;
    const CFieldMasks& masks = Masks();
    const std::string& strMask = masks.m_strJobMask;
    ClearGridForFill(grid);

    // Version "1" files have no ink fields (46 to 49): their positions are
    // skipped even when selected.
    const bool bVersion1 = m_strFieldValue[kFieldVersion] == "1";
    int nColumns = masks.m_nJobColumns;
    if (bVersion1) {
        if (MaskSelects(strMask, kJobPosBlackInk))
            nColumns -= 1;
        if (MaskSelects(strMask, kJobPosColorInk))
            nColumns -= 3;
    }
    const std::int32_t nAnnounced = LeadingInteger(m_strFieldValue[kFieldNumberOfJobs]);
    grid.SetColumnCount(nColumns);
    // A negative count would be refused and leave the old row count standing.
    grid.SetRowCount(std::max(nAnnounced, 0));
    if (nColumns <= 0) {
        grid.SetRowCount(0);
        return 1;
    }

    m_nUsers = 0;
    m_nPrintingTime = 0;
    m_nDuplexSheets = 0;
    m_nSimplexSheets = 0;
    m_nJams = 0;
    // Usage × 100 in 64 bits, and no division when the size is 0 or no number.
    const std::int64_t nFileSize = LeadingInteger(m_strFieldValue[kFieldJobFileSize]);
    const std::int64_t nFileUsage = LeadingInteger(m_strFieldValue[kFieldJobFileUsage]);
    m_nJobFileConsumption = nFileSize == 0 ? 0 : Clamp32(nFileUsage * 100 / nFileSize);
    m_nJobs = nAnnounced;

    // The fields of the ordinary columns, in mask order.
    std::vector<std::size_t> shownFields;
    for (int nPos = 0; nPos < kJobPosIndexPair; ++nPos) {
        if (!MaskSelects(strMask, nPos) || (bVersion1 && nPos >= kJobPosBlackInk))
            continue;
        shownFields.push_back(
            static_cast<std::size_t>(kJobPositionField[static_cast<std::size_t>(nPos)]));
    }
    const bool bShowIndex = MaskSelects(strMask, kJobPosIndexPair);

    std::unordered_set<std::string> usersSeen;
    int nRow = 0;
    std::vector<int>* pRecordRows = m_binding.m_pRecordRows;
    if (pRecordRows)
        pRecordRows->clear();
    CJobRecordReader records(file, m_strFieldValue, m_nJobs, bShowIndex);
    while (records.Next()) {
        AddTo(m_nJams, LeadingInteger(m_strFieldValue[kFieldJams]));
        AddTo(m_nSimplexSheets, LeadingInteger(m_strFieldValue[kFieldSimplex]));
        AddTo(m_nDuplexSheets, LeadingInteger(m_strFieldValue[kFieldDuplex]));
        AddTo(m_nPrintingTime, LeadingInteger(m_strFieldValue[kFieldPrintTime]) / 1000);
        const std::string& strUser = m_strFieldValue[kFieldUser];
        if (usersSeen.find(strUser) == usersSeen.end()) {
            usersSeen.insert(strUser);
            AddTo(m_nUsers, 1);
        }

        if (pRecordRows)
            pRecordRows->push_back(nRow);
        int nCol = 0;
        for (std::size_t nField : shownFields)
            grid.FillCellText(nCol++, nRow, m_strFieldValue[nField]);

        if (bShowIndex) {
            const int nIndexRows = records.IndexRows();
            for (int j = 0; j < nIndexRows; ++j) {
                if (j < records.IndexRead()) {
                    const CJobIndexPair& pair = records.Pair(j);
                    grid.FillCellText(nCol, nRow, pair.m_strFirst);
                    grid.FillCellText(nCol + 1, nRow, pair.m_strSecond);
                }
                if (j + 1 < nIndexRows)
                    grid.InsertRowAt(++nRow);
            }
        }
        ++nRow;
    }

    if (pRecordRows)
        pRecordRows->push_back(nRow); // the end of the last record
    int nCol = 0;
    for (int nPos = 0; nPos < kMaskLength[kKindJob]; ++nPos) {
        if (!MaskSelects(strMask, nPos) ||
            (bVersion1 && nPos >= kJobPosBlackInk && nPos < kJobPosIndexPair))
            continue;
        grid.SetCellText(nCol++, -1,
                         m_strFieldName[static_cast<std::size_t>(
                             kJobPositionField[static_cast<std::size_t>(nPos)])]);
    }
    WriteRowHeadings(grid, nRow);
    MoveToTopLeftCell(grid);
    grid.UseOffscreenPaint(1);
    grid.SetDragMode(1);
    FitAndScrollHome(grid, nColumns, nRow);
    return 1;
}

} // namespace hpa
