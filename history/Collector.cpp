// One printer's collection into the history.
#include "history/Collector.h"

#include "accounting/Acc.h"
#include "accounting/AccText.h"
#include "accounting/FieldMasks.h"
#include "grid/UGCtrl.h"
#include "history/HistoryValues.h"
#include "history/JobFileList.h"
#include "transfer/AccDecoder.h"

#include <algorithm>
#include <fstream>
#include <optional>

namespace hpa {

namespace {

// Keeps the first failure message for the caller instead of showing it.
class CCollectMessages : public CMessages {
public:
    void Exclamation(const std::string& strText) override
    {
        if (m_strFirst.empty())
            m_strFirst = strText;
    }
    void Inform(const std::string& strText, const std::string&, MessageIcon) override
    {
        Exclamation(strText);
    }
    MessageAnswer AskYesNo(const std::string&) override { return MessageAnswer::No; }
    const std::string& First() const { return m_strFirst; }

private:
    std::string m_strFirst;
};

// No display; cancelled only through the request's flag.
class CQuietProgress : public CTransferProgress {
public:
    explicit CQuietProgress(const std::atomic<bool>* pCancel) : m_pCancel(pCancel) {}
    void SetMessage(const std::string&) override {}
    void SetPos(int) override {}
    void Pump() override {}
    bool IsCancelled() override { return m_pCancel && m_pCancel->load(); }
    bool CheckCancel() override { return IsCancelled(); }

protected:
    const std::atomic<bool>* m_pCancel;
};

// Hands every step, file and byte count to the request's callback.
class CReportingProgress : public CQuietProgress {
public:
    CReportingProgress(const std::atomic<bool>* pCancel,
                       const std::function<void(const CCollectProgress&)>& fnReport)
        : CQuietProgress(pCancel), m_fnReport(fnReport)
    {
    }
    void Step(CollectStep step)
    {
        m_progress.m_step = step;
        m_fnReport(m_progress);
    }
    void Begin() override { Step(CollectStep::Downloading); }
    void SetMessage(const std::string& strText) override
    {
        m_progress.m_strFile = strText;
        m_fnReport(m_progress);
    }
    void SetPos(int nPercent) override { m_progress.m_nPercent = std::clamp(nPercent, 0, 100); }
    void ShowBytes(std::int64_t, std::int64_t nDownloadBytes) override
    {
        m_progress.m_nBytes = nDownloadBytes;
        m_fnReport(m_progress);
    }

private:
    const std::function<void(const CCollectProgress&)>& m_fnReport;
    CCollectProgress m_progress;
};

// An accounting set of its own, bound to its own grids and the all-ones
// job mask: nothing here touches the process-wide set. The jobs are read
// into a job list straight from the file, never into the job grid.
struct CDecodingSet {
    CUGCtrl m_jobGrid;
    CUGCtrl m_paperGrid;
    CUGCtrl m_statusGrid;
    CFieldMasks m_masks;
    CCollectMessages m_messages;
    CAcc m_acc;
    CJobFileList m_jobs;

    explicit CDecodingSet(const std::filesystem::path& workDir)
    {
        m_masks.m_strJobMask = kAllJobFieldsMask;
        m_masks.Recount();
        CAccBinding binding;
        binding.m_pathWorkDir = workDir;
        binding.m_pGrids = {&m_jobGrid, &m_paperGrid, &m_statusGrid};
        binding.m_pMasks = &m_masks;
        binding.m_pMessages = &m_messages;
        m_acc.Bind(binding);
    }

