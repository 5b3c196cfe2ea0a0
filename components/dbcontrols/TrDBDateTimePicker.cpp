#include "components/dbcontrols/TrDBDateTimePicker.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/grid/rdbtool.h"
#include "platform/rtl/DateUtils.h"
#include "resources/DBControlsTexts.h"

#include <cmath>

namespace {

const QString EmptyLiteral = QStringLiteral("''");

bool IsDigitKey(Word Key) { return (Key >= '0' && Key <= '9') || (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD0 + 9); }

}  // namespace

// ---- TCheckBoxOnly -------------------------------------------------------------------

TCheckBoxOnly::TCheckBoxOnly(TComponent* AOwner) : TCheckBox(AOwner)
{
    SetName(dbctltxt::SubCheckBoxName);
    SetCaption(QString());
}

void TCheckBoxOnly::SetPos(TControl* W, double ScaleRatio)
{
    if (!W)
        return;
    const int a = int(std::lround(16 * ScaleRatio));
    if ((ComponentState() & csDesigning) && !Checked())
        SetBounds(W->Left() - 1, W->Top(), 0, W->Height());
    else
        SetBounds(W->Left() - a, W->Top(), a, W->Height());
}

void TCheckBoxOnly::Click()
{
    TCheckBox::Click();
    Invalidate();
}

void TCheckBoxOnly::DoEnter()
{
    TCheckBox::DoEnter();
    Invalidate();
}

void TCheckBoxOnly::DoExit()
{
    TCheckBox::DoExit();
    Invalidate();
}

void TCheckBoxOnly::Paint()
{
    TCheckBox::Paint();
    if (Focused()) {
        TRect r = ClientRect();
        r.Top += 1;
        r.Bottom -= 1;
        r.Right -= 2;
        Canvas()->DrawFocusRect(r);
    }
}

// ---- TrDBDateTimePicker --------------------------------------------------------------

TrDBDateTimePicker::TrDBDateTimePicker(TComponent* AOwner) : TDBLabeledControl(AOwner), FFormatEmpty(QStringLiteral("__.__.__"))
{
    FLabelFollowsEnabled = false;
    FWidth = 88;
    FCheckBox = new TCheckBoxOnly(this);
    FCheckBox->SetVisible(false);
    FCheckBox->FreeNotification(this);
    FCheckBox->OnClick = [this](TComponent*) { CheckClick(); };
    FDataLink.VisualControl = true;
    FDataLink.OnActiveChange = [this](TFieldDataLink*) { ActiveChange(); };
    FDataLink.OnDataChange = [this](TFieldDataLink*) { DataChange(); };
    FDataLink.OnEditingChange = [this](TFieldDataLink*) { EditingChange(); };
    FDataLink.OnUpdateData = [this](TFieldDataLink*) { UpdateData(); };
    oldColor = Color();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

TrDBDateTimePicker::~TrDBDateTimePicker() { FDataLink.SetDataSource(nullptr); }

void TrDBDateTimePicker::Notification(TComponent* AComponent, TOperation Operation)
{
    TDBLabeledControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FCheckBox)
        FCheckBox = nullptr;
    if (FDataLink.DataSource() && static_cast<TComponent*>(FDataLink.DataSource()) == AComponent)
        FDataLink.SetDataSource(nullptr);
}

void TrDBDateTimePicker::Loaded()
{
    // 16.
    TDBLabeledControl::Loaded();
    oldFormat = Format();
    SetDataSource(DataSource());
    if (FCheckBox) {
        FCheckBox->SetPos(this, ScaleRatio());
        FCheckBox->SetVisible(CheckBoxShown());
        FCheckBox->SetTabOrder(TabOrder());
    }
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

void TrDBDateTimePicker::ChangeScale(int M, int D)
{
    TDBLabeledControl::ChangeScale(M, D);
    if (FCheckBox)
        FCheckBox->SetPos(this, ScaleRatio());
}

void TrDBDateTimePicker::SetParent(TWinControl* AParent)
{
    TDBLabeledControl::SetParent(AParent);
    if (FCheckBox)
        FCheckBox->SetParent(AParent);
}

void TrDBDateTimePicker::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TDBLabeledControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FCheckBox)
        FCheckBox->SetPos(this, ScaleRatio());
}

void TrDBDateTimePicker::VisibleChanged()
{
    TDBLabeledControl::VisibleChanged();
    if (FCheckBox)
        FCheckBox->SetVisible(CheckBoxShown());
}

void TrDBDateTimePicker::SetDataSource(TDataSource* Value)
{
    RememberColor();
    FDataLink.SetDataSource(Value);
    SetSubComp();
    if (!(ComponentState() & csDesigning)) {
        EditingChange();
        DataChange();
        SetVisibilityFromField(this, DataSource(), DataField());
    }
    if (Value)
        Value->FreeNotification(this);
}

