#pragma once
// Fuzz targets for the four readers of the printer's files. Each input is
// written into a private working directory as the file a reader opens, and
// the reader runs on an accounting set bound to that directory and to three
// grids of its own, exactly as after a download.
//
// The paper and job readers are steered by the status values (number of
// paper types, number of jobs, version, job file size and usage), so their
// inputs carry a status line first: everything up to the first line feed is
// "STA.tmp", the rest is "PAP.tmp" or "JOB.tmp". Each is read with two masks:
// every field selected (index columns included) and the default.
#include "fuzz/FuzzCheck.h"

#include "accounting/Acc.h"
#include "accounting/FieldMasks.h"
#include "grid/GridStore.h"
#include "grid/UGCtrl.h"
#include "platform/PrivateDir.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace hpa::fuzz {

// A directory for the working files, made once per process and removed at
// its end.
class CFuzzWorkDir {
public:
    const std::filesystem::path& Path() const { return m_dir.Path(); }

    void Write(const char* pszName, std::string_view bytes) const
    {
        std::FILE* pFile = std::fopen((Path() / pszName).c_str(), "wb");
        HPA_FUZZ_CHECK(pFile != nullptr);
        const bool bWritten = std::fwrite(bytes.data(), 1, bytes.size(), pFile) == bytes.size();
        const bool bClosed = std::fclose(pFile) == 0;
        HPA_FUZZ_CHECK(bWritten && bClosed);
    }

    static const CFuzzWorkDir& Get()
    {
        static CFuzzWorkDir s_dir;
        HPA_FUZZ_CHECK(!s_dir.Path().empty());
        return s_dir;
    }

private:
    CPrivateDir m_dir{"hpa-fuzz"};
};

// An accounting set bound to the working directory and three fresh grids.
struct CFuzzAccSet {
    CUGCtrl m_grids[kDataKindCount];
    CFieldMasks m_masks;
    CAcc m_acc;

    CFuzzAccSet()
    {
        CAccBinding binding;
        binding.m_pathWorkDir = CFuzzWorkDir::Get().Path();
        binding.m_pGrids = {&m_grids[kKindJob], &m_grids[kKindPaper], &m_grids[kKindStatus]};
        binding.m_pMasks = &m_masks;
        m_acc.Bind(binding);
    }

    void SelectEverything()
    {
        m_masks.m_strJobMask.assign(static_cast<std::size_t>(kMaskLength[kKindJob]), '1');
        m_masks.m_strPaperMask.assign(static_cast<std::size_t>(kMaskLength[kKindPaper]), '1');
        m_masks.m_strStatusMask.assign(static_cast<std::size_t>(kMaskLength[kKindStatus]), '1');
        m_masks.Recount();
    }

    // What every reader must leave behind: a consistent store, counts that
    // are not negative, and no more stored rows than the input (or for the
    // status grid, the mask) accounts for.
    void CheckGrid(int nKind, std::size_t nMaxRows)
    {
        CUGCtrl& grid = m_grids[nKind];
        HPA_FUZZ_CHECK(grid.ColumnCount() >= 0 && grid.RowCount() >= 0);
        const CGridMemStore* pStore = grid.GetMemStore();
        HPA_FUZZ_CHECK(pStore != nullptr);
        std::string strWhy;
        HPA_FUZZ_CHECK(pStore->CheckConsistency(&strWhy));
        HPA_FUZZ_CHECK(static_cast<std::size_t>(pStore->StoredRowCount()) <= nMaxRows);
    }
};

inline std::string_view AsText(const std::uint8_t* pData, std::size_t nSize)
{
    return {reinterpret_cast<const char*>(pData), nSize};
}

// Splits "status line\nrest" (no line feed: all of it is the status line).
inline void SplitStatusLine(std::string_view input, std::string_view& status,
                            std::string_view& rest)
{
    const std::size_t nLf = input.find('\n');
    status = input.substr(0, nLf == std::string_view::npos ? input.size() : nLf + 1);
    rest = input.substr(status.size());
}

