// The data-aware date-time picker (null values, FormatEmpty, ReadOnly,
// EnabledAll), check box (stored texts, caption from the field) and memo
// (search in any alphabet, file errors that lose nothing).

#include "components/dbcontrols/TrDBCheckBox.h"
#include "components/dbcontrols/TrDBDateTimePicker.h"
#include "components/dbcontrols/TrDBMemo.h"
#include "platform/rtl/DateUtils.h"
#include "tests/dbcontrols/RunFixture.h"

#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Menus.h"

#include <QApplication>
#include <QTest>
#include <QContextMenuEvent>
#include <QTemporaryDir>
#include <QWidget>
#include <map>

namespace {

class PickerTest : public RunFixture {
protected:
    TrDBDateTimePicker* MakePicker(const QString& FieldName, const QString& FormatEmpty)
    {
        auto* p = Make<TrDBDateTimePicker>();
        p->SetKind(FieldName == QLatin1String("EVENT_DATE") ? dtkDate : dtkTime);
        p->SetFormat(QStringLiteral("''"));
        p->SetFormatEmpty(FormatEmpty);
        p->SetReadOnlyColor(0xF3F3F3);
        p->SetDataSource(&src);
        p->SetDataField(FieldName);
        return p;
    }
};

TEST_F(PickerTest, ANullFieldShowsNothingUntilFocusedThenFormatEmpty)
{
    auto* editable = MakePicker(QStringLiteral("START_TIME"), QStringLiteral("00:00:00"));
    auto* display = MakePicker(QStringLiteral("START_TIME"), QStringLiteral("__:__:__"));
    EXPECT_TRUE(editable->Text().isEmpty());
    editable->DoEnter();
    EXPECT_EQ(editable->Text(), FormatDateTime(QStringLiteral("00:00:00"), 0));
    editable->DoExit();
    EXPECT_TRUE(editable->Text().isEmpty());
    display->DoEnter();
    EXPECT_EQ(display->Text(), FormatDateTime(QStringLiteral("__:__:__"), 0));
    display->DoExit();

    // A value shows in the designed (default) format.
    runs.Edit();
    F("START_TIME")->SetAsDateTime(EncodeDateTime(2026, 5, 14, 18, 30, 5, 0));
    runs.Post();
    EXPECT_EQ(editable->Text(), FormatDateTime(FormatSettings().LongTimeFormat, EncodeTime(18, 30, 5, 0)));
}

TEST_F(PickerTest, DeleteClearsAndADigitStartsFromTodayOnlyWhenEditable)
{
    auto* p = MakePicker(QStringLiteral("START_TIME"), QStringLiteral("00:00:00"));
    int changes = 0;
    p->OnChange = [&](TComponent*) { ++changes; };
    Word k = '7';
    p->KeyDown(k, 0);
    EXPECT_EQ(runs.State(), dsEdit);
    ASSERT_FALSE(F("START_TIME")->IsNull());
    EXPECT_DOUBLE_EQ(F("START_TIME")->AsDateTime(), Date()) << "today at 00:00";
    EXPECT_EQ(changes, 0) << "showing the field's value is no operator change";
    k = VK_UP;
    p->KeyDown(k, 0);
    EXPECT_GE(changes, 1);
    k = VK_DELETE;
    p->KeyDown(k, 0);
    EXPECT_EQ(k, 0) << "consumed";
    EXPECT_TRUE(F("START_TIME")->IsNull());
    runs.Post();

    // A dataset that cannot be edited: Delete leaves the value and the key.
    runs.Edit();
    F("START_TIME")->SetAsDateTime(EncodeTime(10, 0, 0, 0));
    runs.Post();
    runs.SetReadOnly(true);
    k = VK_DELETE;
    p->KeyDown(k, 0);
    EXPECT_EQ(k, VK_DELETE);
    EXPECT_FALSE(F("START_TIME")->IsNull());
    runs.SetReadOnly(false);

    // ReadOnly swallows digits and changes snap back.
    p->SetReadOnly(true);
    QChar c = QLatin1Char('5');
    p->KeyPress(c);
    EXPECT_TRUE(c.isNull());
    EXPECT_EQ(runs.State(), dsBrowse);
}

TEST_F(PickerTest, DatePickerStoresWholeDaysAndEnabledAllDisablesEverything)
{
    auto* date = MakePicker(QStringLiteral("EVENT_DATE"), QStringLiteral("__.__.____"));
    runs.Edit();
    date->SetDateTime(EncodeDateTime(2026, 6, 1, 13, 45, 0, 0));
    runs.Post();
    EXPECT_DOUBLE_EQ(F("EVENT_DATE")->AsDateTime(), EncodeDate(2026, 6, 1));
    auto* time = MakePicker(QStringLiteral("START_TIME"), QStringLiteral("00:00:00"));
    runs.Edit();
    time->SetDateTime(EncodeDateTime(2026, 6, 1, 13, 45, 0, 0));
    runs.Post();
    EXPECT_DOUBLE_EQ(F("START_TIME")->AsDateTime(), EncodeDateTime(2026, 6, 1, 13, 45, 0, 0)) << "a time picker keeps its date part";

    EXPECT_EQ(time->Color(), TColor(0xF3F3F3)) << "browse state";
    runs.Edit();
    EXPECT_NE(time->Color(), TColor(0xF3F3F3));
    runs.Cancel();
    time->SetDataAllowNull(true);
    time->SetEnabledAll(false);
    EXPECT_FALSE(time->Enabled());
    EXPECT_FALSE(time->DBEditLabel()->Enabled());
    EXPECT_FALSE(time->CheckBox()->Enabled());
    EXPECT_EQ(time->CheckBox()->Left(), time->Left() - 16) << "the null check box sits left of the picker";
}

TEST_F(PickerTest, NullCheckBoxSwitchesTheFieldBetweenNullAndAValue)
{
    auto* p = MakePicker(QStringLiteral("START_TIME"), QStringLiteral("00:00:00"));
    p->SetDataAllowNull(true);
    p->SetDataSource(&src);
    EXPECT_FALSE(p->IsChecked()) << "a null field";
    EXPECT_FALSE(p->Enabled());
    runs.Edit();
    p->CheckBox()->Click();
    EXPECT_FALSE(F("START_TIME")->IsNull());
    EXPECT_TRUE(p->Enabled());
    p->CheckBox()->Click();
    EXPECT_TRUE(F("START_TIME")->IsNull());
    runs.Cancel();
}

using CheckBoxTest = RunFixture;

TEST_F(CheckBoxTest, StoredTextsAndCaptionFromTheField)
{
    auto* c = Make<TrDBCheckBox>(10, 10, 40, 20);
    c->ValueChecked = QStringLiteral("K");
    c->ValueUnchecked = QStringLiteral("E");
    c->SetDataSource(&src);
    c->SetDataField(QStringLiteral("RENTED_CHIP"));
    EXPECT_TRUE(c->Checked());
    runs.Next();
    EXPECT_FALSE(c->Checked());

    F("RENTED_CHIP")->SetDisplayLabel(QStringLiteral("Lainakortti, jonka juoksija palauttaa maalissa"));
    c->SetShowFieldCaption(true);
    EXPECT_EQ(c->Caption(), F("RENTED_CHIP")->DisplayLabel());
    EXPECT_GT(c->Width(), 40) << "widened to the caption";
    c->SetDataField(QStringLiteral("NOPE"));
    EXPECT_EQ(c->Caption(), QStringLiteral("FieldLabel"));
}

// A click reaches the field when the focus leaves the box, or at once (after
// the click's own events) with UpdateAfterClick.
TEST_F(CheckBoxTest, AClickReachesTheFieldOnLeavingOrAtOnceWithUpdateAfterClick)
{
    auto* other = Make<TEdit>(10, 80, 80, 23);
    form->Show();
    for (bool atOnce : {false, true}) {
        SCOPED_TRACE(atOnce);
        auto* c = Make<TrDBCheckBox>(10, 10, 120, 20);
        c->ValueChecked = QStringLiteral("K");
        c->ValueUnchecked = QStringLiteral("E");
        c->UpdateAfterClick = atOnce;
        c->SetDataSource(&src);
        c->SetDataField(QStringLiteral("RENTED_CHIP"));
        runs.Last();
        c->SetFocus();
        QTest::mouseClick(c->Widget(), Qt::LeftButton, {}, QPoint(6, 10));
        QApplication::processEvents();
        EXPECT_TRUE(c->Checked());
        EXPECT_EQ(runs.State(), dsEdit);
        EXPECT_EQ(F("RENTED_CHIP")->AsString(), atOnce ? QStringLiteral("K") : QStringLiteral("E"));
        other->SetFocus();
        QApplication::processEvents();
        EXPECT_EQ(F("RENTED_CHIP")->AsString(), QStringLiteral("K")) << "written on leaving";
        runs.Cancel();
        delete c;
    }
}

// After leaving, the picker's first part (the day) is the one the arrow
// keys step again, wherever the caret was.
TEST_F(PickerTest, AutoSelectDayPartStepsTheDayAfterComingBack)
{
    runs.Edit();
    F("EVENT_DATE")->SetAsDateTime(EncodeDate(2026, 5, 15));
    for (bool autoSelect : {false, true}) {
        auto* p = MakePicker(QStringLiteral("EVENT_DATE"), QString());
        p->SetFormat(QStringLiteral("dd.mm.yyyy"));
        p->AutoSelectDayPart = autoSelect;
        p->DoEnter();
        p->SetSelStart(4);  // in the month
        p->DoExit();
        p->DoEnter();
        QTest::keyClick(p->Widget(), Qt::Key_Up);
        p->DoExit();
        EXPECT_EQ(F("EVENT_DATE")->AsDateTime(), autoSelect ? EncodeDate(2026, 6, 16) : EncodeDate(2026, 6, 15))
            << (autoSelect ? "the day stepped" : "the month stepped again");
    }
    runs.Cancel();
}

class MemoTest : public RunFixture {
protected:
    void SetUp() override
    {
        RunFixture::SetUp();
        previous = SetModalHook([this](TCustomForm*) {
            ++dialogs;
            return 1;
        });
    }
    void TearDown() override { SetModalHook(previous); }
    TModalHook previous;
    int dialogs = 0;
};

TEST_F(MemoTest, SearchIgnoresCaseInAnyAlphabetAndFindsTheNextMatch)
{
    auto* m = Make<TrDBMemo>(10, 10, 300, 100);
    m->SetDataSource(&src, QStringLiteral("NOTES"));
    runs.Edit();
    m->SetText(QStringLiteral("Ärrä ja äRRÄ sekä ÅSA"));
    EXPECT_TRUE(m->SearchText(QStringLiteral("ärrä"), true, true));
    EXPECT_EQ(m->SelStart(), 0);
    EXPECT_TRUE(m->SearchNext());
    EXPECT_EQ(m->SelStart(), 8);
    EXPECT_TRUE(m->SearchText(QStringLiteral("åsa"), true, true));
    EXPECT_EQ(m->SelText(), QStringLiteral("ÅSA"));
    EXPECT_EQ(dialogs, 0);
    EXPECT_FALSE(m->SearchNext());
    EXPECT_EQ(dialogs, 1) << "\"Not found\" is shown";
    EXPECT_FALSE(m->SearchText(QStringLiteral("ärrä"), true, false));
    runs.Cancel();
}

TEST_F(MemoTest, FileErrorsAreShownAndKeepTheText)
{
    auto* m = Make<TrDBMemo>(10, 10, 300, 100);
    m->SetDataSource(&src, QStringLiteral("NOTES"));
    EXPECT_EQ(m->Color(), m->ReadOnlyColor());
    QTemporaryDir dir;
    EXPECT_FALSE(m->LoadFromFile(dir.filePath(QStringLiteral("missing.txt"))));
    EXPECT_EQ(m->Text(), QStringLiteral("Hyvä"));
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(m->SaveToFile(dir.filePath(QStringLiteral("no/such/folder/x.txt"))));
    EXPECT_EQ(dialogs, 2);
    const QString file = dir.filePath(QStringLiteral("notes.txt"));
    ASSERT_TRUE(m->SaveToFile(file));
    runs.Next();
    ASSERT_TRUE(m->LoadFromFile(file));
    m->UpdateRecord();
    runs.Post();
    EXPECT_EQ(F("NOTES")->AsString(), QStringLiteral("Hyvä"));
}

// The notes memo's menu, opened with a right click: "Change font" shows the
// font dialog and the memo takes the chosen font; switched-off options are
// greyed, and "Find next" waits for a first search.
TEST_F(MemoTest, ChangeFontFromTheMenuTakesTheChosenFont)
{
    auto* m = Make<TrDBMemo>(10, 10, 300, 100);
    m->SetDataSource(&src, QStringLiteral("NOTES"));
    EXPECT_EQ(m->ScrollBars(), ssVertical);
    auto oldDialog = SetCommonDialogHook([](TCommonDialog* D, QString&) {
        auto* f = dynamic_cast<TFontDialog*>(D);
        if (f)
            f->Font.SetSize(17);
        return f != nullptr;
    });
    std::map<QString, bool> enabled;
    QString choose = QStringLiteral("Change font");
    auto oldPopup = TPopupMenu::PopupHook;
    TPopupMenu::PopupHook = [&](TPopupMenu* P) {
        for (int i = 0; i < P->Items()->Count(); ++i) {
            TMenuItem* it = P->Items()->Items(i);
            enabled[it->Caption()] = it->Enabled() && it->Visible();
            if (it->Caption() == choose)
                it->Click();
        }
    };
    QWidget* w = m->Widget();
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(20, 20), w->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(w, &e);
    TPopupMenu::PopupHook = oldPopup;
    SetCommonDialogHook(oldDialog);
    EXPECT_EQ(m->Font()->Size(), 17);
    EXPECT_TRUE(enabled[QStringLiteral("Change font")]);
    EXPECT_FALSE(enabled[QStringLiteral("Word wrap")]) << "greyed with the default options";
    EXPECT_TRUE(enabled.count(QStringLiteral("Word wrap")));
    EXPECT_FALSE(enabled[QStringLiteral("Find next")]);
}

}  // namespace
