// Field groups of the grid over a table shaped like the main window's
// results, with the main window's three groups: the definition text, the
// regrouping of columns, collapse and expand with the collapsed master's
// texts, the drag rule, rewriting definitions and the band's button.

#include "components/grid/rDBGrid.h"
#include "platform/database/ClientDataSet.h"
#include "platform/database/DataSource.h"
#include "platform/database/Fields.h"
#include "platform/ui/Forms.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

const char* const ResultsGroups[] = {"[1::Lisätty::Red::Red::<<INSERTED>>::0]", "INSERTED=M", "ORIGIN_CLIENT_NAME=0", "",
                                     "[2::Rata::Red::Red::<<CLASS_NAME>>::0]", "CLASS_NAME=M", "COURSE_NAME=0",
                                     "COURSE_LENGTH=0", "CLIMB=0", "", "[3::Aika::Green::Green::<<TIME_STR>>::0]",
                                     "TIME_STR=M", "START_PUNCH_TIME=0", "START_TIME=0", "FINISH_TIME=0",
                                     "PENALTY_TIME_STR=0", ""};

// The form's column order, every member away from its master.
const char* const FormOrder[] = {"COURSE_NAME", "CLASS_NAME", "ORIGIN_CLIENT_NAME", "TIME_STR", "INSERTED", "START_TIME",
                                 "COURSE_LENGTH", "FINISH_TIME", "CLIMB", "START_PUNCH_TIME", "PENALTY_TIME_STR", "NAME"};

class TGroupsGrid : public TrDBGrid {
public:
    using TrDBGrid::TrDBGrid;
    using TrDBGrid::CheckColumnDrag;
    using TrDBGrid::ColumnMoved;
    using TrDBGrid::MouseDown;
    using TrDBGrid::MouseUp;
    using TrDBGrid::GroupBandTop;
};

class FieldGroupsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 1100, 300);
        data = std::make_unique<TClientDataSet>();
        for (const char* f : FormOrder)
            data->AddField(QString::fromLatin1(f), ftWideString, 30);
        data->CreateDataSet();
        for (int i = 1; i <= 3; ++i) {
            QVariantList row;
            for (const char* f : FormOrder)
                row << QStringLiteral("%1-%2").arg(QString::fromLatin1(f).toLower()).arg(i);
            data->AppendRecord(row);
        }
        data->First();
        src = std::make_unique<TDataSource>();
        src->SetDataSet(data.get());
        grid = new TGroupsGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 1080, 240);
        grid->SetDrawingStyle(grids::gdsClassic);
        for (const char* f : FormOrder) {
            TColumn* c = grid->Columns()->Add();
            c->SetFieldName(QString::fromLatin1(f));
            c->SetWidth(80);
        }
        grid->SetDataSource(src.get());
        for (const char* line : ResultsGroups)
            grid->FieldsGroups.Add(QString::fromUtf8(line));
        grid->OptionsEx2().Groups.Active = true;
        form->AfterConstruction();
    }

    QStringList Order() const
    {
        QStringList r;
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            r << grid->Columns()->Items(i)->FieldName();
        return r;
    }
    TColumn* Col(const char* Name) const
    {
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            if (grid->Columns()->Items(i)->FieldName() == QLatin1String(Name))
                return grid->Columns()->Items(i);
        return nullptr;
    }
    int Raw(const char* Name) const { return grid->DataToRawColumn(Col(Name)->Index()); }
    TField* F(const char* Name) const { return data->FieldByName(QString::fromLatin1(Name)); }

    std::unique_ptr<TForm> form;
    std::unique_ptr<TClientDataSet> data;
    std::unique_ptr<TDataSource> src;
    TGroupsGrid* grid = nullptr;
};

const QStringList Grouped{QStringLiteral("CLASS_NAME"),       QStringLiteral("COURSE_NAME"),
                          QStringLiteral("COURSE_LENGTH"),    QStringLiteral("CLIMB"),
                          QStringLiteral("TIME_STR"),         QStringLiteral("START_TIME"),
                          QStringLiteral("FINISH_TIME"),      QStringLiteral("START_PUNCH_TIME"),
                          QStringLiteral("PENALTY_TIME_STR"), QStringLiteral("INSERTED"),
                          QStringLiteral("ORIGIN_CLIENT_NAME"), QStringLiteral("NAME")};

}  // namespace

