#pragma once
// A group box that owns one radio button per line of Items, arranges them in
// columns, keeps the chosen index and lets OnChanging refuse a change (also
// one made from code). Without items it is a captioned container.

#include "components/framed/FcGroupBox.h"
#include "components/framed/FcRadChk.h"

#include <QStringList>
#include <functional>
#include <vector>

class TFcCustomRadioGroup;

using TFcIndexChangingEvent = std::function<void(TComponent* Sender, int NewIndex, bool& AllowChange)>;

class TFcGroupButton : public TFcRadioButton {
public:
    explicit TFcGroupButton(TFcCustomRadioGroup* AGroup);
    ~TFcGroupButton() override;
    void Click() override;
    bool WantsKey(Word Key, TShiftState Shift) const override;
    // Only while the group may be changed.
    bool DialogChar(Word Key, TShiftState Shift) override;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void ChangeState() override;
    TFcCustomRadioGroup* FGroup;
    bool FInClick = false;
};

class TFcCustomRadioGroup : public TFcCustomGroupBox {
public:
    explicit TFcCustomRadioGroup(TComponent* AOwner);
    ~TFcCustomRadioGroup() override;

    QStringList Items() const { return FItems; }
    virtual void SetItems(const QStringList& Value);
    int ItemIndex() const { return FItemIndex; }
    virtual void SetItemIndex(int Value);
    int Columns() const { return FColumns; }
    virtual void SetColumns(int Value);
    int ButtonCount() const { return int(FButtons.size()); }
    TFcGroupButton* Buttons(int Index) const { return FButtons.at(size_t(Index)); }
    bool ItemEnabled(int Index) const { return Buttons(Index)->Enabled(); }
    void SetItemEnabled(int Index, bool Value) { Buttons(Index)->SetEnabled(Value); }
    TFont* ItemFont() { return &FItemFont; }
    virtual void SetItemFont(const TFont& Value);
    int ItemHeight() const { return FItemHeight; }
    virtual void SetItemHeight(int Value);
    bool SpaceEvenly() const { return FSpaceEvenly; }
    virtual void SetSpaceEvenly(bool Value);
    int StartXPos() const { return FStartXPos; }
    int StartYPos() const { return FStartYPos; }
    virtual void SetStartPos(int Index, int Value);
    int VerticalSpacing() const { return FVerticalSpacing; }
    virtual void SetVerticalSpacing(int Value);
    bool ReadOnly() const { return FReadOnly; }
    virtual void SetReadOnly(bool Value);
    TColor ReadOnlyColor() const { return FReadOnlyColor; }
    virtual void SetReadOnlyColor(TColor Value);
    bool ReadOnlyColorOnFocus() const { return FReadOnlyColorOnFocus; }
    virtual void SetReadOnlyColorOnFocus(bool Value);
    TColor ItemFrameColor() const { return FItemFrameColor; }
    virtual void SetItemFrameColor(TColor Value);
    bool ItemHotTrack() const { return FItemHotTrack; }
    virtual void SetItemHotTrack(bool Value);
    TColor ItemHotTrackColor() const { return FItemHotTrackColor; }
    virtual void SetItemHotTrackColor(TColor Value);
    TFcHotTrackColorType ItemHotTrackColorType() const { return FItemHotTrackColorType; }
    virtual void SetItemHotTrackColorType(TFcHotTrackColorType Value);
    TColor ItemHighlightColor() const { return FItemHighlightColor; }
    virtual void SetItemHighlightColor(TColor Value);
    TTextStyle TextStyle() const { return FTextStyle; }
    virtual void SetTextStyle(TTextStyle Value);
    bool LightTextStyle() const { return FLightTextStyle; }
    virtual void SetLightTextStyle(bool Value);
    TColor TextHighlightColor() const { return FTextHighlightColor; }
    virtual void SetTextHighlightColor(TColor Value);
    TColor TextShadowColor() const { return FTextShadowColor; }
    virtual void SetTextShadowColor(TColor Value);
    int TextShadowDepth() const { return FTextShadowDepth; }
    virtual void SetTextShadowDepth(int Value);
    TBitmap* CustomGlyphs() { return &FCustomGlyphs; }
    virtual void SetCustomGlyphs(const TBitmap* Value);
    TCustomImageList* CustomGlyphImages() const { return FCustomGlyphImages; }
    virtual void SetCustomGlyphImages(TCustomImageList* Value);
    bool UseCustomGlyphs() const { return FUseCustomGlyphs; }
    virtual void SetUseCustomGlyphs(bool Value);
    TColor TransparentColor() const { return FTransparentColor; }
    virtual void SetTransparentColor(TColor Value);
    TColor WinMaskColor() const { return FWinMaskColor; }
    virtual void SetWinMaskColor(TColor Value);
    void SetTransparent(bool Value) override;
    void SetCaption(const QString& Value);
    // "Flat" of older versions is the buttons' hot tracking.
    bool ReadLegacyProperty(const QString& Name, const QString& Value) override;
    bool TabOnEnter = false;
    TFcIndexChangingEvent OnChanging;
    // True while code sets ItemIndex: a changing handler then asks without
    // telling the user (a refusal keeps the new index anyway).
    bool SettingItemIndex() const { return FSettingItemIndex; }

