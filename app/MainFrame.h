#pragma once
// The program's single top-level window: menu 128, accelerator table 128,
// toolbar 128 and a status bar with the message pane and the data-kind pane.
// Every menu item, button and key sends a command id through the router;
// the router's update handlers decide what is enabled and marked, asked
// before a menu opens and whenever the event loop goes idle.
#include "ui/CommandRouter.h"
#include "ui/DataKindPane.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QToolBar;

namespace hpa {

class CStatusPane;

class CMainFrame : public QMainWindow, public CDataKindPane {
    Q_OBJECT
public:
    explicit CMainFrame(CCommandRouter& router, QWidget* pParent = nullptr);
    ~CMainFrame() override;

    // The frame made last and still alive (the program has one).
    static CMainFrame* Instance();

    // Pane 1 of the status bar: "JOB", "PAPER", "STATUS" or empty. Repaints
    // at once.
    void SetDataKindPaneText(const QString& strText) override;
    QString DataKindPaneText() const override;
    QLabel* DataKindPane() const;
    // What pane 0 shows now: a prompt, or "For Help, press F1" when idle.
    QString MessagePaneText() const;

    // Title "<document name> - HPA".
    void SetDocumentTitle(const QString& strDocumentName);
    // The view fills the client area; the frame owns it from now on.
    void SetView(QWidget* pView);
    // The recent-file part of the File menu, most recent first (up to 4).
    void SetRecentFiles(const QStringList& paths);

    // Sends a command as a menu item would: in help mode it shows the
    // command's help topic instead.
    void ExecuteCommand(int nID);
    // Applies the update handlers to every command action now.
    void UpdateCommandUI();

    bool IsHelpMode() const { return m_bHelpMode; }
    void EnterHelpMode();
    void ExitHelpMode();

    // Asked before the window closes; false keeps it open.
    void SetCloseGuard(std::function<bool()> fnCanClose) { m_fnCanClose = std::move(fnCanClose); }

    // For the application, the view and tests.
    QAction* CommandAction(int nID) const { return m_actions.value(nID); }
    QAction* AcceleratorAction(int nID) const { return m_accelerators.value(nID); }
    QList<QAction*> RecentFileActions() const { return m_recentActions; }
    QToolBar* ToolBar() const { return m_pToolBar; }
    QMenu* TopMenu(int nIndex) const { return m_topMenus.value(nIndex); }
    CCommandRouter& Router() const { return m_router; }

protected:
    void closeEvent(QCloseEvent* pEvent) override;
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    void CreateMenus();
    QAction* AddCommandAction(QMenu* pMenu, const char* pszText, const char* pszShortcut, int nID);
    void CreateAccelerators();
    void CreateToolBar();
    void CreateStatusBar();
    void ApplyState(QAction* pAction, int nID);
    void UpdateMenu(QMenu* pMenu);
    void OnIdle();
    bool HelpModeEvent(QObject* pObject, QEvent* pEvent);
    bool MenuHelpKey(QMenu* pMenu, QEvent* pEvent);

    CCommandRouter& m_router;
    CCommandMap m_commands;
    QHash<int, QAction*> m_actions;
    QHash<int, QAction*> m_accelerators;
    QList<QMenu*> m_topMenus;
    QMenu* m_pFileMenu = nullptr;
    QAction* m_pRecentPlaceholder = nullptr;
    QList<QAction*> m_recentActions;
    QActionGroup* m_pDataKindGroup = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QLabel* m_pIdlePane = nullptr;
    CStatusPane* m_pDataKindPane = nullptr;
    bool m_bHelpMode = false;
    std::function<bool()> m_fnCanClose;
};

} // namespace hpa
