#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Every message box, file dialog and modal question of the program goes
// through this interface, so tests and author tools can answer and record them
// and nothing ever waits for a person where no person is.
namespace platform {

enum class MessageKind
{
    Plain,   // an information box with an OK button
    Error,   // the engine's error kind: a single "Yes" button
    Skinned, // the skinned message box of the theme (button glyphs off)
};

struct MessageRecord
{
    MessageKind kind = MessageKind::Plain;
    QString title;
    QString text;
};

struct FileDialogRequest
{
    QString title;
    QString filter;      // e.g. "*.txt"
    QString startFolder; // program form, may be empty
};

// The print dialog: the page range it offers and what the person chose.
struct PrintDialogRequest
{
    QString printerName; // offered first; empty: the default printer
    int minPage = 1;
    int maxPage = 1;
    int fromPage = 1;
    int toPage = 1;
};

struct PrintDialogAnswer
{
    bool accepted = false;
    bool allPages = true; // false: fromPage..toPage
    int fromPage = 1;
    int toPage = 1;
    QString printerName; // empty: the one offered
    QString outputFile;  // program form; printing goes to this file instead
    int copies = 1;
};

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // Shows a modal message. An empty title means the application's title.
    virtual void message(MessageKind kind, const QString &title, const QString &text) = 0;

    // An open-file dialog; answers the chosen file in program form (Z:\...),
    // or an empty text when cancelled.
    virtual QString openFile(const FileDialogRequest &request) = 0;

    // The print dialog; unless overridden it answers "cancelled".
    virtual PrintDialogAnswer printDialog(const PrintDialogRequest &request);
};

// The process-wide instance. Until one is installed, messages go to standard
// error and dialogs answer "cancelled" (command-line tools, early start-up).
Dialogs &dialogs();
// Installs an instance (not owned); nullptr restores the default.
void setDialogs(Dialogs *instance);

// Convenience wrappers used by most callers.
void showMessage(const QString &text);
void showError(const QString &title, const QString &text);
void showSkinnedMessage(const QString &text);

// Records every message and answers file dialogs from a queue; used by tests
// and by the author tools that report what a window would have shown.
class RecordingDialogs : public Dialogs
{
public:
    void message(MessageKind kind, const QString &title, const QString &text) override;
    QString openFile(const FileDialogRequest &request) override;
    PrintDialogAnswer printDialog(const PrintDialogRequest &request) override;

    QList<MessageRecord> messages;
    QList<FileDialogRequest> fileRequests;
    QStringList fileAnswers; // taken from the front; empty = cancelled
    QList<PrintDialogRequest> printRequests;
    QList<PrintDialogAnswer> printAnswers; // taken from the front; empty = cancelled

    QStringList texts() const;
    void clear();
};

// Installs a RecordingDialogs for the lifetime of the guard.
class ScopedRecordingDialogs : public RecordingDialogs
{
public:
    ScopedRecordingDialogs();
    ~ScopedRecordingDialogs() override;
    ScopedRecordingDialogs(const ScopedRecordingDialogs &) = delete;
    ScopedRecordingDialogs &operator=(const ScopedRecordingDialogs &) = delete;

private:
    Dialogs *m_previous;
};

} // namespace platform
