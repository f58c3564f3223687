#include "engine/ControlTypes.h"

#include "controls/Button.h"
#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/ContentsTree.h"
#include "controls/EditBox.h"
#include "controls/Label.h"
#include "controls/ListBox.h"
#include "controls/MenuItem.h"
#include "controls/PageView.h"
#include "controls/Panel.h"
#include "controls/ParentPanel.h"
#include "controls/PopupMenu.h"
#include "controls/ProgressBar.h"
#include "controls/RadioButton.h"
#include "controls/ScrollBox.h"
#include "controls/SpeedButton.h"
#include "controls/SpinEdit.h"
#include "controls/Splitter.h"
#include "controls/TrackBar.h"
#include "engine/ControlKeys.h"
#include "engine/SkinnedWindow.h"
#include "engine/StructureEngine.h"

#include <QFrame>

#include <array>

namespace {

// A control whose clicks (the signal given) run its action.
template <class T, class Signal>
QObject *clickable(TSkStract &engine, QWidget *parent, Signal signal)
{
    auto *control = new T(parent);
    QObject::connect(control, signal, &engine,
                     [&engine, control] { engine.ControlClick(control); });
    return control;
}

template <class T>
QObject *plain(TSkStract &, QWidget *parent, const QString &)
{
    return new T(parent);
}

QObject *createButton(TSkStract &e, QWidget *parent, const QString &)
{
    return clickable<TSkButton>(e, parent, &QPushButton::clicked);
}

QObject *createSpeedButton(TSkStract &e, QWidget *parent, const QString &)
{
    return clickable<TSkSpeedButton>(e, parent, &QToolButton::clicked);
}

QObject *createPanel(TSkStract &e, QWidget *parent, const QString &)
{
    return clickable<TSkPanel>(e, parent, &TSkPanel::doubleClicked);
}

QObject *createCheckBox(TSkStract &e, QWidget *parent, const QString &section)
{
    auto *box = static_cast<TSkCheckBox *>(clickable<TSkCheckBox>(e, parent, &QCheckBox::clicked));
    box->setText(section);
    return box;
}

QObject *createRadioButton(TSkStract &, QWidget *parent, const QString &)
{
    auto *radio = new TSkRadioButton(parent);
    radio->setText(QString());
    return radio;
}

QObject *createEditBox(TSkStract &e, QWidget *parent, const QString &)
{
    auto *edit = new TSkEditBox(parent);
    edit->clear();
    QObject::connect(edit, &TSkEditBox::keyDown, &e, [&e, edit](int key, Qt::KeyboardModifiers m) {
        e.ControlKeyDown(edit, key, m);
    });
    return edit;
}

QObject *createTree(TSkStract &e, QWidget *parent, const QString &)
{
    return clickable<TSkTree>(e, parent, &TSkTree::nodeClicked);
}

QObject *createHtml(TSkStract &e, QWidget *parent, const QString &)
{
    auto *view = new TSkHtml(parent);
    view->OnCommand = [engine = QPointer<TSkStract>(&e)](RHelpAction &record) {
        if (engine)
            engine->ExecuteAction(record);
    };
    return view;
}

QObject *createPopupMenu(TSkStract &e, QWidget *window, const QString &section)
{
    auto *menu = new TSkPopMenu(window);
    menu->setObjectName(section);
    QObject::connect(menu, &TSkPopMenu::itemClicked, &e,
                     [&e](TSkItem *item) { e.ControlClick(item); });
    e.BuildMenu(menu, section);
    return menu;
}

// Media objects have no widget of their own: their picture goes to the master.
QObject *createMedia(TSkStract &, QWidget *window, const QString &)
{
    return new QObject(window);
}

// Types whose own controls come later are built as plain widgets of the right
// name, list and container rule, so that building never fails on them.
QObject *createPlaceholder(TSkStract &, QWidget *parent, const QString &)
{
    auto *placeholder = new QFrame(parent);
    placeholder->setProperty("placeholder", true);
    return placeholder;
}

bool noKeys(TKeyContext &)
{
    return false;
}

// Wired after the keys, as authors expect from the original viewer.
void wireListBox(TSkStract &e, QObject *control)
{
    auto *list = static_cast<TSkListBox *>(control);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &e,
                     [&e, list] { e.ControlClick(list); });
    list->viewport()->installEventFilter(&e);
}

