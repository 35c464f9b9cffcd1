// Collect now against simulated printers: the rows follow each printer to
// its end, the new jobs land in the history, a failing printer is listed
// with its message, and Cancel ends every download with nothing stored.
#include "e2e/test_printer_sim_harness.h"
#include "history/HistoryStore.h"
#include "history/qt/CollectPanel.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace hpa {
namespace {

using test::CTempDir;
using test::sim::CSimProcess;

class CollectPanel : public ::testing::Test {
protected:
    void StartPrinter(CSimProcess& sim, const CTempDir& root, int nJobs,
                      const std::string& strAdvance, std::vector<std::string> extra = {})
    {
        ASSERT_TRUE(
            test::sim::StartAdvancingPrinter(sim, root.Path(), nJobs, strAdvance, std::move(extra)))
            << sim.StderrText();
    }
    QString WriteFleet(const std::string& strText)
    {
        m_work.Write("secret", "admin\n");
        return QString::fromStdString(m_work.Write("fleet.conf", strText).string());
    }
    static std::string Section(const std::string& strName, int nPort,
                               const std::string& strPasswordFile = "secret")
    {
        return "[printer " + strName + "]\nhost = 127.0.0.1:" + std::to_string(nPort) +
               "\nuser = admin\npassword-file = " + strPasswordFile + "\n";
    }
    QString Db() const { return QString::fromStdString((m_work.Path() / "h.sqlite").string()); }
    std::size_t JobsHeld(const std::string& strPrinter)
    {
        std::string strError;
        auto pStore = OpenHistoryStore(Db().toStdString(), strError);
        std::vector<CStoredJob> jobs;
        EXPECT_TRUE(pStore && pStore->ReadJobs(strPrinter, jobs, strError)) << strError;
        return jobs.size();
    }
    // Runs the collection to its end; the event loop turns meanwhile.
    void Collect(CCollectPanel& panel)
    {
        QSignalSpy finished(&panel, &CCollectPanel::Finished);
        QString strError;
        ASSERT_TRUE(panel.StartFleet(m_fleet, Db(), strError)) << strError.toStdString();
        EXPECT_TRUE(panel.IsRunning());
        ASSERT_TRUE(finished.wait(30000));
        EXPECT_FALSE(panel.IsRunning());
    }

    CTempDir m_work;
    QString m_fleet;
};

TEST_F(CollectPanel, FleetCollectedTwiceRowPerPrinterFailureListed)
{
    CTempDir rootA, rootB;
    CSimProcess simA, simB;
    StartPrinter(simA, rootA, 10, "5");
    StartPrinter(simB, rootB, 4, "2");
    m_fleet = WriteFleet(Section("front desk", simA.Port()) + Section("lab", simB.Port()) +
                         Section("cellar", simB.Port(), "no-such-file"));
    CCollectPanel panel;
    Collect(panel);
    ASSERT_EQ(panel.RowCount(), 3);
    EXPECT_EQ(panel.RowName(0), "front desk");
    EXPECT_EQ(panel.RowText(0), "Collected: 10 jobs, 10 new");
    EXPECT_EQ(panel.RowPercent(0), 100);
    EXPECT_EQ(panel.RowText(1), "Collected: 4 jobs, 4 new");
    EXPECT_EQ(panel.RowStep(2), CollectStep::Failed);
    EXPECT_TRUE(panel.RowText(2).startsWith("Failed: cannot read password file"))
        << panel.RowText(2).toStdString();
    EXPECT_EQ(panel.SummaryText(), "2 collected, 1 failed.");

    // The logs moved on: only the new jobs are added.
    Collect(panel);
    EXPECT_EQ(panel.RowText(0), "Collected: 15 jobs, 5 new");
    EXPECT_EQ(panel.RowText(1), "Collected: 6 jobs, 2 new");
    EXPECT_EQ(JobsHeld("front desk"), 15u);
    EXPECT_EQ(JobsHeld("lab"), 6u);
    EXPECT_EQ(JobsHeld("cellar"), 0u);
}

TEST_F(CollectPanel, CancelEndsStalledDownloadsPromptlyAndStoresNothing)
{
    CTempDir rootA, rootB;
    CSimProcess simA, simB;
    // Both printers stop sending in the middle of their job file.
    StartPrinter(simA, rootA, 200, "1", {"--fault", "stall=2000@acc1.job"});
    StartPrinter(simB, rootB, 200, "1", {"--fault", "stall=2000@acc1.job"});
    m_fleet = WriteFleet(Section("a", simA.Port()) + Section("b", simB.Port()));
    CCollectPanel panel;
    QSignalSpy finished(&panel, &CCollectPanel::Finished);
    QString strError;
    ASSERT_TRUE(panel.StartFleet(m_fleet, Db(), strError)) << strError.toStdString();
    // Both rows reach the job file and stay there.
    QElapsedTimer waited;
    waited.start();
    auto fnBothInJobFile = [&] {
        return panel.RowStep(0) == CollectStep::Downloading &&
               panel.RowStep(1) == CollectStep::Downloading &&
               panel.RowText(0).contains("job", Qt::CaseInsensitive) &&
               panel.RowText(1).contains("job", Qt::CaseInsensitive);
    };
    while (!fnBothInJobFile() && waited.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_TRUE(fnBothInJobFile())
        << panel.RowText(0).toStdString() << " / " << panel.RowText(1).toStdString();
    EXPECT_TRUE(panel.IsRunning());

    QElapsedTimer cancelled;
    cancelled.start();
    panel.Cancel();
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_LT(cancelled.elapsed(), 2000);
    for (int n = 0; n < 2; ++n) {
        EXPECT_EQ(panel.RowStep(n), CollectStep::Cancelled);
        EXPECT_EQ(panel.RowText(n), "Cancelled");
    }
    EXPECT_EQ(panel.SummaryText(), "0 collected, 2 cancelled.");
    std::string strHistoryError;
    auto pStore = OpenHistoryStore(Db().toStdString(), strHistoryError);
    std::vector<CPrinterHistory> printers;
    ASSERT_TRUE(pStore && pStore->ReadPrinters(printers, strHistoryError)) << strHistoryError;
    EXPECT_TRUE(printers.empty());
}

} // namespace
} // namespace hpa
