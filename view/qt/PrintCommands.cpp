#include "view/qt/PrintCommands.h"

#include "accounting/Acc.h"
#include "app/AccViewBase.h"
#include "app/MainFrame.h"
#include "app/VexAccApp.h"
#include "document/qt/DocumentUi.h"
#include "document/qt/VexAccDoc.h"
#include "grid/GridPrinter.h"
#include "grid/UGCtrl.h"
#include "platform/Messages.h"
#include "platform/Profile.h"
#include "view/PrintHeader.h"
#include "view/qt/PrintingDialog.h"

#include <QDir>
#include <QFileInfo>

#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <array>
#include <memory>

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
    if (m_headerFont && m_source.m_pAcc)
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

// ---- the commands ------------------------------------------------------------------------

namespace {

bool Report(const CPrintCommandContext& context, PrintJobResult result)
{
    const char* pszMessage = nullptr;
    switch (result) {
    case PrintJobResult::Printed:
    case PrintJobResult::NothingToPrint:
        return true;
    case PrintJobResult::Cancelled:
        return false; // the user's choice: nothing to report
    case PrintJobResult::StartFailed:
        pszMessage = kMsgCouldNotStartPrint;
        break;
    case PrintJobResult::EndFailed:
        pszMessage = kMsgCouldNotEndPrint;
        break;
    }
    if (context.m_pMessages)
        context.m_pMessages->Exclamation(pszMessage);
    return false;
}

bool RunPrintDialog(const CPrintCommandContext& context, QPrinter& printer)
{
    if (context.m_fnPrintDialog)
        return context.m_fnPrintDialog(printer);
    QPrintDialog dialog(&printer, context.m_pView);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCollateCopies |
                      QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

bool IsPdfPrinter(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat;
}

// A whole job on a real printer (not the preview's), with the "Printing"
// dialog. A PDF goes to strTarget through a temporary file.
PrintJobResult RunJobWithProgress(const CPrintCommandContext& context,
                                  const CViewPrintSource& source, QPrinter& printer,
                                  const CPrintJobSettings& settings, const QString& strTarget)
{
    CPrintFileOutput file;
    if (!strTarget.isEmpty() && !file.Begin(printer, strTarget))
        return PrintJobResult::StartFailed;
    const QString strDestination =
        strTarget.isEmpty() ? printer.printerName() : QFileInfo(strTarget).fileName();
    CPrintingDialog progress(printer.docName(), strDestination, context.m_pView);
    PrintJobResult result = PrintView(source, printer, settings,
                                      [&](int nPage) { return progress.OnPageStart(nPage); });
    if (result == PrintJobResult::Printed && !strTarget.isEmpty() && !file.Commit())
        result = PrintJobResult::EndFailed;
    return result;
}

bool PrintOnPrinter(const CPrintCommandContext& context, bool bDialog)
{
    if (!context.m_pPrinter || !context.m_fnSource)
        return false;
    const std::optional<CViewPrintSource> source = context.m_fnSource();
    if (!source)
        return false;
    QPrinter& printer = *context.m_pPrinter;
    if (!context.m_strDocName.isEmpty())
        printer.setDocName(context.m_strDocName);
    QString strTarget;
    if (bDialog) {
        // A PDF printer's file field proposes this job's own file.
        if (IsPdfPrinter(printer) && !context.m_strPdfSuggestion.isEmpty())
            printer.setOutputFileName(context.m_strPdfSuggestion);
        if (!RunPrintDialog(context, printer)) {
            if (IsPdfPrinter(printer))
                printer.setOutputFileName(QString());
            return false;
        }
        // A file chosen in the dialog was confirmed there.
        if (IsPdfPrinter(printer))
            strTarget = printer.outputFileName();
    }
    // Without a print queue every job asks for its file, whatever an
    // earlier job wrote.
    if (IsPdfPrinter(printer) && strTarget.isEmpty()) {
        strTarget =
            context.m_fnAskPdfFile ? context.m_fnAskPdfFile(context.m_strPdfSuggestion) : QString();
        if (strTarget.isEmpty()) {
            printer.setOutputFileName(QString());
            return false;
        }
    }
    UsePrintResolution(printer);
    CPrintJobSettings settings = PrintJobSettingsOf(printer);
    if (!bDialog)
        settings.bPageRange = false; // without the dialog: every page
    return Report(context, RunJobWithProgress(context, *source, printer, settings, strTarget));
}

// The preview paints through a picture engine of its own; a print started
// from the preview window paints the real printer's engine.
bool IsPreviewPainting(QPrinter& printer)
{
    const QPaintEngine* pEngine = printer.paintEngine();
    return pEngine && pEngine->type() == QPaintEngine::Picture;
}

QPrintPreviewWidget::ViewMode PreviewModeFromProfile(const CProfile* pProfile)
{
    const std::string strPages =
        pProfile ? pProfile->GetString(kProfilePreviewSection, kProfilePreviewPages, "1") : "1";
    if (strPages == "2")
        return QPrintPreviewWidget::FacingPagesView;
    if (strPages == "all")
        return QPrintPreviewWidget::AllPagesView;
    return QPrintPreviewWidget::SinglePageView;
}

const char* PreviewModeName(QPrintPreviewWidget::ViewMode mode)
{
    switch (mode) {
    case QPrintPreviewWidget::FacingPagesView:
        return "2";
    case QPrintPreviewWidget::AllPagesView:
        return "all";
    case QPrintPreviewWidget::SinglePageView:
        break;
    }
    return "1";
}

} // namespace

QString PdfFileSuggestion(const QString& strDocPath, const QString& strTitle,
                          const QString& strKind, const QString& strFallbackDir)
{
    const QString strDir =
        strDocPath.isEmpty() ? strFallbackDir : QFileInfo(strDocPath).absolutePath();
    QString strBase = strTitle.isEmpty() ? QStringLiteral("Untitled") : strTitle;
    if (strBase.endsWith(QStringLiteral(".hpa"), Qt::CaseInsensitive))
        strBase.chop(4);
    if (!strKind.isEmpty())
        strBase += QLatin1Char('-') + strKind;
    return QDir(strDir).filePath(strBase + QStringLiteral(".pdf"));
}

bool OnFilePrint(const CPrintCommandContext& context)
{
    return PrintOnPrinter(context, true);
}

bool OnFilePrintDirect(const CPrintCommandContext& context)
{
    return PrintOnPrinter(context, false);
}

void OnFilePrintPreview(const CPrintCommandContext& context)
{
    if (!context.m_pPrinter || !context.m_fnSource)
        return;
    const std::optional<CViewPrintSource> source = context.m_fnSource();
    if (!source)
        return;
    QPrinter& printer = *context.m_pPrinter;
    if (!context.m_strDocName.isEmpty())
        printer.setDocName(context.m_strDocName);
    UsePrintResolution(printer);
    QPrintPreviewDialog preview(&printer, context.m_pView);
    QObject::connect(
        &preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* pPrinter) {
            // The preview shows every page once; a print from it
            // follows the settings chosen in its print dialog.
            if (IsPreviewPainting(*pPrinter)) {
                PrintView(*source, *pPrinter, CPrintJobSettings{});
                return;
            }
            const QString strTarget =
                IsPdfPrinter(*pPrinter) ? pPrinter->outputFileName() : QString();
            Report(context, RunJobWithProgress(context, *source, *pPrinter,
                                               PrintJobSettingsOf(*pPrinter), strTarget));
        });
    // The page view chosen last time (one page, two, all) is kept.
    auto* pWidget = preview.findChild<QPrintPreviewWidget*>();
    if (pWidget)
        pWidget->setViewMode(PreviewModeFromProfile(context.m_pProfile));
    preview.exec();
    if (pWidget && context.m_pProfile)
        context.m_pProfile->WriteString(kProfilePreviewSection, kProfilePreviewPages,
                                        PreviewModeName(pWidget->viewMode()));
    if (IsPdfPrinter(printer))
        printer.setOutputFileName(QString());
}

