#include "ui/AppServices.h"

namespace hpa {

namespace {

CAppServices* g_pServices = nullptr;

} // namespace

CAppServices* CAppServices::Instance()
{
    return g_pServices;
}

CAppServices::CAppServices()
{
    g_pServices = this;
}

CAppServices::~CAppServices()
{
    if (g_pServices == this)
        g_pServices = nullptr;
}

} // namespace hpa
