// The library's data grid TrDBGrid: the results grid over 5,000 runs of a
// real event database with a look style, cell colours, a check-box column,
// two title lines, a sort by two fields with its order mark and a footer;
// a second grid over a small table with every display kind; a cell being
// edited; another look style with odd rows. Screenshots go into the folder
// given as the first argument (default "gallery_rdbgrid"); run under Xvfb.

#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridInplaceEditEx.h"
#include "components/grid/rDBGridSorter.h"
#include "platform/database/ClientDataSet.h"
#include "platform/database/DataSource.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "tools/gallery_grid/RunsDatabase.h"

#include <QDate>
#include <QDir>

namespace {

TrDBGrid* PlaceGrid(TForm* F, int X, int Y, int W, int H, TDataSource* Src)
{
    auto* g = new TrDBGrid(F);
    g->SetParent(F);
    g->SetBounds(X, Y, W, H);
    g->SetDataSource(Src);
    return g;
}

// A small table of the display kinds: check box, colour, link, password,
// memo (glyph), date, time, data.
std::unique_ptr<TClientDataSet> KindsTable()
{
    auto d = std::make_unique<TClientDataSet>();
    d->AddField(QStringLiteral("NIMI"), ftWideString, 30);
    d->AddField(QStringLiteral("LAINA"), ftWideString, 1);
    d->AddField(QStringLiteral("VARI"), ftWideString, 20);
    d->AddField(QStringLiteral("KOTISIVU"), ftWideString, 40);
    d->AddField(QStringLiteral("SALASANA"), ftWideString, 20);
    d->AddField(QStringLiteral("HUOM"), ftMemo);
    d->AddField(QStringLiteral("PVM"), ftDate);
    d->AddField(QStringLiteral("AIKA"), ftTime);
    d->AddField(QStringLiteral("ETENEMINEN"), ftInteger);
    d->AddField(QStringLiteral("RASTIT"), ftInteger);
    d->AddField(QStringLiteral("TILA"), ftWideString, 1);
    d->AddField(QStringLiteral("KUVAUS"), ftWideString, 60);
    d->CreateDataSet();
    const char* rows[][6] = {
        {"Virtanen Aino", "K", "Red", "rasti-helsinki.fi", "salainen", "Kaksi riviä\r\nhuomautusta"},
        {"Mäkinen Liisa", "E", "Lime", "ok-espoo.fi", "kissa", ""},
        {"Hämäläinen Säde", "K", "$00FFCC00", "kiito.fi", "abc", "Leimasin 31 puuttui"},
        {"Österberg Ville", "E", "Yellow", "", "x", ""},
        {"Nieminen Matti", "K", "tuntematon", "suunta.fi", "", "Laina-emit palautettu"},
    };
    const char* html[] = {"<B>Voittaja</B>", "<I>hyvä</I> suoritus", "<FONT COLOR=#CC0000>hylätty</FONT>", "tavallinen",
                          "<U>uusi</U> ennätys"};
    const char* state[] = {"0", "3", "0", "5", "0"};
    int i = 0;
    for (auto& r : rows) {
        d->AppendRecord({QString::fromUtf8(r[0]), QString::fromLatin1(r[1]), QString::fromLatin1(r[2]), QString::fromLatin1(r[3]),
                         QString::fromLatin1(r[4]), QString::fromUtf8(r[5]), QDateToDateTime(QDate(2026, 6, 3 + i)),
                         (17 * 60 + 15 * i) / 1440.0, 20 + i * 20, i + 1, QString::fromLatin1(state[i]), QString::fromUtf8(html[i])});
        ++i;
    }
    d->First();
    return d;
}

}  // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery_rdbgrid");
    QDir().mkpath(out);

    TRunsDatabase db(5000);
    auto runs = db.NewRunsQuery();
    runs->Open();
    TDataSource runsSrc;
    runsSrc.SetDataSet(runs.get());
    const char* titles[][2] = {{"RESULTS_CLASS_ID", "Id"}, {"START_NUMBER", "Nro"}, {"PERSON_NAME", "Nimi"},
                               {"CLUB_NAME", "Seura"}, {"CLUB_ID", "Seura-id"}, {"CONTROL_CARD", "Emit-kortti"},
                               {"TIME_SEC", "Aika (s)"}, {"STATUS", "Tila"}, {"START_TIME", "Lähtöaika"},
                               {"FINISH_TIME", "Maaliaika"}, {"ENTRY_FEE", "Maksu"}, {"RENTED_CHIP", "Laina-emit"},
                               {"RESULT_STATUS", "Tulos"}, {"CREDIT_PENALTY_SEC", "Sakko (s)"}, {"LEG_NUMBER", "Osuus"}};
    for (auto& t : titles)
        if (TField* fld = runs->FindField(QString::fromLatin1(t[0])))
            fld->SetDisplayLabel(QString::fromUtf8(t[1]));
    runs->FieldByName(QStringLiteral("START_TIME"))->SetDisplayFormat(QStringLiteral("hh:nn:ss"));
    runs->FieldByName(QStringLiteral("FINISH_TIME"))->SetDisplayFormat(QStringLiteral("hh:nn:ss"));

    TForm* f = nullptr;
    Application->CreateForm(f);
    f->SetCaption(QStringLiteral("Suoritukset – TrDBGrid"));
    f->SetBounds(20, 20, 1260, 800);
    f->DisableAlign();
    auto* caption = new TLabel(f);
    caption->SetParent(f);
    caption->SetBounds(8, 4, 600, 16);
    caption->SetCaption(QStringLiteral("Suoritukset (5 000), lajittelu: seura ↑, aika ↓"));

    // The results grid.
    TrDBGridSorter_FireDac sorter(f);
    TrDBGrid* grid = PlaceGrid(f, 8, 22, 1240, 470, &runsSrc);
    grid->SetSorter(&sorter);
    grid->SetOptions(grid->Options() | dgAlwaysShowSelection);
    grid->SetTitleLines(2);
    grid->SetGridLookStyle(grsBlueOffice);
    grid->SetColorHotTrackRow(0xE8F8E8);
    grid->FieldsAsBoolean.Add(QStringLiteral("RENTED_CHIP=K;E"));
    const int widths[] = {40, 36, 150, 140, 50, 70, 60, 36, 70, 70, 50, 52, 44, 50, 44};
    for (int i = 0; i < grid->Columns()->Count() && i < 15; ++i)
        grid->Columns()->Items(i)->SetWidth(widths[i]);
    TField* status = runs->FieldByName(QStringLiteral("STATUS"));
    // Disqualified runs in red, missing punches' time cell in maroon text.
    grid->OnGetCellParams = [status](TComponent*, TField* F, TFont* Font, TColor& Bk, bool, bool) {
        if (status->AsString() == QLatin1String("3"))
            Bk = 0xC8C8FF;
        else if (status->AsString() == QLatin1String("5") && F->FieldName() == QLatin1String("TIME_SEC"))
            Font->SetColor(clMaroon);
    };
    // The window's own colouring of the result cell: set the brush, draw the default cell.
    grid->OnDrawColumnCell = [grid](TComponent*, const TRect& R, int DataCol, TColumn* Column, TGridDrawState State) {
        if (Column->FieldName() == QLatin1String("RESULT_STATUS")) {
            grid->Canvas()->Brush()->SetColor(0xB0F0B0);
            grid->DefaultDrawColumnCell(R, DataCol, Column, State);
        }
    };
    // The footer's texts carry the grid's summaries.
    grid->FooterRow()->FieldFooterDefs.Add(QStringLiteral("PERSON_NAME=%COUNTALL suoritusta;B"));
    grid->FooterRow()->FieldFooterDefs.Add(QStringLiteral("TIME_SEC=Σ %SUM, max %MAX;R"));
    grid->FooterRow()->RecalculateAfterOpen = true;
    grid->FooterRow()->FixedColText = QStringLiteral("Σ");
    grid->FooterRow()->SetFooterVisible(true);
    grid->ChangeSortEx(QStringLiteral("CLUB_NAME,TIME_SEC"), QStringLiteral("A,D"));
    runs->First();

    // Every display kind over a small table.
    auto kinds = KindsTable();
    TDataSource kindsSrc;
    kindsSrc.SetDataSet(kinds.get());
    auto* caption2 = new TLabel(f);
    caption2->SetParent(f);
    caption2->SetBounds(8, 500, 600, 16);
    caption2->SetCaption(QStringLiteral("Näyttötavat: valintaruutu, väri, linkki, salasana, muistio, päivä, aika, palkki, tilapalkki, kuvat/tekstit, HTML, korostus"));
    TrDBGrid* kgrid = PlaceGrid(f, 8, 518, 1240, 150, &kindsSrc);
    kgrid->FieldsAsBoolean.Add(QStringLiteral("LAINA=K;E"));
    kgrid->FieldsAsColor.Add(QStringLiteral("VARI"));
    kgrid->FieldsAsLink.Add(QStringLiteral("KOTISIVU=http://"));
    kgrid->FieldsAsPassword.Add(QStringLiteral("SALASANA"));
    kgrid->FieldsAsTime.Add(QStringLiteral("AIKA=15"));
    kgrid->FieldsAsDataBar.Add(QStringLiteral("ETENEMINEN=0;100;1;$0080C0FF;$000060E0"));
    kgrid->FieldsAsStatusBar.Add(QStringLiteral("RASTIT=5;1"));
    kgrid->FieldsAsHTMLText.Add(QStringLiteral("KUVAUS"));
    kgrid->DataImages.SetText(QStringLiteral("[TILA]\r\n3=Hylätty\r\n5=Kesken\r\n*=OK\r\n"));
    kgrid->OptionsEx2().HighlightText.Active = true;
    kgrid->OptionsEx2().HighlightText.HighlightText = QStringLiteral("nen");
    kgrid->OptionsEx2().HighlightText.HighlightInFields = QStringList{QStringLiteral("NIMI")};
    kgrid->OptionsEx2().Appearance.DrawColoredRow = true;
    const int kw[] = {130, 50, 100, 120, 70, 50, 75, 65, 80, 90, 60, 140};
    for (int i = 0; i < kgrid->Columns()->Count(); ++i)
        kgrid->Columns()->Items(i)->SetWidth(kw[i]);
    kgrid->LayoutChanged();

    f->EnableAlign();
    f->Show();
    grid->SetFocus();
    auto settle = [] {
        for (int i = 0; i < 5; ++i)
            Application->ProcessMessages();
    };
    int shotNo = 0;
    auto shot = [&](const char* name, TControl* c) {
        settle();
        TBitmap whole;
        f->PaintTo(&whole);
        whole.SaveToFile(out + QStringLiteral("/%1_%2.png").arg(++shotNo, 2, 10, QLatin1Char('0')).arg(QLatin1String(name)));
        if (c) {
            TBitmap g;
            c->PaintTo(&g);
            g.SaveToFile(out + QStringLiteral("/%1_%2_grid.png").arg(shotNo, 2, 10, QLatin1Char('0')).arg(QLatin1String(name)));
        }
    };
    runs->SetRecNo(4);
    grid->SetMouseOverRow(7);
    shot("results", grid);
    shot("kinds", kgrid);

    // An edit in progress: the date cell with Ctrl+Up, then a name typed.
    kgrid->SetFocus();
    kinds->SetRecNo(2);
    kgrid->SetSelectedIndex(6);
    kgrid->ShowEditor();
    if (auto* ed = kgrid->GetInplaceEditor()) {
        Word k = VK_UP;
        ed->KeyDown(k, ssCtrl);
    }
    shot("editing_date", kgrid);
    kinds->Cancel();

    // The footer's summaries over the filtered runs ("%COUNTALL", "%SUM", "%MAX").
    runs->SetFilter(QStringLiteral("STATUS = '0'"));
    runs->SetFiltered(true);
    grid->RecalculateSummaryResults(true);
    shot("footer_summaries", grid);
    runs->SetFiltered(false);
    grid->RecalculateSummaryResults(true);

    // The editor's lists: a pick list as wide as its widest item, and the
    // colour list with a square before each name.
    auto listShot = [&](const char* name) {
        settle();
        auto* ed = kgrid->GetInplaceEditor();
        if (ed && ed->ListVisible() && ed->ActiveList()->Width() > 0 && ed->ActiveList()->Height() > 0) {
            TBitmap l;
            ed->ActiveList()->PaintTo(&l);
            l.SaveToFile(out + QStringLiteral("/%1_%2_list.png").arg(shotNo, 2, 10, QLatin1Char('0')).arg(QLatin1String(name)));
        }
    };
    kgrid->SetFocus();
    kgrid->SetOptions(kgrid->Options() | dgEditing);
    kgrid->Columns()->Items(0)->PickList = {QStringLiteral("Virtanen Aino"),
                                            QStringLiteral("Korhonen-Mäkinen Eero Juhani (Rasti-Helsinki)")};
    auto openList = [&](int DataCol, const char* Name) {
        kgrid->SetSelectedIndex(DataCol);
        kgrid->ShowEditor();
        if (auto* ed = kgrid->GetInplaceEditor()) {
            Word k = VK_F4;
            ed->KeyDown(k, 0);
        }
        shot(Name, kgrid);
        listShot(Name);
        if (auto* ed = kgrid->GetInplaceEditor())
            ed->CloseUp(false);
    };
    openList(0, "editor_picklist");
    kgrid->LoadColorPickList();
    openList(2, "editor_colours");
    kinds->Cancel();

    // Another look style with odd rows, sorted by name only.
    grid->SetGridLookStyle(grsOlive);
    grid->ChangeSort(QStringLiteral("PERSON_NAME"), false);
    runs->First();
    grid->SetFocus();
    shot("olive_by_name", grid);
    return 0;
}
