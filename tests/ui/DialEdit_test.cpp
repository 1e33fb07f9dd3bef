#include "controls/DialButton.h"
#include "controls/DialEdit.h"
#include "controls/SpinButton.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace
{

/// A shown, active window holding a dial edit and a second widget to move the focus to.
class DialEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Window.resize(200, 80);
        Edit = new TDialEdit(&Window);
        Edit->move(10, 10);
        Other = new QPushButton(QStringLiteral("other"), &Window);
        Other->move(10, 45);
        Window.show();
        Window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    }

    void FocusEdit()
    {
        Edit->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(Edit->hasFocus());
    }

    void SendWheel(int delta)
    {
        const QPointF pos(5, 5);
        QWheelEvent wheel(pos, Edit->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Edit, &wheel);
    }

    QWidget Window;
    TDialEdit* Edit = nullptr;
    QPushButton* Other = nullptr;
};

TEST_F(DialEditTest, StartsAtZeroWithMaxLengthFromTheBounds)
{
    EXPECT_EQ(Edit->text(), QStringLiteral("0"));
    EXPECT_EQ(Edit->Value(), 0);
    EXPECT_EQ(Edit->width(), TDialEdit::DefaultWidth);
    EXPECT_EQ(Edit->maxLength(), 3); // "100"
    Edit->SetMinValue(-12);
    Edit->SetMaxValue(12);
    EXPECT_EQ(Edit->maxLength(), 3); // "-12"
    Edit->SetMinValue(-1000);
    EXPECT_EQ(Edit->maxLength(), 5);
}

TEST_F(DialEditTest, TypingMinusOneThreeShowsMinusTwelveAtTheThirdCharacter)
{
    Edit->SetMinValue(-12);
    Edit->SetMaxValue(12);
    FocusEdit();
    QTest::keyClicks(Edit, QStringLiteral("-1"));
    EXPECT_EQ(Edit->text(), QStringLiteral("-1"));
    QSignalSpy change(Edit, &TDialEdit::Change);
    QTest::keyClick(Edit, Qt::Key_3);
    EXPECT_EQ(Edit->text(), QStringLiteral("-12"));
    EXPECT_EQ(change.count(), 1) << "one keystroke, one Change, even with the clamping rewrite";
    EXPECT_EQ(Edit->cursorPosition(), 3);
}

TEST_F(DialEditTest, LettersGiveTheLastValidValueAndAreReplacedOnLeaving)
{
    Edit->SetValue(7);
    FocusEdit();
    QTest::keyClicks(Edit, QStringLiteral("ab"));
    EXPECT_EQ(Edit->text(), QStringLiteral("ab"));
    EXPECT_EQ(Edit->Value(), 7);
    Other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Edit->text(), QStringLiteral("7"));
}

TEST_F(DialEditTest, SetValueClampsAndAnUnchangedTextRaisesNoChange)
{
    Edit->SetMaxValue(127);
    QSignalSpy change(Edit, &TDialEdit::Change);
    Edit->SetValue(500);
    EXPECT_EQ(Edit->text(), QStringLiteral("127"));
    EXPECT_EQ(change.count(), 1);
    Edit->SetValue(127);
    Edit->SetValue(1000);
    EXPECT_EQ(change.count(), 1);
    Edit->SetValue(-5);
    EXPECT_EQ(Edit->text(), QStringLiteral("0"));
    EXPECT_EQ(change.count(), 2);
}

TEST_F(DialEditTest, NarrowingTheBoundsReclampsTheShownValue)
{
    Edit->SetValue(100);
    Edit->SetMaxValue(12);
    EXPECT_EQ(Edit->text(), QStringLiteral("12")) << "clamped, not cut to two characters";
    Edit->SetMinValue(20);
    Edit->SetMaxValue(250);
    EXPECT_EQ(Edit->Value(), 20);
    Edit->SetMinValue(-100000);
    Edit->SetValue(-99999);
    EXPECT_EQ(Edit->text(), QStringLiteral("-99999"));
}

TEST_F(DialEditTest, DialDragIsMeasuredFromThePressPoint)
{
    Edit->SetMaxValue(127);
    Edit->SetValue(50);
    TDialButton* dial = Edit->DialButton();
    const QPoint press(5, 8);
    QTest::mousePress(dial, Qt::LeftButton, Qt::NoModifier, press);
    EXPECT_TRUE(dial->Pressed());
    EXPECT_TRUE(Edit->hasFocus());
    QTest::mouseMove(dial, press - QPoint(0, 10));
    EXPECT_EQ(Edit->Value(), 60);
    QTest::mouseMove(dial, press - QPoint(0, 4));
    EXPECT_EQ(Edit->Value(), 54);
    QTest::mouseMove(dial, press);
    EXPECT_EQ(Edit->Value(), 50);
    QTest::mouseMove(dial, press + QPoint(0, 80));
    EXPECT_EQ(Edit->Value(), 0) << "clamped at MinValue";
    QTest::mouseRelease(dial, Qt::LeftButton, Qt::NoModifier, press + QPoint(0, 80));
    EXPECT_FALSE(dial->Pressed());
    EXPECT_EQ(Edit->selectedText(), Edit->text());
}

