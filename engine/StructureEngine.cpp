#include "engine/StructureEngine.h"

#include "controls/Button.h"
#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/ContentsTree.h"
#include "controls/EditBox.h"
#include "controls/ListBox.h"
#include "controls/MenuItem.h"
#include "controls/Panel.h"
#include "controls/ParentPanel.h"
#include "controls/PopupMenu.h"
#include "controls/ScrollBox.h"
#include "controls/SpeedButton.h"
#include "core/ActionText.h"
#include "core/LogCategories.h"
#include "core/ResourceArchive.h"
#include "core/TextUtils.h"
#include "core/ValueSyntax.h"
#include "engine/CommandTable.h"
#include "engine/PropertyKeys.h"
#include "engine/SkinCache.h"
#include "engine/SkinnedWindow.h"
#include "platform/Cursors.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/FormLayout.h"
#include "platform/IniFile.h"
#include "platform/Notebook.h"
#include "platform/SkinFrame.h"
#include "platform/Text.h"

#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QMenu>
#include <QToolTip>
#include <QVarLengthArray>

namespace {

const char *const kTypeProperty = "remontType";

// Switches the frame's painting back on however the build ends.
class PaintingOnAtExit
{
public:
    explicit PaintingOnAtExit(TSkForm *window)
        : m_window(window)
    {}
    ~PaintingOnAtExit()
    {
        if (m_window && m_window->SkinFrame())
            m_window->SkinFrame()->setPainting(true);
    }

private:
    QPointer<TSkForm> m_window;
};

} // namespace

TSkStract::TSkStract(TSkForm *window, const QString &structFile)
    : QObject(nullptr)
    , Window(window)
{
    ShowErrors = true;
    SplashAutoClose = true;
    Window->SkinFrame()->setPainting(false);
    SkinCache = std::make_unique<TSkSkin>(Window);
    Window->OnWindowAction = [this](RHelpAction &record) {
        ExecuteAction(record);
    };
    Window->StructFile = structFile;
    SavePos = false;
}

TSkStract::~TSkStract()
{
    Ini.reset();
    QPointer<TSkForm> window(Window);
    if (window) {
        window->SkinFrame()->setPainting(false);
        window->hide();
    }
    // Creation order: a container deletes its children, whose entries then
    // simply read as gone.
    for (const QPointer<QObject> &object : std::as_const(m_all))
        delete object.data();
    m_all.clear();
    m_lists.clear();
    SkinCache.reset();
    if (!TempStructFile.isEmpty())
        QFile::remove(platform::toNative(TempStructFile));
    if (window) {
        // The window outlives the engine: nothing of it may call back here.
        window->OnWindowAction = nullptr;
        window->OnWindowResize = nullptr;
        window->SkinFrame()->setPainting(true);
    }
}

void TSkStract::LoadStructure()
{
    PaintingOnAtExit paintingOn(Window);
    Ini.reset();
    TempStructFile = ExtractToTemp(Window->StructFile);
    Ini = std::make_unique<platform::IniFile>(TempStructFile);
    platform::registerEngineCursors();

    const QStringList sections = Ini->sectionNames();
    if (sections.isEmpty()) {
        platform::showMessage(QStringLiteral("Нету данных в ") + Window->StructFile +
                              QStringLiteral(". Это безусловно End..."));
        return;
    }
    m_work.clear();
    for (const QString &section : sections)
        m_work.append({section, Ini->readString(section, QStringLiteral("master"))});

    try {
        buildPasses();
    } catch (const EConvertError &error) {
        // The window stays as far as it got.
        m_work.clear();
        platform::showMessage(error.Message());
        return;
    }
    m_work.clear();

    RunAction(Window->StartAction);
    // Favourites, the splash window and saved positions hook in here.
    ActivateWindow();
}

