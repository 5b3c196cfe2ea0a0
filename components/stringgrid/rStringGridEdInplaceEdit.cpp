#include "components/stringgrid/rStringGridEdInplaceEdit.h"

#include "platform/ui/GridButtonState.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rGlyphs.h"
#include "components/base/rPopupMonthCalendar.h"
#include "components/base/rRichEdit.h"
#include "components/base/rpictool.h"
#include "components/base/rtool.h"
#include "components/stringgrid/rStringGridEd.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Themes.h"
#include "resources/StringGridTexts.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>

using enum TOptionEx;

namespace {

constexpr int SearchResetMs = 2000;
constexpr int SearchMaxLength = 32;

int64_t MonotonicMs()
{
    static QElapsedTimer t = [] {
        QElapsedTimer e;
        e.start();
        return e;
    }();
    return t.elapsed();
}

TDateTime EndOfMonth(TDateTime D)
{
    int y = 0, m = 0, d = 0;
    DecodeDate(D, y, m, d);
    return m == 12 ? EncodeDate(y + 1, 1, 1) - 1 : EncodeDate(y, m + 1, 1) - 1;
}

TDateTime StartOfMonth(TDateTime D)
{
    int y = 0, m = 0, d = 0;
    DecodeDate(D, y, m, d);
    return EncodeDate(y, m, 1);
}

}  // namespace

// ---- TPopupListbox -------------------------------------------------------------------------------

std::function<int64_t()> TPopupListbox::TickCount = MonotonicMs;

TPopupListbox::TPopupListbox(TComponent* AOwner, TrStringGridEdInplaceEdit* Editor) : TPopupPickList(AOwner), FEditor(Editor)
{
    SetVisible(false);
    SetItemHeight(11);
}

void TPopupListbox::SearchKey(QChar Key)
{
    const int64_t now = TickCount();
    if (now - FSearchTickCount > SearchResetMs)
        FSearchText.clear();
    FSearchTickCount = now;
    if (FSearchText.size() < SearchMaxLength)
        FSearchText += Key;
    for (int i = 0; i < Count(); ++i)
        if (Strings(i).startsWith(FSearchText, Qt::CaseInsensitive)) {
            SetItemIndex(i);
            break;
        }
}

void TPopupListbox::KeyPress(QChar& Key)
{
    if (Key == QLatin1Char('\b') || Key == QChar(27)) {
        FSearchText.clear();
        Key = QChar();
        return;
    }
    if (IsCheckList && Key == QLatin1Char(' ')) {
        FEditor->CloseUpEx(true, false);
        Key = QChar();
        return;
    }
    if (Key.unicode() >= 32 && Key.unicode() <= 255) {
        SearchKey(Key);
        Key = QChar();
    }
}

void TPopupListbox::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_F4) {
        FEditor->CloseUpEx(false, true);
        Key = 0;
        return;
    }
    TPopupPickList::KeyDown(Key, Shift);
}

