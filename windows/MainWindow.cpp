#include "windows/MainWindow.h"

#include "controls/PageView.h"
#include "core/ActionText.h"
#include "core/DesktopServices.h"
#include "core/ManualLocation.h"
#include "core/PathUtils.h"
#include "core/ResourceArchive.h"
#include "core/ViewerOptions.h"
#include "engine/StructureEngine.h"
#include "platform/CompanionLink.h"
#include "platform/Dialogs.h"
#include "platform/SkinFrame.h"
#include "windows/AboutWindow.h"

#include <QCloseEvent>
#include <QLocalSocket>

TfrmMain::TfrmMain(QWidget *owner)
    : TSkForm(owner)
{
    setWindowTitle(QStringLiteral("Ремонт"));
    // 775 x 513 is the client area; the skin frame adds its caption and border.
    const int border = SkinFrame()->borderWidth();
    resize(775 + 2 * border, 513 + SkinFrame()->captionHeight() + 2 * border);
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    FormCloseQuery();
}

void TfrmMain::FormCreate()
{
    // Without an archive every file comes from disk in the manual's folder.
    OpenArchive(CurrentManual().Archive);
    m_mainEngine = std::make_unique<TSkStract>(this, QStringLiteral("struct_main.txt"));
    m_mainEngine->LoadStructure();
    m_mainEngine->OnAction = [this](RHelpAction &a) {
        MainMenuCommand(a);
    };
    m_showEngine = std::make_unique<TSkStract>(this, QStringLiteral("struct_show.txt"));
    m_showEngine->LoadStructure();
    m_showEngine->OnAction = [this](RHelpAction &a) {
        ShowPageCommand(a);
    };
    m_mainEngine->ActivateWindow();
    SearchResults.clear();
    // The search window and the print preview are made by the program entry.

    m_companion = new platform::CompanionLink(this);
    m_companion->OnRequest = [this](const platform::CompanionRequest &r, QLocalSocket *s) {
        CompanionRequest(r, s);
    };
    m_companion->OnOpen = [this](const platform::OpenRequest &r) {
        OpenManual(r.manual, r.page);
    };
    m_companion->listen(platform::viewerTitle());
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    FormCloseQuery();
    event->accept();
    TSkForm::closeEvent(event);
}

void TfrmMain::FormCloseQuery()
{
    if (m_closed)
        return;
    m_closed = true;
    CloseArchive();
    platform::CompanionLink::notifyClose(platform::companionTitle());
    // Freeing the engines saves what their structures keep.
    m_mainEngine.reset();
    m_showEngine.reset();
    SearchResults.clear();
}

QString TfrmMain::CompanionSocket() const
{
    return m_companion ? m_companion->socketPath() : QString();
}

void TfrmMain::ShowManualPage(const QString &page)
{
    if (!m_showEngine)
        return;
    m_showEngine->ActivateWindow();
    if (auto *view =
            qobject_cast<TSkHtml *>(m_showEngine->Get<TSkHtml>(QStringLiteral("html_see")))) {
        view->LoadPage(page);
        view->SyncTree(page);
    }
}

void TfrmMain::OpenManual(const QString &manual, const QString &page)
{
    if (!manual.isEmpty()) {
        const ManualChoice choice = ChooseManual(manual);
        if (!choice.Ok) {
            BringToFront();
            platform::showMessage(choice.Error);
            return;
        }
        if (choice.Manual != CurrentManual()) {
            // Every window, engine and saved state belongs to one manual, so
            // the program starts again on the other one, as the restart key does.
            m_restartArguments = ViewerArguments(ManualArgument(choice.Manual), page);
            close();
            return;
        }
    }
    BringToFront();
    if (!page.isEmpty())
        ShowManualPage(page);
}

void TfrmMain::BringToFront()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TfrmMain::MainMenuCommand(RHelpAction &action)
{
    const TSkCommand command(action.Action);
    const QString name = command.Count() > 0 ? command.Commands()[0].Name : QString();
    if (name == QLatin1String("go_main")) {
        SkinFrame()->setPainting(false);
        m_showEngine->ActivateWindow();
        m_showEngine->RunAction(command.Commands()[0].Tail);
        SkinFrame()->setPainting(true);
    } else if (name == QLatin1String("about")) {
        OpenAbout();
    } else {
        platform::showMessage(action.Action);
    }
}

void TfrmMain::ShowPageCommand(RHelpAction &action)
{
    const TSkCommand command(action.Action);
    const QString name = command.Count() > 0 ? command.Commands()[0].Name : QString();
    if (name == QLatin1String("visible_but_tree")) {
        TSkStract &e = *m_showEngine;
        auto button = [&e](const QString &n) {
            QWidget *w = e.FindQuietly(n, QStringLiteral("button"));
            return w ? w : e.FindQuietly(n, QStringLiteral("sp_button"));
        };
        QWidget *tree = qobject_cast<QWidget *>(e.GetControl(QStringLiteral("tree")));
        QWidget *open = button(QStringLiteral("but_tree_open"));
        QWidget *hide = button(QStringLiteral("but_tree_hide"));
        if (!tree)
            return;
        if (!tree->isHidden()) {
            if (open)
                open->setVisible(TreeOpenWasVisible);
            if (hide)
                hide->setVisible(TreeHideWasVisible);
        } else {
            TreeOpenWasVisible = open && !open->isHidden();
            TreeHideWasVisible = hide && !hide->isHidden();
            if (open)
                open->hide();
            if (hide)
                hide->hide();
        }
    } else if (name == QLatin1String("go_main_menu")) {
        m_mainEngine->ActivateWindow();
    } else if (name == QLatin1String("about")) {
        OpenAbout();
    } else {
        // go_find and go_tesaurus join here with the search and the thesaurus.
        platform::showMessage(action.Action);
    }
}

void TfrmMain::OpenAbout()
{
    auto window = std::make_unique<TfrmAbout>(this);
    auto engine = std::make_unique<TSkStract>(window.get(), QStringLiteral("struct_about.txt"));
    engine->LoadStructure();
    engine->ActivateWindow();
    window->exec();
    engine.reset();
    window.reset();
}

void TfrmMain::CompanionRequest(const platform::CompanionRequest &request, QLocalSocket *sender)
{
    if (request.command == 0) {
        if (!m_showEngine)
            return;
        ShowManualPage(request.fileName);
        platform::CompanionLink::send(sender, platform::MsgShown, quint32(winId()));
    } else if (request.command == 1) {
        platform::CompanionLink::send(sender, platform::MsgShowWindow, 0);
        PrintPictureFile(this, request.fileName);
        platform::CompanionLink::send(sender, platform::MsgShowWindow, 5);
    }
}

void PrintPictureFile(QWidget *owner, const QString &fileName)
{
    // The print preview joins here; until then the picture's page is shown.
    if (NoDefaultPrinter(QStringLiteral("Принтер не найден.")))
        return;
    auto *view = new TSkHtml(owner);
    view->hide();
    const qsizetype slash = qMax(fileName.lastIndexOf(u'\\'), fileName.lastIndexOf(u':'));
    view->ShowPicture(fileName.left(slash + 1), fileName);
    view->setWindowFlag(Qt::Window);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->resize(640, 480);
    view->show();
}
