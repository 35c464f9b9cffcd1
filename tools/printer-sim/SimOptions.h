#pragma once
// Command line of hpa-printer-sim: serving options, faults and the generator.
#include "SimFaults.h"

#include <cstdint>
#include <string>

namespace hpa::sim {

struct SGenerateOptions {
    std::string m_strDir;
    long m_nJobs = -1; // required
    int m_nPaperTypes = 4;
    int m_nJobFiles = 1;
    std::uint64_t m_nSeed = 1;
    int m_nFormatVersion = 2; // 1 leaves out the ink fields 46 to 49
    bool m_bCrlf = false;
    bool m_bMixedOrder = false; // each record line lists its pairs in an order of its own
};

struct SSimOptions {
    enum EMode { serve, generate, help, version };
    EMode m_mode = serve;

    std::string m_strListenAddr = "127.0.0.1";
    int m_nPort = 2121;
    std::string m_strRoot = ".";
    std::string m_strUser = "admin";
    std::string m_strPassword = "admin";
    bool m_bAccountSet = false;
    std::string m_strAccount;
    long m_nSessions = 0; // 0: serve until stopped
    int m_nMaxClients = 8;
    int m_nBlockSize = 65536;
    int m_nIdleTimeoutMs = 120000;
    bool m_bAnyDataAddress = false;
    bool m_bVerbose = false;
    CSimFaults m_faults;
    // --advance N[:CAPACITY]: N new jobs before every download but the first,
    // the oldest dropped beyond CAPACITY jobs (0: never). 0 jobs: a fixed log.
    long m_nAdvanceJobs = 0;
    long m_nAdvanceCapacity = 0;

    SGenerateOptions m_gen;
};

// Parses argv. Returns false with a message in strError on a usage error.
bool ParseSimOptions(int argc, char** argv, SSimOptions& opts, std::string& strError);

// The text printed by --help.
std::string SimHelpText();

} // namespace hpa::sim
