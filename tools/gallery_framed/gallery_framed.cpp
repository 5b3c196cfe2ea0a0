// Opens windows with the framed controls in their visual styles and states
// and writes one PNG per window into the folder given as the first argument
// (default "gallery_framed"). Run it under Xvfb to look at them.
#include "components/framed/FcButton.h"
#include "components/framed/FcCalculator.h"
#include "components/framed/FcPanelDockManager.h"
#include "components/framed/FcToolbarPopup.h"
#include "platform/ui/PopupHost.h"
#include "components/framed/FcChkLst.h"
#include "components/framed/FcCmboBx.h"
#include "components/framed/FcEdit.h"
#include "components/framed/FcNumericEdit.h"
#include "components/framed/FcGroupBox.h"
#include "components/framed/FcLabel.h"
#include "components/framed/FcPanel.h"
#include "components/framed/FcRadChk.h"
#include "components/framed/FcRadGrp.h"
#include "components/framed/FcStatus.h"
#include "components/framed/FcStatusBar.h"
#include "components/framed/FcToolButton.h"
#include "components/framed/FcToolbarButton.h"
#include "components/framed/FcToolbar.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include <QDir>

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

TForm* NewForm(const QString& Caption, int W, int H)
{
    // built while loading, as the program's windows are; Save finishes it
    auto* f = new TForm(Application);
    f->SetCaption(Caption);
    f->SetBounds(40, 40, W, H);
    return f;
}

void Save(TForm* F, const QString& Out, const QString& Name)
{
    F->Show();
    for (int i = 0; i < 5; ++i)
        Application->ProcessMessages();
    TBitmap shot;
    F->PaintTo(&shot);
    shot.SaveToFile(Out + QLatin1Char('/') + Name + QStringLiteral(".png"));
}

// Status bars: the main window's (three panes and the clock), a classic bar
// with framed panes, a gradient bar and a bar in simple mode.
void StatusSheet(const QString& Out)
{
    TForm* f = NewForm(QStringLiteral("Tilarivit"), 640, 260);
    const TFcVisualStyle looks[3] = {vsWinXP, vsClassic, vsGradient};
    TFcStatusPane* blinker = nullptr;
    for (int i = 0; i < 3; ++i) {
        auto* panel = Place<TFcPanel>(f, f, 0, i * 60, 640, 56);
        panel->SetBorderOuter(fsNone);
        auto* bar = new TFcStatusBar(f);
        bar->SetParent(panel);
        bar->SetVisualStyle(looks[i]);
        bar->SetAutoStyle(false);
        bar->SetBorderWidth(2);
        bar->SetHeight(26);
        auto* web = Place<TFcStatusPane>(f, bar, 2, 2, 220, 22, QStringLiteral("Ei yhteyttä Web -tulospalveluun."));
        web->Font()->SetColor(clRed);
        web->Font()->SetStyle(fsBold);
        auto* client = Place<TFcStatusPane>(f, bar, 222, 2, 150, 22, QStringLiteral("Rastiklubi ry"));
        auto* version = Place<TFcStatusPane>(f, bar, 372, 2, 90, 22, QStringLiteral("v 2.4.1"));
        version->SetAlignment(taCenter);
        auto* clock = Place<TFcClockStatus>(f, bar, 462, 2, 176, 22);
        clock->SetAlignment(taRightJustify);
        clock->OnGetDateTime = [](TComponent*, TDateTime& t) { t = EncodeDateTime(2026, 6, 13, 18, 42, 7, 0); };
        if (i == 1) {
            client->SetFrameStyle(fsLowered);
            version->SetFrameStyle(fsGroove);
            web->SetTransparent(false);
            web->SetFillColor(clInfoBk);
            blinker = version;
        }
    }
    auto* simple = Place<TFcPanel>(f, f, 0, 180, 640, 40);
    simple->SetBorderOuter(fsNone);
    auto* bar = new TFcStatusBar(f);
    bar->SetParent(simple);
    bar->SetVisualStyle(vsClassic);
    bar->SetSimpleStatus(true);
    bar->SetSimpleCaption(QStringLiteral("Luetaan korttia 123456 …"));
    f->AfterConstruction();
    if (PollingControls)
        PollingControls->TimerFired();
    blinker->SetBlinkColor(clRed);
    blinker->SetBlinking(true);
    for (int phase = 0; phase < 2; ++phase) {
        BlinkingControls->TimerFired();
        Save(f, Out, BlinkingControls->BlinkState() == bsOn ? QStringLiteral("status_blink_on")
                                                            : QStringLiteral("status_blink_off"));
    }
}

