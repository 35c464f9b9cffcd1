#pragma once
// Collect now: the printers of a fleet file, or the printer of the current
// connection, collected into a history in the background. One row per
// printer with its name, a progress bar and what it is doing (or why it
// failed), a summary line and a Cancel button. The downloads run on worker
// threads; the interface thread only looks at their state on a timer, so
// the window never waits for a printer.
#include "history/FleetCollector.h"

#include <QString>
#include <QWidget>

#include <memory>
#include <mutex>
#include <vector>

class QGridLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace hpa {

class CCollectPanel : public QWidget {
    Q_OBJECT
public:
    // Printers collected at once from a fleet file.
    static constexpr std::size_t kParallel = 8;

    explicit CCollectPanel(QWidget* pParent = nullptr);
    // Cancels a running collection and waits for its workers.
    ~CCollectPanel() override;

    // Starts collecting every printer of the fleet file into the history at
    // dbLocation (empty: the default history). False with a message, and
    // nothing started, when a collection still runs, the fleet file is
    // wrong or the history cannot be opened.
    bool StartFleet(const QString& fleetFile, const QString& dbLocation, QString& error);
    // The same for one printer, with the settings of the current connection
    // (host, user, password, account).
    bool StartOne(const QString& printerName, const DownloadSettings& connection,
                  const QString& dbLocation, QString& error);
    bool IsRunning() const;
    // Stops every download at once; returns without waiting. Finished
    // follows when the last printer has ended.
    void Cancel();

    // What the rows show (for the window that hosts the panel, and tests).
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    QString RowName(int nRow) const;
    CollectStep RowStep(int nRow) const;
    QString RowText(int nRow) const;
    int RowPercent(int nRow) const;
    // A printer's end (jobs seen and new when collected).
    CFleetResult RowResult(int nRow) const;
    QString SummaryText() const;

signals:
    // Every printer has ended (collected, failed or cancelled).
    void Finished();

private:
    struct CRow {
        QLabel* m_pName = nullptr;
        QProgressBar* m_pBar = nullptr;
        QLabel* m_pText = nullptr;
    };
    // What the workers report, read by the timer.
    struct CShared {
        std::mutex m_mutex;
        std::vector<CCollectProgress> m_progress;
    };

    bool Start(std::vector<CFleetTarget> targets, const QString& dbLocation, QString& error);
    void ClearRows();
    void AddRow(const QString& strName);
    void Refresh();
    void ShowRow(int nRow, const CCollectProgress& progress, const CFleetResult* pResult);

    QGridLayout* m_pRows = nullptr;
    QLabel* m_pSummary = nullptr;
    QPushButton* m_pCancel = nullptr;
    QTimer* m_pTimer = nullptr;
    std::vector<CRow> m_rows;
    std::vector<CollectStep> m_steps;
    std::shared_ptr<CShared> m_pShared;
    std::unique_ptr<CFleetCollector> m_pCollector;
};

} // namespace hpa
