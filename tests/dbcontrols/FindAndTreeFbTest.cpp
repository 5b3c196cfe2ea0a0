// Over a Firebird event database: the find dialog driven through the modal
// hook, and the navigation tree over a chain of detail queries (series,
// seasons, events) rebuilt after its datasets were reopened.

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rImageListEx.h"
#include "components/base/rMemoEx.h"
#include "components/dbcontrols/TrDBTreeView.h"
#include "components/dbcontrols/rDBFindForm.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/StdCtrls.h"
#include "tests/dbcontrols/GeneralEventRecorder.h"
#include "tests/dbcontrols/FbClubsFixture.h"

#include <QTest>
#include <QWidget>
#include <functional>
#include <vector>

namespace {

class FindTest : public FbClubsFixture {
protected:
    void SetUp() override
    {
        FbClubsFixture::SetUp();
        grid = new TDBGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 600, 300);
        grid->SetDataSource(&clubSrc);
        ParioCompConfig.rDBFindCfg = TrDBFindCfg{};
    }
    void TearDown() override
    {
        SetModalHook(previous);
        FbClubsFixture::TearDown();
    }
    // Runs FindRec with Drive acting on the shown dialog.
    bool Run(const std::function<void(TrDBFindForm*)>& Drive)
    {
        previous = SetModalHook([&](TCustomForm* F) {
            auto* f = dynamic_cast<TrDBFindForm*>(F);
            if (!f)
                return int(mrCancel);
            f->Show();
            Drive(f);
            return int(mrAbort);
        });
        return FindRec(grid, false);
    }
    void Search(TrDBFindForm* f, const QString& Text, int Opt, bool CaseSensitive)
    {
        f->eText->SetText(Text);
        f->SetOptIndex(Opt);
        f->cbCase->SetChecked(CaseSensitive);
        f->btFindClick(f->btFind);
    }
    TDBGrid* grid = nullptr;
    TModalHook previous;
};

TEST_F(FindTest, ComparisonKindsAndCaseFindTheRightRecords)
{
    const bool answer = Run([&](TrDBFindForm* f) {
        ASSERT_EQ(f->FieldNames(), (QStringList{QStringLiteral("CLUB_ID"), QStringLiteral("CLUB_NAME"), QStringLiteral("CLUB_ABBR")}));
        Search(f, QStringLiteral("abc"), 0, false);
        EXPECT_EQ(clubs->FieldByName(QStringLiteral("CLUB_ID"))->AsInteger(), 4) << "whole field, any case";
        EXPECT_EQ(f->lblResult->Caption(), QStringLiteral("Found. CLUB_NAME:"));
        Search(f, QStringLiteral("ABC"), 0, true);
        EXPECT_EQ(f->FoundIndex, 1);
        Search(f, QStringLiteral("abc"), 0, true);
        EXPECT_EQ(f->FoundIndex, 2) << "case sensitive: only the abbreviation matches";
        EXPECT_EQ(f->lblResult->Caption(), QStringLiteral("Found. CLUB_ABBR:"));

        Search(f, QStringLiteral("Fo"), 1, false);
        EXPECT_EQ(clubs->FieldByName(QStringLiteral("CLUB_ID"))->AsInteger(), 2) << "beginning of field: Forest, not Old Forest";
        f->btFindClick(f->btFindNext);
        EXPECT_EQ(f->FoundIndex, -1);
        EXPECT_EQ(f->lblResult->Caption(), QStringLiteral("Not found"));
        EXPECT_TRUE(f->btFindPrev->Enabled()) << "enabled before the forward search";
        Search(f, QStringLiteral("forest"), 2, false);
        f->btFindClick(f->btFindNext);
        EXPECT_EQ(clubs->FieldByName(QStringLiteral("CLUB_ID"))->AsInteger(), 3) << "any part: Old Forest next";
        EXPECT_EQ(f->mInfo->Text(), QStringLiteral("Old Forest"));
        EXPECT_EQ(f->mInfo->HighlightWords(), QStringList{QStringLiteral("forest")}) << "the typed text stands out";
        f->btFindClick(f->btFindPrev);
        EXPECT_EQ(clubs->FieldByName(QStringLiteral("CLUB_ID"))->AsInteger(), 2);

        // Unicode letters fold their case too; quotes are removed when asked.
        f->cbDelQuotes->SetChecked(true);
        Search(f, QStringLiteral("\"äänekosken\""), 1, false);
        EXPECT_EQ(f->eText->Text(), QStringLiteral("äänekosken"));
        EXPECT_EQ(clubs->FieldByName(QStringLiteral("CLUB_ID"))->AsInteger(), 5);

        // Only the selected fields are searched.
        f->lbLabels->SetSelected(1, false);
        Search(f, QStringLiteral("forest"), 2, false);
        EXPECT_EQ(f->FoundIndex, -1);
        EXPECT_EQ(f->eText->Items().size(), 4) << "the history holds each text once, whatever its case";
    });
    EXPECT_FALSE(answer) << "no button ends the dialog with Ok";
    EXPECT_EQ(ParioCompConfig.rDBFindCfg.LastFindStr, QStringLiteral("forest"));
    EXPECT_EQ(ParioCompConfig.rDBFindCfg.LastOptIndex, 2);
}

