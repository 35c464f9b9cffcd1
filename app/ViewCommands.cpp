#include "app/ViewCommands.h"

#include "accounting/FieldCatalogue.h"
#include "app/CommandIds.h"
#include "document/qt/ViewLink.h"

namespace hpa {

void SelectDataKind(CViewLink& view, int nKindCommand)
{
    if (nKindCommand == view.CurrentKind())
        return;
    int nGrid = -1;
    for (int i = 0; i < kDataKindCount; ++i)
        if (kDataKindCommand[static_cast<std::size_t>(i)] == nKindCommand)
            nGrid = i;
    if (nGrid < 0)
        return;
    if (const int nOld = view.CurrentGrid(); nOld >= 0) {
        view.CloseFindDialog(nOld);
        view.ShowGrid(nOld, false);
    }
    view.ShowGrid(nGrid, true);
    view.FocusGrid(nGrid);
    view.SetCurrent(nKindCommand, nGrid);
    view.SetDataKindPaneText(
        QString::fromLatin1(kDataKindPaneText[static_cast<std::size_t>(nGrid)]));
}

void AddViewCommandRules(CCommandMap& map, CViewLink& view,
                         std::function<bool()> fnShownGridClicked)
{
    map.OnRange(ID_DATA_JOB, ID_DATA_STATUS, [&view](int nID) { SelectDataKind(view, nID); });
    map.OnUpdateRange(ID_DATA_JOB, ID_DATA_STATUS, [&view](CCmdUI& ui) {
        ui.SetRadio(ui.m_nID == view.CurrentKind());
        ui.Enable(view.CurrentKind() != 0);
    });
    map.OnUpdate(ID_EDIT_COPY, [&view, fn = std::move(fnShownGridClicked)](CCmdUI& ui) {
        ui.Enable(view.CurrentGrid() >= 0 && fn && fn());
    });
    map.OnUpdate(ID_CONNECT, [&view](CCmdUI& ui) { ui.Enable(view.CurrentKind() == 0); });
    map.OnUpdateEach({ID_EDIT_FIND, ID_FILE_PRINT, ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW,
                      ID_EXPORT, ID_VIEW_SUMMARY, ID_FILE_NEW, ID_FILE_SAVE, ID_FILE_SAVE_AS},
                     [&view](CCmdUI& ui) { ui.Enable(view.CurrentKind() != 0); });
}

} // namespace hpa
