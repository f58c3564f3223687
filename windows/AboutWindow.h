#pragma once

#include "engine/SkinnedWindow.h"

// The About window; everything on it comes from "struct_about.txt".
class TfrmAbout : public TSkForm
{
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget *owner = nullptr);
};