void TrDBDateTimePicker::SetDataField(const QString& Value)
{
    FDataLink.SetFieldName(Value);
    SetSubComp();
    SetDBCompName(this, FDefaultPrefix, Value);
    DataChange();
}

void TrDBDateTimePicker::SetFormat(const QString& Value)
{
    oldFormat = Value;
    SetIntFormat();
}

void TrDBDateTimePicker::SetFormatEmpty(const QString& Value)
{
    FFormatEmpty = Value;
    SetIntFormat();
}

void TrDBDateTimePicker::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    TDateTimePicker::SetReadOnly(Value);
}

void TrDBDateTimePicker::SetDataAllowNull(bool Value)
{
    FDataAllowNull = Value;
    if (FCheckBox) {
        if (ComponentState() & csDesigning)
            FCheckBox->SetChecked(Value);
        FCheckBox->SetPos(this, ScaleRatio());
    }
    if (FDBEditLabel) {
        FDBEditLabel->OwnerOffsetX = Value ? -int(std::lround(16 * ScaleRatio())) : 0;
        FDBEditLabel->RefreshPosition(false);
    }
    SetSubComp();
    // Set after binding: the box follows the field at once.
    if (!(ComponentState() & csDesigning) && !Loading()) {
        DataChange();
        EditingChange();
    }
}

void TrDBDateTimePicker::SetEnabledAll(bool Value)
{
    FEnabledAll = Value;
    if (FDBEditLabel)
        FDBEditLabel->SetEnabled(Value);
    if (FCheckBox)
        FCheckBox->SetEnabled(Value);
    EditingChange();
    DataChange();
}

void TrDBDateTimePicker::UpdateState(TComponent*) { EditingChange(); }

bool TrDBDateTimePicker::CanEdit()
{
    // 3. A dataset that refuses edit state means no.
    if (FReadOnly)
        return false;
    try {
        return FDataLink.Edit();
    } catch (const Exception&) {
        return false;
    }
}

void TrDBDateTimePicker::SetSubComp()
{
    if (FDBEditLabel)
        FDBEditLabel->SetField(DataSource(), DataField());
    if (!FCheckBox)
        return;
    FCheckBox->SetVisible(CheckBoxShown());
    if (!(ComponentState() & csDesigning)) {
        FCheckBox->SetEnabled(DataSource() != nullptr && FEnabledAll);
        if (!FCheckBox->Enabled())
            FCheckBox->SetChecked(false);
    }
}

void TrDBDateTimePicker::ShowValue(TDateTime V)
{
    FShowing = true;
    SetDateTime(V);
    FShowing = false;
}

void TrDBDateTimePicker::SetIntFormat()
{
    // 9. The quoted empty literal shows nothing; the designed one counts as default.
    const QString designed = oldFormat == EmptyLiteral ? QString() : oldFormat;
    QString f;
    if (TField* fld = Field()) {
        if (!fld->IsNull())
            f = designed;
        else
            f = FFocused ? FFormatEmpty : EmptyLiteral;
    } else if (ComponentState() & csDesigning) {
        f = designed;
    } else {
        if (FCheckBox)
            FCheckBox->SetChecked(false);
        f = EmptyLiteral;
    }
    if (f != Format()) {
        FShowing = true;
        TDateTimePicker::SetFormat(f);
        FShowing = false;
    }
}

void TrDBDateTimePicker::ActiveChange()
{
    // 8.
    SetSubComp();
    SetVisibilityFromField(this, DataSource(), DataField());
    SetIntFormat();
}

void TrDBDateTimePicker::DataChange()
{
    // 4.
    if ((ComponentState() & csDesigning) || !Field() || FChanging)
        return;
    TField* f = Field();
    ShowValue(f->IsNull() ? 0 : f->AsDateTime());
    if (FDataAllowNull && FCheckBox) {
        FChanging = true;
        FCheckBox->SetChecked(!f->IsNull());
        if (!FCheckBox->Checked())
            ShowValue(::Date());
        FChanging = false;
    }
    SetIntFormat();
}

void TrDBDateTimePicker::UpdateData()
{
    // 5.
    TField* f = Field();
    if (!f)
        return;
    FShowing = true;
    CommitText();
    FShowing = false;
    if (Kind() == dtkTime)
        f->SetAsDateTime(DateTime());
    else
        f->SetAsDateTime(DateOf(DateTime()));
    if (FDataAllowNull && FCheckBox && !FCheckBox->Checked())
        f->Clear();
}

bool TrDBDateTimePicker::AcceptChange()
{
    // 6. A change that cannot reach the field snaps back.
    if (FShowing)
        return false;
    if (!CanEdit()) {
        DataChange();
        return false;
    }
    FDataLink.SetModified();
    return true;
}

