#include "engine/StructureEngine.h"

#include "controls/Button.h"
#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/ContentsTree.h"
#include "controls/ControlUtils.h"
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
#include "core/ActionText.h"
#include "core/PathUtils.h"
#include "core/ResourceArchive.h"
#include "core/TextUtils.h"
#include "core/ValueSyntax.h"
#include "engine/CommandTable.h"
#include "engine/PageTreeLinks.h"
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
#include "platform/ThemeLink.h"

#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>

namespace {

const char *const kTypeProperty = "remontType";

// Types whose controls another object can be placed on.
bool isContainerType(const QString &type)
{
    return type == QLatin1String("panel") || type == QLatin1String("parent_panel") ||
           type == QLatin1String("flash") || type == QLatin1String("scroll_box");
}

// Types whose own controls come later: they are built as plain widgets of the
// right name, list and container rule so that building never fails on them.
bool isPlaceholderType(const QString &type)
{
    static const QStringList kTypes = {
        QStringLiteral("tree_ex"),   QStringLiteral("image"),    QStringLiteral("gif"),
        QStringLiteral("pic"),       QStringLiteral("list_img"), QStringLiteral("grid"),
        QStringLiteral("html_grid"), QStringLiteral("diagram"),  QStringLiteral("flash"),
    };
    return kTypes.contains(type);
}

// Changes only the parts the font value gives; a style part replaces the style.
void changeFont(QFont &font, const TFontSpec &parsed)
{
    if (parsed.Face)
        font.setFamily(*parsed.Face);
    if (parsed.Size && *parsed.Size > 0)
        font.setPointSize(*parsed.Size);
    if (parsed.SetStyle) {
        font.setBold(parsed.Bold);
        font.setItalic(parsed.Italic);
        font.setUnderline(parsed.Underline);
        font.setStrikeOut(false);
    }
}

QColor toQColor(TColor c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// Hands a control's left-button presses to the window's drag handler, so a
// window without caption can be moved by its panels and labels.
class DragForwarder : public QObject
{
public:
    DragForwarder(TSkForm *window, QObject *parent)
        : QObject(parent)
        , m_window(window)
    {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress && m_window) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            const QPoint at = mouse->position().toPoint();
            m_window->DragMouseDown(mouse->button(), mouse->modifiers(), at.x(), at.y());
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<TSkForm> m_window;
};

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
    if (type == QLatin1String("pop_menu")) {
        auto *menu = new TSkPopMenu(Window);
        menu->setObjectName(name);
        menu->setProperty(kTypeProperty, type);
        connect(menu, &TSkPopMenu::itemClicked, this,
                [this](TSkItem *item) { ControlClick(item); });
        BuildMenu(menu, name);
        append(menu, type);
        return nullptr;
    }

    if (auto *box = qobject_cast<TSkScrollBox *>(parent))
        parent = box->Content();
    if (parent)
        platform::FormLayout::of(parent);

    QWidget *control = nullptr;
    bool themeDefault = true;
    if (type == QLatin1String("button")) {
        auto *button = new TSkButton(parent);
        connect(button, &QPushButton::clicked, this, [this, button] { ControlClick(button); });
        control = button;
    } else if (type == QLatin1String("sp_button")) {
        auto *button = new TSkSpeedButton(parent);
        connect(button, &QToolButton::clicked, this, [this, button] { ControlClick(button); });
        control = button;
    } else if (type == QLatin1String("panel")) {
        auto *panel = new TSkPanel(parent);
        connect(panel, &TSkPanel::doubleClicked, this, [this, panel] { ControlClick(panel); });
        control = panel;
    } else if (type == QLatin1String("parent_panel")) {
        control = new TParentPanel(parent);
        themeDefault = false;
    } else if (type == QLatin1String("split")) {
        control = new TSkSplitter(parent);
    } else if (type == QLatin1String("label")) {
        control = new TSkLabel(parent);
    } else if (type == QLatin1String("track_bar")) {
        control = new TSkTrackBar(parent);
    } else if (type == QLatin1String("list_box")) {
        control = new TSkListBox(parent);
    } else if (type == QLatin1String("scroll_box")) {
        control = new TSkScrollBox(parent);
    } else if (type == QLatin1String("edit_box")) {
        auto *edit = new TSkEditBox(parent);
        edit->clear();
        connect(edit, &TSkEditBox::keyDown, this,
                [this, edit](int key, Qt::KeyboardModifiers m) { ControlKeyDown(edit, key, m); });
        control = edit;
        themeDefault = false;
    } else if (type == QLatin1String("check_box")) {
        auto *box = new TSkCheckBox(parent);
        box->setText(name);
        connect(box, &QCheckBox::clicked, this, [this, box] { ControlClick(box); });
        control = box;
        themeDefault = false;
    } else if (type == QLatin1String("r_button")) {
        auto *radio = new TSkRadioButton(parent);
        radio->setText(QString());
        control = radio;
        themeDefault = false;
    } else if (type == QLatin1String("progress_bar")) {
        control = new TSkProgressBar(parent);
        themeDefault = false;
    } else if (type == QLatin1String("combo_box")) {
        auto *combo = new TSkComboBox(parent);
        control = combo;
        themeDefault = false;
    } else if (type == QLatin1String("spin_edit")) {
        control = new TSkSpinEdit(parent);
        themeDefault = false;
    } else if (type == QLatin1String("media")) {
        // Owned by the window and placed nowhere; its picture goes to the master.
        auto *media = new QObject(Window);
        media->setObjectName(name);
        media->setProperty(kTypeProperty, type);
        SetProperty(media, name, type);
        append(media, type);
        return nullptr;
    } else if (type == QLatin1String("tree")) {
        auto *tree = new TSkTree(parent);
        connect(tree, &TSkTree::nodeClicked, this, [this, tree] { ControlClick(tree); });
        control = tree;
    } else if (type == QLatin1String("html")) {
        auto *view = new TSkHtml(parent);
        view->OnCommand = [engine = QPointer<TSkStract>(this)](RHelpAction &record) {
            if (engine)
                engine->ExecuteAction(record);
        };
        control = view;
        themeDefault = false;
    } else if (isPlaceholderType(type)) {
        auto *placeholder = new QFrame(parent);
        placeholder->setProperty("placeholder", true);
        control = placeholder;
        themeDefault = false;
    } else {
        ReportError(QStringLiteral("MakeObject. Объект ") + name +
                    QStringLiteral(" имеет неизвестный тип ") + type);
        return nullptr;
    }

    control->setObjectName(name);
    control->setProperty(kTypeProperty, type);
    control->setToolTipDuration(-1);
    if (themeDefault)
        platform::setSkinObject(control, QStringLiteral("default"));
    control->show();
    // The control is listed before its keys apply: keys that name it (a
    // check box enabling itself, say) find it.
    append(control, type);
    SetProperty(control, name, type);
    if (auto *list = qobject_cast<TSkListBox *>(control)) {
        // Wired after the keys, as authors expect from the original viewer.
        connect(list, &QListWidget::itemDoubleClicked, this, [this, list] { ControlClick(list); });
        list->viewport()->installEventFilter(this);
    }
    if (auto *combo = qobject_cast<TSkComboBox *>(control)) {
        // After the keys, so loading the items file does not run the action.
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, combo] { ControlClick(combo); });
    }
    if (type == QLatin1String("combo_box") || type == QLatin1String("list_box") ||
        type == QLatin1String("check_box") || type == QLatin1String("edit_box"))
        control->setProperty("remontBuilt", true);
    return isContainerType(type) ? control : nullptr;
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
    static const QStringList kKnown = {
        QStringLiteral("form"),         QStringLiteral("button"),
        QStringLiteral("sp_button"),    QStringLiteral("panel"),
        QStringLiteral("parent_panel"), QStringLiteral("split"),
        QStringLiteral("label"),        QStringLiteral("track_bar"),
        QStringLiteral("edit_box"),     QStringLiteral("check_box"),
        QStringLiteral("r_button"),     QStringLiteral("progress_bar"),
        QStringLiteral("spin_edit"),    QStringLiteral("combo_box"),
        QStringLiteral("list_box"),     QStringLiteral("scroll_box"),
        QStringLiteral("media"),        QStringLiteral("tree"),
        QStringLiteral("html"),
    };
    if (!kKnown.contains(type) && !isPlaceholderType(type)) {
        platform::showMessage(QStringLiteral("SetProperty. Объект ") + name +
                              QStringLiteral(" имеет неизвестный тип ") + type);
        return;
    }
    const QStringList keys = Ini->keyNames(name);
    if (keys.isEmpty())
        return;
    auto *widget = qobject_cast<QWidget *>(control);
    const bool isWindow = control == Window;
    platform::Anchors remembered;
    if (widget && !isWindow) {
        remembered = platform::FormLayout::anchors(widget);
        platform::FormLayout::setAnchors(widget, {});
    }
    for (qsizetype i = keys.size() - 1; i >= 0; --i)
        applyCommonKey(control, name, keys[i].toLower(), Ini->readString(name, keys[i]));
    for (const QString &key : keys) {
        const QString lower = key.toLower();
        const QString value = Ini->readString(name, key);
        if (isWindow)
            applyFormKey(name, lower, value);
        else
            applyControlKey(control, type, name, lower, value);
    }
    if (widget && !isWindow && remembered != platform::Anchors() &&
        platform::FormLayout::anchors(widget) == platform::Anchors())
        platform::FormLayout::setAnchors(widget, remembered);
}

