#include "GenJobs.h"

#include "GenPools.h"
#include "Generator.h"

#include <algorithm>

namespace hpa::sim {

namespace {

constexpr int kMaxIndexLines = 3;

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian).
long DaysFromCivil(long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, long& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<long>(yoe) + era * 400 + (m <= 2);
}

void Add2(CLine& line, long n)
{
    line.Add(static_cast<char>('0' + n / 10 % 10)).Add(static_cast<char>('0' + n % 10));
}

// Three unsigned numbers separated by cSep ("08/14/2024", "09:05:00"),
// blanks around the text allowed.
bool ReadNumbers(std::string_view str, char cSep, long& nA, long& nB, long& nC)
{
    long* targets[3] = {&nA, &nB, &nC};
    while (!str.empty() && str.front() == ' ')
        str.remove_prefix(1);
    while (!str.empty() && str.back() == ' ')
        str.remove_suffix(1);
    for (int i = 0; i < 3; ++i) {
        std::size_t nDigits = 0;
        long nValue = 0;
        while (nDigits < str.size() && nDigits < 6 && str[nDigits] >= '0' && str[nDigits] <= '9')
            nValue = nValue * 10 + (str[nDigits++] - '0');
        if (nDigits == 0)
            return false;
        *targets[i] = nValue;
        str.remove_prefix(nDigits);
        if (i < 2) {
            if (str.empty() || str.front() != cSep)
                return false;
            str.remove_prefix(1);
        }
    }
    return str.empty();
}

template <typename T> const T& Pick(CRandom& rng, std::span<const T> pool)
{
    return pool[rng.Below(static_cast<std::uint32_t>(pool.size()))];
}

} // namespace

CJobMaker::CJobMaker(std::uint64_t nSeed, int nPaperTypes, bool bInk, bool bMixedOrder)
    : m_rng(nSeed), m_orderRng(nSeed ^ 0x6f72646572ULL), m_nPaperTypes(nPaperTypes), m_bInk(bInk),
      m_bMixedOrder(bMixedOrder)
{
    m_nJobId = m_rng.Between(100, 999);
    m_nDay = DaysFromCivil(2024, 1, 8) + m_rng.Between(0, 90);
    m_nSeconds = 7 * 3600 + m_rng.Between(0, 3600);
}

CLine& CJobMaker::Pair(int nField)
{
    m_pairStart[m_nPairs++] = m_line.Length();
    return m_line.Tag(nField);
}

// The record's pairs in an order of their own, joined by ", " as before. The
// order comes from a random source apart from the data's, so a mixed set
// holds the same jobs as an ordered set of the same seed.
std::string_view CJobMaker::MixOrder()
{
    const std::string_view all = m_line.View();
    std::string_view pairs[kMaxPairs];
    for (int i = 0; i < m_nPairs; ++i) {
        const std::size_t nEnd = i + 1 < m_nPairs ? m_pairStart[i + 1] : all.size();
        std::string_view pair = all.substr(m_pairStart[i], nEnd - m_pairStart[i]);
        if (pair.ends_with(", "))
            pair.remove_suffix(2);
        pairs[i] = pair;
    }
    for (int i = m_nPairs - 1; i > 0; --i)
        std::swap(pairs[i], pairs[m_orderRng.Below(static_cast<std::uint32_t>(i + 1))]);
    m_mixed.Clear();
    for (int i = 0; i < m_nPairs; ++i) {
        if (i > 0)
            m_mixed.Add(", ");
        m_mixed.Add(pairs[i]);
    }
    return m_mixed.View();
}

void CJobMaker::AdvanceClock()
{
    m_nSeconds += m_rng.Between(15, 900);
    if (m_nSeconds < 19 * 3600)
        return;
    // After hours: on to the next working day's morning.
    do {
        ++m_nDay;
    } while ((m_nDay + 4) % 7 == 0 || (m_nDay + 4) % 7 == 6); // Sunday, Saturday
    m_nSeconds = 7 * 3600 + m_rng.Between(0, 5400);
}

void CJobMaker::AddDateTime(CLine& line)
{
    Pair(2).Add('{');
    Add2(line, m_nSeconds / 3600);
    line.Add(':');
    Add2(line, m_nSeconds / 60 % 60);
    line.Add(':');
    Add2(line, m_nSeconds % 60);
    line.Add("}, ");
    Pair(3).Add('{');
    long y;
    unsigned m, d;
    CivilFromDays(m_nDay, y, m, d);
    Add2(line, m);
    line.Add('/');
    Add2(line, d);
    line.Add('/').AddInt(y).Add("}, ");
}

// Spreads the sheets over 1 to 3 distinct paper types; returns how many.
int CJobMaker::SplitSheets(long nSheets, long* pCounts, int* pPapers)
{
    if (nSheets <= 0)
        return 0;
    int k = m_rng.Chance(800) ? 1 : m_rng.Chance(750) ? 2 : 3;
    k = static_cast<int>(std::min<long>({k, m_nPaperTypes, nSheets}));
    for (int i = 0; i < k; ++i) {
        int nPaper;
        do {
            nPaper = 1 + static_cast<int>(m_rng.Below(static_cast<std::uint32_t>(m_nPaperTypes)));
        } while (std::find(pPapers, pPapers + i, nPaper) != pPapers + i);
        pPapers[i] = nPaper;
    }
    long nLeft = nSheets;
    for (int i = 0; i < k - 1; ++i) {
        pCounts[i] = m_rng.Between(1, nLeft - (k - 1 - i));
        nLeft -= pCounts[i];
    }
    pCounts[k - 1] = nLeft;
    return k;
}

