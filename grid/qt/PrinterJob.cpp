#include "grid/qt/PrinterJob.h"

#include <QFileDialog>
#include <QPrinter>

#include <algorithm>

namespace hpa {

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

QString AskPdfFileName(QWidget* pParent)
{
    QFileDialog dialog(pParent, QStringLiteral("Print to PDF"), QString(),
                       QStringLiteral("PDF files (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool EnsurePrintTarget(QPrinter& printer, const CPdfFileAsker& fnAskPdfFile)
{
    if (printer.outputFormat() != QPrinter::PdfFormat || !printer.outputFileName().isEmpty())
        return true;
    const QString strFile = fnAskPdfFile ? fnAskPdfFile() : QString();
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

int PrintRange(CGridPrinter& printer, QPrinter& device, int nFlags, int c0, int r0, int c1, int r1,
               CMessages& messages, const CPdfFileAsker& fnAskPdfFile)
{
    if (!EnsurePrintTarget(device, fnAskPdfFile))
        return 1;
    UsePrintResolution(device);
    device.setDocName(QString::fromLatin1(kPrintRangeDocName));
    return PrintRange(printer, device, PrintJobSettingsOf(device), nFlags, c0, r0, c1, r1,
                      messages);
}

} // namespace hpa
