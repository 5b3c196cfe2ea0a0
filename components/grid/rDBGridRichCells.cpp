// Cells that show more than a line of text: rich text (RTF) rendered by a
// hidden rich edit, pictures drawn from the field, the memo and picture
// dialogs a double click opens, and the text of a cell's hint.

#include "components/grid/rDBGrid.h"

#include "components/base/rRichEdit.h"
#include "components/base/rpictool.h"
#include "components/grid/rDBGridCellForms.h"
#include "components/grid/TPropSaveMain.h"
#include "platform/database/Fields.h"
#include "components/base/rdlg.h"
#include "platform/ui/MouseCursor.h"
#include "platform/ui/FormIcon.h"
#include "platform/ui/PictureCodec.h"
#include "resources/GridDialogTexts.h"

namespace {

// The grid's hidden renderer of RTF texts (painting and hints), made on first
// use and living with the grid.
TrRichEdit* MakeHiddenRichEdit(TrDBGrid* Grid)
{
    auto* r = new TrRichEdit(Grid);
    r->SetParent(Grid);
    r->SetVisible(false);
    r->SetBorderStyle(bsNone);
    return r;
}

}  // namespace

bool TrDBGrid::IsRichTextEx(TField* Field)
{
    bool v = Field && FieldsAsRichText.Count() > 0 && FieldsAsRichText.IndexOf(Field->FieldName()) >= 0 && IsMemoEx(Field, false);
    DoGeneralEventFieldBool(geIsRichEdit, Field, v);
    return v;
}

void TrDBGrid::DrawRichText(const TRect& Rect, const QString& Text, TColor Color)
{
    if (!FRichText)
        FRichText = MakeHiddenRichEdit(this);
    TCanvas* c = Canvas();
    FRichText->SetColor(Color == clNone ? c->Brush()->Color() : Color);
    FRichText->SetRtfText(Text);
    TRect r = ::Rect(Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1);
    int offset = 0;
    if (FRowVerticalAlign != taAlignTop) {
        TRect m = r;
        FRichText->CalculateTextHeight(m);
        const int spare = r.Height() - m.Height();
        if (spare > 0)
            offset = FRowVerticalAlign == taAlignBottom ? spare : spare / 2;
    }
    // A negative source offset moves the content down.
    FRichText->DrawToCanvas(r, 0, -offset, c, false);
}

void TrDBGrid::DrawCellBmp(TRect Rect, TBitmap* Bitmap, bool Resize, const QString& Alignment)
{
    if (!Bitmap || Bitmap->Width() <= 0)
        return;
    // 1. Shrunk (never enlarged) to the cell.
    if (Resize) {
        const bool transparent = Bitmap->Transparent();
        SmoothResizeBitmap(Bitmap, Rect.Width(), Rect.Height(), false);
        Bitmap->SetTransparent(transparent);
    }
    // 2. Left or right.
    const QString a = Alignment.left(1).toUpper();
    if (a == QLatin1String("L"))
        Rect.Right = Rect.Left + Bitmap->Width();
    else if (a == QLatin1String("R"))
        Rect.Left = Rect.Right - Bitmap->Width();
    // 3. Tall rows keep the picture at the row's vertical alignment.
    if ((FRowLines > 1 || FRowFixHeight > 0) && FRowVerticalAlign != taVerticalCenter && Bitmap->Height() + 4 < Rect.Height()) {
        if (FRowVerticalAlign == taAlignTop)
            Rect.Bottom = Rect.Top + Bitmap->Height() + 4;
        else
            Rect.Top = Rect.Bottom - Bitmap->Height() - 4;
    }
    DrawBMPInCell(Rect, Bitmap);
}

bool TrDBGrid::DrawPictureContent(const TRect& Rect, TField* Field)
{
    TBitmap bmp;
    bmp.SetTransparent(false);
    if (!IsGraphicTypeValid(ReadBitmapFromField(Field, &bmp)))
        return false;
    DrawCellBmp(::Rect(Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1), &bmp, true, QString());
    return true;
}

// ---- dialogs -----------------------------------------------------------------------------------

namespace {

QString DialogName(TrDBGrid* Grid, const QString& Suffix)
{
    const QString parent = Grid->Parent() ? Grid->Parent()->Name() : QString();
    return parent + QLatin1Char('_') + Grid->Name() + Suffix;
}

}  // namespace

// The cell dialogs carry the cell's glyph as their icon and open over the
// grid's top-left corner (a stored position, read afterwards, wins).
void TrDBGrid::PrepareCellDialog(TCustomForm& Form, int GlyphIndex)
{
    if (const TBitmap* glyph = rGlyphs.BmpFromIndex(GlyphIndex, FScaleRatio, FCustomGlyphs)) {
        TIcon icon;
        ConvertBmpToIco(glyph, &icon, 16);
        SetFormIcon(&Form, &icon);
    }
    Form.SetPosition(poDesigned);
    const TPoint origin = ClientOrigin();
    Form.SetLeft(origin.X - 10);
    Form.SetTop(origin.Y - 10);
}

