// Tokenizes a generated corpus of manual pages the way the full-text search
// does (one tokenizer per page, only OnText set) and compares the speed with
// grep reading the same bytes from a file.
#include "platform/Text.h"
#include "search/HtmlTokenizer.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr qsizetype kCorpusBytes = 60 * 1000 * 1000;
constexpr int kRounds = 3;

const char16_t *const kWords[] = {
    u"двигатель", u"головку",   u"блока",      u"цилиндров", u"болт",      u"момент",
    u"затяжки",   u"снимите",   u"установите", u"проверьте", u"зазор",     u"клапанов",
    u"масло",     u"фильтр",    u"ремень",     u"привода",   u"насос",     u"охлаждающей",
    u"жидкости",  u"тормозной", u"суппорт",    u"колодки",   u"датчик",    u"давления",
    u"подшипник", u"ступицы",   u"рулевой",    u"тяги",      u"и",         u"в",
    u"на",        u"с",         u"до",         u"после",     u"осторожно", u"кольцо",
    u"прокладку", u"гайки",     u"шайбу",      u"корпус",    u"крышки",    u"распределительного",
    u"вала",      u"ключом",    u"ВАЗ-2110",   u"M10",       u"рис.",      u"см.",
};

class PageWriter
{
public:
    explicit PageWriter(unsigned seed)
        : m_random(seed)
    {}

    QString page(int number)
    {
        m_out.clear();
        m_out +=
            u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
            u"<html>\r\n<head>\r\n"
            u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\r\n"
            u"<title>";
        sentence(4);
        m_out += u"</title>\r\n<link rel=\"stylesheet\" href=\"..\\css\\manual.css\" "
                 u"type=\"text/css\">\r\n<script language=\"JavaScript\">\r\n<!--\r\n"
                 u"function ShowPic(n) { if (n < 10 && n > 0) window.open('pic' + n + "
                 u"'.htm', 'pic', 'width=640,height=480'); }\r\n// -->\r\n</script>\r\n"
                 u"</head>\r\n<body bgcolor=\"#FFFFFF\" leftmargin=10 topmargin=5>\r\n";
        m_out += QStringLiteral("<h1 align=\"center\">%1. ").arg(number);
        sentence(5);
        m_out += u"</h1>\r\n";
        const int sections = 14 + pick(10);
        for (int i = 0; i < sections; ++i) {
            switch (pick(6)) {
            case 0:
            case 1:
            case 2:
                paragraph();
                break;
            case 3:
                table();
                break;
            case 4:
                picture(number * 100 + i);
                break;
            default:
                list();
                break;
            }
            if (pick(8) == 0)
                m_out += u"<!-- правка от 12.03.2004 -- проверено -->\r\n";
        }
        m_out += u"<hr>\r\n<p class=\"foot\">&copy; Ремонт, 2005</p>\r\n</body>\r\n</html>\r\n";
        return m_out;
    }

private:
    int pick(int n) { return int(m_random() % unsigned(n)); }

    void word() { m_out += QStringView(kWords[pick(int(std::size(kWords)))]); }

    // Sentence text with the entities and numbers a manual has; source lines
    // wrap at about 80 characters like an editor writes them.
    void sentence(int words)
    {
        for (int w = 0; w < words; ++w) {
            if (w > 0) {
                if (m_out.size() - m_lineStart > 80) {
                    m_out += u"\r\n";
                    m_lineStart = m_out.size();
                } else {
                    m_out += u' ';
                }
            }
            switch (pick(24)) {
            case 0:
                m_out += QStringLiteral("%1&nbsp;Н&#183;м").arg(10 + pick(90));
                break;
            case 1:
                m_out += u"&laquo;";
                word();
                m_out += u"&raquo;";
                break;
            case 2:
                m_out += u"&#8212;";
                break;
            case 3:
                m_out += QStringLiteral("%1&deg;C").arg(80 + pick(40));
                break;
            case 4:
                m_out += u"<b>";
                word();
                m_out += u"</b>";
                break;
            case 5:
                m_out += u"давление > 2&nbsp;бар";
                break;
            default:
                word();
            }
        }
    }

