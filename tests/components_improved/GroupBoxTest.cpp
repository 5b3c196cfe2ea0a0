// The group box's caption bar: minimising to the bar and restoring, the
// event raised within the call, clicks on the bar, children's states.
#include "components/base/rGroupBox.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"

#include "platform/ui/StdCtrls.h"

#include <QApplication>
#include <QEnterEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct BoxFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TrGroupBox* Box = nullptr;
    int Events = 0;
    bool MinimizedInEvent = false;

    void SetUp() override
    {
        Form->SetBounds(0, 0, 400, 300);
        Box = new TrGroupBox(Form.get());
        Box->SetParent(Form.get());
        Box->SetBounds(10, 10, 200, 150);
        Box->SetCaption(QStringLiteral("Lähtö"));
        Box->OnMinimizeChange = [this](TComponent*) {
            ++Events;
            MinimizedInEvent = Box->Minimized();
        };
    }

    TEdit* Child(int Top, int Height)
    {
        auto* e = new TEdit(Form.get());
        e->SetParent(Box);
        e->SetBounds(8, Top, 100, Height);
        return e;
    }
};

}  // namespace

TEST_F(BoxFixture, MinimiseRaisesTheEventWithinTheCallAndOnlyOnChange)
{
    Box->SetMinimized(false);
    EXPECT_EQ(Events, 0);
    Box->SetMinimized(true);
    EXPECT_EQ(Events, 1);
    EXPECT_TRUE(MinimizedInEvent);
    EXPECT_TRUE(Box->Minimized());
    Box->SetMinimized(true);
    EXPECT_EQ(Events, 1);
    Box->SetMinimized(false);
    EXPECT_EQ(Events, 2);
    EXPECT_FALSE(MinimizedInEvent);
    EXPECT_EQ(Box->Height(), 150);
    EXPECT_EQ(Box->OriginSize, 150);
}

TEST_F(BoxFixture, ClientAlignedBoxIgnoresMinimise)
{
    Box->SetAlign(alClient);
    Box->SetMinimized(true);
    EXPECT_FALSE(Box->Minimized());
    EXPECT_EQ(Events, 0);
}

TEST_F(BoxFixture, CollapsedHeightFollowsTheFrame)
{
    struct Case {
        TFrameType Frame;
        int Height;
    } cases[] = {{ftSingleLine, 21}, {ft3D, 23}, {ftNone, 19}, {ftDoubleLine, 23}};
    Box->SetCaptionHeight(18);
    for (const Case& c : cases) {
        Box->SetFrameType(c.Frame);
        Box->SetMinimized(true);
        EXPECT_EQ(Box->Height(), c.Height) << int(c.Frame);
        Box->SetMinimized(false);
        EXPECT_EQ(Box->Height(), 150);
    }
}

TEST_F(BoxFixture, RestoreWithoutRecordedSizeMeasuresTheChildren)
{
    Child(5, 10);
    Box->SetMinimized(true);
    Box->OriginSize = 0;  // as the property saver may leave it
    Box->SetMinimized(false);
    EXPECT_EQ(Box->Height(), 14 + 24);  // at least h + 24
    Box->SetMinimized(true);
    Box->OriginSize = 0;
    Box->Controls(0)->SetTop(60);
    Box->SetMinimized(false);
    EXPECT_EQ(Box->Height(), 70 + 8);
}

TEST_F(BoxFixture, HiddenChildStaysHiddenAndOthersComeBack)
{
    TEdit* shown = Child(20, 21);
    TEdit* hidden = Child(50, 21);
    hidden->Hide();
    Box->SetMinimized(true);
    EXPECT_FALSE(shown->Visible());
    Box->SetMinimized(false);
    EXPECT_TRUE(shown->Visible());
    EXPECT_FALSE(hidden->Visible());
}

TEST_F(BoxFixture, ClicksToggleOnlyWithAButton)
{
    Box->Repaint();
    Box->MouseDown(mbLeft, ssLeft | ssDouble, 50, 5);
    EXPECT_FALSE(Box->Minimized());
    Box->SetMinMaxBtnType(mmbRound);
    TBitmap bmp;
    Box->PaintTo(&bmp);  // the button's place is known once drawn
    Box->MouseDown(mbLeft, ssLeft, 50, 5);
    EXPECT_FALSE(Box->Minimized());
    Box->MouseDown(mbLeft, ssLeft | ssDouble, 50, 5);
    EXPECT_TRUE(Box->Minimized());
    Box->MouseDown(mbLeft, ssLeft, 195, 9);
    EXPECT_FALSE(Box->Minimized());
    EXPECT_EQ(Events, 2);
}

TEST_F(BoxFixture, SetAllChildrenSkipsTheExcludedTagWithItsChildren)
{
    TEdit* plain = Child(20, 21);
    auto* inner = new TrGroupBox(Form.get());
    inner->SetParent(Box);
    inner->Tag = 99;
    auto* innerEdit = new TEdit(Form.get());
    innerEdit->SetParent(inner);
    Box->SetAllChildren(chvSetVisibility, false, nullptr, 99);
    EXPECT_FALSE(plain->Visible());
    EXPECT_TRUE(inner->Visible());
    EXPECT_TRUE(innerEdit->Visible());
}

TEST_F(BoxFixture, DisablingReachesControlsOnEveryPage)
{
    auto* pc = new TPageControl(Form.get());
    pc->SetParent(Box);
    auto* p1 = new TTabSheet(Form.get());
    p1->SetPageControl(pc);
    auto* p2 = new TTabSheet(Form.get());
    p2->SetPageControl(pc);
    auto* e2 = new TEdit(Form.get());
    e2->SetParent(p2);
    pc->SetActivePage(p1);
    Box->SetEnabled(false);
    EXPECT_FALSE(e2->Enabled());
    Box->SetEnabled(true);
    EXPECT_TRUE(e2->Enabled());
}

