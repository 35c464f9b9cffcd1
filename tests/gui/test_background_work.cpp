// Long work beside a live window: the work runs on another thread, the
// user interface thread keeps handling timer (and paint) events under the
// busy cursor, and failures come back to the caller.
#include "platform/qt/BackgroundWork.h"

#include <QApplication>
#include <QCursor>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace hpa {
namespace {

TEST(BackgroundWork, TimersRunWhileTheWorkRunsOnAThreadOfItsOwn)
{
    int nTicks = 0;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] { ++nTicks; });
    timer.start();

    std::thread::id workThread;
    bool bBusyCursor = false;
    RunWithoutFreezing([&] {
        workThread = std::this_thread::get_id();
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    });
    EXPECT_NE(workThread, std::this_thread::get_id());
    EXPECT_GE(nTicks, 5); // the thread was not frozen
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // The busy cursor is up while the work runs.
    std::atomic<bool> bRelease{false};
    QTimer::singleShot(20, [&] {
        bBusyCursor = QGuiApplication::overrideCursor() &&
                      QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
        bRelease = true;
    });
    RunWithoutFreezing([&] {
        while (!bRelease)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    EXPECT_TRUE(bBusyCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(BackgroundWork, QuickWorkAndFailuresComeBackToTheCaller)
{
    int nRuns = 0;
    for (int n = 0; n < 50; ++n)
        RunWithoutFreezing([&] { ++nRuns; }); // ends before the loop starts
    EXPECT_EQ(nRuns, 50);

    EXPECT_THROW(RunWithoutFreezing([] { throw std::runtime_error("disk on fire"); }),
                 std::runtime_error);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // From a thread of its own the work simply runs there.
    std::thread::id caller, worker;
    std::thread([&] {
        caller = std::this_thread::get_id();
        RunWithoutFreezing([&] { worker = std::this_thread::get_id(); });
    }).join();
    EXPECT_EQ(caller, worker);
}

} // namespace
} // namespace hpa
