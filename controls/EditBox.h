#pragma once

#include <QLineEdit>
#include <QPointer>

// A one-line edit. With OnlyNumber on it takes digits only, never holds a
// number below its minimum, and passes its number on as the minimum of the
// box it is linked to, so a "from" box never exceeds its "to" box.
class TSkEditBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TSkEditBox(QWidget *parent = nullptr);

    QString ActionText;
    bool OnlyNumber = false;
    qint32 MinValue = 0;

    TSkEditBox *MinLink() const { return m_minLink; }
    // Links the box only when it takes digits only at this moment.
    void SetMinLink(TSkEditBox *box);

    int GetNumber() const;
    void SetNumber(int n);
    void PropagateMin();

signals:
    void keyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    QPointer<TSkEditBox> m_minLink;
};
