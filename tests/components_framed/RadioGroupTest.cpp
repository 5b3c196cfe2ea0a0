// Radio groups as the result and editor dialogs use them: the index after
// creation, layout in columns, the changing veto for clicks and for code,
// read-only groups, and the data-bound group over a dataset field.
#include "components/framed/FcDBRGrp.h"
#include "components/framed/FcRadGrp.h"
#include "platform/database/ClientDataSet.h"
#include "platform/database/Fields.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "tests/support/RealInput.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A click with the mouse: press and release inside the button.
void ClickButton(TFcGroupButton* B)
{
    TControl* c = B;
    c->MouseDown(mbLeft, ssLeft, 3, 3);
    c->MouseUp(mbLeft, 0, 3, 3);
}

void Key(TFcGroupButton* B, Word& K)
{
    static_cast<TWinControl*>(B)->KeyDown(K, 0);
}

struct GroupForm {
    GroupForm()
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 500, 300);
        group = new TFcRadioGroup(form.get());
        group->SetParent(form.get());
        group->SetBounds(10, 10, 400, 105);
        form->AfterConstruction();
    }
    std::unique_ptr<TForm> form;
    TFcRadioGroup* group;
};

const QStringList Statuses = {QStringLiteral("OK"), QStringLiteral("DNF"), QStringLiteral("DSQ"),
                              QStringLiteral("MP"), QStringLiteral("DNS")};

}  // namespace

TEST(RadioGroupTest, NoSelectionAfterCreationAndClampedIndexes)
{
    GroupForm f;
    EXPECT_EQ(f.group->ItemIndex(), -1);
    EXPECT_EQ(f.group->ButtonCount(), 0) << "a container without items";
    f.group->SetItems({QStringLiteral("Mies"), QStringLiteral("Nainen"), QStringLiteral("Muu")});
    EXPECT_EQ(f.group->ItemIndex(), -1);
    EXPECT_EQ(f.group->ButtonCount(), 3);
    f.group->SetItemIndex(5);
    EXPECT_EQ(f.group->ItemIndex(), 2);
    EXPECT_TRUE(f.group->Buttons(2)->Checked());
    f.group->SetItemIndex(-7);
    EXPECT_EQ(f.group->ItemIndex(), -1);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(f.group->Buttons(i)->Checked());
    f.group->SetColumns(0);
    EXPECT_EQ(f.group->Columns(), 1);
    f.group->SetColumns(20);
    EXPECT_EQ(f.group->Columns(), 16);
    f.group->SetItemIndex(1);
    f.group->SetItems({QStringLiteral("Yksi")});
    EXPECT_EQ(f.group->ItemIndex(), 0) << "an index past the new items moves to the last";
}

TEST(RadioGroupTest, FiveItemsInFourColumns)
{
    GroupForm f;
    f.group->SetItems(Statuses);
    f.group->SetColumns(4);
    TRect client = f.group->ClientRect();
    int rows[5], cols[5];
    for (int i = 0; i < 5; ++i) {
        rows[i] = f.group->Buttons(i)->Top();
        cols[i] = f.group->Buttons(i)->Left();
    }
    EXPECT_EQ(cols[0], cols[1]);
    EXPECT_EQ(cols[2], cols[3]);
    EXPECT_LT(cols[1], cols[2]);
    EXPECT_LT(cols[3], cols[4]);
    EXPECT_EQ(rows[0], rows[2]);
    EXPECT_EQ(rows[1] - rows[0], 17 + 3) << "item height and vertical spacing";
    EXPECT_EQ(cols[0], 8) << "StartXPos";
    EXPECT_EQ(f.group->Buttons(0)->Height(), 17);
    (void)client;
    // an invisible button takes no cell: the next one moves up into it
    f.group->SetColumns(2);
    const TRect second = f.group->Buttons(1)->BoundsRect();
    f.group->Buttons(1)->SetVisible(false);
    f.group->ArrangeButtons();
    EXPECT_EQ(f.group->Buttons(2)->Top(), second.Top);
    EXPECT_EQ(f.group->Buttons(2)->Left(), second.Left);
    // equal columns
    f.group->Buttons(1)->SetVisible(true);
    f.group->SetColumns(4);
    f.group->SetSpaceEvenly(true);
    const int cw = (400 - 8 - 0 - 10) / 4;
    EXPECT_EQ(f.group->Buttons(2)->Left(), cw + 8);
    EXPECT_EQ(f.group->Buttons(2)->Width(), cw);
}

