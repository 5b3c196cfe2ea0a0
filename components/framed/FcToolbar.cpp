#include "components/framed/FcToolbar.h"

#include "components/framed/FcFrames.h"
#include "components/framed/FcImageLink.h"
#include "components/framed/FcRegIniFile.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/ThemedElements.h"

#include <algorithm>
#include <cmath>

// ---- TFcToolbarControlList ------------------------------------------------------------

int TFcToolbarControlList::IndexOf(const TControl* Control) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)].Control == Control)
            return i;
    return -1;
}

int TFcToolbarControlList::IndexOfName(const QString& Name) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)].ControlName.compare(Name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TFcToolbarControlList::AddControl(TControl* Control)
{
    const int i = IndexOf(Control);
    if (i >= 0)
        return i;
    FItems.push_back({Control, Control->Name()});
    return Count() - 1;
}

int TFcToolbarControlList::AddControlName(const QString& Name)
{
    const int i = IndexOfName(Name);
    if (i >= 0)
        return i;
    FItems.push_back({nullptr, Name});
    return Count() - 1;
}

int TFcToolbarControlList::RemoveControl(const TControl* Control)
{
    const int i = IndexOf(Control);
    if (i >= 0)
        FItems.erase(FItems.begin() + i);
    return i;
}

int TFcToolbarControlList::RemoveControlName(const QString& Name)
{
    const int i = IndexOfName(Name);
    if (i >= 0)
        FItems.erase(FItems.begin() + i);
    return i;
}

void TFcToolbarControlList::Move(int From, int To)
{
    if (From == To || From < 0 || From >= Count() || To < 0 || To >= Count())
        return;
    const TFcToolbarControl item = FItems[size_t(From)];
    FItems.erase(FItems.begin() + From);
    FItems.insert(FItems.begin() + To, item);
}

QStringList TFcToolbarControlList::Names() const
{
    QStringList names;
    for (const TFcToolbarControl& i : FItems)
        names << i.ControlName;
    return names;
}

// ---- TFcSpacer ----------------------------------------------------------------------------

TFcSpacer::TFcSpacer(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 8, 25);
}

void TFcSpacer::SetGrooved(bool Value)
{
    if (FGrooved != Value) {
        FGrooved = Value;
        Invalidate();
    }
}

void TFcSpacer::SetOrientation(TOrientation Value)
{
    if (FOrientation == Value)
        return;
    FOrientation = Value;
    if (!Loading())
        SetBounds(Left(), Top(), Height(), Width());
    Invalidate();
}

void TFcSpacer::Paint()
{
    if (!FGrooved)
        return;
    TCanvas* c = Canvas();
    const TRect r = ClientRect();
    const bool wide = r.Width() > r.Height();
    if (ThemeServicesEnabled()) {
        DrawThemedToolbarSeparator(c, r, !wide);
        return;
    }
    c->Brush()->SetStyle(bsSolid);
    if (wide) {
        const int y = r.Top + r.Height() / 2 - 1;
        c->Brush()->SetColor(clBtnShadow);
        c->FillRect(Rect(r.Left + 1, y, r.Right, y + 1));
        c->Brush()->SetColor(clBtnHighlight);
        c->FillRect(Rect(r.Left + 1, y + 1, r.Right, y + 2));
    } else {
        const int x = r.Left + r.Width() / 2 - 1;
        c->Brush()->SetColor(clBtnShadow);
        c->FillRect(Rect(x, r.Top + 1, x + 1, r.Bottom));
        c->Brush()->SetColor(clBtnHighlight);
        c->FillRect(Rect(x + 1, r.Top + 1, x + 2, r.Bottom));
    }
}

// ---- TFcToolbar ------------------------------------------------------------------------------

