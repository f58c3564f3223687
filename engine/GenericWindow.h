#pragma once

#include "engine/SkinnedWindow.h"

// The generic window that form_show opens: everything on it comes from its
// structure file.
class TfrmFORM : public TSkForm
{
    Q_OBJECT

public:
    explicit TfrmFORM(QWidget *owner = nullptr);
};
