#pragma once
// What `hpactl printers` shows of a printer: its last collection, the jobs
// the history holds, how full its job file is and when it will be full.
#include "history/HistoryStore.h"

#include <optional>
#include <string>
#include <vector>

namespace hpa {

struct CPrinterStatus {
    std::string m_strName;
    std::int64_t m_nLastCollectionUtc = 0;
    std::int64_t m_nJobsHeld = 0;
    std::optional<std::int64_t> m_nConsumptionPercent; // none when the size is 0 or unreadable
    std::string m_strJobFileFull;           // status "Job file full" as the printer wrote it
    bool m_bFull = false;                   // its leading integer is not 0
    std::optional<double> m_nDaysUntilFull; // none when there is not enough to tell
};

// From the printer's collections: consumption from the last one; days until
// full from the growth of "Job file usage" over the recent collections
// (since its last drop, when the file was emptied), a straight line fitted
// through them; none with fewer than two distinct times or no growth.
CPrinterStatus SummarizePrinter(const CPrinterHistory& printer);

// The status of each printer as rows for the text forms.
std::vector<std::string> PrinterStatusHeadings();
std::vector<std::string> PrinterStatusCells(const CPrinterStatus& status);

} // namespace hpa
