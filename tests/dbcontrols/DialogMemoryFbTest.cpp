// What the find and filter dialogs keep between uses and across a restart
// of the program (the global property file written and read again): the
// history, field choices, comparison, values and options per grid, and the
// place and size of the window; and how their controls follow a resize.
// Typing and clicks are real key and mouse events on the dialogs' widgets.

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rEditNum.h"
#include "components/dbcontrols/rDBFilterForm.h"
#include "components/base/rListBoxes.h"
#include "components/dbcontrols/rDBFieldsForm.h"
#include "components/dbcontrols/rDBFindForm.h"
#include "components/dbcontrols/rDBSortForm2.h"
#include "components/grid/rDBGrid.h"
#include "components/stringgrid/rStringGridEd.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/ListBoxes.h"
#include "platform/ui/StdCtrls.h"
#include "tests/dbcontrols/ClubsGridFixture.h"
#include "tests/dbcontrols/GlobalPropFile.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

class DialogMemoryTest : public ClubsGridFixture {
protected:
    void SetUp() override
    {
        ClubsGridFixture::SetUp();
        ParioCompConfig.rDBFindCfg = TrDBFindCfg{};
        form->SetName(QStringLiteral("fmClubs"));
        grid->SetName(QStringLiteral("grClubs"));
        other = new TrDBGrid(form.get());
        other->SetName(QStringLiteral("grOther"));
        other->SetParent(form.get());
        other->SetBounds(0, 300, 600, 150);
        other->SetDataSource(&clubSrc);
        path = dir.filePath(QStringLiteral("sorvex.ini"));
        file = OpenGlobalFile(path);
    }
    void TearDown() override
    {
        file.reset();
        ClubsGridFixture::TearDown();
    }
    // The program ends (the file is written) and starts again.
    void Restart()
    {
        file.reset();
        file = OpenGlobalFile(path);
    }
    template <class Form>
    void Drive(const std::function<void(Form*)>& Act)
    {
        previous = SetModalHook([Act](TCustomForm* F) {
            auto* f = dynamic_cast<Form*>(F);
            if (!f)
                return int(mrCancel);
            f->Show();
            Act(f);
            return int(mrCancel);
        });
    }
    bool Find(TrDBGrid* G, const std::function<void(TrDBFindForm*)>& Act)
    {
        Drive<TrDBFindForm>(Act);
        return FindRec(G, false);
    }
    bool Filter(TrDBGrid* G, const std::function<void(TrDBFilterForm*)>& Act)
    {
        Drive<TrDBFilterForm>(Act);
        return FilterRec(G, false);
    }
    static void TypeInto(TControl* C, const QString& Text)
    {
        auto* box = qobject_cast<QComboBox*>(C->Widget());
        QWidget* target = box && box->lineEdit() ? static_cast<QWidget*>(box->lineEdit()) : C->Widget();
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(target, Text);
    }
    static void ClickOn(TControl* C) { QTest::mouseClick(C->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5)); }
    QString Current(const char* Name) { return clubs->FieldByName(QString::fromLatin1(Name))->AsString(); }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<TPropSaveFile> file;
    TrDBGrid* other = nullptr;
};

TEST_F(DialogMemoryTest, FindDialogKeepsHistoryFieldsAndComparisonPerGridAcrossARestart)
{
    Find(grid, [&](TrDBFindForm* f) {
        f->SetOptIndex(1);
        TypeInto(f->eText, QStringLiteral("Fo"));
        ClickOn(f->btFind);
        EXPECT_EQ(Current("CLUB_NAME"), QStringLiteral("Forest Runners")) << "typed and clicked";
        TypeInto(f->eText, QStringLiteral("Old"));
        ClickOn(f->btFind);
        EXPECT_EQ(Current("CLUB_ID"), QStringLiteral("3"));
        // Abbreviation first, the number no longer searched; a warning when nothing is found.
        f->lbLabels->SetItemIndex(2);
        f->btUpClick(true);
        f->btUpClick(true);
        f->lbLabels->SetSelected(1, false);
        ClickOn(f->chShowMsg);
        EXPECT_TRUE(f->chShowMsg->Checked());
    });
    Restart();
    Find(grid, [&](TrDBFindForm* f) {
        EXPECT_EQ(f->eText->Items(), (QStringList{QStringLiteral("Fo"), QStringLiteral("Old")}));
        EXPECT_EQ(f->eText->Text(), QStringLiteral("Old"));
        EXPECT_EQ(f->OptIndex(), 1);
        EXPECT_EQ(f->FieldNames(), (QStringList{QStringLiteral("CLUB_ABBR"), QStringLiteral("CLUB_ID"), QStringLiteral("CLUB_NAME")}));
        EXPECT_TRUE(f->lbLabels->Selected(0));
        EXPECT_FALSE(f->lbLabels->Selected(1)) << "CLUB_ID stays out of the search";
        EXPECT_TRUE(f->lbLabels->Selected(2));
        EXPECT_TRUE(f->chShowMsg->Checked());
        f->SetOptIndex(0);
    });
    // Another grid: only the check boxes (and the run's last search) carry over.
    ParioCompConfig.rDBFindCfg.LastOptIndex = 2;
    Find(other, [&](TrDBFindForm* f) {
        EXPECT_TRUE(f->eText->Items().isEmpty());
        EXPECT_EQ(f->OptIndex(), 2);
        EXPECT_EQ(f->FieldNames().first(), QStringLiteral("CLUB_ID"));
        EXPECT_TRUE(f->chShowMsg->Checked());
    });
    // Storing of the field lists switched off: neither read nor written.
    ParioCompConfig.rDBToolCfg.rDlg_BlockStoringGridFields = true;
    Find(grid, [&](TrDBFindForm* f) {
        EXPECT_EQ(f->FieldNames().first(), QStringLiteral("CLUB_ID"));
        EXPECT_EQ(f->OptIndex(), 0) << "the comparison is still kept";
    });
    ParioCompConfig.rDBToolCfg.rDlg_BlockStoringGridFields = false;
}

