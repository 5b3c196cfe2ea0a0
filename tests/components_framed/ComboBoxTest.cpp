// The framed combo box's own completion with typed keys, the list styles'
// search with its reset delay, read-only mode and values.
#include "components/framed/FcCmboBx.h"
#include "components/framed/FcEdit.h"
#include "components/framed/FcLstBox.h"
#include "platform/os/Sound.h"
#include "platform/ui/Forms.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QEnterEvent>
#include <QTest>
#include "platform/ui/Clipbrd.h"
#include "tests/support/RealInput.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

void Type(QWidget* W, const QString& Text)
{
    for (QChar ch : Text) {
        const int key = ch == QLatin1Char('\b') ? int(Qt::Key_Backspace) : int(ch.toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(W, &press);
    }
}

struct ComboForm {
    explicit ComboForm(TComboBoxStyle Style = csDropDown)
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        combo = new TFcComboBox(form.get());
        combo->SetParent(form.get());
        combo->SetStyle(Style);
        QStringList items;
        for (int i = 0; i <= 10; ++i)
            items << QString::number(i);
        combo->SetItems(items);
        form->AfterConstruction();
        SetSoundSink([this](const QString&) { ++beeps; });
    }
    ~ComboForm() { SetSoundSink(nullptr); }
    QWidget* Input() const
    {
        auto* box = static_cast<QComboBox*>(combo->Widget());
        return box->lineEdit() ? static_cast<QWidget*>(box->lineEdit()) : box;
    }
    std::unique_ptr<TForm> form;
    TFcComboBox* combo;
    int beeps = 0;
};

}  // namespace

TEST(FcComboBoxTest, PickListThatCanBeTypedInto)
{
    struct Case {
        const char* typed;
        int index;
        const char* text;
        int beeps;
    } cases[] = {{"1", 1, "1", 0}, {"10", 10, "10", 0}, {"25", 2, "2", 1}, {"x", -1, "", 1}};
    for (const Case& c : cases) {
        ComboForm f;
        f.combo->AllowEdit = false;
        Type(f.Input(), QString::fromLatin1(c.typed));
        EXPECT_EQ(f.combo->ItemIndex(), c.index) << c.typed;
        EXPECT_EQ(f.combo->Text(), QString::fromLatin1(c.text)) << c.typed;
        EXPECT_EQ(f.beeps, c.beeps) << c.typed;
    }
}

TEST(FcComboBoxTest, CompletionSelectsTheTail)
{
    ComboForm f;
    f.combo->SetItems({QStringLiteral("Helsinki"), QStringLiteral("Hamina"), QStringLiteral("Turku")});
    Type(f.Input(), QStringLiteral("tu"));
    EXPECT_EQ(f.combo->Text(), QStringLiteral("Turku"));
    EXPECT_EQ(f.combo->SelStart(), 2);
    EXPECT_EQ(f.combo->SelLength(), 3);
    EXPECT_EQ(f.combo->SearchString(), QStringLiteral("tu"));
    ComboForm g;
    g.combo->SetItems({QStringLiteral("Helsinki")});
    Type(g.Input(), QStringLiteral("Hx"));
    EXPECT_EQ(g.combo->Text(), QStringLiteral("Hx")) << "AllowEdit keeps unlisted text";
    EXPECT_EQ(g.beeps, 0);
    int notInList = 0;
    g.combo->OnNotInList = [&](TComponent*) { ++notInList; };
    g.combo->DoExit();
    EXPECT_EQ(notInList, 1);
    g.combo->SetText(QStringLiteral("he"));
    EXPECT_EQ(g.combo->ItemIndex(), 0) << "text from code completes too";
    g.combo->ForceText(QStringLiteral("h"));
    EXPECT_EQ(g.combo->Text(), QStringLiteral("h"));
}

