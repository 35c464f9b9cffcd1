// hpactl collect: one printer, or every printer of a fleet file N at a
// time, downloaded and stored in the history. Each printer is stored in one
// transaction; one printer's failure is reported with its name and does not
// stop the others.
#include "commands.h"
#include "history_cli.h"

#include "history/Collector.h"
#include "history/FleetCollector.h"
#include "history/FleetFile.h"
#include "history/HistoryValues.h"
#include "history/PrinterStatus.h"

#include <cmath>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hpactl {
namespace {

constexpr long kDefaultParallel = 8;
constexpr long kMaxParallel = 64;
constexpr long kDefaultWarnDays = 7;

struct CCollectArgs {
    std::string m_strDb;
    std::string m_strName;
    std::string m_strHost;
    std::string m_strUser;
    std::optional<std::string> m_strPassword;
    std::string m_strPasswordFile;
    std::string m_strAccount;
    std::string m_strFleet;
    long m_nParallel = kDefaultParallel;
    long m_nWarnDays = kDefaultWarnDays;
    bool m_bHaveUser = false;
    bool m_bHaveParallel = false;
};

std::mutex g_outputMutex;

void Say(FILE* pFile, const std::string& strLine)
{
    std::lock_guard<std::mutex> lock(g_outputMutex);
    std::fputs(strLine.c_str(), pFile);
    std::fflush(pFile);
}

int Usage(const char* pszWhy)
{
    std::fprintf(stderr,
                 "hpactl collect: %s\nusage: hpactl collect [--db DB] [--name NAME] HOST[:PORT] "
                 "--user USER (--password PW | --password-file FILE) [--account A] "
                 "[--warn-days N]\n       hpactl collect [--db DB] --fleet FILE [--parallel N] "
                 "[--warn-days N]\n",
                 pszWhy);
    return kExitUsage;
}

int ParseArgs(int argc, char** argv, CCollectArgs& args)
{
    for (int n = 0; n < argc; ++n) {
        const std::string_view strArg = argv[n];
        std::string* pValue = nullptr;
        std::string strNumber;
        if (strArg == "--db")
            pValue = &args.m_strDb;
        else if (strArg == "--name")
            pValue = &args.m_strName;
        else if (strArg == "--user") {
            pValue = &args.m_strUser;
            args.m_bHaveUser = true;
        } else if (strArg == "--password")
            pValue = &args.m_strPassword.emplace();
        else if (strArg == "--password-file")
            pValue = &args.m_strPasswordFile;
        else if (strArg == "--account")
            pValue = &args.m_strAccount;
        else if (strArg == "--fleet")
            pValue = &args.m_strFleet;
        else if (strArg == "--parallel" || strArg == "--warn-days")
            pValue = &strNumber;
        if (pValue) {
            if (n + 1 >= argc) {
                std::fprintf(stderr, "hpactl collect: %s needs a value\n", argv[n]);
                return kExitUsage;
            }
            *pValue = argv[++n];
            if (pValue == &strNumber) {
                const bool bParallel = strArg == "--parallel";
                long& nTarget = bParallel ? args.m_nParallel : args.m_nWarnDays;
                if (!ParseCount(strNumber, nTarget) || (bParallel && nTarget < 1) ||
                    (bParallel && nTarget > kMaxParallel)) {
                    std::fprintf(stderr, "hpactl collect: bad %s value '%s'\n", argv[n - 1],
                                 argv[n]);
                    return kExitUsage;
                }
                args.m_bHaveParallel = args.m_bHaveParallel || bParallel;
            }
            continue;
        }
        if (strArg.size() > 1 && strArg[0] == '-') {
            std::fprintf(stderr, "hpactl collect: unknown option '%s'\n", argv[n]);
            return kExitUsage;
        }
        if (!args.m_strHost.empty())
            return Usage("only one printer address, please (use --fleet for several)");
        args.m_strHost = strArg;
    }
    if (!args.m_strFleet.empty()) {
        if (!args.m_strHost.empty() || args.m_bHaveUser || args.m_strPassword ||
            !args.m_strPasswordFile.empty() || !args.m_strAccount.empty() ||
            !args.m_strName.empty())
            return Usage("--fleet takes its printers from the file only");
        return kExitOk;
    }
    if (args.m_bHaveParallel)
        return Usage("--parallel goes with --fleet");
    if (args.m_strHost.empty() || !args.m_bHaveUser ||
        args.m_strPassword.has_value() == !args.m_strPasswordFile.empty())
        return Usage("a printer address, --user and one of --password or --password-file");
    return kExitOk;
}

enum class Outcome { Collected, Attention, Failed };

// After a stored collection: anything the administrator must hear about.
Outcome CheckPrinter(hpa::CHistoryStore& store, const std::string& strName,
                     const hpa::CIngestResult& ingest, long nWarnDays)
{
    Outcome outcome = Outcome::Collected;
    if (ingest.m_gap) {
        Say(stderr, "hpactl collect: " + strName + ": " + hpa::DescribeGap(*ingest.m_gap) +
                        " (the job file filled, wrapped or was reset before it was collected)\n");
        outcome = Outcome::Attention;
    }
    std::vector<hpa::CPrinterHistory> printers;
    std::string strError;
    if (!store.ReadPrinters(printers, strError)) {
        Say(stderr, "hpactl collect: " + strName + ": " + strError + "\n");
        return Outcome::Failed;
    }
    for (const hpa::CPrinterHistory& printer : printers) {
        if (printer.m_strName != strName)
            continue;
        const hpa::CPrinterStatus status = hpa::SummarizePrinter(printer);
        if (status.m_bFull) {
            Say(stderr, "hpactl collect: " + strName + ": the job file is full\n");
            outcome = Outcome::Attention;
        } else if (status.m_nDaysUntilFull &&
                   *status.m_nDaysUntilFull <= static_cast<double>(nWarnDays)) {
            char szDays[64];
            std::snprintf(szDays, sizeof szDays, "%.1f", *status.m_nDaysUntilFull);
            Say(stderr, "hpactl collect: " + strName + ": the job file will be full in about " +
                            szDays + " days\n");
            outcome = Outcome::Attention;
        }
    }
    return outcome;
}

bool ReadFleet(const std::string& strFleet, std::vector<hpa::CFleetTarget>& targets)
{
    std::vector<hpa::CFleetPrinter> printers;
    hpa::CFleetError error;
    if (!hpa::ReadFleetFile(strFleet, printers, error)) {
        std::fprintf(stderr, "hpactl collect: %s\n", hpa::FormatFleetError(error).c_str());
        return false;
    }
    targets = hpa::FleetTargets(printers, strFleet);
    return true;
}

} // namespace

