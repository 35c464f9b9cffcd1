#pragma once
// The history's report: jobs and their sums grouped by user, printer, host,
// day or month, over a period and a choice of printers, with the known gaps
// that fall into the period. One function serves `hpactl report` and the
// desktop alike; the text forms (table, csv, tsv, json) are beside it.
#include "history/HistoryStore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hpa {

struct CReportQuery {
    ReportKey m_key = ReportKey::User;
    std::vector<std::string> m_printers; // empty: all
    std::string m_strSince;              // YYYY-MM-DD, inclusive; empty: open
    std::string m_strUntil;
};

struct CReport {
    CReportQuery m_query;
    std::vector<CReportRow> m_rows;  // by key, bytewise
    CReportRow m_total;              // key "Total"
    std::vector<CHistoryGap> m_gaps; // known gaps within the period
};

// The column headings, key first.
inline constexpr int kReportColumns = 7;
const char* ReportKeyHeading(ReportKey key);
std::vector<std::string> ReportHeadings(ReportKey key);
// The cells of a row, as the text forms write them.
std::vector<std::string> ReportCells(const CReportRow& row);

// "user", "printer", ... → the key; false for anything else.
bool ParseReportKey(std::string_view str, ReportKey& key);
// A date as the period takes it: YYYY-MM-DD, a real calendar date.
bool IsReportDate(std::string_view str);

bool RunHistoryReport(CHistoryStore& store, const CReportQuery& query, CReport& report,
                      std::string& strError);

enum class ReportFormat { Table, Csv, Tsv, Json };
bool ParseReportFormat(std::string_view str, ReportFormat& format);
// The report as text. Table and the notes on gaps: aligned for a terminal,
// one note line per gap below it; csv/tsv: the export's rules (RFC 4180,
// CR LF); json: an array of objects named by the headings.
std::string FormatReport(const CReport& report, ReportFormat format);
// Any table of cells in one of the text forms: numeric columns are
// right-aligned in the table and numbers in json (null when empty).
std::string FormatCells(const std::vector<std::string>& headings,
                        const std::vector<std::vector<std::string>>& rows,
                        const std::vector<bool>& numeric, ReportFormat format);
// One line per known gap in the report's period ("" when none).
std::string ReportGapNotes(const CReport& report);

// Printer bytes made valid UTF-8 for JSON, PDF and the like: kept when they
// are UTF-8 already, else read as Windows-1252.
std::string ToUtf8(std::string_view strBytes);

} // namespace hpa
