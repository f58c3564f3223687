#pragma once

#include "engine/SkinnedWindow.h"

#include <QStringList>

#include <memory>

class QLocalSocket;
class TSkStract;
namespace platform {
class CompanionLink;
struct CompanionRequest;
} // namespace platform

// The main window: the main menu page ("struct_main.txt") and the page view
// ("struct_show.txt") built into one window, the commands the two pages hand
// to it, and the companion viewer's requests.
class TfrmMain : public TSkForm
{
    Q_OBJECT

public:
    explicit TfrmMain(QWidget *owner = nullptr);
    ~TfrmMain() override;

    TSkStract *MainEngine() const { return m_mainEngine.get(); }
    TSkStract *ShowEngine() const { return m_showEngine.get(); }
    QStringList SearchResults;
    bool TreeOpenWasVisible = false;
    bool TreeHideWasVisible = false;

    void MainMenuCommand(RHelpAction &action);
    void ShowPageCommand(RHelpAction &action);
    // A request of the companion viewer; replies go back on its connection.
    void CompanionRequest(const platform::CompanionRequest &request, QLocalSocket *sender);
    // The socket the companion's requests arrive on (empty when none).
    QString CompanionSocket() const;

    // Shows a page of the manual in the page view, the contents tree following.
    void ShowManualPage(const QString &page);
    // A second start's MANUAL (native; empty: this one) and page. Another
    // manual closes the window, and the program starts again on it with
    // RestartArguments.
    void OpenManual(const QString &manual, const QString &page);
    QStringList RestartArguments() const { return m_restartArguments; }
    void BringToFront();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormCloseQuery();
    void OpenAbout();

    std::unique_ptr<TSkStract> m_mainEngine;
    std::unique_ptr<TSkStract> m_showEngine;
    platform::CompanionLink *m_companion = nullptr;
    QStringList m_restartArguments;
    bool m_closed = false;
};

// A print preview of one picture file; without a default printer it says so.
void PrintPictureFile(QWidget *owner, const QString &fileName);
