#include "../support/TempDir.h"
#include "../support/TestArchive.h"
#include "controls/Button.h"
#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/EditBox.h"
#include "controls/Label.h"
#include "controls/ListBox.h"
#include "controls/Panel.h"
#include "controls/SpeedButton.h"
#include "controls/SpinEdit.h"
#include "controls/Splitter.h"
#include "core/ResourceArchive.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// Items files in an archive of their own; Windows-1251 text.
class ItemsFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::setAppFolderOverride(dir.folder());
        TestArchive archive;
        archive.add("combo.txt", "\xCF\xE5\xF0\xE5\xE4\xED\xE8\xE5;front.htm\r\n" // "Передние"
                                 ";skipped\r\n"
                                 "no value\r\n"
                                 "two;a;b\r\n");
        archive.add("list.txt", "Engine#;#engine.htm\r\n"
                                "plain line\r\n"
                                "#;#empty caption.htm\r\n");
        dir.write(s("interface.dat"), archive.bytes());
        ASSERT_TRUE(OpenArchive(dir.folder() + s("interface.dat")));
    }
    void TearDown() override
    {
        CloseArchive();
        platform::setAppFolderOverride(QString());
    }

    TempDir dir;
    platform::ScopedRecordingDialogs dialogs;
};

} // namespace

TEST_F(ItemsFiles, ComboBoxItems)
{
    TSkComboBox combo;
    combo.LoadItems(s("combo.txt"));
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(0), s("Передние"));
    EXPECT_EQ(combo.Values, (QStringList{s("front.htm"), s(""), s("a;b")}));
    EXPECT_EQ(combo.itemText(1), s("no value"));
    combo.setCurrentIndex(2);
    EXPECT_EQ(combo.GetSelectedValue(), s("a;b"));
    combo.setCurrentIndex(-1);
    EXPECT_EQ(combo.GetSelectedValue(), s(""));

    combo.LoadItems(s("missing.txt")); // reported by the reader; the box is emptied
    EXPECT_EQ(combo.count(), 0);
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(ItemsFiles, ListBoxItems)
{
    TSkListBox list;
    list.LoadItems(s("list.txt"));
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.item(0)->text(), s("Engine"));
    EXPECT_EQ(list.item(2)->text(), s("")); // empty captions stay
    EXPECT_EQ(list.GetItemValue(0), s("engine.htm"));
    EXPECT_EQ(list.GetItemValue(1), s(""));
    EXPECT_EQ(list.GetItemValue(2), s("empty caption.htm"));
    EXPECT_EQ(list.GetItemValue(3), s(""));
    list.LoadItems(s("missing.txt")); // keeps its items
    EXPECT_EQ(list.count(), 3);
}

TEST(SimpleControls, ComboBoxIgnoresTheWheel)
{
    TSkComboBox combo;
    combo.addItems({s("a"), s("b"), s("c")});
    combo.setCurrentIndex(1);
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&combo, &wheel);
    EXPECT_EQ(combo.currentIndex(), 1);
    combo.SetReadOnly(true);
    EXPECT_FALSE(combo.isEditable());
}

TEST(SimpleControls, DigitsOnlyPairWithMinLink)
{
    QWidget form;
    auto *a = new TSkEditBox(&form);
    auto *b = new TSkEditBox(&form);
    b->OnlyNumber = true;
    a->OnlyNumber = true;
    a->SetMinLink(b);
    ASSERT_EQ(a->MinLink(), b);

    b->setText(s("3"));
    QTest::keyClicks(a, s("x7"));
    EXPECT_EQ(a->text(), s("7")); // the letter is dropped
    EXPECT_EQ(b->text(), s("7"));
    EXPECT_EQ(b->MinValue, 7);

    b->setText(s("5"));
    QTest::keyClick(b, Qt::Key_End);
    EXPECT_EQ(b->text(), s("7"));
    b->clear();
    QTest::keyClick(b, Qt::Key_Backspace);
    EXPECT_EQ(b->text(), s("7")); // even an emptied box gets its minimum back

    TSkEditBox plain;
    TSkEditBox linked;
    plain.SetMinLink(&linked); // not digits-only at this moment: no link
    EXPECT_EQ(plain.MinLink(), nullptr);
    QTest::keyClicks(&plain, s("a1"));
    EXPECT_EQ(plain.text(), s("a1"));
    EXPECT_EQ(plain.GetNumber(), 0);
}

