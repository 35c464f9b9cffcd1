// Opening a history: the file and folder private to their owner, where the
// history is by default, and a clear refusal (with nothing changed) for a
// damaged or foreign file, a PostgreSQL server that is down or refuses the
// login.
#include "support/HistoryFixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

namespace hpa::test {
namespace {

class HistoryOpen : public CHistoryTest {};

int Mode(const std::filesystem::path& path)
{
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return static_cast<int>(st.st_mode & 0777);
}

TEST(HistoryLocation, OptionThenEnvironmentThenDataHome)
{
    ::setenv("HPA_DB", "/env/history.sqlite", 1);
    ::setenv("XDG_DATA_HOME", "/data", 1);
    EXPECT_EQ(ResolveHistoryLocation("mine.sqlite"), "mine.sqlite");
    EXPECT_EQ(ResolveHistoryLocation(""), "/env/history.sqlite");
    ::unsetenv("HPA_DB");
    EXPECT_EQ(ResolveHistoryLocation(""), "/data/hpa/history.sqlite");
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", "/home/ann", 1);
    EXPECT_EQ(ResolveHistoryLocation(""), "/home/ann/.local/share/hpa/history.sqlite");
    EXPECT_TRUE(IsPostgresUri("postgres://db.example/hpa"));
    EXPECT_TRUE(IsPostgresUri("postgresql:///hpa?host=/run"));
    EXPECT_FALSE(IsPostgresUri("postgresql.sqlite"));
}

TEST(HistorySqliteFile, CreatedReadableByItsOwnerOnly)
{
    CTempDir dir;
    const std::filesystem::path path = dir.Path() / "new" / "hpa" / "history.sqlite";
    std::string strError;
    auto pStore = OpenSqliteHistory(path.string(), strError);
    ASSERT_TRUE(pStore) << strError;
    EXPECT_EQ(Mode(path), 0600);
    EXPECT_EQ(Mode(path.parent_path()), 0700);
    EXPECT_EQ(Mode(path.parent_path().parent_path()), 0700);
}

TEST(HistorySqliteFile, DamagedOrForeignFileIsRefusedUnchanged)
{
    CTempDir dir;
    std::string strNotADatabase(8192, '\0');
    for (std::size_t n = 0; n < strNotADatabase.size(); ++n)
        strNotADatabase[n] = static_cast<char>(n * 7 + 3);
    const std::filesystem::path damaged = dir.Write("damaged.sqlite", strNotADatabase);
    std::string strError;
    EXPECT_FALSE(OpenSqliteHistory(damaged.string(), strError));
    EXPECT_NE(strError.find(damaged.string()), std::string::npos) << strError;
    EXPECT_NE(strError.find("not a database"), std::string::npos) << strError;
    EXPECT_EQ(CTempDir::Read(damaged), strNotADatabase);

    // A SQLite file of another program: a fresh history's file with its
    // application id (the mark of this program) cleared stands in for it.
    const std::filesystem::path foreign = dir.Path() / "foreign.sqlite";
    {
        auto pStore = OpenSqliteHistory(foreign.string(), strError);
        ASSERT_TRUE(pStore) << strError;
    }
    std::string strBytes = CTempDir::Read(foreign);
    ASSERT_GE(strBytes.size(), 100u);
    strBytes.replace(68, 4, std::string(4, '\0')); // application id in the header
    dir.Write("foreign.sqlite", strBytes);
    strError.clear();
    EXPECT_FALSE(OpenSqliteHistory(foreign.string(), strError));
    EXPECT_NE(strError.find("not a printer history database"), std::string::npos) << strError;
    EXPECT_EQ(CTempDir::Read(foreign), strBytes);
}

TEST_P(HistoryOpen, ServerDownOrLoginRefusedIsAClearError)
{
    std::string strError;
    EXPECT_FALSE(OpenHistoryStore(Server().DeadUri(), strError));
    EXPECT_NE(strError.find("cannot connect"), std::string::npos) << strError;
    strError.clear();
    EXPECT_FALSE(OpenHistoryStore(Server().Uri("postgres", "mallory"), strError));
    EXPECT_NE(strError.find("cannot connect"), std::string::npos) << strError;
    EXPECT_NE(strError.find("mallory"), std::string::npos) << strError;
}

// A database holding tables of another program is left alone.
TEST_P(HistoryOpen, ForeignPostgresDatabaseIsRefused)
{
    const std::string strUri = NewLocation();
    ASSERT_TRUE(Server().Sql(DatabaseOf(strUri), "CREATE TABLE invoices(id int)"));
    std::string strError;
    EXPECT_FALSE(OpenHistoryStore(strUri, strError));
    EXPECT_NE(strError.find("not a printer history database"), std::string::npos) << strError;
}

INSTANTIATE_TEST_SUITE_P(Backends, HistoryOpen, ::testing::Values("postgres"), BackendName);

} // namespace
} // namespace hpa::test
