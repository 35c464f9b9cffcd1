// The History window over a large history: the first report (by user, all
// dates) and its chart from opening the history, then each change of
// grouping or period, every one with the longest stretch the user interface
// thread handled no events. The history is the file HPA_BENCH_HISTORY names
// (bench/history.py builds one of 5,000,000 jobs).
//
//   HPA_BENCH_HISTORY=/tmp/hpa-bench-history/history.sqlite build-bench/bench/bench_history_qt
#include "history/qt/HistoryChart.h"
#include "history/qt/HistoryWindow.h"
#include "history/qt/PivotPane.h"
#include "platform/Messages.h"
#include "platform/Profile.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "FreezeProbe.h"
#include "QtBenchMain.h"

namespace hpa {

namespace {

using Clock = std::chrono::steady_clock;

double Millis(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class CStderrMessages : public CMessages {
public:
    void Exclamation(const std::string& strText) override
    {
        std::fprintf(stderr, "%s\n", strText.c_str());
        m_bFailed = true;
    }
    void Inform(const std::string& strText, const std::string&, MessageIcon) override
    {
        std::fprintf(stderr, "%s\n", strText.c_str());
    }
    MessageAnswer AskYesNo(const std::string&) override { return MessageAnswer::No; }
    bool m_bFailed = false;
};

std::string HistoryFile(benchmark::State& state)
{
    const char* pszFile = std::getenv("HPA_BENCH_HISTORY");
    if (!pszFile || !*pszFile)
        state.SkipWithError("HPA_BENCH_HISTORY names no history");
    return pszFile ? pszFile : "";
}

// Runs fn, then paints the window; the whole time and the longest freeze.
struct CTimed {
    double dTotalMs = 0;
    double dFreezeMs = 0;
};
CTimed Measure(QWidget& window, const std::function<void()>& fn)
{
    CFreezeProbe probe;
    const Clock::time_point start = Clock::now();
    probe.Start();
    fn();
    window.repaint();
    QApplication::processEvents();
    CTimed timed;
    timed.dFreezeMs = probe.Stop();
    timed.dTotalMs = Millis(start);
    return timed;
}

void BM_HistoryWindow(benchmark::State& state)
{
    const std::string strFile = HistoryFile(state);
    if (strFile.empty())
        return;
    for (auto _ : state) {
        CMemoryProfile profile;
        CStderrMessages messages;
        CHistoryWindow window(profile, messages);
        window.resize(1280, 800);
        window.show();
        QApplication::processEvents();
        CPivotPane& pivot = *window.Pivot();
        double dLongest = 0;
        auto fnRecord = [&](const char* pszName, const CTimed& timed) {
            state.counters[std::string(pszName) + "_ms"] = timed.dTotalMs;
            state.counters[std::string(pszName) + "_freeze_ms"] = timed.dFreezeMs;
            dLongest = std::max(dLongest, timed.dFreezeMs);
        };
        fnRecord("open_first_report",
                 Measure(window, [&] { window.OpenDatabase(strFile, false); }));
        if (messages.m_bFailed || pivot.Report().m_total.m_nJobs == 0) {
            state.SkipWithError("the history could not be read");
            return;
        }
        state.counters["jobs"] = static_cast<double>(pivot.Report().m_total.m_nJobs);
        const struct {
            const char* pszName;
            int nGroup;
        } groups[] = {
            {"by_month", 4}, {"by_day", 3}, {"by_printer", 1}, {"by_host", 2}, {"by_user", 0}};
        for (const auto& group : groups)
            fnRecord(group.pszName,
                     Measure(window, [&] { pivot.GroupBy()->setCurrentIndex(group.nGroup); }));
        // A period: the first month of the history's days.
        pivot.GroupBy()->setCurrentIndex(3);
        const std::string strFirstDay =
            pivot.Report().m_rows.empty() ? "2024-01-01" : pivot.Report().m_rows.front().m_strKey;
        pivot.GroupBy()->setCurrentIndex(0);
        fnRecord("period_by_user", Measure(window, [&] {
                     pivot.Since()->setText(QString::fromStdString(strFirstDay));
                     pivot.Until()->setText(
                         QString::fromStdString(strFirstDay.substr(0, 8) + "28"));
                     pivot.UpdateReport();
                 }));
        state.counters["longest_freeze_ms"] = dLongest;
        state.SetIterationTime(dLongest / 1000.0);
    }
}
BENCHMARK(BM_HistoryWindow)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace hpa

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv);
}
