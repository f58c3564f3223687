#pragma once

#include "platform/Printers.h"

namespace platform {

// The print system's printers (CUPS through Qt).
class QtPrinters : public Printers
{
public:
    QString defaultPrinterName() const override;
};

} // namespace platform
