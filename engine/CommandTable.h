#pragma once

#include "core/ActionText.h"

#include <QString>

class TSkStract;

// One command being carried out: the engine, the parsed command, its first
// two parameters as GetParam gave them, and the record the action came with.
struct TCommandCall
{
    TSkStract &Engine;
    const RCommand &Command;
    const QString &P0;
    const QString &P1;
    const RHelpAction &Record;
    bool StopAll = false; // nothing more of the action text runs
};

using TCommandHandler = void (*)(TCommandCall &call);

// The handler of a command name (lower-cased), or null when the engine does
// not know it. Every command the engine carries out is one entry of the table
// in CommandTable.cpp.
TCommandHandler FindCommand(const QString &name);
