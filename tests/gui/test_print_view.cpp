// Printing the grid on show: the view's begin / page / end steps (print
// font and painting, the header above every page's block), whole jobs on
// PDF devices with page ranges and copies, the print dialog and print
// without dialog, a system without print queue, and the preview window.
#include "accounting/Acc.h"
#include "grid/GridPrinter.h"
#include "grid/UGCtrl.h"
#include "platform/Profile.h"
#include "support/RecordingGridDC.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"
#include "view/qt/PrintCommands.h"
#include "view/qt/PrintingDialog.h"

#include <QApplication>
#include <QBuffer>
#include <QDialogButtonBox>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

namespace hpa {
namespace {

using test::CDCCall;
using test::CRecordingGridDC;
using test::CRecordingMessages;
using test::CTempDir;

const CGridFont kScreenFont{"Arial", -12, 400, false, false};
const CGridFont kPrintFont{"Arial", 9, 400, false, false};

// Pages of a PDF file as poppler counts them; -1 when it cannot.
int PdfPages(const std::filesystem::path& pdf)
{
    const std::string cmd = "pdfinfo '" + pdf.string() + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
    if (!pipe)
        return -1;
    char line[512];
    while (std::fgets(line, sizeof line, pipe.get())) {
        int n = 0;
        if (std::sscanf(line, "Pages: %d", &n) == 1)
            return n;
    }
    return -1;
}

// A Job-like grid of nRows rows and three 120-pixel columns, on screen.
struct Shown {
    explicit Shown(int nRows = 100)
    {
        grid.SetGridFont(kScreenFont);
        grid.UseOneRowHeight(1);
        grid.SetDefaultRowHeight(16);
        grid.SetColumnCount(3);
        grid.SetRowCount(nRows);
        for (int nCol = 0; nCol < 3; ++nCol) {
            grid.SetColumnWidth(nCol, 120);
            grid.SetCellText(nCol, -1, "Head" + std::to_string(nCol));
        }
        for (int nRow = 0; nRow < nRows; ++nRow) {
            grid.SetCellText(-1, nRow, std::to_string(nRow + 1));
            grid.SetCellText(0, nRow, "r" + std::to_string(nRow));
        }
        acc.m_strHost = "PRN-4";
        acc.m_strDownloadDate = "03/07/2024";
        acc.m_strDownloadTime = "14:05:09";
        source.m_pGrid = &grid;
        source.m_pPrinter = &printer;
        source.m_pAcc = &acc;
        source.m_strTitle = "JOB";
        source.m_screenFont = kScreenFont;
        source.m_printFont = kPrintFont;
    }
    CUGCtrl grid;
    CGridPrinter printer{grid};
    CAcc acc;
    CViewPrintSource source;
};

// An A4 PDF device at the program's print resolution, written to memory.
struct PdfDevice {
    PdfDevice() : writer(&buffer)
    {
        buffer.open(QIODevice::WriteOnly);
        writer.setResolution(kPrintResolution);
        writer.setPageSize(QPageSize(QPageSize::A4));
    }
    QBuffer buffer;
    QPdfWriter writer;
};

} // namespace

// ---- the view's steps ------------------------------------------------------------------------

TEST(ViewPrintJob, BeginSwitchesToThePrintFontAndEndRestoresTheScreen)
{
    Shown shown;
    PdfDevice pdf;
    {
        CViewPrintJob job(shown.source);
        const int nPages = job.OnBeginPrinting(pdf.writer);
        // A4 at 300 dpi: 203 x 290 printable millimetres; with both headings
        // 398 x 697 screen pixels: three columns of 120 and 43 rows a page.
        EXPECT_EQ(nPages, 3);
        EXPECT_TRUE(job.IsPrinting());
        EXPECT_EQ(shown.grid.GetGridFont(), kPrintFont);
        EXPECT_EQ(shown.grid.GetGridLayout().m_bPaintEnabled, 0);
        EXPECT_EQ(job.HeaderFont(), (CGridFont{"Arial", -33, 400, false, false}));
        job.OnEndPrinting();
        EXPECT_FALSE(job.IsPrinting());
        EXPECT_EQ(shown.grid.GetGridFont(), kScreenFont);
        EXPECT_EQ(shown.grid.GetGridLayout().m_bPaintEnabled, 1);

        // A job that is dropped while printing restores the grid too.
        job.OnBeginPrinting(pdf.writer);
    }
    EXPECT_EQ(shown.grid.GetGridFont(), kScreenFont);
    EXPECT_EQ(shown.grid.GetGridLayout().m_bPaintEnabled, 1);
}

TEST(ViewPrintJob, EveryPageHasTheHeaderAboveItsBlock)
{
    Shown shown;
    PdfDevice pdf;
    CViewPrintJob job(shown.source);
    ASSERT_EQ(job.OnBeginPrinting(pdf.writer), 3);
    const CGridRect rcPage{0, 0, pdf.writer.width(), pdf.writer.height()};
    for (int nPage = 1; nPage <= 3; ++nPage) {
        CRecordingGridDC dc;
        job.OnPrint(dc, rcPage, nPage);
        EXPECT_EQ(job.Page(), nPage);
        EXPECT_EQ(job.PageRect(), rcPage);
        const std::vector<std::string> texts = dc.TextStrings();
        ASSERT_GT(texts.size(), 9u);
        const std::vector<std::string> header(texts.begin(), texts.begin() + 9);
        EXPECT_EQ(header, (std::vector<std::string>{"Date:", "03/07/2024", "Time:", "14:05:09",
                                                    "Host:", "PRN-4",
                                                    "Page:", std::to_string(nPage), "JOB"}));
        // Then the block: the heading row first, then the page's first row.
        EXPECT_EQ(texts[9], "Head0");
        const int nFirstRow = (nPage - 1) * 43;
        EXPECT_EQ(texts[12], std::to_string(nFirstRow + 1));
        EXPECT_EQ(texts[13], "r" + std::to_string(nFirstRow));
        // Header texts lie above the block, which starts 25 mm down.
        for (std::size_t i = 0; i < 9; ++i)
            EXPECT_LT(dc.Texts()[i].y, shown.printer.TopOffset());
    }
    job.OnEndPrinting();
}

// ---- whole jobs --------------------------------------------------------------------------------

TEST(ViewPrintJob, PageRangeAndCopiesDecideThePagesOfTheDocument)
{
    CTempDir dir;
    Shown shown;
    const auto printTo = [&](const char* pszName, const CPrintJobSettings& settings) {
        QPdfWriter writer(QString::fromStdString((dir.Path() / pszName).string()));
        writer.setResolution(kPrintResolution);
        writer.setPageSize(QPageSize(QPageSize::A4));
        EXPECT_EQ(PrintView(shown.source, writer, settings), PrintJobResult::Printed);
        return dir.Path() / pszName;
    };
    EXPECT_EQ(PdfPages(printTo("all.pdf", {})), 3);
    EXPECT_EQ(PdfPages(printTo("range.pdf", {true, 2, 9, 1, true})), 2);
    EXPECT_EQ(PdfPages(printTo("copies.pdf", {false, 0, 0, 2, false})), 6);
    EXPECT_EQ(shown.grid.GetGridFont(), kScreenFont);
}

TEST(ViewPrintJob, EmptyGridPrintsNoDocument)
{
    Shown shown(0);
    PdfDevice pdf;
    EXPECT_EQ(PrintView(shown.source, pdf.writer, {}), PrintJobResult::NothingToPrint);
    EXPECT_EQ(pdf.buffer.size(), 0);
    EXPECT_EQ(shown.grid.GetGridLayout().m_bPaintEnabled, 1);
}

// ---- the commands
// --------------------------------------------------------------------------------

namespace {

struct Commands {
    Commands()
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        context.m_pPrinter = &printer;
        context.m_pMessages = &messages;
        context.m_fnSource = [this]() -> std::optional<CViewPrintSource> {
            if (!bShown)
                return std::nullopt;
            return shown.source;
        };
    }
    std::filesystem::path Pdf(const char* pszName) const { return dir.Path() / pszName; }
    void OutputTo(const char* pszName)
    {
        printer.setOutputFileName(QString::fromStdString(Pdf(pszName).string()));
    }
    CTempDir dir;
    Shown shown;
    bool bShown = true;
    QPrinter printer{QPrinter::HighResolution};
    CRecordingMessages messages;
    CPrintCommandContext context;
};

} // namespace

