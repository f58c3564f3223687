#include "platform/QtDialogs.h"

#include "platform/FileSystem.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

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

QString QtDialogs::openFile(const FileDialogRequest &request)
{
    const QString folder =
        request.startFolder.isEmpty() ? QString() : findOnDisk(request.startFolder);
    const QString chosen = QFileDialog::getOpenFileName(QApplication::activeWindow(), request.title,
                                                        folder, request.filter);
    return chosen.isEmpty() ? QString() : toVirtual(chosen);
}

} // namespace platform
