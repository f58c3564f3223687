#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

// A stack of pages of which one is shown; the pages fill the notebook and
// follow its size at once (see FormLayout), so controls placed on a page that
// is not shown keep their anchors and alignments too.
namespace platform {

class Notebook : public QWidget
{
    Q_OBJECT

public:
    explicit Notebook(QWidget *parent = nullptr);

    // Appends a page (a plain container) and shows it.
    QWidget *addPage(const QString &name);
    int count() const { return int(m_pages.size()); }
    QWidget *page(int index) const;
    int currentIndex() const { return m_current; }
    QWidget *currentPage() const { return page(m_current); }
    void setCurrentIndex(int index);

signals:
    void currentChanged(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placePages();

    QList<QPointer<QWidget>> m_pages; // a page deleted from outside leaves a null
    int m_current = -1;
};

} // namespace platform
