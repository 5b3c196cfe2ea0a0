#pragma once
// The library's lookup combo box: for the key in its field it shows one or
// several fields of the matching list record side by side, opens the
// multi-column list sized to its columns, searches the list while the user
// types (a prefix first, then anywhere in the text) with the typed text in a
// hint that resets after a pause, may narrow the list dataset by a filter,
// and carries a caption label and the read-only colour.

#include "components/base/ParioCompGlobalCfg.h"
#include "components/dbcontrols/TBoundLabel.h"
#include "components/dbcontrols/TDBLabeledControl.h"
#include "components/dbcontrols/TrPopupDataList.h"
#include "platform/ui/DBCtrls.h"

#include <QStringList>

class THintWindow;
class TTimer;

class TrDBLookupComboBox : public TDBLabeledControl<TDBLookupComboBox> {
public:
    explicit TrDBLookupComboBox(TComponent* AOwner);
    ~TrDBLookupComboBox() override;

    void SetDataSource(TDataSource* ADataSource, const QString& ADataField);
    void SetDataSource(TDataSource* ADataSource) { SetDataSource(ADataSource, DataField()); }
    void SetDataField(const QString& Value);
    void UpdateState(TComponent* Sender) override;
    bool CanModify() const;

    // The values last painted in multi-field mode, joined by two gaps.
    QString GetSelectedText() const;
    int GetMaxItemWidth();
    bool SearchNext(bool Prior);
    bool SearchLookupFilter(bool Reset);
    void StopSearching();
    bool IsSearching() const { return !FSearch.isEmpty(); }
    const QString& SearchText() const { return FSearch; }
    // Typed characters while the list is closed, and routed from the open list.
    void ProcessSearchKey(QChar& Key);
    void SetFocus() override;
    // The list opens only when the field can be changed (the dataset goes into
    // edit state); it raises OnDropDown.
    void DropDown() override;
    void CloseUp(bool Accept) override;
    TrPopupDataList* PopupList() const { return static_cast<TrPopupDataList*>(FList); }
    THintWindow* HintWindow() const { return OwnHintWin; }
    TBoundLabel* BoundLabel() const { return FBoundLabel; }

    QString EmptyDisplayValue;
    bool DropDownAutoWidth = true;
    int DropDownMaxWidth = 600;
    int DropDownItemHeight = 0;
    int DropDownItemIncreaseHeight = 2;
    int DropDownItemIncreaseWidth = 0;
    // Last list field shown in the box; multi-field painting when above 0.
    int ListFieldIndexMax = 0;
    int SearchingResetInterval = 2500;
    bool AllowLookupFilter = false;
    bool AutoDropDown = false;
    TGetLookupListItemProps OnGetListItemProps;
    TNotifyEvent OnDropDown;

    void SetParent(TWinControl* AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    // Hovering shows a value the box cuts off as the hint.
    void MouseEnter() override;

protected:
    void Loaded() override;
    QString BoundFieldName() const override { return DataField(); }
    void Paint() override;
    void DoExit() override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    // The operator's choice: written, shown, then OnClick.
    void SelectKey(const QVariant& Key) override;

private:
    QString FAutoHint;
    void ListKeyDown(Word& Key, TShiftState Shift);
    bool TryLocate(const QString& S);
    bool TryFind(const QString& S);
    void ProcHint(const QString& Text, const QString& NewKey, bool Found);
    QString GetFilterString(TField* Field) const;
    QString Gap() const;
    void RefillValues();
    QStringList ListFieldNames() const;
    TDataSet* ListDataSet() const { return FListSource ? FListSource->DataSet() : nullptr; }
    void FilterOff();
    QStringList FldValArr;
    TBoundLabel* FBoundLabel = nullptr;
    THintWindow* OwnHintWin = nullptr;
    TTimer* FTimer = nullptr;
    TSearchingType FSearchingPrevNext = stFindFirst;
    QString FSearch;
    TFilterOptions FOldFilterOptions = 0;
    bool FFilterOptionsSet = false;
    TrDataLink FStateLink;
};
