// The history in a SQLite file: WAL mode and a busy time-out so that
// several collectors can write one file, one IMMEDIATE transaction per
// printer download, every value bound as a parameter. Jobs live in a
// WITHOUT ROWID table keyed by their identity; a value that is exactly an
// integer is stored as one (smaller, and read back as the same text),
// everything else as a blob holding the printer's bytes.
#include "history/HistoryStore.h"
#include "history/HistoryValues.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>

namespace hpa {

namespace {

// "HPAH": marks a file as this program's history.
constexpr int kApplicationId = 0x48504148;
constexpr int kBusyTimeoutMs = 300000;

// Statements that bring a schema of version N to N + 1, entry N - 1. A new
// history is made as version 1 and then takes them all, as an old one does.
constexpr std::array<const char*, kHistorySchemaVersion - 1> kMigrations{
    // 2: the rollup's days summed over users and hosts, for the reports by
    // day, month and printer.
    R"SQL(
CREATE TABLE day_total(printer_id INTEGER NOT NULL, day TEXT NOT NULL, jobs INTEGER NOT NULL,
  simplex INTEGER NOT NULL, duplex INTEGER NOT NULL, jams INTEGER NOT NULL,
  print_s INTEGER NOT NULL, PRIMARY KEY(printer_id, day)) WITHOUT ROWID;
INSERT INTO day_total SELECT printer_id, day, SUM(jobs), SUM(simplex), SUM(duplex), SUM(jams),
  SUM(print_s) FROM rollup WHERE day<>'' GROUP BY printer_id, day;
)SQL",
};

// The schema of version 1.
constexpr const char* kCreateSchema = R"SQL(
CREATE TABLE printer(id INTEGER PRIMARY KEY, name BLOB NOT NULL UNIQUE);
CREATE TABLE collection(id INTEGER PRIMARY KEY, printer_id INTEGER NOT NULL,
  time_utc INTEGER NOT NULL, host BLOB NOT NULL,
  s28, s29, s30, s31, s32, s33, s34, s35, s36, s37, s38, s39, s40, s41, s42, s43, s44,
  jobs_seen INTEGER NOT NULL, jobs_new INTEGER NOT NULL, first_job, last_job);
CREATE INDEX collection_by_printer ON collection(printer_id, id);
CREATE TABLE gap(collection_id INTEGER PRIMARY KEY, after_job NOT NULL, before_job NOT NULL,
  first_missing INTEGER, last_missing INTEGER, after_time_utc INTEGER NOT NULL);
CREATE TABLE job(printer_id INTEGER NOT NULL, v0 NOT NULL, v3 NOT NULL, v2 NOT NULL,
  collection_id INTEGER NOT NULL, v1, v4, v5, v6, v7, v8, v9, v10, v11, v12, v13, v14, v15,
  v16, v17, v18, v19, v20, v21, v22, v23, v24, idx,
  PRIMARY KEY(printer_id, v0, v3, v2)) WITHOUT ROWID;
CREATE TABLE rollup(printer_id INTEGER NOT NULL, user BLOB NOT NULL, host BLOB NOT NULL,
  day TEXT NOT NULL, jobs INTEGER NOT NULL, simplex INTEGER NOT NULL, duplex INTEGER NOT NULL,
  jams INTEGER NOT NULL, print_s INTEGER NOT NULL,
  PRIMARY KEY(printer_id, day, user, host)) WITHOUT ROWID;
)SQL";

// A sums row already there takes the new sums on.
constexpr const char* kAddSums =
    " ON CONFLICT DO UPDATE SET jobs=jobs+excluded.jobs, simplex=simplex+excluded.simplex, "
    "duplex=duplex+excluded.duplex, jams=jams+excluded.jams, print_s=print_s+excluded.print_s";

// Job columns in the order of the insert: identity first.
constexpr std::array<int, kHistoryFieldCount> kJobColumnOrder = {
    0, 3, 2, 1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};

class CStatement {
public:
    CStatement(sqlite3* pDb, const char* pszSql)
    {
        m_nPrepare = sqlite3_prepare_v2(pDb, pszSql, -1, &m_p, nullptr);
    }
    ~CStatement() { sqlite3_finalize(m_p); }
    CStatement(const CStatement&) = delete;
    CStatement& operator=(const CStatement&) = delete;

