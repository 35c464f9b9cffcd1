#pragma once
// A job's printer side, for the desktop: the settings a QPrinter carries,
// the PDF file a printer without a print queue prints into, the program's
// print resolution on the printer, and PrintRange on a QPrinter.
#include "grid/render/GridPrintJob.h"

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

namespace hpa {

// A printer's settings. When the print system makes the copies itself the
// program prints one, or every page would come out copies x copies times.
CPrintJobSettings PrintJobSettingsOf(const QPrinter& printer);

// Asks the user for the PDF file to print into; empty when cancelled.
using CPdfFileAsker = std::function<QString()>;
// A save dialog for "*.pdf" files owned by pParent.
QString AskPdfFileName(QWidget* pParent);

// With no print queue on the system a QPrinter turns into a PDF printer
// without a file, and starting a document on it fails. Such a printer gets
// the file the user chooses now. False when there is still nowhere to print
// (the user cancelled); the job must then not start.
bool EnsurePrintTarget(QPrinter& printer, const CPdfFileAsker& fnAskPdfFile);

// Sets the program's print resolution on a printer that is not printing.
void UsePrintResolution(QPrinter& printer);

// The same on a QPrinter with its own settings (page range, copies,
// collation); the document is named "PrtWnd". A printer with no print queue
// first asks fnAskPdfFile for a PDF file; cancelling there prints nothing
// and returns 1 without a message.
int PrintRange(CGridPrinter& printer, QPrinter& device, int nFlags, int c0, int r0, int c1, int r1,
               CMessages& messages, const CPdfFileAsker& fnAskPdfFile);

} // namespace hpa
