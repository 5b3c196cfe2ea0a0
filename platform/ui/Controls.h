#pragma once
// The control model every window and every library control stands on.
//
// TControl has bounds, alignment and anchors, visibility, font and colour
// (optionally the parent's), caption, hint, cursor and the mouse events.
// TWinControl can hold other controls and take the focus and keys;
// TCustomControl paints itself on its canvas in Paint; TGraphicControl is a
// windowless control whose Paint draws on its parent's surface. Each control
// has one Qt widget behind it (a windowless one gets a widget that does not
// fill its background, so what lies below shows through); only platform/ui
// looks at those widgets.

#include "platform/rtl/Component.h"
#include "platform/ui/Graphics.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QWidget;
class TWinControl;
class TCustomForm;
class TPopupMenu;
class TBasicAction;
class TControlBridge;

using Word = uint16_t;
using TNotifyEvent = std::function<void(TComponent* Sender)>;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using TAnchors = unsigned;
constexpr TAnchors akLeft = 1;
constexpr TAnchors akTop = 2;
constexpr TAnchors akRight = 4;
constexpr TAnchors akBottom = 8;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
// Left and right justification swapped (centre stays).
TAlignment MirroredAlignment(TAlignment Value);
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

using TShiftState = unsigned;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;
constexpr TShiftState ssDouble = 64;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TCursor = int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

// Virtual key codes.
constexpr Word VK_BACK = 8;
constexpr Word VK_TAB = 9;
constexpr Word VK_RETURN = 13;
constexpr Word VK_SHIFT = 16;
constexpr Word VK_CONTROL = 17;
constexpr Word VK_MENU = 18;
constexpr Word VK_PAUSE = 19;
constexpr Word VK_ESCAPE = 27;
constexpr Word VK_SPACE = 32;
constexpr Word VK_PRIOR = 33;
constexpr Word VK_NEXT = 34;
constexpr Word VK_END = 35;
constexpr Word VK_HOME = 36;
constexpr Word VK_LEFT = 37;
constexpr Word VK_UP = 38;
constexpr Word VK_RIGHT = 39;
constexpr Word VK_DOWN = 40;
constexpr Word VK_INSERT = 45;
constexpr Word VK_DELETE = 46;
constexpr Word VK_NUMPAD0 = 96;
constexpr Word VK_MULTIPLY = 106;
constexpr Word VK_ADD = 107;
constexpr Word VK_SUBTRACT = 109;
constexpr Word VK_DECIMAL = 110;
constexpr Word VK_DIVIDE = 111;
constexpr Word VK_F1 = 112;
constexpr Word VK_F2 = 113;
constexpr Word VK_F3 = 114;
constexpr Word VK_F4 = 115;
constexpr Word VK_F5 = 116;
constexpr Word VK_F6 = 117;
constexpr Word VK_F7 = 118;
constexpr Word VK_F8 = 119;
constexpr Word VK_F9 = 120;
constexpr Word VK_F10 = 121;
constexpr Word VK_F11 = 122;
constexpr Word VK_F12 = 123;
constexpr Word VK_APPS = 93;

// Shortcuts: key code plus scShift/scCtrl/scAlt.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;
TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
QString ShortCutToText(TShortCut ShortCut);  // "Ctrl+Shift+R"
TShortCut TextToShortCut(const QString& Text);

