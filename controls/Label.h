#pragma once

#include <QLabel>

// A text label; it can look like a link and show an HTML view's page title.
class TSkLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TSkLabel(QWidget *parent = nullptr);

    QString ActionText;

    // Underlined blue text with the hand cursor, or plain text again.
    void SetUrlStyle(bool url);
    bool UrlStyle() const { return m_url; }
    // The label takes the size of its caption.
    void SetAutoSize(bool autoSize);
    bool AutoSize() const { return m_autoSize; }
    void SetCaption(const QString &caption);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_url = false;
    bool m_autoSize = false;
};
