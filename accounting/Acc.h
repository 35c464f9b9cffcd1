#pragma once
// The accounting set: field names from the dictionary, the values of the
// record being decoded, where and when the data was downloaded, and the
// summary counters; with the readers that decode the printer's four files
// straight into the three data grids.
//
// A set is bound (CAccBinding) to the directory holding the working files,
// to the three grids, to the field masks and to a message sink. The desktop
// binds g_acc to the current directory, g_grids and its message boxes;
// hpactl and the tests bind sets of their own.
#include "accounting/FieldCatalogue.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace hpa {

class CArchive;
class CMessages;
class CUGCtrl;
struct CFieldMasks;

// The local working files of a download and the readers' messages.
inline constexpr const char* kStatusFileName = "STA.tmp";
inline constexpr const char* kDictionaryFileName = "DIC.tmp";
inline constexpr const char* kPaperFileName = "PAP.tmp";
inline constexpr const char* kJobFileName = "JOB.tmp";
inline constexpr const char* kMsgErrorDictionary = "Error reading Dictionary File.";
inline constexpr const char* kMsgErrorStatus = "Error reading Status Accounting File.";
inline constexpr const char* kMsgErrorPaper = "Error reading Paper Accounting File.";
inline constexpr const char* kMsgErrorJob = "Error reading Job Accounting File.";
inline constexpr const char* kMsgInvalidInitialization =
    "The Status Accounting File indicates an invalid initialization.";

// What a set's readers work on.
struct CAccBinding {
    // Directory of "STA.tmp" and the others; empty: the current directory.
    std::filesystem::path m_pathWorkDir;
    // The Job, Paper and Status grids, indexed by data kind. A reader whose
    // grid is missing reads nothing and returns 0.
    std::array<CUGCtrl*, kDataKindCount> m_pGrids{};
    // The masks the readers apply; null means g_masks.
    const CFieldMasks* m_pMasks = nullptr;
    // Where "Error reading ..." goes; null: nowhere.
    CMessages* m_pMessages = nullptr;
    // When set, the job reader lists here the grid row where each record
    // starts (a record with index lines takes several rows), and last the
    // row after the last record.
    std::vector<int>* m_pRecordRows = nullptr;
};

class CAcc {
public:
    std::int32_t m_nJobs = 0;
    std::int32_t m_nJobFileConsumption = 0;
    std::int32_t m_nPrintingTime = 0;
    std::int32_t m_nUsers = 0;
    std::int32_t m_nDuplexSheets = 0;
    std::int32_t m_nSimplexSheets = 0;
    std::int32_t m_nJams = 0;
    std::string m_strHost;
    std::array<std::string, kFieldCount> m_strFieldName;
    std::array<std::string, kFieldCount> m_strFieldValue;
    std::string m_strDownloadDate;
    std::string m_strDownloadTime;

    void Bind(const CAccBinding& binding) { m_binding = binding; }
    const CAccBinding& Binding() const { return m_binding; }

    // "DIC.tmp" → m_strFieldName. Nonzero once the file is open.
    int ReadDictionaryFile();
    // "STA.tmp" → m_strFieldValue 28 to 44. Nonzero once the file is open.
    int ReadStatusFile();
    // Status field 28 or 29 exactly "0": the printer's accounting was never
    // set up, and nothing else is worth fetching.
    bool IndicatesInvalidInitialization() const;
    // The status grid from the status values and the status mask.
    void FillStatusGrid();
    // "PAP.tmp" → the paper grid. Nonzero once the file is open.
    int ReadPaperFile();
    // "JOB.tmp" → the job grid and the counters. Nonzero once the file is open.
    int ReadJobFile();

    // Stores or loads host, date, time and the seven counters (in reverse
    // declaration order). The name and value tables are not archived.
    void Serialize(CArchive& ar);

private:
    std::filesystem::path WorkFile(const char* pszName) const;
    const CFieldMasks& Masks() const;
    void Report(const char* pszMessage) const;

    CAccBinding m_binding;
};

// The process-wide accounting set.
extern CAcc g_acc;

} // namespace hpa
