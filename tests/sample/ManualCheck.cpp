#include "ManualCheck.h"

#include "platform/IniFile.h"
#include "platform/Text.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>

#include <functional>

namespace {

const QString kIndexFile = QStringLiteral("file.ind");
const QString kShowFile = QStringLiteral("struct_show.txt");
const QStringList kStructFiles = {QStringLiteral("struct_main.txt"), kShowFile,
                                  QStringLiteral("struct_about.txt")};

bool isTextFile(const QString &name)
{
    // Skins are Qt style sheets, read by Qt itself: ASCII or UTF-8, any line end.
    static const QStringList kSuffixes = {".txt", ".htm", ".html", ".css", ".ind"};
    for (const QString &suffix : kSuffixes) {
        if (name.endsWith(suffix))
            return true;
    }
    return false;
}

// Commands whose first parameter names a control of the engine that runs them.
bool takesControl(const QString &name)
{
    static const QSet<QString> kNames = {"html_load",
                                         "html_back",
                                         "html_forward",
                                         "html_go_history",
                                         "html_go_top",
                                         "html_copy",
                                         "html_sel_all",
                                         "html_print",
                                         "html_preview",
                                         "tree_go",
                                         "tree_next",
                                         "tree_prev",
                                         "tree_back",
                                         "tree_forward",
                                         "tree_go_history",
                                         "tree_expand",
                                         "tree_collapse",
                                         "tree_show_or_hide",
                                         "menu_show",
                                         "click_but",
                                         "click_spbut",
                                         "visible",
                                         "enabled",
                                         "panel_show_or_hide",
                                         "split_show_or_hide",
                                         "button_show_or_hide",
                                         "spbutton_show_or_hide",
                                         "spbutton_down",
                                         "sbutton_down"};
    return kNames.contains(name);
}

// Keys whose value names an object that must be built before the section.
bool namesEarlierObject(const QString &key)
{
    static const QSet<QString> kKeys = {"html_title",    "link_html", "link_tree", "label_title",
                                        "menu",          "but_next",  "but_prev",  "but_next_tree",
                                        "but_prev_tree", "min_link",  "track_bar"};
    return kKeys.contains(key);
}

// Types whose action is a template for the value the reader picks.
bool takesValue(const QString &type)
{
    static const QSet<QString> kTypes = {"tree", "tree_ex", "list_box", "combo_box", "check_box"};
    return kTypes.contains(type);
}

bool isContainer(const QString &type)
{
    return type == QLatin1String("panel") || type == QLatin1String("parent_panel") ||
           type == QLatin1String("scroll_box") || type == QLatin1String("flash");
}

QString folderOf(const QString &relative)
{
    const qsizetype slash = relative.lastIndexOf(u'/');
    return slash < 0 ? QString() : relative.left(slash + 1);
}

// The targets a page's links, pictures and style sheets name, as written.
QStringList linkTargets(const QString &html)
{
    static const QRegularExpression re(
        QStringLiteral(R"re(\b(?:href|src)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+)))re"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        for (int group = 1; group <= 3; ++group) {
            if (m.capturedStart(group) >= 0) {
                out.append(m.captured(group));
                break;
            }
        }
    }
    return out;
}

QSet<QString> anchorNames(const QString &html)
{
    static const QRegularExpression re(QStringLiteral(R"re(\b(?:name|id)\s*=\s*"([^"]*)")re"),
                                       QRegularExpression::CaseInsensitiveOption);
    QSet<QString> out;
    for (auto it = re.globalMatch(html); it.hasNext();)
        out.insert(it.next().captured(1));
    return out;
}

QString pageTitle(const QString &html)
{
    static const QRegularExpression re(QStringLiteral("<title>(.*?)</title>"),
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::DotMatchesEverythingOption);
    return re.match(html).captured(1).trimmed();
}

bool isExternal(const QString &target)
{
    // A scheme of two letters or more ("http:", "mailto:"). A drive letter is
    // none: an absolute name like "C:\x" is checked, and fails, as a file.
    static const QRegularExpression re(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return re.match(target).hasMatch();
}

// An action text cut as the dispatcher cuts it: "//" between commands, "*"
// between parts, empty parts dropped, names lower-cased.
QList<QStringList> splitAction(const QString &action)
{
    QList<QStringList> out;
    for (const QString &piece : action.split(QStringLiteral("//"))) {
        QStringList parts = piece.split(u'*', Qt::SkipEmptyParts);
        if (piece.startsWith(u'*') || parts.isEmpty())
            continue;
        parts[0] = parts[0].toLower();
        out.append(parts);
    }
    return out;
}

} // namespace

ManualCheck::ManualCheck(const QString &nativeFolder)
    : m_folder(QDir(nativeFolder).absolutePath() + u'/')
{
    for (QDirIterator it(m_folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString relative = it.next().mid(m_folder.size());
        m_files.append(relative);
        m_lower.insert(relative.toLower(), relative);
    }
    m_files.sort();
}

QByteArray ManualCheck::bytes(const QString &relative) const
{
    QFile file(m_folder + m_lower.value(relative.toLower(), relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString ManualCheck::text(const QString &relative) const
{
    return platform::decode1251(bytes(relative));
}

bool ManualCheck::exists(const QString &relative) const
{
    // The viewer finds archive entries and disk files without regard to case.
    return !relative.isEmpty() && m_lower.contains(relative.toLower());
}

QString ManualCheck::resolve(const QString &folder, const QString &name) const
{
    QString path = folder + QString(name).replace(u'\\', u'/');
    path = QDir::cleanPath(path);
    if (path.startsWith(QLatin1String("../")) || path == QLatin1String("..") ||
        path.startsWith(u'/'))
        return {};
    return path;
}

QStringList ManualCheck::FileNames() const
{
    // "@2x" marks a picture drawn for dense screens.
    static const QRegularExpression re(QStringLiteral("^[a-z0-9_./-]+(@[2-9]x[a-z0-9_.-]*)?$"));
    QStringList out;
    for (const QString &file : m_files) {
        if (!re.match(file).hasMatch())
            out.append(file + QStringLiteral(": file names must be lower-case ASCII"));
    }
    return out;
}

QStringList ManualCheck::TextEncoding() const
{
    QStringList out;
    for (const QString &file : m_files) {
        if (!isTextFile(file))
            continue;
        const QByteArray data = bytes(file);
        for (qsizetype i = 0; i < data.size(); ++i) {
            const char c = data.at(i);
            QString problem;
            if (i == 0 && data.startsWith("\xEF\xBB\xBF"))
                problem = QStringLiteral("a UTF-8 byte order mark");
            else if (c == '\0')
                problem = QStringLiteral("a zero byte");
            else if (quint8(c) == 0x98) // the one byte Windows-1251 leaves undefined
                problem = QStringLiteral("byte 0x98, which is not Windows-1251");
            else if (c == '\n' && (i == 0 || data.at(i - 1) != '\r'))
                problem = QStringLiteral("a line ending in LF without CR");
            else if (c == '\r' && (i + 1 == data.size() || data.at(i + 1) != '\n'))
                problem = QStringLiteral("a CR without LF");
            if (!problem.isEmpty()) {
                const qsizetype line = data.left(i).count('\n') + 1;
                out.append(QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(problem));
                break;
            }
        }
    }
    return out;
}

QStringList ManualCheck::pages() const
{
    QStringList out;
    for (const QString &file : m_files) {
        if (file.startsWith(QLatin1String("pages/")) &&
            (file.endsWith(QLatin1String(".htm")) || file.endsWith(QLatin1String(".html"))))
            out.append(file);
    }
    return out;
}

QStringList ManualCheck::PageIndex() const
{
    if (!exists(kIndexFile))
        return {kIndexFile + QStringLiteral(": missing")};
    QStringList out;
    QSet<QString> listed;
    const QStringList lines = text(kIndexFile).split(QStringLiteral("\r\n"));
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.isEmpty())
            continue;
        const QString where = QStringLiteral("%1:%2: ").arg(kIndexFile).arg(i + 1);
        const qsizetype mark = line.indexOf(QStringLiteral("#:#"));
        if (mark < 0) {
            out.append(where + QStringLiteral("no \"#:#\" between file and title"));
            continue;
        }
        const QString page = resolve(QString(), line.left(mark));
        const QString title = line.mid(mark + 3);
        if (!exists(page)) {
            out.append(where + line.left(mark) + QStringLiteral(" does not exist"));
            continue;
        }
        if (listed.contains(page.toLower()))
            out.append(where + page + QStringLiteral(" is listed twice"));
        listed.insert(page.toLower());
        if (title.isEmpty() || title.contains(u'='))
            out.append(where + QStringLiteral("the title must be given and hold no \"=\""));
        else if (pageTitle(text(page)) != title)
            out.append(where + QStringLiteral("title \"%1\" differs from the page's \"%2\"")
                                   .arg(title, pageTitle(text(page))));
    }
    for (const QString &page : pages()) {
        if (!listed.contains(page.toLower()))
            out.append(page + QStringLiteral(": not listed in ") + kIndexFile);
    }
    return out;
}

QString ManualCheck::treeFile() const
{
    const platform::IniFile ini = platform::IniFile::fromBytes(bytes(kShowFile));
    return resolve(QString(), ini.readString(QStringLiteral("tree"), QStringLiteral("load")));
}

QStringList ManualCheck::ContentsTree() const
{
    const QString file = treeFile();
    if (!exists(file))
        return {kShowFile + QStringLiteral(": the tree \"tree\" loads no existing file")};
    QStringList out;
    QSet<QString> linked;
    int depth = -1;
    const QStringList lines = text(file).split(QStringLiteral("\r\n"));
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.isEmpty() && i + 1 == lines.size())
            break; // the line break that ends the file
        const QString where = QStringLiteral("%1:%2: ").arg(file).arg(i + 1);
        int level = 0;
        while (level < line.size() && (line.at(level) == u'\t' || line.at(level) == u' '))
            ++level;
        if (line.trimmed().isEmpty()) {
            out.append(where + QStringLiteral("a blank line makes an empty node"));
            continue;
        }
        if (level > depth + 1)
            out.append(where +
                       QStringLiteral("indented more than one level below the node before"));
        depth = qMin(level, depth + 1);
        const QStringList fields = line.mid(level).split(u';');
        const QString link = fields.value(1).trimmed();
        const QString icon = fields.mid(2).join(u';');
        if (link.isEmpty()) {
            out.append(where + QStringLiteral("no link"));
        } else if (!exists(resolve(QString(), link))) {
            out.append(where + link + QStringLiteral(" does not exist"));
        } else {
            // The page view selects the first node of a link, so one page, one node.
            const QString key = resolve(QString(), link).toLower();
            if (linked.contains(key))
                out.append(where + link + QStringLiteral(" is linked twice"));
            linked.insert(key);
        }
        if (!icon.isEmpty() && !exists(resolve(QString(), icon)))
            out.append(where + QStringLiteral("icon ") + icon + QStringLiteral(" does not exist"));
    }
    for (const QString &page : pages()) {
        if (!linked.contains(page.toLower()))
            out.append(page + QStringLiteral(": not in the contents tree ") + file);
    }
    return out;
}

QStringList ManualCheck::PageLinks() const
{
    QStringList out;
    for (const QString &page : pages()) {
        const QString html = text(page);
        for (const QString &target : linkTargets(html)) {
            if (target.startsWith(u'$') || isExternal(target))
                continue;
            const qsizetype hash = target.indexOf(u'#');
            const QString name = hash < 0 ? target : target.left(hash);
            const QString anchor = hash < 0 ? QString() : target.mid(hash + 1);
            const QString file = name.isEmpty() ? page : resolve(folderOf(page), name);
            if (!exists(file)) {
                out.append(page + QStringLiteral(": ") + target +
                           QStringLiteral(" does not exist"));
                continue;
            }
            if (!anchor.isEmpty() && !anchorNames(text(file)).contains(anchor))
                out.append(page + QStringLiteral(": ") + target +
                           QStringLiteral(": no anchor of that name"));
        }
    }
    return out;
}

QList<ManualCheck::Command> ManualCheck::commands() const
{
    QList<Command> out;
    // A structure file runs its commands on its own objects, except those after
    // go_main, which the main window runs on the page view; a page's "$" links
    // run on the page view.
    auto addAction = [&out](const QString &where, const QString &engine, const QString &action,
                            bool isTemplate) {
        QString runsOn = engine;
        for (const QStringList &parts : splitAction(action)) {
            out.append({where, runsOn, parts.first(), parts.mid(1), isTemplate});
            if (parts.first() == QLatin1String("go_main"))
                runsOn = kShowFile;
        }
    };
    for (const QString &structFile : kStructFiles) {
        const platform::IniFile ini = platform::IniFile::fromBytes(bytes(structFile));
        for (const QString &section : ini.sectionNames()) {
            const QString type = ini.readString(section, QStringLiteral("type")).toLower();
            for (const QString &key : ini.keyNames(section)) {
                const QString lower = key.toLower();
                QString value = ini.readString(section, key);
                if (type == QLatin1String("hot_key")) {
                    if (lower == QLatin1String("type"))
                        continue;
                    value = value.mid(value.indexOf(u'*') + 1); // after the shortcut
                } else if (lower != QLatin1String("action") &&
                           lower != QLatin1String("glob_action") &&
                           lower != QLatin1String("last_action")) {
                    continue;
                }
                const QString where = QStringLiteral("%1[%2] %3").arg(structFile, section, key);
                // A template gets the reader's choice put in or appended.
                const bool isTemplate = lower == QLatin1String("glob_action") ||
                                        (lower == QLatin1String("action") && takesValue(type));
                // Menus list one action per item, separated by ";".
                for (const QString &action : value.split(u';'))
                    addAction(where, structFile, action, isTemplate);
            }
        }
    }
    for (const QString &page : pages()) {
        for (const QString &target : linkTargets(text(page))) {
            if (target.startsWith(u'$'))
                addAction(page, kShowFile, target.mid(1), false);
        }
    }
    return out;
}

QStringList ManualCheck::Commands() const
{
    QStringList out;
    QHash<QString, platform::IniFile> engines;
    for (const QString &structFile : kStructFiles)
        engines.insert(structFile, platform::IniFile::fromBytes(bytes(structFile)));
    for (const Command &command : commands()) {
        const QString where =
            command.Where + QStringLiteral(": ") + command.Name + QStringLiteral(": ");
        const platform::IniFile &ini = engines[command.Engine];
        const QString control = command.Params.value(0);
        if (takesControl(command.Name) && !ini.sectionExists(control))
            out.append(where +
                       QStringLiteral("no object \"%1\" in %2").arg(control, command.Engine));
        if (command.Name == QLatin1String("html_load") ||
            command.Name == QLatin1String("tree_go")) {
            const QString file = command.Params.value(1);
            const bool filledIn =
                command.Template && (file.isEmpty() || file.contains(QLatin1String("insert")));
            if (!filledIn && !exists(resolve(QString(), file.left(file.indexOf(u'#')))))
                out.append(where + file + QStringLiteral(" does not exist"));
        }
        if (command.Name == QLatin1String("form_show") && !exists(resolve(QString(), control)))
            out.append(where + control + QStringLiteral(" does not exist"));
    }
    return out;
}

QStringList ManualCheck::buildOrder(const platform::IniFile &ini, QStringList *unbuilt)
{
    // As the engine builds: form sections, popup menus, then every object on
    // the page in file order, each followed at once by what it holds.
    QStringList order;
    QStringList rest;
    QString formName;
    for (const QString &section : ini.sectionNames()) {
        const QString type = ini.readString(section, QStringLiteral("type")).toLower();
        if (type == QLatin1String("form")) {
            order.append(section);
            formName = section.toLower();
        }
    }
    for (const QString &section : ini.sectionNames()) {
        const QString type = ini.readString(section, QStringLiteral("type")).toLower();
        if (type == QLatin1String("pop_menu"))
            order.append(section);
        else if (type != QLatin1String("form"))
            rest.append(section);
    }
    auto masterOf = [&ini](const QString &section) {
        return ini.readString(section, QStringLiteral("master")).toLower();
    };
    std::function<void(const QString &)> build = [&](const QString &section) {
        order.append(section);
        rest.removeOne(section);
        if (!isContainer(ini.readString(section, QStringLiteral("type")).toLower()))
            return;
        for (qsizetype i = 0; i < rest.size();) {
            if (masterOf(rest.at(i)) == section.toLower())
                build(rest.at(i)); // removes it, so the index stays
            else
                ++i;
        }
    };
    for (qsizetype i = 0; i < rest.size();) {
        const QString master = masterOf(rest.at(i));
        if (master.isEmpty() || master == formName)
            build(rest.at(i));
        else
            ++i;
    }
    if (unbuilt)
        *unbuilt = rest;
    return order;
}

QStringList ManualCheck::StructureFiles() const
{
    QStringList out;
    for (const QString &structFile : kStructFiles) {
        if (!exists(structFile)) {
            out.append(structFile + QStringLiteral(": missing"));
            continue;
        }
        const platform::IniFile ini = platform::IniFile::fromBytes(bytes(structFile));
        QStringList unbuilt;
        const QStringList order = buildOrder(ini, &unbuilt);
        if (order.isEmpty() || ini.readString(order.first(), QStringLiteral("type")).toLower() !=
                                   QLatin1String("form"))
            out.append(structFile + QStringLiteral(": no form section"));
        for (const QString &section : unbuilt)
            out.append(structFile + u'[' + section +
                       QStringLiteral("]: its master is never built or cannot hold objects"));
        QSet<QString> built;
        for (const QString &section : order) {
            const QString where = structFile + u'[' + section + QStringLiteral("]: ");
            const QString type = ini.readString(section, QStringLiteral("type")).toLower();
            for (const QString &key : ini.keyNames(section)) {
                const QString lower = key.toLower();
                const QString value = ini.readString(section, key);
                if (namesEarlierObject(lower) && type != QLatin1String("pop_menu") &&
                    !built.contains(value.toLower()))
                    out.append(
                        where + key +
                        QStringLiteral(" names \"%1\", which is not built before it").arg(value));
                if (lower == QLatin1String("load") && !exists(resolve(QString(), value)))
                    out.append(where + QStringLiteral("load: ") + value +
                               QStringLiteral(" does not exist"));
                if (lower == QLatin1String("skin") && type == QLatin1String("form") &&
                    !exists(resolve(QString(), value.section(u'*', 0, 0))))
                    out.append(where + QStringLiteral("skin: ") + value +
                               QStringLiteral(" does not exist"));
            }
            built.insert(section.toLower());
        }
    }
    // The objects the main window looks up by name on the page view.
    const platform::IniFile show = platform::IniFile::fromBytes(bytes(kShowFile));
    const QList<QPair<QString, QStringList>> required = {
        {"tree", {"tree"}},
        {"html_see", {"html"}},
        {"but_tree_open", {"sp_button", "button"}},
        {"but_tree_hide", {"sp_button", "button"}}};
    for (const auto &[name, allowed] : required) {
        if (!allowed.contains(show.readString(name, QStringLiteral("type")).toLower()))
            out.append(kShowFile + QStringLiteral(": needs the object \"%1\" of type %2")
                                       .arg(name, allowed.join(QStringLiteral(" or "))));
    }
    return out;
}

QStringList ManualCheck::DensePictures() const
{
    static const QRegularExpression dense(QStringLiteral("^(.*)@([2-9])x(\\.[^./]+)?$"));
    QStringList out;
    for (const QString &file : m_files) {
        const QRegularExpressionMatch m = dense.match(file);
        if (!m.hasMatch())
            continue;
        const QString base = m.captured(1) + m.captured(3);
        if (!m_files.contains(base)) {
            out.append(QStringLiteral("%1: no picture %2 beside it").arg(file, base));
            continue;
        }
        const int scale = m.captured(2).toInt();
        const QSize big = QImageReader(m_folder + u'/' + file).size();
        const QSize small = QImageReader(m_folder + u'/' + base).size();
        if (!big.isValid() || !small.isValid() || big != small * scale)
            out.append(QStringLiteral("%1: %2x%3, not %4 times the %5x%6 of %7")
                           .arg(file)
                           .arg(big.width())
                           .arg(big.height())
                           .arg(scale)
                           .arg(small.width())
                           .arg(small.height())
                           .arg(base));
    }
    return out;
}

QStringList ManualCheck::All() const
{
    return FileNames() + TextEncoding() + PageIndex() + ContentsTree() + PageLinks() + Commands() +
           StructureFiles() + DensePictures();
}