using TKeyEvent = std::function<void(TComponent* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TComponent* Sender, QChar& Key)>;
using TMouseEvent = std::function<void(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TComponent* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent = std::function<void(TComponent* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TContextPopupEvent = std::function<void(TComponent* Sender, TPoint MousePos, bool& Handled)>;

struct TSizeConstraints {
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0;  // 0 = none
    int MaxHeight = 0;
};

struct TMargins {
    int Left = 3;
    int Top = 3;
    int Right = 3;
    int Bottom = 3;
};

// What a windowed control asks of its window when it is made.
struct TCreateParams {
    unsigned Style = 0;
    unsigned ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    QString Caption;
    bool Password = false;
};
constexpr unsigned ES_PASSWORD = 0x20;
constexpr unsigned ES_MULTILINE = 0x4;
constexpr unsigned WS_BORDER = 0x800000;
constexpr unsigned WS_EX_CLIENTEDGE = 0x200;
constexpr unsigned WS_EX_TOOLWINDOW = 0x80;
constexpr unsigned WS_EX_TOPMOST = 0x8;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // ---- place ----
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int V) { SetBounds(V, FTop, FWidth, FHeight); }
    void SetTop(int V) { SetBounds(FLeft, V, FWidth, FHeight); }
    void SetWidth(int V) { SetBounds(FLeft, FTop, V, FHeight); }
    void SetHeight(int V) { SetBounds(FLeft, FTop, FWidth, V); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int V);
    void SetClientHeight(int V);
    TPoint ClientOrigin() const;
    TPoint ClientToScreen(const TPoint& P) const;
    TPoint ScreenToClient(const TPoint& P) const;
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);
    bool AlignWithMargins() const { return FAlignWithMargins; }
    void SetAlignWithMargins(bool V);
    TMargins Margins;
    TSizeConstraints Constraints;
    void BringToFront();
    void SendToBack();

    // ---- look ----
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and on every parent up to a shown window.
    bool Showing() const;
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    TFont* Font() { return &FFont; }
    void SetFont(const TFont& Value) { FFont.Assign(Value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    QString Caption() const { return FText; }
    void SetCaption(const QString& Value) { SetText(Value); }
    QString Text() const { return FText; }
    virtual void SetText(const QString& Value);
    QString Hint() const { return FHint; }
    void SetHint(const QString& Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    // Shows another cursor over the control for now (its Cursor stays).
    void ShowCursorShape(TCursor Value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);
    // ---- reading order ----
    // A control follows its parent's reading order until it is given its own.
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode Value);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool Value);
    bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
    // Left and right swap places (text alignment, glyph and button sides).
    bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }
    bool UseRightToLeftScrollBar() const { return FBiDiMode == bdRightToLeft || FBiDiMode == bdRightToLeftNoAlign; }
    // Flags with left and right alignment swapped when mirrored, plus right-to-left reading.
    unsigned DrawTextBiDiModeFlags(unsigned Flags) const;
    unsigned DrawTextBiDiModeFlagsReadingOnly() const { return UseRightToLeftReading() ? DT_RTLREADING : 0u; }
    // Alignment as seen on the screen: left and right swapped when mirrored.
    TAlignment BiDiAlignment(TAlignment Value) const;
    bool DoubleBuffered = false;
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool V);

    // ---- actions ----
    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* Value);
    // Called by the linked action when one of its properties changed.
    virtual void ActionChange(TBasicAction* Sender, bool CheckDefaults);

    // Runs Call after the pending events, unless the control is gone by then.
    void PostCall(std::function<void()> Call);

    // ---- painting ----
    virtual void Invalidate();
    void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    // Renders the control (and its children) into a bitmap of its size.
    void PaintTo(TBitmap* Target);

    // ---- scaling ----
    void ScaleBy(int M, int D);
    double ScaleRatio() const { return FScaleRatio; }

    // ---- events ----
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelEvent OnMouseWheel;
    TNotifyEvent OnResize;
    TContextPopupEvent OnContextPopup;

    // Sent by the widget layer; derived controls override the virtuals.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual void DoContextPopup(TPoint MousePos, bool& Handled);
    virtual void Resize();
    // Whether a left-button release over the control counts as a click.
    virtual bool ClicksOnMouseUp() const { return true; }
    bool MouseCapture() const;
    void SetMouseCapture(bool Value);

    // The Qt widget behind the control (platform layer only).
    QWidget* Widget() const;
    TCustomForm* ParentForm() const;

