// The throwaway PostgreSQL server of the tests.
#include "support/PgServer.h"

#include "support/ShellRun.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace hpa::test {

namespace {

constexpr const char* kSuperuser = "hpa";

// The newest installed server's bin folder, or "".
std::string FindServerBin()
{
    std::vector<std::filesystem::path> bins;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", ec)) {
        const std::filesystem::path bin = entry.path() / "bin";
        if (std::filesystem::exists(bin / "initdb", ec) &&
            std::filesystem::exists(bin / "pg_ctl", ec))
            bins.push_back(bin);
    }
    if (bins.empty())
        return {};
    std::sort(bins.begin(), bins.end(), [](const auto& a, const auto& b) {
        return std::atoi(a.parent_path().filename().c_str()) <
               std::atoi(b.parent_path().filename().c_str());
    });
    return bins.back().string();
}

std::string PercentEncode(const std::string& str)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string strOut;
    for (const char ch : str) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) || ch == '-' || ch == '_' || ch == '.') {
            strOut += ch;
        } else {
            strOut += '%';
            strOut += kHex[c >> 4];
            strOut += kHex[c & 15];
        }
    }
    return strOut;
}

} // namespace

CPgServer::CPgServer()
{
    m_strBin = FindServerBin();
    if (m_strBin.empty()) {
        m_strWhy = "PostgreSQL server binaries (initdb, pg_ctl) not found under "
                   "/usr/lib/postgresql/*/bin; install the postgresql package";
        return;
    }
    m_bInstalled = true;
    std::string strTemplate = (std::filesystem::temp_directory_path() / "hpa-pg-XXXXXX").string();
    if (!::mkdtemp(strTemplate.data())) {
        m_strWhy = "cannot create a temporary directory";
        return;
    }
    m_strDir = strTemplate;
    if (::geteuid() == 0) {
        const passwd* pUser = ::getpwnam("postgres");
        if (!pUser || ::chown(m_strDir.c_str(), pUser->pw_uid, pUser->pw_gid) != 0) {
            m_strWhy = "running as root, but there is no postgres user to run the server as";
            return;
        }
        m_bAsPostgres = true;
    }
    ::chmod(m_strDir.c_str(), 0700);
    const std::string strData = m_strDir + "/data";
    const std::string strLog = m_strDir + "/server.log";
    if (RunAsServerUser(Quoted(m_strBin + "/initdb") + " -D " + Quoted(strData) + " -U " +
                        kSuperuser + " --auth=trust -E UTF8 --no-sync >/dev/null 2>&1") != 0) {
        m_strWhy = "initdb failed";
        return;
    }
    const std::string strOptions = "-c listen_addresses='' -k " + m_strDir +
                                   " -c fsync=off -c synchronous_commit=off -c max_connections=40";
    if (RunAsServerUser(Quoted(m_strBin + "/pg_ctl") + " -D " + Quoted(strData) + " -l " +
                        Quoted(strLog) + " -o " + Quoted(strOptions) +
                        " -w -t 60 start >/dev/null 2>&1") != 0) {
        m_strWhy = "pg_ctl start failed (see " + strLog + ")";
        return;
    }
    m_bRunning = true;
}

CPgServer::~CPgServer()
{
    if (m_bRunning)
        RunAsServerUser(Quoted(m_strBin + "/pg_ctl") + " -D " + Quoted(m_strDir + "/data") +
                        " -m immediate -w stop >/dev/null 2>&1");
    std::error_code ec;
    if (!m_strDir.empty())
        std::filesystem::remove_all(m_strDir, ec);
}

int CPgServer::RunAsServerUser(const std::string& strCommand) const
{
    const std::string strLine =
        m_bAsPostgres ? "runuser -u postgres -- sh -c " + Quoted(strCommand) : strCommand;
    return std::system(strLine.c_str());
}

bool CPgServer::CreateDatabase(const std::string& strName)
{
    return m_bRunning &&
           RunAsServerUser(Quoted(m_strBin + "/createdb") + " -h " + Quoted(m_strDir) + " -U " +
                           kSuperuser + " " + Quoted(strName) + " >/dev/null 2>&1") == 0;
}

bool CPgServer::Sql(const std::string& strDatabase, const std::string& strStatement)
{
    return m_bRunning &&
           RunAsServerUser(Quoted(m_strBin + "/psql") + " -X -q -v ON_ERROR_STOP=1 -h " +
                           Quoted(m_strDir) + " -U " + kSuperuser + " -d " + Quoted(strDatabase) +
                           " -c " + Quoted(strStatement) + " >/dev/null 2>&1") == 0;
}

std::string CPgServer::Uri(const std::string& strDatabase, const std::string& strUser) const
{
    return "postgresql:///" + PercentEncode(strDatabase) + "?host=" + PercentEncode(m_strDir) +
           "&user=" + PercentEncode(strUser.empty() ? kSuperuser : strUser);
}

std::string CPgServer::DeadUri() const
{
    return "postgresql:///postgres?host=" + PercentEncode(m_strDir + "/nowhere") +
           "&user=" + kSuperuser + "&connect_timeout=5";
}

} // namespace hpa::test
