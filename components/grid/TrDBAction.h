#pragma once
// The grid action module: one set of actions (edit, find, sort, filter,
// columns, properties, copy, export, print, refresh, close), popup menus and
// toolbars that act on the one grid a window announced with SetActiveGrid.
//
// Which actions are enabled, visible and reachable by shortcut follows from
// the active grid's action mask (its Tag: bit 1 no editing, 2 no sorting,
// 4 no filtering, 8 no column settings, 16 no table properties; 128 up hide
// single actions), the state of its dataset and two user-rights levels; each
// action's Tag holds the dataset flags that disable it (mod 100) and the
// rights level it needs (hundreds for editing, thousands for the rest).

#include "platform/rtl/Component.h"
#include "platform/ui/ActnList.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TrDBGrid;
class TPopupMenu;
class TMenuItem;
class TImageList;
class TWinControl;
class TToolBar;

// The dialogs behind the module's actions that live in libraries above the
// grid's (find, filter, column choice, sort, stored filters, table
// properties, cell highlighting, export and print). The program installs
// them once (InstallDBActionDialogs of the data-control library, the export
// library's own); an action whose dialog is not installed says so.
struct TrDBActionDialogs {
    std::function<bool(TrDBGrid* Grid)> Find;
    std::function<bool(TrDBGrid* Grid)> FilterForm;
    std::function<bool(TrDBGrid* Grid)> SortDialog;
    std::function<void(TrDBGrid* Grid)> ChooseFields;
    // Stored filters: save the present one, the dialog of stored filters,
    // the names for the tool bar's list and applying one by name.
    std::function<bool(TrDBGrid* Grid)> SaveFilter;
    std::function<bool(TrDBGrid* Grid)> LoadFilter;
    std::function<QStringList(TrDBGrid* Grid)> StoredFilterNames;
    std::function<bool(TrDBGrid* Grid, const QString& Name)> ActivateStoredFilter;
    std::function<void(TrDBGrid* Grid, bool ShowColumns, bool ShowCellConditions, bool ShowFilters, bool ShowStyles)> TableProperties;
    std::function<void(TrDBGrid* Grid)> CellParams;
    // Saved sorts for the sort button's list.
    std::function<QStringList(TrDBGrid* Grid)> SavedSortNames;
    std::function<bool(TrDBGrid* Grid, int Index)> ActivateSavedSort;
    std::function<void(TrDBGrid* Grid, bool Filter, bool Columns)> Export;
    std::function<void(TrDBGrid* Grid, bool Columns, bool Filter)> Print;
    std::function<void(TrDBGrid* Grid, bool Columns, bool Filter)> PrintDirect;
};

class TTimer;

class TrDBActionLink;

class TrDBAction : public TComponent {
public:
    explicit TrDBAction(TComponent* AOwner);
    ~TrDBAction() override;

    TActionList* ActList;
    TAction *acoCopyCell, *aceView, *aceEdit, *aceAdd, *aceDuplic, *aceDelete, *aceSave, *aceSaveAdd, *aceCancel, *acoFind,
        *acfFilterSel, *acfFilterSelAnd, *acfFilterSelOr, *acfFilterDlg, *acfFilterForm, *acfFilter, *accColumns, *acsSort1,
        *acsSort2, *acsSort3, *acsSortDlg, *acoExport, *acoPrint, *acoPrintDirect, *acoRefresh, *acoClose, *accWidthAuto,
        *accWidthSame, *accWidthData, *accWidthDefault, *acsSortNone, *acfFilterSave, *acfFilterLoad, *aceAutoEdit, *acoImport,
        *acoPaste, *acoBatchEdit, *accDefaultGrid, *acoProperties, *acoOtherAction, *acoColor, *acoCopyRow, *acoCopyCol,
        *acoCopyAll, *acoCopyIncTitle, *acoCopyIncHidden;
    TPopupMenu *pmDBAction, *pmFilterSel, *pmFilterList, *pmColumnWidth, *pmSortList, *pmCopyData;
    TImageList *ImgEna, *ImgDis;

    TrDBActionDialogs Dialogs;
    std::function<void(TComponent* Sender, TrDBGrid* Grid)> OnRunOtherAction;
    std::function<void(TComponent* Sender, TrDBGrid* Grid, bool& Enabled)> OnGetOtherActionState;

    void SetActiveGrid(TrDBGrid* Grid);
    TrDBGrid* GetActiveGrid() const { return FGrid; }
    void StoreActiveGrid() { FStoredGrid = FGrid; }
    void RestoreActiveGrid() { SetActiveGrid(FStoredGrid); }
    // EditRights true sets the level of editing actions, else of the rest;
    // a value outside 0..9 raises "Invalid user rights value.".
    void SetUserRights(bool EditRights, int actRights);
    bool IsUserRightsOk(TCustomAction* Action) const;
    void RefreshAction();
    // Offers to save pending edits; true when the dataset no longer edits.
    bool CheckEditState(bool ShowDialog);
    void CheckShortcut(Word& Key, TShiftState Shift);
    void AddDBToolMenu(TMenuItem* M);
    // A tool bar of the module's actions (find, sort, filter, columns,
    // properties, copy, export, print, refresh) placed on Parent.
    TToolBar* CreateToolBar(TWinControl* Parent);
    // The edit bar: edit, add, duplicate, delete, save, save and new, cancel, close.
    TToolBar* CreateEditBar(TWinControl* Parent);

    // Moves the bindings of every control inside C (actions by their place in
    // the list, the tool buttons' drop-down menus by name) to another module.
    void RelinkActionTo(TWinControl* C, TrDBAction* NewDBAction);
    // For a window's own action: runs the click handler of the button or menu
    // item that triggered it (Trigger), with the module as sender.
    void acdIfBrowseExecute(TComponent* Trigger);

    // The dataset flags of the last refresh (255 without a grid).
    int DataSetFlags() const { return FFlags; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TAction* Make(const char* Name, const char* Category, const char* Caption, int Tag, const char* ShortCut, int Image,
                  const char* Hint = nullptr);
    void CreateActions();
    void CreateMenus();
    void CreateImages();
    void Execute(TAction* A);
    // The actions whose work is a dialog; false for the others.
    bool RunDialog(TAction* A);
    int ComputeFlags() const;
    void SetStoredGrid(TrDBGrid*& Slot, TrDBGrid* Grid);
    TrDBGrid* FGrid = nullptr;
    TrDBGrid* FStoredGrid = nullptr;
    // The module is no window, so no idle pass updates its actions; the
    // timer keeps them in step with the active grid's dataset.
    TTimer* FRefreshTimer = nullptr;
    // Follows the active grid's dataset, so that opening, closing, editing or
    // emptying it changes what may run at once, not only at the timer's tick.
    std::unique_ptr<TrDBActionLink> FLink;
    int URights = 9;
    int URightsEdit = 9;
    int FFlags = 255;
    std::vector<TShortCut> acShortCuts;
    TShortCut acEditSC = 0;
    // The bars made here: their buttons follow the actions' visibility, and
    // the bar lays them out again after each refresh.
    std::vector<TToolBar*> FBars;
    TMenuItem *FMenuRecord = nullptr, *FMenuRecordSep = nullptr, *FMenuSort = nullptr, *FMenuFilter = nullptr,
              *FMenuColumns = nullptr;
};

// The single instance the program creates before its windows.
extern TrDBAction* rDBAction;
