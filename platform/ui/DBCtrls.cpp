#include "platform/ui/DBCtrls.h"
#include "platform/ui/DropDownWindow.h"

#include "platform/ui/ControlWidget.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace {

// Reads fields of the row at Position of D for the length of the object.
class RowOverride {
public:
    RowOverride(TDataSet* D, int Position) : FD(D), FSaved(D ? D->ActiveRecordOverride() : -1)
    {
        if (FD)
            FD->SetActiveRecordOverride(Position);
    }
    ~RowOverride()
    {
        if (FD)
            FD->SetActiveRecordOverride(FSaved);
    }

private:
    TDataSet* FD;
    int FSaved;
};

QStringList SplitFieldNames(const QString& S)
{
    QStringList r;
    for (const QString& n : S.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        r << n.trimmed();
    return r;
}

}  // namespace

// ---- TDBEdit -------------------------------------------------------------------------

TDBEdit::TDBEdit(TComponent* AOwner) : TDBFieldControl(AOwner)
{
    FDataLink.OnDataChange = [this](TFieldDataLink*) { DataChange(); };
    FDataLink.OnEditingChange = [this](TFieldDataLink*) { EditingChange(); };
    FDataLink.OnActiveChange = [this](TFieldDataLink*) { DataChange(); };
    FDataLink.OnUpdateData = [this](TFieldDataLink*) { UpdateData(); };
}

TDBEdit::~TDBEdit() { FDataLink.SetDataSource(nullptr); }

void TDBEdit::SetReadOnly(bool v)
{
    FDataLink.SetReadOnly(v);
    TCustomEdit::SetReadOnly(v);
}

void TDBEdit::DataChange()
{
    TField* f = FDataLink.Field();
    FShowing = true;
    if (!f) {
        SetText(QString());
    } else {
        SetMaxLength(IsStringType(f->DataType()) ? f->Size() : 0);
        // Focused: the text to edit; otherwise the formatted text.
        SetText(FFocused && FDataLink.CanModify() ? f->Text() : f->DisplayText());
    }
    Modified = false;
    FShowing = false;
}

void TDBEdit::EditingChange() { TCustomEdit::SetReadOnly(FDataLink.ReadOnly() || !FDataLink.CanModify()); }

void TDBEdit::UpdateData()
{
    if (TField* f = FDataLink.Field())
        f->SetText(Text());
}

void TDBEdit::Change()
{
    if (!FShowing) {
        FDataLink.SetModified();
    }
    TCustomEdit::Change();
}

void TDBEdit::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    if (Key == VK_DELETE || (Key == VK_INSERT && (Shift & ssShift))) {
        if (!FDataLink.Edit())
            Key = 0;
    }
}

void TDBEdit::KeyPress(QChar& Key)
{
    TCustomEdit::KeyPress(Key);
    if (Key.isNull())
        return;
    if (Key == QChar(27)) {
        FDataLink.Reset();
        SelectAll();
        Key = QChar();
        return;
    }
    if ((Key.isPrint() || Key == QLatin1Char('\b')) && !FDataLink.Edit()) {
        Key = QChar();
        return;
    }
}

void TDBEdit::DoEnter()
{
    FFocused = true;
    DataChange();
    TCustomEdit::DoEnter();
}

void TDBEdit::DoExit()
{
    // A failing write keeps the focus here and passes the error on.
    try {
        FDataLink.UpdateRecord();
    } catch (...) {
        SelectAll();
        SetFocus();
        throw;
    }
    FFocused = false;
    DataChange();
    TCustomEdit::DoExit();
}

// ---- TDBMemo -------------------------------------------------------------------------

TDBMemo::TDBMemo(TComponent* AOwner) : TDBFieldControl(AOwner)
{
    FDataLink.OnDataChange = [this](TFieldDataLink*) { DataChange(); };
    FDataLink.OnActiveChange = [this](TFieldDataLink*) { DataChange(); };
    FDataLink.OnUpdateData = [this](TFieldDataLink*) {
        if (TField* f = FDataLink.Field(); f && Text() != FShown)
            f->SetAsString(Text());
    };
}