TFcToolbar::TFcToolbar(TComponent* AOwner) : TFcCustomPanel(AOwner), FToolbarControls(this)
{
    FBorderInner = fsNone;
    FBorderOuter = fsGroove;
    FBorderSides = SideBit(sdTop);
    SetBorderWidth(0);
    TControl::SetAlign(alTop);
    SetBounds(0, 0, 32, 32);
    ShowDockClientCaptions = false;
    FullRepaint = false;
    FBackground.OnChange = [this] { Invalidate(); };
}

TFcToolbar::~TFcToolbar()
{
    FBackground.OnChange = nullptr;
    UnlinkImageList(FImages);
    UnlinkImageList(FDisabledImages);
}

void TFcToolbar::ImagesChanged()
{
    // the buttons draw from the bar's lists too
    Invalidate();
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->Invalidate();
}

void TFcToolbar::NotifyChildren(TFcToolbarNotification Notification)
{
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* c = dynamic_cast<IFcToolbarClient*>(Controls(i)))
            c->ToolbarChanged(Notification);
}

void TFcToolbar::ButtonSettingChanged(TFcToolbarNotification Notification)
{
    NotifyChildren(Notification);
    if (!FUpdatingTextOptions)
        FTextOptions = ttoCustom;
}

void TFcToolbar::SetShowButtonCaptions(bool Value)
{
    if (FShowButtonCaptions != Value) {
        FShowButtonCaptions = Value;
        ButtonSettingChanged(tnShowCaptionsChanged);
    }
}

void TFcToolbar::SetButtonLayout(TButtonLayout Value)
{
    if (FButtonLayout != Value) {
        FButtonLayout = Value;
        ButtonSettingChanged(tnButtonLayoutChanged);
    }
}

void TFcToolbar::SetButtonWidth(int Value)
{
    if (FButtonWidth != Value) {
        FButtonWidth = Value;
        ButtonSettingChanged(tnButtonSizeChanged);
    }
}

void TFcToolbar::SetButtonHeight(int Value)
{
    if (FButtonHeight != Value) {
        FButtonHeight = Value;
        ButtonSettingChanged(tnButtonSizeChanged);
    }
}

void TFcToolbar::SetTextOptions(TFcToolbarTextOptions Value)
{
    if (FTextOptions == Value)
        return;
    FUpdatingTextOptions = true;
    FTextOptions = Value;
    const bool vertical = FOrientation == orVertical;
    switch (Value) {
    case ttoNoTextLabels:
        SetButtonLayout(blGlyphLeft);
        UpdateButtonSize(25, 25, false);
        break;
    case ttoShowTextLabels:
        SetButtonLayout(blGlyphTop);
        UpdateButtonSize(60, 40, true);
        if (vertical)
            SetRowHeight(60);
        break;
    case ttoSelectiveTextOnRight:
        SetButtonLayout(blGlyphLeft);
        UpdateButtonSize(60, 25, true);
        if (vertical)
            SetRowHeight(60);
        break;
    case ttoCustom:
        break;
    }
    FUpdatingTextOptions = false;
}

void TFcToolbar::UpdateButtonSize(int NewWidth, int NewHeight, bool ShowCaptions)
{
    SetShowButtonCaptions(ShowCaptions);
    SetButtonWidth(NewWidth);
    SetButtonHeight(NewHeight);
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* b = dynamic_cast<IFcToolbarButtonSizing*>(Controls(i)))
            b->ApplyToolbarSize(NewWidth, NewHeight, ShowCaptions,
                                ShowCaptions && NewHeight > 30 ? blGlyphTop : blGlyphLeft);
    SetRowHeight(FOrientation == orVertical ? NewWidth : NewHeight);
}

void TFcToolbar::SetShowDivider(bool Value)
{
    if (FShowDivider == Value)
        return;
    FShowDivider = Value;
    FBorderOuter = Value ? fsGroove : fsNone;
    Realign();
    Invalidate();
}

void TFcToolbar::SetBorderInner(TFrameStyleEx Value)
{
    if (Value != FBorderInner) {
        TFcCustomPanel::SetBorderInner(Value);
        FAutoStyle = false;
    }
}

