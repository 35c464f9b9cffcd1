#include "ui/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitHpaResourceFile()
{
    Q_INIT_RESOURCE(hpa);
}

namespace hpa {

void InitResources()
{
    static const bool bDone = (InitHpaResourceFile(), true);
    (void)bDone;
}

} // namespace hpa
