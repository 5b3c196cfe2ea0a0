// The data grid's richer cells and decorations over a small table of runs:
// rich-text notes, runner photos as pictures, title buttons and a title
// image, the title line with the record count, the fixed column numbering
// the rows with check boxes, a coupled footer grid; the colour pick list
// dropped down; the memo, picture and table properties dialogs.
// Screenshots go into the folder given as the first argument (default
// "gallery_rdbgrid_cells"); run under Xvfb.

#include "components/dbcontrols/rDBGridPropsDialogs.h"
#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridCellForms.h"
#include "components/grid/rDBGridInplaceEditEx.h"
#include "components/grid/rDBGridPropsForm.h"
#include "platform/database/ClientDataSet.h"
#include "platform/database/DataSource.h"
#include "platform/database/Fields.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/StdCtrls.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPainter>

namespace {

// A small "photo": a coloured card with a head and shoulders.
QByteArray Photo(QRgb Back, QRgb Shirt)
{
    QImage img(48, 36, QImage::Format_RGB32);
    img.fill(Back);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(Shirt));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(10, 22, 28, 24));
    p.setBrush(QColor(240, 200, 170));
    p.drawEllipse(QRectF(17, 6, 14, 16));
    p.end();
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return bytes;
}

std::unique_ptr<TClientDataSet> RunnersTable()
{
    auto d = std::make_unique<TClientDataSet>();
    d->AddField(QStringLiteral("NIMI"), ftWideString, 30);
    d->AddField(QStringLiteral("SEURA"), ftWideString, 20);
    d->AddField(QStringLiteral("KUVA"), ftGraphic);
    d->AddField(QStringLiteral("HUOM"), ftMemo);
    d->AddField(QStringLiteral("VARI"), ftWideString, 20);
    d->AddField(QStringLiteral("AIKA"), ftInteger);
    d->CreateDataSet();
    struct Row {
        const char* Name;
        const char* Club;
        QRgb Back, Shirt;
        const char* Note;
        const char* Colour;
        int Secs;
    };
    const Row rows[] = {
        {"Virtanen Aino", "Rasti-Helsinki", qRgb(200, 220, 255), qRgb(200, 0, 0),
         "{\\rtf1\\ansi{\\colortbl;\\red200\\green0\\blue0;\\red0\\green120\\blue0;}\\b Voittaja\\b0  \\cf1 ennätys\\cf0\\par "
         "\\cf2 Rasti 7 nopein\\par}",
         "Red", 2710},
        {"Mäkinen Liisa", "OK Espoo", qRgb(255, 240, 200), qRgb(0, 90, 200), "{\\rtf1\\ansi\\i Hyvä\\i0  suoritus\\par}", "Lime",
         2855},
        {"Hämäläinen Säde", "Kiito-Tampere", qRgb(220, 255, 220), qRgb(0, 140, 60),
         "{\\rtf1\\ansi{\\colortbl;\\red200\\green0\\blue0;}\\cf1\\ul Leimasin 31 puuttui\\ulnone\\par}", "$00FFCC00", 3120},
        {"Österberg Ville", "Suunta-Äänekoski", qRgb(240, 240, 240), qRgb(90, 90, 90), "{\\rtf1\\ansi Laina-emit palautettu\\par}",
         "Yellow", 3305},
        {"Nieminen Matti", "OK Espoo", qRgb(255, 220, 220), qRgb(120, 0, 160), "", "Blue", 3490},
    };
    for (const Row& r : rows)
        d->AppendRecord({QString::fromUtf8(r.Name), QString::fromUtf8(r.Club), Photo(r.Back, r.Shirt), QString::fromUtf8(r.Note),
                         QString::fromLatin1(r.Colour), r.Secs});
    d->First();
    return d;
}

