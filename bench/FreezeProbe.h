#pragma once
// What the desktop benchmarks share: how long the user interface thread
// goes without handling an event.
#include <QObject>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace hpa {

// The longest stretch in which the user interface thread handled no events
// (the window could not paint or react): a 1 ms timer's ticks mark the
// moments it did. An operation done in one go is one stretch; one whose
// work runs on a worker leaves the thread's event loop running.
class CFreezeProbe {
public:
    CFreezeProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
    }
    void Start()
    {
        m_dLongest = 0;
        m_last = Clock::now();
        m_timer.start();
    }
    double Stop()
    {
        Tick();
        m_timer.stop();
        return m_dLongest;
    }

private:
    void Tick()
    {
        m_dLongest = std::max(
            m_dLongest, std::chrono::duration<double, std::milli>(Clock::now() - m_last).count());
        m_last = Clock::now();
    }

    using Clock = std::chrono::steady_clock;
    QTimer m_timer;
    Clock::time_point m_last;
    double m_dLongest = 0;
};

} // namespace hpa
