#include "platform/IniFile.h"

#include "../support/TempDir.h"

#include <gtest/gtest.h>

using platform::IniFile;

TEST(IniFile, SectionsAndKeysInFileOrderIgnoringCase)
{
    const IniFile ini = IniFile::fromText(QStringLiteral("; a comment\r\n"
                                                         "orphan=1\r\n"
                                                         "[Form]\r\n"
                                                         "  Type = form  \r\n"
                                                         "caption=\"Ремонт\"\r\n"
                                                         "  ; indented comment\r\n"
                                                         "TYPE=second\r\n"
                                                         "title='x'\r\n"
                                                         "mixed=\"a'\r\n"
                                                         "empty=\r\n"
                                                         "no equals sign\r\n"
                                                         "[Button1]\n"
                                                         "master=form\n"
                                                         "[form]\n"
                                                         "late=1\n"));
    EXPECT_EQ(ini.sectionNames(), (QStringList{QStringLiteral("Form"), QStringLiteral("Button1")}));
    EXPECT_EQ(ini.keyNames(QStringLiteral("FORM")),
              (QStringList{"Type", "caption", "title", "mixed", "empty"}));
    EXPECT_EQ(ini.readString(QStringLiteral("form"), QStringLiteral("type")),
              QStringLiteral("form"));
    EXPECT_EQ(ini.readString(QStringLiteral("form"), QStringLiteral("caption")),
              QStringLiteral("Ремонт"));
    EXPECT_EQ(ini.readString(QStringLiteral("form"), QStringLiteral("title")), QStringLiteral("x"));
    EXPECT_EQ(ini.readString(QStringLiteral("form"), QStringLiteral("mixed")),
              QStringLiteral("\"a'"));
    EXPECT_TRUE(ini.valueExists(QStringLiteral("form"), QStringLiteral("empty")));
    EXPECT_EQ(ini.readString(QStringLiteral("form"), QStringLiteral("empty"), QStringLiteral("d")),
              QString());
    EXPECT_EQ(ini.readString(QStringLiteral("form"), QStringLiteral("late"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(ini.readString(QStringLiteral("nope"), QStringLiteral("x"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_FALSE(ini.sectionExists(QStringLiteral("orphan")));
}

TEST(IniFile, NoLengthLimits)
{
    QString text = QStringLiteral("[big]\n");
    const QString longValue(5000, u'x');
    text += QStringLiteral("value=") + longValue + u'\n';
    for (int i = 0; i < 3000; ++i)
        text += QStringLiteral("[section_with_a_long_name_%1]\nk=v\n").arg(i);
    const IniFile ini = IniFile::fromText(text);
    EXPECT_EQ(ini.readString(QStringLiteral("big"), QStringLiteral("value")), longValue);
    EXPECT_EQ(ini.sectionNames().size(), 3001);
    EXPECT_EQ(ini.readString(QStringLiteral("section_with_a_long_name_2999"), QStringLiteral("k")),
              QStringLiteral("v"));
}

TEST(IniFile, ReadsWindows1251FileFromDisk)
{
    TempDir dir;
    dir.write(QStringLiteral("s.txt"),
              QByteArray("[\xCE\xE1\xFA\xE5\xEA\xF2]\r\ncaption=\xD0\xE5\xEC\xEE\xED\xF2\r\n"));
    const IniFile ini(dir.folder() + QStringLiteral("S.TXT"));
    EXPECT_EQ(ini.sectionNames(), QStringList{QStringLiteral("Объект")});
    EXPECT_EQ(ini.readString(QStringLiteral("объект"), QStringLiteral("CAPTION")),
              QStringLiteral("Ремонт"));
    const IniFile missing(dir.folder() + QStringLiteral("none.txt"));
    EXPECT_TRUE(missing.sectionNames().isEmpty());
}