// ---- the view's commands ---------------------------------------------------------------

namespace {

// The printing objects of a view's three grids: made on first use and kept
// with the view, as each grid keeps its own, so a job's pages stay prepared
// until the next job prepares again.
class CViewPrinters : public QObject {
public:
    explicit CViewPrinters(QObject* pView) : QObject(pView)
    {
        setObjectName(QStringLiteral("hpa_view_printers"));
    }
    CGridPrinter& For(CUGCtrl& grid, std::size_t nIndex)
    {
        if (!m_printers[nIndex] || &m_printers[nIndex]->Grid() != &grid)
            m_printers[nIndex] = std::make_unique<CGridPrinter>(grid);
        return *m_printers[nIndex];
    }

private:
    std::array<std::unique_ptr<CGridPrinter>, kDataKindCount> m_printers;
};

CViewPrinters& PrintersOf(CAccViewBase& view)
{
    auto* pPrinters = view.findChild<CViewPrinters*>(QStringLiteral("hpa_view_printers"),
                                                     Qt::FindDirectChildrenOnly);
    return pPrinters ? *pPrinters : *new CViewPrinters(&view);
}

} // namespace

std::optional<CViewPrintSource> ViewPrintSource(CAccViewBase& view, const CGridFont& screenFont,
                                                const CGridFont& printFont)
{
    const int nGrid = view.CurrentGrid();
    if (nGrid < 0 || nGrid >= kDataKindCount)
        return std::nullopt;
    CViewPrintSource source;
    source.m_pGrid = &view.Grid(nGrid);
    source.m_pPrinter = &PrintersOf(view).For(*source.m_pGrid, static_cast<std::size_t>(nGrid));
    source.m_pAcc = &g_acc;
    const CMainFrame* pFrame = CMainFrame::Instance();
    source.m_strTitle = pFrame ? pFrame->DataKindPaneText().toStdString()
                               : kDataKindPaneText[static_cast<std::size_t>(nGrid)];
    source.m_screenFont = screenFont;
    source.m_printFont = printFont;
    return source;
}