TEST_F(FindTest, FieldOrderSortAndNoDialogWithoutAnActiveDataset)
{
    Run([&](TrDBFindForm* f) {
        f->lbLabels->SetItemIndex(2);
        f->btUpClick(true);
        EXPECT_EQ(f->FieldNames()[1], QStringLiteral("CLUB_ABBR"));
        f->btSortClick();
        EXPECT_EQ(f->lbLabels->Items(), (QStringList{QStringLiteral("CLUB_ABBR"), QStringLiteral("CLUB_ID"), QStringLiteral("CLUB_NAME")}));
        EXPECT_EQ(f->FieldNames(), f->lbLabels->Items()) << "names move with their captions";
    });
    clubs->Close();
    int shown = 0;
    previous = SetModalHook([&](TCustomForm*) { return ++shown, int(mrAbort); });
    EXPECT_FALSE(FindRec(grid, false));
    EXPECT_EQ(shown, 0);
}

// The buttons carry glyphs from the two lists (the disabled list while
// disabled); the dialog tells the hook it was shown, activated and closed;
// after a hit the button that searches on has the focus.
TEST_F(FindTest, GlyphsGeneralEventsAndFocusAfterAHit)
{
    GeneralEventRecorder<TrDBFindForm> events;
    std::vector<int>& ids = events.Ids;
    Run([&](TrDBFindForm* f) {
        const std::pair<TrButton*, int> glyphs[] = {{f->btClose, 2}, {f->btUp, 7}, {f->btDown, 8},
                                                   {f->btFindPrev, 13}, {f->btFindNext, 14}, {f->btFind, 16}};
        for (const auto& [b, index] : glyphs) {
            EXPECT_EQ(b->ImageIndex, index);
            EXPECT_EQ(b->Images, b->Enabled() ? static_cast<TCustomImageList*>(f->rDlgImgEna) : f->rDlgImgDis);
        }
        EXPECT_EQ(f->rDlgImgEna->Count(), 17);
        EXPECT_EQ(f->rDlgImgDis->Count(), 17);
        EXPECT_EQ(ids, (std::vector<int>{pceDialogShown, pceDialogActivated}));
        // The control the dialog's window gives the keys to (the window
        // itself need not be the active one here).
        auto keysTo = [f](TWinControl* C) {
            QWidget* w = f->Widget()->focusWidget();
            return w && (w == C->Widget() || C->Widget()->isAncestorOf(w));
        };
        f->eText->SetText(QStringLiteral("Fo"));
        f->SetOptIndex(1);
        QTest::mouseClick(f->btFind->Widget(), Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_EQ(clubs->FieldByName(QStringLiteral("CLUB_ID"))->AsInteger(), 2);
        EXPECT_TRUE(keysTo(f->btFindNext)) << "Find next after a hit";
        EXPECT_EQ(f->btFindPrev->Images, static_cast<TCustomImageList*>(f->rDlgImgEna)) << "enabled by the hit";
        QTest::mouseClick(f->btFindNext->Widget(), Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_EQ(f->lblResult->Caption(), QStringLiteral("Not found"));
        EXPECT_TRUE(keysTo(f->eText)) << "no hit: the typed text";
        EXPECT_EQ(f->eText->SelLength(), 2);
        f->Close();
    });
    EXPECT_EQ(ids.back(), pceDialogClosed);
}

using FbTreeTest = FbClubsFixture;

TEST_F(FbTreeTest, ChainOfDetailQueriesRebuildsAfterReopeningAndKeepsTheSelectedEvent)
{
    TDataSource seriesSrc, seasonSrc, eventSrc;
    auto series = Query(QStringLiteral("select EVENT_SERIES_ID, EVENT_SERIES_NAME from VRK_EVENT_SERIES order by 1"),
                        QStringLiteral("EVENT_SERIES_ID"));
    seriesSrc.SetDataSet(series.get());
    auto seasons = Query(QStringLiteral("select EVENT_SERIES_SEASON_ID, EVENT_SERIES_SEASON_NAME from VRK_EVENT_SERIES_SEASON "
                                        "where EVENT_SERIES_ID = :EVENT_SERIES_ID order by 1"),
                         QStringLiteral("EVENT_SERIES_SEASON_ID"), &seriesSrc);
    seasonSrc.SetDataSet(seasons.get());
    auto events = Query(QStringLiteral("select EVENT_ID, EVENT_NAME from VRK_EVENT where EVENT_SERIES_SEASON_ID = :EVENT_SERIES_SEASON_ID"),
                        QStringLiteral("EVENT_ID"), &seasonSrc);
    eventSrc.SetDataSet(events.get());
    series->Open();
    seasons->Open();
    events->Open();
    auto* tree = new TrDBTreeView(form.get());
    tree->SetParent(form.get());
    tree->BeginUpdate();
    TDataItemDef* s = tree->DataItemDefs()->Add();
    s->SetDataSource(&seriesSrc);
    s->KeyFieldName = QStringLiteral("event_series_id");
    s->SetRecordTextMask(QStringLiteral("<<event_series_name>>"));
    s->SetExpandNode(false);
    TDataItemDef* se = s->SubDataItemDefs()->Add();
    se->SetDataSource(&seasonSrc);
    se->KeyFieldName = QStringLiteral("event_series_season_id");
    se->SetRecordTextMask(QStringLiteral("<<event_series_season_name>>"));
    se->SetExpandNode(false);
    TDataItemDef* e = se->SubDataItemDefs()->Add();
    e->SetDataSource(&eventSrc);
    e->KeyFieldName = QStringLiteral("event_id");
    e->SetRecordTextMask(QStringLiteral("<<event_name>>"));
    e->SetExpandNode(false);
    tree->EndUpdate();
    ASSERT_EQ(tree->Items()->Count(), 6) << "two series, a season and an event under each";
    TField* eventKey = events->FieldByName(QStringLiteral("EVENT_ID"));
    TTreeNode* winter = tree->FindNode(eventKey, 300);
    ASSERT_NE(winter, nullptr);
    EXPECT_EQ(winter->Text(), QStringLiteral("Yösuunnistus"));
    tree->SetSelected(winter);

    // The windows reopen the tree datasets, rebuild keeping the selection,
    // then close the datasets again: the nodes keep their keys.
    series->Close();
    series->Open();
    ASSERT_TRUE(events->Active()) << "details closed with their master open again with it";
    tree->RefreshData(false, true);
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Selected()->Text(), QStringLiteral("Yösuunnistus"));
    series->Close();
    EXPECT_NE(tree->FindNode(eventKey, 300), nullptr);
    EXPECT_EQ(tree->GetSelectedData()->KeyValue.toInt(), 300);
}

}  // namespace
