#include "components/base/rGlyphs.h"

#include "platform/ui/Themes.h"

#include <cmath>

const std::array<const char*, StandardGlyphCount> rResName = {
    "RDBMARKUP",        "RDBMARKDOWN",      "RDBCHECKEMPTY",    "RDBCHECKED",        "RDBMEMOEMPTY1",   "RDBMEMOEMPTY2",
    "RDBMEMOEMPTY3",    "RDBMEMO1",         "RDBMEMO2",         "RDBMEMO3",          "RDBPICTUREEMPTY1", "RDBPICTUREEMPTY2",
    "RDBPICTUREEMPTY3", "RDBPICTURE1",      "RDBPICTURE2",      "RDBPICTURE3",       "RDBTITLEEXSUM",   "RDBTITLEEXFILTERED",
    "RDBINDICBROWSE",   "RDBINDICEDIT",     "RDBINDICINSERT",   "RDBINDICREADONLY",  "RDBINDICSELECTED", "RDBINDICSELACTIVE",
    "RDBFILTERBTN",     "RDBFILTERBTNA",    "RDBFILTERBAR",     "RDBFILTERBARC",     "RBTNCBADD12",     "RBTNCBINS12",
    "RBTNFORMAT10",     "RBTNEDITWIN10",    "RBTNSEEK16",       "RBTNERASE16",       "RDBLOOKUPDETAIL12", "RDBLOOKUPSELECT12",
};

namespace {

TrGlyphsRec& GlyphStorage()
{
    static TrGlyphsRec rec;
    return rec;
}

int RoundHalfEven(double V)
{
    return int(std::nearbyint(V));
}

}  // namespace

TrGlyphsRec& rGlyphs = GlyphStorage();

void LoadStandardGlyphs()
{
    TrGlyphsRec& g = GlyphStorage();
    g.MinScaleRatioWhenResized = 1.5;
    g.ScaleRatioStepForResize = 0.5;
    g.UseStyleCheckbox = false;
    g.BmpArray.clear();
    for (int i = 0; i < StandardGlyphCount; ++i) {
        auto bmp = std::make_unique<TBitmap>();
        bmp->LoadFromResourceName(QLatin1String(rResName[size_t(i)]));
        bmp->SetTransparent(i != 2 && i != 3);
        g.BmpArray.push_back(std::move(bmp));
    }
    g.ResizedBmp = std::make_unique<TBitmap>();
    g.StyleBmp = std::make_unique<TBitmap>();
    g.StyleBmp->SetTransparent(false);
}

void FreeStandardGlyphs()
{
    TrGlyphsRec& g = GlyphStorage();
    g.BmpArray.clear();
    g.ResizedBmp.reset();
    g.StyleBmp.reset();
}

void TrGlyphsRec::EnsureLoaded()
{
    if (BmpArray.empty())
        LoadStandardGlyphs();
}

double TrGlyphsRec::RecalcScaleRatio(double ScaleRatio) const
{
    if (std::isnan(ScaleRatio) || ScaleRatio < MinScaleRatioWhenResized)
        return 1.0;
    return std::trunc(ScaleRatio / ScaleRatioStepForResize) * ScaleRatioStepForResize;
}

TBitmap* TrGlyphsRec::BmpFromIndex(int Index, double ScaleRatio, TrCustomGlyphs* CustomGlyphs)
{
    EnsureLoaded();
    TBitmap* result = CustomGlyphs ? CustomGlyphs->BitmapForIndex(Index) : nullptr;
    if (!result && ParioCompConfig.Global_CustomGlyphs)
        result = ParioCompConfig.Global_CustomGlyphs->BitmapForIndex(Index);
    if (!result && Index >= 0 && Index < StandardGlyphCount)
        result = BmpArray[size_t(Index)].get();
    if (UseStyleCheckbox && (Index == 2 || Index == 3)) {
        StyleBmp->SetSize(12, 12);
        TCanvas* c = StyleBmp->Canvas();
        c->Brush()->SetColor(clWindow);
        c->FillRect(Rect(0, 0, 12, 12));
        DrawThemedCheckBox(c, Rect(0, 0, 12, 12), Index == 3 ? cbChecked : cbUnchecked, tsNormal);
        result = StyleBmp.get();
    }
    const double f = RecalcScaleRatio(ScaleRatio);
    if (result && f > 1) {
        TBitmap* src = result;
        ResizedBmp->Clear();
        ResizedBmp->SetTransparent(false);
        ResizedBmp->SetSize(RoundHalfEven(src->Width() * f), RoundHalfEven(src->Height() * f));
        TCanvas* c = ResizedBmp->Canvas();
        // the pixels a transparent glyph leaves out keep its transparent colour,
        // so the enlarged copy leaves out the same ones
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(src->Transparent() ? src->TransparentColor() : clWhite);
        c->FillRect(Rect(0, 0, ResizedBmp->Width(), ResizedBmp->Height()));
        c->StretchDraw(Rect(0, 0, ResizedBmp->Width(), ResizedBmp->Height()), src);
        ResizedBmp->SetTransparentMode(src->TransparentMode());
        if (src->TransparentMode() == tmFixed)
            ResizedBmp->SetTransparentColor(src->TransparentColor());
        ResizedBmp->SetTransparent(src->Transparent());
        result = ResizedBmp.get();
    }
    return result;
}