TDBMemo::~TDBMemo() { FDataLink.SetDataSource(nullptr); }

void TDBMemo::DataChange()
{
    TField* f = FDataLink.Field();
    FShown = f ? f->AsString() : QString();
    FShown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    SetText(FShown);
    FShown = Text();
}

void TDBMemo::UpdateRecord()
{
    if (Text() != FShown)
        FDataLink.SetModified();
    FDataLink.UpdateRecord();
}

void TDBMemo::KeyPress(QChar& Key)
{
    TMemo::KeyPress(Key);
    if (!Key.isNull() && (Key.isPrint() || Key == QLatin1Char('\r') || Key == QLatin1Char('\b')) && !FDataLink.Edit())
        Key = QChar();
    else if (!Key.isNull())
        FDataLink.SetModified();
}

void TDBMemo::KeyDown(Word& Key, TShiftState Shift)
{
    TMemo::KeyDown(Key, Shift);
    if (Key == VK_DELETE && !FDataLink.Edit())
        Key = 0;
}

void TDBMemo::DoExit()
{
    try {
        UpdateRecord();
    } catch (...) {
        SetFocus();
        throw;
    }
    TMemo::DoExit();
}

// ---- TDBCheckBox ---------------------------------------------------------------------

TDBCheckBox::TDBCheckBox(TComponent* AOwner) : TDBFieldControl(AOwner)
{
    FDataLink.OnDataChange = [this](TFieldDataLink*) { DataChange(); };
    FDataLink.OnActiveChange = [this](TFieldDataLink*) { DataChange(); };
    FDataLink.OnUpdateData = [this](TFieldDataLink*) { UpdateData(); };
}

TDBCheckBox::~TDBCheckBox()
{
    // Letting go of the field must not raise the box's click: the window
    // around it is being taken down and its handlers reach dead controls.
    OnClick = nullptr;
    FDataLink.SetDataSource(nullptr);
}

TCheckState TDBCheckBox::FieldState() const
{
    TField* f = FDataLink.Field();
    if (!f || f->IsNull())
        return cbGrayed;
    if (f->DataType() == ftBoolean)
        return f->AsBoolean() ? cbChecked : cbUnchecked;
    const QString t = f->Text();
    for (const QString& v : ValueChecked.split(QLatin1Char(';')))
        if (QString::compare(v, t, Qt::CaseInsensitive) == 0)
            return cbChecked;
    for (const QString& v : ValueUnchecked.split(QLatin1Char(';')))
        if (QString::compare(v, t, Qt::CaseInsensitive) == 0)
            return cbUnchecked;
    return cbGrayed;
}

void TDBCheckBox::DataChange() { SetState(FieldState()); }

void TDBCheckBox::UpdateData()
{
    TField* f = FDataLink.Field();
    if (!f)
        return;
    if (State() == cbGrayed) {
        f->Clear();
    } else if (f->DataType() == ftBoolean) {
        f->SetAsBoolean(State() == cbChecked);
    } else {
        const QString v = (State() == cbChecked ? ValueChecked : ValueUnchecked).section(QLatin1Char(';'), 0, 0);
        f->SetText(v);
    }
}

void TDBCheckBox::Click()
{
    if (ReadOnly || !FDataLink.Edit())
        return;
    TCheckBox::Click();
    FDataLink.SetModified();
}

void TDBCheckBox::DoExit()
{
    // A failing write keeps the focus here and passes the error on.
    try {
        FDataLink.UpdateRecord();
    } catch (...) {
        SetFocus();
        throw;
    }
    TCheckBox::DoExit();
}

void TDBCheckBox::PostExit()
{
    // The box's window is the timer's context: a box freed meanwhile cancels it.
    QTimer::singleShot(0, Widget(), [this] { DoExit(); });
}

