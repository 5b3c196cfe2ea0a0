// The caller contracts of the framed edit, check box and numeric edit, with
// typed keys sent as real key events.
#include "components/framed/FcNumericEdit.h"
#include "components/framed/FcRadChk.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/os/Sound.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Themes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

void Type(TControl* C, const QString& Text)
{
    for (QChar ch : Text) {
        const int key = ch == QLatin1Char('\r') ? int(Qt::Key_Return) : int(ch.toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(C->Widget(), &press);
    }
}

struct EditForm {
    EditForm()
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
    }
    template <class T>
    T* Add()
    {
        auto* c = new T(form.get());
        c->SetParent(form.get());
        return c;
    }
    std::unique_ptr<TForm> form;
};

}  // namespace

TEST(FcEditTest, SetTextRaisesOnChangeOnlyOnAChange)
{
    EditForm f;
    auto* e = f.Add<TFcEdit>();
    f.form->AfterConstruction();
    int changes = 0, keys = 0;
    e->OnChange = [&](TComponent*) { ++changes; };
    e->OnKeyPress = [&](TComponent*, QChar&) { ++keys; };
    e->SetText(QStringLiteral("040 123 4567"));
    e->SetText(QStringLiteral("040 123 4567"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(keys, 0) << "no key events";
    EXPECT_EQ(e->GetText(), QStringLiteral("040 123 4567"));
    e->Clear();
    EXPECT_EQ(e->GetText(), QString());
    EXPECT_EQ(changes, 2);
}

TEST(FcEditTest, ColourFollowsTheState)
{
    EditForm f;
    auto* e = f.Add<TFcEdit>();
    f.form->AfterConstruction();
    e->SetFocusColor(clYellow);
    e->SetReadOnly(true);
    EXPECT_EQ(e->Color(), clInfoBk);
    e->DoEnter();
    EXPECT_EQ(e->Color(), clYellow) << "focused: the focus colour unless read-only colour on focus";
    e->SetReadOnlyColorOnFocus(true);
    EXPECT_EQ(e->Color(), clInfoBk);
    e->DoExit();
    e->SetReadOnly(false);
    EXPECT_EQ(e->Color(), clWindow);
    e->SetEnabled(false);
    EXPECT_EQ(e->Color(), clBtnFace);
    e->SetEnabled(true);
    e->SetColor(clAqua);
    EXPECT_EQ(e->Color(), clAqua);
    EXPECT_EQ(e->FocusColor(), clYellow) << "a focus colour set apart stays";
}

TEST(FcEditTest, OwnFrameOverTheEdge)
{
    EditForm f;
    auto* e = f.Add<TFcEdit>();
    e->SetBounds(0, 0, 120, 21);
    f.form->AfterConstruction();
    e->SetFramingPreference(fpCustomFraming);
    e->SetFrameColor(clNavy);
    e->SetFrameVisible(true);
    TBitmap shot;
    e->PaintTo(&shot);
    EXPECT_EQ(shot.Pixel(0, 10), clNavy);
    EXPECT_EQ(shot.Pixel(119, 10), clNavy);
    e->SetFrameHotTrack(true);
    e->SetFrameHotColor(clRed);
    e->DoEnter();
    e->PaintTo(&shot);
    EXPECT_EQ(shot.Pixel(1, 10), clRed) << "hot: the bold hot frame";
}

TEST(FcEditTest, EnterMovesOnWithTabOnEnter)
{
    EditForm f;
    auto* e = f.Add<TFcEdit>();
    f.form->AfterConstruction();
    e->TabOnEnter = true;
    Type(e, QStringLiteral("ab\rc"));
    EXPECT_EQ(e->GetText(), QStringLiteral("abc"));
}

TEST(FcCheckBoxTest, CodeAndUserChanges)
{
    EditForm f;
    auto* c = f.Add<TFcCheckBox>();
    c->SetCaption(QStringLiteral("Ei korttia"));
    f.form->AfterConstruction();
    int clicks = 0;
    c->OnClick = [&](TComponent*) { ++clicks; };
    c->SetChecked(true);
    EXPECT_EQ(clicks, 1) << "code fires OnClick like a click";
    c->SetChecked(true);
    EXPECT_EQ(clicks, 1) << "the same state fires nothing";
    c->SetReadOnly(true);
    TControl* ctl = c;
    ctl->MouseDown(mbLeft, ssLeft, 3, 3);
    ctl->MouseUp(mbLeft, 0, 3, 3);
    EXPECT_TRUE(c->Checked()) << "read-only: a click keeps the value";
    Word space = VK_SPACE;
    static_cast<TWinControl*>(c)->KeyDown(space, 0);
    space = VK_SPACE;
    static_cast<TWinControl*>(c)->KeyUp(space, 0);
    EXPECT_TRUE(c->Checked());
    c->SetChecked(false);
    EXPECT_FALSE(c->Checked()) << "code still can";
    EXPECT_EQ(clicks, 2);
    c->SetReadOnly(false);
    c->SetAllowGrayed(true);
    TCheckBoxState seen[3];
    for (auto& s : seen) {
        ctl->MouseDown(mbLeft, ssLeft, 3, 3);
        ctl->MouseUp(mbLeft, 0, 3, 3);
        s = c->State();
    }
    EXPECT_EQ(seen[0], cbGrayed);
    EXPECT_EQ(seen[1], cbChecked);
    EXPECT_EQ(seen[2], cbUnchecked);
}

TEST(FcCheckBoxTest, AutoSizeFitsGlyphAndCaption)
{
    EditForm f;
    auto* c = f.Add<TFcCheckBox>();
    c->SetBounds(30, 10, 200, 30);
    f.form->AfterConstruction();
    c->SetCaption(QStringLiteral("Ei korttia"));
    TBitmap m(1, 1);
    m.Canvas()->SetFont(*c->Font());
    EXPECT_EQ(c->Width(), m.Canvas()->TextWidth(QStringLiteral("Ei korttia")) + 19);
    EXPECT_EQ(c->Height(), std::max(15, m.Canvas()->TextHeight(QStringLiteral("Ei korttia")) + 2));
    EXPECT_EQ(c->Left(), 30);
}

TEST(FcRadioButtonTest, SiblingsOnly)
{
    EditForm f;
    auto* a = f.Add<TFcRadioButton>();
    auto* b = f.Add<TFcRadioButton>();
    auto* panel = f.Add<TFcCheckBox>();
    (void)panel;
    auto* other = new TFcRadioButton(f.form.get());
    auto* holder = new TForm(nullptr);
    other->SetParent(holder);
    f.form->AfterConstruction();
    other->SetChecked(true);
    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(other->Checked()) << "another parent's button stays";
    a->SetReadOnly(true);
    EXPECT_TRUE(b->ReadOnly());
    EXPECT_FALSE(other->ReadOnly());
    other->SetParent(nullptr);
    delete holder;
}

namespace {

struct NumberForm : EditForm {
    NumberForm()
    {
        edit = Add<TFcNumericEdit>();
        form->AfterConstruction();
    }
    TFcNumericEdit* edit;
};

}  // namespace

TEST(FcNumericEditTest, TypedKeys)
{
    int beeps = 0;
    SetSoundSink([&](const QString&) { ++beeps; });
    struct Case {
        bool integers;
        const char* typed;
        const char* shown;
        int beeps;
    } cases[] = {
        {true, "12a3", "123", 1},
        {true, "1,5", "15", 1},
        {false, "1.5", "15", 1},     // only the locale's separator
        {false, "1,5,2", "1,52", 1},  // one separator
        {false, "2e-3", "2e-3", 0},
        {true, "-5", "-5", 0},
        {true, "5-", "5", 1},         // a sign only at the start
        {true, "\r", "", 1},          // Enter without TabOnEnter
        {true, "1 000", "1000", 1},   // no blanks
    };
    for (const Case& c : cases) {
        NumberForm f;
        f.edit->SetIntegersOnly(c.integers);
        f.edit->SetText(QString());
        beeps = 0;
        Type(f.edit, QString::fromUtf8(c.typed));
        EXPECT_EQ(f.edit->Text(), QString::fromUtf8(c.shown)) << c.typed;
        EXPECT_EQ(beeps, c.beeps) << c.typed;
    }
    SetSoundSink(nullptr);
}

TEST(FcNumericEditTest, SignRulesOfIntegerFields)
{
    NumberForm f;
    f.edit->SetText(QStringLiteral("-5"));
    f.edit->SetSelStart(0);
    EXPECT_FALSE(f.edit->IsValidChar(QLatin1Char('7'))) << "a digit before the sign";
    f.edit->SelectAll();
    EXPECT_TRUE(f.edit->IsValidChar(QLatin1Char('+'))) << "replacing everything";
    f.edit->SetSelStart(2);
    EXPECT_FALSE(f.edit->IsValidChar(QLatin1Char('-')));
}

TEST(FcNumericEditTest, Evaluation)
{
    struct Case {
        const char* text;
        bool scientific;
        double value;
    } cases[] = {
        {"(1 234,5)", true, -1234.5}, {"1e-3", true, 0.001}, {"5-3", true, 53}, {"5-3", false, 0},
        {"1.5", true, 1.5},  // pasted with a point: read as the decimal separator
        {"1.234", true, 1234}, {"", true, 0}, {"12 km", true, 12}, {"abc", true, 0}, {"-7,25", true, -7.25},
    };
    NumberForm f;
    f.edit->SetIntegersOnly(false);
    for (const Case& c : cases) {
        f.edit->AllowScientificNotation = c.scientific;
        f.edit->SetText(QString::fromUtf8(c.text));
        EXPECT_DOUBLE_EQ(f.edit->EvaluateText(), c.value) << c.text;
    }
    EXPECT_EQ(f.edit->FormatText(-5), QStringLiteral("(5)"));
    EXPECT_EQ(f.edit->FormatText(1234567), QStringLiteral("1\u00A0234\u00A0567"));
}

TEST(FcNumericEditTest, EmptyFieldGivesItsMinimum)
{
    NumberForm f;
    f.edit->SetDisplayFormat(QStringLiteral("0"));
    f.edit->SetMin(3);
    f.edit->Clear();
    EXPECT_EQ(f.edit->Text(), QString());
    EXPECT_DOUBLE_EQ(f.edit->GetValue(), 3);
    EXPECT_EQ(f.edit->Text(), QStringLiteral("3")) << "shown as well";
    f.edit->AllowBlank = true;
    f.edit->BlankValue = -1;
    f.edit->Clear();
    EXPECT_DOUBLE_EQ(f.edit->GetValue(), -1);
    f.edit->DoEnter();
    f.edit->DoExit();
    EXPECT_EQ(f.edit->Text(), QString()) << "stays empty on exit";
}

TEST(FcNumericEditTest, ExitFormatsBeforeOnExitAndChecksTheRange)
{
    NumberForm f;
    f.edit->SetIntegersOnly(false);
    f.edit->SetDisplayFormat(QStringLiteral("0.##"));
    QString seen;
    f.edit->OnExit = [&](TComponent*) { seen = f.edit->Text(); };
    f.edit->DoEnter();
    EXPECT_EQ(f.edit->Text(), QStringLiteral("0")) << "entering shows the formatted value";
    f.edit->SetText(QStringLiteral("1234,567"));
    f.edit->DoExit();
    EXPECT_EQ(seen, QStringLiteral("1234,57"));
    EXPECT_TRUE(f.edit->ValueModified());

    f.edit->DoEnter();
    f.edit->DoExit();
    EXPECT_FALSE(f.edit->ValueModified()) << "the same value as at entry";

    // Min = Max = 0 checks nothing; CheckRange makes every other value out of range
    f.edit->SetText(QStringLiteral("5"));
    f.edit->DoExit();
    EXPECT_EQ(f.edit->Text(), QStringLiteral("5"));
    f.edit->CheckRange = true;
    f.edit->DoExit();
    EXPECT_EQ(f.edit->Text(), QStringLiteral("0")) << "corrected to the bound";
    f.edit->SetMax(10);
    f.edit->SetText(QStringLiteral("12"));
    double entered = 0, adjusted = 0;
    f.edit->OnRangeError = [&](TComponent*, double e, double a, bool& autoCorrect) {
        entered = e;
        adjusted = a;
        autoCorrect = false;
    };
    seen.clear();
    f.edit->DoExit();
    EXPECT_DOUBLE_EQ(entered, 12);
    EXPECT_DOUBLE_EQ(adjusted, 10);
    EXPECT_EQ(f.edit->Text(), QStringLiteral("12")) << "refused: no reformatting";
    EXPECT_TRUE(seen.isEmpty()) << "and no exit event";
}

TEST(FcEditTest, TextHintGoesWhileFocusedUnlessAskedToStay)
{
    EditForm f;
    auto* e = f.Add<TFcEdit>();
    auto* other = f.Add<TFcEdit>();
    other->SetTop(40);
    e->SetTextHint(QStringLiteral("Hae nimellä"));
    f.form->AfterConstruction();
    f.form->Show();
    auto shown = [&] { return static_cast<QLineEdit*>(e->Widget())->placeholderText(); };
    e->SetFocus();
    Application->ProcessMessages();
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(e->TextHint(), QStringLiteral("Hae nimellä")) << "hidden on the screen only";
    // a hint given by code while focused is the one that shows after the focus leaves
    e->SetTextHint(QStringLiteral("Hae numerolla"));
    EXPECT_TRUE(shown().isEmpty());
    other->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(shown(), QStringLiteral("Hae numerolla"));
    e->SetFocus();
    Application->ProcessMessages();
    e->SetTextHintVisibleOnFocus(true);
    EXPECT_EQ(shown(), QStringLiteral("Hae numerolla")) << "switched on while focused: back at once";
    e->SetTextHintVisibleOnFocus(false);
    EXPECT_TRUE(shown().isEmpty());
    e->SetTextHintVisibleOnFocus(true);
    other->SetFocus();
    Application->ProcessMessages();
    e->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(shown(), QStringLiteral("Hae numerolla"));
}

TEST(FcEditTest, MaskCasesAndTheValidateErrorMessage)
{
    struct Case {
        const char* mask;
        const char* text;
        bool fits;
    } cases[] = {{"00:00;1;_", "12:05", true}, {"00:00", "1:05", false}, {"99:00", "1:05", false},
                 {"9900", "0512", true},       {"LL-000", "AB-123", true}, {"LL-000", "A1-123", false},
                 {"\\A00", "A12", true},       {"\\A00", "B12", false},   {">cccc", "", true}};
    for (const Case& c : cases)
        EXPECT_EQ(EditMaskMatches(QLatin1String(c.mask), QString::fromUtf8(c.text)), c.fits) << c.mask << " " << c.text;
    EditForm f;
    auto* e = f.Add<TFcEdit>();
    e->EditMask = QStringLiteral("00:00");
    e->SetText(QStringLiteral("1:5"));
    int beeps = 0;
    SetSoundSink([&](const QString&) { ++beeps; });
    try {
        e->ValidateEdit();
        FAIL();
    } catch (const EDBEditError& err) {
        EXPECT_EQ(err.Message(), QStringLiteral("Invalid input value. Use escape key to abandon changes."));
    }
    EXPECT_EQ(beeps, 1);
    e->OnValidateError = [](TComponent*, QString& Message) { Message = QStringLiteral("Anna aika muodossa tt:mm"); };
    try {
        e->ValidateEdit();
        FAIL();
    } catch (const EDBEditError& err) {
        EXPECT_EQ(err.Message(), QStringLiteral("Anna aika muodossa tt:mm"));
    }
    e->SetText(QStringLiteral("12:05"));
    EXPECT_NO_THROW(e->ValidateEdit());
    SetSoundSink(nullptr);
}

TEST(FcCheckBoxTest, TheActionSetsTheBoxWithoutItsClick)
{
    EditForm f;
    auto* box = f.Add<TFcCheckBox>();
    auto* list = new TActionList(f.form.get());
    auto* action = new TAction(f.form.get());
    action->SetActionList(list);
    action->SetCaption(QStringLiteral("&Näytä"));
    int clicks = 0;
    box->OnClick = [&](TComponent*) { ++clicks; };
    box->SetAction(action);
    action->SetChecked(true);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 0) << "the action's change is no click";
    EXPECT_EQ(box->Caption(), QStringLiteral("&Näytä"));
    box->SetChecked(false);
    EXPECT_EQ(clicks, 1) << "a change made in code still clicks";
}

TEST(FcCheckBoxTest, ThemedGlyphsFollowTheFormsScaling)
{
    const bool themes = ThemeServicesEnabled();
    SetThemeServicesEnabled(true);
    EditForm f;
    auto* c = f.Add<TFcCheckBox>();
    auto* r = f.Add<TFcRadioButton>();
    auto* custom = f.Add<TFcCheckBox>();
    TBitmap strip(9 * 10, 10);
    custom->SetCustomGlyphs(&strip);
    f.form->AfterConstruction();
    ASSERT_TRUE(c->UseThemes());
    f.form->ScaleBy(2, 1);
    r->SetTop(c->Top() + c->Height() + 10);
    f.form->Show();
    Application->ProcessMessages();
    for (TFcCustomGlyphButton* b : {static_cast<TFcCustomGlyphButton*>(c), static_cast<TFcCustomGlyphButton*>(r)}) {
        EXPECT_EQ(b->GlyphWidth(), 2 * 13 - 1);
        EXPECT_EQ(b->GlyphHeight(), 2 * 13 - 1);
        // the drawn glyph is as wide as that: the widest row of its outline
        TBitmap shot;
        b->PaintTo(&shot);
        int widest = 0;
        for (int y = 0; y < shot.Height(); ++y) {
            int first = -1, last = -1;
            for (int x = 0; x < std::min(40, shot.Width()); ++x)
                if (shot.Pixel(x, y) == RGB(51, 51, 51)) {
                    if (first < 0)
                        first = x;
                    last = x;
                }
            widest = std::max(widest, first < 0 ? 0 : last - first + 1);
        }
        EXPECT_GE(widest, 2 * 13 - 2) << (b == c ? "check box" : "radio button");
    }
    EXPECT_EQ(custom->GlyphWidth(), 10) << "a custom strip keeps its size";
    custom->SetUseCustomGlyphs(false);
    EXPECT_EQ(custom->GlyphWidth(), 2 * 13 - 1) << "the themed size followed the scaling";
    custom->SetThemeAware(false);
    custom->SetUseCustomGlyphs(false);
    EXPECT_EQ(custom->GlyphWidth(), 13) << "the classic drawn glyph keeps its size";
    f.form->Hide();
    SetThemeServicesEnabled(themes);
}

TEST(FcCheckBoxTest, AScaledThemedBoxIsSizedForItsNewGlyph)
{
    const bool themes = ThemeServicesEnabled();
    SetThemeServicesEnabled(true);
    EditForm f;
    auto* c = f.Add<TFcCheckBox>();
    auto* r = f.Add<TFcRadioButton>();
    for (TFcCustomGlyphButton* b : {static_cast<TFcCustomGlyphButton*>(c), static_cast<TFcCustomGlyphButton*>(r)})
        b->SetCaption(QStringLiteral("Lähtöaika"));
    f.form->AfterConstruction();
    f.form->ScaleBy(2, 1);
    for (TFcCustomGlyphButton* b : {static_cast<TFcCustomGlyphButton*>(c), static_cast<TFcCustomGlyphButton*>(r)}) {
        const int scaled = b->Width();
        b->SetAutoSize(false);
        b->SetAutoSize(true);  // sized afresh for the glyph and font it has now
        EXPECT_EQ(scaled, b->Width()) << (b == c ? "check box" : "radio button");
    }
    SetThemeServicesEnabled(themes);
}

TEST(FcEditTest, TabIntoTheFieldSelectsItsTextUnlessAutoSelectIsOff)
{
    EditForm f;
    auto* first = f.Add<TFcEdit>();
    auto* second = f.Add<TFcEdit>();
    second->SetTop(40);
    second->SetText(QStringLiteral("12,50"));
    f.form->AfterConstruction();
    EXPECT_TRUE(second->AutoSelect());
    f.form->Show();
    QApplication::setActiveWindow(f.form->Widget());
    for (bool autoSelect : {true, false}) {
        second->SetAutoSelect(autoSelect);
        first->SetFocus();
        QApplication::processEvents();
        QTest::keyClick(first->Widget(), Qt::Key_Tab);
        QApplication::processEvents();
        ASSERT_TRUE(second->Widget()->hasFocus());
        EXPECT_EQ(second->SelLength(), autoSelect ? 5 : 0) << autoSelect;
    }
    f.form->Hide();
}
