#pragma once
// Values the history derives from a job: the report's day key, the sums a
// job adds to its rollup row, the index lines' encoding, and whether two
// collections leave a gap between them. Shared by both back-ends so that
// SQLite and PostgreSQL histories agree byte for byte.
#include "history/HistoryStore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace hpa {

// "YYYY-MM-DD" from a job's Date read as month/day/year (digits, with or
// without padding blanks or zeros; a real calendar date, year 1000 to
// 9999); "unknown" when it cannot be read that way.
inline constexpr const char* kUnknownDay = "unknown";
std::string DayKey(std::string_view strDate);

// The report's numbers of one job: the leading integer of each value, as
// the summary takes them; print time in whole seconds, truncated per job.
struct CJobSums {
    std::int64_t m_nSimplex = 0;
    std::int64_t m_nDuplex = 0;
    std::int64_t m_nJams = 0;
    std::int64_t m_nPrintSeconds = 0;
};
CJobSums JobSums(const CHistoryJob& job);

// Rollup sums of new jobs by user, host and day, gathered during an ingest.
struct CRollupSums {
    std::int64_t m_nJobs = 0;
    CJobSums m_sums;
    void Add(const CRollupSums& other)
    {
        m_nJobs += other.m_nJobs;
        m_sums.m_nSimplex += other.m_sums.m_nSimplex;
        m_sums.m_nDuplex += other.m_sums.m_nDuplex;
        m_sums.m_nJams += other.m_sums.m_nJams;
        m_sums.m_nPrintSeconds += other.m_sums.m_nPrintSeconds;
    }
};
// Rows of the rollup for all dates have this day: a report over all dates
// reads these few rows instead of one per day.
inline constexpr const char* kAllTime = "";

// Which rollup rows a report sums: the all-time rows (by user, printer or
// host over all dates), every daily row (by day or month over all dates),
// or the daily rows of a period (the "unknown" day left out).
enum class RollupSpan { AllTime, AllDays, Period };
RollupSpan ReportSpan(ReportKey key, const std::string& strSince, const std::string& strUntil);
// The table a report sums: "day_total" (the rollup's days summed over users
// and hosts, a few thousand rows where the rollup holds millions) when the
// key needs neither user nor host and the report reads days, else "rollup".
const char* ReportTable(ReportKey key, RollupSpan span);
// The SQL expression of a report's key over the rollup r joined with its
// printer p: strUserColumn names the rollup's user column, strUnknownDay the
// parameter holding kUnknownDay (a month is the first seven bytes of a day).
std::string ReportKeySql(ReportKey key, std::string_view strUserColumn,
                         std::string_view strUnknownDay);
// The last day a period without an end reaches.
inline constexpr const char* kLastDay = "9999-99-99";

struct CRollupEntry {
    std::string_view m_strUser;
    std::string_view m_strHost;
    std::string_view m_strDay;
    CRollupSums m_sums;
};

// The sums of new jobs by user, host and day, gathered job by job at the
// speed of a large ingest: a hashed table keyed by one reused byte string,
// so a job of a known user, host and day costs no allocation.
class CRollupGather {
public:
    void Add(const CHistoryJob& job);
    // Every row to add to the rollup, each user and host's all-time row
    // (day kAllTime) among them, in the rollup table's order (day, user,
    // host) so that they go into it in sequence. The views live as long as
    // the gather.
    std::vector<CRollupEntry> Finish();

private:
    struct CHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view str) const
        {
            return std::hash<std::string_view>()(str);
        }
    };
    using CTable = std::unordered_map<std::string, CRollupSums, CHash, std::equal_to<>>;
    CTable m_sums;
    CTable m_allTime; // by user and host
    std::string m_strKey;
};

// The day_total rows of a gather's entries (in the order Finish gives
// them): one per day, user and host empty, the all-time rows left out.
std::vector<CRollupEntry> DayTotals(const std::vector<CRollupEntry>& entries);

// The index lines' pairs as one byte string: each value as its length in
// decimal, ':' and its bytes. Decoding returns false on malformed input.
std::string EncodeIndexPairs(const std::vector<std::pair<std::string, std::string>>& pairs);
// Appends one value in that encoding (a pair is two values).
void AppendIndexValue(std::string& strEncoded, std::string_view value);
bool DecodeIndexPairs(std::string_view strEncoded,
                      std::vector<std::pair<std::string, std::string>>& pairs);

// A value written exactly as a 64-bit integer prints ("0", "12", "-7"; no
// blanks, signs on zero or leading zeros): stored as a number, read back
// as the same text.
bool IsCanonicalInteger(std::string_view str, std::int64_t& nValue);

// The gap left between a printer's previous collection (its last Job ID)
// and a new download (its first Job ID) that shares no job with the
// history; none when the new download goes on where the previous stopped.
std::optional<CHistoryGap> DetectGap(const std::string& strPrinter, std::int64_t nTimeUtc,
                                     std::int64_t nPreviousTimeUtc,
                                     const std::string& strPreviousLast,
                                     const std::string& strNewFirst);

// How a gap reads on standard error and in lists.
std::string DescribeGap(const CHistoryGap& gap);

// UTC "YYYY-MM-DD HH:MM:SS" of seconds since 1970.
std::string FormatUtc(std::int64_t nTimeUtc);
// Seconds since 1970 now.
std::int64_t NowUtc();

// Whether a printer is among those a question names (all when none).
bool IsAskedFor(const std::vector<std::string>& printers, std::string_view strName);

} // namespace hpa
