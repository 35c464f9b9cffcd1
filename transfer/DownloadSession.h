#pragma once
// The accounting download: log into the printer, fetch the status file and
// check it, fetch the dictionary, paper and job files on transfer threads
// while the caller's progress display stays alive, close the connection and
// decode. The same object runs behind the desktop's Connect to Printer and
// behind `hpactl fetch`; what differs is the progress display, the message
// sink and the decoder the caller hands in.
#include "accounting/Acc.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "transfer/AccountingDecoder.h"
#include "transfer/TcpSocket.h"
#include "transfer/TransferProgress.h"
#include "transfer/TransferThread.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

namespace hpa {

// The local working files, in the working directory: where the readers
// look for them.
inline constexpr const char* kStatusWorkFile = kStatusFileName;
inline constexpr const char* kDictionaryWorkFile = kDictionaryFileName;
inline constexpr const char* kPaperWorkFile = kPaperFileName;
inline constexpr const char* kJobWorkFile = kJobFileName;

struct DownloadSettings {
    std::string m_strHost; // "HOST" or "HOST:PORT"; an "x@" prefix is ignored by the lookup
    std::string m_strUser;
    std::string m_strPassword;
    std::string m_strAccount; // sent with ACCT when the printer asks; empty: none given
    std::filesystem::path m_workDir = "."; // where the four working files go
    std::chrono::milliseconds m_pollInterval{500};
    int m_nSendTimeoutMs = CTcpSocket::kDefaultTimeoutMs;
    int m_nReceiveTimeoutMs = CTcpSocket::kDefaultTimeoutMs;
    // The bytes-so-far counter of the file in transit; null: the
    // process-wide one. Sessions running side by side need one each, or
    // their progress figures mix.
    std::atomic<std::int64_t>* m_pnByteCounter = nullptr;
};

enum class DownloadResult {
    Decoded,               // everything fetched and decoded
    DecodedWithErrors,     // dictionary read, but the paper or job reader failed
    LoginFailed,           // "Connection to host failed."
    StatusUnreadable,      // the status reader's own message
    InvalidInitialization, // "The Status Accounting File indicates an invalid initialization."
    DownloadFailed,        // a file came back empty: "Download of ... failed."
    DictionaryUnreadable,  // the dictionary reader's own message; no grid filled
    Cancelled,             // no message
};

// The decode sequence, the same for files that just arrived from the
// printer and for working files already on disk. First the status file,
// right after it arrived: read, then checked for an invalid initialization
// (nothing more is fetched or decoded then). Decoded means the sequence
// goes on; StatusUnreadable (the reader has said why) or
// InvalidInitialization (not yet said: the caller says
// kMsgInvalidInitialization its own way) end it.
DownloadResult DecodeStatusFile(CAccountingDecoder& decoder);
// Then, with every file there: the dictionary, and only when it reads, the
// status grid, the paper grid and the job grid.
DownloadResult DecodeRemainingFiles(CAccountingDecoder& decoder);
// The whole sequence on the four working files on disk; an invalid
// initialization is said through messages.
DownloadResult DecodeWorkingFiles(CAccountingDecoder& decoder, CMessages& messages);

// True when the grids were filled: the caller marks the document modified
// and shows the Status data kind.
inline bool HasDecodedData(DownloadResult result)
{
    return result == DownloadResult::Decoded || result == DownloadResult::DecodedWithErrors;
}

class CDownloadSession {
public:
    CDownloadSession(DownloadSettings settings, CAccountingDecoder& decoder, CMessages& messages,
                     CTransferProgress& progress, const CClock& clock = SystemClock());

    // Runs the whole download on the calling thread (login blocks it; each
    // file goes over a transfer thread that is joined before Run returns).
    DownloadResult Run();

    // Bytes of all files fetched so far, and the expected total of the
    // progress bar (0 until the dictionary has arrived).
    std::int64_t RunningTotal() const { return m_nRunningTotal; }
    std::int64_t ExpectedTotal() const { return m_nExpectedTotal; }
    // The failure message this session showed itself (empty when none:
    // success, cancel, or a reader's own message).
    const std::string& Message() const { return m_strMessage; }

private:
    enum class Step { Status, Dictionary, Paper, Job };
    enum class Fetched { Ok, Cancelled, Empty };

    DownloadResult Transfer(CFtpClient& client);
    DownloadResult Decode();
    Fetched FetchFile(CFtpClient& client, Step step, const std::string& strRemoteName, int bCreate,
                      std::int64_t nExpectedTotal);
    void Fail(CFtpClient& client, const std::string& strText);

    DownloadSettings m_settings;
    CAccountingDecoder& m_decoder;
    CMessages& m_messages;
    CTransferProgress& m_progress;
    const CClock& m_clock;
    std::int64_t m_nRunningTotal = 0;
    std::int64_t m_nExpectedTotal = 0;
    std::string m_strMessage;
};

} // namespace hpa