    bool Ok() const { return m_nPrepare == SQLITE_OK && m_p; }
    sqlite3_stmt* Get() const { return m_p; }
    void Int(int nIndex, std::int64_t nValue) { sqlite3_bind_int64(m_p, nIndex, nValue); }
    void Null(int nIndex) { sqlite3_bind_null(m_p, nIndex); }
    // bStatic: the bytes stay as they are until the statement is reset, so
    // SQLite need not copy them.
    void Bytes(int nIndex, std::string_view str, bool bStatic = false)
    {
        // A zero-length blob needs a non-null pointer, or it would bind NULL.
        sqlite3_bind_blob64(m_p, nIndex, str.empty() ? "" : str.data(), str.size(),
                            bStatic ? SQLITE_STATIC : SQLITE_TRANSIENT);
    }
    // A printer value: an integer when written exactly as one, else its bytes.
    void Value(int nIndex, std::string_view str, bool bStatic = false)
    {
        std::int64_t nValue = 0;
        if (IsCanonicalInteger(str, nValue))
            Int(nIndex, nValue);
        else
            Bytes(nIndex, str, bStatic);
    }
    int Step() { return sqlite3_step(m_p); }
    void Reset()
    {
        sqlite3_reset(m_p);
        sqlite3_clear_bindings(m_p);
    }
    std::int64_t ColumnInt(int n) const { return sqlite3_column_int64(m_p, n); }
    bool ColumnNull(int n) const { return sqlite3_column_type(m_p, n) == SQLITE_NULL; }
    // A column as the text it was stored from.
    std::string ColumnText(int n) const
    {
        if (sqlite3_column_type(m_p, n) == SQLITE_INTEGER)
            return std::to_string(sqlite3_column_int64(m_p, n));
        const void* p = sqlite3_column_blob(m_p, n);
        const int nBytes = sqlite3_column_bytes(m_p, n);
        return p ? std::string(static_cast<const char*>(p), static_cast<std::size_t>(nBytes))
                 : std::string();
    }

private:
    sqlite3_stmt* m_p = nullptr;
    int m_nPrepare = SQLITE_ERROR;
};

class CSqliteHistory : public CHistoryStore {
public:
    CSqliteHistory(std::string strPath, bool bCreate)
        : m_strPath(std::move(strPath)), m_bCreate(bCreate)
    {
    }
    ~CSqliteHistory() override { sqlite3_close_v2(m_pDb); }

    bool Open(std::string& strError);

    bool Ingest(const CCollectionInput& input, CIngestResult& result,
                std::string& strError) override;
    bool ReadReportSums(const std::vector<std::string>& printers, ReportKey key,
                        const std::string& strSince, const std::string& strUntil,
                        std::vector<CReportRow>& rows, std::string& strError) override;
    bool ReadGaps(const std::vector<std::string>& printers, std::vector<CHistoryGap>& gaps,
                  std::string& strError) override;
    bool ReadPrinters(std::vector<CPrinterHistory>& printers, std::string& strError) override;
    bool ReadJobs(const std::string& strPrinter, std::vector<CStoredJob>& jobs,
                  std::string& strError) override;

private:
    bool Fail(std::string& strError, const char* pszWhat) const
    {
        strError = "history database " + m_strPath + ": " + pszWhat + ": " + sqlite3_errmsg(m_pDb);
        // "disk I/O error" alone does not say that a write failed, which is
        // nearly always a full disk (or a file at its size limit).
        const int nCode = sqlite3_extended_errcode(m_pDb);
        if (nCode == SQLITE_FULL || nCode == SQLITE_IOERR_WRITE || nCode == SQLITE_IOERR_FSYNC ||
            nCode == SQLITE_IOERR_TRUNCATE)
            strError += " (writing failed: is the disk full?)";
        return false;
    }
    bool Exec(const char* pszSql, std::string& strError, const char* pszWhat)
    {
        return sqlite3_exec(m_pDb, pszSql, nullptr, nullptr, nullptr) == SQLITE_OK ||
               Fail(strError, pszWhat);
    }
    bool PragmaInt(const char* pszSql, std::int64_t& nValue, std::string& strError);
    bool CheckSchema(std::string& strError);
    bool IngestInTransaction(const CCollectionInput& input, CIngestResult& result,
                             std::string& strError);
    // Adds rows to the rollup (by user and host) or to day_total.
    bool StoreSums(std::int64_t nPrinter, const std::vector<CRollupEntry>& rows,
                   bool bByUserAndHost, std::string& strError);