// Panels: frame styles, the border band, rounded frames, gradients with a dot grid.
void PanelSheet(const QString& Out)
{
    TForm* f = NewForm(QStringLiteral("Paneelit"), 660, 420);
    const TFrameStyleEx styles[] = {fsRaised, fsLowered, fsGroove, fsBump, fsFlat, fsFlatBold, fsButtonUp,
                                    fsButtonDown, fsStatus, fsPopup, fsFlatRounded, fsNone};
    const char* names[] = {"Raised", "Lowered", "Groove", "Bump", "Flat", "FlatBold", "ButtonUp", "ButtonDown",
                           "Status", "Popup", "FlatRounded", "None + band"};
    for (int i = 0; i < 12; ++i) {
        auto* p = Place<TFcPanel>(f, f, 10 + (i % 6) * 106, 10 + (i / 6) * 60, 96, 50, QString::fromLatin1(names[i]));
        p->SetBorderOuter(styles[i]);
        if (i == 11) {
            p->SetBorderWidth(3);
            p->SetBorderColor(clGreen);
        }
        if (i == 10)
            p->SetColor(clWhite);
    }
    const TFcGradientDirection dirs[] = {gdHorizontalEnd, gdVerticalEnd, gdHorizontalCenter, gdVerticalCenter,
                                         gdDiagonalUp, gdDiagonalDown, gdHorizontalBox, gdVerticalBox, gdSquareBox,
                                         gdBigSquareBox};
    for (int i = 0; i < 10; ++i) {
        auto* p = Place<TFcPanel>(f, f, 10 + (i % 5) * 128, 140 + (i / 5) * 80, 118, 70, QStringLiteral("Liukuväri"));
        p->SetVisualStyle(vsGradient);
        p->SetGradientDirection(dirs[i]);
        p->SetBorderOuter(fsFlat);
        p->SetFlatColor(clNavy);
        if (i % 3 == 0) {
            p->SetGradientColorStyle(gcsMSOffice);
        } else if (i % 3 == 1) {
            p->SetGradientColorStyle(gcsCustom);
            p->SetGradientColorStart(clWhite);
            p->SetGradientColorStop(RGB(255, 200, 120));
        }
        p->SetShowGrid(i < 3);
        p->SetGridStyle(TFcGridStyle(i % 3));
    }
    auto* disabled = Place<TFcPanel>(f, f, 10, 310, 200, 50, QStringLiteral("Ei käytössä"));
    disabled->SetEnabled(false);
    auto* wrap = Place<TFcPanel>(f, f, 220, 310, 200, 50,
                                 QStringLiteral("Pitkä otsikko joka rivittyy kahdelle riville paneelissa"));
    wrap->SetAlignmentVertical(avTop);
    wrap->SetAlignment(taLeftJustify);
    wrap->SetTextMargin(6);
    f->AfterConstruction();
    Save(f, Out, QStringLiteral("panels"));
}

