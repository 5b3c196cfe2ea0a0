#pragma once
// The one road into the data exports: DBExport opens the modal dialog
// "Export data" for a grid (DBExportInt also for a dataset, record view, tree
// view or string grid). The user picks the kind (text, spreadsheet, SYLK or
// a report template), its options, the range and what happens to the file;
// the dialog fills the engine of that kind and runs it, and stays open for
// further exports until "Cancel".

#include "components/base/ParioCompGlobalCfg.h"
#include "components/output/rDBSourceDlgForm.h"

class TButton;
class TCheckBox;
class TComboBox;
class TCustomDBGrid;
class TDataSet;
class TDBGridsPropSave;
class TGroupBox;
class TImage;
class TLabel;
class TOpenDialog;
class TPageControl;
class TPropSaveMain;
class TRadioButton;
class TRTFReport2;
class TSaveDialog;
class TSLKExport;
class TTXTExport;
class TTreeView;
class TrDBRecView;
class TrEditNum;
class TrHTMLLabel;
class TrStringGridEd;
class TrXLSExport;
class TrXMLReport;

// Export kinds: the item index of the "Type of export" choice.
enum TExportKind { ekText = 0, ekExcel = 1, ekSlk = 2, ekTemplate = 3 };

class TrDBExportForm : public TrDBSourceDlgForm {
public:
    explicit TrDBExportForm(TComponent* AOwner);

    // Kind choice ("rg"): one radio button per kind; a removed kind is nullptr.
    TGroupBox* rg;
    TRadioButton* rgItems[4];
    TGroupBox* gbData;
    TRadioButton* rbSelCol;
    TRadioButton* rbAllCol;
    TButton* btFields;
    TButton* btFilter;
    TrHTMLLabel* lblSetDefaultCol;
    TCheckBox* chSelRecOnly;
    TPageControl* pg;
    // page 0: text
    TCheckBox* chFName1;
    TCheckBox* chFRealName1;
    TCheckBox* chCol1;
    TCheckBox* chAdd1;
    TComboBox* cbSeparator_nostore;
    // page 1: spreadsheet and SYLK
    TCheckBox* chFName2;
    TCheckBox* chFRealName2;
    TCheckBox* chSum2;
    TCheckBox* chAddSheet2;
    TCheckBox* chAdd2;
    TCheckBox* chCol2;
    TCheckBox* chBorders2;
    TCheckBox* chFreezePanes2;
    TImage* Image2a;
    TImage* Image2b;
    // page 2: template
    TButton* btRepFile;
    TrHTMLLabel* lRepFile;
    TrEditNum* eCharSet;
    TComboBox* cbAction_nostore;
    TButton* btOk;
    TButton* btCancel;

    TTXTExport* TXTExp;
    TrXLSExport* XLSExp;
    TSLKExport* SLKExp;
    TRTFReport2* RTFRep;
    TrXMLReport* XMLRep;
    TOpenDialog* OpenDlg;
    TSaveDialog* SaveDlg;

    // The chosen kind (-1 when none is chosen).
    int Kind() const;
    void SetKind(int Kind);
    // Removes the template kind from the choice.
    void RemoveTemplateKind();
    // Sets up the dialog for one source (before it is shown).
    void Prepare(TSourceType AType, TComponent* ASource, TDataSet* AData, bool ASetFlt, bool ASetCol, bool SelRecVisible,
                 bool AStructOnly);
    // The click handlers of the dialog's controls.
    void rgClick();
    void btRepFileClick();
    void btOkClick();
    const QString& TemplateFile() const { return FTemplate; }
    // The save dialog's filter and default extension for a kind (and the
    // chosen template for the template kind).
    static QString SaveFilter(int Kind, const QString& Template);
    static QString DefaultExt(int Kind, const QString& Template);

private:
    void BuildControls();
    void BuildTextPage();
    void BuildSheetPage();
    void BuildTemplatePage();
    void FormShowHandler();
    void UpdateRealNames();
    bool SelectedRowsChoice() const;
    void RunKind(int Kind, const QString& File);
    void RunText(const QString& File);
    void RunExcel(const QString& File);
    void RunSlk(const QString& File);
    void RunTemplate(const QString& File);

    bool SetFlt = false;
    bool SetCol = false;
    bool StructOnly = false;
    QString FTemplate;
};

// Opens the export dialog for a grid. SetFlt and SetCol enable "Data
// selection" and "Column selection"; NoTemplateType removes the template
// kind; StructOnly exports the column titles only. "Selected rows only" is
// offered when the grid has selected rows. Nothing happens without an
// active dataset behind the grid.
void DBExport(TCustomDBGrid* Grid, bool SetFlt, bool SetCol, bool NoTemplateType = false, bool StructOnly = false);
// The same for any source kind: a grid, dataset, record view, tree view or string grid.
void DBExportInt(TSourceType SourceType, TComponent* Source, bool SetFlt, bool SetCol, bool NoTemplateType, bool SelRecVisible,
                 bool StructOnly);
// The dialog while DBExport runs (nullptr otherwise).
TrDBExportForm* ActiveExportForm();
// The column separator written for the text of the separator box: "#n"
// gives the character with code n, a text longer than 8 characters its
// first character, anything else the text itself.
QString ExportSeparator(const QString& Text);