    std::string m_strPath;
    bool m_bCreate;
    sqlite3* m_pDb = nullptr;
};

// The file and its folder readable by their owner only: the history says
// who printed what.
bool PrepareFile(const std::string& strPath, std::string& strError)
{
    const std::filesystem::path path(strPath);
    const std::filesystem::path dir = path.parent_path();
    std::error_code ec;
    if (!dir.empty() && !std::filesystem::exists(dir, ec)) {
        // Each missing folder is made 0700.
        std::filesystem::path built;
        for (const auto& part : dir) {
            built /= part;
            if (::mkdir(built.c_str(), 0700) != 0 && errno != EEXIST) {
                strError = "history database " + strPath + ": cannot create folder " +
                           built.string() + ": " + std::strerror(errno);
                return false;
            }
        }
    }
    const int fd = ::open(strPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        strError = "history database " + strPath + ": " + std::strerror(errno);
        return false;
    }
    ::close(fd);
    return true;
}

bool CSqliteHistory::PragmaInt(const char* pszSql, std::int64_t& nValue, std::string& strError)
{
    CStatement statement(m_pDb, pszSql);
    if (!statement.Ok() || statement.Step() != SQLITE_ROW)
        return Fail(strError, "cannot read it");
    nValue = statement.ColumnInt(0);
    return true;
}