    // The job file, as the job grid would show it with every field selected.
    bool ReadJobs()
    {
        const bool bHasInk = m_acc.m_strFieldValue[kFieldVersion] != "1";
        std::string strError;
        if (m_jobs.Read(m_acc.Binding().m_pathWorkDir / kJobFileName, m_acc.m_strFieldValue,
                        LeadingInteger(m_acc.m_strFieldValue[kFieldNumberOfJobs]), bHasInk,
                        strError))
            return true;
        m_messages.Exclamation(strError);
        return false;
    }
};

// The download session's decoder with the job file going to the job list.
class CHistoryDecoder : public CAccDecoder {
public:
    explicit CHistoryDecoder(CDecodingSet& set) : CAccDecoder(set.m_acc), m_set(set) {}
    bool ReadJobFile() override { return m_set.ReadJobs(); }

private:
    CDecodingSet& m_set;
};

// A job file cut short (the printer went silent or hung up mid-file) still
// decodes, but its last record may be cut in the middle: such a download is
// not stored, so no half job ever enters the history under a good identity.
bool CheckComplete(const CDecodingSet& set, const std::filesystem::path& workDir,
                   std::string& strError)
{
    const std::int64_t nAnnounced =
        LeadingIntegerFull(set.m_acc.m_strFieldValue[kFieldNumberOfJobs]);
    const auto nRead = static_cast<std::int64_t>(set.m_jobs.Count());
    bool bEndsWithLine = true;
    std::error_code ec;
    const std::filesystem::path jobFile = workDir / kJobFileName;
    const auto nSize = std::filesystem::file_size(jobFile, ec);
    if (!ec && nSize > 0) {
        std::ifstream in(jobFile, std::ios::binary);
        in.seekg(-1, std::ios::end);
        bEndsWithLine = in.get() == '\n';
    }
    if (nRead < nAnnounced || !bEndsWithLine) {
        strError = "the job file is incomplete: " + std::to_string(nRead) + " of " +
                   std::to_string(nAnnounced) + " announced jobs" +
                   (bEndsWithLine ? std::string() : std::string(", the last one cut off")) +
                   " (did the printer stop sending?); nothing was stored";
        return false;
    }
    return true;
}

bool Store(CDecodingSet& set, const std::string& strPrinter, const std::string& strHost,
           std::int64_t nTimeUtc, CHistoryStore& store, CCollectOutcome& outcome)
{
    if (!CheckComplete(set, set.m_acc.Binding().m_pathWorkDir, outcome.m_strError))
        return false;
    CCollectionInput input;
    input.m_strPrinter = strPrinter;
    input.m_strHost = strHost;
    input.m_nTimeUtc = nTimeUtc;
    for (int n = 0; n < kHistoryStatusCount; ++n)
        input.m_strStatus[static_cast<std::size_t>(n)] =
            set.m_acc.m_strFieldValue[static_cast<std::size_t>(kFieldVersion + n)];
    input.m_pJobs = &set.m_jobs;
    outcome.m_bOk = store.Ingest(input, outcome.m_ingest, outcome.m_strError);
    return outcome.m_bOk;
}

} // namespace

bool CollectPrinter(const CCollectRequest& request, CHistoryStore& store, CCollectOutcome& outcome)
{
    outcome = CCollectOutcome();
    CDecodingSet set(request.m_download.m_workDir);
    CHistoryDecoder decoder(set);
    CQuietProgress quiet(request.m_pCancel);
    std::optional<CReportingProgress> reporting;
    if (request.m_fnProgress) {
        reporting.emplace(request.m_pCancel, request.m_fnProgress);
        reporting->Step(CollectStep::Connecting);
    }
    CTransferProgress& progress = reporting ? static_cast<CTransferProgress&>(*reporting) : quiet;
    CDownloadSession session(request.m_download, decoder, set.m_messages, progress);
    const std::int64_t nTimeUtc = NowUtc();
    DownloadResult result = session.Run();
    // A cancel that came while the last file arrived still keeps the
    // history as it was.
    if (result == DownloadResult::Decoded && progress.IsCancelled())
        result = DownloadResult::Cancelled;
    if (result != DownloadResult::Decoded) {
        // Anything short of every file read leaves the history alone.
        outcome.m_strError = result == DownloadResult::Cancelled ? std::string("cancelled")
                             : !set.m_messages.First().empty()   ? set.m_messages.First()
                                                                 : session.Message();
        if (outcome.m_strError.empty())
            outcome.m_strError = "the download failed";
        return false;
    }
    if (reporting)
        reporting->Step(CollectStep::Storing);
    return Store(set, request.m_strPrinter, request.m_download.m_strHost, nTimeUtc, store, outcome);
}

bool IngestWorkFiles(const std::filesystem::path& workDir, const std::string& strPrinter,
                     const std::string& strHost, std::int64_t nTimeUtc, CHistoryStore& store,
                     CCollectOutcome& outcome)
{
    outcome = CCollectOutcome();
    CDecodingSet set(workDir);
    CAcc& acc = set.m_acc;
    // The status file and its check as every decode makes them; the history
    // needs the dictionary and the jobs only.
    CHistoryDecoder decoder(set);
    const bool bRead = DecodeStatusFile(decoder) == DownloadResult::Decoded &&
                       acc.ReadDictionaryFile() && set.ReadJobs();
    if (!bRead) {
        outcome.m_strError =
            set.m_messages.First().empty() ? kMsgInvalidInitialization : set.m_messages.First();
        return false;
    }
    return Store(set, strPrinter, strHost, nTimeUtc, store, outcome);
}

} // namespace hpa
