// The table properties dialog. Each control changes the grid at once; while
// the dialog fills its controls from the grid no change handler runs.

#include "components/grid/rDBGridPropsForm.h"

#include "components/base/rEditNum.h"
#include "components/base/rGlyphs.h"
#include "components/base/rListBoxes.h"
#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/grid/TPropSaveMain.h"
#include "components/grid/rDBDlgButtons.h"
#include "components/grid/rDBGrid.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/PlaceControl.h"
#include "platform/ui/StdCtrls.h"
#include "resources/GridDialogTexts.h"

TrDBGridPropsHooks& DBGridPropsHooks()
{
    static TrDBGridPropsHooks hooks;
    return hooks;
}

namespace {

TrColorBox* PutColorBox(TWinControl* Parent, TComponent* Owner, int X, int Y, int W)
{
    auto* b = PlaceControl<TrColorBox>(Parent, Owner, X, Y, W, 23);
    b->SetColorStyle(cbStandardColors | cbExtendedColors | cbSystemColors | cbIncludeNone | cbCustomColor | cbPrettyNames);
    b->NoneColorColor = clWindow;
    return b;
}

TrEditNum* PutNumber(TWinControl* Parent, TComponent* Owner, int X, int Y, int Min, int Max)
{
    auto* e = PlaceControl<TrEditNum>(Parent, Owner, X, Y, 50, 23);
    e->MinValue = Min;
    e->MaxValue = Max;
    e->StepValue = 1;
    return e;
}

}  // namespace

