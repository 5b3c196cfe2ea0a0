#include "components/framed/FcLabel.h"

#include "components/framed/FcFrames.h"
#include "components/framed/FcSystem.h"

#include <cmath>

namespace {

const double Pi = 3.14159265358979323846;

// Writes Text so that the anchor (X, Y) is its baseline (centred or left) or
// its top-left corner, turned by the canvas font's orientation.
void TextAt(TCanvas* C, int X, int Y, const QString& Text, bool Baseline, bool Centre)
{
    const double a = C->Font()->Orientation() / 10.0 * Pi / 180.0;
    const double u = Centre ? -C->TextWidth(Text) / 2.0 : 0.0;
    const double v = Baseline ? -double(C->TextMetrics().tmAscent) : 0.0;
    const int x = X + int(std::lround(u * std::cos(a) + v * std::sin(a)));
    const int y = Y + int(std::lround(-u * std::sin(a) + v * std::cos(a)));
    C->TextOut(x, y, Text);
}

}  // namespace

TFcLabel::TFcLabel(TComponent* AOwner) : TCustomLabel(AOwner)
{
    FcCommonInitialize();
    SetColor(clBtnFace);
    SetParentColor(true);
    FFontColor = Font()->Color();
    FCurrentColor = FFontColor;
    RegisterBlinkingControl(this);
}

TFcLabel::~TFcLabel()
{
    if (FFrameController)
        FFrameController->RemoveControl(this);
    UnregisterBlinkingControl(this);
}

#define FC_LABEL_SETTER(Name, Type, Field)       \
    void TFcLabel::Set##Name(Type Value)         \
    {                                            \
        if (Field == Value)                      \
            return;                              \
        Field = Value;                           \
        Invalidate();                            \
    }
FC_LABEL_SETTER(CenterPoint, TCenterPoint, FCenterPoint)
FC_LABEL_SETTER(BlinkColor, TColor, FBlinkColor)
FC_LABEL_SETTER(BorderColor, TColor, FBorderColor)
FC_LABEL_SETTER(BorderHighlight, TColor, FBorderHighlight)
FC_LABEL_SETTER(BorderShadow, TColor, FBorderShadow)
FC_LABEL_SETTER(FlatColor, TColor, FFlatColor)
FC_LABEL_SETTER(FlatColorAdjustment, int, FFlatColorAdjustment)
FC_LABEL_SETTER(FlyByColor, TColor, FFlyByColor)
FC_LABEL_SETTER(LightTextStyle, bool, FLightTextStyle)
FC_LABEL_SETTER(TextStyle, TTextStyle, FTextStyle)
FC_LABEL_SETTER(HighlightColor, TColor, FHighlightColor)
FC_LABEL_SETTER(ShadowColor, TColor, FShadowColor)
FC_LABEL_SETTER(ShadowDepth, int, FShadowDepth)
FC_LABEL_SETTER(TextMargin, int, FTextMargin)
#undef FC_LABEL_SETTER

#define FC_LABEL_SIZE_SETTER(Name, Type, Field)  \
    void TFcLabel::Set##Name(Type Value)         \
    {                                            \
        if (Field == Value)                      \
            return;                              \
        Field = Value;                           \
        AdjustBounds();                          \
        Invalidate();                            \
    }
FC_LABEL_SIZE_SETTER(BevelWidth, int, FBevelWidth)
FC_LABEL_SIZE_SETTER(BorderSides, TSides, FBorderSides)
FC_LABEL_SIZE_SETTER(BorderInner, TFrameStyleEx, FBorderInner)
FC_LABEL_SIZE_SETTER(BorderOuter, TFrameStyleEx, FBorderOuter)
FC_LABEL_SIZE_SETTER(BorderWidth, int, FBorderWidth)
#undef FC_LABEL_SIZE_SETTER

void TFcLabel::SetAngle(int Value)
{
    Value = Value < 0 ? 360 + Value % 360 : Value % 360;
    if (FAngle == Value)
        return;
    FAngle = Value;
    if (!Loading() && Value != 0 && !IsTrueTypeFont(*Font()))
        Font()->SetName(QStringLiteral("Verdana"));
    if (Value != 0 && FRotation == roNone)
        FRotation = roFlat;
    AdjustBounds();
    Repaint();
}

