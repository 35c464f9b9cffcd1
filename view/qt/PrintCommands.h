#pragma once
// Printing the grid on show: File > Print... (print dialog, then the job),
// the toolbar's print without dialog (all pages on the application's
// printer) and File > Print Preview; the job itself is CViewPrintJob
// (view/render/ViewPrintJob.h).
//
// Print Setup is the application's own command (CVexAccApp).
#include "grid/GridDC.h"
#include "grid/qt/PrinterJob.h"
#include "view/render/ViewPrintJob.h"

#include <functional>
#include <optional>
#include <string>

class QPrinter;
class QWidget;

namespace hpa {

class CAccViewBase;
class CMessages;
class CUGCtrl;

// What the three commands need; the source is asked for when a command runs.
struct CPrintCommandContext {
    QWidget* m_pView = nullptr;
    std::function<std::optional<CViewPrintSource>()> m_fnSource;
    QPrinter* m_pPrinter = nullptr; // the application's printer
    CMessages* m_pMessages = nullptr;
    CPdfFileAsker m_fnAskPdfFile; // a printer without print queue asks this
    // Runs the print dialog on the printer; false when cancelled. Empty:
    // the desktop's QPrintDialog.
    std::function<bool(QPrinter&)> m_fnPrintDialog;
};

inline constexpr const char* kMsgCouldNotStartPrint = "Could not start print job.";
inline constexpr const char* kMsgCouldNotEndPrint = "Could not complete print job.";

// File > Print...: the print dialog, then the job. True when printed.
bool OnFilePrint(const CPrintCommandContext& context);
// Print without dialog: all pages on the printer as it is set up.
bool OnFilePrintDirect(const CPrintCommandContext& context);
// File > Print Preview: the preview window (pages, zoom, print, close).
void OnFilePrintPreview(const CPrintCommandContext& context);

// The source of a job of the view: its shown grid with that grid's printing
// object (kept with the view), g_acc and the data-kind pane's text. None
// while no data kind is shown.
std::optional<CViewPrintSource> ViewPrintSource(CAccViewBase& view, const CGridFont& screenFont,
                                                const CGridFont& printFont);

enum class ViewPrintCommand { Print, PrintDirect, PrintPreview };

// What the view's OnFilePrint, OnFilePrintDirect and OnFilePrintPreview
// call: the command on the shown grid with the application's printer and
// messages (screenFont and printFont: g_gridFont and g_printGridFont).
// True when printed (a preview: when shown).
bool RunViewPrintCommand(CAccViewBase& view, ViewPrintCommand command, const CGridFont& screenFont,
                         const CGridFont& printFont);

} // namespace hpa
