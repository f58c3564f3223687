#include "core/LogCategories.h"

// Warnings and above show by default; the info lines of misses do not.
Q_LOGGING_CATEGORY(lcArchive, "remont.archive", QtWarningMsg)
Q_LOGGING_CATEGORY(lcEngine, "remont.engine", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPage, "remont.page", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTree, "remont.tree", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSearch, "remont.search", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPrint, "remont.print", QtWarningMsg)
