// Closing a window saves its layout into its property file and opening it
// again restores the position, the results grid's columns, widths, order,
// sort, filter and field groups; the ordering of the form hooks; the
// configuration errors of a saver's component list.

#include "components/base/rGroupBox.h"
#include "components/grid/TParioCompsPropSave.h"
#include "components/grid/TrDBGridsPropSave.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/DataSource.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "tests/rdbgrid/RDBGridFixture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A main window like the program's: position, results grid with column
// properties and field groups, one edit box; the window's own create and
// destroy handlers record what they see.
class TTestMainForm : public TForm {
public:
    TTestMainForm(TDataSource* Src, const QString& FileName, QStringList* Log) : TForm(nullptr)
    {
        SetName(QStringLiteral("formMain"));
        SetBounds(40, 30, 700, 420);
        file = new TPropSaveFile(this);
        file->SetFileName(FileName);
        file->SetUseAsGlobalFile(true);
        saver = new TPropSaveMain(this);
        saver->SetPropSaveFile(file);
        grid = new TrDBGrid(this);
        grid->SetName(QStringLiteral("rdbgrdResultsClass"));
        grid->SetParent(this);
        grid->SetBounds(0, 0, 640, 340);
        grid->SetDataSource(Src);
        edit = new TEdit(this);
        edit->SetName(QStringLiteral("edtSearch"));
        edit->SetParent(this);
        saver->StdCtrl()->Components.Add(QStringLiteral("edtSearch"));
        gridSaver = new TrDBGridsPropSave(this);
        gridSaver->SetPropSaveMain(saver);
        gridSaver->StoreColumnsProp = true;
        gridSaver->StoreFieldsGroup = true;
        gridSaver->StoreFilterSetting = true;
        gridSaver->Components.Add(QStringLiteral("rdbgrdResultsClass"));
        details = new TrGroupBox(this);
        details->SetName(QStringLiteral("grpMainAreaDetails"));
        details->SetParent(this);
        details->SetBounds(0, 340, 640, 80);
        boxSaver = new TParioCompsPropSave(this);
        boxSaver->SetPropSaveMain(saver);
        boxSaver->Components.Add(QStringLiteral("grpMainAreaDetails"));
        OnCreate = [this, Log](TComponent*) {
            if (Log)
                for (int i = 0; i < grid->Columns()->Count(); ++i)
                    if (grid->Columns()->Items(i)->FieldName() == QLatin1String("NAME"))
                        *Log << QStringLiteral("create sees width %1").arg(grid->Columns()->Items(i)->Width());
        };
        OnDestroy = [this, Log](TComponent*) {
            edit->SetText(QStringLiteral("set in destroy"));
            if (Log)
                *Log << QStringLiteral("destroy");
        };
        AfterConstruction();
    }
    TPropSaveFile* file;
    TPropSaveMain* saver;
    TrDBGrid* grid;
    TEdit* edit;
    TrDBGridsPropSave* gridSaver;
    TrGroupBox* details;
    TParioCompsPropSave* boxSaver;
};

QStringList ColumnNames(TrDBGrid* G)
{
    QStringList out;
    for (int i = 0; i < G->Columns()->Count(); ++i)
        out << G->Columns()->Items(i)->FieldName();
    return out;
}

class GridLayoutRoundTrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        data = MakeRunsTable(24);
        src = std::make_unique<TDataSource>();
        src->SetDataSet(data.get());
        fileName = dir.path() + QStringLiteral("/sorvex.ini");
    }
    QTemporaryDir dir;
    std::unique_ptr<TClientDataSet> data;
    std::unique_ptr<TDataSource> src;
    QString fileName;
};

}  // namespace