int RunCollect(int argc, char** argv)
{
    CCollectArgs args;
    if (int nExit = ParseArgs(argc, argv, args); nExit != kExitOk)
        return nExit;
    std::vector<hpa::CFleetTarget> targets;
    if (!args.m_strFleet.empty()) {
        if (!ReadFleet(args.m_strFleet, targets))
            return kExitUsage;
    } else {
        hpa::CFleetTarget target;
        target.m_strName = args.m_strName.empty() ? args.m_strHost : args.m_strName;
        target.m_download.m_strHost = args.m_strHost;
        target.m_download.m_strUser = args.m_strUser;
        target.m_download.m_strPassword = args.m_strPassword.value_or("");
        target.m_download.m_strAccount = args.m_strAccount;
        target.m_strPasswordFile = args.m_strPasswordFile;
        targets.push_back(std::move(target));
    }
    // The history is opened (and created or migrated) once before any
    // download, so that a bad database stops everything at once.
    if (!OpenHistory("collect", args.m_strDb, true))
        return kExitFailed;

    // Each printer's outcome is written by its own worker only.
    std::vector<Outcome> outcomes(targets.size(), Outcome::Failed);
    hpa::CFleetCallbacks callbacks;
    callbacks.m_fnStored = [&](std::size_t n, hpa::CHistoryStore& store,
                               const hpa::CFleetResult& result) {
        const std::string& strName = targets[n].m_strName;
        Say(stdout, strName + ": " + std::to_string(result.m_ingest.m_nJobsSeen) + " jobs, " +
                        std::to_string(result.m_ingest.m_nJobsNew) + " new\n");
        outcomes[n] = CheckPrinter(store, strName, result.m_ingest, args.m_nWarnDays);
    };
    callbacks.m_fnEnded = [&](std::size_t n, const hpa::CFleetResult& result) {
        if (result.m_step != hpa::CollectStep::Collected)
            Say(stderr,
                "hpactl collect: " + targets[n].m_strName + ": " + result.m_strMessage + "\n");
    };
    hpa::CFleetCollector collector(targets, hpa::ResolveHistoryLocation(args.m_strDb),
                                   static_cast<std::size_t>(args.m_nParallel), callbacks);
    collector.Run();

    int nExit = kExitOk;
    for (Outcome outcome : outcomes) {
        if (outcome == Outcome::Failed)
            return kExitFailed;
        if (outcome == Outcome::Attention)
            nExit = kExitAttention;
    }
    return nExit;
}

} // namespace hpactl
