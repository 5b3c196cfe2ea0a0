#include "components/framed/FcFrameController.h"

#include "components/framed/FcLegacyProps.h"
#include "components/framed/FcRegIniFile.h"

#include <algorithm>

TFcFrameController::TFcFrameController(TComponent* AOwner) : TComponent(AOwner) {}

TFcFrameController::~TFcFrameController() = default;

// The plain setters of the controller and of a control's frame look: store the
// value and, when it changed, pass the property on.
#define FC_SETTER(Class, Notify, Name, Type, Field, Prop) \
    void Class::Set##Name(Type Value)                     \
    {                                                     \
        if (StoreFrameValue(Field, Value))                \
            Notify(Prop);                                 \
    }
FC_SETTER(TFcFrameController, UpdateFrames, FlatButtonColor, TColor, FFlatButtonColor, fcpFlatButtonColor)
FC_SETTER(TFcFrameController, UpdateFrames, FlatButtons, bool, FFlatButtons, fcpFlatButtons)
FC_SETTER(TFcFrameController, UpdateFrames, DisabledColor, TColor, FDisabledColor, fcpDisabledColor)
FC_SETTER(TFcFrameController, UpdateFrames, ReadOnlyColor, TColor, FReadOnlyColor, fcpReadOnlyColor)
FC_SETTER(TFcFrameController, UpdateFrames, ReadOnlyColorOnFocus, bool, FReadOnlyColorOnFocus, fcpReadOnlyColorOnFocus)
FC_SETTER(TFcFrameController, UpdateFrames, FocusColor, TColor, FFocusColor, fcpFocusColor)
FC_SETTER(TFcFrameLook, FrameLookChanged, FrameColor, TColor, FFrameColor, fcpFrameColor)
FC_SETTER(TFcFrameLook, FrameLookChanged, FrameHotColor, TColor, FFrameHotColor, fcpFrameHotColor)
FC_SETTER(TFcFrameLook, FrameLookChanged, FrameHotStyle, TFrameStyle, FFrameHotStyle, fcpFrameHotStyle)
FC_SETTER(TFcFrameLook, FrameLookChanged, FrameSides, TSides, FFrameSides, fcpFrameSides)
FC_SETTER(TFcFrameLook, FrameLookChanged, FrameStyle, TFrameStyle, FFrameStyle, fcpFrameStyle)
FC_SETTER(TFcFrameLook, FrameLookChanged, FrameVisible, bool, FFrameVisible, fcpFrameVisible)
FC_SETTER(TFcFrameLook, FrameLookChanged, FramingPreference, TFramingPreference, FFramingPreference, fcpFramingPreference)
#undef FC_SETTER

void TFcFrameController::SetColor(TColor Value)
{
    if (FColor == Value)
        return;
    // the focus colour follows when it was the same (it is not pushed by itself)
    if (FFocusColor == FColor)
        FFocusColor = Value;
    FColor = Value;
    FParentColor = false;
    UpdateFrames(fcpColor);
}

void TFcFrameController::SetParentColor(bool Value)
{
    if (FParentColor == Value)
        return;
    FParentColor = Value;
    UpdateFrames(fcpParentColor);
    if (!Value)
        UpdateFrames(fcpColor);
}

void TFcFrameController::SetRegIniFile(TFcRegIniFile* Value)
{
    FRegIniFile = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TFcFrameController::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FRegIniFile)
        FRegIniFile = nullptr;
    FFrameList.erase(std::remove(FFrameList.begin(), FFrameList.end(), AComponent), FFrameList.end());
}

void TFcFrameController::AddControl(TComponent* Control)
{
    if (std::find(FFrameList.begin(), FFrameList.end(), Control) != FFrameList.end())
        return;
    FFrameList.push_back(Control);
    Control->FreeNotification(this);
    UpdateControlFrame(Control, fcpAll);
}

void TFcFrameController::RemoveControl(TComponent* Control)
{
    FFrameList.erase(std::remove(FFrameList.begin(), FFrameList.end(), Control), FFrameList.end());
}

void TFcFrameController::EndUpdate()
{
    if (--FUpdateCount <= 0) {
        FUpdateCount = 0;
        UpdateFrames(fcpAll);
    }
}

