#pragma once

#include <QString>
#include <QStringList>

// Which manual the viewer shows. A manual is a folder holding "interface.dat"
// or the loose files ("struct_main.txt" and the rest), or one archive file;
// its folder is the application folder of every path rule.

struct ManualLocation
{
    QString Folder;  // program form, trailing backslash
    QString Archive; // program form: the archive read first (may be absent)

    bool operator==(const ManualLocation &) const = default;
};

// Where a manual is looked for when none is named.
struct ManualSearch
{
    QString ProgramFolder;   // native: the executable's folder
    QStringList DataFolders; // native: the XDG data folders in their order
    QString InstallData;     // native: the installation's own data folder, last
};

ManualSearch DefaultManualSearch();

struct ManualChoice
{
    bool Ok = false;
    ManualLocation Manual;
    QString Error; // why a named manual cannot be shown
};

// The manual to show for the command line's MANUAL (native, relative to the
// working folder; empty when none was named). Without one: the executable's
// folder when it holds "interface.dat", else the first "remont/manuals/sample"
// of the data folders that holds a manual, else the executable's folder.
ManualChoice ChooseManual(const QString &argument, const ManualSearch &search);
ManualChoice ChooseManual(const QString &argument);

// The manual shown now. Setting it makes its folder the application folder.
// Until set: the application folder and "interface.dat" in it.
ManualLocation CurrentManual();
void SetCurrentManual(const ManualLocation &manual);

// The command-line MANUAL that names the manual again (native): the archive
// when it is not the folder's "interface.dat", else the folder.
QString ManualArgument(const ManualLocation &manual);