void TSkStract::buildPasses()
{
    // Pass 1: the window.
    for (qsizetype i = 0; i < m_work.size();) {
        const QString name = m_work[i].Name;
        if (Ini->readString(name, QStringLiteral("type")).toLower() != QLatin1String("form")) {
            ++i;
            continue;
        }
        const QString color = Ini->readString(name, QStringLiteral("color"));
        m_formName = name.toLower();
        MakeObject(Window, name, QStringLiteral("form"));
        m_work.removeAt(i);
        if (!color.isEmpty()) {
            if (const auto parsed = ParseColor(color))
                Window->WindowColor = *parsed;
        }
        platform::Notebook *notebook = Window->Notebook();
        if (!notebook)
            notebook = Window->CreateNotebook();
        else
            notebook->addPage(QStringLiteral("p%1").arg(notebook->count()));
        PageIndex = notebook->currentIndex();
    }
    if (!Window->Notebook())
        PageIndex = Window->CreateNotebook()->currentIndex();

    // Pass 2: popup menus, whatever their master says.
    for (qsizetype i = 0; i < m_work.size();) {
        const QString name = m_work[i].Name;
        if (Ini->readString(name, QStringLiteral("type")).toLower() == QLatin1String("pop_menu")) {
            m_work.removeAt(i);
            MakeObject(Window, name, QStringLiteral("pop_menu"));
        } else {
            ++i;
        }
    }

    // Pass 3: top-level objects in file order, each followed by its
    // descendants. Entries whose master is never created would keep the walk
    // going for ever: a full round without progress ends it.
    qsizetype index = 0;
    bool progress = false;
    while (!m_work.isEmpty()) {
        const WorkEntry entry = m_work[index];
        const QString master = entry.Master.toLower();
        if (master.isEmpty() || master == m_formName) {
            const QString type = Ini->readString(entry.Name, QStringLiteral("type"));
            m_work.removeAt(index);
            progress = true;
            QWidget *container = MakeObject(Page(), entry.Name, type);
            if (Window->WindowColor != 0 && Page()) {
                QPalette p = Page()->palette();
                p.setColor(QPalette::Window, toQColor(Window->WindowColor));
                Page()->setPalette(p);
                Page()->setAutoFillBackground(true);
            }
            if (container)
                MakeChildren(container, entry.Name);
        } else {
            ++index;
        }
        if (index >= m_work.size()) {
            if (!progress)
                break;
            index = 0;
            progress = false;
        }
    }
    for (const WorkEntry &entry : std::as_const(m_work)) {
        ReportError(QStringLiteral("MakeObject. Объект ") + entry.Name +
                    QStringLiteral(" не создан: его master ") + entry.Master +
                    QStringLiteral(" не найден или не может содержать объекты"));
    }
}

void TSkStract::MakeChildren(QWidget *container, const QString &containerName)
{
    const QString wanted = containerName.toLower();
    for (;;) {
        qsizetype i = 0;
        while (i < m_work.size() && m_work[i].Master.toLower() != wanted)
            ++i;
        if (i >= m_work.size())
            return;
        const WorkEntry entry = m_work.takeAt(i);
        const QString type = Ini->readString(entry.Name, QStringLiteral("type"));
        if (QWidget *child = MakeObject(container, entry.Name, type))
            MakeChildren(child, entry.Name);
    }
}

QWidget *TSkStract::MakeObject(QWidget *parent, const QString &name, const QString &rawType)
{
    const QString type = rawType.toLower();
    if (type == QLatin1String("form")) {
        SetProperty(Window, name, type);
        return nullptr;
    }
    if (type == QLatin1String("hot_key")) {
        ReadHotKeys(name);
        return nullptr;
    }
    if (type == QLatin1String("none"))
        return nullptr;
    const TControlType *row = FindControlType(type);
    if (!row) {
        ReportError(QStringLiteral("MakeObject. Объект ") + name +
                    QStringLiteral(" имеет неизвестный тип ") + type);
        return nullptr;
    }

    if (row->has(TControlType::Unplaced)) {
        QObject *object = row->Create(*this, Window, name);
        object->setObjectName(name);
        object->setProperty(kTypeProperty, type);
        if (row->ApplyKey)
            SetProperty(object, name, type);
        append(object, type);
        return nullptr;
    }

    if (auto *box = qobject_cast<TSkScrollBox *>(parent))
        parent = box->Content();
    if (parent)
        platform::FormLayout::of(parent);
    auto *control = static_cast<QWidget *>(row->Create(*this, parent, name));
    control->setObjectName(name);
    control->setProperty(kTypeProperty, type);
    control->setToolTipDuration(-1);
    if (row->has(TControlType::ThemeDefault))
        platform::setSkinObject(control, QStringLiteral("default"));
    control->show();
    // The control is listed before its keys apply: keys that name it (a
    // check box enabling itself, say) find it.
    append(control, type);
    SetProperty(control, name, type);
    if (row->AfterKeys)
        row->AfterKeys(*this, control);
    return row->has(TControlType::Container) ? control : nullptr;
}

