#include "components/framed/FcLstBox.h"

#include "components/framed/FcFrames.h"

#include "components/framed/FcGrafx.h"
#include "components/framed/FcSystem.h"
#include "platform/os/Sound.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"

#include <QDateTime>

TFcCustomListBox::TFcCustomListBox(TComponent* AOwner)
    : TCustomListBox(AOwner), FTimer(std::make_unique<TTimer>(nullptr))
{
    FcCommonInitialize();
    SetColor(clWindow);
    FNormalColor = Color();
    FTimer->SetEnabled(false);
    FTimer->SetInterval(IncrementalSearchResetDelay);
    FTimer->OnTimer = [this](TComponent*) { SearchTimerExpired(); };
    FGroupFont.Assign(*Font());
    FGroupFont.SetStyle(fsBold);
    FGroupFont.SetColor(clHighlight);
    FGroupFont.OnChange = [this] {
        FGroupFontChanged = true;
        GroupFontChanged();
        Invalidate();
    };
}

TFcCustomListBox::~TFcCustomListBox()
{
    FGroupFont.OnChange = nullptr;
    if (FFrameController)
        FFrameController->RemoveControl(this);
}

bool TFcCustomListBox::ReadLegacyProperty(const QString& Name, const QString& Value)
{
    return TFcFrameLook::ReadLegacyProperty(Name, Value) || Name.compare(QLatin1String("HorzExtent"), Qt::CaseInsensitive) == 0;
}

void TFcCustomListBox::SetDisabledColor(TColor Value)
{
    FDisabledColor = Value;
    if (!Enabled())
        UpdateColors();
}

void TFcCustomListBox::SetFocusColor(TColor Value)
{
    FFocusColor = Value;
    if (FFocused)
        UpdateColors();
}

void TFcCustomListBox::SetFrameController(TFcFrameController* Value)
{
    ChangeFrameController(this, FFrameController, Value);
}

void TFcCustomListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomListBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFrameController)
        FFrameController = nullptr;
}

void TFcCustomListBox::SetFrameProperty(TFcFrameControllerProperty P, const TFcFrameController* C)
{
    switch (P) {
    case fcpColor: SetColor(C->Color()); break;
    case fcpFocusColor: SetFocusColor(C->FocusColor()); break;
    case fcpDisabledColor: SetDisabledColor(C->DisabledColor()); break;
    case fcpParentColor: SetParentColor(C->ParentColor()); break;
    default: TakeFrameProperty(P, C); break;
    }
    Invalidate();
}

void TFcCustomListBox::UpdateColors()
{
    if (Loading())
        return;
    FUpdatingColor = true;
    SetColor(!Enabled() ? FDisabledColor : FFocused ? FFocusColor : FNormalColor);
    FUpdatingColor = false;
}

void TFcCustomListBox::ColorChanged()
{
    if (!FUpdatingColor) {
        if (FFocusColor == FNormalColor)
            FFocusColor = Color();
        FNormalColor = Color();
    }
    TCustomListBox::ColorChanged();
}

void TFcCustomListBox::EnabledChanged()
{
    TCustomListBox::EnabledChanged();
    UpdateColors();
}

void TFcCustomListBox::FontChanged()
{
    TCustomListBox::FontChanged();
    if (FShowGroups)
        UpdateItemHeight();
    AdjustHorzExtent();
}

void TFcCustomListBox::ChangeScale(int M, int D)
{
    TCustomListBox::ChangeScale(M, D);
    if (M != D && FGroupFontChanged)
        FGroupFont.SetHeight(MulDiv(FGroupFont.Height(), M, D));
}

void TFcCustomListBox::Loaded()
{
    TCustomListBox::Loaded();
    if (FHorzScrollBar) {
        FHorzExtent = 0;
        AdjustHorzExtent();
    }
    UpdateColors();
}

void TFcCustomListBox::DoEnter()
{
    FFocused = true;
    UpdateColors();
    TCustomListBox::DoEnter();
}

void TFcCustomListBox::DoExit()
{
    TCustomListBox::DoExit();
    FFocused = false;
    FSearchString.clear();
    UpdateColors();
}

