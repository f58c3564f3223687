#include "search/HtmlTokenizer.h"

#include <QChar>
#include <QStringView>

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <limits>

namespace {

// HTML 4 names of the Latin-1 characters 160..255, in code order.
constexpr std::string_view kLatin1Names[] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};
static_assert(std::size(kLatin1Names) == 96);

constexpr std::array<std::string_view, 256> makeEntityNames()
{
    std::array<std::string_view, 256> names{};
    names[34] = "quot";
    names[38] = "amp";
    names[60] = "lt";
    names[62] = "gt";
    for (std::size_t i = 0; i < std::size(kLatin1Names); ++i)
        names[160 + i] = kLatin1Names[i];
    return names;
}

constexpr std::array<std::string_view, 256> kEntityNames = makeEntityNames();

struct NamedEntity
{
    std::string_view name;
    char16_t code;
};

// The named entries sorted by name, so a reference is looked up by halving.
constexpr auto kSortedEntities = [] {
    std::array<NamedEntity, std::size(kLatin1Names) + 4> sorted{};
    std::size_t count = 0;
    for (std::size_t code = 0; code < kEntityNames.size(); ++code) {
        if (!kEntityNames[code].empty())
            sorted[count++] = {kEntityNames[code], char16_t(code)};
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const NamedEntity &a, const NamedEntity &b) { return a.name < b.name; });
    return sorted;
}();
static_assert(std::all_of(kSortedEntities.begin(), kSortedEntities.end(),
                          [](const NamedEntity &e) { return e.name.size() <= 6; }));

inline bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// The first c in [from, to), or -1. Inline, since most spans are short (a
// tag, a word) and a library call would cost more than the search itself.
inline qsizetype findChar(const char16_t *s, qsizetype from, qsizetype to, char16_t c)
{
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i needle = _mm_set1_epi16(short(c));
    for (; i + 8 <= to; i += 8) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
        const unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(block, needle)));
        if (mask != 0)
            return i + (__builtin_ctz(mask) >> 1);
    }
#endif
    for (; i < to; ++i) {
        if (s[i] == c)
            return i;
    }
    return -1;
}

struct TextRun
{
    qsizetype end = -1;  // the "<" that ends it, or -1
    qsizetype gt = -1;   // its first ">", or -1
    bool hasAmp = false; // it may hold a character reference
};

// Reads a text run in one pass: its end, its first ">" and whether it has "&".
inline TextRun scanTextRun(const char16_t *s, qsizetype from, qsizetype to)
{
    TextRun run;
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i lt = _mm_set1_epi16(short(u'<'));
    const __m128i gt = _mm_set1_epi16(short(u'>'));
    const __m128i amp = _mm_set1_epi16(short(u'&'));
    for (; i + 8 <= to; i += 8) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
        const unsigned ltMask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(block, lt)));
        const unsigned before = ltMask != 0 ? (ltMask & (0u - ltMask)) - 1u : ~0u;
        const unsigned gtMask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(block, gt))) & before;
        const unsigned ampMask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(block, amp))) & before;
        if (run.gt < 0 && gtMask != 0)
            run.gt = i + (__builtin_ctz(gtMask) >> 1);
        run.hasAmp = run.hasAmp || ampMask != 0;
        if (ltMask != 0) {
            run.end = i + (__builtin_ctz(ltMask) >> 1);
            return run;
        }
    }
#endif
    for (; i < to; ++i) {
        const char16_t c = s[i];
        if (c == u'<') {
            run.end = i;
            return run;
        }
        if (c == u'>' && run.gt < 0)
            run.gt = i;
        run.hasAmp = run.hasAmp || c == u'&';
    }
    return run;
}

bool isValidCharacter(char32_t cp)
{
    return cp != 0 && cp <= 0x10FFFF && !QChar::isSurrogate(cp) && !QChar::isNonCharacter(cp);
}

// Reads a reference's number; false when it has no digits, a character that
// is not a digit, or a value beyond the last code point.
bool readNumber(QStringView digits, int base, char32_t &value)
{
    if (digits.isEmpty())
        return false;
    char32_t v = 0;
    for (QChar qc : digits) {
        const char16_t c = qc.unicode();
        int d;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            return false;
        v = v * char32_t(base) + char32_t(d);
        if (v > 0x10FFFF)
            return false;
    }
    value = v;
    return true;
}

