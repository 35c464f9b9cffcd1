#include "grid/qt/PrinterJob.h"

#include "platform/Messages.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrinter>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

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

CPageStartFn AbortingPageStart(QPagedPaintDevice& device, CPageStartFn fnPageStart)
{
    if (!fnPageStart)
        return fnPageStart;
    return [&device, fn = std::move(fnPageStart)](int nPage) {
        if (fn(nPage))
            return true;
        // Nothing of a cancelled job may reach the printer.
        if (auto* pPrinter = dynamic_cast<QPrinter*>(&device))
            pPrinter->abort();
        return false;
    };
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