void TFcToolbar::SetBorderOuter(TFrameStyleEx Value)
{
    if (Value != FBorderOuter) {
        TFcCustomPanel::SetBorderOuter(Value);
        FAutoStyle = false;
    }
}

void TFcToolbar::SetBorderSides(TSides Value)
{
    if (Value != FBorderSides) {
        TFcCustomPanel::SetBorderSides(Value);
        FAutoStyle = false;
    }
}

void TFcToolbar::SetVisualStyle(TFcVisualStyle Value)
{
    if (Value != FVisualStyle) {
        TFcCustomPanel::SetVisualStyle(Value);
        NotifyChildren(tnVisualStyleChanged);
    }
}

void TFcToolbar::SetGradientColorStyle(TFcGradientColorStyle Value)
{
    if (Value != FGradientColorStyle) {
        TFcCustomPanel::SetGradientColorStyle(Value);
        NotifyChildren(tnVisualStyleChanged);
    }
}

void TFcToolbar::SetAlign(TAlign Value)
{
    if (FAutoStyle)
        AdjustStyle(Value);
    TControl::SetAlign(Value);
    if (FAutoResize) {
        if (Value == alLeft || Value == alRight)
            SetWidth(32);
        else
            SetHeight(32);
    }
}

void TFcToolbar::AdjustStyle(TAlign A)
{
    FBorderInner = fsNone;
    FBorderOuter = FShowDivider ? fsGroove : fsNone;
    switch (A) {
    case alLeft: FBorderSides = SideBit(sdLeft); break;
    case alRight: FBorderSides = SideBit(sdRight); break;
    case alBottom: FBorderSides = SideBit(sdBottom); break;
    default: FBorderSides = SideBit(sdTop); break;
    }
    Realign();
    Invalidate();
}

#define FC_TB_LAYOUT_SETTER(Name, Type, Field)     \
    void TFcToolbar::Set##Name(Type Value)         \
    {                                              \
        if (Field == Value)                        \
            return;                                \
        Field = Value;                             \
        PositionControls();                        \
    }
FC_TB_LAYOUT_SETTER(Margin, int, FMargin)
FC_TB_LAYOUT_SETTER(TopMargin, int, FTopMargin)
FC_TB_LAYOUT_SETTER(RowHeight, int, FRowHeight)
FC_TB_LAYOUT_SETTER(WrapControls, bool, FWrapControls)
#undef FC_TB_LAYOUT_SETTER

void TFcToolbar::SetOrientation(TOrientation Value)
{
    FOrientation = Value;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* s = dynamic_cast<TFcSpacer*>(Controls(i)))
            s->SetOrientation(Value);
    PositionControls();
}

void TFcToolbar::CheckAutoResize(bool& Value)
{
    // a bar inside a pager or a platform tool bar is sized by its host
    if (Parent()) {
        const QString host = QString::fromLatin1(typeid(*Parent()).name());
        if (host.contains(QLatin1String("TPageScroller"), Qt::CaseInsensitive) ||
            host.endsWith(QLatin1String("8TToolBar"), Qt::CaseInsensitive))
            Value = false;
    }
}

void TFcToolbar::SetAutoResize(bool Value)
{
    CheckAutoResize(Value);
    if (FAutoResize != Value) {
        FAutoResize = Value;
        PositionControls();
    }
}

void TFcToolbar::SetParent(TWinControl* AParent)
{
    TFcCustomPanel::SetParent(AParent);
    CheckAutoResize(FAutoResize);
}

void TFcToolbar::SetBackground(const TBitmap* Value)
{
    if (Value)
        FBackground.Assign(Value);
    else
        FBackground.SetSize(0, 0);
    Invalidate();
}

void TFcToolbar::SetImages(TCustomImageList* Value)
{
    LinkImageList(this, FImages, Value, [this] { ImagesChanged(); });
    ImagesChanged();
}

void TFcToolbar::SetDisabledImages(TCustomImageList* Value)
{
    LinkImageList(this, FDisabledImages, Value, [this] { ImagesChanged(); });
    ImagesChanged();
    Invalidate();
}

