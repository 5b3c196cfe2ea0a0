#pragma once
// One set of framing settings handed to every framed control that names the
// controller. A control takes only the settings its notification set allows;
// controls with CustomFramingChanged pull them themselves, the others get
// them set one by one.

#include "components/framed/FcCommon.h"
#include "platform/rtl/Component.h"

#include <vector>

class TFcRegIniFile;
class TFcFrameController;

// Controls that read the controller's values themselves.
class IFcCustomFramingNotification {
public:
    virtual ~IFcCustomFramingNotification() = default;
    virtual void CustomFramingChanged() = 0;
};

// Controls that take the settings as properties (edits, combo and list boxes).
class IFcFramedProperties {
public:
    virtual ~IFcFramedProperties() = default;
    virtual TFcFrameControllerNotifications FrameControllerNotifications() const { return fcnAll; }
    // Sets the property of that name from the controller.
    virtual void SetFrameProperty(TFcFrameControllerProperty Property, const TFcFrameController* Controller) = 0;
};

// The frame settings shared by the frame controller, the edit, and the combo
// and list boxes: one set of fields and setters. A setter stores a changed
// value and tells FrameLookChanged which setting it was; FrameHotTrack
// switched on also shows the frame, on all four sides unless loading.
class TFcFrameLook {
public:
    virtual ~TFcFrameLook() = default;
    TColor FrameColor() const { return FFrameColor; }
    virtual void SetFrameColor(TColor Value);
    TColor FrameHotColor() const { return FFrameHotColor; }
    virtual void SetFrameHotColor(TColor Value);
    bool FrameHotTrack() const { return FFrameHotTrack; }
    virtual void SetFrameHotTrack(bool Value);
    TFrameStyle FrameHotStyle() const { return FFrameHotStyle; }
    // A style outside the frame-style range (a rounded frame) is refused.
    virtual void SetFrameHotStyle(TFrameStyle Value);
    TSides FrameSides() const { return FFrameSides; }
    virtual void SetFrameSides(TSides Value);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    virtual void SetFrameStyle(TFrameStyle Value);
    bool FrameVisible() const { return FFrameVisible; }
    virtual void SetFrameVisible(bool Value);
    TFramingPreference FramingPreference() const { return FFramingPreference; }
    virtual void SetFramingPreference(TFramingPreference Value);

    // Takes P from the controller when it is one of these settings and leaves
    // any other property alone.
    void TakeFrameProperty(TFcFrameControllerProperty P, const TFcFrameController* C);
    // "FrameFlat", "FrameFocusStyle" and "FrameFlatStyle" of older versions.
    bool ReadLegacyProperty(const QString& Name, const QString& Value);

protected:
    // The owner shows the change (repaints, or hands it on); fcpAll after a
    // legacy setting changed several at once.
    virtual void FrameLookChanged(TFcFrameControllerProperty Property) = 0;
    // Set while the owner is read from a form file.
    virtual bool FrameLookLoading() const = 0;

    TColor FFrameColor = clBtnShadow;
    TColor FFrameHotColor = clBtnShadow;
    bool FFrameHotTrack = false;
    TFrameStyle FFrameHotStyle = fsFlatBold;
    TSides FFrameSides = sdAllSides;
    TFrameStyle FFrameStyle = fsFlat;
    bool FFrameVisible = false;
    TFramingPreference FFramingPreference = fpXPThemes;
};

class TFcFrameController : public TComponent, public TFcFrameLook {
public:
    explicit TFcFrameController(TComponent* AOwner);
    ~TFcFrameController() override;

    TColor Color() const { return FColor; }
    virtual void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    virtual void SetParentColor(bool Value);
    TColor FlatButtonColor() const { return FFlatButtonColor; }
    virtual void SetFlatButtonColor(TColor Value);
    bool FlatButtons() const { return FFlatButtons; }
    virtual void SetFlatButtons(bool Value);
    TColor DisabledColor() const { return FDisabledColor; }
    virtual void SetDisabledColor(TColor Value);
    TColor ReadOnlyColor() const { return FReadOnlyColor; }
    virtual void SetReadOnlyColor(TColor Value);
    bool ReadOnlyColorOnFocus() const { return FReadOnlyColorOnFocus; }
    virtual void SetReadOnlyColorOnFocus(bool Value);
    TColor FocusColor() const { return FFocusColor; }
    virtual void SetFocusColor(TColor Value);
    TFcRegIniFile* RegIniFile() const { return FRegIniFile; }
    virtual void SetRegIniFile(TFcRegIniFile* Value);

    void AddControl(TComponent* Control);
    void RemoveControl(TComponent* Control);
    int ControlCount() const { return int(FFrameList.size()); }
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    void UpdateControls() { UpdateFrames(fcpAll); }
    virtual void UpdateFrames(TFcFrameControllerProperty Property);
    virtual void UpdateControlFrame(TComponent* Control, TFcFrameControllerProperty Property);
    void Assign(const TFcFrameController* Source);
    void Load(const QString& Section);
    void Save(const QString& Section);
    // Old form files: "FrameFlat" True means a status frame, lowered when hot.
    void ReadLegacyFrameFlat(bool Value);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // A frame setting changed: every registered control takes it.
    void FrameLookChanged(TFcFrameControllerProperty Property) override { UpdateFrames(Property); }
    bool FrameLookLoading() const override { return Loading(); }

private:
    TColor FColor = clWindow;
    bool FParentColor = false;
    TColor FFlatButtonColor = clBtnFace;
    bool FFlatButtons = true;
    TColor FDisabledColor = clBtnFace;
    TColor FReadOnlyColor = clInfoBk;
    bool FReadOnlyColorOnFocus = false;
    TColor FFocusColor = clWindow;
    TFcRegIniFile* FRegIniFile = nullptr;
    std::vector<TComponent*> FFrameList;
    int FUpdateCount = 0;
};

// Moves a control from one controller to another (either may be none).
void ChangeFrameController(TComponent* Control, TFcFrameController*& Field, TFcFrameController* Value);

