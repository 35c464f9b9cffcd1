#pragma once
// Print jobs on Qt's paged devices (a QPrinter or a QPdfWriter): the
// printer metrics CGridPrinter lays pages out for, the pages a job's
// settings ask for (page range, copies, collation), running the pages of a
// document through a device context, and PrintRange, which prints a range
// of a grid as one whole document. Needs no widgets: the headless tool
// prints PDF through here; grid/qt/PrinterJob.h adds the printer's side.
//
// Every job of the program prints at kPrintResolution dots per inch: the
// page header is placed in device units, and at that resolution it sits
// where it was designed to.
#include "grid/GridPrinter.h"

#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QPaintDevice;

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

// The pages of a job of nPageCount pages in the order they are printed.
std::vector<int> JobPageOrder(const CPrintJobSettings& settings, int nPageCount);

enum class PrintJobResult { Printed, NothingToPrint, StartFailed, EndFailed, Cancelled };

// Draws one page; the device context draws on the job's painter, origin at
// the top-left of the printable area.
using CPrintPageFn = std::function<void(CGridDC& dc, int nPage)>;

// Called before each page with its number; false cancels the job there. On
// a printer it also aborts the printer (AbortingPageStart in
// grid/qt/PrinterJob.h), so no part of the job is sent.
using CPageStartFn = std::function<bool(int nPage)>;

// Prints the pages in order as one document: the first page starts with
// the document, each further one on a new page. No pages: no document.
PrintJobResult RunPrintJob(QPagedPaintDevice& device, const std::vector<int>& pages,
                           const CPrintPageFn& fnPrintPage,
                           const CPageStartFn& fnPageStart = CPageStartFn());

// Prepares columns c0..c1 and rows r0..r1 for the device and prints them as
// one document with the settings given. A document that cannot start shows
// "Print Error", one that cannot end "Print Error2" (captioned "Error").
// 0 on success, 1 on failure.
int PrintRange(CGridPrinter& printer, QPagedPaintDevice& device, const CPrintJobSettings& settings,
               int nFlags, int c0, int r0, int c1, int r1, CMessages& messages);

} // namespace hpa
