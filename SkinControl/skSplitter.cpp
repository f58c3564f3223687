#include "SkinControl/skSplitter.h"

#include "SkinControl/skControlUtils.h"

TSkSplitter::TSkSplitter(QWidget *parent)
    : platform::Splitter(parent)
{}

void TSkSplitter::ShowOrHide()
{
    SkinControls::showOrHideKeepingPlace(this, SavedLeft, SavedTop);
}
