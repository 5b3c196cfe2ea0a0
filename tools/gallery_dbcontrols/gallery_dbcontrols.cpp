// Opens a window with the navigation tree built from a real event database
// (series, seasons, events, classes, courses), every data-aware control of
// the library bound to the current run, and writes screenshots after each
// step into the folder given as the first argument (default
// "gallery_dbcontrols"). Run it under Xvfb to look at the result.

#include "components/dbcontrols/TrDBCheckBox.h"
#include "components/dbcontrols/TrDBDateTimePicker.h"
#include "components/dbcontrols/TrDBEdit.h"
#include "platform/ui/ImgList.h"
#include "components/dbcontrols/TrDBImage.h"
#include "components/base/rpictool.h"
#include "platform/database/ClientDataSet.h"
#include "components/dbcontrols/TrDBLookupComboBox.h"
#include "components/dbcontrols/TrDBMemo.h"
#include "components/dbcontrols/TrDBMemoEx.h"
#include "components/dbcontrols/TrDBRecView.h"
#include "components/dbcontrols/TrDBTreeView.h"
#include "components/dbcontrols/rDBFieldsForm.h"
#include "components/base/rListBoxes.h"
#include "components/dbcontrols/rDBFieldsGroupForm.h"
#include "components/dbcontrols/rDBFilterSaver.h"
#include "components/grid/TPropSaveFile.h"
#include "components/stringgrid/rStringGridEd.h"
#include "components/dbcontrols/rDBFilterForm.h"
#include "components/dbcontrols/rDBFindForm.h"
#include "components/dbcontrols/rDBSortForm2.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridSorter.h"
#include "components/grid/rDBGridInplaceEditEx.h"
#include "components/dbcontrols/rDBGridPropsDialogs.h"
#include "platform/ui/DBGrids.h"
#include "platform/database/FbScript.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"
#include "tools/gallery_grid/RunsDatabase.h"

#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace {

std::unique_ptr<TFbQuery> Query(TRunsDatabase& Db, const QString& Sql, const QString& Key, TDataSource* Master)
{
    auto q = std::make_unique<TFbQuery>();
    q->SetConnection(&Db.Con);
    q->SetTransaction(&Db.Tr);
    q->SQL().Add(Sql);
    q->SetKeyFieldNames(Key);
    if (Master)
        q->SetMasterSource(Master);
    return q;
}

TDataItemDef* Level(TDataItemDefs* Defs, TDataSource* Src, const QString& Key, const QString& Mask)
{
    TDataItemDef* d = Defs->Add();
    d->SetDataSource(Src);
    d->KeyFieldName = Key;
    d->SetRecordTextMask(Mask);
    d->SetExpandNode(true);
    return d;
}

void AddEventData(TRunsDatabase& Db)
{
    TFbScript s;
    s.Connection = &Db.Con;
    s.Transaction = &Db.Tr;
    s.ExecuteScript(QStringLiteral(
        "INSERT INTO VRK_EVENT_SERIES (EVENT_SERIES_ID, EVENT_SERIES_NAME) VALUES (2, 'Talvirastit');\n"
        "INSERT INTO VRK_EVENT_SERIES_SEASON (EVENT_SERIES_SEASON_ID, EVENT_SERIES_ID, EVENT_SERIES_SEASON_NAME, SEASON_ABBR)\n"
        "  VALUES (20, 2, 'Talvi 2026', 'T26');\n"
        "INSERT INTO VRK_EVENT (EVENT_ID, EVENT_SERIES_SEASON_ID, EVENT_NAME, ARENA_NAME, MAP_NAME, EVENT_DATE, FINISH_CODE)\n"
        "  VALUES (201, 10, 'Lauantaisprintti', 'Kumpula', 'Kumpula 2026', '2026-06-06 00:00:00', 100);\n"
        "INSERT INTO VRK_EVENT (EVENT_ID, EVENT_SERIES_SEASON_ID, EVENT_NAME, ARENA_NAME, MAP_NAME, EVENT_DATE, FINISH_CODE)\n"
        "  VALUES (300, 20, 'Yösuunnistus', 'Luukki', 'Luukki 2026', '2026-01-14 00:00:00', 100);\n"
        "INSERT INTO VRK_CLASS (CLASS_ID, EVENT_ID, CLASS_NAME) VALUES (1, 200, 'H21');\n"
        "INSERT INTO VRK_CLASS (CLASS_ID, EVENT_ID, CLASS_NAME) VALUES (2, 200, 'D21');\n"
        "INSERT INTO VRK_CLASS (CLASS_ID, EVENT_ID, CLASS_NAME) VALUES (3, 200, 'Kuntorata');\n"
        "INSERT INTO VRK_CLASS (CLASS_ID, EVENT_ID, CLASS_NAME) VALUES (4, 201, 'Sprintti');\n"
        "INSERT INTO VRK_COURSE (COURSE_ID, EVENT_ID, COURSE_NAME, COURSE_LENGTH) VALUES (1, 200, 'Pitkä A', 8200);\n"
        "INSERT INTO VRK_COURSE (COURSE_ID, EVENT_ID, COURSE_NAME, COURSE_LENGTH) VALUES (2, 200, 'Keskimatka B', 5400);\n"
        "INSERT INTO VRK_COURSE (COURSE_ID, EVENT_ID, COURSE_NAME, COURSE_LENGTH) VALUES (3, 200, 'Lyhyt C', 3100);\n"
        "INSERT INTO VRK_COURSE (COURSE_ID, EVENT_ID, COURSE_NAME, COURSE_LENGTH) VALUES (4, 201, 'Sprintti S', 2500);\n"
        "INSERT INTO VRK_CLASS_COURSE (CLASS_COURSE_ID, CLASS_ID, COURSE_ID) VALUES (11, 1, 1);\n"
        "INSERT INTO VRK_CLASS_COURSE (CLASS_COURSE_ID, CLASS_ID, COURSE_ID) VALUES (12, 1, 2);\n"
        "INSERT INTO VRK_CLASS_COURSE (CLASS_COURSE_ID, CLASS_ID, COURSE_ID) VALUES (21, 2, 2);\n"
        "INSERT INTO VRK_CLASS_COURSE (CLASS_COURSE_ID, CLASS_ID, COURSE_ID) VALUES (31, 3, 3);\n"
        "INSERT INTO VRK_CLASS_COURSE (CLASS_COURSE_ID, CLASS_ID, COURSE_ID) VALUES (41, 4, 4);\n"
        "COMMIT;\n"));
    if (Db.Tr.Active())
        Db.Tr.Commit();
}

