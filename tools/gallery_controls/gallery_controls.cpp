// Writes one screenshot per sheet of the library's improved controls into
// the folder given as the first argument (default "gallery_controls"). Run
// it under Xvfb to look at them as a user would.
#include "components/base/rGroupBox.h"
#include "components/base/rComboBoxEx.h"
#include "components/base/rEditNum.h"
#include "components/base/rHTMLLabel.h"
#include "components/base/rImageEdit.h"
#include "components/base/rImageListEx.h"
#include "components/base/rImageZoom.h"
#include "components/base/rListBoxes.h"
#include "components/base/rMemoEx.h"
#include "components/base/rPopupMonthCalendar.h"
#include "components/base/rRichEdit.h"
#include "components/base/rTabControlEx.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include <QDir>
#include <functional>

namespace {

QString OutDir;

template <class T>
T* Place(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H, const QString& Caption = QString())
{
    auto* c = new T(Owner);
    c->SetParent(Parent);
    c->SetBounds(X, Y, W, H);
    if (!Caption.isNull())
        c->SetCaption(Caption);
    return c;
}

// Builds a window with Fill, shows it, saves it as Name.png and frees it.
void Sheet(const QString& Name, int W, int H, const std::function<void(TForm*)>& Fill,
           const std::function<void(TForm*)>& BeforeShot = nullptr)
{
    TForm* f = nullptr;
    Application->CreateForm(f);
    f->SetCaption(Name);
    f->SetBounds(40, 40, W, H);
    Fill(f);
    f->Show();
    Application->ProcessMessages();
    if (BeforeShot)
        BeforeShot(f);
    Application->ProcessMessages();
    TBitmap bmp;
    f->PaintTo(&bmp);
    bmp.SaveToFile(OutDir + QLatin1Char('/') + Name + QStringLiteral(".png"));
    delete f;
}

TrGroupBox* Box(TForm* F, int X, int Y, int W, int H, const QString& Caption)
{
    auto* b = Place<TrGroupBox>(F, F, X, Y, W, H, Caption);
    Place<TLabel>(F, b, 10, 24, 80, 16, QStringLiteral("Emit-koodi:"));
    Place<TEdit>(F, b, 90, 22, 100, 21)->SetText(QStringLiteral("123456"));
    Place<TLabel>(F, b, 10, 52, 80, 16, QStringLiteral("Nimi:"));
    Place<TEdit>(F, b, 90, 50, 100, 21)->SetText(QStringLiteral("Äijälä Öljy"));
    return b;
}

void GroupBoxes()
{
    TrGroupBox* minimized = nullptr;
    Sheet(QStringLiteral("groupbox"), 640, 400, [&](TForm* f) {
        Box(f, 10, 10, 200, 90, QStringLiteral("Lähtö (3D)"));
        auto* b = Box(f, 220, 10, 200, 90, QStringLiteral("Maali, pyöreä nappi"));
        b->SetFrameType(ftSingleLine);
        b->SetMinMaxBtnType(mmbRound);
        b->SetCaptionColor(0x9E5A2E);
        b = Box(f, 430, 10, 200, 90, QStringLiteral("Kaksoisviiva, oikea"));
        b->SetFrameType(ftDoubleLine);
        b->SetCaptionAlignment(taRightJustify);
        b->SetMinMaxBtnType(mmbRect);
        b = Box(f, 10, 110, 200, 110, QStringLiteral("Liukuväri"));
        b->SetGradientType(gtVertical);
        b->SetGradientColorFrom(clWhite);
        b->SetGradientColorTo(0xE0C8A8);
        b->SetCaptionHeight(18);
        b = Box(f, 220, 110, 200, 110, QStringLiteral("Vasen"));
        b->SetCaptionPosition(cpLeft);
        b->SetFrameColor(clGreen);
        b->SetCaptionColor(clGreen);
        b = Box(f, 430, 110, 200, 110, QStringLiteral("Alhaalla, ei kehystä"));
        b->SetCaptionPosition(cpBottom);
        b->SetFrameType(ftNone);
        b->SetEnabled(false);
        minimized = Box(f, 10, 230, 300, 110, QStringLiteral("Pienennetty"));
        minimized->SetMinMaxBtnType(mmbRound);
        auto* open = Box(f, 320, 230, 310, 110, QStringLiteral("Automaattinen asettelu"));
        open->SetMinMaxBtnType(mmbRound);
        open->SetShowSizeGrip(true);
        open->Controls(1)->SetName(QStringLiteral("edtKoodi"));
        open->Controls(3)->SetName(QStringLiteral("edtNimi"));
        open->AutoResizeChild()->SetChildCompsPos({QStringLiteral("edtKoodi=E;0;0;0;0;0"), QStringLiteral("edtNimi=E;0;0;0;0;0")});
        open->AutoResizeChild()->SetAutoResizeActive(true);
    }, [&](TForm*) { minimized->SetMinimized(true); });
}

void TabControls()
{
    Sheet(QStringLiteral("tabs"), 560, 330, [](TForm* f) {
        // the main window's function tabs
        auto* main = Place<TrTabControlEx>(f, f, 10, 10, 260, 120);
        main->SetTabs({QStringLiteral("Lähtö"), QStringLiteral("Maali")});
        main->OwnerDraw = true;
        main->HotTrack = true;
        main->TabPropsEx()->SetDrawThemed(false);
        main->TabPropsEx()->SetSelectedTabColor(clMoneyGreen);
        main->SetTabIndex(1);
        Place<TLabel>(f, main, 10, 50, 200, 16, QStringLiteral("Maalin toiminnot"));
        // themed, with close buttons and the right-end button
        auto* themed = Place<TrTabControlEx>(f, f, 280, 10, 270, 120);
        themed->SetTabs({QStringLiteral("Rastit"), QStringLiteral("Radat"), QStringLiteral("Sarjat")});
        themed->OwnerDraw = true;
        themed->TabPropsEx()->SetShowCloseBtn(true);
        themed->AddSpaceForCloseBtn(false);
        themed->SetTabRightButtonVisible(true);
        themed->TabRightButton()->SetCaption(QStringLiteral("+"));
        // a page control drawn by the library
        auto* pc = Place<TrPageControlEx>(f, f, 10, 140, 540, 180);
        pc->OwnerDraw = true;
        pc->TabPropsEx()->SetDrawThemed(false);
        pc->TabPropsEx()->SetTabColor(0xF4F4F4);
        pc->TabPropsEx()->SetSelectedTabColor(clWindow);
        for (const char* caption : {"Perustiedot", "Emit-kortit", "Tulokset"}) {
            auto* sheet = new TTabSheet(f);
            sheet->SetPageControl(pc);
            sheet->SetCaption(QString::fromUtf8(caption));
        }
        pc->SetActivePageIndex(0);
        Place<TLabel>(f, pc->Pages(0), 10, 10, 200, 16, QStringLiteral("Kilpailun perustiedot"));
    });
    // tabs at the bottom, left and right, themed and in the standard look with the strip
    Sheet(QStringLiteral("tabs_sides"), 620, 440, [](TForm* f) {
        const TTabPosition sides[] = {tpBottom, tpLeft, tpRight};
        const char* names[] = {"Alhaalla", "Vasemmalla", "Oikealla"};
        for (int i = 0; i < 3; ++i) {
            for (int look = 0; look < 2; ++look) {
                auto* tc = Place<TrTabControlEx>(f, f, 10 + look * 305, 10 + i * 140, 295, 130);
                tc->SetTabPosition(sides[i]);
                tc->SetTabs({QStringLiteral("Lähtö"), QStringLiteral("Maali"), QStringLiteral("Tulokset")});
                tc->OwnerDraw = true;
                tc->HotTrack = true;
                tc->TabPropsEx()->SetDrawThemed(look == 0);
                tc->TabPropsEx()->SetSelectedTabColor(clMoneyGreen);
                tc->SetTabIndex(1);
                const TRect pane = tc->DisplayRect();
                Place<TLabel>(f, tc, pane.Left + 8, pane.Top + 8, 140, 16,
                              QString::fromUtf8(names[i]) + (look == 0 ? QStringLiteral(", teema") : QStringLiteral(", vakio")));
            }
        }
    });
    // a page control with its tabs at the left
    Sheet(QStringLiteral("pages_left"), 420, 220, [](TForm* f) {
        auto* pc = Place<TrPageControlEx>(f, f, 10, 10, 400, 200);
        pc->SetTabPosition(tpLeft);
        pc->OwnerDraw = true;
        pc->TabPropsEx()->SetDrawThemed(false);
        for (const char* caption : {"Perustiedot", "Emit-kortit", "Tulokset"}) {
            auto* sheet = new TTabSheet(f);
            sheet->SetPageControl(pc);
            sheet->SetCaption(QString::fromUtf8(caption));
        }
        pc->SetActivePageIndex(1);
        Place<TLabel>(f, pc->Pages(1), 10, 10, 200, 16, QStringLiteral("Emit-korttien luku"));
    });
}

void Editors()
{
    TrPopupMonthCalendar* calendar = nullptr;
    Sheet(QStringLiteral("editors"), 640, 420, [&](TForm* f) {
        Place<TLabel>(f, f, 10, 14, 60, 16, QStringLiteral("Hinta:"));
        auto* price = Place<TrEditNum>(f, f, 80, 10, 90, 21);
        price->Style = enFloat;
        price->SetFormat(QStringLiteral("0.00"));
        price->SetValue(12.5);
        Place<TLabel>(f, f, 190, 14, 60, 16, QStringLiteral("Saldo:"));
        auto* balance = Place<TrEditNum>(f, f, 250, 10, 90, 21);
        balance->Style = enFloat;
        balance->SetFormat(QStringLiteral("#,##0.00"));
        balance->SetValue(-1234.5);
        Place<TLabel>(f, f, 360, 14, 60, 16, QStringLiteral("Päivä:"));
        auto* day = Place<TEdit>(f, f, 420, 10, 100, 21);
        day->SetText(QStringLiteral("14.5.2026"));
        calendar = TrPopupMonthCalendar::CreateEx(day, nullptr);
        auto* memo = Place<TrMemoEx>(f, f, 10, 44, 300, 180);
        memo->SetText(QStringLiteral("-- Lähtölista\nSELECT nimi, emit FROM kilpailija\nWHERE sarja = 'H21' /* pääsarja\nja sen alasarjat */\nORDER BY lähtöaika;"));
        memo->SetHighlightWords({QStringLiteral("select\tBlue\t-"), QStringLiteral("from\tBlue\t-"),
                                 QStringLiteral("where\tBlue\t-"), QStringLiteral("order by\tBlue\t-")});
        memo->SetHighlightFromToEx({QStringLiteral("/*\t*/\tGreen\t-"), QStringLiteral("--\t#EOL#\tGray\t-")});
        memo->SetPageBreaksCharNumber(QStringLiteral("40"));
        memo->SetWordWrap(false);
        auto* rich = Place<TrRichEdit>(f, f, 320, 44, 310, 180);
        rich->SetRtfText(QStringLiteral(
            "{\\rtf1\\ansi{\\fonttbl{\\f0 DejaVu Sans;}}{\\colortbl ;\\red200\\green0\\blue0;\\red0\\green100\\blue0;}"
            "\\pard\\qc\\fs28\\b Tulosluettelo\\b0\\par\\pard\\fs18 Rata \\i A\\i0 : \\cf1 hylätty\\cf0 , "
            "\\cf2\\ul hyväksytty\\ulnone\\cf0 , \\strike poistettu\\strike0\\par"
            "{\\*\\pn\\pnlvlbody\\pndec}\\li300 Äänekoski\\par{\\*\\pn\\pnlvlbody\\pndec}\\li300 Öljymäki\\par"
            "\\pard\\qr\\fs16 \\u8364? 12,50\\par}"));
        auto* drawn = Place<TPaintBox>(f, f, 320, 236, 310, 60);
        drawn->OnPaint = [drawn, rich](TComponent*) {
            rich->DrawToCanvas(Rect(0, 0, 310, 60), 0, 0, drawn->Canvas(), true);
        };
        Place<TLabel>(f, f, 10, 240, 300, 16, QStringLiteral("Rikastettu teksti piirrettynä (katkaistu):"));
    }, [&](TForm*) {
        calendar->ShowCalendar(EncodeDate(2026, 5, 14));
        Application->ProcessMessages();
        TBitmap bmp;
        calendar->PaintTo(&bmp);
        bmp.SaveToFile(OutDir + QStringLiteral("/calendar.png"));
        calendar->HideCalendar();
    });
}

// A picture drawn in code: a course map-like sketch.
void MapPicture(TPicture* Picture, int W, int H)
{
    TBitmap* b = Picture->Bitmap();
    b->SetSize(W, H);
    TCanvas* c = b->Canvas();
    c->GradientFill(Rect(0, 0, W, H), 0xD8F0FF, 0xB0E0C0, gdVertical);
    c->Pen()->SetColor(0x2060C0);
    c->Pen()->SetWidth(3);
    c->Polyline({{20, H - 30}, {W / 3, H / 2}, {W / 2, H / 3}, {W - 40, 40}});
    c->Brush()->SetStyle(bsClear);
    for (TPoint p : {TPoint{20, H - 30}, TPoint{W / 3, H / 2}, TPoint{W / 2, H / 3}, TPoint{W - 40, 40}})
        c->Ellipse(p.X - 10, p.Y - 10, p.X + 10, p.Y + 10);
    c->Font()->SetHeight(-14);
    c->Font()->SetColor(0x2060C0);
    c->TextOut(10, 10, QStringLiteral("Rata A – 4,2 km"));
}

void ListsAndPictures()
{
    Sheet(QStringLiteral("lists"), 640, 300, [](TForm* f) {
        auto* list = Place<TrListBox>(f, f, 10, 10, 150, 120);
        list->SetItems({QStringLiteral("H21"), QStringLiteral("D21"), QStringLiteral("H35"), QStringLiteral("D35")});
        list->SetItemIndex(1);
        auto* checks = Place<TrCheckListBox>(f, f, 170, 10, 150, 120);
        checks->SetItems({QStringLiteral("Lähtö"), QStringLiteral("Maali"), QStringLiteral("Väliaika"), QStringLiteral("Tulostaulu")});
        checks->SetChecked(0, true);
        checks->SetChecked(2, true);
        checks->SetItemEnabled(3, false);
        checks->CheckboxUpdateMode = chmItemClick;
        auto* colors = Place<TrColorBox>(f, f, 330, 10, 150, 22);
        colors->SetSelected(clMoneyGreen);
        auto* combo = Place<TrComboBoxEx>(f, f, 330, 44, 150, 22);
        combo->SetStyle(csDropDownList);
        combo->SetItems({QStringLiteral("H21"), QStringLiteral("D21"), QStringLiteral("H35")});
        combo->DisplayedItems()->SetAddItemAsFirstColumn(true);
        combo->DisplayedItems()->SetListItems({QStringLiteral("Miehet 21\t12,3 km"), QStringLiteral("Naiset 21\t9,8 km"),
                                               QStringLiteral("Miehet 35\t8,1 km")});
        combo->SetItemIndex(0);
        // the scalable image list: loaded size, centred at 1,5 and resampled at 2
        auto* images = new TrImageListEx(f);
        TBitmap b;
        b.SetAlphaFormat(afDefined);
        b.SetSize(16, 16);
        b.Canvas()->Brush()->SetColor(0x2060C0);
        b.Canvas()->Ellipse(2, 2, 14, 14);
        images->Add(&b);
        images->StoreAsOriginalImages();
        auto* box = Place<TPaintBox>(f, f, 10, 150, 300, 60);
        box->OnPaint = [box, images](TComponent*) {
            TCanvas* c = box->Canvas();
            int x = 0;
            for (double r : {1.0, 1.5, 2.0}) {
                images->ResizeImages(r);
                c->Brush()->SetColor(clWindow);
                c->FillRect(Bounds(x, 0, images->Width() + 8, images->Height() + 8));
                images->Draw(c, x + 4, 4, 0);
                x += images->Width() + 16;
            }
        };
    });
    Sheet(QStringLiteral("picture_view"), 520, 360, [](TForm* f) {
        auto* view = Place<TrImageZoom>(f, f, 10, 10, 240, 160);
        MapPicture(view->Picture(), 480, 320);
        view->SetAutoFit(true);
        auto* zoomed = Place<TrImageZoom>(f, f, 260, 10, 240, 160);
        MapPicture(zoomed->Picture(), 480, 320);
        zoomed->SetZoom(150);
        zoomed->MoveToCenter();
        auto* turned = Place<TrImageZoom>(f, f, 10, 180, 240, 160);
        MapPicture(turned->Picture(), 480, 320);
        turned->SetRotateType(rt090);
        turned->SetAutoFit(true);
        auto* empty = Place<TrImageZoom>(f, f, 260, 180, 240, 160);
        empty->SetBackgroundText(QStringLiteral("Ei kuvaa – lataa kuva valikosta"));
    });
    // zoomed larger than the view: the scroll bars, moved part way
    Sheet(QStringLiteral("picture_scrollbars"), 520, 220, [](TForm* f) {
        auto* view = Place<TrImageZoom>(f, f, 10, 10, 240, 180);
        MapPicture(view->Picture(), 480, 320);
        view->SetScrollBar(true);
        view->SetZoom(200);
        view->SetZoomOffset(Point(120, 90));
        auto* fitted = Place<TrImageZoom>(f, f, 260, 10, 240, 180);
        MapPicture(fitted->Picture(), 480, 320);
        fitted->SetScrollBar(true);
        fitted->Fit();
    });
    TPicture pic;
    MapPicture(&pic, 480, 320);
    auto old = SetModalHook([](TCustomForm* form) {
        auto* e = dynamic_cast<TrImageEditForm*>(form);
        e->Show();
        e->trBrAll->SetPosition(40);
        e->trContr->SetPosition(20);
        Application->ProcessMessages();
        TBitmap bmp;
        e->PaintTo(&bmp);
        bmp.SaveToFile(OutDir + QStringLiteral("/picture_editor.png"));
        return int(mrCancel);
    });
    ShowImageEdit(nullptr, &pic, nullptr, true, true);
    SetModalHook(old);
}

}  // namespace