TrDBGridPropsForm::TrDBGridPropsForm(TComponent* AOwner) : TrDBDlgBaseForm(AOwner)
{
    SetName(QStringLiteral("rDBGridPropsForm"));
    SetCaption(gdlgtxt::TableProperties);
    // F1 opens this page through the library's help hook (the base form).
    HelpFile = QStringLiteral("rdbgridprops.htm");
    HelpContext = 1;
    SetKeyPreview(true);
    Constraints.MinWidth = 640;
    Constraints.MinHeight = 440;
    SetBounds(0, 0, 660, 470);
    // Every change applies at once: the only way out is "Close".
    const TDlgBottomRow bottom = AddDlgBottomRow(this, 110);
    pBottom = bottom.Panel;
    btClose = AddDlgButton(this, bottom, 4, gdlgtxt::Close, dgClose, mrClose);
    btClose->SetCancel(true);

    // Left: lines, colours, filters.
    gbLines = PlaceControl<TGroupBox>(this, this, 8, 6, 310, 74, gdlgtxt::Lines);
    chRowLines = PlaceControl<TCheckBox>(gbLines, this, 10, 20, 180, 20, gdlgtxt::ShowHorizontalLines);
    chRowLineDot = PlaceControl<TCheckBox>(gbLines, this, 10, 46, 120, 20, gdlgtxt::DottedLine);
    cbColorDataLine = PutColorBox(gbLines, this, 150, 44, 150);

    gbColors = PlaceControl<TGroupBox>(this, this, 8, 84, 310, 196, gdlgtxt::Colors);
    chColorActiveRow = PlaceControl<TCheckBox>(gbColors, this, 10, 20, 140, 20, gdlgtxt::ColoredActiveRow);
    cbColorActiveRow = PutColorBox(gbColors, this, 150, 18, 150);
    chActiveRowGradient = PlaceControl<TCheckBox>(gbColors, this, 26, 44, 200, 20, gdlgtxt::ColorGradient);
    chColoredOdd = PlaceControl<TCheckBox>(gbColors, this, 10, 70, 140, 20, gdlgtxt::ColoredEvenRows);
    cbColorOdd = PutColorBox(gbColors, this, 150, 68, 150);
    chFontFiltered = PlaceControl<TCheckBox>(gbColors, this, 10, 98, 140, 20, gdlgtxt::FilteredRecordFont);
    cbColorFiltered = PutColorBox(gbColors, this, 150, 96, 150);
    chGradient = PlaceControl<TCheckBox>(gbColors, this, 10, 126, 170, 20, gdlgtxt::UseGradientForTitle);
    pGradFrom = PlaceControl<TPanel>(gbColors, this, 180, 126, 24, 20);
    lFromTo = PlaceControl<TLabel>(gbColors, this, 208, 128, 64, 16, gdlgtxt::FromTo);
    pGradTo = PlaceControl<TPanel>(gbColors, this, 276, 126, 24, 20);
    lStyle = PlaceControl<TLabel>(gbColors, this, 10, 160, 140, 16, gdlgtxt::SetColorsFromStyle);
    cbStyle = PlaceControl<TComboBox>(gbColors, this, 150, 156, 150, 23);
    cbStyle->SetStyle(csDropDownList);

    gbFilters = PlaceControl<TGroupBox>(this, this, 8, 284, 310, 122, gdlgtxt::Filters);
    chTitleFilterBtn = PlaceControl<TCheckBox>(gbFilters, this, 10, 20, 290, 20, gdlgtxt::ShowFilterButtons);
    chTitleFilterBar = PlaceControl<TCheckBox>(gbFilters, this, 10, 44, 290, 20, gdlgtxt::ShowTextFilter);
    chFilterPanel = PlaceControl<TCheckBox>(gbFilters, this, 10, 68, 290, 20, gdlgtxt::ShowFilterFooter);
    chColorRec = PlaceControl<TCheckBox>(gbFilters, this, 10, 94, 200, 20, gdlgtxt::HighlightRecords);
    btColorRec = PlaceControl<TButton>(gbFilters, this, 210, 92, 92, 24, gdlgtxt::SetConditions);

    // Right: columns, fonts and rows.
    gbColumns = PlaceControl<TGroupBox>(this, this, 326, 6, 318, 176, gdlgtxt::TableColumns);
    cbAutoWidth = PlaceControl<TCheckBox>(gbColumns, this, 10, 20, 180, 20, gdlgtxt::AutomaticColumnsWidth);
    cbSameWidth = PlaceControl<TCheckBox>(gbColumns, this, 200, 20, 110, 20, gdlgtxt::SameWidth);
    btWidthData = PlaceControl<TButton>(gbColumns, this, 10, 46, 196, 25, gdlgtxt::WidthAccordingData);
    btWidthDef = PlaceControl<TButton>(gbColumns, this, 10, 76, 196, 25, gdlgtxt::SetDefaultWidth);
    btColumn = PlaceControl<TButton>(gbColumns, this, 212, 46, 98, 25, gdlgtxt::EditColumns);
    lFixedCols = PlaceControl<TLabel>(gbColumns, this, 10, 114, 100, 16, gdlgtxt::FreezeColumns);
    lFixedColsCount = PlaceControl<TLabel>(gbColumns, this, 112, 114, 46, 16, gdlgtxt::Count);
    eFixedCols = PutNumber(gbColumns, this, 160, 110, 0, 10);
    lColorFixedCol = PlaceControl<TLabel>(gbColumns, this, 10, 144, 100, 16, gdlgtxt::ColorLabel);
    cbColorFixedCol = PutColorBox(gbColumns, this, 112, 140, 150);

    gbFonts = PlaceControl<TGroupBox>(this, this, 326, 186, 318, 170, gdlgtxt::Fonts);
    btFont = PlaceControl<TButton>(gbFonts, this, 10, 20, 140, 25, gdlgtxt::TextFont);
    btFontTitle = PlaceControl<TButton>(gbFonts, this, 160, 20, 150, 25, gdlgtxt::TitleRowFont);
    lRowLines = PlaceControl<TLabel>(gbFonts, this, 10, 58, 130, 16, gdlgtxt::DataRowHeight);
    eRowLines = PutNumber(gbFonts, this, 150, 54, 1, 10);
    lTitleLines = PlaceControl<TLabel>(gbFonts, this, 10, 86, 130, 16, gdlgtxt::TitleRowHeight);
    eTitleLines = PutNumber(gbFonts, this, 150, 82, 1, 5);
    chShowMemoContent = PlaceControl<TCheckBox>(gbFonts, this, 10, 112, 200, 20, gdlgtxt::ShowMemoPreview);
    chGroupFields = PlaceControl<TCheckBox>(gbFonts, this, 10, 138, 140, 20, gdlgtxt::GroupColumns);
    btGroupSettings = PlaceControl<TButton>(gbFonts, this, 160, 136, 110, 24, gdlgtxt::GroupSettings);

    btDefault = PlaceControl<TButton>(this, this, 326, 364, 180, 25, gdlgtxt::SetDefaultProperties);
    Wire();
    // "from - to" stays centred between the two colour panels.
    OnResize = [this](TComponent*) {
        const int mid = (pGradFrom->Left() + pGradFrom->Width() + pGradTo->Left()) / 2;
        lFromTo->SetLeft(mid - lFromTo->Width() / 2);
    };
    BindDlgEvents(this);
    const TNotifyEvent baseShow = OnShow;
    OnShow = [this, baseShow](TComponent* S) {
        baseShow(S);
        FormShow();
    };
}