TEST(PrintCommands, PrintDialogRangeIsHonouredAndPrintDirectPrintsEverything)
{
    Commands c;
    c.OutputTo("dialog.pdf");
    c.printer.setPrintRange(QPrinter::PageRange);
    c.printer.setFromTo(2, 2);
    int nDialogs = 0;
    c.context.m_fnPrintDialog = [&](QPrinter&) {
        ++nDialogs;
        return true;
    };
    EXPECT_TRUE(OnFilePrint(c.context));
    EXPECT_EQ(nDialogs, 1);
    EXPECT_EQ(PdfPages(c.Pdf("dialog.pdf")), 1);

    c.context.m_fnAskPdfFile = [&](const QString&) {
        return QString::fromStdString(c.Pdf("direct.pdf").string());
    };
    EXPECT_TRUE(OnFilePrintDirect(c.context));
    EXPECT_EQ(nDialogs, 1); // no dialog
    EXPECT_EQ(PdfPages(c.Pdf("direct.pdf")), 3);
    EXPECT_TRUE(c.messages.m_messages.empty());
}

TEST(PrintCommands, CancelledDialogOrNoDataPrintsNothing)
{
    Commands c;
    c.OutputTo("never.pdf");
    c.context.m_fnPrintDialog = [](QPrinter&) { return false; };
    EXPECT_FALSE(OnFilePrint(c.context));
    c.bShown = false;
    EXPECT_FALSE(OnFilePrintDirect(c.context));
    EXPECT_FALSE(std::filesystem::exists(c.Pdf("never.pdf")));
    EXPECT_EQ(c.shown.grid.GetGridFont(), kScreenFont);
}

