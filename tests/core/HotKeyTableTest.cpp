#include "core/HotKeyTable.h"

#include <Qt>

#include <gtest/gtest.h>

namespace {

constexpr int Ctrl = Qt::ControlModifier;
constexpr int Shift = Qt::ShiftModifier;
constexpr int Alt = Qt::AltModifier;

struct ShortCutCase
{
    const char *text;
    int expected;
};

class ShortCutText : public ::testing::TestWithParam<ShortCutCase>
{};

TEST_P(ShortCutText, ReadsIntoKeyCode)
{
    EXPECT_EQ(TextToShortCut(QString::fromUtf8(GetParam().text)), GetParam().expected)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    HotKey, ShortCutText,
    ::testing::Values(ShortCutCase{"Ctrl+Shift+F5", Qt::Key_F5 | Ctrl | Shift},
                      ShortCutCase{"PgUp", Qt::Key_PageUp}, ShortCutCase{"PgDn", Qt::Key_PageDown},
                      ShortCutCase{"alt+x", Qt::Key_X | Alt},
                      ShortCutCase{"Shift+Ctrl+Alt+Del", Qt::Key_Delete | Shift | Ctrl | Alt},
                      ShortCutCase{"F12", Qt::Key_F12}, ShortCutCase{"Ctrl++", Qt::Key_Plus | Ctrl},
                      ShortCutCase{"Esc", Qt::Key_Escape}, ShortCutCase{"Enter", Qt::Key_Return},
                      ShortCutCase{"7", Qt::Key_7},
                      // unreadable: no shortcut at all
                      ShortCutCase{"", 0}, ShortCutCase{"Ctrl+", 0}, ShortCutCase{"Ctrl+Blah", 0},
                      ShortCutCase{"F0", 0}, ShortCutCase{"F25", 0}, ShortCutCase{"Ctrl+Ж", 0}));

TEST(HotKeyTable, RegisterCutsAtTheFirstStarAndAnswersEmptyPastTheEnd)
{
    TSkHotKey table;
    table.RegisterHotKey(QStringLiteral("F5*html_load*html_see*a.htm"), 1);
    table.RegisterHotKey(QStringLiteral("nonsense*x"), -1);
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(table.PageAt(0), 1);
    EXPECT_EQ(table.ShortCutAt(0), int(Qt::Key_F5));
    EXPECT_EQ(table.ActionAt(0), QStringLiteral("html_load*html_see*a.htm"));
    EXPECT_EQ(table.ShortCutAt(1), 0);
    EXPECT_EQ(table.PageAt(2), 0);
    EXPECT_EQ(table.ShortCutAt(-1), 0);
    EXPECT_EQ(table.ActionAt(2), QString());
}

TEST(HotKeyTable, MatchesByPageAndFirstRegisteredWins)
{
    TSkHotKey table;
    table.RegisterHotKey(QStringLiteral("F5*page0"), 0);
    table.RegisterHotKey(QStringLiteral("F5*first1"), 1);
    table.RegisterHotKey(QStringLiteral("F5*second1"), 1);
    table.RegisterHotKey(QStringLiteral("F6*anywhere"), -1);
    table.RegisterHotKey(QStringLiteral("bad*never"), -1);
    const int f5 = KeyToShortCut(Qt::Key_F5, Qt::KeypadModifier);
    EXPECT_EQ(table.ActionAt(table.Match(f5, 0)), QStringLiteral("page0"));
    EXPECT_EQ(table.ActionAt(table.Match(f5, 1)), QStringLiteral("first1"));
    EXPECT_EQ(table.Match(f5, 2), -1);
    EXPECT_EQ(table.ActionAt(table.Match(Qt::Key_F6, 7)), QStringLiteral("anywhere"));
    EXPECT_EQ(table.Match(KeyToShortCut(Qt::Key_F5, Qt::ShiftModifier), 0), -1);
    EXPECT_EQ(table.Match(0, -1), -1); // the unreadable entry never fires
}

} // namespace
