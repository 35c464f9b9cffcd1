// The paper file: one line per paper type with fields 22 to 27.
#include "accounting/Acc.h"

#include "accounting/AccFileReader.h"
#include "accounting/AccText.h"
#include "accounting/FieldMasks.h"
#include "accounting/GridFill.h"
#include "grid/UGCtrl.h"

#include <algorithm>

namespace hpa {

namespace {
constexpr std::size_t kPaperLineChars = 254;
constexpr CDelimSet kNumberDelims(":\n");
constexpr CDelimSet kValueDelims(",\n");
constexpr int kPaperMaskLength = 6;
constexpr int kFirstEnclosedField = 25;
} // namespace

int CAcc::ReadPaperFile()
{
    CUGCtrl* pGrid = m_binding.m_pGrids[kKindPaper];
    if (!pGrid)
        return 0;
    CAccFileReader file;
    if (!file.Open(WorkFile(kPaperFileName))) {
        Report(kMsgErrorPaper);
        return 0;
    }
    CUGCtrl& grid = *pGrid;
    const CFieldMasks& masks = Masks();
    ClearGridForFill(grid);
    const int nRows = LeadingInteger(m_strFieldValue[kFieldPaperTypes]);
    const int nColumns = masks.m_nPaperColumns;
    grid.SetColumnCount(nColumns);
    // A negative count would be refused and leave the old row count standing.
    grid.SetRowCount(std::max(nRows, 0));
    if (nColumns == 0) {
        grid.SetRowCount(0);
        return 1;
    }

    int nRow = 0;
    std::string_view line;
    bool bHaveLine = file.ReadLine(kPaperLineChars, line);
    if (nRows > 0) {
        while (bHaveLine) {
            CTokenizer tokens(UpToNul(line));
            std::string_view number;
            std::string_view value;
            while (tokens.Next(kNumberDelims, number) && tokens.Next(kValueDelims, value)) {
                const int nField = LeadingInteger(number);
                if (nField < kPaperFirstField || nField >= kPaperFirstField + kPaperMaskLength)
                    continue;
                std::string& strValue = m_strFieldValue[static_cast<std::size_t>(nField)];
                if (nField >= kFirstEnclosedField)
                    strValue = StripEnclosing(value);
                else
                    strValue = TrimLeadingSpace(value);
            }
            int nCol = 0;
            for (int nPos = 0; nPos < kPaperMaskLength; ++nPos) {
                if (MaskSelects(masks.m_strPaperMask, nPos))
                    grid.FillCellText(
                        nCol++, nRow,
                        m_strFieldValue[static_cast<std::size_t>(kPaperFirstField + nPos)]);
            }
            bHaveLine = file.ReadLine(kPaperLineChars, line);
            if (++nRow >= nRows)
                break;
        }
    }

    int nCol = 0;
    for (int nPos = 0; nPos < kPaperMaskLength; ++nPos) {
        if (MaskSelects(masks.m_strPaperMask, nPos))
            grid.SetCellText(nCol++, -1,
                             m_strFieldName[static_cast<std::size_t>(kPaperFirstField + nPos)]);
    }
    WriteRowHeadings(grid, nRow);
    MoveToTopLeftCell(grid);
    FitAndScrollHome(grid, nColumns, nRows);
    return 1;
}

} // namespace hpa
