#include "LogCapture.h"

#include <QLoggingCategory>

namespace {

LogCapture *current = nullptr;
QtMessageHandler previous = nullptr;

void collect(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (current && context.category && QString::fromLatin1(context.category).startsWith("remont."))
        current->all.append(QString::fromLatin1(context.category) + QStringLiteral(": ") + text);
    else if (previous)
        previous(type, context, text);
}

} // namespace

LogCapture::LogCapture()
{
    current = this;
    previous = qInstallMessageHandler(collect);
    QLoggingCategory::setFilterRules(QStringLiteral("remont.*.info=true"));
}

LogCapture::~LogCapture()
{
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previous);
    current = nullptr;
}

QStringList LogCapture::lines(const QString &category) const
{
    QStringList out;
    for (const QString &line : all) {
        if (line.startsWith(category + QStringLiteral(": ")))
            out.append(line.mid(category.size() + 2));
    }
    return out;
}
