#include "results/DialogPictures.h"

#include "components/grid/rDBGrid.h"
#include "platform/database/DataSet.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Graphics.h"

#include <memory>

namespace {
const QString ChipTypeField = QStringLiteral("CHIP_TYPE");
}

TImage* StatusPicture(TComponent* Owner, TWinControl* Parent, int Left, int Top, TColor Color, const QString& Sign)
{
    auto* img = new TImage(Owner);
    img->SetParent(Parent);
    img->SetBounds(Left, Top, 22, 22);
    TBitmap bmp;
    bmp.SetSize(22, 22);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, 22, 22));
    c->Brush()->SetColor(Color);
    c->Pen()->SetColor(Color);
    c->Ellipse(1, 1, 21, 21);
    c->Font()->SetColor(clWhite);
    c->Font()->SetStyle(fsBold);
    c->Font()->SetSize(10);
    c->Brush()->SetStyle(bsClear);
    const int w = c->TextWidth(Sign);
    c->TextOut((22 - w) / 2, 3, Sign);
    img->Picture()->AssignBitmap(&bmp);
    img->Hide();
    return img;
}

TBitmap* CardRegisterBitmap()
{
    static std::unique_ptr<TBitmap> bmp;
    if (!bmp) {
        bmp = std::make_unique<TBitmap>();
        bmp->SetSize(18, 13);
        TCanvas* c = bmp->Canvas();
        c->Brush()->SetColor(clWhite);
        c->FillRect(TRect(0, 0, 18, 13));
        // a card with its chip, in the register's own colour
        c->Brush()->SetColor(RGB(255, 214, 120));
        c->Pen()->SetColor(RGB(150, 100, 20));
        c->RoundRect(0, 0, 18, 13, 4, 4);
        c->Brush()->SetColor(RGB(150, 100, 20));
        c->FillRect(TRect(3, 4, 8, 9));
    }
    return bmp.get();
}

void AddCardRegisterColumn(TrDBGrid* Grid)
{
    TColumn* c = Grid->Columns()->Add();
    c->SetFieldName(ChipTypeField);
    c->Title()->SetCaption(QString());
    c->SetWidth(24);
    c->SetIndex(0);
    // drawn over the finished cell: the grid paints its own content last
    Grid->OnDrawColumnCellEnd = [Grid](TComponent*, const TRect& Rect, int, TColumn* Column, TGridDrawState State) {
        DrawCardRegisterCell(Grid, Rect, Column, State);
    };
}

bool DrawCardRegisterCell(TrDBGrid* Grid, const TRect& Rect, TColumn* Column, TGridDrawState)
{
    if (!Column || Column->FieldName() != ChipTypeField)
        return false;
    TCanvas* c = Grid->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(Rect);
    TDataSet* d = Grid->DataSource() ? Grid->DataSource()->DataSet() : nullptr;
    TField* f = d ? d->FindField(ChipTypeField) : nullptr;
    if (f && f->AsString() == QStringLiteral("2"))
        Grid->DrawBMPInCell(Rect, CardRegisterBitmap());
    return true;
}