void TPopupListbox::DrawItem(int Index, TRect R, TOwnerDrawState State)
{
    if (!IsColor && !IsCheckList && !IsDataImage) {
        TPopupPickList::DrawItem(Index, R, State);
        return;
    }
    TCanvas* c = Canvas();
    const bool selected = State & odSelected;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(selected ? clHighlight : GetStyleBkColor_ListBox(clWindow));
    c->FillRect(R);
    const int side = R.Height();
    const TRect sq = Rect(R.Left + 1, R.Top + 1, R.Left + side - 1, R.Bottom - 1);
    QString text = Strings(Index);
    if (IsColor) {
        const TColor color = GetColorValue(int(reinterpret_cast<intptr_t>(Objects(Index))));
        if (color != clNone) {
            c->Brush()->SetColor(color);
            c->FillRect(sq);
        }
        c->Brush()->SetColor(clBlack);
        c->FrameRect(sq);
    } else if (IsCheckList) {
        const bool checked = AColumn && AColumn->CheckListContainValue(FEditor->Text(), text);
        const int box = std::min(ThemedCheckSize, sq.Height());
        DrawThemedCheckBox(c, Bounds(sq.Left + (sq.Width() - box) / 2, sq.Top + (sq.Height() - box) / 2, box, box),
                           checked ? cbChecked : cbUnchecked, tsNormal);
    } else if (IsDataImage && AColumn && AColumn->DataImageList()) {
        bool ok = false;
        const int idx = text.toInt(&ok);
        TCustomImageList* il = AColumn->DataImageList();
        if (ok && idx >= 0 && idx < il->Count()) {
            il->Draw(c, sq.Left + (sq.Width() - il->Width()) / 2, sq.Top + (sq.Height() - il->Height()) / 2, idx);
            text.clear();
        }
    }
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(GetStyleFontColor_ListBox(selected ? clHighlightText : clWindowText, selected));
    TRect tr = Rect(sq.Right + 2, R.Top + 1, R.Right, R.Bottom);
    c->DrawText(text, tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    c->Brush()->SetStyle(bsSolid);
}

// ---- TrStringGridEdInplaceEdit: contents and style ----------------------------------------------------

TrStringGridEdInplaceEdit::TrStringGridEdInplaceEdit(TComponent* AOwner) : TInplaceEditList(AOwner)
{
    if (!(ComponentState() & csDesigning))
        FPopupCalendar = TrPopupMonthCalendar::CreateEx(this, [this](TComponent*) { CloseUpEx(true, true); });
}

TrStringGridEdInplaceEdit::~TrStringGridEdInplaceEdit()
{
    SetActiveList(nullptr);
    delete FPickList;
}

TrStringGridEd* TrStringGridEdInplaceEdit::GridEd() const { return dynamic_cast<TrStringGridEd*>(Grid()); }

void TrStringGridEdInplaceEdit::UpdateContents()
{
    FSettingText = true;
    TInplaceEditList::UpdateContents();
    FSettingText = false;
    TrStringGridEd* g = GridEd();
    if (!g)
        return;
    g->CheckColumns();
    SetEditStyleEx(g->GetEditStyleEx(g->Col(), g->Row()));
    FNumFormat = g->GetNumFormat(g->Col(), g->Row());
    FDataType = g->GetDataType(g->Col(), g->Row());
}

void TrStringGridEdInplaceEdit::SetEditStyleEx(TrStringGridEdEditStyle Style)
{
    if (Style == FEditStyleEx)
        return;
    CloseUpEx(false, true);
    FEditStyleEx = Style;
    if (IsPickListStyle(Style)) {
        if (!FPickList)
            FPickList = new TPopupListbox(nullptr, this);
        FPickList->OnPick = [this](bool OnItem) { CloseUpEx(OnItem, !(FPickList->IsCheckList && OnItem)); };
        FPickList->IsColor = Style == sgbDropDownColor;
        FPickList->IsCheckList = IsCheckListStyle(Style);
        FPickList->IsDataImage = Style == sgbDropDownDataImage;
        SetActiveList(FPickList);
    } else if (Style == sgbDateTimePicker && FPopupCalendar) {
        FPopupCalendar->HideCalendar();
        SetActiveList(FPopupCalendar);
    } else {
        SetActiveList(nullptr);
    }
    if (Style == sgbRichText && !FRichEditor)
        CreateRichEditor();
    if (Style == sgbCustomEditor && !FCustomEditor)
        CreateCustomEditor();
    InvalidateButton();
    Invalidate();
}

void TrStringGridEdInplaceEdit::CreateRichEditor()
{
    FRichEditor = new TrRichEdit(this);
    FRichEditor->SetVisible(false);
    FRichEditor->SetScrollBars(ssVertical);
    FRichEditor->SetBorderStyle(bsNone);
    if (TPopupMenu* menu = FRichEditor->Menu()) {
        const TNotifyEvent click = [this](TComponent* Sender) { HideRichEditor(Sender->Tag == 1001); };
        menu->Items()->Insert(0, CreateMenuItem(menu, sgtxt::ConfirmChanges, TextToShortCut(QStringLiteral("Ctrl+Enter")), 1001, click));
        menu->Items()->Insert(1, CreateMenuItem(menu, sgtxt::CancelChanges + sgtxt::EscSuffix, 1002, click));
        menu->Items()->Insert(2, NewLine());
    }
    if (Grid())
        FRichEditor->SetParent(Grid());
    FRichEditor->SetBounds(0, 0, 0, 0);
    FRichEditor->OnKeyDown = [this](TComponent*, Word& Key, TShiftState Shift) {
        if (Key == VK_ESCAPE) {
            HideRichEditor(false);
            Key = 0;
        } else if (Key == VK_RETURN && (Shift & ssCtrl)) {
            HideRichEditor(true);
            Key = 0;
        }
    };
}

bool TrStringGridEdInplaceEdit::EditCanModify()
{
    if (FEditStyleEx == sgbDropDownList || FEditStyleEx == sgbDropDownColor || FEditStyleEx == sgbDropDownCheckListOnly ||
        FEditStyleEx == sgbDropDownDataImage)
        return true;
    return Grid() && GridEd()->CanEditModify();
}

int TrStringGridEdInplaceEdit::ButtonWidth() const
{
    if (!IsButtonStyle(FEditStyleEx))
        return 0;
    return IsEllipsisStyle(FEditStyleEx) ? FEllipsisBtnWidth : FActBtnWidth;
}

void TrStringGridEdInplaceEdit::RaiseEditorEvent(const QString& Name)
{
    TrStringGridEd* g = GridEd();
    if (g && g->OnEditorEvent)
        g->OnEditorEvent(this, g->Col(), Name, g->Row());
}

// ---- drop-down and close-up ------------------------------------------------------------------------------

bool TrStringGridEdInplaceEdit::PickListVisible() const
{
    return FPickList && FPickList->Visible();
}

bool TrStringGridEdInplaceEdit::CalendarVisible() const
{
    return FPopupCalendar && FPopupCalendar->IsShown;
}

bool TrStringGridEdInplaceEdit::ListVisible() const { return PickListVisible() || CalendarVisible(); }

void TrStringGridEdInplaceEdit::FillPickList()
{
    TrStringGridEd* g = GridEd();
    TrStringGridEdColumn* col = g->ColumnOf(g->Col());
    FPickList->AColumn = col;
    FPickList->SetColor(Color());
    FPickList->SetFont(*Font());
    FPickList->SetStyle(lbStandard);
    QStringList items;
    std::vector<void*> objects;
    if (col) {
        if (FPickList->IsColor && col->PickList.isEmpty()) {
            TStringList colors;
            GetColorList(&colors, true, true, true);
            col->PickList = colors.ToQStringList();
        }
        if (FPickList->IsDataImage) {
            col->PickList.clear();
            for (int i = 0; col->DataImageList() && i < col->DataImageList()->Count(); ++i)
                col->PickList << QString::number(i);
        }
        items = col->PickList;
    }
    if (g->OnPicklistDropdown) {
        QStringList copy = items;
        g->OnPicklistDropdown(this, g->Col(), copy, g->Row());
        items = copy;
    }
    FPickList->SetItems(items);
    if (FPickList->IsColor) {
        // Each colour item carries its index in the colour table.
        for (int i = 0; i < items.size(); ++i)
            FPickList->SetObjects(i, reinterpret_cast<void*>(intptr_t(GetColorIdx(items[i]))));
    }
}

void TrStringGridEdInplaceEdit::SizePickList()
{
    TrStringGridEd* g = GridEd();
    TrStringGridEdColumn* col = FPickList->AColumn;
    TPopupListbox* l = FPickList;
    const bool ownerDrawn = l->IsColor || l->IsCheckList || l->IsDataImage;
    // 3. item height
    TCanvas* c = l->Canvas();
    c->Font()->Assign(*l->Font());
    int itemH = l->ItemHeight();
    if (l->IsColor || l->IsCheckList)
        itemH = c->TextHeight(QStringLiteral("Wg")) + 2;
    else if (l->IsDataImage && col && col->DataImageList())
        itemH = col->DataImageList()->Height() + 2;
    // 2. width
    int w = Width();
    for (const QString& s : l->Items())
        w = std::max(w, c->TextWidth(s) + 10 + (ownerDrawn ? itemH : 0));
    const int rows = std::min<int>(int(l->Count()), std::max(1, col ? col->DropDownRows : 12));
    int h = rows * itemH + 2;
    // 4.
    bool resize = true;
    int nw = w, nh = h;
    if (col && col->OnDropDownGetSize)
        col->OnDropDownGetSize(col, nw, nh, resize);
    if (resize)
        w = nw, h = nh;
    if (ownerDrawn || (col && col->OnDropDownDrawItemEvent)) {
        l->SetStyle(lbOwnerDrawVariable);
        l->SetItemHeight(itemH);
        l->OnDrawItem = col && col->OnDropDownDrawItemEvent ? col->OnDropDownDrawItemEvent : TDrawItemEvent();
        l->OnMeasureItem = col && col->OnDropDownMeasureItemEvent ? col->OnDropDownMeasureItemEvent : TMeasureItemEvent();
    } else {
        l->OnDrawItem = nullptr;
        l->OnMeasureItem = nullptr;
    }
    // 5.
    l->SetItemIndex(Text().isEmpty() ? -1 : l->IndexOf(Text()));
    RaiseEditorEvent(sgtxt::PickListBeforeShow);
    ShowPopup(l, w, h);
    if (l->ItemIndex() >= 0)
        l->SetItemIndex(l->ItemIndex());
    RaiseEditorEvent(sgtxt::PickListAfterShow);
    (void)g;
    InvalidateButton();
}

void TrStringGridEdInplaceEdit::OpenCalendar()
{
    TrStringGridEd* g = GridEd();
    TDateTime v = FormattedStrToDateTimeDef(Text(), FNumFormat, Date(), FDataType == sgdDate);
    if (FDataType == sgdDate)
        v = std::floor(v);
    FOrigDateTime = v;
    FPopupCalendar->SetFont(g ? *g->Font() : *Font());
    FPopupCalendar->ShowCalendar(v);
    InvalidateButton();
}

void TrStringGridEdInplaceEdit::DropDown()
{
    if (!GridEd() || !ActiveList() || ActiveList() == PickListBox())
        return;
    if (IsPickListStyle(FEditStyleEx) && FPickList && !PickListVisible()) {
        FillPickList();
        SizePickList();
    } else if (FEditStyleEx == sgbDateTimePicker && FPopupCalendar && !CalendarVisible()) {
        OpenCalendar();
    }
}

void TrStringGridEdInplaceEdit::CloseUpEx(bool Accept, bool Close)
{
    TrStringGridEd* g = GridEd();
    if (PickListVisible()) {
        // 1.
        SetMouseCapture(false);
        const int i = FPickList->ItemIndex();
        QString value;
        int colorIndex = -1;
        if (i < 0 || i >= FPickList->Count())
            Accept = false;
        else {
            value = FPickList->Strings(i);
            colorIndex = int(reinterpret_cast<intptr_t>(FPickList->Objects(i)));
        }
        if (Close) {
            FPickList->SetVisible(false);
            RaiseEditorEvent(sgtxt::PickListAfterHide);
        }
        InvalidateButton();
        Invalidate();
        // 2.
        if (Accept && g && EditCanModify()) {
            if (FPickList->IsColor && colorIndex == CustomColorIndex) {
                TColorDialog dlg(nullptr);
                dlg.FullOpen = true;
                const TColor start = StringToColor(Text());
                dlg.Color = start == clNone ? clBlack : start;
                if (!dlg.Execute())
                    return;
                value = QStringLiteral("$") + QStringLiteral("%1").arg(uint32_t(ColorToRGB(dlg.Color)), 8, 16, QLatin1Char('0')).toUpper();
            } else if (FPickList->IsCheckList && FPickList->AColumn) {
                TrStringGridEdColumn* col = FPickList->AColumn;
                value = col->CheckListContainValue(Text(), value) ? col->CheckListRemoveValue(Text(), value)
                                                                   : col->CheckListAddValue(Text(), value);
            }
            SetText(value);
            Modified = true;
            g->SetEditText(g->Col(), g->Row(), value);
            if (Close) {
                if (!(g->Options() & goAlwaysShowEditor))
                    g->HideEditor();
                g->DoFinishEditing(g->Col(), g->Row(), false);
            } else {
                FPickList->Invalidate();
            }
        }
        return;
    }
    if (CalendarVisible()) {
        // 3.
        SetMouseCapture(false);
        if (Accept && EditCanModify())
            PopupCallbackSelectDate();
        FPopupCalendar->HideCalendar();
        InvalidateButton();
    }
}

void TrStringGridEdInplaceEdit::SetDateTime(TDateTime Value)
{
    SetText(Value == 0 ? QString() : DateTimeToFormattedStr(Value, FNumFormat, FDataType == sgdTime));
    Modified = true;
    SelectAll();
}

void TrStringGridEdInplaceEdit::PopupCallbackSelectDate()
{
    TDateTime v = std::floor(FPopupCalendar->Date());
    if (FDataType == sgdDateTime)
        v += FOrigDateTime - std::floor(FOrigDateTime);
    SetDateTime(v);
}

// ---- keys, typing and paste ------------------------------------------------------------------------------

bool TrStringGridEdInplaceEdit::DoDropDownKeys(Word& Key, TShiftState Shift)
{
    if (!IsListStyle(FEditStyleEx))
        return false;
    if ((Key == VK_RETURN || Key == VK_ESCAPE) && ListVisible() && !(Shift & ssAlt)) {
        CloseUpEx(Key == VK_RETURN, true);
        Key = 0;
        return true;
    }
    if ((Key == VK_UP || Key == VK_DOWN) && (Shift & ssAlt)) {
        if (ListVisible())
            CloseUpEx(true, true);
        else
            DropDown();
        Key = 0;
        return true;
    }
    return false;
}

void TrStringGridEdInplaceEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (DoDropDownKeys(Key, Shift))
        return;
    // While the list is open it has the keys (typed characters reach it as
    // key presses).
    if (PickListVisible() && (Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_HOME ||
                              Key == VK_END || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_F4)) {
        FPickList->KeyDown(Key, Shift);
        Key = 0;
        return;
    }
    if (CalendarVisible() && std::find(rPopupMonthCalendarKeys.begin(), rPopupMonthCalendarKeys.end(), Key) != rPopupMonthCalendarKeys.end()) {
        FPopupCalendar->SendKey(Key);
        Key = 0;
        return;
    }
    TrStringGridEd* g = GridEd();
    if (Key == VK_F4 && !(Shift & (ssShift | ssCtrl | ssAlt)) && IsButtonStyle(FEditStyleEx)) {
        if (IsEllipsisStyle(FEditStyleEx)) {
            if (g)
                g->EllipsisClick();
        } else if (ListVisible()) {
            CloseUpEx(false, true);
        } else {
            DropDown();
        }
        Key = 0;
        return;
    }
    if (Key == VK_DOWN && (Shift & ssAlt) && IsEllipsisStyle(FEditStyleEx)) {
        if (g)
            g->EllipsisClick();
        Key = 0;
        return;
    }
    if (g && (Key == VK_LEFT || Key == VK_RIGHT) && !(Shift & (ssShift | ssCtrl | ssAlt))) {
        const int len = int(Text().size());
        const bool all = SelLength() == len && len > 0;
        const bool edge = Key == VK_LEFT ? (SelStart() == 0 && SelLength() == 0) || all : (SelStart() >= len && SelLength() == 0) || all;
        if (edge && g->HasOptionEx(dgEditArrowKeyMoveCell)) {
            g->KeyDown(Key, Shift);
            Key = 0;
            return;
        }
        // Without the option the caret stays in the cell at its edges.
        TCustomEdit::KeyDown(Key, Shift);
        return;
    }
    TInplaceEditList::KeyDown(Key, Shift);
}