// The main window's results grid: its columns, its three field groups and a
// few runs.
std::unique_ptr<TClientDataSet> ResultsRows()
{
    auto d = std::make_unique<TClientDataSet>();
    for (const char* f : {"INSERTED", "ORIGIN_CLIENT_NAME", "PERSON_NAME", "CLASS_NAME", "COURSE_NAME", "COURSE_LENGTH", "CLIMB",
                          "TIME_STR", "START_PUNCH_TIME", "START_TIME", "FINISH_TIME", "PENALTY_TIME_STR"})
        d->AddField(QString::fromLatin1(f), ftWideString, 30);
    d->CreateDataSet();
    d->AppendRecord({"18:02:11", "Lähtö 1", "Virtanen Aino", "H21", "Rata A", "5400", "120", "45:12", "18:00:05", "18:00:00",
                     "18:45:12", ""});
    d->AppendRecord({"18:04:40", "Maali", "Korhonen Eero", "D35", "Rata B", "4100", "85", "38:47", "18:02:01", "18:02:00",
                     "18:40:47", "2:00"});
    d->AppendRecord({"18:09:03", "Lähtö 1", QString::fromUtf8("Mäkinen Liisa"), "H21", "Rata A", "5400", "120", "51:30",
                     "18:04:00", "18:04:00", "18:55:30", ""});
    d->First();
    return d;
}

TrDBGrid* ResultsGrid(TForm* F, TDataSource* Src, int Top, bool Merged)
{
    static const char* const captions[][2] = {
        {"INSERTED", "Lisätty"}, {"ORIGIN_CLIENT_NAME", "Lähde"}, {"PERSON_NAME", "Nimi"}, {"CLASS_NAME", "Sarja"},
        {"COURSE_NAME", "Rata"}, {"COURSE_LENGTH", "Pituus"}, {"CLIMB", "Nousu"}, {"TIME_STR", "Aika"},
        {"START_PUNCH_TIME", "Lähtöleimaus"}, {"START_TIME", "Lähtö"}, {"FINISH_TIME", "Maali"}, {"PENALTY_TIME_STR", "Sakko"}};
    auto* g = new TrDBGrid(F);
    g->SetParent(F);
    g->SetBounds(8, Top, 1060, 150);
    for (const auto& c : captions) {
        TColumn* col = g->Columns()->Add();
        col->SetFieldName(QString::fromLatin1(c[0]));
        col->Title()->SetCaption(QString::fromUtf8(c[1]));
        col->SetWidth(QLatin1String(c[0]) == QLatin1String("PERSON_NAME") ? 120 : 82);
    }
    g->SetDataSource(Src);
    for (const char* line : {"[1::Lisätty::Red::Red::<<INSERTED>>::0]", "INSERTED=M", "ORIGIN_CLIENT_NAME=0", "",
                             "[2::Rata::Red::Red::<<CLASS_NAME>>::0]", "CLASS_NAME=M", "COURSE_NAME=0", "COURSE_LENGTH=0",
                             "CLIMB=0", "", "[3::Aika::Green::Green::<<TIME_STR>>::0]", "TIME_STR=M", "START_PUNCH_TIME=0",
                             "START_TIME=0", "FINISH_TIME=0", "PENALTY_TIME_STR=0", ""})
        g->FieldsGroups.Add(QString::fromUtf8(line));
    g->SetGroupsActive(true);
    g->FieldsGroupsChanged();
    if (Merged) {
        g->Fields_SetGroupSettingsEx(3, QStringLiteral("Ajat"), QStringLiteral("Aika"), QStringLiteral("<<TIME_STR>>"),
                                     clGreen, clGreen, false,
                                     {QStringLiteral("TIME_STR"), QStringLiteral("START_PUNCH_TIME"), QStringLiteral("START_TIME"),
                                      QStringLiteral("FINISH_TIME"), QStringLiteral("PENALTY_TIME_STR")});
        g->SetGroupsShowMergedCell(true);
    }
    return g;
}

