// The clipboard table text: copying awkward cells (tabs, quotes, line
// breaks, Finnish letters) and pasting them back unchanged, and a paste
// over existing records that stops at the last one.

#include "tests/rdbgrid/RDBGridFixture.h"

#include "platform/database/Fields.h"
#include "platform/ui/Clipbrd.h"

namespace {

const QString Awkward[] = {
    QStringLiteral("Tab\tinside"),
    QStringLiteral("Sanoi \"heippa\""),
    QStringLiteral("Kaksi\r\nriviä"),
    QStringLiteral("Äänekosken Älli-Öljy"),
    QStringLiteral("\"Lainausmerkit\" ja\ttabi\r\nja rivi"),
};

}  // namespace

TEST_F(RDBGridTest, CopyAndPasteRoundTripKeepsAwkwardTexts)
{
    auto small = MakeRunsTable(5);
    src->SetDataSet(small.get());
    int i = 0;
    for (small->First(); !small->Eof(); small->Next(), ++i) {
        small->Edit();
        small->FieldByName(QStringLiteral("NAME"))->SetAsString(Awkward[i]);
        small->Post();
    }
    grid->CopyAllData(true, false);
    const QString text = Clipboard()->AsText();
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("ID\tNAME\tCLUB")));
    EXPECT_TRUE(text.contains(QStringLiteral("\t\"Tab\tinside\"\t")));
    EXPECT_TRUE(text.contains(QStringLiteral("\t\"Sanoi \"\"heippa\"\"\"\t")));
    EXPECT_TRUE(text.contains(QStringLiteral("\t\"Kaksi\nriviä\"\t"))) << "a cell's own line break is a bare LF";
    EXPECT_TRUE(text.contains(QStringLiteral("\tÄänekosken Älli-Öljy\t"))) << "plain cells are not quoted";
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    // Pasting the records (without the title line) into an empty table.
    grid->CopyAllData(false, false);
    auto target = MakeRunsTable(0);
    src->SetDataSet(target.get());
    grid->PasteData(true);
    ASSERT_EQ(target->RecordCount(), 5);
    i = 0;
    for (target->First(); !target->Eof(); target->Next(), ++i) {
        EXPECT_EQ(target->FieldByName(QStringLiteral("NAME"))->AsString(), Awkward[i]) << i;
        EXPECT_EQ(target->FieldByName(QStringLiteral("ID"))->AsInteger(), i + 1);
    }
    src->SetDataSet(data.get());
}

TEST_F(RDBGridTest, PasteOverRecordsStopsAtTheLastOne)
{
    auto small = MakeRunsTable(3);
    src->SetDataSet(small.get());
    grid->SetSelectedIndex(1);
    Clipboard()->SetAsText(QStringLiteral("Yksi\r\nKaksi\r\nKolme\r\nNeljä\r\nViisi\r\n"));
    grid->PasteData(false);
    EXPECT_EQ(small->RecordCount(), 3);
    QStringList names;
    for (small->First(); !small->Eof(); small->Next())
        names << small->FieldByName(QStringLiteral("NAME"))->AsString();
    EXPECT_EQ(names, (QStringList{QStringLiteral("Yksi"), QStringLiteral("Kaksi"), QStringLiteral("Kolme")}));
    // One line stays in edit state for the user; numbers lose blanks.
    small->First();
    grid->SetSelectedIndex(5);
    Clipboard()->SetAsText(QStringLiteral("1 234\r\n"));
    grid->PasteData(false);
    EXPECT_EQ(small->State(), dsEdit);
    EXPECT_EQ(small->FieldByName(QStringLiteral("SECS"))->AsInteger(), 1234);
    small->Cancel();
    // A single cell copies its display text without quoting or line end.
    EXPECT_EQ(grid->CopyCellData(false), small->FieldByName(QStringLiteral("SECS"))->DisplayText());
    src->SetDataSet(data.get());
}

namespace {

// A grid whose NAME column is a collapsed group master.
class CollapsedGroupGrid : public TrDBGrid {
public:
    using TrDBGrid::TrDBGrid;
    bool GetGroupMasterTitleContent(TField* F, QString& T) override
    {
        if (!F || F->FieldName() != QLatin1String("NAME"))
            return false;
        T = QStringLiteral("Juoksija");
        return true;
    }
    bool GetGroupMasterCellContent(TField* F, QString& T) override
    {
        if (!F || F->FieldName() != QLatin1String("NAME"))
            return false;
        T = F->AsString() + QStringLiteral(" / ") + F->DataSet()->FieldByName(QStringLiteral("CLUB"))->AsString();
        return true;
    }
};

}  // namespace

TEST_F(RDBGridTest, CollapsedGroupMastersGiveTheirTextsToTitlesCellsAndCopies)
{
    auto* g = new CollapsedGroupGrid(form.get());
    g->SetParent(form.get());
    g->SetDataSource(src.get());
    TColumn* name = g->Columns()->Items(1);
    EXPECT_EQ(g->GetTitleText(name), QStringLiteral("NAME")) << "groups off";
    g->OptionsEx2().Groups.Active = true;
    EXPECT_EQ(g->GetTitleText(name), QStringLiteral("Juoksija"));
    EXPECT_EQ(g->GetCellValue(data->FieldByName(QStringLiteral("NAME")), true), QStringLiteral("Virtanen Aino / OK Espoo"));
    const QStringList names{QStringLiteral("NAME")};
    const QString copied = g->IntCopyData(false, false, false, false, false, &names);
    EXPECT_EQ(copied, QStringLiteral("Virtanen Aino / OK Espoo\r\n"));
}
