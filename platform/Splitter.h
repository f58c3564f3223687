#pragma once

#include <QPointer>
#include <QWidget>

// A bar aligned to a side of its container (left unless set otherwise through
// FormLayout). Dragging it resizes the control that stands next to it on that
// side, within the control's constraints, and keeps at least minSize pixels
// for that control and for the rest of the container.
namespace platform {

class Splitter : public QWidget
{
    Q_OBJECT

public:
    explicit Splitter(QWidget *parent = nullptr);

    int minSize() const { return m_minSize; }
    void setMinSize(int pixels);

    // The control a drag would resize now, or none.
    QWidget *resizedControl() const;

signals:
    void moved();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool horizontalBar() const; // aligned top or bottom
    int extentOf(const QWidget *control) const;

    int m_minSize = 30;
    QPointer<QWidget> m_control;
    QPoint m_downPos;
    int m_startExtent = 0;
    int m_maxExtent = 0;
};

} // namespace platform