// Group boxes in the six styles, radio groups (a real choice and the
// container use), check boxes and radio buttons in their states.
void ChoiceSheet(const QString& Out)
{
    TForm* f = NewForm(QStringLiteral("Valinnat"), 700, 570);
    const TFcGroupBoxStyle styles[] = {gsStandard, gsCustom, gsTopLine, gsFlat, gsBanner, gsUnderline};
    const char* names[] = {"Standard", "Custom", "TopLine", "Flat", "Banner", "Underline"};
    for (int i = 0; i < 6; ++i) {
        auto* g = Place<TFcCustomGroupBox>(f, f, 10 + (i % 3) * 230, 10 + (i / 3) * 80, 220, 70,
                                           QString::fromLatin1(names[i]));
        g->SetGroupStyle(styles[i]);
        g->SetVisualStyle(i == 0 ? vsWinXP : vsClassic);
        if (i == 1)
            g->SetBorderOuter(fsFlatRounded);
        if (i == 2)
            g->CaptionFont()->SetStyle(fsBold);
        if (i == 3) {
            g->SetShowCheckBox(true);
            Place<TFcCheckBox>(f, g, 10, 30, 150, 17, QStringLiteral("Lapsi"));
        }
    }
    auto* status = Place<TFcRadioGroup>(f, f, 10, 180, 440, 70, QStringLiteral("Tila"));
    status->SetItems({QStringLiteral("OK"), QStringLiteral("Keskeytti"), QStringLiteral("Hylätty"),
                      QStringLiteral("Leimausvirhe"), QStringLiteral("Ei lähtenyt")});
    status->SetColumns(4);
    status->SetGroupStyle(gsTopLine);
    status->CaptionFont()->SetStyle(fsBold);
    auto* sex = Place<TFcRadioGroup>(f, f, 460, 180, 220, 70, QStringLiteral("Sukupuoli (vain luku)"));
    sex->SetItems({QStringLiteral("Mies"), QStringLiteral("Nainen")});
    sex->SetColumns(2);
    sex->SetReadOnly(true);
    sex->SetItemHotTrack(true);
    auto* container = Place<TFcRadioGroup>(f, f, 10, 260, 330, 60, QStringLiteral("Maksu"));
    container->SetGroupStyle(gsTopLine);
    container->SetTransparent(true);
    container->CaptionFont()->SetStyle(fsBold);
    Place<TFcCheckBox>(f, container, 8, 24, 150, 17, QStringLiteral("Tulosta kuitti"));
    Place<TFcCheckBox>(f, container, 168, 24, 150, 17, QStringLiteral("Ei korttia"));

    // check boxes: themed, hot-track and classic rows; states across
    const char* looks[] = {"Teema", "Korostus", "Klassinen"};
    for (int row = 0; row < 3; ++row) {
        const int y = 340 + row * 26;
        auto* l = Place<TLabel>(f, f, 10, y + 2, 70, 17, QString::fromLatin1(looks[row]));
        (void)l;
        for (int col = 0; col < 6; ++col) {
            auto* c = Place<TFcCheckBox>(f, f, 80 + col * 100, y, 95, 17, QStringLiteral("Valinta %1").arg(col + 1));
            c->SetThemeAware(row == 0);
            c->SetHotTrack(row == 1);
            c->SetAutoSize(false);
            switch (col) {
            case 1: c->SetChecked(true); break;
            case 2: c->SetAllowGrayed(true); c->SetState(cbGrayed); break;
            case 3: c->SetEnabled(false); c->SetChecked(true); break;
            case 4: c->SetReadOnly(true); c->SetChecked(true); break;
            case 5: static_cast<TControl*>(c)->MouseEnter(); break;
            default: break;
            }
        }
    }
    for (int row = 0; row < 3; ++row) {
        auto* holder = Place<TFcPanel>(f, f, 80, 420 + row * 30, 600, 26);
        holder->SetBorderOuter(fsNone);
        for (int col = 0; col < 5; ++col) {
            auto* r = Place<TFcRadioButton>(f, holder, col * 110, 4, 105, 17, QStringLiteral("Vaihtoehto %1").arg(col + 1));
            r->SetThemeAware(row == 0);
            r->SetHotTrack(row == 1);
            r->SetAutoSize(false);
            if (col == 1)
                r->SetChecked(true);
            if (col == 2)
                r->SetEnabled(false);
            if (col == 3)
                static_cast<TControl*>(r)->MouseEnter();
        }
    }
    // a form scaled to twice the size: the themed glyphs grow with it
    auto* bigCheck = Place<TFcCheckBox>(f, f, 40, 256, 95, 17, QStringLiteral("Iso"));
    bigCheck->SetChecked(true);
    auto* bigRadio = Place<TFcRadioButton>(f, f, 160, 256, 95, 17, QStringLiteral("Iso"));
    bigRadio->SetChecked(true);
    f->AfterConstruction();
    bigCheck->ScaleBy(2, 1);
    bigRadio->ScaleBy(2, 1);
    status->SetItemIndex(3);
    sex->SetItemIndex(1);
    Save(f, Out, QStringLiteral("choices"));
}