void TSkStract::applyCommonKey(QObject *control, const QString &section, const QString &key,
                               const QString &value)
{
    auto *widget = qobject_cast<QWidget *>(control);
    if (!widget)
        return;
    const bool isWindow = control == Window;
    auto setEdge = [&](auto change) {
        QRect bounds = widget->geometry();
        change(bounds);
        if (isWindow)
            widget->setGeometry(bounds);
        else
            platform::FormLayout::setBounds(widget, bounds);
    };
    if (key == QLatin1String("top")) {
        const int v = StrictInteger(value, section, key);
        setEdge([v](QRect &r) { r.moveTop(v); });
    } else if (key == QLatin1String("left")) {
        const int v = StrictInteger(value, section, key);
        setEdge([v](QRect &r) { r.moveLeft(v); });
    } else if (key == QLatin1String("width")) {
        const int v = StrictInteger(value, section, key);
        setEdge([v](QRect &r) { r.setWidth(v); });
    } else if (key == QLatin1String("height")) {
        const int v = StrictInteger(value, section, key);
        setEdge([v](QRect &r) { r.setHeight(v); });
    } else if (key == QLatin1String("enabled")) {
        widget->setEnabled(ParseBool(value, true));
    } else if (key == QLatin1String("cursor")) {
        widget->setCursor(platform::cursorFor(ParseCursor(value, section, key)));
    } else if (key == QLatin1String("visible")) {
        const bool visible = ParseBool(value, true);
        // A window is shown by its owner; the key can only keep it hidden.
        if (!isWindow || !visible)
            widget->setVisible(visible);
    } else if (key == QLatin1String("align")) {
        if (!isWindow)
            platform::FormLayout::setAlign(widget, ParseAlign(value));
    }
}

