#include "engine/ControlKeys.h"

#include "controls/Button.h"
#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/ContentsTree.h"
#include "controls/EditBox.h"
#include "controls/Label.h"
#include "controls/ListBox.h"
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
#include "engine/PageTreeLinks.h"
#include "engine/PropertyKeys.h"
#include "engine/SkinnedWindow.h"
#include "engine/StructureEngine.h"
#include "platform/FormLayout.h"

#include <QMouseEvent>

namespace {

template <class T>
T *control(const TKeyContext &k)
{
    return static_cast<T *>(k.Control);
}

// min_width, min_height, max_width, max_height among the names given.
bool applyConstraint(TKeyContext &k, std::initializer_list<const char *> names)
{
    bool named = false;
    for (const char *name : names)
        named = named || k.is(name);
    if (!named)
        return false;
    QWidget *widget = k.widget();
    platform::SizeConstraints c = platform::FormLayout::constraints(widget);
    const int v = k.integer();
    (k.is("min_width")    ? c.minWidth
     : k.is("min_height") ? c.minHeight
     : k.is("max_width")  ? c.maxWidth
                          : c.maxHeight) = v;
    platform::FormLayout::setConstraints(widget, c);
    return true;
}

} // namespace

bool applyButtonKey(TKeyContext &k)
{
    auto *button = control<TSkButton>(k);
    if (k.is("text_align"))
        button->SetTextAlignment(ParseAlignment(k.Value));
    else if (k.is("transparent"))
        button->SetTransparent(k.boolean(true));
    else if (k.is("word_wrap"))
        button->SetWordWrap(k.boolean(false));
    else if (k.is("action"))
        button->ActionText = k.Value;
    else if (k.is("caption"))
        button->SetCaption(k.Value);
    else if (k.is("hint"))
        button->setToolTip(k.Value);
    else if (k.is("font"))
        applyFont(k);
    else if (k.is("skin"))
        applySkinPair(k, true);
    else
        return false;
    return true;
}

bool applySpeedButtonKey(TKeyContext &k)
{
    auto *sp = control<TSkSpeedButton>(k);
    if (k.is("transparent")) {
        sp->SetTransparent(k.boolean(true));
    } else if (k.is("action")) {
        sp->ActionText = k.Value;
    } else if (k.is("caption")) {
        sp->setText(k.Value);
    } else if (k.is("hint")) {
        sp->setToolTip(k.Value);
    } else if (k.is("group")) {
        sp->SetGroupIndex(k.integer());
    } else if (k.is("but_next_tree")) {
        if (TSkTree *tree = k.Engine.Get<TSkTree>(k.Value))
            tree->SetNextButton(sp);
    } else if (k.is("but_prev_tree")) {
        if (TSkTree *tree = k.Engine.Get<TSkTree>(k.Value))
            tree->SetPrevButton(sp);
    } else if (k.is("down")) {
        sp->SetDown(k.boolean(false));
        sp->DownState = sp->Down();
    } else if (k.is("font")) {
        applyFont(k);
    } else if (k.is("menu")) {
        if (QMenu *menu = k.Engine.Get<TSkPopMenu>(k.Value)) {
            sp->setMenu(menu);
            sp->setPopupMode(QToolButton::MenuButtonPopup);
        }
    } else if (k.is("skin")) {
        applySkinPair(k, false);
    } else {
        return false;
    }
    return true;
}

bool applyPanelKey(TKeyContext &k)
{
    auto *panel = control<TSkPanel>(k);
    bool own = true;
    if (k.is("visible_ex")) {
        if (k.boolean(true))
            panel->ShowOrHide();
    } else if (k.is("action")) {
        panel->ActionText = k.Value;
    } else if (applyConstraint(k, {"min_width", "max_width", "min_height"})) {
    } else if (k.is("skin")) {
        applySkinPair(k, false);
    } else {
        own = false;
    }
    giveDragHandler(k.Engine, panel);
    return own;
}

bool applyParentPanelKey(TKeyContext &k)
{
    auto *pp = control<TParentPanel>(k);
    if (k.is("action")) {
        pp->ActionText = k.Value;
    } else if (applyConstraint(k, {"min_width", "min_height"})) {
    } else if (k.is("color")) {
        if (const auto color = ParseColor(k.Value))
            pp->SetColor(toQColor(*color));
    } else {
        giveDragHandler(k.Engine, pp);
        return false;
    }
    return true;
}

