#include "view/qt/AccView.h"

#include "document/WorkingDir.h"
#include "grid/qt/GridWnd.h"
#include "transfer/qt/ConnectCommand.h"
#include "ui/CommandIds.h"
#include "ui/DataKindPane.h"
#include "ui/ViewCommands.h"

#include <QCoreApplication>
#include <QPainter>
#include <QResizeEvent>

namespace hpa {

namespace {

// Every grid starts at this size; the first resize of the view fits them.
const QRect kInitialGridRect(0, 0, 150, 150);

} // namespace

CVexAccView::CVexAccView(QWidget* pParent) : CVexAccView(ProgramViewGrids(), pParent) {}

CVexAccView::CVexAccView(const CViewGrids& grids, QWidget* pParent)
    : CAccViewBase(pParent), m_grids(grids)
{
    CreateGrids();
    AddCommands();
}

CVexAccView::~CVexAccView()
{
    // The last download's working files go with the view.
    if (m_grids.m_pWorkDir)
        m_grids.m_pWorkDir->Remove();
}

// The three grids as hidden children (Status, Paper, Job, as their ids
// run), the two fonts, and the same defaults for every grid: text left and
// vertically centred, range selection, one row height of 16 pixels.
void CVexAccView::CreateGrids()
{
    for (int nIndex : {kKindStatus, kKindPaper, kKindJob})
        AccGrid(nIndex).CreateGridWnd(this, kInitialGridRect,
                                      kGridControlId[static_cast<std::size_t>(nIndex)], false);

    g_gridFont = MakeScreenGridFont(logicalDpiY());
    g_printGridFont = MakePrintGridFont();

    for (int nIndex = 0; nIndex < kDataKindCount; ++nIndex) {
        CAccGrid& grid = AccGrid(nIndex);
        grid.SetGridFont(g_gridFont);
        SetAccGridDefaults(grid);
    }
}

void CVexAccView::AddCommands()
{
    // Data kinds, Copy's enabling, Connect's and the rest's enabling rules.
    AddViewCommandRules(m_commands, *this, [this] {
        const CAccGrid* pGrid = ShownGrid();
        return pGrid && pGrid->m_bCellClicked;
    });
    m_commands.On(ID_EDIT_FIND, [this] { OnEditFind(); });
    m_commands.On(ID_EDIT_COPY, [this] { OnEditCopy(); });
    m_commands.On(ID_EXPORT, [this] { OnExport(); });
    m_commands.On(ID_FILTERS, [this] { OnFilters(); });
    m_commands.On(ID_VIEW_SUMMARY, [this] { OnViewSummary(); });
    m_commands.On(ID_FILE_PRINT, [this] { OnFilePrint(); });
    m_commands.On(ID_FILE_PRINT_DIRECT, [this] { OnFilePrintDirect(); });
    m_commands.On(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
    AddConnectCommand(m_commands, *this);
}

// ---- grids ------------------------------------------------------------------------

CAccGrid& CVexAccView::AccGrid(int nIndex)
{
    return m_grids.m_pGrids->at(static_cast<std::size_t>(nIndex));
}

CAccGrid* CVexAccView::ShownGrid()
{
    const int nIndex = CurrentGrid();
    return IsValidIndex(nIndex) ? &AccGrid(nIndex) : nullptr;
}

CGridWnd* CVexAccView::GridWnd(int nIndex)
{
    return IsValidIndex(nIndex) ? AccGrid(nIndex).GetGridWnd() : nullptr;
}

bool CVexAccView::IsGridShown(int nIndex) const
{
    const CGridWnd* pWnd = IsValidIndex(nIndex)
                               ? m_grids.m_pGrids->at(static_cast<std::size_t>(nIndex)).GetGridWnd()
                               : nullptr;
    return pWnd && !pWnd->isHidden();
}

// ---- CViewLink ----------------------------------------------------------------------

void CVexAccView::SetCurrent(int nKind, int nGrid)
{
    *m_grids.m_pnCurrentKind = nKind;
    *m_grids.m_pnCurrentGrid = nGrid;
}

void CVexAccView::CloseFindDialog(int nGrid)
{
    if (IsValidIndex(nGrid))
        AccGrid(nGrid).CloseFindDialog();
}

void CVexAccView::ShowGrid(int nGrid, bool bShow)
{
    CGridWnd* pWnd = GridWnd(nGrid);
    if (!pWnd)
        return;
    if (bShow)
        pWnd->setGeometry(rect());
    pWnd->setVisible(bShow);
}

void CVexAccView::FocusGrid(int nGrid)
{
    if (CGridWnd* pWnd = GridWnd(nGrid))
        pWnd->setFocus(Qt::OtherFocusReason);
}

// The pane belongs to the main frame the view sits in; a view outside a
// frame has no pane to name.
void CVexAccView::SetDataKindPaneText(const QString& strText)
{
    if (auto* pFrame = dynamic_cast<CDataKindPane*>(window()))
        pFrame->SetDataKindPaneText(strText);
}

// ---- commands -------------------------------------------------------------------------

void CVexAccView::OnSelectDataKind(int nID)
{
    SelectDataKind(*this, nID);
}

void CVexAccView::OnEditFind()
{
    if (CAccGrid* pGrid = ShownGrid())
        pGrid->OpenFindDialog();
}

void CVexAccView::OnEditCopy()
{
    if (CAccGrid* pGrid = ShownGrid()) {
        pGrid->CopySelectionToClipboard();
        pGrid->m_bCellClicked = false;
    }
}

// ---- window -----------------------------------------------------------------------------

// Every grid covers the whole client area, the hidden ones too, so a grid
// is ready at the right size the moment it is shown.
void CVexAccView::FitGridsToClient()
{
    const QRect rc = rect();
    for (int nIndex = 0; nIndex < kDataKindCount; ++nIndex) {
        CGridWnd* pWnd = GridWnd(nIndex);
        if (!pWnd || pWnd->geometry() == rc)
            continue;
        const QSize oldSize = pWnd->size();
        pWnd->setGeometry(rc);
        // A hidden widget hears of its new size only when shown; the grid
        // lays itself out now instead.
        if (pWnd->isHidden()) {
            QResizeEvent event(rc.size(), oldSize);
            QCoreApplication::sendEvent(pWnd, &event);
        }
    }
}

void CVexAccView::resizeEvent(QResizeEvent* pEvent)
{
    CAccViewBase::resizeEvent(pEvent);
    FitGridsToClient();
}

// White behind the grids (seen while none is shown); the visible grid
// paints itself.
void CVexAccView::paintEvent(QPaintEvent*)
{
    if (m_bPrinting)
        return;
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
}

} // namespace hpa
