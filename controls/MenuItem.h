#pragma once

#include <QAction>

// A menu item that carries the action it runs and, for favourite items, the
// favourite's value.
class TSkItem : public QAction
{
    Q_OBJECT

public:
    explicit TSkItem(QObject *parent = nullptr);

    QString Action;
    QString FavoriteValue;
};
