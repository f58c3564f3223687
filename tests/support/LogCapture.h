#pragma once

#include <QString>
#include <QStringList>

// Collects the info lines of the viewer's log categories while it lives
// ("category: text" each), switching the categories on for that time.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    // The lines of one category ("remont.page"), in order.
    QStringList lines(const QString &category) const;

    QStringList all;
};
