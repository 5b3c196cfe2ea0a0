// The spreadsheet export's colours and conditional formats: column colours
// and fonts of the grid, the cell colours the library grid paints, colour
// values, and data bars, colour scales and icon sets from the grid's own
// bar settings.

#include "components/base/rpictool.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rdbtool.h"
#include "components/output/GridSelection.h"
#include "components/output/TrXLSExport.h"
#include "components/stringgrid/rStringGridEd.h"
#include "components/stringgrid/rStringGridEdColumn.h"
#include "platform/ui/DBGrids.h"

namespace {

uint32_t Rgb(TColor C)
{
    return XlsRgb(C);
}

}  // namespace

int TrXLSExport::FieldKind(TField* F)
{
    int kind = 0;
    if (auto* g = dynamic_cast<TrDBGrid*>(DBGrid); g && F) {
        if (g->IsGraphicEx(F))
            kind = 1;
        else if (g->IsColorEx(F))
            kind = 2;
        else if (g->IsDataBarEx(F))
            kind = 3;
        else if (g->IsStatusBarEx(F))
            kind = 5;
    }
    if (kind == 0 && F && IsGraphicField(F))
        kind = 1;
    if (OnGetFieldType)
        OnGetFieldType(this, F, kind);
    return kind;
}

void TrXLSExport::CellColors(const TExportColumn& C, TXlsxFormat& F, bool& HideText)
{
    HideText = false;
    // plain mode: a colour other than the window's, a bold font
    auto plain = [&](TColor Background, const TFont& Font) {
        if (Has(xleSetBkColor) && ColorToRGB(Background) != ColorToRGB(clWindow))
            F.BgColor = Rgb(Background);
        if (Has(xleSetFontColor) && ColorToRGB(Font.Color()) != ColorToRGB(clWindowText))
            F.FontColor = Rgb(Font.Color());
        if (Has(xleSetFontColor) && (Font.Style() & fsBold))
            F.Bold = true;
    };
    if (Has(xleUseColumnsColor))
        if (TColumn* col = ColumnOf(C.Field))
            plain(col->Color(), *col->Font());
    auto* g = dynamic_cast<TrDBGrid*>(DBGrid);
    if (Has(xleUseCellsColor) && g && C.Field) {
        TFont font;
        font.Assign(*g->Font());
        TColor bg = g->Color();
        TDataImageDef image;
        GetOutputCellParams(g, C.Field, &font, bg, image);
        plain(bg, font);
    }
    if (TrStringGridEd* sg = StringGridEd(); sg && !C.Field && C.Col >= 0) {
        TrStringGridEdColumn* col = sg->ColumnOf(C.Col);
        if (Has(xleUseColumnsColor) && col)
            plain(col->Color(), *col->Font());
        if (Has(xleUseCellsColor)) {
            // the grid's own cell style: column, changed and invalid cells, its events
            TBitmap canvas(1, 1);
            sg->GetCellStyle(C.Col, RecIdx, canvas.Canvas());
            plain(canvas.Canvas()->Brush()->Color(), *canvas.Canvas()->Font());
        }
        if (Has(xleUseCellValueColor) && sg->GetEditStyleEx(C.Col, RecIdx) == sgbDropDownColor) {
            const TColor v = StringToColor(sg->Cells(C.Col, RecIdx));
            if (!sg->Cells(C.Col, RecIdx).trimmed().isEmpty() && v != xlsDefaultColor && v != clNone) {
                if (Has(xleSetBkColor))
                    F.BgColor = Rgb(v);
                else if (Has(xleSetFontColor))
                    F.FontColor = Rgb(v);
                HideText = Has(xleHideText);
            }
        }
    }
    if (Has(xleUseCellValueColor) && C.Field && !C.Field->IsNull() && FieldKind(C.Field) == 2) {
        const TColor v = StringToColor(C.Field->AsString());
        if (v != xlsDefaultColor && v != clNone) {
            if (Has(xleSetBkColor))
                F.BgColor = Rgb(v);
            else if (Has(xleSetFontColor))
                F.FontColor = Rgb(v);
            HideText = Has(xleHideText);
        }
    }
}

