#include "app/VexAccApp.h"

#include "accounting/Acc.h"
#include "accounting/FieldMasks.h"
#include "app/AboutDialog.h"
#include "app/ActivationWatcher.h"
#include "app/CommandLineInfo.h"
#include "app/MainFrame.h"
#include "app/SplashWindow.h"
#include "document/RecentFileList.h"
#include "document/WorkingDir.h"
#include "document/qt/DocumentUi.h"
#include "document/qt/VexAccDoc.h"
#include "grid/UGCtrl.h"
#include "history/qt/AddToHistory.h"
#include "platform/qt/QtProfile.h"
#include "transfer/HostHistory.h"
#include "ui/CommandIds.h"
#include "ui/QtMessages.h"
#include "ui/Resources.h"
#include "view/qt/AccView.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <cstdio>

namespace hpa {

namespace {

CVexAccApp* g_pApp = nullptr;

} // namespace

CVexAccApp* CVexAccApp::Instance()
{
    return g_pApp;
}

CVexAccApp::CVexAccApp(Options options) : m_options(std::move(options))
{
    g_pApp = this;
    if (!m_options.pProfile)
        m_pOwnProfile = std::make_unique<CQtProfile>();
    if (!m_options.pMessages)
        m_pOwnMessages = std::make_unique<CQtMessages>();
    if (!m_options.pDocumentUi)
        m_pOwnDocumentUi = std::make_unique<CQtDocumentUi>();
    m_pProfile = m_options.pProfile ? m_options.pProfile : m_pOwnProfile.get();
    m_pMessages = m_options.pMessages ? m_options.pMessages : m_pOwnMessages.get();
    m_pDocumentUi = m_options.pDocumentUi ? m_options.pDocumentUi : m_pOwnDocumentUi.get();
    m_pRecent = std::make_unique<CRecentFileList>(*m_pProfile);

    m_commands.On(ID_FILE_NEW, [this] { OnFileNew(); });
    m_commands.On(ID_FILE_OPEN, [this] { OnFileOpen(); });
    m_commands.On(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
    m_commands.OnRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST,
                       [this](int nID) { OnOpenRecentFile(nID); });
    m_commands.On(ID_APP_ABOUT, [this] { OnAppAbout(); });
    m_commands.On(ID_APP_EXIT, [this] { OnAppExit(); });
    AddAddToHistoryCommand(m_commands, [this] { return m_pView; });
    m_router.SetTarget(RouteSlot::App, &m_commands);
}

CVexAccApp::~CVexAccApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
    // The accounting set must not keep pointing at grids that go with the view.
    if (m_pView)
        g_acc.Bind(CAccBinding());
    m_pDoc.reset();
    m_router.SetTarget(RouteSlot::View, nullptr);
    m_router.SetTarget(RouteSlot::Document, nullptr);
    m_pFrame.reset();
}

// Start-up, in this order: the single-instance check; the start-up bitmap's
// switch; the recent-file list; document, view and frame; the command line
// (which opens, prints or starts a new document and shows the frame); then
// the settings, so they are in place before the first command.
bool CVexAccApp::InitInstance(const CCommandLineInfo& cmdInfo)
{
    if (!ClaimInstance())
        return false;
    CSplashWindow::EnableSplashScreen(cmdInfo.m_bShowSplash);
    // Sockets need no start-up on this system, and the dialogs' look is the
    // desktop's.
    InitResources();
    m_pRecent->ReadList();
    CreateDocumentWindows();
    // The file type (.hpa, its icon and the print action) is registered with
    // the desktop when the program is installed, not at every start.
    if (!ProcessShellCommand(cmdInfo))
        return false;
    LoadSettings();
    return true;
}

bool CVexAccApp::ClaimInstance()
{
    if (!m_options.bSingleInstance)
        return true;
    CInstanceNames names = m_options.instanceNames;
    if (names.strLockFile.isEmpty())
        names = DefaultInstanceNames();
    m_pInstance = std::make_unique<CSingleInstance>(names);
    switch (m_pInstance->Claim(m_options.nInstanceWaitMs)) {
    case CSingleInstance::Outcome::First:
        return true;
    case CSingleInstance::Outcome::Handed:
        m_nExitCode = 0;
        return false;
    case CSingleInstance::Outcome::Unreachable:
        std::fprintf(stderr, "hpa: another HPA is running but does not answer\n");
        m_nExitCode = 1;
        return false;
    case CSingleInstance::Outcome::Unavailable:
        std::fprintf(stderr, "hpa: cannot check for another running HPA; starting anyway\n");
        return true;
    }
    return true;
}

