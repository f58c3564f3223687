#include "platform/Printers.h"

namespace platform {

namespace {
FixedPrinters g_none;
Printers *g_instance = nullptr;
} // namespace

Printers &printers()
{
    return g_instance ? *g_instance : g_none;
}

void setPrinters(Printers *instance)
{
    g_instance = instance;
}

} // namespace platform