void TFcToolbar::SetRegIniFile(TFcRegIniFile* Value)
{
    FRegIniFile = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TFcToolbar::BiDiModeChanged()
{
    TFcCustomPanel::BiDiModeChanged();
    PositionControls();
    PlacePopupButton();
}

void TFcToolbar::Notification(TComponent* AComponent, TOperation Operation)
{
    TFcCustomPanel::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    ForgetFreedImageList(FImages, AComponent);
    ForgetFreedImageList(FDisabledImages, AComponent);
    if (AComponent == FRegIniFile)
        FRegIniFile = nullptr;
    // compared by address: the control is already past its own destructor
    for (int i = 0; i < FToolbarControls.Count(); ++i) {
        const TControl* c = FToolbarControls.Items(i).Control;
        if (c && static_cast<const TComponent*>(c) == AComponent) {
            FToolbarControls.RemoveControl(c);
            if (!(ComponentState() & csDestroying))
                PositionControls();
            break;
        }
    }
}

void TFcToolbar::ChangeScale(int M, int D)
{
    TFcCustomPanel::ChangeScale(M, D);
    FRowHeight = MulDiv(FRowHeight, M, D);
}

void TFcToolbar::VisibleChanged()
{
    TFcCustomPanel::VisibleChanged();
    if (OnVisibleChanged)
        OnVisibleChanged(this);
}

bool TFcToolbar::CanAutoSize(int& NewWidth, int& NewHeight)
{
    if (!TFcCustomPanel::CanAutoSize(NewWidth, NewHeight))
        return false;
    NewWidth += FMargin;
    return true;
}

TPoint TFcToolbar::InvalidateMarginSize() const
{
    if (FOrientation == orHorizontal && !FWrapControls && FShowToolbarPopupButton)
        return {15, 1};
    return TFcCustomPanel::InvalidateMarginSize();
}

void TFcToolbar::SetToolbarControlNames(const QStringList& Names)
{
    FTempControlList.clear();
    for (const QString& n : Names)
        if (!FTempControlList.contains(n, Qt::CaseInsensitive))
            FTempControlList << n;
    if (!Loading())
        Loaded();
}

void TFcToolbar::Loaded()
{
    TFcCustomPanel::Loaded();
    // the streamed names, resolved against the bar's owner; without any (or
    // when a listed control moved elsewhere) every child not yet listed follows
    bool listChildren = true;
    if (!FTempControlList.isEmpty()) {
        bool dropped = false;
        for (const QString& name : FTempControlList) {
            TComponent* owner = Owner() ? Owner() : this;
            auto* c = dynamic_cast<TControl*>(owner->FindComponent(name));
            if (!c)
                continue;
            if (c->Parent() != this) {
                dropped = true;
                continue;
            }
            FToolbarControls.AddControl(c);
            c->FreeNotification(this);
        }
        FTempControlList.clear();
        listChildren = dropped;
    }
    if (listChildren)
        for (int i = 0; i < ControlCount(); ++i)
            if (Controls(i) != FToolbarPopupButton) {
                FToolbarControls.AddControl(Controls(i));
                Controls(i)->FreeNotification(this);
            }
    PositionControls();
    if (FAutoStyle)
        AdjustStyle(Align());
}

void TFcToolbar::AlignControls(TControl*, TRect&)
{
    if (Loading())
        return;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c != FToolbarPopupButton && FToolbarControls.IndexOf(c) < 0) {
            FToolbarControls.AddControl(c);
            c->FreeNotification(this);
        }
    }
    PositionControls();
    PlacePopupButton();
}

void TFcToolbar::PlacePopupButton()
{
    if (Loading() || !FToolbarPopupButton || !FShowToolbarPopupButton || FWrapControls || FOrientation != orHorizontal)
        return;
    // at the end the buttons run to: the right, or the left when mirrored
    FToolbarPopupButton->SetBounds(UseRightToLeftAlignment() ? 0 : Width() - 14, 0, 14, Height());
    FToolbarPopupButton->SetVisible(true);
    FToolbarPopupButton->BringToFront();
}

