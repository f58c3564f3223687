#include "engine/CommandTable.h"

#include "controls/Button.h"
#include "controls/ComboBox.h"
#include "controls/ContentsTree.h"
#include "controls/PageView.h"
#include "controls/Panel.h"
#include "controls/PopupMenu.h"
#include "controls/SpeedButton.h"
#include "controls/Splitter.h"
#include "core/PathUtils.h"
#include "core/ValueSyntax.h"
#include "engine/GenericWindow.h"
#include "engine/SkinnedWindow.h"
#include "engine/StructureEngine.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/Shell.h"
#include "platform/SkinFrame.h"

#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QUrl>

#include <memory>

namespace {

// A number parameter that is not a decimal integer stops the rest of the
// action text with a message naming the command and the text.
int numberParam(const TCommandCall &c, const QString &text)
{
    const std::optional<int> value = ParseInteger(text);
    if (!value) {
        throw EConvertError(c.Command.Name + QStringLiteral(". Параметр \"") + text +
                            QStringLiteral("\" не является целым числом"));
    }
    return *value;
}

// Window, help and program commands.

void formClose(TCommandCall &c)
{
    TSkForm *window = c.Engine.Window;
    c.Engine.SuspendImages();
    if (!c.P0.isEmpty()) {
        const int code = numberParam(c, c.P0);
        window->done(code);
        return;
    }
    // The window closes the normal way (its owner saves what it keeps), then
    // the program ends.
    c.StopAll = true;
    window->close();
    platform::exitProcess(0);
}

void formMini(TCommandCall &c)
{
    platform::SkinFrame *frame = c.Engine.Window->SkinFrame();
    frame->setState(frame->state() == platform::SkinFrame::State::Minimized
                        ? platform::SkinFrame::State::Normal
                        : platform::SkinFrame::State::Minimized);
}

void formMaxi(TCommandCall &c)
{
    c.Engine.SuspendImages();
    c.Engine.Window->SkinFrame()->toggleMaximized();
    c.Engine.ResumeImages();
    c.Engine.Window->SkinFrame()->update();
}

void formShow(TCommandCall &c)
{
    if (c.P0.isEmpty())
        return;
    // Modal and re-entrant: the sub-window's engine dispatches on its own
    // while this call waits; both go when the window closes.
    auto window = std::make_unique<TfrmFORM>(c.Engine.Window);
    auto engine = std::make_unique<TSkStract>(window.get(), c.P0);
    engine->LoadStructure();
    engine->ActivateWindow();
    window->exec();
    engine.reset();
    window.reset();
}

void helpId(TCommandCall &c)
{
    c.Engine.HelpId = c.P0;
}

void help(TCommandCall &c)
{
    const QString file = AppPath(c.P0);
    const QString topic = c.P1.isEmpty() ? c.Engine.HelpId : c.P1;
    QUrl url = QUrl::fromLocalFile(platform::findOnDisk(file));
    if (!topic.isEmpty())
        url.setFragment(topic);
    platform::shell().open(url.toString(), QString(), QStringLiteral("open"));
}

void run(TCommandCall &c)
{
    const QString file = AppPath(c.P0);
    if (file.isEmpty())
        return;
    const QString folder = file.left(file.lastIndexOf(u'\\') + 1);
    const QString native = platform::findOnDisk(file);
    if (QFileInfo(native).isExecutable() && !QFileInfo(native).isDir())
        platform::shell().start(file, QProcess::splitCommand(c.P1), folder);
    else
        platform::shell().open(file, c.P1, QStringLiteral("open"));
}

void test(TCommandCall &c)
{
    platform::showMessage(c.P0 + u'*' + c.P1);
}

void nil(TCommandCall &) {}

// Buttons, panels and visibility.

void clickBut(TCommandCall &c)
{
    if (TSkButton *b = c.Engine.Get<TSkButton>(c.P0))
        c.Engine.ControlClick(b);
}

void clickSpbut(TCommandCall &c)
{
    if (TSkSpeedButton *b = c.Engine.Get<TSkSpeedButton>(c.P0))
        c.Engine.ControlClick(b);
}

void spbuttonDown(TCommandCall &c)
{
    if (TSkSpeedButton *b = c.Engine.Get<TSkSpeedButton>(c.P0)) {
        b->SetDown(ParseBool(c.P1, true));
        b->DownState = b->Down();
    }
}

void sbuttonDown(TCommandCall &c)
{
    if (TSkSpeedButton *b = c.Engine.Get<TSkSpeedButton>(c.P0))
        b->ToggleDown();
}

void buttonShowOrHide(TCommandCall &c)
{
    if (TSkButton *b = c.Engine.Get<TSkButton>(c.P0))
        b->ShowOrHide();
}

void spbuttonShowOrHide(TCommandCall &c)
{
    if (TSkSpeedButton *b = c.Engine.Get<TSkSpeedButton>(c.P0))
        b->ShowOrHide();
}

void panelShowOrHide(TCommandCall &c)
{
    if (TSkPanel *p = c.Engine.Get<TSkPanel>(c.P0))
        p->ShowOrHide();
}

void splitShowOrHide(TCommandCall &c)
{
    if (TSkSplitter *s = c.Engine.Get<TSkSplitter>(c.P0))
        s->ShowOrHide();
}

void visible(TCommandCall &c)
{
    if (auto *w = qobject_cast<QWidget *>(c.Engine.GetControl(c.P0)))
        w->setVisible(ParseBool(c.P1, true));
}

void enabled(TCommandCall &c)
{
    if (auto *w = qobject_cast<QWidget *>(c.Engine.GetControl(c.P0)))
        w->setEnabled(ParseBool(c.P1, true));
}

// Menus and combo boxes.

void menuShow(TCommandCall &c)
{
    auto *menu = qobject_cast<TSkPopMenu *>(c.Engine.Get<TSkPopMenu>(c.P0));
    if (!menu)
        return;
    QPoint at(c.Record.X, c.Record.Y + c.Record.Height);
    if (c.Record.Height == 0 && c.Record.X == 0 && c.Record.Y == 0 && !c.P1.isEmpty()) {
        QWidget *anchor = c.Engine.FindQuietly(c.P1, QStringLiteral("button"));
        if (!anchor)
            anchor = c.Engine.FindQuietly(c.P1, QStringLiteral("sp_button"));
        if (anchor) {
            at = anchor->mapToGlobal(QPoint(0, anchor->height()));
        } else {
            platform::showMessage(QStringLiteral("menu_show. Не найден контрол ") + c.P1);
            at = QPoint(0, 0);
        }
    }
    menu->Popup(at.x(), at.y());
}

void comboLoad(TCommandCall &c)
{
    if (TSkComboBox *combo = c.Engine.Get<TSkComboBox>(c.P0)) {
        combo->LoadItems(c.P1);
        combo->setCurrentIndex(-1);
        combo->setCurrentIndex(0);
    }
}

// HTML views.

void htmlLoad(TCommandCall &c)
{
    // The tree moves first, even when the page then cannot be loaded.
    if (TSkHtml *view = c.Engine.Get<TSkHtml>(c.P0)) {
        view->SyncTree(c.P1);
        view->LoadPage(c.P1);
    }
}

void htmlBack(TCommandCall &c)
{
    if (TSkHtml *view = c.Engine.Get<TSkHtml>(c.P0))
        view->GoBack();
}

void htmlForward(TCommandCall &c)
{
    if (TSkHtml *view = c.Engine.Get<TSkHtml>(c.P0))
        view->GoForward();
}

void htmlGoHistory(TCommandCall &c)
{
    if (TSkHtml *view = c.Engine.Get<TSkHtml>(c.P0))
        view->GoHistory(numberParam(c, c.P1));
}

void htmlGoTop(TCommandCall &c)
{
    if (TSkHtml *view = c.Engine.Get<TSkHtml>(c.P0))
        view->GoTop();
}

void htmlCopy(TCommandCall &c)
{
    if (TSkHtml *view = c.Engine.Get<TSkHtml>(c.P0))
        view->CopySelection();
}

void htmlSelAll(TCommandCall &c)
{
    if (TSkHtml *view = c.Engine.Get<TSkHtml>(c.P0))
        view->SelectAllText();
}

void htmlPrint(TCommandCall &c)
{
    if (TSkHtml *view = c.Engine.Get<TSkHtml>(c.P0))
        view->PrintPage();
}

// Contents tree.

void treeGo(TCommandCall &c)
{
    if (TSkTree *tree = c.Engine.Get<TSkTree>(c.P0))
        tree->GoLink(c.P1);
}

void treeNext(TCommandCall &c)
{
    if (TSkTree *tree = c.Engine.Get<TSkTree>(c.P0))
        tree->SelectNext();
}

void treePrev(TCommandCall &c)
{
    if (TSkTree *tree = c.Engine.Get<TSkTree>(c.P0))
        tree->SelectPrev();
}

void treeBack(TCommandCall &c)
{
    if (TSkTree *tree = c.Engine.Get<TSkTree>(c.P0))
        tree->GoHistory(tree->HistoryPos() + 1);
}

void treeForward(TCommandCall &c)
{
    if (TSkTree *tree = c.Engine.Get<TSkTree>(c.P0))
        tree->GoHistory(tree->HistoryPos() - 1);
}

void treeGoHistory(TCommandCall &c)
{
    if (TSkTree *tree = c.Engine.Get<TSkTree>(c.P0))
        tree->GoHistory(numberParam(c, c.P1));
}

void treeExpand(TCommandCall &c)
{
    if (TSkTree *tree = c.Engine.Get<TSkTree>(c.P0))
        tree->ExpandAllNodes();
}

void treeCollapse(TCommandCall &c)
{
    if (TSkTree *tree = c.Engine.Get<TSkTree>(c.P0))
        tree->CollapseAllNodes();
}

void treeShowOrHide(TCommandCall &c)
{
    if (TSkTree *tree = c.Engine.Get<TSkTree>(c.P0))
        tree->ShowOrHide();
}

// The table. Controls built by later parts of the viewer add their commands
// here, one entry each.
const QHash<QString, TCommandHandler> &table()
{
    static const QHash<QString, TCommandHandler> commands = {
        {QStringLiteral("form_close"), formClose},
        {QStringLiteral("form_mini"), formMini},
        {QStringLiteral("form_maxi"), formMaxi},
        {QStringLiteral("form_show"), formShow},
        {QStringLiteral("help_id"), helpId},
        {QStringLiteral("help"), help},
        {QStringLiteral("run"), run},
        {QStringLiteral("test"), test},
        {QStringLiteral("nil"), nil},
        {QStringLiteral("click_but"), clickBut},
        {QStringLiteral("click_spbut"), clickSpbut},
        {QStringLiteral("spbutton_down"), spbuttonDown},
        {QStringLiteral("sbutton_down"), sbuttonDown},
        {QStringLiteral("button_show_or_hide"), buttonShowOrHide},
        {QStringLiteral("spbutton_show_or_hide"), spbuttonShowOrHide},
        {QStringLiteral("panel_show_or_hide"), panelShowOrHide},
        {QStringLiteral("split_show_or_hide"), splitShowOrHide},
        {QStringLiteral("visible"), visible},
        {QStringLiteral("enabled"), enabled},
        {QStringLiteral("menu_show"), menuShow},
        {QStringLiteral("combo_load"), comboLoad},
        {QStringLiteral("html_load"), htmlLoad},
        {QStringLiteral("html_back"), htmlBack},
        {QStringLiteral("html_forward"), htmlForward},
        {QStringLiteral("html_go_history"), htmlGoHistory},
        {QStringLiteral("html_go_top"), htmlGoTop},
        {QStringLiteral("html_copy"), htmlCopy},
        {QStringLiteral("html_sel_all"), htmlSelAll},
        {QStringLiteral("html_print"), htmlPrint},
        {QStringLiteral("tree_go"), treeGo},
        {QStringLiteral("tree_next"), treeNext},
        {QStringLiteral("tree_prev"), treePrev},
        {QStringLiteral("tree_back"), treeBack},
        {QStringLiteral("tree_forward"), treeForward},
        {QStringLiteral("tree_go_history"), treeGoHistory},
        {QStringLiteral("tree_expand"), treeExpand},
        {QStringLiteral("tree_collapse"), treeCollapse},
        {QStringLiteral("tree_show_or_hide"), treeShowOrHide},
    };
    return commands;
}

} // namespace

TCommandHandler FindCommand(const QString &name)
{
    return table().value(name, nullptr);
}
