#pragma once
// The view's parts of every print job of a grid:
//
//   OnBeginPrinting  the header font for the printer, the grid's painting
//                    suspended and its print font set, the pages prepared;
//   OnPrint          per page: the page header, then the grid block of
//                    that page with both headings;
//   OnEndPrinting    the header font gone, the screen font and painting
//                    back.
//
// Needs no widgets: the desktop prints through here on its printer, the
// headless tool on a PDF writer.
#include "grid/GridDC.h"
#include "grid/render/GridPrintJob.h"
#include "view/PrintHeader.h"

#include <optional>
#include <string>

class QPagedPaintDevice;
class QPaintDevice;

namespace hpa {

class CAcc;
class CGridPrinter;
class CUGCtrl;

// What a print job of the view prints.
struct CViewPrintSource {
    CUGCtrl* m_pGrid = nullptr;         // the grid on show
    CGridPrinter* m_pPrinter = nullptr; // its printing object
    const CAcc* m_pAcc = nullptr;       // date, time and host of the header
    // The header's values when the grid shows no accounting set (used in
    // place of m_pAcc's).
    std::optional<CPrintHeaderFields> m_headerFields;
    std::string m_strTitle; // the data-kind pane's text
    CGridFont m_screenFont; // g_gridFont
    CGridFont m_printFont;  // g_printGridFont
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

} // namespace hpa
