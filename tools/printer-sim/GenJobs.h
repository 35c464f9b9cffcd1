#pragma once
// Makes job records one after another: a record line with every job field
// (braced fields between "{" and "}" followed by ", "), then one index line
// "20:SHEETS, 21:PAPER" per paper type the job used. Jobs run forward in
// time through office hours on working days. With mixed order every record
// line lists its pairs in an order of its own, as logs of other printers do.
#include "GenWriter.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace hpa::sim {

class CJobMaker {
public:
    CJobMaker(std::uint64_t nSeed, int nPaperTypes, bool bInk, bool bMixedOrder = false);

    // Writes the next job to out.
    void WriteJob(CFileWriter& out, bool bCrlf);
    // Appends the next job's lines, line ends included, to strOut.
    void AppendJob(std::string& strOut, bool bCrlf);

    // Goes on from a job already in a log: the next job gets nJobId + 1 and
    // comes after the date ("MM/DD/YYYY") and time ("HH:MM:SS") given. A date
    // or time that does not read that way leaves the clock where it is.
    void ContinueAfter(long nJobId, std::string_view strDate, std::string_view strTime);

private:
    // Makes the next job and hands each of its lines to emit.
    template <typename Emit> void MakeJob(Emit&& emit);
    void AdvanceClock();
    void AddDateTime(CLine& line);
    int SplitSheets(long nSheets, long* pCounts, int* pPapers);
    // Starts the pair of nField on the record line.
    CLine& Pair(int nField);
    std::string_view MixOrder();

    static constexpr int kMaxPairs = 32;

    CRandom m_rng;
    CRandom m_orderRng;
    int m_nPaperTypes;
    bool m_bInk;
    bool m_bMixedOrder;
    long m_nJobId;
    long m_nDay;     // days since 1970-01-01
    long m_nSeconds; // seconds into the day
    CLine m_line;
    CLine m_mixed;
    std::size_t m_pairStart[kMaxPairs] = {};
    int m_nPairs = 0;
};

} // namespace hpa::sim
