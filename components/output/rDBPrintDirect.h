#pragma once
// Direct printing through a dialog: DBPrintDirect opens "Print of data" for
// a grid (DBPrintDirectInt also for a dataset, record view, tree view or
// string grid). The rows are drawn page by page on the chosen printer in a
// font of the user's choice, or into page pictures shown by the page
// preview, from which the same report can be printed.

#include "components/output/rDBSourceDlgForm.h"
#include "platform/ui/Graphics.h"

class TButton;
class TCheckBox;
class TComboBox;
class TDBPrintDirect;
class TEdit;
class TLabel;
class TPageControl;
class TProgressBar;
class TRadioButton;
class TrEditNum;
class TrHTMLLabel;

class TrDBPrintDirectForm : public TrDBSourceDlgForm {
public:
    explicit TrDBPrintDirectForm(TComponent* AOwner);

    TEdit* eCaption;
    TLabel* lblFont;
    TrHTMLLabel* btFont;
    TComboBox* cbFont_nostore;
    TComboBox* cbPaperOrient_nostore;
    TCheckBox* chTrimCol;
    TCheckBox* chUseColors;
    TCheckBox* chPrintImg;
    TCheckBox* chPrintGrid;
    TCheckBox* chPrintFooter;
    TCheckBox* chPrintRecCount;
    TRadioButton* rbSelCol;
    TRadioButton* rbAllCol;
    TButton* btFields;
    TButton* btFilter;
    TrHTMLLabel* lblSetDefaultCol;
    TCheckBox* chSum;
    TLabel* lRec1;
    TLabel* lPages1;
    TrEditNum* ePageHMargin;
    TrEditNum* ePageVMargin;
    TComboBox* cbLineSpace_nostore;
    TComboBox* cbPrinter;
    TButton* btPrintSetup;
    TPageControl* pc;
    TButton* btPrint;
    TButton* btPreview;
    TButton* btCancel;
    TLabel* lInfo;
    TProgressBar* PBar;
    TButton* btAbort;
    // The drawing engine; its ExportFile, when set, names a PDF file to
    // print into instead of the printer.
    TDBPrintDirect* PrintEng;

    void Prepare(TSourceType AType, TComponent* ASource, TDataSet* AData, bool Fields, bool Filter, const QString& Caption);
    void UpdateFont();
    void SetNumPages();
    void cbFontChange();
    void cbLineSpaceClick();
    // "Print" (Preview false) and "Preview"; a preview closed with its
    // "Print" button prints the same report.
    void RunPrint(bool Preview);
    // Lines per page last worked out (for the page estimate).
    int LinesPerPage() const { return FLines; }

protected:
    void Activate() override;

private:
    void BuildControls();
    void BuildFormatGroup();
    void BuildRangeGroup();
    void BuildMarginsAndPrinter();
    void BuildBottom();
    void FormShowHandler();
    void SyncEngine();
    void ShowBusy(bool Busy);
    void ShowPreview();

    bool Loaded = false;
    QString RepCapt;
    int FLines = 0;
    TFont FPrintFont;
};

// Opens the dialog for a grid. Fields and Filter enable "Column selection"
// and "Data selection"; Caption is the report title (empty keeps the one
// used last). Nothing happens without an active dataset behind the grid.
void DBPrintDirect(TCustomDBGrid* Grid, bool Fields, bool Filter, const QString& Caption = QString());
// The same for any source kind: a grid, dataset, record view, tree view or string grid.
void DBPrintDirectInt(TSourceType SourceType, TComponent* Source, bool Fields, bool Filter, const QString& Caption);
// The dialog while DBPrintDirect runs (nullptr otherwise).
TrDBPrintDirectForm* ActivePrintDirectForm();
// The line height ratio of a "Line height" item ("1,2" gives 0.2; not a number counts as 1).
double LineSpaceRatioOf(const QString& Item);
