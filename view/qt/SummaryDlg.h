#pragma once
// View > Summary...: the "Accounting Summary" dialog. Eleven labelled
// figures of the accounting set in a two-column grid that takes over the
// dialog's placeholder; the job file consumption row turns yellow from 80
// percent and red from 90. "&Print" prints the table on the default
// printer without a dialog.
#include "grid/GridDC.h"
#include "view/SummaryTable.h"
#include "view/qt/AccGrid.h"

#include <QDialog>

#include <functional>

class QPushButton;

namespace hpa {

class CAcc;
class CAccViewBase;
class CGridPrinter;
class CGridWnd;
class CMessages;
class CUGCtrl;

// Help context of View > Summary... (0x10000 + 32783).
inline constexpr unsigned kSummaryHelpContext = 98319;
// The placeholder control the grid takes over.
inline constexpr int kSummaryGridItem = 1052;

// The grid the summary is shown in, kept for the whole run; its printing
// object goes with it.
extern CAccGrid g_summaryGrid;
CGridPrinter& SummaryGridPrinter();

class CSummaryDlg : public QDialog {
    Q_OBJECT
public:
    // fnPrint prints the grid in its print form (columns 0 to last, rows 0
    // to last, no headings); empty: PrintRange on the default printer.
    CSummaryDlg(CUGCtrl& grid, const CAcc& acc, const CGridFont& gridFont,
                const CGridFont& printFont, CMessages& messages, QWidget* pParent = nullptr,
                std::function<int(CUGCtrl&)> fnPrint = {});

    CGridWnd* GridWindow() const { return m_pGridWnd; }
    QPushButton* PrintButton() const { return m_pPrint; }

    void OnPrintButton();

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    int PrintOnDefaultPrinter();

    CUGCtrl& m_grid;
    CGridFont m_gridFont;
    CGridFont m_printFont;
    CMessages& m_messages;
    std::function<int(CUGCtrl&)> m_fnPrint;
    CGridWnd* m_pGridWnd = nullptr;
    QPushButton* m_pPrint = nullptr;
};

// What the view's OnViewSummary calls: the dialog on g_summaryGrid with no
// parent window (screenFont and printFont: g_gridFont and
// g_printGridFont), then the keyboard focus back to the grid shown.
void RunSummaryCommand(CAccViewBase& view, const CGridFont& screenFont, const CGridFont& printFont);

} // namespace hpa
