#pragma once
// A throwaway PostgreSQL server for tests: initdb and pg_ctl from
// /usr/lib/postgresql/*/bin, data directory and Unix socket in a private
// temporary directory, no TCP port, trust authentication for its one
// superuser. Started as the `postgres` user when the tests run as root
// (the server refuses to run as root). Stopped and removed at scope end.
#include <string>

namespace hpa::test {

class CPgServer {
public:
    CPgServer();
    ~CPgServer();
    CPgServer(const CPgServer&) = delete;
    CPgServer& operator=(const CPgServer&) = delete;

    // False when the server binaries are not installed (Why() says so).
    bool Installed() const { return m_bInstalled; }
    // True once the server answers.
    bool Running() const { return m_bRunning; }
    const std::string& Why() const { return m_strWhy; }

    // Creates a database; false when createdb failed.
    bool CreateDatabase(const std::string& strName);
    // Runs one SQL statement in a database with psql; false when it failed.
    bool Sql(const std::string& strDatabase, const std::string& strStatement);
    // A connection URI for a database (over the socket, as the superuser,
    // or as strUser when given).
    std::string Uri(const std::string& strDatabase, const std::string& strUser = {}) const;
    // A URI whose socket directory has no server behind it.
    std::string DeadUri() const;

private:
    // Runs a command line of the server's binaries; as `postgres` when root.
    int RunAsServerUser(const std::string& strCommand) const;

    bool m_bInstalled = false;
    bool m_bRunning = false;
    bool m_bAsPostgres = false;
    std::string m_strWhy;
    std::string m_strBin;
    std::string m_strDir;
};

} // namespace hpa::test