bool RunViewPrintCommand(CAccViewBase& view, ViewPrintCommand command, const CGridFont& screenFont,
                         const CGridFont& printFont)
{
    CVexAccApp* pApp = CVexAccApp::Instance();
    if (!pApp)
        return false;
    CPrintCommandContext context;
    context.m_pView = &view;
    context.m_pPrinter = &pApp->Printer();
    context.m_pMessages = &pApp->Messages();
    context.m_pProfile = &pApp->Profile();
    CDocumentUi* pUi = &pApp->DocumentUi();
    context.m_fnAskPdfFile = [pUi](const QString& strSuggested) {
        return pUi->GetPrintFileName(strSuggested);
    };
    if (const CVexAccDoc* pDoc = pApp->Document()) {
        context.m_strDocName = pDoc->GetTitle();
        const CMainFrame* pFrame = CMainFrame::Instance();
        const int nGrid = view.CurrentGrid();
        const QString strKind =
            pFrame ? pFrame->DataKindPaneText()
            : nGrid >= 0 && nGrid < kDataKindCount
                ? QString::fromLatin1(kDataKindPaneText[static_cast<std::size_t>(nGrid)])
                : QString();
        context.m_strPdfSuggestion =
            PdfFileSuggestion(pDoc->GetPathName(), pDoc->GetTitle(), strKind, QDir::currentPath());
    }
    context.m_fnSource = [&view, screenFont, printFont] {
        return ViewPrintSource(view, screenFont, printFont);
    };
    switch (command) {
    case ViewPrintCommand::Print:
        return OnFilePrint(context);
    case ViewPrintCommand::PrintDirect:
        return OnFilePrintDirect(context);
    case ViewPrintCommand::PrintPreview:
        OnFilePrintPreview(context);
        return true;
    }
    return false;
}

} // namespace hpa
