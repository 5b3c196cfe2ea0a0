#include "components/framed/FcChkLst.h"

#include "components/framed/FcFrames.h"
#include "components/framed/FcImageLink.h"
#include "components/framed/FcLegacyProps.h"
#include "components/framed/FcSystem.h"
#include "components/framed/FcTextFile.h"
#include "platform/rtl/Exception.h"
#include "platform/ui/ImgList.h"

#include <QFile>
#include <algorithm>
#include <functional>

TFcCheckList::TFcCheckList(TComponent* AOwner) : TFcCustomTabbedListBox(AOwner)
{
    SetStyle(lbOwnerDrawFixed);
    SetShowGroups(true);
    UpdateItemHeight();
}

TFcCheckList::~TFcCheckList()
{
    UnlinkImageList(FImages);
    UnlinkImageList(FCustomGlyphImages);
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
    if (FImages == Value)
        return;
    LinkImageList(this, FImages, Value, [this] { ImagesChanged(); });
    ImagesChanged();
}

void TFcCheckList::ImagesChanged()
{
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
    if (UseRightToLeftAlignment())
        return Rect(r.Right - FGlyphWidth - 4, r.Top, r.Right, r.Bottom);
    return Rect(r.Left, r.Top, r.Left + FGlyphWidth + 4, r.Bottom);
}

QStringList TFcCheckList::StoredItemProperties() const
{
    if (Count() == 0)
        return {};
    auto list = [this](const char* Name, const std::function<QString(const TPacket&)>& Item) {
        QStringList values;
        for (const TPacket& p : FPackets)
            values << Item(p);
        return QStringLiteral("%1 = (%2)").arg(QLatin1String(Name), values.join(QLatin1Char(' ')));
    };
    QStringList lines;
    lines << list("ItemEnabled", [](const TPacket& P) { return P.Enabled ? QStringLiteral("True") : QStringLiteral("False"); });
    lines << list("ItemState", [](const TPacket& P) { return QString::number(int(P.State)); });
    if (FImages) {
        lines << list("ItemImageIndex", [](const TPacket& P) { return QString::number(P.ImageIndex); });
        lines << list("ItemDisabledIndex", [](const TPacket& P) { return QString::number(P.DisabledIndex); });
    }
    return lines;
}

