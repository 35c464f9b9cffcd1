#include "transfer/qt/ConnectCommand.h"

#include "accounting/Acc.h"
#include "document/qt/VexAccDoc.h"
#include "platform/Messages.h"
#include "platform/Profile.h"
#include "transfer/AccDecoder.h"
#include "transfer/HostHistory.h"
#include "transfer/qt/ConnectDlg.h"
#include "transfer/qt/ProgressDlg.h"
#include "ui/AccViewBase.h"
#include "ui/AppServices.h"
#include "ui/CommandIds.h"
#include "ui/ViewCommands.h"

#include <QGuiApplication>
#include <QPointer>

#include <memory>

namespace hpa {

namespace {

// The wait cursor from the dialog's OK to the end of the command.
class CWaitCursor {
public:
    CWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// A message box shown during the command has the normal pointer over it,
// as a box has while the window behind it shows the wait cursor.
class CArrowOverMessages : public CMessages {
public:
    explicit CArrowOverMessages(CMessages& messages) : m_messages(messages) {}

    void Exclamation(const std::string& strText) override
    {
        CArrow arrow;
        m_messages.Exclamation(strText);
    }
    void Inform(const std::string& strText, const std::string& strCaption,
                MessageIcon icon) override
    {
        CArrow arrow;
        m_messages.Inform(strText, strCaption, icon);
    }
    MessageAnswer AskYesNo(const std::string& strText) override
    {
        CArrow arrow;
        return m_messages.AskYesNo(strText);
    }

private:
    struct CArrow {
        CArrow() { QGuiApplication::setOverrideCursor(Qt::ArrowCursor); }
        ~CArrow() { QGuiApplication::restoreOverrideCursor(); }
    };
    CMessages& m_messages;
};

// Sends the readers' messages through CArrowOverMessages for the length of
// the command and puts the set's own sink back afterwards.
class CReaderMessagesDuringCommand {
public:
    explicit CReaderMessagesDuringCommand(CAcc& acc) : m_acc(acc), m_saved(acc.Binding())
    {
        if (!m_saved.m_pMessages)
            return;
        m_pArrow = std::make_unique<CArrowOverMessages>(*m_saved.m_pMessages);
        CAccBinding binding = m_saved;
        binding.m_pMessages = m_pArrow.get();
        m_acc.Bind(binding);
    }
    ~CReaderMessagesDuringCommand() { m_acc.Bind(m_saved); }
    CReaderMessagesDuringCommand(const CReaderMessagesDuringCommand&) = delete;
    CReaderMessagesDuringCommand& operator=(const CReaderMessagesDuringCommand&) = delete;

private:
    CAcc& m_acc;
    CAccBinding m_saved;
    std::unique_ptr<CArrowOverMessages> m_pArrow;
};

DownloadResult Download(const CConnectContext& context, const std::string& strUser,
                        const std::string& strPassword)
{
    CArrowOverMessages messages(*context.m_pMessages);
    CReaderMessagesDuringCommand readerMessages(*context.m_pAcc);

    DownloadSettings settings;
    settings.m_strHost = context.m_pHostHistory->Front();
    settings.m_strUser = strUser;
    settings.m_strPassword = strPassword;
    settings.m_workDir =
        context.m_workDir.empty() ? context.m_pAcc->Binding().m_pathWorkDir : context.m_workDir;
    if (settings.m_workDir.empty())
        settings.m_workDir = ".";
    settings.m_pollInterval = context.m_pollInterval;
    settings.m_nSendTimeoutMs = context.m_nTimeoutMs;
    settings.m_nReceiveTimeoutMs = context.m_nTimeoutMs;

    CAccDecoder decoder(*context.m_pAcc);
    // Created now, shown by the session once the login has succeeded.
    CProgressDlg progress(context.m_pView);
    return CDownloadSession(settings, decoder, messages, progress).Run();
}

} // namespace

std::optional<DownloadResult> OnConnect(const CConnectContext& context)
{
    if (!context.m_pAcc || !context.m_pMessages || !context.m_pProfile || !context.m_pHostHistory)
        return std::nullopt;

    // On the heap and watched: the dialog goes with its parent should the
    // view be destroyed while it runs.
    QPointer<CConnectDlg> pDialog =
        new CConnectDlg(*context.m_pHostHistory, *context.m_pMessages, context.m_pView);
    const bool bOk = pDialog->exec() == QDialog::Accepted;
    if (!pDialog)
        return std::nullopt;
    const std::string strUser = pDialog->UserName();
    const std::string strPassword = pDialog->Password();
    delete pDialog;
    if (!bOk)
        return std::nullopt;

    CWaitCursor wait;
    // The dialog has put the host at the top; the profile learns it before
    // the login, so a failed login still remembers the host.
    context.m_pHostHistory->Save(*context.m_pProfile);
    const DownloadResult result = Download(context, strUser, strPassword);
    // The progress dialog is gone by now, so the grid shown next can take
    // the focus in a window that accepts input again.
    if (HasDecodedData(result) && context.m_fnSucceeded)
        context.m_fnSucceeded();
    return result;
}

void ShowDownloadedData(CViewLink& view, CVexAccDoc* pDocument)
{
    if (pDocument)
        pDocument->SetModifiedFlag(true);
    SelectDataKind(view, ID_DATA_STATUS);
}

void AddConnectCommand(CCommandMap& map, CAccViewBase& view)
{
    map.On(ID_CONNECT, [&view] {
        CAppServices* pApp = CAppServices::Instance();
        if (!pApp)
            return;
        CConnectContext context;
        context.m_pView = &view;
        context.m_pAcc = &g_acc;
        context.m_pMessages = &pApp->Messages();
        context.m_pProfile = &pApp->Profile();
        context.m_pHostHistory = &g_hostHistory;
        context.m_fnSucceeded = [&view] { ShowDownloadedData(view, view.GetDocument()); };
        OnConnect(context);
    });
}

} // namespace hpa
