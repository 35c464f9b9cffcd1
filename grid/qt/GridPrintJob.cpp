#include "grid/qt/GridPrintJob.h"

#include "grid/qt/QtGridDC.h"
#include "platform/Messages.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <QPrinter>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

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

CPrintJobSettings PrintJobSettingsOf(const QPrinter& printer)
{
    CPrintJobSettings settings;
    settings.bPageRange = printer.printRange() == QPrinter::PageRange;
    settings.nFromPage = printer.fromPage();
    settings.nToPage = printer.toPage();
    settings.nCopies = printer.supportsMultipleCopies() ? 1 : std::max(printer.copyCount(), 1);
    settings.bCollate = printer.collateCopies();
    return settings;
}

std::vector<int> JobPageOrder(const CPrintJobSettings& settings, int nPageCount)
{
    const CPrintPageRange range =
        ResolvePageRange(nPageCount, settings.bPageRange, settings.nFromPage, settings.nToPage);
    return PrintPageOrder(range.nFrom, range.nTo, settings.nCopies, settings.bCollate);
}

QString AskPdfFileName(QWidget* pParent, const QString& strSuggested)
{
    QFileDialog dialog(pParent, QStringLiteral("Print to PDF"), QString(),
                       QStringLiteral("PDF files (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!strSuggested.isEmpty()) {
        const QFileInfo info(strSuggested);
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

CPrintFileOutput::~CPrintFileOutput()
{
    Discard();
}

bool CPrintFileOutput::Begin(QPrinter& printer, const QString& strTarget)
{
    Discard();
    const QFileInfo target(strTarget);
    QByteArray temp =
        QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName()) +
        ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    // The finished file gets the mode a newly made file would get.
    const mode_t nMask = ::umask(0);
    ::umask(nMask);
    ::fchmod(fd, 0666 & ~nMask);
    ::close(fd);
    m_pPrinter = &printer;
    m_strTarget = target.absoluteFilePath();
    m_strTemp = QFile::decodeName(temp);
    printer.setOutputFileName(m_strTemp);
    printer.setOutputFormat(QPrinter::PdfFormat);
    return true;
}

bool CPrintFileOutput::Commit()
{
    if (m_strTemp.isEmpty())
        return false;
    const bool bDone = ::rename(QFile::encodeName(m_strTemp).constData(),
                                QFile::encodeName(m_strTarget).constData()) == 0;
    if (bDone)
        m_strTemp.clear();
    Discard();
    return bDone;
}

void CPrintFileOutput::Discard()
{
    if (!m_strTemp.isEmpty())
        ::unlink(QFile::encodeName(m_strTemp).constData());
    m_strTemp.clear();
    // An active printer cannot change its file; it is forgotten after the job.
    if (m_pPrinter && m_pPrinter->printerState() != QPrinter::Active)
        m_pPrinter->setOutputFileName(QString());
    m_pPrinter = nullptr;
}

bool EnsurePrintTarget(QPrinter& printer, const CPdfFileAsker& fnAskPdfFile)
{
    if (printer.outputFormat() != QPrinter::PdfFormat || !printer.outputFileName().isEmpty())
        return true;
    const QString strFile = fnAskPdfFile ? fnAskPdfFile(QString()) : QString();
    if (strFile.isEmpty())
        return false;
    printer.setOutputFileName(strFile);
    return true;
}

void UsePrintResolution(QPrinter& printer)
{
    if (printer.resolution() != kPrintResolution)
        printer.setResolution(kPrintResolution);
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
            // Nothing of a cancelled job may reach the printer.
            if (auto* pPrinter = dynamic_cast<QPrinter*>(&device))
                pPrinter->abort();
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

int PrintRange(CGridPrinter& printer, QPrinter& device, int nFlags, int c0, int r0, int c1, int r1,
               CMessages& messages, const CPdfFileAsker& fnAskPdfFile)
{
    if (!EnsurePrintTarget(device, fnAskPdfFile))
        return 1;
    CPrintFileOutput file;
    if (device.outputFormat() == QPrinter::PdfFormat &&
        !file.Begin(device, device.outputFileName())) {
        messages.Inform(kMsgPrintError, kMsgPrintErrorCaption, MessageIcon::Error);
        return 1;
    }
    UsePrintResolution(device);
    device.setDocName(QString::fromLatin1(kPrintRangeDocName));
    const int nResult =
        PrintRange(printer, device, PrintJobSettingsOf(device), nFlags, c0, r0, c1, r1, messages);
    if (nResult == 0 && device.outputFormat() == QPrinter::PdfFormat && !file.Commit()) {
        messages.Inform(kMsgPrintError2, kMsgPrintErrorCaption, MessageIcon::Error);
        return 1;
    }
    return nResult;
}

} // namespace hpa