TEST(FieldGroupDefinition, PartsColoursEscapesAndBadIds)
{
    struct Case {
        const char* Def;
        int Id;
        bool Group;
        const char* Collapsed;
        TColor Title, Line;
        const char* Mask;
        bool Locked;
        const char* Merged;
    };
    const Case cases[] = {
        {"2::Rata::Red::Red::<<CLASS_NAME>>::0", 2, true, "Rata", clRed, clRed, "<<CLASS_NAME>>", false, ""},
        {"3::Aika::Green::$00123456::<<TIME_STR>>::1::Ajat", 3, true, "Aika", clGreen, TColor(0x123456), "<<TIME_STR>>", true, "Ajat"},
        {"4", 4, true, "", clNone, clNone, "", false, ""},
        {"5::x::NoSuchColour::::m::yes", 5, true, "x", clNone, clNone, "m", false, ""},
        {"abc::T", -1, false, "T", clNone, clNone, "", false, ""},
        {"0::T", 0, false, "T", clNone, clNone, "", false, ""},
    };
    for (const Case& c : cases) {
        TFieldGroupDef d;
        EXPECT_EQ(ParseFieldGroupDefinition(QString::fromLatin1(c.Def), d), c.Group) << c.Def;
        EXPECT_EQ(d.GroupID, c.Id) << c.Def;
        EXPECT_EQ(d.GroupCollapsedTitle, QLatin1String(c.Collapsed)) << c.Def;
        EXPECT_EQ(d.TitleFontColor, c.Title) << c.Def;
        EXPECT_EQ(d.GroupLineColor, c.Line) << c.Def;
        EXPECT_EQ(d.ContentCollapsedMask, QLatin1String(c.Mask)) << c.Def;
        EXPECT_EQ(d.GroupLocked, c.Locked) << c.Def;
        EXPECT_EQ(d.MergedCellTitle, QLatin1String(c.Merged)) << c.Def;
    }
    // Writing: colours by name, "::" inside a value as ": :", read back as written.
    TFieldGroupDef w;
    w.GroupID = 7;
    w.GroupCollapsedTitle = QStringLiteral("a::b");
    w.TitleFontColor = clRed;
    w.MergedCellTitle = QStringLiteral("M");
    const QString text = BuildFieldGroupDefinition(w);
    EXPECT_EQ(text, QStringLiteral("7::a: :b::Red::::::0::M"));
    TFieldGroupDef r;
    ASSERT_TRUE(ParseFieldGroupDefinition(text, r));
    EXPECT_EQ(r.GroupCollapsedTitle, QStringLiteral("a: :b"));
    EXPECT_EQ(r.MergedCellTitle, QStringLiteral("M"));
    // A title ending in ":" keeps the later properties in their places.
    w.GroupCollapsedTitle = QStringLiteral("Aika:");
    ASSERT_TRUE(ParseFieldGroupDefinition(BuildFieldGroupDefinition(w), r));
    EXPECT_EQ(r.GroupCollapsedTitle, QStringLiteral("Aika: "));
    EXPECT_EQ(r.TitleFontColor, clRed);
    EXPECT_EQ(r.MergedCellTitle, QStringLiteral("M"));
}

