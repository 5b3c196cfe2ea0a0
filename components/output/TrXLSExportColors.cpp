// The spreadsheet export's colours and conditional formats: column colours
// and fonts of the grid, the cell colours the library grid paints, colour
// values, and data bars, colour scales and icon sets from the grid's own
// bar settings.

#include "components/base/rpictool.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rdbtool.h"
#include "components/output/TrXLSExport.h"
#include "platform/ui/DBGrids.h"

namespace {

uint32_t Rgb(TColor C)
{
    if (C == xlsDefaultColor || C == clNone || C == clDefault)
        return TXlsxConditional::Default;
    const uint32_t c = uint32_t(ColorToRGB(C));
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
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
        g->GetCellParams(C.Field, &font, bg, image, false, false);
        plain(bg, font);
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

void TrXLSExport::AddConditionalFormats()
{
    auto* g = dynamic_cast<TrDBGrid*>(DBGrid);
    for (int i = 0; i < int(FN.size()); ++i) {
        TField* f = FN[size_t(i)].Field;
        if (!f)
            continue;
        const int kind = FieldKind(f);
        TXlsxConditional c;
        c.FirstRow = FFirstDataRow;
        c.LastRow = FRow - 1;
        c.Col = FStartCol - 1 + i;
        if (kind == 3) {
            TDatabarSetting s;
            TrDataBarText text = dbtValue;
            TColor to = clNone;
            if (g)
                g->Fields_GetDataBarSettings(f->FieldName(), s.MinValue, s.MaxValue, text, s.FillColor, to);
            s.ShowValue = text != dbtNothing;
            if (OnPrepareDatabarEvent)
                OnPrepareDatabarEvent(this, f, s);
            c.Kind = TXlsxConditional::TKind::DataBar;
            c.FixedPoints = s.MinValue != 0 || s.MaxValue != 0;
            c.MinValue = s.MinValue;
            c.MaxValue = s.MaxValue;
            c.BarColor = Rgb(s.FillColor);
            c.BarBorderColor = Rgb(s.BorderColor);
            c.ShowValue = s.ShowValue;
        } else if (kind == 4) {
            TColorScaleSetting s;
            if (OnPrepareColorScaleEvent)
                OnPrepareColorScaleEvent(this, f, s);
            c.Kind = TXlsxConditional::TKind::ColorScale;
            c.UseMid = s.UseMidValue;
            c.FixedPoints = s.MinValue != 0 || s.MaxValue != 0;
            c.MinValue = s.MinValue;
            c.MidValue = s.MidValue;
            c.MaxValue = s.MaxValue;
            c.MinColor = Rgb(s.MinColor);
            c.MidColor = Rgb(s.MidColor);
            c.MaxColor = Rgb(s.MaxColor);
        } else if (kind == 5) {
            TIconSetSetting s;
            int steps = 0;
            TrStatusBarType type = sbtProgressBar;
            TColor all = clNone, done = clNone;
            if (g && g->Fields_GetStatusBarSettings(f->FieldName(), steps, type, all, done))
                s.IconSetType = type == sbtSignalStrength ? (steps >= 5 ? 16 : 12) : 17;
            if (OnPrepareIconSetEvent)
                OnPrepareIconSetEvent(this, f, s);
            c.Kind = TXlsxConditional::TKind::IconSet;
            c.IconSetType = s.IconSetType;
            c.IconsOnly = s.ShowIconOnly;
        } else {
            continue;
        }
        FSheet->AddConditional(c);
    }
}
