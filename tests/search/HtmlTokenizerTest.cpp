#include "search/HtmlTokenizer.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

QString visible(QString s)
{
    s.replace(u'\r', QStringLiteral("\\r"));
    s.replace(u'\n', QStringLiteral("\\n"));
    return s;
}

// Records every event as one entry: B block, T tag [attributes], X text,
// C comment, S script, D declaration, E error code@position.
class Recorder
{
public:
    explicit Recorder(TLegHtmlParser &parser, bool blocks = false)
    {
        if (blocks)
            parser.SetOnBlock([this](TLegHtmlParser &, const QString &t) { add("B:" + t); });
        parser.SetOnTag([this](TLegHtmlParser &, const QString &name, const QStringList &attrs) {
            add("T:" + name + (attrs.isEmpty() ? QString() : "[" + attrs.join(',') + "]"));
        });
        parser.SetOnText([this](TLegHtmlParser &, const QString &t) { add("X:" + t); });
        parser.SetOnComment([this](TLegHtmlParser &, const QString &t) { add("C:" + t); });
        parser.SetOnScript([this](TLegHtmlParser &, const QString &t) { add("S:" + t); });
        parser.SetOnDTDTag([this](TLegHtmlParser &, const QString &t) { add("D:" + t); });
        parser.SetOnError([this](TLegHtmlParser &, qint32 code, qint32 pos, bool &) {
            add(QStringLiteral("E:%1@%2").arg(code).arg(pos));
        });
    }
    void add(const QString &entry) { m_log << visible(entry); }
    std::string log() const { return m_log.join(" | ").toStdString(); }

private:
    QStringList m_log;
};

struct Case
{
    const char *input; // UTF-8; loaded as a whole page (so it ends with CR LF)
    const char *expected;
};

std::string tokenize(const char *input, bool blocks = false, bool translate = true)
{
    TLegHtmlParser parser;
    parser.SetTranslate(translate);
    parser.SetContentText(QString::fromUtf8(input));
    Recorder recorder(parser, blocks);
    parser.StartParse();
    return recorder.log();
}

} // namespace

