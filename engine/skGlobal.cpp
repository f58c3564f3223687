#include "engine/skGlobal.h"

TSkItem::TSkItem(QObject *parent)
    : QAction(parent)
{}
