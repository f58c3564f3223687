#pragma once

#include <QComboBox>
#include <QStringList>

// A drop-down list whose items come from an items file ("caption;value" per
// line). Turning the mouse wheel over it never changes the selection.
class TSkComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit TSkComboBox(QWidget *parent = nullptr);

    QString ActionText;
    bool ReadOnly = false;
    QStringList Values; // one value per item

    // Read-only: choose from the list only; otherwise typing is allowed.
    void SetReadOnly(bool readOnly);
    // Clears the items and reads the file through the archive.
    void LoadItems(const QString &fileName);
    // The value of the selected item; empty when there is none.
    QString GetSelectedValue() const;

protected:
    void wheelEvent(QWheelEvent *event) override;
};
