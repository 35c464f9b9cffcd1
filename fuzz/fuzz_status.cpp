// libFuzzer entry for the status reader and the status grid ("STA.tmp").
#include "fuzz/FuzzReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    return hpa::fuzz::FuzzStatusReader(pData, nSize);
}
