#pragma once
// The fleet history: every job a printer ever reported, kept once, and one
// record per collection (when, the printer's status values, how many jobs
// were new, the first and last Job ID seen, the jobs known to be lost).
//
// CHistoryStore is the one interface the collector, the reports and the
// printers list talk to; SQLite (a local file) and PostgreSQL (a server)
// implement it. A store opened by OpenHistoryStore has its schema checked
// and brought up to date. Every method returns false with a message that
// names the database on failure; a failed ingest changes nothing.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hpa {

// The ordinary job fields in job-mask order (positions 0 to 24): Job ID,
// Priority, Time, Date, Completion code, User, Host, Connection, File,
// Charge, Compile time, Print time, Header/Error/Body count, Simplex and
// Duplex count, Finishing, Chunk count, Jam count, Paper types count,
// Black ink, three Color ink values.
inline constexpr int kHistoryFieldCount = 25;
// The all-ones job mask: every job field selected.
inline constexpr const char* kAllJobFieldsMask = "111111111111111111111111111";
// Positions within those fields that the history uses by name.
inline constexpr int kHistJobId = 0;
inline constexpr int kHistTime = 2;
inline constexpr int kHistDate = 3;
inline constexpr int kHistUser = 5;
inline constexpr int kHistHost = 6;
inline constexpr int kHistPrintTime = 11;
inline constexpr int kHistSimplex = 15;
inline constexpr int kHistDuplex = 16;
inline constexpr int kHistJams = 19;
inline constexpr int kHistFirstInk = 21; // 21 to 24 are absent in version "1" files

// The status values of a collection (fields 28 to 44).
inline constexpr int kHistoryStatusCount = 17;

// One job as the job grid shows it with every field selected.
struct CHistoryJob {
    std::array<std::string_view, kHistoryFieldCount> m_field;
    bool m_bHasInk = true; // false: the four ink fields do not exist
    // The index lines' value pairs, encoded by EncodeIndexPairs.
    std::string m_strIndex;
};

// The jobs of one download, read one by one (the grid stays the owner of
// the text; a job's views live until the next Get).
class CHistoryJobList {
public:
    virtual ~CHistoryJobList() = default;
    virtual std::size_t Count() const = 0;
    virtual void Get(std::size_t nIndex, CHistoryJob& job) const = 0;
};

// What one collection of one printer brings.
struct CCollectionInput {
    std::string m_strPrinter;    // the name the history knows it by
    std::string m_strHost;       // HOST[:PORT] connected to
    std::int64_t m_nTimeUtc = 0; // seconds since 1970-01-01 UTC
    std::array<std::string, kHistoryStatusCount> m_strStatus;
    const CHistoryJobList* m_pJobs = nullptr;
};

// Job IDs known to be lost between two collections of a printer: the
// printer's job file filled, wrapped or was reset before it was collected.
struct CHistoryGap {
    std::string m_strPrinter;
    std::int64_t m_nTimeUtc = 0;      // of the collection that found it
    std::int64_t m_nAfterTimeUtc = 0; // of the collection before it
    std::string m_strAfterJobId;      // last Job ID of the collection before
    std::string m_strBeforeJobId;     // first Job ID of the collection that found it
    // Job ID range lost for good, when both IDs are numbers in order.
    std::optional<std::int64_t> m_nFirstMissing;
    std::optional<std::int64_t> m_nLastMissing;
};

struct CIngestResult {
    std::int64_t m_nJobsSeen = 0;
    std::int64_t m_nJobsNew = 0;
    std::string m_strFirstJobId; // empty when the download held no job
    std::string m_strLastJobId;
    std::optional<CHistoryGap> m_gap;
};

// One collection of a printer as stored.
struct CCollectionRecord {
    std::int64_t m_nTimeUtc = 0;
    std::array<std::string, kHistoryStatusCount> m_strStatus;
    std::int64_t m_nJobsNew = 0;
};

struct CPrinterHistory {
    std::string m_strName;
    std::int64_t m_nJobsHeld = 0;
    std::vector<CCollectionRecord> m_collections; // oldest first
};

// What a report groups its jobs by.
enum class ReportKey { User, Printer, Host, Day, Month };

// The sums of one key of a report.
struct CReportRow {
    std::string m_strKey;
    std::int64_t m_nJobs = 0;
    std::int64_t m_nSimplex = 0;
    std::int64_t m_nDuplex = 0;
    std::int64_t m_nJams = 0;
    std::int64_t m_nPrintSeconds = 0;
    std::int64_t TotalSheets() const { return m_nSimplex + m_nDuplex; }
};

// A job as stored, for reading back.
struct CStoredJob {
    std::string m_strPrinter;
    std::array<std::optional<std::string>, kHistoryFieldCount> m_field; // absent ink: nullopt
    std::string m_strIndex;
    std::int64_t m_nCollectionTimeUtc = 0; // of the collection it first came in
};

class CHistoryStore {
public:
    virtual ~CHistoryStore() = default;

    // Stores one printer's download in one transaction: the jobs not yet
    // known, the collection record, the gap when one is found.
    virtual bool Ingest(const CCollectionInput& input, CIngestResult& result,
                        std::string& strError) = 0;
    // The sums of the named printers' jobs (all when empty) by key, from
    // the rollup: over all dates, or within strSince to strUntil
    // (YYYY-MM-DD, inclusive, either may be empty; jobs of an unreadable
    // date are in no period). A month is the first seven bytes of its days;
    // "unknown" stays itself. One row per key, in no particular order: a
    // history of millions of jobs has millions of daily rollup rows, and
    // only the database can sum them without moving every one of them here.
    virtual bool ReadReportSums(const std::vector<std::string>& printers, ReportKey key,
                                const std::string& strSince, const std::string& strUntil,
                                std::vector<CReportRow>& rows, std::string& strError) = 0;
    // Known gaps of the named printers (all when empty), oldest first.
    virtual bool ReadGaps(const std::vector<std::string>& printers, std::vector<CHistoryGap>& gaps,
                          std::string& strError) = 0;
    // Every printer with its collections, by name.
    virtual bool ReadPrinters(std::vector<CPrinterHistory>& printers, std::string& strError) = 0;
    // Every stored job of a printer, in identity order.
    virtual bool ReadJobs(const std::string& strPrinter, std::vector<CStoredJob>& jobs,
                          std::string& strError) = 0;
};

// The schema version this program writes; older ones are migrated.
inline constexpr int kHistorySchemaVersion = 2;

// The database named on the command line or by HPA_DB, else the default
// file: $XDG_DATA_HOME/hpa/history.sqlite, or ~/.local/share/hpa/... .
std::string ResolveHistoryLocation(const std::string& strOption);

// True for a PostgreSQL connection URI (postgresql:// or postgres://).
bool IsPostgresUri(std::string_view strLocation);

// Opens the history at strLocation: a SQLite file or a PostgreSQL URI.
// With bCreate a missing history is created (and an older schema brought up
// to date); without, a place holding no history is an error, so that a
// mistyped name in a report does not leave an empty file behind. Null and a
// message on failure.
std::unique_ptr<CHistoryStore> OpenHistoryStore(const std::string& strLocation,
                                                std::string& strError, bool bCreate = true);
std::unique_ptr<CHistoryStore> OpenSqliteHistory(const std::string& strPath, std::string& strError,
                                                 bool bCreate = true);
std::unique_ptr<CHistoryStore> OpenPostgresHistory(const std::string& strUri, std::string& strError,
                                                   bool bCreate = true);

} // namespace hpa