bool resolveEntity(QStringView name, char32_t &cp)
{
    if (name.startsWith(u'#')) {
        if (name.size() > 1 && (name[1] == u'x' || name[1] == u'X'))
            return readNumber(name.mid(2), 16, cp) && isValidCharacter(cp);
        return readNumber(name.mid(1), 10, cp) && isValidCharacter(cp);
    }
    // An empty name would match an empty slot of the table.
    constexpr qsizetype longest = 6;
    if (name.isEmpty() || name.size() > longest)
        return false;
    char ascii[longest];
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c >= 0x80)
            return false;
        ascii[i] = char(c);
    }
    const std::string_view key(ascii, std::size_t(name.size()));
    const auto found = std::lower_bound(
        kSortedEntities.begin(), kSortedEntities.end(), key,
        [](const NamedEntity &entry, std::string_view k) { return entry.name < k; });
    if (found == kSortedEntities.end() || found->name != key)
        return false;
    cp = found->code;
    return true;
}

void appendCodePoint(QString &out, char32_t cp)
{
    if (QChar::requiresSurrogates(cp)) {
        const QChar pair[2] = {QChar(QChar::highSurrogate(cp)), QChar(QChar::lowSurrogate(cp))};
        out.append(pair, 2);
    } else {
        out.append(QChar(char16_t(cp)));
    }
}

// The text a line list gives for a whole file: every line end (CR LF, LF or
// CR) becomes CR LF and the last line is terminated. A page that already has
// CR LF line ends is shared, not copied.
QString joinLikeLineList(const QString &text)
{
    if (text.isEmpty())
        return {};
    const char16_t *s = QStringView(text).utf16();
    const qsizetype n = text.size();
    bool clean = true;
    qsizetype lfCount = 0;
    for (qsizetype i = findChar(s, 0, n, u'\n'); i >= 0; i = findChar(s, i + 1, n, u'\n')) {
        if (i == 0 || s[i - 1] != u'\r') {
            clean = false;
            break;
        }
        ++lfCount;
    }
    if (clean) {
        // Every LF has its CR; a CR without LF is left over only if there are more CRs.
        qsizetype crCount = 0;
        for (qsizetype i = findChar(s, 0, n, u'\r'); i >= 0 && crCount <= lfCount;
             i = findChar(s, i + 1, n, u'\r'))
            ++crCount;
        clean = crCount == lfCount;
    }
    const bool terminated = s[n - 1] == u'\n' || s[n - 1] == u'\r';
    if (clean) {
        if (terminated)
            return text;
        return text + QStringLiteral("\r\n");
    }
    QString out;
    out.reserve(n + n / 16 + 2);
    qsizetype from = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c != u'\r' && c != u'\n')
            continue;
        out.append(reinterpret_cast<const QChar *>(s + from), i - from);
        out.append(QStringLiteral("\r\n"));
        if (c == u'\r' && i + 1 < n && s[i + 1] == u'\n')
            ++i;
        from = i + 1;
    }
    if (from < n) {
        out.append(reinterpret_cast<const QChar *>(s + from), n - from);
        out.append(QStringLiteral("\r\n"));
    }
    return out;
}

inline bool isScript(QStringView name)
{
    static constexpr char16_t kWord[] = u"script";
    if (name.size() != 6)
        return false;
    for (qsizetype i = 0; i < 6; ++i) {
        if ((name[i].unicode() | 0x20) != kWord[i])
            return false;
    }
    return true;
}

// The "<" of the next "</script>" in any case of its letters, or -1. Only
// ASCII letters fold: the end tag is ASCII in every page that has one.
qsizetype findScriptEnd(const char16_t *s, qsizetype from, qsizetype end)
{
    static constexpr char16_t kTail[] = u"/script>";
    constexpr qsizetype tailLength = 8;
    for (qsizetype lt = findChar(s, from, end, u'<'); lt >= 0;
         lt = findChar(s, lt + 1, end, u'<')) {
        if (end - lt - 1 < tailLength)
            return -1;
        bool match = true;
        for (qsizetype k = 0; k < tailLength && match; ++k) {
            const char16_t c = s[lt + 1 + k];
            const char16_t want = kTail[k];
            match = (want >= u'a' && want <= u'z') ? (c | 0x20) == want : c == want;
        }
        if (match)
            return lt;
    }
    return -1;
}

