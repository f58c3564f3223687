#pragma once

#include <QString>

// The printer side of the platform. Machines without a print system have no
// default printer; tests install a printer of known name.
namespace platform {

class Printers
{
public:
    virtual ~Printers() = default;
    // Name of the default printer; empty when there is none.
    virtual QString defaultPrinterName() const = 0;
};

Printers &printers();
void setPrinters(Printers *instance); // not owned; nullptr restores "no printer"

// A printer set that answers a fixed default printer name.
class FixedPrinters : public Printers
{
public:
    explicit FixedPrinters(QString name = {})
        : m_name(std::move(name))
    {}
    QString defaultPrinterName() const override { return m_name; }
    void setDefaultPrinterName(const QString &name) { m_name = name; }

private:
    QString m_name;
};

} // namespace platform