TEST_F(FieldGroupsTest, MembersFollowTheirMastersInTheirFormerOrder)
{
    EXPECT_EQ(Order(), Grouped);
    const TGroupInfo climb = grid->GetFieldGroupInfo(F("CLIMB"));
    EXPECT_TRUE(climb.IsGrouped);
    EXPECT_EQ(climb.GroupID, 2);
    EXPECT_FALSE(climb.IsMaster);
    EXPECT_EQ(climb.MasterField, F("CLASS_NAME"));
    EXPECT_EQ(climb.TitleFontColor, clRed);
    EXPECT_FALSE(grid->GetFieldGroupInfo(F("NAME")).IsGrouped);
    // Switched off: nothing counts as grouped, the columns stay.
    grid->SetGroupsActive(false);
    EXPECT_FALSE(grid->GetFieldGroupInfo(F("CLIMB")).IsGrouped);
    EXPECT_TRUE(grid->GetFldGroupInfo(F("CLIMB"), true).IsGrouped);
    EXPECT_EQ(grid->GroupHeight(), 0);
    int o = 1, d = 9;
    EXPECT_TRUE(grid->CheckColumnDrag(o, d, TPoint()));
    grid->SetGroupsActive(true);
    EXPECT_EQ(grid->GroupHeight(), 12);
    // A hidden master hides its members on regrouping; showing it shows none.
    Col("TIME_STR")->SetVisible(false);
    grid->FixedGroupedCol(false, false);
    for (const char* m : {"START_TIME", "FINISH_TIME", "START_PUNCH_TIME", "PENALTY_TIME_STR"})
        EXPECT_FALSE(Col(m)->Visible()) << m;
    EXPECT_FALSE(grid->IsFieldGroupMasterVisible(F("FINISH_TIME")));
    Col("TIME_STR")->SetVisible(true);
    grid->FixedGroupedCol(false, false);
    EXPECT_FALSE(Col("START_TIME")->Visible());
    EXPECT_TRUE(grid->IsFieldGroupMasterVisible(F("FINISH_TIME")));
    EXPECT_FALSE(grid->IsFieldGroupMasterExpanded(F("TIME_STR")));
}

TEST_F(FieldGroupsTest, CollapseShowsTheMasterWithItsCollapsedTitleAndMask)
{
    EXPECT_TRUE(grid->IsFieldGroupMasterExpanded(F("CLASS_NAME")));
    QString text = QStringLiteral("untouched");
    EXPECT_FALSE(grid->GetGroupMasterTitleContent(F("CLASS_NAME"), text));
    EXPECT_EQ(text, QStringLiteral("untouched"));
    grid->CollapseGroup(2);
    for (const char* m : {"COURSE_NAME", "COURSE_LENGTH", "CLIMB"})
        EXPECT_FALSE(Col(m)->Visible()) << m;
    EXPECT_FALSE(grid->IsFieldGroupMasterExpanded(F("CLASS_NAME")));
    ASSERT_TRUE(grid->GetGroupMasterTitleContent(F("CLASS_NAME"), text));
    EXPECT_EQ(text, QStringLiteral("Rata"));
    EXPECT_EQ(grid->GetTitleText(Col("CLASS_NAME")), QStringLiteral("Rata"));
    ASSERT_TRUE(grid->GetGroupMasterCellContent(F("CLASS_NAME"), text));
    EXPECT_EQ(text, QStringLiteral("class_name-1"));
    // A member's own field is not a master: nothing to collapse by it.
    grid->ExpandGroup(F("CLIMB"));
    EXPECT_FALSE(Col("CLIMB")->Visible());
    // Expanding gives a never-sized member the default width.
    Col("COURSE_LENGTH")->SetWidth(0);
    grid->ExpandGroup(F("CLASS_NAME"));
    EXPECT_TRUE(Col("CLIMB")->Visible());
    EXPECT_GT(Col("COURSE_LENGTH")->Width(), 0);
    grid->CollapseAll();
    EXPECT_FALSE(Col("ORIGIN_CLIENT_NAME")->Visible());
    EXPECT_FALSE(Col("PENALTY_TIME_STR")->Visible());
    EXPECT_TRUE(Col("NAME")->Visible());
    // On an empty dataset the mask gives an empty text.
    data->EmptyDataSet();
    ASSERT_TRUE(grid->GetGroupMasterCellContent(F("TIME_STR"), text));
    EXPECT_EQ(text, QString());
    grid->ExpandAll();
    EXPECT_TRUE(Col("ORIGIN_CLIENT_NAME")->Visible());
}

