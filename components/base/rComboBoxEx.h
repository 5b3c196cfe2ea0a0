#pragma once
// The combo box whose drop-down list shows several columns with column lines,
// a picture per item and separators, whose list widens to fit, and which can
// reload its items from the typed text after a delay (an autocomplete); and
// the string holder component.

#include "platform/rtl/StringList.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"

#include <QStringList>
#include <vector>

class TrComboBoxEx;

using TGetListItemProps = std::function<void(TComponent* Sender, TCanvas* Canvas, int Index, TOwnerDrawState State,
                                             TRect& Rect, QString& Text, TBitmap* ShowBmp, bool& DrawSeparatorTop,
                                             bool& DrawSeparatorBottom)>;
using TComboLoadItemsEvent = std::function<void(TComponent* Sender, const QString& CurText, QString& NewText)>;

class TDisplayedItems {
public:
    explicit TDisplayedItems(TrComboBoxEx* Combo) : FCombo(Combo) {}
    const QStringList& ListItems() const { return FListItems; }
    void SetListItems(const QStringList& V);
    bool AddItemAsFirstColumn() const { return FAddItemAsFirstColumn; }
    void SetAddItemAsFirstColumn(bool V);
    const QString& ColumnSeparator() const { return FColumnSeparator; }
    void SetColumnSeparator(const QString& V);
    bool DrawColumnLine = true;
    int ItemSpace = 4;
    QString GetItemDisplayedText(int Index) const;
    void CalcColumnsWidth(TCanvas* Canvas);
    int GetMaxItemWidth(int DropDownCount);
    void DrawListItem(TCanvas* Canvas, int Index, TOwnerDrawState State, const TRect& Rect,
                      const TGetListItemProps& GetListItemProps);
    const std::vector<int>& ColumnWidths() const { return FColumnWidths; }

private:
    QStringList Columns(const QString& Text) const;
    TrComboBoxEx* FCombo;
    QStringList FListItems;
    bool FAddItemAsFirstColumn = false;
    QString FColumnSeparator;
    std::vector<int> FColumnWidths;
    bool FColumnsCalculated = false;
};

class TrComboBoxEx : public TComboBox {
public:
    explicit TrComboBoxEx(TComponent* AOwner);
    bool DropDownAutoWidth = true;
    int DropDownMaxWidth = 600;
    TDisplayedItems* DisplayedItems() { return &FDisplayedItems; }
    TGetListItemProps OnGetListItemProps;
    TNotifyEvent OnUpdateTimer;
    int UpdateTimerDelay = 0;
    TComboLoadItemsEvent OnUpdateLoadItems;
    Word LastKeyDown = 0;
    bool JustClosed = false;
    int ItemHeightEx() const { return FItemHeightEx; }
    void SetItemHeightEx(int V);
    double ScaleRatio() const { return FScaleRatio; }
    QString SelectedText() const;
    bool UseOwnDraw() const;
    void ResetTimer(bool SetActive, bool CallEventNow);
    void AddTextToItems(const QString& Text);
    void RemoveTextFromItems(const QString& Text);
    // The list's items were defined: owner drawing is switched on once.
    void ListDefined();
    TTimer* UpdateTimer() const { return FTimer; }

    void DropDown() override;
    // A list that would pass the desktop's right edge ends at the box's right edge.
    void PlaceDropDownList(TRect& Bounds) override;
    void CloseUp() override;
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;

protected:
    void Loaded() override;
    void ChangeScale(int M, int D) override;
    void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;

private:
    void UpdateHandler();
    TDisplayedItems FDisplayedItems{this};
    TTimer* FTimer;
    bool FRecreated = false;
    int FItemHeightEx = 16;
    double FScaleRatio = 1.0;
};

// Holds a string list on a form (the library's dialogs keep format and field lists in it).
class TrStringsHolder : public TComponent {
public:
    explicit TrStringsHolder(TComponent* AOwner) : TComponent(AOwner) {}
    TStringList* Strings() { return &FStrings; }
    void SetStrings(const QStringList& V) { FStrings.Assign(V); }

private:
    TStringList FStrings;
};
