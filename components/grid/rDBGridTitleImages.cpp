// Images and buttons in the column titles: which image or buttons a field
// has (TitleImages, TitleButtons and the general event), where they sit in
// the title, which button lies under a point, and their drawing; the title
// hints by field name.

#include "components/grid/rDBGrid.h"

#include "platform/database/Fields.h"
#include "platform/ui/ImgList.h"

namespace {

int ToIndex(const QString& S)
{
    bool ok = false;
    const int v = S.trimmed().toInt(&ok);
    return ok ? v : -1;
}

}  // namespace

bool TrDBGrid::GetTitleImageIndex(TField* Field, int& Index)
{
    Index = -1;
    if (Field && FTitleImageList && TitleImages.IndexOfName(Field->FieldName()) >= 0) {
        Index = ToIndex(TitleImages.Values(Field->FieldName()));
        if (Index >= FTitleImageList->Count())
            Index = -1;
    }
    QVariant v(Index);
    if (DoGeneralEventParam(geGetTitleImageIndex, nullptr, v, nullptr, Field))
        Index = v.toInt();
    return Index >= 0;
}

bool TrDBGrid::IsTitleImageEx(TField* Field)
{
    int i = -1;
    return Field && GetTitleImageIndex(Field, i);
}

int TrDBGrid::GetTitleImageWidth(TField* Field, bool WithSpace)
{
    if (!IsTitleImageEx(Field))
        return 0;
    return FTitleImageList->Width() + (WithSpace ? UseScale(FOptionsEx2.FixedCell.TitleImageSpace) : 0);
}

int TrDBGrid::GetTitleButtonIndexes(TField* Field)
{
    // The indexes of the last field asked for are kept.
    if (Field && Field == FTitleButtonField)
        return int(FTitleButtonIdx.size());
    FTitleButtonIdx.clear();
    FTitleButtonField = Field;
    QVariant text(Field && FTitleImageList ? TitleButtons.Values(Field->FieldName()) : QString());
    DoGeneralEventParam(geGetTitleButtonList, nullptr, text, nullptr, Field);
    if (!FTitleImageList)
        return 0;
    for (const QString& part : text.toString().split(QLatin1Char(','))) {
        const int i = ToIndex(part);
        if (i >= 0 && i < FTitleImageList->Count())
            FTitleButtonIdx.push_back(i);
    }
    return int(FTitleButtonIdx.size());
}

int TrDBGrid::GetTitleButtonsWidth(TField* Field, bool WithMargins)
{
    const int n = GetTitleButtonIndexes(Field);
    if (n <= 0)
        return 0;
    const int space = UseScale(FOptionsEx2.FixedCell.TitleImageSpace);
    return n * FTitleImageList->Width() + (n - 1) * space + (WithMargins ? 2 * space + 2 : 0);
}

bool TrDBGrid::GetTitleButtonsRect(int ColIndex, TRect& R, bool FromTitleRect)
{
    TColumn* column = ColIndex > FixCol() ? ColumnAt(ColIndex) : nullptr;
    TField* f = column ? column->Field() : nullptr;
    if (!f || GetTitleButtonsWidth(f, false) <= 0)
        return false;
    if (FromTitleRect)
        R = TitleRectToTextRect(R);
    const int w = GetTitleButtonsWidth(f, false);
    if (!column->Title()->Caption().isEmpty())
        R.Left += UseScale(FOptionsEx2.FixedCell.TitleImageSpace) + 2;
    else
        R.Left += (R.Width() - w) / 2;
    R.Right = R.Left + w;
    const int ih = FTitleImageList->Height();
    R.Top += (R.Height() - ih) / 2;
    R.Bottom = R.Top + ih;
    return true;
}

bool TrDBGrid::PointInTitleButtonsRect(int ColIndex, TRect R, int& ButtonIndex, const TPoint& P)
{
    ButtonIndex = -1;
    if (!GetTitleButtonsRect(ColIndex, R, true) || !R.Contains(P))
        return false;
    const int iw = FTitleImageList->Width();
    const int step = iw + UseScale(FOptionsEx2.FixedCell.TitleImageSpace);
    for (int k = 0; k < int(FTitleButtonIdx.size()); ++k) {
        const int left = R.Left + k * step;
        if (P.X >= left && P.X < left + iw) {
            ButtonIndex = k;
            break;
        }
    }
    return true;
}

