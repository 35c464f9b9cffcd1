#pragma once
// An accounting set bound to a private working directory, three windowless
// grids, its own masks and a recording message sink; and a way to read a
// grid back as text rows for table-driven comparisons.
#include "accounting/Acc.h"
#include "accounting/FieldMasks.h"
#include "grid/UGCtrl.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"

#include <filesystem>
#include <string>
#include <vector>

namespace hpa::test {

// Rows -1 to RowCount - 1; each row "h|c0|c1|..." with the row heading
// (column -1) first and the stored texts of columns 0 to ColumnCount - 1.
inline std::vector<std::string> GridRows(CUGCtrl& grid)
{
    std::vector<std::string> rows;
    CUGCell cell;
    for (int nRow = -1; nRow < grid.RowCount(); ++nRow) {
        std::string strRow;
        for (int nCol = -1; nCol < grid.ColumnCount(); ++nCol) {
            cell.ClearCell();
            grid.ReadCell(nCol, nRow, &cell);
            if (nCol > -1)
                strRow += '|';
            strRow += cell.GetText();
        }
        rows.push_back(strRow);
    }
    return rows;
}

class CAccFixture {
public:
    CAccFixture() : CAccFixture(std::filesystem::path()) {}
    // Bound to a working directory of the caller's instead of its own.
    explicit CAccFixture(const std::filesystem::path& workDir)
    {
        CAccBinding binding;
        binding.m_pathWorkDir = workDir.empty() ? m_dir.Path() : workDir;
        binding.m_pGrids = {&m_grids[kKindJob], &m_grids[kKindPaper], &m_grids[kKindStatus]};
        binding.m_pMasks = &m_masks;
        binding.m_pMessages = &m_messages;
        m_acc.Bind(binding);
    }

    void Write(const std::string& strName, const std::string& strBytes)
    {
        m_dir.Write(strName, strBytes);
    }
    void SetMasks(const std::string& strJob, const std::string& strPaper,
                  const std::string& strStatus)
    {
        m_masks.m_strJobMask = strJob;
        m_masks.m_strPaperMask = strPaper;
        m_masks.m_strStatusMask = strStatus;
        m_masks.Recount();
    }
    CUGCtrl& Grid(int nKind) { return m_grids[nKind]; }
    std::vector<std::string> Rows(int nKind) { return GridRows(m_grids[nKind]); }

    CTempDir m_dir;
    CUGCtrl m_grids[kDataKindCount];
    CRecordingMessages m_messages;
    CFieldMasks m_masks;
    CAcc m_acc;
};

} // namespace hpa::test
