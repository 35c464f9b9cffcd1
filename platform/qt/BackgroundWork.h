#pragma once
// Long reads of what the window shows (saving a big document, exporting a
// big grid) done on a worker thread while the user interface thread keeps
// painting: the window never looks hung. Keys and clicks wait until the
// work is done, so nothing can change the grids under the worker; the
// busy cursor says so.
#include <functional>

namespace hpa {

// Runs work to its end and returns then. With an application object the
// work runs on a worker thread and this thread's event loop runs meanwhile
// without user input; without one (or when called off the user interface
// thread) it runs here. The work must only read the shown data and must not
// touch widgets; exceptions it throws are rethrown here.
void RunWithoutFreezing(const std::function<void()>& work);

} // namespace hpa
