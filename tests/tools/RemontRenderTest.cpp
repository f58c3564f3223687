#include "../support/TempDir.h"
#include "platform/Text.h"

#include <QBuffer>
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

int render(const QStringList &args, const QString &scale = QString())
{
    QProcess p;
    if (!scale.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
        p.setProcessEnvironment(env);
    }
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

QByteArray picture(int width, int height, QRgb colour, const char *format)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Where a colour is drawn, and on how many pixels.
struct Patch
{
    QRect box;
    int pixels = 0;
};

Patch patchOf(const QImage &image, QRgb colour)
{
    Patch patch;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) {
                patch.box |= QRect(x, y, 1, 1);
                ++patch.pixels;
            }
        }
    }
    return patch;
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

TEST(RemontRender, ScaleTwoDrawsTwiceAsLargeAndSharp)
{
    // A window with a contents tree and a page, each with a picture whose
    // variant for dense screens has a colour of its own.
    constexpr QRgb icon1 = qRgb(0, 160, 0), icon2 = qRgb(160, 0, 160);
    constexpr QRgb pic1 = qRgb(0, 90, 200), pic2 = qRgb(200, 90, 0);
    TempDir dir;
    dir.write(s("i.bmp"), picture(16, 16, icon1, "BMP"));
    dir.write(s("i@2x.bmp"), picture(32, 32, icon2, "BMP"));
    dir.write(s("p.png"), picture(40, 30, pic1, "PNG"));
    dir.write(s("p@2x.png"), picture(80, 60, pic2, "PNG"));
    dir.write(s("tree.txt"), "Node;a.htm;i.bmp\r\n");
    dir.write(s("a.htm"), "<html><body><img src=\"p.png\"></body></html>");
    dir.write(s("s.txt"),
              platform::encode1251(s("[form]\r\ntype=form\r\ncaption=Окно\r\n"
                                     "[tree]\r\ntype=tree\r\nload=tree.txt\r\nleft=0\r\ntop=0\r\n"
                                     "width=120\r\nheight=150\r\n"
                                     "[html_see]\r\ntype=html\r\nleft=130\r\ntop=0\r\n"
                                     "width=160\r\nheight=150\r\n")));
    QImage shot[2];
    QJsonObject window[2];
    for (int scale : {1, 2}) {
        const QString png = dir.native() + QStringLiteral("/%1.png").arg(scale);
        const QString json = dir.native() + QStringLiteral("/%1.json").arg(scale);
        ASSERT_EQ(
            render({s("--app-dir"), dir.native(), s("--size"), s("320x220"), s("--run"),
                    s("html_load*html_see*a.htm"), s("--json"), json, s("--png"), png, s("s.txt")},
                   QString::number(scale)),
            0);
        shot[scale - 1] = QImage(png).convertToFormat(QImage::Format_RGB32);
        window[scale - 1] = QJsonDocument::fromJson(dir.read(QStringLiteral("%1.json").arg(scale)))
                                .object()[s("window")]
                                .toObject();
    }
    const QImage &one = shot[0], &two = shot[1];

    // The design size is in logical pixels; the picture has twice as many.
    EXPECT_EQ(window[0][s("width")].toInt(), 320);
    EXPECT_EQ(window[1][s("width")].toInt(), 320);
    EXPECT_EQ(window[1][s("height")].toInt(), window[0][s("height")].toInt());
    ASSERT_EQ(one.size(), QSize(320, 220));
    ASSERT_EQ(two.size(), one.size() * 2);

    // The frame's border and caption, down into the client area, are drawn
    // at the device's pixels: each pixel of the small picture is exactly a
    // 2x2 block of the large one, nothing blurred across an edge.
    const int border = 4, caption = 30, x = 150;
    auto sameBlock = [&](int px, int py) {
        for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx)
                if (two.pixel(2 * px + dx, 2 * py + dy) != one.pixel(px, py))
                    return false;
        return true;
    };
    int blurred = 0;
    for (int px = 0; px < one.width(); ++px)
        for (int py : {0, border - 1, one.height() - border, one.height() - 1})
            blurred += !sameBlock(px, py);
    for (int py = 0; py < one.height(); ++py)
        for (int px : {0, border - 1, one.width() - border, one.width() - 1})
            blurred += !sameBlock(px, py);
    for (int py = 0; py < border + caption + 3; ++py)
        blurred += !sameBlock(x, py);
    EXPECT_EQ(blurred, 0);
    EXPECT_NE(one.pixel(x, border + caption - 1), one.pixel(x, border + caption + 1))
        << "the column crosses the caption's lower edge";

    // Tree icons and page pictures come from their dense variants, at the
    // size of the small ones, with every pixel of them (none blended away).
    const Patch smallIcon = patchOf(one, icon1), bigIcon = patchOf(two, icon2);
    EXPECT_EQ(smallIcon.box.size(), QSize(16, 16));
    EXPECT_EQ(bigIcon.box.size(), QSize(32, 32));
    EXPECT_EQ(bigIcon.pixels, 4 * smallIcon.pixels);
    EXPECT_EQ(patchOf(two, icon1).pixels, 0);
    const Patch smallPicture = patchOf(one, pic1), bigPicture = patchOf(two, pic2);
    EXPECT_EQ(smallPicture.box.size(), QSize(40, 30));
    EXPECT_EQ(bigPicture.box.size(), QSize(80, 60));
    EXPECT_EQ(bigPicture.box.topLeft(), smallPicture.box.topLeft() * 2);
    EXPECT_EQ(patchOf(two, pic1).pixels, 0);
}
