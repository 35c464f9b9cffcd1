#include "history/qt/HistoryWindow.h"

#include "grid/qt/GridWnd.h"
#include "history/HistoryPivot.h"
#include "history/HistoryStore.h"
#include "history/qt/CollectPanel.h"
#include "history/qt/PivotPane.h"
#include "platform/Messages.h"
#include "platform/Profile.h"
#include "platform/qt/BackgroundWork.h"
#include "transfer/HostHistory.h"
#include "transfer/qt/ConnectDlg.h"
#include "ui/CommandIds.h"
#include "ui/HelpWindow.h"

#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace hpa {

namespace {

constexpr int kFleetGridId = 1;
// The fleet file Collect Now last read, and where a packaged collector's is.
constexpr const char* kProfileFleetFile = "FleetFile";
constexpr const char* kSystemFleetFile = "/etc/hpa/fleet.conf";
QPointer<CHistoryWindow> g_pHistoryWindow;

// "Open Database...": a SQLite file (typed or browsed for) or a PostgreSQL
// connection URI typed in.
class COpenHistoryDlg : public QDialog {
public:
    COpenHistoryDlg(const QString& strLocation, QWidget* pParent) : QDialog(pParent)
    {
        setWindowTitle(QStringLiteral("Open History Database"));
        auto* pLayout = new QVBoxLayout(this);
        pLayout->addWidget(
            new QLabel(QStringLiteral("SQLite &file or PostgreSQL URI (postgresql://...):"), this));
        auto* pRow = new QHBoxLayout;
        m_pEdit = new QLineEdit(strLocation, this);
        m_pEdit->setObjectName(QStringLiteral("location"));
        m_pEdit->setMinimumWidth(420);
        qobject_cast<QLabel*>(pLayout->itemAt(0)->widget())->setBuddy(m_pEdit);
        pRow->addWidget(m_pEdit, 1);
        auto* pBrowse = new QPushButton(QStringLiteral("&Browse..."), this);
        pBrowse->setAutoDefault(false);
        pRow->addWidget(pBrowse);
        pLayout->addLayout(pRow);
        auto* pButtons =
            new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        pLayout->addWidget(pButtons);
        connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(pBrowse, &QPushButton::clicked, this, [this] {
            const QString strFile = QFileDialog::getOpenFileName(
                this, QStringLiteral("Open History Database"), m_pEdit->text(),
                QStringLiteral("SQLite history (*.sqlite *.db);;All files (*)"));
            if (!strFile.isEmpty())
                m_pEdit->setText(strFile);
        });
    }
    QString Location() const { return m_pEdit->text().trimmed(); }

private:
    QLineEdit* m_pEdit = nullptr;
};

} // namespace

