#include "platform/HugePageHeap.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

namespace hpa {

namespace {

constexpr std::string_view kHeapTunable = "glibc.malloc.hugetlb";

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kOwnMalloc = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) ||                         \
    __has_feature(memory_sanitizer)
constexpr bool kOwnMalloc = true;
#else
constexpr bool kOwnMalloc = false;
#endif
#else
constexpr bool kOwnMalloc = false;
#endif

// The tunable exists from glibc 2.35 on; older ones ignore it, and a kernel
// with transparent huge pages "never" has none to give.
bool HugePagesOffered()
{
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 35))
    std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string strModes;
    if (!std::getline(in, strModes))
        return false;
    return strModes.find("[never]") == std::string::npos;
#else
    return false;
#endif
}

} // namespace

std::optional<std::string> HugePageTunables(const char* pszCurrent)
{
    const std::string_view strCurrent = pszCurrent ? pszCurrent : "";
    // Tunables are colon-separated name=value pairs.
    std::size_t nStart = 0;
    while (nStart <= strCurrent.size()) {
        std::size_t nEnd = strCurrent.find(':', nStart);
        if (nEnd == std::string_view::npos)
            nEnd = strCurrent.size();
        const std::string_view strPair = strCurrent.substr(nStart, nEnd - nStart);
        if (strPair.substr(0, strPair.find('=')) == kHeapTunable)
            return std::nullopt; // set already, by us or by the user: keep it
        nStart = nEnd + 1;
    }
    std::string strNew(strCurrent);
    if (!strNew.empty())
        strNew += ':';
    strNew += kHeapTunable;
    strNew += "=1";
    return strNew;
}

void RestartWithHugePageHeap(char** argv)
{
    if (kOwnMalloc || std::getenv("HPA_NO_HUGE_PAGES") || !HugePagesOffered())
        return;
    const char* pszBefore = std::getenv("GLIBC_TUNABLES");
    const std::string strBefore = pszBefore ? pszBefore : "";
    const std::optional<std::string> strTunables = HugePageTunables(pszBefore);
    if (!strTunables)
        return;
    // The restarted program finds the tunable set and goes on from here.
    if (setenv("GLIBC_TUNABLES", strTunables->c_str(), 1) != 0)
        return;
    execv("/proc/self/exe", argv);
    // Not restarted (no /proc, say): go on as we are, with the environment
    // any child gets as it was.
    if (pszBefore)
        setenv("GLIBC_TUNABLES", strBefore.c_str(), 1);
    else
        unsetenv("GLIBC_TUNABLES");
}

} // namespace hpa
