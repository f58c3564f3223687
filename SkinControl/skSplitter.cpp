#include "SkinControl/skSplitter.h"

TSkSplitter::TSkSplitter(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_StyledBackground);
}

void TSkSplitter::ShowOrHide()
{
    if (!isHidden()) {
        SavedLeft = x();
        SavedTop = y();
    }
    setVisible(isHidden());
    if (!isHidden())
        move(SavedLeft, SavedTop);
}
