#include "platform/QtPrinters.h"

#include <QPrinterInfo>

namespace platform {

QString QtPrinters::defaultPrinterName() const
{
    return QPrinterInfo::defaultPrinterName();
}

} // namespace platform
