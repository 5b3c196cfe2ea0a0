#include "components/grid/TPropSaveMain.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rdlg_baseform.h"
#include "platform/ui/CheckLst.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "resources/GridActionTexts.h"

namespace {

SORVEX_EXCEPTION_KIND(EAssertionFailed, Exception)

QString Fmt(const QString& Text, const QString& Arg)
{
    QString s = Text;
    return s.replace(QStringLiteral("%s"), Arg);
}

}  // namespace

// ---- TCustomPropSave --------------------------------------------------------

TCustomPropSave::TCustomPropSave(TComponent* AOwner) : TComponent(AOwner)
{
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

TCustomPropSave::~TCustomPropSave() = default;

void TCustomPropSave::Loaded()
{
    TComponent::Loaded();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

void TCustomPropSave::SetPropSaveMain(TPropSaveMain* Value)
{
    if (FPropSaveMain)
        RemoveFreeNotification(FPropSaveMain);
    FPropSaveMain = Value;
    if (Value)
        FreeNotification(Value);
}

void TCustomPropSave::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPropSaveMain)
        FPropSaveMain = nullptr;
    if (Operation == opRemove)
        std::erase(DisableComponents, AComponent);
}

QString TCustomPropSave::GetKey(TComponent* Comp) const
{
    if (!Comp || Comp->Name().isEmpty() || !FPropSaveMain)
        return QString();
    QString key = FPropSaveMain->GetFormKey();
    if (OnGetKeyString) {
        OnGetKeyString(Comp, key);
        return key;
    }
    key = Comp->Name();
    TComponent* form = FPropSaveMain->Form();
    for (TComponent* o = Comp->Owner(); o && o != form; o = o->Owner())
        key = o->Name() + QLatin1Char('.') + key;
    return FPropSaveMain->GetFormKey() + QLatin1Char('.') + key;
}

TComponent* TCustomPropSave::FindListed(const QString& Entry) const
{
    TComponent* root = FPropSaveMain ? FPropSaveMain->Owner() : nullptr;
    if (!root)
        return nullptr;
    const int dot = int(Entry.indexOf(QLatin1Char('.')));
    if (dot < 0)
        return root->FindComponent(Entry);
    TComponent* first = root->FindComponent(Entry.left(dot));
    return first ? first->FindComponent(Entry.mid(dot + 1)) : nullptr;
}

void TCustomPropSave::ProcComps(TPropSaveAction psAction)
{
    if (Disable)
        return;
    for (int i = 0; i < Components.Count(); ++i) {
        QString entry = Components[i].trimmed();
        const bool withChildren = entry.endsWith(QLatin1String(".*"));
        if (withChildren)
            entry.chop(2);
        if (TComponent* c = FindListed(entry)) {
            ProcComp(psAction, c, withChildren);
            continue;
        }
        TComponent* owner = FPropSaveMain ? FPropSaveMain->Owner() : nullptr;
        if (!withChildren)
            throw EAssertionFailed(Fmt(gridacttxt::CompNotFound, entry));
        if (owner && owner->Name().compare(entry, Qt::CaseInsensitive) == 0)
            ProcComp(psAction, owner, true);
    }
    if (OnProcComponents)
        OnProcComponents(this, psAction);
}

void TCustomPropSave::ProcComp(TPropSaveAction psAction, TComponent* Comp, bool ProcChild)
{
    if (!Comp || Comp->Name().isEmpty() || !FPropSaveMain || !FPropSaveMain->PropSaveFile())
        return;
    if (!ProcChild && !CanSave(Comp))
        throw EAssertionFailed(Fmt(gridacttxt::CannotSaveComp, Comp->Name()));
    const QString key = GetKey(Comp);
    const bool disabled = std::find(DisableComponents.begin(), DisableComponents.end(), Comp) != DisableComponents.end();
    const TPropSaveAction action = disabled ? psaDelete : psAction;
    TPropSaveFile* file = FPropSaveMain->PropSaveFile();
    if (action != psaRead)
        file->EraseSection(key);
    if (CanSave(Comp))
        ReadSaveProps(action, file, Comp, key);
    if (!ProcChild)
        return;
    if (auto* w = dynamic_cast<TWinControl*>(Comp))
        for (int i = 0; i < w->ControlCount(); ++i)
            ProcComp(psAction, w->Controls(i), true);
}

bool TCustomPropSave::PropsIsStored(TComponent* Comp) const
{
    try {
        return FPropSaveMain && FPropSaveMain->PropSaveFile() && FPropSaveMain->PropSaveFile()->SectionExists(GetKey(Comp));
    } catch (...) {
        return false;
    }
}

// ---- TPositionPropSave ------------------------------------------------------

