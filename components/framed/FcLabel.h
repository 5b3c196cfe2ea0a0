#pragma once
// The library's text label: the platform label with raised, recessed and
// shadowed text, rotation flat or along an arc, a two-level border with its
// own band and margins, blinking, a hover colour and condensed captions.

#include "components/framed/FcBlinking.h"
#include "components/framed/FcFrameController.h"
#include "platform/ui/StdCtrls.h"

enum TRotation { roNone, roFlat, roCurve };
enum TCenterPoint { cpUpperLeft, cpUpperCenter, cpUpperRight, cpLeftCenter, cpCenter, cpRightCenter, cpLowerLeft,
                    cpLowerCenter, cpLowerRight };
enum TFcCondenseCaption { ccNone, ccAtEnd, ccWithinPath };

class TFcLabel : public TCustomLabel, public IFcBlinkingControl, public IFcCustomFramingNotification {
public:
    explicit TFcLabel(TComponent* AOwner);
    ~TFcLabel() override;
    // "FrameSides" of older versions is read and ignored.
    bool ReadLegacyProperty(const QString& Name, const QString& Value);

    int Angle() const { return FAngle; }
    virtual void SetAngle(int Value);
    TRotation Rotation() const { return FRotation; }
    virtual void SetRotation(TRotation Value);
    TCenterPoint CenterPoint() const { return FCenterPoint; }
    virtual void SetCenterPoint(TCenterPoint Value);
    bool Blinking() const { return FBlinking; }
    virtual void SetBlinking(bool Value);
    TColor BlinkColor() const { return FBlinkColor; }
    virtual void SetBlinkColor(TColor Value);
    int BevelWidth() const { return FBevelWidth; }
    virtual void SetBevelWidth(int Value);
    TFrameStyleEx BorderInner() const { return FBorderInner; }
    virtual void SetBorderInner(TFrameStyleEx Value);
    TFrameStyleEx BorderOuter() const { return FBorderOuter; }
    virtual void SetBorderOuter(TFrameStyleEx Value);
    TSides BorderSides() const { return FBorderSides; }
    virtual void SetBorderSides(TSides Value);
    TColor BorderColor() const { return FBorderColor; }
    virtual void SetBorderColor(TColor Value);
    TColor BorderHighlight() const { return FBorderHighlight; }
    virtual void SetBorderHighlight(TColor Value);
    TColor BorderShadow() const { return FBorderShadow; }
    virtual void SetBorderShadow(TColor Value);
    int BorderWidth() const { return FBorderWidth; }
    virtual void SetBorderWidth(int Value);
    TFcCondenseCaption CondenseCaption() const { return FCondenseCaption; }
    virtual void SetCondenseCaption(TFcCondenseCaption Value);
    TColor FlatColor() const { return FFlatColor; }
    virtual void SetFlatColor(TColor Value);
    int FlatColorAdjustment() const { return FFlatColorAdjustment; }
    virtual void SetFlatColorAdjustment(int Value);
    bool FlyByEnabled() const { return FFlyByEnabled; }
    virtual void SetFlyByEnabled(bool Value);
    TColor FlyByColor() const { return FFlyByColor; }
    virtual void SetFlyByColor(TColor Value);
    bool LightTextStyle() const { return FLightTextStyle; }
    virtual void SetLightTextStyle(bool Value);
    TTextStyle TextStyle() const { return FTextStyle; }
    virtual void SetTextStyle(TTextStyle Value);
    TColor HighlightColor() const { return FHighlightColor; }
    virtual void SetHighlightColor(TColor Value);
    TColor ShadowColor() const { return FShadowColor; }
    virtual void SetShadowColor(TColor Value);
    int ShadowDepth() const { return FShadowDepth; }
    virtual void SetShadowDepth(int Value);
    int TextMargin() const { return FTextMargin; }
    virtual void SetTextMargin(int Value);
    TFcFrameController* FrameController() const { return FFrameController; }
    virtual void SetFrameController(TFcFrameController* Value);
    TFcFrameControllerNotifications FrameControllerNotifications = fcnAll;
    void SetTransparent(bool Value) { TCustomLabel::SetTransparent(Value); }
    TColor CurrentColor() const { return FCurrentColor; }
    TFcAboutInfo About;

    bool GetBlinking() const override { return FBlinking; }
    void Blink(bool ShowBlinkColor) override;
    void CustomFramingChanged() override;
    TRect FixClientRect(TRect R, bool IncludeBorderWidth) const;
    void AdjustForBorders(TRect& R) const;
    void AdjustBounds() override;
    void Loaded() override;

protected:
    void Paint() override;
    void FontChanged() override;
    void TextChanged() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    int Thickness(TFrameStyleEx Style) const;
    unsigned TextFlags() const;
    void AdjustForLayout(unsigned Flags, TRect& R);
    void Draw3DText(TCanvas* C);
    void DrawArcText(TCanvas* C);
    TPoint CalcCenterPoint() const;
    void CalcRadius(int& RX, int& RY) const;
    void StyleChanged();

    int FAngle = 0;
    TColor FBlinkColor = clHighlight;
    TBlinkState FBlinkState = bsOff;
    bool FBlinking = false;
    int FBevelWidth = 1;
    TFrameStyleEx FBorderInner = fsNone;
    TFrameStyleEx FBorderOuter = fsNone;
    TSides FBorderSides = sdAllSides;
    TColor FBorderColor = clBtnFace;
    TColor FBorderHighlight = clBtnHighlight;
    TColor FBorderShadow = clBtnShadow;
    int FBorderWidth = 0;
    TColor FFlatColor = clBtnShadow;
    int FFlatColorAdjustment = 30;
    TColor FFontColor = clWindowText;
    TFcFrameController* FFrameController = nullptr;
    TCenterPoint FCenterPoint = cpCenter;
    TColor FOrigColor = clWindowText;
    bool FFlyByEnabled = false;
    bool FFlyByOver = false;
    TColor FFlyByColor = clHighlight;
    bool FLightTextStyle = false;
    TTextStyle FTextStyle = TTextStyle::tsNormal;
    TRotation FRotation = roNone;
    TColor FHighlightColor = clBtnHighlight;
    TColor FShadowColor = clBtnShadow;
    int FShadowDepth = 2;
    int FTextMargin = 0;
    TFcCondenseCaption FCondenseCaption = ccNone;
    TColor FCurrentColor = clWindowText;
    bool FSettingFlyBy = false;
};