void TSkStract::append(QObject *control, const QString &type)
{
    m_all.append(control);
    m_lists[type].append(control);
}

QString TSkStract::ObjectType(const QObject *control)
{
    return control ? control->property(kTypeProperty).toString() : QString();
}

QList<QObject *> TSkStract::List(const QString &type) const
{
    QList<QObject *> out;
    for (const QPointer<QObject> &object : m_lists.value(type)) {
        if (object)
            out.append(object.data());
    }
    return out;
}

QList<QObject *> TSkStract::Controls() const
{
    QList<QObject *> out;
    for (const QPointer<QObject> &object : m_all) {
        if (object)
            out.append(object.data());
    }
    return out;
}

QWidget *TSkStract::Page() const
{
    return Window->Notebook() ? Window->Notebook()->page(PageIndex) : Window->ClientArea();
}

void TSkStract::SetProperty(QObject *control, const QString &name, const QString &rawType)
{
    const QString type = rawType.toLower();
    const bool isWindow = control == Window;
    const TControlType *row = isWindow ? nullptr : FindControlType(type);
    if (!isWindow && !row) {
        platform::showMessage(QStringLiteral("SetProperty. Объект ") + name +
                              QStringLiteral(" имеет неизвестный тип ") + type);
        return;
    }
    const QStringList keys = Ini->keyNames(name);
    if (keys.isEmpty())
        return;
    auto *widget = qobject_cast<QWidget *>(control);
    platform::Anchors remembered;
    if (widget && !isWindow) {
        remembered = platform::FormLayout::anchors(widget);
        platform::FormLayout::setAnchors(widget, {});
    }
    QVarLengthArray<bool, 32> known(keys.size());
    for (qsizetype i = keys.size() - 1; i >= 0; --i) {
        const QString key = keys[i].toLower();
        const QString value = Ini->readString(name, keys[i]);
        TKeyContext k{*this, control, name, key, value};
        known[i] = applyCommonKey(k);
    }
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString key = keys[i].toLower();
        const QString value = Ini->readString(name, keys[i]);
        TKeyContext k{*this, control, name, key, value};
        if (isWindow) {
            known[i] = applyFormKey(k) || known[i];
        } else if (widget && k.is("anchor") && type != QLatin1String("split")) {
            applyAnchor(k);
            known[i] = true;
        } else if (row->ApplyKey(k)) {
            known[i] = true;
        }
        if (!known[i] && !k.is("type") && !k.is("master"))
            qCInfo(lcEngine).noquote() << Window->StructFile + QStringLiteral(": [") + name +
                                              QStringLiteral("] unknown key ") + keys[i];
    }
    if (widget && !isWindow && remembered != platform::Anchors() &&
        platform::FormLayout::anchors(widget) == platform::Anchors())
        platform::FormLayout::setAnchors(widget, remembered);
}

void TSkStract::ReportError(const QString &message)
{
    if (ShowErrors)
        platform::showError(Window->StructFile, message);
}

QObject *TSkStract::find(const QList<QPointer<QObject>> &list, const QString &name) const
{
    if (name.isEmpty())
        return nullptr;
    for (const QPointer<QObject> &object : list) {
        if (object && platform::sameLatinName(object->objectName(), name))
            return object.data();
    }
    return nullptr;
}

QObject *TSkStract::GetControl(const QString &name)
{
    QObject *found = find(m_all, name);
    if (!found)
        ReportError(QStringLiteral("GetControl. Не найден контрол: ") + name);
    return found;
}

