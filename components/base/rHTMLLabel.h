#pragma once
// The HTML label (a label whose caption is mini-HTML markup, with links) and
// the small link label.

#include "components/base/rHTMLDrawText.h"
#include "platform/ui/StdCtrls.h"

#include <QStringList>

using TGetParameter = std::function<void(TComponent* Sender, QString& ParamStr)>;

class TrHTMLLabel : public TCustomLabel {
public:
    explicit TrHTMLLabel(TComponent* AOwner);
    ~TrHTMLLabel() override;

    QStringList CaptionStrings() const { return FCaptionStrings; }
    void SetCaptionStrings(const QStringList& Lines);
    bool CaptionSkipEnter() const { return FCaptionSkipEnter; }
    void SetCaptionSkipEnter(bool V) { FCaptionSkipEnter = V; Changed(); }
    bool CaptionSimpleText() const { return FCaptionSimpleText; }
    void SetCaptionSimpleText(bool V) { FCaptionSimpleText = V; Changed(); }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor V) { FFontColor = V; Invalidate(); }
    TColor AnchorColor() const { return FAnchorColor; }
    void SetAnchorColor(TColor V) { FAnchorColor = V; Invalidate(); }
    bool ShowText3D() const { return FShowText3D; }
    void SetShowText3D(bool V) { FShowText3D = V; Invalidate(); }
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor V) { FShadowColor = V; Invalidate(); }
    int ShadowSize() const { return FShadowSize; }
    void SetShadowSize(int V) { FShadowSize = V; Invalidate(); }
    bool ShowBeveled() const { return FShowBeveled; }
    void SetShowBeveled(bool V) { FShowBeveled = V; Invalidate(); }
    uint8_t InnerSpace() const { return FInnerSpace; }
    void SetInnerSpace(uint8_t V) { FInnerSpace = V; Changed(); }
    uint8_t TabGridWidth() const { return FTabGridWidth; }
    void SetTabGridWidth(uint8_t V) { FTabGridWidth = V == 0 ? 1 : V; Changed(); }
    TAnchorClickEvent OnAnchorClick;
    TGetParameter OnGetParameter;

    void FreeAnchorInfo();
    const TAnchorList& Anchors() const { return AnchorInfoList; }
    int ActiveAnchor() const { return actAnchorItem; }
    // The anchor whose rectangle strictly contains the point, or -1.
    int AnchorAt(int X, int Y) const;

protected:
    void Loaded() override;
    QString GetLabelText() override;
    void DoDrawText(TRect& Rect, unsigned Flags) override;
    void Changed();

public:
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    void Click() override;

private:
    bool ACaptionAsHint = false;
    int actAnchorItem = -1;
    TAnchorList AnchorInfoList;
    QStringList FCaptionStrings;
    bool FCaptionSkipEnter = false;
    bool FCaptionSimpleText = false;
    TColor FFontColor = clNone;
    bool FShowText3D = false;
    TColor FShadowColor = clBtnShadow;
    TColor FAnchorColor = clNone;
    int FShadowSize = 1;
    bool FShowBeveled = false;
    uint8_t FInnerSpace = 0;
    uint8_t FTabGridWidth = 30;
};

class TrURLLabel : public TCustomLabel {
public:
    explicit TrURLLabel(TComponent* AOwner);
    TColor FontColor = clHighlight;
    TColor HotColor = clHotLight;
    QString URLCommand() const { return FURLCommand; }
    void SetURLCommand(const QString& V);
    void Click() override;

protected:
    void Loaded() override;
    void DoDrawText(TRect& Rect, unsigned Flags) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    QString FURLCommand;
    bool MouseOver = false;
};