TEST_F(DialogMemoryTest, FilterDialogStartsAtTheGridsColumnAndKeepsItsChoicesAcrossARestart)
{
    grid->SetSelectedField(clubs->FieldByName(QStringLiteral("CLUB_ABBR")));
    Filter(grid, [&](TrDBFilterForm* f) {
        EXPECT_EQ(f->SelFld()->FieldName(), QStringLiteral("CLUB_ABBR")) << "the grid's column, not the first row";
        f->SelectField(QStringLiteral("CLUB_NAME"));
        TypeInto(f->eValue, QStringLiteral("Forest"));
        ClickOn(f->btAdd);
        EXPECT_EQ(f->eRes->Text(), QStringLiteral("([CLUB_NAME] LIKE '*Forest*')"));
        f->SelectField(QStringLiteral("CLUB_ID"));
        f->SelectSign(6);
        f->eValNum1->SetValue(2);
        f->eValNum2->SetValue(4);
        f->eValDate1->SetDate(EncodeDate(2026, 5, 15));
        ClickOn(f->chShowRecCount);
        EXPECT_TRUE(f->chShowRecCount->Checked());
    });
    Restart();
    grid->SetSelectedField(clubs->FieldByName(QStringLiteral("CLUB_NAME")));
    Filter(grid, [&](TrDBFilterForm* f) {
        EXPECT_EQ(f->SelFld()->FieldName(), QStringLiteral("CLUB_ID")) << "the field used last";
        EXPECT_EQ(f->sgSign->Row(), 6);
        EXPECT_TRUE(f->eValNum2->Visible()) << "between: both numbers";
        EXPECT_DOUBLE_EQ(f->eValNum1->Value(), 2);
        EXPECT_DOUBLE_EQ(f->eValNum2->Value(), 4);
        EXPECT_EQ(f->eValDate1->Date(), EncodeDate(2026, 5, 15));
        EXPECT_EQ(f->eValue->Items(), QStringList{QStringLiteral("Forest")});
        EXPECT_TRUE(f->eValue->Text().isEmpty());
        EXPECT_TRUE(f->chShowRecCount->Checked());
    });
    // A saved field the grid no longer has: the grid's column.
    file->WriteString(QStringLiteral("rDBFilterForm.fmClubs.grClubs"), QStringLiteral("SelectedField"), QStringLiteral("GONE"));
    Filter(grid, [&](TrDBFilterForm* f) { EXPECT_EQ(f->SelFld()->FieldName(), QStringLiteral("CLUB_NAME")); });
}

// "Delete quotes" ticked while the configuration showed it, then hidden by
// the configuration: the box read back from the file is unticked, so no
// invisible box strips the quotes from what the user types.
TEST_F(DialogMemoryTest, AHiddenDeleteQuotesBoxComesBackUnticked)
{
    const TrDBFilterCfg filterCfg = ParioCompConfig.rDBFilterCfg;
    ParioCompConfig.rDBFindCfg.ShowDelQuotes = true;
    ParioCompConfig.rDBFilterCfg.ShowDelQuotes = true;
    Find(grid, [&](TrDBFindForm* f) {
        ClickOn(f->cbDelQuotes);
        EXPECT_TRUE(f->cbDelQuotes->Checked());
    });
    Filter(grid, [&](TrDBFilterForm* f) {
        ClickOn(f->cbDelQuotes);
        EXPECT_TRUE(f->cbDelQuotes->Checked());
    });
    Restart();
    Find(grid, [&](TrDBFindForm* f) { EXPECT_TRUE(f->cbDelQuotes->Checked()) << "shown: kept"; });
    ParioCompConfig.rDBFindCfg.ShowDelQuotes = false;
    ParioCompConfig.rDBFilterCfg.ShowDelQuotes = false;
    Find(grid, [&](TrDBFindForm* f) {
        EXPECT_FALSE(f->cbDelQuotes->Visible());
        EXPECT_FALSE(f->cbDelQuotes->Checked());
    });
    Filter(grid, [&](TrDBFilterForm* f) {
        EXPECT_FALSE(f->cbDelQuotes->Visible());
        EXPECT_FALSE(f->cbDelQuotes->Checked());
    });
    ParioCompConfig.rDBFilterCfg = filterCfg;
}