QObject *TSkStract::GetComponent(const QString &name, const QString &type)
{
    QObject *found = find(m_lists.value(type), name);
    if (!found)
        ReportError(QStringLiteral("GetComponent. Не найден контрол: ") + name);
    return found;
}

TSkComboBox *TSkStract::FindComboBoxByCommand(const QString &command)
{
    for (QObject *object : List(QStringLiteral("combo_box"))) {
        auto *combo = qobject_cast<TSkComboBox *>(object);
        QString rest = combo ? combo->ActionText : QString();
        if (combo && platform::sameLatinName(CutToken(rest, QStringLiteral("*")), command))
            return combo;
    }
    return nullptr;
}

TSkSpeedButton *TSkStract::FindSpeedButtonByCommand(const QString &command,
                                                    const QString &parameters)
{
    for (QObject *object : List(QStringLiteral("sp_button"))) {
        auto *button = qobject_cast<TSkSpeedButton *>(object);
        if (!button)
            continue;
        QString rest = button->ActionText;
        if (!platform::sameLatinName(CutToken(rest, QStringLiteral("*")), command))
            continue;
        if (parameters.isEmpty() || platform::sameLatinName(rest, parameters))
            return button;
    }
    return nullptr;
}

void TSkStract::ExecuteAction(RHelpAction &record)
{
    // Everything this dispatch needs lives in the call: a command may open a
    // modal window whose engine dispatches again, or close this one.
    const RHelpAction incoming = record;
    const TSkCommand command(incoming.Action);
    QPointer<TSkStract> alive(this);
    for (int i = 0; i < command.Count(); ++i) {
        const RCommand &c = command.Commands()[i];
        const QString p0 = GetParam(c.Params, 0);
        const QString p1 = GetParam(c.Params, 1);
        if (TCommandHandler handler = FindCommand(c.Name)) {
            TCommandCall call{*this, c, p0, p1, incoming};
            try {
                handler(call);
            } catch (const EConvertError &error) {
                platform::showMessage(error.Message());
                return;
            }
            if (!alive || call.StopAll)
                return;
            continue;
        }
        if (!OnAction)
            continue;
        RHelpAction handOff = incoming;
        handOff.Action = command.CommandText(i);
        if (!c.Tail.isEmpty())
            handOff.Action += QStringLiteral("//") + c.Tail;
        const auto handler = OnAction;
        handler(handOff);
        return;
    }
}

void TSkStract::RunAction(const QString &action)
{
    RHelpAction record;
    record.Action = action;
    ExecuteAction(record);
}

void TSkStract::ControlClick(QObject *sender)
{
    RHelpAction record;
    if (auto *combo = qobject_cast<TSkComboBox *>(sender)) {
        if (combo->currentIndex() < 0)
            return;
        record.Action = InsertValue(combo->ActionText, combo->GetSelectedValue(), false);
    } else if (auto *tree = qobject_cast<TSkTree *>(sender)) {
        const QString link = tree->SelectedLink();
        if (link.isEmpty())
            return;
        record.Action = InsertValue(tree->ActionText, link, true);
    } else if (auto *list = qobject_cast<TSkListBox *>(sender)) {
        const int row = list->currentRow();
        if (row < 0 || row >= list->count())
            return;
        const QString value = list->GetItemValue(row);
        if (value.isEmpty())
            return;
        record.Action = InsertValue(list->ActionText, value, true);
    } else if (qobject_cast<TSkButton *>(sender) || qobject_cast<TSkSpeedButton *>(sender)) {
        auto *button = static_cast<QWidget *>(sender);
        if (auto *b = qobject_cast<TSkButton *>(sender))
            record.Action = b->ActionText;
        else
            record.Action = static_cast<TSkSpeedButton *>(sender)->ActionText;
        const QPoint origin = button->mapToGlobal(QPoint(0, 0));
        record.Height = button->height();
        record.X = origin.x();
        record.Y = origin.y();
    } else if (auto *item = qobject_cast<TSkItem *>(sender)) {
        record.Action = item->Action;
    } else if (auto *panel = qobject_cast<TSkPanel *>(sender)) {
        record.Action = panel->ActionText;
    } else if (auto *check = qobject_cast<TSkCheckBox *>(sender)) {
        const bool checked = check->isChecked();
        for (const QString &name : std::as_const(check->EnableList)) {
            auto *target = qobject_cast<QWidget *>(find(m_all, name));
            if (target)
                target->setEnabled(checked);
            else
                ReportError(QStringLiteral("Проверте параметр enable_control для чекьокса ") +
                            check->objectName());
        }
        record.Action = InsertValue(check->ActionText,
                                    checked ? QStringLiteral("1") : QStringLiteral("0"), true);
    } else if (ObjectType(sender) == QLatin1String("image")) {
        record.Action = sender->property("ActionText").toString();
    } else {
        return;
    }
    ExecuteAction(record);
}

