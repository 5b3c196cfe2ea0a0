// The record view over one run: its rows, readers, boolean rows and the
// keyboard commands that change the field.

#include "components/dbcontrols/TrDBRecView.h"
#include "components/grid/rdbtool.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Graphics.h"
#include "tests/dbcontrols/RunFixture.h"

#include <QTest>
#include <QWidget>

namespace {

class RecViewTest : public RunFixture {
protected:
    TrDBRecView* MakeView()
    {
        auto* v = Make<TrDBRecView>(10, 10, 360, 300);
        v->SetOptions(v->Options() | goEditing);
        v->SetDataSource(&src);
        return v;
    }
};

TEST_F(RecViewTest, RowsFollowTheFieldsOrTheGivenListWithCaptions)
{
    auto* v = MakeView();
    EXPECT_EQ(v->GetFieldCount(), runs.FieldCount());
    EXPECT_EQ(v->GetCaption(1), QStringLiteral("PERSON_NAME"));
    EXPECT_EQ(v->GetValue(1), QStringLiteral("Anna Aalto"));
    v->SetFields({QStringLiteral("NOTES"), QStringLiteral("MISSING=Ei ole"), QStringLiteral("PERSON_NAME=Nimi")});
    ASSERT_EQ(v->GetFieldCount(), 2) << "a name the dataset lacks gives no row";
    EXPECT_EQ(v->FieldNames(), (QStringList{QStringLiteral("NOTES"), QStringLiteral("PERSON_NAME")}));
    EXPECT_EQ(v->GetCaption(1), QStringLiteral("Nimi"));
    TCanvas c;
    c.Font()->Assign(*v->Font());
    EXPECT_EQ(v->RowHeights(0), 4 * c.TextHeight(QStringLiteral("Wg")) + 4) << "a memo row shows four lines";
    EXPECT_EQ(v->GetValue(0), QStringLiteral("Hyvä"));
    runs.Next();
    EXPECT_EQ(v->GetValue(1), QStringLiteral("Bertta Berg")) << "follows the current record";

    v->SetDataSource(nullptr);
    EXPECT_EQ(v->GetFieldCount(), 0);
    EXPECT_EQ(v->RowCount(), 1) << "an empty source still gives one row";
}

TEST_F(RecViewTest, AlignmentAndFontRulesForTheEngines)
{
    auto* v = MakeView();
    v->SetFields({QStringLiteral("RUN_ID"), QStringLiteral("PERSON_NAME")});
    EXPECT_EQ(v->GetDataAlignment(0), DT_LEFT);
    v->SetOptionsEx(GridOptEx(goNumberRight));
    EXPECT_EQ(v->GetDataAlignment(0), DT_RIGHT);
    EXPECT_EQ(v->GetDataAlignment(1), DT_LEFT);
    v->SetOptionsEx(GridOptEx(goDataRight));
    EXPECT_EQ(v->GetDataAlignment(1), DT_RIGHT);
    v->SetSpecFields({QStringLiteral("PERSON_NAME=B;$0000FF")});
    TFont f;
    f.SetSize(20);
    v->GetFontStyle(1, &f, true);
    EXPECT_TRUE(f.Style() & fsBold);
    EXPECT_EQ(f.Color(), clRed);
    EXPECT_EQ(f.Size(), 20) << "KeepFontNameSize";
}

// The in-place editor shows a row with its own font rule in that font, and a
// plain row again in the control's font.
TEST_F(RecViewTest, TheEditorTakesTheRowsFont)
{
    auto* v = MakeView();
    v->SetFields({QStringLiteral("RUN_ID"), QStringLiteral("PERSON_NAME")});
    v->SetSpecFields({QStringLiteral("PERSON_NAME=B;$0000FF")});
    v->FocusCell(1, 1, true);
    QTest::keyClick(v->Widget(), Qt::Key_F2);
    TInplaceEdit* e = v->InplaceEditor();
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(v->EditorMode());
    EXPECT_TRUE(e->Font()->Style() & fsBold);
    EXPECT_EQ(e->Font()->Color(), clRed);
    QTest::keyClick(e->Widget(), Qt::Key_Escape);
    v->FocusCell(1, 0, true);
    v->ShowEditor();
    EXPECT_FALSE(e->Font()->Style() & fsBold);
    EXPECT_EQ(e->Font()->Color(), v->Font()->Color());
    runs.Cancel();
}

TEST_F(RecViewTest, EditsReachTheFieldAndBooleanRowsToggle)
{
    auto* v = MakeView();
    v->SetFields({QStringLiteral("PERSON_NAME"), QStringLiteral("RENTED_CHIP"), QStringLiteral("RUN_ID")});
    v->SetBooleanFields({QStringLiteral("RENTED_CHIP=K;E")});
    EXPECT_TRUE(v->IsBooleanRow(1));
    EXPECT_TRUE(v->BoolIsTrue(1));
    v->FocusCell(1, 1, true);
    Word k = VK_SPACE;
    v->KeyDown(k, 0);
    EXPECT_EQ(runs.State(), dsEdit) << "the data source edits automatically";
    EXPECT_EQ(F("RENTED_CHIP")->AsString(), QStringLiteral("E"));
    v->ChangeBool(false);
    EXPECT_EQ(F("RENTED_CHIP")->AsString(), QStringLiteral("K"));

    v->FocusCell(1, 0, true);
    v->ShowEditor();
    ASSERT_NE(v->InplaceEditor(), nullptr);
    v->InplaceEditor()->SetText(QStringLiteral("Anna Aaltonen"));
    v->UpdateText();
    runs.Post();
    EXPECT_EQ(F("PERSON_NAME")->AsString(), QStringLiteral("Anna Aaltonen")) << "the pending edit is written when the record posts";

    // Ctrl+X on a read-only field copies and changes nothing.
    F("RUN_ID")->SetReadOnly(true);
    v->FocusCell(1, 2, true);
    k = 'X';
    v->KeyDown(k, ssCtrl);
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("1"));
    EXPECT_EQ(F("RUN_ID")->AsInteger(), 1);
    // Delete on a writable row clears it; Ctrl+V pastes.
    v->FocusCell(1, 0, true);
    k = VK_DELETE;
    v->KeyDown(k, 0);
    EXPECT_TRUE(F("PERSON_NAME")->IsNull());
    Clipboard()->SetAsText(QStringLiteral("Liitetty"));
    k = 'V';
    v->KeyDown(k, ssCtrl);
    EXPECT_EQ(F("PERSON_NAME")->AsString(), QStringLiteral("Liitetty"));
    runs.Cancel();
}

