#include "components/base/rComboBoxEx.h"

#include "platform/ui/ComboListDraw.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rpictool.h"
#include "platform/ui/Forms.h"

#include <cmath>

namespace {

// The platform's vertical scroll bar width.
constexpr int VScrollWidth = 17;

}  // namespace

// ---- TDisplayedItems -----------------------------------------------------------------------

void TDisplayedItems::SetListItems(const QStringList& V)
{
    FListItems = V;
    FColumnsCalculated = false;
    FCombo->ListDefined();
}

void TDisplayedItems::SetAddItemAsFirstColumn(bool V)
{
    FAddItemAsFirstColumn = V;
    FColumnsCalculated = false;
}

void TDisplayedItems::SetColumnSeparator(const QString& V)
{
    FColumnSeparator = V;
    FColumnsCalculated = false;
}

QString TDisplayedItems::GetItemDisplayedText(int Index) const
{
    if (Index < 0 || Index >= FCombo->Count())
        return QString();
    const QString own = FCombo->Items()[Index];
    if (Index < FListItems.size())
        return FAddItemAsFirstColumn ? own + FColumnSeparator + FListItems[Index] : FListItems[Index];
    return own;
}

QStringList TDisplayedItems::Columns(const QString& Text) const
{
    const QString sep = FColumnSeparator.isEmpty() || FColumnSeparator == QLatin1String("#9") ? QStringLiteral("\t")
                                                                                              : FColumnSeparator;
    return Text.split(sep, Qt::KeepEmptyParts, Qt::CaseInsensitive);
}

void TDisplayedItems::CalcColumnsWidth(TCanvas* Canvas)
{
    FColumnWidths.clear();
    for (int i = 0; i < FCombo->Count(); ++i) {
        const QStringList cols = Columns(GetItemDisplayedText(i));
        for (int j = 0; j < cols.size(); ++j) {
            if (j >= int(FColumnWidths.size()))
                FColumnWidths.push_back(0);
            FColumnWidths[size_t(j)] = std::max(FColumnWidths[size_t(j)], Canvas->TextWidth(cols[j]) + ItemSpace);
        }
    }
    FColumnsCalculated = true;
}

int TDisplayedItems::GetMaxItemWidth(int DropDownCount)
{
    if (!FColumnsCalculated) {
        FCombo->Canvas()->Font()->Assign(*FCombo->Font());
        CalcColumnsWidth(FCombo->Canvas());
    }
    int total = 0;
    for (int w : FColumnWidths)
        total += w + 4;
    if (FCombo->Count() > DropDownCount)
        total += VScrollWidth;
    return std::max(total, FCombo->Width());
}

void TDisplayedItems::DrawListItem(TCanvas* Canvas, int Index, TOwnerDrawState State, const TRect& Rect,
                                   const TGetListItemProps& GetListItemProps)
{
    // 1.
    if (!FColumnsCalculated)
        CalcColumnsWidth(Canvas);
    bool top = false, bottom = false;
    QString text = GetItemDisplayedText(Index);
    TBitmap bmp;
    Canvas->Pen()->SetColor(0x808080);
    // 2.
    TRect r = Rect;
    if (GetListItemProps)
        GetListItemProps(FCombo, Canvas, Index, State, r, text, &bmp, top, bottom);
    // 3.
    if (!text.isEmpty() || !GetListItemProps) {
        Canvas->FillRect(Rect);
        int x = r.Left + 2 + bmp.Width() + 2;
        const QStringList cols = Columns(text);
        const TBrushStyle brush = Canvas->Brush()->Style();
        Canvas->Brush()->SetStyle(bsClear);
        for (int j = 0; j < cols.size(); ++j) {
            Canvas->TextOut(x, r.Top, cols[j]);
            x += j < int(FColumnWidths.size()) ? FColumnWidths[size_t(j)] : Canvas->TextWidth(cols[j]);
            if (DrawColumnLine && j < cols.size() - 1) {
                Canvas->MoveTo(x, r.Top);
                Canvas->LineTo(x, r.Bottom);
            }
            x += ItemSpace;
        }
        Canvas->Brush()->SetStyle(brush);
    }
    // 4.
    if (bmp.Width() > 0)
        DrawBmpCenter(Canvas, ::Rect(2, r.Top, 2 + bmp.Width(), r.Bottom), &bmp);
    // 5.
    if (top) {
        Canvas->MoveTo(Rect.Left, Rect.Top);
        Canvas->LineTo(Rect.Right, Rect.Top);
    }
    if (bottom) {
        Canvas->MoveTo(Rect.Left, Rect.Bottom - 2);
        Canvas->LineTo(Rect.Right, Rect.Bottom - 2);
    }
}

// ---- TrComboBoxEx ------------------------------------------------------------------------------

