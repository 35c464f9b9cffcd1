// Copying the selection: the text is built from the resolved cells, handed
// to the clipboard, and the selection is cleared whether or not the
// clipboard took it.
#include "grid/GridCopy.h"

#include "grid/UGCtrl.h"

namespace hpa {

std::string BuildSelectionText(CUGCtrl& ctrl)
{
    std::string strText;
    CUGCell cell;
    bool bFirst = true;
    int nPrevRow = 0;
    ctrl.EnumerateSelection([&](int nCol, int nRow) {
        if (!bFirst)
            strText += nRow == nPrevRow ? '\t' : '\n';
        bFirst = false;
        nPrevRow = nRow;
        cell.ClearCell();
        ctrl.ResolveCell(nCol, nRow, &cell);
        strText += cell.GetText();
        return true;
    });
    return strText;
}

int CUGCtrl::CopySelectionToClipboard()
{
    const std::string strText = BuildSelectionText(*this);
    if (m_pClipboard)
        m_pClipboard->PutText(strText);
    ClearSelection();
    RedrawAll();
    return 0;
}

} // namespace hpa