// Tool bars in the gradient look with spacers, and push buttons in the three looks.
void ToolbarSheet(const QString& Out)
{
    TForm* f = NewForm(QStringLiteral("Työkalurivit"), 700, 330);
    std::vector<TFcButton*> pressed;
    // 24 x 24 pictures: coloured discs and squares
    auto* images = new TImageList(f);
    images->SetSize(24, 24);
    const TColor tints[] = {clGreen, clNavy, clMaroon, clTeal, clOlive, clPurple};
    for (int i = 0; i < 6; ++i) {
        TBitmap pic(24, 24);
        pic.Canvas()->Brush()->SetColor(clFuchsia);
        pic.Canvas()->FillRect(Rect(0, 0, 24, 24));
        pic.Canvas()->Brush()->SetColor(tints[i]);
        pic.Canvas()->Pen()->SetColor(clBlack);
        if (i % 2)
            pic.Canvas()->Ellipse(2, 2, 22, 22);
        else
            pic.Canvas()->Rectangle(3, 3, 21, 21);
        images->AddMasked(&pic, clFuchsia);
    }
    auto* menu = new TPopupMenu(f);
    const TFcVisualStyle looks3[] = {vsWinXP, vsGradient, vsClassic};
    const TFcGradientColorStyle colors[] = {gcsSystem, gcsMSOffice, gcsCustom};
    for (int i = 0; i < 3; ++i) {
        auto* holder = Place<TFcPanel>(f, f, 0, i * 70, 640, 66);
        holder->SetBorderOuter(fsNone);
        auto* bar = new TFcToolbar(f);
        bar->SetParent(holder);
        bar->SetVisualStyle(i == 2 ? vsGradient : looks3[i]);
        bar->SetGradientColorStyle(colors[i]);
        bar->SetGradientColorStart(clWhite);
        bar->SetGradientColorStop(RGB(200, 220, 255));
        bar->SetImages(images);
        bar->SetTextOptions(ttoShowTextLabels);
        bar->SetRowHeight(50);
        bar->SetButtonWidth(64);
        bar->SetButtonHeight(46);
        bar->SetWrapControls(i != 2);
        const char* names[] = {"Uusi", "Muokkaa", "Poista", "", "Lue", "Tulosta", "", "Lähetä", "Asetukset"};
        for (int b = 0; b < 9; ++b) {
            if (b == 3 || b == 6) {
                auto* s = Place<TFcSpacer>(f, bar, 0, 0, 10, 40);
                s->SetGrooved(true);
                continue;
            }
            auto* btn = Place<TFcToolButton>(f, bar, 0, 0, 64, 46, QString::fromUtf8(names[b]));
            btn->SetImageIndex(b % 6);
            btn->SetUseToolbarVisualStyle(true);
            if (i == 2)
                btn->SetVisualStyle(vsClassic);
            if (i != 1)
                btn->SetFlat(false);
            if (b == 1)
                static_cast<TControl*>(btn)->MouseEnter();
            if (b == 2)
                btn->SetEnabled(false);
            if (b == 4) {
                btn->SetGroupIndex(1);
                btn->SetDown(true);
            }
            if (b == 8) {
                btn->SetDropDownMenu(menu);
                btn->OnClick = [](TComponent*) {};
                btn->SetToolStyle(tsDropDown);
            }
        }
    }
    const char* looks[] = {"Teema", "Korostus", "Klassinen"};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 6; ++col) {
            auto* b = Place<TFcButton>(f, f, 10 + col * 110, 220 + row * 34, 100, 28,
                                       QStringLiteral("%1 %2").arg(QString::fromLatin1(looks[row])).arg(col + 1));
            b->SetThemeAware(row == 0);
            b->SetHotTrack(row == 1);
            if (col == 1)
                b->SetDefault(true);
            if (col == 2)
                b->SetEnabled(false);
            if (col == 3)
                static_cast<TControl*>(b)->MouseEnter();
            if (col == 4) {
                b->SetGroupIndex(1);
                b->SetDown(true);
            }
            if (col == 5)
                pressed.push_back(b);
        }
    }
    f->AfterConstruction();
    for (TFcButton* b : pressed)  // held down with the mouse
        static_cast<TControl*>(b)->MouseDown(mbLeft, ssLeft, 5, 5);
    Save(f, Out, QStringLiteral("toolbars"));
}

// Labels: the 3-D text styles, borders, a rotated and an arc label, the
// result board's message line, and a blinking label in both phases.
void LabelSheet(const QString& Out)
{
    TForm* f = NewForm(QStringLiteral("Nimikkeet"), 640, 360);
    f->SetColor(RGB(230, 236, 240));
    const TTextStyle styles[] = {TTextStyle::tsNormal, tsRaised, tsRecessed, tsShadow};
    const char* names[] = {"Normaali", "Kohokuvio", "Upotettu", "Varjo"};
    for (int i = 0; i < 4; ++i) {
        auto* l = Place<TFcLabel>(f, f, 10 + i * 150, 10, 0, 0, QString::fromLatin1(names[i]));
        l->Font()->SetHeight(-20);
        l->Font()->SetStyle(fsBold);
        l->SetTextStyle(styles[i]);
    }
    auto* framed = Place<TFcLabel>(f, f, 10, 50, 0, 0, QStringLiteral("Kehystetty nimike"));
    framed->SetBorderOuter(fsRaised);
    framed->SetBorderInner(fsLowered);
    framed->SetBorderWidth(2);
    framed->SetBorderColor(clSilver);
    framed->SetTextMargin(4);
    auto* rounded = Place<TFcLabel>(f, f, 200, 50, 0, 0, QStringLiteral("Pyöreä kehys"));
    rounded->SetBorderOuter(fsFlatRounded);
    rounded->SetTextMargin(4);
    rounded->SetColor(clWhite);
    rounded->SetTransparent(false);
    auto* message = Place<TFcLabel>(f, f, 10, 90, 300, 44,
                                    QStringLiteral("Kortti 123456 luettu, tulos tallennettu tietokantaan."));
    message->SetAutoSize(false);
    message->SetWordWrap(true);
    message->SetAlignment(taCenter);
    message->SetTransparent(false);
    message->SetColor(clWhite);
    message->Font()->SetColor(clRed);
    message->Font()->SetStyle(fsBold);
    auto* board = Place<TFcLabel>(f, f, 330, 90, 300, 44, QStringLiteral("1.  Virtanen Matti  32:15"));
    board->SetAutoSize(false);
    board->SetTransparent(false);
    board->SetColor(clBlack);
    board->Font()->SetColor(clWhite);
    board->Font()->SetHeight(-22);
    board->SetLayout(tlCenter);
    auto* rotated = Place<TFcLabel>(f, f, 10, 150, 150, 150, QStringLiteral("Kierretty 45°"));
    rotated->SetAutoSize(false);
    rotated->Font()->SetHeight(-16);
    rotated->SetAngle(45);
    rotated->SetBorderOuter(fsFlat);
    auto* vertical = Place<TFcLabel>(f, f, 170, 150, 40, 150, QStringLiteral("Pystyssä"));
    vertical->SetAutoSize(false);
    vertical->Font()->SetHeight(-16);
    vertical->SetAngle(90);
    vertical->SetBorderOuter(fsFlat);
    auto* arc = Place<TFcLabel>(f, f, 220, 150, 220, 180, QStringLiteral("Suunnistus kaarella"));
    arc->SetAutoSize(false);
    arc->Font()->SetHeight(-18);
    arc->Font()->SetStyle(fsBold);
    arc->SetRotation(roCurve);
    arc->SetAngle(80);
    arc->SetCenterPoint(cpLowerCenter);
    arc->SetTextStyle(tsShadow);
    auto* blink = Place<TFcLabel>(f, f, 460, 160, 0, 0, QStringLiteral("Vilkkuva"));
    blink->Font()->SetHeight(-18);
    blink->SetBlinkColor(clRed);
    auto* disabled = Place<TFcLabel>(f, f, 460, 200, 0, 0, QStringLiteral("Ei käytössä"));
    disabled->SetEnabled(false);
    auto* condensed = Place<TFcLabel>(f, f, 460, 230, 150, 20, QStringLiteral("Hyvin pitkä teksti joka ei mahdu"));
    condensed->SetCondenseCaption(ccAtEnd);
    condensed->SetBorderOuter(fsLowered);
    f->AfterConstruction();
    blink->SetBlinking(true);
    for (int phase = 0; phase < 2; ++phase) {
        BlinkingControls->TimerFired();
        Save(f, Out, BlinkingControls->BlinkState() == bsOn ? QStringLiteral("labels_blink_on")
                                                            : QStringLiteral("labels_blink_off"));
    }
}

