// Painting and measuring costs of the grid on Qt: a full 1920 x 1080 cell
// area of a 1,000,000 x 27 grid into an off-screen pixmap, the incremental
// update after scrolling one row, the headings, and fitting 27 column widths
// over a million stored rows through QFontMetrics.
#include "grid/GridPaint.h"
#include "grid/UGCtrl.h"
#include "grid/render/QtGridDC.h"

#include <QPainter>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "QtBenchMain.h"

using namespace hpa;

namespace {

constexpr int kColumns = 27;
constexpr int kRows = 1000000;
constexpr int kAreaW = 1920;
constexpr int kAreaH = 1080;

// Job-like texts of a few sizes per column.
std::string Text(int nCol, int nRow)
{
    switch (nCol % 4) {
    case 0:
        return std::to_string(nRow + 1);
    case 1:
        return "user" + std::to_string(nRow % 97);
    case 2:
        return "05/" + std::to_string(10 + nRow % 18) + "/2024";
    default:
        return "document-" + std::to_string(nRow * 7 % 10007) + ".pdf";
    }
}

void FillRows(CUGCtrl& grid, int nFirst, int nLast)
{
    for (int r = nFirst; r <= nLast; ++r) {
        grid.SetCellText(-1, r, std::to_string(r + 1));
        for (int c = 0; c < kColumns; ++c)
            grid.SetCellText(c, r, Text(c, r));
    }
}

// A million-row grid laid out for a 1920 x 1080 cell area, the view's set-up
// (Arial 9 point, uniform 16-pixel rows, range selection), texts stored for
// the rows the benchmarks show.
CUGCtrl& MillionRowGrid()
{
    static CUGCtrl* s_pGrid = [] {
        auto* pGrid = new CUGCtrl;
        pGrid->SetGridFont({"Arial", -12, 400});
        pGrid->UseOneRowHeight(1);
        pGrid->SetDefaultRowHeight(16);
        pGrid->AllowRangeSelection(1);
        pGrid->SetColumnCount(kColumns);
        pGrid->SetRowCount(kRows);
        for (int c = 0; c < kColumns; ++c)
            pGrid->SetColumnWidth(c, 70 + (c % 4) * 20);
        const GridLayout& gl = pGrid->GetGridLayout();
        pGrid->SetClientSize(kAreaW + gl.m_nSideHeadingWidth + gl.m_nVScrollWidth,
                             kAreaH + gl.m_nTopHeadingHeight + gl.m_nHScrollHeight);
        FillRows(*pGrid, 0, 200);
        FillRows(*pGrid, 500000, 500200);
        pGrid->GetRedrawHints().Clear();
        return pGrid;
    }();
    return *s_pGrid;
}

void BM_PaintFullCellArea(benchmark::State& state)
{
    CUGCtrl& grid = MillionRowGrid();
    (void)grid.SetTopRow(static_cast<int>(state.range(0)));
    grid.GetRedrawHints().Clear();
    CGridPainter painter(grid);
    QPixmap pixmap(kAreaW, kAreaH);
    for (auto _ : state) {
        QPainter qp(&pixmap);
        CQtGridDC dc(&qp, &pixmap);
        grid.GetRedrawHints().InvalidateAll();
        painter.PaintCellArea(dc);
    }
    state.counters["cells"] = static_cast<double>((kAreaH / 16 + 1) * [&] {
        int n = 0, x = 0;
        for (int c = grid.GetLeftColumn(); c < kColumns && x < kAreaW; ++c, ++n) {
            int w = 0;
            grid.GetColumnWidth(c, &w);
            x += w;
        }
        return n;
    }());
}
BENCHMARK(BM_PaintFullCellArea)->Arg(0)->Arg(500000)->Unit(benchmark::kMillisecond);

// Scroll one row down and carry out the update on the retained pixels.
void BM_ScrollOneRowUpdate(benchmark::State& state)
{
    CUGCtrl& grid = MillionRowGrid();
    (void)grid.SetTopRow(0);
    grid.GetRedrawHints().Clear();
    CGridPainter painter(grid);
    QPixmap pixmap(kAreaW, kAreaH);
    for (auto _ : state) {
        if (grid.GetTopRow() >= 150)
            (void)grid.SetTopRow(0);
        grid.GetRedrawHints().Clear();
        (void)grid.ScrollRows(kMoveDown);
        QPainter qp(&pixmap);
        CQtGridDC dc(&qp, &pixmap);
        painter.UpdateCellArea(dc);
    }
}
BENCHMARK(BM_ScrollOneRowUpdate)->Unit(benchmark::kMicrosecond);

void BM_PaintHeadings(benchmark::State& state)
{
    CUGCtrl& grid = MillionRowGrid();
    CGridPainter painter(grid);
    QPixmap top(kAreaW, 20);
    QPixmap side(50, kAreaH);
    for (auto _ : state) {
        {
            QPainter qp(&top);
            CQtGridDC dc(&qp, &top);
            painter.PaintTopHeading(dc, kAreaW, 20);
        }
        QPainter qp(&side);
        CQtGridDC dc(&qp, &side);
        painter.PaintSideHeading(dc, 50, kAreaH);
    }
}
BENCHMARK(BM_PaintHeadings)->Unit(benchmark::kMicrosecond);

// FitColumnWidths over every row of a fully stored million-row grid,
// measured through QFontMetrics (0) and, for comparison, with the core's
// fixed-advance measurer (1): the difference is what measuring text costs.
void BM_FitColumnWidthsMillion(benchmark::State& state)
{
    static CUGCtrl* s_pGrid = [] {
        auto* pGrid = new CUGCtrl;
        pGrid->SetGridFont({"Arial", -12, 400});
        pGrid->UseOneRowHeight(1);
        pGrid->SetColumnCount(kColumns);
        pGrid->SetRowCount(kRows);
        FillRows(*pGrid, 0, kRows - 1);
        return pGrid;
    }();
    if (state.range(0) == 0)
        s_pGrid->SetMeasureDCFactory([] { return std::make_unique<CQtGridDC>(); });
    else
        s_pGrid->SetMeasureDCFactory(nullptr);
    for (auto _ : state)
        s_pGrid->FitColumnWidths(0, kColumns - 1, kRows);
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(kRows + 1) * kColumns);
}
BENCHMARK(BM_FitColumnWidthsMillion)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv);
}
