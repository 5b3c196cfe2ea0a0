#include "components/output/rDBPrint.h"

#include "components/base/rEditNum.h"
#include "components/base/rHTMLLabel.h"
#include "components/base/rtool.h"
#include "components/output/TDBPrintRTF.h"
#include "components/output/rDBPrintSetup.h"
#include "components/output/rDBTwinGrid.h"
#include "platform/database/DataSet.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "resources/ExportTexts.h"
#include "resources/PrintTexts.h"

namespace {

TrDBPrintForm* GPrintForm = nullptr;

}  // namespace

TrDBPrintForm* ActivePrintForm() { return GPrintForm; }

TrDBPrintForm::TrDBPrintForm(TComponent* AOwner) : TrDBSourceDlgForm(AOwner)
{
    SetName(QStringLiteral("rDBPrintForm"));
    SetCaption(prntxt::PrintRtfCaption);
    SetClientWidth(504);
    SetClientHeight(342);
    Constraints.MinWidth = 480;
    Constraints.MinHeight = 356;
    BuildControls();
    RTFRep = new TDBPrintRTF(this);
    RTFRep->OnProgressEvent = [this](TComponent*, TExportProgressStage, int Percent, const QString&) {
        PBar->SetPosition(Percent);
        if (Application)
            Application->ProcessMessages();
    };
    StoreControls({"cbPaperType_nostore", "cbPaperOrient_nostore", "cbFont_nostore", "eSep", "chAutoformat", "rbAllCol", "rbSelCol",
                   "chSum", "eCaption"});
    OnShow = [this](TComponent*) { FormShowHandler(); };
    OnClose = [this](TComponent* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    FormCreate(this);
}

void TrDBPrintForm::BuildControls()
{
    PutControl<TLabel>(this, this, "lCaption", 8, 8, 200, 16, prntxt::ReportName);
    eCaption = PutControl<TEdit>(this, this, "eCaption", 8, 26, 488, 23);
    BuildFormatGroup();
    BuildRangeGroup();
    auto* gbPrinter = PutControl<TGroupBox>(this, this, "gbPrinter", 8, 254, 488, 50, prntxt::PrinterGroup);
    cbPrinter = PutControl<TComboBox>(gbPrinter, this, "cbPrinter", 10, 18, 360, 23);
    cbPrinter->SetStyle(csDropDownList);
    FillPrinterList(cbPrinter);
    btPrintSetup = PutControl<TButton>(gbPrinter, this, "btPrintSetup", 378, 17, 100, 25, prntxt::Setup);
    btPrintSetup->OnClick = [this](TComponent*) { PrinterSetup(cbPrinter); };
    BuildBottom();
}

void TrDBPrintForm::BuildFormatGroup()
{
    auto* gb = PutControl<TGroupBox>(this, this, "gbFormat", 8, 56, 240, 192, prntxt::FormatOfPrint);
    chAutoformat = PutControl<TCheckBox>(gb, this, "chAutoformat", 10, 20, 220, 20, prntxt::Autoformat);
    chAutoformat->SetChecked(true);
    auto combo = [&](const char* Name, int Y, const QString& Label, const QStringList& Items, int Index) {
        PutControl<TLabel>(gb, this, "", 10, Y + 3, 100, 16, Label);
        auto* c = PutControl<TComboBox>(gb, this, Name, 120, Y, 110, 23);
        c->SetStyle(csDropDownList);
        c->SetItems(Items);
        c->SetItemIndex(Index);
        return c;
    };
    cbPaperType_nostore = combo("cbPaperType_nostore", 44, prntxt::PaperSize, {QStringLiteral("A4"), QStringLiteral("Letter"), QStringLiteral("Legal")}, 0);
    cbPaperOrient_nostore = combo("cbPaperOrient_nostore", 72, prntxt::Orientation, {prntxt::Portrait, prntxt::Landscape}, 0);
    QStringList sizes;
    for (int s = 6; s <= 12; ++s)
        sizes << QString::number(s);
    cbFont_nostore = combo("cbFont_nostore", 100, prntxt::FontSize, sizes, 2);
    PutControl<TLabel>(gb, this, "lSep", 10, 131, 150, 16, prntxt::SpacesBetween);
    eSep = PutControl<TrEditNum>(gb, this, "eSep", 170, 128, 60, 23);
    eSep->MinValue = 1;
    eSep->MaxValue = 5;
    eSep->StepValue = 1;
    eSep->SetAsInteger(2);
    lblCut = PutControl<TLabel>(gb, this, "lblCut", 10, 162, 150, 16, prntxt::Truncation);
    chCut = PutControl<TCheckBox>(gb, this, "chCut", 170, 160, 20, 20);
    chCut->SetEnabled(false);
    lblWrap = PutControl<TLabel>(gb, this, "lblWrap", 10, 162, 150, 16, prntxt::FieldTextWraps);
    lblWrap->SetVisible(false);
    for (TComboBox* c : {cbPaperType_nostore, cbPaperOrient_nostore})
        c->OnChange = [this](TComponent*) { rbSelColClick(); };
    cbFont_nostore->OnChange = [this](TComponent*) { cbFontClick(); };
    chAutoformat->OnClick = [this](TComponent*) { rbSelColClick(); };
    eSep->OnChange = [this](TComponent*) { rbSelColClick(); };
}

void TrDBPrintForm::BuildRangeGroup()
{
    auto* gb = PutControl<TGroupBox>(this, this, "gbData1", 256, 56, 240, 192, prntxt::RangeOfPrint);
    rbSelCol = PutControl<TRadioButton>(gb, this, "rbSelCol", 10, 20, 220, 20, prntxt::VisibleItems);
    rbSelCol->SetChecked(true);
    rbAllCol = PutControl<TRadioButton>(gb, this, "rbAllCol", 10, 42, 220, 20, prntxt::AllItems);
    btFields = PutControl<TButton>(gb, this, "btFields", 10, 66, 105, 25, exptxt::ColumnSelection);
    btFields->SetHint(exptxt::ColumnSelectionHint);
    btFilter = PutControl<TButton>(gb, this, "btFilter", 123, 66, 105, 25, exptxt::DataSelection);
    btFilter->SetHint(exptxt::DataSelectionHint);
    lblSetDefaultCol = PutControl<TrHTMLLabel>(gb, this, "lblSetDefaultCol", 10, 96, 220, 18);
    lblSetDefaultCol->SetCaption(exptxt::SetDefaultCol);
    chSum = PutControl<TCheckBox>(gb, this, "chSum", 10, 118, 220, 20, prntxt::InsertSum);
    PutControl<TLabel>(gb, this, "lRecT", 10, 144, 150, 16, prntxt::NumberOfRecords);
    lRec = PutControl<TLabel>(gb, this, "lRec", 170, 144, 60, 16, QStringLiteral("?"));
    PutControl<TLabel>(gb, this, "lPagesT", 10, 166, 150, 16, prntxt::NumberOfPages);
    lPages = PutControl<TLabel>(gb, this, "lPages", 170, 166, 60, 16, QStringLiteral("?"));
    for (TControl* c : std::initializer_list<TControl*>{rbSelCol, rbAllCol, chSum})
        c->OnClick = [this](TComponent*) { rbSelColClick(); };
    btFields->OnClick = [this](TComponent*) {
        RunColumnChoice();
        AnalyzeData();
    };
    btFilter->OnClick = [this](TComponent*) {
        RunFilterChoice();
        SetCut();
    };
    lblSetDefaultCol->OnAnchorClick = [this](TComponent*, const QString&) {
        AssignGridProps();
        AnalyzeData();
        SetAutoformat();
    };
}

void TrDBPrintForm::BuildBottom()
{
    TTabSheet* p0 = BuildBusyBar(308, pc, lInfo, PBar, btAbort);
    btAbort->OnClick = [this](TComponent*) { RTFRep->DoAbort(); };
    btPrint = PutControl<TButton>(p0, this, "btPrint", 204, 2, 88, 25, prntxt::Print);
    btPrint->OnClick = [this](TComponent*) { RunExport(aaPrint); };
    btShow = PutControl<TButton>(p0, this, "btShow", 298, 2, 88, 25, prntxt::ShowDoc);
    btShow->SetDefault(true);
    btShow->OnClick = [this](TComponent*) { RunExport(aaShow); };
    btCancel = PutControl<TButton>(p0, this, "btCancel", 392, 2, 88, 25, prntxt::Close);
    btCancel->SetCancel(true);
    btCancel->SetModalResult(mrCancel);
}

void TrDBPrintForm::Prepare(TSourceType AType, TComponent* ASource, TDataSet* AData, bool Fields, bool Filter, const QString& Caption)
{
    RepCapt = Caption;
    btFilter->SetEnabled(Filter);
    btFields->SetEnabled(Fields);
    SetSource(AType, ASource, AData);
}

void TrDBPrintForm::FormShowHandler()
{
    FormShow(this);
    const bool table = SourceType == stGrid || SourceType == stDataset || SourceType == stStringGrid;
    lblCut->SetVisible(table);
    chCut->SetVisible(table);
    lblWrap->SetVisible(!table);
    rbSelCol->SetVisible(SourceType != stStringGrid);
    rbAllCol->SetVisible(SourceType != stStringGrid);
    chSum->SetVisible(table);
    btFilter->SetVisible(SourceType == stGrid || SourceType == stDataset);
    btFields->SetVisible(SourceType == stGrid || SourceType == stDataset);
    lblSetDefaultCol->SetVisible(SourceType == stGrid);
}

void TrDBPrintForm::Activate()
{
    TrDBSourceDlgForm::Activate();
    if (Loaded)
        return;
    FormActivate(this);
    Repaint();
    Loaded = true;
    if (!RepCapt.isEmpty())
        eCaption->SetText(RepCapt);
    AnalyzeData();
    rbSelColClick();
}

void TrDBPrintForm::ShowBusy(bool Busy, const QString& Info)
{
    lInfo->SetCaption(Info);
    PBar->SetPosition(0);
    pc->SetActivePageIndex(Busy ? 1 : 0);
}

void TrDBPrintForm::SyncEngine()
{
    RTFRep->Sep = eSep->AsInteger();
    RTFRep->Sum = chSum->Checked();
    RTFRep->ExportOnlyVisibleFields = rbSelCol->Checked() || SourceType == stStringGrid;
    RTFRep->Paper = std::max(0, cbPaperType_nostore->ItemIndex());
    RTFRep->Orientation = std::max(0, cbPaperOrient_nostore->ItemIndex());
    RTFRep->FontIndex = std::max(0, cbFont_nostore->ItemIndex());
    RTFRep->Caption = eCaption->Text();
}

void TrDBPrintForm::AnalyzeData()
{
    ShowBusy(true, prntxt::Checking + prntxt::OfData);
    SyncEngine();
    RTFRep->Measure(SourceType, RunSource());
    ShowBusy(false, QString());
}

void TrDBPrintForm::rbSelColClick()
{
    if (!Loaded)
        return;
    if (chAutoformat->Checked())
        SetAutoformat();
    else
        SetCut();
}

void TrDBPrintForm::cbFontClick()
{
    if (!Loaded)
        return;
    chAutoformat->SetChecked(false);
    SetCut();
}

void TrDBPrintForm::SetAutoformat()
{
    SyncEngine();
    RTFRep->SetAutoformat();
    // the engine's choice goes back into the boxes without their click handlers
    Loaded = false;
    cbPaperOrient_nostore->SetItemIndex(RTFRep->Orientation);
    cbFont_nostore->SetItemIndex(RTFRep->FontIndex);
    Loaded = true;
    SetCut();
}

void TrDBPrintForm::SetCut()
{
    SyncEngine();
    const int n = RTFRep->CountRows(SourceType, RunSource());
    lRec->SetCaption(QString::number(n));
    lPages->SetCaption(QString::number(RTFRep->PagesFor(n)));
    chCut->SetChecked(RTFRep->Cut());
}

void TrDBPrintForm::RunExport(TActionAfter After)
{
    SyncEngine();
    RTFRep->ActionAfter = After;
    RTFRep->Autoformat = false;
    RTFRep->PrinterName = ChosenPrinter(cbPrinter);
    ShowBusy(true, prntxt::CreatingReport);
    RTFRep->ExecuteSource(SourceType, RunSource());
    ShowBusy(false, QString());
}

QString TrDBPrintForm::OutputFile() const
{
    return RTFRep->OutputFile();
}

void DBPrintInt(TSourceType SourceType, TComponent* Source, bool Fields, bool Filter, const QString& Caption)
{
    TDataSet* data = nullptr;
    if (!ResolveSourceDataSet(SourceType, Source, data))
        return;
    ShowModalAndFree(new TrDBPrintForm(GetActiveOwner()), GPrintForm,
                     [&](TrDBPrintForm* F) { F->Prepare(SourceType, Source, data, Fields, Filter, Caption); });
}

void DBPrint(TCustomDBGrid* Grid, bool Fields, bool Filter, const QString& Caption)
{
    DBPrintInt(stGrid, Grid, Fields, Filter, Caption);
}