void TSkStract::applyFormKey(const QString &section, const QString &key, const QString &value)
{
    TSkForm *w = Window;
    if (key == QLatin1String("caption")) {
        w->setWindowTitle(value);
    } else if (key == QLatin1String("title")) {
        QGuiApplication::setApplicationDisplayName(value);
    } else if (key == QLatin1String("but_help")) {
        w->SetHelpButton(true);
        w->HelpAction = value;
    } else if (key == QLatin1String("save_pos")) {
        SavePos = ParseBool(value, false);
    } else if (key == QLatin1String("min_width")) {
        w->SkinFrame()->setMinWidth(StrictInteger(value, section, key));
    } else if (key == QLatin1String("min_height")) {
        w->SkinFrame()->setMinHeight(StrictInteger(value, section, key));
    } else if (key == QLatin1String("dialog")) {
        w->SetDialog(ParseBool(value, false));
    } else if (key == QLatin1String("splash")) {
        Splash = value;
    } else if (key == QLatin1String("top") || key == QLatin1String("left") ||
               key == QLatin1String("width") || key == QLatin1String("height")) {
        applyCommonKey(w, section, key, value);
    } else if (key == QLatin1String("action")) {
        w->StartAction = value;
    } else if (key == QLatin1String("reg_dat")) {
        RegPath = value;
    } else if (key == QLatin1String("visible")) {
        applyCommonKey(w, section, key, value);
    } else if (key == QLatin1String("size")) {
        w->SetResizable(ParseBool(value, true));
    } else if (key == QLatin1String("moving")) {
        w->Moving = ParseBool(value, false);
    } else if (key == QLatin1String("esc_close")) {
        w->EscClose = ParseBool(value, false);
    } else if (key == QLatin1String("splash_close_auto")) {
        SplashAutoClose = ParseBool(value, true);
    } else if (key == QLatin1String("hint_color") || key == QLatin1String("hint_font_color")) {
        if (const auto color = ParseColor(value)) {
            QPalette p = QToolTip::palette();
            p.setColor(key == QLatin1String("hint_color") ? QPalette::ToolTipBase
                                                          : QPalette::ToolTipText,
                       toQColor(*color));
            QToolTip::setPalette(p);
        }
    } else if (key == QLatin1String("message_font")) {
        changeFont(w->MessageFont(), ParseFont(value, section, key));
    } else if (key == QLatin1String("help_id")) {
        HelpId = value;
    } else if (key == QLatin1String("effect")) {
        w->Effect = value;
    } else if (key == QLatin1String("but_max")) {
        w->MaximizedButtons += NthField(value, 1) + u';';
        w->NormalButtons += NthField(value, 2) + u';';
    } else if (key == QLatin1String("hide_caption")) {
        if (ParseBool(value, true))
            w->SkinFrame()->setBorderStyle(platform::SkinFrame::BorderStyle::None);
    } else if (key == QLatin1String("ico")) {
        const QString file = AppPath(value);
        const QString native = platform::findOnDisk(file);
        const QIcon icon(native);
        if (native.isEmpty() || !QFile::exists(native) || icon.isNull())
            throw EConvertError(QStringLiteral("Не удается открыть файл ") + file);
        QApplication::setWindowIcon(icon);
        w->setWindowIcon(icon);
    } else if (key == QLatin1String("skin")) {
        const QString file = NthField(value, 1);
        const QString object = NthField(value, 2);
        SkinFile = file;
        if (!file.isEmpty() && SkinCache->AddSkin(AppPath(file))) {
            if (platform::ThemeLink *link = SkinCache->FindLink(AppPath(file))) {
                w->SkinFrame()->setThemeLink(link);
                link->link(w);
            }
        }
        if (!object.isEmpty())
            w->SkinFrame()->setSkinObject(object);
    }
}