// ---- TDBText -------------------------------------------------------------------------

TDBText::TDBText(TComponent* AOwner) : TDBFieldControl(AOwner)
{
    SetAutoSize(false);
    SetShowAccelChar(false);
    FDataLink.OnDataChange = [this](TFieldDataLink*) { Invalidate(); };
    FDataLink.OnActiveChange = [this](TFieldDataLink*) { Invalidate(); };
}

TDBText::~TDBText() { FDataLink.SetDataSource(nullptr); }

QString TDBText::GetLabelText()
{
    TField* f = FDataLink.Field();
    return f ? f->DisplayText() : QString();
}

// ---- TDBLookupListBase ---------------------------------------------------------------

TDBLookupListBase::TDBLookupListBase(TComponent* AOwner) : TCustomControl(AOwner)
{
    FColor = clWindow;
    SetTabStop(true);
    FWidth = 121;
    FHeight = 97;
}

TDBLookupListBase::~TDBLookupListBase() { FListLink.SetDataSource(nullptr); }

void TDBLookupListBase::SetListSource(TDataSource* v)
{
    FListLink.SetDataSource(v);
    Invalidate();
}

int TDBLookupListBase::ItemHeight() const
{
    if (RowHeightFixed > 0)
        return RowHeightFixed;
    TCanvas c;
    c.Font()->Assign(*const_cast<TDBLookupListBase*>(this)->Font());
    return c.TextHeight(QStringLiteral("Wg")) + RowHeightIncrease;
}

void TDBLookupListBase::SetRowCount(int v)
{
    FRowCount = std::max(1, v);
    SetHeight(FRowCount * ItemHeight() + 2);
}

int TDBLookupListBase::RecordCount() const
{
    TDataSet* d = const_cast<TListLink&>(FListLink).DataSet();
    return d && d->Active() ? d->RecordCount() : 0;
}

int TDBLookupListBase::RecordIndex() const { return FSelected; }

QString TDBLookupListBase::RowText(int Position)
{
    TDataSet* d = FListLink.DataSet();
    if (!d || !d->Active() || Position < 0 || Position >= d->RecordCount())
        return QString();
    RowOverride row(d, Position);
    QStringList parts;
    for (const QString& n : SplitFieldNames(ListField))
        if (TField* f = d->FindField(n))
            parts << f->DisplayText();
    return parts.join(QStringLiteral("  "));
}

QVariant TDBLookupListBase::RowKey(int Position)
{
    TDataSet* d = FListLink.DataSet();
    if (!d || !d->Active() || Position < 0 || Position >= d->RecordCount())
        return QVariant();
    RowOverride row(d, Position);
    TField* k = d->FindField(KeyField);
    return k ? k->AsVariant() : QVariant();
}

void TDBLookupListBase::SetKeyValue(const QVariant& v)
{
    FSearchText.clear();
    FKeyValue = v;
    FSelected = -1;
    for (int i = 0; i < RecordCount(); ++i)
        if (RowKey(i) == v && v.isValid()) {
            FSelected = i;
            break;
        }
    if (FSelected >= 0 && (FSelected < FTop || FSelected >= FTop + FRowCount))
        FTop = std::max(0, FSelected - FRowCount / 2);
    FTop = std::clamp(FTop, 0, std::max(0, RecordCount() - FRowCount));
    Invalidate();
}

void TDBLookupListBase::SelectRow(int Row)
{
    if (RecordCount() == 0)
        return;
    const int p = std::clamp(Row, 0, RecordCount() - 1);
    FSelected = p;
    if (p < FTop)
        FTop = p;
    else if (p >= FTop + FRowCount)
        FTop = p - FRowCount + 1;
    FKeyValue = RowKey(p);
    Invalidate();
}

void TDBLookupListBase::Select(int Position)
{
    SelectRow(Position);
    if (OnSelect)
        OnSelect(this);
}

