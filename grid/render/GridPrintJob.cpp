#include "grid/render/GridPrintJob.h"

#include "grid/render/QtGridDC.h"
#include "platform/Messages.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

namespace hpa {

namespace {

// The grid's device context on a printer or PDF page. Lines of one pixel
// are drawn as hairlines: a printer makes them one dot wide as before, and
// a PDF viewer shows them at every zoom instead of dropping a line a
// three-hundredth of an inch wide when it scales the page down.
class CPrintGridDC : public CQtGridDC {
public:
    explicit CPrintGridDC(QPainter* pPainter) : CQtGridDC(pPainter), m_pPainter(pPainter) {}

    const CGridPen* SelectPen(const CGridPen* pPen) override
    {
        m_pPen = pPen;
        return CQtGridDC::SelectPen(pPen);
    }

    void Line(int x1, int y1, int x2, int y2) override
    {
        const int nWidth = m_pPen ? m_pPen->nWidth : 1;
        if (nWidth > 1 || (x1 != x2 && y1 != y2) || (x1 == x2 && y1 == y2)) {
            CQtGridDC::Line(x1, y1, x2, y2);
            return;
        }
        // Along the middle of the pixels the line covers: from the start
        // up to the end point, which is left out as in every Line.
        const bool bHorizontal = y1 == y2;
        const int a1 = bHorizontal ? x1 : y1;
        const int a2 = bHorizontal ? x2 : y2;
        const int nFirst = a2 > a1 ? a1 : a2 + 1;
        const int nEnd = a2 > a1 ? a2 : a1 + 1;
        const QPointF from = bHorizontal ? QPointF(nFirst, y1 + 0.5) : QPointF(x1 + 0.5, nFirst);
        const QPointF to = bHorizontal ? QPointF(nEnd, y1 + 0.5) : QPointF(x1 + 0.5, nEnd);
        QPen pen(ToColor(m_pPen ? m_pPen->crColor : 0), 0);
        pen.setCapStyle(Qt::FlatCap);
        m_pPainter->setPen(pen);
        m_pPainter->drawLine(from, to);
    }

private:
    static QColor ToColor(COLORREF cr)
    {
        return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
    }

    QPainter* m_pPainter;
    const CGridPen* m_pPen = nullptr;
};

} // namespace

CPrinterMetrics PrinterMetricsOf(const QPaintDevice& device)
{
    return {device.width(), device.height(), device.widthMM(), device.heightMM()};
}

std::vector<int> JobPageOrder(const CPrintJobSettings& settings, int nPageCount)
{
    const CPrintPageRange range =
        ResolvePageRange(nPageCount, settings.bPageRange, settings.nFromPage, settings.nToPage);
    return PrintPageOrder(range.nFrom, range.nTo, settings.nCopies, settings.bCollate);
}

PrintJobResult RunPrintJob(QPagedPaintDevice& device, const std::vector<int>& pages,
                           const CPrintPageFn& fnPrintPage, const CPageStartFn& fnPageStart)
{
    if (pages.empty())
        return PrintJobResult::NothingToPrint;
    QPainter painter;
    if (!painter.begin(&device))
        return PrintJobResult::StartFailed;
    bool bFirst = true;
    for (const int nPage : pages) {
        if (fnPageStart && !fnPageStart(nPage)) {
            painter.end();
            return PrintJobResult::Cancelled;
        }
        // Page start and end results are not checked: a page that failed
        // leaves a gap, the document itself goes on.
        if (!bFirst)
            device.newPage();
        bFirst = false;
        painter.save();
        CPrintGridDC dc(&painter);
        fnPrintPage(dc, nPage);
        painter.restore();
    }
    return painter.end() ? PrintJobResult::Printed : PrintJobResult::EndFailed;
}

int PrintRange(CGridPrinter& printer, QPagedPaintDevice& device, const CPrintJobSettings& settings,
               int nFlags, int c0, int r0, int c1, int r1, CMessages& messages)
{
    const int nPages = printer.PrintPrepare(PrinterMetricsOf(device), nFlags, c0, r0, c1, r1);
    const std::vector<int> order = JobPageOrder(settings, nPages);
    const PrintJobResult result = RunPrintJob(
        device, order, [&](CGridDC& dc, int nPage) { printer.PrintPage(dc, nPage, nFlags); });
    switch (result) {
    case PrintJobResult::StartFailed:
        messages.Inform(kMsgPrintError, kMsgPrintErrorCaption, MessageIcon::Error);
        return 1;
    case PrintJobResult::EndFailed:
        messages.Inform(kMsgPrintError2, kMsgPrintErrorCaption, MessageIcon::Error);
        return 1;
    case PrintJobResult::Cancelled:
        return 1;
    case PrintJobResult::Printed:
    case PrintJobResult::NothingToPrint:
        break;
    }
    return 0;
}

} // namespace hpa