void TrDBDateTimePicker::Change()
{
    // Typed text: the value follows when the text is committed.
    if (AcceptChange())
        TDateTimePicker::Change();
}

void TrDBDateTimePicker::DateTimeChanged()
{
    // A stepped, picked or set value.
    if (AcceptChange())
        TDateTimePicker::DateTimeChanged();
}

void TrDBDateTimePicker::EditingChange()
{
    // 7.
    if (ComponentState() & csDesigning)
        return;
    SetEnabled(!(FDataAllowNull && FCheckBox && !FCheckBox->Checked()) && FEnabledAll);
    if (FCheckBox) {
        FCheckBox->SetVisible(CheckBoxShown());
        FCheckBox->SetEnabled(FEnabledAll && Field() != nullptr);
    }
    if (!Loading()) {
        const TDataSet* d = FDataLink.DataSet();
        const bool editing = d && (d->State() == dsEdit || d->State() == dsInsert) && Field() && Field()->CanModify();
        SetColor(editing ? oldColor : FReadOnlyColor);
    }
}

void TrDBDateTimePicker::CheckClick()
{
    // 14.
    if (ComponentState() & csDesigning)
        return;
    SetEnabled(FCheckBox->Checked() && FEnabledAll);
    if (!FCheckBox->Checked())
        ShowValue(::Date());
    if (!FChanging) {
        try {
            FChanging = true;
            Change();
            FChanging = false;
            FDataLink.SetModified();
            if (!FReadOnly && IsEditing(DataSource())) {
                FDataLink.UpdateRecord();
                if (FCheckBox->Checked() && CanFocus())
                    SetFocus();
            } else {
                FDataLink.Reset();
            }
        } catch (...) {
            FChanging = false;
            FDataLink.Reset();
        }
    }
    SetIntFormat();
    FDataLink.Reset();
}

void TrDBDateTimePicker::KeyDown(Word& Key, TShiftState Shift)
{
    // Without a data field the picker does no key handling at all.
    TField* f = Field();
    if (!f)
        return;
    // 10.
    if (Key == VK_DELETE && CanEdit()) {
        f->Clear();
        FDataLink.UpdateRecord();
        SetIntFormat();
        Key = 0;
        return;
    }
    // 11. A null field starts from today.
    if ((Key == VK_UP || Key == VK_DOWN || IsDigitKey(Key)) && f->IsNull() && CanEdit()) {
        ShowValue(::Date());
        f->SetAsDateTime(::Date());
        SetIntFormat();
        SetSelStart(0);
    }
    TDateTimePicker::KeyDown(Key, Shift);
}

void TrDBDateTimePicker::KeyPress(QChar& Key)
{
    // 12.
    if (Key.isDigit() && !CanEdit()) {
        Key = QChar();
        return;
    }
    TDateTimePicker::KeyPress(Key);
}

void TrDBDateTimePicker::DropDown()
{
    // 13.
    if (TField* f = Field()) {
        if (f->IsNull())
            ShowValue(::Date());
        CanEdit();
    }
    TDateTimePicker::DropDown();
    SetCalendarDate(DateTime());
}

void TrDBDateTimePicker::CloseUp(bool Accept)
{
    // Only a calendar that was open has anything to hand to the field.
    if (!DroppedDown())
        return;
    TField* f = Field();
    try {
        TDateTimePicker::CloseUp(Accept);
    } catch (...) {
    }
    if (!f)
        return;
    try {
        if (CanEdit()) {
            if (DateTime() == 0)
                f->Clear();
            FDataLink.UpdateRecord();
        } else if (!f->IsNull()) {
            ShowValue(f->AsDateTime());
        }
    } catch (...) {
        if (!f->IsNull())
            ShowValue(f->AsDateTime());
    }
    SetIntFormat();
}

void TrDBDateTimePicker::DoEnter()
{
    FFocused = true;
    SetIntFormat();
    TDateTimePicker::DoEnter();
}

void TrDBDateTimePicker::DoExit()
{
    // 15. A failed write keeps the focus here and passes the error on.
    const TDataSet* d = FDataLink.DataSet();
    if (d && (d->State() == dsEdit || d->State() == dsInsert) && FDataLink.Modified()) {
        try {
            FDataLink.UpdateRecord();
        } catch (...) {
            SetFocus();
            throw;
        }
    }
    FFocused = false;
    if (::DoExitControl(this, Field()))
        TDateTimePicker::DoExit();
    SetIntFormat();
    // The next arrow key after coming back steps the first part again.
    if (AutoSelectDayPart) {
        SetSelStart(0);
        SetSelLength(0);
    }
}
