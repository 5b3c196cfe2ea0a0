// Shows the editable string grid with every data type and edit style and
// writes screenshots into the folder given as the first argument (default
// "gallery_stringgrid"): the data types with an invalid and an out-of-limit
// value, the edit styles, a cell in edit, the open pick list, colour list,
// check list and calendar, and a selected range. Run it under Xvfb.
#include "components/stringgrid/rStringGridEd.h"
#include "components/base/rPopupMonthCalendar.h"
#include "components/stringgrid/rStringGridEdInplaceEdit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/StdCtrls.h"

#include <QDir>

namespace {

using enum TOptionEx;

struct ColDef {
    const char* Caption;
    int Width;
    TrStringGridEdDataType Type;
    TrStringGridEdEditStyle Style;
};

TrStringGridEd* MakeGrid(TForm* f, int Top, int Height, const std::vector<ColDef>& Cols)
{
    auto* g = new TrStringGridEd(f);
    g->SetParent(f);
    g->SetBounds(8, Top, 1084, Height);
    g->SetColCount(int(Cols.size()) + 1);
    g->SetRowCount(7);
    g->SetOptions(g->Options() | goEditing);
    g->SetOptionsEx(OptEx(dgShowTitleBold) | OptEx(dgSelectRange) | OptEx(dgColorChangedCells));
    g->SetDefaultRowHeight(20);
    g->Columns()->Items(0)->SetWidth(28);
    for (size_t i = 0; i < Cols.size(); ++i) {
        TrStringGridEdColumn* c = g->Columns()->Items(int(i) + 1);
        c->SetTitleCaption(QString::fromUtf8(Cols[i].Caption));
        c->SetWidth(Cols[i].Width);
        c->DataType = Cols[i].Type;
        c->SetButtonStyle(Cols[i].Style);
        c->AutoAlignment = true;
    }
    for (int r = 1; r < g->RowCount(); ++r)
        g->SetCells(0, r, QString::number(r));
    return g;
}

void Shot(TForm* f, const QString& Out, const char* Name, TWinControl* Popup = nullptr)
{
    for (int i = 0; i < 4; ++i)
        Application->ProcessMessages();
    TBitmap whole;
    f->PaintTo(&whole);
    if (Popup && Popup->Visible()) {
        // The drop-down is a window of its own: drawn where it lies over the form.
        TBitmap pop;
        Popup->PaintTo(&pop);
        const TPoint origin = f->ClientOrigin();
        whole.Canvas()->Draw(Popup->Left() - origin.X, Popup->Top() - origin.Y, &pop);
    }
    whole.SaveToFile(Out + QLatin1Char('/') + QLatin1String(Name) + QStringLiteral(".png"));
}

void Key(TWinControl* C, Word K, TShiftState S = 0)
{
    C->KeyDown(K, S);
}

}  // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery_stringgrid");
    QDir().mkpath(out);
    TForm* f = nullptr;
    Application->CreateForm(f);
    f->SetCaption(QStringLiteral("Merkkijonoruudukko – gallery"));
    f->SetBounds(20, 20, 1100, 470);

    // ---- every data type ----
    TrStringGridEd* types = MakeGrid(f, 8, 170,
                                     {{"Nimi", 130, sgdText, sgbNone},
                                      {"Aika (min)", 80, sgdNumber, sgbNone},
                                      {"Kierrokset", 74, sgdInteger, sgbNone},
                                      {"Päivä", 84, sgdDate, sgbDateTimePicker},
                                      {"Kello", 64, sgdTime, sgbNone},
                                      {"Aikaleima", 120, sgdDateTime, sgbNone},
                                      {"Edistyminen", 130, sgdDataBar, sgbNone},
                                      {"Tila", 120, sgdStatusBar, sgbNone}});
    types->Columns()->Items(2)->NumFormat = QStringLiteral("0.00");
    types->Columns()->Items(2)->MinValue = 0;
    types->Columns()->Items(2)->MaxValue = 100;
    // Out-of-limit values are black by default; orange shows them here.
    types->Columns()->Items(2)->OutOfLimitDataColor = RGB(0xE0, 0x70, 0x00);
    types->Columns()->Items(4)->NumFormat = QStringLiteral("d.m.yyyy");
    types->Columns()->Items(6)->NumFormat = QStringLiteral("d.m.yyyy h:nn");
    types->Columns()->Items(7)->DataBar.MaxValue = 10000;
    types->Columns()->Items(7)->DataBar.Text = dbtPercent;
    types->Columns()->Items(8)->StatusBar.IconType = sbtPie;
    // Each row shows the status in another style.
    types->OnGeneralEvent = [](TrStringGridEd*, TGeneralEventType T, bool&, TGeneralEventRec& Rec) {
        if (T == geGetStatusBarParam)
            Rec.ParamValue = QStringLiteral("5;%1;;").arg(Rec.Row % 6);
    };
    const char* rows[][8] = {
        {"Äijälä Öljymäki", "45,50", "3", "1.6.2026", "10:15", "1.6.2026 10:15", "1 234,5", "3"},
        {"Ström Åsa", "abc", "12", "2.6.2026", "11:00", "2.6.2026 11:00", "5000", "5"},
        {"Virtanen Ville", "150", "1,5", "32.6.2026", "12:30", "", "9000", "1"},
        {"Kärkkäinen Eeva", "60,25", "4", "", "25:99", "3.6.2026 9:05", "250", "2"},
        {"Lindholm Jussi", "", "7", "5.6.2026", "8:00", "4.6.2026 8:00", "10000", "4"},
        {"Åkerlund Pia", "12", "0", "6.6.2026", "7:45", "5.6.2026 7:45", "7500", "0"},
    };
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 8; ++c)
            types->SetCells(c + 1, r + 1, QString::fromUtf8(rows[r][c]));

    // ---- every edit style ----
    TrStringGridEd* styles = MakeGrid(f, 190, 170,
                                      {{"Seura (lista)", 110, sgdText, sgbDropDownList},
                                       {"Rata (valinta)", 90, sgdText, sgbDropDown},
                                       {"Väri", 90, sgdText, sgbDropDownColor},
                                       {"Luokat", 100, sgdText, sgbDropDownCheckList},
                                       {"Luokat (vain)", 90, sgdText, sgbDropDownCheckListOnly},
                                       {"Kuva", 50, sgdText, sgbDropDownDataImage},
                                       {"Maksettu", 62, sgdText, sgbCheckbox},
                                       {"Toiminto", 80, sgdText, sgbButton},
                                       {"Lisätieto", 90, sgdText, sgbEllipsis},
                                       {"Valitse…", 80, sgdText, sgbEllipsisOnly},
                                       {"Muistio", 110, sgdText, sgbRichText},
                                       {"Oma", 70, sgdText, sgbCustomEditor}});
    // The owner's own editor for the last column: a plain edit here.
    styles->CustomEditorCreate = [](TrStringGridEd* G, TWinControl*& Editor) { Editor = new TEdit(G); };
    const QStringList clubs = {QStringLiteral("Hiidenkiertäjät"), QStringLiteral("Kalevan Rasti"), QStringLiteral("Lynx"),
                               QStringLiteral("Pohjantähti"), QStringLiteral("Rasti-Jussit"), QStringLiteral("Tampereen Pyrintö"),
                               QStringLiteral("Turun Suunnistajat"), QStringLiteral("Vehkalahden Veikot")};
    styles->Columns()->Items(1)->PickList = clubs;
    styles->Columns()->Items(2)->PickList = {QStringLiteral("Rata 1"), QStringLiteral("Rata 2"), QStringLiteral("Rata 3")};
    const QStringList classes = {QStringLiteral("H21"), QStringLiteral("D21"), QStringLiteral("H35"), QStringLiteral("D35"),
                                 QStringLiteral("H16"), QStringLiteral("D16")};
    styles->Columns()->Items(4)->PickList = classes;
    styles->Columns()->Items(5)->PickList = classes;
    auto* images = new TImageList(f);
    images->SetSize(16, 16);
    const TColor imageColors[] = {clRed, clGreen, clBlue, clYellow};
    for (TColor ic : imageColors) {
        TBitmap b(16, 16);
        b.Canvas()->Brush()->SetColor(clWhite);
        b.Canvas()->FillRect(Rect(0, 0, 16, 16));
        b.Canvas()->Brush()->SetColor(ic);
        b.Canvas()->Pen()->SetColor(clBlack);
        b.Canvas()->Ellipse(Rect(1, 1, 15, 15));
        images->AddMasked(&b, clWhite);
    }
    styles->Columns()->Items(6)->SetDataImageList(images);
    const char* srows[][12] = {
        {"Lynx", "Rata 1", "Red", "H21,D21", "H35", "0", "1", "Tulosta", "huom.", "", "{\\rtf1\\ansi Vahva {\\b teksti}\\par toinen}", "oma"},
        {"Kalevan Rasti", "Rata 2", "$0080FF00", "D35", "", "1", "0", "Tulosta", "", "valittu", "Tavallinen teksti"},
        {"Pohjantähti", "Rata 3", "Navy", "", "H16,D16", "2", "1", "Tulosta", "", "", ""},
        {"Rasti-Jussit", "", "Yellow", "H21", "", "3", "TRUE", "Tulosta", "x", "", ""},
        {"", "", "", "", "", "", "0", "Tulosta", "", "", ""},
        {"Lynx", "Rata 1", "Teal", "", "", "0", "1", "Tulosta", "", "", ""},
    };
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 12; ++c)
            styles->SetCells(c + 1, r + 1, QString::fromUtf8(srows[r][c] ? srows[r][c] : ""));
    styles->Columns()->Items(7)->CheckBoxTrueValue = QStringLiteral("true");

    // ---- a small grid for the range, the changed cells and a sorted column ----
    TrStringGridEd* range = MakeGrid(f, 372, 90,
                                     {{"Nimi", 140, sgdText, sgbNone}, {"Seura", 140, sgdText, sgbNone}, {"Pisteet", 70, sgdInteger, sgbNone}});
    range->SetBounds(8, 372, 400, 90);
    range->SetRowCount(4);
    const char* rr[][3] = {{"Öhman", "Lynx", "12"}, {"Aalto", "Rasti-Jussit", "7"}, {"Ärölä", "Pohjantähti", "30"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            range->SetCells(c + 1, r + 1, QString::fromUtf8(rr[r][c]));
    range->SortData(1, false, true);
    range->SetSelectedRange({1, 1, 2, 2});
    range->ChangedCells << TrStringGridEd::GetChangedCellStr(3, 3);

    // ---- times without a number format, a wide data image, status bars at halves ----
    TrStringGridEd* fit = MakeGrid(f, 372, 90,
                                   {{"Kello", 70, sgdTime, sgbNone},
                                    {"Aikaleima", 120, sgdDateTime, sgbNone},
                                    {"Kuva", 60, sgdText, sgbNone},
                                    {"Tila", 110, sgdStatusBar, sgbNone}});
    fit->SetBounds(420, 372, 672, 90);
    fit->SetRowCount(4);
    auto* wide = new TImageList(f);
    wide->SetSize(96, 24);
    TBitmap banner(96, 24);
    banner.Canvas()->Brush()->SetColor(RGB(0x20, 0x60, 0xC0));
    banner.Canvas()->FillRect(Rect(0, 0, 96, 24));
    banner.Canvas()->Brush()->SetColor(clYellow);
    banner.Canvas()->Ellipse(Rect(2, 2, 22, 22));
    banner.Canvas()->Ellipse(Rect(74, 2, 94, 22));
    wide->Add(&banner);
    fit->Columns()->Items(3)->SetDataImageList(wide);
    fit->OnGetCellParamsEx = [](TrStringGridEd*, int ACol, TDataImageDef& D, bool&, TColor&, TFont*, int) {
        if (ACol == 3) {
            D.UseDataImage = true;
            D.ImageIndex = 0;
            D.ImageAlignment = QStringLiteral("C");
        }
    };
    const char* fr[][4] = {{"12:30", "5.3.2024 12:00", "", "2,5"}, {"7:15", "6.3.2024 7:15", "", "3,5"}, {"", "", "", "4"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            fit->SetCells(c + 1, r + 1, QString::fromUtf8(fr[r][c]));
    // typed values finished as Return finishes them
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 2; ++c)
            fit->DoFinishEditing(c, r, true);

    f->Show();
    Shot(f, out, "grid");

    // ---- a cell in edit ----
    types->SetFocus();
    types->FocusCell(2, 1, true);
    Key(types, VK_F2);
    Shot(f, out, "cell_in_edit");
    Key(types->InplaceEditor(), VK_ESCAPE);

    // ---- an ellipsis cell in edit ----
    styles->SetFocus();
    styles->FocusCell(9, 1, true);
    Key(styles, VK_F2);
    Shot(f, out, "ellipsis_in_edit");
    Key(styles->InplaceEditor(), VK_ESCAPE);

    // ---- the rich text and the owner's editor over their cells ----
    styles->FocusCell(11, 1, true);
    Key(styles, VK_F2);
    styles->InplaceEditorEd()->ShowRichEditor(styles->CellRect(11, 1));
    Shot(f, out, "richtext_in_edit");
    styles->InplaceEditorEd()->HideRichEditor(false);
    styles->SetFocus();
    styles->FocusCell(12, 1, true);
    Key(styles, VK_F2);
    styles->InplaceEditorEd()->ShowCustomEditor(styles->CellRect(12, 1));
    Shot(f, out, "customeditor_in_edit");
    styles->InplaceEditorEd()->HideCustomEditor(false);
    styles->SetFocus();

    // ---- the open lists: plain, colour, check list, images ----
    const struct {
        int Col, Row;
        const char* Name;
    } lists[] = {{1, 2, "picklist_open"}, {3, 1, "colorlist_open"}, {4, 1, "checklist_open"}, {6, 2, "imagelist_open"}};
    for (const auto& l : lists) {
        styles->FocusCell(l.Col, l.Row, true);
        Key(styles, VK_F4);
        Shot(f, out, l.Name, styles->InplaceEditorEd()->PickListEd());
        Key(styles->InplaceEditor(), VK_ESCAPE);
    }

    // ---- the calendar ----
    types->SetFocus();
    types->FocusCell(4, 1, true);
    Key(types, VK_F4);
    Shot(f, out, "calendar_open", types->InplaceEditorEd()->PopupCalendar());
    Key(types->InplaceEditor(), VK_ESCAPE);
    return 0;
}
