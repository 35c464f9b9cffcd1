#include "platform/Messages.h"

#include <cstdio>

namespace hpa {

void CStderrMessages::Exclamation(const std::string& strText)
{
    std::fprintf(stderr, "%s\n", strText.c_str());
}

void CStderrMessages::Inform(const std::string& strText, const std::string& /*strCaption*/,
                             MessageIcon /*icon*/)
{
    std::fprintf(stderr, "%s\n", strText.c_str());
}

MessageAnswer CStderrMessages::AskYesNo(const std::string& strText)
{
    std::fprintf(stderr, "%s (answered No)\n", strText.c_str());
    return MessageAnswer::No;
}

} // namespace hpa
