// The data-aware controls, the lookup combo box with its drop-down data
// list, the date-time picker that can show no value, and the tree view.

#include "platform/database/ClientDataSet.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Forms.h"
#include "platform/ui/TreeViews.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

class TestDBText : public TDBText {
public:
    using TDBText::TDBText;
    using TDBText::GetLabelText;
};

class DBControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 640, 480);
        runs = std::make_unique<TClientDataSet>();
        runs->AddField(QStringLiteral("ID"), ftInteger);
        runs->AddField(QStringLiteral("NAME"), ftWideString, 30);
        runs->AddField(QStringLiteral("CLUB"), ftWideString, 5);
        runs->AddField(QStringLiteral("NOTE"), ftWideMemo);
        runs->SetKeyFields(QStringLiteral("ID"));
        runs->CreateDataSet();
        runs->AppendRecord({1, QStringLiteral("Anna"), QStringLiteral("K"), QStringLiteral("first\nsecond")});
        runs->AppendRecord({2, QStringLiteral("Bert"), QStringLiteral("E"), QVariant()});
        runs->AppendRecord({3, QStringLiteral("Cecilia"), QVariant(), QVariant()});
        runs->First();
        clubs = std::make_unique<TClientDataSet>();
        clubs->AddField(QStringLiteral("CLUB"), ftWideString, 5);
        clubs->AddField(QStringLiteral("CLUB_NAME"), ftWideString, 30);
        clubs->CreateDataSet();
        clubs->AppendRecord({QStringLiteral("E"), QStringLiteral("Espoon Suunta")});
        clubs->AppendRecord({QStringLiteral("K"), QStringLiteral("Kiito")});
        clubs->AppendRecord({QStringLiteral("R"), QStringLiteral("Rasti")});
        clubs->First();
        src.SetDataSet(runs.get());
        clubSrc.SetDataSet(clubs.get());
    }
    std::unique_ptr<TForm> form;
    std::unique_ptr<TClientDataSet> runs, clubs;
    TDataSource src, clubSrc;
};

TEST_F(DBControlsTest, EditShowsTypesAndWritesOnPost)
{
    auto* e = new TDBEdit(form.get());
    e->SetParent(form.get());
    e->SetDataSource(&src);
    e->SetDataField(QStringLiteral("NAME"));
    EXPECT_EQ(e->Text(), QStringLiteral("Anna"));
    runs->Next();
    EXPECT_EQ(e->Text(), QStringLiteral("Bert"));
    QChar ch = QLatin1Char('x');
    e->KeyPress(ch);
    EXPECT_FALSE(ch.isNull());
    EXPECT_EQ(runs->State(), dsEdit) << "typing enters edit mode";
    e->SetText(QStringLiteral("Bertil"));
    e->Change();
    runs->Post();  // the dataset asks the link for the pending value
    EXPECT_EQ(runs->FieldByName(QStringLiteral("NAME"))->AsString(), QStringLiteral("Bertil"));
    // Escape forgets what was typed.
    e->KeyPress(ch);
    e->SetText(QStringLiteral("typo"));
    e->Change();
    QChar esc(27);
    e->KeyPress(esc);
    EXPECT_EQ(e->Text(), QStringLiteral("Bertil"));
    runs->Cancel();
    // A read-only control refuses keys.
    e->SetReadOnly(true);
    ch = QLatin1Char('y');
    e->KeyPress(ch);
    EXPECT_TRUE(ch.isNull());
    EXPECT_EQ(runs->State(), dsBrowse);
}

