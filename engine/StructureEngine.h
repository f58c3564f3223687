#pragma once

#include "core/ActionText.h"
#include "engine/ControlTypes.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QMenu;
class QWidget;
class TSkComboBox;
class TSkForm;
class TSkPopMenu;
class TSkSkin;
class TSkSpeedButton;
class TSkHtml;
class TSkTree;

namespace platform {
class IniFile;
}

// The structure engine: reads one structure file and builds its objects into
// a skinned window (one notebook page per engine), keeps them in per-type
// lists, finds them by name and runs their actions.
class TSkStract : public QObject
{
    Q_OBJECT

public:
    // Prepares the engine for the window; builds nothing yet.
    TSkStract(TSkForm *window, const QString &structFile);
    ~TSkStract() override;
    TSkStract(const TSkStract &) = delete;
    TSkStract &operator=(const TSkStract &) = delete;

    // Reads the structure file and builds every object. Called once.
    void LoadStructure();
    // Creates one object; answers it when it can hold others.
    QWidget *MakeObject(QWidget *parent, const QString &name, const QString &type);
    void MakeChildren(QWidget *container, const QString &containerName);
    // Applies the section's keys: common keys last to first, then the type's.
    void SetProperty(QObject *control, const QString &name, const QString &type);
    // An error box titled with the structure file (only while ShowErrors).
    void ReportError(const QString &message);

    // Lookups by section name: creation order, first match wins, names equal
    // ignoring the case of Latin letters only. A miss is reported.
    QObject *GetControl(const QString &name);
    QObject *GetComponent(const QString &name, const QString &type);
    // A control of the type the class T is built for (kControlType<T>), by
    // section name; null, and reported, when there is none.
    template <class T>
    T *Get(const QString &name)
    {
        return qobject_cast<T *>(GetComponent(name, QLatin1String(kControlType<T>)));
    }
    // By what they do; no report on a miss.
    TSkComboBox *FindComboBoxByCommand(const QString &command);
    TSkSpeedButton *FindSpeedButtonByCommand(const QString &command, const QString &parameters);

    // Runs an action text (the dispatcher's entry for controls and windows).
    void ExecuteAction(RHelpAction &record);
    void RunAction(const QString &action);
    // The event handler of every clickable control built by this engine.
    void ControlClick(QObject *sender);
    void ControlKeyDown(QObject *sender, int key, Qt::KeyboardModifiers modifiers);
    // A checkable tree's item was selected or deselected.
    void TreeExSelectionChange(QObject *sender, bool selected);
    // Routes the window's events to this engine and shows its page.
    void ActivateWindow();
    // Image views stop fitting themselves while the window changes state.
    void SuspendImages();
    void ResumeImages();
    // Before the frame toggles maximized: the speed buttons of but_max swap.
    void FormMaximizing();
    void ShowMaxButtons(bool maximized);
    void StorePanelPercents();
    void RealignPanels();
    // Registers the keys of a hot_key section on the window.
    void ReadHotKeys(const QString &section);
    // Fills a popup menu from its section.
    void BuildMenu(TSkPopMenu *menu, const QString &section);
    // A control of the type's list by name, without any report.
    QWidget *FindQuietly(const QString &name, const QString &type) const;

    // The type a control was built as ("button", "html", ...), or empty.
    static QString ObjectType(const QObject *control);
    // The objects of one type, in creation order (destroyed ones are gone).
    QList<QObject *> List(const QString &type) const;
    QList<QObject *> Controls() const;
    QWidget *Page() const;

    TSkForm *Window;
    int PageIndex = 0;
    QString TempStructFile;
    std::unique_ptr<platform::IniFile> Ini;
    bool ShowErrors = true;
    std::function<void(RHelpAction &)> OnAction;
    std::unique_ptr<TSkSkin> SkinCache;
    QString SkinFile;
    QString HelpId;
    bool SavePos = false;
    QString RegPath;
    QString Splash;
    bool SplashAutoClose = true;
    QStringList FavoriteMenus;

protected:
    // Shows a list box item's whole text as a hint when it does not fit.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct WorkEntry
    {
        QString Name;
        QString Master;
    };

    QObject *find(const QList<QPointer<QObject>> &list, const QString &name) const;
    void append(QObject *control, const QString &type);
    void buildPasses();

    QList<WorkEntry> m_work;
    QString m_formName;
    QList<QPointer<QObject>> m_all;
    QHash<QString, QList<QPointer<QObject>>> m_lists;
};