void TFcFrameController::UpdateFrames(TFcFrameControllerProperty Property)
{
    if (FUpdateCount > 0 || FFrameList.empty())
        return;
    const std::vector<TComponent*> controls = FFrameList;
    for (TComponent* c : controls)
        UpdateControlFrame(c, Property);
}

void TFcFrameController::UpdateControlFrame(TComponent* Control, TFcFrameControllerProperty Property)
{
    if (auto* n = dynamic_cast<IFcCustomFramingNotification*>(Control)) {
        n->CustomFramingChanged();
        return;
    }
    auto* p = dynamic_cast<IFcFramedProperties*>(Control);
    if (!p)
        return;
    const TFcFrameControllerNotifications allowed = p->FrameControllerNotifications();
    auto push = [&](TFcFrameControllerProperty prop) {
        if (HasNotification(allowed, prop))
            p->SetFrameProperty(prop, this);
    };
    if (Property != fcpAll) {
        push(Property);
        return;
    }
    push(fcpParentColor);
    if (!FParentColor)
        push(fcpColor);
    for (TFcFrameControllerProperty prop :
         {fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpFocusColor, fcpFlatButtonColor, fcpFlatButtons,
          fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle, fcpFrameSides, fcpFrameStyle,
          fcpFrameVisible, fcpFramingPreference})
        push(prop);
}

void TFcFrameController::Assign(const TFcFrameController* S)
{
    BeginUpdate();
    FColor = S->FColor;
    FParentColor = S->FParentColor;
    FFlatButtonColor = S->FFlatButtonColor;
    FFlatButtons = S->FFlatButtons;
    FDisabledColor = S->FDisabledColor;
    FReadOnlyColor = S->FReadOnlyColor;
    FReadOnlyColorOnFocus = S->FReadOnlyColorOnFocus;
    FFocusColor = S->FFocusColor;
    FFrameColor = S->FFrameColor;
    FFrameHotColor = S->FFrameHotColor;
    FFrameHotTrack = S->FFrameHotTrack;
    FFrameHotStyle = S->FFrameHotStyle;
    FFrameSides = S->FFrameSides;
    FFrameStyle = S->FFrameStyle;
    FFrameVisible = S->FFrameVisible;
    FFramingPreference = S->FFramingPreference;
    EndUpdate();
}

