#pragma once
// The eleven labelled figures of the accounting summary, formatted, and the
// background colour of the job file consumption row.
#include "grid/UGCell.h"

#include <array>
#include <cstdint>
#include <string>

namespace hpa {

class CAcc;

struct CSummaryRow {
    const char* m_pszLabel;
    std::string m_strValue;
};

inline constexpr int kSummaryRowCount = 11;
// The row whose background shows how full the job file is.
inline constexpr int kSummaryConsumptionRow = 3;

// Host, Download Date, Download Time, Job File Consumption, Jobs, Simplex
// Sheets, Duplex Sheets, Total Sheets, Jams, Printing Time, Users.
std::array<CSummaryRow, kSummaryRowCount> SummaryRows(const CAcc& acc);

// "%d:%02d:%02d" of the seconds taken as unsigned; hours are not limited.
std::string FormatPrintingTime(std::int32_t nSeconds);

// White below 80 percent, yellow from 80 to 89, red from 90.
COLORREF ConsumptionBackColor(std::int32_t nPercent);

} // namespace hpa
