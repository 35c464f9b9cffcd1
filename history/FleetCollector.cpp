// Several printers collected side by side.
#include "history/FleetCollector.h"

#include "platform/PrivateDir.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace hpa {

namespace {

// How often a download in transit looks at the cancel flag: a Cancel takes
// effect within this time once the printer has answered the login.
constexpr std::chrono::milliseconds kCancelPoll{100};

} // namespace

std::vector<CFleetTarget> FleetTargets(const std::vector<CFleetPrinter>& printers,
                                       const std::string& strFleetFile)
{
    const std::filesystem::path folder = std::filesystem::path(strFleetFile).parent_path();
    std::vector<CFleetTarget> targets;
    for (const CFleetPrinter& printer : printers) {
        CFleetTarget target;
        target.m_strName = printer.m_strName;
        target.m_download.m_strHost = printer.m_strHost;
        target.m_download.m_strUser = printer.m_strUser;
        target.m_download.m_strAccount = printer.m_strAccount;
        const std::filesystem::path password(printer.m_strPasswordFile);
        target.m_strPasswordFile =
            password.is_absolute() ? password.string() : (folder / password).string();
        targets.push_back(std::move(target));
    }
    return targets;
}

CFleetCollector::CFleetCollector(std::vector<CFleetTarget> targets, std::string strHistory,
                                 std::size_t nParallel, CFleetCallbacks callbacks)
    : m_targets(std::move(targets)), m_strHistory(std::move(strHistory)),
      m_nParallel(std::max<std::size_t>(nParallel, 1)), m_callbacks(std::move(callbacks)),
      m_results(m_targets.size())
{
}

CFleetCollector::~CFleetCollector()
{
    Cancel();
    Wait();
}

void CFleetCollector::Start()
{
    const std::size_t nThreads = std::min(m_nParallel, m_targets.size());
    for (std::size_t n = 0; n < nThreads; ++n)
        m_threads.emplace_back([this] { Worker(); });
}

void CFleetCollector::Wait()
{
    for (std::thread& thread : m_threads)
        if (thread.joinable())
            thread.join();
    m_threads.clear();
}

void CFleetCollector::Run()
{
    Start();
    Wait();
}

void CFleetCollector::Cancel()
{
    m_bCancel.store(true);
}

CFleetResult CFleetCollector::Result(std::size_t nIndex) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_results[nIndex];
}

void CFleetCollector::Worker()
{
    for (std::size_t n; (n = m_nNext.fetch_add(1)) < m_targets.size();) {
        if (m_bCancel.load()) {
            CFleetResult result;
            result.m_step = CollectStep::Cancelled;
            result.m_strMessage = "cancelled";
            End(n, std::move(result));
            continue;
        }
        End(n, CollectOne(n));
    }
}

void CFleetCollector::End(std::size_t nIndex, CFleetResult result)
{
    if (m_callbacks.m_fnEnded)
        m_callbacks.m_fnEnded(nIndex, result);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_results[nIndex] = std::move(result);
    }
    m_nEnded.fetch_add(1);
}

CFleetResult CFleetCollector::CollectOne(std::size_t nIndex)
{
    const CFleetTarget& target = m_targets[nIndex];
    CFleetResult result;
    result.m_step = CollectStep::Failed;
    CCollectRequest request;
    request.m_strPrinter = target.m_strName;
    request.m_download = target.m_download;
    request.m_download.m_pollInterval = std::min(request.m_download.m_pollInterval, kCancelPoll);
    request.m_pCancel = &m_bCancel;
    if (!target.m_strPasswordFile.empty() &&
        !ReadPasswordFile(target.m_strPasswordFile, request.m_download.m_strPassword)) {
        result.m_strMessage = "cannot read password file " + target.m_strPasswordFile;
        return result;
    }
    CPrivateDir dir("hpa-collect");
    if (dir.Path().empty()) {
        result.m_strMessage = "cannot create a working directory";
        return result;
    }
    request.m_download.m_workDir = dir.Path();
    // A byte counter of its own: the printers' downloads run side by side.
    std::atomic<std::int64_t> nFileBytes{0};
    request.m_download.m_pnByteCounter = &nFileBytes;
    if (m_callbacks.m_fnProgress)
        request.m_fnProgress = [&](const CCollectProgress& progress) {
            m_callbacks.m_fnProgress(nIndex, progress);
        };
    // Each printer has a connection of its own to the history.
    auto pStore = OpenHistoryStore(m_strHistory, result.m_strMessage);
    if (!pStore)
        return result;
    CCollectOutcome outcome;
    if (!CollectPrinter(request, *pStore, outcome)) {
        result.m_step = m_bCancel.load() ? CollectStep::Cancelled : CollectStep::Failed;
        result.m_strMessage = outcome.m_strError;
        return result;
    }
    result.m_step = CollectStep::Collected;
    result.m_ingest = outcome.m_ingest;
    if (m_callbacks.m_fnStored)
        m_callbacks.m_fnStored(nIndex, *pStore, result);
    return result;
}

} // namespace hpa
