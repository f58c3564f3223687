#include "../support/TempDir.h"
#include "platform/Text.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

int render(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(REMONT_RENDER_PATH), args);
    p.waitForFinished(60000);
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QJsonObject byName(const QJsonArray &objects, const QString &name)
{
    for (const QJsonValue &v : objects) {
        if (v.toObject()[QStringLiteral("name")].toString() == name)
            return v.toObject();
    }
    return {};
}

} // namespace

TEST(RemontRender, ReportsWhatTheEngineBuilt)
{
    TempDir dir;
    dir.write(s("items.txt"), platform::encode1251(s("Один;1\r\nДва;2\r\n")));
    dir.write(s("s.txt"),
              platform::encode1251(
                  s("[form]\r\ntype=form\r\ncaption=Окно\r\n"
                    "[box]\r\ntype=panel\r\nleft=0\r\ntop=0\r\nwidth=300\r\nheight=200\r\n"
                    "[ok]\r\ntype=button\r\nmaster=box\r\ncaption=Готово\r\n"
                    "width=80\r\nheight=25\r\nanchor=* * 0 0\r\n"
                    "[combo]\r\ntype=combo_box\r\nload=items.txt\r\n"
                    "[flag]\r\ntype=check_box\r\ncheck=1\r\n"
                    "[bad]\r\ntype=widget\r\n")));
    const QString json = dir.native() + s("/out.json");
    const QString png = dir.native() + s("/out.png");
    ASSERT_EQ(render({s("--app-dir"), dir.native(), s("--size"), s("500x400"), s("--json"), json,
                      s("--png"), png, s("s.txt")}),
              0);

    const QJsonObject report = QJsonDocument::fromJson(dir.read(s("out.json"))).object();
    const QJsonObject window = report[s("window")].toObject();
    EXPECT_EQ(window[s("caption")].toString(), s("Окно"));
    EXPECT_EQ(window[s("width")].toInt(), 500);
    EXPECT_EQ(window[s("page")].toInt(), 0);

    const QJsonArray objects = report[s("objects")].toArray();
    ASSERT_EQ(objects.size(), 4);
    EXPECT_EQ(objects[0].toObject()[s("name")].toString(), s("box"));
    const QJsonObject ok = byName(objects, s("ok"));
    EXPECT_EQ(ok[s("parent")].toString(), s("box"));
    EXPECT_EQ(ok[s("x")].toInt(), 220);
    EXPECT_EQ(ok[s("y")].toInt(), 175);
    EXPECT_EQ(ok[s("text")].toString(), s("Готово"));
    const QJsonObject combo = byName(objects, s("combo"));
    EXPECT_EQ(combo[s("parent")].toString(), s(""));
    EXPECT_EQ(combo[s("text")].toString(), s("Один"));
    EXPECT_EQ(combo[s("items")].toArray().size(), 2);
    EXPECT_TRUE(byName(objects, s("flag"))[s("checked")].toBool());

    const QJsonArray messages = report[s("messages")].toArray();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].toObject()[s("title")].toString(), s("s.txt"));
    EXPECT_EQ(messages[0].toObject()[s("text")].toString(),
              s("MakeObject. Объект bad имеет неизвестный тип widget"));

    const QImage picture(png);
    EXPECT_EQ(picture.size(), QSize(500, 400));
}

TEST(RemontRender, UsageErrors)
{
    TempDir dir;
    EXPECT_EQ(render({}), 2);
    EXPECT_EQ(render({s("--app-dir"), dir.native() + s("/missing"), s("s.txt")}), 2);
    EXPECT_EQ(render({s("--app-dir"), dir.native()}), 2);
    EXPECT_EQ(render({s("--app-dir"), dir.native(), s("--size"), s("big"), s("s.txt")}), 2);
    // A structure file that is missing still builds (an empty window, two messages).
    EXPECT_EQ(render({s("--app-dir"), dir.native(), s("none.txt")}), 0);
}

TEST(RemontRender, RunsActionsAndReportsMenus)
{
    TempDir dir;
    dir.write(s("sub.txt"), platform::encode1251(s("[form]\r\ntype=form\r\n")));
    dir.write(s("s.txt"), platform::encode1251(
                              s("[form]\r\ntype=form\r\n"
                                "[pm]\r\ntype=pop_menu\r\ncaption=Назад;Вперёд;Выход\r\n"
                                "action=html_back*v;;form_close\r\nglob_action=nil\r\ncheck=1\r\n"
                                "[p1]\r\ntype=panel\r\n")));
    const QString json = dir.native() + s("/out.json");
    ASSERT_EQ(
        render({s("--app-dir"), dir.native(), s("--run"), s("visible*p1*0"), s("--run"),
                s("form_show*sub.txt"), s("--run"), s("test*done"), s("--json"), json, s("s.txt")}),
        0);
    const QJsonObject report = QJsonDocument::fromJson(dir.read(s("out.json"))).object();
    const QJsonArray objects = report[s("objects")].toArray();
    const QJsonObject menu = byName(objects, s("pm"));
    EXPECT_EQ(menu[s("items")].toArray().size(), 3);
    EXPECT_EQ(menu[s("items")].toArray()[1].toString(), s("Вперёд"));
    EXPECT_EQ(menu[s("actions")].toArray()[1].toString(), s("nil"));
    EXPECT_EQ(menu[s("actions")].toArray()[2].toString(), s("form_close"));
    EXPECT_EQ(menu[s("checked")].toInt(), 1);
    EXPECT_FALSE(byName(objects, s("p1"))[s("visible")].toBool());
    const QJsonArray messages = report[s("messages")].toArray();
    ASSERT_EQ(messages.size(), 1); // the modal sub-window was closed and the run went on
    EXPECT_EQ(messages[0].toObject()[s("text")].toString(), s("done*"));

    // Ending the program from an action ends only the run; the report is still written.
    ASSERT_EQ(render({s("--app-dir"), dir.native(), s("--run"), s("form_close"), s("--json"), json,
                      s("s.txt")}),
              0);
    EXPECT_FALSE(QJsonDocument::fromJson(dir.read(s("out.json")))
                     .object()[s("window")]
                     .toObject()[s("visible")]
                     .toBool());
}
