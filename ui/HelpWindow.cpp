#include "ui/HelpWindow.h"

#include "ui/CommandIds.h"
#include "ui/Resources.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

namespace hpa {

namespace {

CHelpWindow* g_pHelpWindow = nullptr;

struct HelpTopic {
    unsigned nContext;
    const char* pszPage;
};

constexpr HelpTopic kTopics[] = {
    {kHelpMainFrame, "mainwindow.html"},
    {kHelpCommandBase + ID_CONNECT, "connect.html"},
    {kHelpCommandBase + ID_HISTORY, "history.html"},
    {kHelpCommandBase + ID_DATA_JOB, "datakinds.html"},
    {kHelpCommandBase + ID_DATA_PAPER, "datakinds.html"},
    {kHelpCommandBase + ID_DATA_STATUS, "datakinds.html"},
    {kHelpCommandBase + ID_EXPORT, "export.html"},
    {kHelpCommandBase + ID_FILTERS, "filters.html"},
    {kHelpCommandBase + ID_VIEW_SUMMARY, "summary.html"},
    {kHelpCommandBase + ID_FILE_NEW, "documents.html"},
    {kHelpCommandBase + ID_FILE_OPEN, "documents.html"},
    {kHelpCommandBase + ID_FILE_SAVE, "documents.html"},
    {kHelpCommandBase + ID_FILE_SAVE_AS, "documents.html"},
    {kHelpCommandBase + ID_APP_EXIT, "documents.html"},
    {kHelpCommandBase + ID_FILE_PRINT, "printing.html"},
    {kHelpCommandBase + ID_FILE_PRINT_DIRECT, "printing.html"},
    {kHelpCommandBase + ID_FILE_PRINT_PREVIEW, "printing.html"},
    {kHelpCommandBase + ID_FILE_PRINT_SETUP, "printing.html"},
    {kHelpCommandBase + ID_EDIT_COPY, "findcopy.html"},
    {kHelpCommandBase + ID_EDIT_FIND, "findcopy.html"},
    {kHelpCommandBase + ID_CONTEXT_HELP, "mainwindow.html"},
    {kHelpCommandBase + ID_APP_ABOUT, "index.html"},
    {kHelpCommandBase + ID_HELP_FINDER, "index.html"},
};

} // namespace

QString HelpPageForContext(unsigned nContext)
{
    if (nContext >= kHelpCommandBase + ID_FILE_MRU_FILE1 &&
        nContext <= kHelpCommandBase + ID_FILE_MRU_LAST)
        return QStringLiteral("documents.html");
    for (const auto& topic : kTopics)
        if (topic.nContext == nContext)
            return QString::fromLatin1(topic.pszPage);
    return QStringLiteral("index.html");
}

void ShowHelpContents()
{
    CHelpWindow::Instance()->ShowPage(QStringLiteral("index.html"));
}

void ShowHelpContext(unsigned nContext)
{
    CHelpWindow::Instance()->ShowPage(HelpPageForContext(nContext));
}

CHelpWindow::CHelpWindow(QWidget* pOwner) : QWidget(pOwner, Qt::Window)
{
    InitResources();
    setWindowTitle(QStringLiteral("HPA Help"));
    resize(560, 620);
    m_pBrowser = new QTextBrowser(this);
    m_pBrowser->setOpenExternalLinks(true);

    auto* pContents = new QPushButton(QStringLiteral("&Contents"), this);
    auto* pBack = new QPushButton(QStringLiteral("&Back"), this);
    auto* pForward = new QPushButton(QStringLiteral("&Forward"), this);
    pBack->setEnabled(false);
    pForward->setEnabled(false);
    connect(pContents, &QPushButton::clicked, this,
            [this] { ShowPage(QStringLiteral("index.html")); });
    connect(pBack, &QPushButton::clicked, m_pBrowser, &QTextBrowser::backward);
    connect(pForward, &QPushButton::clicked, m_pBrowser, &QTextBrowser::forward);
    connect(m_pBrowser, &QTextBrowser::backwardAvailable, pBack, &QPushButton::setEnabled);
    connect(m_pBrowser, &QTextBrowser::forwardAvailable, pForward, &QPushButton::setEnabled);

    auto* pButtons = new QHBoxLayout;
    pButtons->addWidget(pContents);
    pButtons->addWidget(pBack);
    pButtons->addWidget(pForward);
    pButtons->addStretch(1);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pButtons);
    pLayout->addWidget(m_pBrowser, 1);
}

