#include "history/qt/CollectPanel.h"

#include "history/FleetFile.h"
#include "history/HistoryStore.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

namespace hpa {

namespace {

// How often the rows follow the workers: often enough for a moving bar,
// rarely enough to cost nothing.
constexpr int kRefreshMs = 100;

QString FromUtf8(const std::string& str)
{
    return QString::fromUtf8(str.data(), static_cast<qsizetype>(str.size()));
}

QString StepText(const CCollectProgress& progress, const CFleetResult* pResult)
{
    if (pResult) {
        switch (pResult->m_step) {
        case CollectStep::Collected:
            return CCollectPanel::tr("Collected: %1 jobs, %2 new")
                .arg(pResult->m_ingest.m_nJobsSeen)
                .arg(pResult->m_ingest.m_nJobsNew);
        case CollectStep::Cancelled:
            return CCollectPanel::tr("Cancelled");
        default:
            return CCollectPanel::tr("Failed: %1").arg(FromUtf8(pResult->m_strMessage));
        }
    }
    switch (progress.m_step) {
    case CollectStep::Connecting:
        return CCollectPanel::tr("Connecting...");
    case CollectStep::Downloading:
        return CCollectPanel::tr("%1 (%2 KB)")
            .arg(FromUtf8(progress.m_strFile))
            .arg(progress.m_nBytes / 1024);
    case CollectStep::Storing:
        return CCollectPanel::tr("Storing...");
    default:
        return CCollectPanel::tr("Waiting");
    }
}

} // namespace

CCollectPanel::CCollectPanel(QWidget* pParent) : QWidget(pParent)
{
    auto* pLayout = new QVBoxLayout(this);
    auto* pScroll = new QScrollArea(this);
    pScroll->setWidgetResizable(true);
    auto* pRowsWidget = new QWidget(pScroll);
    m_pRows = new QGridLayout(pRowsWidget);
    m_pRows->setColumnStretch(2, 1);
    m_pRows->setAlignment(Qt::AlignTop);
    pScroll->setWidget(pRowsWidget);
    pLayout->addWidget(pScroll, 1);

    auto* pBottom = new QHBoxLayout;
    m_pSummary = new QLabel(this);
    m_pSummary->setWordWrap(true);
    m_pCancel = new QPushButton(tr("Cancel"), this);
    m_pCancel->setEnabled(false);
    pBottom->addWidget(m_pSummary, 1);
    pBottom->addWidget(m_pCancel);
    pLayout->addLayout(pBottom);

    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(kRefreshMs);
    connect(m_pTimer, &QTimer::timeout, this, &CCollectPanel::Refresh);
    connect(m_pCancel, &QPushButton::clicked, this, &CCollectPanel::Cancel);
}

CCollectPanel::~CCollectPanel()
{
    // The collector's destructor cancels and joins; the workers only touch
    // the shared state, which lives on until they are gone.
    m_pCollector.reset();
}

bool CCollectPanel::StartFleet(const QString& fleetFile, const QString& dbLocation, QString& error)
{
    if (IsRunning()) {
        error = tr("A collection is still running.");
        return false;
    }
    std::vector<CFleetPrinter> printers;
    CFleetError fleetError;
    const std::string strFleet = fleetFile.toStdString();
    if (!ReadFleetFile(strFleet, printers, fleetError)) {
        error = FromUtf8(FormatFleetError(fleetError));
        return false;
    }
    if (printers.empty()) {
        error = tr("%1 names no printer.").arg(fleetFile);
        return false;
    }
    return Start(FleetTargets(printers, strFleet), dbLocation, error);
}

bool CCollectPanel::StartOne(const QString& printerName, const DownloadSettings& connection,
                             const QString& dbLocation, QString& error)
{
    if (IsRunning()) {
        error = tr("A collection is still running.");
        return false;
    }
    if (printerName.trimmed().isEmpty() || connection.m_strHost.empty()) {
        error = tr("Collecting needs a printer name and a connection to a printer.");
        return false;
    }
    CFleetTarget target;
    target.m_strName = printerName.toStdString();
    target.m_download = connection;
    std::vector<CFleetTarget> targets;
    targets.push_back(std::move(target));
    return Start(std::move(targets), dbLocation, error);
}

bool CCollectPanel::Start(std::vector<CFleetTarget> targets, const QString& dbLocation,
                          QString& error)
{
    // The history is opened (created or brought up to date) once before any
    // download, so that a bad database is said at once, not per printer.
    const std::string strHistory = ResolveHistoryLocation(dbLocation.toStdString());
    std::string strError;
    if (!OpenHistoryStore(strHistory, strError)) {
        error = FromUtf8(strError);
        return false;
    }
    m_pCollector.reset();
    ClearRows();
    for (const CFleetTarget& target : targets)
        AddRow(FromUtf8(target.m_strName));
    m_steps.assign(targets.size(), CollectStep::Waiting);
    m_pShared = std::make_shared<CShared>();
    m_pShared->m_progress.resize(targets.size());

    CFleetCallbacks callbacks;
    callbacks.m_fnProgress = [pShared = m_pShared](std::size_t n,
                                                   const CCollectProgress& progress) {
        std::lock_guard<std::mutex> lock(pShared->m_mutex);
        pShared->m_progress[n] = progress;
    };
    m_pCollector =
        std::make_unique<CFleetCollector>(std::move(targets), strHistory, kParallel, callbacks);
    m_pCollector->Start();
    m_pCancel->setEnabled(true);
    m_pSummary->setText(tr("Collecting %n printer(s)...", nullptr, RowCount()));
    m_pTimer->start();
    return true;
}

bool CCollectPanel::IsRunning() const
{
    return m_pTimer->isActive();
}

void CCollectPanel::Cancel()
{
    if (!IsRunning())
        return;
    m_pCollector->Cancel();
    m_pCancel->setEnabled(false);
    m_pSummary->setText(tr("Cancelling..."));
}

void CCollectPanel::ClearRows()
{
    for (CRow& row : m_rows) {
        delete row.m_pName;
        delete row.m_pBar;
        delete row.m_pText;
    }
    m_rows.clear();
}

void CCollectPanel::AddRow(const QString& strName)
{
    QWidget* pParent = m_pRows->parentWidget();
    CRow row;
    row.m_pName = new QLabel(strName, pParent);
    row.m_pBar = new QProgressBar(pParent);
    row.m_pBar->setRange(0, 100);
    row.m_pBar->setValue(0);
    row.m_pText = new QLabel(tr("Waiting"), pParent);
    row.m_pText->setWordWrap(true);
    row.m_pText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const int nRow = RowCount();
    m_pRows->addWidget(row.m_pName, nRow, 0);
    m_pRows->addWidget(row.m_pBar, nRow, 1);
    m_pRows->addWidget(row.m_pText, nRow, 2);
    m_rows.push_back(row);
}

void CCollectPanel::ShowRow(int nRow, const CCollectProgress& progress, const CFleetResult* pResult)
{
    CRow& row = m_rows[static_cast<std::size_t>(nRow)];
    m_steps[static_cast<std::size_t>(nRow)] = pResult ? pResult->m_step : progress.m_step;
    int nPercent = std::max(progress.m_nPercent, 0);
    if (pResult && pResult->m_step == CollectStep::Collected)
        nPercent = 100;
    row.m_pBar->setValue(nPercent);
    row.m_pText->setText(StepText(progress, pResult));
}

void CCollectPanel::Refresh()
{
    if (!m_pCollector)
        return;
    // Finished is read before the results, so the last look shows every end.
    const bool bFinished = m_pCollector->IsFinished();
    std::vector<CCollectProgress> progress;
    {
        std::lock_guard<std::mutex> lock(m_pShared->m_mutex);
        progress = m_pShared->m_progress;
    }
    int nCollected = 0;
    int nFailed = 0;
    int nCancelled = 0;
    for (int n = 0; n < RowCount(); ++n) {
        const CFleetResult result = m_pCollector->Result(static_cast<std::size_t>(n));
        const bool bEnded = result.m_step != CollectStep::Waiting;
        ShowRow(n, progress[static_cast<std::size_t>(n)], bEnded ? &result : nullptr);
        nCollected += result.m_step == CollectStep::Collected;
        nFailed += result.m_step == CollectStep::Failed;
        nCancelled += result.m_step == CollectStep::Cancelled;
    }
    if (!bFinished)
        return;
    // Every printer has ended: the workers are returning, so this is brief.
    m_pCollector->Wait();
    m_pTimer->stop();
    m_pCancel->setEnabled(false);
    QString strSummary = tr("%1 collected").arg(nCollected);
    if (nFailed)
        strSummary += tr(", %1 failed").arg(nFailed);
    if (nCancelled)
        strSummary += tr(", %1 cancelled").arg(nCancelled);
    m_pSummary->setText(strSummary + QLatin1Char('.'));
    emit Finished();
}

QString CCollectPanel::RowName(int nRow) const
{
    return m_rows.at(static_cast<std::size_t>(nRow)).m_pName->text();
}

CollectStep CCollectPanel::RowStep(int nRow) const
{
    return m_steps.at(static_cast<std::size_t>(nRow));
}

QString CCollectPanel::RowText(int nRow) const
{
    return m_rows.at(static_cast<std::size_t>(nRow)).m_pText->text();
}

int CCollectPanel::RowPercent(int nRow) const
{
    return m_rows.at(static_cast<std::size_t>(nRow)).m_pBar->value();
}

CFleetResult CCollectPanel::RowResult(int nRow) const
{
    return m_pCollector ? m_pCollector->Result(static_cast<std::size_t>(nRow)) : CFleetResult();
}

QString CCollectPanel::SummaryText() const
{
    return m_pSummary->text();
}

} // namespace hpa