bool applySplitterKey(TKeyContext &k)
{
    if (k.is("action"))
        control<TSkSplitter>(k)->ActionText = k.Value;
    else if (k.is("skin"))
        applySkinPair(k, false);
    else
        return false;
    return true;
}

bool applyLabelKey(TKeyContext &k)
{
    auto *label = control<TSkLabel>(k);
    bool own = true;
    if (k.is("url")) {
        label->SetUrlStyle(k.boolean(false));
    } else if (k.is("action")) {
        label->ActionText = k.Value;
    } else if (k.is("caption")) {
        label->SetCaption(k.Value);
    } else if (k.is("hint")) {
        label->setToolTip(k.Value);
    } else if (k.is("font")) {
        applyFont(k);
    } else if (k.is("text_align")) {
        label->setAlignment(ParseAlignment(k.Value) | Qt::AlignVCenter);
    } else if (k.is("html_title")) {
        if (TSkHtml *view = k.Engine.Get<TSkHtml>(k.Value))
            view->SetTitleLabel(label);
    } else if (k.is("word_wrap")) {
        label->setWordWrap(k.boolean(false));
    } else if (k.is("auto_size")) {
        label->SetAutoSize(k.boolean(false));
    } else if (k.is("skin")) {
        applySkinPair(k, false);
    } else {
        own = false;
    }
    giveDragHandler(k.Engine, label);
    return own;
}

bool applyTrackBarKey(TKeyContext &k)
{
    auto *track = control<TSkTrackBar>(k);
    if (k.is("action"))
        track->ActionText = k.Value;
    else if (k.is("hint"))
        track->setToolTip(k.Value);
    else if (k.is("skin"))
        applySkinPair(k, false);
    else
        return false;
    return true;
}

bool applyEditBoxKey(TKeyContext &k)
{
    auto *edit = control<TSkEditBox>(k);
    if (k.is("action"))
        edit->ActionText = k.Value;
    else if (k.is("hint"))
        edit->setToolTip(k.Value);
    else if (k.is("only_number"))
        edit->OnlyNumber = k.boolean(false);
    else if (k.is("min_link"))
        edit->SetMinLink(k.Engine.Get<TSkEditBox>(k.Value));
    else
        return false;
    return true;
}

bool applyCheckBoxKey(TKeyContext &k)
{
    auto *check = control<TSkCheckBox>(k);
    if (k.is("action"))
        check->ActionText = k.Value;
    else if (k.is("hint"))
        check->setToolTip(k.Value);
    else if (k.is("caption"))
        check->setText(k.Value);
    else if (k.is("check"))
        check->setChecked(k.boolean(false));
    else if (k.is("enable_control"))
        check->SetEnableControls(k.Value);
    else
        return false;
    return true;
}

bool applyRadioButtonKey(TKeyContext &k)
{
    auto *radio = control<TSkRadioButton>(k);
    if (k.is("action"))
        radio->ActionText = k.Value;
    else if (k.is("hint"))
        radio->setToolTip(k.Value);
    else if (k.is("caption"))
        radio->setText(k.Value);
    else if (k.is("check"))
        radio->setChecked(k.boolean(false));
    else
        return false;
    return true;
}

bool applyProgressBarKey(TKeyContext &k)
{
    if (!k.is("hint"))
        return false;
    control<TSkProgressBar>(k)->setToolTip(k.Value);
    return true;
}

bool applySpinEditKey(TKeyContext &k)
{
    auto *spin = control<TSkSpinEdit>(k);
    if (k.is("hint"))
        spin->setToolTip(k.Value);
    else if (k.is("max"))
        spin->SetMaxValue(k.integer());
    else if (k.is("min"))
        spin->SetMinValue(k.integer());
    else
        return false;
    return true;
}

bool applyComboBoxKey(TKeyContext &k)
{
    auto *combo = control<TSkComboBox>(k);
    if (k.is("action")) {
        combo->ActionText = k.Value;
    } else if (k.is("count_line")) {
        combo->setMaxVisibleItems(qMax(1, k.integer()));
    } else if (k.is("load")) {
        combo->LoadItems(k.Value);
        combo->setCurrentIndex(0);
    } else if (k.is("read_only")) {
        combo->SetReadOnly(k.boolean(false));
    } else if (k.is("skin")) {
        applySkinPair(k, true);
    } else {
        return false;
    }
    return true;
}

