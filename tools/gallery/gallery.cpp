// Opens a window with every standard control and the library's controls and
// writes one screenshot per control into the folder given as the first
// argument (default "gallery"). Run it under Xvfb to look at the light look.
#include "components/base/rGlyphs.h"
#include "components/base/rHTMLLabel.h"
#include "components/base/rdlg.h"
#include "platform/ui/CheckLst.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/StdCtrls.h"

#include <QDir>
#include <QTimer>

namespace {

template <class T>
T* Place(TForm* f, TWinControl* parent, int x, int y, int w, int h, const QString& caption = QString())
{
    auto* c = new T(f);
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    if (!caption.isNull())
        c->SetCaption(caption);
    return c;
}

// Every standard glyph at its own size and enlarged twice, on a light and
// on a grid-title background, with the look styles' gradients below.
void GlyphSheet(const QString& Out)
{
    TForm* g = nullptr;
    Application->CreateForm(g);
    g->SetCaption(QStringLiteral("Glyphs"));
    g->SetBounds(60, 60, 640, 420);
    auto* box = Place<TPaintBox>(g, g, 0, 0, 640, 420);
    box->OnPaint = [box](TComponent*) {
        TCanvas* c = box->Canvas();
        c->Brush()->SetColor(clWindow);
        c->FillRect(Rect(0, 0, 640, 420));
        c->Font()->SetName(QStringLiteral("Tahoma"));
        c->Font()->SetHeight(-11);
        for (int i = 0; i < StandardGlyphCount; ++i) {
            const int col = i % 6, row = i / 6;
            const int x = 8 + col * 104, y = 8 + row * 52;
            c->Brush()->SetStyle(bsClear);
            c->TextOut(x, y, QString::number(i));
            c->Draw(x + 20, y + 2, rGlyphs.BmpFromIndex(i, 1.0, nullptr));
            c->Draw(x + 44, y + 2, rGlyphs.BmpFromIndex(i, 2.0, nullptr));
            c->Brush()->SetStyle(bsSolid);
        }
        for (int i = 0; i < GridLookStyleCount; ++i) {
            const TGridLookStyleDef& d = GridLookStyleDefs[size_t(i)];
            const int x = 8 + (i % 7) * 89, y = 330 + (i / 7) * 42;
            c->GradientFill(Rect(x, y, x + 85, y + 18), d.GradientStartColor, d.GradientEndColor, gdVertical);
            c->Brush()->SetColor(d.TextBkColor);
            c->FillRect(Rect(x, y + 18, x + 85, y + 38));
            c->Brush()->SetStyle(bsClear);
            c->Font()->SetColor(d.TitleFontColor);
            c->TextOut(x + 3, y + 2, d.StyleName);
            c->Font()->SetColor(d.TextFontColor);
            c->TextOut(x + 3, y + 21, QStringLiteral("Äänekoski 12"));
            c->Font()->SetColor(clWindowText);
            c->Brush()->SetStyle(bsSolid);
        }
    };
    g->Show();
    Application->ProcessMessages();
    TBitmap bmp;
    g->PaintTo(&bmp);
    bmp.SaveToFile(Out + QStringLiteral("/glyphs.png"));
    TForm* icons = nullptr;
    Application->CreateForm(icons);
    icons->SetBounds(60, 60, 4 * 58 + 10, 68);
    const char* names[] = {"DLGINFORMATION", "DLGQUESTION", "DLGWARNING", "DLGERROR"};
    for (int i = 0; i < 4; ++i) {
        auto* img = Place<TImage>(icons, icons, 10 + i * 58, 10, 48, 48);
        img->Picture()->Bitmap()->LoadFromResourceName(QLatin1String(names[i]));
    }
    icons->Show();
    Application->ProcessMessages();
    TBitmap iconBmp;
    icons->PaintTo(&iconBmp);
    iconBmp.SaveToFile(Out + QStringLiteral("/dialog_icons.png"));
}

}  // namespace

