#pragma once

#include "platform/Dialogs.h"

class QWidget;

namespace platform {

// The dialogs a person sees: Qt message boxes, file and print dialogs, modal
// to the active window.
class QtDialogs : public Dialogs
{
public:
    void message(MessageKind kind, const QString &title, const QString &text) override;
    QString openFile(const FileDialogRequest &request) override;
    PrintDialogAnswer printDialog(const PrintDialogRequest &request) override;
};

} // namespace platform
