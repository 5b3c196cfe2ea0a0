#pragma once
// The common ground of the export and print dialogs: the source they run
// over (grid, dataset, record view, tree view or string grid), the hidden
// twin of a caller's grid, the saver of the dialog's choices and of the
// twin's columns, and the column and record choice buttons.

#include "components/base/ParioCompGlobalCfg.h"
#include "components/dbcontrols/rDBDlgBaseForm.h"

#include <initializer_list>

class TCustomDBGrid;
class TDataSet;
class TDBGridsPropSave;
class TPropSaveMain;
class TTreeView;
class TrDBRecView;

class TrDBSourceDlgForm : public TrDBDlgBaseForm {
public:
    explicit TrDBSourceDlgForm(TComponent* AOwner);

    TPropSaveMain* rDlgPropSave;
    TDBGridsPropSave* DBGridsPS;

    // Sets up the dialog for one source before it is shown.
    void SetSource(TSourceType AType, TComponent* ASource, TDataSet* AData);
    // The twin of a grid source (its column choice leaves the caller's alone).
    TCustomDBGrid* TwinGrid() const { return DBGrid; }
    // Copies the caller's grid into the twin again ("Set columns according grid").
    void AssignGridProps();
    // "Data selection" and "Column selection" on the twin grid or the dataset.
    void RunFilterChoice();
    void RunColumnChoice();

protected:
    // Lists controls whose state is kept between uses.
    void StoreControls(std::initializer_list<const char*> Names);
    // What an engine runs over: the twin for a grid, else the source.
    TComponent* RunSource() const;

    TSourceType SourceType = stGrid;
    TDataSet* DataSet = nullptr;
    TCustomDBGrid* OrigGr = nullptr;
    TCustomDBGrid* DBGrid = nullptr;
    TrDBRecView* RecView = nullptr;
    TTreeView* TreeView = nullptr;
    TComponent* StringGrid = nullptr;  // a TrStringGridEd
};

// Places a new control of class T on Parent, named, with bounds and caption.
template <class T>
T* PutControl(TWinControl* Parent, TComponent* Owner, const char* Name, int X, int Y, int W, int H, const QString& Caption = QString())
{
    auto* c = new T(Owner);
    c->SetName(QLatin1String(Name));
    c->SetParent(Parent);
    c->SetBounds(X, Y, W, H);
    if (!Caption.isEmpty())
        c->SetCaption(Caption);
    return c;
}
