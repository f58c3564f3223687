#include "engine/PropertyKeys.h"

#include "controls/Panel.h"
#include "controls/ParentPanel.h"
#include "core/PathUtils.h"
#include "core/TextUtils.h"
#include "engine/SkinCache.h"
#include "engine/SkinnedWindow.h"
#include "engine/StructureEngine.h"
#include "platform/Cursors.h"
#include "platform/FileSystem.h"
#include "platform/FormLayout.h"
#include "platform/SkinFrame.h"
#include "platform/ThemeLink.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QToolTip>

namespace {

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

} // namespace

QWidget *TKeyContext::widget() const
{
    return qobject_cast<QWidget *>(Control);
}

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

bool applyCommonKey(TKeyContext &k)
{
    QWidget *widget = k.widget();
    if (!widget)
        return false;
    const bool isWindow = k.Control == k.Engine.Window;
    auto setEdge = [&](auto change) {
        QRect bounds = widget->geometry();
        change(bounds);
        if (isWindow)
            widget->setGeometry(bounds);
        else
            platform::FormLayout::setBounds(widget, bounds);
    };
    if (k.is("top")) {
        const int v = k.integer();
        setEdge([v](QRect &r) { r.moveTop(v); });
    } else if (k.is("left")) {
        const int v = k.integer();
        setEdge([v](QRect &r) { r.moveLeft(v); });
    } else if (k.is("width")) {
        const int v = k.integer();
        setEdge([v](QRect &r) { r.setWidth(v); });
    } else if (k.is("height")) {
        const int v = k.integer();
        setEdge([v](QRect &r) { r.setHeight(v); });
    } else if (k.is("enabled")) {
        widget->setEnabled(k.boolean(true));
    } else if (k.is("cursor")) {
        widget->setCursor(platform::cursorFor(ParseCursor(k.Value, k.Section, k.Key)));
    } else if (k.is("visible")) {
        const bool visible = k.boolean(true);
        // A window is shown by its owner; the key can only keep it hidden.
        if (!isWindow || !visible)
            widget->setVisible(visible);
    } else if (k.is("align")) {
        if (!isWindow)
            platform::FormLayout::setAlign(widget, ParseAlign(k.Value));
    } else {
        return false;
    }
    return true;
}

bool applyFormKey(TKeyContext &k)
{
    TSkStract &e = k.Engine;
    TSkForm *w = e.Window;
    const QString &value = k.Value;
    if (k.is("caption")) {
        w->setWindowTitle(value);
    } else if (k.is("title")) {
        QGuiApplication::setApplicationDisplayName(value);
    } else if (k.is("but_help")) {
        w->SetHelpButton(true);
        w->HelpAction = value;
    } else if (k.is("save_pos")) {
        e.SavePos = k.boolean(false);
    } else if (k.is("min_width")) {
        w->SkinFrame()->setMinWidth(k.integer());
    } else if (k.is("min_height")) {
        w->SkinFrame()->setMinHeight(k.integer());
    } else if (k.is("dialog")) {
        w->SetDialog(k.boolean(false));
    } else if (k.is("splash")) {
        e.Splash = value;
    } else if (k.is("top") || k.is("left") || k.is("width") || k.is("height") || k.is("visible")) {
        applyCommonKey(k);
    } else if (k.is("action")) {
        w->StartAction = value;
    } else if (k.is("reg_dat")) {
        e.RegPath = value;
    } else if (k.is("size")) {
        w->SetResizable(k.boolean(true));
    } else if (k.is("moving")) {
        w->Moving = k.boolean(false);
    } else if (k.is("esc_close")) {
        w->EscClose = k.boolean(false);
    } else if (k.is("splash_close_auto")) {
        e.SplashAutoClose = k.boolean(true);
    } else if (k.is("hint_color") || k.is("hint_font_color")) {
        if (const auto color = ParseColor(value)) {
            QPalette p = QToolTip::palette();
            p.setColor(k.is("hint_color") ? QPalette::ToolTipBase : QPalette::ToolTipText,
                       toQColor(*color));
            QToolTip::setPalette(p);
        }
    } else if (k.is("message_font")) {
        changeFont(w->MessageFont(), ParseFont(value, k.Section, k.Key));
    } else if (k.is("help_id")) {
        e.HelpId = value;
    } else if (k.is("effect")) {
        w->Effect = value;
    } else if (k.is("but_max")) {
        w->MaximizedButtons += NthField(value, 1) + u';';
        w->NormalButtons += NthField(value, 2) + u';';
    } else if (k.is("hide_caption")) {
        if (k.boolean(true))
            w->SkinFrame()->setBorderStyle(platform::SkinFrame::BorderStyle::None);
    } else if (k.is("ico")) {
        const QString file = AppPath(value);
        const QString native = platform::findOnDisk(file);
        const QIcon icon(native);
        if (native.isEmpty() || !QFile::exists(native) || icon.isNull())
            throw EConvertError(QStringLiteral("Не удается открыть файл ") + file);
        QApplication::setWindowIcon(icon);
        w->setWindowIcon(icon);
    } else if (k.is("skin")) {
        const QString file = NthField(value, 1);
        const QString object = NthField(value, 2);
        e.SkinFile = file;
        if (!file.isEmpty() && e.SkinCache->AddSkin(AppPath(file))) {
            if (platform::ThemeLink *link = e.SkinCache->FindLink(AppPath(file))) {
                w->SkinFrame()->setThemeLink(link);
                link->link(w);
            }
        }
        if (!object.isEmpty())
            w->SkinFrame()->setSkinObject(object);
    } else {
        return false;
    }
    return true;
}

void applyAnchor(TKeyContext &k)
{
    QWidget *control = k.widget();
    const TAnchorSpec edges = ParseAnchor(k.Value, k.Section, k.Key);
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

void applyFont(TKeyContext &k)
{
    QWidget *control = k.widget();
    const TFontSpec parsed = ParseFont(k.Value, k.Section, k.Key);
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

void applySkinPair(TKeyContext &k, bool useFile)
{
    QWidget *control = k.widget();
    const QString object = NthField(k.Value, 1);
    if (!object.isEmpty())
        platform::setSkinObject(control, object);
    if (!useFile)
        return;
    const QString file = NthField(k.Value, 2);
    if (file.isEmpty())
        return;
    // Every control naming the file is drawn with it, not only the first.
    TSkSkin &skins = *k.Engine.SkinCache;
    skins.AddSkin(AppPath(file));
    if (platform::ThemeLink *link = skins.FindLink(AppPath(file)))
        link->link(control);
}

void giveDragHandler(TSkStract &engine, QWidget *control)
{
    if (!engine.Window->Moving || control->property("remontDrag").toBool())
        return;
    control->setProperty("remontDrag", true);
    control->installEventFilter(new DragForwarder(engine.Window, control));
}