TEST_F(DialogMemoryTest, ADialogComesBackWhereTheUserLeftItAndItsControlsFollowAResize)
{
    Find(grid, [&](TrDBFindForm* f) {
        const TRect list = f->lbLabels->BoundsRect(), close = f->btClose->BoundsRect();
        f->SetBounds(40, 30, f->Width() + 60, f->Height() + 40);
        EXPECT_EQ(f->btClose->Left(), close.Left + 60);
        EXPECT_EQ(f->btClose->Top(), close.Top + 40);
        EXPECT_EQ(f->lbLabels->Width(), list.Width() + 60);
        EXPECT_EQ(f->lbLabels->Height(), list.Height() + 40);
        EXPECT_EQ(f->btSelAll->Left() + f->btSelAll->Width(), f->lbLabels->Left() + f->lbLabels->Width());
        EXPECT_EQ(f->btUp->Left() - (f->btSort->Left() + f->btSort->Width()), 8) << "Sort stays beside the up button";
    });
    const int width = file->ReadInteger(QStringLiteral("rDBFindForm_XY"), QStringLiteral("Right"), 0) -
                      file->ReadInteger(QStringLiteral("rDBFindForm_XY"), QStringLiteral("Left"), 0);
    Restart();
    Find(grid, [&](TrDBFindForm* f) {
        EXPECT_EQ(f->Left(), 40);
        EXPECT_EQ(f->Top(), 30);
        EXPECT_EQ(f->Width(), width);
    });
    Filter(grid, [&](TrDBFilterForm* f) {
        const TRect res = f->eRes->BoundsRect(), ok = f->btOk->BoundsRect(), list = f->sgPol->BoundsRect();
        f->SetBounds(20, 20, f->Width() + 50, f->Height() + 30);
        EXPECT_EQ(f->btOk->Left(), ok.Left + 50);
        EXPECT_EQ(f->btOk->Top(), ok.Top + 30);
        EXPECT_EQ(f->eRes->Width(), res.Width() + 50);
        EXPECT_EQ(f->eRes->Height(), res.Height() + 30);
        EXPECT_EQ(f->sgPol->Width(), list.Width() + 50);
    });
    Restart();
    Filter(grid, [&](TrDBFilterForm* f) {
        EXPECT_EQ(f->Left(), 20);
        EXPECT_EQ(f->Top(), 20);
    });
}

// The other dataset dialogs: the list takes the room, the buttons follow
// the edges, and the sort dialog comes back where it was left.
TEST_F(DialogMemoryTest, SortFieldsAndStoredFilterDialogsFollowAResize)
{
    TrDBSortForm2 sort(nullptr);
    sort.rDBGrid = grid;
    sort.Show();
    const TRect list = sort.grSort->BoundsRect(), ok = sort.btOk->BoundsRect(), saved = sort.lbSavedSort->BoundsRect();
    sort.SetBounds(30, 40, sort.Width() + 80, sort.Height() + 50);
    EXPECT_EQ(sort.grSort->Width(), list.Width() + 80);
    EXPECT_EQ(sort.grSort->Height(), list.Height() + 50);
    EXPECT_EQ(sort.btOk->Left(), ok.Left + 80);
    EXPECT_EQ(sort.btOk->Top(), ok.Top + 50);
    EXPECT_EQ(sort.lbSavedSort->Left(), saved.Left + 80);
    const int width = sort.Width();
    sort.Close();
    Restart();
    TrDBSortForm2 again(nullptr);
    again.rDBGrid = grid;
    again.Show();
    EXPECT_EQ(again.Left(), 30);
    EXPECT_EQ(again.Width(), width);
    again.Close();

    TrDBFieldsForm fields(nullptr);
    fields.GDS = grid;
    fields.Show();
    const TRect close = fields.btClose->BoundsRect(), labels = fields.lbLabels->BoundsRect();
    fields.SetBounds(0, 0, fields.Width() + 40, fields.Height() + 30);
    EXPECT_EQ(fields.btClose->Left(), close.Left + 40);
    EXPECT_EQ(fields.lbLabels->Height(), labels.Height() + 30);
    fields.Close();
}

// With the library's help hook, F1 in a dataset dialog asks it for the
// dialog's context help.
TEST_F(DialogMemoryTest, F1AsksTheHelpHookForTheDialogsContext)
{
    TCustomForm* asked = nullptr;
    int context = -1;
    ParioCompConfig.Global_ProcOnHelp = [&](TCustomForm* F, int HelpContext) {
        asked = F;
        context = HelpContext;
    };
    TCustomForm* shown = nullptr;
    Find(grid, [&](TrDBFindForm* f) {
        shown = f;
        QTest::keyClick(f->eText->Widget(), Qt::Key_F1);
    });
    ParioCompConfig.Global_ProcOnHelp = nullptr;
    EXPECT_EQ(asked, shown);
    EXPECT_EQ(context, 1);
}

}  // namespace
