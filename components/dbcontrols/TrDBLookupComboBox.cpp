#include "components/dbcontrols/TrDBLookupComboBox.h"

#include "components/base/rEditNum.h"
#include "components/base/rtool.h"
#include "components/grid/rdbtool.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/Themes.h"
#include "resources/DBControlsTexts.h"

#include <algorithm>

namespace {

constexpr int ButtonWidth = 17;
constexpr int MaxSearchLength = 32;

bool IsListSearchField(const TField* F) { return F && (F->FieldKind() == fkData || F->FieldKind() == fkInternalCalc) && IsSimpleField(F); }

}  // namespace

TrDBLookupComboBox::TrDBLookupComboBox(TComponent* AOwner)
    : TDBLabeledControl(AOwner),
      FStateLink([this](TComponent* S) { UpdateState(S); }, [this](TComponent* S) { UpdateState(S); }, nullptr)
{
    // 1. Hint window, reset timer, labels, the library's own drop-down list.
    OwnHintWin = new THintWindow(this);
    FTimer = new TTimer(this);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(SearchingResetInterval);
    FTimer->OnTimer = [this](TComponent*) { StopSearching(); };
    FBoundLabel = new TBoundLabel(this);
    FBoundLabel->SetName(dbctltxt::SubLabelName);
    FBoundLabel->SetPosition(lpTopRight);
    DropDownRows = 15;
    oldColor = Color();
    auto* list = new TrPopupDataList(nullptr);
    list->PropsSender = this;
    list->SetVisible(false);
    list->OnSelect = [this](TDBLookupListBase*) { CloseUp(true); };
    list->OnProcessSearchKey = [this](TComponent*, QChar& Key) {
        ProcessSearchKey(Key);
        Key = QChar();
    };
    FList = list;
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

TrDBLookupComboBox::~TrDBLookupComboBox() { FStateLink.SetDataSource(nullptr); }

void TrDBLookupComboBox::Loaded()
{
    TDBLabeledControl::Loaded();
    SetDataSource(DataSource(), DataField());
    if (FDBEditLabel)
        FDBEditLabel->SetLabelField(FListSource, ListField);
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

void TrDBLookupComboBox::SetParent(TWinControl* AParent)
{
    TDBLabeledControl::SetParent(AParent);
    if (FBoundLabel) {
        FBoundLabel->SetParent(AParent);
        FBoundLabel->RefreshPosition();
    }
}

void TrDBLookupComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TDBLabeledControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FBoundLabel)
        FBoundLabel->RefreshPosition();
}

void TrDBLookupComboBox::MouseEnter()
{
    // 6. The whole text when it does not fit beside the button: the values
    // this box paints over several fields, else the base's own text.
    ShowLongValueHint(this, ListFieldIndex < ListFieldIndexMax ? GetSelectedText() : Text(), ClientWidth() - 24, FAutoHint);
    TDBLabeledControl::MouseEnter();
}

void TrDBLookupComboBox::VisibleChanged()
{
    TDBLabeledControl::VisibleChanged();
    if (FBoundLabel)
        FBoundLabel->SetVisible(Visible());
}

void TrDBLookupComboBox::EnabledChanged()
{
    TDBLabeledControl::EnabledChanged();
    if (FBoundLabel)
        FBoundLabel->SetEnabled(Enabled());
}

void TrDBLookupComboBox::SetDataSource(TDataSource* ADataSource, const QString& ADataField)
{
    RememberColor();
    if (DataSource() != ADataSource)
        TDBLookupComboBox::SetDataSource(ADataSource);
    if (DataField() != ADataField)
        SetDataField(ADataField);
    FStateLink.SetDataSource(ADataSource);
    UpdateState(nullptr);
}

void TrDBLookupComboBox::SetDataField(const QString& Value)
{
    TDBLookupComboBox::SetDataField(Value);
    if (FDBEditLabel) {
        FDBEditLabel->SetField(DataSource(), Value);
        FDBEditLabel->SetLabelField(FListSource, ListField);
    }
    SetDBCompName(this, FDefaultPrefix, Value);
}