// The list and choice controls' window (ListSheet.cpp).
void ListSheet(const QString& Out);

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery");
    QDir().mkpath(out);
    TForm* f = nullptr;
    Application->CreateForm(f);
    f->SetCaption(QStringLiteral("Komponentit – gallery"));
    f->SetBounds(40, 40, 760, 560);
    f->DisableAlign();
    std::vector<std::pair<QString, TControl*>> shots;
    auto shot = [&](const char* name, TControl* c) { shots.emplace_back(QLatin1String(name), c); };

    shot("label", Place<TLabel>(f, f, 10, 10, 200, 13, QStringLiteral("Nimi: Äijänpää Öystilä")));
    auto* edit = Place<TEdit>(f, f, 10, 30, 200, 21);
    edit->SetText(QStringLiteral("Hyvää päivää"));
    shot("edit", edit);
    auto* memo = Place<TMemo>(f, f, 10, 60, 200, 70);
    memo->SetText(QStringLiteral("Ensimmäinen rivi\r\nSecond line\r\nKolmas rivi åäö"));
    shot("memo", memo);
    auto* b = Place<TButton>(f, f, 10, 140, 90, 25, QStringLiteral("&Tallenna"));
    b->SetDefault(true);
    shot("button", b);
    auto* b2 = Place<TButton>(f, f, 110, 140, 90, 25, QStringLiteral("Peruuta"));
    b2->SetEnabled(false);
    shot("button_disabled", b2);
    auto* cb = Place<TCheckBox>(f, f, 10, 175, 200, 17, QStringLiteral("Lainakortti (rented card)"));
    cb->SetChecked(true);
    shot("checkbox", cb);
    auto* rb = Place<TRadioButton>(f, f, 10, 195, 200, 17, QStringLiteral("Maali"));
    rb->SetChecked(true);
    shot("radiobutton", rb);
    auto* combo = Place<TComboBox>(f, f, 10, 220, 200, 21);
    combo->SetItems({QStringLiteral("H21"), QStringLiteral("D21"), QStringLiteral("Rata 3")});
    combo->SetItemIndex(1);
    shot("combobox", combo);
    auto* list = Place<TListBox>(f, f, 10, 250, 200, 80);
    list->SetItems({QStringLiteral("Äänekoski"), QStringLiteral("Helsinki"), QStringLiteral("Jyväskylä"), QStringLiteral("Kuopio"),
                    QStringLiteral("Oulu"), QStringLiteral("Pori"), QStringLiteral("Rovaniemi"), QStringLiteral("Tampere"),
                    QStringLiteral("Turku"), QStringLiteral("Vaasa")});
    list->SetItemIndex(1);
    shot("listbox", list);
    auto* panel = Place<TPanel>(f, f, 230, 10, 240, 50, QStringLiteral("Paneeli / panel"));
    shot("panel", panel);
    auto* gb = Place<TGroupBox>(f, f, 230, 70, 240, 80, QStringLiteral("Asetukset"));
    Place<TLabel>(f, gb, 10, 25, 200, 13, QStringLiteral("Sisältö ryhmässä"));
    shot("groupbox", gb);
    auto* bevel = Place<TBevel>(f, f, 230, 160, 240, 30);
    shot("bevel", bevel);
    auto* image = Place<TImage>(f, f, 480, 10, 64, 64);
    TBitmap pic(64, 64);
    pic.Canvas()->GradientFill(Rect(0, 0, 64, 64), clSkyBlue, clNavy, gdVertical);
    pic.Canvas()->Brush()->SetColor(clYellow);
    pic.Canvas()->Pen()->SetColor(clMaroon);
    pic.Canvas()->Ellipse(12, 12, 52, 52);
    image->Picture()->AssignBitmap(&pic);
    shot("image", image);
    auto* pc = Place<TPageControl>(f, f, 230, 200, 300, 120);
    auto* t1 = new TTabSheet(f);
    t1->SetCaption(QStringLiteral("Tulokset"));
    t1->SetPageControl(pc);
    auto* t2 = new TTabSheet(f);
    t2->SetCaption(QStringLiteral("Lähtö"));
    t2->SetPageControl(pc);
    Place<TLabel>(f, t1, 10, 10, 200, 13, QStringLiteral("Välilehden sisältö"));
    shot("pagecontrol", pc);
    auto* sb = Place<TScrollBox>(f, f, 540, 200, 200, 120);
    Place<TButton>(f, sb, 10, 10, 90, 25, QStringLiteral("Vieritys"));
    Place<TButton>(f, sb, 10, 150, 90, 25, QStringLiteral("Alhaalla"));
    shot("scrollbox", sb);
    auto* images = new TImageList(f);
    for (TColor c : {clGreen, clRed, clBlue}) {
        TBitmap g(16, 16);
        g.Canvas()->Brush()->SetColor(clFuchsia);
        g.Canvas()->FillRect(Rect(0, 0, 16, 16));
        g.Canvas()->Brush()->SetColor(c);
        g.Canvas()->Pen()->SetColor(clBlack);
        g.Canvas()->Ellipse(2, 2, 14, 14);
        images->AddMasked(&g, clFuchsia);
    }
    auto* tb = Place<TToolBar>(f, f, 230, 330, 300, 40);
    tb->SetAlign(alNone);
    tb->Images = images;
    tb->SetButtonWidth(60);
    tb->SetButtonHeight(36);
    tb->SetShowCaptions(true);
    for (int i = 0; i < 3; ++i) {
        auto* btn = new TToolButton(f);
        btn->SetParent(tb);
        btn->SetImageIndex(i);
        btn->SetCaption(QStringList{QStringLiteral("Uusi"), QStringLiteral("Poista"), QStringLiteral("Tallenna")}[i]);
        if (i == 1)
            btn->SetStyle(tbsCheck), btn->SetDown(true);
    }
    shot("toolbar", tb);
    auto* status = Place<TStatusBar>(f, f, 0, 520, 760, 19);
    status->SetAlign(alNone);
    status->AddPanel(QStringLiteral("TYÖASEMA-1"), 150);
    status->AddPanel(QStringLiteral("Versio 26.1"), 100);
    status->AddPanel(QStringLiteral("Yhdistetty tietokantaan."), 200);
    shot("statusbar", status);
    auto* progress = Place<TProgressBar>(f, f, 230, 380, 240, 17);
    progress->SetPosition(60);
    shot("progressbar", progress);
    auto* html = Place<TrHTMLLabel>(f, f, 10, 340, 210, 80);
    html->SetWordWrap(true);
    html->SetAutoSize(false);
    html->SetCaption(QStringLiteral("<B>Tapahtuma</B> valittu.<BR><FONT COLOR=#C00000>Rataa ei ole.</FONT> Lataa radat <A lataa>tästä</A>. <I>English</I> <BIG>iso</BIG>"));
    shot("htmllabel", html);
    auto* checks = Place<TCheckListBox>(f, f, 560, 10, 180, 90);
    checks->SetItems({QStringLiteral("Lähtöajat"), QStringLiteral("Väliajat"), QStringLiteral("Maaliajat"), QStringLiteral("Hylätyt (disabled)"),
                      QStringLiteral("Keskeyttäneet"), QStringLiteral("Results")});
    checks->SetChecked(0, true);
    checks->SetChecked(2, true);
    checks->SetItemEnabled(3, false);
    checks->AllowGrayed = true;
    checks->SetState(4, cbGrayed);
    checks->SetItemIndex(1);
    shot("checklistbox", checks);
    auto* drawn = Place<TListBox>(f, f, 560, 110, 180, 84);
    drawn->SetStyle(lbOwnerDrawFixed);
    drawn->SetItemHeight(20);
    drawn->SetItems({QStringLiteral("Punainen"), QStringLiteral("Vihreä"), QStringLiteral("Sininen"), QStringLiteral("Keltainen"),
                     QStringLiteral("Red"), QStringLiteral("Green")});
    drawn->SetItemIndex(2);
    drawn->OnDrawItem = [drawn](TWinControl*, int Index, const TRect& R, TOwnerDrawState) {
        static const TColor colors[] = {clRed, clGreen, clBlue, clYellow};
        TCanvas* c = drawn->Canvas();
        c->FillRect(R);
        const TColor text = c->Font()->Color();
        c->Brush()->SetColor(colors[Index % 4]);
        c->Pen()->SetColor(clBlack);
        c->Rectangle(R.Left + 3, R.Top + 3, R.Left + 27, R.Bottom - 3);
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(text);
        c->TextOut(R.Left + 34, R.Top + 3, drawn->Strings(Index));
    };
    shot("listbox_ownerdraw", drawn);
    auto* url = Place<TrURLLabel>(f, f, 10, 430, 200, 13, QStringLiteral("https://example.org"));
    shot("urllabel", url);
    f->EnableAlign();
    f->Show();
    for (int i = 0; i < 5; ++i)
        Application->ProcessMessages();
    for (auto& [name, c] : shots) {
        TBitmap bmp;
        c->PaintTo(&bmp);
        bmp.SaveToFile(out + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
    TBitmap whole;
    f->PaintTo(&whole);
    whole.SaveToFile(out + QStringLiteral("/form.png"));

    // the library's message dialog, painted while it runs modally
    SetModalHook([&](TCustomForm* dlg) {
        Application->ProcessMessages();
        TBitmap d;
        dlg->PaintTo(&d);
        d.SaveToFile(out + QStringLiteral("/dialog_question.png"));
        return int(mrYes);
    });
    DlgQ2(QStringLiteral("Haluatko sulkea ohjelman?"), QStringLiteral("Lähettämättömät sanomat jäävät puuttumaan. Do you want to close?"));
    struct DialogShot {
        const char* Name;
        TDialogType Type;
        const char* Text;
    };
    for (DialogShot d : {DialogShot{"dialog_information", dtInformation, "Tiedot tallennettu. Data saved."},
                         DialogShot{"dialog_warning", dtWarning, "Kortti on jo käytössä! Card already in use."},
                         DialogShot{"dialog_error", dtError, "Tietokantaan ei saatu yhteyttä. No database connection."}}) {
        SetModalHook([&](TCustomForm* dlg) {
            Application->ProcessMessages();
            TBitmap shotBmp;
            dlg->PaintTo(&shotBmp);
            shotBmp.SaveToFile(out + QLatin1Char('/') + QLatin1String(d.Name) + QStringLiteral(".png"));
            return int(mrOk);
        });
        ShowDlg(d.Type, btnOk, {QString::fromUtf8(d.Text)}, true);
    }
    SetModalHook(nullptr);
    GlyphSheet(out);
    ListSheet(out);
    return 0;
}