TEST_F(DBControlsTest, MemoCheckBoxAndText)
{
    auto* m = new TDBMemo(form.get());
    m->SetParent(form.get());
    m->SetDataSource(&src);
    m->SetDataField(QStringLiteral("NOTE"));
    EXPECT_EQ(m->Lines(), (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
    runs->Edit();
    m->SetText(QStringLiteral("changed"));
    m->UpdateRecord();
    runs->Post();
    EXPECT_EQ(runs->FieldByName(QStringLiteral("NOTE"))->AsString(), QStringLiteral("changed"));

    auto* c = new TDBCheckBox(form.get());
    c->SetParent(form.get());
    c->ValueChecked = QStringLiteral("K");
    c->ValueUnchecked = QStringLiteral("E");
    c->SetDataSource(&src);
    c->SetDataField(QStringLiteral("CLUB"));
    EXPECT_EQ(c->State(), cbChecked);
    c->Click();
    EXPECT_EQ(runs->State(), dsEdit);
    EXPECT_EQ(runs->FieldByName(QStringLiteral("CLUB"))->AsString(), QStringLiteral("K")) << "written on leaving or posting";
    runs->Post();
    EXPECT_EQ(runs->FieldByName(QStringLiteral("CLUB"))->AsString(), QStringLiteral("E")) << "the post wrote the box's state";
    runs->Last();
    EXPECT_EQ(c->State(), cbGrayed) << "a null value";

    auto* t = new TestDBText(form.get());
    t->SetParent(form.get());
    t->SetDataSource(&src);
    t->SetDataField(QStringLiteral("NAME"));
    EXPECT_EQ(t->GetLabelText(), QStringLiteral("Cecilia"));
}

TEST_F(DBControlsTest, LookupComboBoxAndItsDataList)
{
    auto* cb = new TDBLookupComboBox(form.get());
    cb->SetParent(form.get());
    cb->SetListSource(&clubSrc);
    cb->KeyField = QStringLiteral("CLUB");
    cb->ListField = QStringLiteral("CLUB_NAME");
    cb->SetDataSource(&src);
    cb->SetDataField(QStringLiteral("CLUB"));
    cb->NullValueKey = VK_DELETE;
    EXPECT_EQ(cb->Text(), QStringLiteral("Kiito"));
    EXPECT_EQ(clubs->FieldByName(QStringLiteral("CLUB"))->AsString(), QStringLiteral("K")) << "the list follows the key";
    runs->Next();
    EXPECT_EQ(cb->Text(), QStringLiteral("Espoon Suunta"));

    cb->DropDown();
    ASSERT_TRUE(cb->ListVisible());
    TPopupDataList* list = cb->DataList();
    EXPECT_EQ(list->RecordIndex(), 0);
    EXPECT_EQ(list->RowText(2), QStringLiteral("Rasti"));
    Word key = VK_DOWN;
    cb->KeyDown(key, 0);
    key = VK_DOWN;
    cb->KeyDown(key, 0);
    EXPECT_EQ(list->RecordIndex(), 2);
    key = VK_RETURN;
    cb->KeyDown(key, 0);
    EXPECT_FALSE(cb->ListVisible());
    EXPECT_EQ(runs->FieldByName(QStringLiteral("CLUB"))->AsString(), QStringLiteral("R"));
    EXPECT_EQ(cb->Text(), QStringLiteral("Rasti"));
    runs->Post();
    // The null key clears the value.
    key = VK_DELETE;
    cb->KeyDown(key, 0);
    EXPECT_TRUE(runs->FieldByName(QStringLiteral("CLUB"))->IsNull());
    EXPECT_EQ(cb->Text(), QString());
    runs->Cancel();
    EXPECT_EQ(cb->Text(), QStringLiteral("Rasti"));
}

TEST_F(DBControlsTest, DateTimePickerCanShowNothing)
{
    auto* p = new TDateTimePicker(form.get());
    p->SetParent(form.get());
    int changes = 0;
    p->OnDateTimeChange = [&](TComponent*) { ++changes; };
    p->SetDateTime(EncodeDate(2026, 6, 1));
    EXPECT_EQ(p->Text(), QStringLiteral("1.6.2026"));
    p->SetFormat(QStringLiteral("''"));
    EXPECT_TRUE(p->ShowsNothing());
    EXPECT_EQ(p->Text(), QString());
    p->SetFormat(QString());
    // Arrow keys step the part under the caret.
    p->SetSelStart(0);
    Word key = VK_UP;
    p->KeyDown(key, 0);
    EXPECT_EQ(p->Text(), QStringLiteral("2.6.2026"));
    p->SetSelStart(3);
    key = VK_UP;
    p->KeyDown(key, 0);
    EXPECT_EQ(p->Text(), QStringLiteral("2.7.2026"));
    p->SetSelStart(7);
    key = VK_DOWN;
    p->KeyDown(key, 0);
    EXPECT_EQ(p->Text(), QStringLiteral("2.7.2025"));
    p->SetNull();
    EXPECT_TRUE(p->IsNull());
    EXPECT_EQ(p->Text(), QString());
    // A typed date is taken on Return.
    p->SetText(QStringLiteral("3.4.2025"));
    p->Modified = true;
    key = VK_RETURN;
    p->KeyDown(key, 0);
    EXPECT_FALSE(p->IsNull());
    EXPECT_EQ(p->DateTime(), EncodeDate(2025, 4, 3));
    // The calendar picks a day.
    p->DropDown();
    ASSERT_TRUE(p->DroppedDown());
    p->SetCalendarDate(EncodeDate(2025, 4, 20));
    p->CloseUp(true);
    EXPECT_EQ(p->DateTime(), EncodeDate(2025, 4, 20));
    // Unchecked check box: no value shown, the value kept.
    p->SetShowCheckbox(true);
    p->SetChecked(false);
    EXPECT_TRUE(p->ShowsNothing());
    EXPECT_EQ(p->Text(), QString());
    p->SetChecked(true);
    EXPECT_EQ(p->Text(), QStringLiteral("20.4.2025"));
    EXPECT_GE(changes, 7);
    // Time kind.
    p->SetKind(dtkTime);
    p->SetTime(EncodeTime(9, 5, 0, 0));
    EXPECT_EQ(p->Text(), QStringLiteral("9:05:00"));
}

class MyNode : public TTreeNode {
public:
    using TTreeNode::TTreeNode;
    int Level2Id = 7;
};

TEST(TreeViewTest, NodesExpandSelectEditAndDrag)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 300);
    auto* t = new TTreeView(&form);
    t->SetParent(&form);
    t->SetBounds(0, 0, 200, 200);
    t->OnCreateNodeClass = [](TCustomTreeView*, TTreeNodes* Owner) -> TTreeNode* { return new MyNode(Owner); };
    TTreeNode* a = t->Items()->Add(nullptr, QStringLiteral("Events"));
    TTreeNode* a1 = t->Items()->AddChild(a, QStringLiteral("Day 1"));
    TTreeNode* a2 = t->Items()->AddChild(a, QStringLiteral("Day 2"));
    TTreeNode* b = t->Items()->Add(a, QStringLiteral("Clubs"));
    TTreeNode* b1 = t->Items()->AddChild(b, QStringLiteral("Kiito"));
    ASSERT_NE(dynamic_cast<MyNode*>(b1), nullptr);
    EXPECT_EQ(t->Items()->Count(), 5);
    EXPECT_EQ(b1->AbsoluteIndex(), 4);
    EXPECT_EQ(b1->Level(), 1);
    EXPECT_EQ(a2->Index(), 1);

    // Expanding can be refused.
    bool allow = false;
    t->OnExpanding = [&](TComponent*, TTreeNode*, bool& Allow) { Allow = allow; };
    a->Expand(false);
    EXPECT_FALSE(a->Expanded());
    allow = true;
    a->Expand(false);
    EXPECT_TRUE(a->Expanded());
    EXPECT_EQ(t->GetNodeAt(5, 1 + a1->DisplayRect(false).Top), a1);

    // Selection and its change event; keys walk the visible lines.
    std::vector<QString> changes;
    t->OnChange = [&](TComponent*, TTreeNode* N) { changes.push_back(N ? N->Text() : QString()); };
    t->SetSelected(a);
    Word key = VK_DOWN;
    t->KeyDown(key, 0);
    EXPECT_EQ(t->Selected(), a1);
    key = VK_END;
    t->KeyDown(key, 0);
    EXPECT_EQ(t->Selected(), b);
    key = VK_RIGHT;
    t->KeyDown(key, 0);
    EXPECT_TRUE(b->Expanded());
    EXPECT_EQ(changes, (std::vector<QString>{QStringLiteral("Events"), QStringLiteral("Day 1"), QStringLiteral("Clubs")}));
    t->BlockChange = true;
    t->SetSelected(b1);
    t->BlockChange = false;
    EXPECT_EQ(changes.size(), 3u);
    // Collapsing the branch of the selected node selects the branch.
    b->Collapse(false);
    EXPECT_EQ(t->Selected(), b);

    // In-place text edit: OnEdited may change the text.
    t->OnEdited = [](TComponent*, TTreeNode*, QString& S) { S = S.trimmed(); };
    b->EditText();
    ASSERT_TRUE(t->IsEditing());
    t->EditControl()->SetText(QStringLiteral("  Seurat "));
    key = VK_RETURN;
    t->EditControl()->OnKeyDown(t->EditControl(), key, 0);
    EXPECT_FALSE(t->IsEditing());
    EXPECT_EQ(b->Text(), QStringLiteral("Seurat"));

    // Dragging a node onto another: the program moves it.
    t->OnDragDrop = [&](TComponent*, TComponent*, int X, int Y) {
        if (TTreeNode* target = t->GetNodeAt(X, Y))
            t->DragNode()->MoveTo(target, naAddChild);
    };
    t->BeginDragNode(a2);
    const TRect rb = b->DisplayRect(false);
    t->DropAt(t, 5, rb.Top + 2);
    EXPECT_EQ(a2->Parent(), b);
    EXPECT_EQ(a->Count(), 1);
    EXPECT_EQ(b->Count(), 2);

    // Deleting the selected branch forgets it.
    t->SetSelected(b1);
    b->Delete();
    EXPECT_EQ(t->Selected(), nullptr);
    EXPECT_EQ(t->Items()->Count(), 2);

    // Custom drawing can take over an item.
    int drawn = 0;
    t->OnCustomDrawItem = [&](TCustomTreeView*, TTreeNode*, TCustomDrawState, TCustomDrawStage Stage, bool& Default) {
        if (Stage == cdPrePaint)
            ++drawn;
        Default = true;
    };
    TBitmap bmp;
    t->PaintTo(&bmp);
    EXPECT_EQ(drawn, 2);
}

}  // namespace