// Edits, numeric edits, combo boxes and the list family in their states.
void EditSheet(const QString& Out)
{
    TForm* f = NewForm(QStringLiteral("Kentät ja listat"), 660, 300);
    const char* states[] = {"Normaali", "Kohdistettu", "Vain luku", "Ei käytössä"};
    for (int i = 0; i < 4; ++i) {
        Place<TLabel>(f, f, 10, 12 + i * 30, 90, 17, QString::fromUtf8(states[i]));
        auto* e = Place<TFcEdit>(f, f, 100, 10 + i * 30, 150, 21);
        e->SetText(QStringLiteral("Rastiklubi ry"));
        e->SetFocusColor(RGB(220, 235, 255));
        auto* n = Place<TFcNumericEdit>(f, f, 260, 10 + i * 30, 80, 21);
        n->SetIntegersOnly(false);
        n->SetDisplayFormat(QStringLiteral("0.##"));
        n->SetValue(1234.5);
        auto* c = Place<TFcComboBox>(f, f, 350, 10 + i * 30, 120, 21);
        c->SetItems({QStringLiteral("0"), QStringLiteral("5"), QStringLiteral("10")});
        c->AllowEdit = false;
        c->SetFocusColor(RGB(220, 235, 255));
        if (i == 2) {
            e->SetReadOnly(true);
            n->SetReadOnly(true);
            c->SetReadOnly(true);
        } else if (i == 3) {
            e->SetEnabled(false);
            n->SetEnabled(false);
            c->SetEnabled(false);
        }
        if (i == 1) {
            e->DoEnter();
            n->DoEnter();
            c->DoEnter();
        }
        c->SetItemIndex(1);
    }
    // the edit's own frames, normal and hot
    const TFrameStyle frames[] = {fsFlat, fsFlatBold, fsLowered, fsGroove};
    for (int i = 0; i < 4; ++i) {
        auto* e = Place<TFcEdit>(f, f, 490, 10 + i * 30, 150, 21);
        e->SetText(QStringLiteral("Kehys %1").arg(i + 1));
        e->SetFramingPreference(fpCustomFraming);
        e->SetFrameStyle(frames[i]);
        e->SetFrameColor(clNavy);
        e->SetFrameVisible(true);
        if (i == 3) {
            e->SetFrameHotTrack(true);
            e->SetFrameHotColor(clRed);
            e->DoEnter();
        }
    }
    auto* list = Place<TFcListBox>(f, f, 10, 140, 200, 140);
    list->SetItems({QStringLiteral("//Pojat"), QStringLiteral("H12 Rata A"), QStringLiteral("H14 Rata B"),
                    QStringLiteral("//Tytöt"), QStringLiteral("D12 Rata A"), QStringLiteral("D14 Rata C")});
    list->SetShowGroups(true);
    auto* tabbed = Place<TFcTabbedListBox>(f, f, 220, 140, 200, 140);
    tabbed->SetItems({QStringLiteral("101\tVirtanen Matti\tH21"), QStringLiteral("7\tAho Aino\tD35"),
                      QStringLiteral("1234\tLahtinen Lauri\tH40")});
    tabbed->SetTabStopsMode(tsmAutomatic);
    auto* checks = Place<TFcCheckList>(f, f, 430, 140, 220, 140);
    checks->AllowGrayed = true;
    checks->AddEx(QStringLiteral("//Painikkeet"), false, true);
    checks->AddEx(QStringLiteral("Uusi"), true, true);
    checks->AddEx(QStringLiteral("Muokkaa"), false, true);
    checks->AddEx(QStringLiteral("Poista"), true, false);
    checks->AddEx(QStringLiteral("Tulosta"), false, true);
    checks->SetItemState(4, cbGrayed);
    f->AfterConstruction();
    list->SetItemIndex(2);
    tabbed->SetItemIndex(1);
    checks->SetItemIndex(2);
    Save(f, Out, QStringLiteral("edits_lists"));
}