// The results grid with its groups (one collapsed), the merged header, the
// field-group dialog and the stored-filter dialog.
void FieldGroupShots(const QString& Out, int& ShotNo, const std::function<void()>& Settle)
{
    auto rows = ResultsRows();
    TDataSource src;
    src.SetDataSet(rows.get());
    TForm* f = nullptr;
    Application->CreateForm(f);
    f->SetName(QStringLiteral("formMain"));
    f->SetCaption(QStringLiteral("Tulokset"));
    f->SetBounds(20, 20, 1080, 340);
    TrDBGrid* lines = ResultsGrid(f, &src, 8, false);
    lines->SetName(QStringLiteral("rdbgrdResultsClass"));
    lines->CollapseGroup(2);
    ResultsGrid(f, &src, 170, true);
    f->Show();
    Settle();
    TBitmap page;
    f->PaintTo(&page);
    page.SaveToFile(Out + QStringLiteral("/%1_results_field_groups.png").arg(++ShotNo, 2, 10, QLatin1Char('0')));

    auto* groups = new TrDBFieldsGroupForm(f);
    groups->Gr = lines;
    groups->Show();
    groups->SelectGroup(1);
    groups->lbGroupFields->SetItemIndex(4);
    groups->FieldClicked(4);
    Settle();
    TBitmap dlg;
    groups->PaintTo(&dlg);
    dlg.SaveToFile(Out + QStringLiteral("/%1_field_groups_dialog.png").arg(++ShotNo, 2, 10, QLatin1Char('0')));
    groups->Close();
    delete groups;

    // The column choice dialog of the grouped grid: masters bold, the row header in italics.
    auto* fields = new TrDBFieldsForm(f);
    fields->GDS = lines;
    fields->UseFixedCol = true;
    fields->Show();
    fields->SelectEntry(5);
    Settle();
    fields->PaintTo(&dlg);
    dlg.SaveToFile(Out + QStringLiteral("/%1_fields_dialog_groups.png").arg(++ShotNo, 2, 10, QLatin1Char('0')));
    fields->Close();
    delete fields;

    QTemporaryDir dir;
    TPropSaveFile file(nullptr);
    file.SetFileName(dir.filePath(QStringLiteral("sorvex.ini")));
    file.LoadFile();
    file.SetUseAsGlobalFile(true);
    auto* saver = new TrDBFilterSaverForm(f);
    saver->G = lines;
    saver->AddFilter(QStringLiteral("Sarja H21"), QStringLiteral("CLASS_NAME = 'H21'"));
    saver->AddFilter(QStringLiteral("Rata B"), QStringLiteral("COURSE_NAME = 'Rata B'"));
    SetFilterString(rows.get(), QStringLiteral("CLASS_NAME = 'H21'"), true);
    saver->Show();
    saver->SelectRow(2);
    Settle();
    saver->PaintTo(&dlg);
    dlg.SaveToFile(Out + QStringLiteral("/%1_stored_filters_dialog.png").arg(++ShotNo, 2, 10, QLatin1Char('0')));
    saver->Close();
    delete saver;
    f->Close();
}

}  // namespace

