#pragma once
// Per-form property saving: the coordinator TPropSaveMain links a window to a
// property file and reads/saves the window position and every saver bound to
// it. Savers (TCustomPropSave descendants) list the components they store by
// name; each component gets its own section: form key + "." + owner names +
// "." + component name.
//
// The coordinator hooks the form's events in order: it reads before the
// form's own create (or show) handler and saves after its destroy (or hide)
// handler, so the window's code sees restored values and its last changes are
// kept.

#include "components/grid/TPropSaveFile.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Types.h"

#include <functional>
#include <vector>

class TCustomForm;
class TControl;
class TPropSaveMain;

enum TPropSaveEvents { pseFormCreateDestroy, pseFormShowHide, pseNone };
enum TPropSaveAction { psaRead, psaSave, psaDelete };

using TOnReadSaveProp = std::function<void(TPropSaveFile* PSFile, const QString& Key)>;
using TOnGetKeyString = std::function<void(TComponent* Comp, QString& Key)>;
class TCustomPropSave;
using TOnProcComponents = std::function<void(TCustomPropSave* Sender, TPropSaveAction psAction)>;

class TCustomPropSave : public TComponent {
public:
    explicit TCustomPropSave(TComponent* AOwner);
    ~TCustomPropSave() override;

    TPropSaveMain* PropSaveMain() const { return FPropSaveMain; }
    void SetPropSaveMain(TPropSaveMain* Value);
    bool Disable = false;
    TStringList Components;
    std::vector<TComponent*> DisableComponents;
    TOnGetKeyString OnGetKeyString;
    TOnProcComponents OnProcComponents;

    QString GetKey(TComponent* Comp) const;
    void ProcComps(TPropSaveAction psAction);
    void ProcComp(TPropSaveAction psAction, TComponent* Comp, bool ProcChild);
    bool PropsIsStored(TComponent* Comp) const;
    virtual void ReadSaveProps(TPropSaveAction psAction, TPropSaveFile* PSFile, TComponent* Comp, const QString& Key) = 0;
    virtual bool CanSave(TComponent* Comp) const = 0;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    TComponent* FindListed(const QString& Entry) const;

private:
    TPropSaveMain* FPropSaveMain = nullptr;
};

class TPositionPropSave : public TCustomPropSave {
public:
    explicit TPositionPropSave(TComponent* AOwner);
    bool LimitToRect = false;
    TRect LimitRect;
    int MinWidthHeight = 30;
    TRect CheckLimit(const TRect& R) const;
    void ReadSaveProps(TPropSaveAction psAction, TPropSaveFile* PSFile, TComponent* Comp, const QString& Key) override;
    bool CanSave(TComponent* Comp) const override;
};

class TStdCtrlPropSave : public TCustomPropSave {
public:
    explicit TStdCtrlPropSave(TComponent* AOwner) : TCustomPropSave(AOwner) {}
    void ReadSaveProps(TPropSaveAction psAction, TPropSaveFile* PSFile, TComponent* Comp, const QString& Key) override;
    bool CanSave(TComponent* Comp) const override;
};

class TPropSaveMain : public TComponent {
public:
    explicit TPropSaveMain(TComponent* AOwner);
    ~TPropSaveMain() override;

    QString FormKey;
    TPropSaveFile* PropSaveFile() const { return FPropSaveFile; }
    void SetPropSaveFile(TPropSaveFile* Value);
    bool FormSavePos = true;
    bool FormLimitToScreen = true;
    TPositionPropSave* CtrlPosition() const { return FCtrlPosition; }
    TStdCtrlPropSave* StdCtrl() const { return FStdCtrl; }
    TPropSaveEvents PropSaveEvents = pseFormCreateDestroy;
    TOnReadSaveProp OnSaveProperties;
    TOnReadSaveProp OnReadProperties;
    bool IsMaximized = false;

    void SaveProperties() { ProcMain(psaSave, true); }
    void ReadProperties() { ProcMain(psaRead, true); }
    void DeleteProperties() { ProcMain(psaDelete, true); }
    bool FormIsSaved() const;
    QString GetFormKey() const;
    TCustomForm* Form() const { return FOwnForm; }
    void SetParent(TComponent* AParent, bool UseFormEvent);
    bool WasFormPosSaved() const { return FWasFormPosSaved; }

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void HookFormEvents();
    void ProcMain(TPropSaveAction psAction, bool ForceEnabled);
    void ProcFormPosition(TPropSaveAction psAction);
    TPropSaveFile* FPropSaveFile = nullptr;
    TPositionPropSave* FCtrlPosition = nullptr;
    TStdCtrlPropSave* FStdCtrl = nullptr;
    TCustomForm* FOwnForm = nullptr;
    bool FWasRead = false;
    bool FWasFormPosSaved = false;
    bool FHooked = false;
    TRect FFormPosRect;
};
