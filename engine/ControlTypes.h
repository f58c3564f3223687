#pragma once

#include <QString>

// The object types of structure files: one row per type, saying how the
// engine creates a control of it and applies the keys of its section. The
// sections "form", "hot_key" and "none" build no control and have no row.

class QObject;
class QWidget;
class TSkStract;
struct TKeyContext;

struct TControlType
{
    enum Flag : unsigned
    {
        Container = 1,    // other objects can be placed on it
        ThemeDefault = 2, // drawn with the skin object "default" until a key says otherwise
        Unplaced = 4,     // owned by the window and placed nowhere (popup menus, media)
    };

    const char *Name;
    unsigned Flags;
    // Creates the control on the parent (the window for unplaced types) and
    // connects its events to the engine.
    QObject *(*Create)(TSkStract &engine, QWidget *parent, const QString &section);
    // Applies one key of the type; answers false for a key the type has not.
    // Null: the section's keys are read by Create itself.
    bool (*ApplyKey)(TKeyContext &key);
    // Runs once the keys are applied (events that loading must not fire).
    void (*AfterKeys)(TSkStract &engine, QObject *control);

    bool has(Flag flag) const { return (Flags & flag) != 0; }
};

// The row of a type name (lower case), or null for a type no row has.
const TControlType *FindControlType(const QString &name);

// The structure-file type ("button", "html", ...) each control class is
// built for; TSkStract::Get<T> looks controls up in that type's list.

class TSkButton;
class TSkCheckBox;
class TSkComboBox;
class TSkEditBox;
class TSkHtml;
class TSkLabel;
class TSkListBox;
class TSkPanel;
class TSkPopMenu;
class TSkProgressBar;
class TSkRadioButton;
class TSkScrollBox;
class TSkSpeedButton;
class TSkSpinEdit;
class TSkSplitter;
class TSkTrackBar;
class TSkTree;
class TParentPanel;

template <class T>
inline constexpr const char *kControlType = nullptr;

// clang-format off
template <> inline constexpr const char *kControlType<TSkButton> = "button";
template <> inline constexpr const char *kControlType<TSkCheckBox> = "check_box";
template <> inline constexpr const char *kControlType<TSkComboBox> = "combo_box";
template <> inline constexpr const char *kControlType<TSkEditBox> = "edit_box";
template <> inline constexpr const char *kControlType<TSkHtml> = "html";
template <> inline constexpr const char *kControlType<TSkLabel> = "label";
template <> inline constexpr const char *kControlType<TSkListBox> = "list_box";
template <> inline constexpr const char *kControlType<TSkPanel> = "panel";
template <> inline constexpr const char *kControlType<TSkPopMenu> = "pop_menu";
template <> inline constexpr const char *kControlType<TSkProgressBar> = "progress_bar";
template <> inline constexpr const char *kControlType<TSkRadioButton> = "r_button";
template <> inline constexpr const char *kControlType<TSkScrollBox> = "scroll_box";
template <> inline constexpr const char *kControlType<TSkSpeedButton> = "sp_button";
template <> inline constexpr const char *kControlType<TSkSpinEdit> = "spin_edit";
template <> inline constexpr const char *kControlType<TSkSplitter> = "split";
template <> inline constexpr const char *kControlType<TSkTrackBar> = "track_bar";
template <> inline constexpr const char *kControlType<TSkTree> = "tree";
template <> inline constexpr const char *kControlType<TParentPanel> = "parent_panel";
// clang-format on