TEST(RadioGroupTest, ChangingHandlerRefusesAClick)
{
    GroupForm f;
    f.group->SetItems(Statuses);
    f.group->SetItemIndex(2);
    int clicks = 0;
    f.group->OnClick = [&](TComponent*) { ++clicks; };
    f.group->OnChanging = [](TComponent*, int NewIndex, bool& Allow) { Allow = NewIndex != 0; };
    ClickButton(f.group->Buttons(0));
    EXPECT_EQ(f.group->ItemIndex(), 2);
    EXPECT_TRUE(f.group->Buttons(2)->Checked());
    EXPECT_FALSE(f.group->Buttons(0)->Checked());
    EXPECT_EQ(clicks, 0);
    ClickButton(f.group->Buttons(3));
    EXPECT_EQ(f.group->ItemIndex(), 3);
    EXPECT_EQ(clicks, 1);
}

TEST(RadioGroupTest, CodeSelectionAsksTheHandlerButKeepsTheNewIndex)
{
    GroupForm f;
    f.group->SetItems(Statuses);
    f.group->SetItemIndex(2);
    QList<int> asked;
    int clicks = 0;
    f.group->OnClick = [&](TComponent*) { ++clicks; };
    bool fromCode = false;
    f.group->OnChanging = [&](TComponent*, int NewIndex, bool& Allow) {
        asked << NewIndex;
        fromCode = f.group->SettingItemIndex();
        Allow = false;
    };
    f.group->SetItemIndex(0);
    EXPECT_EQ(asked, QList<int>({0}));
    EXPECT_TRUE(fromCode) << "the handler can tell a selection from code";
    EXPECT_EQ(f.group->ItemIndex(), 0) << "a stored value shows even when refused";
    EXPECT_TRUE(f.group->Buttons(0)->Checked());
    EXPECT_EQ(clicks, 0);
}

TEST(RadioGroupTest, ReadOnlyIgnoresTheUserButNotCode)
{
    GroupForm f;
    f.group->SetItems(Statuses);
    f.group->SetReadOnly(true);
    ClickButton(f.group->Buttons(1));
    EXPECT_EQ(f.group->ItemIndex(), -1);
    f.group->SetItemIndex(3);
    Word key = VK_RIGHT;
    Key(f.group->Buttons(3), key);
    EXPECT_EQ(f.group->ItemIndex(), 3);
    key = VK_SPACE;
    Key(f.group->Buttons(3), key);
    EXPECT_EQ(key, 0) << "Space is swallowed";
    f.group->SetReadOnly(false);
    key = VK_RIGHT;
    Key(f.group->Buttons(3), key);
    EXPECT_EQ(f.group->ItemIndex(), 4);
    key = VK_RIGHT;
    Key(f.group->Buttons(4), key);
    EXPECT_EQ(f.group->ItemIndex(), 0) << "the arrows wrap round";
}

TEST(RadioGroupTest, ContainerGroupDisablesItsChildren)
{
    GroupForm f;
    f.group->SetGroupStyle(gsTopLine);
    auto* a = new TFcRadioButton(f.form.get());
    auto* b = new TFcRadioButton(f.form.get());
    a->SetParent(f.group);
    b->SetParent(f.group);
    b->SetEnabled(false);
    f.group->SetEnabled(false);
    EXPECT_FALSE(a->Enabled());
    f.group->SetEnabled(true);
    EXPECT_TRUE(a->Enabled());
    EXPECT_FALSE(b->Enabled()) << "a child disabled before stays disabled";
}

