#include "app/MainFrame.h"

#include "app/FrameResources.h"
#include "app/SplashWindow.h"
#include "app/StatusPane.h"
#include "history/qt/HistoryWindow.h"
#include "platform/qt/IdleProcessing.h"
#include "ui/AppServices.h"
#include "ui/CommandIds.h"
#include "ui/HelpWindow.h"
#include "ui/Resources.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace hpa {

namespace {

CMainFrame* g_pMainFrame = nullptr;

// The command id an action sends, or 0.
int CommandId(const QAction* pAction)
{
    return pAction ? pAction->data().toInt() : 0;
}

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "&1 /path/name.hpa": the home folder shortened to "~", long paths cut in
// the middle, and '&' doubled so it is not taken for a mnemonic.
QString RecentFileText(int nIndex, const QString& strPath)
{
    QString strShown = QDir::toNativeSeparators(strPath);
    const QString strHome = QDir::homePath();
    if (!strHome.isEmpty() && strShown.startsWith(strHome + QLatin1Char('/')))
        strShown = QLatin1Char('~') + strShown.mid(strHome.size());
    constexpr int kMaxShown = 60;
    if (strShown.size() > kMaxShown)
        strShown = strShown.left(20) + QStringLiteral("...") + strShown.right(kMaxShown - 23);
    strShown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(nIndex + 1).arg(strShown);
}

// A disabled toolbar button in the classic way: the drawing's dark parts
// in grey with a white shadow below and to the right, the rest left out.
QPixmap DisabledButton(const QPixmap& button)
{
    const QImage src = button.toImage().convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    auto IsInk = [&src](int x, int y) {
        if (x < 0 || y < 0 || x >= src.width() || y >= src.height())
            return false;
        const QRgb px = src.pixel(x, y);
        return qAlpha(px) > 127 && qGray(px) < 192;
    };
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            if (IsInk(x, y))
                out.setPixel(x, y, qRgb(128, 128, 128));
            else if (IsInk(x - 1, y - 1))
                out.setPixel(x, y, qRgb(255, 255, 255));
        }
    return QPixmap::fromImage(out);
}

} // namespace

CMainFrame::CMainFrame(CCommandRouter& router, QWidget* pParent)
    : QMainWindow(pParent), m_router(router)
{
    InitResources();
    g_pMainFrame = this;
    setProperty("hpaMainFrame", true);
    setWindowIcon(QIcon(QStringLiteral(":/hpa/icons/hpa-32.png")));
    resize(760, 540);

    CreateMenus();
    CreateAccelerators();
    CreateToolBar();
    CreateStatusBar();
    SetDocumentTitle(QStringLiteral("Untitled"));

    // The frame's own commands: the help commands and the History window.
    m_commands.On(ID_HELP_FINDER, [] { ShowHelpContents(); });
    m_commands.On(ID_DEFAULT_HELP, [] { ShowHelpContents(); });
    m_commands.On(ID_HELP, [] { ShowHelpContext(kHelpMainFrame); });
    m_commands.On(ID_CONTEXT_HELP, [this] { EnterHelpMode(); });
    // Admin > History...: the fleet history in a window of its own beside this one.
    m_commands.On(ID_HISTORY, [this] {
        if (CAppServices* pApp = CAppServices::Instance())
            CHistoryWindow::ShowBeside(this, pApp->Profile(), pApp->Messages());
    });
    m_router.SetTarget(RouteSlot::Frame, &m_commands);

    // Idle-time update of the toolbar, as the event loop is about to wait.
    // Loops that keep messages flowing while they work (a download, a print
    // job) ask for it themselves.
    if (auto* pDispatcher = QAbstractEventDispatcher::instance())
        connect(pDispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CMainFrame::OnIdle);
    connect(&CIdleHub::Instance(), &CIdleHub::idle, this, &CMainFrame::OnIdle);

    CSplashWindow::ShowSplashScreen(this);
}

CMainFrame::~CMainFrame()
{
    ExitHelpMode();
    if (m_router.Target(RouteSlot::Frame) == &m_commands)
        m_router.SetTarget(RouteSlot::Frame, nullptr);
    if (g_pMainFrame == this)
        g_pMainFrame = nullptr;
}

CMainFrame* CMainFrame::Instance()
{
    return g_pMainFrame;
}

QAction* CMainFrame::AddCommandAction(QMenu* pMenu, const char* pszText, const char* pszShortcut,
                                      int nID)
{
    QAction* pAction = m_actions.value(nID);
    if (!pAction) {
        pAction = new QAction(this);
        pAction->setData(nID);
        pAction->setIconVisibleInMenu(false);
        const QString strTip = FromUtf8(PromptTip(nID));
        pAction->setStatusTip(FromUtf8(PromptMessage(nID)));
        if (!strTip.isEmpty())
            pAction->setToolTip(strTip);
        connect(pAction, &QAction::triggered, this, [this, nID] { ExecuteCommand(nID); });
        m_actions.insert(nID, pAction);
    }
    if (pszText) {
        // The shortcut is only shown here; the keys themselves are the
        // accelerator table's.
        QString strText = QString::fromUtf8(pszText);
        if (pszShortcut)
            strText +=
                QLatin1Char('\t') +
                QKeySequence(QString::fromUtf8(pszShortcut)).toString(QKeySequence::NativeText);
        pAction->setText(strText);
    }
    if (pMenu)
        pMenu->addAction(pAction);
    return pAction;
}

