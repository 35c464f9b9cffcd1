// hpactl print FILE.hpa --kind KIND --pdf OUT.pdf: the pages the desktop
// prints of one grid of a saved document (page header, the grid block of
// every page with both headings), written to a PDF file.
// hpactl summary FILE.hpa [--pdf OUT.pdf]: the accounting summary of a
// saved document, as text on standard output or as the table the summary
// dialog's Print button prints.
//
// Both draw with Qt's fonts and PDF writer but never need a display: the
// offscreen platform is chosen before Qt starts.
#include "commands.h"

#include "accounting/Acc.h"
#include "document/AccDocumentFile.h"
#include "grid/GridPrinter.h"
#include "grid/UGCtrl.h"
#include "grid/qt/GridPrintJob.h"
#include "platform/Messages.h"
#include "view/SummaryRows.h"
#include "view/qt/PrintCommands.h"
#include "view/qt/SummaryDlg.h"
#include "view/qt/ViewGlobals.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace hpactl {

namespace {

struct CPrintOptions {
    std::string m_strDocument;
    std::string m_strPdf;
    std::optional<int> m_nKind;
    QPageSize::PageSizeId m_pageSize = QPageSize::A4;
};

// The desktop's fonts: the screen font of every grid (Arial 9 points on a
// 96 dots-per-inch screen) and the font a grid prints with.
const hpa::CGridFont kScreenGridFont = hpa::MakeScreenGridFont(96);
const hpa::CGridFont kPrintGridFont = hpa::MakePrintGridFont();

std::optional<int> KindFromName(std::string_view strName)
{
    if (strName == "job")
        return hpa::kKindJob;
    if (strName == "paper")
        return hpa::kKindPaper;
    if (strName == "status")
        return hpa::kKindStatus;
    return std::nullopt;
}

// Parses FILE and the options; false (message on stderr) on a bad line.
bool ParseOptions(const char* pszCommand, int argc, char** argv, bool bKind, CPrintOptions& options)
{
    for (int n = 0; n < argc; ++n) {
        const std::string_view strArg = argv[n];
        const bool bHasValue = n + 1 < argc;
        if (strArg == "--pdf" || strArg == "--kind" || strArg == "--page-size") {
            if (!bHasValue || (strArg == "--kind" && !bKind)) {
                std::fprintf(stderr, "hpactl %s: %s %s\n", pszCommand, argv[n],
                             bHasValue ? "is not an option of this command" : "needs a value");
                return false;
            }
            const std::string_view strValue = argv[++n];
            if (strArg == "--pdf") {
                options.m_strPdf = strValue;
            } else if (strArg == "--kind") {
                options.m_nKind = KindFromName(strValue);
                if (!options.m_nKind) {
                    std::fprintf(stderr, "hpactl %s: --kind is job, paper or status, not '%s'\n",
                                 pszCommand, argv[n]);
                    return false;
                }
            } else if (strValue == "A4" || strValue == "a4") {
                options.m_pageSize = QPageSize::A4;
            } else if (strValue == "Letter" || strValue == "letter") {
                options.m_pageSize = QPageSize::Letter;
            } else {
                std::fprintf(stderr, "hpactl %s: --page-size is A4 or Letter, not '%s'\n",
                             pszCommand, argv[n]);
                return false;
            }
        } else if (strArg.size() > 1 && strArg[0] == '-') {
            std::fprintf(stderr, "hpactl %s: unknown option '%s'\n", pszCommand, argv[n]);
            return false;
        } else if (!options.m_strDocument.empty()) {
            std::fprintf(stderr, "hpactl %s: only one document, please ('%s')\n", pszCommand,
                         argv[n]);
            return false;
        } else {
            options.m_strDocument = strArg;
        }
    }
    if (options.m_strDocument.empty()) {
        std::fprintf(stderr, "hpactl %s: which document? (hpactl %s FILE.hpa ...)\n", pszCommand,
                     pszCommand);
        return false;
    }
    return true;
}

// A saved document in three grids set up as the desktop's view sets up its
// grids, and an accounting set.
struct CLoadedDocument {
    hpa::CUGCtrl m_grids[hpa::kDataKindCount];
    hpa::CAcc m_acc;