void TSkStract::applyAnchor(QWidget *control, const QString &section, const QString &key,
                            const QString &value)
{
    const TAnchorSpec edges = ParseAnchor(value, section, key);
    const Qt::Orientations free = platform::FormLayout::placeAnchored(
        control, {edges.Left, edges.Top, edges.Right, edges.Bottom});
    if (auto *panel = qobject_cast<TSkPanel *>(control)) {
        if (free & Qt::Horizontal)
            panel->SetCenterHorz(true);
        if (free & Qt::Vertical)
            panel->SetCenterVert(true);
    } else if (auto *parentPanel = qobject_cast<TParentPanel *>(control)) {
        if (free & Qt::Horizontal)
            parentPanel->SetCenterHorz(true);
        if (free & Qt::Vertical)
            parentPanel->SetCenterVert(true);
    }
}

void TSkStract::applyFont(QWidget *control, const QString &section, const QString &key,
                          const QString &value)
{
    const TFontSpec parsed = ParseFont(value, section, key);
    QFont font = control->font();
    changeFont(font, parsed);
    control->setFont(font);
    if (parsed.Color) {
        QPalette p = control->palette();
        const QColor color = toQColor(*parsed.Color);
        p.setColor(QPalette::WindowText, color);
        p.setColor(QPalette::ButtonText, color);
        p.setColor(QPalette::Text, color);
        control->setPalette(p);
    }
}