void TFcCustomListBox::SetHorzScrollBar(bool Value)
{
    if (FHorzScrollBar == Value)
        return;
    FHorzScrollBar = Value;
    if (Value) {
        FHorzExtent = ClientWidth();
        AdjustHorzExtent();
    } else {
        SetScrollWidth(0);
    }
}

void TFcCustomListBox::SetHorzExtent(int Value)
{
    if (FHorzExtent == Value)
        return;
    FHorzExtent = Value;
    SetScrollWidth(Value);
}

void TFcCustomListBox::AdjustHorzExtent()
{
    if (!FHorzScrollBar || FUpdateCount > 0)
        return;
    TBitmap m(1, 1);
    m.Canvas()->SetFont(*Font());
    int widest = 0;
    for (int i = 0; i < Count(); ++i)
        widest = std::max(widest, m.Canvas()->TextWidth(HorzExtentPrefix() + Strings(i) + QLatin1Char('x')));
    SetHorzExtent(widest + 1);
}

void TFcCustomListBox::ItemInserted(int Index)
{
    TCustomListBox::ItemInserted(Index);
    AdjustHorzExtent();
}

void TFcCustomListBox::ItemDeleted(int Index)
{
    TCustomListBox::ItemDeleted(Index);
    AdjustHorzExtent();
}

void TFcCustomListBox::ItemsCleared()
{
    TCustomListBox::ItemsCleared();
    AdjustHorzExtent();
}

void TFcCustomListBox::SetOwnerDrawIndent(int Value)
{
    if (FOwnerDrawIndent != Value) {
        FOwnerDrawIndent = Value;
        Invalidate();
    }
}

void TFcCustomListBox::SetGroupPrefix(const QString& Value)
{
    if (FGroupPrefix != Value) {
        FGroupPrefix = Value;
        Invalidate();
    }
}

void TFcCustomListBox::SetGroupColor(TColor Value)
{
    if (FGroupColor != Value) {
        FGroupColor = Value;
        Invalidate();
    }
}

void TFcCustomListBox::SetGroupColorFromTheme(bool Value)
{
    if (FGroupColorFromTheme != Value) {
        FGroupColorFromTheme = Value;
        Invalidate();
    }
}

void TFcCustomListBox::SetUseGradients(bool Value)
{
    if (FUseGradients != Value) {
        FUseGradients = Value;
        Invalidate();
    }
}

void TFcCustomListBox::SetShowGroups(bool Value)
{
    if (FShowGroups == Value)
        return;
    FShowGroups = Value;
    if (Value) {
        SetStyle(lbOwnerDrawFixed);
        UpdateItemHeight();
    }
    Invalidate();
}

void TFcCustomListBox::UpdateItemHeight()
{
    SetItemHeight(std::max(ItemHeight(), GetMinFontHeight(*Font())));
}

void TFcCustomListBox::InvalidKeyPressed()
{
    if (BeepOnInvalidKey)
        MessageBeep(0);
}

// ---- items and groups ---------------------------------------------------------------------------

void TFcCustomListBox::Delete(int Index)
{
    const int old = ItemIndex();
    DeleteItem(Index);
    if (Count() > 0 && old >= 0)
        SetItemIndex(std::min(old, Count() - 1));
    Click();
}

QString TFcCustomListBox::SelectedItem() const
{
    if (MultiSelect() ? SelCount() > 0 && ItemIndex() >= 0 : ItemIndex() >= 0)
        return Strings(ItemIndex());
    return QString();
}

bool TFcCustomListBox::FindItem(const QString& S)
{
    const int i = IndexOf(S);
    if (i >= 0)
        SetItemIndex(i);
    return i >= 0;
}

void TFcCustomListBox::DeleteSelectedItems()
{
    ShowCursorShape(crHourGlass);
    ++FUpdateCount;
    for (int i = Count() - 1; i >= 0; --i)
        if (Selected(i))
            DeleteItem(i);
    --FUpdateCount;
    ShowCursorShape(Cursor());
    AdjustHorzExtent();
    if (OnDeleteItems)
        OnDeleteItems(this);
}

int TFcCustomListBox::FindClosest(const QString& S) const
{
    for (int i = 0; i < Count(); ++i)
        if (Strings(i).startsWith(S, Qt::CaseInsensitive))
            return i;
    return -1;
}

