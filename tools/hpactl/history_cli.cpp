// Shared pieces of the history commands.
#include "history_cli.h"

#include <charconv>
#include <cstdio>
#include <fstream>

namespace hpactl {

std::unique_ptr<hpa::CHistoryStore> OpenHistory(const char* pszCommand, const std::string& strDb)
{
    std::string strError;
    auto pStore = hpa::OpenHistoryStore(hpa::ResolveHistoryLocation(strDb), strError);
    if (!pStore)
        std::fprintf(stderr, "hpactl %s: %s\n", pszCommand, strError.c_str());
    return pStore;
}

bool WriteText(const char* pszCommand, const std::string& strPath, std::string_view strText)
{
    if (strPath.empty() || strPath == "-") {
        const bool bOk = std::fwrite(strText.data(), 1, strText.size(), stdout) == strText.size();
        return std::fflush(stdout) == 0 && bOk;
    }
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out.write(strText.data(), static_cast<std::streamsize>(strText.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "hpactl %s: cannot write %s\n", pszCommand, strPath.c_str());
        return false;
    }
    return true;
}

bool ParseCount(std::string_view str, long& nValue)
{
    const auto [ptr, ec] = std::from_chars(str.data(), str.data() + str.size(), nValue);
    return ec == std::errc() && ptr == str.data() + str.size() && nValue >= 0;
}

} // namespace hpactl