void TFcLabel::SetRotation(TRotation Value)
{
    if (FRotation == Value)
        return;
    if (!Loading() && Value != roNone && !IsTrueTypeFont(*Font()))
        Font()->SetName(QStringLiteral("Verdana"));
    FRotation = Value;
    if (Value == roNone) {
        FAngle = 0;
    } else if (Value == roFlat) {
        FAngle = 0;
        FCenterPoint = cpCenter;
    }
    Invalidate();
}

void TFcLabel::SetCondenseCaption(TFcCondenseCaption Value)
{
    FCondenseCaption = Value;
    if (Value != ccNone)
        SetAutoSize(false);
    Invalidate();
}

void TFcLabel::SetFlyByEnabled(bool Value)
{
    if (FFlyByEnabled == Value)
        return;
    FFlyByEnabled = Value;
    if (!Value && FFlyByOver) {
        FFlyByOver = false;
        FSettingFlyBy = true;
        Font()->SetColor(FOrigColor);
        FSettingFlyBy = false;
    }
}

void TFcLabel::SetBlinking(bool Value)
{
    if (FBlinking == Value)
        return;
    FBlinking = Value;
    if (!Value) {
        FBlinkState = bsOff;
        FCurrentColor = ActiveStyleSystemColor(FFontColor);
        Invalidate();
    }
}

void TFcLabel::Blink(bool ShowBlinkColor)
{
    if (!FBlinking)
        return;
    FBlinkState = ShowBlinkColor ? bsOn : bsOff;
    FCurrentColor = ActiveStyleSystemColor(ShowBlinkColor ? FBlinkColor : FFontColor);
    Repaint();
}

void TFcLabel::SetFrameController(TFcFrameController* Value)
{
    ChangeFrameController(this, FFrameController, Value);
}

void TFcLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomLabel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFrameController)
        FFrameController = nullptr;
}

void TFcLabel::CustomFramingChanged()
{
    const TFcFrameController* c = FFrameController;
    if (!c || !c->FrameVisible())
        return;
    const TFcFrameControllerNotifications n = FrameControllerNotifications;
    if (HasNotification(n, fcpFrameStyle)) SetBorderOuter(c->FrameStyle());
    if (HasNotification(n, fcpFrameSides)) SetBorderSides(c->FrameSides());
    if (HasNotification(n, fcpFrameColor)) {
        SetFlatColor(c->FrameColor());
        SetFlatColorAdjustment(0);
    }
    if (HasNotification(n, fcpColor)) SetColor(c->Color());
    if (HasNotification(n, fcpParentColor)) SetParentColor(c->ParentColor());
    if (HasNotification(n, fcpColor)) {
        SetBorderHighlight(LighterColor(c->Color(), 100));
        SetBorderShadow(DarkerColor(c->Color(), 50));
    }
    Invalidate();
}

void TFcLabel::Loaded()
{
    TCustomLabel::Loaded();
    if (FAngle != 0 && FRotation == roNone)
        FRotation = roFlat;
    FFontColor = Font()->Color();
    FCurrentColor = ActiveStyleSystemColor(FFontColor);
    AdjustBounds();
}

void TFcLabel::StyleChanged()
{
    FCurrentColor = FFontColor;
    Invalidate();
}

void TFcLabel::FontChanged()
{
    if (!Loading() && !FSettingFlyBy) {
        FFontColor = Font()->Color();
        if (!FBlinking)
            FCurrentColor = ActiveStyleSystemColor(FFontColor);
        if (FAngle != 0 && !IsTrueTypeFont(*Font()))
            FAngle = 0;
    } else if (FSettingFlyBy && !FBlinking) {
        FCurrentColor = Font()->Color();
    }
    TCustomLabel::FontChanged();
}

void TFcLabel::TextChanged()
{
    TCustomLabel::TextChanged();
    Repaint();
}

void TFcLabel::MouseEnter()
{
    if (FFlyByEnabled && !FFlyByOver) {
        FFlyByOver = true;
        FOrigColor = Font()->Color();
        FSettingFlyBy = true;
        Font()->SetColor(FFlyByColor);
        FSettingFlyBy = false;
    }
    TCustomLabel::MouseEnter();
}