    virtual void ArrangeButtons();
    virtual void UpdateButtons();
    virtual bool CanModify();
    virtual bool CanChange(int NewIndex);
    // A button became checked: the selection logic with the veto.
    void ButtonClick(TFcGroupButton* Button);
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void CustomFramingChanged() override;

protected:
    friend class TFcGroupButton;
    virtual void SetButtonCount(int Value);
    void EnabledChanged() override;
    void FontChanged() override;
    void ChangeScale(int M, int D) override;
    void SetGroupBoxStyle(TFcGroupBoxStyle Value) override;
    void ItemsChanged();
    void ItemFontChanged();
    void CustomGlyphImagesChanged();
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BiDiModeChanged() override;
    // Moves the focus to the previous or next visible button.
    void MoveFocus(TFcGroupButton* From, bool Forward);

    std::vector<TFcGroupButton*> FButtons;
    TFont FItemFont;
    bool FItemFontChanged = false;
    QStringList FItems;
    int FItemIndex = -1;
    int FColumns = 1;
    bool FReading = false;
    bool FUpdating = false;
    bool FSpaceEvenly = false;
    int FStartXPos = 8;
    int FStartYPos = 2;
    int FVerticalSpacing = 3;
    int FItemHeight = 17;
    bool FItemHeightChanged = false;
    int FGlyphWidth = 13;
    int FGlyphHeight = 13;
    int FNumGlyphs = 6;
    TBitmap FCustomGlyphs;
    TCustomImageList* FCustomGlyphImages = nullptr;
    bool FUseCustomGlyphs = false;
    TColor FTransparentColor = clOlive;
    TColor FWinMaskColor = clLime;
    bool FLightTextStyle = false;
    TTextStyle FTextStyle = TTextStyle::tsNormal;
    TColor FTextHighlightColor = clBtnHighlight;
    TColor FTextShadowColor = clBtnShadow;
    int FTextShadowDepth = 2;
    TColor FItemFrameColor = clBtnShadow;
    bool FItemHotTrack = false;
    TColor FItemHotTrackColor = TColor(1350640);
    TFcHotTrackColorType FItemHotTrackColorType = htctActual;
    TColor FItemHighlightColor = clHighlight;
    bool FReadOnly = false;
    TColor FReadOnlyColor = clInfoBk;
    bool FReadOnlyColorOnFocus = false;
    bool FArranging = false;
    bool FSettingItemIndex = false;
};

class TFcRadioGroup : public TFcCustomRadioGroup {
public:
    explicit TFcRadioGroup(TComponent* AOwner) : TFcCustomRadioGroup(AOwner) {}
};