TEST(PrintCommands, NoPrintQueueAsksForAPdfFile)
{
    Commands c;
    c.printer.setOutputFileName(QString());
    c.context.m_fnAskPdfFile = [](const QString&) { return QString(); };
    EXPECT_FALSE(OnFilePrintDirect(c.context));
    EXPECT_TRUE(c.messages.m_messages.empty());

    c.context.m_fnAskPdfFile = [&](const QString&) {
        return QString::fromStdString(c.Pdf("asked.pdf").string());
    };
    EXPECT_TRUE(OnFilePrintDirect(c.context));
    EXPECT_EQ(PdfPages(c.Pdf("asked.pdf")), 3);
}

TEST(PrintCommands, JobThatCannotStartIsReported)
{
    Commands c;
    c.context.m_fnAskPdfFile = [&](const QString&) {
        return QString::fromStdString(c.Pdf("missing/x.pdf").string());
    };
    EXPECT_FALSE(OnFilePrintDirect(c.context));
    EXPECT_EQ(c.messages.Exclamations(), std::vector<std::string>{"Could not start print job."});
    EXPECT_EQ(c.shown.grid.GetGridFont(), kScreenFont);
    EXPECT_EQ(c.shown.grid.GetGridLayout().m_bPaintEnabled, 1);
}

TEST(PrintCommands, PreviewShowsEveryPreparedPage)
{
    Commands c;
    c.printer.setPrintRange(QPrinter::PageRange); // a range is for printing only
    c.printer.setFromTo(2, 2);
    int nPreviewPages = -1;
    bool bFontDuringPreview = false;
    QTimer::singleShot(0, [&] {
        auto* pDialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(pDialog, nullptr);
        if (auto* pWidget = pDialog->findChild<QPrintPreviewWidget*>())
            nPreviewPages = pWidget->pageCount();
        bFontDuringPreview = c.shown.grid.GetGridFont() == kScreenFont;
        pDialog->reject();
    });
    OnFilePrintPreview(c.context);
    EXPECT_EQ(nPreviewPages, 3);
    EXPECT_TRUE(bFontDuringPreview); // between the preview's jobs the screen is back
    EXPECT_TRUE(c.messages.m_messages.empty());
}

