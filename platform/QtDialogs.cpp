#include "platform/QtDialogs.h"

#include "platform/FileSystem.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace platform {

void QtDialogs::message(MessageKind kind, const QString &title, const QString &text)
{
    QWidget *owner = QApplication::activeWindow();
    const QString caption = title.isEmpty() ? QApplication::applicationDisplayName() : title;
    QMessageBox box(owner);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (kind) {
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Yes);
        break;
    case MessageKind::Skinned:
        box.setObjectName(QStringLiteral("SkinnedMessage"));
        box.setProperty("skinObject", QStringLiteral("Message"));
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageKind::Plain:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    box.exec();
}

namespace {

// Manuals write filters the Windows way, "description|pattern|..."; Qt wants
// "description (pattern);;...". A lone pattern stays as it is.
QString qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    if (parts.size() < 2)
        return filter;
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(u';', u' ') + u')';
    return out.join(QStringLiteral(";;"));
}

} // namespace

QString QtDialogs::openFile(const FileDialogRequest &request)
{
    const QString folder =
        request.startFolder.isEmpty() ? QString() : findOnDisk(request.startFolder);
    const QString chosen = QFileDialog::getOpenFileName(QApplication::activeWindow(), request.title,
                                                        folder, qtFilter(request.filter));
    return chosen.isEmpty() ? QString() : toVirtual(chosen);
}

PrintDialogAnswer QtDialogs::printDialog(const PrintDialogRequest &request)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!request.printerName.isEmpty())
        printer.setPrinterName(request.printerName);
    printer.setFromTo(request.fromPage, request.toPage);
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setMinMax(request.minPage, request.maxPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    PrintDialogAnswer answer;
    if (dialog.exec() != QDialog::Accepted)
        return answer;
    answer.accepted = true;
    answer.allPages = printer.printRange() != QPrinter::PageRange;
    answer.fromPage = printer.fromPage();
    answer.toPage = printer.toPage();
    answer.printerName = printer.printerName();
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        answer.outputFile = toVirtual(printer.outputFileName());
    answer.copies = printer.copyCount();
    return answer;
}

} // namespace platform