void TFcLabel::MouseLeave()
{
    if (FFlyByEnabled && FFlyByOver) {
        FFlyByOver = false;
        FSettingFlyBy = true;
        Font()->SetColor(FOrigColor);
        FSettingFlyBy = false;
    }
    TCustomLabel::MouseLeave();
}

int TFcLabel::Thickness(TFrameStyleEx Style) const
{
    return FrameStyleThickness(Style, FBevelWidth);
}

TRect TFcLabel::FixClientRect(TRect R, bool IncludeBorderWidth) const
{
    if (IncludeBorderWidth)
        R.Inflate(-FBorderWidth, -FBorderWidth);
    for (TFrameStyleEx style : {FBorderOuter, FBorderInner}) {
        const int t = Thickness(style);
        if (HasSide(FBorderSides, sdLeft)) R.Left += t;
        if (HasSide(FBorderSides, sdTop)) R.Top += t;
        if (HasSide(FBorderSides, sdRight)) R.Right -= t;
        if (HasSide(FBorderSides, sdBottom)) R.Bottom -= t;
    }
    return R;
}

void TFcLabel::AdjustForBorders(TRect& R) const
{
    auto grow = [&](int t) {
        R.Right += t * ((HasSide(FBorderSides, sdLeft) ? 1 : 0) + (HasSide(FBorderSides, sdRight) ? 1 : 0));
        R.Bottom += t * ((HasSide(FBorderSides, sdTop) ? 1 : 0) + (HasSide(FBorderSides, sdBottom) ? 1 : 0));
    };
    grow(Thickness(FBorderOuter));
    grow(FBorderWidth);
    R.Right += 2 * FTextMargin;
    R.Bottom += 2 * FTextMargin;
    grow(Thickness(FBorderInner));
    if (FRotation == roNone && FTextStyle == tsShadow) {
        R.Right += FShadowDepth;
        R.Bottom += FShadowDepth;
    } else if (FRotation == roFlat && FAngle != 0 && FAngle != 180) {
        if (FTextStyle == tsShadow) {
            R.Right += FShadowDepth / 2;
            R.Bottom += FShadowDepth / 2;
        }
        const double d = (FAngle == 90 || FAngle == 270 ? 90 : FAngle % 90) * Pi / 180.0;
        const int w = R.Width(), h = R.Height();
        R.Right = R.Left + int(std::lround(std::cos(d) * w + std::sin(d) * h));
        R.Bottom = R.Top + int(std::lround(std::sin(d) * w + std::cos(d) * h));
    }
}

bool TFcLabel::ReadLegacyProperty(const QString& Name, const QString&)
{
    return Name.compare(QLatin1String("FrameSides"), Qt::CaseInsensitive) == 0;
}

unsigned TFcLabel::TextFlags() const
{
    unsigned flags = DrawTextAlignments[BiDiAlignment(Alignment())] | DT_EXPANDTABS | DrawTextBiDiModeFlagsReadingOnly();
    if (WordWrap())
        flags |= DT_WORDBREAK;
    if (!ShowAccelChar())
        flags |= DT_NOPREFIX;
    if (FCondenseCaption == ccAtEnd)
        flags |= DT_END_ELLIPSIS | DT_SINGLELINE;
    else if (FCondenseCaption == ccWithinPath)
        flags |= DT_PATH_ELLIPSIS | DT_SINGLELINE;
    return flags;
}

void TFcLabel::AdjustBounds()
{
    if (!AutoSize() || Loading())
        return;
    TRect r = FixClientRect(ClientRect(), true);
    r.Offset(-r.Left, -r.Top);
    TBitmap b(1, 1);
    b.Canvas()->SetFont(*Font());
    unsigned flags = DT_CALCRECT | DT_EXPANDTABS | (WordWrap() ? DT_WORDBREAK : DT_SINGLELINE);
    b.Canvas()->DrawText(Caption().isEmpty() ? QStringLiteral(" ") : Caption(), r, flags);
    AdjustForBorders(r);
    const int left = Alignment() == taRightJustify ? Left() + Width() - r.Width() : Left();
    SetBounds(left, Top(), r.Width(), r.Height());
}