TrComboBoxEx::TrComboBoxEx(TComponent* AOwner) : TComboBox(AOwner)
{
    FTimer = new TTimer(this);
    FTimer->SetEnabled(false);
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

void TrComboBoxEx::Loaded()
{
    TComboBox::Loaded();
    if (UseOwnDraw())
        ListDefined();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

bool TrComboBoxEx::UseOwnDraw() const
{
    return bool(OnGetListItemProps) || !FDisplayedItems.ListItems().isEmpty();
}

void TrComboBoxEx::ListDefined()
{
    // The list draws its own items from here on; an editable box keeps its edit
    // field and shows the columns' text in the list.
    if (FRecreated || !UseOwnDraw())
        return;
    FRecreated = true;
    if (Style() == csDropDownList) {
        SetStyle(csOwnerDrawFixed);
    } else {
        // the edit field stays; only the list draws its columns
        SetComboListOwnerDrawn(this, true);
    }
}

QString TrComboBoxEx::SelectedText() const
{
    if (Style() == csDropDownList || IsOwnerDrawn())
        return ItemIndex() >= 0 ? Items()[ItemIndex()] : QString();
    return Text();
}

void TrComboBoxEx::SetItemHeightEx(int V)
{
    if (V == FItemHeightEx)
        return;
    FItemHeightEx = V;
    SetItemHeight(int(V * FScaleRatio));
}

void TrComboBoxEx::ChangeScale(int M, int D)
{
    TComboBox::ChangeScale(M, D);
    FScaleRatio = FScaleRatio * M / D;
    SetItemHeight(int(FItemHeightEx * FScaleRatio));
}

void TrComboBoxEx::DropDown()
{
    if (DropDownAutoWidth)
        SetDropDownWidth(std::max(Width(), std::min(DropDownMaxWidth, FDisplayedItems.GetMaxItemWidth(DropDownCount()))));
    TComboBox::DropDown();
}

void TrComboBoxEx::PlaceDropDownList(TRect& Bounds)
{
    if (Bounds.Right <= Screen->DesktopRect().Right)
        return;
    const int right = ClientToScreen({Width(), 0}).X;
    Bounds = TRect(right - Bounds.Width(), Bounds.Top, right, Bounds.Bottom);
}

void TrComboBoxEx::DrawItem(int Index, TRect Rect, TOwnerDrawState State)
{
    if (!UseOwnDraw() || (State & odComboBoxEdit)) {
        TComboBox::DrawItem(Index, Rect, State);
        return;
    }
    FDisplayedItems.DrawListItem(Canvas(), Index, State, Rect, OnGetListItemProps);
}

void TrComboBoxEx::Change()
{
    TComboBox::Change();
    if (LastKeyDown != VK_RETURN)
        ResetTimer(true, JustClosed);
    JustClosed = false;
}

void TrComboBoxEx::CloseUp()
{
    TComboBox::CloseUp();
    JustClosed = true;
}

void TrComboBoxEx::KeyDown(Word& Key, TShiftState Shift)
{
    TComboBox::KeyDown(Key, Shift);
    LastKeyDown = Key;
    JustClosed = false;
}

void TrComboBoxEx::ResetTimer(bool SetActive, bool CallEventNow)
{
    FTimer->SetEnabled(false);
    FTimer->SetInterval(UpdateTimerDelay);
    FTimer->OnTimer = [this](TComponent*) { UpdateHandler(); };
    // a delay of 0 never fires by itself: only a pick from the list updates then
    if (SetActive && UpdateTimerDelay > 0)
        FTimer->SetEnabled(true);
    if (CallEventNow)
        UpdateHandler();
}

void TrComboBoxEx::UpdateHandler()
{
    FTimer->SetEnabled(false);
    if (OnUpdateTimer)
        OnUpdateTimer(this);
    if (OnUpdateLoadItems) {
        const QString text = Text();
        const int caret = SelStart();
        const QString cur = caret > 0 ? text.left(caret) : text;
        QString newText;
        const QString keep = text;
        // the handler's item changes reach the list once
        BeginComboUpdate(this);
        try {
            OnUpdateLoadItems(this, cur, newText);
        } catch (...) {
            EndComboUpdate(this);
            throw;
        }
        EndComboUpdate(this);
        if (!newText.isEmpty())
            SetText(newText);
        else if (Text() != keep)
            SetText(keep);
        SetSelStart(int(cur.size()));
        SetSelLength(int(Text().size() - cur.size()));
        FTimer->SetEnabled(false);
    }
    LastKeyDown = 0;
}

void TrComboBoxEx::AddTextToItems(const QString& Text)
{
    const QString t = (Text.isEmpty() ? this->Text() : Text).trimmed();
    if (t.size() < 2)
        return;
    for (const QString& item : Items())
        if (item.compare(t, Qt::CaseInsensitive) == 0)
            return;
    AddItem(t);
}

void TrComboBoxEx::RemoveTextFromItems(const QString& Text)
{
    const QString t = (Text.isEmpty() ? this->Text() : Text).trimmed();
    QStringList items = Items();
    for (int i = 0; i < items.size(); ++i)
        if (items[i].compare(t, Qt::CaseInsensitive) == 0) {
            items.removeAt(i);
            SetItems(items);
            return;
        }
}
