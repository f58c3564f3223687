#pragma once

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