TEST(FcComboBoxTest, ListStyleSearchResetsAfterTheDelay)
{
    ComboForm f(csDropDownList);
    f.combo->SetItems({QStringLiteral("Aino"), QStringLiteral("Antti"), QStringLiteral("Bertta")});
    Type(f.Input(), QStringLiteral("an"));
    EXPECT_EQ(f.combo->ItemIndex(), 1);
    f.combo->SearchTimerExpired();  // 1500 ms without a key
    EXPECT_TRUE(f.combo->SearchString().isEmpty());
    Type(f.Input(), QStringLiteral("b"));
    EXPECT_EQ(f.combo->ItemIndex(), 2) << "a new search";
    Type(f.Input(), QStringLiteral("x"));
    EXPECT_EQ(f.combo->ItemIndex(), 2);
    EXPECT_EQ(f.beeps, 1);
}

TEST(FcComboBoxTest, ReadOnlyAndValues)
{
    ComboForm f;
    f.combo->SetItemIndex(3);
    f.combo->SetReadOnly(true);
    EXPECT_EQ(f.combo->Color(), clInfoBk);
    Type(f.Input(), QStringLiteral("7"));
    EXPECT_EQ(f.combo->ItemIndex(), 3);
    f.combo->SetReadOnly(false);
    EXPECT_EQ(f.combo->GetValue(), QStringLiteral("3")) << "without values: the text";
    f.combo->SetItems({});
    f.combo->SetSorted(true);
    f.combo->AddItemValue(QStringLiteral("Vaalea"), QStringLiteral("0"));
    f.combo->AddItemValue(QStringLiteral("Tumma"), QStringLiteral("1"));
    EXPECT_EQ(f.combo->GetItemValue(f.combo->IndexOf(QStringLiteral("Tumma"))), QStringLiteral("1"));
    f.combo->SetValue(QStringLiteral("0"));
    EXPECT_EQ(f.combo->Text(), QStringLiteral("Vaalea"));
}

TEST(FcComboBoxTest, MaxLengthRefusesTypingPastIt)
{
    ComboForm f;
    f.combo->AllowEdit = true;
    f.combo->MaxLength = 3;
    f.combo->SetItems({QStringLiteral("Rastiklubi")});
    Type(f.Input(), QStringLiteral("xyzw"));
    EXPECT_EQ(f.combo->Text(), QStringLiteral("xyz"));
    EXPECT_EQ(f.beeps, 1);
}

TEST(FcComboBoxTest, AutoDropDownOpensTheListWhileTyping)
{
    ComboForm f;
    f.combo->AutoDropDown = true;
    f.form->Show();
    f.combo->SetFocus();
    Application->ProcessMessages();
    Type(f.Input(), QStringLiteral("1"));
    EXPECT_TRUE(f.combo->DroppedDown());
    f.combo->SetDroppedDown(false);
    Type(f.Input(), QStringLiteral("\b"));
    EXPECT_FALSE(f.combo->DroppedDown()) << "Backspace leaves the list closed";
    f.form->Hide();
}

