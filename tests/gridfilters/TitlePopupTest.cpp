// The title popup: a right click on a title lists the column's summaries
// (distinct values only when asked for), a click copies a line's values, and
// a right click elsewhere leaves the grid's own menu.

#include "components/grid/TrDBGridTitlePopup.h"
#include "components/grid/rDBGrid.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Menus.h"
#include "tests/rdbgrid/RDBGridFixture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QWidget>

namespace {

class TitlePopup : public RDBGridTest {
protected:
    void TearDown() override
    {
        TPopupMenu::PopupHook = nullptr;
        RDBGridTest::TearDown();
    }
    // The captions of the menu a right click at the point pops up (empty: none).
    QStringList RightClick(TPoint P)
    {
        QStringList captions;
        TPopupMenu::PopupHook = [&](TPopupMenu* M) {
            for (int i = 0; i < M->Items()->Count(); ++i)
                captions << M->Items()->Items(i)->Caption();
        };
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(P.X, P.Y));
        QApplication::sendEvent(grid->Widget(), &e);
        return captions;
    }
};

}  // namespace

TEST_F(TitlePopup, TitleLinesShowTheColumnSummariesAndCopyThem)
{
    const TRect title = grid->CellRect(grid->DataToRawColumn(5), 0);
    const QStringList items = RightClick({title.Left + 5, title.Top + 3});
    // SECS = 3000 - 7 i for i = 1..24: sum 72000 - 7 * 300 = 69900.
    ASSERT_GE(items.size(), 10);
    EXPECT_EQ(items[0], QStringLiteral("SECS:"));
    EXPECT_EQ(items[2], QStringLiteral("Sum = 69900"));
    EXPECT_EQ(items[3], QStringLiteral("Min = 2832"));
    EXPECT_EQ(items[4], QStringLiteral("Max = 2993"));
    EXPECT_FALSE(items.join(QLatin1Char('|')).contains(QStringLiteral("Distinct")));
    TrDBGridTitlePopup* p = TrDBGridTitlePopup::Of(grid);
    p->TitlePopupClick(p->Menu()->Items()->Items(2));
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("69900"));
    p->TitlePopupClick(p->Menu()->Items()->Items(0));
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("SECS"));
}

TEST_F(TitlePopup, DistinctValuesOnlyWhenAskedAndNoMenuOverData)
{
    grid->OptionsEx2().FixedCell.TitlePopupDistinctValues = true;
    const TRect title = grid->CellRect(grid->DataToRawColumn(2), 0);
    RightClick({title.Left + 5, title.Top + 3});
    TMenuItem* root = TrDBGridTitlePopup::Of(grid)->Menu()->Items();
    TMenuItem* dv = root->Items(root->Count() - 1);
    EXPECT_TRUE(dv->Caption().startsWith(QStringLiteral("Distinct values = 4")));
    ASSERT_EQ(dv->Count(), 4);
    EXPECT_TRUE(dv->Items(0)->Caption().endsWith(QStringLiteral("(6)")));
    const TRect cell = grid->CellRect(grid->DataToRawColumn(2), 2);
    EXPECT_TRUE(RightClick({cell.Left + 5, cell.Top + 3}).isEmpty());
}