int TrGlyphsRec::RecordIndicatorIndex(bool IsActiveRecord, bool IsSelected, bool IsReadOnly, TDataSetState State)
{
    if (IsActiveRecord) {
        if (State == dsEdit)
            return 19;
        if (State == dsInsert)
            return 20;
        if (IsSelected)
            return 23;
        if (IsReadOnly)
            return 21;
        return 18;
    }
    return IsSelected ? 22 : -1;
}

int TrGlyphsRec::ButtonIndex(const QString& Name)
{
    const QString name = Name.toUpper();
    int found = -1;
    for (int i = 28; i <= 35; ++i)
        if (QLatin1String(rResName[size_t(i)]).contains(name))
            found = i;
    return found;
}

int TrGlyphsRec::SortWidth(double ScaleRatio)
{
    EnsureLoaded();
    const int w = std::max(BmpArray[0]->Width(), BmpArray[1]->Width());
    return RoundHalfEven(RecalcScaleRatio(ScaleRatio) * w);
}

int TrGlyphsRec::FilterWidth(double ScaleRatio)
{
    EnsureLoaded();
    const int w = std::max(BmpArray[24]->Width(), BmpArray[25]->Width());
    return RoundHalfEven(RecalcScaleRatio(ScaleRatio) * w);
}

// ---- TrCustomGlyphs ------------------------------------------------------------------

TrCustomGlyphs::TrCustomGlyphs(TComponent* AOwner) : TComponent(AOwner)
{
    for (auto& b : FBitmaps)
        b = std::make_unique<TBitmap>();
}

TrCustomGlyphs::~TrCustomGlyphs()
{
    // the program-wide reference never outlives the component it names
    if (ParioCompConfig.Global_CustomGlyphs == this)
        ParioCompConfig.Global_CustomGlyphs = nullptr;
}

void TrCustomGlyphs::SetGlyph(TGlyph Which, const TBitmap* Value)
{
    FBitmaps[Which]->Assign(Value);
    FBitmaps[Which]->SetTransparent(true);
}

void TrCustomGlyphs::SetUseAsGlobalGlyphs(bool Value)
{
    FUseAsGlobalGlyphs = Value;
    if (Value)
        ParioCompConfig.Global_CustomGlyphs = this;
}

TBitmap* TrCustomGlyphs::BitmapForIndex(int Index) const
{
    TGlyph which;
    switch (Index) {
    case 0: which = gSortUp; break;
    case 1: which = gSortDown; break;
    case 2: which = gCheckFalse; break;
    case 3: which = gCheckTrue; break;
    case 4: case 5: case 6: which = gMemoEmpty; break;
    case 7: case 8: case 9: which = gMemo; break;
    case 10: case 11: case 12: which = gPictureEmpty; break;
    case 13: case 14: case 15: which = gPicture; break;
    case 24: which = gFilter; break;
    case 25: which = gFilterActive; break;
    case 26: which = gFilterBar; break;
    case 27: which = gFilterBarClear; break;
    case 30: which = gBtnFormat; break;
    case 31: which = gBtnEditWin; break;
    case 34: which = gBtnLookupDetail; break;
    case 35: which = gBtnLookupSelect; break;
    case EllipsisGlyphIndex: which = gBtnEllipsis; break;
    default: return nullptr;
    }
    TBitmap* b = FBitmaps[which].get();
    return b->Width() > 0 ? b : nullptr;
}