void TFcToolbar::SetShowToolbarPopupButton(bool Value)
{
    if (FShowToolbarPopupButton == Value)
        return;
    FShowToolbarPopupButton = Value;
    if (!FToolbarPopupButton && Value) {
        FToolbarPopupButton = new TFcToolbarPopupButton(this);
        FToolbarPopupButton->SetFrameColor(AdjustColor(FlatColor(), FlatColorAdjustment()));
        FToolbarPopupButton->SetParent(this);
    }
    if (FToolbarPopupButton)
        FToolbarPopupButton->SetVisible(Value);
    PlacePopupButton();
    Invalidate();
}

void TFcToolbar::PositionControl(int Index, int Row, int& Pos)
{
    TControl* c = FToolbarControls.Items(Index).Control;
    if (!c || (c->ComponentState() & csDestroying))
        return;
    if (FOrientation == orHorizontal) {
        if (c->AlignWithMargins())
            Pos += c->Margins.Left;
        const int top = (Row - 1) * FCalculatedRowHeight + FTopMargin + FRowHeight / 2 - c->Height() / 2;
        const int left = UseRightToLeftAlignment() ? Width() - c->Width() - Pos : Pos;
        c->SetBounds(left, top, c->Width(), c->Height());
        Pos += c->Width() + (c->AlignWithMargins() ? c->Margins.Right : 0);
    } else {
        if (c->AlignWithMargins())
            Pos += c->Margins.Top;
        const int left = (Row - 1) * FCalculatedRowHeight + FMargin + FRowHeight / 2 - c->Width() / 2;
        c->SetBounds(left, Pos, c->Width(), c->Height());
        Pos += c->Height() + (c->AlignWithMargins() ? c->Margins.Bottom : 0);
    }
}

void TFcToolbar::PositionControls()
{
    if (Loading() || FPositioning)
        return;
    FPositioning = true;
    const bool horizontal = FOrientation == orHorizontal;
    const int n = FToolbarControls.Count();
    // 1. the overflow decision, by where the last visible control was placed
    if (horizontal && !FWrapControls && n > 0) {
        int last = n - 1;
        while (last > 0 && !(FToolbarControls.Items(last).Control && FToolbarControls.Items(last).Control->Visible()))
            --last;
        TControl* c = FToolbarControls.Items(last).Control;
        if (c && c->Visible() && !AutoSize())
            SetShowToolbarPopupButton(UseRightToLeftAlignment() ? c->Left() < FMargin
                                                                : c->Left() + c->Width() > Width() - FMargin);
        else
            SetShowToolbarPopupButton(false);  // nothing shown, or a bar that grows: nothing cut off
    }
    // 2.
    int pos = FMargin, row = 1, maxPos = 0;
    FCalculatedRowHeight = CalculateRowHeight(1);
    const int limit = horizontal ? Width() - FMargin : Height() - FMargin;
    // 3.
    for (int i = 0; i < n; ++i) {
        TControl* c = FToolbarControls.Items(i).Control;
        if (!c || !c->Visible())
            continue;
        const int extent = horizontal ? c->Width() : c->Height();
        if (i > 0 && FWrapControls && pos + extent > limit) {
            pos = FMargin;
            ++row;
            FCalculatedRowHeight = CalculateRowHeight(row);
        }
        PositionControl(i, row, pos);
        maxPos = std::max(maxPos, pos);
    }
    // 5. the bar fits its rows
    if (FAutoResize) {
        const TAlign a = Align();
        if (horizontal) {
            if ((a == alLeft || a == alRight) && maxPos != 0)
                SetWidth(FMargin + maxPos);
            else if (a == alNone || a == alTop || a == alBottom)
                SetHeight(FRowHeight * row + 2 * FTopMargin);
        } else {
            if (a == alLeft || a == alRight)
                SetWidth(FRowHeight * row + FTopMargin + 2);
            else if ((a == alNone || a == alTop || a == alBottom) && maxPos != 0)
                SetHeight(FMargin + maxPos);
        }
        if (Parent() && Parent()->Showing())
            Parent()->Realign();
    }
    FPositioning = false;
    // with AutoSize the bar fits what was just laid out, even when nothing moved
    AdjustSize();
}