CHelpWindow::~CHelpWindow()
{
    if (g_pHelpWindow == this)
        g_pHelpWindow = nullptr;
}

CHelpWindow* CHelpWindow::Instance()
{
    if (!g_pHelpWindow) {
        // Owned by the main window so it goes with it; a window without an
        // owner deletes itself when closed.
        QWidget* pOwner = nullptr;
        for (QWidget* pTop : QApplication::topLevelWidgets())
            if (pTop->property("hpaMainFrame").toBool())
                pOwner = pTop;
        g_pHelpWindow = new CHelpWindow(pOwner);
        if (!pOwner)
            g_pHelpWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    return g_pHelpWindow;
}

CHelpWindow* CHelpWindow::Existing()
{
    return g_pHelpWindow;
}

// A modal dialog blocks every window outside its own family. The help
// window joins the family of the dialog on show (F1 in the dialog), and when
// a dialog opens while help is already shown (the window is then told it is
// blocked); it goes back to its owner when the dialog closes.
bool CHelpWindow::event(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::WindowBlocked) {
        // Not from inside the blocking itself: the window is shown anew.
        QMetaObject::invokeMethod(
            this, [this] { JoinModalDialog(); }, Qt::QueuedConnection);
    }
    return QWidget::event(pEvent);
}

bool CHelpWindow::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pModal && pEvent->type() == QEvent::Hide)
        QMetaObject::invokeMethod(
            this, [this] { LeaveModalDialog(); }, Qt::QueuedConnection);
    return QWidget::eventFilter(pWatched, pEvent);
}

void CHelpWindow::JoinModalDialog()
{
    QWidget* pModal = QApplication::activeModalWidget();
    if (!pModal || pModal == this || pModal == m_pModal || !pModal->isVisible() ||
        !pModal->windowHandle())
        return;
    if (m_pModal)
        m_pModal->removeEventFilter(this);
    m_pModal = pModal;
    pModal->installEventFilter(this);
    create();
    windowHandle()->setTransientParent(pModal->windowHandle());
    // Whether a window is blocked is decided when it is shown; shown again
    // here without taking the keyboard from the dialog that just opened.
    if (isVisible()) {
        const QRect rcWas = geometry();
        const bool bWasQuiet = testAttribute(Qt::WA_ShowWithoutActivating);
        hide();
        setGeometry(rcWas);
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, bWasQuiet);
    }
}

void CHelpWindow::LeaveModalDialog()
{
    if (m_pModal && m_pModal->isVisible())
        return; // shown again meanwhile
    if (m_pModal)
        m_pModal->removeEventFilter(this);
    m_pModal = nullptr;
    // Beside a dialog further out, if one is still open; else the owner's.
    if (QApplication::activeModalWidget()) {
        JoinModalDialog();
        return;
    }
    if (windowHandle()) {
        QWidget* pOwner = parentWidget();
        windowHandle()->setTransientParent(pOwner && pOwner->windowHandle() ? pOwner->windowHandle()
                                                                            : nullptr);
    }
}

void CHelpWindow::ShowPage(const QString& strPage)
{
    m_pBrowser->setSource(QUrl(QStringLiteral("qrc:/hpa/help/") + strPage));
    JoinModalDialog(); // F1 in a modal dialog: beside that dialog
    show();
    raise();
    activateWindow();
}

QString CHelpWindow::CurrentPage() const
{
    return m_pBrowser->source().fileName();
}

} // namespace hpa
