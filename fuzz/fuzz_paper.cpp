// libFuzzer entry for the paper reader (a status line, then "PAP.tmp").
#include "fuzz/FuzzReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    return hpa::fuzz::FuzzPaperReader(pData, nSize);
}
