#pragma once
// The framed list box: typed characters search the items with a reset
// delay, items beginning with a group prefix are drawn as group headers on
// a gradient band and can be managed as groups, the horizontal extent
// follows the widest item, and the state colours of the framed edit apply.

#include "components/framed/FcCommon.h"
#include "components/framed/FcFrameController.h"
#include "platform/ui/ListBoxes.h"

#include <memory>

class TTimer;
class THintWindow;

class TFcCustomListBox : public TCustomListBox, public IFcFramedProperties, public TFcFrameLook {
public:
    explicit TFcCustomListBox(TComponent* AOwner);
    ~TFcCustomListBox() override;

    TColor DisabledColor() const { return FDisabledColor; }
    virtual void SetDisabledColor(TColor Value);
    TColor FocusColor() const { return FFocusColor; }
    virtual void SetFocusColor(TColor Value);
    TFcFrameController* FrameController() const { return FFrameController; }
    virtual void SetFrameController(TFcFrameController* Value);
    TFcFrameControllerNotifications Notifications = fcnAll;
    TFcFrameControllerNotifications FrameControllerNotifications() const override { return Notifications; }
    // The frame settings of older versions and their "HorzExtent", which is ignored.
    bool ReadLegacyProperty(const QString& Name, const QString& Value);
    void SetFrameProperty(TFcFrameControllerProperty Property, const TFcFrameController* Controller) override;
    bool IncrementalSearch = true;
    bool BeepOnInvalidKey = true;
    bool TabOnEnter = false;
    bool ShowItemHints = true;
    bool HorzScrollBar() const { return FHorzScrollBar; }
    virtual void SetHorzScrollBar(bool Value);
    int HorzExtent() const { return FHorzExtent; }
    virtual void SetHorzExtent(int Value);
    int OwnerDrawIndent() const { return FOwnerDrawIndent; }
    virtual void SetOwnerDrawIndent(int Value);
    QString SearchString() const { return FSearchString; }
    void ClearSearchString() { FSearchString.clear(); }
    // Groups: items whose text begins with GroupPrefix are headers.
    QString GroupPrefix() const { return FGroupPrefix; }
    virtual void SetGroupPrefix(const QString& Value);
    TColor GroupColor() const { return FGroupColor; }
    virtual void SetGroupColor(TColor Value);
    bool GroupColorFromTheme() const { return FGroupColorFromTheme; }
    virtual void SetGroupColorFromTheme(bool Value);
    TFont* GroupFont() { return &FGroupFont; }
    bool UseGradients() const { return FUseGradients; }
    virtual void SetUseGradients(bool Value);
    bool ShowGroups() const { return FShowGroups; }
    virtual void SetShowGroups(bool Value);
    TNotifyEvent OnMatch;
    TNotifyEvent OnDeleteItems;
    TDrawItemEvent OnDrawListItem;
    TFcAboutInfo About;

    int Add(const QString& S) { return AddItem(S); }
    void Delete(int Index);
    QString SelectedItem() const;
    bool FindItem(const QString& S);
    void DeleteSelectedItems();
    virtual int FindClosest(const QString& S) const;
    void AddGroup(const QString& S) { AddItem(FGroupPrefix + S); }
    virtual bool GetItemIsGroup(int Index) const;
    void ItemToGroup(int Index);
    void GroupToItem(int Index);
    QString ItemCaption(int Index) const;
    int ItemIndexOfGroup(int GroupIndex) const;
    int ItemsInGroup(int GroupIndex) const;
    int InsertItemIntoGroup(int GroupIndex, int Index, const QString& S);
    int AddItemToGroup(int GroupIndex, const QString& S);
    virtual int ItemGroupIndex(int Index) const;
    virtual int GroupIndexOfItem(int Index) const;
    virtual bool ItemInsideGroup(int Index) const { return ItemGroupIndex(Index) != -1; }
    virtual void UpdateColors();
    virtual void AdjustHorzExtent();
    void InvalidKeyPressed();
    // Whether an item's caption is too wide for the list (its hint shows it whole).
    bool ItemNeedsHint(int Index) const;
    THintWindow* HintWindow() const { return FHintWnd; }
    void Click() override;
    // The search-reset timer's tick.
    void SearchTimerExpired();
    void Loaded() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void DoEnter() override;
    void DoExit() override;

protected:
    // The frame is painted into the sunken border's room: FrameVisible turns Ctl3D on.
    void FrameLookChanged(TFcFrameControllerProperty Property) override;
    bool FrameLookLoading() const override { return Loading(); }
    void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    virtual void DrawListItem(int Index, TRect Rect, TOwnerDrawState State);
    virtual void DefaultDrawItem(int Index, TRect Rect, TOwnerDrawState State);
    virtual void DrawGroup(int Index, TRect Rect, TOwnerDrawState State);
    // Where an item's text goes: 2 pixels in from its reading side.
    TRect TextRect(TRect R) const;
    // A group header's band in its colours; leaves the canvas ready for the caption.
    void PaintGroupBand(const TRect& R, TOwnerDrawState State);
    virtual int OwnerDrawItemIndent() const { return FOwnerDrawIndent; }
    virtual void UpdateItemHeight();
    virtual QString HorzExtentPrefix() const { return QString(); }
    virtual void GroupFontChanged() {}
    virtual void UpdateIndex(const QString& S, QChar Key);
    virtual void Match();
    void ColorChanged() override;
    void EnabledChanged() override;
    void FontChanged() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    void MouseEnter() override;
    // The list, then its own frame over the edge (FrameVisible without the visual style).
    void Paint() override;
    bool UseThemes() const;
    bool FOverControl = false;
    void UpdateItemHint(int X, int Y);
    void HideItemHint();
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ItemInserted(int Index) override;
    void ItemDeleted(int Index) override;
    void ItemsCleared() override;
    void GroupBandColors(TColor& Text, TColor& Band) const;
    // The group font's height follows the scaling only once it was set apart from the list's font.
    void ChangeScale(int M, int D) override;
    void FireKeyPress(QChar Key);

    TColor FDisabledColor = clBtnFace;
    TColor FFocusColor = clWindow;
    TColor FNormalColor = clWindow;
    bool FUpdatingColor = false;
    TFcFrameController* FFrameController = nullptr;
    int FHorzExtent = 0;
    bool FHorzScrollBar = false;
    QString FSearchString;
    std::unique_ptr<TTimer> FTimer;
    int FKeyCount = 0;
    int FOwnerDrawIndent = 0;
    TColor FGroupColor = clInactiveCaptionText;
    bool FGroupColorFromTheme = true;
    bool FUseGradients = true;
    TFont FGroupFont;
    bool FGroupFontChanged = false;
    QString FGroupPrefix = QStringLiteral("//");
    bool FShowGroups = false;
    bool FFocused = false;
    int FUpdateCount = 0;
    THintWindow* FHintWnd = nullptr;
    int FClickedItem = -1;
    qint64 FClickedItemTime = 0;
};

class TFcListBox : public TFcCustomListBox {
public:
    explicit TFcListBox(TComponent* AOwner) : TFcCustomListBox(AOwner) {}
};