template <typename Emit> void CJobMaker::MakeJob(Emit&& emit)
{
    AdvanceClock();
    CRandom& rng = m_rng;
    // Completion: 0 done, 1 cancelled, 2 error, 3 aborted by the printer.
    std::uint32_t nRoll = rng.Below(100);
    int nCompletion = nRoll < 88 ? 0 : nRoll < 94 ? 1 : nRoll < 98 ? 2 : 3;
    long nPages = 0;
    if (nCompletion != 1) {
        std::uint32_t nSize = rng.Below(100);
        nPages = nSize < 50   ? rng.Between(1, 3)
                 : nSize < 85 ? rng.Between(4, 20)
                              : rng.Between(21, 200);
    }
    bool bDuplex = nPages > 1 && rng.Chance(300);
    long nDuplex = bDuplex ? nPages / 2 : 0;
    long nSimplex = bDuplex ? nPages % 2 : nPages;
    long nSheets = nSimplex + nDuplex;
    long nCounts[kMaxIndexLines];
    int nPapers[kMaxIndexLines];
    int k = SplitSheets(nSheets, nCounts, nPapers);
    std::uint32_t nUser = rng.Below(static_cast<std::uint32_t>(UserPool().size()));

    CLine& line = m_line;
    line.Clear();
    m_nPairs = 0;
    Pair(0).AddInt(m_nJobId++).Add(", ");
    Pair(1).AddInt(rng.Chance(800) ? 5 : rng.Between(1, 9)).Add(", ");
    AddDateTime(line);
    Pair(4).AddInt(nCompletion).Add(", ");
    Pair(5).Add('{').Add(UserPool()[nUser]).Add("}, ");
    // Most users print from their own machine.
    std::span<const char* const> hosts = HostPool();
    Pair(6).Add('{').Add(rng.Chance(900) ? hosts[nUser % hosts.size()] : Pick(rng, hosts));
    line.Add("}, ");
    Pair(7).Add('{').Add(Pick(rng, FilePool()));
    if (rng.Chance(100))
        line.Add(" (copy ").AddInt(rng.Between(2, 9)).Add(')');
    line.Add("}, ");
    Pair(8).Add('{').Add(Pick(rng, ChargePool())).Add("}, ");
    Pair(9).AddInt(40 + nPages * 15 + rng.Between(0, 800)).Add(", ");
    Pair(10).AddInt(nSheets * 1100 + rng.Between(0, nSheets ? 3000 : 500)).Add(", ");
    Pair(11).AddInt(rng.Chance(200) ? 1 : 0).Add(", ");
    Pair(12).AddInt(nCompletion == 2 ? rng.Between(1, 3) : 0).Add(", ");
    Pair(13).AddInt(nPages).Add(", ");
    Pair(14).AddInt(nSimplex).Add(", ");
    Pair(15).AddInt(nDuplex).Add(", ");
    static const int kFinishing[] = {0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4};
    Pair(16).AddInt(kFinishing[rng.Below(11)]).Add(", ");
    Pair(17).AddInt(1 + nPages / 16).Add(", ");
    Pair(18).AddInt(nSheets == 0 ? 0 : rng.Chance(25) ? 1 : rng.Chance(5) ? 2 : 0).Add(", ");
    Pair(19).AddInt(k).Add(", ");
    Pair(45).Add('{').Add(Pick(rng, ConnectionPool())).Add('}');
    if (m_bInk) {
        bool bColor = nPages > 0 && rng.Chance(350);
        for (int nField = 46; nField <= 48; ++nField) {
            line.Add(", ");
            Pair(nField).AddInt(bColor ? nPages * rng.Between(20, 120) : 0);
        }
        line.Add(", ");
        Pair(49).AddInt(nPages * rng.Between(30, 90));
    }
    emit(m_bMixedOrder ? MixOrder() : line.View());
    for (int i = 0; i < k; ++i) {
        line.Clear();
        line.Tag(20).AddInt(nCounts[i]).Add(", ").Tag(21).AddInt(nPapers[i]);
        emit(line.View());
    }
}

void CJobMaker::WriteJob(CFileWriter& out, bool bCrlf)
{
    MakeJob([&](std::string_view line) { out.WriteLine(line, bCrlf); });
}

void CJobMaker::AppendJob(std::string& strOut, bool bCrlf)
{
    MakeJob([&](std::string_view line) {
        strOut += line;
        strOut += bCrlf ? "\r\n" : "\n";
    });
}

void CJobMaker::ContinueAfter(long nJobId, std::string_view strDate, std::string_view strTime)
{
    m_nJobId = nJobId + 1;
    long nMonth = 0, nDay = 0, nYear = 0, nHour = 0, nMinute = 0, nSecond = 0;
    if (ReadNumbers(strDate, '/', nMonth, nDay, nYear) && nMonth >= 1 && nMonth <= 12 &&
        nDay >= 1 && nDay <= 31 && nYear >= 1970 && nYear <= 9999)
        m_nDay = DaysFromCivil(nYear, static_cast<unsigned>(nMonth), static_cast<unsigned>(nDay));
    if (ReadNumbers(strTime, ':', nHour, nMinute, nSecond) && nHour <= 23 && nMinute <= 59 &&
        nSecond <= 59)
        m_nSeconds = nHour * 3600 + nMinute * 60 + nSecond;
}

} // namespace hpa::sim
