// Grid core costs that must not grow with the row count: filling a job-sized
// grid, memory per text-only cell, and layout, hit testing, paging and
// scrolling on a million uniform rows.
#include "grid/UGCtrl.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>

using namespace hpa;

namespace {

constexpr int kJobColumns = 27;

void Fill(CUGCtrl& grid, int nRows)
{
    grid.SetColumnCount(kJobColumns);
    grid.SetRowCount(nRows);
    std::string str;
    for (int r = 0; r < nRows; ++r) {
        str = std::to_string(r + 1);
        grid.SetCellText(-1, r, str);
        for (int c = 0; c < kJobColumns; ++c)
            grid.SetCellText(c, r, str);
    }
}

CUGCtrl& MillionRowGrid()
{
    static CUGCtrl* s_pGrid = [] {
        auto* pGrid = new CUGCtrl;
        pGrid->UseOneRowHeight(1);
        pGrid->SetDefaultRowHeight(16);
        pGrid->SetColumnCount(kJobColumns);
        pGrid->SetRowCount(1000000);
        pGrid->SetClientSize(1200, 800);
        return pGrid;
    }();
    return *s_pGrid;
}

// Writing rows one after another, as the readers do.
void BM_FillRows(benchmark::State& state)
{
    const int nRows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        CUGCtrl grid;
        Fill(grid, nRows);
        benchmark::DoNotOptimize(grid.GetMemStore()->CellCount());
    }
    state.SetItemsProcessed(state.iterations() * nRows * (kJobColumns + 1));
}
BENCHMARK(BM_FillRows)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Heap bytes per stored text-only cell, everything the store allocates
// included (texts fit the string's inline buffer).
void BM_HeapPerCell(benchmark::State& state)
{
    const int nRows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const std::size_t nBefore = mallinfo2().uordblks;
        auto pGrid = std::make_unique<CUGCtrl>();
        Fill(*pGrid, nRows);
        const std::size_t nAfter = mallinfo2().uordblks;
        const double nCells = static_cast<double>(pGrid->GetMemStore()->CellCount());
        state.counters["heap_bytes_per_cell"] = static_cast<double>(nAfter - nBefore) / nCells;
        state.counters["store_bytes_per_cell"] =
            static_cast<double>(pGrid->GetMemStore()->MemoryUsage()) / nCells;
    }
}
BENCHMARK(BM_HeapPerCell)->Arg(1000000)->Iterations(1)->Unit(benchmark::kSecond);

void BM_InsertRowInTheMiddle(benchmark::State& state)
{
    CUGCtrl grid;
    Fill(grid, static_cast<int>(state.range(0)));
    for (auto _ : state)
        grid.InsertRowAt(grid.RowCount() / 2);
}
BENCHMARK(BM_InsertRowInTheMiddle)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_MaxTopRowMillion(benchmark::State& state)
{
    CUGCtrl& grid = MillionRowGrid();
    for (auto _ : state)
        benchmark::DoNotOptimize(grid.CalcMaxTopRow());
}
BENCHMARK(BM_MaxTopRowMillion);

void BM_CellRectAndHitTestMillion(benchmark::State& state)
{
    CUGCtrl& grid = MillionRowGrid();
    (void)grid.SetTopRow(600000);
    CGridRect rc;
    int nCol = 0, nRow = 0;
    for (auto _ : state) {
        grid.GetCellRect(20, 600030, &rc);
        grid.GetCellFromPoint(rc.left + 1, rc.top + 1, &nCol, &nRow);
        benchmark::DoNotOptimize(nRow);
    }
}
BENCHMARK(BM_CellRectAndHitTestMillion);

void BM_PageDownMillion(benchmark::State& state)
{
    CUGCtrl& grid = MillionRowGrid();
    (void)grid.MoveCurrentCell(0, 0);
    for (auto _ : state) {
        if (grid.MoveRow(kMovePageDown) != kGridDone || grid.GetCurrentRow() == grid.RowCount() - 1)
            (void)grid.MoveCurrentCell(0, 0);
        grid.GetRedrawHints().Clear();
    }
}
BENCHMARK(BM_PageDownMillion);

void BM_ScrollOneRowMillion(benchmark::State& state)
{
    CUGCtrl& grid = MillionRowGrid();
    (void)grid.SetTopRow(0);
    for (auto _ : state) {
        if (grid.ScrollRows(kMoveDown) != kGridDone)
            (void)grid.SetTopRow(0);
        grid.GetRedrawHints().Clear();
    }
}
BENCHMARK(BM_ScrollOneRowMillion);

void BM_ResolveCell(benchmark::State& state)
{
    CUGCtrl grid;
    Fill(grid, 1000);
    CUGCell cell;
    int nRow = 0;
    for (auto _ : state) {
        grid.ResolveCell(nRow % kJobColumns, nRow, &cell);
        nRow = (nRow + 1) % 1000;
        benchmark::DoNotOptimize(cell.GetText().size());
    }
}
BENCHMARK(BM_ResolveCell);

} // namespace