namespace {

TXlsxConditional Over(int Col, int FirstRow, int LastRow)
{
    TXlsxConditional c;
    c.FirstRow = FirstRow;
    c.LastRow = LastRow;
    c.Col = Col;
    return c;
}

TXlsxConditional DatabarOf(TXlsxConditional c, const TDatabarSetting& s)
{
    c.Kind = TXlsxConditional::TKind::DataBar;
    c.FixedPoints = s.MinValue != 0 || s.MaxValue != 0;
    c.MinValue = s.MinValue;
    c.MaxValue = s.MaxValue;
    c.BarColor = Rgb(s.FillColor);
    c.BarBorderColor = Rgb(s.BorderColor);
    c.ShowValue = s.ShowValue;
    return c;
}

TXlsxConditional ColorScaleOf(TXlsxConditional c, const TColorScaleSetting& s)
{
    c.Kind = TXlsxConditional::TKind::ColorScale;
    c.UseMid = s.UseMidValue;
    c.FixedPoints = s.MinValue != 0 || s.MaxValue != 0;
    c.MinValue = s.MinValue;
    c.MidValue = s.MidValue;
    c.MaxValue = s.MaxValue;
    c.MinColor = Rgb(s.MinColor);
    c.MidColor = Rgb(s.MidColor);
    c.MaxColor = Rgb(s.MaxColor);
    return c;
}

TXlsxConditional IconSetOf(TXlsxConditional c, const TIconSetSetting& s)
{
    c.Kind = TXlsxConditional::TKind::IconSet;
    c.IconSetType = s.IconSetType;
    c.IconsOnly = s.ShowIconOnly;
    if (s.UseThresholds) {
        // criteria 2 to the set's last icon: 4 ratings have four icons, the others five, the default three
        const int icons = s.IconSetType == 12 ? 4 : (s.IconSetType == 16 || s.IconSetType == 17 ? 5 : 3);
        c.Thresholds.assign(s.ThresholdValues, s.ThresholdValues + (icons - 1));
    }
    return c;
}

}  // namespace

void TrXLSExport::DatabarCells(int Col, int FirstRow, int LastRow, const TDatabarSetting& Setting)
{
    Guard([&] { Target()->AddConditional(DatabarOf(Over(Col - 1, FirstRow - 1, LastRow - 1), Setting)); });
}

void TrXLSExport::ColorScaleCells(int Col, int FirstRow, int LastRow, const TColorScaleSetting& Setting)
{
    Guard([&] { Target()->AddConditional(ColorScaleOf(Over(Col - 1, FirstRow - 1, LastRow - 1), Setting)); });
}

void TrXLSExport::IconSetCells(int Col, int FirstRow, int LastRow, const TIconSetSetting& Setting)
{
    Guard([&] { Target()->AddConditional(IconSetOf(Over(Col - 1, FirstRow - 1, LastRow - 1), Setting)); });
}

void TrXLSExport::AddConditionalFormats()
{
    auto* g = dynamic_cast<TrDBGrid*>(DBGrid);
    for (int i = 0; i < int(FN.size()); ++i) {
        TField* f = FN[size_t(i)].Field;
        if (!f)
            continue;
        const int kind = FieldKind(f);
        const TXlsxConditional c = Over(FStartCol - 1 + i, FFirstDataRow, FRow - 1);
        if (kind == 3) {
            TDatabarSetting s;
            TrDataBarText text = dbtValue;
            TColor to = clNone;
            if (g)
                g->Fields_GetDataBarSettings(f->FieldName(), s.MinValue, s.MaxValue, text, s.FillColor, to);
            s.ShowValue = text != dbtNothing;
            if (OnPrepareDatabarEvent)
                OnPrepareDatabarEvent(this, f, s);
            FSheet->AddConditional(DatabarOf(c, s));
        } else if (kind == 4) {
            TColorScaleSetting s;
            if (OnPrepareColorScaleEvent)
                OnPrepareColorScaleEvent(this, f, s);
            FSheet->AddConditional(ColorScaleOf(c, s));
        } else if (kind == 5) {
            TIconSetSetting s;
            int steps = 0;
            TrStatusBarType type = sbtProgressBar;
            TColor all = clNone, done = clNone;
            if (g && g->Fields_GetStatusBarSettings(f->FieldName(), steps, type, all, done))
                s.IconSetType = type == sbtSignalStrength ? (steps >= 5 ? 16 : 12) : 17;
            if (OnPrepareIconSetEvent)
                OnPrepareIconSetEvent(this, f, s);
            FSheet->AddConditional(IconSetOf(c, s));
        }
    }
}
