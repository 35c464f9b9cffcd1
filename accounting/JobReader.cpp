// The job file(s): one record line per job, each followed by its index
// lines; decoded into the job grid while the summary counters are summed.
#include "accounting/Acc.h"

#include "accounting/AccFileReader.h"
#include "accounting/AccText.h"
#include "accounting/FieldMasks.h"
#include "accounting/GridFill.h"
#include "grid/UGCtrl.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <unordered_set>
#include <vector>

namespace hpa {

namespace {

constexpr std::size_t kJobLineChars = 398;
constexpr CDelimSet kNumberDelims(":\n");
constexpr CDelimSet kValueDelims(",\n");
constexpr CDelimSet kBracedDelims("}\n");
constexpr CDelimSet kBlankDelims(" \n");
constexpr CDelimSet kIndexTagDelims(":");
constexpr CDelimSet kIndexValueDelims(",");

// A record announcing more index lines than this still shows every line it
// has; only lines missing at the end of the file are padded with empty rows,
// and never beyond this many.
constexpr int kMaxPaddedIndexRows = 30;

enum class JobSyntax { Ignored, Plain, Braced };

constexpr JobSyntax JobValueSyntax(int nField)
{
    if (nField == 2 || nField == 3 || (nField >= 5 && nField <= 8) || nField == 45)
        return JobSyntax::Braced;
    if (nField == 0 || nField == 1 || nField == 4 || (nField >= 9 && nField <= 21) ||
        (nField >= 46 && nField <= 49))
        return JobSyntax::Plain;
    return JobSyntax::Ignored;
}

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

struct CIndexPair {
    std::string m_strFirst;
    std::string m_strSecond;
};

// Tag ":" first value "," tag ":" second value. The second value runs to the
// end of the piece read; its line end is not part of it.
void DecodeIndexLine(std::string_view line, CIndexPair& pair)
{
    CTokenizer tokens(line);
    std::string_view tag;
    std::string_view first;
    std::string_view second;
    if (!tokens.Next(kIndexTagDelims, tag) || !tokens.Next(kIndexValueDelims, first))
        first = {};
    if (!tokens.Next(kIndexTagDelims, tag) || !tokens.Next(kIndexValueDelims, second))
        second = {};
    first = TrimLeadingSpace(first);
    second = TrimLeadingSpace(second);
    while (!second.empty() && (second.back() == '\n' || second.back() == '\r'))
        second.remove_suffix(1);
    pair.m_strFirst = first;
    pair.m_strSecond = second;
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
    std::vector<CIndexPair> indexPairs;
    int nRow = 0;
    std::int32_t nRecords = 0;
    int nIndexLines = 0; // until a record gives field 19
    std::vector<int>* pRecordRows = m_binding.m_pRecordRows;
    if (pRecordRows)
        pRecordRows->clear();
    std::string_view line;
    bool bHaveLine = file.ReadLine(kJobLineChars, line);
    while (m_nJobs > 0 && bHaveLine) {
        // The pairs of the record line.
        CTokenizer tokens(UpToNul(line));
        std::string_view number;
        std::string_view value;
        while (tokens.Next(kNumberDelims, number)) {
            const int nField = LeadingInteger(number);
            const JobSyntax syntax = JobValueSyntax(nField);
            if (syntax == JobSyntax::Plain) {
                if (!tokens.Next(kValueDelims, value))
                    continue; // nothing left: the next number search ends the line
                value = TrimLeadingSpace(value);
                m_strFieldValue[static_cast<std::size_t>(nField)] = value;
                if (nField == kFieldIndexCount)
                    nIndexLines = LeadingInteger(value);
            } else if (syntax == JobSyntax::Braced) {
                if (!tokens.Next(kBracedDelims, value))
                    continue;
                // The value through its closing "}", stripped of both ends:
                // what remains is the text after the first character.
                m_strFieldValue[static_cast<std::size_t>(nField)] =
                    value.size() <= 1 ? std::string_view() : TrimLeadingSpace(value.substr(1));
                // Whatever stands between the "}" and the next blank goes.
                std::string_view skipped;
                tokens.Next(kBlankDelims, skipped);
            }
            // Any other field number takes no value: the text after it is
            // read as the next field number.
        }

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

        // The index lines belong to the record whether shown or not; every
        // one of them is consumed, and decoded only when its columns show.
        int nIndexRead = 0;
        for (; nIndexRead < nIndexLines; ++nIndexRead) {
            if (!file.ReadLine(kJobLineChars, line))
                break;
            if (!bShowIndex)
                continue;
            if (static_cast<std::size_t>(nIndexRead) >= indexPairs.size())
                indexPairs.emplace_back();
            DecodeIndexLine(UpToNul(line), indexPairs[static_cast<std::size_t>(nIndexRead)]);
        }
        if (bShowIndex && nIndexLines > 0) {
            // Lines missing at the end of the file show as empty pairs.
            const int nIndexRows = std::max(nIndexRead, std::min(nIndexLines, kMaxPaddedIndexRows));
            for (int j = 0; j < nIndexRows; ++j) {
                if (j < nIndexRead) {
                    const CIndexPair& pair = indexPairs[static_cast<std::size_t>(j)];
                    grid.FillCellText(nCol, nRow, pair.m_strFirst);
                    grid.FillCellText(nCol + 1, nRow, pair.m_strSecond);
                }
                if (j + 1 < nIndexRows)
                    grid.InsertRowAt(++nRow);
            }
        }

        bHaveLine = file.ReadLine(kJobLineChars, line);
        ++nRow;
        if (++nRecords >= m_nJobs)
            break;
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