protected:
    friend class TWinControl;
    friend class TControlBridge;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Makes the widget; a windowless control gets a see-through one.
    virtual QWidget* CreateWidget();
    void EnsureWidget() const;
    virtual void Paint() {}
    virtual void PaintWindow(TCanvas* ACanvas);
    // Called when the widget shows a new size, position, font, colour …
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void EnabledChanged();
    virtual void VisibleChanged();
    virtual void TextChanged();
    virtual void ChangeScale(int M, int D);
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    // Called after the reading order changed (own or the parent's).
    virtual void BiDiModeChanged();
    void ParentBiDiModeChanged();
    // Takes the parent's ShowHint while ParentShowHint is on (and passes it on).
    void ParentShowHintChanged();
    void ApplyGeometry();
    void RequestAlign();
    TCanvas* PaintCanvas() { return &FPaintCanvas; }

    mutable QWidget* FWidget = nullptr;
    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors = akLeft | akTop;
    bool FAlignWithMargins = false;
    bool FVisible = true;
    bool FEnabled = true;
    TFont FFont;
    bool FParentFont = true;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    QString FText;
    QString FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    TPopupMenu* FPopupMenu = nullptr;
    bool FTransparent = false;
    TBasicAction* FAction = nullptr;
    double FScaleRatio = 1.0;
    // distances to the parent's right and bottom, kept for the anchors
    int FAnchorRight = -1, FAnchorBottom = -1;
    bool FUpdatingFont = false;
    TCanvas FPaintCanvas;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    int ControlCount() const { return int(FControls.size()); }
    TControl* Controls(int Index) const { return FControls.at(size_t(Index)); }
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(const TControl* Control) const;
    TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled) const;

    TRect ClientRect() const override;
    // Lays out the aligned children inside the client rectangle.
    void Realign();
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);
    TMargins Padding{0, 0, 0, 0};
    // The sunken 3-D border of a control that has a border; off, a flat line.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    // Ctl3D follows the parent's, as ParentFont does; setting Ctl3D ends that.
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool Value);
    // The control takes the size of its children's bounding box (and what
    // CanAutoSize adds) whenever a child moves, resizes, shows or hides.
    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool Value);
    // The size that fits the visible children, in NewWidth and NewHeight;
    // false keeps the size (no child to fit, or the control sizes itself).
    virtual bool CanAutoSize(int& NewWidth, int& NewHeight);

    // ---- focus ----
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    int TabOrder() const;
    void SetTabOrder(int Value);
    virtual bool CanFocus() const;
    virtual void SetFocus();
    bool Focused() const;
    bool HandleAllocated() const { return FWidget != nullptr; }
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const;
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
    // Moves the focus one step as the Tab key does, after pending events.
    void PostTab(bool GoForward = true);

    // ---- keys ----
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyUp(Word& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    virtual void DoEnter();
    virtual void DoExit();
    // Whether the control uses these keys itself (else the window may use them).
    virtual bool WantsKey(Word Key, TShiftState Shift) const;

    void RecreateWnd();

protected:
    friend class TControl;
    friend class TControlBridge;
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    virtual void AdjustClientRect(TRect& Rect);
    // Shows the border as Ctl3D says: repaints, and flattens a widget's own frame.
    virtual void Ctl3DChanged();
    void ParentCtl3DChanged();
    // Applies AutoSize: nothing while it is off, while loading or while it runs.
    virtual void AdjustSize();
    // The widget children are placed in (a scrolling control has an inner one).
    virtual QWidget* ClientWidget() const;
    void FontChanged() override;
    void ColorChanged() override;
    void BiDiModeChanged() override;
    void ChangeScale(int M, int D) override;
    void PaintWindow(TCanvas* ACanvas) override;
    virtual void PaintBackground(TCanvas* ACanvas);
    TCreateParams FParams;

    std::vector<TControl*> FControls;
    int FAlignLevel = 0;
    bool FRealigning = false;
    bool FTabStop = false;
    TBorderStyle FBorderStyle = bsNone;
    int FBorderWidth = 0;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
    bool FAutoSize = false;
    bool FAutoSizing = false;

private:
    // Ctl3DChanged here, then on the children that follow this control.
    void ApplyCtl3D();
};

// A windowed control that paints itself.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    TCanvas* Canvas() { return &FPaintCanvas; }

protected:
    void Paint() override;
};

// A windowless control: painted on its parent's surface, never focused.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    TCanvas* Canvas() { return &FPaintCanvas; }

protected:
    void Paint() override;
};

// The accelerator test of captions: "&Ok" answers to Alt+O.
bool IsAccel(Word VK, const QString& Caption);
QString StripHotkey(const QString& Text);
QString GetShortHint(const QString& Hint);
QString GetLongHint(const QString& Hint);

// Maps a Qt key code to a virtual key code (platform layer only).
Word QtKeyToVK(int QtKey, bool Keypad);