// The first "--" at or after from, or -1.
qsizetype findDoubleDash(const char16_t *s, qsizetype from, qsizetype end)
{
    for (qsizetype i = findChar(s, from, end, u'-'); i >= 0; i = findChar(s, i + 1, end, u'-')) {
        if (i + 1 < end && s[i + 1] == u'-')
            return i;
    }
    return -1;
}

qint32 reportedPosition(qsizetype pos)
{
    const qsizetype oneBased = pos + 1;
    return oneBased > std::numeric_limits<qint32>::max() ? std::numeric_limits<qint32>::max()
                                                         : qint32(oneBased);
}

// Restores the tokenizer's idle state however a run ends (a handler may throw).
class RunGuard
{
public:
    explicit RunGuard(bool &running)
        : m_running(running)
    {
        m_running = true;
    }
    ~RunGuard() { m_running = false; }
    RunGuard(const RunGuard &) = delete;
    RunGuard &operator=(const RunGuard &) = delete;

private:
    bool &m_running;
};

} // namespace

const std::array<std::string_view, 256> &EntityNames()
{
    return kEntityNames;
}

void DecodeEntities(QStringView token, QString &out)
{
    out.resize(0);
    const char16_t *s = token.utf16();
    const qsizetype n = token.size();
    qsizetype amp = findChar(s, 0, n, u'&');
    qsizetype copied = 0;
    qsizetype semi = -1; // first ";" after the last "&" looked at
    while (amp >= 0) {
        if (semi < amp) {
            semi = findChar(s, amp + 1, n, u';');
            if (semi < 0)
                break;
        }
        const qsizetype next = findChar(s, amp + 1, n, u'&');
        if (next >= 0 && next < semi) {
            amp = next;
            continue;
        }
        char32_t cp = 0;
        if (resolveEntity(QStringView(s + amp + 1, semi - amp - 1), cp)) {
            out.append(reinterpret_cast<const QChar *>(s + copied), amp - copied);
            appendCodePoint(out, cp);
            copied = semi + 1;
        }
        amp = next;
    }
    out.append(reinterpret_cast<const QChar *>(s + copied), n - copied);
}

QString DecodeEntities(QStringView token)
{
    QString out;
    DecodeEntities(token, out);
    return out;
}

TLegHtmlParser::TLegHtmlParser(QObject *owner)
    : QObject(owner)
{}

TLegHtmlParser::~TLegHtmlParser() = default;

const QStringList &TLegHtmlParser::Content() const
{
    if (!m_linesValid) {
        m_lines = m_joined.split(QStringLiteral("\r\n"));
        m_lines.removeLast(); // the joined text ends with a line end
        m_linesValid = true;
    }
    return m_lines;
}

void TLegHtmlParser::SetContent(const QStringList &lines)
{
    m_lines = lines;
    m_linesValid = true;
    m_joined = QString();
    m_joinedValid = false;
    m_text = QString();
}

void TLegHtmlParser::SetContentText(const QString &text)
{
    m_joined = joinLikeLineList(text);
    m_joinedValid = true;
    m_lines = QStringList();
    m_linesValid = m_joined.isEmpty();
    m_text = QString();
}

const QString &TLegHtmlParser::joinedContent() const
{
    if (!m_joinedValid) {
        qsizetype size = 0;
        for (const QString &line : std::as_const(m_lines))
            size += line.size() + 2;
        m_joined.reserve(size);
        for (const QString &line : std::as_const(m_lines)) {
            m_joined.append(line);
            m_joined.append(QStringLiteral("\r\n"));
        }
        m_joinedValid = true;
    }
    return m_joined;
}

void TLegHtmlParser::StartParse()
{
    if (m_running)
        return;
    if (m_text.isEmpty() && !m_endParser)
        m_text = joinedContent();
    // A handler may change Content during the run; this copy keeps the
    // characters being walked alive until the run ends.
    const QString text = m_text;
    RunGuard guard(m_running);
    m_stop = false;
    m_s = QStringView(text).utf16();
    m_end = text.size();
    m_pos = 0;
    m_mode = Mode::Normal;
    m_attributes = QStringList();
    m_attributes.reserve(200);
    run();
    m_s = nullptr;
    m_attributes = QStringList();
}