void TFcFrameController::Load(const QString& Section)
{
    if (!FRegIniFile)
        throw ENoRegIniFile(QStringLiteral("Cannot load Custom Framing settings--No TFcRegIniFile component specified"));
    TFcRegIniFile* r = FRegIniFile;
    BeginUpdate();
    try {
        SetColor(r->ReadInteger(Section, QStringLiteral("Color"), clWindow));
        SetFlatButtonColor(r->ReadInteger(Section, QStringLiteral("FlatButtonColor"), clBtnFace));
        SetFlatButtons(r->ReadBool(Section, QStringLiteral("FlatButtons"), true));
        SetDisabledColor(r->ReadInteger(Section, QStringLiteral("DisabledColor"), clWindow));
        SetReadOnlyColor(r->ReadInteger(Section, QStringLiteral("ReadOnlyColor"), clInfoBk));
        SetReadOnlyColorOnFocus(r->ReadBool(Section, QStringLiteral("ReadOnlyColorOnFocus"), false));
        SetFocusColor(r->ReadInteger(Section, QStringLiteral("FocusColor"), clWindow));
        SetFrameColor(r->ReadInteger(Section, QStringLiteral("FrameColor"), clBtnShadow));
        SetFrameHotColor(r->ReadInteger(Section, QStringLiteral("FrameHotColor"), clBtnShadow));
        SetFrameHotStyle(TFrameStyle(r->ReadInteger(Section, QStringLiteral("FrameHotStyle"), fsFlatBold)));
        SetFrameHotTrack(r->ReadBool(Section, QStringLiteral("FrameHotTrack"), false));
        TSides sides = 0;
        const char* names[4] = {"FrameSides_Left", "FrameSides_Top", "FrameSides_Right", "FrameSides_Bottom"};
        for (int i = 0; i < 4; ++i)
            if (r->ReadBool(Section, QLatin1String(names[i]), true))
                sides |= 1u << i;
        SetFrameSides(sides);
        SetFrameStyle(TFrameStyle(r->ReadInteger(Section, QStringLiteral("FrameStyle"), fsFlat)));
        SetFrameVisible(r->ReadBool(Section, QStringLiteral("FrameVisible"), false));
        SetFramingPreference(TFramingPreference(r->ReadInteger(Section, QStringLiteral("FramingPreference"), fpXPThemes)));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TFcFrameController::Save(const QString& Section)
{
    if (!FRegIniFile)
        throw ENoRegIniFile(QStringLiteral("Cannot save Custom Framing settings--No TFcRegIniFile component specified"));
    TFcRegIniFile* r = FRegIniFile;
    r->WriteInteger(Section, QStringLiteral("Color"), FColor);
    r->WriteInteger(Section, QStringLiteral("FlatButtonColor"), FFlatButtonColor);
    r->WriteBool(Section, QStringLiteral("FlatButtons"), FFlatButtons);
    r->WriteInteger(Section, QStringLiteral("DisabledColor"), FDisabledColor);
    r->WriteInteger(Section, QStringLiteral("ReadOnlyColor"), FReadOnlyColor);
    r->WriteBool(Section, QStringLiteral("ReadOnlyColorOnFocus"), FReadOnlyColorOnFocus);
    r->WriteInteger(Section, QStringLiteral("FocusColor"), FFocusColor);
    r->WriteInteger(Section, QStringLiteral("FrameColor"), FFrameColor);
    r->WriteInteger(Section, QStringLiteral("FrameHotColor"), FFrameHotColor);
    r->WriteInteger(Section, QStringLiteral("FrameHotStyle"), FFrameHotStyle);
    r->WriteBool(Section, QStringLiteral("FrameHotTrack"), FFrameHotTrack);
    const char* names[4] = {"FrameSides_Left", "FrameSides_Top", "FrameSides_Right", "FrameSides_Bottom"};
    for (int i = 0; i < 4; ++i)
        r->WriteBool(Section, QLatin1String(names[i]), (FFrameSides & (1u << i)) != 0);
    r->WriteInteger(Section, QStringLiteral("FrameStyle"), FFrameStyle);
    r->WriteBool(Section, QStringLiteral("FrameVisible"), FFrameVisible);
    r->WriteInteger(Section, QStringLiteral("FramingPreference"), FFramingPreference);
}

void TFcFrameController::ReadLegacyFrameFlat(bool Value)
{
    FFrameHotTrack = Value;
    if (Value) {
        FFrameStyle = fsStatus;
        FFrameHotStyle = fsLowered;
    }
}

bool TFcFrameLook::ReadLegacyProperty(const QString& Name, const QString& Value)
{
    if (!ReadLegacyFrameProperty(Name, Value, FFrameHotTrack, FFrameStyle, FFrameHotStyle))
        return false;
    FrameLookChanged(fcpAll);
    return true;
}

void ChangeFrameController(TComponent* Control, TFcFrameController*& Field, TFcFrameController* Value)
{
    if (Field == Value)
        return;
    if (Field)
        Field->RemoveControl(Control);
    Field = Value;
    if (Value) {
        Value->FreeNotification(Control);
        Value->AddControl(Control);
    }
}

void TFcFrameLook::TakeFrameProperty(TFcFrameControllerProperty P, const TFcFrameController* C)
{
    switch (P) {
    case fcpFrameColor: SetFrameColor(C->FrameColor()); break;
    case fcpFrameHotColor: SetFrameHotColor(C->FrameHotColor()); break;
    case fcpFrameHotTrack: SetFrameHotTrack(C->FrameHotTrack()); break;
    case fcpFrameHotStyle: SetFrameHotStyle(C->FrameHotStyle()); break;
    case fcpFrameSides: SetFrameSides(C->FrameSides()); break;
    case fcpFrameStyle: SetFrameStyle(C->FrameStyle()); break;
    case fcpFrameVisible: SetFrameVisible(C->FrameVisible()); break;
    case fcpFramingPreference: SetFramingPreference(C->FramingPreference()); break;
    default: break;
    }
}

void TFcFrameLook::SetFrameHotTrack(bool Value)
{
    if (FFrameHotTrack == Value)
        return;
    FFrameHotTrack = Value;
    if (Value) {
        SetFrameVisible(true);
        if (!FrameLookLoading())
            FFrameSides = sdAllSides;
    }
    FrameLookChanged(fcpFrameHotTrack);
}