bool TrStringGridEdInplaceEdit::DateKey(QChar& Key)
{
    if ((FDataType != sgdDate && FDataType != sgdDateTime) || CalendarVisible())
        return false;
    const QChar k = Key;
    if (k == QLatin1Char('*') || k == QLatin1Char('T') || k == QLatin1Char('t')) {
        SetDateTime(FDataType == sgdDate ? Date() : Now());
    } else if (k == QLatin1Char('E') || k == QLatin1Char('e')) {
        SetDateTime(EndOfMonth(Date()));
    } else if (k == QLatin1Char('S') || k == QLatin1Char('s')) {
        SetDateTime(StartOfMonth(Date()));
    } else {
        if (k == QLatin1Char(',') || k == QLatin1Char('-') || k == QLatin1Char('.') || k == QLatin1Char('/'))
            Key = GetDateSeparator();
        return false;
    }
    Key = QChar();
    return true;
}

void TrStringGridEdInplaceEdit::KeyPress(QChar& Key)
{
    if (CalendarVisible())
        CloseUpEx(false, true);
    TrStringGridEd* g = GridEd();
    if (g) {
        g->EditorKeyPress(Key);
        if (Key.isNull())
            return;
    }
    const bool listOnly = FEditStyleEx == sgbDropDownList || FEditStyleEx == sgbDropDownColor || FEditStyleEx == sgbDropDownCheckListOnly;
    if (listOnly && Key.isPrint() && FPickList && !PickListVisible()) {
        DropDown();
        FPickList->ResetSearch();
        FPickList->SearchKey(Key);
        Key = QChar();
        return;
    }
    if (PickListVisible()) {
        FPickList->KeyPress(Key);
        Key = QChar();
        return;
    }
    if (g && g->CanEditModify() && DateKey(Key))
        return;
    TInplaceEditList::KeyPress(Key);
}

