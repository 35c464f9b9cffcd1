#include "platform/qt/IdleProcessing.h"

namespace hpa {

CIdleHub& CIdleHub::Instance()
{
    static CIdleHub hub;
    return hub;
}

void RunIdleProcessing()
{
    emit CIdleHub::Instance().idle();
}

} // namespace hpa