TEST(FcComboBoxTest, PasteAndCutCompleteFromTheItems)
{
    ComboForm f;
    f.combo->AllowEdit = true;
    f.combo->SetItems({QStringLiteral("Espoo"), QStringLiteral("Helsinki")});
    f.form->Show();
    f.combo->SetFocus();
    Application->ProcessMessages();
    Clipboard()->SetAsText(QStringLiteral("hel"));
    QTest::keyClick(f.Input(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.combo->ItemIndex(), 1);
    EXPECT_EQ(f.combo->Text(), QStringLiteral("Helsinki"));
    EXPECT_EQ(f.combo->SelText(), QStringLiteral("sinki"));
    // without AllowEdit a paste is refused
    f.combo->AllowEdit = false;
    f.combo->SetItemIndex(0);
    QTest::keyClick(f.Input(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.combo->Text(), QStringLiteral("Espoo"));
    f.form->Hide();
}

TEST(FcComboBoxTest, AValueSetFromCodeRaisesNoEvents)
{
    ComboForm f;
    int changes = 0, clicks = 0;
    f.combo->OnChange = [&](TComponent*) { ++changes; };
    f.combo->OnClick = [&](TComponent*) { ++clicks; };
    f.combo->SetValues({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    f.combo->SetValue(QStringLiteral("b"));
    EXPECT_EQ(f.combo->ItemIndex(), 1);
    EXPECT_EQ(changes + clicks, 0);
    Type(f.Input(), QStringLiteral("5"));
    EXPECT_GT(changes, 0) << "the user's typing still tells";
}

TEST(FcComboBoxTest, ReadOnlyBoxCoversItsButtonAndIgnoresClicks)
{
    ComboForm f;
    f.combo->SetItemIndex(2);
    f.combo->SetReadOnly(true);
    f.form->Show();
    Application->ProcessMessages();
    auto* box = static_cast<QComboBox*>(f.combo->Widget());
    const TRect button = f.combo->ButtonRect();
    const QPoint onButton(button.Left + button.Width() / 2, button.Top + button.Height() / 2);
    // the click goes where the window system sends it: the widget under the point
    auto click = [&] {
        QWidget* target = box->childAt(onButton) ? box->childAt(onButton) : box;
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(box, onButton));
    };
    click();
    EXPECT_FALSE(f.combo->DroppedDown());
    // the button is painted over in the box's colour
    TBitmap shot;
    f.combo->PaintTo(&shot);
    EXPECT_EQ(shot.Pixel(onButton.x(), onButton.y()), ColorToRGB(f.combo->Color()));
    f.combo->SetReadOnly(false);
    click();
    EXPECT_TRUE(f.combo->DroppedDown());
    f.combo->SetDroppedDown(false);
    f.form->Hide();
}

TEST(FcComboBoxTest, TabLeavesAReadOnlyBoxBothWays)
{
    for (TComboBoxStyle style : {csDropDown, csDropDownList}) {
        ComboForm f(style);
        auto* before = new TFcEdit(f.form.get());
        before->SetParent(f.form.get());
        before->SetTop(60);
        auto* after = new TFcEdit(f.form.get());
        after->SetParent(f.form.get());
        after->SetTop(100);
        before->SetTabOrder(0);
        f.combo->SetItemIndex(2);
        f.combo->SetReadOnly(true);
        f.form->Show();
        QApplication::setActiveWindow(f.form->Widget());
        for (auto [key, next] : {std::pair{Qt::Key_Tab, after}, std::pair{Qt::Key_Backtab, before}}) {
            f.combo->SetFocus();
            QApplication::processEvents();
            realinput::Key(f.combo, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            QApplication::processEvents();
            EXPECT_TRUE(next->Focused()) << "style " << int(style) << ", key " << key;
        }
        EXPECT_EQ(f.combo->ItemIndex(), 2);
        f.form->Hide();
    }
}

TEST(FcComboBoxTest, AnEditableReadOnlyBoxMovesTheCaretButKeepsItsText)
{
    struct Case {
        const char* name;
        std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
        int selStart, selLength;
    } cases[] = {
        {"End", {{Qt::Key_End, {}}}, 8, 0},
        {"Home and two to the right", {{Qt::Key_Home, {}}, {Qt::Key_Right, {}}, {Qt::Key_Right, {}}}, 2, 0},
        {"End and one to the left", {{Qt::Key_End, {}}, {Qt::Key_Left, {}}}, 7, 0},
        {"Shift+End selects", {{Qt::Key_Home, {}}, {Qt::Key_End, Qt::ShiftModifier}}, 0, 8},
        {"Delete, Backspace, Down and Shift+Insert change nothing",
         {{Qt::Key_Home, {}}, {Qt::Key_End, Qt::ShiftModifier}, {Qt::Key_Delete, {}}, {Qt::Key_Backspace, {}},
          {Qt::Key_Down, {}}, {Qt::Key_Insert, Qt::ShiftModifier}},
         0, 8},
    };
    for (const Case& c : cases) {
        ComboForm f;
        f.combo->SetItems({QStringLiteral("Helsinki"), QStringLiteral("Hamina")});
        f.combo->SetItemIndex(0);
        f.combo->SetReadOnly(true);
        f.form->Show();
        QApplication::setActiveWindow(f.form->Widget());
        f.combo->SetFocus();
        QApplication::processEvents();
        Clipboard()->SetAsText(QStringLiteral("Kotka"));
        for (auto [key, modifiers] : c.keys)
            realinput::Key(f.combo, key, modifiers);
        EXPECT_EQ(f.combo->SelStart(), c.selStart) << c.name;
        EXPECT_EQ(f.combo->SelLength(), c.selLength) << c.name;
        EXPECT_EQ(f.combo->Text(), QStringLiteral("Helsinki")) << c.name;
        EXPECT_EQ(f.combo->ItemIndex(), 0) << c.name;
        if (c.selLength == 8) {
            realinput::Key(f.combo, Qt::Key_C, Qt::ControlModifier);
            EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("Helsinki")) << c.name << ": Ctrl+C copies the selection";
        }
        f.form->Hide();
    }
}

TEST(FcComboBoxTest, OwnFrameAndFlatButton)
{
    ComboForm f;
    f.combo->SetItemIndex(1);
    f.combo->SetFramingPreference(fpCustomFraming);
    f.combo->SetFrameVisible(true);
    f.combo->SetFrameColor(clRed);
    f.combo->FlatButtons = true;
    auto* other = new TFcComboBox(f.form.get());
    other->SetParent(f.form.get());
    other->SetTop(60);
    f.form->Show();
    // neither focused nor under the mouse: not hot (the pointer may start anywhere)
    QCursor::setPos(f.form->Widget()->mapToGlobal(QPoint(f.form->ClientWidth() - 5, f.form->ClientHeight() - 5)));
    other->SetFocus();
    Application->ProcessMessages();
    TBitmap shot;
    f.combo->PaintTo(&shot);
    EXPECT_EQ(shot.Pixel(f.combo->Width() / 2, 0), clRed) << "the frame's top line";
    EXPECT_EQ(shot.Pixel(0, f.combo->Height() / 2), clRed);
    // not hot: the flat button is the box's colour with the arrow, no bevel
    const TRect b = f.combo->ButtonRect();
    EXPECT_EQ(shot.Pixel(b.Left + 1, b.Top + 1), ColorToRGB(f.combo->Color()));
    // under the mouse the flat button shows its face
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(f.combo->Widget(), &enter);
    f.combo->PaintTo(&shot);
    EXPECT_EQ(shot.Pixel(b.Left + 2, b.Top + 3), ColorToRGB(clBtnFace));
    f.form->Hide();
}

TEST(FcComboBoxTest, DeletingAnItemLetsItsDataGo)
{
    ComboForm f;
    int a = 1, b = 2;
    f.combo->SetObjects(2, &a);
    f.combo->SetObjects(5, &b);
    std::vector<void*> gone;
    f.combo->OnDeleteItem = [&](TComponent*, void* Item) { gone.push_back(Item); };
    f.combo->Delete(2);
    EXPECT_EQ(gone, std::vector<void*>{&a});
    EXPECT_EQ(f.combo->Count(), 10);
    EXPECT_EQ(f.combo->Objects(4), &b) << "the other items keep their data";
    f.combo->Delete(0);
    EXPECT_EQ(gone.size(), 1u) << "an item without data tells nothing";
    f.combo->ClearItems();
    EXPECT_EQ(gone.back(), &b);
    EXPECT_EQ(f.combo->Count(), 0);
}

TEST(FcComboBoxTest, TheListEndsItsSelectionWithOrWithoutAChoice)
{
    ComboForm f(csDropDownList);
    f.form->Show();
    int ok = 0, cancel = 0;
    f.combo->OnSelEndOk = [&](TComponent*) { ++ok; };
    f.combo->OnSelEndCancel = [&](TComponent*) { ++cancel; };
    auto* box = static_cast<QComboBox*>(f.combo->Widget());
    auto openList = [&] {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 8, box->height() / 2));
        // a release right after the list opened is not taken as a choice
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        return box->view() && box->view()->isVisible();
    };
    // an item taken with the mouse
    ASSERT_TRUE(openList());
    QAbstractItemView* view = box->view();
    const QRect third = view->visualRect(box->model()->index(3, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, third.center());
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(f.combo->ItemIndex(), 3);
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(cancel, 0);
    // the same item again is still a choice
    ASSERT_TRUE(openList());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, third.center());
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(ok, 2);
    EXPECT_EQ(cancel, 0);
    // Escape leaves the list without a choice
    ASSERT_TRUE(openList());
    QTest::keyClick(view, Qt::Key_Escape);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(ok, 2);
    EXPECT_EQ(cancel, 1);
    EXPECT_EQ(f.combo->ItemIndex(), 3);
}

namespace {

// Puts the caret of the box's edit field at Pos with a real click.
void ClickCaretTo(ComboForm& F, int Pos)
{
    auto* edit = static_cast<QLineEdit*>(F.Input());
    const int keep = edit->cursorPosition();
    edit->setCursorPosition(Pos);
    const QPoint at = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    edit->setCursorPosition(keep);
    QTest::mouseClick(edit, Qt::LeftButton, {}, at);
}

}  // namespace

TEST(FcComboBoxTest, BackspaceTakesWhatTheCaretOrSelectionSays)
{
    struct Case {
        const char* name;
        int selStart, selLength;  // after typing "hel" into "Helsinki"
        const char* text;
    } cases[] = {
        {"the caret inside, nothing selected: the character before it", 2, 0, "Hlsinki"},
        {"a selection inside the prefix: that part", 1, 1, "Hlsinki"},
        {"the caret at the prefix's end: the prefix shrinks and completes again", 3, 5, "Helsinki"},
    };
    for (const Case& c : cases) {
        ComboForm f;
        f.combo->SetItems({QStringLiteral("Helsinki"), QStringLiteral("Hamina")});
        Type(f.Input(), QStringLiteral("hel"));
        ASSERT_EQ(f.combo->Text(), QStringLiteral("Helsinki"));
        f.combo->SetSelStart(c.selStart);
        f.combo->SetSelLength(c.selLength);
        QTest::keyClick(f.Input(), Qt::Key_Backspace);
        EXPECT_EQ(f.combo->Text(), QString::fromLatin1(c.text)) << c.name;
        EXPECT_EQ(f.beeps, 0) << c.name;
    }
}

TEST(FcComboBoxTest, BackspaceTellsAChangeBeforeTheChoiceFollowsIt)
{
    struct Case {
        const char* typed;
        QList<int> indexSeenByChange;
    } cases[] = {
        {"h", {0, -1}},  // the search emptied: the choice is cleared after the first change
        {"hel", {0, 0}},
    };
    for (const Case& c : cases) {
        ComboForm f;
        f.combo->SetItems({QStringLiteral("Helsinki"), QStringLiteral("Hamina")});
        Type(f.Input(), QString::fromLatin1(c.typed));
        QList<int> seen;
        f.combo->OnChange = [&](TComponent*) { seen << f.combo->ItemIndex(); };
        QTest::keyClick(f.Input(), Qt::Key_Backspace);
        EXPECT_EQ(seen, c.indexSeenByChange) << c.typed;
    }
}

TEST(FcComboBoxTest, TextSetWhileTheListIsOpenIsNotCompleted)
{
    ComboForm f;
    f.combo->SetItems({QStringLiteral("Helsinki"), QStringLiteral("Hamina")});
    f.form->Show();
    f.combo->SetDroppedDown(true);
    f.combo->SetText(QStringLiteral("ha"));
    EXPECT_EQ(f.combo->Text(), QStringLiteral("ha"));
    EXPECT_EQ(f.combo->ItemIndex(), -1);
    f.combo->SetDroppedDown(false);
    f.combo->SetText(QStringLiteral("he"));
    EXPECT_EQ(f.combo->Text(), QStringLiteral("Helsinki")) << "closed, it completes";
    f.form->Hide();
}

TEST(FcComboBoxTest, DeleteAndAClickTypeOnFromTheWholeText)
{
    // Delete at the start: the prefix is what is left, so "x" completes to "Xamina"
    ComboForm f;
    f.combo->SetItems({QStringLiteral("Hamina"), QStringLiteral("Xamina")});
    Type(f.Input(), QStringLiteral("ha"));
    QTest::keyClick(f.Input(), Qt::Key_Home);
    QTest::keyClick(f.Input(), Qt::Key_Delete);
    EXPECT_EQ(f.combo->SearchString(), QStringLiteral("amina"));
    Type(f.Input(), QStringLiteral("x"));
    EXPECT_EQ(f.combo->Text(), QStringLiteral("Xamina"));
    EXPECT_EQ(f.combo->ItemIndex(), 1);
    // Delete takes the completed tail away, and it stays away
    ComboForm t;
    t.combo->SetItems({QStringLiteral("Hamina")});
    Type(t.Input(), QStringLiteral("ha"));
    ASSERT_EQ(t.combo->SelText(), QStringLiteral("mina"));
    QTest::keyClick(t.Input(), Qt::Key_Delete);
    EXPECT_EQ(t.combo->Text(), QStringLiteral("Ha"));
    // a click inside the text: typing inserts there instead of completing the old prefix
    ComboForm g;
    g.combo->SetItems({QStringLiteral("Hamina"), QStringLiteral("Hxam")});
    Type(g.Input(), QStringLiteral("ham"));
    ASSERT_EQ(g.combo->Text(), QStringLiteral("Hamina"));
    ClickCaretTo(g, 1);
    EXPECT_EQ(g.combo->SearchString(), QStringLiteral("Hamina"));
    Type(g.Input(), QStringLiteral("x"));
    EXPECT_EQ(g.combo->Text(), QStringLiteral("Hxamina"));
}

TEST(FcComboBoxTest, ASurrogatePairIsOneCharacter)
{
    ComboForm f;
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E");   // U+1D11E
    const QString other = QString::fromUtf8("\xF0\x9D\x84\xA0");  // U+1D120, the same high half
    f.combo->SetItems({clef + QStringLiteral("abc")});
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, other);
    QApplication::sendEvent(f.Input(), &press);
    EXPECT_EQ(f.combo->Text(), other) << "the low half counts in the match";
    EXPECT_EQ(f.combo->ItemIndex(), -1);
    ComboForm g;
    g.combo->SetItems({clef + QStringLiteral("abc")});
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, clef);
    QApplication::sendEvent(g.Input(), &typed);
    ASSERT_EQ(g.combo->Text(), clef + QStringLiteral("abc"));
    EXPECT_EQ(g.combo->SearchString(), clef);
    QTest::keyClick(g.Input(), Qt::Key_Backspace);
    EXPECT_TRUE(g.combo->SearchString().isEmpty()) << "Backspace takes the whole pair";
    EXPECT_EQ(g.combo->ItemIndex(), -1);
}