// After the keys, so loading the items file does not run the action.
void wireComboBox(TSkStract &e, QObject *control)
{
    auto *combo = static_cast<TSkComboBox *>(control);
    QObject::connect(combo, &QComboBox::currentIndexChanged, &e,
                     [&e, combo] { e.ControlClick(combo); });
}

using F = TControlType;
constexpr unsigned kBox = F::Container | F::ThemeDefault;

// clang-format off
const std::array kTypes = {
    //          name            flags            create                      keys                  after keys
    TControlType{"button",       F::ThemeDefault, createButton,              applyButtonKey,       nullptr},
    TControlType{"sp_button",    F::ThemeDefault, createSpeedButton,         applySpeedButtonKey,  nullptr},
    TControlType{"panel",        kBox,            createPanel,               applyPanelKey,        nullptr},
    TControlType{"parent_panel", F::Container,    plain<TParentPanel>,       applyParentPanelKey,  nullptr},
    TControlType{"split",        F::ThemeDefault, plain<TSkSplitter>,        applySplitterKey,     nullptr},
    TControlType{"label",        F::ThemeDefault, plain<TSkLabel>,           applyLabelKey,        nullptr},
    TControlType{"track_bar",    F::ThemeDefault, plain<TSkTrackBar>,        applyTrackBarKey,     nullptr},
    TControlType{"list_box",     F::ThemeDefault, plain<TSkListBox>,         applyListBoxKey,      wireListBox},
    TControlType{"scroll_box",   kBox,            plain<TSkScrollBox>,       applyScrollBoxKey,    nullptr},
    TControlType{"edit_box",     0,               createEditBox,             applyEditBoxKey,      nullptr},
    TControlType{"check_box",    0,               createCheckBox,            applyCheckBoxKey,     nullptr},
    TControlType{"r_button",     0,               createRadioButton,         applyRadioButtonKey,  nullptr},
    TControlType{"progress_bar", 0,               plain<TSkProgressBar>,     applyProgressBarKey,  nullptr},
    TControlType{"combo_box",    0,               plain<TSkComboBox>,        applyComboBoxKey,     wireComboBox},
    TControlType{"spin_edit",    0,               plain<TSkSpinEdit>,        applySpinEditKey,     nullptr},
    TControlType{"tree",         F::ThemeDefault, createTree,                applyTreeKey,         nullptr},
    TControlType{"html",         0,               createHtml,                applyHtmlKey,         nullptr},
    TControlType{"pop_menu",     F::Unplaced,     createPopupMenu,           nullptr,              nullptr},
    TControlType{"media",        F::Unplaced,     createMedia,               noKeys,               nullptr},
    TControlType{"tree_ex",      0,               createPlaceholder,         applyPlaceholderKey,  nullptr},
    TControlType{"image",        0,               createPlaceholder,         applyPlaceholderKey,  nullptr},
    TControlType{"gif",          0,               createPlaceholder,         applyPlaceholderKey,  nullptr},
    TControlType{"pic",          0,               createPlaceholder,         applyPlaceholderKey,  nullptr},
    TControlType{"list_img",     0,               createPlaceholder,         applyPlaceholderKey,  nullptr},
    TControlType{"grid",         0,               createPlaceholder,         applyPlaceholderKey,  nullptr},
    TControlType{"html_grid",    0,               createPlaceholder,         applyPlaceholderKey,  nullptr},
    TControlType{"diagram",      0,               createPlaceholder,         applyPlaceholderKey,  nullptr},
    TControlType{"flash",        F::Container,    createPlaceholder,         applyPlaceholderKey,  nullptr},
};
// clang-format on

} // namespace

const TControlType *FindControlType(const QString &name)
{
    for (const TControlType &type : kTypes) {
        if (name == QLatin1String(type.Name))
            return &type;
    }
    return nullptr;
}