void TSkStract::applySkinPair(QWidget *control, const QString &value, bool useFile)
{
    const QString object = NthField(value, 1);
    if (!object.isEmpty())
        platform::setSkinObject(control, object);
    if (!useFile)
        return;
    const QString file = NthField(value, 2);
    if (file.isEmpty())
        return;
    // Every control naming the file is drawn with it, not only the first.
    SkinCache->AddSkin(AppPath(file));
    if (platform::ThemeLink *link = SkinCache->FindLink(AppPath(file)))
        link->link(control);
}

void TSkStract::giveDragHandler(QWidget *control)
{
    if (!Window->Moving || control->property("remontDrag").toBool())
        return;
    control->setProperty("remontDrag", true);
    control->installEventFilter(new DragForwarder(Window, control));
}

void TSkStract::applyTreeKey(TSkTree *tree, const QString &section, const QString &key,
                             const QString &value)
{
    const auto is = [&](const char *name) {
        return key == QLatin1String(name);
    };
    if (is("min_width") || is("min_height") || is("max_width") || is("max_height")) {
        platform::SizeConstraints c = platform::FormLayout::constraints(tree);
        const int v = StrictInteger(value, section, key);
        (is("min_width")    ? c.minWidth
         : is("min_height") ? c.minHeight
         : is("max_width")  ? c.maxWidth
                            : c.maxHeight) = v;
        platform::FormLayout::setConstraints(tree, c);
    } else if (is("action")) {
        tree->ActionText = value;
    } else if (is("load")) {
        tree->LoadTree(value);
    } else if (is("bordur")) {
        tree->SetBorder(ParseBool(value, true));
    } else if (is("open_block")) {
        tree->SetOpenBlock(ParseBool(value, false));
    } else if (is("link_html")) {
        if (TSkHtml *view = Get<TSkHtml>(value))
            TPageTreeLinks::of(view).SetTree(tree);
    } else if (is("color")) {
        if (const auto color = ParseColor(value)) {
            QPalette p = tree->palette();
            p.setColor(QPalette::Base, toQColor(*color));
            tree->setPalette(p);
        }
    } else if (is("font")) {
        applyFont(tree, section, key, value);
    } else if (is("color_select")) {
        if (const auto color = ParseColor(value))
            tree->SetSelectColor(toQColor(*color));
    } else if (is("but_next")) {
        if (TSkSpeedButton *button = Get<TSkSpeedButton>(value))
            tree->SetNextButton(button);
    } else if (is("but_prev")) {
        if (TSkSpeedButton *button = Get<TSkSpeedButton>(value))
            tree->SetPrevButton(button);
    } else if (is("skin")) {
        applySkinPair(tree, value, false);
    }
}

void TSkStract::applyHtmlKey(TSkHtml *view, const QString &section, const QString &key,
                             const QString &value)
{
    const auto is = [&](const char *name) {
        return key == QLatin1String(name);
    };
    if (is("action")) {
        view->ActionPrefix = value;
    } else if (is("move_cursor")) {
        view->SetMoveCursor(ParseBool(value, false));
    } else if (is("load")) {
        view->LoadPage(value);
    } else if (is("menu")) {
        view->SetPopupMenu(Get<TSkPopMenu>(value));
    } else if (is("link_tree_ex")) {
        if (auto *tree = qobject_cast<QWidget *>(GetComponent(value, QStringLiteral("tree_ex"))))
            TPageTreeLinks::of(view).SetTreeEx(tree);
    } else if (is("link_tree")) {
        if (TSkTree *tree = Get<TSkTree>(value))
            TPageTreeLinks::of(view).SetTree(tree);
    } else if (is("label_title")) {
        if (TSkLabel *label = Get<TSkLabel>(value))
            view->SetTitleLabel(label);
    } else if (is("font_name")) {
        view->SetDefaultFont(value, view->DefFontSize());
    } else if (is("font_size")) {
        view->SetDefaultFont(view->DefFontName(), StrictInteger(value, section, key));
    } else if (is("min_width")) {
        view->MinWidth = StrictInteger(value, section, key);
    } else if (is("min_height")) {
        view->MinHeight = StrictInteger(value, section, key);
    } else if (is("move") && ParseBool(value, false)) {
        // The press starts moving the window; drag-to-scroll never starts.
        view->OnMouseDown = [window = QPointer<TSkForm>(Window)](QMouseEvent *mouse) {
            const QPoint at = mouse->position().toPoint();
            if (window)
                window->DragMouseDown(mouse->button(), mouse->modifiers(), at.x(), at.y());
        };
    }
}