void TrDBGridPropsForm::Wire()
{
    auto guard = [this](std::function<void()> F) {
        return [this, F](TComponent*) {
            if (!FLoading && Gr)
                F();
        };
    };
    chRowLines->OnClick = guard([this] {
        Gr->SetOptions(chRowLines->Checked() ? Gr->Options() | dgRowLines : Gr->Options() & ~dgRowLines);
        Gr->Invalidate();
    });
    chRowLineDot->OnClick = guard([this] { LineChange(); });
    cbColorDataLine->OnChange = guard([this] { LineChange(); });
    chColorActiveRow->OnClick = guard([this] {
        if (!chColorActiveRow->Checked())
            cbColorActiveRow->SetSelected(clNone);
        else if (cbColorActiveRow->Selected() == clNone)
            cbColorActiveRow->SetSelected(clInfoBk);
        Gr->SetColorActiveRow(cbColorActiveRow->Selected());
        SetAll();
    });
    cbColorActiveRow->OnChange = guard([this] {
        Gr->SetColorActiveRow(cbColorActiveRow->Selected());
        SetAll();
    });
    chActiveRowGradient->OnClick = guard([this] {
        Gr->OptionsEx2().Appearance.ActiveRowGradient = chActiveRowGradient->Checked();
        Gr->Invalidate();
        SetAll();
    });
    auto odd = guard([this] {
        Gr->OptionsEx2().Appearance.DrawColoredRow = chColoredOdd->Checked();
        Gr->SetColorOddRow(cbColorOdd->Selected());
        SetAll();
    });
    chColoredOdd->OnClick = odd;
    cbColorOdd->OnChange = odd;
    chFontFiltered->OnClick = guard([this] {
        if (!chFontFiltered->Checked())
            cbColorFiltered->SetSelected(clNone);
        else if (cbColorFiltered->Selected() == clNone)
            cbColorFiltered->SetSelected(clNavy);
        Gr->SetFontColorFiltered(cbColorFiltered->Selected());
        SetAll();
    });
    cbColorFiltered->OnChange = guard([this] {
        Gr->SetFontColorFiltered(cbColorFiltered->Selected());
        SetAll();
    });
    chGradient->OnClick = guard([this] { Gr->SetDrawingStyle(chGradient->Checked() ? grids::gdsGradient : grids::gdsThemed); });
    auto pickGradient = [this](TPanel* P, bool Start) {
        return [this, P, Start](TComponent*) {
            if (!Gr)
                return;
            TColorDialog dlg(this);
            dlg.Color = P->Color();
            if (!dlg.Execute())
                return;
            P->SetColor(dlg.Color);
            (Start ? Gr->GradientStartColor : Gr->GradientEndColor) = dlg.Color;
            Gr->Invalidate();
        };
    };
    pGradFrom->OnClick = pickGradient(pGradFrom, true);
    pGradTo->OnClick = pickGradient(pGradTo, false);
    chTitleFilterBtn->OnClick = guard([this] {
        Gr->OptionsEx2().Filters.FunnelBtn = chTitleFilterBtn->Checked();
        Gr->Invalidate();
    });
    chTitleFilterBar->OnClick = guard([this] {
        Gr->OptionsEx2().Filters.TextBar = chTitleFilterBar->Checked();
        Gr->LayoutChanged();
        Gr->Invalidate();
    });
    chFilterPanel->OnClick = guard([this] {
        Gr->OptionsEx2().Filters.FilterPanel = chFilterPanel->Checked();
        Gr->LayoutChanged();
        Gr->Invalidate();
    });
    chColorRec->OnClick = guard([this] {
        if (DBGridPropsHooks().SetCellConditionActive)
            DBGridPropsHooks().SetCellConditionActive(Gr, chColorRec->Checked());
        Gr->Invalidate();
    });
    btColorRec->OnClick = guard([this] {
        if (DBGridPropsHooks().CellParams)
            DBGridPropsHooks().CellParams(Gr);
        if (DBGridPropsHooks().GetCellConditionActive) {
            FLoading = true;
            chColorRec->SetChecked(DBGridPropsHooks().GetCellConditionActive(Gr));
            FLoading = false;
        }
    });
    btFont->OnClick = guard([this] {
        TFontDialog dlg(this);
        dlg.Font.Assign(*Gr->Font());
        if (!dlg.Execute())
            return;
        Gr->Font()->Assign(dlg.Font);
        // Assigned to each column, so a customised column set keeps it too.
        for (int i = 0; i < Gr->Columns()->Count(); ++i)
            Gr->Columns()->Items(i)->SetFont(dlg.Font);
        Gr->LayoutChanged();
    });
    btFontTitle->OnClick = guard([this] {
        TFontDialog dlg(this);
        dlg.Font.Assign(*Gr->TitleFont());
        if (!dlg.Execute())
            return;
        Gr->TitleFont()->Assign(dlg.Font);
        // The grid's fonts are stored only while it has its own font: a
        // chosen title font makes the grid's font its own.
        Gr->SetParentFont(false);
        Gr->LayoutChanged();
    });
    eRowLines->OnChange = guard([this] {
        if (eRowLines->CheckValue())
            Gr->SetRowLines(std::clamp(int(eRowLines->Value()), 1, 10));
    });
    eTitleLines->OnChange = guard([this] {
        if (eTitleLines->CheckValue())
            Gr->SetTitleLines(std::clamp(int(eTitleLines->Value()), 1, 5));
    });
    cbStyle->OnChange = guard([this] {
        if (cbStyle->ItemIndex() < 0)
            return;
        Gr->SetDrawingStyle(grids::gdsGradient);
        Gr->SetGridLookStyle(TGridLookStyles(cbStyle->ItemIndex()));
        LoadColors();
    });
    cbAutoWidth->OnClick = guard([this] {
        Gr->SetColumnWidthMode(cbAutoWidth->Checked() ? cwAutoWidth : cwNone);
        SetAll();
    });
    cbSameWidth->OnClick = guard([this] {
        Gr->SetColumnWidthMode(cbSameWidth->Checked() ? cwSameWidth : cwNone);
        SetAll();
    });
    btWidthData->OnClick = guard([this] {
        // The widths are computed once and kept.
        Gr->SetColumnWidthMode(cwDataLabelWidth);
        Gr->SetColumnWidthMode(cwNone);
        SetAll();
    });
    btWidthDef->OnClick = guard([this] {
        Gr->SetColumnWidthMode(cwDefaultWidth);
        Gr->SetColumnWidthMode(cwNone);
        Gr->RestoreColumnsWidth(false, false);
        SetAll();
    });
    btColumn->OnClick = guard([this] {
        if (DBGridPropsHooks().ChooseFields)
            DBGridPropsHooks().ChooseFields(Gr);
    });
    eFixedCols->OnChange = guard([this] {
        if (eFixedCols->CheckValue())
            Gr->SetFixedCols(std::clamp(int(eFixedCols->Value()), 0, 10));
    });
    cbColorFixedCol->OnChange = guard([this] {
        Gr->OptionsEx2().FixedCell.FixedColColor = cbColorFixedCol->Selected();
        Gr->Invalidate();
    });
    chGroupFields->OnClick = guard([this] {
        Gr->OptionsEx2().Groups.Active = chGroupFields->Checked();
        Gr->LayoutChanged();
        Gr->Invalidate();
    });
    btGroupSettings->OnClick = guard([this] {
        if (DBGridPropsHooks().FieldsGroups)
            DBGridPropsHooks().FieldsGroups(Gr);
        FLoading = true;
        chGroupFields->SetChecked(Gr->OptionsEx2().Groups.Active);
        FLoading = false;
    });
    chShowMemoContent->OnClick = guard([this] {
        Gr->OptionsEx2().Editors.Memo = chShowMemoContent->Checked() ? obtContent : obtGlyph;
        Gr->Invalidate();
    });
    btDefault->OnClick = guard([this] {
        if (DlgQ(gdlgtxt::ResetToDefaultQuestion) == mrYes)
            SetDefault();
    });
}

