#include "SkinControl/skSplitter.h"

TSkSplitter::TSkSplitter(QWidget *parent)
    : platform::Splitter(parent)
{}

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