TEST(FcComboBoxTest, TheListStylesSearchTellsTheKeyPressEvent)
{
    ComboForm f(csDropDownList);
    f.combo->SetItems({QStringLiteral("Aino"), QStringLiteral("Bertta")});
    QString keys;
    f.combo->OnKeyPress = [&](TComponent*, QChar& Key) { keys += Key; };
    Type(f.Input(), QStringLiteral("b"));
    EXPECT_EQ(f.combo->ItemIndex(), 1);
    EXPECT_EQ(keys, QStringLiteral("b"));
    Type(f.Input(), QStringLiteral("\b"));
    EXPECT_EQ(f.combo->ItemIndex(), 0) << "the search emptied: the first item";
    EXPECT_EQ(keys, QStringLiteral("b\b"));
}

TEST(FcComboBoxTest, FrameSettersRepaintAndHotTrackingShowsTheFrame)
{
    ComboForm f;
    auto* list = new TFcListBox(f.form.get());
    list->SetParent(f.form.get());
    list->SetTop(60);
    auto* edit = new TFcEdit(f.form.get());
    edit->SetParent(f.form.get());
    edit->SetTop(130);
    edit->SetFramingPreference(fpCustomFraming);
    f.form->Show();
    Application->ProcessMessages();
    for (TFcFrameLook* look :
         {static_cast<TFcFrameLook*>(f.combo), static_cast<TFcFrameLook*>(list), static_cast<TFcFrameLook*>(edit)}) {
        QWidget* w = dynamic_cast<TControl*>(look)->Widget();
        int paints = 0;
        struct Counter : QObject {
            int* n;
            bool eventFilter(QObject*, QEvent* E) override
            {
                if (E->type() == QEvent::Paint)
                    ++*n;
                return false;
            }
        } counter;
        counter.n = &paints;
        w->installEventFilter(&counter);
        look->SetFrameSides(SideBit(sdLeft));
        look->SetFrameColor(clRed);
        QApplication::processEvents();
        EXPECT_GT(paints, 0) << "a change from code repaints";
        w->removeEventFilter(&counter);
        look->SetFrameHotTrack(true);
        EXPECT_TRUE(look->FrameVisible());
        EXPECT_EQ(look->FrameSides(), sdAllSides);
        look->SetFrameStyle(fsFlatRounded);
        EXPECT_EQ(look->FrameStyle(), fsFlat) << "a rounded frame is refused";
    }
    f.form->Hide();
}

