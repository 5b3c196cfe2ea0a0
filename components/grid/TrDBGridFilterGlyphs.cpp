#include "components/grid/TrDBGridFilterGlyphs.h"

#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"

#include <functional>
#include <vector>

namespace {

constexpr TColor Transparent = clFuchsia;
constexpr TColor FunnelBlue = TColor(0xB06020);  // $00BBGGRR

void AddDrawn(TImageList* L, const std::function<void(TCanvas*)>& Draw)
{
    TBitmap b;
    b.SetSize(16, 16);
    TCanvas* c = b.Canvas();
    c->Brush()->SetColor(Transparent);
    c->FillRect(TRect(0, 0, 16, 16));
    if (Draw)
        Draw(c);
    L->AddMasked(&b, Transparent);
}

void Funnel(TCanvas* C)
{
    C->Pen()->SetColor(FunnelBlue);
    C->Brush()->SetColor(TColor(0xF0C890));
    C->Polygon({TPoint{1, 2}, TPoint{12, 2}, TPoint{8, 7}, TPoint{8, 13}, TPoint{5, 11}, TPoint{5, 7}});
}

void Pencil(TCanvas* C)
{
    C->Pen()->SetColor(TColor(0x206080));
    C->Brush()->SetColor(TColor(0x40C0F0));
    C->Polygon({TPoint{14, 6}, TPoint{15, 7}, TPoint{10, 14}, TPoint{8, 15}, TPoint{9, 12}});
}

void Cross(TCanvas* C)
{
    C->Pen()->SetColor(clRed);
    C->Pen()->SetWidth(2);
    C->MoveTo(9, 9);
    C->LineTo(15, 15);
    C->MoveTo(14, 9);
    C->LineTo(8, 15);
    C->Pen()->SetWidth(1);
}

void Box(TCanvas* C)
{
    C->Pen()->SetColor(clGray);
    C->Brush()->SetColor(clWhite);
    C->Rectangle(2, 2, 14, 14);
}

void Check(TCanvas* C)
{
    Box(C);
    C->Pen()->SetColor(clGreen);
    C->Pen()->SetWidth(2);
    C->MoveTo(4, 8);
    C->LineTo(7, 11);
    C->LineTo(12, 5);
    C->Pen()->SetWidth(1);
}

void Calendar(TCanvas* C)
{
    C->Pen()->SetColor(clGray);
    C->Brush()->SetColor(clWhite);
    C->Rectangle(1, 2, 15, 15);
    C->Brush()->SetColor(TColor(0x3030C0));
    C->FillRect(TRect(2, 3, 14, 6));
    C->Brush()->SetColor(clGray);
    for (int y : {8, 11})
        for (int x : {3, 6, 9, 12})
            C->FillRect(TRect(x, y, x + 2, y + 2));
}

TImageList* NewList(TComponent* Owner)
{
    auto* l = new TImageList(Owner);
    l->SetSize(16, 16);
    return l;
}

}  // namespace

TImageList* MakeFunnelListImages(TComponent* Owner)
{
    TImageList* l = NewList(Owner);
    AddDrawn(l, [](TCanvas* C) { Funnel(C); Pencil(C); });
    AddDrawn(l, [](TCanvas* C) { Funnel(C); Cross(C); });
    AddDrawn(l, Check);
    AddDrawn(l, Box);
    return l;
}

TImageList* MakePeriodImages(TComponent* Owner)
{
    TImageList* l = NewList(Owner);
    for (int i = 0; i < PeriodImageIndex; ++i)
        AddDrawn(l, nullptr);
    AddDrawn(l, Calendar);
    return l;
}
