#include "view/qt/SummaryDlg.h"

#include "accounting/Acc.h"
#include "grid/GridPrinter.h"
#include "grid/UGCtrl.h"
#include "grid/qt/GridWnd.h"
#include "grid/qt/PrinterJob.h"
#include "ui/AccViewBase.h"
#include "ui/AppServices.h"
#include "ui/DialogUnits.h"
#include "ui/HelpWindow.h"
#include "view/SummaryTable.h"

#include <QKeyEvent>
#include <QPrinter>
#include <QPushButton>

namespace hpa {

CAccGrid g_summaryGrid;

CGridPrinter& SummaryGridPrinter()
{
    static CGridPrinter printer(g_summaryGrid);
    return printer;
}

// The Accounting Summary dialog's layout: 247 x 126 dialog units in the 8-point dialog font.
CSummaryDlg::CSummaryDlg(CUGCtrl& grid, const CAcc& acc, const CGridFont& gridFont,
                         const CGridFont& printFont, CMessages& messages, QWidget* pParent,
                         std::function<int(CUGCtrl&)> fnPrint)
    : QDialog(pParent), m_grid(grid), m_gridFont(gridFont), m_printFont(printFont),
      m_messages(messages), m_fnPrint(std::move(fnPrint))
{
    setWindowTitle(QStringLiteral("Accounting Summary"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(CDialogUnits::DialogFont(8));
    const CDialogUnits du(font());
    setFixedSize(du.X(247), du.Y(126));

    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setGeometry(du.Rect(190, 7, 50, 14));
    pOk->setDefault(true);
    m_pPrint = new QPushButton(QStringLiteral("&Print"), this);
    m_pPrint->setGeometry(du.Rect(190, 43, 50, 14));
    m_pPrint->setAutoDefault(false);
    connect(pOk, &QPushButton::clicked, this, &CSummaryDlg::accept);
    connect(m_pPrint, &QPushButton::clicked, this, &CSummaryDlg::OnPrintButton);

    auto* pPlaceholder = new QWidget(this);
    pPlaceholder->setProperty(kGridControlIdProperty, kSummaryGridItem);
    pPlaceholder->setGeometry(du.Rect(7, 7, 154, 109));

    m_pGridWnd = new CGridWnd(m_grid);
    if (m_pGridWnd->AttachToDialogItem(this, kSummaryGridItem) != 0) {
        delete m_pGridWnd;
        m_pGridWnd = nullptr;
    }
    FillSummaryGrid(m_grid, acc, m_gridFont);
    pOk->setFocus();
}

int CSummaryDlg::PrintOnDefaultPrinter()
{
    // A printer of its own: the system default with one copy, whatever
    // Print Setup chose for the view.
    QPrinter printer(QPrinter::HighResolution);
    CGridPrinter ownPrinter(m_grid);
    CGridPrinter& gridPrinter = &m_grid == &g_summaryGrid ? SummaryGridPrinter() : ownPrinter;
    return PrintRange(
        gridPrinter, printer, 0, 0, 0, m_grid.ColumnCount() - 1, m_grid.RowCount() - 1, m_messages,
        [this](const QString& strSuggested) { return AskPdfFileName(this, strSuggested); });
}

void CSummaryDlg::OnPrintButton()
{
    WithSummaryPrintForm(m_grid, m_printFont, m_gridFont, [this] {
        return m_fnPrint ? m_fnPrint(m_grid) : PrintOnDefaultPrinter();
    });
}

void CSummaryDlg::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_F1 && pEvent->modifiers() == Qt::NoModifier) {
        ShowHelpContext(kSummaryHelpContext);
        return;
    }
    QDialog::keyPressEvent(pEvent);
}

void RunSummaryCommand(CAccViewBase& view, const CGridFont& screenFont, const CGridFont& printFont)
{
    CAppServices* pApp = CAppServices::Instance();
    if (!pApp)
        return;
    {
        CSummaryDlg dialog(g_summaryGrid, g_acc, screenFont, printFont, pApp->Messages());
        dialog.exec();
    }
    const int nGrid = view.CurrentGrid();
    if (nGrid >= 0)
        view.FocusGrid(nGrid);
}

} // namespace hpa