TEST_F(BoxFixture, CaptionFontFollowsTheBoxUntilChangedItself)
{
    TFont f;
    f.SetHeight(-15);
    Box->SetFont(f);
    EXPECT_EQ(Box->CaptionFont()->Height(), -15);
    EXPECT_TRUE(Box->CaptionParentFont());
    Box->CaptionFont()->SetStyle(fsBold);
    EXPECT_FALSE(Box->CaptionParentFont());
    f.SetHeight(-20);
    Box->SetFont(f);
    EXPECT_EQ(Box->CaptionFont()->Height(), -15);
}

TEST_F(BoxFixture, AutoMinimiseWaitsForTheTimeAwayAndRestoresWhenBack)
{
    TPoint mouse = Box->ClientToScreen({300, 300});
    int64_t now = 1000;
    Box->CursorPosSource = [&] { return mouse; };
    Box->TickSource = [&] { return now; };
    Box->CheckAutoMinimize();  // both times 0: the rule is off
    Box->AutoMinimizeTime = 500;
    Box->AutoMaximizeTime = 100;
    Box->CheckAutoMinimize();  // first call records the time
    now += 500;
    Box->CheckAutoMinimize();
    EXPECT_FALSE(Box->Minimized());
    now += 1;
    Box->CheckAutoMinimize();
    EXPECT_TRUE(Box->Minimized());
    mouse = Box->ClientToScreen({5, 5});
    Box->CheckAutoMinimize();
    now += 101;
    Box->CheckAutoMinimize();
    EXPECT_FALSE(Box->Minimized());
    EXPECT_EQ(Events, 2);
}

TEST_F(BoxFixture, CaptionBarColoursAndFrames)
{
    Box->SetCaption(QString());
    Box->SetCaptionColor(clNavy);
    Box->SetFrameType(ftSingleLine);
    Box->SetFrameColor(clRed);
    Form->Show();
    TBitmap bmp;
    Box->PaintTo(&bmp);
    EXPECT_EQ(bmp.Pixel(0, 0), clRed);            // the frame
    EXPECT_EQ(bmp.Pixel(100, 8), clNavy);         // the caption bar, h + 1 high
    EXPECT_NE(bmp.Pixel(100, 16 + 4), clNavy);    // the background below it
    Box->SetCaptionPosition(cpLeft);
    Box->PaintTo(&bmp);
    EXPECT_EQ(bmp.Pixel(8, 100), clNavy);
    EXPECT_EQ(Box->AdjustedClientRect().Left, 14 + 1);  // past the bar
    Box->SetMinimized(true);
    EXPECT_EQ(Box->Width(), 14 + 3);  // collapses sideways
}

TEST_F(BoxFixture, DroppedFilesReachTheEventWithThePointAndTheChildUnderIt)
{
    TEdit* edit = Child(20, 21);
    int drops = 0;
    Box->OnDropFiles = [&](TComponent*, int X, int Y) {
        ++drops;
        EXPECT_EQ(X, 30);
        EXPECT_EQ(Y, 25);
    };
    Box->FilesDropped({QStringLiteral("/tmp/a.txt")}, {30, 25});
    EXPECT_EQ(drops, 0);  // dropping is off
    Box->SetEnableDropFile(true);
    Box->FilesDropped({QStringLiteral("/tmp/a.txt"), QStringLiteral("/tmp/b.txt")}, {30, 25});
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(Box->DropFilesCount(), 2);
    EXPECT_EQ(Box->DropFileNames(1), QStringLiteral("/tmp/b.txt"));
    EXPECT_EQ(Box->DropControl(), edit);
    Box->SetEnabled(false);
    Box->FilesDropped({QStringLiteral("/tmp/c.txt")}, {1, 1});
    EXPECT_EQ(drops, 1);
}

TEST(GroupBoxHintTest, AutoHintShowsTheHintOfTheControlUnderTheMouse)
{
    int argc = 0;
    TApplication app(argc, nullptr);  // the application's hint lives there
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    auto* box = new TrGroupBox(form.get());
    box->SetParent(form.get());
    box->SetBounds(0, 0, 300, 100);
    box->SetCaption(QStringLiteral("Ohje"));
    box->AutoHint = true;
    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(10, 150, 80, 25);
    button->SetHint(QStringLiteral("Tallenna|Tallentaa muutokset tietokantaan"));
    form->AfterConstruction();
    form->Show();
    auto enter = [](TControl* C) {
        QEnterEvent e(QPointF(2, 2), C->Widget()->mapToGlobal(QPointF(2, 2)), C->Widget()->mapToGlobal(QPointF(2, 2)));
        QApplication::sendEvent(C->Widget(), &e);
    };
    enter(button);
    EXPECT_EQ(box->Caption(), QStringLiteral("Tallentaa muutokset tietokantaan")) << "the long part";
    EXPECT_EQ(Application->Hint, QStringLiteral("Tallentaa muutokset tietokantaan"));
    // a program that handles the hint itself keeps the caption as it is
    box->SetCaption(QStringLiteral("Ohje"));
    int told = 0;
    Application->OnHint = [&](TComponent*) { ++told; };
    enter(box);
    enter(button);
    EXPECT_EQ(told, 2);
    EXPECT_EQ(box->Caption(), QStringLiteral("Ohje"));
    Application->OnHint = nullptr;
}
