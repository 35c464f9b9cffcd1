// The desktop's side of a big document, on the offscreen Qt platform: open
// an .hpa file and paint the first screen, show the job grid, page down,
// and how long each ordinary operation keeps the user interface thread
// busy (the window cannot repaint or answer input meanwhile).
//
// The view here is a stand-in with the desktop view's set-up: three grid
// windows covering a 1024 x 768 client area, Arial 9 points, vertically
// centred text, range selection, uniform 16-pixel rows; the document is the
// desktop's own (CVexAccDoc). HPA_BENCH_HPA names the .hpa file
// (bench/run.sh passes the one bench_document saved).
#include "accounting/Acc.h"
#include "accounting/FieldCatalogue.h"
#include "document/qt/DocumentUi.h"
#include "document/qt/VexAccDoc.h"
#include "grid/UGCtrl.h"
#include "grid/qt/GridChildren.h"
#include "grid/qt/GridWnd.h"
#include "platform/Messages.h"
#include "ui/ViewLink.h"
#include "view/qt/ExportCommand.h"

#include "FreezeProbe.h"
#include "QtBenchMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace hpa;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kClientW = 1024;
constexpr int kClientH = 768;

double Millis(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

QString HpaPath()
{
    const char* psz = std::getenv("HPA_BENCH_HPA");
    return psz ? QString::fromLocal8Bit(psz) : QString();
}

class CNoDocumentUi : public CDocumentUi {
public:
    Answer AskSaveChanges(const QString&) override { return Answer::No; }
    QString GetOpenFileName() override { return {}; }
    QString GetSaveFileName(const QString&) override { return {}; }
};

// Three grid windows in a client area, shown one at a time, as the view
// does it.
class CBenchView : public QWidget, public CViewLink {
public:
    CBenchView()
    {
        resize(kClientW, kClientH);
        const int nPixels = -(9 * logicalDpiY()) / 72;
        for (int n = 2; n >= 0; --n) { // created in the view's order: status, paper, job
            CUGCtrl& grid = m_grids[static_cast<std::size_t>(n)];
            m_wnds[static_cast<std::size_t>(n)] = new CGridWnd(grid);
            m_wnds[static_cast<std::size_t>(n)]->CreateInParent(this, QRect(0, 0, 150, 150),
                                                                1236 - n, false);
        }
        for (CUGCtrl& grid : m_grids) {
            grid.SetGridFont({"Arial", nPixels, 400});
            CUGCell def;
            grid.GetGridDefaults(&def);
            def.SetAlignment(kAlignVCenter);
            grid.SetGridDefaults(&def);
            grid.AllowRangeSelection(1);
            grid.UseOneRowHeight(1);
            grid.SetDefaultRowHeight(16);
        }
        for (CGridWnd* pWnd : m_wnds)
            pWnd->setGeometry(0, 0, kClientW, kClientH);
    }
    ~CBenchView() override
    {
        // The windows go before the controls they show.
        for (CGridWnd*& pWnd : m_wnds) {
            delete pWnd;
            pWnd = nullptr;
        }
    }

    CAccDocumentContent Content() { return {{&m_grids[0], &m_grids[1], &m_grids[2]}, &m_acc}; }
    CUGCtrl& Grid(int n) { return m_grids[static_cast<std::size_t>(n)]; }
    CGridWnd& Wnd(int n) { return *m_wnds[static_cast<std::size_t>(n)]; }

    int CurrentKind() const override { return m_nKind; }
    int CurrentGrid() const override { return m_nGrid; }
    void SetCurrent(int nKind, int nGrid) override
    {
        m_nKind = nKind;
        m_nGrid = nGrid;
    }
    void CloseFindDialog(int nGrid) override { Grid(nGrid).CloseFindDialog(); }
    void ShowGrid(int nGrid, bool bShow) override { Wnd(nGrid).setVisible(bShow); }
    void FocusGrid(int nGrid) override { Wnd(nGrid).setFocus(); }
    void SetDataKindPaneText(const QString&) override {}

    // What switching the data kind does: hide the shown grid, show the other.
    void SwitchTo(int nGrid)
    {
        if (m_nGrid >= 0)
            ShowGrid(m_nGrid, false);
        SetCurrent(kDataKindCommand[static_cast<std::size_t>(nGrid)], nGrid);
        ShowGrid(nGrid, true);
        FocusGrid(nGrid);
    }

private:
    std::array<CUGCtrl, 3> m_grids;
    std::array<CGridWnd*, 3> m_wnds{};
    CAcc m_acc;
    int m_nKind = 0;
    int m_nGrid = -1;
};

// A view and its document, shown; the file not yet opened.
struct CDesktop {
    CBenchView m_view;
    CStderrMessages m_messages;
    CNoDocumentUi m_ui;
    CVexAccDoc m_doc{m_view.Content(), m_messages, m_ui};

    CDesktop()
    {
        m_doc.SetViewLink(&m_view);
        m_view.show();
        QApplication::processEvents();
    }
    bool Open() { return m_doc.OnOpenDocument(HpaPath()); }
    // Paints everything that waits to be painted, now.
    void Paint()
    {
        m_view.repaint();
        QApplication::processEvents();
    }
    void Key(int nKey, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        CGridArea* pArea = m_view.Wnd(m_view.CurrentGrid()).CellArea();
        QKeyEvent press(QEvent::KeyPress, nKey, mods);
        QApplication::sendEvent(pArea, &press);
        QKeyEvent release(QEvent::KeyRelease, nKey, mods);
        QApplication::sendEvent(pArea, &release);
    }
};

bool CheckFile(benchmark::State& state)
{
    if (HpaPath().isEmpty()) {
        state.SkipWithError("HPA_BENCH_HPA names no .hpa file");
        return false;
    }
    return true;
}

// File > Open of the document and the first screen (the status grid) on
// the screen.
void BM_OpenAndPaintFirstScreen(benchmark::State& state)
{
    if (!CheckFile(state))
        return;
    for (auto _ : state) {
        auto pDesktop = std::make_unique<CDesktop>();
        const Clock::time_point start = Clock::now();
        const bool bOpened = pDesktop->Open();
        pDesktop->Paint();
        state.SetIterationTime(Millis(start) / 1000.0);
        if (!bOpened)
            return state.SkipWithError("the document did not open");
        state.PauseTiming();
        pDesktop.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenAndPaintFirstScreen)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// One opened document shared by the benchmarks below.
CDesktop& OpenedDesktop()
{
    static CDesktop* s_pDesktop = [] {
        auto* p = new CDesktop;
        p->Open();
        p->Paint();
        return p;
    }();
    return *s_pDesktop;
}

// Switching from the status grid to the job grid and painting it.
void BM_ShowJobGrid(benchmark::State& state)
{
    if (!CheckFile(state))
        return;
    CDesktop& desktop = OpenedDesktop();
    for (auto _ : state) {
        desktop.m_view.SwitchTo(kKindStatus);
        desktop.Paint();
        const Clock::time_point start = Clock::now();
        desktop.m_view.SwitchTo(kKindJob);
        desktop.Paint();
        state.SetIterationTime(Millis(start) / 1000.0);
    }
}
BENCHMARK(BM_ShowJobGrid)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// Page Down in the job grid: the key handled (the cells drawn into the cell
// area's pixels) and the window repainted.
void BM_PageDownPaint(benchmark::State& state)
{
    if (!CheckFile(state))
        return;
    CDesktop& desktop = OpenedDesktop();
    desktop.m_view.SwitchTo(kKindJob);
    desktop.Key(Qt::Key_Home, Qt::ControlModifier);
    desktop.Paint();
    double dKeyMs = 0;
    for (auto _ : state) {
        if (desktop.m_view.Grid(kKindJob).GetCurrentRow() + 100 >=
            desktop.m_view.Grid(kKindJob).RowCount()) {
            state.PauseTiming();
            desktop.Key(Qt::Key_Home, Qt::ControlModifier);
            desktop.Paint();
            state.ResumeTiming();
        }
        const Clock::time_point start = Clock::now();
        desktop.Key(Qt::Key_PageDown);
        dKeyMs += Millis(start);
        desktop.Paint();
        state.SetIterationTime(Millis(start) / 1000.0);
    }
    state.counters["key_ms"] = dKeyMs / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PageDownPaint)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

// How long each ordinary operation freezes the user interface thread,
// painting included; the counters give every one in milliseconds, and
// "..._total_ms" the whole operation where it does not run in one go.
void BM_UiThreadBusy(benchmark::State& state)
{
    if (!CheckFile(state))
        return;
    CDesktop& desktop = OpenedDesktop();
    CBenchView& view = desktop.m_view;
    CUGCtrl& job = view.Grid(kKindJob);
    const QString strExport = QDir::temp().filePath(QStringLiteral("hpa-bench-export.csv"));
    const QString strSave = QDir::temp().filePath(QStringLiteral("hpa-bench-save.hpa"));
    struct COp {
        const char* pszName;
        std::function<void()> fn;
    };
    const std::vector<COp> ops = {
        {"show_job_ms", [&] { view.SwitchTo(kKindJob); }},
        {"ctrl_end_ms", [&] { desktop.Key(Qt::Key_End, Qt::ControlModifier); }},
        {"ctrl_home_ms", [&] { desktop.Key(Qt::Key_Home, Qt::ControlModifier); }},
        {"page_down_ms", [&] { desktop.Key(Qt::Key_PageDown); }},
        {"arrow_down_ms", [&] { desktop.Key(Qt::Key_Down); }},
        {"thumb_to_middle_ms",
         [&] {
             QScrollBar* pBar = view.Wnd(kKindJob).VScrollBar();
             pBar->setSliderDown(true);
             pBar->setSliderPosition((pBar->minimum() + pBar->maximum()) / 2);
             pBar->setSliderDown(false);
         }},
        {"select_down_20_ms",
         [&] {
             for (int n = 0; n < 20; ++n)
                 desktop.Key(Qt::Key_Down, Qt::ShiftModifier);
         }},
        {"copy_selection_ms", [&] { job.CopySelectionToClipboard(); }},
        {"find_missing_text_ms",
         [&] {
             // A text in no row: the search walks the whole column, each
             // cell compared as the find dialog compares it.
             int nRow = 0;
             CGridStore* pStore = job.GetCurrentStore();
             pStore->m_pFindMatcher = job.GetFind().TextMatcher();
             pStore->FindFirst(job.GetCurrentColumn(), "no such text", &nRow);
             pStore->m_pFindMatcher = nullptr;
         }},
        {"show_paper_ms", [&] { view.SwitchTo(kKindPaper); }},
        {"show_status_ms", [&] { view.SwitchTo(kKindStatus); }},
        {"export_job_csv_ms",
         [&] { ExportGridToFile(job, kKindJob, std::string(), strExport, desktop.m_messages); }},
        {"save_hpa_ms", [&] { desktop.m_doc.OnSaveDocument(strSave); }},
    };
    CFreezeProbe probe;
    for (auto _ : state) {
        double dLongest = 0;
        for (const COp& op : ops) {
            const Clock::time_point start = Clock::now();
            probe.Start();
            op.fn();
            desktop.Paint();
            const double dMs = probe.Stop();
            const double dTotal = Millis(start);
            state.counters[op.pszName] = dMs;
            if (dTotal > dMs + 1.0) {
                std::string strTotal(op.pszName);
                strTotal.insert(strTotal.size() - 3, "_total");
                state.counters[strTotal] = dTotal;
            }
            dLongest = std::max(dLongest, dMs);
        }
        state.counters["longest_ms"] = dLongest;
        state.SetIterationTime(dLongest / 1000.0);
    }
    QFile::remove(strExport);
    QFile::remove(strSave);
}
BENCHMARK(BM_UiThreadBusy)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv);
}
