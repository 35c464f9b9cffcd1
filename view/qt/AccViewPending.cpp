// The view's data dialogs and printing: Export, Filters, Summary, Print,
// print without dialog and Print Preview. NOT WRITTEN YET: each command is
// routed and enabled by the view's rules, and for now only tells the user
// that this version cannot do it. Each function gets its real body (and
// usually a file of its own) when its dialog is written.
#include "view/qt/AccView.h"

#include "app/VexAccApp.h"
#include "platform/Messages.h"

#include <string>

namespace hpa {

namespace {

void NotAvailable(const char* pszWhat)
{
    if (CVexAccApp* pApp = CVexAccApp::Instance())
        pApp->Messages().Inform(std::string(pszWhat) + " is not available in this version.", "HPA",
                                MessageIcon::Information);
}

} // namespace

void CVexAccView::OnExport()
{
    NotAvailable("Export");
}

void CVexAccView::OnFilters()
{
    NotAvailable("Filter Data");
}

void CVexAccView::OnViewSummary()
{
    NotAvailable("Accounting Summary");
    if (ShownGrid())
        FocusGrid(CurrentGrid());
}

void CVexAccView::OnFilePrint()
{
    NotAvailable("Printing");
}

void CVexAccView::OnFilePrintDirect()
{
    NotAvailable("Printing");
}

void CVexAccView::OnFilePrintPreview()
{
    NotAvailable("Print Preview");
}

} // namespace hpa
