// Opens a window with the data grid over 5,000 runs of a real event
// database, a tree, and each data-aware control bound to the current run,
// then walks through scrolling, editing a cell and posting it, and writes a
// screenshot after each step into the folder given as the first argument
// (default "gallery_grid"). Run it under Xvfb to look at the result.

#include "platform/database/DataSource.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/TreeViews.h"
#include "tools/gallery_grid/RunsDatabase.h"

#include <QDir>
#include <cstdio>

namespace {

template <class T>
T* Place(TForm* f, TWinControl* parent, int x, int y, int w, int h)
{
    auto* c = new T(f);
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    return c;
}

TLabel* Caption(TForm* f, int x, int y, const QString& text)
{
    auto* l = Place<TLabel>(f, f, x, y, 200, 15);
    l->SetCaption(text);
    return l;
}

}  // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery_grid");
    QDir().mkpath(out);

    TRunsDatabase db(5000);
    auto runs = db.NewRunsQuery();
    runs->Open();
    auto clubs = db.NewClubsQuery();
    clubs->Open();
    TDataSource runsSrc, clubSrc, detailSrc;
    runsSrc.SetDataSet(runs.get());
    clubSrc.SetDataSet(clubs.get());
    // The details of the current run, a detail query following the grid.
    TFbQuery detail;
    detail.SetConnection(&db.Con);
    detail.SetTransaction(&db.Tr);
    detail.SQL().Add(QStringLiteral("select RESULTS_CLASS_ID, PERSON_NAME, CLUB_ID, RENTED_CHIP, START_TIME, CREDIT_PENALTY_NOTES "
                                    "from VRK_RESULTS_CLASS where RESULTS_CLASS_ID = :RESULTS_CLASS_ID"));
    detail.UpdateOptions().UpdateTableName = QStringLiteral("VRK_RESULTS_CLASS");
    detail.UpdateOptions().UpdateFields = QStringLiteral("PERSON_NAME;CLUB_ID;RENTED_CHIP;CREDIT_PENALTY_NOTES");
    detail.SetKeyFieldNames(QStringLiteral("RESULTS_CLASS_ID"));
    detail.SetMasterSource(&runsSrc);
    detail.Open();
    detailSrc.SetDataSet(&detail);

    TForm* f = nullptr;
    Application->CreateForm(f);
    f->SetCaption(QStringLiteral("Tulokset – grid gallery"));
    f->SetBounds(20, 20, 1260, 760);
    f->DisableAlign();

    Caption(f, 8, 6, QStringLiteral("Tulokset (5 000 suoritusta)"));
    auto* grid = Place<TDBGrid>(f, f, 8, 24, 900, 470);
    grid->SetDataSource(&runsSrc);
    grid->SetOptions(grid->Options() | dgAlwaysShowSelection);
    const char* titles[][2] = {{"RESULTS_CLASS_ID", "Id"},      {"START_NUMBER", "Nro"},   {"PERSON_NAME", "Nimi"},
                               {"CLUB_NAME", "Seura"},          {"CLUB_ID", "Seura-id"},   {"CONTROL_CARD", "Emit"},
                               {"TIME_SEC", "Aika (s)"},        {"STATUS", "Tila"},        {"START_TIME", "Lähtö"},
                               {"FINISH_TIME", "Maali"},        {"ENTRY_FEE", "Maksu"},    {"RENTED_CHIP", "Laina"},
                               {"RESULT_STATUS", "Tulos"},      {"CREDIT_PENALTY_SEC", "Sakko"}, {"LEG_NUMBER", "Osuus"}};
    for (auto& t : titles)
        if (TField* fld = runs->FindField(QString::fromLatin1(t[0])))
            fld->SetDisplayLabel(QString::fromUtf8(t[1]));
    runs->FieldByName(QStringLiteral("START_TIME"))->SetDisplayFormat(QStringLiteral("hh:nn:ss"));
    runs->FieldByName(QStringLiteral("FINISH_TIME"))->SetDisplayFormat(QStringLiteral("hh:nn:ss"));
    grid->Columns()->SetState(csDefault);
    grid->LayoutChanged();
    const int widths[] = {40, 36, 150, 140, 60, 60, 60, 36, 62, 62, 50, 40, 40, 44, 40};
    for (int i = 0; i < grid->Columns()->Count() && i < 15; ++i)
        grid->Columns()->Items(i)->SetWidth(widths[i]);
    grid->Columns()->Items(11)->PickList = QStringList{QStringLiteral("K"), QStringLiteral("E")};
    // The row colouring the result windows use: disqualified runs in red.
    grid->OnDrawColumnCell = [grid](TComponent*, const TRect& R, int, TColumn* Column, TGridDrawState State) {
        TField* status = grid->DataSource()->DataSet()->FindField(QStringLiteral("STATUS"));
        if (status && status->AsString() == QLatin1String("3") && !(State & gdSelected)) {
            grid->Canvas()->Brush()->SetColor(0xD0D0FF);
            grid->DefaultDrawColumnCell(R, 0, Column, State);
        }
    };

    Caption(f, 920, 6, QStringLiteral("Navigointi"));
    auto* tree = Place<TTreeView>(f, f, 920, 24, 330, 250);
    TTreeNode* series = tree->Items()->Add(nullptr, QStringLiteral("Iltarastit"));
    TTreeNode* season = tree->Items()->AddChild(series, QStringLiteral("Kesä 2026"));
    TTreeNode* event = tree->Items()->AddChild(season, QStringLiteral("Keskiviikkorastit 3.6."));
    for (const char* c : {"Rata 1 (5,2 km)", "Rata 2 (3,8 km)", "Rata 3 (2,1 km)", "Tutustumisrata"})
        tree->Items()->AddChild(event, QString::fromUtf8(c));
    TTreeNode* clubsNode = tree->Items()->AddChild(season, QStringLiteral("Seurat"));
    for (clubs->First(); !clubs->Eof(); clubs->Next())
        tree->Items()->AddChild(clubsNode, clubs->FieldByName(QStringLiteral("CLUB_NAME"))->AsString());
    tree->Items()->Add(series, QStringLiteral("Talvirastit"))->SetHasChildren(true);
    tree->FullExpand();
    clubsNode->Collapse(false);
    tree->HideSelection = false;
    tree->SetSelected(event->Item(1));

    // The data-aware controls on the current run (through the detail query).
    int y = 290;
    Caption(f, 920, y, QStringLiteral("Nimi (TDBEdit)"));
    auto* name = Place<TDBEdit>(f, f, 1040, y - 3, 210, 22);
    name->SetDataSource(&detailSrc);
    name->SetDataField(QStringLiteral("PERSON_NAME"));
    y += 30;
    Caption(f, 920, y, QStringLiteral("Seura (lookup)"));
    auto* club = Place<TDBLookupComboBox>(f, f, 1040, y - 3, 210, 23);
    club->SetListSource(&clubSrc);
    club->KeyField = QStringLiteral("CLUB_ID");
    club->ListField = QStringLiteral("CLUB_NAME");
    club->SetDataSource(&detailSrc);
    club->SetDataField(QStringLiteral("CLUB_ID"));
    y += 30;
    Caption(f, 920, y, QStringLiteral("Lainakortti"));
    auto* rented = Place<TDBCheckBox>(f, f, 1040, y - 1, 210, 18);
    rented->SetCaption(QStringLiteral("Vuokrattu (K/E)"));
    rented->ValueChecked = QStringLiteral("K");
    rented->ValueUnchecked = QStringLiteral("E");
    rented->SetDataSource(&detailSrc);
    rented->SetDataField(QStringLiteral("RENTED_CHIP"));
    y += 28;
    Caption(f, 920, y, QStringLiteral("Lähtöaika (TDBText)"));
    auto* start = Place<TDBText>(f, f, 1040, y, 210, 15);
    detail.FieldByName(QStringLiteral("START_TIME"))->SetDisplayFormat(QStringLiteral("d.m.yyyy hh:nn:ss"));
    start->SetDataSource(&detailSrc);
    start->SetDataField(QStringLiteral("START_TIME"));
    y += 26;
    Caption(f, 920, y, QStringLiteral("Päivä (picker)"));
    auto* day = Place<TDateTimePicker>(f, f, 1040, y - 3, 120, 22);
    auto showDay = [&] {
        TField* st = detail.FieldByName(QStringLiteral("START_TIME"));
        if (st->IsNull())
            day->SetNull();
        else
            day->SetDateTime(st->AsDateTime());
    };
    showDay();
    y += 30;
    Caption(f, 920, y, QStringLiteral("Ei arvoa (picker)"));
    auto* none = Place<TDateTimePicker>(f, f, 1040, y - 3, 120, 22);
    none->SetNull();
    y += 30;
    Caption(f, 920, y, QStringLiteral("Huomautus (TDBMemo)"));
    auto* notes = Place<TDBMemo>(f, f, 920, y + 18, 330, 70);
    notes->SetDataSource(&detailSrc);
    notes->SetDataField(QStringLiteral("CREDIT_PENALTY_NOTES"));

    auto* info = Place<TLabel>(f, f, 8, 505, 900, 15);
    auto* info2 = Place<TLabel>(f, f, 8, 525, 900, 15);
    auto status = [&](const QString& what) {
        info->SetCaption(QStringLiteral("%1 — rivi %2 / %3, tila %4").arg(what).arg(runs->RecNo()).arg(runs->RecordCount()).arg(int(runs->State())));
        info2->SetCaption(QStringLiteral("Nykyinen: %1, %2").arg(runs->FieldByName(QStringLiteral("PERSON_NAME"))->AsString(),
                                                                runs->FieldByName(QStringLiteral("CLUB_NAME"))->AsString()));
        showDay();
    };

    f->EnableAlign();
    f->Show();
    grid->SetFocus();
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
        TBitmap g;
        grid->PaintTo(&g);
        g.SaveToFile(out + QStringLiteral("/%1_%2_grid.png").arg(shotNo, 2, 10, QLatin1Char('0')).arg(QLatin1String(name)));
    };

    status(QStringLiteral("Avattu"));
    shot("opened");

    // Scrolling: three pages down, then a few rows, a cell to the right.
    for (int i = 0; i < 3; ++i) {
        Word key = VK_NEXT;
        grid->KeyDown(key, 0);
    }
    for (int i = 0; i < 4; ++i) {
        Word key = VK_DOWN;
        grid->KeyDown(key, 0);
    }
    grid->SetSelectedIndex(2);
    status(QStringLiteral("Selattu"));
    shot("scrolled");

    // Editing the name cell: typing opens the editor with the key.
    const QString newName = QStringLiteral("Äijälä Öysti");
    for (QChar ch : newName) {
        if (!grid->EditorMode()) {
            QChar k = ch;
            grid->KeyPress(k);
        } else {
            QChar k = ch;
            grid->InplaceEditor()->KeyPress(k);
            if (!k.isNull())
                grid->InplaceEditor()->SetText(grid->InplaceEditor()->Text() + k);
        }
    }
    grid->InplaceEditor()->SetText(newName);
    status(QStringLiteral("Muokataan solua"));
    shot("editing");

    // Return takes the text; Down leaves the row, which posts it; commit.
    Word key = VK_RETURN;
    grid->InplaceEditor()->KeyDown(key, 0);
    key = VK_DOWN;
    grid->KeyDown(key, 0);
    db.Tr.Commit();
    key = VK_UP;
    grid->KeyDown(key, 0);
    status(QStringLiteral("Tallennettu"));
    shot("posted");

    // The stored value read back from the database by a new query.
    auto check = db.NewRunsQuery();
    check->Open();
    const int id = runs->FieldByName(QStringLiteral("RESULTS_CLASS_ID"))->AsInteger();
    check->Locate(QStringLiteral("RESULTS_CLASS_ID"), id);
    const QString stored = check->FieldByName(QStringLiteral("PERSON_NAME"))->AsString();
    std::printf("run %d stored name: %s (%s)\n", id, stored.toUtf8().constData(), stored == newName ? "ok" : "MISMATCH");

    // A filter and an index on the grid's dataset, then the lookup list open.
    runs->AddIndex(QStringLiteral("byTime"), QStringLiteral("TIME_SEC"));
    runs->SetIndexName(QStringLiteral("byTime"));
    runs->SetFilter(QStringLiteral("(CLUB_NAME LIKE 'Kiito*') AND (STATUS = '0')"));
    runs->SetFiltered(true);
    runs->First();
    status(QStringLiteral("Suodatettu ja lajiteltu ajan mukaan"));
    club->DropDown();
    shot("filtered_sorted");
    {
        // The drop-down data list is a window of its own.
        TBitmap list;
        club->DataList()->PaintTo(&list);
        list.SaveToFile(out + QStringLiteral("/%1_lookup_list.png").arg(shotNo, 2, 10, QLatin1Char('0')));
    }
    club->CloseUp(false);
    check.reset();
    return stored == newName ? 0 : 1;
}