void TrDBGrid::ShowMemo(TField* Field)
{
    // 1. A window may open its own dialog.
    if (!Field || !DoGeneralEventField(geShowMemoDialog, Field))
        return;
    // 2-4.
    SetSelectedField(Field);
    TrDBGridMemoForm f(this);
    f.SetName(DialogName(this, QStringLiteral("_MemoForm")));
    PrepareCellDialog(f, TrGlyphsRec::MemoIndex(false, FGlyphLookStyle));
    f.SetCaption(Field->DisplayLabel());
    f.IsEdit = CanEdit();
    f.IsRichEdit = IsRichTextEx(Field);
    f.Text = Field->AsString();
    f.LinkPropSaveFile(PropSaveFile());
    f.DlgPropSave->ReadProperties();
    const int result = f.ShowModal();
    f.DlgPropSave->SaveProperties();
    // 5. The text goes back only from "Ok".
    if (result == mrOk && f.IsEdit) {
        TDataSet* ds = Field->DataSet();
        if (ds->State() != dsEdit && ds->State() != dsInsert)
            ds->Edit();
        Field->SetAsString(f.Text);
        if (InplaceEditor())
            InvalidateEditor();
        Invalidate();
    }
}

void TrDBGrid::ShowGraphic(TField* Field)
{
    if (!Field || !DoGeneralEventField(geShowGraphicDialog, Field))
        return;
    try {
        SetSelectedField(Field);
        TrDBGridGraphicForm f(this);
        f.SetName(DialogName(this, QStringLiteral("_GraphicForm")));
        PrepareCellDialog(f, TrGlyphsRec::PictureIndex(false, FGlyphLookStyle));
        f.SetCaption(Field->DisplayLabel());
        f.IsEdit = CanEdit();
        f.Field = Field;
        f.Source = DataSource();
        f.LinkPropSaveFile(PropSaveFile());
        f.DlgPropSave->ReadProperties();
        f.ShowModal();
        f.DlgPropSave->SaveProperties();
        Invalidate();
    } catch (const Exception& E) {
        DlgE(E.Message());
    }
}

QString GetPictureHint(const TField* Field)
{
    TPicture p;
    const TrGraphicType t = ReadPictureFromField(Field, &p);
    if (t == gtNoPicture)
        return gdlgtxt::PictureEmpty;
    if (!IsGraphicTypeValid(t))
        return gdlgtxt::PictureCorrupted;
    QString hint = GraphicTypeLabel(t) + QStringLiteral(": %1 x %2").arg(p.Width()).arg(p.Height());
    // The library's HTML hint window shows the picture itself.
    if (TPicture* shown = ParioCompConfig.Global_HTMLHintPicture) {
        shown->Assign(&p);
        hint += QStringLiteral("<<HINTIMG>>");
    }
    return hint;
}

// ---- hint text ----------------------------------------------------------------------------------

bool TrDBGrid::GetMouseOverCellHint(TColumn*& Column, QString& HintText, bool& ForceShow)
{
    const TPoint p = ScreenToClient(MouseCursorPos());
    return CellHintAt(MouseCoordEx(p.X, p.Y), Column, HintText, ForceShow);
}

bool TrDBGrid::CellHintAt(const TGridCoord& C, TColumn*& Column, QString& HintText, bool& ForceShow)
{
    Column = nullptr;
    HintText.clear();
    ForceShow = false;
    if (!IsActive())
        return false;
    TDataSet* ds = DataSet();
    const int saved = ds->ActiveRecordOverride();
    try {
        // 2.
        Column = C.X > FixCol() ? ColumnAt(C.X) : nullptr;
        if (!Column)
            return false;
        TField* f = Column->Field();
        if (C.Y == -2) {
            // 3. The footer text, "|" as line breaks.
            HintText = FFooterRow.GetFooterText(f).replace(QLatin1Char('|'), QStringLiteral("\r\n"));
        } else if (C.Y == TitleRow()) {
            HintText = GetTitleText(Column);
        } else if (C.Y > TitleRow() && f && C.Y - TitleOffset() < DataLink()->RecordCount()) {
            // 5. The hovered row's record, restored below in every case.
            DataLink()->SetActiveRecord(C.Y - TitleOffset());
            if (IsGraphicEx(f)) {
                HintText = GetPictureHint(f);
                ForceShow = true;
            } else if (IsRichTextEx(f)) {
                if (!f->AsString().isEmpty()) {
                    // The library's HTML hint window renders the RTF itself.
                    if (ParioCompConfig.Global_HTMLHintComponent) {
                        HintText = f->AsString() + QStringLiteral("<<HINTRICHTEXT>>");
                    } else {
                        if (!FRichText)
                            FRichText = MakeHiddenRichEdit(this);
                        FRichText->SetRtfText(f->AsString());
                        HintText = FRichText->Text();
                    }
                    ForceShow = true;
                }
            } else if (IsMemoEx(f, false)) {
                HintText = f->AsString();
                ForceShow = true;
            } else if (!(FOptionsEx2.Groups.Active && GetGroupMasterCellContent(f, HintText))) {
                HintText = f->DisplayText();
            }
        }
    } catch (...) {
        HintText.clear();
    }
    ds->SetActiveRecordOverride(saved);
    // 6. Long texts are cut.
    const int maxLen = FOptionsEx2.Appearance.HintMaxLength;
    if (maxLen > 0 && HintText.size() > maxLen) {
        HintText = HintText.left(maxLen) + QStringLiteral("...");
        ForceShow = true;
    }
    return !HintText.isEmpty();
}
