#pragma once

#include <QLoggingCategory>

// One category per area. Every silent miss in a manual's content (a missing
// picture, icon, skin file or page, an unknown key) writes one info line under
// its area's category. Info lines are off by default; an author switches them
// on with QT_LOGGING_RULES="remont.*.info=true" (see docs/authoring.md).
//
//   remont.archive  files read through the archive
//   remont.engine   structure files, keys, skins, commands
//   remont.page     pages, pictures and style sheets of the page view
//   remont.tree     tree files and their icons
//   remont.search   the search list and the scan
//   remont.print    layout for printing and the preview
Q_DECLARE_LOGGING_CATEGORY(lcArchive)
Q_DECLARE_LOGGING_CATEGORY(lcEngine)
Q_DECLARE_LOGGING_CATEGORY(lcPage)
Q_DECLARE_LOGGING_CATEGORY(lcTree)
Q_DECLARE_LOGGING_CATEGORY(lcSearch)
Q_DECLARE_LOGGING_CATEGORY(lcPrint)