bool TFcCheckList::ReadItemProperty(const QString& Name, const QString& Value)
{
    auto is = [&Name](const char* N) { return Name.compare(QLatin1String(N), Qt::CaseInsensitive) == 0; };
    if (!is("ItemEnabled") && !is("ItemState") && !is("ItemImageIndex") && !is("ItemDisabledIndex"))
        return false;
    const QStringList values = LegacyList(Value);
    for (int i = 0; i < int(values.size()) && i < int(FPackets.size()); ++i) {
        TPacket& p = FPackets[size_t(i)];
        const QString& v = values[i];
        if (is("ItemEnabled"))
            p.Enabled = LegacyBool(v);
        else if (is("ItemState"))
            p.State = TCheckBoxState(std::clamp(v.toInt(), 0, 2));
        else if (is("ItemImageIndex"))
            p.ImageIndex = v.toInt();
        else
            p.DisabledIndex = v.toInt();
    }
    Invalidate();
    return true;
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

void TFcCheckList::SetCustomGlyphs(const TBitmap* Value)
{
    if (Value)
        FCustomGlyphs.Assign(Value);
    else
        FCustomGlyphs.SetSize(0, 0);
    if (!Loading())
        SetUseCustomGlyphs(!FCustomGlyphs.Empty());
    Invalidate();
}

void TFcCheckList::SetNumGlyphs(int Value)
{
    FNumGlyphs = std::max(1, Value);
    UpdateGlyphDimensions();
}

void TFcCheckList::SetCustomGlyphImages(TCustomImageList* Value)
{
    LinkImageList(this, FCustomGlyphImages, Value, [this] { CustomGlyphImagesChanged(); });
    CustomGlyphImagesChanged();
}

void TFcCheckList::CustomGlyphImagesChanged()
{
    SetUseCustomGlyphs(FCustomGlyphImages && FCustomGlyphImages->Count() > 0);
}

void TFcCheckList::SetUseCustomGlyphs(bool Value)
{
    FUseCustomGlyphs = Value;
    UpdateGlyphDimensions();
}

void TFcCheckList::UpdateGlyphDimensions()
{
    // the cell size of the pictures in use, else the standard 13 x 13 box
    if (FUseCustomGlyphs && FCustomGlyphImages) {
        FGlyphWidth = FCustomGlyphImages->Width();
        FGlyphHeight = FCustomGlyphImages->Height();
    } else if (FUseCustomGlyphs && !FCustomGlyphs.Empty()) {
        FGlyphWidth = FCustomGlyphs.Width() / FNumGlyphs;
        FGlyphHeight = FCustomGlyphs.Height();
    } else {
        FGlyphWidth = 13;
        FGlyphHeight = 13;
    }
    UpdateItemHeight();
    Invalidate();
}

void TFcCheckList::Notification(TComponent* AComponent, TOperation Operation)
{
    TFcCustomTabbedListBox::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (ForgetFreedImageList(FCustomGlyphImages, AComponent))
        UpdateGlyphDimensions();
    if (ForgetFreedImageList(FImages, AComponent))
        ImagesChanged();
}

void TFcCheckList::SelectGlyph(int Index, TBitmap* Glyph)
{
    TCanvas* c = Glyph->Canvas();
    const TRect g(0, 0, FGlyphWidth, FGlyphHeight);
    const bool enabled = GetItemEnabled(Index) && Enabled();
    const int state = int(GetItemState(Index));  // unchecked, checked, grayed
    if (FUseCustomGlyphs && FCustomGlyphImages) {
        c->Brush()->SetColor(TransparentColor);
        c->FillRect(g);
        // disabled pictures follow the enabled ones: 3..5, or 6..8 in a longer list
        const int disabledBase = FCustomGlyphImages->Count() < 7 ? 3 : 6;
        FCustomGlyphImages->Draw(c, 0, 0, enabled ? state : disabledBase + state, true);
        return;
    }
    if (FUseCustomGlyphs && !FCustomGlyphs.Empty()) {
        const int cell = enabled ? state : 3 + state;
        c->CopyRect(g, FCustomGlyphs.Canvas(), Bounds(cell * FGlyphWidth, 0, FGlyphWidth, FGlyphHeight));
        return;
    }
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

namespace {

void ReplaceGlyphColour(TBitmap& Glyph, TColor From, TColor To)
{
    const TColor from = ColorToRGB(From), to = ColorToRGB(To);
    if (from == to)
        return;
    for (int y = 0; y < Glyph.Height(); ++y)
        for (int x = 0; x < Glyph.Width(); ++x)
            if (Glyph.Pixel(x, y) == from)
                Glyph.SetPixel(x, y, to);
}

}  // namespace

void TFcCheckList::DrawListItem(int Index, TRect R, TOwnerDrawState State)
{
    TCanvas* c = Canvas();
    // 2./3. the check box before the text
    TBitmap glyph(FGlyphWidth, FGlyphHeight);
    SelectGlyph(Index, &glyph);
    // the see-through colour becomes the list's, the mask colour the window's
    ReplaceGlyphColour(glyph, TransparentColor, Color());
    if (FUseCustomGlyphs)
        ReplaceGlyphColour(glyph, WinMaskColor, clWindow);
    const int imagesWidth = FImages ? FImages->Width() + 4 : 0;
    c->FillRect(R);
    const bool rtl = UseRightToLeftAlignment();
    c->Draw(rtl ? R.Right + imagesWidth + 4 : R.Left - FGlyphWidth - imagesWidth - 4,
            R.Top + (R.Height() - FGlyphHeight) / 2, &glyph);
    // 4. the item's image
    const TPacket& p = Packet(Index);
    if (FImages) {
        const int x = rtl ? R.Right + 4 : R.Left - FImages->Width();
        const int y = R.Top + (R.Height() - FImages->Height()) / 2;
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
    for (const QString& line : lines)
        AddMarkedLine(line);
    Invalidate();
}

void TFcCheckList::AddMarkedLine(QString Line)
{
    if (Line.endsWith(QLatin1Char('\r')))
        Line.chop(1);
    TPacket p;
    QString text = Line;
    if (Line.startsWith(QLatin1Char('@'))) {
        // fields at fixed columns; short lines read as far as they go
        p.Enabled = Line.mid(1, 1) == QLatin1String("1");
        const int state = NumberAt(Line, 3, 1, 0);
        p.State = state >= 0 && state <= 2 ? TCheckBoxState(state) : cbUnchecked;
        p.ImageIndex = NumberAt(Line, 5, 3, -1);
        p.DisabledIndex = NumberAt(Line, 9, 3, -1);
        text = Line.mid(13);
    } else if (Line.startsWith(QLatin1Char('&'))) {
        p.Enabled = Line.mid(1, 1) == QLatin1String("1");
        const int state = NumberAt(Line, 3, 1, 0);
        p.State = state >= 0 && state <= 2 ? TCheckBoxState(state) : cbUnchecked;
        text = Line.mid(5);
    }
    const int i = AddItem(text);
    FPackets[size_t(i)] = p;
}

void TFcCheckList::SaveToFile(const QString& FileName, TFcIniFileEncoding Encoding) const
{
    SaveTextFile(FileName, SaveToText(), Encoding);
}

void TFcCheckList::LoadFromFile(const QString& FileName)
{
    LoadFromText(LoadTextFile(FileName));
}

void TFcCheckList::SaveToStream(QIODevice* Stream, TFcIniFileEncoding Encoding) const
{
    SaveTextStream(Stream, SaveToText(), Encoding);
}

void TFcCheckList::LoadFromStream(QIODevice* Stream)
{
    LoadFromText(LoadTextStream(Stream));
}

void TFcCheckList::AddStrings(const QStringList& Lines)
{
    // marked lines carry their record; any other line is a plain item
    for (const QString& line : Lines)
        AddMarkedLine(line);
    Invalidate();
}
