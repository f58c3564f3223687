#include "windows/AboutWindow.h"

TfrmAbout::TfrmAbout(QWidget *owner)
    : TSkForm(owner)
{
    setWindowTitle(QStringLiteral("О программе"));
    resize(420, 300);
}
