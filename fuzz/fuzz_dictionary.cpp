// libFuzzer entry for the dictionary reader ("DIC.tmp").
#include "fuzz/FuzzReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    return hpa::fuzz::FuzzDictionaryReader(pData, nSize);
}