// The popups (the calculator of a numeric edit, the overflow copies of a
// tool bar) as they open, written from inside their popup loop, and a panel
// with two docked clients under their grabbers.
void PopupSheet(const QString& Out)
{
    TForm* f = NewForm(QStringLiteral("Ponnahdukset"), 560, 300);
    auto* edit = Place<TFcNumericEdit>(f, f, 10, 10, 100, 21);
    edit->SetIntegersOnly(false);
    edit->SetDisplayFormat(QStringLiteral("0.##"));
    edit->SetValue(12.5);
    edit->SetCalculatorVisible(true);
    auto* holder = Place<TFcPanel>(f, f, 0, 60, 560, 60);
    holder->SetBorderOuter(fsNone);
    auto* bar = new TFcToolbar(f);
    bar->SetParent(holder);
    bar->SetVisualStyle(vsGradient);
    bar->SetRowHeight(40);
    for (int i = 0; i < 9; ++i) {
        auto* b = Place<TFcToolButton>(f, bar, 0, 0, 72, 36, QStringLiteral("Nappi %1").arg(i + 1));
        b->SetShowCaption(true);
        b->SetUseToolbarButtonSize(false);
        b->SetBounds(0, 0, 72, 36);
        b->SetFlat(false);
    }
    auto* site = Place<TFcPanel>(f, f, 10, 140, 260, 150);
    site->SetBorderOuter(fsLowered);
    auto* site2 = Place<TFcPanel>(f, f, 290, 140, 260, 150);
    site2->SetBorderOuter(fsLowered);
    f->AfterConstruction();
    bar->SetWrapControls(false);
    bar->PositionControls();
    bar->PositionControls();
    site->SetDockSite(true);
    site2->SetAlign(alNone);
    site2->SetDockSite(true);
    TFcPanel* clients[2] = {};
    for (int i = 0; i < 2; ++i) {
        auto* client = new TFcPanel(f);
        client->SetCaption(i == 0 ? QStringLiteral("Kortinlukija") : QStringLiteral("Tulostaulu"));
        client->SetBorderOuter(fsNone);
        client->SetColor(clWindow);
        site->DockManager()->InsertControl(client);
        clients[i] = client;
    }
    // the second site: a split tree, one zone above two side by side
    const char* names[] = {"Lähtö", "Maali", "Väliajat"};
    TFcPanel* first = nullptr;
    for (int i = 0; i < 3; ++i) {
        auto* client = new TFcPanel(f);
        client->SetCaption(QString::fromUtf8(names[i]));
        client->SetBorderOuter(fsNone);
        client->SetColor(i == 2 ? clMoneyGreen : clWindow);
        if (i == 0)
            site2->DockManager()->InsertControl(client);
        else if (i == 1)
            site2->DockManager()->InsertControl(client, alBottom, first);
        else
            site2->DockManager()->InsertControl(client, alRight, clients[0] == nullptr ? first : site2->DockManager()->Clients(1));
        if (i == 0)
            first = client;
    }
    Save(f, Out, QStringLiteral("popups_docked"));
    auto old = PopupHostHook;
    PopupHostHook = [&Out](TWinControl* Content) {
        TBitmap shot;
        Content->PaintTo(&shot);
        const bool calculator = dynamic_cast<TFcCalculator*>(Content->Controls(0)) != nullptr;
        shot.SaveToFile(Out + (calculator ? QStringLiteral("/calculator_open.png") : QStringLiteral("/overflow_open.png")));
        return false;
    };
    edit->DoDropDown();
    if (bar->ToolbarPopupButton())
        bar->ToolbarPopupButton()->DisplayButtons();
    PopupHostHook = old;
}