bool TFcCustomListBox::GetItemIsGroup(int Index) const
{
    return Index >= 0 && Index < Count() && Strings(Index).startsWith(FGroupPrefix);
}

void TFcCustomListBox::ItemToGroup(int Index)
{
    if (Index < 0 || Index >= Count() || GetItemIsGroup(Index))
        return;
    const bool selected = ItemIndex() == Index;
    SetStrings(Index, FGroupPrefix + Strings(Index));
    if (selected)
        SetItemIndex(Index);
}

void TFcCustomListBox::GroupToItem(int Index)
{
    if (!GetItemIsGroup(Index))
        return;
    const bool selected = ItemIndex() == Index;
    SetStrings(Index, Strings(Index).mid(FGroupPrefix.size()));
    if (selected)
        SetItemIndex(Index);
}

QString TFcCustomListBox::ItemCaption(int Index) const
{
    if (Index < 0 || Index >= Count())
        return QString();
    return GetItemIsGroup(Index) ? Strings(Index).mid(FGroupPrefix.size()) : Strings(Index);
}

int TFcCustomListBox::ItemIndexOfGroup(int GroupIndex) const
{
    int group = -1;
    for (int i = 0; i < Count(); ++i)
        if (GetItemIsGroup(i) && ++group == GroupIndex)
            return i;
    return -1;
}

int TFcCustomListBox::ItemsInGroup(int GroupIndex) const
{
    const int header = ItemIndexOfGroup(GroupIndex);
    if (header < 0)
        return 0;
    int n = 0;
    for (int i = header + 1; i < Count() && !GetItemIsGroup(i); ++i)
        ++n;
    return n;
}

int TFcCustomListBox::InsertItemIntoGroup(int GroupIndex, int Index, const QString& S)
{
    const int header = ItemIndexOfGroup(GroupIndex);
    if (header < 0 || Index < 0 || Index > ItemsInGroup(GroupIndex))
        return -1;
    InsertItem(header + 1 + Index, S);
    return header + 1 + Index;
}

int TFcCustomListBox::AddItemToGroup(int GroupIndex, const QString& S)
{
    return InsertItemIntoGroup(GroupIndex, ItemsInGroup(GroupIndex), S);
}

int TFcCustomListBox::ItemGroupIndex(int Index) const
{
    for (int i = std::min(Index, Count() - 1); i >= 0; --i)
        if (GetItemIsGroup(i))
            return i;
    return -1;
}

int TFcCustomListBox::GroupIndexOfItem(int Index) const
{
    if (!GetItemIsGroup(Index))
        return -1;
    int groups = 0;
    for (int i = 0; i < Index; ++i)
        if (GetItemIsGroup(i))
            ++groups;
    return groups;
}

// ---- incremental search -----------------------------------------------------------------------------

void TFcCustomListBox::UpdateIndex(const QString& S, QChar Key)
{
    const int i = FindClosest(S);
    if (i < 0) {
        InvalidKeyPressed();
        return;
    }
    if (MultiSelect()) {
        // the other items of a multiple selection stay as the user chose them
        SetSelected(ItemIndex(), false);
        SetSelected(i, true);
        SetItemIndex(i);
    } else {
        SetItemIndex(i);
    }
    FSearchString = S;
    FireKeyPress(Key);
    Match();
}

void TFcCustomListBox::FireKeyPress(QChar Key)
{
    // the search consumes the key: the key-press event still tells it
    if (OnKeyPress && !Key.isNull()) {
        QChar k = Key;
        OnKeyPress(this, k);
    }
}

void TFcCustomListBox::Match()
{
    if (OnMatch)
        OnMatch(this);
}

void TFcCustomListBox::SearchTimerExpired()
{
    if (FKeyCount != 0)
        return;
    FTimer->SetEnabled(false);
    FSearchString.clear();
}

void TFcCustomListBox::KeyDown(Word& Key, TShiftState Shift)
{
    switch (Key) {
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        FSearchString.clear();
        break;
    default:
        break;
    }
    TCustomListBox::KeyDown(Key, Shift);
}