void TSkStract::ControlKeyDown(QObject *sender, int key, Qt::KeyboardModifiers)
{
    auto *edit = qobject_cast<TSkEditBox *>(sender);
    if (edit && (key == Qt::Key_Return || key == Qt::Key_Enter))
        RunAction(edit->ActionText);
}

void TSkStract::TreeExSelectionChange(QObject *sender, bool selected)
{
    if (selected)
        ControlClick(sender);
}

void TSkStract::ActivateWindow()
{
    if (Window->Notebook())
        Window->Notebook()->setCurrentIndex(PageIndex);
    platform::SkinFrame *frame = Window->SkinFrame();
    disconnect(frame, &platform::SkinFrame::maximizing, nullptr, nullptr);
    disconnect(frame, &platform::SkinFrame::resized, nullptr, nullptr);
    connect(frame, &platform::SkinFrame::maximizing, this, &TSkStract::FormMaximizing);
    connect(frame, &platform::SkinFrame::resized, this, &TSkStract::StorePanelPercents);
    Window->OnWindowResize = [this](int, int) {
        RealignPanels();
    };
    Window->OnWindowAction = [this](RHelpAction &record) {
        ExecuteAction(record);
    };
    RealignPanels();
    ShowMaxButtons(frame->state() == platform::SkinFrame::State::Maximized);
}

void TSkStract::SuspendImages()
{
    // Image views fit themselves to their parent; they join here once they exist.
}

void TSkStract::ResumeImages() {}

void TSkStract::FormMaximizing()
{
    if (Window->MaximizedButtons.isEmpty() || Window->NormalButtons.isEmpty())
        return;
    const auto state = Window->SkinFrame()->state();
    if (state == platform::SkinFrame::State::Maximized)
        ShowMaxButtons(false);
    else if (state == platform::SkinFrame::State::Normal)
        ShowMaxButtons(true);
}

void TSkStract::ShowMaxButtons(bool maximized)
{
    auto apply = [this](const QString &names, bool visible) {
        for (const QString &name : names.split(u';')) {
            if (QWidget *button = FindQuietly(name, QStringLiteral("sp_button")))
                button->setVisible(visible);
        }
    };
    apply(Window->MaximizedButtons, maximized);
    apply(Window->NormalButtons, !maximized);
}

void TSkStract::StorePanelPercents()
{
    Window->SkinFrame()->setPainting(false);
    for (QObject *object : List(QStringLiteral("parent_panel"))) {
        auto *panel = qobject_cast<TParentPanel *>(object);
        const QWidget *parent = panel ? panel->parentWidget() : nullptr;
        if (!parent)
            continue;
        // A parent under 100 pixels would divide by zero: the share stays.
        if (panel->WidthPercent != 0 && parent->width() / 100 != 0)
            panel->WidthPercent = panel->width() / (parent->width() / 100);
        if (panel->HeightPercent != 0 && parent->height() / 100 != 0)
            panel->HeightPercent = panel->height() / (parent->height() / 100);
    }
}

void TSkStract::RealignPanels()
{
    for (QObject *object : List(QStringLiteral("panel"))) {
        if (auto *panel = qobject_cast<TSkPanel *>(object))
            panel->CenterInParent();
    }
    for (QObject *object : List(QStringLiteral("parent_panel"))) {
        if (auto *panel = qobject_cast<TParentPanel *>(object)) {
            panel->CenterInParent();
            panel->ApplyPercent();
        }
    }
    Window->SkinFrame()->setPainting(true);
}