// The combo box's own frame and flat button (normal, hot, read-only), push
// buttons with one default at a time, and the older tool-bar buttons with
// hot glyphs and hidden captions.
void ComboButtonSheet(const QString& Out)
{
    TForm* f = NewForm(QStringLiteral("Yhdistelmät ja painikkeet"), 560, 260);
    const char* rows[] = {"Kehys", "Lihava kehys", "Litteä painike", "Vain luku"};
    std::vector<TFcComboBox*> combos;
    for (int i = 0; i < 4; ++i) {
        Place<TLabel>(f, f, 10, 12 + i * 30, 100, 17, QString::fromUtf8(rows[i]));
        auto* c = Place<TFcComboBox>(f, f, 110, 10 + i * 30, 140, 21);
        c->SetItems({QStringLiteral("Lähtö"), QStringLiteral("Maali")});
        c->SetItemIndex(0);
        c->SetFramingPreference(fpCustomFraming);
        c->SetFrameVisible(i < 2);
        c->SetFrameStyle(i == 1 ? fsFlatBold : fsFlat);
        c->SetFrameColor(clNavy);
        c->FlatButtons = i >= 2;
        if (i == 3)
            c->SetReadOnly(true);
        combos.push_back(c);
    }
    // a hot flat button: the mouse is over the third box
    auto* hot = Place<TFcComboBox>(f, f, 260, 70, 140, 21);
    hot->SetItems({QStringLiteral("Lähtö")});
    hot->SetItemIndex(0);
    hot->SetFramingPreference(fpCustomFraming);
    hot->FlatButtons = true;
    hot->SetFrameVisible(true);
    hot->SetFrameHotTrack(true);
    hot->SetFrameHotColor(clRed);
    Place<TLabel>(f, f, 410, 72, 140, 17, QStringLiteral("kohdistettu"));
    // the platform's border flat (Ctl3D off): one line instead of the sunken edge
    auto* flatCombo = Place<TFcComboBox>(f, f, 260, 100, 140, 21);
    flatCombo->SetItems({QStringLiteral("Lähtö")});
    flatCombo->SetItemIndex(0);
    flatCombo->SetCtl3D(false);
    auto* flatEdit = Place<TFcEdit>(f, f, 410, 100, 140, 21);
    flatEdit->SetText(QStringLiteral("ohut reuna"));
    flatEdit->SetCtl3D(false);
    // push buttons: Ok is default, Siirrä has the focus and so the default look
    auto* ok = Place<TFcButton>(f, f, 10, 140, 80, 25, QStringLiteral("&Ok"));
    ok->SetDefault(true);
    auto* cancel = Place<TFcButton>(f, f, 100, 140, 80, 25, QStringLiteral("Peruuta"));
    cancel->SetCancel(true);
    auto* move = Place<TFcButton>(f, f, 190, 140, 80, 25, QStringLiteral("&Siirrä"));
    // the older tool-bar buttons: plain, hot glyph shown, caption hidden, down in a group
    auto* bar = Place<TFcToolbar>(f, f, 10, 180, 540, 60);
    bar->SetAlign(alNone);
    bar->SetBounds(10, 180, 540, 60);
    bar->SetButtonWidth(80);
    bar->SetButtonHeight(50);
    auto glyph = [](TColor Tint, bool Disc) {
        TBitmap pic(24, 24);
        pic.Canvas()->Brush()->SetColor(clFuchsia);
        pic.Canvas()->FillRect(Rect(0, 0, 24, 24));
        pic.Canvas()->Brush()->SetColor(Tint);
        pic.Canvas()->Pen()->SetColor(clBlack);
        if (Disc)
            pic.Canvas()->Ellipse(2, 2, 22, 22);
        else
            pic.Canvas()->Rectangle(3, 3, 21, 21);
        return pic;
    };
    std::vector<TFcToolbarButton*> tbs;
    const char* captions[] = {"&Uusi", "Kuuma", "Piilotettu", "Alhaalla"};
    for (int i = 0; i < 4; ++i) {
        auto* b = new TFcToolbarButton(f);
        b->SetParent(bar);
        b->SetCaption(QString::fromUtf8(captions[i]));
        TBitmap g = glyph(clGreen, false);
        b->SetGlyph(&g);
        TBitmap h = glyph(clRed, true);
        b->SetHotGlyph(&h);
        tbs.push_back(b);
    }
    tbs[2]->SetShowCaption(false);
    tbs[3]->SetGroupIndex(1);
    tbs[3]->SetDown(true);
    bar->UpdateButtonSize(80, 50, true);
    tbs[2]->SetShowCaption(false);
    f->AfterConstruction();
    f->Show();
    Application->ProcessMessages();
    combos[1]->DoEnter();
    hot->DoEnter();
    move->SetFocus();
    tbs[1]->MouseEnter();
    Save(f, Out, QStringLiteral("combos_buttons"));
}