void TrStringGridEdInplaceEdit::Change()
{
    TInplaceEditList::Change();
    TrStringGridEd* g = GridEd();
    // Every change of the text reaches the cell as it is typed.
    if (!g || FSettingText || !Visible() || g->Cells(g->Col(), g->Row()) == Text())
        return;
    g->SetEditText(g->Col(), g->Row(), Text());
}

void TrStringGridEdInplaceEdit::Paste()
{
    TInplaceEditList::Paste();
    TrStringGridEd* g = GridEd();
    if (!g || !g->CanEditModify())
        return;
    const QString clip = Clipboard()->AsText();
    QString clean;
    if (IsNumberType(FDataType))
        clean = CleanNumericString(clip);
    else if (IsDateType(FDataType))
        clean = CleanDateTimeString(clip);
    else
        clean = CleanLastEOL(clip);
    if (clean != clip) {
        SetText(clean);
        Modified = true;
        SetSelStart(int(clean.size()));
    }
}

void TrStringGridEdInplaceEdit::KillFocus()
{
    CloseUpEx(false, true);
}

void TrStringGridEdInplaceEdit::CancelMode(TControl* Sender)
{
    if (Sender != this && Sender != FPickList && PickListVisible())
        CloseUpEx(false, true);
    if (Sender != this && Sender != FPopupCalendar && CalendarVisible())
        CloseUpEx(false, true);
    TInplaceEditList::CancelMode(Sender == FPickList || Sender == FPopupCalendar ? this : Sender);
}

