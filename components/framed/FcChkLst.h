#pragma once
// The framed check list: a tabbed list box with a three-state check box
// before every item, an optional image per item (another one while the item
// is disabled), items disabled one by one, group headers shown, and check
// changes that a handler can refuse. The items save and load in a marked
// text-line format.

#include "components/framed/FcTabbedListBox.h"
#include "components/framed/FcTextFile.h"

#include <functional>
#include <vector>

class TCustomImageList;

struct TPacket {
    TCheckBoxState State = cbUnchecked;
    bool Enabled = true;
    int ImageIndex = -1;
    int DisabledIndex = -1;
};

using TStateChangingEvent = std::function<void(TComponent* Sender, int Index, TCheckBoxState NewState, bool& AllowChange)>;
using TStateChangeEvent = std::function<void(TComponent* Sender, int Index, TCheckBoxState NewState)>;

class TFcCheckList : public TFcCustomTabbedListBox {
public:
    explicit TFcCheckList(TComponent* AOwner);
    ~TFcCheckList() override;

    bool AllowGrayed = false;
    bool ToggleOnItemClick = false;
    TColor HighlightColor = clHighlight;
    TColor ItemFillColor = clWindow;
    TColor ItemFocusColor = clWindow;
    TColor ItemFrameColor = clBtnShadow;
    TColor TransparentColor = clOlive;
    TColor WinMaskColor = clLime;
    TCustomImageList* Images() const { return FImages; }
    virtual void SetImages(TCustomImageList* Value);
    int GlyphWidth() const { return FGlyphWidth; }
    int GlyphHeight() const { return FGlyphHeight; }
    // Own check-box pictures: a strip of NumGlyphs cells (unchecked, checked,
    // grayed, then the same disabled), or an image list in that order.
    TBitmap* CustomGlyphs() { return &FCustomGlyphs; }
    virtual void SetCustomGlyphs(const TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    TCustomImageList* CustomGlyphImages() const { return FCustomGlyphImages; }
    virtual void SetCustomGlyphImages(TCustomImageList* Value);
    bool UseCustomGlyphs() const { return FUseCustomGlyphs; }
    virtual void SetUseCustomGlyphs(bool Value);
    TStateChangingEvent OnChanging;
    TStateChangeEvent OnStateChange;

    virtual bool GetItemChecked(int Index) const { return GetItemState(Index) == cbChecked; }
    virtual void SetItemChecked(int Index, bool Value) { SetItemState(Index, Value ? cbChecked : cbUnchecked); }
    virtual bool GetItemEnabled(int Index) const { return Packet(Index).Enabled; }
    virtual void SetItemEnabled(int Index, bool Value);
    virtual TCheckBoxState GetItemState(int Index) const { return Packet(Index).State; }
    virtual void SetItemState(int Index, TCheckBoxState Value);
    virtual int GetItemImageIndex(int Index) const { return Packet(Index).ImageIndex; }
    virtual void SetItemImageIndex(int Index, int Value);
    virtual int GetItemDisabledIndex(int Index) const { return Packet(Index).DisabledIndex; }
    virtual void SetItemDisabledIndex(int Index, int Value);
    int AddEx(const QString& S, bool Checked, bool Enabled, int ImageIndex = -1, int DisabledIndex = -1);
    void CheckAll();
    void UncheckAll();
    int ItemsChecked() const;
    void SetGroupState(int GroupIndex, TCheckBoxState State);
    void CheckGroup(int GroupIndex) { SetGroupState(GroupIndex, cbChecked); }
    void UncheckGroup(int GroupIndex) { SetGroupState(GroupIndex, cbUnchecked); }
    void EnableGroup(int GroupIndex);
    void DisableGroup(int GroupIndex);
    virtual void ToggleCheckState();
    // The per-item lists a window text keeps beside the strings: "ItemEnabled"
    // (True/False) and "ItemState" (0, 1, 2) when there are items, and with Images
    // also "ItemImageIndex" and "ItemDisabledIndex"; as "Name = (v1 v2 ...)" lines.
    QStringList StoredItemProperties() const;
    // Applies one such list in item order; true when the name is one of them.
    bool ReadItemProperty(const QString& Name, const QString& Value);
    // The marked text format, one line per item.
    QString SaveToText() const;
    void LoadFromText(const QString& Text);
    // Written through a temporary file: a failed write keeps the old one.
    void SaveToFile(const QString& FileName, TFcIniFileEncoding Encoding = feDefault) const;
    void LoadFromFile(const QString& FileName);
    void SaveToStream(QIODevice* Stream, TFcIniFileEncoding Encoding = feDefault) const;
    void LoadFromStream(QIODevice* Stream);
    // Adds lines, reading marked ones ("@", "&") with their records.
    void AddStrings(const QStringList& Lines);
    int InitialTabStopOffset() const override { return FGlyphWidth; }
    // The check box zone of an item (where a press toggles).
    TRect CheckBoxZone(int Index) const;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;

protected:
    virtual bool CanChange(int Index, TCheckBoxState NewState);
    virtual void Change(int Index, TCheckBoxState NewState);
    virtual void SelectGlyph(int Index, TBitmap* Glyph);
    int OwnerDrawItemIndent() const override;
    void UpdateItemHeight() override;
    QString HorzExtentPrefix() const override { return QStringLiteral("\t"); }
    void DrawListItem(int Index, TRect Rect, TOwnerDrawState State) override;
    void DefaultDrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    void EnabledChanged() override;
    void ItemInserted(int Index) override;
    void ItemDeleted(int Index) override;
    void ItemMoved(int CurIndex, int NewIndex) override;
    void ItemsCleared() override;
    void AddMarkedLine(QString Line);
    const TPacket& Packet(int Index) const;
    TPacket& Packet(int Index);

    void UpdateGlyphDimensions();
    void ImagesChanged();
    void CustomGlyphImagesChanged();
    void Notification(TComponent* AComponent, TOperation Operation) override;
    std::vector<TPacket> FPackets;
    TBitmap FCustomGlyphs;
    int FNumGlyphs = 6;
    TCustomImageList* FCustomGlyphImages = nullptr;
    bool FUseCustomGlyphs = false;
    TCustomImageList* FImages = nullptr;
    int FGlyphWidth = 13;
    int FGlyphHeight = 13;
    int FSelectedItem = -1;
    bool FChangingState = false;
};
