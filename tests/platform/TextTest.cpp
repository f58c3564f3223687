#include "platform/Text.h"

#include <gtest/gtest.h>

TEST(Text, Windows1251RoundTrip)
{
    const QByteArray bytes("\xD0\xE5\xEC\xEE\xED\xF2 \xB8\xA8 abc"); // "Ремонт ёЁ abc"
    const QString text = platform::decode1251(bytes);
    EXPECT_EQ(text, QStringLiteral("Ремонт ёЁ abc"));
    bool ok = false;
    EXPECT_EQ(platform::encode1251(text, &ok), bytes);
    EXPECT_TRUE(ok);
}

TEST(Text, EncodeRefusesCharactersOutsideTheCodePage)
{
    bool ok = true;
    platform::encode1251(QStringLiteral("файл 中文"), &ok);
    EXPECT_FALSE(ok);
}

TEST(Text, SameLatinNameIgnoresOnlyLatinCase)
{
    struct Case
    {
        const char16_t *a, *b;
        bool same;
    } cases[] = {
        {u"Button1", u"bUTTON1", true}, {u"html_see", u"HTML_SEE", true},
        {u"кнопка", u"КНОПКА", false}, // Cyrillic case is significant
        {u"a", u"ab", false},           {u"", u"", true},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(platform::sameLatinName(QStringView(c.a), QStringView(c.b)), c.same)
            << QString::fromUtf16(c.a).toStdString();
    }
}
