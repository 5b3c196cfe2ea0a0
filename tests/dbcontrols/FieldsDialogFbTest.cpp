// The column choice dialog over a data grid and over the dataset itself on
// the Firebird club table, driven through the modal hook.

#include "components/base/rEditNum.h"
#include "components/base/rImageListEx.h"
#include "components/base/rListBoxes.h"
#include "components/base/rdlg.h"
#include "components/dbcontrols/rDBFieldsForm.h"
#include "components/grid/TPropSaveMain.h"
#include "components/grid/TrDBGridsPropSave.h"
#include "components/grid/rDBGrid.h"
#include "platform/ui/StdCtrls.h"
#include "tests/dbcontrols/GeneralEventRecorder.h"
#include "tests/dbcontrols/ClubsGridFixture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <deque>
#include <functional>
#include <vector>

namespace {

class FieldsDialogTest : public ClubsGridFixture {
protected:
    // Drives the dialog; the questions it asks take Answers in turn.
    void Run(TComponent* Target, int Mode, const std::function<void(TrDBFieldsForm*)>& Drive)
    {
        bool driven = false;
        previous = SetModalHook([&](TCustomForm* F) {
            if (dynamic_cast<TrDlgForm*>(F)) {
                ++questions;
                const int a = answers.empty() ? int(mrCancel) : answers.front();
                if (!answers.empty())
                    answers.pop_front();
                return a;
            }
            auto* f = dynamic_cast<TrDBFieldsForm*>(F);
            if (!f)
                return int(mrCancel);
            f->Show();
            Drive(f);
            driven = true;
            return int(mrCancel);
        });
        ChooseFields(Target, Mode);
        EXPECT_TRUE(driven);
    }
    TColumn* Col(int i) { return grid->Columns()->Items(i); }
    TField* Fld(const char* Name) { return clubs->FieldByName(QString::fromLatin1(Name)); }
    std::deque<int> answers;
    int questions = 0;
};

TEST_F(FieldsDialogTest, GridColumnsShownHiddenMovedAndEdited)
{
    Run(grid, 0, [&](TrDBFieldsForm* f) {
        ASSERT_EQ(f->lbLabels->Count(), 3);
        EXPECT_EQ(f->FixedNum(), 0) << "no row header by default";
        EXPECT_TRUE(f->btFont->Enabled());
        // The numeric key offers the formats, the name none.
        EXPECT_TRUE(f->SelectEntry(0));
        EXPECT_TRUE(f->cbFormat->Enabled());
        EXPECT_EQ(f->cbFormat->Count(), 11);
        EXPECT_TRUE(f->SelectEntry(1));
        EXPECT_FALSE(f->cbFormat->Enabled());

        // Visibility: one entry, then "All" twice.
        f->SetEntryChecked(1, false);
        EXPECT_FALSE(Col(1)->Visible());
        f->AllClick();
        EXPECT_TRUE(Col(0)->Visible() && Col(1)->Visible() && Col(2)->Visible());
        f->AllClick();
        EXPECT_FALSE(Col(0)->Visible() || Col(1)->Visible() || Col(2)->Visible());
        f->AllClick();

        // Edits pending, another entry chosen, Cancel: the edits stay.
        f->eCaption->SetText(QStringLiteral("Seura"));
        f->SetAlign(2);
        EXPECT_TRUE(f->Pending());
        answers = {int(mrCancel)};
        EXPECT_FALSE(f->SelectEntry(2));
        EXPECT_EQ(f->lbLabels->ItemIndex(), 1);
        EXPECT_EQ(f->eCaption->Text(), QStringLiteral("Seura"));
        // Then Yes: applied to column and field.
        answers = {int(mrYes)};
        EXPECT_TRUE(f->SelectEntry(2));
        EXPECT_EQ(Col(1)->Title()->Caption(), QStringLiteral("Seura"));
        EXPECT_EQ(Col(1)->Alignment(), taCenter);
        EXPECT_EQ(Fld("CLUB_NAME")->DisplayLabel(), QStringLiteral("Seura"));
        EXPECT_EQ(Fld("CLUB_NAME")->Alignment(), TFieldAlignment::Center);

        // The abbreviation moves to the front.
        EXPECT_TRUE(f->MoveSelected(true));
        EXPECT_TRUE(f->MoveSelected(true));
        EXPECT_FALSE(f->MoveSelected(true)) << "already first";
        EXPECT_EQ(f->lbLabels->Strings(0), Col(0)->Title()->Caption());
    });
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(Col(0)->FieldName(), QStringLiteral("CLUB_ABBR"));
    EXPECT_EQ(Col(2)->FieldName(), QStringLiteral("CLUB_NAME"));
}

// Glyphs on the move buttons; shown, activated and closed reach the hook.
TEST_F(FieldsDialogTest, MoveButtonGlyphsAndShownActivatedClosedEvents)
{
    GeneralEventRecorder<TrDBFieldsForm> events;
    std::vector<int>& ids = events.Ids;
    Run(grid, 0, [&](TrDBFieldsForm* f) {
        EXPECT_EQ(f->btUp->ImageIndex, 7);
        EXPECT_EQ(f->btDown->ImageIndex, 8);
        EXPECT_EQ(f->btClose->ImageIndex, 2);
        EXPECT_TRUE(f->btUp->Caption().isEmpty()) << "a glyph, not a text arrow";
        EXPECT_EQ(f->btUp->Images, static_cast<TCustomImageList*>(f->rDlgImgEna));
    });
    EXPECT_EQ(ids, (std::vector<int>{pceDialogShown, pceDialogActivated, pceDialogClosed}));
}

TEST_F(FieldsDialogTest, DatasetFieldsWithoutGridProperties)
{
    Run(clubs.get(), 0, [&](TrDBFieldsForm* f) {
        EXPECT_FALSE(f->btFont->Enabled());
        EXPECT_FALSE(f->cbColor->Enabled());
        EXPECT_FALSE(f->btDefault->Enabled());
        EXPECT_TRUE(f->SelectEntry(0));
        f->eCaption->SetText(QStringLiteral("Numero"));
        f->enWidth->SetValue(6);
        f->cbFormat->SetText(QStringLiteral("#,##0"));
        f->SetProp();
        f->SetEntryChecked(1, false);
        EXPECT_TRUE(f->MoveSelected(false));
    });
    EXPECT_EQ(Fld("CLUB_ID")->DisplayLabel(), QStringLiteral("Numero"));
    EXPECT_EQ(Fld("CLUB_ID")->DisplayWidth(), 6);
    EXPECT_EQ(Fld("CLUB_ID")->DisplayFormat(), QStringLiteral("#,##0"));
    EXPECT_FALSE(Fld("CLUB_NAME")->Visible());
    EXPECT_EQ(clubs->Fields()[0]->FieldName(), QStringLiteral("CLUB_NAME"));
    EXPECT_EQ(clubs->Fields()[1]->FieldName(), QStringLiteral("CLUB_ID"));
}

TEST_F(FieldsDialogTest, RowHeaderStaysFirst)
{
    grid->SetOptions(grid->Options() | dgIndicator);
    Run(grid, 1, [&](TrDBFieldsForm* f) {
        ASSERT_EQ(f->FixedNum(), 1);
        EXPECT_EQ(f->lbLabels->Strings(0), QStringLiteral("- Row header -"));
        EXPECT_TRUE(f->lbLabels->Checked(0));
        EXPECT_TRUE(f->SelectEntry(0));
        EXPECT_EQ(f->cbFormat->Items().value(0), QStringLiteral("<<#>>"));
        EXPECT_EQ(f->cbFormat->Items().value(1), QStringLiteral("<<CLUB_ID>>"));
        EXPECT_FALSE(f->MoveSelected(false)) << "the row header does not move";
        f->cbFormat->SetText(QStringLiteral("<<#>>."));
        f->SetProp();
        EXPECT_TRUE(f->SelectEntry(1));
        EXPECT_FALSE(f->MoveSelected(true)) << "nothing goes above the row header";
        f->SetEntryChecked(0, false);
    });
    EXPECT_EQ(grid->FixedColText()->TextMask(), QStringLiteral("<<#>>."));
    EXPECT_FALSE(grid->Options() & dgIndicator);
}

// Keys, double-clicks and a drag in the list, as the user gives them.
TEST_F(FieldsDialogTest, ListReorderedByCtrlArrowsAndDragAndToggledByDoubleClick)
{
    grid->SetOptions(grid->Options() | dgIndicator);
    grid->SetFieldsGroupsText(QStringLiteral("[1::Seura::Red::Red::<<CLUB_NAME>>::0]\r\nCLUB_NAME=M\r\nCLUB_ABBR=0\r\n\r\n"));
    grid->SetGroupsActive(true);
    grid->FieldsGroupsChanged();
    Run(grid, 1, [&](TrDBFieldsForm* f) {
        QWidget* list = f->lbLabels->Widget();
        auto centre = [&](int Row) {
            const TRect r = f->lbLabels->ItemRect(Row);
            return QPoint(r.Left + f->lbLabels->CheckWidth() + 20, (r.Top + r.Bottom) / 2);
        };
        EXPECT_EQ(f->EntryFontStyle(0), TFontStyles(fsItalic)) << "the row header";
        EXPECT_EQ(f->EntryFontStyle(2), TFontStyles(fsBold)) << "CLUB_NAME is the group's master";
        EXPECT_EQ(f->EntryFontStyle(1), TFontStyles(0));
        // Ctrl+Up twice brings the abbreviation first, not above the row header.
        f->lbLabels->SetFocus();
        EXPECT_TRUE(f->SelectEntry(3));
        QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
        QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
        QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
        EXPECT_EQ(Col(0)->FieldName(), QStringLiteral("CLUB_ABBR"));
        EXPECT_EQ(f->lbLabels->ItemIndex(), 1);
        QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
        EXPECT_EQ(Col(1)->FieldName(), QStringLiteral("CLUB_ABBR"));
        // Dragged from row 1 (CLUB_ID) down to row 3, moving as the mouse goes.
        QTest::mousePress(list, Qt::LeftButton, Qt::NoModifier, centre(1));
        for (int row : {2, 3}) {
            QMouseEvent move(QEvent::MouseMove, centre(row), list->mapToGlobal(centre(row)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(list, &move);
        }
        QTest::mouseRelease(list, Qt::LeftButton, Qt::NoModifier, centre(3));
        EXPECT_EQ(Col(2)->FieldName(), QStringLiteral("CLUB_ID"));
        EXPECT_EQ(f->lbLabels->ItemIndex(), 3);
        // A double-click on the entry's text hides the column, another shows it.
        QTest::mouseDClick(list, Qt::LeftButton, Qt::NoModifier, centre(3));
        EXPECT_FALSE(Col(2)->Visible());
        QTest::mouseDClick(list, Qt::LeftButton, Qt::NoModifier, centre(3));
        EXPECT_TRUE(Col(2)->Visible());
    });
}

// "Set default properties": the grid's stored settings go at the next save.
TEST_F(FieldsDialogTest, DefaultsDisableTheGridsSaversOnItsForm)
{
    auto* main = new TPropSaveMain(form.get());
    auto* saver = new TDBGridsPropSave(form.get());
    saver->SetPropSaveMain(main);
    answers = {int(mrYes)};
    Run(grid, 0, [&](TrDBFieldsForm* f) { f->SetDefaultClick(); });
    EXPECT_EQ(questions, 1);
    for (TCustomPropSave* s : {static_cast<TCustomPropSave*>(saver), static_cast<TCustomPropSave*>(main->StdCtrl())})
        EXPECT_NE(std::find(s->DisableComponents.begin(), s->DisableComponents.end(), grid), s->DisableComponents.end());
}

TEST_F(FieldsDialogTest, NothingWithoutAnActiveDataset)
{
    clubs->Close();
    bool shown = false;
    previous = SetModalHook([&](TCustomForm*) {
        shown = true;
        return int(mrCancel);
    });
    ChooseFields(grid, 0);
    EXPECT_FALSE(shown);
}

}  // namespace