void TLegHtmlParser::run()
{
    bool aborted = false;
    while (m_pos < m_end && !m_stop) {
        m_attributes.clear();
        Error error;
        if (m_mode == Mode::Script)
            error = stepScript();
        else if (m_s[m_pos] == u'<')
            error = stepMarkup();
        else
            error = stepText();
        if (error.code != 0 && m_onError) {
            bool abort = false;
            m_onError(*this, error.code, reportedPosition(error.pos), abort);
            if (abort) {
                aborted = true;
                break;
            }
        }
    }
    // A script start tag at the very end of the text opens an element that is
    // never closed, just as one followed by blanks only.
    if (!aborted && !m_stop && m_mode == Mode::Script && m_onError) {
        bool abort = false;
        m_onError(*this, 6, reportedPosition(m_end), abort);
    }
}

TLegHtmlParser::Error TLegHtmlParser::ended(qint32 code)
{
    m_pos = m_end;
    return {code, m_end};
}

void TLegHtmlParser::skipBlanks()
{
    while (m_pos < m_end && isBlank(m_s[m_pos]))
        ++m_pos;
}

void TLegHtmlParser::skipLineEndAfterMarkup()
{
    if (m_pos + 1 < m_end && m_s[m_pos] == u'\r' && m_s[m_pos + 1] == u'\n')
        m_pos += 2;
}

void TLegHtmlParser::setPiece(QString &buffer, qsizetype from, qsizetype to, bool decode) const
{
    const QStringView piece(m_s + from, to - from);
    if (decode && m_translate && findChar(piece.utf16(), 0, piece.size(), u'&') >= 0)
        DecodeEntities(piece, buffer);
    else
        buffer.setUnicode(reinterpret_cast<const QChar *>(piece.utf16()), piece.size());
}

void TLegHtmlParser::fire(const THtmlTokenEvent &handler, QString &buffer, qsizetype from,
                          qsizetype to, bool decode)
{
    if (!handler)
        return;
    setPiece(buffer, from, to, decode);
    handler(*this, buffer);
}

TLegHtmlParser::Error TLegHtmlParser::stepScript()
{
    const qsizetype start = m_pos;
    skipBlanks();
    if (m_pos >= m_end) {
        m_mode = Mode::Normal;
        return ended(6);
    }
    if (m_end - m_pos >= 4 && m_s[m_pos] == u'<' && m_s[m_pos + 1] == u'!' &&
        m_s[m_pos + 2] == u'-' && m_s[m_pos + 3] == u'-') {
        // The comment that hides the script from old browsers is its body.
        m_mode = Mode::ScriptComment;
        return {};
    }
    m_pos = start;
    const qsizetype close = findScriptEnd(m_s, start, m_end);
    m_mode = Mode::Normal;
    if (close < 0)
        return ended(6);
    fire(m_onBlock, m_block, start, close, false);
    fire(m_onScript, m_token, start, close, false);
    m_pos = close;
    return {};
}

TLegHtmlParser::Error TLegHtmlParser::stepMarkup()
{
    const qsizetype start = m_pos;
    if (m_end - start >= 4 && m_s[start + 1] == u'!' && m_s[start + 2] == u'-' &&
        m_s[start + 3] == u'-')
        return stepComment(start);
    return stepTag(start);
}

TLegHtmlParser::Error TLegHtmlParser::stepComment(qsizetype start)
{
    const qsizetype bodyStart = start + 4;
    m_pos = bodyStart;
    qsizetype dashes;
    for (;;) {
        dashes = findDoubleDash(m_s, m_pos, m_end);
        if (dashes < 0)
            return ended(2);
        m_pos = dashes;
        while (m_pos < m_end && m_s[m_pos] == u'-')
            ++m_pos;
        skipBlanks();
        if (m_pos >= m_end)
            return ended(1);
        if (m_s[m_pos] == u'>')
            break;
    }
    const bool inScript = m_mode == Mode::ScriptComment;
    m_mode = Mode::Normal;
    fire(m_onBlock, m_block, start, m_pos + 1, false);
    fire(inScript ? m_onScript : m_onComment, m_token, bodyStart, dashes, false);
    ++m_pos;
    skipLineEndAfterMarkup();
    return {};
}