void TrDBGridPropsForm::LineChange()
{
    const bool dot = chRowLineDot->Checked();
    TOptionsAppearance& ap = Gr->OptionsEx2().Appearance;
    ap.DataRowLineStyle = dot ? psDot : psSolid;
    // The box's stand-in colour for "no line colour" stays "none" on solid lines.
    const TColor col = cbColorDataLine->Selected();
    ap.DataRowLineColor = !dot && col == TColor(0xF0F0F0) ? clNone : col;
    Gr->Invalidate();
}

void TrDBGridPropsForm::AdjustVisibility(bool ShowColumns, bool ShowCellConditions, bool ShowFilters, bool ShowStyles)
{
    const TrDBGridPropsCfg& cfg = ParioCompConfig.rDBGridPropsCfg;
    const TrDBGridPropsHooks& h = DBGridPropsHooks();
    gbColumns->SetVisible(ShowColumns);
    btColumn->SetVisible(ShowColumns && bool(h.ChooseFields));
    const bool cond = ShowCellConditions && !cfg.HideCellParams && h.GetCellConditionActive && h.SetCellConditionActive;
    chColorRec->SetVisible(cond);
    btColorRec->SetVisible(cond && bool(h.CellParams));
    chTitleFilterBtn->SetVisible(ShowFilters && !cfg.HideTitleFilterBtn);
    chTitleFilterBar->SetVisible(ShowFilters && !cfg.HideTitleFilterText);
    chFilterPanel->SetVisible(ShowFilters);
    const bool groups = TParioCompConfig::GetConfig_OnOffAuto(cfg.HideTitleGroups, Gr && Gr->FieldsGroups.Count() > 0);
    chGroupFields->SetVisible(groups);
    btGroupSettings->SetVisible(groups && bool(h.FieldsGroups));
    const bool contents = Gr && (Gr->OptionsEx2().Editors.Memo == obtContent || Gr->OptionsEx2().Editors.Graphic == obtContent);
    lRowLines->SetVisible(contents);
    eRowLines->SetVisible(contents);
    lStyle->SetVisible(ShowStyles && !cfg.HideGridStyles);
    cbStyle->SetVisible(ShowStyles && !cfg.HideGridStyles);
}