// ---- grid look styles ------------------------------------------------------------------

namespace {

std::array<TGridLookStyleDef, GridLookStyleCount> BuildGridLookStyles()
{
    std::array<TGridLookStyleDef, GridLookStyleCount> defs;
    const TGridLookStyleDef def{QStringLiteral("(default)"), 0xFFFFFF, 0xD6D6D6, clWindowText, clWindowText, clWindow, clInfoBk, clNone};
    // Each style starts from the default record; the members a style does not
    // set keep the default's values.
    struct Row {
        const char* Name;
        TColor Start, End, Title, Text, Bk, Active, Odd;
    };
    constexpr TColor keep = clDefault;
    const Row rows[GridLookStyleCount] = {
        {"(default)", keep, keep, keep, keep, keep, keep, keep},
        {"Blue Office", 0xFDEDDD, 0xE0C092, keep, 0x333333, 0xFFEFE8, 0x4EB3FE, keep},
        {"Blue Nave", 0xE5CBA0, 0xBE8D47, keep, 0xAF6900, 0xF7F3ED, 0xE4D5BE, 0xF4EEE5},
        {"Blue Vista", 0xC0AF85, 0x866B29, 0xFFFFFF, 0x333333, 0xFEF9F6, 0xFCEFD6, keep},
        {"Silver Light", 0xFAF4F3, 0xB79A9C, keep, 0x333333, 0xF8F3F0, 0x8DE1FD, keep},
        {"Silver Dark", 0xE1DBDC, 0x9F9A97, keep, 0x333333, 0xF8F3F0, 0x8DE1FD, keep},
        {"Silver Monochrome", 0x5C5C5C, 0x444444, 0xFFFFFF, 0x333333, 0xF7F7F7, 0x989898, 0xEBEBEB},
        {"Black Office", 0x9A9A9A, 0x3E403E, 0xFFFFFF, 0x333333, 0xF8F3F0, 0x8DE1FD, keep},
        {"Olive", 0xEEFFFB, 0x91C3B7, 0x000000, 0x333333, 0xC7E6E4, 0x69C9F7, keep},
        {"Yellow", 0x4DE7FF, 0x44D1FF, 0x1C2E8D, 0x333333, 0xFFFFFF, 0x66CCBB, keep},
        {"Orange", 0x94C6FF, 0x1274F0, 0x000000, 0x333333, 0xFFFFFF, 0x589EFA, 0xEFF3F7},
        {"Green", 0xBCFDF3, 0x22B47C, 0x000000, 0x333333, 0xB2FAEC, 0x30F8C9, 0x97F9E6},
        {"Brown", 0x7DD4F4, 0x4087B9, 0x275183, 0x333333, 0xBFECFD, 0x77CCEC, 0xAAE6FC},
        {"Khaki", 0x6F8897, 0x4D6372, 0xBBD9D9, 0x33444D, 0xDAEAEA, 0xA3C1CC, keep},
    };
    auto pick = [](TColor Own, TColor Default) { return Own == keep ? Default : Own; };
    for (int i = 0; i < GridLookStyleCount; ++i) {
        const Row& r = rows[i];
        TGridLookStyleDef& d = defs[size_t(i)];
        d = def;
        d.StyleName = QLatin1String(r.Name);
        d.GradientStartColor = pick(r.Start, def.GradientStartColor);
        d.GradientEndColor = pick(r.End, def.GradientEndColor);
        d.TitleFontColor = pick(r.Title, def.TitleFontColor);
        d.TextFontColor = pick(r.Text, def.TextFontColor);
        d.TextBkColor = pick(r.Bk, def.TextBkColor);
        d.TextBkColorActiveRow = pick(r.Active, def.TextBkColorActiveRow);
        d.TextBkColorOddRow = pick(r.Odd, def.TextBkColorOddRow);
    }
    return defs;
}

}  // namespace

std::array<TGridLookStyleDef, GridLookStyleCount> GridLookStyleDefs = BuildGridLookStyles();

void InitGridThemeColors()
{
    GridLookStyleDefs = BuildGridLookStyles();
}

void LoadGridLookStyleList(QStringList& List)
{
    List.clear();
    for (const TGridLookStyleDef& d : GridLookStyleDefs)
        List << d.StyleName;
}
