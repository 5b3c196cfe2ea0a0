#include "components/framed/FcChkLst.h"

#include "components/framed/FcFrames.h"
#include "components/framed/FcSystem.h"
#include "platform/rtl/Exception.h"
#include "platform/ui/ImgList.h"

#include <QFile>

TFcCheckList::TFcCheckList(TComponent* AOwner) : TFcCustomTabbedListBox(AOwner)
{
    SetStyle(lbOwnerDrawFixed);
    SetShowGroups(true);
    UpdateItemHeight();
}

const TPacket& TFcCheckList::Packet(int Index) const
{
    if (Index < 0 || Index >= int(FPackets.size()))
        throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FPackets[size_t(Index)];
}

TPacket& TFcCheckList::Packet(int Index)
{
    return const_cast<TPacket&>(static_cast<const TFcCheckList*>(this)->Packet(Index));
}

void TFcCheckList::ItemInserted(int Index)
{
    FPackets.insert(FPackets.begin() + Index, TPacket());
    TFcCustomTabbedListBox::ItemInserted(Index);
}

void TFcCheckList::ItemDeleted(int Index)
{
    if (Index >= 0 && Index < int(FPackets.size()))
        FPackets.erase(FPackets.begin() + Index);
    TFcCustomTabbedListBox::ItemDeleted(Index);
}

void TFcCheckList::ItemMoved(int CurIndex, int NewIndex)
{
    const TPacket p = FPackets[size_t(CurIndex)];
    FPackets.erase(FPackets.begin() + CurIndex);
    FPackets.insert(FPackets.begin() + NewIndex, p);
    TFcCustomTabbedListBox::ItemMoved(CurIndex, NewIndex);
}

void TFcCheckList::ItemsCleared()
{
    FPackets.clear();
    TFcCustomTabbedListBox::ItemsCleared();
}

void TFcCheckList::SetImages(TCustomImageList* Value)
{
    FImages = Value;
    if (Value)
        Value->FreeNotification(this);
    UpdateItemHeight();
    Invalidate();
}

void TFcCheckList::UpdateItemHeight()
{
    SetItemHeight(std::max({ItemHeight(), FGlyphHeight + 4, GetMinFontHeight(*Font())}));
}

int TFcCheckList::OwnerDrawItemIndent() const
{
    return FImages ? FGlyphWidth + FImages->Width() + 12 : FGlyphWidth + 8;
}

TRect TFcCheckList::CheckBoxZone(int Index) const
{
    const TRect r = ItemRect(Index);
    return Rect(r.Left, r.Top, r.Left + FGlyphWidth + 4, r.Bottom);
}

void TFcCheckList::SetItemState(int Index, TCheckBoxState Value)
{
    TPacket& p = Packet(Index);
    if (p.State != Value) {
        p.State = Value;
        Invalidate();
    }
}

void TFcCheckList::SetItemEnabled(int Index, bool Value)
{
    TPacket& p = Packet(Index);
    if (p.Enabled != Value) {
        p.Enabled = Value;
        Invalidate();
    }
}

void TFcCheckList::SetItemImageIndex(int Index, int Value)
{
    TPacket& p = Packet(Index);
    if (p.ImageIndex != Value) {
        p.ImageIndex = Value;
        Invalidate();
    }
}

void TFcCheckList::SetItemDisabledIndex(int Index, int Value)
{
    TPacket& p = Packet(Index);
    if (p.DisabledIndex != Value) {
        p.DisabledIndex = Value;
        Invalidate();
    }
}

void TFcCheckList::EnabledChanged()
{
    TFcCustomTabbedListBox::EnabledChanged();
    for (TPacket& p : FPackets)
        p.Enabled = Enabled();
}

int TFcCheckList::AddEx(const QString& S, bool Checked, bool Enabled, int ImageIndex, int DisabledIndex)
{
    const int i = AddItem(S);
    SetItemChecked(i, Checked);
    SetItemEnabled(i, Enabled);
    if (ImageIndex != -1)
        SetItemImageIndex(i, ImageIndex);
    if (DisabledIndex != -1)
        SetItemDisabledIndex(i, DisabledIndex);
    return i;
}

void TFcCheckList::CheckAll()
{
    for (int i = 0; i < Count(); ++i)
        SetItemState(i, cbChecked);
}

void TFcCheckList::UncheckAll()
{
    for (int i = 0; i < Count(); ++i)
        SetItemState(i, cbUnchecked);
}