void TFcCustomListBox::KeyPress(QChar& Key)
{
    if (!IncrementalSearch) {
        TCustomListBox::KeyPress(Key);
        return;
    }
    if (Key == QLatin1Char('\b')) {
        if (FSearchString.isEmpty()) {
            InvalidKeyPressed();
            UpdateIndex(QString(), Key);
        } else {
            FSearchString.chop(1);
            if (FSearchString.isEmpty()) {
                SetItemIndex(0);
                Click();
                FireKeyPress(Key);
            } else {
                UpdateIndex(FSearchString, Key);
            }
        }
        Key = QChar();
        return;
    }
    if (Key == QLatin1Char('\r')) {
        if (TabOnEnter && Parent())
            Parent()->PostTab(true);
        else
            FireKeyPress(Key);
        Key = QChar();
        return;
    }
    if (Key == QChar(27)) {
        SetItemIndex(-1);
        Key = QChar();
        return;
    }
    const bool blankAllowed = !MultiSelect() || ExtendedSelect;
    if (Key.unicode() >= 32 && (Key != QLatin1Char(' ') || blankAllowed)) {
        FKeyCount = 1;
        UpdateIndex(FSearchString + Key, Key);
        FTimer->SetEnabled(false);
        FTimer->SetEnabled(true);
        FKeyCount = 0;
    }
    Key = QChar();
}

void TFcCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FSearchString.clear();
    TCustomListBox::MouseDown(Button, Shift, X, Y);
}

// ---- drawing --------------------------------------------------------------------------------------

void TFcCustomListBox::DrawItem(int Index, TRect R, TOwnerDrawState State)
{
    TCanvas* c = Canvas();
    const bool header = FShowGroups && GetItemIsGroup(Index);
    if (!header && OwnerDrawItemIndent() > 0) {
        const TColor keep = c->Brush()->Color();
        c->Brush()->SetColor(Color());
        const int indent = OwnerDrawItemIndent();
        if (UseRightToLeftAlignment()) {
            c->FillRect(Rect(R.Right - indent, R.Top, R.Right, R.Bottom));
            R.Right -= indent;
        } else {
            c->FillRect(Rect(R.Left, R.Top, R.Left + indent, R.Bottom));
            R.Left += indent;
        }
        c->Brush()->SetColor(keep);
    }
    if (Index < 0 || Index >= Count()) {
        c->FillRect(R);
        return;
    }
    if (header)
        DrawGroup(Index, R, State);
    else
        DrawListItem(Index, R, State);
}

void TFcCustomListBox::DrawListItem(int Index, TRect R, TOwnerDrawState State)
{
    if (OnDrawListItem)
        OnDrawListItem(this, Index, R, State);
    else if (IsOwnerDrawn() && OnDrawItem)
        OnDrawItem(this, Index, R, State);
    else
        DefaultDrawItem(Index, R, State);
}

void TFcCustomListBox::DefaultDrawItem(int Index, TRect R, TOwnerDrawState State)
{
    (void)State;
    TCanvas* c = Canvas();
    c->FillRect(R);
    TRect t = TextRect(R);
    c->DrawText(Strings(Index), t, DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX));
}

TRect TFcCustomListBox::TextRect(TRect R) const
{
    // the text stands 2 pixels in from the side it starts on
    if (UseRightToLeftAlignment())
        R.Right -= 2;
    else
        R.Left += 2;
    return R;
}

void TFcCustomListBox::GroupBandColors(TColor& Text, TColor& Band) const
{
    if (ThemeServicesEnabled() && FGroupColorFromTheme) {
        Text = GetXPThemeColor(xptcListGroupFont);
        Band = GetXPThemeColor(xptcListGroupFill);
    } else {
        Text = FGroupFont.Color();
        Band = FGroupColor;
    }
}

void TFcCustomListBox::PaintGroupBand(const TRect& R, TOwnerDrawState State)
{
    TCanvas* c = Canvas();
    c->SetFont(FGroupFont);
    TColor text, band;
    GroupBandColors(text, band);
    if (State & odSelected) {
        c->Font()->SetColor(clHighlightText);
        c->Brush()->SetColor(clHighlight);
        c->FillRect(R);
    } else if (FUseGradients && FullColorSupported) {
        // the band runs from the list's colour, on the reading side, to the group colour
        if (UseRightToLeftAlignment())
            PaintGradient(c, R, gdVerticalEnd, band, Color());
        else
            PaintGradient(c, R, gdVerticalEnd, Color(), band);
        c->Font()->SetColor(text);
    } else {
        c->Brush()->SetColor(band);
        c->FillRect(R);
        c->Font()->SetColor(text);
    }
    c->Brush()->SetStyle(bsClear);
}