void CVexAccApp::CreateDocumentWindows()
{
    m_pFrame = std::make_unique<CMainFrame>(m_router);
    // The view of the program's grids (g_grids): created with its three
    // hidden grid windows and their fonts.
    auto* pView = new CVexAccView;
    m_pView = pView;
    m_pFrame->SetView(pView);
    m_router.SetTarget(RouteSlot::View, &pView->CommandMap());

    CAccDocumentContent content;
    for (int i = 0; i < 3; ++i)
        content.m_pGrids[static_cast<std::size_t>(i)] = &m_pView->Grid(i);
    content.m_pAcc = &g_acc;
    m_pDoc = std::make_unique<CVexAccDoc>(content, *m_pMessages, *m_pDocumentUi);
    m_pDoc->SetViewLink(m_pView);
    m_pView->SetDocument(m_pDoc.get());
    m_pDoc->SetRecentFileList(m_pRecent.get());
    m_router.SetTarget(RouteSlot::Document, &m_pDoc->CommandMap());
    if (auto* pUi = dynamic_cast<CQtDocumentUi*>(m_pDocumentUi))
        pUi->SetOwner(m_pFrame.get());

    // The download's working files go to a private directory of ours.
    g_workDir.Create();
    CAccBinding binding;
    binding.m_pathWorkDir = g_workDir.Path();
    binding.m_pGrids = content.m_pGrids;
    binding.m_pMasks = &g_masks;
    binding.m_pMessages = m_pMessages;
    g_acc.Bind(binding);

    connect(m_pDoc.get(), &CVexAccDoc::titleChanged, m_pFrame.get(), &CMainFrame::SetDocumentTitle);
    connect(m_pDoc.get(), &CVexAccDoc::recentFilesChanged, this, &CVexAccApp::UpdateRecentFileMenu);
    m_pFrame->SetCloseGuard([this] { return m_pDoc->SaveModified(); });
    if (m_pInstance && m_pInstance->Watcher())
        m_pInstance->Watcher()->SetMainWindow(m_pFrame.get());
    UpdateRecentFileMenu();
}

bool CVexAccApp::ProcessShellCommand(const CCommandLineInfo& cmdInfo)
{
    const QString strFile = QString::fromLocal8Bit(cmdInfo.m_strFileName.c_str());
    switch (cmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        m_pDoc->NewDocument();
        break;
    case CCommandLineInfo::FileOpen:
        if (m_pDoc->OpenDocumentFile(strFile) != OpenResult::Opened) {
            m_nExitCode = 1;
            return false;
        }
        break;
    case CCommandLineInfo::FilePrint:
        // Printed without showing the window, then the program ends.
        if (m_pDoc->OpenDocumentFile(strFile) != OpenResult::Opened) {
            m_nExitCode = 1;
        } else if (!m_router.HasHandler(ID_FILE_PRINT_DIRECT)) {
            std::fprintf(stderr, "hpa: printing is not available in this version\n");
            m_nExitCode = 1;
        } else {
            m_nExitCode = m_router.Execute(ID_FILE_PRINT_DIRECT) ? 0 : 1;
        }
        return false;
    }
    m_pFrame->show();
    m_pFrame->UpdateCommandUI();
    return true;
}

void CVexAccApp::LoadSettings()
{
    LoadFieldMasks(*m_pProfile, g_masks);
    g_hostHistory.Load(*m_pProfile);
}

void CVexAccApp::UpdateRecentFileMenu()
{
    QStringList paths;
    for (const std::string& strPath : m_pRecent->Files())
        paths.append(QString::fromStdString(strPath));
    if (m_pFrame)
        m_pFrame->SetRecentFiles(paths);
}

std::optional<QString> CVexAccApp::FrameDataKindPaneText() const
{
    if (const CMainFrame* pFrame = CMainFrame::Instance())
        return pFrame->DataKindPaneText();
    return std::nullopt;
}

QPrinter& CVexAccApp::Printer()
{
    if (!m_pPrinter)
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_pPrinter;
}

void CVexAccApp::OnFileNew()
{
    m_pDoc->NewDocument();
}

void CVexAccApp::OnFileOpen()
{
    const QString strPath = m_pDocumentUi->GetOpenFileName();
    if (!strPath.isEmpty())
        m_pDoc->OpenDocumentFile(strPath);
}

void CVexAccApp::OnFilePrintSetup()
{
    QPrintDialog dialog(&Printer(), m_pFrame.get());
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    // Setting up is not printing: the confirming button says so.
    if (auto* pButtons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* pOk = pButtons->button(QDialogButtonBox::Ok))
            pOk->setText(QStringLiteral("OK"));
    dialog.exec();
}

void CVexAccApp::OnOpenRecentFile(int nID)
{
    const int nIndex = nID - ID_FILE_MRU_FILE1;
    const auto& files = m_pRecent->Files();
    if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= files.size())
        return;
    const QString strPath = QString::fromStdString(files[static_cast<std::size_t>(nIndex)]);
    // A file that no longer opens leaves the list; keeping the document at
    // the save prompt does not remove anything.
    if (m_pDoc->OpenDocumentFile(strPath) == OpenResult::Failed) {
        m_pRecent->Remove(nIndex);
        UpdateRecentFileMenu();
    }
}

void CVexAccApp::OnAppAbout()
{
    CAboutDialog dialog(m_pFrame.get());
    dialog.exec();
    if (m_pView && m_pView->CurrentGrid() >= 0)
        m_pView->FocusGrid(m_pView->CurrentGrid());
}

void CVexAccApp::OnAppExit()
{
    if (m_pFrame)
        m_pFrame->close();
}

} // namespace hpa
