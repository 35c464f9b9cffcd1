#include "platform/Clock.h"

#include <chrono>

namespace hpa {

std::uint32_t CSystemClock::TickCount() const
{
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

std::tm CSystemClock::LocalNow() const
{
    std::time_t now = std::time(nullptr);
    std::tm result{};
    localtime_r(&now, &result);
    return result;
}

CClock& SystemClock()
{
    static CSystemClock clock;
    return clock;
}

std::string FormatTime(const std::tm& tmValue, const char* pszFormat)
{
    char buffer[128];
    std::size_t n = std::strftime(buffer, sizeof buffer, pszFormat, &tmValue);
    return std::string(buffer, n);
}

} // namespace hpa