inline int FuzzDictionaryReader(const std::uint8_t* pData, std::size_t nSize)
{
    const std::string_view input = AsText(pData, nSize);
    CFuzzWorkDir::Get().Write(kDictionaryFileName, input);
    CFuzzAccSet set;
    HPA_FUZZ_CHECK(set.m_acc.ReadDictionaryFile() == 1);
    // A name is never longer than the file that held it.
    for (const std::string& strName : set.m_acc.m_strFieldName)
        HPA_FUZZ_CHECK(strName.size() <= nSize);
    return 0;
}

inline int FuzzStatusReader(const std::uint8_t* pData, std::size_t nSize)
{
    const std::string_view input = AsText(pData, nSize);
    CFuzzWorkDir::Get().Write(kStatusFileName, input);
    CFuzzAccSet set;
    HPA_FUZZ_CHECK(set.m_acc.ReadStatusFile() == 1);
    for (int nField = 0; nField < kFieldCount; ++nField) {
        const std::string& strValue = set.m_acc.m_strFieldValue[static_cast<std::size_t>(nField)];
        // Only fields 28 to 44 are stored, and only from the first 255 characters.
        HPA_FUZZ_CHECK(strValue.size() < 255);
        if (nField < kStatusFirstField || nField >= kStatusFirstField + kMaskLength[kKindStatus])
            HPA_FUZZ_CHECK(strValue.empty());
    }
    for (int nPass = 0; nPass < 2; ++nPass) {
        if (nPass == 1)
            set.SelectEverything();
        set.m_acc.FillStatusGrid();
        set.CheckGrid(kKindStatus, static_cast<std::size_t>(kMaskLength[kKindStatus]));
        HPA_FUZZ_CHECK(set.m_grids[kKindStatus].RowCount() == set.m_masks.m_nStatusRows);
    }
    return 0;
}

inline int FuzzPaperReader(const std::uint8_t* pData, std::size_t nSize)
{
    std::string_view status;
    std::string_view paper;
    SplitStatusLine(AsText(pData, nSize), status, paper);
    const CFuzzWorkDir& dir = CFuzzWorkDir::Get();
    dir.Write(kStatusFileName, status);
    dir.Write(kPaperFileName, paper);
    CFuzzAccSet set;
    HPA_FUZZ_CHECK(set.m_acc.ReadStatusFile() == 1);
    for (int nPass = 0; nPass < 2; ++nPass) {
        if (nPass == 1)
            set.SelectEverything();
        HPA_FUZZ_CHECK(set.m_acc.ReadPaperFile() == 1);
        set.CheckGrid(kKindPaper, nSize + 1);
        HPA_FUZZ_CHECK(set.m_grids[kKindPaper].ColumnCount() == set.m_masks.m_nPaperColumns);
    }
    return 0;
}

inline int FuzzJobReader(const std::uint8_t* pData, std::size_t nSize)
{
    std::string_view status;
    std::string_view jobs;
    SplitStatusLine(AsText(pData, nSize), status, jobs);
    const CFuzzWorkDir& dir = CFuzzWorkDir::Get();
    dir.Write(kStatusFileName, status);
    dir.Write(kJobFileName, jobs);
    CFuzzAccSet set;
    HPA_FUZZ_CHECK(set.m_acc.ReadStatusFile() == 1);
    for (int nPass = 0; nPass < 2; ++nPass) {
        if (nPass == 1)
            set.SelectEverything();
        HPA_FUZZ_CHECK(set.m_acc.ReadJobFile() == 1);
        set.CheckGrid(kKindJob, nSize + 32);
        HPA_FUZZ_CHECK(set.m_acc.m_nUsers >= 0);
        HPA_FUZZ_CHECK(set.m_grids[kKindJob].ColumnCount() <= kMaskLength[kKindJob]);
    }
    return 0;
}

} // namespace hpa::fuzz
