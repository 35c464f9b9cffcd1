// Keys in the cell area: the current cell's type and OnGridKeyDown see each
// key first, then the navigation keys move the current cell.
#include "grid/GridInput.h"

#include "grid/UGCtrl.h"

namespace hpa {

int CGridInput::OnKeyDown(int* pKey, unsigned nModifiers)
{
    if (!pKey)
        return 0;
    const int nProcessed = CurrentCellType()->HandleKeyDown(pKey);
    m_ctrl.OnGridKeyDown(pKey, nProcessed);

    const bool bControl = (nModifiers & kGridModControl) != 0;
    BeginEvent(kInputKeyboard, nModifiers);
    bool bMoved = true;
    // A move refused at the grid's edge or vetoed simply leaves the current
    // cell where it is; the key still counts as a navigation key.
    switch (*pKey) {
    case kGridKeyLeft:
        (void)m_ctrl.MoveColumn(kMoveLeft);
        break;
    case kGridKeyRight:
        (void)m_ctrl.MoveColumn(kMoveRight);
        break;
    case kGridKeyUp:
        (void)m_ctrl.MoveRow(kMoveUp);
        break;
    case kGridKeyDown:
        (void)m_ctrl.MoveRow(kMoveDown);
        break;
    case kGridKeyPageUp:
        (void)m_ctrl.MoveRow(kMovePageUp);
        break;
    case kGridKeyPageDown:
        (void)m_ctrl.MoveRow(kMovePageDown);
        break;
    case kGridKeyHome:
        if (bControl)
            (void)m_ctrl.MoveRow(kMoveFirst);
        else
            (void)m_ctrl.MoveColumn(kMoveFirst);
        break;
    case kGridKeyEnd:
        if (bControl)
            (void)m_ctrl.MoveRow(kMoveLast);
        else
            (void)m_ctrl.MoveColumn(kMoveLast);
        break;
    default:
        bMoved = false;
        break;
    }
    EndEvent();
    return bMoved ? 1 : 0;
}

void CGridInput::OnChar(int* pChar, unsigned /*nModifiers*/)
{
    if (!pChar)
        return;
    const int nProcessed = CurrentCellType()->HandleChar(pChar);
    m_ctrl.OnGridChar(pChar, nProcessed);
}

bool CGridInput::WantsKey(int nKey) const
{
    return nKey != kGridKeyTab && nKey != kGridKeyReturn;
}

} // namespace hpa