void TFcLabel::AdjustForLayout(unsigned Flags, TRect& R)
{
    if (Layout() == tlCenter || Layout() == tlBottom) {
        TRect m = R;
        const int h = Canvas()->DrawText(Caption(), m, Flags | DT_CALCRECT);
        const int room = R.Height() - h;
        R.Offset(0, Layout() == tlBottom ? room : room / 2);
    }
    if (FTextStyle == tsShadow) {
        if (BiDiAlignment(Alignment()) == taRightJustify)
            R.Offset(-FShadowDepth, 0);
        if (Layout() == tlBottom)
            R.Offset(0, -FShadowDepth);
    }
}

void TFcLabel::Paint()
{
    TCanvas* c = Canvas();
    // 1./2. the borders
    TFcBorderSet b;
    b.BorderOuter = FBorderOuter;
    b.BorderInner = FBorderInner;
    b.BorderWidth = FBorderWidth;
    b.BorderSides = FBorderSides;
    b.BevelWidth = FBevelWidth;
    b.BorderColor = FBorderColor;
    b.BorderHighlight = FBorderHighlight;
    b.BorderShadow = FBorderShadow;
    b.FlatColor = FFlatColor;
    b.FlatColorAdjustment = FFlatColorAdjustment;
    b.Color = Color();
    b.ParentColor = Parent() ? Parent()->Color() : clBtnFace;
    b.Transparent = Transparent();
    const TRect inside = DrawInnerOuterBorders(c, Rect(0, 0, Width(), Height()), b);
    // 3. the fill
    if (Transparent()) {
        c->Brush()->SetStyle(bsClear);
    } else {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(inside);
    }
    c->SetFont(*Font());
    c->Brush()->SetStyle(bsClear);
    // 4.
    if (FRotation == roCurve)
        DrawArcText(c);
    else
        Draw3DText(c);
    c->Brush()->SetStyle(bsSolid);
}

void TFcLabel::Draw3DText(TCanvas* C)
{
    // 1.
    TRect r = FixClientRect(ClientRect(), true);
    r.Inflate(-FTextMargin, -FTextMargin);
    const unsigned flags = TextFlags();
    const QString text = GetLabelText();
    const bool rotated = FRotation == roFlat && FAngle != 0;
    // 2. the anchor of rotated text
    int x = Width() / 2, y = Height() / 2;
    bool baseline = true, centre = true;
    const int e = FTextStyle == tsShadow ? FShadowDepth / 2 : 0;
    if (rotated) {
        const double a = (FAngle + 90) * Pi / 180.0;
        const int q = C->TextHeight(QStringLiteral("Pp")) / 4;
        const int w = C->TextWidth(text), f = w + e, h = C->TextHeight(QStringLiteral("Pp")) + e;
        const TAlignment al = BiDiAlignment(Alignment());
        switch (FAngle) {
        case 90:
            x -= int(std::lround(std::cos(a) * q));
            y = al == taCenter ? r.Bottom - (r.Bottom - f) / 2 : al == taRightJustify ? r.Top + e + f : r.Bottom - e;
            centre = false;
            break;
        case 180:
            x = al == taCenter ? r.Right - (r.Right - f) / 2 : al == taRightJustify ? r.Left + f : r.Right - e;
            y -= h / 4;
            centre = false;
            break;
        case 270:
            x -= int(std::lround(std::cos(a) * q));
            y = al == taCenter ? (r.Bottom - f) / 2 : al == taRightJustify ? r.Bottom - f - e : r.Top + e;
            centre = false;
            break;
        default:
            x -= int(std::lround(std::cos(a) * q));
            y += int(std::lround(std::sin(a) * q));
            break;
        }
        C->SetFont(RotateFont(*Font(), FAngle));
    }
    auto pass = [&](TColor color, int dx, int dy) {
        C->Font()->SetColor(ActiveStyleSystemColor(color));
        if (rotated) {
            // turned text stays inside the text rectangle
            const int saved = C->SaveDC();
            C->IntersectClipRect(r);
            TextAt(C, x + dx, y + dy, text, baseline, centre);
            C->RestoreDC(saved);
        } else {
            TRect t = r;
            AdjustForLayout(flags, t);
            t.Offset(dx, dy);
            C->DrawText(text, t, flags);
        }
    };
    // 5. disabled: one grey pass
    if (!Enabled()) {
        pass(clGrayText, 0, 0);
        return;
    }
    // 3. the 3-D passes
    if (FTextStyle == tsRaised || FTextStyle == tsRecessed) {
        const TColor light = FTextStyle == tsRaised ? FHighlightColor : FShadowColor;
        const TColor dark = FTextStyle == tsRaised ? FShadowColor : FHighlightColor;
        if (FTextStyle == tsRecessed || !FLightTextStyle)
            pass(dark, 1, 1);
        if (FTextStyle == tsRaised || !FLightTextStyle)
            pass(light, -1, -1);
    } else if (FTextStyle == tsShadow) {
        const int d = rotated ? e : FShadowDepth;
        pass(FShadowColor, d, d);
    }
    // 4. the face
    if (rotated && FTextStyle == tsShadow)
        pass(FCurrentColor, -e, -e);
    else
        pass(FCurrentColor, 0, 0);
}