// HTML labels: tab stops with an inner space, a right-aligned line wider
// than its label, a line ending in a background tag, right-to-left reading.
void HtmlLabels()
{
    Sheet(QStringLiteral("html_labels"), 520, 260, [](TForm* f) {
        auto label = [f](int Y, int W, const QString& Caption) {
            auto* l = Place<TrHTMLLabel>(f, f, 10, Y, W, 22);
            l->SetAutoSize(false);
            l->SetShowBeveled(true);
            l->SetCaption(Caption);
            return l;
        };
        label(10, 300, QStringLiteral("Nimi<TAB>Seura<TAB><TAB>Aika"));
        label(36, 300, QStringLiteral("<B>Ström</B><TAB>Lynx<TAB><TAB>45:10"))->SetInnerSpace(6);
        label(62, 300, QStringLiteral("<B>Äijälä</B><TAB>Rasti-Jussit<TAB>47:02"))->SetTabGridWidth(60);
        label(96, 140, QStringLiteral("Pitkä alku joka ei mahdu <COLOR=Red>LOPPU</COLOR>"))->SetAlignment(taRightJustify);
        label(122, 300, QStringLiteral("Tausta loppuu välilyöntiin:<BGCOLOR=#FFE080>"));
        label(148, 300, QStringLiteral("<U>Alleviivaus jatkuu välilyöntiin</U><U>"));
        auto* rtl = label(182, 300, QStringLiteral("<B>(a)</B> b: c."));
        rtl->SetBiDiMode(bdRightToLeftReadingOnly);
        label(208, 300, QStringLiteral("<B>(a)</B> b: c."));
    });
    // A comment opened by typing on the first line runs over the lines below.
    TrMemoEx* memo = nullptr;
    Sheet(QStringLiteral("memo_typed"), 340, 160, [&memo](TForm* f) {
        memo = Place<TrMemoEx>(f, f, 10, 10, 310, 130);
        memo->SetText(QStringLiteral("SELECT nimi\nFROM kilpailija\nWHERE sarja = 'H21'\nORDER BY aika; */"));
        memo->SetHighlightFromToEx({QStringLiteral("/*\t*/\tGreen\t-")});
        memo->SetWordWrap(false);
    }, [&memo](TForm*) {
        memo->SetFocus();
        memo->SetSelStart(0);
        memo->SetSelText(QStringLiteral("/* "));
    });
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    OutDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery_controls");
    QDir().mkpath(OutDir);
    GroupBoxes();
    TabControls();
    Editors();
    ListsAndPictures();
    HtmlLabels();
    return 0;
}