void TDBLookupListBase::Paint()
{
    TCanvas* c = Canvas();
    const int h = ItemHeight();
    c->Brush()->SetColor(Color());
    c->FillRect(Rect(0, 0, Width(), Height()));
    c->Font()->Assign(*Font());
    for (int i = 0; i < FRowCount; ++i) {
        const int pos = FTop + i;
        if (pos >= RecordCount())
            break;
        const TRect r = Rect(1, 1 + i * h, Width() - 1, 1 + (i + 1) * h);
        if (pos == FSelected) {
            c->Brush()->SetColor(clHighlight);
            c->FillRect(r);
            c->Font()->SetColor(clHighlightText);
        } else {
            c->Font()->SetColor(Font()->Color());
        }
        c->Brush()->SetStyle(bsClear);
        c->TextRect(r, r.Left + 2, r.Top + 1, RowText(pos));
        c->Brush()->SetStyle(bsSolid);
    }
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(Rect(0, 0, Width(), Height()));
}

void TDBLookupListBase::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    int target = FSelected;
    switch (Key) {
    case VK_UP: target = FSelected - 1; break;
    case VK_DOWN: target = FSelected + 1; break;
    case VK_PRIOR: target = FSelected - FRowCount; break;
    case VK_NEXT: target = FSelected + FRowCount; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = RecordCount() - 1; break;
    default: return;
    }
    Select(std::max(0, target));
    Key = 0;
}

void TDBLookupListBase::KeyPress(QChar& Key)
{
    TCustomControl::KeyPress(Key);
    if (!Key.isNull())
        ProcessSearchKey(Key);
}

void TDBLookupListBase::ProcessSearchKey(QChar& Key)
{
    if (OnSearchKey)
        OnSearchKey(this, Key);
    if (Key.isNull())
        return;
    if (Key == QLatin1Char('\b')) {
        FSearchText.chop(1);
        Key = QChar();
        return;
    }
    if (!Key.isPrint())
        return;
    const auto find = [this](const QString& Prefix) {
        for (int i = 0; i < RecordCount(); ++i)
            if (RowText(i).startsWith(Prefix, Qt::CaseInsensitive))
                return i;
        return -1;
    };
    int row = find(FSearchText + Key);
    if (row >= 0) {
        FSearchText += Key;
    } else if ((row = find(QString(Key))) >= 0) {
        FSearchText = QString(Key);
    }
    if (row >= 0)
        SelectRow(row);
    Key = QChar();
}

void TDBLookupListBase::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && Y >= 1) {
        const int pos = FTop + (Y - 1) / ItemHeight();
        if (pos < RecordCount())
            SelectRow(pos);
    }
}

void TDBLookupListBase::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft && FSelected >= 0 && OnSelect)
        OnSelect(this);
}

bool TDBLookupListBase::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    (void)Shift;
    (void)MousePos;
    FTop = std::clamp(FTop - WheelDelta / 120, 0, std::max(0, RecordCount() - FRowCount));
    Invalidate();
    return true;
}

// ---- TPopupDataList ------------------------------------------------------------------

TPopupDataList::TPopupDataList(TComponent* AOwner) : TDBLookupListBase(AOwner) { SetTabStop(false); }

QWidget* TPopupDataList::CreateWidget()
{
    auto* w = new TControlWidget(this, false);
    // Shown over everything without taking the focus from the combo box.
    w->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->setFocusPolicy(Qt::NoFocus);
    return w;
}

// ---- TDBLookupComboBox ---------------------------------------------------------------

TDBLookupComboBox::TDBLookupComboBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    FColor = clWindow;
    SetTabStop(true);
    FWidth = 145;
    FHeight = 23;
    FDataLink.OnDataChange = [this](TFieldDataLink*) { DataChange(); };
    FDataLink.OnActiveChange = [this](TFieldDataLink*) { DataChange(); };
    FDataLink.OnUpdateData = [this](TFieldDataLink*) { UpdateData(); };
}