void TrStringGridEdInplaceEdit::EditButtonClick()
{
    TrStringGridEd* g = GridEd();
    if (IsEllipsisStyle(FEditStyleEx)) {
        if (g)
            g->EllipsisClick();
        return;
    }
    if (ListVisible())
        CloseUpEx(false, true);
    else
        DropDown();
}

void TrStringGridEdInplaceEdit::PaintButton(TCanvas* C, const TRect& R, bool Pressed)
{
    if (!IsEllipsisStyle(FEditStyleEx)) {
        DrawThemedComboButton(C, R, !Enabled() ? tsDisabled : Pressed ? tsPressed : InplaceButtonHot(this) ? tsHot : tsNormal);
        return;
    }
    TrStringGridEd* g = GridEd();
    // The ellipsis glyph comes only from the program-wide custom glyphs.
    TBitmap* glyph = ParioCompConfig.Global_CustomGlyphs
                         ? ParioCompConfig.Global_CustomGlyphs->BitmapForIndex(TrGlyphsRec::EllipsisIndex())
                         : nullptr;
    int width = FEllipsisBtnWidth;
    if (g && g->OnGetEllipsisButtonFormat)
        g->OnGetEllipsisButtonFormat(g, g->Col(), glyph, width, g->Row());
    const bool framed = width > 0;
    if (!framed)
        width = glyph ? glyph->Width() + 4 : 16;
    if (width != FEllipsisBtnWidth) {
        FEllipsisBtnWidth = width;
        InvalidateButton();
    }
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(R);
    if (framed) {
        if (ThemeServicesEnabled()) {
            DrawThemedPushButton(C, R, Pressed ? tsPressed : InplaceButtonHot(this) ? tsHot : tsNormal);
        } else {
            TRect e = R;
            DrawEdge(C, e, Pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        }
    }
    if (glyph) {
        TBitmap b(*glyph);
        b.SetTransparent(true);
        C->Draw(R.Left + (R.Width() - b.Width()) / 2, R.Top + (R.Height() - b.Height()) / 2, &b);
        return;
    }
    const int d = std::max(1, R.Width() / 8);
    const int x = (R.Left + R.Right - d) / 2 + (Pressed ? 1 : 0);
    const int y = (R.Top + R.Bottom - d) / 2 + (Pressed ? 1 : 0);
    C->Brush()->SetColor(clBlack);
    for (int i = -1; i <= 1; ++i)
        C->FillRect(Rect(x + i * 2 * d, y, x + i * 2 * d + d, y + d));
}

// ---- rich text and custom editors ---------------------------------------------------------------------------

TRect TrStringGridEdInplaceEdit::InnerEditorRect() const
{
    const TrStringGridEd* g = GridEd();
    const int m = g ? g->InnerMargin() : 0;
    return Rect(Left() + m, Top() + 1, Left() + Width() - m, Top() + Height() - 1);
}

void TrStringGridEdInplaceEdit::DoEnter()
{
    TInplaceEditList::DoEnter();
    if (FEditStyleEx == sgbRichText)
        ShowRichEditor(InnerEditorRect());
    else if (FEditStyleEx == sgbCustomEditor)
        ShowCustomEditor(InnerEditorRect());
}

bool TrStringGridEdInplaceEdit::InnerEditorFocused() const
{
    return (FRichEditor && FRichEditorVisible && FRichEditor->Focused()) ||
           (FCustomEditor && FCustomEditorVisible && FCustomEditor->Focused());
}

void TrStringGridEdInplaceEdit::ShowRichEditor(const TRect& R)
{
    TrStringGridEd* g = GridEd();
    if (!g || !FRichEditor || FRichEditorVisible)
        return;
    TControl::SetVisible(false);
    TRect r = R;
    r.Offset(0, g->RichTextTopMargin());
    FRichEditor->SetParent(g);
    FRichEditor->SetBounds(r.Left, r.Top, r.Width(), std::max(r.Height(), 3 * g->DefaultRowHeight()));
    FCustomEditCoord = {g->Col(), g->Row()};
    const QString text = g->GetEditText(g->Col(), g->Row());
    if (TrStringGridEd::IsRtfText(text))
        FRichEditor->SetRtfText(text);
    else
        FRichEditor->SetText(text);
    FRichEditor->SetColor(g->Color());
    FRichEditorVisible = true;
    FRichEditor->SetVisible(true);
    FRichEditor->SetFocus();
    if (!FRichEditor->Focused() && !FRichEditor->Showing()) {
        FRichEditorVisible = false;
        FRichEditor->SetVisible(false);
        return;
    }
    const int len = FRichEditor->TextLength();
    if (!g->EditStartedWithF2()) {
        FRichEditor->SelectAll();
        const QChar k = g->EditStartKey();
        if (!k.isNull() && k.isPrint())
            FRichEditor->SetSelText(QString(k));
    } else {
        FRichEditor->SetSelStart(len);
    }
}

void TrStringGridEdInplaceEdit::HideRichEditor(bool Accept)
{
    if (!FRichEditorVisible || !FRichEditor)
        return;
    FRichEditorVisible = false;
    TrStringGridEd* g = GridEd();
    try {
        if (Accept && g)
            g->SetStringCells(FCustomEditCoord.X, FCustomEditCoord.Y, FRichEditor->GetRtfText());
        FRichEditor->SetVisible(false);
        if (g) {
            g->HideEditor();
            g->SetFocus();
        }
    } catch (...) {
    }
}

void TrStringGridEdInplaceEdit::CreateCustomEditor()
{
    TrStringGridEd* g = GridEd();
    if (!g || !g->CustomEditorCreate)
        return;
    TWinControl* ed = nullptr;
    g->CustomEditorCreate(g, ed);
    if (!ed)
        return;
    FCustomEditor = ed;
    FCustomEditor->SetVisible(false);
    FCustomEditor->SetParent(g);
    FCustomEditor->SetBounds(0, 0, 0, 0);
}

void TrStringGridEdInplaceEdit::SetCustomEditorValue(const QString& Text)
{
    TrStringGridEd* g = GridEd();
    bool handled = false;
    QString v = Text;
    if (g && g->CustomEditorEvent)
        g->CustomEditorEvent(g, FCustomEditor, handled, v, ceaSetValue);
    if (handled)
        return;
    if (auto* memo = dynamic_cast<TMemo*>(FCustomEditor))
        memo->SetText(Text);
    else if (auto* edit = dynamic_cast<TCustomEdit*>(FCustomEditor))
        edit->SetText(Text);
}

QString TrStringGridEdInplaceEdit::GetCustomEditorValue()
{
    TrStringGridEd* g = GridEd();
    bool handled = false;
    QString v;
    if (g && g->CustomEditorEvent)
        g->CustomEditorEvent(g, FCustomEditor, handled, v, ceaGetValue);
    if (handled)
        return v;
    if (auto* memo = dynamic_cast<TMemo*>(FCustomEditor))
        return memo->Text();
    if (auto* edit = dynamic_cast<TCustomEdit*>(FCustomEditor))
        return edit->Text();
    return QString();
}

void TrStringGridEdInplaceEdit::ShowCustomEditor(const TRect& R)
{
    TrStringGridEd* g = GridEd();
    if (!g || !FCustomEditor || FCustomEditorVisible)
        return;
    TControl::SetVisible(false);
    FCustomEditor->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    FCustomEditCoord = {g->Col(), g->Row()};
    SetCustomEditorValue(g->GetEditText(g->Col(), g->Row()));
    bool handled = false;
    QString v;
    if (g->CustomEditorEvent)
        g->CustomEditorEvent(g, FCustomEditor, handled, v, ceaShow);
    if (!handled) {
        FCustomEditor->SetVisible(true);
        FCustomEditor->SetFocus();
    }
    FCustomEditorVisible = true;
}

void TrStringGridEdInplaceEdit::HideCustomEditor(bool Accept)
{
    if (!FCustomEditorVisible || !FCustomEditor)
        return;
    FCustomEditorVisible = false;
    TrStringGridEd* g = GridEd();
    if (Accept && g)
        g->SetStringCells(FCustomEditCoord.X, FCustomEditCoord.Y, GetCustomEditorValue());
    bool handled = false;
    QString v;
    if (g && g->CustomEditorEvent)
        g->CustomEditorEvent(g, FCustomEditor, handled, v, ceaHide);
    if (!handled)
        FCustomEditor->SetVisible(false);
    if (g) {
        g->HideEditor();
        g->SetFocus();
    }
}