bool TrDBLookupComboBox::CanModify() const
{
    if (ReadOnly)
        return false;
    if (!FDataLink.DataSource())
        return true;
    const TField* f = FDataLink.Field();
    return f && f->CanModify() && !FDataLink.ReadOnly();
}

void TrDBLookupComboBox::UpdateState(TComponent*)
{
    // 7.
    if (FDBEditLabel)
        FDBEditLabel->SetField(DataSource(), DataField());
    if (ComponentState() & csDesigning)
        return;
    SetColor(FStateLink.Editing() && CanModify() ? oldColor : FReadOnlyColor);
    SetVisibilityFromField(this, DataSource(), DataField());
}

void TrDBLookupComboBox::SetFocus()
{
    try {
        if (CanFocus())
            TDBLookupComboBox::SetFocus();
    } catch (...) {
        // A hidden or disabled box is not an error here.
    }
}

QStringList TrDBLookupComboBox::ListFieldNames() const
{
    QStringList r;
    for (const QString& n : ListField.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        r << n.trimmed();
    return r;
}

QString TrDBLookupComboBox::Gap() const { return QStringLiteral("  ") + QString(DropDownItemIncreaseWidth / 3, QLatin1Char(' ')); }

QString TrDBLookupComboBox::GetSelectedText() const { return FldValArr.join(Gap() + Gap()); }

int TrDBLookupComboBox::GetMaxItemWidth() { return PopupList()->GetMaxItemWidth(); }

void TrDBLookupComboBox::RefillValues()
{
    FldValArr.clear();
    TDataSet* d = ListDataSet();
    const QStringList names = ListFieldNames();
    if (d && d->Active() && FKeyValue.isValid() && d->Locate(KeyField, FKeyValue)) {
        const int last = std::min(ListFieldIndexMax, int(names.size()) - 1);
        for (int i = std::max(0, ListFieldIndex); i <= last; ++i)
            if (TField* f = d->FindField(names[i]))
                FldValArr << f->DisplayText();
        return;
    }
    TField* f = Field();
    if (!f || f->IsNull())
        FldValArr << EmptyDisplayValue;
    else
        FldValArr << QStringLiteral("(") + f->DisplayText() + QStringLiteral(")");
}

void TrDBLookupComboBox::Paint()
{
    TDBLookupComboBox::Paint();
    TCanvas* c = Canvas();
    if (ListFieldIndex < ListFieldIndexMax) {
        // 2. Multi-field display over the base's text area.
        const bool selectedLook = Focused() && !ListVisible();
        const TRect r = Rect(1, 1, ClientWidth() - ButtonWidth - 1, ClientHeight() - 1);
        if (!ListVisible())
            RefillValues();
        c->Font()->Assign(*Font());
        TColor bk = Color();
        TColor fg = Enabled() ? Font()->Color() : GetStyleSystemColor(clGrayText);
        if (selectedLook) {
            bk = GetStyleSystemColor(clHighlight);
            fg = GetStyleSystemColor(clHighlightText);
        }
        c->Brush()->SetColor(bk);
        c->FillRect(r);
        c->Font()->SetColor(fg);
        const QString gap = Gap();
        c->TextRect(r, 2, 2, FldValArr.join(gap + gap));
        c->Pen()->SetColor(GetStyleSystemColor(clBtnShadow));
        QString upTo;
        for (int i = 0; i + 1 < FldValArr.size(); ++i) {
            upTo += FldValArr[i] + gap;
            // At the width of the texts up to the value and its first gap.
            const int x = c->TextWidth(upTo);
            c->MoveTo(x, 1);
            c->LineTo(x, ClientHeight() - 1);
            upTo += gap;
        }
        if (selectedLook)
            c->DrawFocusRect(r);
    }
    if (!CanModify()) {
        // A box that cannot change shows a disabled button: the themed one,
        // or without themes the classic flat face with a grey arrow.
        const TRect b = Rect(ClientWidth() - ButtonWidth - 2, 2, ClientWidth() - 2, ClientHeight() - 2);
        if (GetThemeEnabled()) {
            DrawThemedComboButton(c, b, tsDisabled);
        } else {
            c->Brush()->SetColor(clBtnFace);
            c->FillRect(b);
            DrawArrow(c, b, akDown, GetStyleSystemColor(clGrayText));
        }
    }
}

void TrDBLookupComboBox::SelectKey(const QVariant& Key)
{
    if (ReadOnly || (FDataLink.DataSource() && !FDataLink.Edit()))
        return;
    TDBLookupComboBox::SelectKey(Key);
    // What the box shows is up to date before the click handlers read it.
    if (ListFieldIndex < ListFieldIndexMax && !ListVisible())
        RefillValues();
    Invalidate();
    Click();
}

void TrDBLookupComboBox::FilterOff()
{
    TDataSet* d = ListDataSet();
    if (!d)
        return;
    if (d->Filtered())
        d->SetFiltered(false);
    if (FFilterOptionsSet) {
        d->SetFilterOptions(FOldFilterOptions);
        FFilterOptionsSet = false;
    }
}

void TrDBLookupComboBox::DropDown()
{
    // 3.
    TrPopupDataList* l = PopupList();
    l->FixedItemHeight = DropDownItemHeight;
    l->ItemIncreaseHeight = DropDownItemIncreaseHeight;
    l->ItemIncreaseWidth = DropDownItemIncreaseWidth;
    l->GetListItemProps = OnGetListItemProps;
    // The list has no parent to read in its box's order from.
    l->SetBiDiMode(BiDiMode());
    if (ListVisible() || !CanModify())
        return;
    if (!FStateLink.Editing() && !FDataLink.Edit())
        return;
    if (DropDownAutoWidth) {
        if (AllowLookupFilter)
            FilterOff();
        l->KeyField = KeyField;
        l->ListField = ListField;
        l->SetListSource(FListSource);
        l->SetFont(*Font());
        const int w = l->GetMaxItemWidth();
        DropDownWidth = w < Width() ? 0 : std::min(w, DropDownMaxWidth);
        const int left = ClientToScreen(TPoint{0, 0}).X;
        const int right = Screen ? Screen->DesktopRect().Right : left + DropDownWidth;
        if (DropDownWidth > 0 && left + DropDownWidth > right)
            DropDownWidth = right - left;
    }
    TDBLookupComboBox::DropDown();
    if (OnDropDown)
        OnDropDown(this);
}

void TrDBLookupComboBox::CloseUp(bool Accept)
{
    if (ListVisible()) {
        const QVariant key = FList->KeyValue();
        FList->SetVisible(false);
        if (Accept && key.isValid())
            SelectKey(key);
        if (OnCloseUp)
            OnCloseUp(this);
        Invalidate();
    }
    StopSearching();
    if (AllowLookupFilter)
        FilterOff();
}

void TrDBLookupComboBox::StopSearching()
{
    FTimer->SetEnabled(false);
    FSearch.clear();
    OwnHintWin->ReleaseHandle();
}

bool TrDBLookupComboBox::TryLocate(const QString& S)
{
    TDataSet* d = ListDataSet();
    for (const QString& n : ListFieldNames()) {
        TField* f = d->FindField(n);
        if (!IsListSearchField(f))
            continue;
        try {
            if (d->Locate(n, S, loCaseInsensitive | loPartialKey))
                return true;
        } catch (const Exception&) {
            // A field that cannot be located in is skipped.
        }
    }
    return false;
}

bool TrDBLookupComboBox::TryFind(const QString& S)
{
    TDataSet* d = ListDataSet();
    std::vector<TField*> fields;
    for (const QString& n : ListFieldNames())
        if (TField* f = d->FindField(n); IsListSearchField(f))
            fields.push_back(f);
    const TBookmark bm = d->GetBookmark();
    d->DisableControls();
    bool found = false;
    try {
        const bool back = FSearchingPrevNext == stFindPrev;
        if (FSearchingPrevNext == stFindFirst)
            d->First();
        else if (back)
            d->Prior();
        else
            d->Next();
        while (!found && !(back ? d->Bof() : d->Eof())) {
            for (TField* f : fields)
                if (f->DisplayText().contains(S, Qt::CaseInsensitive)) {
                    found = true;
                    break;
                }
            if (!found) {
                if (back) {
                    if (d->RecNo() <= 1)
                        break;
                    d->Prior();
                } else {
                    d->Next();
                }
            }
        }
        if (!found) {
            try {
                d->GotoBookmark(bm);
            } catch (...) {
            }
        }
    } catch (...) {
        d->EnableControls();
        throw;
    }
    d->EnableControls();
    return found;
}

void TrDBLookupComboBox::ProcHint(const QString& Text, const QString& NewKey, bool Found)
{
    FSearch = Text;
    TDataSet* d = ListDataSet();
    const QVariant key = d && !d->IsEmpty() && d->FindField(KeyField) ? d->FindField(KeyField)->AsVariant() : QVariant();
    if (ListVisible())
        FList->SetKeyValue(key);
    else if (key.isValid())
        SelectKey(key);
    const QString hint = ParioCompConfig.rDBComponentsCfg.ShowSimpleLookupHint
                             ? Text
                             : GetSearchHintText(Text, NewKey, FSearchingPrevNext, Found, ListVisible() && AllowLookupFilter, d && d->Filtered());
    if (!hint.isEmpty()) {
        TRect r = OwnHintWin->CalcHintRect(Width(), hint);
        TPoint at;
        if (ListVisible()) {
            const TPoint listTop = FList->ClientToScreen(TPoint{0, 0});
            const TPoint mine = ClientToScreen(TPoint{0, 0});
            at = listTop.Y < mine.Y ? TPoint{listTop.X, listTop.Y - r.Height() - 4} : TPoint{listTop.X, listTop.Y + FList->Height()};
        } else {
            at = ClientToScreen(TPoint{0, Height()});
        }
        OwnHintWin->SetColor(Application ? Application->HintColor : clInfoBk);
        OwnHintWin->ActivateHint(Bounds(at.X, at.Y, r.Width() + 4, r.Height() + 1), hint);
        FTimer->SetEnabled(false);
        FTimer->SetInterval(SearchingResetInterval);
        FTimer->SetEnabled(SearchingResetInterval > 0);
    }
    if (AllowLookupFilter && Found && !(NewKey.size() == 1 && NewKey[0].isNull()))
        SearchLookupFilter(false);
}

void TrDBLookupComboBox::ProcessSearchKey(QChar& Key)
{
    // 4.
    TDataSet* d = ListDataSet();
    if (!d || !d->Active())
        return;
    const QString s = FSearch;
    if (FSearchingPrevNext != stFindFirst) {
        const bool found = TryFind(s);
        ProcHint(s, QString(Key), found);
        FSearchingPrevNext = stFindFirst;
        return;
    }
    const ushort k = Key.unicode();
    if (k == 0) {
        const bool found = TryLocate(s) || TryFind(s);
        ProcHint(s, QString(Key), found);
    } else if (k == 8) {
        if (s.size() == 1) {
            StopSearching();
            FilterOff();
        } else {
            ProcHint(s.left(s.size() - 1), QString(Key), true);
        }
    } else if (k == 27) {
        StopSearching();
    } else if (k >= 32 && CanModify() && s.size() < MaxSearchLength) {
        const QString t = s + Key;
        if (TryLocate(t) || TryFind(t))
            ProcHint(t, QString(Key), true);
        else
            ProcHint(s, QString(Key), false);
    }
}

bool TrDBLookupComboBox::SearchNext(bool Prior)
{
    FSearchingPrevNext = Prior ? stFindPrev : stFindNext;
    QChar k;
    ProcessSearchKey(k);
    return true;
}

QString TrDBLookupComboBox::GetFilterString(TField* Field) const
{
    if (!IsListSearchField(Field))
        return QString();
    if (dynamic_cast<const TNumericField*>(Field)) {
        // Typed with the locale's comma or a point alike.
        double v = 0;
        return TrEditNum::ReadNumber(FSearch, v) ? GetFilterCond(Field, GetNumericFieldFilterValue(v), false, QStringLiteral("=")) : QString();
    }
    if (IsApostrField(Field) && !IsDateTimeField(Field)) {
        const TDataSet* d = Field->DataSet();
        const QString w = GetFilterWildCardChar(d, false);
        return GetFilterCond(Field, w + FSearch + w, false, GetFilterLikeOperator(d, false));
    }
    return QString();
}

bool TrDBLookupComboBox::SearchLookupFilter(bool Reset)
{
    TDataSet* d = ListDataSet();
    if (!d)
        return false;
    if (Reset) {
        FilterOff();
        if (IsSearching()) {
            QChar k;
            ProcessSearchKey(k);
        }
        return true;
    }
    if (!IsSearching())
        return false;
    QStringList conds;
    for (const QString& n : ListFieldNames())
        if (const QString c = GetFilterString(d->FindField(n)); !c.isEmpty())
            conds << c;
    if (conds.isEmpty())
        return false;
    // The filter ignores case as the search that found the text does.
    if (!FFilterOptionsSet) {
        FOldFilterOptions = d->FilterOptions();
        FFilterOptionsSet = true;
        d->SetFilterOptions(FOldFilterOptions | foCaseInsensitive);
    }
    const bool r = SetFilterString(d, conds.join(QStringLiteral(" OR ")), false);
    QChar k;
    ProcessSearchKey(k);
    return r;
}

void TrDBLookupComboBox::ListKeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN || Key == VK_ESCAPE) {
        StopSearching();
    } else if (Key == VK_LEFT || Key == VK_RIGHT) {
        if ((Shift & ssCtrl) && AllowLookupFilter)
            SearchLookupFilter(Key == VK_LEFT);
        else
            SearchNext(Key == VK_LEFT);
        Key = 0;
    }
}