int TFcCheckList::ItemsChecked() const
{
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        if (FPackets[size_t(i)].State == cbChecked && !GetItemIsGroup(i))
            ++n;
    return n;
}

void TFcCheckList::SetGroupState(int GroupIndex, TCheckBoxState State)
{
    const int header = ItemIndexOfGroup(GroupIndex);
    if (header < 0)
        return;
    for (int i = header + 1; i < Count() && !GetItemIsGroup(i); ++i)
        SetItemState(i, State);
}

void TFcCheckList::EnableGroup(int GroupIndex)
{
    const int header = ItemIndexOfGroup(GroupIndex);
    for (int i = header + 1; header >= 0 && i < Count() && !GetItemIsGroup(i); ++i)
        SetItemEnabled(i, true);
}

void TFcCheckList::DisableGroup(int GroupIndex)
{
    const int header = ItemIndexOfGroup(GroupIndex);
    for (int i = header + 1; header >= 0 && i < Count() && !GetItemIsGroup(i); ++i)
        SetItemEnabled(i, false);
}

bool TFcCheckList::CanChange(int Index, TCheckBoxState NewState)
{
    bool allow = true;
    if (OnChanging)
        OnChanging(this, Index, NewState, allow);
    return allow;
}

void TFcCheckList::Change(int Index, TCheckBoxState NewState)
{
    if (OnStateChange)
        OnStateChange(this, Index, NewState);
}

void TFcCheckList::ToggleCheckState()
{
    const int i = ItemIndex();
    if (i < 0 || !GetItemEnabled(i) || GetItemIsGroup(i)) {
        FChangingState = false;
        return;
    }
    TCheckBoxState next = cbChecked;
    switch (GetItemState(i)) {
    case cbUnchecked: next = AllowGrayed ? cbGrayed : cbChecked; break;
    case cbChecked: next = cbUnchecked; break;
    case cbGrayed: next = cbChecked; break;
    }
    if (CanChange(i, next)) {
        SetItemState(i, next);
        FChangingState = false;
        Change(i, next);
    } else {
        FChangingState = false;
    }
}

void TFcCheckList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TFcCustomTabbedListBox::MouseDown(Button, Shift, X, Y);
    const int item = ItemAtPos(Point(X, Y), true);
    if (Button == mbLeft && item >= 0 && (ToggleOnItemClick || CheckBoxZone(item).Contains(Point(X, Y)))) {
        FChangingState = true;
        FSelectedItem = ItemIndex();
    } else if (Button == mbRight && item >= 0 && item != ItemIndex()) {
        SetItemIndex(item);
        Click();
    }
}

void TFcCheckList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TFcCustomTabbedListBox::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft && FChangingState) {
        const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight();
        // the press and the release on the same item
        if (ItemIndex() == FSelectedItem && inside && ItemAtPos(Point(X, Y), true) == FSelectedItem)
            ToggleCheckState();
        FChangingState = false;
    }
}

void TFcCheckList::KeyDown(Word& Key, TShiftState Shift)
{
    FSelectedItem = ItemIndex();
    if (Key == VK_SPACE) {
        FChangingState = true;
        Key = 0;
        return;
    }
    TFcCustomTabbedListBox::KeyDown(Key, Shift);
}

void TFcCheckList::KeyUp(Word& Key, TShiftState Shift)
{
    if (Key == VK_SPACE && FChangingState) {
        ToggleCheckState();
        Key = 0;
        return;
    }
    TFcCustomTabbedListBox::KeyUp(Key, Shift);
}

void TFcCheckList::KeyPress(QChar& Key)
{
    if (Key == QLatin1Char(' ')) {
        Key = QChar();
        return;
    }
    TFcCustomTabbedListBox::KeyPress(Key);
}

void TFcCheckList::SelectGlyph(int Index, TBitmap* Glyph)
{
    TCanvas* c = Glyph->Canvas();
    const TRect g(0, 0, FGlyphWidth, FGlyphHeight);
    const bool enabled = GetItemEnabled(Index) && Enabled();
    if (ThemeServicesEnabled()) {
        c->Brush()->SetColor(Color());
        c->FillRect(g);
        DrawThemedCheckBox(c, g, GetItemState(Index), enabled ? tsNormal : tsDisabled);
        return;
    }
    TFcGlyphColors co;
    co.FrameColor = ItemFrameColor;
    co.MarkColor = HighlightColor;
    co.FillColor = ItemFillColor;
    co.FocusColor = ItemFocusColor;
    co.DisabledColor = FDisabledColor;
    DrawCheckBox(c, g, GetItemState(Index), enabled ? bdsNormal : bdsDisabled, Focused(), htsInterior, co, false, false);
}

