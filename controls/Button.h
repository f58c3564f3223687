#pragma once

#include <QPushButton>

// A push button that runs its structure file's action when clicked.
class TSkButton : public QPushButton
{
    Q_OBJECT

public:
    explicit TSkButton(QWidget *parent = nullptr);

    QString ActionText;

    void ShowOrHide();

    // The caption as the structure file gave it (the shown text may be wrapped).
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);
    void SetWordWrap(bool wrap);
    bool WordWrap() const { return m_wordWrap; }
    void SetTransparent(bool transparent);
    bool Transparent() const { return m_transparent; }
    void SetTextAlignment(Qt::Alignment alignment);
    Qt::Alignment TextAlignment() const { return m_alignment; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateShownText();

    QString m_caption;
    bool m_wordWrap = false;
    bool m_transparent = true;
    Qt::Alignment m_alignment = Qt::AlignHCenter;
};