// Space and a double-click on a yes/no row change the field only in a view
// set up for editing cell by cell; a view for display leaves it alone even
// though the record itself could be edited.
TEST_F(RecViewTest, YesNoRowsToggleByKeyAndMouseOnlyInAnEditingView)
{
    struct Case {
        const char* Name;
        TGridOptions Add, Remove;
        bool Toggles;
    };
    const Case cases[] = {{"editing", goEditing, 0, true},
                          {"display only", 0, goEditing, false},
                          {"row selection", goEditing | goRowSelect, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* v = Make<TrDBRecView>(10, 10, 360, 300);
        v->SetOptions((v->Options() | c.Add) & ~c.Remove);
        v->SetDataSource(&src);
        v->SetFields({QStringLiteral("PERSON_NAME"), QStringLiteral("RENTED_CHIP")});
        v->SetBooleanFields({QStringLiteral("RENTED_CHIP=K;E")});
        v->FocusCell(1, 1, true);
        QTest::keyClick(v->Widget(), Qt::Key_Space);
        EXPECT_EQ(F("RENTED_CHIP")->AsString(), c.Toggles ? QStringLiteral("E") : QStringLiteral("K")) << "Space";
        const TRect r = v->CellRect(1, 1);
        QTest::mouseDClick(v->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
        EXPECT_EQ(F("RENTED_CHIP")->AsString(), QStringLiteral("K")) << "double-click";
        EXPECT_EQ(runs.State(), c.Toggles ? dsEdit : dsBrowse);
        runs.Cancel();
        delete v;
    }
}

TEST_F(RecViewTest, PickListsAndTheCalendarOfDateRows)
{
    auto* v = MakeView();
    v->SetFields({QStringLiteral("PERSON_NAME"), QStringLiteral("EVENT_DATE")});
    v->SetPickLists({QStringLiteral("[person_name]"), QStringLiteral("Anna Aalto"), QStringLiteral("Bertta Berg"), QStringLiteral("[OTHER]"),
                     QStringLiteral("x")});
    EXPECT_EQ(v->GetPickList(0), (QStringList{QStringLiteral("Anna Aalto"), QStringLiteral("Bertta Berg")}));
    EXPECT_TRUE(v->GetPickList(1).isEmpty());
    v->FocusCell(1, 0, true);
    v->ShowEditor();
    auto* e = dynamic_cast<TInplaceEditList*>(v->InplaceEditor());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->PickList.size(), 2);

    // Picking a day stores it at 00:00.
    v->FocusCell(1, 1, true);
    v->ShowEditor();
    runs.Edit();
    v->ShowDateTimePicker(F("EVENT_DATE"), v->CellRect(1, 1));
    ASSERT_NE(v->DateTimePicker(), nullptr);
    EXPECT_TRUE(F("EVENT_DATE")->IsNull()) << "showing the picker changes nothing";
    v->DateTimePicker()->SetDateTime(EncodeDateTime(2026, 7, 4, 15, 30, 0, 0));
    EXPECT_DOUBLE_EQ(F("EVENT_DATE")->AsDateTime(), EncodeDate(2026, 7, 4));
    v->DateTimePicker()->CloseUp(false);
    EXPECT_FALSE(v->DateTimePicker()->Visible());
    runs.Cancel();
}

TEST_F(RecViewTest, LinkRowsOpenTheirValueOrTellTheProgram)
{
    auto* v = MakeView();
    v->SetFields({QStringLiteral("PERSON_NAME"), QStringLiteral("NOTES"), QStringLiteral("RUN_ID")});
    v->SetFieldsAsLink({QStringLiteral("PERSON_NAME=MAILTO:"), QStringLiteral("RUN_ID=run")});
    runs.Edit();
    F("PERSON_NAME")->SetAsString(QStringLiteral("anna@example.fi"));
    EXPECT_EQ(v->LinkTarget(0), QStringLiteral("MAILTO:anna@example.fi"));
    F("PERSON_NAME")->SetAsString(QStringLiteral("mailto:anna@example.fi"));
    EXPECT_EQ(v->LinkTarget(0), QStringLiteral("mailto:anna@example.fi")) << "a value holding the kind opens unchanged";
    runs.Cancel();
    EXPECT_TRUE(v->LinkKind(1).isEmpty());
    QVariant clicked;
    v->OnLinkClick = [&](TComponent*, TDataSet*, void*, TField*, const QVariant& Value) { clicked = Value; };
    v->LinkClick(2);
    EXPECT_EQ(clicked.toInt(), 1);
}

TEST_F(RecViewTest, DatasetUtilitiesTakeTheViewLikeAGrid)
{
    auto* v = MakeView();
    v->SetFields({QStringLiteral("NOTES=Huomiot"), QStringLiteral("PERSON_NAME=Nimi"), QStringLiteral("RUN_ID")});
    EXPECT_EQ(GetDataSet(v), &runs);
    TStringList names, captions;
    EXPECT_EQ(GetFldList(v, &names, GetFldDefs(false, true, true, true, false, false, false)), 3);
    EXPECT_EQ(names.ToQStringList(), (QStringList{QStringLiteral("NOTES"), QStringLiteral("PERSON_NAME"), QStringLiteral("RUN_ID")}));
    GetFldList(v, &captions, GetFldDefs(true, false, true, false, false, false, false));
    EXPECT_EQ(captions.ToQStringList(), (QStringList{QStringLiteral("Nimi"), QStringLiteral("RUN_ID")})) << "no memo asked for";
    v->SetDataSource(nullptr);
    EXPECT_EQ(GetDataSet(v), nullptr);
}

}  // namespace
