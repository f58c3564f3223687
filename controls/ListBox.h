#pragma once

#include <QListWidget>
#include <QStringList>

// A list whose items come from an items file ("caption#;#value" per line); a
// double click runs the action with the item's value.
class TSkListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit TSkListBox(QWidget *parent = nullptr);

    QString ActionText;
    QStringList Values; // the whole line of each item

    // Reads the file through the archive; an empty or missing file keeps the
    // items the box had.
    void LoadItems(const QString &fileName);
    // The part after the first "#;#" of the item's line; empty when none.
    QString GetItemValue(int index) const;
    void SetMultiSelect(bool multi);
};