    CLoadedDocument()
    {
        for (hpa::CUGCtrl& grid : m_grids) {
            grid.SetGridFont(kScreenGridFont);
            hpa::SetAccGridDefaults(grid);
        }
    }
};

bool LoadDocument(const std::string& strPath, CLoadedDocument& document)
{
    std::ifstream file(strPath, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "hpactl: cannot open %s\n", strPath.c_str());
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    if (file.bad()) {
        std::fprintf(stderr, "hpactl: cannot read %s\n", strPath.c_str());
        return false;
    }
    hpa::CAccDocumentContent content;
    for (int n = 0; n < hpa::kDataKindCount; ++n)
        content.m_pGrids[static_cast<std::size_t>(n)] = &document.m_grids[n];
    content.m_pAcc = &document.m_acc;
    try {
        hpa::LoadAccDocument(bytes.data(), bytes.size(), content);
    } catch (const hpa::CArchiveException&) {
        std::fprintf(stderr, "Unexpected file format. (%s)\n", strPath.c_str());
        return false;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "Failed to open document. (%s)\n", strPath.c_str());
        return false;
    }
    return true;
}

// Qt's own notices go to stderr as usual, except the one about a missing
// XDG_RUNTIME_DIR: under cron there is none, and the tool needs none.
void QtMessage(QtMsgType type, const QMessageLogContext& context, const QString& strMessage)
{
    if (type == QtWarningMsg && strMessage.startsWith(QStringLiteral("QStandardPaths: ")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, strMessage)));
}

// Qt for fonts and PDF output, on the offscreen platform: hpactl never
// opens a window and must run where there is no display.
std::unique_ptr<QGuiApplication> StartQt()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QtMessage);
    static int s_nArgc = 1;
    static char s_szName[] = "hpactl";
    static char* s_apszArgv[] = {s_szName, nullptr};
    return std::make_unique<QGuiApplication>(s_nArgc, s_apszArgv);
}

// A PDF written beside its final place and moved there when complete.
class CPdfOutput {
public:
    CPdfOutput(const std::string& strPath, QPageSize::PageSizeId pageSize, const char* pszTitle)
        : m_file(QString::fromLocal8Bit(strPath.c_str())), m_strPath(strPath)
    {
        if (!m_file.open(QIODevice::WriteOnly))
            return;
        m_pWriter = std::make_unique<QPdfWriter>(&m_file);
        m_pWriter->setResolution(hpa::kPrintResolution);
        m_pWriter->setPageSize(QPageSize(pageSize));
        m_pWriter->setTitle(QString::fromLatin1(pszTitle));
        m_pWriter->setCreator(QStringLiteral("hpactl"));
    }
    QPdfWriter* Writer() const { return m_pWriter.get(); }
    bool Commit()
    {
        m_pWriter.reset(); // flushes nothing more: the painter has ended
        return m_file.commit();
    }
    const std::string& Path() const { return m_strPath; }

private:
    QSaveFile m_file;
    std::string m_strPath;
    std::unique_ptr<QPdfWriter> m_pWriter;
};

