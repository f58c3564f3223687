#include "engine/SkinCache.h"

#include "core/LogCategories.h"
#include "platform/ThemeLink.h"

#include <QWidget>

#include <algorithm>

namespace {

QString filePart(const QString &fileName)
{
    const qsizetype slash = std::max(fileName.lastIndexOf(u'\\'), fileName.lastIndexOf(u'/'));
    return fileName.mid(slash + 1);
}

} // namespace

TSkSkin::TSkSkin(QWidget *window)
    : m_window(window)
{}

TSkSkin::~TSkSkin()
{
    // The window may have gone first and taken its links with it.
    for (const Record &record : std::as_const(m_records))
        delete record.Link.data();
}

bool TSkSkin::AddSkin(const QString &fileName)
{
    if (fileName.isEmpty())
        return false;
    const QString name = filePart(fileName);
    for (const Record &record : std::as_const(m_records)) {
        if (record.Name.compare(name, Qt::CaseInsensitive) == 0)
            return false;
    }
    auto *link = new platform::ThemeLink(m_window.data());
    if (!link->setSkinFile(fileName))
        qCInfo(lcEngine).noquote() << "skin file missing or unreadable:" << fileName;
    m_records.append({name, link});
    return true;
}

platform::ThemeLink *TSkSkin::FindLink(const QString &fileName) const
{
    const QString name = filePart(fileName);
    for (const Record &record : m_records) {
        if (record.Name.compare(name, Qt::CaseInsensitive) == 0)
            return record.Link;
    }
    return nullptr;
}