TDBLookupComboBox::~TDBLookupComboBox()
{
    FDataLink.SetDataSource(nullptr);
    delete FList;
}

void TDBLookupComboBox::SetListSource(TDataSource* v)
{
    FListSource = v;
    Invalidate();
}

QString TDBLookupComboBox::Text() const
{
    TDataSet* d = FListSource ? FListSource->DataSet() : nullptr;
    if (!d || !d->Active() || !FKeyValue.isValid())
        return QString();
    QStringList parts;
    const QStringList names = SplitFieldNames(ListField);
    if (names.isEmpty())
        return QString();
    for (const QString& n : names)
        parts << d->Lookup(KeyField, {FKeyValue}, n).toString();
    return parts.join(QStringLiteral("  "));
}

void TDBLookupComboBox::SetKeyValue(const QVariant& v)
{
    FKeyValue = v;
    // The list dataset follows the key.
    if (TDataSet* d = FListSource ? FListSource->DataSet() : nullptr; d && d->Active() && v.isValid())
        d->Locate(KeyField, v);
    if (FList)
        FList->SetKeyValue(v);
    Invalidate();
}

void TDBLookupComboBox::DataChange()
{
    TField* f = FDataLink.Field();
    TField* key = f;
    if (f && f->FieldKind() == fkLookup && f->DataSet())
        key = f->DataSet()->FindField(f->KeyFields);
    SetKeyValue(key && !key->IsNull() ? key->AsVariant() : QVariant());
}

void TDBLookupComboBox::UpdateData()
{
    TField* f = FDataLink.Field();
    if (f && f->FieldKind() == fkLookup && f->DataSet())
        f = f->DataSet()->FindField(f->KeyFields);
    if (!f)
        return;
    if (FKeyValue.isValid())
        f->SetAsVariant(FKeyValue);
    else
        f->Clear();
}

void TDBLookupComboBox::SelectKey(const QVariant& Key)
{
    if (ReadOnly || (FDataLink.DataSource() && !FDataLink.Edit()))
        return;
    SetKeyValue(Key);
    if (FDataLink.DataSource()) {
        FDataLink.SetModified();
        FDataLink.UpdateRecord();
    }
}

void TDBLookupComboBox::DropDown()
{
    if (ListVisible() || !FListSource)
        return;
    if (!FList) {
        FList = new TPopupDataList(nullptr);
        FList->OnSelect = [this](TDBLookupListBase*) { CloseUp(true); };
    }
    FList->SetListSource(FListSource);
    FList->ListField = ListField;
    FList->KeyField = KeyField;
    FList->SetFont(*Font());
    FList->SetRowCount(std::min(DropDownRows, std::max(1, FList->RecordCount())));
    FList->SetKeyValue(FKeyValue);
    QWidget* w = Widget();
    const QPoint below = w->mapToGlobal(QPoint(0, w->height()));
    OwnDropDown(FList->Widget(), w, [this] { CloseUp(false); });
    FList->SetBounds(below.x(), below.y(), DropDownWidth > 0 ? DropDownWidth : Width(), FList->Height());
    FList->SetVisible(true);
    FList->Widget()->show();
}

void TDBLookupComboBox::CloseUp(bool Accept)
{
    if (!ListVisible())
        return;
    const QVariant key = FList->KeyValue();
    FList->Widget()->hide();
    FList->SetVisible(false);
    if (Accept && key.isValid())
        SelectKey(key);
    if (OnCloseUp)
        OnCloseUp(this);
}

bool TDBLookupComboBox::ListVisible() const { return FList && FList->Visible() && FList->Widget()->isVisible(); }

bool TDBLookupComboBox::WantsKey(Word Key, TShiftState) const
{
    // Enter and Escape close an open list before the dialog sees them.
    return ListVisible() && (Key == VK_RETURN || Key == VK_ESCAPE);
}