void TrDBLookupComboBox::KeyDown(Word& Key, TShiftState Shift)
{
    // 5.
    if (Key == VK_F4) {
        if (ListVisible())
            CloseUp(true);
        else
            DropDown();
        Key = 0;
        return;
    }
    if (IsSearching() || ListVisible())
        ListKeyDown(Key, Shift);
    if (Key == 0)
        return;
    if (NullValueKey != 0 && ShortCut(Key, Shift) == NullValueKey) {
        if (CanModify()) {
            if (TField* f = Field()) {
                if (FDataLink.Edit()) {
                    f->Clear();
                    Click();
                }
            } else {
                SetKeyValue(QVariant());
            }
        }
        Key = 0;
        return;
    }
    TDBLookupComboBox::KeyDown(Key, Shift);
}

void TrDBLookupComboBox::KeyPress(QChar& Key)
{
    if (AutoDropDown && !ListVisible() && Key.unicode() >= 32)
        DropDown();
    TDBLookupComboBox::KeyPress(Key);
    if (!Key.isNull()) {
        ProcessSearchKey(Key);
        Key = QChar();
    }
}

bool TrDBLookupComboBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    (void)MousePos;
    // Each notch (a partial one counts as one) is one arrow key.
    const int notches = std::max(1, (std::abs(WheelDelta) + 119) / 120);
    for (int i = 0; i < notches; ++i) {
        Word k = WheelDelta > 0 ? VK_UP : VK_DOWN;
        KeyDown(k, Shift);
    }
    return true;
}

void TrDBLookupComboBox::DoExit()
{
    // 8.
    StopSearching();
    if (!::DoExitControl(this, Field()))
        return;
    TDBLookupComboBox::DoExit();
}