void TFcCustomListBox::DrawGroup(int Index, TRect R, TOwnerDrawState State)
{
    TCanvas* c = Canvas();
    PaintGroupBand(R, State);
    TRect t = TextRect(R);
    c->DrawText(ItemCaption(Index), t, DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX));
    c->Brush()->SetStyle(bsSolid);
}

// ---- hints for items wider than the list ------------------------------------------------------------

bool TFcCustomListBox::ItemNeedsHint(int Index) const
{
    if (Index < 0 || Index >= Count())
        return false;
    TBitmap m(1, 1);
    m.Canvas()->SetFont(*const_cast<TFcCustomListBox*>(this)->Font());
    return ClientWidth() - OwnerDrawItemIndent() < m.Canvas()->TextWidth(ItemCaption(Index)) + 2;
}

void TFcCustomListBox::HideItemHint()
{
    if (FHintWnd)
        FHintWnd->ReleaseHandle();
}

void TFcCustomListBox::UpdateItemHint(int X, int Y)
{
    if (!ShowItemHints)
        return;
    const int item = ItemAtPos(Point(X, Y), true);
    // the item just clicked keeps its hint away for a moment
    if (item >= 0 && item == FClickedItem && QDateTime::currentMSecsSinceEpoch() - FClickedItemTime < 1500)
        return;
    if (item < 0 || !ItemNeedsHint(item) || !Application || !Application->Active()) {
        HideItemHint();
        return;
    }
    if (!FHintWnd) {
        FHintWnd = new THintWindow(this);
        FHintWnd->SetColor(Application->HintColor);
    }
    QString caption = ItemCaption(item);
    caption.replace(QLatin1Char('\t'), QString(8, QLatin1Char(' ')));
    TRect r = FHintWnd->CalcHintRect(Screen ? Screen->Width() : 1920, caption);
    const TRect itemRect = ItemRect(item);
    const int left = UseRightToLeftAlignment() ? itemRect.Right - OwnerDrawItemIndent() + 1 - r.Width()
                                               : itemRect.Left + OwnerDrawItemIndent() - 1;
    const TPoint at = ClientToScreen(Point(left, itemRect.Top + (itemRect.Height() - r.Height()) / 2 - 2));
    r.Offset(at.X, at.Y);
    if (FHintWnd->Showing() && FHintWnd->HintText() == caption)
        return;
    FHintWnd->ActivateHint(r, caption);
}

void TFcCustomListBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomListBox::MouseMove(Shift, X, Y);
    UpdateItemHint(X, Y);
}

void TFcCustomListBox::MouseLeave()
{
    HideItemHint();
    FOverControl = false;
    if (FFrameHotTrack)
        Invalidate();
    TCustomListBox::MouseLeave();
}

void TFcCustomListBox::MouseEnter()
{
    FOverControl = true;
    if (FFrameHotTrack)
        Invalidate();
    TCustomListBox::MouseEnter();
}

void TFcCustomListBox::FrameLookChanged(TFcFrameControllerProperty Property)
{
    if (Property == fcpFrameVisible && FFrameVisible)
        SetCtl3D(true);
    Invalidate();
}

bool TFcCustomListBox::UseThemes() const
{
    return FFramingPreference == fpXPThemes && ActiveStyleServicesEnabled();
}

void TFcCustomListBox::Paint()
{
    TCustomListBox::Paint();
    if (!FFrameVisible || UseThemes())
        return;
    // hot: focused or under the mouse, with FrameHotTrack
    const bool hot = FFrameHotTrack && (FFocused || FOverControl);
    DrawFrame(Canvas(), Width(), Height(), hot ? FFrameHotStyle : FFrameStyle, Color(), hot ? FFrameHotColor : FFrameColor,
              FFrameSides, false);
}

void TFcCustomListBox::Click()
{
    FClickedItem = ItemIndex();
    FClickedItemTime = QDateTime::currentMSecsSinceEpoch();
    HideItemHint();
    TCustomListBox::Click();
}
