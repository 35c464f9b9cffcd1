#include "view/qt/PrintCommands.h"

#include "accounting/Acc.h"
#include "grid/GridPrinter.h"
#include "grid/UGCtrl.h"
#include "platform/Messages.h"
#include "ui/AccViewBase.h"
#include "ui/AppServices.h"

#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <array>
#include <memory>

namespace hpa {

// ---- the commands ------------------------------------------------------------------------

namespace {

bool Report(const CPrintCommandContext& context, PrintJobResult result)
{
    const char* pszMessage = nullptr;
    switch (result) {
    case PrintJobResult::Printed:
    case PrintJobResult::NothingToPrint:
        return true;
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

bool PrintOnPrinter(const CPrintCommandContext& context, bool bDialog)
{
    if (!context.m_pPrinter || !context.m_fnSource)
        return false;
    const std::optional<CViewPrintSource> source = context.m_fnSource();
    if (!source)
        return false;
    QPrinter& printer = *context.m_pPrinter;
    if (bDialog && !RunPrintDialog(context, printer))
        return false;
    if (!EnsurePrintTarget(printer, context.m_fnAskPdfFile))
        return false;
    UsePrintResolution(printer);
    CPrintJobSettings settings = PrintJobSettingsOf(printer);
    if (!bDialog)
        settings.bPageRange = false; // without the dialog: every page
    return Report(context, PrintView(*source, printer, settings));
}

// The preview paints through a picture engine of its own; a print started
// from the preview window paints the real printer's engine.
bool IsPreviewPainting(QPrinter& printer)
{
    const QPaintEngine* pEngine = printer.paintEngine();
    return pEngine && pEngine->type() == QPaintEngine::Picture;
}

} // namespace

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
    UsePrintResolution(*context.m_pPrinter);
    QPrintPreviewDialog preview(context.m_pPrinter, context.m_pView);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter* pPrinter) {
                         // The preview shows every page once; a print from it
                         // follows the settings chosen in its print dialog.
                         const bool bPreview = IsPreviewPainting(*pPrinter);
                         const CPrintJobSettings settings =
                             bPreview ? CPrintJobSettings{} : PrintJobSettingsOf(*pPrinter);
                         const PrintJobResult result = PrintView(*source, *pPrinter, settings);
                         if (!bPreview)
                             Report(context, result);
                     });
    preview.exec();
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
    const CAppServices* pApp = CAppServices::Instance();
    const std::optional<QString> strPane = pApp ? pApp->FrameDataKindPaneText() : std::nullopt;
    source.m_strTitle =
        strPane ? strPane->toStdString() : kDataKindPaneText[static_cast<std::size_t>(nGrid)];
    source.m_screenFont = screenFont;
    source.m_printFont = printFont;
    return source;
}

bool RunViewPrintCommand(CAccViewBase& view, ViewPrintCommand command, const CGridFont& screenFont,
                         const CGridFont& printFont)
{
    CAppServices* pApp = CAppServices::Instance();
    if (!pApp)
        return false;
    CPrintCommandContext context;
    context.m_pView = &view;
    context.m_pPrinter = &pApp->Printer();
    context.m_pMessages = &pApp->Messages();
    context.m_fnAskPdfFile = [&view] { return AskPdfFileName(&view); };
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
