// Values the history derives from a job, shared by both back-ends.
#include "history/HistoryValues.h"

#include "accounting/AccText.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace hpa {

namespace {

// Blanks, then digits, then blanks; the number's digits as written.
bool TakeNumber(std::string_view& str, char chEnd, std::int64_t& nValue, std::size_t& nDigits)
{
    std::size_t n = 0;
    while (n < str.size() && str[n] == ' ')
        ++n;
    const std::size_t nStart = n;
    nValue = 0;
    while (n < str.size() && str[n] >= '0' && str[n] <= '9') {
        if (n - nStart >= 9)
            return false; // no part of a date needs that many digits
        nValue = nValue * 10 + (str[n] - '0');
        ++n;
    }
    nDigits = n - nStart;
    if (nDigits == 0)
        return false;
    while (n < str.size() && str[n] == ' ')
        ++n;
    if (chEnd != '\0') {
        if (n >= str.size() || str[n] != chEnd)
            return false;
        ++n;
    } else if (n != str.size()) {
        return false;
    }
    str.remove_prefix(n);
    return true;
}

int DaysInMonth(std::int64_t nYear, std::int64_t nMonth)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bLeap = (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
    return nMonth == 2 && bLeap ? 29 : kDays[nMonth - 1];
}

bool TakeValue(std::string_view& str, std::string& value)
{
    const std::size_t nColon = str.find(':');
    if (nColon == std::string_view::npos || nColon == 0 || nColon > 9)
        return false;
    std::size_t nLength = 0;
    const auto [ptr, ec] = std::from_chars(str.data(), str.data() + nColon, nLength);
    if (ec != std::errc() || ptr != str.data() + nColon || nLength > str.size() - nColon - 1)
        return false;
    value.assign(str.substr(nColon + 1, nLength));
    str.remove_prefix(nColon + 1 + nLength);
    return true;
}

} // namespace

std::string DayKey(std::string_view strDate)
{
    std::int64_t nMonth = 0;
    std::int64_t nDay = 0;
    std::int64_t nYear = 0;
    std::size_t nDigits = 0;
    if (!TakeNumber(strDate, '/', nMonth, nDigits) || !TakeNumber(strDate, '/', nDay, nDigits) ||
        !TakeNumber(strDate, '\0', nYear, nDigits))
        return kUnknownDay;
    if (nYear < 1000 || nYear > 9999 || nMonth < 1 || nMonth > 12 || nDay < 1 ||
        nDay > DaysInMonth(nYear, nMonth))
        return kUnknownDay;
    char szKey[48];
    std::snprintf(szKey, sizeof szKey, "%04d-%02d-%02d", static_cast<int>(nYear),
                  static_cast<int>(nMonth), static_cast<int>(nDay));
    return szKey;
}

CJobSums JobSums(const CHistoryJob& job)
{
    CJobSums sums;
    sums.m_nSimplex = LeadingInteger(job.m_field[kHistSimplex]);
    sums.m_nDuplex = LeadingInteger(job.m_field[kHistDuplex]);
    sums.m_nJams = LeadingInteger(job.m_field[kHistJams]);
    sums.m_nPrintSeconds = LeadingInteger(job.m_field[kHistPrintTime]) / 1000;
    return sums;
}

namespace {

// A key part as its length (four bytes) and its bytes: any bytes may stand
// in a value, so no separator would do.
void AppendKeyPart(std::string& strKey, std::string_view part)
{
    const auto nLength = static_cast<std::uint32_t>(part.size());
    strKey.append(reinterpret_cast<const char*>(&nLength), sizeof nLength);
    strKey.append(part);
}

std::string_view TakeKeyPart(std::string_view& strKey)
{
    std::uint32_t nLength = 0;
    std::memcpy(&nLength, strKey.data(), sizeof nLength);
    const std::string_view part = strKey.substr(sizeof nLength, nLength);
    strKey.remove_prefix(sizeof nLength + nLength);
    return part;
}

} // namespace

