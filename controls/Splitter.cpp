#include "controls/Splitter.h"

#include "controls/ControlUtils.h"

TSkSplitter::TSkSplitter(QWidget *parent)
    : platform::Splitter(parent)
{}

void TSkSplitter::ShowOrHide()
{
    SkinControls::showOrHideKeepingPlace(this, SavedLeft, SavedTop);
}
