// The find dialog's life and its messages: each Find Next searches the
// current column of the current store from the current row and moves the
// current cell to the row found.
#include "grid/GridFind.h"

#include "grid/UGCtrl.h"
#include "platform/Messages.h"

namespace hpa {

// The dialog's own destructor takes its window away; the control is being
// destroyed, so no notification and no focus change happen here.
CGridFind::~CGridFind() = default;

int CGridFind::Open()
{
    // A dialog whose window went away with its owner no longer counts as
    // open; otherwise no dialog could ever open again.
    if (m_pDialog && !m_pDialog->HasWindow() && !m_pInUse)
        ClearState();
    if (m_pDialog || m_pInUse || !m_factory)
        return 1;
    m_pDialog = m_factory(*this);
    if (!m_pDialog)
        return 1;
    m_bFirstSearch = true;
    m_bDialogOpen = true;
    // The focus frame of the current cell shows while the dialog is open.
    m_ctrl.RedrawCell(m_ctrl.GetCurrentColumn(), m_ctrl.GetCurrentRow());
    return 0;
}

int CGridFind::Close()
{
    if (!m_pDialog)
        return 0;
    m_pDialog->DestroyWindow();
    ClearState();
    return 1;
}

void CGridFind::ClearState()
{
    m_pDialog.reset();
    m_pInUse = nullptr;
    m_bFirstSearch = false;
    m_bDialogOpen = false;
    m_ctrl.RedrawCell(m_ctrl.GetCurrentColumn(), m_ctrl.GetCurrentRow());
}

void CGridFind::OnFindMessage(CGridFindDialog* pDialog)
{
    // Only the open dialog speaks; a late message from one already closed
    // (or a second message while one is being handled) is dropped.
    if (!pDialog || pDialog != m_pDialog.get() || !pDialog->HasWindow() || m_pInUse)
        return;
    if (pDialog->IsTerminating()) {
        pDialog->DestroyWindow();
        ClearState();
        if (CGridHost* pHost = m_ctrl.GetHost())
            pHost->FocusCellArea();
        return;
    }
    m_pInUse = pDialog;
    Search(*pDialog);
    // Close() may have run from a notification during the move.
    if (m_pInUse == pDialog)
        m_pInUse = nullptr;
}

void CGridFind::Search(CGridFindDialog& dlg)
{
    const int nCol = m_ctrl.GetCurrentColumn();
    int nRow = m_ctrl.GetCurrentRow();
    const std::string strFind = dlg.FindWhat();
    CGridStore* pStore = m_ctrl.GetCurrentStore();
    pStore->m_bFindCaseSensitive = dlg.MatchCase() ? 1 : 0;
    pStore->m_bFindWholeWord = dlg.MatchWholeWord() ? 1 : 0;
    pStore->m_bFindForward = dlg.SearchDown() ? 1 : 0;
    pStore->m_pFindMatcher = m_pMatcher;

    int nResult = 1;
    if (m_bFirstSearch) {
        m_bFirstSearch = false;
        nResult = pStore->FindFirst(nCol, strFind, &nRow);
    } else {
        nResult = pStore->FindNext(nCol, strFind, &nRow);
    }
    // The matcher belongs to the window layer, which may go first.
    pStore->m_pFindMatcher = nullptr;
    if (nResult != 0) {
        static CStderrMessages s_stderr;
        CMessages& messages = m_pMessages ? *m_pMessages : s_stderr;
        messages.Inform(kFindNotFoundText, kFindNotFoundCaption, MessageIcon::Information);
        if (m_pDialog.get() == &dlg && dlg.HasWindow())
            dlg.ActivateWindow();
        return;
    }
    // The found row becomes current (a notification may veto the move).
    (void)m_ctrl.MoveCurrentCell(nCol, nRow);
}

} // namespace hpa
