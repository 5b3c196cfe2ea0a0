#pragma once
// The common ground of the export and print dialogs: the source they run
// over (grid, dataset, record view, tree view or string grid), the hidden
// twin of a caller's grid, the saver of the dialog's choices and of the
// twin's columns, and the column and record choice buttons.

#include "components/base/ParioCompGlobalCfg.h"
#include "components/grid/rDBDlgBaseForm.h"

#include <initializer_list>
#include <memory>

class TButton;
class TCustomDBGrid;
class TLabel;
class TPageControl;
class TProgressBar;
class TTabSheet;
class TDataSet;
class TDBGridsPropSave;
class TPropSaveMain;
class TTreeView;
class TrDBRecView;

class TrDBSourceDlgForm : public TrDBDlgBaseForm {
public:
    explicit TrDBSourceDlgForm(TComponent* AOwner);

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
    // The bottom bar of the print dialogs: a page control without tabs whose
    // page 1 holds the progress text, bar and "Cancel" (returned in the
    // references) and whose page 0, returned, takes the dialog's buttons.
    TTabSheet* BuildBusyBar(int Y, TPageControl*& Pc, TLabel*& Info, TProgressBar*& Bar, TButton*& Abort);

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

// Shows a dialog modally with Active naming it meanwhile, and frees it
// afterwards whatever happens.
template <class T, class TPrepare>
void ShowModalAndFree(T* Form, T*& Active, TPrepare Prepare)
{
    std::unique_ptr<T> owned(Form);
    struct TReset {
        T*& A;
        ~TReset() { A = nullptr; }
    } reset{Active};
    Active = Form;
    Prepare(Form);
    Form->ShowModal();
}
