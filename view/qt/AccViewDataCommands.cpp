// The view's data dialogs and printing: Export, Filters, Summary, Print,
// print without dialog and Print Preview, each handed to its command on the
// grid shown, with the program's grid fonts.
#include "view/qt/AccView.h"

#include "view/qt/ExportCommand.h"
#include "view/qt/FilterDlg.h"
#include "view/qt/PrintCommands.h"
#include "view/qt/SummaryDlg.h"

namespace hpa {

void CVexAccView::OnExport()
{
    RunExportCommand(*this);
}

void CVexAccView::OnFilters()
{
    RunFilterCommand(*this);
}

void CVexAccView::OnViewSummary()
{
    RunSummaryCommand(*this, g_gridFont, g_printGridFont);
}

void CVexAccView::OnFilePrint()
{
    RunViewPrintCommand(*this, ViewPrintCommand::Print, g_gridFont, g_printGridFont);
}

void CVexAccView::OnFilePrintDirect()
{
    m_bPrintDirect = true;
    RunViewPrintCommand(*this, ViewPrintCommand::PrintDirect, g_gridFont, g_printGridFont);
    m_bPrintDirect = false;
}

void CVexAccView::OnFilePrintPreview()
{
    RunViewPrintCommand(*this, ViewPrintCommand::PrintPreview, g_gridFont, g_printGridFont);
}

} // namespace hpa
