#pragma once
// Admin > History...: the fleet history beside the main window (modeless).
// At the top the fleet table, one row per printer as `hpactl printers` lists
// them; below it the report and its chart (CPivotPane). The history is the
// one last opened (kept in the settings), else the default one; "Open
// Database..." takes a SQLite file or a PostgreSQL connection URI.
#include "history/qt/HistoryLocation.h"
#include "transfer/DownloadSession.h"
#include "view/qt/AccGrid.h"

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QDockWidget;
class QLabel;

namespace hpa {

class CCollectPanel;
class CHistoryStore;
class CMessages;
class CPivotPane;
class CProfile;

class CHistoryWindow : public QMainWindow {
    Q_OBJECT
public:
    CHistoryWindow(CProfile& profile, CMessages& messages, QWidget* pParent = nullptr);
    ~CHistoryWindow() override;

    // The window of the application, made on first use and placed beside
    // pMainWindow; shown and raised.
    static CHistoryWindow* ShowBeside(QWidget* pMainWindow, CProfile& profile, CMessages& messages);
    static CHistoryWindow* Instance();

    // Opens the history at strLocation (a file or a PostgreSQL URI) and shows
    // it; a failure leaves the history shown before and says why. With
    // bRemember the location is kept in the settings.
    bool OpenDatabase(const std::string& strLocation, bool bRemember);
    // "Open Database...": asks for the location, then opens it.
    void OnOpenDatabase();
    // The location the window opens first: the one kept, else HPA_DB or the
    // default file.
    std::string StartLocation() const;
    const std::string& Location() const { return m_strLocation; }
    CHistoryStore* Store() const { return m_pStore.get(); }

    CAccGrid& FleetGrid() { return m_fleet; }
    CPivotPane* Pivot() const { return m_pPivot; }

    // Collect Now: every printer of a fleet file, or one printer with the
    // given connection, into the history on show (the start location when
    // none is open), in the background. The panel at the bottom shows each
    // printer's progress; the window reads the history again when the last
    // printer has ended. False, with the reason shown, when nothing started.
    bool CollectFleet(const QString& fleetFile);
    bool CollectPrinter(const QString& printerName, const DownloadSettings& connection);
    CCollectPanel* CollectPanel() const { return m_pCollect; }

public slots:
    // Reads the fleet table, the report and the chart again.
    void Reload();
    // The "Collect Now" menu: "Fleet File..." asks for the fleet file (the
    // one last chosen, else /etc/hpa/fleet.conf), "Printer..." for a printer
    // as Connect to Printer does.
    void CollectNow();

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    CProfile& m_profile;
    CMessages& m_messages;
    std::unique_ptr<CHistoryStore> m_pStore;
    std::string m_strLocation;
    CAccGrid m_fleet;
    CPivotPane* m_pPivot = nullptr;
    QLabel* m_pLocationLabel = nullptr;
    CCollectPanel* m_pCollect = nullptr;
    QDockWidget* m_pCollectDock = nullptr;

    bool StartCollection(const std::function<bool(const QString&, QString&)>& fnStart);
    void OnCollectionFinished();
};

} // namespace hpa
