#pragma once
// The application object: start-up in a fixed order, the application's
// commands (New, Open, Print Setup, the recent files, About, Exit) and the
// objects that live as long as the program: the single-instance claim, the
// command router, the document, the view and the main frame.
#include "app/CommandRouter.h"
#include "app/SingleInstance.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QPrinter;

namespace hpa {

class CAccViewBase;
class CCommandLineInfo;
class CDocumentUi;
class CMainFrame;
class CMessages;
class CProfile;
class CRecentFileList;
class CVexAccDoc;

class CVexAccApp : public QObject {
    Q_OBJECT
public:
    // What the program talks to; tests put their own in. Null members take
    // the desktop's (QSettings, message boxes, file dialogs).
    struct Options {
        CProfile* pProfile = nullptr;
        CMessages* pMessages = nullptr;
        CDocumentUi* pDocumentUi = nullptr;
        bool bSingleInstance = true;
        CInstanceNames instanceNames; // empty: DefaultInstanceNames()
        int nInstanceWaitMs = 3000;
    };

    explicit CVexAccApp(Options options);
    CVexAccApp() : CVexAccApp(Options()) {}
    ~CVexAccApp() override;

    // The application object of the process (the one made last), or null.
    static CVexAccApp* Instance();

    // Start-up; false means the process should end now with ExitCode().
    bool InitInstance(const CCommandLineInfo& cmdInfo);
    int ExitCode() const { return m_nExitCode; }

    CCommandRouter& Router() { return m_router; }
    CMainFrame* MainFrame() const { return m_pFrame.get(); }
    CVexAccDoc* Document() const { return m_pDoc.get(); }
    CAccViewBase* View() const { return m_pView; }
    CRecentFileList& RecentFiles() const { return *m_pRecent; }
    CSingleInstance* InstanceClaim() const { return m_pInstance.get(); }
    // The printer chosen in Print Setup (at first the system default).
    QPrinter& Printer();
    // Settings and message boxes of the program (the tests' own in tests).
    CProfile& Profile() const { return *m_pProfile; }
    CMessages& Messages() const { return *m_pMessages; }
    // The file dialogs and questions of the document and of printing.
    CDocumentUi& DocumentUi() const { return *m_pDocumentUi; }

    // The application's commands.
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnOpenRecentFile(int nID);
    void OnAppAbout();
    void OnAppExit();

private:
    bool ClaimInstance();
    void CreateDocumentWindows();
    bool ProcessShellCommand(const CCommandLineInfo& cmdInfo);
    void LoadSettings();
    void UpdateRecentFileMenu();

    Options m_options;
    std::unique_ptr<CProfile> m_pOwnProfile;
    std::unique_ptr<CMessages> m_pOwnMessages;
    std::unique_ptr<CDocumentUi> m_pOwnDocumentUi;
    CProfile* m_pProfile;
    CMessages* m_pMessages;

    CDocumentUi* m_pDocumentUi;

    std::unique_ptr<CSingleInstance> m_pInstance;
    std::unique_ptr<CRecentFileList> m_pRecent;
    CCommandRouter m_router;
    CCommandMap m_commands;
    std::unique_ptr<CMainFrame> m_pFrame;
    CAccViewBase* m_pView = nullptr; // owned by the frame
    std::unique_ptr<CVexAccDoc> m_pDoc;
    std::unique_ptr<QPrinter> m_pPrinter;
    int m_nExitCode = 0;
};

} // namespace hpa
