// A second gallery window: wide and tabbed list boxes, a virtual list, owner-
// drawn combo boxes, colour boxes (closed and with their list) and memos.
#include "platform/ui/ColorBox.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPixmap>

namespace {

template <class T>
T* Put(TForm* f, int x, int y, int w, int h)
{
    auto* c = new T(f);
    c->SetParent(f);
    c->SetBounds(x, y, w, h);
    return c;
}

// The drop-down list of a combo box, opened for the picture and closed again.
void SaveDropDownList(TComboBox* Combo, const QString& File)
{
    Combo->SetDroppedDown(true);
    for (int i = 0; i < 5; ++i)
        Application->ProcessMessages();
    QAbstractItemView* view = static_cast<QComboBox*>(Combo->Widget())->view();
    view->grab().save(File);
    Combo->SetDroppedDown(false);
    Application->ProcessMessages();
}

}  // namespace

void ListSheet(const QString& Out)
{
    TForm* f = nullptr;
    Application->CreateForm(f);
    f->SetCaption(QStringLiteral("Listat ja valinnat"));
    f->SetBounds(60, 60, 700, 420);
    std::vector<std::pair<QString, TControl*>> shots;

    auto* wide = Put<TListBox>(f, 10, 10, 200, 100);
    wide->SetItems({QStringLiteral("Jyväskylän Suunnistajat – H21 pitkä matka, lähtö 10:00"),
                    QStringLiteral("Kalevan Rasti – D21 sprintti, lähtö 10:02"),
                    QStringLiteral("Helsingin Suunnistajat – H35 keskimatka"), QStringLiteral("Oulun Suunnistajat"),
                    QStringLiteral("Turun Suunnistajat"), QStringLiteral("Vaasan Suunnistajat")});
    wide->SetScrollWidth(420);
    wide->SetLeftOffset(60);
    wide->SetItemIndex(1);
    shots.emplace_back(QStringLiteral("listbox_hscroll"), wide);

    auto* tabs = Put<TListBox>(f, 220, 10, 230, 100);
    tabs->TabWidth = 60;
    tabs->SetItems({QStringLiteral("101\tVirtanen Matti\tH21"), QStringLiteral("102\tÄijälä Öljy\tD35"),
                    QStringLiteral("103\tSmith John\tH40"), QStringLiteral("104\tLahtinen Aino\tD21")});
    tabs->SetItemIndex(0);
    shots.emplace_back(QStringLiteral("listbox_tabs"), tabs);

    auto* virt = Put<TListBox>(f, 460, 10, 220, 100);
    virt->SetStyle(lbVirtual);
    virt->OnData = [](TWinControl*, int Index, QString& Data) {
        Data = QStringLiteral("Emit-kortti %1").arg(200000 + Index);
    };
    virt->SetCount(100000);
    virt->SetItemIndex(50000);
    shots.emplace_back(QStringLiteral("listbox_virtual"), virt);

    auto* owner = Put<TComboBox>(f, 10, 130, 200, 24);
    owner->SetStyle(csOwnerDrawFixed);
    owner->SetItemHeight(20);
    owner->SetItems({QStringLiteral("Kuntorata"), QStringLiteral("Sprintti"), QStringLiteral("Yösuunnistus"), QStringLiteral("Long")});
    owner->OnDrawItem = [owner](TWinControl*, int Index, const TRect& R, TOwnerDrawState) {
        static const TColor marks[] = {clGreen, clRed, clNavy, clOlive};
        TCanvas* c = owner->Canvas();
        c->FillRect(R);
        const TColor text = c->Font()->Color();
        c->Brush()->SetColor(marks[Index % 4]);
        c->Pen()->SetColor(clBlack);
        c->Ellipse(R.Left + 3, R.Top + 3, R.Left + 3 + R.Height() - 6, R.Bottom - 3);
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(text);
        c->TextOut(R.Left + R.Height() + 4, R.Top + (R.Height() - c->TextHeight(QStringLiteral("Wg"))) / 2,
                   owner->Items().value(Index));
        c->Brush()->SetStyle(bsSolid);
    };
    owner->SetItemIndex(2);
    shots.emplace_back(QStringLiteral("combobox_ownerdraw"), owner);

    auto* colors = Put<TColorBox>(f, 220, 130, 200, 22);
    colors->SetColorStyle(cbStandardColors | cbExtendedColors | cbCustomColor | cbPrettyNames);
    colors->SetSelected(clTeal);
    shots.emplace_back(QStringLiteral("colorbox"), colors);

    auto* systemColors = Put<TColorBox>(f, 430, 130, 250, 22);
    systemColors->SetColorStyle(cbSystemColors | cbIncludeNone | cbIncludeDefault);
    systemColors->SetSelected(clBtnFace);
    shots.emplace_back(QStringLiteral("colorbox_system"), systemColors);

    auto* list = Put<TComboBox>(f, 10, 170, 200, 22);
    list->SetStyle(csDropDownList);
    list->SetSorted(true);
    list->SetItems({QStringLiteral("Tampere"), QStringLiteral("Äänekoski"), QStringLiteral("Espoo"), QStringLiteral("Oulu")});
    list->SetItemIndex(0);
    shots.emplace_back(QStringLiteral("combobox_list"), list);

    auto* plain = Put<TMemo>(f, 10, 210, 320, 110);
    plain->SetWordWrap(false);
    plain->SetScrollBars(ssBoth);
    plain->SetText(QStringLiteral("Rata 1: 31 – 45 – 32 – 50 – 61 – 33 – 100 – Maali (ei rivitystä, vaakavieritys)\r\n"
                                  "Course 2: 41 – 42 – 48 – 100\r\nRata 3\r\nRata 4\r\nRata 5\r\nRata 6\r\nRata 7"));
    plain->SetSelStart(0);
    plain->SetSelLength(6);
    shots.emplace_back(QStringLiteral("memo_nowrap"), plain);

    auto* wrapped = Put<TMemo>(f, 340, 210, 340, 110);
    wrapped->SetReadOnly(true);
    wrapped->SetScrollBars(ssVertical);
    wrapped->SetText(QStringLiteral("Vain luku: tämä muistio rivittää pitkät rivit sanojen kohdalta ja näyttää pystyvierityspalkin. "
                                    "Read-only memo with word wrap and a vertical scroll bar."));
    shots.emplace_back(QStringLiteral("memo_wrap_readonly"), wrapped);

    f->Show();
    for (int i = 0; i < 5; ++i)
        Application->ProcessMessages();
    for (auto& [name, c] : shots) {
        TBitmap bmp;
        c->PaintTo(&bmp);
        bmp.SaveToFile(Out + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
    SaveDropDownList(colors, Out + QStringLiteral("/colorbox_dropdown.png"));
    SaveDropDownList(owner, Out + QStringLiteral("/combobox_ownerdraw_dropdown.png"));
    TBitmap whole;
    f->PaintTo(&whole);
    whole.SaveToFile(Out + QStringLiteral("/lists_form.png"));
}
