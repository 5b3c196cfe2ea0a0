// Every saver through a real property file on disk: a window's controls are
// changed, saved and written; a fresh window of the same make reads the file
// and shows the same values. The standard controls (all twelve classes),
// string grids, data grids with their fonts, gradient and drawing style,
// datasets, the library's own controls, and an old check-in grid key.

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rGroupBox.h"
#include "components/base/rImageZoom.h"
#include "components/base/rMemoEx.h"
#include "components/framed/FcRadGrp.h"
#include "components/grid/TGridsPropSave.h"
#include "components/grid/TParioCompsPropSave.h"
#include "components/grid/TrDBGridsPropSave.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/DataSource.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/CheckLst.h"
#include "platform/ui/ColorBox.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/DBListControls.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/ListBoxes.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/TabControl.h"
#include "tests/rdbgrid/RDBGridFixture.h"

#include <QFile>
#include <QTest>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>

namespace {

template <typename T>
T* Put(TForm* F, const char* Name)
{
    auto* c = new T(F);
    c->SetName(QLatin1String(Name));
    if constexpr (std::is_base_of_v<TControl, T>)
        c->SetParent(F);
    return c;
}

// A window with a coordinator on a property file; Build places its controls
// and savers (bound to the coordinator).
class TSaverForm : public TForm {
public:
    TSaverForm(const QString& FileName, const std::function<void(TSaverForm&)>& Build) : TForm(nullptr)
    {
        SetName(QStringLiteral("formTest"));
        file = new TPropSaveFile(this);
        file->SetFileName(FileName);
        main = new TPropSaveMain(this);
        main->PropSaveEvents = pseNone;
        main->FormSavePos = false;
        main->SetPropSaveFile(file);
        Build(*this);
        AfterConstruction();
    }
    void Save()
    {
        main->SaveProperties();
        ASSERT_TRUE(file->SaveFile());
    }
    void Read() { main->ReadProperties(); }
    template <typename S>
    S* Saver(const QStringList& Names)
    {
        auto* s = new S(this);
        s->SetPropSaveMain(main);
        for (const QString& n : Names)
            s->Components.Add(n);
        return s;
    }
    TPropSaveFile* file;
    TPropSaveMain* main;
};

class SaverRoundTrip : public ::testing::Test {
protected:
    QString FileName() const { return dir.path() + QStringLiteral("/test.ini"); }
    QString FileText() const
    {
        QFile f(FileName());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    QTemporaryDir dir;
};

struct StdControls {
    TMemo* memo;
    TListBox* list;
    TCheckListBox* checks;
    TComboBox* combo;
    TComboBox* comboNoStore;
    TColorBox* colors;
    TCheckBox* check;
    TFcRadioGroup* radios;
    TRadioButton* radio;
    TEdit* edit;
    TMenuItem* menu;
    TTabControl* tabs;
    TPageControl* pages;
    TDateTimePicker* date;
};

StdControls BuildStd(TSaverForm& F)
{
    StdControls c{};
    c.memo = Put<TMemo>(&F, "memNotes");
    c.list = Put<TListBox>(&F, "lbClubs");
    c.list->SetItems({QStringLiteral("Rasti"), QStringLiteral("Kiito"), QStringLiteral("Suunta")});
    c.list->SetMultiSelect(true);
    c.checks = Put<TCheckListBox>(&F, "clbColumns");
    c.checks->SetItems({QStringLiteral("NIMI"), QStringLiteral("SEURA"), QStringLiteral("AIKA")});
    c.combo = Put<TComboBox>(&F, "cbCourse");
    c.comboNoStore = Put<TComboBox>(&F, "cbAction_nostore");
    c.comboNoStore->SetStyle(csDropDownList);
    c.comboNoStore->SetItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    c.colors = Put<TColorBox>(&F, "cbColor");
    c.check = Put<TCheckBox>(&F, "chPrint");
    c.radios = Put<TFcRadioGroup>(&F, "rgMode");
    c.radios->SetItems({QStringLiteral("Maali"), QStringLiteral("Lähtö")});
    c.radio = Put<TRadioButton>(&F, "rbAll");
    c.edit = Put<TEdit>(&F, "edtSearch");
    c.menu = Put<TMenuItem>(&F, "miShowHidden");
    c.tabs = Put<TTabControl>(&F, "tcDays");
    c.tabs->SetTabs({QStringLiteral("Ma"), QStringLiteral("Ti"), QStringLiteral("Ke")});
    c.pages = Put<TPageControl>(&F, "pcMain");
    for (int i = 0; i < 3; ++i) {
        auto* sheet = new TTabSheet(&F);
        sheet->SetPageControl(c.pages);
    }
    c.date = Put<TDateTimePicker>(&F, "dtpDay");
    c.date->SetShowCheckbox(true);
    F.main->StdCtrl()->Components.Assign(QStringList{QStringLiteral("memNotes"), QStringLiteral("lbClubs"),
                                                     QStringLiteral("clbColumns"), QStringLiteral("cbCourse"),
                                                     QStringLiteral("cbAction_nostore"), QStringLiteral("cbColor"),
                                                     QStringLiteral("chPrint"), QStringLiteral("rgMode"),
                                                     QStringLiteral("rbAll"), QStringLiteral("edtSearch"),
                                                     QStringLiteral("miShowHidden"), QStringLiteral("tcDays"),
                                                     QStringLiteral("pcMain"), QStringLiteral("dtpDay")});
    return c;
}

}  // namespace

TEST_F(SaverRoundTrip, EveryStandardControlClassComesBack)
{
    const TDateTime day = EncodeDate(2026, 6, 14) + 0.75;
    {
        StdControls c;
        TSaverForm f(FileName(), [&c](TSaverForm& F) { c = BuildStd(F); });
        c.memo->SetText(QStringLiteral("rivi 1\r\nrivi 2"));
        c.list->SetSelected(0, true);
        c.list->SetSelected(2, true);
        c.checks->SetChecked(1, true);
        c.checks->SetItemIndex(2);
        c.combo->SetItems({QStringLiteral("A-rata"), QStringLiteral("B-rata")});
        c.combo->SetText(QStringLiteral("B-rata"));
        c.comboNoStore->SetItemIndex(2);
        c.colors->SetSelected(clRed);
        c.check->SetState(cbGrayed);
        c.radios->SetItemIndex(1);
        c.radio->SetChecked(true);
        c.edit->SetText(QStringLiteral("Virtanen\tVille"));
        c.menu->SetChecked(true);
        c.tabs->SetTabIndex(2);
        c.pages->SetActivePageIndex(1);
        c.date->SetDate(day);
        c.date->SetChecked(false);
        f.Save();
    }
    const QString text = FileText();
    EXPECT_TRUE(text.contains(QStringLiteral("[formTest.lbClubs]"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Selected2=1")));
    EXPECT_TRUE(text.contains(QStringLiteral("Checked1=1")));
    EXPECT_TRUE(text.contains(QStringLiteral("Virtanen_#9_Ville")));
    EXPECT_FALSE(text.contains(QStringLiteral("[formTest.cbAction_nostore]\r\nItemsCount"))) << "a _nostore box keeps its items";

    StdControls c;
    TSaverForm f(FileName(), [&c](TSaverForm& F) { c = BuildStd(F); });
    f.Read();
    EXPECT_EQ(c.memo->Text(), QStringLiteral("rivi 1\r\nrivi 2"));
    EXPECT_TRUE(c.list->Selected(0));
    EXPECT_FALSE(c.list->Selected(1));
    EXPECT_TRUE(c.list->Selected(2));
    EXPECT_TRUE(c.checks->Checked(1));
    EXPECT_FALSE(c.checks->Checked(0));
    EXPECT_EQ(c.checks->ItemIndex(), 2);
    EXPECT_EQ(c.combo->Items(), (QStringList{QStringLiteral("A-rata"), QStringLiteral("B-rata")}));
    EXPECT_EQ(c.combo->Text(), QStringLiteral("B-rata"));
    EXPECT_EQ(c.comboNoStore->ItemIndex(), 2);
    EXPECT_EQ(c.colors->Selected(), clRed);
    EXPECT_EQ(c.check->State(), cbGrayed);
    EXPECT_EQ(c.radios->ItemIndex(), 1);
    EXPECT_TRUE(c.radio->Checked());
    EXPECT_EQ(c.edit->Text(), QStringLiteral("Virtanen\tVille"));
    EXPECT_TRUE(c.menu->Checked());
    EXPECT_EQ(c.tabs->TabIndex(), 2);
    EXPECT_EQ(c.pages->ActivePageIndex(), 1);
    EXPECT_DOUBLE_EQ(c.date->Date(), EncodeDate(2026, 6, 14)) << "the date part only";
    EXPECT_FALSE(c.date->Checked());

    // Deleting removes every key the savers wrote.
    f.main->DeleteProperties();
    for (const char* s : {"formTest.lbClubs", "formTest.clbColumns", "formTest.dtpDay", "formTest.pcMain"})
        EXPECT_TRUE(f.file->IniFile()->SectionLines(QLatin1String(s)).isEmpty()) << s;
}

TEST_F(SaverRoundTrip, StringGridCountsMetricsCellsAndLook)
{
    auto build = [](TSaverForm& F) {
        auto* sg = Put<TStringGrid>(&F, "sgSorts");
        sg->SetColCount(2);
        sg->SetRowCount(3);
        F.Saver<TGridsPropSave>({QStringLiteral("sgSorts")});
    };
    {
        TSaverForm f(FileName(), build);
        auto* sg = static_cast<TStringGrid*>(f.FindComponent(QStringLiteral("sgSorts")));
        sg->SetCells(0, 1, QStringLiteral("Nimen mukaan"));
        sg->SetCells(1, 2, QStringLiteral("NAME;CLUB"));
        sg->SetColWidths(1, 222);
        sg->SetRowHeights(2, 33);
        sg->GradientStartColor = 0x112233;
        sg->GradientEndColor = 0x445566;
        sg->SetDrawingStyle(grids::gdsGradient);
        f.Save();
    }
    TGridsPropSave* saver = nullptr;
    TSaverForm f(FileName(), [&saver](TSaverForm& F) {
        auto* sg = Put<TStringGrid>(&F, "sgSorts");
        sg->SetColCount(3);  // a third column the file does not know
        sg->SetRowCount(3);
        sg->SetCells(2, 0, QStringLiteral("oma"));
        saver = F.Saver<TGridsPropSave>({QStringLiteral("sgSorts")});
    });
    auto* sg = static_cast<TStringGrid*>(f.FindComponent(QStringLiteral("sgSorts")));
    saver->StoreRowColCount = false;
    f.Read();
    EXPECT_EQ(sg->ColCount(), 3);
    EXPECT_EQ(sg->Cells(2, 0), QStringLiteral("oma")) << "a column without stored cells keeps its own";
    saver->StoreRowColCount = true;
    f.Read();
    EXPECT_EQ(sg->ColCount(), 2) << "the stored counts come first";
    EXPECT_EQ(sg->Cells(0, 1), QStringLiteral("Nimen mukaan"));
    EXPECT_EQ(sg->Cells(1, 2), QStringLiteral("NAME;CLUB"));
    EXPECT_EQ(sg->ColWidths(1), 222);
    EXPECT_EQ(sg->RowHeights(2), 33);
    EXPECT_EQ(sg->GradientStartColor, TColor(0x112233));
    EXPECT_EQ(sg->GradientEndColor, TColor(0x445566));
    EXPECT_EQ(sg->DrawingStyle(), grids::gdsGradient);
}

TEST_F(SaverRoundTrip, DataGridFontsLookFormatsAndTheDataset)
{
    auto data = MakeRunsTable(5);
    TDataSource src;
    src.SetDataSet(data.get());
    auto build = [&src, &data](TSaverForm& F) {
        auto* g = Put<TrDBGrid>(&F, "rdbgrdResultsClass");
        g->SetDataSource(&src);
        auto* s = F.Saver<TrDBGridsPropSave>({QStringLiteral("rdbgrdResultsClass")});
        s->StoreColumnsProp = true;
        data->SetName(QStringLiteral("cdsRuns"));
        auto* d = F.Saver<TDBGridsPropSave>({});
        d->SetName(QStringLiteral("dsSaver"));
        d->StoreColumnsProp = true;
    };
    TField* secs = data->FieldByName(QStringLiteral("SECS"));
    {
        TSaverForm f(FileName(), build);
        auto* g = static_cast<TrDBGrid*>(f.FindComponent(QStringLiteral("rdbgrdResultsClass")));
        TFont font = *g->Font();
        font.SetName(QStringLiteral("DejaVu Serif"));
        font.SetSize(13);
        g->Font()->Assign(font);
        TFont title = *g->TitleFont();
        title.SetSize(17);
        title.SetStyle(fsBold);
        g->SetTitleFont(title);
        g->GradientStartColor = 0x00AA00;
        g->GradientEndColor = 0x0000AA;
        g->SetDrawingStyle(grids::gdsGradient);
        static_cast<TNumericField*>(secs)->SetDisplayFormat(QStringLiteral("0.0"));
        secs->SetDisplayWidth(12);
        // The dataset saver takes the field order and labels.
        auto* d = static_cast<TDBGridsPropSave*>(f.FindComponent(QStringLiteral("dsSaver")));
        data->FieldByName(QStringLiteral("CLUB"))->SetDisplayLabel(QStringLiteral("Seura"));
        d->SaveDataSet(f.file, QStringLiteral("formTest.cdsRuns"), data.get());
        f.Save();
    }
    const QString text = FileText();
    EXPECT_TRUE(text.contains(QStringLiteral("[formTest.rdbgrdResultsClass.Title]"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("ColorStartGradient=43520")));
    EXPECT_TRUE(text.contains(QStringLiteral("DrawingStyle=2")));
    EXPECT_TRUE(text.contains(QStringLiteral("FieldFormat=0.0")));
    EXPECT_TRUE(text.contains(QStringLiteral("[formTest.cdsRuns.Field5]")));

    secs->SetDisplayFormat(QString());
    secs->SetDisplayWidth(4);
    data->FieldByName(QStringLiteral("CLUB"))->SetDisplayLabel(QStringLiteral("CLUB"));
    TSaverForm f(FileName(), build);
    auto* g = static_cast<TrDBGrid*>(f.FindComponent(QStringLiteral("rdbgrdResultsClass")));
    f.Read();
    EXPECT_EQ(g->Font()->Name(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(g->Font()->Size(), 13);
    EXPECT_EQ(g->TitleFont()->Size(), 17);
    EXPECT_TRUE(g->TitleFont()->Style() & fsBold);
    EXPECT_EQ(g->GradientStartColor, TColor(0x00AA00));
    EXPECT_EQ(g->GradientEndColor, TColor(0x0000AA));
    EXPECT_EQ(g->DrawingStyle(), grids::gdsGradient);
    EXPECT_EQ(secs->DisplayFormat(), QStringLiteral("0.0"));
    EXPECT_EQ(secs->DisplayWidth(), 12);
    auto* d = static_cast<TDBGridsPropSave*>(f.FindComponent(QStringLiteral("dsSaver")));
    d->ReadDataSet(f.file, QStringLiteral("formTest.cdsRuns"), data.get());
    EXPECT_EQ(data->FieldByName(QStringLiteral("CLUB"))->DisplayLabel(), QStringLiteral("Seura"));

    // A field the program now sizes itself keeps its designed width and format.
    ParioCompConfig.PropSaveCfg.FieldList_UseNewWidth = QStringLiteral("name; secs");
    secs->SetDisplayFormat(QString());
    secs->SetDisplayWidth(4);
    f.Read();
    EXPECT_EQ(secs->DisplayFormat(), QString());
    EXPECT_EQ(secs->DisplayWidth(), 4);
    ParioCompConfig.PropSaveCfg.FieldList_UseNewWidth.clear();

    // With a global look the grid-wide appearance is neither stored nor read.
    ParioCompConfig.PropSaveCfg.Grids_UseGlobalSetting = true;
    g->SetDrawingStyle(grids::gdsClassic);
    g->SetColorOddRow(clYellow);
    g->OptionsEx2().Appearance.DrawColoredRow = true;
    f.Read();
    EXPECT_EQ(g->DrawingStyle(), grids::gdsClassic);
    EXPECT_EQ(g->ColorOddRow(), TColor(clYellow));
    EXPECT_TRUE(g->OptionsEx2().Appearance.DrawColoredRow);
    const QString gridKey = QStringLiteral("formTest.rdbgrdResultsClass");
    f.file->EraseSection(gridKey);
    f.main->SaveProperties();
    EXPECT_TRUE(f.file->ValueExists(gridKey, QStringLiteral("SortDesc")));
    for (const char* key : {"LookStyle", "DrawingStyle", "DrawColored", "ColorOddRow", "ColorActiveRow", "ActiveRowGradient",
                            "FontColorFiltered"})
        EXPECT_FALSE(f.file->ValueExists(gridKey, QLatin1String(key))) << key;
    ParioCompConfig.PropSaveCfg.Grids_UseGlobalSetting = false;

    // A dataset whose fields changed drops every stored field section.
    f.file->WriteInteger(QStringLiteral("formTest.cdsRuns"), QStringLiteral("FieldCount"), 9);
    d->ReadDataSet(f.file, QStringLiteral("formTest.cdsRuns"), data.get());
    EXPECT_FALSE(f.file->SectionExists(QStringLiteral("formTest.cdsRuns.Field0")));
}

TEST_F(SaverRoundTrip, LibraryControlsAndTheirFonts)
{
    auto build = [](TSaverForm& F) {
        auto* box = Put<TrGroupBox>(&F, "grpMainAreaDetails");
        box->SetBounds(0, 0, 300, 200);
        Put<TrImageZoom>(&F, "imgCard");
        Put<TrMemoEx>(&F, "memParent");
        Put<TrMemoEx>(&F, "memOwn");
        F.Saver<TParioCompsPropSave>({QStringLiteral("grpMainAreaDetails"), QStringLiteral("imgCard"),
                                      QStringLiteral("memParent"), QStringLiteral("memOwn")});
    };
    {
        TSaverForm f(FileName(), build);
        static_cast<TrGroupBox*>(f.FindComponent(QStringLiteral("grpMainAreaDetails")))->SetMinimized(true);
        auto* zoom = static_cast<TrImageZoom*>(f.FindComponent(QStringLiteral("imgCard")));
        zoom->SetAutoFit(false);
        zoom->SetZoom(150);
        auto* own = static_cast<TrMemoEx*>(f.FindComponent(QStringLiteral("memOwn")));
        TFont font = *own->Font();
        font.SetSize(15);
        own->SetFont(font);
        f.Save();
    }
    const QString text = FileText();
    EXPECT_FALSE(text.contains(QStringLiteral("[formTest.memParent]\r\nFont"))) << "a memo on its parent's font stores none";
    TSaverForm f(FileName(), build);
    f.Read();
    EXPECT_TRUE(static_cast<TrGroupBox*>(f.FindComponent(QStringLiteral("grpMainAreaDetails")))->Minimized());
    auto* zoom = static_cast<TrImageZoom*>(f.FindComponent(QStringLiteral("imgCard")));
    EXPECT_EQ(zoom->Zoom(), 150);
    EXPECT_FALSE(zoom->AutoFit());
    EXPECT_EQ(static_cast<TrMemoEx*>(f.FindComponent(QStringLiteral("memOwn")))->Font()->Size(), 15);
}

TEST_F(SaverRoundTrip, AGridStoredUnderItsOldKeyMovesOnce)
{
    TPropSaveFile file(nullptr);
    file.SetContent(QStringLiteral("[rdbgrdWebEntries]\nColCount=1\n[rdbgrdWebEntries.Column0]\nFieldName=NIMI\nColWidth=177\n"
                                   "[rdbgrdWebEntriesOther]\nX=1\n"));
    const QString key = QStringLiteral("formResultsClassForest.rdbgrdWebEntries");
    ASSERT_TRUE(file.MoveSections(QStringLiteral("rdbgrdWebEntries"), key));
    EXPECT_EQ(file.ReadInteger(key + QStringLiteral(".Column0"), QStringLiteral("ColWidth"), 0), 177);
    EXPECT_FALSE(file.SectionExists(QStringLiteral("rdbgrdWebEntries")));
    EXPECT_TRUE(file.SectionExists(QStringLiteral("rdbgrdWebEntriesOther"))) << "only the grid's own sections move";
    file.WriteInteger(QStringLiteral("rdbgrdWebEntries"), QStringLiteral("ColCount"), 5);
    EXPECT_FALSE(file.MoveSections(QStringLiteral("rdbgrdWebEntries"), key)) << "the new key wins once it exists";
    EXPECT_EQ(file.ReadInteger(key, QStringLiteral("ColCount"), 0), 1);
}

TEST_F(SaverRoundTrip, DataAwareComboAndListBoxesKeepTheirItems)
{
    auto data = MakeRunsTable(3);
    TDataSource src;
    src.SetDataSet(data.get());
    data->First();
    const QString club = data->FieldByName(QStringLiteral("CLUB"))->Text();
    auto build = [&src](TSaverForm& F) {
        auto* combo = Put<TDBComboBox>(&F, "dbcbClub");
        combo->SetStyle(csDropDownList);
        combo->SetDataSource(&src);
        combo->SetDataField(QStringLiteral("CLUB"));
        auto* list = Put<TDBListBox>(&F, "dblbClub");
        list->SetDataSource(&src);
        list->SetDataField(QStringLiteral("CLUB"));
        F.Saver<TDBGridsPropSave>({QStringLiteral("dbcbClub"), QStringLiteral("dblbClub")});
    };
    const QStringList items{QStringLiteral("Rasti"), club, QStringLiteral("Kiito")};
    {
        TSaverForm f(FileName(), build);
        static_cast<TDBComboBox*>(f.FindComponent(QStringLiteral("dbcbClub")))->SetItems(items);
        static_cast<TDBListBox*>(f.FindComponent(QStringLiteral("dblbClub")))->SetItems(items);
        f.Save();
    }
    EXPECT_TRUE(FileText().contains(QStringLiteral("[formTest.dbcbClub]"))) << FileText().toStdString();
    TSaverForm f(FileName(), build);
    auto* combo = static_cast<TDBComboBox*>(f.FindComponent(QStringLiteral("dbcbClub")));
    auto* list = static_cast<TDBListBox*>(f.FindComponent(QStringLiteral("dblbClub")));
    ASSERT_TRUE(combo->Items().isEmpty());
    f.Read();
    EXPECT_EQ(combo->Items(), items);
    EXPECT_EQ(list->Items(), items);
    EXPECT_EQ(combo->ItemIndex(), 1) << "the drop-down list shows its field's value among the read items";
    EXPECT_EQ(list->ItemIndex(), 1);
    // Clicking another item writes it to the field.
    list->SetBounds(0, 0, 120, 80);
    const TRect r = list->ItemRect(2);
    QTest::mouseClick(list->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(r.Left + 4, r.Top + 3));
    EXPECT_EQ(list->ItemIndex(), 2);
    list->DataLink()->UpdateRecord();
    data->Post();
    EXPECT_EQ(data->FieldByName(QStringLiteral("CLUB"))->Text(), QStringLiteral("Kiito"));
    // Deleting erases the section.
    f.main->DeleteProperties();
    EXPECT_FALSE(f.file->SectionExists(QStringLiteral("formTest.dbcbClub")));
}