// The record view with a picture row and a text that grows its row, and the
// markup memo with highlights, page-break marks, its buttons and label.
void RecViewAndMemoShots(const QString& Out, int& ShotNo, const std::function<void()>& Settle)
{
    TClientDataSet rows;
    rows.AddField(QStringLiteral("ID"), ftInteger);
    rows.AddField(QStringLiteral("NAME"), ftWideString, 40);
    rows.AddField(QStringLiteral("MAP"), ftGraphic);
    rows.AddField(QStringLiteral("NOTES"), ftWideMemo);
    rows.AddField(QStringLiteral("RENTED"), ftWideString, 1);
    rows.CreateDataSet();
    TBitmap bmp(240, 150);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(0xD8F0D8);
    c->FillRect(TRect(0, 0, 240, 150));
    c->Pen()->SetColor(0x0000C0);
    c->Pen()->SetWidth(3);
    c->MoveTo(20, 130);
    c->LineTo(110, 40);
    c->LineTo(200, 110);
    c->Brush()->SetStyle(bsClear);
    c->Ellipse(100, 30, 120, 50);
    rows.AppendRecord({31, QStringLiteral("Rasti 31, kivi"), bmp.SaveToData("PNG"),
                       QStringLiteral("Kiven pohjoispuoli. Rasti on näkyvä jo polulta, mutta lähestyminen kannattaa tehdä idästä."),
                       QStringLiteral("K")});
    rows.First();
    TDataSource src;
    src.SetDataSet(&rows);

    TForm* f = nullptr;
    Application->CreateForm(f);
    f->SetCaption(QStringLiteral("Tietue ja muistiinpanot"));
    f->SetBounds(40, 40, 900, 420);
    auto* rec = new TrDBRecView(f);
    rec->SetParent(f);
    rec->SetBounds(10, 10, 420, 400);
    rec->SetColWidths(0, 100);
    rec->SetOptionsEx(GridOptEx(goAddColon) | GridOptEx(goAutoHeight));
    rec->SetFields({QStringLiteral("ID=Koodi"), QStringLiteral("NAME=Nimi"), QStringLiteral("MAP=Karttaote"), QStringLiteral("NOTES=Huom."),
                    QStringLiteral("RENTED=Laina")});
    rec->SetBooleanFields({QStringLiteral("RENTED=K;E")});
    rec->SetFieldsAsLink({QStringLiteral("NAME=rasti")});
    rec->SetDataSource(&src);

    auto* memo = new TrDBMemoEx(f);
    memo->SetName(QStringLiteral("mNotes"));
    memo->SetParent(f);
    memo->SetBounds(450, 60, 430, 340);
    memo->SetColor(clWindow);
    memo->FormatType = ftHTML;
    memo->SetShowButtonFrm(true);
    memo->DBEditLabel()->SetOwnCaption(QStringLiteral("Muistiinpanot"));
    memo->BoundLabel()->SetCaption(QStringLiteral("<B>HTML</B>"));
    memo->SetHighlightFromStr(QStringLiteral("<"));
    memo->SetHighlightToStr(QStringLiteral(">"));
    memo->SetHighlightWords({QStringLiteral("rasti\t$0000C0\t-")});
    memo->SetPageBreaksCharNumber(QStringLiteral("40;60"));
    memo->CreateFormatPopupMenu();
    memo->SetDataSource(&src, QStringLiteral("NOTES"));
    rows.Edit();
    memo->SetText(QStringLiteral("<B>Rasti 31</B> on kiven pohjoispuolella.<br>\r\n<UL>\r\n<LI>lähesty idästä</LI>\r\n"
                                 "<LI>rasti näkyy polulle</LI>\r\n</UL>\r\nTarkista leimasin ennen kilpailua."));
    f->Show();
    Settle();
    TBitmap page;
    f->PaintTo(&page);
    Settle();
    f->PaintTo(&page);
    page.SaveToFile(Out + QStringLiteral("/%1_record_view_and_markup_memo.png").arg(++ShotNo, 2, 10, QLatin1Char('0')));
    rows.Cancel();
    f->Close();
}

