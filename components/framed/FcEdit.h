#pragma once
// The single-line framed edit: a background colour that follows the state
// (disabled, focused, read-only), Enter as Tab, a text hint, the frame
// settings a frame controller hands out, and an optional drop button that
// the numeric edit uses for its calculator.

#include "components/framed/FcCommon.h"
#include "components/framed/FcFrameController.h"
#include "platform/rtl/Exception.h"
#include "platform/ui/StdCtrls.h"

#include <functional>

class TFcCustomEdit;

// The drop button inside an edit's right edge (the numeric edit's calculator).
class TFcEditDropButton : public TGraphicControl {
public:
    explicit TFcEditDropButton(TFcCustomEdit* AEdit);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool ClicksOnMouseUp() const override { return false; }

protected:
    void Paint() override;
    TFcCustomEdit* FEdit;
    bool FHot = false;
};

using TFcValidateErrorEvent = std::function<void(TComponent* Sender, QString& ErrorMsg)>;

// The error of a text that does not fill its edit mask.
SORVEX_EXCEPTION_KIND(EDBEditError, Exception)

// Whether Text fills an edit mask: "0" a digit, "9" an optional digit, "#" an
// optional digit or sign, "L"/"l" a letter, "A"/"a" a letter or digit, "C"/"c"
// any character (capitals required, small ones optional), "\" a literal next
// character, ">", "<" and "!" change nothing here, anything else a literal;
// ";" ends the mask (the rest tells how it is saved).
bool EditMaskMatches(const QString& Mask, const QString& Text);

class TFcCustomEdit : public TCustomEdit, public IFcFramedProperties, public TFcFrameLook {
public:
    explicit TFcCustomEdit(TComponent* AOwner);
    ~TFcCustomEdit() override;

    TAlignment Alignment() const { return FAlignment; }
    virtual void SetAlignment(TAlignment Value);
    bool TabOnEnter = false;
    bool BeepOnInvalidKey = true;
    TColor DisabledColor() const { return FDisabledColor; }
    virtual void SetDisabledColor(TColor Value);
    TColor FocusColor() const { return FFocusColor; }
    virtual void SetFocusColor(TColor Value);
    TColor ReadOnlyColor() const { return FReadOnlyColor; }
    virtual void SetReadOnlyColor(TColor Value);
    bool ReadOnlyColorOnFocus() const { return FReadOnlyColorOnFocus; }
    void SetReadOnlyColorOnFocus(bool Value);
    void SetReadOnly(bool Value);
    virtual bool ReadOnlyValue() const { return ReadOnly(); }
    TFcFrameController* FrameController() const { return FFrameController; }
    virtual void SetFrameController(TFcFrameController* Value);
    TFcFrameControllerNotifications Notifications = fcnAll;
    TFcFrameControllerNotifications FrameControllerNotifications() const override { return Notifications; }
    void SetFrameProperty(TFcFrameControllerProperty Property, const TFcFrameController* Controller) override;
    // Settings an older version stored under another name (see FcLegacyProps.h).
    virtual bool ReadLegacyProperty(const QString& Name, const QString& Value) { return TFcFrameLook::ReadLegacyProperty(Name, Value); }
    // The text hint stays while the edit has the focus (else it goes until the focus leaves).
    bool TextHintVisibleOnFocus() const { return FTextHintVisibleOnFocus; }
    void SetTextHintVisibleOnFocus(bool Value);
    // The mask the text must fill when the focus leaves (empty: any text).
    QString EditMask;
    // Checks the text against EditMask; raises through ValidateError.
    void ValidateEdit();
    bool DropButtonVisible() const { return FDropButtonVisible; }
    virtual void SetDropButtonVisible(bool Value);
    bool ShowDropButton() const { return FShowDropButton; }
    bool FlatButtons() const { return FFlatButtons; }
    virtual void SetFlatButtons(bool Value);
    TColor FlatButtonColor = clBtnFace;
    bool DroppedDown() const { return FDroppedDown; }
    // The focus is here, or the pointer is over the edit.
    bool InControl() const { return FInControl; }
    bool OverControl() const { return FOverControl; }
    TFcEditDropButton* DropButton() const { return FDropButton; }
    TFcValidateErrorEvent OnValidateError;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TFcAboutInfo About;

    virtual bool UseThemes() const;
    void InvalidKeyPressed();
    virtual void UpdateColors();
    // The drop-down of the drop button (Alt+Down, F4 or a press on it).
    void DoDropDown();
    void Loaded() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void DoEnter() override;
    void DoExit() override;

protected:
    QWidget* CreateWidget() override;
    virtual void DropDown();
    virtual void CloseUp();
    virtual void ReadOnlyChanged();
    // Places the drop button at the right edge while it is shown.
    void LayoutDropButton();
    // The custom frame (FrameVisible without the visual style) over the edge,
    // else the platform's border.
    void UpdateBorder() override;
    void FrameLookChanged(TFcFrameControllerProperty Property) override;
    bool FrameLookLoading() const override { return Loading(); }
    void PaintFrame(TCanvas* Canvas);
    void Resize() override;
    void BiDiModeChanged() override;
    void UpdateFrame(bool ViaMouse, bool Value);
    void ColorChanged() override;
    void EnabledChanged() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // A text that does not fill the mask: OnValidateError may give the message.
    virtual void ValidateError();

    TAlignment FAlignment = taLeftJustify;
    void UpdateTextHintShown(bool HasFocus);
    bool FTextHintVisibleOnFocus = false;
    QString FTextOnEnter;
    bool FUpdatingColor = false;
    TColor FDisabledColor = clBtnFace;
    TColor FFocusColor = clWindow;
    TColor FNormalColor = clWindow;
    TFcFrameController* FFrameController = nullptr;
    TColor FReadOnlyColor = clInfoBk;
    bool FReadOnlyColorOnFocus = false;
    bool FDropButtonVisible = false;
    bool FShowDropButton = false;
    bool FFlatButtons = false;
    bool FDroppedDown = false;
    bool FInControl = false;
    bool FOverControl = false;
    TFcEditDropButton* FDropButton = nullptr;
};

class TFcEdit : public TFcCustomEdit {
public:
    explicit TFcEdit(TComponent* AOwner) : TFcCustomEdit(AOwner) {}
    // What the windows call: the text, and setting it (OnChange only on a change).
    QString GetText() const { return Text(); }
    void SetText(const QString& Value) override { TFcCustomEdit::SetText(Value); }
};