void CMainFrame::CreateMenus()
{
    QList<QMenu*> stack;
    m_pDataKindGroup = new QActionGroup(this);
    m_pDataKindGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const MenuEntry& entry : MainMenu()) {
        QMenu* pMenu = stack.isEmpty() ? nullptr : stack.last();
        switch (entry.kind) {
        case MenuEntryKind::Popup: {
            QMenu* pPopup = pMenu ? pMenu->addMenu(QString::fromUtf8(entry.pszText))
                                  : menuBar()->addMenu(QString::fromUtf8(entry.pszText));
            connect(pPopup, &QMenu::aboutToShow, this, [this, pPopup] { UpdateMenu(pPopup); });
            pPopup->installEventFilter(this);
            if (!pMenu)
                m_topMenus.append(pPopup);
            stack.append(pPopup);
            break;
        }
        case MenuEntryKind::EndPopup:
            stack.removeLast();
            break;
        case MenuEntryKind::Separator:
            pMenu->addSeparator();
            break;
        case MenuEntryKind::RecentFiles:
            m_pFileMenu = pMenu;
            // Never enabled: it only stands in for an empty list.
            m_pRecentPlaceholder = pMenu->addAction(QString::fromUtf8(entry.pszText));
            m_pRecentPlaceholder->setEnabled(false);
            break;
        case MenuEntryKind::Item: {
            QAction* pAction = AddCommandAction(pMenu, entry.pszText, entry.pszShortcut, entry.nID);
            if (entry.nID >= ID_DATA_JOB && entry.nID <= ID_DATA_STATUS) {
                pAction->setCheckable(true);
                m_pDataKindGroup->addAction(pAction);
            }
            break;
        }
        }
    }
}

void CMainFrame::CreateAccelerators()
{
    for (const AcceleratorEntry& entry : MainAccelerators()) {
        QAction* pAction = m_accelerators.value(entry.nID);
        if (!pAction) {
            pAction = new QAction(this);
            pAction->setData(entry.nID);
            pAction->setShortcutContext(Qt::WindowShortcut);
            // Always armed: ExecuteCommand asks the update handlers first,
            // so a disabled command or one without a handler does nothing.
            const int nID = entry.nID;
            connect(pAction, &QAction::triggered, this, [this, nID] { ExecuteCommand(nID); });
            addAction(pAction);
            m_accelerators.insert(entry.nID, pAction);
        }
        auto keys = pAction->shortcuts();
        keys.append(QKeySequence(QString::fromUtf8(entry.pszKey), QKeySequence::PortableText));
        pAction->setShortcuts(keys);
    }
}

