#pragma once
// The framed combo box: its own completion of typed text (with AllowEdit
// False an editable combo behaves like a pick list that can be typed into),
// incremental search with a reset delay in the list styles, the state
// colours of the framed edit, a read-only mode, a list as wide as its widest
// item, and a parallel list of values.

#include "components/framed/FcCommon.h"
#include "components/framed/FcFrameController.h"
#include "platform/ui/StdCtrls.h"

#include <functional>
#include <memory>

class TTimer;

class TFcCustomComboBox : public TComboBox, public IFcFramedProperties, public TFcFrameLook {
public:
    explicit TFcCustomComboBox(TComponent* AOwner);
    ~TFcCustomComboBox() override;

    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool Value) { FAutoComplete = Value; }
    bool AllowEdit = true;
    bool BeepOnInvalidKey = true;
    bool KeepSearchCase = false;
    bool TabOnEnter = false;
    // Typing opens the list; Tab closes it.
    bool AutoDropDown = false;
    // Typed text in csDropDown stops at this many characters (0: no limit).
    int MaxLength = 0;
    bool FlatButtons = false;
    TColor FlatButtonColor = clBtnFace;
    TColor DisabledColor() const { return FDisabledColor; }
    virtual void SetDisabledColor(TColor Value);
    TColor FocusColor() const { return FFocusColor; }
    virtual void SetFocusColor(TColor Value);
    TColor ReadOnlyColor() const { return FReadOnlyColor; }
    virtual void SetReadOnlyColor(TColor Value);
    bool ReadOnlyColorOnFocus = false;
    // Owner-drawn selected items get a focus rectangle.
    bool ShowFocus = true;
    bool ReadOnly() const { return FReadOnly; }
    virtual void SetReadOnly(bool Value);
    TFcFrameController* FrameController() const { return FFrameController; }
    virtual void SetFrameController(TFcFrameController* Value);
    TFcFrameControllerNotifications Notifications = fcnAll;
    TFcFrameControllerNotifications FrameControllerNotifications() const override { return Notifications; }
    void SetFrameProperty(TFcFrameControllerProperty Property, const TFcFrameController* Controller) override;
    // The frame settings of older versions (see FcLegacyProps.h).
    bool ReadLegacyProperty(const QString& Name, const QString& Value) { return TFcFrameLook::ReadLegacyProperty(Name, Value); }
    QString SearchString() const { return FSearchString; }
    void ClearSearchString() { FSearchString.clear(); }
    TNotifyEvent OnMatch;
    TNotifyEvent OnNotInList;
    TNotifyEvent OnSelEndCancel;
    TNotifyEvent OnSelEndOk;
    TFcAboutInfo About;

    // Item data being let go when its item is deleted (item data not nil).
    std::function<void(TComponent* Sender, void* Item)> OnDeleteItem;
    void Delete(int Index);
    void ClearItems();
    // The first item beginning with S, letter case ignored; -1 when none.
    virtual int FindClosest(const QString& S) const;
    bool FindItem(const QString& S);
    bool FindClosestItem(const QString& S);
    // Sets the text without completing it.
    virtual void ForceText(const QString& S);
    void SetText(const QString& Value) override;
    void SetStyle(TComboBoxStyle Value);
    void InvalidKeyPressed();
    virtual void UpdateColors();
    // The search-reset timer's tick (the list styles forget the typed prefix).
    void SearchTimerExpired();
    bool FocusedNow() const { return FIsFocused; }
    // The platform's visual style frames the box (the custom frame and flat button are not drawn).
    virtual bool UseThemes() const;
    // The drop-down button's place: the scroll-bar width at the right edge.
    TRect ButtonRect() const;
    // Paints the custom frame and the flat or covered button over the platform's box.
    void PaintFrameLayer(TCanvas* Canvas, bool MouseOver);

    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyPress(QChar& Key) override;
    void Change() override;
    void DoEnter() override;
    void DoExit() override;
    void DropDown() override;
    void CloseUp() override;
    void Loaded() override;

protected:
    // The custom frame replaces the sunken border: FrameVisible turns Ctl3D off.
    void FrameLookChanged(TFcFrameControllerProperty Property) override;
    bool FrameLookLoading() const override { return Loading(); }
    QWidget* CreateWidget() override;
    virtual bool FindListItem(const QString& S, QChar Key);
    virtual void UpdateIndex(const QString& S, QChar Key);
    virtual void Match();
    virtual void NotInList();
    // The list closed with a choice (Enter or an item taken) or without one.
    virtual void SelEndOk();
    virtual void SelEndCancel();
    void ItemChosen() override;
    void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    virtual void DeleteItem(void* Item);
    void ColorChanged() override;
    void EnabledChanged() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ListSearchKey(QChar& Key);
    void ChangeAndClick();
    void UpdateFrameLayer();
    void PaintFlatButton(TCanvas* Canvas, const TRect& R, bool Hot);
    void AfterKeyPress(QChar Key);
    void CompleteTypedKey(QChar& Key);
    // Backspace in the editable styles: what it takes from the typed prefix.
    void BackspaceSearchString();
    // The text as Delete leaves it: less the selection, or the character at the caret.
    QString TextLessDeleted() const;
    bool ReadOnlyKeyPasses(Word Key, TShiftState Shift) const;
    // The key-press event again, after a completion changed the text.
    void FireKeyPress(QChar Key);

    bool FAutoComplete = true;
    TColor FDisabledColor = clBtnFace;
    TColor FReadOnlyColor = clInfoBk;
    TColor FFocusColor = clWindow;
    TColor FNormalColor = clWindow;
    bool FUpdatingColor = false;
    TFcFrameController* FFrameController = nullptr;
    QString FSearchString;
    int FKeyCount = 0;
    std::unique_ptr<TTimer> FTimer;
    bool FReadOnly = false;
    bool FTabKeyDown = false;  // the key being typed is Tab
    bool FIsFocused = false;
    bool FCompleting = false;
    bool FCompleteAfterPaste = false;
    bool FListOpen = false;
    bool FListClosing = false;
    bool FSelectionEnded = true;
};

// Code units of the character before / at Pos (2 for a surrogate pair).
int CharLengthBefore(const QString& S, int Pos);
int CharLengthAt(const QString& S, int Pos);

class TFcComboBox : public TFcCustomComboBox {
public:
    explicit TFcComboBox(TComponent* AOwner) : TFcCustomComboBox(AOwner) {}
    QStringList Values() const { return FValues; }
    virtual void SetValues(const QStringList& Value);
    void ClearItemsValues();
    void AddItemValue(const QString& Item, const QString& Value);
    void InsertItemValue(int Index, const QString& Item, const QString& Value);
    void DeleteItemValue(int Index);
    virtual QString GetItemValue(int Index) const;
    virtual QString GetValue();
    virtual void SetValue(const QString& Value);
    // A value set from code raises neither change nor click.
    void Change() override;
    void Click() override;

protected:
    QString FValue;
    QStringList FValues;
    bool FInSetValue = false;
    bool FForceSetValue = false;
};
