#pragma once
// Idle-time work, such as bringing the toolbar's enabled state up to date,
// runs when the event loop is about to wait. Loops of the program's own
// that keep messages flowing while they work (a download, a print job)
// never let the event loop wait, so they call RunIdleProcessing after each
// round of messages.
#include <QObject>

namespace hpa {

class CIdleHub : public QObject {
    Q_OBJECT
public:
    static CIdleHub& Instance();

signals:
    void idle();
};

// Runs the idle-time work now.
void RunIdleProcessing();

} // namespace hpa
