#include "view/qt/SummaryDlg.h"

#include "accounting/Acc.h"
#include "app/AccViewBase.h"
#include "app/DialogUnits.h"
#include "app/HelpWindow.h"
#include "app/VexAccApp.h"
#include "grid/GridPrinter.h"
#include "grid/UGCtrl.h"
#include "grid/qt/GridPrintJob.h"
#include "grid/qt/GridWnd.h"
#include "view/SummaryRows.h"

#include <QKeyEvent>
#include <QPrinter>
#include <QPushButton>

namespace hpa {

namespace {

constexpr int kLabelColumnWidth = 130;
constexpr int kPrintWidthReduction = 30;

} // namespace

CAccGrid g_summaryGrid;

CGridPrinter& SummaryGridPrinter()
{
    static CGridPrinter printer(g_summaryGrid);
    return printer;
}

void FillSummaryGrid(CUGCtrl& grid, const CAcc& acc, const CGridFont& gridFont)
{
    CUGCell cell;
    grid.GetGridDefaults(&cell);
    cell.SetAlignment(kAlignLeft | kAlignVCenter);
    grid.SetGridDefaults(&cell);
    grid.SetDefaultRowHeight(16);
    grid.SetGridFont(gridFont);
    grid.SetHScrollBarHeight(0);
    grid.SetVScrollBarWidth(0);
    grid.SetColumnCount(2);
    grid.SetRowCount(kSummaryRowCount);
    grid.SetColumnWidth(0, kLabelColumnWidth);
    grid.GetColumnDefaults(1, &cell);
    cell.SetAlignment(kAlignRight | kAlignVCenter);
    grid.SetColumnDefaults(1, &cell);
    grid.SetSideHeadingWidth(1);
    grid.SetTopHeadingHeight(1);
    grid.SetCurrentCellStyle(0);

    const COLORREF crConsumption = ConsumptionBackColor(acc.m_nJobFileConsumption);
    int nRow = 0;
    for (const CSummaryRow& row : SummaryRows(acc)) {
        grid.SetCellText(0, nRow, row.m_pszLabel);
        grid.SetCellText(1, nRow, row.m_strValue);
        if (nRow == kSummaryConsumptionRow) {
            // Black text reads on white, yellow and red, whatever text
            // colour the desktop's scheme gives the other rows.
            for (int nCol = 0; nCol < 2; ++nCol) {
                grid.ReadCell(nCol, nRow, &cell);
                cell.SetBackColor(crConsumption);
                cell.SetTextColor(MakeRGB(0, 0, 0));
                grid.WriteCell(nCol, nRow, &cell);
            }
        }
        ++nRow;
    }
}

int WithSummaryPrintForm(CUGCtrl& grid, const CGridFont& printFont, const CGridFont& screenFont,
                         const std::function<int()>& fnPrint)
{
    int nWidth0 = 0, nWidth1 = 0;
    grid.GetColumnWidth(0, &nWidth0);
    grid.GetColumnWidth(1, &nWidth1);
    grid.EnableGridPaint(0);
    grid.SetGridFont(printFont);
    grid.SetColumnWidth(0, nWidth0 - kPrintWidthReduction);
    grid.SetColumnWidth(1, nWidth1 - kPrintWidthReduction);
    const int nResult = fnPrint ? fnPrint() : 1;
    grid.SetGridFont(screenFont);
    grid.SetColumnWidth(0, nWidth0);
    grid.SetColumnWidth(1, nWidth1);
    grid.EnableGridPaint(1);
    return nResult;
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
    CVexAccApp* pApp = CVexAccApp::Instance();
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
