// The host history: the update rules of the Connect dialog's OK, and its
// form in the profile.
#include "platform/Profile.h"
#include "transfer/HostHistory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hpa {

namespace {

using Hosts = std::vector<std::string>;

CHostHistory HistoryOf(const Hosts& hosts)
{
    // Use puts each at the top, so the last one given is the oldest.
    CHostHistory history;
    for (auto it = hosts.rbegin(); it != hosts.rend(); ++it)
        history.Use(*it);
    return history;
}

Hosts Numbered(int nCount)
{
    Hosts hosts;
    for (int i = 0; i < nCount; ++i)
        hosts.push_back("P" + std::to_string(i));
    return hosts;
}

} // namespace

TEST(HostHistory, UseMovesToTopDropsTheOldestAndKeepsNoDuplicates)
{
    struct Case {
        const char* pszName;
        Hosts before;
        std::string strChosen;
        Hosts after;
    };
    Hosts full = Numbered(10);
    Hosts fullNew = {"X"};
    fullNew.insert(fullNew.end(), full.begin(), full.end() - 1);
    Hosts fullLast = {"P9"};
    fullLast.insert(fullLast.end(), full.begin(), full.end() - 1);
    const Case cases[] = {
        {"into an empty list", {}, "A", {"A"}},
        {"a new host goes first", {"A", "B"}, "C", {"C", "A", "B"}},
        {"a known host moves up", {"A", "B", "C"}, "B", {"B", "A", "C"}},
        {"the top host stays", {"A", "B"}, "A", {"A", "B"}},
        {"a full list drops its last", full, "X", fullNew},
        {"the last of a full list moves up, nothing dropped", full, "P9", fullLast},
        {"comparison keeps case", {"ab"}, "AB", {"AB", "ab"}},
        {"an empty name is no host", {"A"}, "", {"A"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        CHostHistory history = HistoryOf(c.before);
        ASSERT_EQ(history.Entries(), c.before);
        history.Use(c.strChosen);
        EXPECT_EQ(history.Entries(), c.after);
        EXPECT_LE(history.Count(), CHostHistory::kMaxEntries);
    }
}

TEST(HostHistory, LoadStopsAtTheFirstEmptyOrMissingValue)
{
    CMemoryProfile profile;
    profile.WriteString("1.1", "HostName00", "PRN1");
    profile.WriteString("1.1", "HostName02", "PRN3");
    CHostHistory history = HistoryOf({"OLD"});
    history.Load(profile);
    EXPECT_EQ(history.Entries(), Hosts{"PRN1"});

    profile.WriteString("1.1", "HostName01", "");
    history.Load(profile);
    EXPECT_EQ(history.Entries(), Hosts{"PRN1"});

    // Other sections and positions past 09 are not history.
    CMemoryProfile other;
    for (int i = 0; i < 12; ++i)
        other.WriteString("1.1", CHostHistory::ValueName(static_cast<std::size_t>(i)),
                          "H" + std::to_string(i));
    other.WriteString("1.0", "HostName00", "ELSEWHERE");
    history.Load(other);
    ASSERT_EQ(history.Count(), 10u);
    EXPECT_EQ(history.Entries().front(), "H0");
    EXPECT_EQ(history.Entries().back(), "H9");

    history.Load(CMemoryProfile());
    EXPECT_TRUE(history.IsEmpty());
    EXPECT_EQ(history.Front(), "");
}

TEST(HostHistory, LoadTakesARepeatedNameOnce)
{
    CMemoryProfile profile;
    const Hosts stored = {"A", "B", "A", "C"};
    for (std::size_t i = 0; i < stored.size(); ++i)
        profile.WriteString("1.1", CHostHistory::ValueName(i), stored[i]);
    CHostHistory history;
    history.Load(profile);
    EXPECT_EQ(history.Entries(), (Hosts{"A", "B", "C"}));
}

TEST(HostHistory, SaveWritesEveryPositionAndLeavesTheRestAlone)
{
    CMemoryProfile profile;
    for (std::size_t i = 0; i < 5; ++i)
        profile.WriteString("1.1", CHostHistory::ValueName(i), "STALE" + std::to_string(i));
    CHostHistory history = HistoryOf({"B", "A"});
    EXPECT_TRUE(history.Save(profile));
    EXPECT_EQ(profile.GetString("1.1", "HostName00"), "B");
    EXPECT_EQ(profile.GetString("1.1", "HostName01"), "A");
    EXPECT_EQ(profile.GetString("1.1", "HostName02"), "STALE2");
    EXPECT_EQ(profile.GetString("1.1", "HostName04"), "STALE4");

    // A full list loads back as it was saved.
    CMemoryProfile fresh;
    HistoryOf(Numbered(10)).Save(fresh);
    CHostHistory loaded;
    loaded.Load(fresh);
    EXPECT_EQ(loaded.Entries(), Numbered(10));
    EXPECT_EQ(CHostHistory::ValueName(7), "HostName07");
}

} // namespace hpa
