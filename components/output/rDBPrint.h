#pragma once
// Print to RTF through a dialog: DBPrint opens "Print data to RTF file" for
// a grid (DBPrintInt also for a dataset, record view, tree view or string
// grid). The dialog measures the data once, fits it to the chosen paper and
// font (or finds the largest font that fits), shows the record count, the
// page estimate and whether text columns are cut, and produces a document
// from the built-in page templates, which it shows or prints; it stays open
// for further prints until "Close".

#include "components/output/rDBSourceDlgForm.h"

class TButton;
class TCheckBox;
class TComboBox;
class TDBPrintRTF;
class TEdit;
class TGroupBox;
class TLabel;
class TPageControl;
class TProgressBar;
class TRadioButton;
class TrEditNum;
class TrHTMLLabel;

class TrDBPrintForm : public TrDBSourceDlgForm {
public:
    explicit TrDBPrintForm(TComponent* AOwner);

    TEdit* eCaption;
    TCheckBox* chAutoformat;
    TComboBox* cbPaperType_nostore;
    TComboBox* cbPaperOrient_nostore;
    TComboBox* cbFont_nostore;
    TrEditNum* eSep;
    TLabel* lblCut;
    TCheckBox* chCut;
    TLabel* lblWrap;
    TRadioButton* rbSelCol;
    TRadioButton* rbAllCol;
    TButton* btFields;
    TButton* btFilter;
    TrHTMLLabel* lblSetDefaultCol;
    TCheckBox* chSum;
    TLabel* lRec;
    TLabel* lPages;
    TComboBox* cbPrinter;
    TButton* btPrintSetup;
    TPageControl* pc;
    TButton* btPrint;
    TButton* btShow;
    TButton* btCancel;
    TLabel* lInfo;
    TProgressBar* PBar;
    TButton* btAbort;
    TDBPrintRTF* RTFRep;

    void Prepare(TSourceType AType, TComponent* ASource, TDataSet* AData, bool Fields, bool Filter, const QString& Caption);
    // Measures the data (again) and fits it.
    void AnalyzeData();
    void rbSelColClick();
    void cbFontClick();
    void SetAutoformat();
    void SetCut();
    // "Print" and "Show".
    void RunExport(TActionAfter After);
    // The document of the last run.
    QString OutputFile() const;

protected:
    void Activate() override;

private:
    void BuildControls();
    void BuildFormatGroup();
    void BuildRangeGroup();
    void BuildBottom();
    void FormShowHandler();
    void SyncEngine();
    void ShowBusy(bool Busy, const QString& Info);

    bool Loaded = false;
    QString RepCapt;
};

// Opens the dialog for a grid. Fields and Filter enable "Column selection"
// and "Data selection"; Caption is the report name (empty keeps the one used
// last). Nothing happens without an active dataset behind the grid.
void DBPrint(TCustomDBGrid* Grid, bool Fields, bool Filter, const QString& Caption = QString());
// The same for any source kind: a grid, dataset, record view, tree view or string grid.
void DBPrintInt(TSourceType SourceType, TComponent* Source, bool Fields, bool Filter, const QString& Caption);
// The dialog while DBPrint runs (nullptr otherwise).
TrDBPrintForm* ActivePrintForm();