void TFcToolbar::Paint()
{
    TCanvas* c = Canvas();
    if (FVisualStyle == vsWinXP && ActiveStyleServicesEnabled()) {
        TFcBorderSet b;
        b.BorderOuter = FBorderOuter;
        b.BorderInner = FBorderInner;
        b.BorderWidth = BorderWidth();
        b.BorderSides = FBorderSides;
        b.BevelWidth = BevelWidth();
        b.BorderColor = FBorderColor;
        b.FlatColor = FFlatColor;
        b.FlatColorAdjustment = FFlatColorAdjustment;
        b.Color = Color();
        const TRect inner = DrawInnerOuterBorders(c, GetControlRect(), b);
        DrawThemedRebarBackground(c, inner);
    } else {
        PaintPanel();
        if (FBackground.Width() > 0 && FBackground.Height() > 0) {
            const TRect r = FixClientRect(ClientRect(), true);
            const int saved = c->SaveDC();
            c->IntersectClipRect(r);
            const int cols = (ClientWidth() + FBackground.Width() - 1) / FBackground.Width();
            const int rows = (ClientHeight() + FBackground.Height() - 1) / FBackground.Height();
            for (int y = 0; y < rows; ++y)
                for (int x = 0; x < cols; ++x)
                    c->Draw(r.Left + x * FBackground.Width(), r.Top + y * FBackground.Height(), &FBackground);
            c->RestoreDC(saved);
        }
    }
    if (FToolbarPopupButton && FShowToolbarPopupButton)
        FToolbarPopupButton->Invalidate();
}

void TFcToolbar::SaveLayout()
{
    if (!FRegIniFile)
        throw ENoRegIniFile(QStringLiteral("No TFcRegIniFile component specified"));
    const QString section = Name();
    FRegIniFile->WriteInteger(section, QStringLiteral("TextOptions"), int(FTextOptions));
    FRegIniFile->WriteInteger(section, QStringLiteral("Count"), FToolbarControls.Count());
    for (int i = 0; i < FToolbarControls.Count(); ++i) {
        const TFcToolbarControl& item = FToolbarControls.Items(i);
        const bool hidden = item.Control && !item.Control->Visible();
        FRegIniFile->WriteString(section, QStringLiteral("Control%1").arg(i),
                                 (hidden ? QStringLiteral("##") : QString()) + item.ControlName);
    }
}

void TFcToolbar::RestoreLayout()
{
    if (!FRegIniFile)
        throw ENoRegIniFile(QStringLiteral("No TFcRegIniFile component specified"));
    const QString section = Name();
    const int count = FRegIniFile->ReadInteger(section, QStringLiteral("Count"), 0);
    if (count > 0 && count == FToolbarControls.Count()) {
        for (int i = 0; i < count; ++i) {
            QString name = FRegIniFile->ReadString(section, QStringLiteral("Control%1").arg(i), QString());
            if (name.isEmpty())
                continue;
            const bool hidden = name.startsWith(QLatin1String("##"));
            if (hidden)
                name = name.mid(2);
            const int at = FToolbarControls.IndexOfName(name);
            if (at < 0)
                continue;
            FToolbarControls.Move(at, i);
            if (TControl* c = FToolbarControls.Items(i).Control)
                c->SetVisible(!hidden);
        }
        PositionControls();
    }
    const int options = FRegIniFile->ReadInteger(section, QStringLiteral("TextOptions"), -1);
    if (options >= 0 && options <= int(ttoCustom))
        SetTextOptions(TFcToolbarTextOptions(options));
}