void TDBLookupComboBox::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    if (NullValueKey != 0 && ShortCut(Key, Shift) == NullValueKey) {
        SelectKey(QVariant());
        Key = 0;
        return;
    }
    if (ListVisible()) {
        if (Key == VK_RETURN) {
            CloseUp(true);
            Key = 0;
        } else if (Key == VK_ESCAPE) {
            CloseUp(false);
            Key = 0;
        } else if (Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_HOME || Key == VK_END) {
            int target = FList->RecordIndex();
            target = Key == VK_UP ? target - 1 : Key == VK_DOWN ? target + 1 : Key == VK_HOME ? 0 : Key == VK_END ? FList->RecordCount() - 1
                     : Key == VK_PRIOR ? target - DropDownRows : target + DropDownRows;
            FList->SelectRow(std::max(0, target));
            Key = 0;
        }
        return;
    }
    if ((Key == VK_DOWN && (Shift & ssAlt)) || Key == VK_F4) {
        DropDown();
        Key = 0;
    } else if (Key == VK_UP || Key == VK_DOWN) {
        // Without the list the arrows step through the list's rows.
        TDataSet* d = FListSource ? FListSource->DataSet() : nullptr;
        if (d && d->Active() && !d->IsEmpty()) {
            int pos = -1;
            for (int i = 0; i < d->RecordCount() && FKeyValue.isValid(); ++i) {
                RowOverride row(d, i);
                if (TField* k = d->FindField(KeyField); k && k->AsVariant() == FKeyValue) {
                    pos = i;
                    break;
                }
            }
            pos = std::clamp(pos + (Key == VK_DOWN ? 1 : -1), 0, d->RecordCount() - 1);
            QVariant key;
            {
                RowOverride row(d, pos);
                if (TField* k = d->FindField(KeyField))
                    key = k->AsVariant();
            }
            SelectKey(key);
        }
        Key = 0;
    }
}

void TDBLookupComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (CanFocus())
        SetFocus();
    if (Button == mbLeft) {
        if (ListVisible())
            CloseUp(false);
        else
            DropDown();
    }
}

void TDBLookupComboBox::DoExit()
{
    CloseUp(false);
    TCustomControl::DoExit();
}

void TDBLookupComboBox::Paint()
{
    TCanvas* c = Canvas();
    const int bw = 17;
    c->Brush()->SetColor(Enabled() ? Color() : clBtnFace);
    c->FillRect(Rect(0, 0, Width(), Height()));
    TRect frame = Rect(0, 0, Width(), Height());
    DrawEdge(c, frame, EDGE_SUNKEN, BF_RECT);
    const bool focused = Focused();
    const TRect textRect = Rect(2, 2, Width() - bw - 2, Height() - 2);
    if (focused && !ListVisible()) {
        c->Brush()->SetColor(clHighlight);
        c->FillRect(textRect);
        c->Font()->Assign(*Font());
        c->Font()->SetColor(clHighlightText);
    } else {
        c->Font()->Assign(*Font());
    }
    c->Brush()->SetStyle(bsClear);
    c->TextRect(textRect, textRect.Left + 2, textRect.Top + std::max(0, (textRect.Height() - c->TextHeight(QStringLiteral("Wg"))) / 2),
                Text());
    c->Brush()->SetStyle(bsSolid);
    TRect btn = Rect(Width() - bw - 2, 2, Width() - 2, Height() - 2);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(btn);
    DrawEdge(c, btn, EDGE_RAISED, BF_RECT);
    const int cx = (btn.Left + btn.Right) / 2, cy = (btn.Top + btn.Bottom) / 2;
    c->Brush()->SetColor(Enabled() ? clBtnText : clGrayText);
    c->Pen()->SetColor(Enabled() ? clBtnText : clGrayText);
    c->Polygon({{cx - 3, cy - 1}, {cx + 3, cy - 1}, {cx, cy + 2}});
}
