// hpactl printers: every printer of the history with its last collection,
// the jobs held, how full its job file is, when it will be full, and the
// jobs known to be lost.
#include "commands.h"
#include "history_cli.h"

#include "history/HistoryReport.h"
#include "history/HistoryValues.h"
#include "history/PrinterStatus.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace hpactl {

int RunPrinters(int argc, char** argv)
{
    std::string strDb;
    std::string strFormat = "table";
    for (int n = 0; n < argc; ++n) {
        const std::string_view strArg = argv[n];
        if ((strArg != "--db" && strArg != "--format") || n + 1 >= argc) {
            std::fprintf(stderr, "hpactl printers: usage: hpactl printers [--db DB] "
                                 "[--format table|csv|tsv|json]\n");
            return kExitUsage;
        }
        (strArg == "--db" ? strDb : strFormat) = argv[++n];
    }
    hpa::ReportFormat format = hpa::ReportFormat::Table;
    if (!hpa::ParseReportFormat(strFormat, format)) {
        std::fprintf(stderr, "hpactl printers: --format takes table, csv, tsv or json\n");
        return kExitUsage;
    }
    auto pStore = OpenHistory("printers", strDb);
    if (!pStore)
        return kExitFailed;
    std::vector<hpa::CPrinterHistory> printers;
    std::vector<hpa::CHistoryGap> gaps;
    std::string strError;
    if (!pStore->ReadPrinters(printers, strError) || !pStore->ReadGaps({}, gaps, strError)) {
        std::fprintf(stderr, "hpactl printers: %s\n", strError.c_str());
        return kExitFailed;
    }
    std::vector<std::string> headings = hpa::PrinterStatusHeadings();
    headings.push_back("Gaps");
    std::vector<std::vector<std::string>> rows;
    for (const hpa::CPrinterHistory& printer : printers) {
        std::vector<std::string> cells = hpa::PrinterStatusCells(hpa::SummarizePrinter(printer));
        std::string strGaps;
        for (const hpa::CHistoryGap& gap : gaps) {
            if (gap.m_strPrinter != printer.m_strName)
                continue;
            if (!strGaps.empty())
                strGaps += "; ";
            strGaps += hpa::DescribeGap(gap) + " (found " + hpa::FormatUtc(gap.m_nTimeUtc) + ")";
        }
        cells.push_back(strGaps);
        rows.push_back(std::move(cells));
    }
    const std::vector<bool> numeric = {false, false, true, true, false, true, false};
    return WriteText("printers", "", hpa::FormatCells(headings, rows, numeric, format))
               ? kExitOk
               : kExitFailed;
}

} // namespace hpactl
