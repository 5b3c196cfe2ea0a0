#include "components/output/rDBPrintDirect.h"

#include "components/base/rEditNum.h"
#include "components/base/rHTMLLabel.h"
#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/TPropSaveMain.h"
#include "components/output/TDBPrintDirect.h"
#include "components/output/rDBPrintDirectPreview.h"
#include "components/output/rDBPrintSetup.h"
#include "components/output/rDBTwinGrid.h"
#include "platform/database/DataSet.h"
#include "platform/print/PrintDocument.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/TreeViews.h"
#include "resources/ExportTexts.h"
#include "resources/PrintTexts.h"

#include <QDir>

namespace {

TrDBPrintDirectForm* GPrintDirectForm = nullptr;

}  // namespace

TrDBPrintDirectForm* ActivePrintDirectForm() { return GPrintDirectForm; }

double LineSpaceRatioOf(const QString& Item)
{
    QString t = Item.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    return (ok ? v : 1.0) - 1.0;
}

TrDBPrintDirectForm::TrDBPrintDirectForm(TComponent* AOwner) : TrDBSourceDlgForm(AOwner)
{
    SetName(QStringLiteral("rDBPrintDirectForm"));
    SetCaption(prntxt::PrintDirectCaption);
    SetClientWidth(502);
    SetClientHeight(411);
    Constraints.MinWidth = 508;
    Constraints.MinHeight = 440;
    PrintEng = new TDBPrintDirect(this);
    FPrintFont.SetName(PrintEng->FontName);
    FPrintFont.SetSize(8);
    BuildControls();
    PrintEng->OnProgressEvent = [this](TComponent*, TExportProgressStage, int Percent, const QString&) {
        PBar->SetPosition(Percent);
        if (Application)
            Application->ProcessMessages();
    };
    StoreControls({"cbLineSpace_nostore", "cbPaperOrient_nostore", "eCaption", "ePageHMargin", "ePageVMargin", "chPrintFooter",
                   "chPrintImg", "chPrintRecCount", "chSum", "chTrimCol", "chUseColors", "rbAllCol", "rbSelCol", "chPrintGrid"});
    rDlgPropSave->OnReadProperties = [this](TPropSaveFile* F, const QString& Key) { F->ReadFont(Key, FPrintFont, 1.0); };
    rDlgPropSave->OnSaveProperties = [this](TPropSaveFile* F, const QString& Key) { F->WriteFont(Key, FPrintFont, 1.0); };
    OnShow = [this](TComponent*) { FormShowHandler(); };
    OnClose = [this](TComponent* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    FormCreate(this);
}

void TrDBPrintDirectForm::BuildControls()
{
    PutControl<TLabel>(this, this, "lCaption", 8, 8, 200, 16, prntxt::ReportName);
    eCaption = PutControl<TEdit>(this, this, "eCaption", 8, 26, 486, 23);
    BuildFormatGroup();
    BuildRangeGroup();
    BuildMarginsAndPrinter();
    BuildBottom();
}

void TrDBPrintDirectForm::BuildFormatGroup()
{
    auto* gb = PutControl<TGroupBox>(this, this, "gbFormat", 8, 56, 240, 236, prntxt::FormatOfPrint);
    PutControl<TLabel>(gb, this, "lFontT", 10, 22, 40, 16, prntxt::Font);
    lblFont = PutControl<TLabel>(gb, this, "lblFont", 52, 22, 100, 16);
    btFont = PutControl<TrHTMLLabel>(gb, this, "btFont", 156, 22, 80, 16);
    btFont->SetCaption(prntxt::ChangeFont);
    btFont->OnAnchorClick = [this](TComponent*, const QString&) {
        TFontDialog dlg(nullptr);
        dlg.Font = FPrintFont;
        if (!dlg.Execute())
            return;
        FPrintFont = dlg.Font;
        FPrintFont.SetStyle(0);  // the print font is always regular
        UpdateFont();
        SetNumPages();
    };
    PutControl<TLabel>(gb, this, "lFontSize", 10, 48, 100, 16, prntxt::FontSize);
    cbFont_nostore = PutControl<TComboBox>(gb, this, "cbFont_nostore", 120, 45, 110, 23);
    cbFont_nostore->SetItems({QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"), QStringLiteral("10"),
                              QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"),
                              QStringLiteral("20"), QStringLiteral("22")});
    cbFont_nostore->OnChange = [this](TComponent*) { cbFontChange(); };
    PutControl<TLabel>(gb, this, "lOrient", 10, 76, 100, 16, prntxt::Orientation);
    cbPaperOrient_nostore = PutControl<TComboBox>(gb, this, "cbPaperOrient_nostore", 120, 73, 110, 23);
    cbPaperOrient_nostore->SetStyle(csDropDownList);
    cbPaperOrient_nostore->SetItems({prntxt::Portrait, prntxt::Landscape});
    cbPaperOrient_nostore->SetItemIndex(0);
    cbPaperOrient_nostore->OnChange = [this](TComponent*) {
        if (Loaded)
            SetNumPages();
    };
    chTrimCol = PutControl<TCheckBox>(gb, this, "chTrimCol", 10, 102, 220, 20, prntxt::FitColumns);
    chUseColors = PutControl<TCheckBox>(gb, this, "chUseColors", 10, 124, 220, 20, prntxt::UseColors);
    chPrintImg = PutControl<TCheckBox>(gb, this, "chPrintImg", 10, 146, 220, 20, prntxt::PrintPictures);
    chPrintGrid = PutControl<TCheckBox>(gb, this, "chPrintGrid", 10, 168, 220, 20, prntxt::PrintGrid);
    chPrintFooter = PutControl<TCheckBox>(gb, this, "chPrintFooter", 10, 190, 220, 20, prntxt::PrintPageNumber);
    chPrintRecCount = PutControl<TCheckBox>(gb, this, "chPrintRecCount", 10, 212, 220, 20, prntxt::PrintRecordsCount);
}

void TrDBPrintDirectForm::BuildRangeGroup()
{
    auto* gb = PutControl<TGroupBox>(this, this, "gbData1", 256, 56, 238, 186, prntxt::RangeOfPrint);
    rbSelCol = PutControl<TRadioButton>(gb, this, "rbSelCol", 10, 20, 220, 20, prntxt::VisibleItems);
    rbSelCol->SetChecked(true);
    rbAllCol = PutControl<TRadioButton>(gb, this, "rbAllCol", 10, 42, 220, 20, prntxt::AllItems);
    for (TRadioButton* r : {rbSelCol, rbAllCol})
        r->OnClick = [this](TComponent*) {
            if (Loaded)
                SetNumPages();
        };
    btFields = PutControl<TButton>(gb, this, "btFields", 10, 66, 105, 25, exptxt::ColumnSelection);
    btFields->SetHint(exptxt::ColumnSelectionHint);
    btFields->OnClick = [this](TComponent*) {
        RunColumnChoice();
        SetNumPages();
    };
    btFilter = PutControl<TButton>(gb, this, "btFilter", 123, 66, 105, 25, exptxt::DataSelection);
    btFilter->SetHint(exptxt::DataSelectionHint);
    btFilter->OnClick = [this](TComponent*) {
        RunFilterChoice();
        SetNumPages();
    };
    lblSetDefaultCol = PutControl<TrHTMLLabel>(gb, this, "lblSetDefaultCol", 10, 96, 220, 18);
    lblSetDefaultCol->SetCaption(exptxt::SetDefaultCol);
    lblSetDefaultCol->OnAnchorClick = [this](TComponent*, const QString&) {
        AssignGridProps();
        SetNumPages();
    };
    chSum = PutControl<TCheckBox>(gb, this, "chSum", 10, 118, 220, 20, prntxt::InsertSum);
    PutControl<TLabel>(gb, this, "lRecT", 10, 142, 150, 16, prntxt::NumberOfRecords);
    lRec1 = PutControl<TLabel>(gb, this, "lRec1", 170, 142, 60, 16, QStringLiteral("?"));
    PutControl<TLabel>(gb, this, "lPagesT", 10, 162, 150, 16, prntxt::NumberOfPages);
    lPages1 = PutControl<TLabel>(gb, this, "lPages1", 170, 162, 60, 16, QStringLiteral("?"));
}

void TrDBPrintDirectForm::BuildMarginsAndPrinter()
{
    const TrDBPrintDirectCfg& cfg = ParioCompConfig.rDBPrintDirectCfg;
    auto* gb = PutControl<TGroupBox>(this, this, "GroupBox2", 256, 246, 238, 100, prntxt::Borders);
    auto margin = [&](const char* Name, int Y, const QString& Label, int Value) {
        PutControl<TLabel>(gb, this, "", 10, Y + 3, 100, 16, Label);
        auto* e = PutControl<TrEditNum>(gb, this, Name, 130, Y, 60, 23);
        e->MinValue = 1;
        e->MaxValue = 100;
        e->StepValue = 5;
        e->SetAsInteger(Value);
        return e;
    };
    ePageHMargin = margin("ePageHMargin", 18, prntxt::Horizontal, cfg.HMarginMM);
    ePageVMargin = margin("ePageVMargin", 44, prntxt::Vertical, cfg.VMarginMM);
    // the margins hold for every later direct print of this program run
    ePageHMargin->OnChange = [this](TComponent*) {
        ParioCompConfig.rDBPrintDirectCfg.HMarginMM = ePageHMargin->AsInteger();
        if (Loaded)
            SetNumPages();
    };
    ePageVMargin->OnChange = [this](TComponent*) {
        ParioCompConfig.rDBPrintDirectCfg.VMarginMM = ePageVMargin->AsInteger();
        if (Loaded)
            SetNumPages();
    };
    PutControl<TLabel>(gb, this, "", 10, 73, 100, 16, prntxt::LineHeight);
    cbLineSpace_nostore = PutControl<TComboBox>(gb, this, "cbLineSpace_nostore", 130, 70, 60, 23);
    cbLineSpace_nostore->SetStyle(csDropDownList);
    cbLineSpace_nostore->SetItems({QStringLiteral("1"), QStringLiteral("1,1"), QStringLiteral("1,2"), QStringLiteral("1,3"),
                                   QStringLiteral("1,4"), QStringLiteral("1,5"), QStringLiteral("1,7"), QStringLiteral("2")});
    cbLineSpace_nostore->SetItemIndex(2);
    cbLineSpace_nostore->OnSelect = [this](TComponent*) { cbLineSpaceClick(); };

    auto* gp = PutControl<TGroupBox>(this, this, "GroupBox1", 8, 296, 240, 76, prntxt::PrinterGroup);
    cbPrinter = PutControl<TComboBox>(gp, this, "cbPrinter", 10, 18, 220, 23);
    cbPrinter->SetStyle(csDropDownList);
    FillPrinterList(cbPrinter);
    cbPrinter->OnChange = [this](TComponent*) {
        if (Loaded)
            SetNumPages();
    };
    btPrintSetup = PutControl<TButton>(gp, this, "btPrintSetup", 10, 45, 100, 25, prntxt::Setup);
    btPrintSetup->OnClick = [this](TComponent*) {
        TPrinterOrientation o = cbPaperOrient_nostore->ItemIndex() == 1 ? poLandscape : poPortrait;
        if (PrinterSetup(cbPrinter, &o)) {
            cbPaperOrient_nostore->SetItemIndex(o == poLandscape ? 1 : 0);
            SetNumPages();
        }
    };
}

void TrDBPrintDirectForm::BuildBottom()
{
    TTabSheet* p0 = BuildBusyBar(376, pc, lInfo, PBar, btAbort);
    btAbort->OnClick = [this](TComponent*) { PrintEng->DoAbort(); };
    btPrint = PutControl<TButton>(p0, this, "btPrint", 202, 2, 88, 25, prntxt::Print);
    btPrint->OnClick = [this](TComponent*) { RunPrint(false); };
    btPreview = PutControl<TButton>(p0, this, "btPreview", 296, 2, 88, 25, prntxt::Preview);
    btPreview->SetDefault(true);
    btPreview->OnClick = [this](TComponent*) { RunPrint(true); };
    btCancel = PutControl<TButton>(p0, this, "btCancel", 390, 2, 88, 25, prntxt::Close);
    btCancel->SetCancel(true);
    btCancel->SetModalResult(mrCancel);
}

void TrDBPrintDirectForm::Prepare(TSourceType AType, TComponent* ASource, TDataSet* AData, bool Fields, bool Filter,
                                  const QString& Caption)
{
    RepCapt = Caption;
    btFilter->SetEnabled(Filter);
    btFields->SetEnabled(Fields);
    SetSource(AType, ASource, AData);
    if (AType == stTreeView && TreeView)
        FPrintFont.Assign(*TreeView->Font());
}

void TrDBPrintDirectForm::FormShowHandler()
{
    FormShow(this);
    const bool table = SourceType == stGrid || SourceType == stDataset || SourceType == stStringGrid;
    chTrimCol->SetVisible(table);
    chSum->SetVisible(table);
    rbSelCol->SetVisible(SourceType != stStringGrid);
    rbAllCol->SetVisible(SourceType != stStringGrid);
    btFilter->SetVisible(SourceType == stGrid || SourceType == stDataset);
    btFields->SetVisible(SourceType == stGrid || SourceType == stDataset);
    lblSetDefaultCol->SetVisible(SourceType == stGrid);
    chPrintRecCount->SetVisible(SourceType != stRecView);
    chUseColors->SetVisible(SourceType != stDataset);
}

void TrDBPrintDirectForm::Activate()
{
    TrDBSourceDlgForm::Activate();
    if (Loaded)
        return;
    FormActivate(this);
    Loaded = true;
    if (!RepCapt.isEmpty())
        eCaption->SetText(RepCapt);
    // a restored line height holds at once, like the restored margins
    ParioCompConfig.rDBPrintDirectCfg.LineSpaceRatio = LineSpaceRatioOf(cbLineSpace_nostore->Text());
    ParioCompConfig.rDBPrintDirectCfg.HMarginMM = ePageHMargin->AsInteger();
    ParioCompConfig.rDBPrintDirectCfg.VMarginMM = ePageVMargin->AsInteger();
    // pictures are printed only for record views and tree views
    chPrintImg->SetEnabled(SourceType == stRecView || SourceType == stTreeView);
    UpdateFont();
    SetNumPages();
}

void TrDBPrintDirectForm::UpdateFont()
{
    lblFont->SetCaption(FPrintFont.Name());
    lblFont->Font()->SetName(FPrintFont.Name());
    const bool loaded = Loaded;
    Loaded = false;
    cbFont_nostore->SetText(QString::number(FPrintFont.Size()));
    Loaded = loaded;
}

void TrDBPrintDirectForm::cbFontChange()
{
    if (!Loaded)
        return;
    bool ok = false;
    const int size = cbFont_nostore->Text().toInt(&ok);
    FPrintFont.SetSize(ok && size > 0 ? size : 8);
    SetNumPages();
}

void TrDBPrintDirectForm::cbLineSpaceClick()
{
    ParioCompConfig.rDBPrintDirectCfg.LineSpaceRatio = LineSpaceRatioOf(cbLineSpace_nostore->Text());
    if (Loaded)
        SetNumPages();
}

void TrDBPrintDirectForm::SyncEngine()
{
    const TrDBPrintDirectCfg& cfg = ParioCompConfig.rDBPrintDirectCfg;
    TDBPrintDirect* e = PrintEng;
    e->Caption = eCaption->Text();
    e->FontName = FPrintFont.Name();
    e->FontSize = FPrintFont.Size();
    e->Orientation = cbPaperOrient_nostore->ItemIndex() == 1 ? poLandscape : poPortrait;
    e->PrinterName = ChosenPrinter(cbPrinter);
    e->HMarginMM = cfg.HMarginMM;
    e->VMarginMM = cfg.VMarginMM;
    e->LineSpaceRatio = cfg.LineSpaceRatio;
    e->FitColumns = chTrimCol->Visible() && chTrimCol->Checked();
    e->UseColors = chUseColors->Visible() && chUseColors->Checked();
    e->PrintPictures = chPrintImg->Enabled() && chPrintImg->Checked();
    e->PrintGrid = chPrintGrid->Checked();
    e->PrintPageNumber = chPrintFooter->Checked();
    e->PrintRecCount = chPrintRecCount->Visible() && chPrintRecCount->Checked();
    e->PrintSum = chSum->Visible() && chSum->Checked();
    e->ExportOnlyVisibleFields = rbSelCol->Checked();
    e->ActionAfter = aaNone;
}

void TrDBPrintDirectForm::SetNumPages()
{
    SyncEngine();
    FLines = PrintEng->LinesPerPage();
    const int n = PrintEng->CountRows(SourceType, RunSource());
    lRec1->SetCaption(QString::number(n));
    // one line of each page goes to the title row
    lPages1->SetCaption(FLines >= 2 ? QString::number(n / (FLines - 1) + 1) : QStringLiteral("?"));
}

void TrDBPrintDirectForm::ShowBusy(bool Busy)
{
    PBar->SetPosition(0);
    pc->SetActivePageIndex(Busy ? 1 : 0);
}

void TrDBPrintDirectForm::RunPrint(bool Preview)
{
    SyncEngine();
    PrintEng->PreviewMaxWidth = Preview ? ParioCompConfig.rDBPrintDirectCfg.PreviewMaxWidth : 0;
    const bool pdfPrinter = !Preview && IsPdfFilePrinter(PrintEng->PrinterName);
    if (pdfPrinter) {
        // the PDF file printer: the pages go into the file the user names
        const QString suggested = QDir(GetSystemDir(CSIDL_PERSONAL)).filePath(
            (PrintEng->Caption.trimmed().isEmpty() ? QStringLiteral("print") : PrintEng->Caption.trimmed()) + QStringLiteral(".pdf"));
        QString pdf;
        if (!AskPdfFileName(suggested, pdf))
            return;
        PrintEng->PrinterName.clear();
        PrintEng->ExportFile = pdf;
    }
    ShowBusy(true);
    const bool done = PrintEng->ExecuteSource(SourceType, RunSource());
    if (pdfPrinter)
        PrintEng->ExportFile.clear();
    ShowBusy(false);
    if (PrintEng->WasAborted()) {
        DlgW(prntxt::ActionAborted);
        return;
    }
    if (!done || !Preview)
        return;
    if (PrintEng->PreviewLimited())
        DlgW(prntxt::PreviewLimited);
    ShowPreview();
}

void TrDBPrintDirectForm::ShowPreview()
{
    const TrDBPrintDirectPreviewForm::TPageList pages = PrintEng->TakePreviewPages();
    int result = mrCancel;
    auto* preview = new TrDBPrintDirectPreviewForm(GetActiveOwner());
    try {
        preview->SetBmpList(&pages);
        result = preview->ShowModal();
    } catch (...) {
        delete preview;
        throw;
    }
    delete preview;
    if (result == mrOk)
        RunPrint(false);
}

void DBPrintDirectInt(TSourceType SourceType, TComponent* Source, bool Fields, bool Filter, const QString& Caption)
{
    TDataSet* data = nullptr;
    if (!ResolveSourceDataSet(SourceType, Source, data))
        return;
    ShowModalAndFree(new TrDBPrintDirectForm(GetActiveOwner()), GPrintDirectForm,
                     [&](TrDBPrintDirectForm* F) { F->Prepare(SourceType, Source, data, Fields, Filter, Caption); });
}

void DBPrintDirect(TCustomDBGrid* Grid, bool Fields, bool Filter, const QString& Caption)
{
    DBPrintDirectInt(stGrid, Grid, Fields, Filter, Caption);
}
