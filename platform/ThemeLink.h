#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

// Skins are Qt style sheets of our own conventions (see docs/skins.md) plus
// the pictures they name. A theme link is one loaded skin file; the windows
// and controls linked to it are drawn with it, everything else keeps the look
// it had.
namespace platform {

class ThemeLink : public QObject
{
    Q_OBJECT

public:
    explicit ThemeLink(QObject *owner = nullptr);

    // Loads the skin file (program form, case-insensitive lookup). A file that
    // is missing, too large or not a readable style sheet leaves the link
    // empty: linked controls keep their default look. Answers whether it loaded.
    bool setSkinFile(const QString &fileName);
    QString skinFile() const { return m_file; }
    bool isLoaded() const { return m_loaded; }
    // The sheet with every relative url() turned into a path beside the skin.
    QString styleSheet() const { return m_sheet; }

    // Draws the control (and, for a window, everything on it) with this skin.
    void link(QWidget *control);
    bool isLinked(const QWidget *control) const;

private:
    QString m_file;
    QString m_sheet;
    bool m_loaded = false;
    QList<QPointer<QWidget>> m_linked;
};

// The skin object of a control: the name a skin selects it by,
// [skinObject="ButtonPrint"]. Setting it re-applies the skin to the control.
void setSkinObject(QWidget *control, const QString &name);
QString skinObject(const QWidget *control);

// The sheet text of a skin file in memory: relative url() references are
// resolved against folder (program form). Empty, with *ok false, when the
// text is not a plausible style sheet (unbalanced braces, comments or quotes).
QString prepareSkinSheet(const QString &text, const QString &folder, bool *ok);

} // namespace platform
