// Sorting by each kind of column (Finnish order for texts, empty cells last
// in both directions, the automatic last row left in place), title clicks,
// and inserting, deleting and moving rows and columns with the change log.

#include "StringGridFixture.h"

namespace {

QStringList Column(TrStringGridEd* G, int C)
{
    QStringList l;
    for (int r = G->FixedRows(); r < G->RowCount(); ++r)
        l << G->Cells(C, r);
    return l;
}

struct SortCase {
    TrStringGridEdDataType Type;
    const char* Format;
    QStringList Cells;
    QStringList Ascending;
};

}  // namespace

TEST_F(StringGridTest, SortByEachKindOfColumn)
{
    const SortCase cases[] = {
        {sgdText, "", {"Öhman", "aalto", "Ärölä", "Zetterberg", "Åberg", "Aalto"}, {"aalto", "Aalto", "Zetterberg", "Åberg", "Ärölä", "Öhman"}},
        {sgdNumber, "", {"10", "9,5", "-1", "1 000", "2"}, {"-1", "2", "9,5", "10", "1 000"}},
        {sgdInteger, "", {"10", "9", "100", "-3"}, {"-3", "9", "10", "100"}},
        {sgdDate, "d.m.yyyy", {"2.1.2026", "31.12.2025", "1.2.2026"}, {"31.12.2025", "2.1.2026", "1.2.2026"}},
        {sgdDateTime, "d.m.yyyy h:nn", {"1.1.2026 10:00", "1.1.2026 9:30", "31.12.2025 23:59"},
         {"31.12.2025 23:59", "1.1.2026 9:30", "1.1.2026 10:00"}},
        {sgdTime, "", {"10:00", "9:30", "23:59", "0:05"}, {"0:05", "9:30", "10:00", "23:59"}},
        {sgdDateTime, "", {"1.1.2026 10:00", "1.1.2026 9:30", "31.12.2025 23:59"},
         {"31.12.2025 23:59", "1.1.2026 9:30", "1.1.2026 10:00"}},
        {sgdDateTime, "", {"10:00", "9:30", "23:59", "0:05"}, {"0:05", "9:30", "10:00", "23:59"}},
    };
    for (const SortCase& c : cases) {
        grid->SetRowCount(int(c.Cells.size()) + 1);
        Col(1)->DataType = c.Type;
        Col(1)->NumFormat = QString::fromUtf8(c.Format);
        for (int i = 0; i < c.Cells.size(); ++i) {
            grid->SetCells(1, i + 1, c.Cells[i]);
            grid->SetCells(2, i + 1, c.Cells[i] + QStringLiteral("/rivi"));
        }
        grid->SortData(1, false, true);
        EXPECT_EQ(Column(grid, 1), c.Ascending) << "type " << c.Type;
        for (int r = 1; r < grid->RowCount(); ++r)
            EXPECT_EQ(grid->Cells(2, r), grid->Cells(1, r) + QStringLiteral("/rivi")) << "whole rows move";
        grid->SortData(1, true, true);
        QStringList desc = c.Ascending;
        std::reverse(desc.begin(), desc.end());
        if (c.Type != sgdText) {  // texts differing only in case keep their order
            EXPECT_EQ(Column(grid, 1), desc) << "type " << c.Type;
        }
    }
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Col(), 1);
}