int TrDBGrid::Title_GetImageIndex(const QString& FieldName) const
{
    return TitleImages.IndexOfName(FieldName) >= 0 ? ToIndex(TitleImages.Values(FieldName)) : -1;
}

void TrDBGrid::Title_SetImageIndex(const QString& FieldName, int ImageIndex)
{
    if (FieldName.trimmed().isEmpty())
        return;
    if (ImageIndex < 0) {
        const int i = TitleImages.IndexOfName(FieldName);
        if (i >= 0)
            TitleImages.Delete(i);
    } else {
        TitleImages.SetValues(FieldName, QString::number(ImageIndex));
    }
    Invalidate();
}

QString TrDBGrid::Title_GetHint(const QString& FieldName) const
{
    return TitleHints.Values(FieldName);
}

void TrDBGrid::Title_SetHint(const QString& FieldName, const QString& Hint)
{
    if (!FieldName.trimmed().isEmpty())
        TitleHints.SetValues(FieldName, Hint);
}

// ---- drawing ------------------------------------------------------------------------------

void TrDBGrid::ReserveTitleImages(TColumn* Column, TRect& T, bool& ShowImage)
{
    TField* f = Column->Field();
    ShowImage = false;
    if (!f || !FTitleImageList)
        return;
    T.Left += GetTitleButtonsWidth(f, true);
    // The image only when the title keeps room for some text.
    const int iw = GetTitleImageWidth(f, true);
    if (iw > 0 && T.Width() - iw >= UseScale(FOptionsEx2.FixedCell.TitleTextMinWidth)) {
        ShowImage = true;
        T.Left += iw;
    }
}

void TrDBGrid::DrawListImage(TCustomImageList* List, int Index, const TRect& R)
{
    TBitmap b(List->Width(), List->Height());
    b.Canvas()->Brush()->SetColor(clBtnFace);
    b.Canvas()->FillRect(Rect(0, 0, List->Width(), List->Height()));
    b.SetTransparent(List->Tag == 0);
    List->GetBitmap(Index, &b);
    DrawBMPInCell(R, &b);
}

void TrDBGrid::DrawTitleImages(TColumn* Column, const TRect& T, bool ShowImage, const QString& Title)
{
    TField* f = Column->Field();
    if (!f || !FTitleImageList)
        return;
    const int space = UseScale(FOptionsEx2.FixedCell.TitleImageSpace);
    const int iw = FTitleImageList->Width();
    // The buttons from the left of the title.
    TRect r = CellRect(DataToRawColumn(Column->Index()), 0);
    if (GetTitleButtonsRect(DataToRawColumn(Column->Index()), r, true)) {
        for (size_t k = 0; k < FTitleButtonIdx.size(); ++k) {
            const TRect b = Rect(r.Left + int(k) * (iw + space), r.Top, r.Left + int(k) * (iw + space) + iw, r.Bottom);
            DrawListImage(FTitleImageList, FTitleButtonIdx[k], b);
        }
    }
    // The image follows the text's left edge (a centred title keeps it close).
    int index = -1;
    if (!ShowImage || !GetTitleImageIndex(f, index))
        return;
    int textW = 0;
    for (const QString& line : Title.split(QStringLiteral("\r\n")))
        textW = std::max(textW, Canvas()->TextWidth(line));
    int textLeft = T.Left;
    if (Column->Title()->Alignment() == taCenter)
        textLeft = T.Left + std::max(0, (T.Width() - textW) / 2);
    else if (Column->Title()->Alignment() == taRightJustify)
        textLeft = std::max(T.Left, T.Right - textW);
    const TRect ir = Rect(textLeft - space - iw, T.Top, textLeft - space, T.Bottom);
    DrawListImage(FTitleImageList, index, ir);
}
