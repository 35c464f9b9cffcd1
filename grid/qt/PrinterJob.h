#pragma once
// A job's printer side, for the desktop: the settings a QPrinter carries,
// the PDF file a printer without a print queue prints into, the program's
// print resolution on the printer, cancelling on a printer, and PrintRange
// on a QPrinter.
#include "grid/render/GridPrintJob.h"

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

namespace hpa {

// A printer's settings. When the print system makes the copies itself the
// program prints one, or every page would come out copies x copies times.
CPrintJobSettings PrintJobSettingsOf(const QPrinter& printer);

// Asks the user for the PDF file to print into, proposing strSuggested (a
// path, or empty); empty when cancelled. An existing file is only chosen
// after the user agreed to replace it.
using CPdfFileAsker = std::function<QString(const QString& strSuggested)>;
// A save dialog for "*.pdf" files owned by pParent, with the overwrite
// question.
QString AskPdfFileName(QWidget* pParent, const QString& strSuggested = QString());

// A PDF job's file. The printer writes a temporary file beside the target,
// which takes the target's place only once the whole document was written;
// a job that was cancelled or failed leaves the target as it was and no
// temporary file behind. The printer forgets the file afterwards either
// way, so no later job writes into it unasked.
class CPrintFileOutput {
public:
    CPrintFileOutput() = default;
    ~CPrintFileOutput();
    CPrintFileOutput(const CPrintFileOutput&) = delete;
    CPrintFileOutput& operator=(const CPrintFileOutput&) = delete;

    // Points the printer at a new temporary file beside strTarget; false
    // when it cannot be made there.
    bool Begin(QPrinter& printer, const QString& strTarget);
    // Puts the finished file in place of the target.
    bool Commit();
    // Removes the temporary file (also done by the destructor).
    void Discard();

private:
    QPrinter* m_pPrinter = nullptr;
    QString m_strTarget;
    QString m_strTemp;
};

// With no print queue on the system a QPrinter turns into a PDF printer
// without a file, and starting a document on it fails. Such a printer gets
// the file the user chooses now. False when there is still nowhere to print
// (the user cancelled); the job must then not start.
bool EnsurePrintTarget(QPrinter& printer, const CPdfFileAsker& fnAskPdfFile);

// Sets the program's print resolution on a printer that is not printing.
void UsePrintResolution(QPrinter& printer);

// fnPageStart for a job on device: when it cancels and the device is a
// printer, the printer is aborted first, so nothing of the job is sent.
CPageStartFn AbortingPageStart(QPagedPaintDevice& device, CPageStartFn fnPageStart);

// The same on a QPrinter with its own settings (page range, copies,
// collation); the document is named "PrtWnd". A printer with no print queue
// first asks fnAskPdfFile for a PDF file; cancelling there prints nothing
// and returns 1 without a message.
int PrintRange(CGridPrinter& printer, QPrinter& device, int nFlags, int c0, int r0, int c1, int r1,
               CMessages& messages, const CPdfFileAsker& fnAskPdfFile);

} // namespace hpa
