#include "app/vrkMainGlyphs.h"

#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"

namespace {

struct TGlyphLook {
    TColor Color;
    const char16_t* Sign;
};

// In TMainGlyph order: a coloured disc with the command's sign.
constexpr TGlyphLook Looks[mgCount] = {
    {0x996633, u"\u270E"}, {0x208020, u"+"},      {0x2020C0, u"\u2715"}, {0x808080, u"T"},
    {0xA06000, u"\u21BB"}, {0x404040, u"\u2399"}, {0x800080, u"\u21C4"}, {0x006080, u"\u2713"},
    {0x208020, u"\u25B6"}, {0x2020C0, u"\u25A0"}, {0x008000, u"\u2714"}, {0x996633, u"\u270E"},
    {0x208020, u"+"},      {0xA06000, u"\u21BB"}, {0x505050, u"\u2699"}, {0x000000, u"\u25A6"},
    {0x606060, u"\u2212"}, {0x606060, u"+"},      {0x505050, u"\u2699"},
};

void Draw(TBitmap& B, const TGlyphLook& Look)
{
    TCanvas* c = B.Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(TRect(0, 0, 24, 24));
    c->Brush()->SetColor(Look.Color);
    c->Pen()->SetColor(Look.Color);
    c->Ellipse(1, 1, 23, 23);
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(clWhite);
    c->Font()->SetStyle(fsBold);
    c->Font()->SetHeight(-14);
    const QString s = QString::fromUtf16(Look.Sign);
    c->TextOut(12 - c->TextWidth(s) / 2, 12 - c->TextHeight(s) / 2, s);
}

}  // namespace

TImageList* MakeMainGlyphs(TComponent* Owner)
{
    auto* list = new TImageList(Owner);
    list->SetSize(24, 24);
    auto add = [list](const TGlyphLook& Look) {
        TBitmap b;
        b.SetSize(24, 24);
        Draw(b, Look);
        list->AddMasked(&b, clFuchsia);
    };
    for (const TGlyphLook& look : Looks)
        add(look);
    for (const TGlyphLook& look : Looks)
        add({0xB4B4B4, look.Sign});
    return list;
}
