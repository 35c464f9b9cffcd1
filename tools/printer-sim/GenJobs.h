#pragma once
// Makes job records one after another: a record line with every job field
// (braced fields between "{" and "}" followed by ", "), then one index line
// "20:SHEETS, 21:PAPER" per paper type the job used. Jobs run forward in
// time through office hours on working days.
#include "GenWriter.h"

#include <cstdint>

namespace hpa::sim {

class CJobMaker {
public:
    CJobMaker(std::uint64_t nSeed, int nPaperTypes, bool bInk);

    // Writes the next job to out.
    void WriteJob(CFileWriter& out, bool bCrlf);

private:
    void AdvanceClock();
    void AddDateTime(CLine& line);
    int SplitSheets(long nSheets, long* pCounts, int* pPapers);

    CRandom m_rng;
    int m_nPaperTypes;
    bool m_bInk;
    long m_nJobId;
    long m_nDay;     // days since 1970-01-01
    long m_nSeconds; // seconds into the day
    CLine m_line;
};

} // namespace hpa::sim