TEST_F(FieldGroupsTest, DragRuleKeepsGroupsWhole)
{
    struct Case {
        const char* From;
        const char* To;
        bool Allowed;
        const char* Why;
    };
    // Order: CLASS COURSE_NAME COURSE_LENGTH CLIMB TIME_STR START_TIME FINISH START_PUNCH PENALTY INSERTED ORIGIN NAME
    const Case cases[] = {
        {"CLIMB", "COURSE_NAME", true, "a member inside its group"},
        {"COURSE_NAME", "CLIMB", true, "a member inside its group, to the right"},
        {"COURSE_NAME", "CLASS_NAME", false, "a member in front of its master"},
        {"CLIMB", "NAME", false, "a member out of its group"},
        {"CLASS_NAME", "COURSE_LENGTH", false, "a master inside its own group"},
        {"NAME", "FINISH_TIME", false, "between two members of another group"},
        {"NAME", "TIME_STR", true, "right in front of another group's master"},
        {"INSERTED", "TIME_STR", true, "a master in front of another master"},
    };
    for (const Case& c : cases) {
        int o = Raw(c.From), d = Raw(c.To);
        EXPECT_EQ(grid->CheckColumnDrag(o, d, TPoint()), c.Allowed) << c.Why;
    }
    // A master dragged away takes its members along.
    grid->ColumnMoved(Raw("INSERTED"), Raw("CLASS_NAME"));
    EXPECT_EQ(Order().mid(0, 3), (QStringList{QStringLiteral("INSERTED"), QStringLiteral("ORIGIN_CLIENT_NAME"),
                                              QStringLiteral("CLASS_NAME")}));
    EXPECT_EQ(Order().last(), QStringLiteral("NAME"));
}

TEST_F(FieldGroupsTest, RewritingListingAndRestoringDefinitions)
{
    TStringList list;
    ASSERT_EQ(grid->Fields_GetGroupList(&list), 3);
    EXPECT_EQ(list[1], QStringLiteral("2::Rata::Red::Red::<<CLASS_NAME>>::0"));
    EXPECT_EQ(intptr_t(list.Objects(2)), 3);
    // Rewriting group 2 with a merged title and two fields; the others stay.
    const QString def = grid->Fields_SetGroupSettingsEx(2, QStringLiteral("Rata::tiedot"), QStringLiteral("Rata"),
                                                        QString(), clNone, clBlue, true,
                                                        {QStringLiteral("COURSE_NAME"), QStringLiteral("CLIMB")});
    EXPECT_EQ(def, QStringLiteral("2::Rata::::Blue::::1::Rata: :tiedot"));
    EXPECT_EQ(grid->Fields_GetGroupDefinition(2), def);
    int id;
    QString merged, collapsed, mask;
    TColor title, line;
    bool locked;
    QStringList fields;
    ASSERT_TRUE(grid->Fields_GetGroupSettingsEx(def, id, merged, collapsed, mask, title, line, locked, &fields));
    EXPECT_EQ(fields, (QStringList{QStringLiteral("COURSE_NAME"), QStringLiteral("CLIMB")}));
    EXPECT_TRUE(locked);
    EXPECT_EQ(line, clBlue);
    EXPECT_FALSE(grid->GetFieldGroupInfo(F("CLASS_NAME")).IsGrouped);
    EXPECT_TRUE(grid->GetFieldGroupInfo(F("COURSE_NAME")).IsMaster);
    // Sorted as text: id 10 before id 2; id 0 listed with object 0 and groups nothing.
    grid->Fields_SetGroupSettings(10, QString(), QString(), clNone, clNone, false, {QStringLiteral("NAME")});
    grid->SetFieldsGroupsText(grid->FieldsGroups.Text() + QStringLiteral("[0::Z]\r\nCLIMB=0\r\n"));
    ASSERT_EQ(grid->Fields_GetGroupList(&list), 5);
    EXPECT_EQ(TrDBGrid::GetGroupID(list[0]), 0);
    EXPECT_EQ(intptr_t(list.Objects(0)), 0);
    EXPECT_EQ(TrDBGrid::GetGroupID(list[1]), 10) << "\"10::\" sorts before \"1::\"";
    // A field in two definitions belongs to the first in sorted order, here the one without a group.
    EXPECT_FALSE(grid->GetFieldGroupInfo(F("CLIMB")).IsGrouped);
    EXPECT_TRUE(grid->GetFieldGroupInfo(F("COURSE_NAME")).IsGrouped);
    // An empty field list deletes; the defaults come back from the form's text.
    grid->Fields_SetGroupSettingsEx(2, QString(), QString(), QString(), clNone, clNone, false, {});
    EXPECT_TRUE(grid->Fields_GetGroupDefinition(2).isEmpty());
    grid->FixedGroupedCol(true, true);
    ASSERT_EQ(grid->Fields_GetGroupList(&list), 3);
    QStringList expected = Grouped;
    expected.move(3, 2);  // CLIMB stays where the rewritten group put it, still inside its group
    EXPECT_EQ(Order().join(QLatin1Char(' ')), expected.join(QLatin1Char(' ')));
}