    void paragraph()
    {
        m_out += pick(3) == 0 ? u"<p align=\"justify\">" : u"<p>";
        const int sentences = 2 + pick(5);
        for (int s = 0; s < sentences; ++s) {
            sentence(6 + pick(12));
            m_out += u". ";
        }
        m_out += u"</p>\r\n";
        m_lineStart = m_out.size();
    }

    void table()
    {
        m_out += u"<table width=\"100%\" border=1 cellspacing=0 cellpadding=\"3\">\r\n";
        const int rows = 4 + pick(9), columns = 3 + pick(3);
        for (int r = 0; r < rows; ++r) {
            m_out += u"<tr>";
            for (int c = 0; c < columns; ++c) {
                m_out += c == 0 ? u"<td nowrap width=\"30%\" class=t>" : u"<td align=\"center\">";
                if (c == 0)
                    sentence(1 + pick(3));
                else
                    m_out += QStringLiteral("%1,%2").arg(pick(200)).arg(pick(10));
                m_out += u"</td>";
            }
            m_out += u"</tr>\r\n";
        }
        m_out += u"</table>\r\n";
        m_lineStart = m_out.size();
    }

    void picture(int n)
    {
        m_out += QStringLiteral("<p align=\"center\"><a href=\"javascript:ShowPic(%1)\">"
                                "<img src=\"images\\p%1.jpg\" width=320 height=240 border=0 "
                                "alt=\"Рис. %1\"></a><br>\r\n<i>Рис. %1. ")
                     .arg(n);
        sentence(4 + pick(6));
        m_out += u"</i></p>\r\n";
        m_lineStart = m_out.size();
    }

    void list()
    {
        m_out += u"<ol>\r\n";
        const int items = 2 + pick(5);
        for (int i = 0; i < items; ++i) {
            m_out += u"<li>";
            sentence(5 + pick(10));
            m_out += u".</li>\r\n";
            m_lineStart = m_out.size();
        }
        m_out += u"</ol>\r\n";
    }

    std::mt19937 m_random;
    QString m_out;
    qsizetype m_lineStart = 0;
};

double mbPerSecond(qsizetype bytes, qint64 nanoseconds)
{
    return nanoseconds > 0 ? double(bytes) * 1000.0 / double(nanoseconds) : 0.0;
}

// The best of two runs of a program over the corpus file, in nanoseconds; -1
// when it cannot run.
qint64 timeProgram(const QString &program, const QStringList &arguments)
{
    qint64 best = -1;
    for (int i = 0; i < 2; ++i) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        process.setProcessEnvironment(environment);
        QElapsedTimer timer;
        timer.start();
        process.start(program, arguments);
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        const qint64 elapsed = timer.nsecsElapsed();
        if (best < 0 || elapsed < best)
            best = elapsed;
    }
    return best;
}

} // namespace