void TSkStract::applyControlKey(QObject *control, const QString &type, const QString &section,
                                const QString &key, const QString &value)
{
    auto *widget = qobject_cast<QWidget *>(control);
    if (!widget)
        return;
    const auto is = [&](const char *name) {
        return key == QLatin1String(name);
    };
    if (is("anchor") && type != QLatin1String("split")) {
        applyAnchor(widget, section, key, value);
        return;
    }

    if (auto *button = qobject_cast<TSkButton *>(control)) {
        if (is("text_align"))
            button->SetTextAlignment(ParseAlignment(value));
        else if (is("transparent"))
            button->SetTransparent(ParseBool(value, true));
        else if (is("word_wrap"))
            button->SetWordWrap(ParseBool(value, false));
        else if (is("action"))
            button->ActionText = value;
        else if (is("caption"))
            button->SetCaption(value);
        else if (is("hint"))
            button->setToolTip(value);
        else if (is("font"))
            applyFont(button, section, key, value);
        else if (is("skin"))
            applySkinPair(button, value, true);
    } else if (auto *sp = qobject_cast<TSkSpeedButton *>(control)) {
        if (is("transparent"))
            sp->SetTransparent(ParseBool(value, true));
        else if (is("action"))
            sp->ActionText = value;
        else if (is("caption"))
            sp->setText(value);
        else if (is("hint"))
            sp->setToolTip(value);
        else if (is("group"))
            sp->SetGroupIndex(StrictInteger(value, section, key));
        else if (is("but_next_tree")) {
            if (TSkTree *tree = Get<TSkTree>(value))
                tree->SetNextButton(sp);
        } else if (is("but_prev_tree")) {
            if (TSkTree *tree = Get<TSkTree>(value))
                tree->SetPrevButton(sp);
        } else if (is("down")) {
            sp->SetDown(ParseBool(value, false));
            sp->DownState = sp->Down();
        } else if (is("font"))
            applyFont(sp, section, key, value);
        else if (is("menu")) {
            if (QMenu *menu = Get<TSkPopMenu>(value)) {
                sp->setMenu(menu);
                sp->setPopupMode(QToolButton::MenuButtonPopup);
            }
        } else if (is("skin"))
            applySkinPair(sp, value, false);
    } else if (auto *panel = qobject_cast<TSkPanel *>(control)) {
        if (is("visible_ex")) {
            if (ParseBool(value, true))
                panel->ShowOrHide();
        } else if (is("action"))
            panel->ActionText = value;
        else if (is("min_width") || is("max_width") || is("min_height")) {
            platform::SizeConstraints c = platform::FormLayout::constraints(panel);
            const int v = StrictInteger(value, section, key);
            (is("min_width") ? c.minWidth : is("max_width") ? c.maxWidth : c.minHeight) = v;
            platform::FormLayout::setConstraints(panel, c);
        } else if (is("skin"))
            applySkinPair(panel, value, false);
        giveDragHandler(panel);
    } else if (auto *pp = qobject_cast<TParentPanel *>(control)) {
        if (is("action"))
            pp->ActionText = value;
        else if (is("min_width") || is("min_height")) {
            platform::SizeConstraints c = platform::FormLayout::constraints(pp);
            (is("min_width") ? c.minWidth : c.minHeight) = StrictInteger(value, section, key);
            platform::FormLayout::setConstraints(pp, c);
        } else if (is("color")) {
            if (const auto color = ParseColor(value))
                pp->SetColor(toQColor(*color));
        } else
            giveDragHandler(pp);
    } else if (auto *split = qobject_cast<TSkSplitter *>(control)) {
        if (is("action"))
            split->ActionText = value;
        else if (is("skin"))
            applySkinPair(split, value, false);
    } else if (auto *label = qobject_cast<TSkLabel *>(control)) {
        if (is("url"))
            label->SetUrlStyle(ParseBool(value, false));
        else if (is("action"))
            label->ActionText = value;
        else if (is("caption"))
            label->SetCaption(value);
        else if (is("hint"))
            label->setToolTip(value);
        else if (is("font"))
            applyFont(label, section, key, value);
        else if (is("text_align"))
            label->setAlignment(ParseAlignment(value) | Qt::AlignVCenter);
        else if (is("html_title")) {
            if (TSkHtml *view = Get<TSkHtml>(value))
                view->SetTitleLabel(label);
        } else if (is("word_wrap"))
            label->setWordWrap(ParseBool(value, false));
        else if (is("auto_size"))
            label->SetAutoSize(ParseBool(value, false));
        else if (is("skin"))
            applySkinPair(label, value, false);
        giveDragHandler(label);
    } else if (auto *track = qobject_cast<TSkTrackBar *>(control)) {
        if (is("action"))
            track->ActionText = value;
        else if (is("hint"))
            track->setToolTip(value);
        else if (is("skin"))
            applySkinPair(track, value, false);
    } else if (auto *edit = qobject_cast<TSkEditBox *>(control)) {
        if (is("action"))
            edit->ActionText = value;
        else if (is("hint"))
            edit->setToolTip(value);
        else if (is("only_number"))
            edit->OnlyNumber = ParseBool(value, false);
        else if (is("min_link"))
            edit->SetMinLink(Get<TSkEditBox>(value));
    } else if (auto *check = qobject_cast<TSkCheckBox *>(control)) {
        if (is("action"))
            check->ActionText = value;
        else if (is("hint"))
            check->setToolTip(value);
        else if (is("caption"))
            check->setText(value);
        else if (is("check"))
            check->setChecked(ParseBool(value, false));
        else if (is("enable_control"))
            check->SetEnableControls(value);
    } else if (auto *radio = qobject_cast<TSkRadioButton *>(control)) {
        if (is("action"))
            radio->ActionText = value;
        else if (is("hint"))
            radio->setToolTip(value);
        else if (is("caption"))
            radio->setText(value);
        else if (is("check"))
            radio->setChecked(ParseBool(value, false));
    } else if (auto *progress = qobject_cast<TSkProgressBar *>(control)) {
        if (is("hint"))
            progress->setToolTip(value);
    } else if (auto *spin = qobject_cast<TSkSpinEdit *>(control)) {
        if (is("hint"))
            spin->setToolTip(value);
        else if (is("max"))
            spin->SetMaxValue(StrictInteger(value, section, key));
        else if (is("min"))
            spin->SetMinValue(StrictInteger(value, section, key));
    } else if (auto *combo = qobject_cast<TSkComboBox *>(control)) {
        if (is("action"))
            combo->ActionText = value;
        else if (is("count_line"))
            combo->setMaxVisibleItems(qMax(1, StrictInteger(value, section, key)));
        else if (is("load")) {
            combo->LoadItems(value);
            combo->setCurrentIndex(0);
        } else if (is("read_only"))
            combo->SetReadOnly(ParseBool(value, false));
        else if (is("skin"))
            applySkinPair(combo, value, true);
    } else if (auto *list = qobject_cast<TSkListBox *>(control)) {
        if (is("action"))
            list->ActionText = value;
        else if (is("load"))
            list->LoadItems(value);
        else if (is("multiselect"))
            list->SetMultiSelect(ParseBool(value, false));
        else if (is("skin"))
            applySkinPair(list, value, false);
    } else if (auto *box = qobject_cast<TSkScrollBox *>(control)) {
        if (is("skin"))
            applySkinPair(box, value, false);
    } else if (auto *tree = qobject_cast<TSkTree *>(control)) {
        applyTreeKey(tree, section, key, value);
    } else if (auto *view = qobject_cast<TSkHtml *>(control)) {
        applyHtmlKey(view, section, key, value);
    } else if (is("action")) {
        // Content controls of later kinds keep their action for the dispatcher.
        widget->setProperty("ActionText", value);
    }
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
