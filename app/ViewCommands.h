#pragma once
// The view's data-kind switching and its enabling rules, written against
// CViewLink so any view that implements it gets the same behaviour:
//
// - View > Data > Job / Paper / Status: radio mark on the kind shown,
//   enabled while a kind is shown;
// - Copy: enabled exactly when the shown grid was clicked since the last
//   copy; disabled while no grid is shown;
// - Connect to Printer: enabled only while no kind is shown;
// - Find, Print, print without dialog, Print Preview, Export, Summary, New,
//   Save and Save As: enabled only while a kind is shown, so no save ever
//   writes a document without data.
#include "app/CommandRouter.h"

#include <functional>

namespace hpa {

class CViewLink;

// OnSelectDataKind: shows the grid of the chosen kind (32778..32780) in
// place of the one shown, and names it in the data-kind pane. Choosing the
// kind already shown changes nothing.
void SelectDataKind(CViewLink& view, int nKindCommand);

// Adds the update handlers above and the data-kind command to a view's map.
// fnShownGridClicked answers whether the shown grid's m_bCellClicked is set.
void AddViewCommandRules(CCommandMap& map, CViewLink& view,
                         std::function<bool()> fnShownGridClicked);

} // namespace hpa