void TrDBGridPropsForm::FormShow()
{
    if (!Gr)
        return;
    FLoading = true;
    QStringList styles;
    LoadGridLookStyleList(styles);
    cbStyle->SetItems(styles);
    cbStyle->SetItemIndex(int(Gr->GridLookStyle()));
    chRowLines->SetChecked(Gr->Options() & dgRowLines);
    chRowLineDot->SetChecked(Gr->OptionsEx2().Appearance.DataRowLineStyle == psDot);
    if (DBGridPropsHooks().GetCellConditionActive)
        chColorRec->SetChecked(DBGridPropsHooks().GetCellConditionActive(Gr));
    eRowLines->SetAsInteger(Gr->RowLines());
    eTitleLines->SetAsInteger(Gr->TitleLines());
    eFixedCols->SetAsInteger(Gr->GetFixedCols());
    chGroupFields->SetChecked(Gr->OptionsEx2().Groups.Active);
    chShowMemoContent->SetChecked(Gr->OptionsEx2().Editors.Memo == obtContent);
    FLoading = false;
    LoadColors();
    SetAll();
}

void TrDBGridPropsForm::LoadColors()
{
    FLoading = true;
    const TOptionsAppearance& ap = Gr->OptionsEx2().Appearance;
    cbColorDataLine->SetSelected(ap.DataRowLineColor == clNone ? TColor(0xF0F0F0) : ap.DataRowLineColor);
    chColorActiveRow->SetChecked(Gr->ColorActiveRow() != clNone);
    cbColorActiveRow->SetSelected(Gr->ColorActiveRow());
    chActiveRowGradient->SetChecked(ap.ActiveRowGradient);
    chColoredOdd->SetChecked(ap.DrawColoredRow);
    cbColorOdd->SetSelected(Gr->ColorOddRow());
    chFontFiltered->SetChecked(Gr->FontColorFiltered() != clNone);
    cbColorFiltered->SetSelected(Gr->FontColorFiltered());
    chGradient->SetChecked(Gr->DrawingStyle() == grids::gdsGradient);
    pGradFrom->SetColor(Gr->GradientStartColor);
    pGradTo->SetColor(Gr->GradientEndColor);
    chTitleFilterBtn->SetChecked(Gr->OptionsEx2().Filters.FunnelBtn);
    chTitleFilterBar->SetChecked(Gr->OptionsEx2().Filters.TextBar);
    chFilterPanel->SetChecked(Gr->OptionsEx2().Filters.FilterPanel);
    cbColorFixedCol->SetSelected(Gr->OptionsEx2().FixedCell.FixedColColor);
    FLoading = false;
}