TEST_F(GridLayoutRoundTrip, ClosingAndReopeningRestoresTheLayout)
{
    QStringList log;
    {
        TTestMainForm f(src.get(), fileName, &log);
        TDBGridColumns* cols = f.grid->Columns();
        ASSERT_EQ(cols->Count(), 6);
        cols->Items(1)->SetWidth(177);          // NAME
        cols->Items(5)->SetIndex(0);            // SECS first
        cols->Items(3)->SetVisible(false);      // CLUB (after the move)
        f.grid->SetSortFieldName(QStringLiteral("NAME"));
        f.grid->SetSortDesc(true);
        f.grid->SetColumnWidthMode(cwNone);
        f.grid->FieldsGroups.Add(QStringLiteral("Runner=NAME;CLUB"));
        f.grid->OptionsEx2().Groups.Active = true;
        data->SetFilter(QStringLiteral("STATUS = '0'"));
        data->SetFiltered(true);
        f.SetBounds(120, 90, 640, 400);
        f.details->SetMinimized(true);
        f.details->OriginSize = 77;  // the height it opens to again
    }
    EXPECT_EQ(log, QStringList({QStringLiteral("create sees width %1").arg(log.value(0).section(' ', -1)), QStringLiteral("destroy")}));

    // A fresh dataset and window: everything comes from the file.
    data = MakeRunsTable(24);
    src->SetDataSet(data.get());
    log.clear();
    TTestMainForm f(src.get(), fileName, &log);
    EXPECT_EQ(ColumnNames(f.grid), QStringList({"SECS", "ID", "NAME", "CLUB", "STATUS", "RENTED"}));
    EXPECT_EQ(f.grid->Columns()->Items(2)->Width(), 177);
    EXPECT_FALSE(f.grid->Columns()->Items(3)->Visible());
    EXPECT_EQ(f.grid->SortFieldName(), QStringLiteral("NAME"));
    EXPECT_TRUE(f.grid->SortDesc());
    EXPECT_EQ(f.grid->FieldsGroups.Text(), QStringLiteral("Runner=NAME;CLUB\r\n"));
    EXPECT_TRUE(f.grid->OptionsEx2().Groups.Active);
    EXPECT_TRUE(data->Filtered());
    EXPECT_EQ(data->Filter(), QStringLiteral("STATUS = '0'"));
    EXPECT_EQ(data->RecordCount(), 20);
    // The window's create handler runs after the read: it sees the stored width.
    EXPECT_EQ(log.value(0), QStringLiteral("create sees width 177"));
    // The destroy handler ran before the save, so its change was kept.
    EXPECT_EQ(f.edit->Text(), QStringLiteral("set in destroy"));
    EXPECT_TRUE(f.saver->WasFormPosSaved());
    EXPECT_EQ(f.Left(), 120);
    EXPECT_EQ(f.Width(), 640);

    EXPECT_TRUE(f.details->Minimized());
    EXPECT_EQ(f.details->OriginSize, 77);
    EXPECT_TRUE(f.file->SectionExists(QStringLiteral("formMain.grpMainAreaDetails")));

    // The program's section names.
    EXPECT_TRUE(f.file->SectionExists(QStringLiteral("formMain_XY")));
    EXPECT_TRUE(f.file->SectionExists(QStringLiteral("formMain.rdbgrdResultsClass")));
    EXPECT_TRUE(f.file->SectionExists(QStringLiteral("formMain.rdbgrdResultsClass.Column5")));
    EXPECT_TRUE(f.file->SectionExists(QStringLiteral("formMain.rdbgrdResultsClass.FieldsGroup")));
    EXPECT_FALSE(f.file->ValueExists(QStringLiteral("formMain.rdbgrdResultsClass.Column3"), QStringLiteral("ColWidth")));
}

TEST_F(GridLayoutRoundTrip, NewColumnsKeepTheirPlaceAndDroppedColumnsAreForgotten)
{
    TPropSaveFile file(nullptr);
    file.SetContent(QStringLiteral(
        "[f.g]\r\nColCount=3\r\n"
        "[f.g.Column0]\r\nFieldName=SECS\r\n"
        "[f.g.Column1]\r\nFieldName=GONE\r\n"
        "[f.g.Column2]\r\nFieldName=ID\r\nColWidth=55\r\n"));
    TForm form(nullptr);
    form.SetName(QStringLiteral("f"));
    TPropSaveMain main(&form);
    main.SetPropSaveFile(&file);
    auto* grid = new TrDBGrid(&form);
    grid->SetName(QStringLiteral("g"));
    grid->SetParent(&form);
    grid->SetDataSource(src.get());
    TDBGridsPropSave saver(&form);
    saver.SetPropSaveMain(&main);
    saver.ReadSaveProps(psaRead, &file, grid, QStringLiteral("f.g"));
    // NAME..RENTED are unknown to the file and stay behind the stored SECS.
    EXPECT_EQ(ColumnNames(grid).first(), QStringLiteral("SECS"));
    EXPECT_EQ(grid->Columns()->Items(ColumnNames(grid).indexOf(QStringLiteral("ID")))->Width(), 55);
    EXPECT_FALSE(file.SectionExists(QStringLiteral("f.g.Column1")));
    main.SetPropSaveFile(nullptr);
}

