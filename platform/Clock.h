#pragma once
// Time as the program sees it: a millisecond tick count (for the FTP data
// port and waits) and the local wall-clock time (for download date and time).
#include <cstdint>
#include <ctime>
#include <string>

namespace hpa {

class CClock {
public:
    virtual ~CClock() = default;
    // Milliseconds since an arbitrary start; wraps like a 32-bit tick count.
    virtual std::uint32_t TickCount() const = 0;
    // Local broken-down time of "now".
    virtual std::tm LocalNow() const = 0;
};

// The real clock: steady_clock for ticks, localtime_r for the wall clock.
class CSystemClock : public CClock {
public:
    std::uint32_t TickCount() const override;
    std::tm LocalNow() const override;
};

// The process-wide real clock.
CClock& SystemClock();

// strftime into a std::string (formats such as "%m/%d/%Y" and "%H:%M:%S").
std::string FormatTime(const std::tm& tmValue, const char* pszFormat);

} // namespace hpa