bool applyListBoxKey(TKeyContext &k)
{
    auto *list = control<TSkListBox>(k);
    if (k.is("action"))
        list->ActionText = k.Value;
    else if (k.is("load"))
        list->LoadItems(k.Value);
    else if (k.is("multiselect"))
        list->SetMultiSelect(k.boolean(false));
    else if (k.is("skin"))
        applySkinPair(k, false);
    else
        return false;
    return true;
}

bool applyScrollBoxKey(TKeyContext &k)
{
    if (!k.is("skin"))
        return false;
    applySkinPair(k, false);
    return true;
}

bool applyTreeKey(TKeyContext &k)
{
    auto *tree = control<TSkTree>(k);
    if (applyConstraint(k, {"min_width", "min_height", "max_width", "max_height"})) {
    } else if (k.is("action")) {
        tree->ActionText = k.Value;
    } else if (k.is("load")) {
        tree->LoadTree(k.Value);
    } else if (k.is("bordur")) {
        tree->SetBorder(k.boolean(true));
    } else if (k.is("open_block")) {
        tree->SetOpenBlock(k.boolean(false));
    } else if (k.is("link_html")) {
        if (TSkHtml *view = k.Engine.Get<TSkHtml>(k.Value))
            TPageTreeLinks::of(view).SetTree(tree);
    } else if (k.is("color")) {
        if (const auto color = ParseColor(k.Value)) {
            QPalette p = tree->palette();
            p.setColor(QPalette::Base, toQColor(*color));
            tree->setPalette(p);
        }
    } else if (k.is("font")) {
        applyFont(k);
    } else if (k.is("color_select")) {
        if (const auto color = ParseColor(k.Value))
            tree->SetSelectColor(toQColor(*color));
    } else if (k.is("but_next")) {
        if (TSkSpeedButton *button = k.Engine.Get<TSkSpeedButton>(k.Value))
            tree->SetNextButton(button);
    } else if (k.is("but_prev")) {
        if (TSkSpeedButton *button = k.Engine.Get<TSkSpeedButton>(k.Value))
            tree->SetPrevButton(button);
    } else if (k.is("skin")) {
        applySkinPair(k, false);
    } else {
        return false;
    }
    return true;
}

bool applyHtmlKey(TKeyContext &k)
{
    auto *view = control<TSkHtml>(k);
    TSkStract &e = k.Engine;
    if (k.is("action")) {
        view->ActionPrefix = k.Value;
    } else if (k.is("move_cursor")) {
        view->SetMoveCursor(k.boolean(false));
    } else if (k.is("load")) {
        view->LoadPage(k.Value);
    } else if (k.is("menu")) {
        view->SetPopupMenu(e.Get<TSkPopMenu>(k.Value));
    } else if (k.is("link_tree_ex")) {
        if (QObject *tree = e.GetComponent(k.Value, QStringLiteral("tree_ex")))
            TPageTreeLinks::of(view).SetTreeEx(tree);
    } else if (k.is("link_tree")) {
        if (TSkTree *tree = e.Get<TSkTree>(k.Value))
            TPageTreeLinks::of(view).SetTree(tree);
    } else if (k.is("label_title")) {
        if (TSkLabel *label = e.Get<TSkLabel>(k.Value))
            view->SetTitleLabel(label);
    } else if (k.is("font_name")) {
        view->SetDefaultFont(k.Value, view->DefFontSize());
    } else if (k.is("font_size")) {
        view->SetDefaultFont(view->DefFontName(), k.integer());
    } else if (k.is("min_width")) {
        view->MinWidth = k.integer();
    } else if (k.is("min_height")) {
        view->MinHeight = k.integer();
    } else if (k.is("move")) {
        if (k.boolean(false)) {
            // The press starts moving the window; drag-to-scroll never starts.
            view->OnMouseDown = [window = QPointer<TSkForm>(e.Window)](QMouseEvent *mouse) {
                const QPoint at = mouse->position().toPoint();
                if (window)
                    window->DragMouseDown(mouse->button(), mouse->modifiers(), at.x(), at.y());
            };
        }
    } else {
        return false;
    }
    return true;
}

bool applyPlaceholderKey(TKeyContext &k)
{
    if (!k.is("action"))
        return false;
    k.Control->setProperty("ActionText", k.Value);
    return true;
}