TEST_F(GridLayoutRoundTrip, ConfigurationErrorsOfTheComponentList)
{
    TForm form(nullptr);
    form.SetName(QStringLiteral("f"));
    TPropSaveFile file(&form);
    file.SetContent(QString());
    TPropSaveMain main(&form);
    main.SetPropSaveFile(&file);
    auto* panel = new TGroupBox(&form);
    panel->SetName(QStringLiteral("pnl"));
    auto* e = new TEdit(&form);
    e->SetName(QStringLiteral("edt"));
    e->SetParent(panel);
    e->SetText(QStringLiteral("hello"));
    main.StdCtrl()->Components.Add(QStringLiteral("missing"));
    EXPECT_THROW(main.SaveProperties(), Exception);
    main.StdCtrl()->Components.Clear();
    main.StdCtrl()->Components.Add(QStringLiteral("pnl"));
    EXPECT_THROW(main.SaveProperties(), Exception);
    main.StdCtrl()->Components.Clear();
    main.StdCtrl()->Components.Add(QStringLiteral("pnl.*"));
    main.SaveProperties();
    EXPECT_EQ(file.ReadString(QStringLiteral("f.edt"), QStringLiteral("Text"), QString()), QStringLiteral("hello"));
    main.StdCtrl()->DisableComponents.push_back(e);
    main.SaveProperties();
    EXPECT_FALSE(file.SectionExists(QStringLiteral("f.edt")));
    file.DisableAll = true;
}

TEST_F(GridLayoutRoundTrip, ReadingKeepsGroupsTogetherAndTitleColoursOnlyWhenTheirOwn)
{
    TPropSaveFile file(nullptr);
    // Stored before NAME and CLUB formed a group: SECS between them.
    file.SetContent(QStringLiteral("[f.g]\r\nColCount=3\r\n[f.g.Column0]\r\nFieldName=NAME\r\n"
                                   "[f.g.Column1]\r\nFieldName=SECS\r\n[f.g.Column2]\r\nFieldName=CLUB\r\n"));
    TForm form(nullptr);
    form.SetName(QStringLiteral("f"));
    auto* grid = new TrDBGrid(&form);
    grid->SetName(QStringLiteral("g"));
    grid->SetParent(&form);
    for (const char* n : {"ID", "NAME", "CLUB", "STATUS", "RENTED", "SECS"})
        grid->Columns()->Add()->SetFieldName(QLatin1String(n));
    grid->SetDataSource(src.get());
    grid->SetFieldsGroupsText(QStringLiteral("[1::Juoksija::Red::Red::<<NAME>>::0]\r\nNAME=M\r\nCLUB=0\r\n"));
    grid->OptionsEx2().Groups.Active = true;
    TrDBGridsPropSave saver(&form);  // groups are not among what it stores
    saver.StoreColumnsProp = true;
    saver.ReadSaveProps(psaRead, &file, grid, QStringLiteral("f.g"));
    const QStringList order = ColumnNames(grid);
    EXPECT_EQ(order.indexOf(QStringLiteral("CLUB")), order.indexOf(QStringLiteral("NAME")) + 1) << order.join(' ').toStdString();

    // A title given the colour it shows anyway stores nothing; another colour is stored.
    grid->Columns()->Items(0)->Title()->SetColor(grid->FixedColor());
    grid->Columns()->Items(1)->Title()->SetColor(clYellow);
    saver.ReadSaveProps(psaSave, &file, grid, QStringLiteral("f.g"));
    EXPECT_FALSE(file.ValueExists(QStringLiteral("f.g.Column0"), QStringLiteral("ColTitleColor")));
    EXPECT_EQ(file.ReadInteger(QStringLiteral("f.g.Column1"), QStringLiteral("ColTitleColor"), 0), int(clYellow));
}
