#include "components/grid/TrDBGridFilterBar.h"

#include "components/base/rGlyphs.h"
#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/TrDBGridFilterForm.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rdbtool.h"
#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"

#include <algorithm>
#include <set>

namespace {

const QString BarName = QStringLiteral("FilterBar");

bool Inside(const TRect& R, int X, int Y)
{
    return R.Width() > 0 && X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

void SortByField(TField* F, QStringList& L)
{
    if (IsDateTimeField(F))
        std::sort(L.begin(), L.end(), [](const QString& A, const QString& B) { return SortDate(A, B) < 0; });
    else if (dynamic_cast<TNumericField*>(F))
        std::sort(L.begin(), L.end(), [](const QString& A, const QString& B) { return SortNum(A, B) < 0; });
    else
        L.sort(Qt::CaseInsensitive);
}

void DrawGlyph(TrDBGrid* G, const TRect& R, int Index)
{
    if (TBitmap* b = rGlyphs.BmpFromIndex(Index, G->ScaleRatio(), G->CustomGlyphs())) {
        TBitmap copy;
        copy.Assign(b);
        G->DrawBMPInCell(R, &copy);
    }
}

}  // namespace

TrComboBoxExFilter::TrComboBoxExFilter(TrDBGrid* Grid, bool Panel) : TrComboBoxEx(Grid), Gr(Grid), FilterPanel(Panel)
{
    SetVisible(false);
    SetDropDownCount(18);
    SetHeight(21);
}

void TrComboBoxExFilter::CancelMode(TControl* Sender)
{
    if (TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(Gr))
        bar->CancelMode(this, Sender);
}

TrDBGridFilterBar::TrDBGridFilterBar(TrDBGrid* Grid) : TComponent(Grid), FGrid(Grid)
{
    SetName(BarName);
    FCombo = new TrComboBoxExFilter(Grid, false);
    FCombo->SetParent(Grid);
    FCombo->SetStyle(Grid->OptionsEx2().Filters.TextComboStyle);
    FCombo->OnChange = [this](TComponent*) {
        if (!FSettingText)
            FEditChanged = true;
    };
    FCombo->OnUpdateTimer = [this](TComponent*) { FilterComboUpdateTimer(); };
    FCombo->OnKeyDown = [this](TComponent*, Word& Key, TShiftState Shift) { ComboKeyDown(Key, Shift); };
    FCombo->OnExit = [this](TComponent*) { ComboExit(); };
    FPanelCombo = new TrComboBoxExFilter(Grid, true);
    FPanelCombo->SetParent(Grid);
    FPanelCombo->SetStyle(Grid->OptionsEx2().Filters.TextComboStyle);
    // The bar and the panel are as high as their boxes.
    Grid->OptionsEx2().Filters.TextBarHeight = FCombo->Height();
    Grid->OptionsEx2().Filters.FilterPanelComboHeight = FPanelCombo->Height();
    FPanelCombo->OnKeyDown = [this](TComponent*, Word& Key, TShiftState Shift) { PanelKeyDown(Key, Shift); };
    FPanelCombo->OnCloseUp = [this](TComponent*) { FilterPanelApply(FPanelCombo->Text()); };
    FPanelCombo->OnExit = [this](TComponent*) {
        FPanelCombo->SetVisible(false);
        FGrid->Invalidate();
    };
}

TrDBGridFilterBar* TrDBGridFilterBar::Find(const TrDBGrid* Grid)
{
    return Grid ? dynamic_cast<TrDBGridFilterBar*>(Grid->FindComponent(BarName)) : nullptr;
}

TrDBGridFilterBar* TrDBGridFilterBar::Of(TrDBGrid* Grid)
{
    if (!Grid)
        return nullptr;
    if (TrDBGridFilterBar* b = Find(Grid))
        return b;
    return new TrDBGridFilterBar(Grid);
}

TrDBGridColumnFilters* TrDBGridFilterBar::Store() const
{
    return TrDBGridColumnFilters::Of(FGrid);
}

// ---- which columns filter --------------------------------------------------------------

bool TrDBGridFilterBar::IsFilterColumn(int DataCol, bool AllowLookupField) const
{
    if (DataCol == -999)
        return true;
    if (DataCol < 0 || DataCol >= FGrid->Columns()->Count())
        return false;
    TColumn* c = FGrid->Columns()->Items(DataCol);
    TField* f = c->Field();
    if (!f)
        return false;
    bool result;
    if (!FGrid->FieldsFilterMapping.Values(f->FieldName()).isEmpty())
        result = true;
    else
        result = f->FieldKind() != fkCalculated && (AllowLookupField || f->FieldKind() != fkLookup) && (IsSimpleField(f) || IsMemoField(f)) &&
                 (FGrid->FieldsFilterButton.Count() == 0 || FGrid->FieldsFilterButton.IndexOf(f->FieldName()) >= 0);
    FGrid->DoGeneralEventFieldBool(geIsFilter, f, result);
    return result;
}

bool TrDBGridFilterBar::IsFunnelButtonColumn(int DataCol) const
{
    return FGrid->OptionsEx2().Filters.FunnelBtn && IsFilterColumn(DataCol, true);
}

bool TrDBGridFilterBar::IsFilterTextBarColumn(int DataCol) const
{
    return FGrid->OptionsEx2().Filters.TextBar && IsFilterColumn(DataCol, false);
}

bool TrDBGridFilterBar::IsFilterFieldActive(const QString& FieldName) const
{
    const QStringList names = FGrid->FilteredFieldNames().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    return std::any_of(names.begin(), names.end(), [&](const QString& N) { return N.compare(FieldName, Qt::CaseInsensitive) == 0; });
}

// ---- geometry ----------------------------------------------------------------------------

TRect TrDBGridFilterBar::FilterComboRect(const TRect& CellRect, bool UseMargin) const
{
    const TOptionsFilters& o = FGrid->OptionsEx2().Filters;
    // The bar is the title's top part below the title line band (above the
    // group band) or its bottom part.
    TRect r = CellRect;
    r.Top += FGrid->TitleLineText()->SumHeight();
    if (o.TextBarTopLayout)
        r.Bottom = r.Top + o.TextBarTopHeight();
    else
        r.Top = r.Bottom - o.TextBarBottomHeight();
    if (UseMargin) {
        const int mx = FGrid->UseScale(TOptionsFilters::ClampMargin(o.TextMarginX));
        const int my = FGrid->UseScale(TOptionsFilters::ClampMargin(o.TextMarginY));
        r = Rect(r.Left + mx, r.Top + my, r.Right - mx, r.Bottom - my);
        if (r.Width() < 24)
            return TRect();
    }
    return r;
}

TRect TrDBGridFilterBar::ClearButtonRect(const TRect& BarRect) const
{
    // A square as wide as the box's inside is high, less 4, at its right.
    const TRect inside = Rect(BarRect.Left + 3, BarRect.Top, BarRect.Right - 3, BarRect.Bottom - 1);
    const int w = std::max(0, inside.Height() - 4);
    return Rect(inside.Right - w, inside.Top, inside.Right, inside.Bottom);
}

TRect TrDBGridFilterBar::FunnelRect(const TRect& CellRect) const
{
    const TRect t = FGrid->TitleRectToTextRect(CellRect);
    const int w = rGlyphs.FilterWidth(FGrid->ScaleRatio()) + 2;
    return Rect(t.Right - w - 1, t.Top, t.Right - 1, t.Bottom);
}

int TrDBGridFilterBar::TitleReservedWidth(TColumn* Column) const
{
    if (!Column || !IsFunnelButtonColumn(Column->Index()))
        return 0;
    const int w = rGlyphs.FilterWidth(FGrid->ScaleRatio());
    if (FGrid->UseScale(FGrid->OptionsEx2().FixedCell.TitleTextMinWidth) >= Column->Width() - w - 2)
        return 0;
    return w + 3;
}

TRect TrDBGridFilterBar::FilterPanelRect() const
{
    const int h = FGrid->OptionsEx2().Filters.FilterPanelHeight();
    if (h <= 0)
        return TRect();
    const TRect g = FGrid->GridClientRect();
    const int top = g.Bottom + FGrid->FooterRow()->GetFooterRowHeight();
    return Rect(FGrid->ClientRect().Left, top, g.Right, top + h);
}

TRect TrDBGridFilterBar::FilterPanelComboRect() const
{
    TRect p = FilterPanelRect();
    if (p.Width() <= 0)
        return p;
    const TOptionsFilters& o = FGrid->OptionsEx2().Filters;
    const int h = 21;
    const int n = int(o.FilterPanelButtonIndexes().size());
    TRect r;
    r.Top = p.Top + (p.Height() - h) / 2;
    r.Bottom = r.Top + h;
    r.Left = p.Left + 8 + (FGrid->IndicatorOffset() ? FGrid->ColWidths(0) : 0);
    r.Right = p.Right - (n > 0 ? h / 2 + (h * n) / 4 + h * n : 8);
    if (o.FilterPanelComboMaxWidth > 0)
        r.Right = std::min(r.Right, r.Left + o.FilterPanelComboMaxWidth);
    return r;
}

TRect TrDBGridFilterBar::FilterPanelButtonRect(int Index) const
{
    const TRect c = FilterPanelComboRect();
    const int h = c.Height();
    const int left = c.Right + h / 2 + (Index * h) / 4 + Index * h;
    return Rect(left, c.Top, left + h, c.Bottom);
}

// ---- painting ----------------------------------------------------------------------------

void TrDBGridFilterBar::DrawTitle(int ACol, const TRect& CellRect, TColumn* Column)
{
    if (!Column)
        return;
    TCanvas* c = FGrid->Canvas();
    const int dataCol = Column->Index();
    TrDBGridColumnFilters* store = Store();
    // The funnel at the right of the title text; with FunnelBtnActiveOnly
    // only on a filtered column and on the title under the mouse.
    const bool active = IsFilterFieldActive(Column->FieldName());
    const TGridCoord hot = FGrid->HotTrackCell();
    const bool hovered = hot.X == ACol && hot.Y == FGrid->TitleRow();
    if (TitleReservedWidth(Column) > 0 && (!FGrid->OptionsEx2().Filters.FunnelBtnActiveOnly || active || hovered))
        DrawGlyph(FGrid, FunnelRect(CellRect), TrGlyphsRec::FilterIndex(active));
    if (!IsFilterTextBarColumn(dataCol))
        return;
    const TRect bar = FilterComboRect(CellRect, true);
    if (bar.Width() <= 0 || (FCombo->Visible() && FEditColumnIndex == dataCol))
        return;
    const TOptionsFilters& o = FGrid->OptionsEx2().Filters;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(o.TextBkColor);
    c->FillRect(bar);
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(bar);
    const QString name = Column->FieldName();
    const QString text = store->EditValues.Values(name);
    if (text.isEmpty())
        return;
    // The text in the title's font, and a grey "x" that clears it, set off by a line.
    const TRect clear = ClearButtonRect(bar);
    const TColor titleColour = c->Font()->Color();
    c->Font()->Assign(*Column->Title()->Font());
    c->Font()->SetColor(store->EditStatuses.Values(name) == QLatin1String("E") ? clRed : clWindowText);
    c->Brush()->SetStyle(bsClear);
    TRect tr = Rect(bar.Left + 3, clear.Top, clear.Left, clear.Bottom);
    c->DrawText(text, tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    c->Font()->SetColor(clGrayText);
    TRect x = clear;
    c->DrawText(QStringLiteral("x"), x, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    const TPen saved = *c->Pen();
    c->Pen()->SetColor(clGrayText);
    c->Pen()->SetWidth(1);
    c->MoveTo(clear.Left - 1, clear.Top + 2);
    c->LineTo(clear.Left - 1, clear.Bottom - 1);
    c->SetPen(saved);
    c->Font()->SetColor(titleColour);
    c->Brush()->SetStyle(bsSolid);
}

void TrDBGridFilterBar::DrawFilterPanel()
{
    const TRect p = FilterPanelRect();
    if (p.Width() <= 0 || p.Height() <= 0 || !FGrid->Visible())
        return;
    TCanvas* c = FGrid->Canvas();
    const TOptionsFilters& o = FGrid->OptionsEx2().Filters;
    const int saved = c->SaveDC();
    c->IntersectClipRect(p);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(o.FilterPanelColor == clNone ? FGrid->Color() : o.FilterPanelColor);
    c->FillRect(p);
    TRect rest = p;
    if (FGrid->IndicatorOffset()) {
        const TRect ind = Rect(p.Left, p.Top, p.Left + FGrid->ColWidths(0), p.Bottom);
        c->Brush()->SetColor(FGrid->FixedColor());
        c->FillRect(ind);
        FGrid->DrawGlyphRecoloured(ind, TrGlyphsRec::FilterBarIndex(FGrid->IsFiltered()),
                                   GetStyleFontColor_GridText(FGrid->TitleFont()->Color(), true, false, false));
        rest.Left = ind.Right + 1;
    }
    c->Brush()->SetColor(GetDefColor(FGrid->FooterRow()->CellLinesColor, clBtnShadow));
    c->FrameRect(rest);
    if (!FPanelCombo->Visible()) {
        const TRect r = FilterPanelComboRect();
        c->Brush()->SetColor(o.TextBkColor);
        c->FillRect(r);
        c->Brush()->SetColor(clWindowFrame);
        c->FrameRect(r);
        c->Font()->Assign(*FGrid->Font());
        c->Font()->SetColor(clWindowText);
        c->Brush()->SetStyle(bsClear);
        TRect tr = Rect(r.Left + 3, r.Top, r.Right - 3, r.Bottom);
        c->DrawText(FGrid->IsFiltered() ? FGrid->DataSet()->Filter().trimmed() : QString(), tr,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        c->Brush()->SetStyle(bsSolid);
    }
    const std::vector<int>& buttons = o.FilterPanelButtonIndexes();
    // The buttons show images of the title image list; without one (or for an
    // index the list does not hold) the button stays empty.
    TCustomImageList* images = FGrid->TitleImageList();
    for (int i = 0; i < int(buttons.size()); ++i) {
        const TRect b = FilterPanelButtonRect(i);
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(b);
        c->Brush()->SetColor(clBtnShadow);
        c->FrameRect(b);
        if (images && buttons[size_t(i)] < images->Count())
            FGrid->DrawListImage(images, buttons[size_t(i)], b);
    }
    c->RestoreDC(saved);
}

// ---- mouse -------------------------------------------------------------------------------

bool TrDBGridFilterBar::MouseDown(int X, int Y)
{
    return Element(X, Y, false);
}

bool TrDBGridFilterBar::MouseUp(int X, int Y)
{
    return Element(X, Y, true);
}

bool TrDBGridFilterBar::Element(int X, int Y, bool Act)
{
    const TOptionsFilters& o = FGrid->OptionsEx2().Filters;
    if (o.FilterPanel && Inside(FilterPanelRect(), X, Y)) {
        if (!Act)
            return true;
        const TRect p = FilterPanelRect();
        // The filter glyph under the indicator column switches the filter off and back on.
        if (FGrid->IndicatorOffset() && X < p.Left + FGrid->ColWidths(0))
            ToggleFilter();
        if (Inside(FilterPanelComboRect(), X, Y))
            FilterPanelComboShow();
        for (int i = 0; i < int(o.FilterPanelButtonIndexes().size()); ++i)
            if (Inside(FilterPanelButtonRect(i), X, Y))
                FilterPanelButtonClick(i);
        return true;
    }
    const TGridCoord c = FGrid->MouseCoord(X, Y);
    if (!(FGrid->Options() & dgTitles) || c.Y != 0)
        return false;
    // The bar's corner in the top-left cell switches the filter off and back on.
    if (c.X == 0 && FGrid->IndicatorOffset() && o.TextBar) {
        if (!Inside(FilterComboRect(FGrid->CellRect(0, 0), false), X, Y))
            return false;
        if (Act)
            ToggleFilter();
        return true;
    }
    if (c.X < FGrid->IndicatorOffset())
        return false;
    const int dataCol = FGrid->RawToDataColumn(c.X);
    TColumn* column = dataCol >= 0 && dataCol < FGrid->Columns()->Count() ? FGrid->Columns()->Items(dataCol) : nullptr;
    if (!column)
        return false;
    const TRect cell = FGrid->CellRect(c.X, 0);
    if (TitleReservedWidth(column) > 0 && Inside(FunnelRect(cell), X, Y)) {
        // A press on the funnel of the open list closes it (the release must
        // not open it again, even when the press itself already closed it).
        if (!Act) {
            FFunnelOpenAtPress = FFunnel && FFunnel->Visible() && FFilterDlgLastColIdx == c.X;
        } else if (FFunnelOpenAtPress) {
            FFunnelOpenAtPress = false;
            if (FFunnel)
                FFunnel->Hide();
            FFilterDlgLastColIdx = -1;
        } else {
            IntShowFilterDlg(c.X);
        }
        return true;
    }
    if (!IsFilterTextBarColumn(dataCol))
        return false;
    const TRect bar = FilterComboRect(cell, true);
    if (!Inside(bar, X, Y))
        return false;
    if (!Act)
        return true;
    const QString text = Store()->EditValues.Values(column->FieldName());
    if (!text.isEmpty() && Inside(ClearButtonRect(bar), X, Y)) {
        FilterComboHide(false, false);
        Store()->ProcFilterBarFilter(column->Field(), QString());
        FGrid->Invalidate();
        return true;
    }
    FilterComboShow(bar, dataCol);
    return true;
}

void TrDBGridFilterBar::ToggleFilter()
{
    if (FGrid->IsFiltered())
        FilterComboHide(true, true);
    else
        ReactivateFilter();
}

// ---- the bar -----------------------------------------------------------------------------

TField* TrDBGridFilterBar::EditField() const
{
    if (FEditColumnIndex < 0 || FEditColumnIndex >= FGrid->Columns()->Count())
        return nullptr;
    return FGrid->Columns()->Items(FEditColumnIndex)->Field();
}

void TrDBGridFilterBar::ShowTextFilter(TColumn* Column)
{
    if (!Column) {
        const int sel = FGrid->SelectedIndex();
        Column = sel >= 0 && sel < FGrid->Columns()->Count() ? FGrid->Columns()->Items(sel) : nullptr;
    }
    if (!Column || !IsFilterTextBarColumn(Column->Index()))
        return;
    const int raw = FGrid->DataToRawColumn(Column->Index());
    const TRect cell = FGrid->CellRect(raw, 0);
    if (cell.Width() <= 0)
        return;
    FilterComboShow(FilterComboRect(cell, true), Column->Index());
}

void TrDBGridFilterBar::SetTextFilter(TColumn* Column, const QString& FilterText, bool ActivateFilter)
{
    ShowTextFilter(Column);
    if (!FCombo->Visible())
        return;
    FCombo->SetText(FilterText);
    FEditChanged = true;
    if (ActivateFilter) {
        FilterComboUpdateTimer();
        FilterComboHide(false, false);
        FGrid->SetFocus();
    } else {
        FCombo->SetSelStart(int(FilterText.size()));
    }
}

void TrDBGridFilterBar::FilterListLoadValues(TField* F, QStringList& List)
{
    std::set<QString> seen;
    FGrid->ScanAllRecords(4, 0, true, true, [&](TDataSet*, int) {
        const QString t = F->DisplayText();
        if (seen.insert(t).second)
            List << t;
    });
    SortByField(F, List);
}

void TrDBGridFilterBar::FilterComboShow(const TRect& R, int DataCol)
{
    if (FGrid->CanFocus())
        FGrid->SetFocus();
    if (DataCol < 0 || DataCol >= FGrid->Columns()->Count() || !FGrid->Columns()->Items(DataCol)->Field() || R.Width() <= 0)
        return;
    const TOptionsFilters& o = FGrid->OptionsEx2().Filters;
    TField* f = FGrid->Columns()->Items(DataCol)->Field();
    FEditColumnIndex = DataCol;
    FEditChanged = false;
    FSettingText = true;
    FCombo->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    FCombo->SetColor(o.TextBkColor);
    FCombo->UpdateTimerDelay = int(o.SetFilterDelay);
    QStringList items;
    if (FGrid->OnLoadFilterList)
        FGrid->OnLoadFilterList(FGrid, FGrid->DataSet(), f->FieldName(), items);
    else if (o.TextListAutoLoad)
        FilterListLoadValues(f, items);
    else
        items = TextValueList[f->FieldName().toUpper()];
    items.sort(Qt::CaseInsensitive);
    FCombo->SetItems(items);
    FCombo->SetText(Store()->EditValues.Values(f->FieldName()));
    FSettingText = false;
    FilterComboRefreshColor();
    FCombo->SetVisible(true);
    FCombo->BringToFront();
    if (FCombo->CanFocus())
        FCombo->SetFocus();
    FGrid->OptionsEx2().Filters.TextBarHeight = FCombo->Height();
}

void TrDBGridFilterBar::FilterComboHide(bool ClearAllValues, bool ClearAllFilters)
{
    FCombo->UpdateTimer()->SetEnabled(false);
    FCombo->SetVisible(false);
    if (ClearAllValues) {
        Store()->EditValues.Clear();
        Store()->EditStatuses.Clear();
    }
    if (ClearAllFilters)
        Store()->SetFilterForField(nullptr, QString(), true, true, false);
    FEditColumnIndex = -1;
    FEditChanged = false;
    FGrid->Invalidate();
}

void TrDBGridFilterBar::FilterComboRefreshBounds()
{
    if (!FCombo->Visible() || FEditColumnIndex < 0 || !(FGrid->Options() & dgTitles))
        return;
    const TRect cell = FGrid->CellRect(FGrid->DataToRawColumn(FEditColumnIndex), 0);
    const TRect r = FilterComboRect(cell, true);
    if (r.Width() <= 0)
        FilterComboHide(false, false);
    else
        FCombo->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TrDBGridFilterBar::ReactivateFilter()
{
    TDataSet* ds = FGrid->DataSet();
    if (!ds || ds->Filter().trimmed().isEmpty())
        return;
    if (SetFilterString(ds, ds->Filter(), true)) {
        FFilterDlgLastColIdx = -1;
        // The titles mark the columns the restored filter names.
        Store()->RefreshFilteredFieldNames();
    }
}

void TrDBGridFilterBar::FilterComboRefreshColor()
{
    TField* f = EditField();
    const bool error = f && Store()->EditStatuses.Values(f->FieldName()) == QLatin1String("E");
    if (FCombo->Font()->Color() != clRed)
        FComboFontColor = FCombo->Font()->Color();
    FCombo->Font()->SetColor(error ? clRed : FComboFontColor);
}

void TrDBGridFilterBar::FilterComboUpdateTimer()
{
    FCombo->UpdateTimer()->SetEnabled(false);
    if (!FEditChanged || FEditColumnIndex < 0)
        return;
    FEditChanged = false;
    TField* shown = EditField();
    if (!shown)
        return;
    // A mapped column filters the field it names instead.
    TField* f = shown;
    const QString mapped = FGrid->FieldsFilterMapping.Values(shown->FieldName());
    if (!mapped.isEmpty() && FGrid->DataSet())
        f = FGrid->DataSet()->FindField(mapped);
    const QString text = FCombo->Text();
    TrDBGridColumnFilters* store = Store();
    bool ok = false;
    const bool viaHandler = f && FGrid->OnSetColumnFilter;
    if (viaHandler) {
        const QString cond = store->BarTextCondition(f, text);
        ok = text.trimmed().isEmpty() || !cond.isEmpty();
        FGrid->OnSetColumnFilter(FGrid, f->DataSet(), f, cond, text, nullptr, ok);
        store->EditValues.SetValues(shown->FieldName(), text.trimmed().isEmpty() ? QString() : text);
    } else {
        ok = f && store->ProcFilterBarFilter(f, text);
    }
    // The window's handler or a mapped field: the bar's text turns red on failure here.
    if (f != shown || viaHandler) {
        store->EditValues.SetValues(shown->FieldName(), text.trimmed().isEmpty() ? QString() : text);
        store->EditStatuses.SetValues(shown->FieldName(), ok ? QString() : QStringLiteral("E"));
    } else if (!ok) {
        store->EditValues.SetValues(shown->FieldName(), text);
    }
    const TOptionsFilters& o = FGrid->OptionsEx2().Filters;
    if (ok && o.TextListAddFilter && !o.TextListAutoLoad && text.trimmed().size() > 2) {
        QStringList& used = TextValueList[shown->FieldName().toUpper()];
        if (!used.contains(text.trimmed(), Qt::CaseInsensitive)) {
            used << text.trimmed();
            const int caret = FCombo->SelStart();
            FSettingText = true;
            QStringList items = used;
            items.sort(Qt::CaseInsensitive);
            FCombo->SetItems(items);
            FCombo->SetText(text);
            FCombo->SetSelStart(caret);
            FSettingText = false;
        }
    }
    FilterComboRefreshColor();
    FGrid->Invalidate();
}

void TrDBGridFilterBar::CancelMode(TrComboBoxExFilter* Combo, TControl* Sender)
{
    if (Sender == Combo || !Combo->Visible())
        return;
    if (Combo == FPanelCombo) {
        FPanelCombo->SetVisible(false);
        FGrid->Invalidate();
    } else {
        // A pending text is applied first, as leaving the box would.
        ComboExit();
    }
}

void TrDBGridFilterBar::ComboExit()
{
    if (!FCombo->Visible())
        return;
    FilterComboUpdateTimer();
    if (TField* f = EditField()) {
        const QString t = FCombo->Text();
        if (t.trimmed().isEmpty())
            Store()->EditValues.SetValues(f->FieldName(), QString());
        else
            Store()->EditValues.SetValues(f->FieldName(), t);
    }
    FilterComboHide(false, false);
}

bool TrDBGridFilterBar::MenuShortcut(Word& Key, TShiftState Shift)
{
    // A shortcut of the grid's menu (the grid actions) works while typing a filter.
    if (!(Shift & (ssCtrl | ssAlt)) && !(Key >= VK_F1 && Key <= VK_F12))
        return false;
    TPopupMenu* menu = FGrid->PopupMenu();
    if (!menu || !menu->IsShortCut(ShortCut(Key, Shift)))
        return false;
    Key = 0;
    return true;
}

void TrDBGridFilterBar::ComboKeyDown(Word& Key, TShiftState Shift)
{
    if (MenuShortcut(Key, Shift))
        return;
    if (Key == VK_RETURN) {
        FEditChanged = true;
        FilterComboUpdateTimer();
        Key = 0;
    } else if (Key == VK_ESCAPE) {
        FEditChanged = false;
        FilterComboHide(false, false);
        Key = 0;
        if (FGrid->CanFocus())
            FGrid->SetFocus();
    } else if ((Key == VK_UP || Key == VK_DOWN) && FCombo->Style() == csSimple) {
        FGrid->SetFocus();
    } else if ((Key == VK_TAB && (Shift & ssCtrl)) || ((Key == VK_LEFT || Key == VK_RIGHT) && (Shift & ssAlt))) {
        if (FilterComboMoveToNextCol(Key == VK_LEFT))
            Key = 0;
    }
}

bool TrDBGridFilterBar::FilterComboMoveToNextCol(bool Prev)
{
    const int n = FGrid->Columns()->Count();
    if (FEditColumnIndex < 0 || n == 0)
        return false;
    const int start = FEditColumnIndex;
    int i = start;
    do {
        i = (i + (Prev ? n - 1 : 1)) % n;
        if (FGrid->Columns()->Items(i)->Visible() && IsFilterTextBarColumn(i))
            break;
    } while (i != start);
    if (i == start)
        return false;
    // Leaving the box applies its text; the next column's bar opens.
    ComboExit();
    ShowTextFilter(FGrid->Columns()->Items(i));
    return true;
}

// ---- the funnel --------------------------------------------------------------------------

void TrDBGridFilterBar::ShowFunnelFilter(TColumn* Column)
{
    if (!Column) {
        const int sel = FGrid->SelectedIndex();
        Column = sel >= 0 && sel < FGrid->Columns()->Count() ? FGrid->Columns()->Items(sel) : nullptr;
    }
    if (Column && IsFunnelButtonColumn(Column->Index()))
        IntShowFilterDlg(FGrid->DataToRawColumn(Column->Index()));
}

void TrDBGridFilterBar::IntShowFilterDlg(int RawCol)
{
    FGrid->IntShowFilterDlg(RawCol);
}

void TrDBGridFilterBar::OpenFunnelForm(int RawCol)
{
    if (!FGrid->IsActive())
        return;
    try {
        FFilterDlgLastColIdx = RawCol;
        if (!FFunnel)
            FFunnel = new TrDBGridFilterForm(FGrid);
        TColumn* column = FGrid->ColumnAt(RawCol);
        const TRect cell = FGrid->CellRect(RawCol, FGrid->TitleRow() + 1);
        const TPoint at = FGrid->ClientToScreen(TPoint{cell.Left, cell.Top});
        const TPoint gridRight = FGrid->ClientToScreen(TPoint{FGrid->ClientWidth(), 0});
        int w = std::max(FFunnel->Constraints.MinWidth, cell.Width());
        int h = std::max(FFunnel->Constraints.MinHeight, FGrid->ClientHeight() - cell.Top - 8);
        int left = at.X;
        if (left + w > gridRight.X - 16)
            left = gridRight.X - 16 - FFunnel->Constraints.MinWidth, w = FFunnel->Constraints.MinWidth;
        FFunnel->LoadList(FGrid, column);
        FFunnel->chAnd->SetVisible(FGrid->OptionsEx2().Filters.MultiFieldFilter);
        h = std::min(h, FFunnel->WantedHeight());
        FFunnel->SetBounds(left, at.Y, w, h);
        FFunnel->Show();
    } catch (const std::exception& E) {
        ShowErr(QStringLiteral("This function is not supported."), E, false);
    }
}

// ---- the panel ---------------------------------------------------------------------------

void TrDBGridFilterBar::FilterPanelComboShow()
{
    const TRect r = FilterPanelComboRect();
    if (r.Width() <= 0)
        return;
    FPanelCombo->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    FPanelCombo->SetColor(FGrid->OptionsEx2().Filters.TextBkColor);
    FPanelCombo->SetText(FGrid->IsFiltered() ? FGrid->DataSet()->Filter().trimmed() : QString());
    FPanelCombo->SetVisible(true);
    FPanelCombo->BringToFront();
    if (FPanelCombo->CanFocus())
        FPanelCombo->SetFocus();
    FGrid->OptionsEx2().Filters.FilterPanelComboHeight = FPanelCombo->Height();
}

bool TrDBGridFilterBar::FilterPanelApply(const QString& Text)
{
    TDataSet* ds = FGrid->DataSet();
    if (!ds)
        return false;
    bool ok;
    if (Text.trimmed().isEmpty()) {
        ds->SetFiltered(false);
        ok = true;
    } else {
        ok = SetFilterString(ds, Text, true);
    }
    if (ok)
        Store()->RefreshFilteredFieldNames();
    return ok;
}

void TrDBGridFilterBar::PanelKeyDown(Word& Key, TShiftState Shift)
{
    if (MenuShortcut(Key, Shift))
        return;
    if (Key == VK_RETURN) {
        FilterPanelApply(FPanelCombo->Text());
        Key = 0;
    } else if (Key == VK_ESCAPE) {
        Key = 0;
        if (FGrid->CanFocus())
            FGrid->SetFocus();
    }
}

void TrDBGridFilterBar::FilterPanelUpdateFilterList()
{
    if (!FGrid->IsFiltered())
        return;
    const QString f = FGrid->DataSet()->Filter().trimmed();
    QStringList items = FPanelCombo->Items();
    items.erase(std::remove_if(items.begin(), items.end(), [&](const QString& S) { return S.compare(f, Qt::CaseInsensitive) == 0; }),
                items.end());
    items.prepend(f);
    FPanelCombo->SetItems(items);
    FPanelCombo->SetItemIndex(0);
}

void TrDBGridFilterBar::FilterPanelButtonClick(int Index)
{
    if (FGrid->OnFilterPanelButtonClick)
        FGrid->OnFilterPanelButtonClick(FGrid, FGrid->DataSet(), nullptr, nullptr, Index);
}

void TrDBGridFilterBar::DoFilterChange()
{
    FilterPanelUpdateFilterList();
    FGrid->Invalidate();
}