void CMainFrame::CreateToolBar()
{
    m_pToolBar = new QToolBar(QStringLiteral("Standard"), this);
    m_pToolBar->setObjectName(QStringLiteral("toolbar128"));
    m_pToolBar->setIconSize(QSize(16, 15));
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_pToolBar->setMovable(false);
    m_pToolBar->setFloatable(false);
    m_pToolBar->toggleViewAction()->setVisible(false);
    for (const ToolbarEntry& entry : MainToolbar()) {
        if (entry.nID == 0) {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction* pAction = AddCommandAction(nullptr, nullptr, nullptr, entry.nID);
        const QPixmap button(QString::fromUtf8(entry.pszIcon));
        QIcon icon(button);
        icon.addPixmap(DisabledButton(button), QIcon::Disabled);
        pAction->setIcon(icon);
        if (pAction->text().isEmpty()) // buttons without a menu item
            pAction->setText(FromUtf8(PromptTip(entry.nID)));
        m_pToolBar->addAction(pAction);
    }
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* pBar = statusBar();
    m_pIdlePane = new QLabel(QStringLiteral("For Help, press F1"), pBar);
    pBar->addWidget(m_pIdlePane, 1);
    m_pDataKindPane = new CStatusPane(QStringLiteral("XXXXXX"), pBar);
    pBar->addPermanentWidget(m_pDataKindPane);
}

void CMainFrame::SetDataKindPaneText(const QString& strText)
{
    m_pDataKindPane->setText(strText);
    m_pDataKindPane->repaint();
}

QString CMainFrame::DataKindPaneText() const
{
    return m_pDataKindPane->text();
}

QLabel* CMainFrame::DataKindPane() const
{
    return m_pDataKindPane;
}

QString CMainFrame::MessagePaneText() const
{
    const QString strPrompt = statusBar()->currentMessage();
    return strPrompt.isEmpty() ? m_pIdlePane->text() : strPrompt;
}

void CMainFrame::SetDocumentTitle(const QString& strDocumentName)
{
    setWindowTitle(strDocumentName + QStringLiteral(" - HPA"));
}

void CMainFrame::SetView(QWidget* pView)
{
    if (centralWidget() == pView)
        return;
    // The frame owns its view; a view it replaces goes.
    setCentralWidget(pView);
}

void CMainFrame::SetRecentFiles(const QStringList& paths)
{
    for (QAction* pAction : m_recentActions) {
        m_pFileMenu->removeAction(pAction);
        delete pAction;
    }
    m_recentActions.clear();
    const int nCount = std::min<int>(paths.size(), ID_FILE_MRU_LAST - ID_FILE_MRU_FILE1 + 1);
    // With no recent file the disabled "Recent File" item holds the place.
    m_pRecentPlaceholder->setVisible(nCount == 0);
    for (int i = 0; i < nCount; ++i) {
        const int nID = ID_FILE_MRU_FILE1 + i;
        auto* pAction = new QAction(RecentFileText(i, paths[i]), this);
        pAction->setData(nID);
        connect(pAction, &QAction::triggered, this, [this, nID] { ExecuteCommand(nID); });
        m_pFileMenu->insertAction(m_pRecentPlaceholder, pAction);
        m_recentActions.append(pAction);
    }
}

void CMainFrame::ExecuteCommand(int nID)
{
    if (m_bHelpMode) {
        ExitHelpMode();
        ShowHelpContext(kHelpCommandBase + static_cast<unsigned>(nID));
        return;
    }
    m_router.Execute(nID);
    UpdateCommandUI();
}

void CMainFrame::ApplyState(QAction* pAction, int nID)
{
    if (m_bHelpMode) {
        // Every item can be chosen for its help topic.
        pAction->setEnabled(true);
        return;
    }
    const CCmdUI state = m_router.QueryState(nID);
    pAction->setEnabled(state.m_bEnabled);
    if (pAction->isCheckable() || state.m_nCheck) {
        pAction->setCheckable(true);
        pAction->setChecked(state.m_nCheck != 0);
    }
}

void CMainFrame::UpdateCommandUI()
{
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        ApplyState(it.value(), it.key());
    for (QAction* pAction : m_recentActions)
        ApplyState(pAction, CommandId(pAction));
}

void CMainFrame::UpdateMenu(QMenu* pMenu)
{
    for (QAction* pAction : pMenu->actions())
        if (const int nID = CommandId(pAction))
            ApplyState(pAction, nID);
}

void CMainFrame::OnIdle()
{
    if (!isVisible())
        return;
    for (QAction* pAction : m_pToolBar->actions())
        if (const int nID = CommandId(pAction))
            ApplyState(pAction, nID);
}

void CMainFrame::EnterHelpMode()
{
    if (m_bHelpMode)
        return;
    m_bHelpMode = true;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    qApp->installEventFilter(this);
    UpdateCommandUI();
}

void CMainFrame::ExitHelpMode()
{
    if (!m_bHelpMode)
        return;
    m_bHelpMode = false;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    UpdateCommandUI();
}

void CMainFrame::closeEvent(QCloseEvent* pEvent)
{
    if (m_fnCanClose && !m_fnCanClose()) {
        pEvent->ignore();
        return;
    }
    QMainWindow::closeEvent(pEvent);
}

bool CMainFrame::eventFilter(QObject* pObject, QEvent* pEvent)
{
    if (m_bHelpMode && HelpModeEvent(pObject, pEvent))
        return true;
    if (auto* pMenu = qobject_cast<QMenu*>(pObject); pMenu && MenuHelpKey(pMenu, pEvent))
        return true;
    return QMainWindow::eventFilter(pObject, pEvent);
}

// F1 on a highlighted menu item opens that command's topic.
bool CMainFrame::MenuHelpKey(QMenu* pMenu, QEvent* pEvent)
{
    if (pEvent->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(pEvent)->key() != Qt::Key_F1)
        return false;
    const int nID = CommandId(pMenu->activeAction());
    for (QWidget* pPopup = QApplication::activePopupWidget(); pPopup;
         pPopup = QApplication::activePopupWidget())
        pPopup->close();
    ShowHelpContext(nID ? kHelpCommandBase + static_cast<unsigned>(nID) : kHelpMainFrame);
    return true;
}

// In help mode a click names what the user wants help on: menu items arrive
// as commands (ExecuteCommand), toolbar buttons are taken here even while
// disabled, anything else gets the main window's topic. Escape leaves.
bool CMainFrame::HelpModeEvent(QObject* pObject, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(pEvent)->key() == Qt::Key_Escape) {
        ExitHelpMode();
        return true;
    }
    if (pEvent->type() != QEvent::MouseButtonPress || !pObject->isWidgetType())
        return false;
    auto* pWidget = static_cast<QWidget*>(pObject);
    if (qobject_cast<QMenuBar*>(pWidget) || qobject_cast<QMenu*>(pWidget))
        return false;
    int nID = 0;
    if (auto* pButton = qobject_cast<QToolButton*>(pWidget))
        nID = CommandId(pButton->defaultAction());
    ExitHelpMode();
    ShowHelpContext(nID ? kHelpCommandBase + static_cast<unsigned>(nID) : kHelpMainFrame);
    return true;
}

} // namespace hpa
