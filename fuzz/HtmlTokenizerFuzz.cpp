// Feeds arbitrary bytes, decoded as a Windows-1251 page, through the HTML
// tokenizer with every event set. The first byte chooses the options: bit 0
// entity decoding, bit 7 loading as a line list instead of a whole page, and
// bits 1-6 the event (counted from 1) that stops or aborts the run.
#include "platform/Text.h"
#include "search/HtmlTokenizer.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool validUtf16(const QString &s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i].isHighSurrogate()) {
            if (i + 1 >= s.size() || !s[i + 1].isLowSurrogate())
                return false;
            ++i;
        } else if (s[i].isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

struct Observer
{
    QString walked;
    bool translate = false;
    int stopAfter = 0;
    int events = 0;
    int blocks = 0;
    qsizetype cursor = 0; // blocks come in source order without overlapping
    bool stopped = false;
    bool ended = false; // an error that leaves nothing to read was reported

    void event(TLegHtmlParser &parser)
    {
        check(!ended);
        if (++events == stopAfter) {
            parser.StopParse();
            stopped = true;
        }
    }
    void block(TLegHtmlParser &parser, const QString &piece)
    {
        check(!stopped); // no later token after a stop
        const qsizetype at = walked.indexOf(piece, cursor);
        check(at >= 0);
        cursor = at + piece.size();
        ++blocks;
        event(parser);
    }
    void text(TLegHtmlParser &parser, const QString &token)
    {
        check(!token.isEmpty());
        check(validUtf16(token));
        if (!translate) {
            check(token.front() > u' ' && token.back() > u' ');
            check(walked.contains(token));
        }
        event(parser);
    }
    void tag(TLegHtmlParser &parser, const QString &name, const QStringList &attributes)
    {
        if (!translate)
            check(!name.contains(u'>') && !name.contains(u' '));
        for (const QString &attribute : attributes)
            check(attribute.contains(u'='));
        event(parser);
    }
    void error(TLegHtmlParser &parser, qint32 code, qint32 pos, bool &abort)
    {
        check(!ended);
        const qint32 past = qint32(walked.size()) + 1;
        check(pos >= 1 && pos <= past);
        switch (code) {
        case 4:
            check(walked[pos - 1] == u'<');
            break;
        case 5:
            check(walked[pos - 1] == u'>');
            break;
        case 1:
        case 2:
        case 6:
            check(pos == past);
            break;
        default:
            check(false);
        }
        if (events + 1 == stopAfter && (stopAfter & 1)) {
            ++events;
            abort = true;
            stopped = true;
        } else {
            event(parser);
        }
        if (code == 1 || code == 2 || code == 6)
            ended = true;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const uint8_t control = size > 0 ? data[0] : 0;
    const QByteArrayView bytes =
        size > 0 ? QByteArrayView(data + 1, qsizetype(size - 1)) : QByteArrayView();
    const QString page = platform::decode1251(bytes);

    check(validUtf16(DecodeEntities(page)));

    TLegHtmlParser parser;
    Observer seen;
    seen.translate = control & 1;
    seen.stopAfter = (control >> 1) & 0x3F;
    parser.SetTranslate(seen.translate);
    if (control & 0x80)
        parser.SetContent(page.split(u'\n'));
    else
        parser.SetContentText(page);
    for (const QString &line : parser.Content())
        seen.walked += line + QStringLiteral("\r\n");

    parser.SetOnBlock([&](TLegHtmlParser &p, const QString &t) { seen.block(p, t); });
    parser.SetOnText([&](TLegHtmlParser &p, const QString &t) { seen.text(p, t); });
    parser.SetOnTag([&](TLegHtmlParser &p, const QString &name, const QStringList &attributes) {
        seen.tag(p, name, attributes);
    });
    parser.SetOnComment([&](TLegHtmlParser &p, const QString &) { seen.event(p); });
    parser.SetOnScript([&](TLegHtmlParser &p, const QString &) { seen.event(p); });
    parser.SetOnDTDTag([&](TLegHtmlParser &p, const QString &) { seen.event(p); });
    parser.SetOnError([&](TLegHtmlParser &p, qint32 code, qint32 pos, bool &abort) {
        seen.error(p, code, pos, abort);
    });
    parser.StartParse();

    if (seen.stopAfter == 0) {
        // A second run walks the kept text and sees the same events.
        const int first = seen.events;
        seen = Observer{seen.walked, seen.translate};
        parser.SetEndParser(true);
        parser.StartParse();
        check(seen.events == first);
    }
    return 0;
}
