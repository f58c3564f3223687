#include "../support/TempDir.h"
#include "core/ResourceArchive.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "tools/ArchiveWriter.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct PackRun
{
    int code;
    QByteArray out, err;
};

PackRun pack(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(REMONT_PACK_PATH), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(GlobMatch, Patterns)
{
    struct Case
    {
        const char *pattern, *name;
        bool match;
    } cases[] = {
        {"*.htm", "pages\\a.htm", true},
        {"*.htm", "a.html", false},
        {"pages/*", "pages\\a.htm", true},
        {"struct_*.txt", "struct_main.txt", true},
        {"STRUCT_*.TXT", "struct_main.txt", true},
        {"?.txt", "ab.txt", false},
        {"*a*b*c*", "xxaxxbxxcxx", true},
        {"*a*b*c*", "xxaxxcxxbxx", false},
        {"", "", true},
        {"*", "", true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(globMatch(s(c.pattern), s(c.name)), c.match) << c.pattern << " ~ " << c.name;
}

TEST(RemontPack, RoundTripThroughTheReader)
{
    TempDir dir;
    const QByteArray binary("\x00\x01\xFF\xA5 binary", 11);
    dir.write(s("manual/Struct_Main.txt"), "[form]\r\ntype=form\r\n");
    dir.write(s("manual/Pages/Двигатель.HTM"), "<p>\xC4\xE2\xE8\xE3\xE0\xF2\xE5\xEB\xFC</p>");
    dir.write(s("manual/pics/w.jpg"), binary);
    const QString archive = dir.native() + s("/interface.dat");

    const PackRun packed = pack({s("pack"), archive, dir.native() + s("/manual"), s("--scramble"),
                                 s("*.htm"), s("--scramble"), s("struct_*")});
    ASSERT_EQ(packed.code, 0) << packed.err.constData();

    const PackRun listed = pack({s("list"), archive});
    ASSERT_EQ(listed.code, 0);
    const QStringList lines = QString::fromUtf8(listed.out).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(s("pages\\двигатель.htm\t")));
    EXPECT_TRUE(lines[0].endsWith(s("\t1")));
    EXPECT_EQ(lines[1], s("pics\\w.jpg\t11\t%1\t0").arg(lines[1].section(u'\t', 2, 2)));
    EXPECT_TRUE(lines[2].startsWith(s("struct_main.txt\t")));
    EXPECT_TRUE(lines[2].endsWith(s("\t1")));

    const PackRun extracted = pack({s("extract"), archive, s("PAGES\\ДВИГАТЕЛЬ.htm")});
    ASSERT_EQ(extracted.code, 0);
    EXPECT_EQ(extracted.out, QByteArray("<p>\xC4\xE2\xE8\xE3\xE0\xF2\xE5\xEB\xFC</p>"));

    const QString outFile = dir.native() + s("/w.jpg");
    ASSERT_EQ(pack({s("extract"), archive, s("pics\\w.jpg"), s("-o"), outFile}).code, 0);
    EXPECT_EQ(dir.read(s("w.jpg")), binary);

    // The viewer's reader sees the same files, scrambled ones restored.
    platform::ScopedRecordingDialogs dialogs;
    ASSERT_TRUE(OpenArchive(platform::toVirtual(archive)));
    EXPECT_EQ(OpenResource(s("struct_main.txt")), QByteArray("[form]\r\ntype=form\r\n"));
    EXPECT_EQ(OpenResource(s("pics\\w.jpg")), binary);
    CloseArchive();
    // And the stored bytes really are masked.
    EXPECT_FALSE(dir.read(s("interface.dat")).contains("type=form"));
}

TEST(RemontPack, RefusalsAndExitCodes)
{
    TempDir dir;
    const QString archive = dir.native() + s("/interface.dat");
    dir.write(s("interface.dat"), "previous archive");

    dir.write(s("bad/ok.txt"), "x");
    dir.write(s("bad/名前.txt"), "x");
    PackRun r = pack({s("pack"), archive, dir.native() + s("/bad")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("Windows-1251")) << r.err.constData();
    EXPECT_EQ(dir.read(s("interface.dat")), QByteArray("previous archive")); // untouched

    dir.write(s("long/") + QString(200, u'a') + u'/' + QString(60, u'b'), "x");
    r = pack({s("pack"), archive, dir.native() + s("/long")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("255")) << r.err.constData();

    EXPECT_EQ(pack({s("pack"), archive, dir.native() + s("/missing")}).code, 2);
    EXPECT_EQ(pack({s("list"), dir.native() + s("/nothing.dat")}).code, 2);
    dir.write(s("fake.dat"), "XYZ0000000000000000");
    r = pack({s("list"), dir.native() + s("/fake.dat")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(s("Неверная сигнатура архива")));

    dir.write(s("good/a.txt"), "a");
    ASSERT_EQ(pack({s("pack"), archive, dir.native() + s("/good")}).code, 0);
    r = pack({s("extract"), archive, s("b.txt")});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_EQ(pack({s("frobnicate")}).code, 2);
    EXPECT_EQ(pack({s("pack"), archive}).code, 2);
    EXPECT_EQ(pack({s("pack"), archive, dir.native() + s("/good"), s("--scramble")}).code, 2);
}
