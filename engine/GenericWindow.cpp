#include "engine/GenericWindow.h"

TfrmFORM::TfrmFORM(QWidget *owner)
    : TSkForm(owner)
{
    setObjectName(QStringLiteral("frmFORM"));
    resize(783, 540);
    CenterOnScreen();
}