void TFcCheckList::DrawListItem(int Index, TRect R, TOwnerDrawState State)
{
    TCanvas* c = Canvas();
    // 2./3. the check box before the text
    TBitmap glyph(FGlyphWidth, FGlyphHeight);
    SelectGlyph(Index, &glyph);
    const int imagesWidth = FImages ? FImages->Width() + 4 : 0;
    c->FillRect(R);
    c->Draw(R.Left - FGlyphWidth - imagesWidth - 4, R.Top + (R.Height() - FGlyphHeight) / 2, &glyph);
    // 4. the item's image
    const TPacket& p = Packet(Index);
    if (FImages) {
        const int x = R.Left - FImages->Width(), y = R.Top + (R.Height() - FImages->Height()) / 2;
        const bool itemEnabled = p.Enabled && Enabled();
        if (p.DisabledIndex == -1) {
            if (p.ImageIndex >= 0)
                FImages->Draw(c, x, y, p.ImageIndex, Enabled());
        } else {
            const int index = itemEnabled ? p.ImageIndex : p.DisabledIndex;
            if (index >= 0)
                FImages->Draw(c, x, y, index, true);
        }
    }
    // 5. the text
    if (!(State & odSelected) || !Enabled())
        c->Font()->SetColor(p.Enabled && Enabled() ? Font()->Color()
                                                   : (Color() == clBtnShadow ? clBtnFace : clBtnShadow));
    TFcCustomTabbedListBox::DrawListItem(Index, R, State);
}

void TFcCheckList::DefaultDrawItem(int Index, TRect R, TOwnerDrawState)
{
    Canvas()->Brush()->SetStyle(bsClear);
    DrawTabbed(Strings(Index), R);
    Canvas()->Brush()->SetStyle(bsSolid);
}

// ---- the marked text format ---------------------------------------------------------------------

namespace {

QString ThreeDigits(int Index)
{
    return Index < 0 ? QStringLiteral("---") : QStringLiteral("%1").arg(Index, 3, 10, QLatin1Char('0'));
}

int NumberAt(const QString& Line, int From, int Length, int Default)
{
    bool ok = false;
    const int v = Line.mid(From, Length).toInt(&ok);
    return ok ? v : Default;
}

}  // namespace

QString TFcCheckList::SaveToText() const
{
    QString out;
    for (int i = 0; i < Count(); ++i) {
        const TPacket& p = FPackets[size_t(i)];
        out += QStringLiteral("@%1 %2 %3 %4 %5\r\n")
                   .arg(p.Enabled ? 1 : 0)
                   .arg(int(p.State))
                   .arg(ThreeDigits(p.ImageIndex), ThreeDigits(p.DisabledIndex), Strings(i));
    }
    return out;
}

void TFcCheckList::LoadFromText(const QString& Text)
{
    Clear();
    QStringList lines = Text.split(QStringLiteral("\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        TPacket p;
        QString text = line;
        if (line.startsWith(QLatin1Char('@'))) {
            // fields at fixed columns; short lines read as far as they go
            p.Enabled = line.mid(1, 1) == QLatin1String("1");
            const int state = NumberAt(line, 3, 1, 0);
            p.State = state >= 0 && state <= 2 ? TCheckBoxState(state) : cbUnchecked;
            p.ImageIndex = NumberAt(line, 5, 3, -1);
            p.DisabledIndex = NumberAt(line, 9, 3, -1);
            text = line.mid(13);
        } else if (line.startsWith(QLatin1Char('&'))) {
            p.Enabled = line.mid(1, 1) == QLatin1String("1");
            const int state = NumberAt(line, 3, 1, 0);
            p.State = state >= 0 && state <= 2 ? TCheckBoxState(state) : cbUnchecked;
            text = line.mid(5);
        }
        const int i = AddItem(text);
        FPackets[size_t(i)] = p;
    }
    Invalidate();
}

void TFcCheckList::SaveToFile(const QString& FileName) const
{
    QFile f(FileName);
    if (!f.open(QIODevice::WriteOnly))
        throw EFileStreamError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, f.errorString()));
    f.write(SaveToText().toUtf8());
}

void TFcCheckList::LoadFromFile(const QString& FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EFileStreamError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, f.errorString()));
    LoadFromText(QString::fromUtf8(f.readAll()));
}
