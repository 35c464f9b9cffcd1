#pragma once
// Print jobs on Qt's paged devices (a QPrinter or a QPdfWriter): the
// printer metrics CGridPrinter lays pages out for, what the printer's
// settings ask for (page range, copies, collation), running the pages of a
// document through a device context, and PrintRange, which prints a range
// of a grid as one whole document.
//
// Every job of the program prints at kPrintResolution dots per inch: the
// page header is placed in device units, and at that resolution it sits
// where it was designed to.
#include "grid/GridPrinter.h"

#include <QString>

#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QPaintDevice;
class QPrinter;
class QWidget;

namespace hpa {

class CMessages;

inline constexpr int kPrintResolution = 300;

// PrintRange's messages, shown in a box captioned "Error".
inline constexpr const char* kMsgPrintError = "Print Error";
inline constexpr const char* kMsgPrintError2 = "Print Error2";
inline constexpr const char* kMsgPrintErrorCaption = "Error";
// The document name of PrintRange's jobs.
inline constexpr const char* kPrintRangeDocName = "PrtWnd";

// The printable area of a device in pixels and whole millimetres.
CPrinterMetrics PrinterMetricsOf(const QPaintDevice& device);

// The part of a printer's settings a job reads.
struct CPrintJobSettings {
    bool bPageRange = false; // only pages nFromPage..nToPage
    int nFromPage = 0;
    int nToPage = 0;
    int nCopies = 1; // copies the program prints itself
    bool bCollate = true;
};

// A printer's settings. When the print system makes the copies itself the
// program prints one, or every page would come out copies x copies times.
CPrintJobSettings PrintJobSettingsOf(const QPrinter& printer);

// The pages of a job of nPageCount pages in the order they are printed.
std::vector<int> JobPageOrder(const CPrintJobSettings& settings, int nPageCount);

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

enum class PrintJobResult { Printed, NothingToPrint, StartFailed, EndFailed, Cancelled };

// Draws one page; the device context draws on the job's painter, origin at
// the top-left of the printable area.
using CPrintPageFn = std::function<void(CGridDC& dc, int nPage)>;

// Called before each page with its number; false cancels the job there.
using CPageStartFn = std::function<bool(int nPage)>;

// Prints the pages in order as one document: the first page starts with
// the document, each further one on a new page. No pages: no document. A
// job cancelled by fnPageStart is aborted on a printer, so no part of it is
// sent.
PrintJobResult RunPrintJob(QPagedPaintDevice& device, const std::vector<int>& pages,
                           const CPrintPageFn& fnPrintPage,
                           const CPageStartFn& fnPageStart = CPageStartFn());

// Prepares columns c0..c1 and rows r0..r1 for the device and prints them as
// one document with the settings given. A document that cannot start shows
// "Print Error", one that cannot end "Print Error2" (captioned "Error").
// 0 on success, 1 on failure.
int PrintRange(CGridPrinter& printer, QPagedPaintDevice& device, const CPrintJobSettings& settings,
               int nFlags, int c0, int r0, int c1, int r1, CMessages& messages);

// The same on a QPrinter with its own settings (page range, copies,
// collation); the document is named "PrtWnd". A printer with no print queue
// first asks fnAskPdfFile for a PDF file; cancelling there prints nothing
// and returns 1 without a message.
int PrintRange(CGridPrinter& printer, QPrinter& device, int nFlags, int c0, int r0, int c1, int r1,
               CMessages& messages, const CPdfFileAsker& fnAskPdfFile);

} // namespace hpa