TLegHtmlParser::Error TLegHtmlParser::stepTag(qsizetype start)
{
    m_pos = start + 1;
    skipBlanks();
    if (m_pos >= m_end)
        return ended(1);
    const bool declaration = m_s[m_pos] == u'!';
    qsizetype nameStart, nameEnd;
    if (declaration) {
        nameStart = m_pos + 1;
        nameEnd = findChar(m_s, nameStart, m_end, u'>');
        if (nameEnd < 0)
            return ended(1);
        m_pos = nameEnd;
    } else {
        nameStart = m_pos;
        while (m_pos < m_end && !isBlank(m_s[m_pos]) && m_s[m_pos] != u'>')
            ++m_pos;
        if (m_pos >= m_end)
            return ended(1);
        nameEnd = m_pos;
        if (nameEnd > nameStart) {
            const Error error = readAttributes();
            if (error.code != 0)
                return error;
            if (isScript(QStringView(m_s + nameStart, nameEnd - nameStart)))
                m_mode = Mode::Script;
        }
    }
    const qsizetype inner = findChar(m_s, start + 1, m_pos, u'<');
    if (inner >= 0)
        return {4, inner};
    fire(m_onBlock, m_block, start, m_pos + 1, false);
    if (declaration) {
        fire(m_onDTDTag, m_name, nameStart, nameEnd, true);
    } else if (m_onTag) {
        setPiece(m_name, nameStart, nameEnd, true);
        m_onTag(*this, m_name, m_attributes);
    }
    ++m_pos;
    skipLineEndAfterMarkup();
    return {};
}

TLegHtmlParser::Error TLegHtmlParser::readAttributes()
{
    const bool keep = bool(m_onTag);
    while (m_s[m_pos] != u'>') {
        skipBlanks();
        if (m_pos >= m_end)
            return ended(1);
        const qsizetype nameStart = m_pos;
        while (m_pos < m_end && !isBlank(m_s[m_pos]) && m_s[m_pos] != u'=' && m_s[m_pos] != u'>')
            ++m_pos;
        if (m_pos >= m_end)
            return ended(1);
        const qsizetype nameEnd = m_pos;
        if (nameEnd == nameStart)
            break; // the tag ends at this character
        skipBlanks();
        if (m_pos >= m_end)
            return ended(1);
        if (m_s[m_pos] != u'=')
            continue; // an attribute without a value is not reported
        ++m_pos;
        skipBlanks();
        if (m_pos >= m_end)
            return ended(1);
        qsizetype valueStart, valueEnd;
        const char16_t quote = m_s[m_pos];
        if (quote == u'"' || quote == u'\'') {
            valueStart = m_pos + 1;
            valueEnd = findChar(m_s, valueStart, m_end, quote);
            if (valueEnd < 0)
                return ended(1);
            m_pos = valueEnd + 1;
        } else {
            valueStart = m_pos;
            while (m_pos < m_end && !isBlank(m_s[m_pos]) && m_s[m_pos] != u'>')
                ++m_pos;
            valueEnd = m_pos;
        }
        if (m_pos >= m_end)
            return ended(1);
        if (keep) {
            setPiece(m_name, nameStart, nameEnd, true);
            setPiece(m_value, valueStart, valueEnd, true);
            m_attributes.append(m_name + u'=' + m_value);
        }
    }
    return {};
}

TLegHtmlParser::Error TLegHtmlParser::stepText()
{
    const qsizetype start = m_pos;
    const TextRun run = scanTextRun(m_s, start, m_end);
    const qsizetype runEnd = run.end < 0 ? m_end : run.end;
    m_pos = runEnd;
    Error error;
    // A ">" in running text ("давление > 2 бар") is reported, but the text is
    // still delivered: dropping it would hide its words from the search.
    if (run.gt >= 0)
        error = {5, run.gt};

    qsizetype end = runEnd;
    if (end - start >= 2 && m_s[end - 2] == u'\r' && m_s[end - 1] == u'\n')
        end -= 2;
    else if (end > start && (m_s[end - 1] == u'\n' || m_s[end - 1] == u'\r'))
        --end;
    if (end > start)
        fire(m_onBlock, m_block, start, end, false);
    if (m_onText) {
        qsizetype from = start;
        while (from < end && m_s[from] <= u' ')
            ++from;
        while (end > from && m_s[end - 1] <= u' ')
            --end;
        if (end > from)
            fire(m_onText, m_token, from, end, run.hasAmp);
    }
    return error;
}