TEST_F(StringGridTest, EmptyCellsStayLastAndTheNewRowIsNotSorted)
{
    Col(1)->DataType = sgdInteger;
    grid->SetRowCount(6);
    const QStringList cells = {QStringLiteral("3"), QString(), QStringLiteral("1"), QString(), QStringLiteral("2")};
    for (int i = 0; i < cells.size(); ++i)
        grid->SetCells(1, i + 1, cells[i]);
    grid->SortData(1, true, true);
    EXPECT_EQ(Column(grid, 1), (QStringList{QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1"), QString(), QString()}));
    grid->SortData(1, false, true);
    EXPECT_EQ(Column(grid, 1), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QString(), QString()}));

    // With the automatic last row the empty row stays at the end.
    grid->SetRowCount(4);
    grid->SetCells(1, 1, QStringLiteral("5"));
    grid->SetCells(1, 2, QStringLiteral("7"));
    grid->SetCells(1, 3, QStringLiteral("6"));
    grid->SetAutoAddNewRow(true);
    ASSERT_EQ(grid->RowCount(), 5);
    grid->SortData(1, true, true);
    EXPECT_EQ(Column(grid, 1), (QStringList{QStringLiteral("7"), QStringLiteral("6"), QStringLiteral("5"), QString()}));
    EXPECT_EQ(grid->RowCount(), 5) << "still one empty row at the end";
}

TEST_F(StringGridTest, TitleClickSortsAndTurnsTheDirection)
{
    grid->SetOptionsEx(OptEx(dgSortAfterTitleClick));
    grid->SetRowCount(4);
    Fill({{QStringLiteral("b")}, {QStringLiteral("c")}, {QStringLiteral("a")}});
    form->Show();
    const TRect title = grid->CellRect(1, 0);
    const int x = (title.Left + title.Right) / 2, y = (title.Top + title.Bottom) / 2;
    grid->MouseDown(mbLeft, 0, x, y);
    grid->MouseUp(mbLeft, 0, x, y);
    EXPECT_EQ(Column(grid, 1), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    grid->MouseDown(mbLeft, 0, x, y);
    grid->MouseUp(mbLeft, 0, x, y);
    EXPECT_EQ(Column(grid, 1), (QStringList{QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("a")}));
    EXPECT_TRUE(grid->LastSortDescending());
}

TEST_F(StringGridTest, LongSortReportsProgressAndCanBeAborted)
{
    grid->SetOptionsEx(OptEx(dgSortShowProgress));
    grid->SetRowCount(3001);
    for (int r = 1; r < 3001; ++r)
        grid->SetCells(1, r, QString::number((r * 7919) % 3001));
    Col(1)->DataType = sgdInteger;
    int calls = 0;
    QString last;
    grid->OnProgress = [&](TrStringGridEd*, const QString& Op, bool& Aborted, int) {
        ++calls;
        last = Op;
        if (calls == 50)
            Aborted = true;
    };
    grid->SortData(1, false, true);
    EXPECT_EQ(last, QStringLiteral("end"));
    EXPECT_EQ(calls, 51) << "the sort stopped at the abort";
    QStringList all = Column(grid, 1);
    all.sort();
    QStringList expected;
    for (int r = 1; r < 3001; ++r)
        expected << QString::number((r * 7919) % 3001);
    expected.sort();
    EXPECT_EQ(all, expected) << "an aborted sort loses no cell";
}

TEST_F(StringGridTest, InsertDeleteAndMoveKeepTheChangeLog)
{
    grid->SetRowCount(5);
    Fill({{QStringLiteral("r1")}, {QStringLiteral("r2")}, {QStringLiteral("r3")}, {QStringLiteral("r4")}});
    grid->FocusCell(1, 3, true);
    grid->SetStringCells(1, 3, QStringLiteral("r3*"));
    ASSERT_TRUE(grid->IsCellChanged(1, 3));
    grid->InsertRowEx(2, 2, false);
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(Column(grid, 1), (QStringList{QStringLiteral("r1"), QString(), QString(), QStringLiteral("r2"), QStringLiteral("r3*"),
                                            QStringLiteral("r4")}));
    EXPECT_EQ(grid->Row(), 5) << "the current row moved down with its row";
    EXPECT_TRUE(grid->IsCellChanged(1, 5));
    EXPECT_EQ(grid->ChangedRows, QStringList{QStringLiteral("5")});
    grid->DeleteRowEx(2, 2);
    EXPECT_EQ(Column(grid, 1), (QStringList{QStringLiteral("r1"), QStringLiteral("r2"), QStringLiteral("r3*"), QStringLiteral("r4")}));
    EXPECT_TRUE(grid->IsCellChanged(1, 3));
    grid->DeleteRowEx(3, 1);
    EXPECT_FALSE(grid->IsCellChanged(1, 3));
    EXPECT_EQ(grid->ChangedRows, QStringList{QString()}) << "the deleted row's entry is emptied";
    grid->MoveRowEx(1, 3);
    EXPECT_EQ(Column(grid, 1), (QStringList{QStringLiteral("r2"), QStringLiteral("r4"), QStringLiteral("r1")}));

    grid->InsertColumnEx(2, 3, true);
    EXPECT_EQ(grid->ColCount(), 7);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Columns()->Count(), 7);
    grid->SetCells(5, 1, QStringLiteral("old col 2"));
    grid->DeleteColumnEx(2, 3);
    EXPECT_EQ(grid->ColCount(), 4);
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("old col 2"));

    // moving a column takes its changed-cell marks along; those between shift back
    grid->ResetChangeLog();
    grid->FocusCell(1, 1, true);
    grid->SetStringCells(1, 1, QStringLiteral("a*"));
    grid->FocusCell(3, 2, true);
    grid->SetStringCells(3, 2, QStringLiteral("c*"));
    grid->MoveColumnEx(1, 3);
    EXPECT_EQ(grid->Cells(3, 1), QStringLiteral("a*"));
    EXPECT_TRUE(grid->IsCellChanged(3, 1));
    EXPECT_FALSE(grid->IsCellChanged(1, 1));
    EXPECT_EQ(grid->Cells(2, 2), QStringLiteral("c*"));
    EXPECT_TRUE(grid->IsCellChanged(2, 2));
    EXPECT_FALSE(grid->IsCellChanged(3, 2));
}
