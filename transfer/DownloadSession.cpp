#include "transfer/DownloadSession.h"

#include "transfer/FtpText.h"

#include <utility>

namespace hpa {

namespace {

struct StepText {
    const char* pszMessageLine;
    const char* pszLocalName;
    const char* pszFailure;
};

// Indexed by CDownloadSession::Step.
constexpr StepText kSteps[] = {
    {"Receiving Status Accounting File.", kStatusWorkFile,
     "Download of Status Accounting File failed."},
    {"Receiving Dictionary File.", kDictionaryWorkFile, "Download of Dictionary File failed."},
    {"Receiving Paper Accounting File.", kPaperWorkFile,
     "Download of Paper Accounting File failed."},
    {"Receiving Job Accounting File(s).", kJobWorkFile, "Download of Job Accounting File failed."},
};

// Room for the file being fetched beyond what the status file announces.
constexpr std::int64_t kExpectedSlack = 102400;

} // namespace

CDownloadSession::CDownloadSession(DownloadSettings settings, CAccountingDecoder& decoder,
                                   CMessages& messages, CTransferProgress& progress,
                                   const CClock& clock)
    : m_settings(std::move(settings)), m_decoder(decoder), m_messages(messages),
      m_progress(progress), m_clock(clock)
{
}

DownloadResult CDownloadSession::Run()
{
    m_nRunningTotal = 0;
    m_nExpectedTotal = 0;
    m_strMessage.clear();

    CFtpClient client(m_clock);
    client.SetTimeouts(m_settings.m_nSendTimeoutMs, m_settings.m_nReceiveTimeoutMs);
    if (client.Login(m_settings.m_strHost, m_settings.m_strUser, m_settings.m_strPassword,
                     m_settings.m_strAccount) != CFtpClient::LoginResult::loggedIn) {
        Fail(client, "Connection to host failed.");
        return DownloadResult::LoginFailed;
    }
    m_progress.Begin();

    const std::tm now = m_clock.LocalNow();
    m_decoder.SetDownloadInfo(m_settings.m_strHost, FormatTime(now, "%m/%d/%Y"),
                              FormatTime(now, "%H:%M:%S"));

    DownloadResult result = Transfer(client);
    // The client's destructor quits once more; every transfer thread has
    // been joined inside FetchFile, so nothing still uses the client.
    if (result != DownloadResult::Decoded)
        return result;
    return Decode();
}

DownloadResult CDownloadSession::Transfer(CFtpClient& client)
{
    Fetched fetched = FetchFile(client, Step::Status, "SYS:/admin/acc.sta", 1, 0);
    if (fetched != Fetched::Ok)
        return fetched == Fetched::Cancelled ? DownloadResult::Cancelled
                                             : DownloadResult::DownloadFailed;
    switch (const DownloadResult status = DecodeStatusFile(m_decoder)) {
    case DownloadResult::Decoded:
        break;
    case DownloadResult::InvalidInitialization:
        Fail(client, kMsgInvalidInitialization);
        return status;
    default:
        client.Quit();
        return status;
    }

    fetched = FetchFile(client, Step::Dictionary, "SYS:/admin/acc.dic", 1, 0);
    if (fetched == Fetched::Ok) {
        m_nExpectedTotal =
            LeadingInt(m_decoder.StatusValue(kFieldJobFileSize)) + m_nRunningTotal + kExpectedSlack;
        fetched = FetchFile(client, Step::Paper, "SYS:/admin/acc.pap", 1, m_nExpectedTotal);
    }
    if (fetched == Fetched::Ok)
        fetched = FetchFile(client, Step::Job, "SYS:/admin/acc1.job", 1, m_nExpectedTotal);
    // Multifile mode "2" spreads the jobs over acc1.job .. accN.job; they
    // are appended into one working file. N is read afresh for every file.
    if (fetched == Fetched::Ok && m_decoder.StatusValue(kFieldMultifile) == "2") {
        for (std::int64_t i = 2;
             fetched == Fetched::Ok && i <= LeadingInt(m_decoder.StatusValue(kFieldMaxJobFiles));
             ++i) {
            fetched = FetchFile(client, Step::Job, "SYS:/admin/acc" + std::to_string(i) + ".job", 0,
                                m_nExpectedTotal);
        }
    }
    if (fetched != Fetched::Ok)
        return fetched == Fetched::Cancelled ? DownloadResult::Cancelled
                                             : DownloadResult::DownloadFailed;
    client.Quit();
    return DownloadResult::Decoded;
}

DownloadResult CDownloadSession::Decode()
{
    return DecodeRemainingFiles(m_decoder);
}

DownloadResult DecodeStatusFile(CAccountingDecoder& decoder)
{
    if (!decoder.ReadStatusFile())
        return DownloadResult::StatusUnreadable;
    if (StatusIndicatesInvalidInitialization(decoder.StatusValue(kFieldVersion),
                                             decoder.StatusValue(kFieldPaperTypes)))
        return DownloadResult::InvalidInitialization;
    return DownloadResult::Decoded;
}

DownloadResult DecodeRemainingFiles(CAccountingDecoder& decoder)
{
    if (!decoder.ReadDictionaryFile())
        return DownloadResult::DictionaryUnreadable;
    decoder.FillStatusGrid();
    const bool bPaper = decoder.ReadPaperFile();
    const bool bJob = decoder.ReadJobFile();
    return bPaper && bJob ? DownloadResult::Decoded : DownloadResult::DecodedWithErrors;
}

DownloadResult DecodeWorkingFiles(CAccountingDecoder& decoder, CMessages& messages)
{
    const DownloadResult status = DecodeStatusFile(decoder);
    if (status == DownloadResult::InvalidInitialization)
        messages.Exclamation(kMsgInvalidInitialization);
    if (status != DownloadResult::Decoded)
        return status;
    return DecodeRemainingFiles(decoder);
}

CDownloadSession::Fetched CDownloadSession::FetchFile(CFtpClient& client, Step step,
                                                      const std::string& strRemoteName, int bCreate,
                                                      std::int64_t nExpectedTotal)
{
    const StepText& text = kSteps[static_cast<int>(step)];
    m_progress.SetMessage(text.pszMessageLine);

    TransferRequest request;
    request.m_strRemoteName = strRemoteName;
    request.m_strLocalName = (m_settings.m_workDir / text.pszLocalName).string();
    request.m_bCreate = bCreate;
    request.m_pClient = &client;
    if (m_settings.m_pnByteCounter)
        request.m_pnCounter = m_settings.m_pnByteCounter;
    m_progress.BeginFile(request.m_strRemoteName, request.m_strLocalName);
    {
        CTransferThread thread(request);
        WaitForTransfer(thread, m_progress, nExpectedTotal, m_nRunningTotal,
                        m_settings.m_pollInterval, *request.m_pnCounter);
        if (m_progress.CheckCancel()) {
            // Closing the sockets releases the thread from accept or recv.
            client.Quit();
            thread.Join();
            return Fetched::Cancelled;
        }
        thread.Join();
    }
    m_progress.RestoreWaitCursor();
    if (request.m_nBytesReceived == 0) {
        Fail(client, text.pszFailure);
        return Fetched::Empty;
    }
    m_nRunningTotal += request.m_nBytesReceived;
    return Fetched::Ok;
}

void CDownloadSession::Fail(CFtpClient& client, const std::string& strText)
{
    m_strMessage = strText;
    m_messages.Exclamation(strText);
    client.Quit();
}

} // namespace hpa