void CRollupGather::Add(const CHistoryJob& job)
{
    m_strKey.clear();
    AppendKeyPart(m_strKey, job.m_field[kHistUser]);
    AppendKeyPart(m_strKey, job.m_field[kHistHost]);
    AppendKeyPart(m_strKey, DayKey(job.m_field[kHistDate]));
    auto it = m_sums.find(std::string_view(m_strKey));
    if (it == m_sums.end())
        it = m_sums.emplace(m_strKey, CRollupSums()).first;
    CRollupSums& sums = it->second;
    const CJobSums add = JobSums(job);
    ++sums.m_nJobs;
    sums.m_sums.m_nSimplex += add.m_nSimplex;
    sums.m_sums.m_nDuplex += add.m_nDuplex;
    sums.m_sums.m_nJams += add.m_nJams;
    sums.m_sums.m_nPrintSeconds += add.m_nPrintSeconds;
}

std::vector<CRollupEntry> CRollupGather::Finish()
{
    std::vector<CRollupEntry> entries;
    entries.reserve(m_sums.size() * 2);
    m_allTime.clear();
    for (const auto& [strKey, sums] : m_sums) {
        std::string_view rest = strKey;
        CRollupEntry entry;
        entry.m_strUser = TakeKeyPart(rest);
        entry.m_strHost = TakeKeyPart(rest);
        // The user and host part of the key names the all-time row.
        const std::string_view userHost(strKey.data(), strKey.size() - rest.size());
        entry.m_strDay = TakeKeyPart(rest);
        entry.m_sums = sums;
        entries.push_back(entry);
        m_allTime[std::string(userHost)].Add(sums);
    }
    for (const auto& [strKey, sums] : m_allTime) {
        std::string_view rest = strKey;
        CRollupEntry entry;
        entry.m_strUser = TakeKeyPart(rest);
        entry.m_strHost = TakeKeyPart(rest);
        entry.m_strDay = kAllTime;
        entry.m_sums = sums;
        entries.push_back(entry);
    }
    std::sort(entries.begin(), entries.end(), [](const CRollupEntry& a, const CRollupEntry& b) {
        if (const int n = a.m_strDay.compare(b.m_strDay); n != 0)
            return n < 0;
        if (const int n = a.m_strUser.compare(b.m_strUser); n != 0)
            return n < 0;
        return a.m_strHost < b.m_strHost;
    });
    return entries;
}

std::vector<CRollupEntry> DayTotals(const std::vector<CRollupEntry>& entries)
{
    std::vector<CRollupEntry> days;
    for (const CRollupEntry& entry : entries) {
        if (entry.m_strDay == kAllTime)
            continue;
        if (days.empty() || days.back().m_strDay != entry.m_strDay) {
            days.emplace_back();
            days.back().m_strDay = entry.m_strDay;
        }
        days.back().m_sums.Add(entry.m_sums);
    }
    return days;
}

void AppendIndexValue(std::string& str, std::string_view value)
{
    str += std::to_string(value.size());
    str += ':';
    str += value;
}

std::string EncodeIndexPairs(const std::vector<std::pair<std::string, std::string>>& pairs)
{
    std::string str;
    for (const auto& [first, second] : pairs) {
        AppendIndexValue(str, first);
        AppendIndexValue(str, second);
    }
    return str;
}

bool DecodeIndexPairs(std::string_view strEncoded,
                      std::vector<std::pair<std::string, std::string>>& pairs)
{
    pairs.clear();
    while (!strEncoded.empty()) {
        std::pair<std::string, std::string> pair;
        if (!TakeValue(strEncoded, pair.first) || !TakeValue(strEncoded, pair.second))
            return false;
        pairs.push_back(std::move(pair));
    }
    return true;
}

