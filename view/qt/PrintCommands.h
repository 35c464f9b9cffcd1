#pragma once
// Printing the grid on show: File > Print... (print dialog, then the job),
// the toolbar's print without dialog (all pages on the application's
// printer), File > Print Preview, and the view's parts of every job:
//
//   OnBeginPrinting  the header font for the printer, the grid's painting
//                    suspended and its print font set, the pages prepared;
//   OnPrint          per page: the page header, then the grid block of
//                    that page with both headings;
//   OnEndPrinting    the header font gone, the screen font and painting
//                    back.
//
// Print Setup is the application's own command (CVexAccApp).
#include "grid/GridDC.h"
#include "grid/qt/GridPrintJob.h"

#include <functional>
#include <optional>
#include <string>

class QPagedPaintDevice;
class QPaintDevice;
class QPrinter;
class QWidget;

namespace hpa {

class CAcc;
class CAccViewBase;
class CGridPrinter;
class CMessages;
class CProfile;
class CUGCtrl;

// What a print job of the view prints.
struct CViewPrintSource {
    CUGCtrl* m_pGrid = nullptr;         // the grid on show
    CGridPrinter* m_pPrinter = nullptr; // its printing object
    const CAcc* m_pAcc = nullptr;       // date, time and host of the header
    std::string m_strTitle;             // the data-kind pane's text
    CGridFont m_screenFont;             // g_gridFont
    CGridFont m_printFont;              // g_printGridFont
};

class CViewPrintJob {
public:
    explicit CViewPrintJob(const CViewPrintSource& source) : m_source(source) {}
    // A job that is still printing ends properly.
    ~CViewPrintJob();
    CViewPrintJob(const CViewPrintJob&) = delete;
    CViewPrintJob& operator=(const CViewPrintJob&) = delete;

    // Returns the number of pages, prepared for the device's printable
    // area with both headings.
    int OnBeginPrinting(const QPaintDevice& device);
    // Page nPage on a device context whose printable page is rcPage.
    void OnPrint(CGridDC& dc, const CGridRect& rcPage, int nPage);
    void OnEndPrinting();

    bool IsPrinting() const { return m_bPrinting; }
    const CGridRect& PageRect() const { return m_rectPage; }
    int Page() const { return m_nPage; }
    const CGridFont& HeaderFont() const { return *m_headerFont; }

private:
    CViewPrintSource m_source;
    bool m_bPrinting = false;
    CGridRect m_rectPage;
    int m_nPage = 0;
    std::optional<CGridFont> m_headerFont; // g_headerFont, only during a job
};

// One whole job of the view on a device: begin, the pages the settings ask
// for, end. fnPageStart, when given, may cancel before any page. The grid
// is back to its screen font and painting whatever happened.
PrintJobResult PrintView(const CViewPrintSource& source, QPagedPaintDevice& device,
                         const CPrintJobSettings& settings,
                         const CPageStartFn& fnPageStart = CPageStartFn());

// What the three commands need; the source is asked for when a command runs.
struct CPrintCommandContext {
    QWidget* m_pView = nullptr;
    std::function<std::optional<CViewPrintSource>()> m_fnSource;
    QPrinter* m_pPrinter = nullptr; // the application's printer
    CMessages* m_pMessages = nullptr;
    CProfile* m_pProfile = nullptr; // keeps the preview's page view; may be null
    // A job on a PDF printer (no print queue) asks this for its file every
    // time, proposing m_strPdfSuggestion.
    CPdfFileAsker m_fnAskPdfFile;
    QString m_strPdfSuggestion;
    QString m_strDocName; // the jobs' name: the document's title
    // Runs the print dialog on the printer; false when cancelled. Empty:
    // the desktop's QPrintDialog.
    std::function<bool(QPrinter&)> m_fnPrintDialog;
};

inline constexpr const char* kMsgCouldNotStartPrint = "Could not start print job.";
inline constexpr const char* kMsgCouldNotEndPrint = "Could not complete print job.";

// Where the preview's page view (one page, two pages, all pages) is kept.
inline constexpr const char* kProfilePreviewSection = "Preview";
inline constexpr const char* kProfilePreviewPages = "Pages";

// The file a PDF job proposes: "<document>-<KIND>.pdf" (the document's name
// without its extension, the data kind on show) in the document's folder,
// or in strFallbackDir for a document not saved yet.
QString PdfFileSuggestion(const QString& strDocPath, const QString& strTitle,
                          const QString& strKind, const QString& strFallbackDir);

// File > Print...: the print dialog, then the job. True when printed. Every
// job shows the "Printing" dialog, whose Cancel stops it before the next
// page; a PDF is written whole or not at all.
bool OnFilePrint(const CPrintCommandContext& context);
// Print without dialog: all pages on the printer as it is set up; a PDF
// printer asks for the file first.
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
