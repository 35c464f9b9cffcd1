#pragma once
// The History window's report: a row of choices (group by, period, printer),
// the report in our grid (sorted by a click on any column heading, find and
// copy, export and print as the main grids do) and the chart beside it. Every
// change of a choice runs the report again, from the same core function as
// `hpactl report`.
#include "grid/GridPrinter.h"
#include "history/HistoryReport.h"
#include "view/qt/AccGrid.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace hpa {

class CHistoryChart;
class CHistoryStore;
class CMessages;

// The report's grid: a click on a column heading sorts by that column, a
// second click on it turns the order round.
class CPivotGrid : public CAccGrid {
public:
    std::function<void(int)> m_fnHeadingClick;
    void OnColumnHeadingClick(int nCol, int bDown) override;
};

class CPivotPane : public QWidget {
    Q_OBJECT
public:
    explicit CPivotPane(CMessages& messages, QWidget* pParent = nullptr);
    ~CPivotPane() override;

    // The history reported on (not owned; null: nothing to show) and the
    // printers to choose from.
    void SetStore(CHistoryStore* pStore, const std::vector<std::string>& printers);
    // Runs the report with the choices made and shows it; false when it
    // could not (a message says why).
    bool UpdateReport();

    // Sorts the shown rows by a column (0: the key) and shows them.
    void SortBy(int nColumn, bool bAscending);
    void Copy();
    void Find();
    // Asks for a file (the export dialog unless a file asker is set) and
    // writes the report grid there as the main grids are exported.
    void Export();
    // Prints the report grid through the program's print path: the print
    // dialog (or the dialog set by SetPrintDialog), then the pages, each
    // with a header naming the period, the grouping and the printers.
    bool Print();
    void CopyChart();
    void SaveChart();

    // Seams: the file a command asks for ("export" or "chart"), and the
    // print dialog.
    void SetFileAsker(std::function<QString(const QString& strPurpose)> fnAsk)
    {
        m_fnAskFile = std::move(fnAsk);
    }
    void SetPrintDialog(std::function<bool(QPrinter&)> fnDialog)
    {
        m_fnPrintDialog = std::move(fnDialog);
    }

    const CReport& Report() const { return m_report; }
    CPivotGrid& Grid() { return m_grid; }
    CHistoryChart* Chart() const { return m_pChart; }
    QComboBox* GroupBy() const { return m_pGroupBy; }
    QLineEdit* Since() const { return m_pSince; }
    QLineEdit* Until() const { return m_pUntil; }
    QComboBox* PrinterChoice() const { return m_pPrinter; }
    QPushButton* Button(const QString& strObjectName) const;

private:
    bool ReadQuery(CReportQuery& query);
    void ShowRows();
    QString AskFile(const QString& strPurpose);

    CMessages& m_messages;
    CHistoryStore* m_pStore = nullptr;
    CPivotGrid m_grid;
    CGridPrinter m_gridPrinter{m_grid};
    CReport m_report;
    int m_nSortColumn = 0;
    bool m_bAscending = true;
    QComboBox* m_pGroupBy = nullptr;
    QLineEdit* m_pSince = nullptr;
    QLineEdit* m_pUntil = nullptr;
    QComboBox* m_pPrinter = nullptr;
    QLabel* m_pNote = nullptr;
    CHistoryChart* m_pChart = nullptr;
    std::function<QString(const QString&)> m_fnAskFile;
    std::function<bool(QPrinter&)> m_fnPrintDialog;
};

} // namespace hpa