bool IsCanonicalInteger(std::string_view str, std::int64_t& nValue)
{
    if (str.empty() || str.size() > 18)
        return false;
    const std::size_t nDigitsAt = str[0] == '-' ? 1 : 0;
    if (nDigitsAt == str.size() || str[nDigitsAt] < '0' || str[nDigitsAt] > '9')
        return false;
    if (str[nDigitsAt] == '0' && (str.size() > nDigitsAt + 1 || nDigitsAt == 1))
        return false; // leading zero or "-0"
    const auto [ptr, ec] = std::from_chars(str.data(), str.data() + str.size(), nValue);
    return ec == std::errc() && ptr == str.data() + str.size();
}

std::optional<CHistoryGap> DetectGap(const std::string& strPrinter, std::int64_t nTimeUtc,
                                     std::int64_t nPreviousTimeUtc,
                                     const std::string& strPreviousLast,
                                     const std::string& strNewFirst)
{
    if (strPreviousLast.empty() || strNewFirst.empty())
        return std::nullopt;
    CHistoryGap gap;
    gap.m_strPrinter = strPrinter;
    gap.m_nTimeUtc = nTimeUtc;
    gap.m_nAfterTimeUtc = nPreviousTimeUtc;
    gap.m_strAfterJobId = strPreviousLast;
    gap.m_strBeforeJobId = strNewFirst;
    std::int64_t nLast = 0;
    std::int64_t nFirst = 0;
    if (IsCanonicalInteger(strPreviousLast, nLast) && IsCanonicalInteger(strNewFirst, nFirst)) {
        if (nFirst == nLast + 1)
            return std::nullopt; // goes on where the previous collection stopped
        if (nFirst > nLast + 1) {
            gap.m_nFirstMissing = nLast + 1;
            gap.m_nLastMissing = nFirst - 1;
        }
    }
    return gap;
}

std::string DescribeGap(const CHistoryGap& gap)
{
    if (gap.m_nFirstMissing && gap.m_nLastMissing) {
        if (*gap.m_nFirstMissing == *gap.m_nLastMissing)
            return "Job ID " + std::to_string(*gap.m_nFirstMissing) + " lost";
        return "Job IDs " + std::to_string(*gap.m_nFirstMissing) + " to " +
               std::to_string(*gap.m_nLastMissing) + " lost";
    }
    return "jobs lost after Job ID " + gap.m_strAfterJobId + " and before Job ID " +
           gap.m_strBeforeJobId + " (the Job IDs do not tell how many)";
}

std::int64_t NowUtc()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

bool IsAskedFor(const std::vector<std::string>& printers, std::string_view strName)
{
    return printers.empty() ||
           std::find(printers.begin(), printers.end(), strName) != printers.end();
}

std::string FormatUtc(std::int64_t nTimeUtc)
{
    const std::time_t t = static_cast<std::time_t>(nTimeUtc);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char szText[32];
    std::strftime(szText, sizeof szText, "%Y-%m-%d %H:%M:%S", &tm);
    return szText;
}

RollupSpan ReportSpan(ReportKey key, const std::string& strSince, const std::string& strUntil)
{
    if (!strSince.empty() || !strUntil.empty())
        return RollupSpan::Period;
    return key == ReportKey::Day || key == ReportKey::Month ? RollupSpan::AllDays
                                                            : RollupSpan::AllTime;
}

const char* ReportTable(ReportKey key, RollupSpan span)
{
    const bool bByUserOrHost = key == ReportKey::User || key == ReportKey::Host;
    return bByUserOrHost || span == RollupSpan::AllTime ? "rollup" : "day_total";
}

std::string ReportKeySql(ReportKey key, std::string_view strUserColumn,
                         std::string_view strUnknownDay)
{
    switch (key) {
    case ReportKey::User:
        return "r." + std::string(strUserColumn);
    case ReportKey::Printer:
        return "p.name";
    case ReportKey::Host:
        return "r.host";
    case ReportKey::Day:
        return "r.day";
    case ReportKey::Month:
        break;
    }
    return "CASE WHEN r.day=" + std::string(strUnknownDay) +
           " THEN r.day ELSE substr(r.day,1,7) END";
}

} // namespace hpa
