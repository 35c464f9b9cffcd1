#include "app/ViewState.h"

#include "app/MainFrame.h"
#include "app/ViewCommands.h"
#include "document/WorkingDir.h"
#include "grid/UGCtrl.h"
#include "transfer/qt/ConnectCommand.h"

namespace hpa {

CViewState::CViewState(QWidget* pParent) : CAccViewBase(pParent)
{
    for (auto& pGrid : m_grids)
        pGrid = std::make_unique<CUGCtrl>();
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    AddViewCommandRules(m_commands, *this, [this] {
        return m_nCurrentGrid >= 0 && m_bCellClicked[static_cast<std::size_t>(m_nCurrentGrid)];
    });
    AddConnectCommand(m_commands, *this);
}

CViewState::~CViewState()
{
    // The view's end is the end of the download's working files.
    g_workDir.Remove();
}

void CViewState::SetCurrent(int nKind, int nGrid)
{
    m_nCurrentKind = nKind;
    m_nCurrentGrid = nGrid;
}

void CViewState::CloseFindDialog(int) {}

void CViewState::ShowGrid(int nGrid, bool bShow)
{
    if (nGrid >= 0 && nGrid < 3)
        m_bShown[static_cast<std::size_t>(nGrid)] = bShow;
}

void CViewState::FocusGrid(int) {}

void CViewState::SetDataKindPaneText(const QString& strText)
{
    if (CMainFrame* pFrame = CMainFrame::Instance())
        pFrame->SetDataKindPaneText(strText);
}

CUGCtrl& CViewState::Grid(int nIndex)
{
    return *m_grids.at(static_cast<std::size_t>(nIndex));
}

bool CViewState::IsGridShown(int nGrid) const
{
    return nGrid >= 0 && nGrid < 3 && m_bShown[static_cast<std::size_t>(nGrid)];
}

void CViewState::SetCellClicked(int nGrid, bool bClicked)
{
    if (nGrid >= 0 && nGrid < 3)
        m_bCellClicked[static_cast<std::size_t>(nGrid)] = bClicked;
}

bool CViewState::IsCellClicked(int nGrid) const
{
    return nGrid >= 0 && nGrid < 3 && m_bCellClicked[static_cast<std::size_t>(nGrid)];
}

} // namespace hpa