void TrDBGridPropsForm::SetAll()
{
    FLoading = true;
    cbColorActiveRow->SetEnabled(chColorActiveRow->Checked());
    chActiveRowGradient->SetEnabled(chColorActiveRow->Checked());
    cbColorOdd->SetEnabled(chColoredOdd->Checked());
    cbAutoWidth->SetChecked(Gr->ColumnWidth() == cwAutoWidth);
    cbSameWidth->SetChecked(Gr->ColumnWidth() == cwSameWidth);
    FLoading = false;
}

void TrDBGridPropsForm::SetDefault()
{
    Gr->RestoreColumnsWidth(true, true);
    // The form's savers leave this grid's settings alone when the form closes.
    TComponent* o = Gr->Owner();
    while (o && !dynamic_cast<TCustomForm*>(o))
        o = o->Owner();
    if (o) {
        for (int i = 0; i < o->ComponentCount(); ++i)
            if (auto* s = dynamic_cast<TCustomPropSave*>(o->Components(i)))
                s->DisableComponents.push_back(Gr);
    }
    if (ParioCompConfig.rDBFieldsCfg.OnSetDefaultGridColumns)
        ParioCompConfig.rDBFieldsCfg.OnSetDefaultGridColumns(Gr);
    SetModalResult(mrClose);
}

void DBGridProperties(TrDBGrid* Grid, bool ShowColumns, bool ShowCellConditions, bool ShowFilters, bool ShowStyles)
{
    if (!Grid)
        return;
    TrDBGridPropsForm f(GetActiveOwner());
    f.Gr = Grid;
    f.AdjustVisibility(ShowColumns, ShowCellConditions, ShowFilters, ShowStyles);
    f.ShowModal();
}