QWidget *TSkStract::FindQuietly(const QString &name, const QString &type) const
{
    return qobject_cast<QWidget *>(find(m_lists.value(type), name));
}

void TSkStract::ReadHotKeys(const QString &section)
{
    // Every key but "type" is "shortcut*action", registered in section order.
    for (const QString &key : Ini->keyNames(section)) {
        if (key.toLower() != QLatin1String("type"))
            Window->AddHotKey(Ini->readString(section, key));
    }
}

void TSkStract::BuildMenu(TSkPopMenu *menu, const QString &section)
{
    const QStringList keys = Ini->keyNames(section);
    if (keys.isEmpty())
        return;
    auto has = [&](const char *key) {
        return Ini->valueExists(section, QString::fromLatin1(key));
    };
    if (!has("glob_action") && !(has("caption") && has("action"))) {
        platform::showMessage(
            QStringLiteral("Для меню ") + section +
            QStringLiteral(" надо указать все параметры:\r\nCaption, Action и можно Key"));
        return;
    }
    for (const QString &key : keys) {
        const QString k = key.toLower();
        const QString value = Ini->readString(section, key);
        if (k == QLatin1String("glob_action")) {
            menu->GlobAction = value;
        } else if (k == QLatin1String("check")) {
            menu->CheckedIndex = StrictInteger(value, section, k);
        } else if (k == QLatin1String("menu_system")) {
            Window->SkinFrame()->setSystemMenu(ParseBool(value, false) ? menu
                                                                       : Window->SystemMenu());
        } else if (k == QLatin1String("length")) {
            menu->CaptionLength = StrictInteger(value, section, k);
        } else if (k == QLatin1String("favorite")) {
            if (ParseBool(value, false))
                FavoriteMenus.append(section);
        } else if (k == QLatin1String("history_back") || k == QLatin1String("history_prev") ||
                   k == QLatin1String("history_full")) {
            menu->HistorySource = value;
            (k == QLatin1String("history_back")   ? menu->HistoryBack
             : k == QLatin1String("history_prev") ? menu->HistoryPrev
                                                  : menu->HistoryFull) = true;
        }
    }
    // Captions, actions and keys are parallel ";" lists; missing actions give
    // the menu's global action, missing keys no shortcut.
    auto addItems = [&](const char *captionKey, const char *actionKey, const char *shortcutKey) {
        QString captions = Ini->readString(section, QString::fromLatin1(captionKey));
        QString actions = Ini->readString(section, QString::fromLatin1(actionKey));
        QString shortcuts = Ini->readString(section, QString::fromLatin1(shortcutKey));
        int count = 0;
        while (!captions.isEmpty()) {
            const QString caption = CutToken(captions, QStringLiteral(";"));
            QString action = CutToken(actions, QStringLiteral(";"));
            const QString shortcut = CutToken(shortcuts, QStringLiteral(";"));
            if (action.isEmpty())
                action = menu->GlobAction;
            menu->AddItem(caption, action, shortcut);
            if (!shortcut.isEmpty())
                Window->AddHotKey(shortcut + u'*' + action);
            ++count;
        }
        return count;
    };
    menu->FixedCount = addItems("caption", "action", "key");
    menu->LastCount = addItems("last_caption", "last_action", "last_key");
    if (menu->CheckedIndex != -1)
        menu->ApplyChecked();
}

bool TSkStract::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    auto *list = qobject_cast<TSkListBox *>(watched->parent());
    if (!list)
        return QObject::eventFilter(watched, event);
    auto *help = static_cast<QHelpEvent *>(event);
    QListWidgetItem *item = list->itemAt(help->pos());
    if (!item)
        return QObject::eventFilter(watched, event);
    const int textWidth = QFontMetrics(QApplication::font()).horizontalAdvance(item->text());
    if (list->width() - 25 >= textWidth)
        return QObject::eventFilter(watched, event); // fits: the box's own hint
    const QRect row = list->visualItemRect(item);
    QToolTip::showText(list->viewport()->mapToGlobal(row.topLeft()) - QPoint(2, 1), item->text(),
                       list->viewport(), row);
    return true;
}