// The same controls twice, left to right and right to left: the right-hand
// column mirrors text, glyphs, drop buttons, arranged buttons and list items.
void RightToLeftSheet(const QString& Out)
{
    TForm* f = NewForm(QStringLiteral("Oikealta vasemmalle"), 760, 470);
    TFcToolbar* bars[2] = {};
    for (int side = 0; side < 2; ++side) {
        auto* host = Place<TFcPanel>(f, f, 10 + side * 375, 10, 365, 450);
        host->SetBorderOuter(fsNone);
        auto* label = Place<TFcLabel>(f, host, 8, 8, 340, 17, QStringLiteral("Lähtöaika: 10.00"));
        label->SetAutoSize(false);
        auto* pane = Place<TFcStatusPane>(f, host, 8, 30, 340, 20, QStringLiteral("Valmis"));
        pane->SetFrameStyle(fsStatus);
        auto* box = Place<TFcCustomGroupBox>(f, host, 8, 56, 340, 60, QStringLiteral("Sarja"));
        box->SetShowCheckBox(true);
        box->SetVisualStyle(vsClassic);
        Place<TFcCheckBox>(f, box, 10, 28, 150, 17, QStringLiteral("Maksettu"))->SetChecked(true);
        Place<TFcRadioButton>(f, box, 170, 28, 150, 17, QStringLiteral("Vuokrakortti"));
        auto* group = Place<TFcRadioGroup>(f, host, 8, 122, 340, 50, QStringLiteral("Tila"));
        group->SetItems({QStringLiteral("OK"), QStringLiteral("Keskeytti"), QStringLiteral("Hylätty")});
        group->SetColumns(3);
        auto* button = Place<TFcButton>(f, host, 8, 180, 160, 25, QStringLiteral("&Tallenna"));
        button->SetAlignment(taLeftJustify);
        auto* edit = Place<TFcEdit>(f, host, 180, 182, 168, 21);
        edit->SetText(QStringLiteral("Virtanen"));
        edit->SetDropButtonVisible(true);
        auto* combo = Place<TFcComboBox>(f, host, 8, 212, 160, 21);
        combo->SetItems({QStringLiteral("H21"), QStringLiteral("D21")});
        combo->SetStyle(csDropDownList);
        combo->SetItemIndex(0);
        auto* bar = Place<TFcToolbar>(f, host, 0, 0, 365, 32);
        bar->SetAlign(alNone);
        bar->SetBounds(0, 240, 365, 32);
        // more buttons than fit: the last ones go to the overflow popup
        const char* captions[] = {"Lähtö", "Maali", "Tulos", "Sarjat", "1", "2", "3", "4", "5", "6"};
        for (int i = 0; i < 10; ++i) {
            const int w = i < 4 ? 70 : 25;
            auto* t = Place<TFcToolButton>(f, bar, 0, 0, w, 25, QString::fromUtf8(captions[i]));
            t->SetShowCaption(true);
            t->SetUseToolbarShowCaption(false);
            t->SetUseToolbarButtonSize(false);
            t->SetBounds(0, 0, w, 25);
            if (i == 5) {
                t->SetToolStyle(tsDropDown);
                t->SetFlat(false);
            }
        }
        bars[side] = bar;
        auto* list = Place<TFcCheckList>(f, host, 8, 280, 340, 160);
        list->AddEx(QStringLiteral("Lähtö\t10.00"), true, true);
        list->AddEx(QStringLiteral("Maali\t11.25"), false, true);
        list->AddEx(QStringLiteral("Väliaika\t10.40"), false, false);
        if (side == 1)
            host->SetBiDiMode(bdRightToLeft);
    }
    f->AfterConstruction();
    for (TFcToolbar* bar : bars) {
        bar->SetWrapControls(false);
        bar->PositionControls();
        bar->PositionControls();
    }
    Save(f, Out, QStringLiteral("right_to_left"));
    // the mirrored bar's overflow popup, as it opens
    auto old = PopupHostHook;
    PopupHostHook = [&Out](TWinControl* Content) {
        TBitmap shot;
        Content->PaintTo(&shot);
        shot.SaveToFile(Out + QStringLiteral("/right_to_left_overflow_open.png"));
        return false;
    };
    if (bars[1]->ToolbarPopupButton())
        bars[1]->ToolbarPopupButton()->DisplayButtons();
    PopupHostHook = old;
}

}  // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery_framed");
    QDir().mkpath(out);
    StatusSheet(out);
    PanelSheet(out);
    ChoiceSheet(out);
    ToolbarSheet(out);
    LabelSheet(out);
    EditSheet(out);
    PopupSheet(out);
    ComboButtonSheet(out);
    RightToLeftSheet(out);
    return 0;
}
