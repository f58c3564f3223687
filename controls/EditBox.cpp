#include "controls/EditBox.h"

#include <QKeyEvent>

TSkEditBox::TSkEditBox(QWidget *parent)
    : QLineEdit(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void TSkEditBox::SetMinLink(TSkEditBox *box)
{
    m_minLink = (box && box->OnlyNumber) ? box : nullptr;
}

int TSkEditBox::GetNumber() const
{
    if (!OnlyNumber || text().isEmpty())
        return 0;
    bool ok = false;
    const int n = text().toInt(&ok);
    return ok ? n : 0;
}

void TSkEditBox::SetNumber(int n)
{
    setText(QString::number(n));
    PropagateMin();
}

void TSkEditBox::PropagateMin()
{
    if (!m_minLink)
        return;
    const int n = GetNumber();
    m_minLink->MinValue = n;
    if (m_minLink->GetNumber() < n)
        m_minLink->SetNumber(n);
}

void TSkEditBox::keyPressEvent(QKeyEvent *event)
{
    emit keyDown(event->key(), event->modifiers());
    if (OnlyNumber) {
        const QString typed = event->text();
        // Only printable characters are filtered; editing and navigation keys pass.
        if (!typed.isEmpty() && typed[0].isPrint()) {
            for (QChar c : typed) {
                if (c < u'0' || c > u'9') {
                    event->accept();
                    return;
                }
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TSkEditBox::keyReleaseEvent(QKeyEvent *event)
{
    QLineEdit::keyReleaseEvent(event);
    if (!OnlyNumber)
        return;
    if (GetNumber() < MinValue)
        SetNumber(MinValue);
    else
        PropagateMin();
}
