// Cancel at random moments, a hundred times: the download session against a
// scripted printer whose replies take a little while, the real readers
// behind it, and a cancel that arrives from another thread (as hpactl's
// Ctrl+C does) at any point of the conversation. Every run must end quickly,
// close the connection, join its transfer thread, and on a cancel leave the
// grids, field names and counters exactly as they were. Run under
// ThreadSanitizer in CI.
#include "accounting/Acc.h"
#include "accounting/FieldMasks.h"
#include "support/AccFixture.h"
#include "support/ScriptedFtpServer.h"
#include "transfer/AccDecoder.h"
#include "transfer/DownloadSession.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <random>
#include <sstream>
#include <thread>

namespace hpa {
namespace {

using namespace std::chrono_literals;
using test::CScriptedFtpServer;
using test::DataStyle;
using test::FileMode;

std::string SampleFile(const char* pszName)
{
    std::ifstream in(std::string(HPA_SOURCE_DIR) + "/samples/printer/" + pszName, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// The cancel flag, set by a timer thread at a chosen moment.
class CTimedCancel : public CTransferProgress {
public:
    void SetMessage(const std::string&) override {}
    void SetPos(int) override {}
    void Pump() override {}
    bool IsCancelled() override { return m_bCancel.load(); }
    bool CheckCancel() override { return m_bCancel.exchange(false); }

    void Arm(std::chrono::microseconds delay)
    {
        m_timer = std::thread([this, delay] {
            std::unique_lock lock(m_mutex);
            if (!m_stopped.wait_for(lock, delay, [this] { return m_bStop; }))
                m_bCancel.store(true);
        });
    }
    ~CTimedCancel() override
    {
        {
            std::lock_guard lock(m_mutex);
            m_bStop = true;
        }
        m_stopped.notify_all();
        if (m_timer.joinable())
            m_timer.join();
    }

private:
    std::atomic<bool> m_bCancel{false};
    std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_bStop = false;
    std::thread m_timer;
};

// What a cancelled or failed download must not touch.
struct CShownData {
    std::vector<std::string> m_rows[kDataKindCount];
    std::array<std::string, kFieldCount> m_names;
    std::int32_t m_counters[7];

    explicit CShownData(test::CAccFixture& fx)
    {
        for (int nKind = 0; nKind < kDataKindCount; ++nKind)
            m_rows[nKind] = fx.Rows(nKind);
        const CAcc& acc = fx.m_acc;
        m_names = acc.m_strFieldName;
        const std::int32_t counters[7] = {
            acc.m_nJobs,         acc.m_nJobFileConsumption, acc.m_nPrintingTime, acc.m_nUsers,
            acc.m_nDuplexSheets, acc.m_nSimplexSheets,      acc.m_nJams};
        std::copy(std::begin(counters), std::end(counters), m_counters);
    }
    bool operator==(const CShownData& o) const
    {
        return std::equal(std::begin(m_rows), std::end(m_rows), std::begin(o.m_rows)) &&
               m_names == o.m_names && std::equal(m_counters, m_counters + 7, o.m_counters);
    }
};

// Data on show before the download: one marked cell per grid, names, counters.
void ShowSomething(test::CAccFixture& fx)
{
    for (int nKind = 0; nKind < kDataKindCount; ++nKind) {
        CUGCtrl& grid = fx.Grid(nKind);
        grid.SetColumnCount(1);
        grid.SetRowCount(1);
        grid.SetCellText(0, 0, "shown before the download");
    }
    fx.m_acc.m_strFieldName[0] = "Old Name";
    fx.m_acc.m_nJobs = 77;
    fx.m_acc.m_nJams = 5;
}

enum class Printer { Quick, StalledJobFile, RefusedPaperFile };

struct CRunOutcome {
    DownloadResult m_result;
    std::vector<std::string> m_messages;
    bool m_bShownDataKept;
    bool m_bHungUp;
    std::chrono::milliseconds m_elapsed;
};

CRunOutcome RunOnce(Printer printer, DataStyle style, std::chrono::microseconds cancelAfter)
{
    CScriptedFtpServer server;
    server.SetDataStyle(style);
    // Slow replies spread the conversation over a few dozen milliseconds,
    // so that random moments fall into every step of it.
    for (const char* pszVerb : {"USER", "PASS", "TYPE", "PORT"})
        for (int n = 0; n < 6; ++n)
            server.AddReply(pszVerb, test::Reply{test::SayLater(
                                         3, std::string(pszVerb) == "USER"   ? "331 Password.\r\n"
                                            : std::string(pszVerb) == "PASS" ? "230 In.\r\n"
                                                                             : "200 OK.\r\n")});
    server.AddFile("SYS:/admin/acc.sta", SampleFile("acc.sta"));
    server.AddFile("SYS:/admin/acc.dic", SampleFile("acc.dic"));
    if (printer != Printer::RefusedPaperFile)
        server.AddFile("SYS:/admin/acc.pap", SampleFile("acc.pap"));
    server.AddFile("SYS:/admin/acc1.job", SampleFile("acc1.job"),
                   printer == Printer::StalledJobFile ? FileMode::Stall : FileMode::Send);

    test::CAccFixture fx;
    ShowSomething(fx);
    const CShownData before(fx);
    CAccDecoder decoder(fx.m_acc);
    CTimedCancel progress;
    DownloadSettings settings;
    settings.m_strHost = server.HostText();
    settings.m_strUser = "ops";
    settings.m_strPassword = "pw";
    settings.m_workDir = fx.m_dir.Path();
    settings.m_pollInterval = 2ms;
    // Long enough that only a cancel ends a stalled or refused transfer in
    // time; a run that waits them out is a bug.
    settings.m_nSendTimeoutMs = settings.m_nReceiveTimeoutMs = 4000;

    const auto tStart = std::chrono::steady_clock::now();
    progress.Arm(cancelAfter);
    CDownloadSession session(settings, decoder, fx.m_messages, progress);
    const DownloadResult result = session.Run();
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - tStart);
    server.Transcript(); // waits for the hang-up (a few seconds at most)
    return {result, fx.m_messages.Exclamations(), CShownData(fx) == before, server.HungUp(),
            elapsed};
}

TEST(CancelAtRandomMoments, EndsQuicklyAndLeavesTheShownDataAlone)
{
    std::mt19937 rng(20261208);
    const Printer printers[] = {Printer::Quick, Printer::StalledJobFile, Printer::RefusedPaperFile};
    // How long a whole quick download takes here (sanitizers slow it down a
    // lot); the cancel moments are drawn from that span and a little more.
    const CRunOutcome uncancelled = RunOnce(Printer::Quick, DataStyle::ConnectOnRetr, 60s);
    ASSERT_EQ(uncancelled.m_result, DownloadResult::Decoded);
    const auto nSpanUs = 1200 * std::max<long long>(uncancelled.m_elapsed.count(), 1);
    int nCancelled = 0;
    int nDecoded = 0;
    for (int nRound = 0; nRound < 100; ++nRound) {
        const Printer printer = printers[nRound % 3];
        const DataStyle style = rng() % 2 ? DataStyle::ConnectOnRetr : DataStyle::ConnectOnPort;
        const std::chrono::microseconds cancelAfter(static_cast<long long>(rng()) % nSpanUs);
        const CRunOutcome outcome = RunOnce(printer, style, cancelAfter);
        SCOPED_TRACE("round " + std::to_string(nRound) + ", cancel after " +
                     std::to_string(cancelAfter.count()) + " us");

        // Well inside the 4 s time-outs: the cancel released every wait.
        EXPECT_LT(outcome.m_elapsed, 3500ms);
        EXPECT_TRUE(outcome.m_bHungUp);
        switch (outcome.m_result) {
        case DownloadResult::Cancelled:
            ++nCancelled;
            EXPECT_TRUE(outcome.m_messages.empty());
            EXPECT_TRUE(outcome.m_bShownDataKept);
            break;
        case DownloadResult::Decoded:
            // The cancel came after the last file; only a quick printer
            // gets that far.
            ++nDecoded;
            EXPECT_EQ(printer, Printer::Quick);
            EXPECT_TRUE(outcome.m_messages.empty());
            break;
        default:
            ADD_FAILURE() << "unexpected result " << static_cast<int>(outcome.m_result);
        }
    }
    // The moments really spread over the session.
    EXPECT_GT(nCancelled, 50);
    EXPECT_GT(nDecoded, 0);
}

} // namespace
} // namespace hpa