int main()
{
    std::printf("generating at least %lld MB of manual pages...\n",
                static_cast<long long>(kCorpusBytes / 1000000));
    std::vector<QByteArray> pages; // Windows-1251, as in the archive
    qsizetype total = 0;
    PageWriter writer(2005);
    for (int n = 1; total < kCorpusBytes; ++n) {
        pages.push_back(platform::encode1251(writer.page(n)));
        total += pages.back().size();
    }
    std::printf("%zu pages, %.1f MB (average page %.1f KB)\n", pages.size(), double(total) / 1e6,
                double(total) / double(pages.size()) / 1000.0);

    std::vector<QString> decoded(pages.size());
    qint64 bestDecode = -1, bestLoad = -1, bestParse = -1, bestSearch = -1;
    qint64 texts = 0, textChars = 0;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (std::size_t i = 0; i < pages.size(); ++i)
            decoded[i] = platform::decode1251(pages[i]);
        const qint64 decode = timer.nsecsElapsed();

        // Only OnText, one tokenizer per page, as the search reads pages.
        qint64 load = 0, parse = 0;
        texts = textChars = 0;
        for (const QString &page : decoded) {
            TLegHtmlParser parser;
            parser.SetOnText([&](TLegHtmlParser &, const QString &token) {
                ++texts;
                textChars += token.size();
            });
            timer.restart();
            parser.SetContentText(page);
            load += timer.nsecsElapsed();
            timer.restart();
            parser.StartParse();
            parse += timer.nsecsElapsed();
        }

        // The same with the search's own work on every token (lower case,
        // joined lines, a key that never matches), for scale.
        const QString key = QStringLiteral("нет такого слова");
        timer.restart();
        qint64 found = 0;
        for (const QString &page : decoded) {
            TLegHtmlParser parser;
            parser.SetOnText([&](TLegHtmlParser &p, const QString &token) {
                QString flat = token.toLower();
                flat.remove(u'\r');
                flat.remove(u'\n');
                if (flat.contains(key)) {
                    ++found;
                    p.StopParse();
                }
            });
            parser.SetContentText(page);
            parser.StartParse();
        }
        const qint64 search = timer.nsecsElapsed();
        if (found != 0)
            std::printf("unexpected match\n");

        auto keep = [](qint64 &best, qint64 v) {
            best = best < 0 ? v : std::min(best, v);
        };
        keep(bestDecode, decode);
        keep(bestLoad, load);
        keep(bestParse, parse);
        keep(bestSearch, search);
    }
    std::printf("%lld text tokens, %lld characters\n", static_cast<long long>(texts),
                static_cast<long long>(textChars));
    std::printf("best of %d rounds, MB = 10^6 bytes of Windows-1251 source:\n", kRounds);
    std::printf("  decode1251                   %8.1f ms  %8.1f MB/s\n", bestDecode / 1e6,
                mbPerSecond(total, bestDecode));
    std::printf("  SetContentText               %8.1f ms  %8.1f MB/s\n", bestLoad / 1e6,
                mbPerSecond(total, bestLoad));
    std::printf("  StartParse (OnText only)     %8.1f ms  %8.1f MB/s\n", bestParse / 1e6,
                mbPerSecond(total, bestParse));
    std::printf("  SetContentText + StartParse  %8.1f ms  %8.1f MB/s\n",
                (bestLoad + bestParse) / 1e6, mbPerSecond(total, bestLoad + bestParse));
    std::printf("  with the search's token work %8.1f ms  %8.1f MB/s (content + parse)\n",
                bestSearch / 1e6, mbPerSecond(total, bestSearch));

    QTemporaryFile file;
    if (!file.open()) {
        std::printf("cannot write the corpus file\n");
        return 1;
    }
    for (const QByteArray &page : pages)
        file.write(page);
    file.flush();
    const QString path = file.fileName();
    struct Tool
    {
        const char *label;
        QString program;
        QStringList arguments;
    } tools[] = {
        {"grep -c '<td'",
         QStringLiteral("grep"),
         {QStringLiteral("-c"), QStringLiteral("<td"), path}},
        {"grep -c (no match)",
         QStringLiteral("grep"),
         {QStringLiteral("-c"), QStringLiteral("qqzzxx"), path}},
        {"rg -c '<td'", QStringLiteral("rg"), {QStringLiteral("-c"), QStringLiteral("<td"), path}},
    };
    for (const Tool &tool : tools) {
        if (QStandardPaths::findExecutable(tool.program).isEmpty()) {
            std::printf("  %-28s not installed\n", tool.label);
            continue;
        }
        const qint64 ns = timeProgram(tool.program, tool.arguments);
        if (ns < 0) {
            std::printf("  %-28s failed\n", tool.label);
            continue;
        }
        std::printf("  %-28s %8.1f ms  %8.1f MB/s  (StartParse takes %.1fx its time)\n", tool.label,
                    ns / 1e6, mbPerSecond(total, ns), double(bestParse) / double(ns));
    }
    return 0;
}
