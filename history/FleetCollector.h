#pragma once
// A collection run over several printers: N of them at a time, each on a
// worker thread of its own with its own working directory and its own
// connection to the history. Every printer ends collected, failed (with its
// message) or cancelled; one printer's failure does not stop the others.
// Cancel stops the downloads in transit and starts no more; a printer whose
// store had begun is stored whole, any other not at all.
#include "history/Collector.h"
#include "history/FleetFile.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace hpa {

struct CFleetTarget {
    std::string m_strName;       // the printer's name in the history
    DownloadSettings m_download; // host, user, account (and password when given directly)
    // Read by the printer's worker, so an unreadable file fails that printer
    // alone; empty: the password in m_download.
    std::string m_strPasswordFile;
};

// The printers of a fleet file, password files relative to the file's folder.
std::vector<CFleetTarget> FleetTargets(const std::vector<CFleetPrinter>& printers,
                                       const std::string& strFleetFile);

struct CFleetResult {
    CollectStep m_step = CollectStep::Waiting; // Collected, Failed or Cancelled at the end
    std::string m_strMessage;                  // why not, when not
    CIngestResult m_ingest;                    // what was stored
};

// Each called on the worker thread of printer nIndex.
struct CFleetCallbacks {
    std::function<void(std::size_t nIndex, const CCollectProgress& progress)> m_fnProgress;
    // After a printer's download was stored, with its history connection
    // still open (for checks that read the history back).
    std::function<void(std::size_t nIndex, CHistoryStore& store, const CFleetResult& result)>
        m_fnStored;
    // Once per printer, whatever the end.
    std::function<void(std::size_t nIndex, const CFleetResult& result)> m_fnEnded;
};

class CFleetCollector {
public:
    // strHistory: the history's location (SQLite file or PostgreSQL URI).
    CFleetCollector(std::vector<CFleetTarget> targets, std::string strHistory,
                    std::size_t nParallel, CFleetCallbacks callbacks = {});
    // Cancels what still runs and waits for the workers.
    ~CFleetCollector();
    CFleetCollector(const CFleetCollector&) = delete;
    CFleetCollector& operator=(const CFleetCollector&) = delete;

    // Starts the workers and returns.
    void Start();
    // Waits for every printer to end.
    void Wait();
    // Start and Wait.
    void Run();
    // Any thread; returns at once. Printers not begun end cancelled.
    void Cancel();
    bool IsCancelled() const { return m_bCancel.load(); }
    // Every printer has ended (the workers may still be returning).
    bool IsFinished() const { return m_nEnded.load() == m_targets.size(); }

    std::size_t Count() const { return m_targets.size(); }
    const CFleetTarget& Target(std::size_t nIndex) const { return m_targets[nIndex]; }
    // A printer's end; complete once IsFinished is true.
    CFleetResult Result(std::size_t nIndex) const;

private:
    void Worker();
    CFleetResult CollectOne(std::size_t nIndex);
    void End(std::size_t nIndex, CFleetResult result);

    std::vector<CFleetTarget> m_targets;
    std::string m_strHistory;
    std::size_t m_nParallel;
    CFleetCallbacks m_callbacks;
    std::atomic<bool> m_bCancel{false};
    std::atomic<std::size_t> m_nNext{0};
    std::atomic<std::size_t> m_nEnded{0};
    mutable std::mutex m_mutex; // guards m_results
    std::vector<CFleetResult> m_results;
    std::vector<std::thread> m_threads;
};

} // namespace hpa
