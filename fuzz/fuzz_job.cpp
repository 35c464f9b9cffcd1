// libFuzzer entry for the job reader (a status line, then "JOB.tmp").
#include "fuzz/FuzzReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    return hpa::fuzz::FuzzJobReader(pData, nSize);
}
