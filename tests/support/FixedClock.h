#pragma once
// A clock that stands still: a tick count of the test's choosing and the
// local time 12/08/2026 04:05:09.
#include "platform/Clock.h"

namespace hpa::test {

class CFixedClock : public CClock {
public:
    explicit CFixedClock(std::uint32_t nTicks = 1000) : m_nTicks(nTicks) {}
    std::uint32_t TickCount() const override { return m_nTicks; }
    std::tm LocalNow() const override
    {
        std::tm t{};
        t.tm_year = 126;
        t.tm_mon = 11;
        t.tm_mday = 8;
        t.tm_hour = 4;
        t.tm_min = 5;
        t.tm_sec = 9;
        return t;
    }

private:
    std::uint32_t m_nTicks;
};

} // namespace hpa::test