TEST(SimpleControls, SpinEditLimits)
{
    TSkSpinEdit spin;
    spin.setValue(-50);
    EXPECT_EQ(spin.value(), -1);
    spin.setValue(2000000);
    EXPECT_EQ(spin.value(), 1000000);
    spin.SetMaxValue(10);
    EXPECT_EQ(spin.value(), 10);
    spin.SetMinValue(5);
    EXPECT_EQ(spin.value(), 10);
    spin.setValue(3);
    EXPECT_EQ(spin.value(), 5);
    // A minimum above the maximum must not bounce the value for ever: the
    // maximum, applied last, wins.
    spin.SetMinValue(20);
    EXPECT_EQ(spin.value(), 10);
}

TEST(SimpleControls, SpeedButtonDownStates)
{
    QWidget bar;
    auto *a = new TSkSpeedButton(&bar);
    auto *b = new TSkSpeedButton(&bar);
    a->ToggleDown();
    EXPECT_TRUE(a->Down());
    a->ToggleDown();
    EXPECT_FALSE(a->Down());
    EXPECT_FALSE(a->DownState);

    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    a->SetDown(true);
    b->SetDown(true);
    EXPECT_FALSE(a->Down()); // one group: pressing one releases the other
    EXPECT_TRUE(b->Down());

    b->ShowOrHide();
    EXPECT_TRUE(b->isHidden());
    b->ShowOrHide();
    EXPECT_FALSE(b->isHidden());
}

TEST(SimpleControls, PanelAndSplitterShowAgainWhereTheyWere)
{
    QWidget form;
    form.resize(400, 300);
    auto *panel = new TSkPanel(&form);
    panel->setGeometry(30, 40, 100, 50);
    panel->ShowOrHide(); // visible_ex: starts hidden with its place remembered
    EXPECT_TRUE(panel->isHidden());
    panel->move(0, 0);
    panel->ShowOrHide();
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(panel->pos(), QPoint(30, 40));

    panel->resize(101, 51);
    panel->SetCenterHorz(true);
    EXPECT_EQ(panel->x(), 149); // (400 - 101) div 2
    panel->SetCenterVert(true);
    EXPECT_EQ(panel->y(), 124);

    auto *split = new TSkSplitter(&form);
    split->setGeometry(200, 0, 4, 300);
    split->ShowOrHide();
    split->move(1, 1);
    split->ShowOrHide();
    EXPECT_EQ(split->pos(), QPoint(200, 0));
}

TEST(SimpleControls, CheckBoxEnableListAndLabelUrlStyle)
{
    TSkCheckBox box;
    box.SetEnableControls(s("Panel1;BUTTON2"));
    box.SetEnableControls(s(""));
    EXPECT_EQ(box.EnableList, (QStringList{s("panel1"), s("button2"), s("")}));

    TSkLabel label;
    label.SetUrlStyle(true);
    EXPECT_TRUE(label.font().underline());
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    label.SetUrlStyle(false);
    EXPECT_FALSE(label.font().underline());
    EXPECT_EQ(label.cursor().shape(), Qt::ArrowCursor);
}

TEST(SimpleControls, ButtonCaptionWrapsWithoutLosingText)
{
    TSkButton button;
    button.resize(60, 40);
    button.SetCaption(s("Снятие двигателя с автомобиля"));
    EXPECT_EQ(button.text(), button.Caption());
    button.SetWordWrap(true);
    EXPECT_TRUE(button.text().contains(u'\n'));
    EXPECT_EQ(button.Caption(), s("Снятие двигателя с автомобиля"));
    EXPECT_EQ(QString(button.text()).replace(u'\n', u' '), button.Caption());
}