TPositionPropSave::TPositionPropSave(TComponent* AOwner) : TCustomPropSave(AOwner) {}

bool TPositionPropSave::CanSave(TComponent* Comp) const
{
    return dynamic_cast<TControl*>(Comp) != nullptr;
}

TRect TPositionPropSave::CheckLimit(const TRect& R) const
{
    TRect r = R;
    auto fit = [this](int& A, int& B, int Lo, int Hi) {
        if (Hi - (B - A) < A) {
            const int w = B - A;
            A = Hi - w;
            B = A + w;
        }
        if (A < Lo) {
            const int w = B - A;
            A = Lo;
            B = A + w;
        }
        if (B > Hi)
            B = Hi;
        if (B < A + MinWidthHeight)
            B = A + MinWidthHeight;
    };
    fit(r.Left, r.Right, LimitRect.Left, LimitRect.Right);
    fit(r.Top, r.Bottom, LimitRect.Top, LimitRect.Bottom);
    return r;
}

void TPositionPropSave::ReadSaveProps(TPropSaveAction psAction, TPropSaveFile* PSFile, TComponent* Comp, const QString& Key)
{
    auto* c = dynamic_cast<TControl*>(Comp);
    if (!c)
        return;
    const QString s = Key + QStringLiteral("_XY");
    const TRect b = c->BoundsRect();
    switch (psAction) {
    case psaRead: {
        TRect r(PSFile->ReadInteger(s, QStringLiteral("Left"), b.Left), PSFile->ReadInteger(s, QStringLiteral("Top"), b.Top),
                PSFile->ReadInteger(s, QStringLiteral("Right"), b.Right), PSFile->ReadInteger(s, QStringLiteral("Bottom"), b.Bottom));
        if (LimitToRect)
            r = CheckLimit(r);
        c->SetBoundsRect(r);
        break;
    }
    case psaSave:
        PSFile->WriteInteger(s, QStringLiteral("Left"), b.Left);
        PSFile->WriteInteger(s, QStringLiteral("Right"), b.Right);
        PSFile->WriteInteger(s, QStringLiteral("Top"), b.Top);
        PSFile->WriteInteger(s, QStringLiteral("Bottom"), b.Bottom);
        break;
    case psaDelete:
        for (const char* k : {"Left", "Right", "Top", "Bottom"})
            PSFile->DeleteKey(s, QLatin1String(k));
        break;
    }
}

// ---- TPropSaveMain ----------------------------------------------------------

TPropSaveMain::TPropSaveMain(TComponent* AOwner) : TComponent(AOwner)
{
    SetParent(AOwner, false);
    FCtrlPosition = new TPositionPropSave(this);
    FCtrlPosition->SetName(QStringLiteral("CtrlPosition"));
    FCtrlPosition->SetPropSaveMain(this);
    FStdCtrl = new TStdCtrlPropSave(this);
    FStdCtrl->SetName(QStringLiteral("StdCtrl"));
    FStdCtrl->SetPropSaveMain(this);
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

TPropSaveMain::~TPropSaveMain()
{
    FOwnForm = nullptr;
}

void TPropSaveMain::SetPropSaveFile(TPropSaveFile* Value)
{
    if (FPropSaveFile)
        RemoveFreeNotification(FPropSaveFile);
    FPropSaveFile = Value;
    if (Value)
        FreeNotification(Value);
}

void TPropSaveMain::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPropSaveFile)
        FPropSaveFile = nullptr;
}

QString TPropSaveMain::GetFormKey() const
{
    if (!FormKey.isEmpty())
        return FormKey;
    return FOwnForm ? FOwnForm->Name() : QString();
}

bool TPropSaveMain::FormIsSaved() const
{
    return FPropSaveFile && !FPropSaveFile->DisableAll && FPropSaveFile->SectionExists(GetFormKey() + QStringLiteral("_XY"));
}

void TPropSaveMain::SetParent(TComponent* AParent, bool UseFormEvent)
{
    FOwnForm = dynamic_cast<TCustomForm*>(AParent);
    if (!FOwnForm && AParent)
        FOwnForm = dynamic_cast<TCustomForm*>(AParent->Owner());
    if (UseFormEvent)
        HookFormEvents();
}

