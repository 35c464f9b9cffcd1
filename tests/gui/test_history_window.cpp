// The History window over either back-end: a SQLite file or a PostgreSQL
// URI opened from the window shows its printers and the report's sums, and
// the choice is kept.
#include "history/qt/HistoryLocation.h"
#include "history/qt/HistoryWindow.h"
#include "history/qt/PivotPane.h"
#include "platform/Profile.h"
#include "support/HistoryFixture.h"
#include "support/RecordingMessages.h"

#include <gtest/gtest.h>

namespace hpa::test {
namespace {

class HistoryWindowOpens : public CHistoryTest {};

TEST_P(HistoryWindowOpens, ShowsThePrintersAndSumsOfEitherBackEnd)
{
    const std::string strLocation = NewLocation();
    {
        auto pStore = Open(strLocation);
        ASSERT_TRUE(pStore);
        Collect(*pStore, "lab", JobRange(1, 30), 1000);
        Collect(*pStore, "desk", JobRange(1, 12), 2000);
    }
    CMemoryProfile profile;
    CRecordingMessages messages;
    CHistoryWindow window(profile, messages);
    ASSERT_TRUE(window.OpenDatabase(strLocation, true))
        << testing::PrintToString(messages.Exclamations());
    EXPECT_EQ(window.FleetGrid().RowCount(), 2);
    EXPECT_EQ(window.Pivot()->Report().m_total.m_nJobs, 42);
    EXPECT_EQ(ChosenHistoryLocation(profile), strLocation);
}

INSTANTIATE_TEST_SUITE_P(Backends, HistoryWindowOpens, ::testing::Values("sqlite", "postgres"),
                         BackendName);

} // namespace
} // namespace hpa::test
