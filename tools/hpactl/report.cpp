// hpactl report: jobs and sheets from the history by user, printer, host,
// day or month, as a table, csv, tsv, json or a printed PDF report.
#include "commands.h"
#include "history_cli.h"
#include "report_pdf.h"

#include "history/HistoryReport.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace hpactl {

namespace {

int Usage(const char* pszWhy)
{
    std::fprintf(stderr,
                 "hpactl report: %s\nusage: hpactl report [--db DB] --by "
                 "user|printer|host|day|month [--printer NAME]... [--since YYYY-MM-DD] "
                 "[--until YYYY-MM-DD] [--format table|csv|tsv|json|pdf] [--output FILE]\n",
                 pszWhy);
    return kExitUsage;
}

} // namespace

int RunReport(int argc, char** argv)
{
    std::string strDb;
    std::string strOutput;
    std::string strFormat = "table";
    bool bHaveKey = false;
    hpa::CReportQuery query;
    for (int n = 0; n < argc; ++n) {
        const std::string_view strArg = argv[n];
        const bool bKnown = strArg == "--db" || strArg == "--by" || strArg == "--printer" ||
                            strArg == "--since" || strArg == "--until" || strArg == "--format" ||
                            strArg == "--output";
        if (!bKnown) {
            std::fprintf(stderr, "hpactl report: unknown argument '%s'\n", argv[n]);
            return kExitUsage;
        }
        if (n + 1 >= argc) {
            std::fprintf(stderr, "hpactl report: %s needs a value\n", argv[n]);
            return kExitUsage;
        }
        const std::string strValue = argv[++n];
        if (strArg == "--db") {
            strDb = strValue;
        } else if (strArg == "--by") {
            if (!hpa::ParseReportKey(strValue, query.m_key))
                return Usage("--by takes user, printer, host, day or month");
            bHaveKey = true;
        } else if (strArg == "--printer") {
            query.m_printers.push_back(strValue);
        } else if (strArg == "--since" || strArg == "--until") {
            if (!hpa::IsReportDate(strValue))
                return Usage("dates are written YYYY-MM-DD");
            (strArg == "--since" ? query.m_strSince : query.m_strUntil) = strValue;
        } else if (strArg == "--format") {
            strFormat = strValue;
        } else {
            strOutput = strValue;
        }
    }
    if (!bHaveKey)
        return Usage("--by is required");
    hpa::ReportFormat format = hpa::ReportFormat::Table;
    const bool bPdf = strFormat == "pdf";
    if (!bPdf && !hpa::ParseReportFormat(strFormat, format))
        return Usage("--format takes table, csv, tsv, json or pdf");
    if (bPdf && (strOutput.empty() || strOutput == "-"))
        return Usage("a PDF report needs --output FILE");
    if (!query.m_strSince.empty() && !query.m_strUntil.empty() &&
        query.m_strSince > query.m_strUntil)
        return Usage("--since is after --until");

    auto pStore = OpenHistory("report", strDb);
    if (!pStore)
        return kExitFailed;
    hpa::CReport report;
    std::string strError;
    if (!hpa::RunHistoryReport(*pStore, query, report, strError)) {
        std::fprintf(stderr, "hpactl report: %s\n", strError.c_str());
        return kExitFailed;
    }
    // The data forms stay clean; their gap notes go to standard error.
    if (format != hpa::ReportFormat::Table || bPdf)
        std::fputs(hpa::ReportGapNotes(report).c_str(), stderr);
    if (bPdf)
        return WriteReportPdf(report, strOutput) ? kExitOk : kExitFailed;
    return WriteText("report", strOutput, hpa::FormatReport(report, format)) ? kExitOk
                                                                             : kExitFailed;
}

} // namespace hpactl
