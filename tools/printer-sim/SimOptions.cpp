#include "SimOptions.h"

#include <arpa/inet.h>

#include <charconv>
#include <cstring>
#include <string_view>

namespace hpa::sim {

namespace {

template <typename T> bool ParseNumber(std::string_view str, T nMin, T nMax, T& nOut)
{
    T nValue{};
    auto [pEnd, ec] = std::from_chars(str.data(), str.data() + str.size(), nValue);
    if (str.empty() || ec != std::errc() || pEnd != str.data() + str.size() || nValue < nMin ||
        nValue > nMax)
        return false;
    nOut = nValue;
    return true;
}

// "ADDR:PORT" with a dotted IPv4 address.
bool ParseListen(std::string_view str, std::string& strAddr, int& nPort)
{
    std::size_t nColon = str.rfind(':');
    if (nColon == std::string_view::npos)
        return false;
    std::string strHost(str.substr(0, nColon));
    in_addr addr{};
    if (inet_pton(AF_INET, strHost.c_str(), &addr) != 1)
        return false;
    if (!ParseNumber<int>(str.substr(nColon + 1), 0, 65535, nPort))
        return false;
    strAddr = strHost;
    return true;
}

// "N" or "N:CAPACITY" of --advance.
bool ParseAdvance(std::string_view str, long& nJobs, long& nCapacity)
{
    const std::size_t nColon = str.find(':');
    nCapacity = 0;
    if (nColon != std::string_view::npos &&
        !ParseNumber<long>(str.substr(nColon + 1), 1, 10000000L, nCapacity))
        return false;
    return ParseNumber<long>(str.substr(0, nColon), 1, 100000L, nJobs);
}

} // namespace

bool ParseSimOptions(int argc, char** argv, SSimOptions& opts, std::string& strError)
{
    for (int i = 1; i < argc; ++i) {
        std::string_view strOpt = argv[i];
        std::string_view strValue;
        bool bInline = false;
        if (strOpt.starts_with("--")) {
            if (std::size_t nEq = strOpt.find('='); nEq != std::string_view::npos) {
                strValue = strOpt.substr(nEq + 1);
                strOpt = strOpt.substr(0, nEq);
                bInline = true;
            }
        }
        // Takes the option's value, inline or from the next argument.
        auto value = [&](std::string_view& strOut) {
            if (bInline) {
                strOut = strValue;
                return true;
            }
            if (i + 1 >= argc) {
                strError = "option " + std::string(strOpt) + " needs a value";
                return false;
            }
            strOut = argv[++i];
            return true;
        };
        auto bad = [&](const char* pszWhat) {
            strError = "option " + std::string(strOpt) + ": " + pszWhat;
            return false;
        };
        std::string_view v;
        if (strOpt == "--help" || strOpt == "-h") {
            opts.m_mode = SSimOptions::help;
            return true;
        } else if (strOpt == "--version") {
            opts.m_mode = SSimOptions::version;
            return true;
        } else if (strOpt == "--listen") {
            if (!value(v) || !ParseListen(v, opts.m_strListenAddr, opts.m_nPort))
                return strError.empty() ? bad("expected IPv4ADDR:PORT") : false;
        } else if (strOpt == "--root") {
            if (!value(v))
                return false;
            opts.m_strRoot = std::string(v);
        } else if (strOpt == "--user") {
            if (!value(v))
                return false;
            opts.m_strUser = std::string(v);
        } else if (strOpt == "--password") {
            if (!value(v))
                return false;
            opts.m_strPassword = std::string(v);
        } else if (strOpt == "--account") {
            if (!value(v))
                return false;
            opts.m_strAccount = std::string(v);
            opts.m_bAccountSet = true;
        } else if (strOpt == "--sessions") {
            if (!value(v) || !ParseNumber<long>(v, 0, 1000000000L, opts.m_nSessions))
                return strError.empty() ? bad("expected a count") : false;
        } else if (strOpt == "--max-clients") {
            if (!value(v) || !ParseNumber<int>(v, 1, 256, opts.m_nMaxClients))
                return strError.empty() ? bad("expected 1 to 256") : false;
        } else if (strOpt == "--block-size") {
            if (!value(v) || !ParseNumber<int>(v, 2048, 65536, opts.m_nBlockSize))
                return strError.empty() ? bad("expected 2048 to 65536") : false;
        } else if (strOpt == "--idle-timeout") {
            int nSeconds = 0;
            if (!value(v) || !ParseNumber<int>(v, 1, 86400, nSeconds))
                return strError.empty() ? bad("expected 1 to 86400 seconds") : false;
            opts.m_nIdleTimeoutMs = nSeconds * 1000;
        } else if (strOpt == "--any-data-address") {
            opts.m_bAnyDataAddress = true;
        } else if (strOpt == "--verbose" || strOpt == "-v") {
            opts.m_bVerbose = true;
        } else if (strOpt == "--fault") {
            SFault fault;
            if (!value(v))
                return false;
            if (!ParseFault(v, fault, strError))
                return false;
            opts.m_faults.Add(std::move(fault));
        } else if (strOpt == "--advance") {
            if (!value(v) || !ParseAdvance(v, opts.m_nAdvanceJobs, opts.m_nAdvanceCapacity))
                return strError.empty() ? bad("expected N or N:CAPACITY (N 1 to 100000, "
                                              "CAPACITY 1 to 10000000)")
                                        : false;
        } else if (strOpt == "--generate") {
            if (!value(v))
                return false;
            opts.m_mode = SSimOptions::generate;
            opts.m_gen.m_strDir = std::string(v);
        } else if (strOpt == "--jobs") {
            if (!value(v) || !ParseNumber<long>(v, 0, 20000000L, opts.m_gen.m_nJobs))
                return strError.empty() ? bad("expected 0 to 20000000") : false;
        } else if (strOpt == "--paper-types") {
            if (!value(v) || !ParseNumber<int>(v, 1, 30, opts.m_gen.m_nPaperTypes))
                return strError.empty() ? bad("expected 1 to 30") : false;
        } else if (strOpt == "--job-files") {
            if (!value(v) || !ParseNumber<int>(v, 1, 999, opts.m_gen.m_nJobFiles))
                return strError.empty() ? bad("expected 1 to 999") : false;
        } else if (strOpt == "--seed") {
            if (!value(v) || !ParseNumber<std::uint64_t>(v, 0, UINT64_MAX, opts.m_gen.m_nSeed))
                return strError.empty() ? bad("expected an unsigned number") : false;
        } else if (strOpt == "--format-version") {
            if (!value(v) || !ParseNumber<int>(v, 1, 2, opts.m_gen.m_nFormatVersion))
                return strError.empty() ? bad("expected 1 or 2") : false;
        } else if (strOpt == "--crlf") {
            opts.m_gen.m_bCrlf = true;
        } else if (strOpt == "--mixed-order") {
            opts.m_gen.m_bMixedOrder = true;
        } else {
            strError = "unknown option '" + std::string(argv[i]) + "' (see --help)";
            return false;
        }
    }
    if (opts.m_mode == SSimOptions::generate && opts.m_gen.m_nJobs < 0) {
        strError = "--generate needs --jobs N";
        return false;
    }
    return true;
}

std::string SimHelpText()
{
    return std::string(
               "Usage: hpa-printer-sim [OPTIONS]\n"
               "       hpa-printer-sim --generate DIR --jobs N [GENERATOR OPTIONS]\n"
               "\n"
               "A simulated accounting printer. It serves the files of a directory over FTP\n"
               "(active mode: PORT or EPRT) under the printer's remote names\n"
               "  SYS:/admin/acc.sta  SYS:/admin/acc.dic  SYS:/admin/acc.pap\n"
               "  SYS:/admin/acc1.job SYS:/admin/acc2.job ...\n"
               "which map to acc.sta, acc.dic, acc.pap, acc1.job, acc2.job ... in the\n"
               "directory. CWD into SYS:, SYS:/admin or admin works as well, so URL clients\n"
               "that change directory step by step find the files too.\n"
               "\n"
               "Serving:\n"
               "  --listen ADDR:PORT     address to listen on (default 127.0.0.1:2121); port 0\n"
               "                         picks a free port. Prints \"listening on ADDR:PORT\".\n"
               "  --root DIR             directory served (default .)\n"
               "  --user NAME            user name accepted (default admin)\n"
               "  --password TEXT        password accepted (default admin)\n"
               "  --account TEXT         account required: PASS answers 332 (300 with the\n"
               "                         pass-300 fault) and ACCT must give TEXT\n"
               "  --sessions N           exit after N sessions have ended (default 0: run\n"
               "                         until SIGTERM or SIGINT)\n"
               "  --max-clients N        sessions served at once (default 8); more are\n"
               "                         answered 421 and closed\n"
               "  --block-size N         data block size, 2048 to 65536 (default 65536)\n"
               "  --idle-timeout SEC     close a control connection idle this long, and\n"
               "                         bound every wait of a fault (default 120)\n"
               "  --any-data-address     allow PORT/EPRT to any address (default: the client's\n"
               "                         own address, or any loopback one from loopback)\n"
               "  --verbose, -v          log the command transcript to stderr\n"
               "  --fault NAME[=ARG][@TARGET]\n"
               "                         switch on a quirk or fault; repeatable. VERB is a "
               "command\n"
               "                         (USER, RETR ...), \"greeting\" or \"*\"; FILE is a\n"
               "                         remote name, a file name (acc.pap) or \"*\"\n"
               "  --advance N[:CAPACITY]\n"
               "                         serve a job log that grows: every download (a session's\n"
               "                         first RETR of acc.sta) but the first sees N new jobs,\n"
               "                         with consecutive Job IDs after the last one, appended;\n"
               "                         beyond CAPACITY jobs the oldest are dropped and the\n"
               "                         status shows the job file full. The root is copied to a\n"
               "                         private directory first and never changed; --seed S\n"
               "                         seeds the new jobs\n"
               "\n"
               "Faults:\n") +
           FaultHelp() +
           "\n"
           "Generator (writes acc.sta, acc.dic, acc.pap, acc1.job ... accM.job into DIR):\n"
           "  --generate DIR         write a synthetic accounting set and exit\n"
           "  --jobs N               number of jobs (required)\n"
           "  --paper-types K        number of paper types, 1 to 30 (default 4)\n"
           "  --job-files M          number of job files; M > 1 makes a multifile set\n"
           "  --seed S               random seed (default 1); the output depends only on\n"
           "                         the options (also seeds the jobs of --advance)\n"
           "  --format-version V     accounting version 1 (no ink fields) or 2 (default)\n"
           "  --crlf                 end lines with CR LF instead of LF\n"
           "  --mixed-order          list each job's fields in an order of its own (the\n"
           "                         jobs are those of the same seed without it)\n"
           "\n"
           "  --help                 show this help and exit\n"
           "  --version              show the version and exit\n"
           "\n"
           "Commands served: USER PASS ACCT TYPE PORT EPRT RETR SIZE MDTM CWD CDUP PWD SYST\n"
           "FEAT NOOP QUIT (any case). Passive mode and uploads are answered 502.\n";
}

} // namespace hpa::sim
