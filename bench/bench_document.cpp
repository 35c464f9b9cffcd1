// The steps a big accounting set goes through after its download, measured
// in-process on a set on disk: decoding the four working files into the
// grids (FitColumnWidths included), storing and loading the .hpa document,
// and exporting the job grid as CSV. The memory counters come straight from
// the store (bytes of store structures per text-only cell).
//
// The set is a directory holding STA.tmp, DIC.tmp, PAP.tmp and JOB.tmp,
// named by HPA_BENCH_SET; HPA_BENCH_MASKS is "default" (the program's
// default masks) or "all" (every field selected); HPA_BENCH_OUT is where
// the .hpa and .csv files go (default: the system's temporary directory).
// bench/run.sh sets all three.
#include "accounting/Acc.h"
#include "accounting/FieldMasks.h"
#include "document/AccDocumentFile.h"
#include "grid/UGCtrl.h"
#include "platform/Messages.h"
#include "view/ExportWriter.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

using namespace hpa;

namespace {

using Clock = std::chrono::steady_clock;

std::string Env(const char* pszName, const char* pszDefault)
{
    const char* psz = std::getenv(pszName);
    return psz && *psz ? psz : pszDefault;
}

std::filesystem::path OutDir()
{
    return Env("HPA_BENCH_OUT", std::filesystem::temp_directory_path().c_str());
}

CFieldMasks BenchMasks()
{
    CFieldMasks masks;
    if (Env("HPA_BENCH_MASKS", "default") == "all") {
        masks.m_strJobMask.assign(27, '1');
        masks.m_strPaperMask.assign(6, '1');
        masks.m_strStatusMask.assign(17, '1');
    }
    masks.Recount();
    return masks;
}

// Three grids and an accounting set of their own, bound like hpactl binds.
struct CBenchSet {
    CUGCtrl m_grids[kDataKindCount];
    CAcc m_acc;
    CFieldMasks m_masks = BenchMasks();
    CStderrMessages m_messages;

    CBenchSet()
    {
        CAccBinding binding;
        binding.m_pathWorkDir = Env("HPA_BENCH_SET", ".");
        binding.m_pGrids = {&m_grids[0], &m_grids[1], &m_grids[2]};
        binding.m_pMasks = &m_masks;
        binding.m_pMessages = &m_messages;
        m_acc.Bind(binding);
    }

    CAccDocumentContent Content() { return {{&m_grids[0], &m_grids[1], &m_grids[2]}, &m_acc}; }

    // The order of a download, as hpactl decode runs it.
    bool Decode()
    {
        if (!m_acc.ReadStatusFile() || m_acc.IndicatesInvalidInitialization() ||
            !m_acc.ReadDictionaryFile())
            return false;
        m_acc.FillStatusGrid();
        m_acc.ReadPaperFile();
        return m_acc.ReadJobFile() != 0;
    }
};

// The decoded set the save and export benchmarks work on, decoded once.
CBenchSet& DecodedSet()
{
    static CBenchSet* s_pSet = [] {
        auto* pSet = new CBenchSet;
        if (!pSet->Decode())
            std::fprintf(stderr, "bench_document: the set in HPA_BENCH_SET did not decode\n");
        return pSet;
    }();
    return *s_pSet;
}

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::FILE* pFile = std::fopen(path.c_str(), "wb");
    if (!pFile)
        return false;
    const bool bWritten = std::fwrite(bytes.data(), 1, bytes.size(), pFile) == bytes.size();
    return std::fclose(pFile) == 0 && bWritten;
}

bool ReadFile(const std::filesystem::path& path, std::string& bytes)
{
    std::FILE* pFile = std::fopen(path.c_str(), "rb");
    if (!pFile)
        return false;
    std::error_code ec;
    bytes.resize(static_cast<std::size_t>(std::filesystem::file_size(path, ec)));
    const bool bRead = std::fread(bytes.data(), 1, bytes.size(), pFile) == bytes.size();
    std::fclose(pFile);
    return bRead;
}

void Fail(benchmark::State& state, const char* pszWhy)
{
    state.SkipWithError(pszWhy);
}

// Status, dictionary, paper and job file into fresh grids, column widths
// fitted; the grids are built before and destroyed after the timed part.
void BM_Decode(benchmark::State& state)
{
    for (auto _ : state) {
        auto pSet = std::make_unique<CBenchSet>();
        const Clock::time_point start = Clock::now();
        const bool bOk = pSet->Decode();
        state.SetIterationTime(Seconds(start));
        if (!bOk)
            return Fail(state, "the set did not decode");
        const CGridMemStore& store = *pSet->m_grids[kKindJob].GetMemStore();
        state.counters["rows"] = pSet->m_grids[kKindJob].RowCount();
        state.counters["cells"] = static_cast<double>(store.CellCount());
        state.counters["store_bytes_per_cell"] =
            static_cast<double>(store.MemoryUsage()) / static_cast<double>(store.CellCount());
        state.PauseTiming();
        pSet.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Decode)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// The whole document built in memory and written to a file in one go.
void BM_SaveHpa(benchmark::State& state)
{
    CBenchSet& set = DecodedSet();
    const std::filesystem::path path = OutDir() / "bench.hpa";
    std::size_t nBytes = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const std::string bytes = StoreAccDocument(set.Content());
        const bool bOk = WriteFile(path, bytes);
        state.SetIterationTime(Seconds(start));
        if (!bOk)
            return Fail(state, "cannot write the .hpa file");
        nBytes = bytes.size();
    }
    state.counters["file_bytes"] = static_cast<double>(nBytes);
}
BENCHMARK(BM_SaveHpa)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// The saved file read whole and loaded into fresh grids.
void BM_LoadHpa(benchmark::State& state)
{
    const std::filesystem::path path = OutDir() / "bench.hpa";
    if (!std::filesystem::exists(path)) {
        CBenchSet& set = DecodedSet();
        if (!WriteFile(path, StoreAccDocument(set.Content())))
            return Fail(state, "cannot write the .hpa file");
    }
    for (auto _ : state) {
        auto pSet = std::make_unique<CBenchSet>();
        std::string bytes;
        const Clock::time_point start = Clock::now();
        bool bOk = ReadFile(path, bytes);
        try {
            if (bOk)
                LoadAccDocument(bytes.data(), bytes.size(), pSet->Content());
        } catch (const CArchiveException&) {
            bOk = false;
        }
        state.SetIterationTime(Seconds(start));
        if (!bOk)
            return Fail(state, "the .hpa file did not load");
        state.counters["rows"] = pSet->m_grids[kKindJob].RowCount();
        state.PauseTiming();
        pSet.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadHpa)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// The job grid exported to a comma-separated file.
void BM_ExportCsv(benchmark::State& state)
{
    CBenchSet& set = DecodedSet();
    const std::filesystem::path path = OutDir() / "bench-job.csv";
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const ExportFileResult result =
            ExportToFile(set.m_grids[kKindJob], kKindJob,
                         set.m_acc.m_strFieldName[static_cast<std::size_t>(kFieldDate)], path,
                         ExportSeparatorFor(path.string()));
        state.SetIterationTime(Seconds(start));
        if (result != ExportFileResult::Ok)
            return Fail(state, "cannot write the export file");
    }
    std::error_code ec;
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path, ec));
}
BENCHMARK(BM_ExportCsv)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
