#pragma once
// One collection of one printer: the download session that `hpactl fetch`
// runs, decoded by an accounting set of its own with every job field
// selected, then stored in the history in one transaction. Several
// collections may run at once on separate threads, each with its own
// working directory.
#include "history/HistoryStore.h"
#include "transfer/DownloadSession.h"

#include <atomic>
#include <string>

namespace hpa {

struct CCollectRequest {
    std::string m_strPrinter;    // the name in the history
    DownloadSettings m_download; // host, user, password, account, private work dir
    // Set from another thread to give up (the download is cancelled and
    // nothing is stored).
    const std::atomic<bool>* m_pCancel = nullptr;
};

struct CCollectOutcome {
    bool m_bOk = false;
    std::string m_strError; // why not, when not
    CIngestResult m_ingest; // what was stored
};

// Downloads, decodes and stores; false with a message when the printer
// could not be read completely or the history refused the collection (the
// history is then as before).
bool CollectPrinter(const CCollectRequest& request, CHistoryStore& store, CCollectOutcome& outcome);

// Decodes the four working files already in a directory, as a download
// leaves them, and stores them as one collection of strPrinter from strHost
// at nTimeUtc. The second half of CollectPrinter.
bool IngestWorkFiles(const std::filesystem::path& workDir, const std::string& strPrinter,
                     const std::string& strHost, std::int64_t nTimeUtc, CHistoryStore& store,
                     CCollectOutcome& outcome);

} // namespace hpa