TEST(FcComboBoxTest, TheCustomFrameTakesTheSunkenBordersPlace)
{
    ComboForm f;
    auto* list = new TFcListBox(f.form.get());
    list->SetParent(f.form.get());
    auto* edit = new TFcEdit(f.form.get());
    edit->SetParent(f.form.get());
    f.form->SetCtl3D(false);  // the controls start flat, following the form
    // the edit and the list paint their frame into the sunken border's room;
    // the combo's frame replaces the sunken border
    struct Case {
        const char* name;
        TWinControl* control;
        TFcFrameLook* look;
        bool ctl3DWithFrame;
    } cases[] = {{"edit", edit, edit, true}, {"list", list, list, true}, {"combo", f.combo, f.combo, false}};
    for (const Case& c : cases) {
        ASSERT_FALSE(c.control->Ctl3D()) << c.name;
        c.look->SetFrameVisible(true);
        EXPECT_EQ(c.control->Ctl3D(), c.ctl3DWithFrame) << c.name;
        EXPECT_FALSE(c.control->ParentCtl3D()) << c.name;
    }
    f.form->SetCtl3D(true);
    f.combo->SetFrameVisible(false);
    EXPECT_TRUE(f.combo->Ctl3D()) << "without the frame the combo follows the form again";
    EXPECT_TRUE(f.combo->ParentCtl3D());
    // hot tracking shows the frame through the same setter
    auto* other = new TFcComboBox(f.form.get());
    other->SetParent(f.form.get());
    other->SetFrameHotTrack(true);
    EXPECT_FALSE(other->Ctl3D());
}

TEST(FcComboBoxTest, OwnerDrawnSelectedItemsGetAFocusRectangle)
{
    ComboForm f(csOwnerDrawFixed);
    auto* box = static_cast<QComboBox*>(f.combo->Widget());
    auto paintSelected = [&] {
        QImage image(100, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 100, 20);
        option.state = QStyle::State_Enabled | QStyle::State_Selected;
        box->view()->itemDelegate()->paint(&painter, option, box->model()->index(1, 0));
        return image;
    };
    const QImage shown = paintSelected();
    f.combo->ShowFocus = false;
    const QImage hidden = paintSelected();
    EXPECT_NE(shown, hidden) << "the focus rectangle is the difference";
}
