#pragma once
// The data generator: writes a consistent synthetic accounting set of any
// size (acc.dic, acc.pap, acc1.job … accM.job, and last acc.sta, whose
// values agree with what was written) into a directory. Job files of an
// earlier, larger set in the same directory are removed.
//
// Status values written:
//   28 version (2, or 1 without the ink fields 46 to 49)
//   29 number of paper types
//   30 job file size: the capacity of all job files together, in bytes
//   31 last job file size: the capacity of the last job file, in bytes
//   32 job file usage: the bytes written to all job files
//   33 current job file usage: the bytes written to the last job file
//   34 max number of job files, 35 current job file: both M
//   36 number of jobs; 37 multifile: 2 when M > 1, else 1
//   38 enabled 1; 39 job file full 0; 40 paper file full 0;
//   41 to 44 (user, host, file, charge recorded) 1
#include "SimOptions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hpa::sim {

struct SGeneratedSet {
    long m_nJobs = 0;
    int m_nPaperTypes = 0;
    std::vector<std::uint64_t> m_jobFileBytes; // per job file, in file order
    std::uint64_t m_nCapacityPerFile = 0;
};

bool GenerateAccountingSet(const SGenerateOptions& opts, SGeneratedSet& result,
                           std::string& strError);

} // namespace hpa::sim