// The grid's cell editor on a lookup column, its list of clubs dropped down:
// the library's list, widened by the grid's setting, the window's cell
// handler drawing a line under every third club.
void GridLookupListShot(const QString& Out, int& ShotNo, const std::function<void()>& Settle)
{
    InstallDBGridPropsDialogs();
    TClientDataSet clubs;
    clubs.AddField(QStringLiteral("CID"), ftInteger);
    clubs.AddField(QStringLiteral("CNAME"), ftWideString, 40);
    clubs.CreateDataSet();
    int id = 0;
    for (const char* n : {"Angelniemen Ankkuri", "Espoon Suunta", "Hiidenkiertäjät", "Kalevan Rasti", "Koovee", "Lynx",
                          "Rasti-Jussit", "Suunta-Äänekoski", "Tampereen Pyrintö"})
        clubs.AppendRecord({++id, QString::fromUtf8(n)});
    TClientDataSet runs;
    runs.AddField(QStringLiteral("ID"), ftInteger);
    runs.AddField(QStringLiteral("NAME"), ftWideString, 30);
    runs.AddField(QStringLiteral("CLUB_ID"), ftInteger);
    TField* look = runs.AddField(QStringLiteral("CLUB"), ftWideString, 40, fkLookup);
    look->KeyFields = QStringLiteral("CLUB_ID");
    look->LookupDataSet = &clubs;
    look->LookupKeyFields = QStringLiteral("CID");
    look->LookupResultField = QStringLiteral("CNAME");
    runs.CreateDataSet();
    runs.AppendRecord({1, QStringLiteral("Aino Laine"), 2});
    runs.AppendRecord({2, QStringLiteral("Eero Virta"), 8});
    runs.First();
    TDataSource src;
    src.SetDataSet(&runs);

    TForm* f = nullptr;
    Application->CreateForm(f);
    f->SetCaption(QStringLiteral("Seuran valinta taulukossa"));
    f->SetBounds(40, 40, 520, 320);
    auto* grid = new TrDBGrid(f);
    grid->SetParent(f);
    grid->SetBounds(10, 10, 500, 300);
    grid->SetOptions(grid->Options() | dgEditing);
    grid->SetDataSource(&src);
    grid->Columns()->Items(3)->SetWidth(110);
    grid->LookupListItemIncreaseWidth = 24;
    grid->OnGetLookupListItemProps = [](TComponent*, TCanvas*, int Row, int, bool, TField*, TField*, int&, int, QString&, TBitmap*, bool&,
                                        bool& Bottom) { Bottom = Row % 3 == 2; };
    f->Show();
    Settle();
    grid->SetSelectedIndex(3);
    grid->ShowEditor();
    TrDBGridInplaceEditEx* ed = grid->GetInplaceEditor();
    ed->DropDown();
    Settle();
    TBitmap page, list;
    f->PaintTo(&page);
    ed->DataList()->PaintTo(&list);
    // The list is a window of its own: it goes onto the page under the editor.
    const TPoint at = f->ScreenToClient(ed->DataList()->ClientToScreen(TPoint{0, 0}));
    page.Canvas()->Draw(at.X, at.Y, &list);
    page.SaveToFile(Out + QStringLiteral("/%1_grid_lookup_list.png").arg(++ShotNo, 2, 10, QLatin1Char('0')));
    ed->CloseUp(false);
    runs.Cancel();
    f->Close();
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery_dbcontrols");
    QDir().mkpath(out);

    TRunsDatabase db(300);
    AddEventData(db);
    TDataSource seriesSrc, seasonSrc, eventSrc, classSrc, courseSrc, runsSrc, clubSrc;
    auto series = Query(db, QStringLiteral("select EVENT_SERIES_ID, EVENT_SERIES_NAME from VRK_EVENT_SERIES order by EVENT_SERIES_ID"),
                        QStringLiteral("EVENT_SERIES_ID"), nullptr);
    seriesSrc.SetDataSet(series.get());
    auto seasons = Query(db,
                         QStringLiteral("select EVENT_SERIES_SEASON_ID, EVENT_SERIES_SEASON_NAME from VRK_EVENT_SERIES_SEASON "
                                        "where EVENT_SERIES_ID = :EVENT_SERIES_ID order by EVENT_SERIES_SEASON_ID"),
                         QStringLiteral("EVENT_SERIES_SEASON_ID"), &seriesSrc);
    seasonSrc.SetDataSet(seasons.get());
    auto events = Query(db,
                        QStringLiteral("select EVENT_ID, EVENT_NAME, EVENT_DATE from VRK_EVENT "
                                       "where EVENT_SERIES_SEASON_ID = :EVENT_SERIES_SEASON_ID order by EVENT_DATE"),
                        QStringLiteral("EVENT_ID"), &seasonSrc);
    eventSrc.SetDataSet(events.get());
    auto classes = Query(db, QStringLiteral("select CLASS_ID, CLASS_NAME from VRK_CLASS where EVENT_ID = :EVENT_ID order by CLASS_NAME"),
                         QStringLiteral("CLASS_ID"), &eventSrc);
    classSrc.SetDataSet(classes.get());
    auto courses = Query(db,
                         QStringLiteral("select CC.CLASS_COURSE_ID, C.COURSE_NAME, C.COURSE_LENGTH from VRK_CLASS_COURSE CC "
                                        "join VRK_COURSE C on C.COURSE_ID = CC.COURSE_ID where CC.CLASS_ID = :CLASS_ID order by C.COURSE_NAME"),
                         QStringLiteral("CLASS_COURSE_ID"), &classSrc);
    courseSrc.SetDataSet(courses.get());
    for (TFbQuery* q : {series.get(), seasons.get(), events.get(), classes.get(), courses.get()})
        q->Open();

    auto runs = Query(db,
                      QStringLiteral("select RESULTS_CLASS_ID, PERSON_NAME, CLUB_ID, RENTED_CHIP, START_TIME, FINISH_TIME, "
                                     "CREDIT_PENALTY_NOTES from VRK_RESULTS_CLASS where EVENT_ID = 200 order by RESULTS_CLASS_ID"),
                      QStringLiteral("RESULTS_CLASS_ID"), nullptr);
    runs->UpdateOptions().UpdateTableName = QStringLiteral("VRK_RESULTS_CLASS");
    runs->UpdateOptions().UpdateFields = QStringLiteral("PERSON_NAME;CLUB_ID;RENTED_CHIP;START_TIME;FINISH_TIME;CREDIT_PENALTY_NOTES");
    runs->Open();
    runsSrc.SetDataSet(runs.get());
    auto clubs = db.NewClubsQuery();
    clubs->Open();
    clubSrc.SetDataSet(clubs.get());

    TForm* f = nullptr;
    Application->CreateForm(f);
    f->SetCaption(QStringLiteral("Tietoon sidotut kontrollit"));
    f->SetBounds(20, 20, 900, 560);

    auto* tree = new TrDBTreeView(f);
    tree->SetParent(f);
    tree->SetBounds(8, 8, 330, 540);
    tree->BeginUpdate();
    TDataItemDef* s = Level(tree->DataItemDefs(), &seriesSrc, QStringLiteral("EVENT_SERIES_ID"), QStringLiteral("<<EVENT_SERIES_NAME>>"));
    s->SetRecordStyle(fsBold);
    TDataItemDef* season = Level(s->SubDataItemDefs(), &seasonSrc, QStringLiteral("EVENT_SERIES_SEASON_ID"), QStringLiteral("<<EVENT_SERIES_SEASON_NAME>>"));
    TDataItemDef* ev = Level(season->SubDataItemDefs(), &eventSrc, QStringLiteral("EVENT_ID"), QStringLiteral("<<EVENT_DATE>>  <<EVENT_NAME>>"));
    ev->SetRecordFontColor(0x8B0000);
    TDataItemDef* cls = Level(ev->SubDataItemDefs(), &classSrc, QStringLiteral("CLASS_ID"), QStringLiteral("<<CLASS_NAME>>"));
    cls->EmptyDatasetText = QStringLiteral("(ei sarjoja)");
    cls->SetTitleText(QStringLiteral("Sarjat"));
    cls->SetTitleStyle(fsItalic);
    cls->SetTitleBkColor(0xE8F0E8);
    TDataItemDef* crs = Level(cls->SubDataItemDefs(), &courseSrc, QStringLiteral("CLASS_COURSE_ID"), QStringLiteral("<<COURSE_NAME>> (<<COURSE_LENGTH>> m)"));
    crs->SetRecordBkColor(0xFFF8F0);
    crs->SetFillLeftBorder(2);
    TDataItemDef* folder = tree->DataItemDefs()->Add();
    folder->SetTitleText(QStringLiteral("Seurat"));
    folder->SetTitleStyle(fsBold);
    folder->SetExpandNode(false);
    Level(folder->SubDataItemDefs(), &clubSrc, QStringLiteral("CLUB_ID"), QStringLiteral("<<CLUB_NAME>>"))->MaxRecords = 5;
    tree->EndUpdate();

    // The controls of a result dialog, bound to the current run.
    const int x = 470;
    auto* name = new TrDBEdit(f);
    name->SetParent(f);
    name->SetBounds(x, 30, 260, 23);
    name->SetColor(clWindow);
    name->SetReadOnlyColor(0xF3F3F3);
    name->DBEditLabel()->SetPosition(lpLeftCenter);
    name->DBEditLabel()->SetOwnCaption(QStringLiteral("Nimi"));
    name->SetDataSource(&runsSrc, QStringLiteral("PERSON_NAME"));
    // A button at the edit's right end (a mail link).
    auto* editImages = new TImageList(f);
    editImages->SetSize(16, 16);
    TBitmap at(16, 16);
    at.Canvas()->Brush()->SetColor(clWindow);
    at.Canvas()->FillRect(TRect(0, 0, 16, 16));
    at.Canvas()->Pen()->SetColor(0xA05000);
    at.Canvas()->Pen()->SetWidth(2);
    at.Canvas()->Rectangle(1, 3, 15, 13);
    at.Canvas()->MoveTo(1, 3);
    at.Canvas()->LineTo(8, 9);
    at.Canvas()->LineTo(15, 3);
    editImages->Add(&at, nullptr);
    name->SetImages(editImages);
    name->RightButton()->ImageIndex = 0;
    name->RightButton()->ButtonClickAction = caMailTo;
    name->RightButton()->SetHint(QStringLiteral("Lähetä sähköpostia"));
    name->RightButton()->SetVisible(true);
    auto* club = new TrDBLookupComboBox(f);
    club->SetParent(f);
    club->SetBounds(x, 66, 260, 23);
    club->SetReadOnlyColor(0xF3F3F3);
    club->SetListSource(&clubSrc);
    club->KeyField = QStringLiteral("CLUB_ID");
    club->ListField = QStringLiteral("CLUB_NAME;CLUB_ID");
    club->ListFieldIndexMax = 1;
    club->DBEditLabel()->SetPosition(lpLeftCenter);
    club->DBEditLabel()->SetOwnCaption(QStringLiteral("Seura"));
    club->SetDataSource(&runsSrc, QStringLiteral("CLUB_ID"));
    auto* rented = new TrDBCheckBox(f);
    rented->SetParent(f);
    rented->SetBounds(x, 102, 200, 20);
    rented->SetCaption(QStringLiteral("Lainakortti"));
    rented->ValueChecked = QStringLiteral("K");
    rented->ValueUnchecked = QStringLiteral("E");
    rented->SetDataSource(&runsSrc);
    rented->SetDataField(QStringLiteral("RENTED_CHIP"));
    auto picker = [&](int y, const QString& field, const QString& caption, const QString& empty) {
        auto* p = new TrDBDateTimePicker(f);
        p->SetParent(f);
        p->SetBounds(x, y, 100, 23);
        p->SetKind(dtkTime);
        p->SetFormat(QStringLiteral("''"));
        p->SetFormatEmpty(empty);
        p->SetColor(clWindow);
        p->SetReadOnlyColor(0xF3F3F3);
        p->DBEditLabel()->SetPosition(lpLeftCenter);
        p->DBEditLabel()->SetOwnCaption(caption);
        p->SetDataSource(&runsSrc);
        p->SetDataField(field);
        return p;
    };
    auto* start = picker(134, QStringLiteral("START_TIME"), QStringLiteral("Lähtö"), QStringLiteral("00:00:00"));
    auto* finish = picker(168, QStringLiteral("FINISH_TIME"), QStringLiteral("Maali"), QStringLiteral("00:00:00"));
    finish->SetDataAllowNull(true);
    auto* notes = new TrDBMemo(f);
    notes->SetParent(f);
    notes->SetBounds(x, 220, 400, 120);
    notes->SetColor(clWindow);
    notes->SetReadOnlyColor(0xF3F3F3);
    notes->SetScrollBars(ssVertical);
    notes->DBEditLabel()->SetOwnCaption(QStringLiteral("Huomautukset"));
    notes->SetDataSource(&runsSrc, QStringLiteral("CREDIT_PENALTY_NOTES"));
    auto* status = new TLabel(f);
    status->SetParent(f);
    status->SetBounds(x - 100, 350, 420, 20);
    auto* rec = new TrDBRecView(f);
    rec->SetParent(f);
    rec->SetBounds(350, 374, 540, 176);
    rec->SetColWidths(0, 110);
    rec->SetOptionsEx(GridOptEx(goAddColon) | GridOptEx(goNumberRight));
    rec->SetFields({QStringLiteral("RESULTS_CLASS_ID=Id"), QStringLiteral("PERSON_NAME=Nimi"), QStringLiteral("CLUB_ID=Seura"),
                    QStringLiteral("RENTED_CHIP=Lainakortti"), QStringLiteral("START_TIME=Lähtö"), QStringLiteral("CREDIT_PENALTY_NOTES=Huom.")});
    rec->SetBooleanFields({QStringLiteral("RENTED_CHIP=K;E")});
    rec->SetSpecFields({QStringLiteral("PERSON_NAME=B")});
    rec->SetDataSource(&runsSrc);

    f->Show();
    auto settle = [] {
        for (int i = 0; i < 5; ++i)
            Application->ProcessMessages();
    };
    int shotNo = 0;
    auto shot = [&](const char* name) {
        settle();
        TBitmap whole;
        f->PaintTo(&whole);
        whole.SaveToFile(out + QStringLiteral("/%1_%2.png").arg(++shotNo, 2, 10, QLatin1Char('0')).arg(QLatin1String(name)));
    };

    // 1. Browse state: the read-only colour everywhere; the tree's first node selected.
    status->SetCaption(QStringLiteral("Selaus: %1 solmua").arg(tree->Items()->Count()));
    shot("browse");

    // 2. A course selected, then the tree rebuilt keeping it.
    TTreeNode* course = tree->FindNode(courses->FieldByName(QStringLiteral("CLASS_COURSE_ID")), 21);
    tree->SetSelected(course);
    tree->SetFocus();
    tree->RefreshData(false, true);
    status->SetCaption(QStringLiteral("Uudelleen rakennettu, valittuna: %1").arg(tree->Selected() ? tree->Selected()->Text() : QStringLiteral("-")));
    shot("rebuilt_keeps_selection");

    // 3. Editing the run: editable colours, the finish time cleared, the club list open.
    runs->Next();
    runs->Edit();
    runs->FieldByName(QStringLiteral("FINISH_TIME"))->Clear();
    runs->FieldByName(QStringLiteral("CREDIT_PENALTY_NOTES"))->SetAsString(QStringLiteral("Rasti 7 ohitettu.\nLeimasin ei toiminut."));
    start->SetFocus();
    settle();
    // The open list as its own picture; it closes afterwards.
    auto listShot = [&](const char* name) {
        if (club->ListVisible()) {
            TBitmap list;
            club->PopupList()->PaintTo(&list);
            list.SaveToFile(out + QStringLiteral("/%1_%2.png").arg(shotNo, 2, 10, QLatin1Char('0')).arg(QLatin1String(name)));
        }
        club->CloseUp(false);
    };
    club->DropDown();
    status->SetCaption(QStringLiteral("Muokkaus: %1").arg(club->GetSelectedText()));
    shot("editing");
    listShot("lookup_list");
    // The same list read right to left: each value starts at the other side.
    club->SetBiDiMode(bdRightToLeft);
    club->DropDown();
    listShot("lookup_list_rtl");
    club->SetBiDiMode(bdLeftToRight);
    runs->Cancel();
    (void)finish;

    // 4. The find dialog over the runs, after a search.
    auto* hiddenGrid = new TDBGrid(f);
    hiddenGrid->SetParent(f);
    hiddenGrid->SetBounds(0, 0, 10, 10);
    hiddenGrid->SetVisible(false);
    hiddenGrid->SetDataSource(&runsSrc);
    auto* find = new TrDBFindForm(f);
    find->GDS = hiddenGrid;
    find->Show();
    find->eText->SetText(QStringLiteral("virtanen"));
    find->SetOptIndex(2);
    find->btFindClick(find->btFind);
    find->btFindClick(find->btFindNext);
    settle();
    {
        TBitmap dlg;
        find->PaintTo(&dlg);
        dlg.SaveToFile(out + QStringLiteral("/%1_find_dialog.png").arg(++shotNo, 2, 10, QLatin1Char('0')));
    }
    find->Close();
    delete find;

    // 5. The sort dialog of a data grid sorted by club and time.
    auto* sorter = new TrDBGridSorter_FireDac(f);
    auto* sortGrid = new TrDBGrid(f);
    sortGrid->SetParent(f);
    sortGrid->SetBounds(0, 0, 10, 10);
    sortGrid->SetVisible(false);
    sortGrid->SetSorter(sorter);
    sortGrid->SetDataSource(&runsSrc);
    sortGrid->ChangeSortEx(QStringLiteral("CLUB_ID,START_TIME"), QStringLiteral("A,D"));
    auto* sort = new TrDBSortForm2(f);
    sort->rDBGrid = sortGrid;
    sort->Show();
    settle();
    {
        TBitmap dlg;
        sort->PaintTo(&dlg);
        dlg.SaveToFile(out + QStringLiteral("/%1_sort_dialog.png").arg(++shotNo, 2, 10, QLatin1Char('0')));
    }
    sort->Close();
    delete sort;

    // 6. The column choice dialog of that grid, with the row header offered.
    {
        auto* fields = new TrDBFieldsForm(f);
        fields->GDS = sortGrid;
        fields->UseFixedCol = true;
        fields->Show();
        fields->SelectEntry(2);
        fields->SetEntryChecked(4, false);
        settle();
        TBitmap dlg;
        fields->PaintTo(&dlg);
        dlg.SaveToFile(out + QStringLiteral("/%1_fields_dialog.png").arg(++shotNo, 2, 10, QLatin1Char('0')));
        fields->SelectEntry(0);
        settle();
        fields->PaintTo(&dlg);
        dlg.SaveToFile(out + QStringLiteral("/%1_fields_dialog_row_header.png").arg(shotNo, 2, 10, QLatin1Char('0')));
        fields->Close();
        delete fields;
    }
    // 7. The filter dialog with one condition added and a date range being chosen.
    {
        auto* filter = new TrDBFilterForm(f);
        filter->GDS = sortGrid;
        filter->Show();
        filter->SelectField(QStringLiteral("PERSON_NAME"));
        filter->eValue->SetText(QStringLiteral("Virtanen"));
        filter->AddCondition(false);
        filter->SelectField(QStringLiteral("START_TIME"));
        filter->SelectSign(6);
        filter->SetPeriod(fpMonth, 0);
        filter->TestClick();
        settle();
        TBitmap dlg;
        filter->PaintTo(&dlg);
        dlg.SaveToFile(out + QStringLiteral("/%1_filter_dialog.png").arg(++shotNo, 2, 10, QLatin1Char('0')));
        filter->Close();
        delete filter;
    }
    // 8. The data-aware picture: a drawn picture with its bound bar, and an empty field.
    {
        TClientDataSet pics;
        pics.AddField(QStringLiteral("ID"), ftInteger);
        pics.AddField(QStringLiteral("PHOTO"), ftBlob);
        pics.CreateDataSet();
        TBitmap bmp;
        bmp.SetSize(320, 200);
        TCanvas* c = bmp.Canvas();
        c->Brush()->SetColor(0xE0F0FF);
        c->FillRect(TRect(0, 0, 320, 200));
        c->Brush()->SetColor(0x2080C0);
        c->Ellipse(60, 30, 260, 170);
        c->Font()->SetSize(16);
        c->TextOut(100, 90, QStringLiteral("Rasti 31"));
        TPicture pic;
        pic.AssignBitmap(&bmp);
        QByteArray bytes;
        SavePictureToStream(&pic, bytes, gtJPG);
        pics.AppendRecord({1, bytes});
        pics.AppendRecord({2, QVariant()});
        pics.First();
        TDataSource picSrc;
        picSrc.SetDataSet(&pics);
        TForm* pf = nullptr;
        Application->CreateForm(pf);
        pf->SetCaption(QStringLiteral("Kuva"));
        pf->SetBounds(40, 40, 700, 330);
        auto* full = new TrDBImage(pf);
        full->SetParent(pf);
        full->SetBounds(20, 50, 320, 250);
        full->BoundButtons()->SetSize(22);
        full->BoundButtons()->SetVisible(true);
        full->BoundButtons()->SetTransparent(false);
        full->DBEditLabel()->SetOwnCaption(QStringLiteral("Karttakuva"));
        full->SetDataSource(&picSrc);
        full->SetDataField(QStringLiteral("PHOTO"));
        full->SetReduceToFit(true);
        TDataSource emptySrc;
        TClientDataSet empty;
        empty.AddField(QStringLiteral("PHOTO"), ftBlob);
        empty.CreateDataSet();
        empty.AppendRecord({QVariant()});
        emptySrc.SetDataSet(&empty);
        auto* none = new TrDBImage(pf);
        none->SetParent(pf);
        none->SetBounds(360, 50, 320, 250);
        none->DBEditLabel()->SetOwnCaption(QStringLiteral("Tyhjä kenttä"));
        none->SetDataSource(&emptySrc);
        none->SetDataField(QStringLiteral("PHOTO"));
        pf->Show();
        settle();
        TBitmap page;
        pf->PaintTo(&page);
        page.SaveToFile(out + QStringLiteral("/%1_picture.png").arg(++shotNo, 2, 10, QLatin1Char('0')));
        pf->Close();
    }
    // 9. Field groups, their dialog and the stored filters.
    FieldGroupShots(out, shotNo, settle);
    // 10. The record view with a picture row and the markup memo.
    RecViewAndMemoShots(out, shotNo, settle);
    GridLookupListShot(out, shotNo, settle);
    return 0;
}