TPoint TFcLabel::CalcCenterPoint() const
{
    const int bw = FBorderWidth, w = Width(), h = Height();
    switch (FCenterPoint) {
    case cpUpperLeft: return {bw, bw};
    case cpUpperCenter: return {w / 2, bw};
    case cpUpperRight: return {w - bw, bw};
    case cpLeftCenter: return {bw, h / 2};
    case cpCenter: return {w / 2, h / 2};
    case cpRightCenter: return {w - bw, h / 2};
    case cpLowerLeft: return {bw, h - bw};
    case cpLowerCenter: return {w / 2, h - bw};
    case cpLowerRight: return {w - bw, h - bw};
    }
    return {w / 2, h / 2};
}

void TFcLabel::CalcRadius(int& RX, int& RY) const
{
    const int bw = FBorderWidth, w = Width(), h = Height();
    switch (FCenterPoint) {
    case cpUpperCenter:
    case cpLowerCenter: RX = w / 2 - 2 * bw; RY = h - 2 * bw; break;
    case cpLeftCenter:
    case cpRightCenter: RX = w - 2 * bw; RY = h / 2 - 2 * bw; break;
    case cpCenter: RX = w / 2 - 2 * bw; RY = h / 2 - 2 * bw; break;
    default: RX = w - 2 * bw; RY = h - 2 * bw; break;
    }
}

void TFcLabel::DrawArcText(TCanvas* C)
{
    // 1.-3.
    const TPoint centre = CalcCenterPoint();
    int rx, ry;
    CalcRadius(rx, ry);
    if (rx <= 0)
        return;
    double theta = FAngle * Pi / 180.0;
    const int yy = C->TextHeight(QStringLiteral("Yy"));
    const int step = C->TextWidth(QStringLiteral("w")) + 2;
    const QString text = GetLabelText();
    // 4. character by character along the arc
    for (const QChar ch : text) {
        const int x = centre.X - int(std::lround(std::sin(theta) * (rx - yy)));
        const int y = centre.Y - int(std::lround(std::cos(theta) * (ry - yy)));
        TFont f(*Font());
        f.SetOrientation(int(std::lround(theta * 1800 / Pi)));
        C->SetFont(f);
        const QString s(ch);
        if (!Enabled()) {
            C->Font()->SetColor(clBtnHighlight);
            TextAt(C, x + 1, y + 1, s, true, true);
            C->Font()->SetColor(clBtnShadow);
            TextAt(C, x, y, s, true, true);
        } else {
            if (FTextStyle == tsRaised || FTextStyle == tsRecessed) {
                const TColor light = FTextStyle == tsRaised ? FHighlightColor : FShadowColor;
                const TColor dark = FTextStyle == tsRaised ? FShadowColor : FHighlightColor;
                if (FTextStyle == tsRecessed || !FLightTextStyle) {
                    C->Font()->SetColor(dark);
                    TextAt(C, x + 1, y + 1, s, true, true);
                }
                if (FTextStyle == tsRaised || !FLightTextStyle) {
                    C->Font()->SetColor(light);
                    TextAt(C, x - 1, y - 1, s, true, true);
                }
            } else if (FTextStyle == tsShadow) {
                C->Font()->SetColor(FShadowColor);
                TextAt(C, x + FShadowDepth, y + FShadowDepth, s, true, true);
            }
            C->Font()->SetColor(FCurrentColor);
            TextAt(C, x, y, s, true, true);
        }
        theta -= double(step) / rx;
    }
}