int FinishPdf(CPdfOutput& pdf, hpa::PrintJobResult result, const char* pszWhat)
{
    switch (result) {
    case hpa::PrintJobResult::NothingToPrint:
        std::fprintf(stderr, "hpactl: %s has no cells to print; %s not written\n", pszWhat,
                     pdf.Path().c_str());
        return kExitFailed;
    case hpa::PrintJobResult::StartFailed:
    case hpa::PrintJobResult::EndFailed:
    case hpa::PrintJobResult::Cancelled:
        std::fprintf(stderr, "hpactl: writing %s failed\n", pdf.Path().c_str());
        return kExitFailed;
    case hpa::PrintJobResult::Printed:
        break;
    }
    if (!pdf.Commit()) {
        std::fprintf(stderr, "hpactl: writing %s failed\n", pdf.Path().c_str());
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

int RunPrint(int argc, char** argv)
{
    CPrintOptions options;
    if (!ParseOptions("print", argc, argv, true, options))
        return kExitUsage;
    if (!options.m_nKind || options.m_strPdf.empty()) {
        std::fprintf(stderr, "hpactl print: FILE.hpa --kind job|paper|status --pdf OUT.pdf\n");
        return kExitUsage;
    }
    const auto pApp = StartQt();
    auto pDocument = std::make_unique<CLoadedDocument>();
    if (!LoadDocument(options.m_strDocument, *pDocument))
        return kExitFailed;

    const int nKind = *options.m_nKind;
    const char* pszTitle = hpa::kDataKindPaneText[static_cast<std::size_t>(nKind)];
    hpa::CUGCtrl& grid = pDocument->m_grids[nKind];
    hpa::CGridPrinter printer(grid);
    hpa::CViewPrintSource source;
    source.m_pGrid = &grid;
    source.m_pPrinter = &printer;
    source.m_pAcc = &pDocument->m_acc;
    source.m_strTitle = pszTitle;
    source.m_screenFont = kScreenGridFont;
    source.m_printFont = kPrintGridFont;

    CPdfOutput pdf(options.m_strPdf, options.m_pageSize, pszTitle);
    if (!pdf.Writer()) {
        std::fprintf(stderr, "hpactl print: cannot create %s\n", options.m_strPdf.c_str());
        return kExitFailed;
    }
    const hpa::PrintJobResult result = hpa::PrintView(source, *pdf.Writer(), {});
    const std::string strWhat = std::string("the ") + pszTitle + " grid";
    return FinishPdf(pdf, result, strWhat.c_str());
}

int RunSummary(int argc, char** argv)
{
    CPrintOptions options;
    if (!ParseOptions("summary", argc, argv, false, options))
        return kExitUsage;
    auto pDocument = std::make_unique<CLoadedDocument>();
    if (options.m_strPdf.empty()) {
        if (!LoadDocument(options.m_strDocument, *pDocument))
            return kExitFailed;
        for (const hpa::CSummaryRow& row : hpa::SummaryRows(pDocument->m_acc))
            std::printf("%s\t%s\n", row.m_pszLabel, row.m_strValue.c_str());
        return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
    }

    const auto pApp = StartQt();
    if (!LoadDocument(options.m_strDocument, *pDocument))
        return kExitFailed;
    hpa::CUGCtrl grid;
    hpa::FillSummaryGrid(grid, pDocument->m_acc, kScreenGridFont);
    CPdfOutput pdf(options.m_strPdf, options.m_pageSize, "Accounting Summary");
    if (!pdf.Writer()) {
        std::fprintf(stderr, "hpactl summary: cannot create %s\n", options.m_strPdf.c_str());
        return kExitFailed;
    }
    // As the summary dialog's Print button: no headings, one copy.
    hpa::CGridPrinter printer(grid);
    hpa::PrintJobResult result = hpa::PrintJobResult::Printed;
    hpa::WithSummaryPrintForm(grid, kPrintGridFont, kScreenGridFont, [&] {
        const int nPages = printer.PrintPrepare(hpa::PrinterMetricsOf(*pdf.Writer()), 0, 0, 0,
                                                grid.ColumnCount() - 1, grid.RowCount() - 1);
        result =
            hpa::RunPrintJob(*pdf.Writer(), hpa::JobPageOrder({}, nPages),
                             [&](hpa::CGridDC& dc, int nPage) { printer.PrintPage(dc, nPage, 0); });
        return result == hpa::PrintJobResult::Printed ? 0 : 1;
    });
    return FinishPdf(pdf, result, "the summary");
}

} // namespace hpactl
