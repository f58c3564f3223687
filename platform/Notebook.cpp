#include "platform/Notebook.h"

#include "platform/FormLayout.h"

namespace platform {

Notebook::Notebook(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Notebook"));
}

QWidget *Notebook::addPage(const QString &name)
{
    auto *page = new QWidget(this);
    page->setObjectName(name);
    FormLayout::of(page);
    m_pages.append(page);
    FormLayout::applyGeometry(page, contentsRect());
    setCurrentIndex(count() - 1);
    return page;
}

QWidget *Notebook::page(int index) const
{
    return index >= 0 && index < count() ? m_pages[index] : nullptr;
}

void Notebook::setCurrentIndex(int index)
{
    if (index < 0 || index >= count() || index == m_current)
        return;
    m_current = index;
    for (int i = 0; i < count(); ++i) {
        if (m_pages[i])
            m_pages[i]->setVisible(i == index);
    }
    emit currentChanged(index);
}

void Notebook::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placePages();
}

void Notebook::placePages()
{
    for (const QPointer<QWidget> &page : std::as_const(m_pages)) {
        if (page)
            FormLayout::applyGeometry(page, contentsRect());
    }
}

} // namespace platform