TEST(HtmlParser, ReportsTokensInSourceOrder)
{
    const Case cases[] = {
        {"<p>  Hello&nbsp;world  </p>", "T:p | X:Hello\u00A0world | T:/p"},
        {"just text", "X:just text"},
        {"<td nowrap width=5>", "T:td[width=5]"},
        {"<TD NoWrap Width = \"5\"  >", "T:TD[Width=5]"},
        {"<a href=\"it's\" title='say \"hi\"'>", "T:a[href=it's,title=say \"hi\"]"},
        {"<img src=\"a b.gif\" alt=&lt;x&gt; empty=>", "T:img[src=a b.gif,alt=<x>,empty=]"},
        {"<br/><br />", "T:br/ | T:br"},
        {"<a\thref=x\r\ntarget=_blank>", "T:a[href=x,target=_blank]"},
        {"< p>", "T:p"},
        {"<>", "T:"},
        {"<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\">",
         "D:DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\""},
        {"< !doctype&amp;>", "D:doctype&"},
        {"<!-- plain -->", "C: plain "},
        {"<!-- a -- b -->", "C: a -- b "},
        {"<!---->", "C:"},
        {"<!-- x ---  >after", "C: x  | X:after"},
        {"<!--<p>not a tag</p>-->", "C:<p>not a tag</p>"},
        {"<script>if (a < b) go();</script>", "T:script | S:if (a < b) go(); | T:/script"},
        {"<SCRIPT language=js>x</sCrIpT>", "T:SCRIPT[language=js] | S:x | T:/sCrIpT"},
        {"<script></script>", "T:script | S: | T:/script"},
        {"<script>\n<!--\nvar a = 1 < 2;\n// -->\n</script>",
         "T:script | S:\\r\\nvar a = 1 < 2;\\r\\n//  | T:/script"},
        {"<script>a = '</scrip>';</script>", "T:script | S:a = '</scrip>'; | T:/script"},
        {"<b>Ремонт</b> двигателя &laquo;ВАЗ&raquo;", "T:b | X:Ремонт | T:/b | X:двигателя «ВАЗ»"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(tokenize(c.input), c.expected) << c.input;
}

TEST(HtmlParser, TranslateOffKeepsEntitiesAsWritten)
{
    EXPECT_EQ(tokenize("<a title=\"&amp;\">&lt;b&gt;", false, false),
              "T:a[title=&amp;] | X:&lt;b&gt;");
}

TEST(HtmlParser, ReportsErrorsWithTheirPositions)
{
    // Pages end with CR LF, so "end + 1" is the input's length + 3.
    const Case cases[] = {
        {"<", "E:1@4"},
        {"<p", "E:1@5"},
        {"<p class", "E:1@11"},
        {"<p class=", "E:1@12"},
        {"<a href=\"x>", "E:1@14"},
        {"<a href=x", "E:1@12"},
        {"<!DOCTYPE html", "E:1@17"},
        {"<!-- never closed", "E:2@20"},
        {"<!-- x --", "E:1@12"},
        {"<!-- x -- y", "E:2@14"},
        {"<a <b>x", "E:4@4 | X:>x | E:5@6"},
        {"<!x <y>", "E:4@5 | X:> | E:5@7"},
        {"<p>давление > 2 бар</p>", "T:p | X:давление > 2 бар | E:5@13 | T:/p"},
        {"a > b > c", "X:a > b > c | E:5@3"},
        // Runs longer than one block of the vector search.
        {"0123456789abcdef&amp;gh>ij>kl<b>x>y",
         "X:0123456789abcdef&gh>ij>kl | E:5@24 | T:b | X:x>y | E:5@34"},
        {"0123456>9<b>&amp;", "X:0123456>9 | E:5@8 | T:b | X:&"},
        {"<a =x>", "T:a | X:x> | E:5@6"},
        {"<script>var a;", "T:script | E:6@17"},
        {"<script>   ", "T:script | E:6@14"},
        {"<script>", "T:script | E:6@11"},
        {"<script><!-- x", "T:script | E:2@17"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(tokenize(c.input), c.expected) << c.input;
}

TEST(HtmlParser, ErrorWithoutHandlerIsSilent)
{
    TLegHtmlParser parser;
    parser.SetContentText(QStringLiteral("<p>a > b<a <b>"));
    QStringList texts;
    parser.SetOnText([&](TLegHtmlParser &, const QString &t) { texts << t; });
    parser.StartParse();
    EXPECT_EQ(texts, QStringList({"a > b", ">"}));
}

TEST(HtmlParser, AbortFromErrorHandlerEndsTheRun)
{
    TLegHtmlParser parser;
    parser.SetContentText(QStringLiteral("<p>a<b <c>d<e>"));
    Recorder recorder(parser);
    parser.SetOnError([&](TLegHtmlParser &, qint32 code, qint32 pos, bool &abort) {
        recorder.add(QStringLiteral("E:%1@%2").arg(code).arg(pos));
        abort = true;
    });
    parser.StartParse();
    EXPECT_EQ(recorder.log(), "T:p | X:a | E:4@8");
}

TEST(HtmlParser, BlocksAndLineEndsAfterMarkup)
{
    const Case cases[] = {
        // CR LF right after a tag or comment belongs to the markup.
        {"<p>\nText", "B:<p> | T:p | B:Text | X:Text"},
        {"<p>\n\nText", "B:<p> | T:p | B:\\r\\nText | X:Text"},
        {"<!--c-->\nX", "B:<!--c--> | C:c | B:X | X:X"},
        {"  Hello  \n<br>", "B:  Hello   | X:Hello | B:<br> | T:br"},
        {"<p> \n</p>", "B:<p> | T:p | B:  | B:</p> | T:/p"},
        {"\n\n<p>", "B:\\r\\n | B:<p> | T:p"},
        {"<script>\nx\n</script>", "B:<script> | T:script | B:x\\r\\n | S:x\\r\\n | B:</script> | "
                                   "T:/script"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(tokenize(c.input, true), c.expected) << c.input;
}

TEST(HtmlParser, LoneLineFeedAfterTagIsNotSkipped)
{
    TLegHtmlParser parser;
    parser.SetContent({"<p>\nText", "<br>\r"});
    Recorder recorder(parser, true);
    parser.StartParse();
    EXPECT_EQ(recorder.log(), "B:<p> | T:p | B:\\nText | X:Text | B:<br> | T:br | B:\\r");
}

TEST(DecodeEntities, ReplacesReferencesThatNameACharacter)
{
    struct EntityCase
    {
        const char16_t *input, *expected;
    } cases[] = {
        {u"&amp;&quot;&lt;&gt;", u"&\"<>"},
        {u"&nbsp;&copy;&szlig;&yuml;", u"\u00A0\u00A9\u00DF\u00FF"},
        {u"&eacute;&Eacute;&ETH;&eth;", u"\u00E9\u00C9\u00D0\u00F0"},
        {u"&EACUTE;", u"&EACUTE;"},
        {u"&#1072;&#1041;", u"аБ"},
        {u"&#x41;&#X42;&#x430;&#xfF;", u"ABа\u00FF"},
        {u"&#65", u"&#65"},
        {u"&#128512;", u"\U0001F600"},
        {u"&#0065;", u"A"},
        {u"&bogus; x", u"&bogus; x"},
        {u"a & b", u"a & b"},
        {u"a & b &lt; c", u"a & b < c"},
        {u"&&amp;", u"&&"},
        {u"tom&jerry;", u"tom&jerry;"},
        {u"&;&#;&#x;&#-5;&#+5;&# 5;&#5a;&#xG;", u"&;&#;&#x;&#-5;&#+5;&# 5;&#5a;&#xG;"},
        {u"&#0;&#xD800;&#x110000;&#xFFFE;&#99999999999;",
         u"&#0;&#xD800;&#x110000;&#xFFFE;&#99999999999;"},
        {u"&amp;amp;", u"&amp;"},
        {u"", u""},
        {u"no entities", u"no entities"},
    };
    for (const EntityCase &c : cases) {
        EXPECT_EQ(DecodeEntities(QStringView(c.input)).toStdString(),
                  QString::fromUtf16(c.expected).toStdString())
            << QString::fromUtf16(c.input).toStdString();
    }
}

TEST(DecodeEntities, TableHoldsTheLatin1NamesInCodeOrder)
{
    const auto &names = EntityNames();
    EXPECT_EQ(names[160], "nbsp");
    EXPECT_EQ(names[173], "shy");
    EXPECT_EQ(names[208], "ETH");
    EXPECT_EQ(names[223], "szlig");
    EXPECT_EQ(names[224], "agrave");
    EXPECT_EQ(names[255], "yuml");
    EXPECT_EQ(names[34], "quot");
    int named = 0;
    for (const auto &name : names)
        named += name.empty() ? 0 : 1;
    EXPECT_EQ(named, 96 + 4);
}

TEST(HtmlParser, StopParseLetsTheCurrentTokenFinish)
{
    struct StopCase
    {
        const char *stopAt; // the entry whose event calls StopParse
        const char *expected;
    } cases[] = {
        {"B:one", "B:<p> | T:p | B:one | X:one"},
        {"X:one", "B:<p> | T:p | B:one | X:one"},
        {"B:<p>", "B:<p> | T:p"},
        {"B:<!--c-->", "B:<p> | T:p | B:one | X:one | B:<!--c--> | C:c"},
        {"E:5@16", "B:<p> | T:p | B:one | X:one | B:<!--c--> | C:c | B:x>y | X:x>y | E:5@16"},
    };
    for (const StopCase &c : cases) {
        TLegHtmlParser parser;
        parser.SetContentText(QStringLiteral("<p>one<!--c-->x>y<i>two</i>"));
        QStringList log;
        const QString stopAt = QString::fromUtf8(c.stopAt);
        auto note = [&](TLegHtmlParser &p, const QString &entry) {
            log << entry;
            if (entry == stopAt)
                p.StopParse();
        };
        parser.SetOnBlock([&](TLegHtmlParser &p, const QString &t) { note(p, "B:" + t); });
        parser.SetOnTag(
            [&](TLegHtmlParser &p, const QString &t, const QStringList &) { note(p, "T:" + t); });
        parser.SetOnText([&](TLegHtmlParser &p, const QString &t) { note(p, "X:" + t); });
        parser.SetOnComment([&](TLegHtmlParser &p, const QString &t) { note(p, "C:" + t); });
        parser.SetOnError([&](TLegHtmlParser &p, qint32 code, qint32 pos, bool &) {
            note(p, QStringLiteral("E:%1@%2").arg(code).arg(pos));
        });
        parser.StartParse();
        EXPECT_EQ(log.join(" | ").toStdString(), c.expected) << c.stopAt;
    }
}

TEST(HtmlParser, StopBeforeARunDoesNotStopIt)
{
    TLegHtmlParser parser;
    parser.SetContentText(QStringLiteral("<p>a</p>"));
    Recorder recorder(parser);
    parser.StopParse();
    parser.StartParse();
    EXPECT_EQ(recorder.log(), "T:p | X:a | T:/p");
}

TEST(HtmlParserContent, LoadsAPageLikeALineList)
{
    TLegHtmlParser parser;
    parser.SetContentText(QStringLiteral("a\nb\rc\r\nd"));
    EXPECT_EQ(parser.Content(), QStringList({"a", "b", "c", "d"}));
    parser.SetContentText(QStringLiteral("a\r\n\r\n"));
    EXPECT_EQ(parser.Content(), QStringList({"a", ""}));
    parser.SetContentText(QString());
    EXPECT_TRUE(parser.Content().isEmpty());

    // Positions count in the text with CR LF line ends.
    parser.SetContentText(QStringLiteral("a\nb>"));
    Recorder recorder(parser);
    parser.StartParse();
    EXPECT_EQ(recorder.log(), "X:a\\r\\nb> | E:5@5");
}

TEST(HtmlParserContent, RunsAgainOnTheKeptTextUntilContentChanges)
{
    TLegHtmlParser parser;
    parser.SetContent({"<p>one</p>"});
    EXPECT_EQ(parser.Content(), QStringList({"<p>one</p>"}));
    QStringList texts;
    parser.SetOnText([&](TLegHtmlParser &, const QString &t) { texts << t; });
    parser.StartParse();
    parser.SetEndParser(true);
    parser.StartParse(); // the kept text
    EXPECT_EQ(texts, QStringList({"one", "one"}));

    parser.SetContent({"two"});
    parser.StartParse(); // EndParser: the kept text was dropped with the change
    EXPECT_EQ(texts.size(), 2);
    parser.SetEndParser(false);
    parser.StartParse();
    EXPECT_EQ(texts.last(), "two");
}

TEST(HtmlParserContent, EventsMayChangeContentOrStartAgainSafely)
{
    TLegHtmlParser parser;
    parser.SetContentText(QStringLiteral("<p>one</p><p>two</p>"));
    QStringList texts;
    parser.SetOnText([&](TLegHtmlParser &p, const QString &t) {
        texts << t;
        p.SetContent({"<b>other</b>"}); // the running pass keeps its own text
        p.StartParse();                 // ignored while running
    });
    parser.StartParse();
    EXPECT_EQ(texts, QStringList({"one", "two"}));
    parser.StartParse();
    EXPECT_EQ(texts.last(), "other");
}

TEST(HtmlParser, EmptyTextFiresNothing)
{
    TLegHtmlParser parser;
    Recorder recorder(parser, true);
    parser.StartParse();
    parser.SetContent({});
    parser.StartParse();
    EXPECT_EQ(recorder.log(), "");
}

TEST(HtmlParser, OwnerFreesTheTokenizer)
{
    QObject owner;
    auto *parser = new TLegHtmlParser(&owner);
    EXPECT_EQ(parser->parent(), &owner);
    EXPECT_TRUE(parser->Translate());
    EXPECT_FALSE(parser->EndParser());
}