TEST_F(FieldGroupsTest, TheBandButtonTogglesAndTheLinesAreInTheGroupColour)
{
    const int raw = Raw("CLASS_NAME");
    TRect b = grid->CellRect(raw, 0);
    const TPoint centre = grid->GetGroupBtnRect(b);
    grid->MouseDown(mbLeft, 0, centre.X, centre.Y);
    grid->MouseUp(mbLeft, 0, centre.X, centre.Y);
    EXPECT_FALSE(Col("COURSE_NAME")->Visible());
    EXPECT_TRUE(grid->SortFieldName().isEmpty()) << "the button does not sort";
    TRect b2 = grid->CellRect(raw, 0);
    grid->GetGroupBtnRect(b2);
    QWidget* w = grid->Widget();
    QImage img(w->size(), QImage::Format_ARGB32);
    w->render(&img);
    // The time group's line (green) runs through the middle of its band.
    const TRect st = grid->CellRect(Raw("START_TIME"), 0);
    const QRgb p = img.pixel(st.Left + 10, st.Top + 6);
    EXPECT_EQ(qGreen(p), 0x80) << std::hex << p;
    EXPECT_EQ(qRed(p), 0);
    grid->MouseDown(mbLeft, 0, centre.X, centre.Y);
    grid->MouseUp(mbLeft, 0, centre.X, centre.Y);
    EXPECT_TRUE(Col("COURSE_NAME")->Visible());
}

TEST_F(FieldGroupsTest, TheBandAndItsButtonSitBelowATitleLine)
{
    grid->TitleLineText()->SetText(QStringLiteral("Tulokset|Väliajat"));
    const int raw = Raw("CLASS_NAME");
    const TRect title = grid->CellRect(raw, 0);
    TRect b = title;
    const TPoint centre = grid->GetGroupBtnRect(b);
    EXPECT_GE(b.Top, title.Top + grid->TitleLineText()->SumHeight());
    // The time group's line (green) runs through the middle of its band, under the title line.
    TRect st = grid->CellRect(Raw("START_TIME"), 0);
    const int lineY = grid->GetGroupBtnRect(st).Y;
    QWidget* w = grid->Widget();
    QImage img(w->size(), QImage::Format_ARGB32);
    w->render(&img);
    EXPECT_EQ(qGreen(img.pixel(grid->CellRect(Raw("START_TIME"), 0).Left + 10, lineY)), 0x80);
    // The button is pressed where it is drawn.
    grid->MouseDown(mbLeft, 0, centre.X, centre.Y);
    grid->MouseUp(mbLeft, 0, centre.X, centre.Y);
    EXPECT_FALSE(Col("COURSE_NAME")->Visible());
}

TEST_F(FieldGroupsTest, NewDefinitionsRegroupTheColumns)
{
    // A second grid in the form's order takes the definitions by copy, as the export dialog's grid does.
    auto* other = new TGroupsGrid(form.get());
    other->SetParent(form.get());
    for (const char* f : FormOrder)
        other->Columns()->Add()->SetFieldName(QString::fromLatin1(f));
    other->SetDataSource(src.get());
    other->OptionsEx2().Groups.Active = true;
    other->FieldsGroups.Assign(grid->FieldsGroups.ToQStringList());
    QStringList order;
    for (int i = 0; i < other->Columns()->Count(); ++i)
        order << other->Columns()->Items(i)->FieldName();
    EXPECT_EQ(order.join(QLatin1Char(' ')), Grouped.join(QLatin1Char(' ')));
}

