// The status file: one line of "number:value" pairs for fields 28 to 44.
#include "accounting/Acc.h"

#include "accounting/AccFileReader.h"
#include "accounting/AccText.h"
#include "accounting/FieldMasks.h"
#include "accounting/GridFill.h"
#include "grid/UGCtrl.h"

#include <cstdio>

namespace hpa {

namespace {
// Characters of the one line that is read, line end included.
constexpr std::size_t kStatusLineChars = 255;
constexpr CDelimSet kNumberDelims(":\n");
constexpr CDelimSet kValueDelims(",\n");
} // namespace

int CAcc::ReadStatusFile()
{
    CAccFileReader file;
    if (!file.Open(WorkFile(kStatusFileName))) {
        Report(kMsgErrorStatus);
        return 0;
    }
    std::string_view line;
    if (!file.ReadLine(kStatusLineChars, line))
        return 1;
    CTokenizer tokens(UpToNul(line));
    std::string_view number;
    std::string_view value;
    while (tokens.Next(kNumberDelims, number) && tokens.Next(kValueDelims, value)) {
        const int nField = LeadingInteger(number);
        if (nField >= kStatusFirstField && nField < kStatusFirstField + kMaskLength[kKindStatus])
            m_strFieldValue[static_cast<std::size_t>(nField)] = TrimLeadingSpace(value);
    }
    return 1;
}

void CAcc::FillStatusGrid()
{
    CUGCtrl* pGrid = m_binding.m_pGrids[kKindStatus];
    if (!pGrid)
        return;
    CUGCtrl& grid = *pGrid;
    const CFieldMasks& masks = Masks();
    ClearGridForFill(grid);
    grid.SetColumnCount(2);
    grid.SetRowCount(masks.m_nStatusRows);
    if (masks.m_nStatusRows == 0) {
        grid.SetColumnCount(0);
        return;
    }
    grid.SetCellText(0, -1, "A");
    grid.SetCellText(1, -1, "B");
    int nRow = 0;
    char szNumber[16];
    for (int nPos = 0; nPos < kMaskLength[kKindStatus]; ++nPos) {
        if (!MaskSelects(masks.m_strStatusMask, nPos))
            continue;
        const auto nField = static_cast<std::size_t>(kStatusFirstField + nPos);
        std::snprintf(szNumber, sizeof szNumber, "%d", nRow + 1);
        grid.SetCellText(-1, nRow, szNumber);
        grid.SetCellText(0, nRow, m_strFieldName[nField]);
        grid.SetCellText(1, nRow, m_strFieldValue[nField]);
        ++nRow;
    }
    MoveToTopLeftCell(grid);
    FitAndScrollHome(grid, 2, masks.m_nStatusRows);
}

} // namespace hpa
