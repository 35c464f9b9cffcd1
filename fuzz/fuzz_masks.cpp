// libFuzzer entry for the field masks read from the profile.
#include "fuzz/FuzzMasks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    return hpa::fuzz::FuzzMaskParsing(pData, nSize);
}