TEST(PrintCommands, PdfFileIsNamedAfterTheDocumentAndTheKind)
{
    EXPECT_EQ(PdfFileSuggestion("/data/march/sample.hpa", "sample.hpa", "JOB", "/home/u"),
              "/data/march/sample-JOB.pdf");
    // Not saved yet: the fallback folder and the untitled name.
    EXPECT_EQ(PdfFileSuggestion("", "Untitled", "STATUS", "/home/u"),
              "/home/u/Untitled-STATUS.pdf");
}

TEST(PrintCommands, CancelStopsBeforeTheNextPageAndKeepsThePreviousFile)
{
    Commands c;
    Shown longGrid(2000); // dozens of pages
    c.context.m_fnSource = [&]() -> std::optional<CViewPrintSource> { return longGrid.source; };
    c.dir.Write("report.pdf", "the previous report");
    c.context.m_fnAskPdfFile = [&](const QString&) {
        return QString::fromStdString(c.Pdf("report.pdf").string());
    };
    QStringList pagesSeen;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* pDialog = qobject_cast<CPrintingDialog*>(QApplication::activeModalWidget());
        if (!pDialog)
            return;
        if (pagesSeen.isEmpty() || pagesSeen.back() != pDialog->PageText())
            pagesSeen.append(pDialog->PageText());
        if (pDialog->PageText() == "Page 3")
            if (auto* pButtons = pDialog->findChild<QDialogButtonBox*>())
                pButtons->button(QDialogButtonBox::Cancel)->click();
    });
    watcher.start(0);
    EXPECT_FALSE(OnFilePrintDirect(c.context));
    watcher.stop();

    // The dialog showed each page as it came and the job stopped at the third.
    EXPECT_EQ(pagesSeen, (QStringList{"Page 1", "Page 2", "Page 3"}));
    EXPECT_TRUE(c.messages.m_messages.empty()); // cancelling is no error
    // The previous file as it was, and no partial file beside it.
    EXPECT_EQ(CTempDir::Read(c.Pdf("report.pdf")), "the previous report");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(c.dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(longGrid.grid.GetGridFont(), kScreenFont);
    EXPECT_EQ(longGrid.grid.GetGridLayout().m_bPaintEnabled, 1);

    // Printed to the end, the new file replaces the old one.
    EXPECT_TRUE(OnFilePrintDirect(c.context));
    EXPECT_GT(PdfPages(c.Pdf("report.pdf")), 3);
    EXPECT_TRUE(c.printer.outputFileName().isEmpty()); // not kept for the next job
}

TEST(PrintCommands, PreviewKeepsItsPageViewBetweenRuns)
{
    Commands c;
    CMemoryProfile profile;
    c.context.m_pProfile = &profile;
    QPrintPreviewWidget::ViewMode shown = QPrintPreviewWidget::AllPagesView;
    const auto previewAnd = [&](const std::function<void(QPrintPreviewWidget&)>& fn) {
        QTimer::singleShot(0, [&] {
            auto* pDialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(pDialog, nullptr);
            auto* pWidget = pDialog->findChild<QPrintPreviewWidget*>();
            ASSERT_NE(pWidget, nullptr);
            fn(*pWidget);
            pDialog->reject();
        });
        OnFilePrintPreview(c.context);
    };
    previewAnd([&](QPrintPreviewWidget& w) {
        shown = w.viewMode();
        w.setFacingPagesViewMode();
    });
    EXPECT_EQ(shown, QPrintPreviewWidget::SinglePageView); // at first one page
    previewAnd([&](QPrintPreviewWidget& w) { shown = w.viewMode(); });
    EXPECT_EQ(shown, QPrintPreviewWidget::FacingPagesView);
}

} // namespace hpa
