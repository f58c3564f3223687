#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <string_view>

// A one-pass HTML tokenizer: it walks a page from start to end and reports
// every tag, text run, comment, script body and declaration, plus malformed
// input. It builds no tree and knows no tag name but "script". The full-text
// search reads every page with it and stops it at the first match.

class TLegHtmlParser;

// Handlers get strings that belong to the tokenizer and stay valid only during
// the call; a handler that keeps one copies it.
using THtmlTokenEvent = std::function<void(TLegHtmlParser &sender, const QString &token)>;
using THtmlTagEvent = std::function<void(TLegHtmlParser &sender, const QString &htmlTag,
                                         const QStringList &attributes)>;
// error: 1 text ended inside markup, 2 comment never closed, 4 "<" inside a
// tag, 5 ">" inside text, 6 script element never closed. posError counts
// characters from 1; the codes that end the text report its length + 1.
using THtmlErrorEvent =
    std::function<void(TLegHtmlParser &sender, qint32 error, qint32 posError, bool &abort)>;

// Entity names by character code: the HTML 4 Latin-1 set at 160..255, plus
// quot, amp, lt and gt; every other entry is empty.
const std::array<std::string_view, 256> &EntityNames();

// Replaces character references ("&name;", "&#123;", "&#x7B;") in a token. A
// number or name that gives no valid character is left as written.
QString DecodeEntities(QStringView token);
// The same into a buffer the caller reuses (its capacity is kept).
void DecodeEntities(QStringView token, QString &out);

class TLegHtmlParser : public QObject
{
public:
    explicit TLegHtmlParser(QObject *owner = nullptr);
    ~TLegHtmlParser() override;

    // Decode entities in names, attribute values and text tokens (default on).
    bool Translate() const { return m_translate; }
    void SetTranslate(bool on) { m_translate = on; }

    // The document as lines; the text walked is the lines each followed by
    // CR LF. Changing it drops the text kept from an earlier run.
    const QStringList &Content() const;
    void SetContent(const QStringList &lines);
    // Loads a whole page the way a line list loads a file: CR LF, LF or CR
    // each end a line, and an unterminated last line gets its own line end.
    void SetContentText(const QString &text);

    // When set, a run walks the text kept from the previous run as it is,
    // without taking it from Content again (nothing after Content changed).
    bool EndParser() const { return m_endParser; }
    void SetEndParser(bool on) { m_endParser = on; }

    const THtmlTokenEvent &OnBlock() const { return m_onBlock; }
    void SetOnBlock(THtmlTokenEvent handler) { m_onBlock = std::move(handler); }
    const THtmlErrorEvent &OnError() const { return m_onError; }
    void SetOnError(THtmlErrorEvent handler) { m_onError = std::move(handler); }
    const THtmlTagEvent &OnTag() const { return m_onTag; }
    void SetOnTag(THtmlTagEvent handler) { m_onTag = std::move(handler); }
    const THtmlTokenEvent &OnText() const { return m_onText; }
    void SetOnText(THtmlTokenEvent handler) { m_onText = std::move(handler); }
    const THtmlTokenEvent &OnComment() const { return m_onComment; }
    void SetOnComment(THtmlTokenEvent handler) { m_onComment = std::move(handler); }
    const THtmlTokenEvent &OnScript() const { return m_onScript; }
    void SetOnScript(THtmlTokenEvent handler) { m_onScript = std::move(handler); }
    const THtmlTokenEvent &OnDTDTag() const { return m_onDTDTag; }
    void SetOnDTDTag(THtmlTokenEvent handler) { m_onDTDTag = std::move(handler); }

    // Walks the whole text firing the events in source order. Returns at the
    // end of the text, after StopParse, or when an error handler aborts. A call
    // from inside one of this tokenizer's events does nothing.
    void StartParse();
    // From inside an event: the token being reported still gets its remaining
    // events, then the run ends.
    void StopParse() { m_stop = true; }

private:
    enum class Mode
    {
        Normal,
        Script,
        ScriptComment
    };
    struct Error
    {
        qint32 code = 0;
        qsizetype pos = 0; // 0-based; the text's length for "ended"
    };

    const QString &joinedContent() const;
    void run();
    Error stepScript();
    Error stepMarkup();
    Error stepComment(qsizetype start);
    Error stepTag(qsizetype start);
    Error readAttributes();
    Error stepText();
    Error ended(qint32 code);
    void skipBlanks();
    void skipLineEndAfterMarkup();
    void fire(const THtmlTokenEvent &handler, QString &buffer, qsizetype from, qsizetype to,
              bool decode);
    void setPiece(QString &buffer, qsizetype from, qsizetype to, bool decode) const;

    bool m_translate = true;
    bool m_endParser = false;
    THtmlTokenEvent m_onBlock, m_onText, m_onComment, m_onScript, m_onDTDTag;
    THtmlTagEvent m_onTag;
    THtmlErrorEvent m_onError;

    // Content is kept as lines, as the joined text, or both; whichever is
    // missing is made on demand (a page loaded whole is never split unless
    // someone asks for its lines).
    mutable QStringList m_lines;
    mutable QString m_joined;
    mutable bool m_linesValid = true;
    mutable bool m_joinedValid = true;

    QString m_text; // kept between runs, dropped when Content changes

    // Run state.
    bool m_running = false;
    bool m_stop = false;
    const char16_t *m_s = nullptr;
    qsizetype m_end = 0;
    qsizetype m_pos = 0;
    Mode m_mode = Mode::Normal;
    QStringList m_attributes;
    QString m_block, m_token, m_name, m_value, m_scratch;
};