void FillTitleImages(TImageList* L)
{
    L->SetSize(16, 16);
    const TColor colours[] = {clRed, clGreen, clBlue, clPurple, clTeal};
    for (TColor c : colours) {
        TBitmap b(16, 16);
        b.Canvas()->Brush()->SetColor(clWhite);
        b.Canvas()->FillRect(Rect(0, 0, 16, 16));
        b.Canvas()->Brush()->SetColor(c);
        b.Canvas()->FillRect(Rect(2, 2, 14, 14));
        b.Canvas()->Brush()->SetColor(clWhite);
        b.Canvas()->FillRect(Rect(6, 6, 10, 10));
        L->Add(&b);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery_rdbgrid_cells");
    QDir().mkpath(out);
    auto settle = [] {
        for (int i = 0; i < 5; ++i)
            Application->ProcessMessages();
    };
    auto save = [&](const QString& Name, TControl* C) {
        settle();
        TBitmap b;
        C->PaintTo(&b);
        b.SaveToFile(out + QLatin1Char('/') + Name + QStringLiteral(".png"));
    };

    auto data = RunnersTable();
    // The dialogs as the program has them: with the data-aware layer's hooks.
    InstallDBGridPropsDialogs();
    TDataSource src;
    src.SetDataSet(data.get());
    auto* f = new TForm(nullptr);
    f->SetName(QStringLiteral("GalleryForm"));
    f->SetCaption(QStringLiteral("Juoksijat"));
    f->SetBounds(0, 0, 980, 520);
    auto* grid = new TrDBGrid(f);
    grid->SetName(QStringLiteral("GridRunners"));
    grid->SetParent(f);
    grid->SetBounds(8, 8, 960, 380);
    grid->SetDataSource(&src);
    grid->SetOptions(grid->Options() | dgMultiSelect);
    grid->SetRowFixHeight(44);
    grid->OptionsEx2().Editors.Memo = obtContent;
    grid->OptionsEx2().Editors.Graphic = obtContent;
    grid->FieldsAsRichText.Add(QStringLiteral("HUOM"));
    grid->FieldsAsColor.Add(QStringLiteral("VARI"));
    auto* images = new TImageList(f);
    FillTitleImages(images);
    grid->SetTitleImageList(images);
    grid->TitleButtons.Add(QStringLiteral("NIMI=0,2"));
    grid->TitleImages.Add(QStringLiteral("SEURA=1"));
    grid->TitleHints.Add(QStringLiteral("NIMI_Button1=Etsi juoksija"));
    grid->TitleLineText()->SetText(QStringLiteral("Juoksijoita %d|Kevätrastit 2026"));
    grid->TitleLineText()->SetTextAlign(taCenter);
    grid->TitleLineText()->SetColor(0xF4E8D8);
    TFixedColText* fc = grid->FixedColText();
    fc->SetTextMask(QStringLiteral("<<#>>."));
    fc->SetShowCheckbox(true);
    fc->SetFixedColWidth(62);
    // The footer row: a one-line total running over the next columns, a right-aligned sum.
    grid->FooterRow()->FieldFooterDefs.Add(QStringLiteral("NIMI=5 juoksijaa kolmesta seurasta, yksi leimausvirhe;B"));
    grid->FooterRow()->FieldFooterDefs.Add(QStringLiteral("AIKA=15 480;R;clNavy"));
    grid->FooterRow()->SetFooterHeight(22);
    grid->FooterRow()->SetFooterVisible(true);
    const int widths[] = {160, 150, 70, 300, 110, 70};
    for (int i = 0; i < grid->Columns()->Count(); ++i)
        grid->Columns()->Items(i)->SetWidth(widths[i]);
    grid->LayoutChanged();

    // The coupled footer grid with the totals.
    TClientDataSet totals;
    totals.AddField(QStringLiteral("S_NIMI"), ftWideString, 30);
    totals.AddField(QStringLiteral("S_AIKA"), ftWideString, 20);
    totals.CreateDataSet();
    totals.AppendRecord({QStringLiteral("Yhteensä 5"), QStringLiteral("4 h 18 min")});
    TDataSource totalsSrc;
    totalsSrc.SetDataSet(&totals);
    auto* footer = new TrDBGrid(f);
    footer->SetParent(f);
    footer->SetBounds(8, 392, 960, 52);
    footer->SetOptions(footer->Options() & ~dgTitles);
    footer->SetDataSource(&totalsSrc);
    footer->SetColor(0xE8F4E8);
    grid->SetFooterDBGrid(footer, QStringLiteral("S_"), true, false);

    f->EnableAlign();
    f->Show();
    grid->SetFocus();
    data->SetRecNo(2);
    grid->SelectedRows()->SetCurrentRowSelected(true);
    data->SetRecNo(4);
    grid->SelectedRows()->SetCurrentRowSelected(true);
    data->SetRecNo(2);
    save(QStringLiteral("01_cells"), f);

    // A field group under the title line.
    for (const char* line : {"[1::Juoksija::Navy::Navy::<<NIMI>>::0]", "NIMI=M", "SEURA=0", ""})
        grid->FieldsGroups.Add(QString::fromUtf8(line));
    grid->OptionsEx2().Groups.Active = true;
    grid->LayoutChanged();
    save(QStringLiteral("01b_group_under_title_line"), grid);
    // The same group as a merged header in the gradient style, coloured title
    // grid lines and a filter text in the title's filter bar.
    {
        const grids::TGridDrawingStyle style = grid->DrawingStyle();
        TOptionsAppearance& ap = grid->OptionsEx2().Appearance;
        ap.TitleColLineColor = clSilver;
        ap.TitleColInGroupLineColor = clNavy;
        ap.TitleRowLineColor = clGray;
        save(QStringLiteral("01c_group_lines_coloured"), grid);
        grid->OptionsEx2().Groups.ShowMergedCell = true;
        grid->SetDrawingStyle(grids::gdsGradient);
        grid->OptionsEx2().Filters.TextBar = true;
        grid->LayoutChanged();
        TrDBGridColumnFilters::Of(grid)->ProcFilterBarFilter(data->FieldByName(QStringLiteral("SEURA")), QStringLiteral("OK"));
        save(QStringLiteral("01d_merged_header_filter_bar"), grid);
        TrDBGridColumnFilters::Of(grid)->ProcFilterBarFilter(data->FieldByName(QStringLiteral("SEURA")), QString());
        grid->OptionsEx2().Filters.TextBar = false;
        grid->OptionsEx2().Groups.ShowMergedCell = false;
        grid->SetDrawingStyle(style);
        ap.TitleColLineColor = clNone;
        ap.TitleColInGroupLineColor = clNone;
        ap.TitleRowLineColor = clNone;
    }
    grid->OptionsEx2().Groups.Active = false;
    grid->LayoutChanged();

    // The same grid read from the right: columns from the right edge, the
    // indicator on the right, texts at the mirrored side of their cells.
    grid->SetBiDiMode(bdRightToLeft);
    save(QStringLiteral("01c_right_to_left"), grid);
    grid->SetBiDiMode(bdLeftToRight);

    // The colour cell's pick list dropped down.
    grid->LoadColorPickList();
    data->SetRecNo(3);
    grid->SetSelectedIndex(4);
    grid->ShowEditor();
    if (auto* ed = grid->GetInplaceEditor()) {
        ed->DropDown();
        settle();
        save(QStringLiteral("02_colour_list"), ed->PickListBox());
        ed->CloseUp(false);
    }
    grid->HideInplaceEditor();

    // The memo dialog on a rich-text note and on plain text, the picture dialog.
    {
        TrDBGridMemoForm m(grid);
        m.SetCaption(QStringLiteral("Huomautus"));
        m.IsEdit = true;
        m.IsRichEdit = true;
        data->First();
        m.Text = data->FieldByName(QStringLiteral("HUOM"))->AsString();
        m.Show();
        save(QStringLiteral("03_memo_rich"), &m);
        m.Hide();
    }
    {
        TrDBGridMemoForm m(grid);
        m.SetCaption(QStringLiteral("Huomautus (vain luku)"));
        m.IsEdit = false;
        m.Text = QStringLiteral("Ensimmäinen rivi\r\nToinen rivi, joka on niin pitkä että se rivittyy ikkunan leveyteen, "
                                "kun rivitys on päällä.\r\nKolmas rivi: ÅÄÖ åäö");
        m.Show();
        save(QStringLiteral("04_memo_readonly"), &m);
        m.Hide();
    }
    {
        TrDBGridGraphicForm g(grid);
        g.SetCaption(QStringLiteral("Kuva"));
        g.IsEdit = true;
        data->SetRecNo(2);
        g.Field = data->FieldByName(QStringLiteral("KUVA"));
        g.Source = &src;
        g.Show();
        save(QStringLiteral("05_picture"), &g);
        g.Hide();
    }
    // The table properties dialog.
    {
        TrDBGridPropsForm p(f);
        p.Gr = grid;
        p.AdjustVisibility(true, true, true, true);
        p.Show();
        save(QStringLiteral("06_table_properties"), &p);
        p.Hide();
    }
    delete f;
    return 0;
}
