#pragma once

#include "platform/Align.h"

#include <QString>
#include <Qt>

#include <optional>
#include <stdexcept>

// The value syntaxes that structure-file keys share: booleans, colours,
// alignments, strict integers, fonts, anchors and cursors. Parsing only;
// applying them to controls is the engine's.

// Colour in the manual's layout: 0x00BBGGRR (blue in the high byte).
using TColor = quint32;

bool ParseBool(const QString &text, bool defaultValue);
QString BoolText(bool value);
// "#RRGGBB", "$BBGGRR" or "BBGGRR". An empty or non-hexadecimal text is not a
// colour: the answer is empty and callers keep the colour they had.
std::optional<TColor> ParseColor(const QString &text);
bool IsEven(int value);
// "left", "right", "center" ignoring case; anything else centres.
Qt::Alignment ParseAlignment(const QString &text);
// "top", "bottom", "left", "right", "client", "custom", "none" ignoring case;
// anything else is None.
TAlign ParseAlign(const QString &text);

// A value that should be a number and is not. The engine ends the build of
// the window with the message, which names the section, the key and the value.
class EConvertError : public std::runtime_error
{
public:
    explicit EConvertError(const QString &message);
    QString Message() const { return m_message; }

private:
    QString m_message;
};

// Optional sign and decimal digits within 32 bits; nothing else.
std::optional<int> ParseInteger(const QString &text);
// ParseInteger or EConvertError with a message about section and key.
int StrictInteger(const QString &text, const QString &section, const QString &key);

// font = typeface*size*colour*style; empty parts leave the current value.
struct TFontSpec
{
    std::optional<QString> Face;
    std::optional<int> Size;
    std::optional<TColor> Color;
    bool SetStyle = false; // a style part was given: it replaces the style
    bool Bold = false, Italic = false, Underline = false;
};
TFontSpec ParseFont(const QString &text, const QString &section, const QString &key);

// anchor = left top right bottom, each a distance or "*".
struct TAnchorSpec
{
    std::optional<int> Left, Top, Right, Bottom;
};
TAnchorSpec ParseAnchor(const QString &text, const QString &section, const QString &key);

// A cursor name ("crHandPoint", any case) or a number of the cursor table.
int ParseCursor(const QString &text, const QString &section, const QString &key);
