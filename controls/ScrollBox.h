#pragma once

#include <QScrollArea>

// A scrolling container: the controls placed on it live on its content
// widget, which grows to hold them all.
class TSkScrollBox : public QScrollArea
{
    Q_OBJECT

public:
    explicit TSkScrollBox(QWidget *parent = nullptr);

    // Where controls placed on the box go.
    QWidget *Content() const { return m_content; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitContent();

    QWidget *m_content;
};
