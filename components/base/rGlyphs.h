#pragma once
// The library's shared glyphs (sort marks, check boxes, memo and picture
// markers, record indicators, filter and editor buttons), the custom glyph
// component that overrides single glyphs, and the table of grid look styles.
//
// Glyphs are enlarged for high screen resolutions in coarse steps (1.5, 2.0,
// 2.5 …) so that they stay sharp.

#include "components/base/ParioCompGlobalCfg.h"
#include "platform/ui/Graphics.h"

#include <QStringList>
#include <array>
#include <memory>
#include <vector>

// Dataset states as the record indicator sees them: the data layer's own.
#include "platform/database/DBTypes.h"

constexpr int StandardGlyphCount = 36;
constexpr int EllipsisGlyphIndex = 101;

// Resource names of the standard glyphs, by index.
extern const std::array<const char*, StandardGlyphCount> rResName;

class TrCustomGlyphs;

struct TrGlyphsRec {
    std::vector<std::unique_ptr<TBitmap>> BmpArray;
    std::unique_ptr<TBitmap> ResizedBmp;
    std::unique_ptr<TBitmap> StyleBmp;
    double MinScaleRatioWhenResized = 1.5;
    double ScaleRatioStepForResize = 0.5;
    bool UseStyleCheckbox = false;

    // The glyph to draw at once (may be a shared scratch bitmap: keep no
    // reference); nullptr when there is none.
    TBitmap* BmpFromIndex(int Index, double ScaleRatio, TrCustomGlyphs* CustomGlyphs);
    double RecalcScaleRatio(double ScaleRatio) const;

    static int SortIndex(bool Descending) { return Descending ? 1 : 0; }
    static int CheckIndex(bool Checked) { return Checked ? 3 : 2; }
    static int MemoIndex(bool IsEmpty, TGlyphLookStyles Look) { return int(Look) + (IsEmpty ? 4 : 7); }
    static int PictureIndex(bool IsEmpty, TGlyphLookStyles Look) { return int(Look) + (IsEmpty ? 10 : 13); }
    static int FilterIndex(bool Active) { return Active ? 25 : 24; }
    static int FilterBarIndex(bool Filtered) { return Filtered ? 27 : 26; }
    static int TitleExIndex(bool Filtered) { return Filtered ? 17 : 16; }
    static int EllipsisIndex() { return EllipsisGlyphIndex; }
    static int RecordIndicatorIndex(bool IsActiveRecord, bool IsSelected, bool IsReadOnly, TDataSetState State);
    static int ButtonIndex(const QString& Name);
    int SortWidth(double ScaleRatio);
    int FilterWidth(double ScaleRatio);

    // The standard bitmaps are loaded on first use when nobody loaded them.
    void EnsureLoaded();
    bool Loaded() const { return !BmpArray.empty(); }
};

extern TrGlyphsRec& rGlyphs;

void LoadStandardGlyphs();
void FreeStandardGlyphs();

// Glyphs a control (or, as the global glyphs, the whole program) draws in
// place of the standard ones. Setting a bitmap keeps a transparent copy; a
// bitmap counts only when its width is greater than 0.
class TrCustomGlyphs : public TComponent {
public:
    enum TGlyph { gSortUp, gSortDown, gCheckFalse, gCheckTrue, gMemoEmpty, gMemo, gPictureEmpty, gPicture, gFilter,
                  gFilterActive, gFilterBar, gFilterBarClear, gBtnFormat, gBtnEditWin, gBtnLookupDetail, gBtnLookupSelect,
                  gBtnEllipsis, GlyphCount };
    explicit TrCustomGlyphs(TComponent* AOwner);
    ~TrCustomGlyphs() override;

