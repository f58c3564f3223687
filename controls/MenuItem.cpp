#include "controls/MenuItem.h"

TSkItem::TSkItem(QObject *parent)
    : QAction(parent)
{}
