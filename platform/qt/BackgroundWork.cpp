#include "platform/qt/BackgroundWork.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QThread>

#include <exception>
#include <thread>

namespace hpa {

void RunWithoutFreezing(const std::function<void()>& work)
{
    QCoreApplication* pApp = QCoreApplication::instance();
    if (!pApp || QThread::currentThread() != pApp->thread()) {
        work();
        return;
    }
    const bool bGui = qobject_cast<QGuiApplication*>(pApp) != nullptr;
    if (bGui)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QEventLoop loop;
    std::exception_ptr pError;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            pError = std::current_exception();
        }
        // Queued: should the work end before the loop starts, the loop
        // still sees the request as soon as it runs.
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (bGui)
        QGuiApplication::restoreOverrideCursor();
    if (pError)
        std::rethrow_exception(pError);
}

} // namespace hpa
