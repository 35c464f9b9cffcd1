// hpa-printer-sim: a simulated accounting printer for demos and tests. It
// serves a directory over FTP the way the printer's built-in server does, or
// generates a synthetic accounting set (--generate).
#include "Generator.h"
#include "SimNet.h"
#include "SimOptions.h"
#include "SimServer.h"
#include "hpa_version.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace {

const hpa::sim::CStopSignal* g_pStop = nullptr;

extern "C" void OnStopSignal(int)
{
    if (g_pStop)
        g_pStop->Raise();
}

int Generate(const hpa::sim::SGenerateOptions& gen)
{
    auto tStart = std::chrono::steady_clock::now();
    hpa::sim::SGeneratedSet set;
    std::string strError;
    if (!hpa::sim::GenerateAccountingSet(gen, set, strError)) {
        std::fprintf(stderr, "hpa-printer-sim: %s\n", strError.c_str());
        return 1;
    }
    std::uint64_t nBytes = 0;
    for (std::uint64_t n : set.m_jobFileBytes)
        nBytes += n;
    double dSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
    std::printf(
        "generated %ld jobs, %d paper types, %zu job file(s) of %llu bytes in %s (%.2f s)\n",
        set.m_nJobs, set.m_nPaperTypes, set.m_jobFileBytes.size(),
        static_cast<unsigned long long>(nBytes), gen.m_strDir.c_str(), dSeconds);
    return 0;
}

int Serve(const hpa::sim::SSimOptions& opts)
{
    std::error_code ec;
    if (!std::filesystem::is_directory(opts.m_strRoot, ec)) {
        std::fprintf(stderr, "hpa-printer-sim: %s is not a directory\n", opts.m_strRoot.c_str());
        return 1;
    }
    // An advancing log serves a private copy of the root that it changes.
    hpa::sim::SSimOptions served = opts;
    std::unique_ptr<hpa::sim::CSimJobLog> pJobLog;
    if (opts.m_nAdvanceJobs > 0) {
        pJobLog = std::make_unique<hpa::sim::CSimJobLog>(
            opts.m_nAdvanceJobs, opts.m_nAdvanceCapacity, opts.m_gen.m_nSeed);
        std::string strLogError;
        if (!pJobLog->Open(opts.m_strRoot, strLogError)) {
            std::fprintf(stderr, "hpa-printer-sim: %s\n", strLogError.c_str());
            return 1;
        }
        served.m_strRoot = pJobLog->ServedRoot().string();
    }
    hpa::sim::CStopSignal stop;
    if (stop.Fd() < 0) {
        std::fprintf(stderr, "hpa-printer-sim: cannot create the stop pipe\n");
        return 1;
    }
    g_pStop = &stop;
    struct sigaction sa {};
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    hpa::sim::CSimServer server(served, stop, pJobLog.get());
    std::string strError;
    if (!server.Listen(strError)) {
        std::fprintf(stderr, "hpa-printer-sim: %s\n", strError.c_str());
        return 1;
    }
    // Tests and scripts read this line to learn the port.
    std::printf("listening on %s\n", hpa::sim::FormatAddr(server.BoundAddress()).c_str());
    std::fflush(stdout);
    server.Serve();
    g_pStop = nullptr;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    hpa::sim::SSimOptions opts;
    std::string strError;
    if (!hpa::sim::ParseSimOptions(argc, argv, opts, strError)) {
        std::fprintf(stderr, "hpa-printer-sim: %s\n", strError.c_str());
        return 2;
    }
    switch (opts.m_mode) {
    case hpa::sim::SSimOptions::help:
        std::fputs(hpa::sim::SimHelpText().c_str(), stdout);
        return 0;
    case hpa::sim::SSimOptions::version:
        std::printf("hpa-printer-sim %s\n", HPA_VERSION_STRING);
        return 0;
    case hpa::sim::SSimOptions::generate:
        return Generate(opts.m_gen);
    case hpa::sim::SSimOptions::serve:
        break;
    }
    return Serve(opts);
}