namespace {

QImage RenderGrid(TrDBGrid* G)
{
    QWidget* w = G->Widget();
    QImage img(w->size(), QImage::Format_ARGB32);
    w->render(&img);
    return img;
}

int Count(const QImage& I, const TRect& R, const std::function<bool(QRgb)>& Pred)
{
    int n = 0;
    for (int y = std::max(0, R.Top); y < std::min(I.height(), R.Bottom); ++y)
        for (int x = std::max(0, R.Left); x < std::min(I.width(), R.Right); ++x)
            n += Pred(I.pixel(x, y));
    return n;
}

bool Green(QRgb p)
{
    return qGreen(p) > 100 && qRed(p) < 60 && qBlue(p) < 60;
}

}  // namespace

// The group line ends at the last member's middle and turns down there; a
// group without a line colour draws in its title's colour; title grid lines
// take their colours, inside an open group the group's column line colour.
TEST_F(FieldGroupsTest, GroupLinesAndTitleGridLines)
{
    const TRect last = grid->CellRect(Raw("PENALTY_TIME_STR"), 0);
    TRect button = last;
    const TPoint centre = grid->GetGroupBtnRect(button);
    QImage img = RenderGrid(grid);
    EXPECT_TRUE(Green(img.pixel(last.Left + 4, centre.Y)));
    EXPECT_FALSE(Green(img.pixel(last.Right - 8, centre.Y))) << "no line past the middle";
    EXPECT_TRUE(Green(img.pixel(centre.X, button.Bottom - 2))) << "the line turns down at the middle";

    TOptionsAppearance& ap = grid->OptionsEx2().Appearance;
    ap.TitleColLineColor = clBlue;
    ap.TitleColInGroupLineColor = clRed;
    ap.TitleRowLineColor = clLime;
    img = RenderGrid(grid);
    const TRect inner = grid->CellRect(Raw("START_TIME"), 0);
    const int y = inner.Bottom - 4;
    auto rgb = [&](int X, int Y) { return img.pixel(X, Y) & 0xFFFFFF; };
    EXPECT_EQ(rgb(inner.Right, y), 0xFF0000u) << "inside the group: red";
    EXPECT_EQ(rgb(last.Right, y), 0x0000FFu) << "the group's last column: blue";
    EXPECT_EQ(rgb(inner.Left + 6, inner.Bottom), 0x00FF00u) << "the title row line";

    // Without a line colour the line is drawn in the title's colour (black here).
    grid->FieldsGroups.SetText(grid->FieldsGroups.Text().replace(QStringLiteral("Aika::Green::Green"), QStringLiteral("Aika::::")));
    img = RenderGrid(grid);
    const QRgb p = img.pixel(last.Left + 4, centre.Y);
    EXPECT_LT(qGray(p), 60) << std::hex << p;
}

// A merged header without a title of its own names its group; its
// background follows the drawing style (a gradient here).
TEST_F(FieldGroupsTest, MergedHeadersNameTheirGroupAndFollowTheDrawingStyle)
{
    grid->OptionsEx2().Groups.ShowMergedCell = true;
    const TRect first = grid->CellRect(Raw("TIME_STR"), 0), last = grid->CellRect(Raw("PENALTY_TIME_STR"), 0);
    const int top = grid->GroupBandTop(first);
    // The middle of the band, clear of the master's button.
    const TRect band = Rect(first.Right + 2, top, last.Left - 2, top + grid->GroupHeight() - 3);
    EXPECT_GT(Count(RenderGrid(grid), band, Green), 5) << "the group's title in its colour";
    grid->SetDrawingStyle(grids::gdsGradient);
    grid->GradientStartColor = clRed;
    grid->GradientEndColor = clBlue;
    const QImage img = RenderGrid(grid);
    const int x = last.Right - 4;
    EXPECT_GT(qRed(img.pixel(x, top + 1)), qBlue(img.pixel(x, top + 1))) << "red at the top";
    EXPECT_GT(qBlue(img.pixel(x, top + grid->GroupHeight() - 3)), qRed(img.pixel(x, top + grid->GroupHeight() - 3)))
        << "blue towards the bottom";
}
