#include "view/render/ViewPrintJob.h"

#include "grid/GridPrinter.h"
#include "grid/UGCtrl.h"
#include "view/PrintHeader.h"

#include <QPagedPaintDevice>

namespace hpa {

// ---- the view's part of a job ------------------------------------------------------

CViewPrintJob::~CViewPrintJob()
{
    if (m_bPrinting)
        OnEndPrinting();
}

int CViewPrintJob::OnBeginPrinting(const QPaintDevice& device)
{
    m_headerFont = PrintHeaderFont(device.logicalDpiY());
    m_bPrinting = true;
    CUGCtrl* pGrid = m_source.m_pGrid;
    if (!pGrid || !m_source.m_pPrinter)
        return 0;
    pGrid->EnableGridPaint(0);
    pGrid->SetGridFont(m_source.m_printFont);
    const int nColumns = pGrid->ColumnCount();
    const int nRows = pGrid->RowCount();
    return m_source.m_pPrinter->PrintPrepare(PrinterMetricsOf(device), kPrintBothHeadings, 0, 0,
                                             nColumns - 1, nRows - 1);
}

void CViewPrintJob::OnPrint(CGridDC& dc, const CGridRect& rcPage, int nPage)
{
    m_rectPage = rcPage;
    m_nPage = nPage;
    if (m_headerFont && m_source.m_headerFields)
        DrawPrintPageHeader(dc, *m_headerFont, m_rectPage, *m_source.m_headerFields, m_nPage,
                            m_source.m_strTitle);
    else if (m_headerFont && m_source.m_pAcc)
        DrawPrintPageHeader(dc, *m_headerFont, m_rectPage, *m_source.m_pAcc, m_nPage,
                            m_source.m_strTitle);
    if (m_source.m_pGrid && m_source.m_pPrinter)
        m_source.m_pPrinter->PrintPage(dc, m_nPage, kPrintBothHeadings);
}

void CViewPrintJob::OnEndPrinting()
{
    m_headerFont.reset();
    if (CUGCtrl* pGrid = m_source.m_pGrid) {
        pGrid->SetGridFont(m_source.m_screenFont);
        pGrid->EnableGridPaint(1);
    }
    m_bPrinting = false;
}

PrintJobResult PrintView(const CViewPrintSource& source, QPagedPaintDevice& device,
                         const CPrintJobSettings& settings, const CPageStartFn& fnPageStart)
{
    CViewPrintJob job(source);
    const int nPages = job.OnBeginPrinting(device);
    const CGridRect rcPage{0, 0, device.width(), device.height()};
    const PrintJobResult result = RunPrintJob(
        device, JobPageOrder(settings, nPages),
        [&](CGridDC& dc, int nPage) { job.OnPrint(dc, rcPage, nPage); }, fnPageStart);
    job.OnEndPrinting();
    return result;
}

} // namespace hpa
