#pragma once
// One collection of one printer: the download session that `hpactl fetch`
// runs, decoded by an accounting set of its own with every job field
// selected, then stored in the history in one transaction. Several
// collections may run at once on separate threads, each with its own
// working directory.
#include "history/HistoryStore.h"
#include "transfer/DownloadSession.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace hpa {

// Where one printer's collection stands.
enum class CollectStep {
    Waiting,     // not started yet
    Connecting,  // logging in
    Downloading, // files coming in
    Storing,     // decoded; being written to the history
    Collected,   // stored
    Failed,      // ended with a message; nothing stored
    Cancelled,   // given up on request; nothing stored
};

struct CCollectProgress {
    CollectStep m_step = CollectStep::Waiting;
    std::int64_t m_nBytes = 0; // of the whole download so far
    int m_nPercent = -1;       // of the expected total, 0 to 100; -1 until it is known
    std::string m_strFile;     // which file is coming in
};

struct CCollectRequest {
    std::string m_strPrinter;    // the name in the history
    DownloadSettings m_download; // host, user, password, account, private work dir
    // Set from another thread to give up (the download is cancelled and
    // nothing is stored).
    const std::atomic<bool>* m_pCancel = nullptr;
    // Told of every step and of the bytes as they come, on the collecting
    // thread; none: the collection runs quietly.
    std::function<void(const CCollectProgress&)> m_fnProgress;
};

struct CCollectOutcome {
    bool m_bOk = false;
    std::string m_strError; // why not, when not
    CIngestResult m_ingest; // what was stored
};

// Downloads, decodes and stores; false with a message when the printer
// could not be read completely, the history refused the collection or the
// request was cancelled before the store began (the history is then as
// before).
bool CollectPrinter(const CCollectRequest& request, CHistoryStore& store, CCollectOutcome& outcome);

// Decodes the four working files already in a directory, as a download
// leaves them, and stores them as one collection of strPrinter from strHost
// at nTimeUtc. The second half of CollectPrinter.
bool IngestWorkFiles(const std::filesystem::path& workDir, const std::string& strPrinter,
                     const std::string& strHost, std::int64_t nTimeUtc, CHistoryStore& store,
                     CCollectOutcome& outcome);

} // namespace hpa
