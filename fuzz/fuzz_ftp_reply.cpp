// libFuzzer entry for the FTP client's reply reading.
#include "fuzz/FuzzFtpReply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    return hpa::fuzz::FuzzFtpReply(pData, nSize);
}