    TBitmap* Glyph(TGlyph Which) const { return FBitmaps[Which].get(); }
    void SetGlyph(TGlyph Which, const TBitmap* Value);
    TBitmap* SortUp() const { return Glyph(gSortUp); }
    TBitmap* SortDown() const { return Glyph(gSortDown); }
    TBitmap* CheckFalse() const { return Glyph(gCheckFalse); }
    TBitmap* CheckTrue() const { return Glyph(gCheckTrue); }
    TBitmap* MemoEmpty() const { return Glyph(gMemoEmpty); }
    TBitmap* Memo() const { return Glyph(gMemo); }
    TBitmap* PictureEmpty() const { return Glyph(gPictureEmpty); }
    TBitmap* Picture() const { return Glyph(gPicture); }
    TBitmap* Filter() const { return Glyph(gFilter); }
    TBitmap* FilterActive() const { return Glyph(gFilterActive); }
    TBitmap* FilterBar() const { return Glyph(gFilterBar); }
    TBitmap* FilterBarClear() const { return Glyph(gFilterBarClear); }
    TBitmap* BtnFormat() const { return Glyph(gBtnFormat); }
    TBitmap* BtnEditWin() const { return Glyph(gBtnEditWin); }
    TBitmap* BtnLookupDetail() const { return Glyph(gBtnLookupDetail); }
    TBitmap* BtnLookupSelect() const { return Glyph(gBtnLookupSelect); }
    TBitmap* BtnEllipsis() const { return Glyph(gBtnEllipsis); }
    void SetSortUp(const TBitmap* V) { SetGlyph(gSortUp, V); }
    void SetSortDown(const TBitmap* V) { SetGlyph(gSortDown, V); }
    void SetCheckFalse(const TBitmap* V) { SetGlyph(gCheckFalse, V); }
    void SetCheckTrue(const TBitmap* V) { SetGlyph(gCheckTrue, V); }
    void SetMemoEmpty(const TBitmap* V) { SetGlyph(gMemoEmpty, V); }
    void SetMemo(const TBitmap* V) { SetGlyph(gMemo, V); }
    void SetPictureEmpty(const TBitmap* V) { SetGlyph(gPictureEmpty, V); }
    void SetPicture(const TBitmap* V) { SetGlyph(gPicture, V); }
    void SetFilter(const TBitmap* V) { SetGlyph(gFilter, V); }
    void SetFilterActive(const TBitmap* V) { SetGlyph(gFilterActive, V); }
    void SetFilterBar(const TBitmap* V) { SetGlyph(gFilterBar, V); }
    void SetFilterBarClear(const TBitmap* V) { SetGlyph(gFilterBarClear, V); }
    void SetBtnFormat(const TBitmap* V) { SetGlyph(gBtnFormat, V); }
    void SetBtnEditWin(const TBitmap* V) { SetGlyph(gBtnEditWin, V); }
    void SetBtnLookupDetail(const TBitmap* V) { SetGlyph(gBtnLookupDetail, V); }
    void SetBtnLookupSelect(const TBitmap* V) { SetGlyph(gBtnLookupSelect, V); }
    void SetBtnEllipsis(const TBitmap* V) { SetGlyph(gBtnEllipsis, V); }

    bool UseAsGlobalGlyphs() const { return FUseAsGlobalGlyphs; }
    void SetUseAsGlobalGlyphs(bool Value);

    // The custom bitmap that replaces a glyph index (nullptr when none does
    // or it is empty).
    TBitmap* BitmapForIndex(int Index) const;

private:
    std::array<std::unique_ptr<TBitmap>, GlyphCount> FBitmaps;
    bool FUseAsGlobalGlyphs = false;
};

// ---- grid look styles -------------------------------------------------------------

struct TGridLookStyleDef {
    QString StyleName;
    TColor GradientStartColor;
    TColor GradientEndColor;
    TColor TitleFontColor;
    TColor TextFontColor;
    TColor TextBkColor;
    TColor TextBkColorActiveRow;
    TColor TextBkColorOddRow;
};

constexpr int GridLookStyleCount = 14;
extern std::array<TGridLookStyleDef, GridLookStyleCount> GridLookStyleDefs;

void InitGridThemeColors();
// Clears the list and adds the 14 style names in table order.
void LoadGridLookStyleList(QStringList& List);
