// Field lists of the editable string grid: column positions (hidden ones
// counted) or column captions; no dataset lies behind a string grid.

#include "components/grid/rdbtool.h"
#include "components/stringgrid/rStringGridEd.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>
#include <memory>

TEST(rdbtoolStringGrid, FieldListsOfColumns)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto* g = new TrStringGridEd(form.get());
    g->SetColCount(4);
    const char* captions[] = {"Nro", "Nimi", "Seura", "Aika"};
    for (int i = 0; i < 4; ++i)
        g->Columns()->Items(i)->SetTitleCaption(QString::fromUtf8(captions[i]));
    g->Columns()->Items(1)->SetVisible(false);
    TStringList l;
    EXPECT_EQ(GetFldList(g, &l, FldDef(fdGetIndex) | FldDef(fdVisibleFieldOnly)), 3);
    EXPECT_EQ(l.Text(), QStringLiteral("0\r\n2\r\n3\r\n")) << "positions count hidden columns";
    EXPECT_EQ(GetFldList(g, &l, FldDef(fdGetLabels)), 4);
    EXPECT_EQ(l[1], QStringLiteral("Nimi"));
    // No field kinds and no data-field test apply to a string grid.
    EXPECT_EQ(GetFldList(g, &l, FldDef(fdSimpleField) | FldDef(fdDataFieldOnly)), 4);
    EXPECT_EQ(l[3], QStringLiteral("3"));
    EXPECT_EQ(GetDataSet(g), nullptr);
    EXPECT_FALSE(IsEditing(g));
}