TEST_F(DialEditTest, DialDragUsesTheIncrementPerPixel)
{
    Edit->SetMinValue(10);
    Edit->SetMaxValue(250);
    Edit->SetIncrement(5);
    Edit->SetValue(120);
    TDialButton* dial = Edit->DialButton();
    QTest::mousePress(dial, Qt::LeftButton, Qt::NoModifier, QPoint(5, 8));
    QTest::mouseMove(dial, QPoint(5, 5));
    EXPECT_EQ(Edit->Value(), 135);
    QTest::mouseRelease(dial, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
}

TEST_F(DialEditTest, StepButtonFiresAtOnceThenAfter400MsThenEvery100Ms)
{
    Edit->SetMaxValue(1000);
    TSpinButton* up = Edit->UpButton();
    QElapsedTimer clock;
    clock.start();
    QTest::mousePress(up, Qt::LeftButton, Qt::NoModifier, QPoint(4, 2));
    EXPECT_EQ(Edit->Value(), 1);
    EXPECT_TRUE(up->RepeatTimer().isActive());
    EXPECT_EQ(up->RepeatTimer().interval(), TSpinButton::FirstRepeatMs);
    QTest::qWait(1000);
    const int steps = Edit->Value();
    const qint64 held = clock.elapsed();
    EXPECT_EQ(up->RepeatTimer().interval(), TSpinButton::RepeatMs);
    // At once, at 400 ms, then every 100 ms: 8 steps in one second on an idle machine; a busy
    // one may deliver late ticks but never early ones.
    const qint64 most = 1 + (held >= 400 ? 1 + (held - 400) / 100 : 0);
    EXPECT_LE(steps, most);
    EXPECT_GE(steps, 4);
    QTest::mouseRelease(up, Qt::LeftButton, Qt::NoModifier, QPoint(4, 2));
    EXPECT_FALSE(up->RepeatTimer().isActive());
    QTest::qWait(250);
    EXPECT_EQ(Edit->Value(), steps) << "no step after the release";
}

TEST_F(DialEditTest, DownButtonStepsDownAndOtherButtonsDoNotFire)
{
    Edit->SetValue(10);
    Edit->SetIncrement(3);
    TSpinButton* down = Edit->DownButton();
    QTest::mouseClick(down, Qt::LeftButton, Qt::NoModifier, QPoint(4, 2));
    EXPECT_EQ(Edit->Value(), 7);
    QTest::mouseClick(down, Qt::RightButton, Qt::NoModifier, QPoint(4, 2));
    EXPECT_EQ(Edit->Value(), 7);
    EXPECT_FALSE(down->RepeatTimer().isActive());
}

TEST_F(DialEditTest, ArrowKeysAndWheelStepByTheIncrementWithinTheBounds)
{
    Edit->SetMaxValue(12);
    Edit->SetIncrement(5);
    FocusEdit();
    QTest::keyClick(Edit, Qt::Key_Up);
    EXPECT_EQ(Edit->Value(), 5);
    EXPECT_EQ(Edit->selectedText(), QStringLiteral("5"));
    QTest::keyClick(Edit, Qt::Key_Up);
    QTest::keyClick(Edit, Qt::Key_Up);
    EXPECT_EQ(Edit->Value(), 12);
    QTest::keyClick(Edit, Qt::Key_Down);
    EXPECT_EQ(Edit->Value(), 7);
    SendWheel(120);
    EXPECT_EQ(Edit->Value(), 12);
    SendWheel(-1); // a tiny delta still makes one whole step
    EXPECT_EQ(Edit->Value(), 7);
    SendWheel(-960); // a large one makes only one
    EXPECT_EQ(Edit->Value(), 2);
}

TEST_F(DialEditTest, PastingTwoLinesInsertsTheFirstOnly)
{
    Edit->SetMaxValue(9999);
    FocusEdit();
    Edit->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("12\n34"));
    QTest::keySequence(Edit, QKeySequence::Paste);
    EXPECT_EQ(Edit->text(), QStringLiteral("12"));
    Edit->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("7\t8"));
    Edit->PasteText();
    EXPECT_EQ(Edit->text(), QStringLiteral("7"));
}

TEST_F(DialEditTest, EnterAndEscapeReachTheDialogsButtons)
{
    QDialog dialog;
    auto* edit = new TDialEdit(&dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->move(0, 40);
    ok->setDefault(true);
    QSignalSpy clicked(ok, &QPushButton::clicked);
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 1);
    QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicked.count(), 2);
    EXPECT_EQ(edit->text(), QStringLiteral("0")) << "no line break typed";
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(rejected.count(), 1);
}

TEST_F(DialEditTest, AClickThatGivesTheFocusSelectsAllAndTheNextPlacesTheCaret)
{
    Edit->SetValue(42);
    Other->setFocus();
    ASSERT_FALSE(Edit->hasFocus());
    const QPoint inText(6, Edit->height() / 2);
    QTest::mouseClick(Edit, Qt::LeftButton, Qt::NoModifier, inText);
    EXPECT_TRUE(Edit->hasFocus());
    EXPECT_EQ(Edit->selectedText(), QStringLiteral("42"));
    QTest::mouseClick(Edit, Qt::LeftButton, Qt::NoModifier, inText);
    EXPECT_TRUE(Edit->selectedText().isEmpty());
}

TEST_F(DialEditTest, ButtonsSitInsideTheRightEdge)
{
    const QRect dial = Edit->DialButton()->geometry();
    const QRect up = Edit->UpButton()->geometry();
    const QRect down = Edit->DownButton()->geometry();
    EXPECT_EQ(dial.width(), 10);
    EXPECT_EQ(up.width(), 16);
    EXPECT_EQ(up.right() + 1, dial.left());
    EXPECT_EQ(up.left(), down.left());
    EXPECT_EQ(down.top(), up.top() + dial.height() / 2);
    EXPECT_EQ(down.bottom(), dial.bottom());
    EXPECT_LE(dial.right(), Edit->width() - 1);
    EXPECT_GE(Edit->textMargins().right(), dial.width() + up.width());
}

} // namespace