bool CSqliteHistory::Open(std::string& strError)
{
    std::error_code ec;
    if (!m_bCreate && !std::filesystem::exists(m_strPath, ec)) {
        strError = "history database " + m_strPath + ": no such file (nothing collected yet?)";
        return false;
    }
    if (!PrepareFile(m_strPath, strError))
        return false;
    if (sqlite3_open_v2(m_strPath.c_str(), &m_pDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK)
        return Fail(strError, "cannot open it");
    sqlite3_busy_timeout(m_pDb, kBusyTimeoutMs);
    sqlite3_extended_result_codes(m_pDb, 1);
    std::int64_t nIgnored = 0;
    // The first read finds out whether this is a database at all.
    if (!PragmaInt("PRAGMA schema_version", nIgnored, strError))
        return false;
    // Large pages for a new file (an existing one keeps its own): a
    // collection appends long runs of jobs, and fewer, larger pages make
    // that markedly cheaper.
    if (!Exec("PRAGMA page_size=65536", strError, "cannot set the page size") ||
        !Exec("PRAGMA journal_mode=WAL", strError, "cannot switch to WAL mode") ||
        !Exec("PRAGMA synchronous=NORMAL", strError, "cannot set synchronous mode") ||
        // A large download looks up every job's key: keep the pages at hand.
        !Exec("PRAGMA cache_size=-65536", strError, "cannot set the cache size") ||
        !Exec("PRAGMA foreign_keys=OFF", strError, "cannot set foreign keys"))
        return false;
    return CheckSchema(strError);
}

bool CSqliteHistory::CheckSchema(std::string& strError)
{
    if (!Exec("BEGIN IMMEDIATE", strError, "cannot lock it"))
        return false;
    std::int64_t nAppId = 0;
    std::int64_t nVersion = 0;
    std::int64_t nTables = 0;
    bool bOk = PragmaInt("PRAGMA application_id", nAppId, strError) &&
               PragmaInt("PRAGMA user_version", nVersion, strError) &&
               PragmaInt("SELECT count(*) FROM sqlite_master", nTables, strError);
    if (bOk && nAppId == 0 && nVersion == 0 && nTables == 0 && !m_bCreate) {
        strError = "history database " + m_strPath + ": holds no history (nothing collected yet?)";
        bOk = false;
    } else if (bOk && nAppId == 0 && nVersion == 0 && nTables == 0) {
        bOk = Exec(kCreateSchema, strError, "cannot create the tables") &&
              Exec(("PRAGMA application_id=" + std::to_string(kApplicationId)).c_str(), strError,
                   "cannot mark it");
        nVersion = 1;
    } else if (bOk && nAppId != kApplicationId) {
        strError = "history database " + m_strPath +
                   ": not a printer history database (it holds other data); nothing was changed";
        bOk = false;
    } else if (bOk && nVersion > kHistorySchemaVersion) {
        strError = "history database " + m_strPath + ": its schema version " +
                   std::to_string(nVersion) + " is newer than this program's (" +
                   std::to_string(kHistorySchemaVersion) +
                   "); use a newer hpactl. Nothing was changed";
        bOk = false;
    } else if (bOk && nVersion < 1) {
        strError = "history database " + m_strPath + ": schema version " +
                   std::to_string(nVersion) + " is not known; nothing was changed";
        bOk = false;
    }
    for (std::int64_t v = nVersion; bOk && v < kHistorySchemaVersion; ++v)
        bOk = Exec(kMigrations[static_cast<std::size_t>(v - 1)], strError,
                   "cannot migrate its schema");
    if (bOk && nVersion < kHistorySchemaVersion)
        bOk = Exec(("PRAGMA user_version=" + std::to_string(kHistorySchemaVersion)).c_str(),
                   strError, "cannot mark it");
    if (!bOk) {
        sqlite3_exec(m_pDb, "ROLLBACK", nullptr, nullptr, nullptr);
        return false;
    }
    return Exec("COMMIT", strError, "cannot commit its schema");
}

bool CSqliteHistory::Ingest(const CCollectionInput& input, CIngestResult& result,
                            std::string& strError)
{
    result = CIngestResult();
    if (!Exec("BEGIN IMMEDIATE", strError, "cannot lock it"))
        return false;
    if (!IngestInTransaction(input, result, strError)) {
        sqlite3_exec(m_pDb, "ROLLBACK", nullptr, nullptr, nullptr);
        result = CIngestResult();
        return false;
    }
    if (!Exec("COMMIT", strError, "cannot commit the collection")) {
        sqlite3_exec(m_pDb, "ROLLBACK", nullptr, nullptr, nullptr);
        result = CIngestResult();
        return false;
    }
    return true;
}

bool CSqliteHistory::IngestInTransaction(const CCollectionInput& input, CIngestResult& result,
                                         std::string& strError)
{
    // The printer's id, created on its first collection.
    {
        CStatement insert(m_pDb, "INSERT OR IGNORE INTO printer(name) VALUES(?)");
        if (!insert.Ok())
            return Fail(strError, "cannot store the printer");
        insert.Bytes(1, input.m_strPrinter);
        if (insert.Step() != SQLITE_DONE)
            return Fail(strError, "cannot store the printer");
    }
    std::int64_t nPrinter = 0;
    {
        CStatement select(m_pDb, "SELECT id FROM printer WHERE name=?");
        if (!select.Ok())
            return Fail(strError, "cannot read the printer");
        select.Bytes(1, input.m_strPrinter);
        if (select.Step() != SQLITE_ROW)
            return Fail(strError, "cannot read the printer");
        nPrinter = select.ColumnInt(0);
    }
    // The last Job ID of the printer's previous collection that had jobs.
    std::string strPreviousLast;
    std::int64_t nPreviousTime = 0;
    {
        CStatement select(m_pDb, "SELECT last_job, time_utc FROM collection WHERE printer_id=? AND "
                                 "last_job IS NOT NULL ORDER BY id DESC LIMIT 1");
        if (!select.Ok())
            return Fail(strError, "cannot read the collections");
        select.Int(1, nPrinter);
        const int nStep = select.Step();
        if (nStep == SQLITE_ROW) {
            strPreviousLast = select.ColumnText(0);
            nPreviousTime = select.ColumnInt(1);
        } else if (nStep != SQLITE_DONE)
            return Fail(strError, "cannot read the collections");
    }
    std::int64_t nCollection = 0;
    {
        CStatement insert(m_pDb, "INSERT INTO collection(printer_id, time_utc, host, s28, s29, "
                                 "s30, s31, s32, s33, s34, s35, s36, s37, s38, s39, s40, s41, s42, "
                                 "s43, s44, jobs_seen, jobs_new) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,"
                                 "?,?,?,?,?,?,?,0,0)");
        if (!insert.Ok())
            return Fail(strError, "cannot store the collection");
        insert.Int(1, nPrinter);
        insert.Int(2, input.m_nTimeUtc);
        insert.Bytes(3, input.m_strHost);
        for (int n = 0; n < kHistoryStatusCount; ++n)
            insert.Value(4 + n, input.m_strStatus[static_cast<std::size_t>(n)]);
        if (insert.Step() != SQLITE_DONE)
            return Fail(strError, "cannot store the collection");
        nCollection = sqlite3_last_insert_rowid(m_pDb);
    }

    CStatement insertJob(m_pDb,
                         "INSERT OR IGNORE INTO job(printer_id, v0, v3, v2, collection_id, v1, v4, "
                         "v5, v6, v7, v8, v9, v10, v11, v12, v13, v14, v15, v16, v17, v18, v19, "
                         "v20, v21, v22, v23, v24, idx) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,"
                         "?,?,?,?,?,?,?,?,?,?,?)");
    if (!insertJob.Ok())
        return Fail(strError, "cannot store the jobs");
    CRollupGather rollup;
    CHistoryJob job;
    const std::size_t nJobs = input.m_pJobs ? input.m_pJobs->Count() : 0;
    for (std::size_t n = 0; n < nJobs; ++n) {
        input.m_pJobs->Get(n, job);
        if (n == 0)
            result.m_strFirstJobId = job.m_field[kHistJobId];
        if (n + 1 == nJobs)
            result.m_strLastJobId = job.m_field[kHistJobId];
        insertJob.Int(1, nPrinter);
        insertJob.Int(5, nCollection);
        int nParam = 2;
        for (int nPos : kJobColumnOrder) {
            if (nParam == 5)
                ++nParam; // the collection id
            if (!job.m_bHasInk && nPos >= kHistFirstInk)
                insertJob.Null(nParam);
            else
                insertJob.Value(nParam, job.m_field[static_cast<std::size_t>(nPos)], true);
            ++nParam;
        }
        if (job.m_strIndex.empty())
            insertJob.Null(nParam);
        else
            insertJob.Bytes(nParam, job.m_strIndex, true);
        if (insertJob.Step() != SQLITE_DONE)
            return Fail(strError, "cannot store a job");
        insertJob.Reset();
        ++result.m_nJobsSeen;
        if (sqlite3_changes(m_pDb) > 0) {
            ++result.m_nJobsNew;
            rollup.Add(job);
        }
    }

    const std::vector<CRollupEntry> rows = rollup.Finish();
    if (!StoreSums(nPrinter, rows, true, strError) ||
        !StoreSums(nPrinter, DayTotals(rows), false, strError))
        return false;

    {
        CStatement update(m_pDb, "UPDATE collection SET jobs_seen=?, jobs_new=?, first_job=?, "
                                 "last_job=? WHERE id=?");
        if (!update.Ok())
            return Fail(strError, "cannot store the collection");
        update.Int(1, result.m_nJobsSeen);
        update.Int(2, result.m_nJobsNew);
        if (nJobs > 0) {
            update.Value(3, result.m_strFirstJobId);
            update.Value(4, result.m_strLastJobId);
        }
        update.Int(5, nCollection);
        if (update.Step() != SQLITE_DONE)
            return Fail(strError, "cannot store the collection");
    }

    // Nothing shared with the history: the jobs between the previous
    // collection and this one may be gone for good.
    if (nJobs > 0 && result.m_nJobsNew == result.m_nJobsSeen)
        result.m_gap = DetectGap(input.m_strPrinter, input.m_nTimeUtc, nPreviousTime,
                                 strPreviousLast, result.m_strFirstJobId);
    if (result.m_gap) {
        CStatement insert(m_pDb, "INSERT INTO gap VALUES(?,?,?,?,?,?)");
        if (!insert.Ok())
            return Fail(strError, "cannot store the gap");
        insert.Int(1, nCollection);
        insert.Value(2, result.m_gap->m_strAfterJobId);
        insert.Value(3, result.m_gap->m_strBeforeJobId);
        if (result.m_gap->m_nFirstMissing) {
            insert.Int(4, *result.m_gap->m_nFirstMissing);
            insert.Int(5, *result.m_gap->m_nLastMissing);
        }
        insert.Int(6, nPreviousTime);
        if (insert.Step() != SQLITE_DONE)
            return Fail(strError, "cannot store the gap");
    }
    return true;
}

bool CSqliteHistory::StoreSums(std::int64_t nPrinter, const std::vector<CRollupEntry>& rows,
                               bool bByUserAndHost, std::string& strError)
{
    const std::string strSql =
        std::string(bByUserAndHost ? "INSERT INTO rollup VALUES(?,?,?,?,?,?,?,?,?)"
                                   : "INSERT INTO day_total VALUES(?,?,?,?,?,?,?)") +
        kAddSums;
    CStatement upsert(m_pDb, strSql.c_str());
    if (!upsert.Ok())
        return Fail(strError, "cannot store the sums");
    for (const CRollupEntry& row : rows) {
        int nParam = 1;
        upsert.Int(nParam++, nPrinter);
        if (bByUserAndHost) {
            upsert.Bytes(nParam++, row.m_strUser, true);
            upsert.Bytes(nParam++, row.m_strHost, true);
        }
        upsert.Bytes(nParam++, row.m_strDay, true);
        upsert.Int(nParam++, row.m_sums.m_nJobs);
        upsert.Int(nParam++, row.m_sums.m_sums.m_nSimplex);
        upsert.Int(nParam++, row.m_sums.m_sums.m_nDuplex);
        upsert.Int(nParam++, row.m_sums.m_sums.m_nJams);
        upsert.Int(nParam, row.m_sums.m_sums.m_nPrintSeconds);
        if (upsert.Step() != SQLITE_DONE)
            return Fail(strError, "cannot store the sums");
        upsert.Reset();
    }
    return true;
}

bool CSqliteHistory::ReadReportSums(const std::vector<std::string>& printers, ReportKey key,
                                    const std::string& strSince, const std::string& strUntil,
                                    std::vector<CReportRow>& rows, std::string& strError)
{
    rows.clear();
    // The printers drive the join, so that the rollup's key (printer, day,
    // user, host) reads each printer's days of a period as one range.
    std::string strSql = "SELECT " + ReportKeySql(key, "user", "?4");
    strSql += ", SUM(r.jobs), SUM(r.simplex), SUM(r.duplex), SUM(r.jams), SUM(r.print_s) ";
    const RollupSpan span = ReportSpan(key, strSince, strUntil);
    strSql += "FROM printer p CROSS JOIN ";
    strSql += ReportTable(key, span);
    strSql += " r ON r.printer_id=p.id WHERE ";
    switch (span) {
    case RollupSpan::AllTime:
        strSql += "r.day=?3";
        break;
    case RollupSpan::AllDays:
        strSql += "r.day<>?3";
        break;
    case RollupSpan::Period:
        strSql += "r.day>=?1 AND r.day<=?2 AND r.day<>?3 AND r.day<>?4";
        break;
    }
    // One parameter per printer asked for, from ?5 on.
    for (std::size_t n = 0; n < printers.size(); ++n)
        strSql += (n == 0 ? " AND p.name IN (?" : ",?") + std::to_string(n + 5);
    strSql += printers.empty() ? " GROUP BY 1" : ") GROUP BY 1";

    CStatement select(m_pDb, strSql.c_str());
    if (!select.Ok())
        return Fail(strError, "cannot read the sums");
    select.Bytes(1, strSince);
    select.Bytes(2, strUntil.empty() ? std::string(kLastDay) : strUntil);
    select.Bytes(3, kAllTime);
    select.Bytes(4, kUnknownDay);
    for (std::size_t n = 0; n < printers.size(); ++n)
        select.Bytes(static_cast<int>(n + 5), printers[n]);
    int nStep;
    while ((nStep = select.Step()) == SQLITE_ROW) {
        CReportRow row;
        row.m_strKey = select.ColumnText(0);
        row.m_nJobs = select.ColumnInt(1);
        row.m_nSimplex = select.ColumnInt(2);
        row.m_nDuplex = select.ColumnInt(3);
        row.m_nJams = select.ColumnInt(4);
        row.m_nPrintSeconds = select.ColumnInt(5);
        rows.push_back(std::move(row));
    }
    return nStep == SQLITE_DONE || Fail(strError, "cannot read the sums");
}

bool CSqliteHistory::ReadGaps(const std::vector<std::string>& printers,
                              std::vector<CHistoryGap>& gaps, std::string& strError)
{
    gaps.clear();
    CStatement select(
        m_pDb, "SELECT p.name, c.time_utc, g.after_job, g.before_job, "
               "g.first_missing, g.last_missing, g.after_time_utc FROM gap g JOIN collection c ON "
               "c.id=g.collection_id JOIN printer p ON p.id=c.printer_id ORDER BY "
               "c.id");
    if (!select.Ok())
        return Fail(strError, "cannot read the gaps");
    int nStep;
    while ((nStep = select.Step()) == SQLITE_ROW) {
        CHistoryGap gap;
        gap.m_strPrinter = select.ColumnText(0);
        if (!IsAskedFor(printers, gap.m_strPrinter))
            continue;
        gap.m_nTimeUtc = select.ColumnInt(1);
        gap.m_strAfterJobId = select.ColumnText(2);
        gap.m_strBeforeJobId = select.ColumnText(3);
        if (!select.ColumnNull(4)) {
            gap.m_nFirstMissing = select.ColumnInt(4);
            gap.m_nLastMissing = select.ColumnInt(5);
        }
        gap.m_nAfterTimeUtc = select.ColumnInt(6);
        gaps.push_back(std::move(gap));
    }
    return nStep == SQLITE_DONE || Fail(strError, "cannot read the gaps");
}

bool CSqliteHistory::ReadPrinters(std::vector<CPrinterHistory>& printers, std::string& strError)
{
    printers.clear();
    CStatement select(m_pDb, "SELECT p.name, c.time_utc, c.jobs_new, c.s28, c.s29, c.s30, c.s31, "
                             "c.s32, c.s33, c.s34, c.s35, c.s36, c.s37, c.s38, c.s39, c.s40, "
                             "c.s41, c.s42, c.s43, c.s44 FROM collection c JOIN printer p ON "
                             "p.id=c.printer_id ORDER BY p.name, c.id");
    if (!select.Ok())
        return Fail(strError, "cannot read the collections");
    int nStep;
    while ((nStep = select.Step()) == SQLITE_ROW) {
        std::string strName = select.ColumnText(0);
        if (printers.empty() || printers.back().m_strName != strName) {
            printers.emplace_back();
            printers.back().m_strName = std::move(strName);
        }
        CCollectionRecord record;
        record.m_nTimeUtc = select.ColumnInt(1);
        record.m_nJobsNew = select.ColumnInt(2);
        for (int n = 0; n < kHistoryStatusCount; ++n)
            record.m_strStatus[static_cast<std::size_t>(n)] = select.ColumnText(3 + n);
        printers.back().m_nJobsHeld += record.m_nJobsNew;
        printers.back().m_collections.push_back(std::move(record));
    }
    return nStep == SQLITE_DONE || Fail(strError, "cannot read the collections");
}

bool CSqliteHistory::ReadJobs(const std::string& strPrinter, std::vector<CStoredJob>& jobs,
                              std::string& strError)
{
    jobs.clear();
    CStatement select(m_pDb, "SELECT v0, v3, v2, v1, v4, v5, v6, v7, v8, v9, v10, v11, v12, v13, "
                             "v14, v15, v16, v17, v18, v19, v20, v21, v22, v23, v24, idx, "
                             "c.time_utc FROM job j JOIN printer p ON p.id=j.printer_id JOIN "
                             "collection c ON c.id=j.collection_id WHERE p.name=? ORDER BY "
                             "v0, v3, v2");
    if (!select.Ok())
        return Fail(strError, "cannot read the jobs");
    select.Bytes(1, strPrinter);
    int nStep;
    while ((nStep = select.Step()) == SQLITE_ROW) {
        CStoredJob job;
        job.m_strPrinter = strPrinter;
        for (std::size_t n = 0; n < kJobColumnOrder.size(); ++n) {
            if (!select.ColumnNull(static_cast<int>(n)))
                job.m_field[static_cast<std::size_t>(kJobColumnOrder[n])] =
                    select.ColumnText(static_cast<int>(n));
        }
        job.m_strIndex = select.ColumnText(25);
        job.m_nCollectionTimeUtc = select.ColumnInt(26);
        jobs.push_back(std::move(job));
    }
    return nStep == SQLITE_DONE || Fail(strError, "cannot read the jobs");
}

} // namespace

std::unique_ptr<CHistoryStore> OpenSqliteHistory(const std::string& strPath, std::string& strError,
                                                 bool bCreate)
{
    auto pStore = std::make_unique<CSqliteHistory>(strPath, bCreate);
    if (!pStore->Open(strError))
        return nullptr;
    return pStore;
}

} // namespace hpa
