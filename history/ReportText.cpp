// The report as text: an aligned table, the export's csv/tsv, or json.
#include "history/HistoryReport.h"

#include "accounting/FieldCatalogue.h"
#include "grid/UGCtrl.h"
#include "history/HistoryValues.h"
#include "platform/Utf8.h"
#include "view/ExportWriter.h"

#include <algorithm>
#include <cstdio>

namespace hpa {

namespace {

// Windows-1252 at 0x80 to 0x9F (0: undefined there, shown as U+FFFD).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendCodePoint(std::string& str, unsigned nCode)
{
    if (nCode < 0x80) {
        str += static_cast<char>(nCode);
    } else if (nCode < 0x800) {
        str += static_cast<char>(0xC0 | (nCode >> 6));
        str += static_cast<char>(0x80 | (nCode & 0x3F));
    } else {
        str += static_cast<char>(0xE0 | (nCode >> 12));
        str += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
        str += static_cast<char>(0x80 | (nCode & 0x3F));
    }
}

std::string JsonString(std::string_view strBytes)
{
    const std::string str = ToUtf8(strBytes);
    std::string strOut = "\"";
    for (const char ch : str) {
        const auto c = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            strOut += '\\';
            strOut += ch;
        } else if (c < 0x20) {
            char szEscape[8];
            std::snprintf(szEscape, sizeof szEscape, "\\u%04x", c);
            strOut += szEscape;
        } else {
            strOut += ch;
        }
    }
    return strOut + "\"";
}

// A key cell for a terminal: control bytes would break the table's lines.
std::string TableCell(std::string_view str)
{
    std::string strOut;
    for (const char ch : str)
        strOut += static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F ? '?' : ch;
    return strOut;
}

// Width on a terminal: UTF-8 continuation bytes take no column.
std::size_t DisplayWidth(std::string_view str)
{
    return static_cast<std::size_t>(std::count_if(str.begin(), str.end(), [](char ch) {
        return (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    }));
}

using CCells = std::vector<std::vector<std::string>>;

std::string FormatTable(const std::vector<std::string>& headings, const CCells& rows,
                        const std::vector<bool>& numeric)
{
    CCells lines;
    lines.push_back(headings);
    for (const auto& row : rows) {
        lines.push_back(row);
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (!numeric[c])
                lines.back()[c] = TableCell(ToUtf8(row[c]));
        }
    }
    std::vector<std::size_t> widths(headings.size(), 0);
    for (const auto& line : lines) {
        for (std::size_t c = 0; c < line.size(); ++c)
            widths[c] = std::max(widths[c], DisplayWidth(line[c]));
    }
    std::string strOut;
    for (const auto& line : lines) {
        std::string strLine;
        for (std::size_t c = 0; c < line.size(); ++c) {
            const std::string strPad(widths[c] - DisplayWidth(line[c]), ' ');
            if (c > 0)
                strLine += "  ";
            strLine += numeric[c] ? strPad + line[c] : line[c] + strPad;
        }
        while (!strLine.empty() && strLine.back() == ' ')
            strLine.pop_back();
        strOut += strLine + '\n';
    }
    return strOut;
}

std::string FormatSeparated(const std::vector<std::string>& headings, const CCells& rows,
                            char chSeparator)
{
    // The export writer's own rules, over a grid holding the cells.
    const int nColumns = static_cast<int>(headings.size());
    CUGCtrl grid;
    grid.SetColumnCount(nColumns);
    grid.SetRowCount(static_cast<int>(rows.size()));
    for (int c = 0; c < nColumns; ++c)
        grid.SetCellText(c, -1, headings[static_cast<std::size_t>(c)]);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < nColumns; ++c)
            grid.SetCellText(c, static_cast<int>(r), rows[r][static_cast<std::size_t>(c)]);
    }
    return ExportToString(grid, kKindPaper, {}, chSeparator);
}

std::string FormatJson(const std::vector<std::string>& headings, const CCells& rows,
                       const std::vector<bool>& numeric)
{
    std::string strOut = "[";
    bool bFirst = true;
    for (const auto& row : rows) {
        strOut += bFirst ? "\n  {" : ",\n  {";
        bFirst = false;
        for (std::size_t c = 0; c < row.size(); ++c) {
            strOut += (c ? ", " : "") + JsonString(headings[c]) + ": ";
            if (!numeric[c])
                strOut += JsonString(row[c]);
            else
                strOut += row[c].empty() ? std::string("null") : row[c];
        }
        strOut += "}";
    }
    return strOut + (bFirst ? "]\n" : "\n]\n");
}

} // namespace

std::string ToUtf8(std::string_view strBytes)
{
    if (IsValidUtf8(strBytes))
        return std::string(strBytes);
    std::string str;
    for (const char ch : strBytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            str += ch;
        else if (c < 0xA0)
            AppendCodePoint(str, kCp1252High[c - 0x80] ? kCp1252High[c - 0x80] : 0xFFFD);
        else
            AppendCodePoint(str, c);
    }
    return str;
}

bool ParseReportFormat(std::string_view str, ReportFormat& format)
{
    if (str == "table")
        format = ReportFormat::Table;
    else if (str == "csv")
        format = ReportFormat::Csv;
    else if (str == "tsv")
        format = ReportFormat::Tsv;
    else if (str == "json")
        format = ReportFormat::Json;
    else
        return false;
    return true;
}

std::string FormatCells(const std::vector<std::string>& headings,
                        const std::vector<std::vector<std::string>>& rows,
                        const std::vector<bool>& numeric, ReportFormat format)
{
    switch (format) {
    case ReportFormat::Table:
        return FormatTable(headings, rows, numeric);
    case ReportFormat::Csv:
        return FormatSeparated(headings, rows, ',');
    case ReportFormat::Tsv:
        return FormatSeparated(headings, rows, '\t');
    case ReportFormat::Json:
        return FormatJson(headings, rows, numeric);
    }
    return {};
}

std::string FormatReport(const CReport& report, ReportFormat format)
{
    std::vector<std::vector<std::string>> rows;
    for (const CReportRow& row : report.m_rows)
        rows.push_back(ReportCells(row));
    rows.push_back(ReportCells(report.m_total));
    std::vector<bool> numeric(kReportColumns, true);
    numeric[0] = false;
    std::string strOut = FormatCells(ReportHeadings(report.m_query.m_key), rows, numeric, format);
    if (format == ReportFormat::Table)
        strOut += ReportGapNotes(report);
    return strOut;
}

std::string ReportGapNotes(const CReport& report)
{
    std::string strOut;
    for (const CHistoryGap& gap : report.m_gaps)
        strOut += "Note: known gap on printer " + TableCell(ToUtf8(gap.m_strPrinter)) + ": " +
                  DescribeGap(gap) + " (between the collections of " +
                  FormatUtc(gap.m_nAfterTimeUtc) + " and " + FormatUtc(gap.m_nTimeUtc) + " UTC)\n";
    return strOut;
}

} // namespace hpa
