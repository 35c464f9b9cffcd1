// libFuzzer entry for the .hpa document loader.
#include "fuzz/FuzzDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    return hpa::fuzz::FuzzDocumentLoad(pData, nSize);
}