namespace {

struct StatusData {
    StatusData()
    {
        runs.AddField(QStringLiteral("ID"), ftInteger);
        runs.AddField(QStringLiteral("STATUS"), ftWideString, 5);
        runs.CreateDataSet();
        runs.AppendRecord({1, QStringLiteral("5")});
        runs.AppendRecord({2, QStringLiteral("4")});
        runs.AppendRecord({3, QVariant()});
        runs.First();
        src.SetDataSet(&runs);
        form = std::make_unique<TForm>(nullptr);
        group = new TFcDBRadioGroup(form.get());
        group->SetParent(form.get());
        group->SetBounds(0, 0, 400, 60);
        group->SetItems(Statuses);
        group->SetValues({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                          QStringLiteral("5")});
        group->SetDataSource(&src);
        group->SetDataField(QStringLiteral("STATUS"));
        form->AfterConstruction();
    }
    ~StatusData() { form.reset(); }
    TClientDataSet runs;
    TDataSource src;
    std::unique_ptr<TForm> form;
    TFcDBRadioGroup* group;
};

}  // namespace

TEST(DBRadioGroupTest, FieldValueChoosesTheItem)
{
    StatusData d;
    EXPECT_EQ(d.group->ItemIndex(), 4) << "\"5\" is the fifth value";
    EXPECT_EQ(d.group->Value(), QStringLiteral("5"));
    d.runs.Next();
    EXPECT_EQ(d.group->ItemIndex(), -1) << "\"4\" matches no item";
    d.runs.Next();
    EXPECT_EQ(d.group->ItemIndex(), -1) << "a null field selects nothing";
    d.group->SetValues({QStringLiteral("0")});
    d.group->SetValue(QStringLiteral("DSQ"));
    EXPECT_EQ(d.group->ItemIndex(), 2) << "items without a value stand for their caption";
}

TEST(DBRadioGroupTest, ChoiceWritesTheFieldAndARefusalKeepsTheItem)
{
    StatusData d;
    int changes = 0;
    d.group->OnChange = [&](TComponent*) { ++changes; };
    d.group->OnChanging = [](TComponent*, int NewIndex, bool& Allow) { Allow = NewIndex != 0; };
    ClickButton(d.group->Buttons(0));
    EXPECT_EQ(d.group->ItemIndex(), 4) << "refused: the current item stays";
    EXPECT_EQ(changes, 0);
    ClickButton(d.group->Buttons(1));
    EXPECT_EQ(d.group->ItemIndex(), 1);
    EXPECT_EQ(d.group->Value(), QStringLiteral("1"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(d.runs.State(), dsEdit);
    d.runs.Post();
    EXPECT_EQ(d.runs.FieldByName(QStringLiteral("STATUS"))->AsString(), QStringLiteral("1"));
}

TEST(RadioGroupTest, GlyphImagesAreFollowedAndForgottenWhenFreed)
{
    GroupForm f;
    f.group->SetItems(Statuses);
    auto* images = new TImageList(f.form.get());
    images->SetSize(15, 15);
    f.group->SetCustomGlyphImages(images);
    EXPECT_FALSE(f.group->UseCustomGlyphs()) << "an empty list draws no glyphs";
    TBitmap cell(15, 15);
    images->Add(&cell);  // the pictures arrive: the group and its buttons use them at once
    EXPECT_TRUE(f.group->UseCustomGlyphs());
    EXPECT_TRUE(f.group->Buttons(0)->UseCustomGlyphs());
    EXPECT_EQ(f.group->Buttons(0)->GlyphWidth(), 15);
    delete images;
    EXPECT_EQ(f.group->CustomGlyphImages(), nullptr);
    EXPECT_EQ(f.group->Buttons(0)->CustomGlyphImages(), nullptr);
    f.group->ArrangeButtons();  // nothing of the freed list is touched
    EXPECT_FALSE(f.group->UseCustomGlyphs());
    EXPECT_FALSE(f.group->Buttons(0)->UseCustomGlyphs()) << "back to the standard circles";
}

TEST(RadioButtonTest, DownKeyClicksAFocusableButton)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 100);
    auto* a = new TFcRadioButton(form.get());
    a->SetParent(form.get());
    a->SetCaption(QStringLiteral("Kilpailu"));
    auto* b = new TFcRadioButton(form.get());
    b->SetParent(form.get());
    b->SetTop(30);
    form->AfterConstruction();
    form->Show();
    int clicks = 0;
    a->OnClick = [&](TComponent*) { ++clicks; };
    a->SetFocus();
    QApplication::processEvents();
    clicks = 0;
    realinput::Key(a, Qt::Key_Down);
    EXPECT_EQ(clicks, 1);
    realinput::Key(a, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(clicks, 1) << "only the plain key";
}