CHistoryWindow::CHistoryWindow(CProfile& profile, CMessages& messages, QWidget* pParent)
    : QMainWindow(pParent, Qt::Window), m_profile(profile), m_messages(messages)
{
    setWindowTitle(QStringLiteral("History"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(1280, 800);

    QToolBar* pBar = addToolBar(QStringLiteral("History"));
    pBar->setMovable(false);
    pBar->setObjectName(QStringLiteral("historyBar"));
    pBar->addAction(QStringLiteral("&Open Database..."), this, &CHistoryWindow::OnOpenDatabase)
        ->setObjectName(QStringLiteral("openDatabase"));
    pBar->addAction(QStringLiteral("&Reload"), this, &CHistoryWindow::Reload)
        ->setObjectName(QStringLiteral("reload"));
    pBar->addAction(QStringLiteral("Collect &Now"), this, &CHistoryWindow::CollectNow)
        ->setObjectName(QStringLiteral("collectNow"));

    auto* pSplitter = new QSplitter(Qt::Vertical, this);
    auto* pFleetHolder = new QWidget(pSplitter);
    auto* pFleetLayout = new QVBoxLayout(pFleetHolder);
    pFleetLayout->setContentsMargins(4, 4, 4, 0);
    pFleetLayout->addWidget(new QLabel(QStringLiteral("Printers"), pFleetHolder));
    if (m_fleet.CreateGridWnd(pFleetHolder, QRect(0, 0, 600, 150), kFleetGridId, true))
        pFleetLayout->addWidget(m_fleet.GetGridWnd(), 1);
    m_pPivot = new CPivotPane(m_messages, pSplitter);
    pSplitter->addWidget(pFleetHolder);
    pSplitter->addWidget(m_pPivot);
    pSplitter->setSizes({170, 600});
    setCentralWidget(pSplitter);

    m_pCollect = new CCollectPanel(this);
    m_pCollectDock = new QDockWidget(QStringLiteral("Collect Now"), this);
    m_pCollectDock->setObjectName(QStringLiteral("collectDock"));
    m_pCollectDock->setFeatures(QDockWidget::DockWidgetClosable);
    m_pCollectDock->setWidget(m_pCollect);
    addDockWidget(Qt::BottomDockWidgetArea, m_pCollectDock);
    m_pCollectDock->hide();
    connect(m_pCollect, &CCollectPanel::Finished, this, &CHistoryWindow::OnCollectionFinished);

    m_pLocationLabel = new QLabel(this);
    statusBar()->addWidget(m_pLocationLabel, 1);
    FillFleetGrid(m_fleet, {});
}

CHistoryWindow::~CHistoryWindow()
{
    // Downloads still running stop before the window's parts go.
    delete m_pCollect;
    m_pCollect = nullptr;
    // The pane's report refers to the store; the store goes last.
    delete m_pPivot;
    m_pPivot = nullptr;
}

void CHistoryWindow::CollectNow()
{
    QMenu menu(this);
    QAction* pFleet = menu.addAction(QStringLiteral("&Fleet File..."));
    QAction* pPrinter = menu.addAction(QStringLiteral("&Printer..."));
    menu.setEnabled(!m_pCollect->IsRunning());
    QAction* pChosen = menu.exec(QCursor::pos());
    if (pChosen == pFleet) {
        QString strStart =
            QString::fromStdString(m_profile.GetString(kProfileHistorySection, kProfileFleetFile));
        if (strStart.isEmpty())
            strStart = QString::fromLatin1(kSystemFleetFile);
        const QString strFile =
            QFileDialog::getOpenFileName(this, QStringLiteral("Collect Fleet"), strStart,
                                         QStringLiteral("Fleet files (*.conf);;All files (*)"));
        if (!strFile.isEmpty() && CollectFleet(strFile))
            m_profile.WriteString(kProfileHistorySection, kProfileFleetFile, strFile.toStdString());
    } else if (pChosen == pPrinter) {
        // The password is asked every time and kept nowhere.
        CConnectDlg dialog(g_hostHistory, m_messages, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        DownloadSettings connection;
        connection.m_strHost = g_hostHistory.Front();
        connection.m_strUser = dialog.UserName();
        connection.m_strPassword = dialog.Password();
        CollectPrinter(QString::fromStdString(connection.m_strHost), connection);
    }
}

bool CHistoryWindow::CollectFleet(const QString& fleetFile)
{
    return StartCollection([&](const QString& strDb, QString& strError) {
        return m_pCollect->StartFleet(fleetFile, strDb, strError);
    });
}

bool CHistoryWindow::CollectPrinter(const QString& printerName, const DownloadSettings& connection)
{
    return StartCollection([&](const QString& strDb, QString& strError) {
        return m_pCollect->StartOne(printerName, connection, strDb, strError);
    });
}

bool CHistoryWindow::StartCollection(const std::function<bool(const QString&, QString&)>& fnStart)
{
    const std::string strDb = m_pStore ? m_strLocation : StartLocation();
    QString strError;
    if (!fnStart(QString::fromStdString(strDb), strError)) {
        m_messages.Exclamation(strError.toStdString());
        return false;
    }
    m_pCollectDock->show();
    return true;
}

void CHistoryWindow::OnCollectionFinished()
{
    // A collection may have made the history it went into.
    if (m_pStore)
        Reload();
    else
        OpenDatabase(StartLocation(), false);
}

CHistoryWindow* CHistoryWindow::Instance()
{
    return g_pHistoryWindow.data();
}

CHistoryWindow* CHistoryWindow::ShowBeside(QWidget* pMainWindow, CProfile& profile,
                                           CMessages& messages)
{
    CHistoryWindow* pWindow = g_pHistoryWindow.data();
    if (!pWindow) {
        pWindow = new CHistoryWindow(profile, messages, pMainWindow);
        g_pHistoryWindow = pWindow;
        // Beside the main window where the screen has room, else over it.
        if (pMainWindow) {
            const QRect rcMain = pMainWindow->frameGeometry();
            const QScreen* pScreen = pMainWindow->screen();
            const QRect rcScreen = pScreen ? pScreen->availableGeometry() : QRect();
            QPoint pt(rcMain.right() + 1, rcMain.top());
            if (rcScreen.isValid() && pt.x() + pWindow->width() > rcScreen.right())
                pt.setX(std::max(rcScreen.left(), rcScreen.right() - pWindow->width()));
            pWindow->move(pt);
        }
        pWindow->show();
        pWindow->OpenDatabase(pWindow->StartLocation(), false);
    }
    pWindow->show();
    pWindow->raise();
    pWindow->activateWindow();
    return pWindow;
}

std::string CHistoryWindow::StartLocation() const
{
    return ChosenHistoryLocation(m_profile);
}

bool CHistoryWindow::OpenDatabase(const std::string& strLocation, bool bRemember)
{
    std::string strError;
    std::unique_ptr<CHistoryStore> pStore;
    // Never creates a history: a mistyped name must not leave an empty file.
    RunWithoutFreezing(
        [&] { pStore = OpenHistoryStore(strLocation, strError, /*bCreate=*/false); });
    if (!pStore) {
        if (bRemember || m_pStore)
            m_messages.Exclamation(strError);
        else
            m_pLocationLabel->setText(QString::fromStdString(ToUtf8(strError)));
        return false;
    }
    m_pPivot->SetStore(nullptr, {});
    m_pStore = std::move(pStore);
    m_strLocation = strLocation;
    if (bRemember)
        KeepHistoryLocation(m_profile, strLocation);
    m_pLocationLabel->setText(
        QStringLiteral("History: %1").arg(QString::fromStdString(ToUtf8(strLocation))));
    Reload();
    return true;
}

void CHistoryWindow::OnOpenDatabase()
{
    COpenHistoryDlg dialog(
        QString::fromStdString(m_strLocation.empty() ? StartLocation() : m_strLocation), this);
    if (dialog.exec() != QDialog::Accepted || dialog.Location().isEmpty())
        return;
    OpenDatabase(dialog.Location().toStdString(), true);
}

void CHistoryWindow::Reload()
{
    if (!m_pStore)
        return;
    std::vector<CPrinterHistory> printers;
    std::string strError;
    bool bRead = false;
    RunWithoutFreezing([&] { bRead = m_pStore->ReadPrinters(printers, strError); });
    if (!bRead) {
        m_messages.Exclamation(strError);
        return;
    }
    std::vector<CPrinterStatus> statuses;
    std::vector<std::string> names;
    for (const CPrinterHistory& printer : printers) {
        statuses.push_back(SummarizePrinter(printer));
        names.push_back(printer.m_strName);
    }
    FillFleetGrid(m_fleet, statuses);
    m_fleet.FitColumnWidths(0, m_fleet.ColumnCount() - 1, m_fleet.RowCount());
    m_fleet.RedrawAll();
    m_pPivot->SetStore(m_pStore.get(), names);
    m_pPivot->UpdateReport();
}

void CHistoryWindow::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_F1 && pEvent->modifiers() == Qt::NoModifier) {
        ShowHelpContext(kHelpCommandBase + ID_HISTORY);
        return;
    }
    QMainWindow::keyPressEvent(pEvent);
}

} // namespace hpa
