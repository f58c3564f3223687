#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

namespace platform {
class IniFile;
}

// Consistency rules of a manual folder, as the viewer will read it from
// "interface.dat": every name a page, tree, index or structure file gives must
// reach a file, and every text file must be Windows-1251 with CR LF line ends.
// Each check answers its problems, one readable line each; none means sound.
class ManualCheck
{
public:
    explicit ManualCheck(const QString &nativeFolder);

    QStringList FileNames() const; // lower-case ASCII, as the archive stores them
    QStringList TextEncoding() const;
    QStringList PageIndex() const;    // "file.ind" against the pages and their titles
    QStringList ContentsTree() const; // the tree file "struct_show.txt" loads
    QStringList PageLinks() const;    // href and src of every page, anchors included
    QStringList Commands() const;     // actions of structure files and "$" links
    QStringList StructureFiles() const;
    // "name@2x.ext" pictures for dense screens: each beside "name.ext" and
    // exactly that many times its size.
    QStringList DensePictures() const;

    QStringList All() const;

    // Relative names ("pages/a.htm") of the files below the folder.
    QStringList Files() const { return m_files; }

private:
    struct Command
    {
        QString Where;  // the file, and the section and key that hold it
        QString Engine; // the structure file whose objects it acts on
        QString Name;
        QStringList Params;
        bool Template = false; // the reader's choice is put in when it runs
    };

    QByteArray bytes(const QString &relative) const;
    QString text(const QString &relative) const;
    // The file a name written with backslashes means, relative to a folder
    // ("" for the manual's root); empty when it leaves the manual.
    QString resolve(const QString &folder, const QString &name) const;
    bool exists(const QString &relative) const;
    QString treeFile() const;
    QStringList pages() const;
    QList<Command> commands() const;
    // Section names in the order the engine builds them; sections it never
    // builds go to *unbuilt.
    static QStringList buildOrder(const platform::IniFile &ini, QStringList *unbuilt);

    QString m_folder;
    QStringList m_files;
    QHash<QString, QString> m_lower; // lower-cased relative name -> as on disk
};