void TPropSaveMain::Loaded()
{
    TComponent::Loaded();
    HookFormEvents();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

void TPropSaveMain::HookFormEvents()
{
    if (!FOwnForm || PropSaveEvents == pseNone || FHooked)
        return;
    FHooked = true;
    TNotifyEvent& readEvent = PropSaveEvents == pseFormCreateDestroy ? FOwnForm->OnCreate : FOwnForm->OnShow;
    TNotifyEvent& saveEvent = PropSaveEvents == pseFormCreateDestroy ? FOwnForm->OnDestroy : FOwnForm->OnHide;
    // The form's own handlers run inside ours: reading comes first, saving last.
    readEvent = [this, old = readEvent](TComponent* Sender) {
        if (!FWasRead)
            ProcMain(psaRead, false);
        FWasRead = true;
        if (old)
            old(Sender);
    };
    saveEvent = [this, old = saveEvent](TComponent* Sender) {
        if (old)
            old(Sender);
        ProcMain(psaSave, false);
        FWasRead = false;
    };
    FOwnForm->OnActivate = [this, old = FOwnForm->OnActivate](TComponent* Sender) {
        if (FWasFormPosSaved && FOwnForm) {
            FWasFormPosSaved = false;
            FOwnForm->SetBoundsRect(FFormPosRect);
        }
        if (IsMaximized && FOwnForm) {
            IsMaximized = false;
            FOwnForm->SetWindowState(wsMaximized);
        }
        if (old)
            old(Sender);
    };
}

void TPropSaveMain::ProcFormPosition(TPropSaveAction psAction)
{
    TCustomForm* f = FOwnForm;
    const QString key = GetFormKey();
    const QString xy = key + QStringLiteral("_XY");
    FWasFormPosSaved = FormIsSaved();
    TPositionPropSave pos(nullptr);
    pos.SetPropSaveMain(this);
    pos.LimitToRect = FormLimitToScreen;
    pos.MinWidthHeight = 120;
    pos.LimitRect = Screen ? Screen->DesktopRect() : TRect(0, 0, 1 << 20, 1 << 20);
    const bool storedBefore = FWasFormPosSaved;
    if (psAction == psaSave) {
        FPropSaveFile->WriteInteger(xy, QStringLiteral("WinMinMax"), int(f->WindowState()));
    } else if (psAction == psaDelete) {
        FPropSaveFile->DeleteKey(xy, QStringLiteral("WinMinMax"));
    } else if (FWasFormPosSaved) {
        if (PropSaveEvents == pseFormCreateDestroy)
            f->SetPosition(poDesigned);
        const int state = FPropSaveFile->ReadInteger(xy, QStringLiteral("WinMinMax"), int(f->WindowState()));
        if (f->WindowState() != wsNormal)
            f->SetWindowState(wsNormal);
        IsMaximized = state == int(wsMaximized);
    }
    const int w = f->Width(), h = f->Height();
    if (psAction == psaRead || f->WindowState() == wsNormal || !storedBefore)
        pos.ReadSaveProps(psAction, FPropSaveFile, f, key);
    if (psAction == psaRead && f->WindowState() == wsNormal &&
        (f->BorderStyle() == bsNone || f->BorderStyle() == bsSingle || f->BorderStyle() == bsDialog))
        f->SetBounds(f->Left(), f->Top(), w, h);
    FFormPosRect = f->BoundsRect();
}

void TPropSaveMain::ProcMain(TPropSaveAction psAction, bool ForceEnabled)
{
    FWasFormPosSaved = false;
    if (!FOwnForm || !FPropSaveFile || (FPropSaveFile->DisableAll && !ForceEnabled))
        return;
    if (FormSavePos)
        ProcFormPosition(psAction);
    FCtrlPosition->ProcComps(psAction);
    FStdCtrl->ProcComps(psAction);
    if (TComponent* owner = Owner())
        for (int i = 0; i < owner->ComponentCount(); ++i)
            if (auto* s = dynamic_cast<TCustomPropSave*>(owner->Components(i)); s && s->PropSaveMain() == this)
                s->ProcComps(psAction);
    if (psAction == psaRead && OnReadProperties)
        OnReadProperties(FPropSaveFile, GetFormKey());
    if (psAction == psaSave && OnSaveProperties)
        OnSaveProperties(FPropSaveFile, GetFormKey());
}

// ---- the library dialogs' saver ---------------------------------------------

namespace {
// Every library dialog keeps its place in the application's property file unless
// its caller hands it another; reading on showing, storing on hiding.
const bool dlgPropSaveInstalled = [] {
    DlgPropSaveLayer().MakeSaver = [](TrDlgBaseForm* Form) -> TComponent* {
        auto* saver = new TPropSaveMain(Form);
        saver->SetName(QStringLiteral("DlgPropSave"));
        saver->PropSaveEvents = pseFormShowHide;
        saver->SetPropSaveFile(GetGlobal_PropSaveFile());
        return saver;
    };
    DlgPropSaveLayer().SetFile = [](TComponent* Saver, TComponent* File) {
        if (auto* main = dynamic_cast<TPropSaveMain*>(Saver))
            main->SetPropSaveFile(dynamic_cast<TPropSaveFile*>(File));
    };
    return true;
}();
}  // namespace
