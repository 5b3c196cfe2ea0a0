#include "components/output/rDBExport.h"

#include "components/base/rEditNum.h"
#include "components/base/rHTMLLabel.h"
#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/dbcontrols/TrDBRecView.h"
#include "components/dbcontrols/rDBFieldsForm.h"
#include "components/dbcontrols/rDBFilterForm.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/TrDBGridsPropSave.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rdbtool.h"
#include "components/output/GridSelection.h"
#include "components/output/TRTFReport2.h"
#include "components/output/TSLKExport.h"
#include "components/output/TTXTExport.h"
#include "components/output/TrXLSExport.h"
#include "components/output/TrXMLReport.h"
#include "components/output/rDBTwinGrid.h"
#include "platform/database/DataSource.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/TreeViews.h"
#include "resources/ExportTexts.h"

#include <QFileInfo>

namespace {

// The icon of a kind's page: a small sheet with a ruled grid and the kind's
// letter on a badge of its colour.
void DrawKindIcon(TBitmap* Bmp, TColor Badge, const QString& Letter)
{
    Bmp->SetSize(24, 24);
    TCanvas* c = Bmp->Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect{0, 0, 24, 24});
    c->Pen()->SetColor(TColor(0xA0A0A0));
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(1, 1, 21, 23);
    for (int y = 6; y < 23; y += 4)
        c->Polyline({{2, y}, {20, y}});
    c->Polyline({{8, 2}, {8, 22}});
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Badge);
    c->FillRect(TRect{11, 11, 24, 24});
    c->Font()->SetName(QStringLiteral("DejaVu Sans"));
    c->Font()->SetSize(7);
    c->Font()->SetStyle(fsBold);
    c->Font()->SetColor(clWhite);
    c->Brush()->SetStyle(bsClear);
    TRect r{11, 11, 24, 24};
    DrawText(c, Letter, -1, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}


TrDBExportForm* GExportForm = nullptr;

TCheckBox* Check(TWinControl* Parent, TComponent* Owner, const char* Name, int Y, const QString& Caption, const QString& Hint = QString())
{
    auto* c = PutControl<TCheckBox>(Parent, Owner, Name, 10, Y, 210, 20, Caption);
    c->SetHint(Hint);
    return c;
}

QString TemplateExt(const QString& Template)
{
    return QFileInfo(Template).suffix();
}

}  // namespace

TrDBExportForm* ActiveExportForm() { return GExportForm; }

QString ExportSeparator(const QString& Text)
{
    if (Text.isEmpty())
        return Text;
    if (Text.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const int code = Text.mid(1, 3).trimmed().toInt(&ok);
        return QString(QChar(ok ? code : 0));
    }
    if (Text.size() > 8)
        return Text.left(1);
    return Text;
}

TrDBExportForm::TrDBExportForm(TComponent* AOwner) : TrDBSourceDlgForm(AOwner)
{
    SetName(QStringLiteral("rDBExportForm"));
    SetCaption(exptxt::ExportCaption);
    SetClientWidth(491);
    SetClientHeight(371);
    Constraints.MinWidth = 492;
    Constraints.MinHeight = 400;
    BuildControls();
    TXTExp = new TTXTExport(this);
    TXTExp->FieldSeparator = QStringLiteral(" ");
    TXTExp->ShowProgressBar = true;
    XLSExp = new TrXLSExport(this);
    XLSExp->ShowProgressBar = true;
    SLKExp = new TSLKExport(this);
    SLKExp->SetFontName = QStringLiteral("Arial");
    SLKExp->ShowProgressBar = true;
    RTFRep = new TRTFReport2(this);
    RTFRep->ShowMaximized = true;
    RTFRep->ShowSaveErrorDialog = true;
    RTFRep->ShowProgressBar = true;
    XMLRep = new TrXMLReport(this);
    XMLRep->ShowMaximized = true;
    XMLRep->ShowSaveErrorDialog = true;
    XMLRep->ShowProgressBar = true;
    OpenDlg = new TOpenDialog(this);
    SaveDlg = new TSaveDialog(this);
    SaveDlg->Options |= ofOverwritePrompt;
    StoreControls({"cbAction_nostore", "cbSeparator_nostore", "eCharSet", "chAdd1", "chAdd2", "chAddSheet2", "chCol1", "chCol2",
                   "chFName1", "chFRealName1", "chFName2", "chFRealName2", "chFreezePanes2", "chSum2", "rbAllCol", "rbSelCol", "rg0",
                   "rg1", "rg2", "rg3", "chSelRecOnly", "chBorders2"});
    OnShow = [this](TComponent*) { FormShowHandler(); };
    OnClose = [this](TComponent* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    FormCreate(this);
}

void TrDBExportForm::BuildControls()
{
    rg = PutControl<TGroupBox>(this, this, "rg", 8, 6, 236, 112, exptxt::TypeOfExport);
    const QString kinds[4] = {exptxt::KindText, exptxt::KindExcel, exptxt::KindSlk, exptxt::KindTemplate};
    const char* names[4] = {"rg0", "rg1", "rg2", "rg3"};
    for (int i = 0; i < 4; ++i) {
        rgItems[i] = PutControl<TRadioButton>(rg, this, names[i], 10, 20 + i * 22, 220, 20, kinds[i]);
        rgItems[i]->OnClick = [this](TComponent*) { rgClick(); };
    }
    rgItems[0]->SetChecked(true);

    gbData = PutControl<TGroupBox>(this, this, "gbData", 252, 6, 231, 162, exptxt::RangeOfExport);
    rbSelCol = PutControl<TRadioButton>(gbData, this, "rbSelCol", 10, 20, 210, 20, exptxt::VisibleColumns);
    rbSelCol->SetChecked(true);
    rbAllCol = PutControl<TRadioButton>(gbData, this, "rbAllCol", 10, 42, 210, 20, exptxt::AllColumns);
    btFields = PutControl<TButton>(gbData, this, "btFields", 10, 66, 102, 25, exptxt::ColumnSelection);
    btFields->SetHint(exptxt::ColumnSelectionHint);
    btFields->OnClick = [this](TComponent*) { RunColumnChoice(); };
    btFilter = PutControl<TButton>(gbData, this, "btFilter", 118, 66, 102, 25, exptxt::DataSelection);
    btFilter->SetHint(exptxt::DataSelectionHint);
    btFilter->OnClick = [this](TComponent*) { RunFilterChoice(); };
    lblSetDefaultCol = PutControl<TrHTMLLabel>(gbData, this, "lblSetDefaultCol", 10, 98, 210, 18);
    lblSetDefaultCol->SetCaption(exptxt::SetDefaultCol);
    lblSetDefaultCol->OnAnchorClick = [this](TComponent*, const QString&) { AssignGridProps(); };
    chSelRecOnly = PutControl<TCheckBox>(gbData, this, "chSelRecOnly", 10, 122, 210, 20, exptxt::SelectedRowsOnly);

    pg = PutControl<TPageControl>(this, this, "pg", 8, 124, 236, 238);
    BuildTextPage();
    BuildSheetPage();
    BuildTemplatePage();
    for (int i = 0; i < pg->PageCount(); ++i)
        pg->Pages(i)->SetTabVisible(false);
    pg->SetVisible(false);

    PutControl<TLabel>(this, this, "lAction", 252, 178, 231, 16, exptxt::ExportedFile);
    cbAction_nostore = PutControl<TComboBox>(this, this, "cbAction_nostore", 252, 196, 231, 23);
    cbAction_nostore->SetStyle(csDropDownList);
    cbAction_nostore->SetItems({exptxt::SaveOnly, exptxt::Show, exptxt::Print});
    cbAction_nostore->SetItemIndex(int(aaShow));

    btOk = PutControl<TButton>(this, this, "btOk", 300, 337, 88, 25, exptxt::Ok);
    btOk->SetHint(exptxt::OkHint);
    btOk->SetEnabled(false);
    btOk->SetDefault(true);
    btOk->OnClick = [this](TComponent*) { btOkClick(); };
    btCancel = PutControl<TButton>(this, this, "btCancel", 395, 337, 88, 25, exptxt::Cancel);
    btCancel->SetHint(exptxt::CancelHint);
    btCancel->SetCancel(true);
    btCancel->SetModalResult(mrCancel);
}

void TrDBExportForm::BuildTextPage()
{
    auto* page = new TTabSheet(this);
    page->SetPageControl(pg);
    auto* gb = PutControl<TGroupBox>(page, this, "gbProps1", 4, 4, 224, 200, exptxt::Properties);
    chFName1 = Check(gb, this, "chFName1", 20, exptxt::AddColumnName, exptxt::AddColumnNameHint);
    chFName1->SetChecked(true);
    chFRealName1 = Check(gb, this, "chFRealName1", 42, exptxt::UseRealNames);
    chCol1 = Check(gb, this, "chCol1", 64, exptxt::AlignData, exptxt::AlignDataHint);
    chAdd1 = Check(gb, this, "chAdd1", 86, exptxt::AppendAfter, exptxt::AppendAfterHint);
    PutControl<TLabel>(gb, this, "lSeparator", 10, 114, 200, 16, exptxt::ColumnSeparator);
    cbSeparator_nostore = PutControl<TComboBox>(gb, this, "cbSeparator_nostore", 10, 132, 200, 23);
    cbSeparator_nostore->SetHint(exptxt::SeparatorHint);
    cbSeparator_nostore->SetItems({exptxt::SepComma, exptxt::SepSemicolon, exptxt::SepTab, exptxt::SepSpace});
    cbSeparator_nostore->SetText(exptxt::SepSemicolon);
    for (TCheckBox* c : {chFName1, chFRealName1})
        c->OnClick = [this](TComponent*) { UpdateRealNames(); };
}

void TrDBExportForm::BuildSheetPage()
{
    auto* page = new TTabSheet(this);
    page->SetPageControl(pg);
    auto* gb = PutControl<TGroupBox>(page, this, "gbProps2", 4, 4, 224, 222, exptxt::Properties);
    chFName2 = Check(gb, this, "chFName2", 20, exptxt::AddColumnName);
    chFName2->SetChecked(true);
    chFRealName2 = Check(gb, this, "chFRealName2", 42, exptxt::UseRealNames);
    chSum2 = Check(gb, this, "chSum2", 64, exptxt::AddSums, exptxt::AddSumsHint);
    chAddSheet2 = Check(gb, this, "chAddSheet2", 86, exptxt::AddAsNewSheet, exptxt::AddAsNewSheetHint);
    chAdd2 = Check(gb, this, "chAdd2", 108, exptxt::AppendBelow);
    chCol2 = Check(gb, this, "chCol2", 130, exptxt::SetColumnsWidth, exptxt::SetColumnsWidthHint);
    chCol2->SetChecked(true);
    chBorders2 = Check(gb, this, "chBorders2", 152, exptxt::SetCellBorders);
    chFreezePanes2 = Check(gb, this, "chFreezePanes2", 174, exptxt::FreezeTitleRow, exptxt::FreezeTitleRowHint);
    Image2a = PutControl<TImage>(gb, this, "Image2a", 190, 196, 24, 24);
    Image2b = PutControl<TImage>(gb, this, "Image2b", 190, 196, 24, 24);
    DrawKindIcon(Image2a->Picture()->Bitmap(), TColor(0x467321), QStringLiteral("X"));
    DrawKindIcon(Image2b->Picture()->Bitmap(), TColor(0x9C5B1F), QStringLiteral("S"));
    for (TCheckBox* c : {chFName2, chFRealName2})
        c->OnClick = [this](TComponent*) { UpdateRealNames(); };
}

void TrDBExportForm::BuildTemplatePage()
{
    auto* page = new TTabSheet(this);
    page->SetPageControl(pg);
    btRepFile = PutControl<TButton>(page, this, "btRepFile", 8, 8, 120, 25, exptxt::ReportTemplate);
    btRepFile->SetHint(exptxt::ReportTemplateHint);
    btRepFile->OnClick = [this](TComponent*) { btRepFileClick(); };
    lRepFile = PutControl<TrHTMLLabel>(page, this, "lRepFile", 8, 40, 216, 36);
    lRepFile->SetVisible(false);
    PutControl<TLabel>(page, this, "lCharSet", 8, 88, 150, 16, exptxt::CodePage);
    eCharSet = PutControl<TrEditNum>(page, this, "eCharSet", 8, 106, 80, 23);
    eCharSet->MinValue = 0;
    eCharSet->MaxValue = 9999;
    eCharSet->StepValue = 1;
    eCharSet->SetAsInteger(238);
}

int TrDBExportForm::Kind() const
{
    for (int i = 0; i < 4; ++i)
        if (rgItems[i] && rgItems[i]->Checked())
            return i;
    return -1;
}

void TrDBExportForm::SetKind(int K)
{
    if (K >= 0 && K < 4 && rgItems[K])
        rgItems[K]->SetChecked(true);
    rgClick();
}

void TrDBExportForm::RemoveTemplateKind()
{
    const bool wasChosen = Kind() == ekTemplate;
    rDlgPropSave->StdCtrl()->Components.Delete(rDlgPropSave->StdCtrl()->Components.IndexOf(QStringLiteral("rg3")));
    delete rgItems[ekTemplate];
    rgItems[ekTemplate] = nullptr;
    rg->SetHeight(rg->Height() - 22);
    if (wasChosen)
        rgItems[0]->SetChecked(true);
}

void TrDBExportForm::Prepare(TSourceType AType, TComponent* ASource, TDataSet* AData, bool ASetFlt, bool ASetCol,
                             bool SelRecVisible, bool AStructOnly)
{
    StructOnly = AStructOnly;
    SetFlt = ASetFlt;
    SetCol = ASetCol;
    chSelRecOnly->SetVisible(SelRecVisible);
    SetSource(AType, ASource, AData);
}

void TrDBExportForm::FormShowHandler()
{
    FormShow(this);
    lblSetDefaultCol->SetVisible(SourceType == stGrid);
    chSum2->SetVisible(SourceType != stTreeView);
    rgClick();
    UpdateRealNames();
}

void TrDBExportForm::UpdateRealNames()
{
    chFRealName1->SetEnabled(chFName1->Checked());
    chFRealName2->SetEnabled(chFName2->Checked());
}

void TrDBExportForm::rgClick()
{
    const int k = Kind();
    // 1.
    pg->SetActivePageIndex(k == ekText ? 0 : k == ekTemplate ? 2 : 1);
    pg->SetVisible(true);
    // 2.
    for (TControl* c : std::initializer_list<TControl*>{chBorders2, chAddSheet2, chAdd2, chFreezePanes2, Image2a})
        c->SetVisible(k == ekExcel);
    Image2b->SetVisible(!Image2a->Visible());
    // 3.
    btFilter->SetEnabled(SetFlt);
    btFields->SetEnabled(SetCol && k != ekTemplate);
    for (TControl* c : std::initializer_list<TControl*>{rbSelCol, rbAllCol, chSelRecOnly})
        c->SetEnabled(btFields->Enabled());
    // 4.
    btOk->SetEnabled(k >= 0 && !(k == ekTemplate && FTemplate.isEmpty()));
    // 5.
    SaveDlg->FileName.clear();
}

void TrDBExportForm::btRepFileClick()
{
    OpenDlg->Filter = exptxt::FilterRtf + QLatin1Char('|') + exptxt::FilterDocx + QLatin1Char('|') + exptxt::FilterOdt +
                      QLatin1Char('|') + exptxt::FilterAll;
    if (!OpenDlg->Execute())
        return;
    FTemplate = QFileInfo(OpenDlg->FileName).absoluteFilePath();
    lRepFile->SetCaption(FTemplate);
    lRepFile->SetVisible(true);
    RTFRep->ReportFile = FTemplate;
    XMLRep->ReportFile = FTemplate;
    eCharSet->SetEnabled(TemplateExt(FTemplate).compare(QLatin1String("rtf"), Qt::CaseInsensitive) == 0);
    btOk->SetEnabled(true);
}

QString TrDBExportForm::SaveFilter(int K, const QString& Template)
{
    QString f;
    if (K == ekTemplate) {
        const QString ext = TemplateExt(Template).toLower();
        f = ext == QLatin1String("rtf")    ? exptxt::FilterRtf
            : ext == QLatin1String("docx") ? exptxt::FilterDocx
            : ext == QLatin1String("odt")  ? exptxt::FilterOdt
                                           : QString();
    } else {
        const QString filters[3] = {exptxt::FilterText, exptxt::FilterExcel, exptxt::FilterSlk};
        f = filters[std::clamp(K, 0, 2)];
    }
    if (!f.isEmpty())
        f += QLatin1Char('|');
    return f + exptxt::FilterAll;
}

QString TrDBExportForm::DefaultExt(int K, const QString& Template)
{
    if (K == ekTemplate)
        return TemplateExt(Template);
    const char* exts[3] = {"txt", "xlsx", "slk"};
    return QLatin1String(exts[std::clamp(K, 0, 2)]);
}

bool TrDBExportForm::SelectedRowsChoice() const
{
    return chSelRecOnly->Visible() && chSelRecOnly->Checked();
}

void TrDBExportForm::btOkClick()
{
    const int k = Kind();
    if (k < 0)
        return;
    const int after = cbAction_nostore->ItemIndex();
    QString file;
    // 1. A spreadsheet that is only shown or printed needs no file name.
    const bool noFile = k == ekExcel && ParioCompConfig.RTFRepDlgCfg.ExportExcelNoFileName && (after == aaShow || after == aaPrint) &&
                        !chAddSheet2->Checked() && !chAdd2->Checked();
    // 2.
    if (!noFile) {
        SaveDlg->Filter = SaveFilter(k, FTemplate);
        SaveDlg->DefaultExt = DefaultExt(k, FTemplate);
        if (!SaveDlg->Execute())
            return;
        file = SaveDlg->FileName;
    }
    // 3.
    Repaint();
    ShowInfo(exptxt::Exporting + exptxt::OfData, this);
    // 4. - 5.
    try {
        RunKind(k, file);
    } catch (const std::exception& E) {
        ShowInfo(QString(), nullptr);
        ShowErr(exptxt::CannotExport, E, false);
    }
    // 6.
    ShowInfo(QString(), nullptr);
}

void TrDBExportForm::RunKind(int K, const QString& File)
{
    switch (K) {
    case ekText: RunText(File); break;
    case ekExcel: RunExcel(File); break;
    case ekSlk: RunSlk(File); break;
    case ekTemplate: RunTemplate(File); break;
    default: break;
    }
}

void TrDBExportForm::RunText(const QString& File)
{
    TTXTExport* e = TXTExp;
    e->UseDisableControl = ParioCompConfig.rDBExportCfg.UseDisableControl;
    e->ExportFile = File;
    e->ExportFieldName = chFName1->Checked();
    e->RealFieldNamesAsTitle = chFRealName1->Checked();
    e->ExportStructureOnly = StructOnly;
    e->ExportOnlySelectedRows = SelectedRowsChoice();
    if (chCol1->Checked()) {
        e->TextApostrophe.clear();
        e->FillChar = QLatin1Char(' ');
    } else {
        e->TextApostrophe = QStringLiteral("\"");
        e->FillChar = QChar(0);
    }
    e->FieldSeparator = ExportSeparator(cbSeparator_nostore->Text());
    e->ExportOnlyVisibleFields = rbSelCol->Checked();
    e->AppendToFile = chAdd1->Checked();
    e->ActionAfter = TActionAfter(cbAction_nostore->ItemIndex());
    e->ExecuteSource(SourceType, RunSource());
}

void TrDBExportForm::RunExcel(const QString& File)
{
    TrXLSExport* e = XLSExp;
    e->UseDisableControl = ParioCompConfig.rDBExportCfg.UseDisableControl;
    e->ExportFile = File;
    e->SetOption(xleExportTitles, chFName2->Checked());
    e->SetOption(xleRealFieldNamesAsTitle, chFRealName2->Checked());
    e->SetOption(xleAddSumRow, chSum2->Visible() && chSum2->Checked());
    e->SetOption(xleSetColumnWidth, chCol2->Checked());
    e->SetOption(xleSetCellBorders, chBorders2->Checked());
    e->SetOption(xleAddAsNewSheet, chAddSheet2->Checked());
    e->SetOption(xleAddToExistingRows, chAdd2->Checked());
    e->SetOption(xleFreezeTitles, chFreezePanes2->Checked());
    e->SetOption(xleOnlyVisibleFields, rbSelCol->Checked());
    e->SetOption(xleOnlySelectedRows, SelectedRowsChoice());
    e->ExportStructureOnly = StructOnly;
    e->SetStartRow(1);
    e->SetStartCol(1);
    e->ActionAfter = TActionAfter(cbAction_nostore->ItemIndex());
    e->ExportSource(SourceType, RunSource(), QString());
}

void TrDBExportForm::RunSlk(const QString& File)
{
    TSLKExport* e = SLKExp;
    e->UseDisableControl = ParioCompConfig.rDBExportCfg.UseDisableControl;
    e->ExportFile = File;
    e->ExportFieldName = chFName2->Checked();
    e->RealFieldNamesAsTitle = chFRealName2->Checked();
    e->ExportStructureOnly = StructOnly;
    e->SetColWidth = chCol2->Checked();
    e->MakeSumRow = chSum2->Visible() && chSum2->Checked();
    e->ExportOnlyVisibleFields = rbSelCol->Checked();
    e->ExportOnlySelectedRows = SelectedRowsChoice();
    e->ActionAfter = TActionAfter(cbAction_nostore->ItemIndex());
    e->ExecuteSource(SourceType, RunSource());
}

void TrDBExportForm::RunTemplate(const QString& File)
{
    const QString ext = TemplateExt(FTemplate).toLower();
    const TActionAfter after = TActionAfter(cbAction_nostore->ItemIndex());
    if (ext == QLatin1String("docx") || ext == QLatin1String("odt")) {
        XMLRep->OutputFile = File;
        XMLRep->ActionAfter = after;
        XMLRep->Execute({DataSet});
    } else {
        RTFRep->OutputFile = File;
        RTFRep->DefaultCharset = eCharSet->AsInteger();
        RTFRep->ActionAfter = after;
        RTFRep->Execute({DataSet});
    }
}

void DBExportInt(TSourceType SourceType, TComponent* Source, bool SetFlt, bool SetCol, bool NoTemplateType, bool SelRecVisible,
                 bool StructOnly)
{
    // 1.
    if (!Source)
        return;
    // 2.
    TDataSet* data = nullptr;
    if (!ResolveSourceDataSet(SourceType, Source, data))
        return;
    // 3. - 6.
    ShowModalAndFree(new TrDBExportForm(GetActiveOwner()), GExportForm, [&](TrDBExportForm* F) {
        if (NoTemplateType)
            F->RemoveTemplateKind();
        F->Prepare(SourceType, Source, data, SetFlt, SetCol, SelRecVisible, StructOnly);
    });
}

void DBExport(TCustomDBGrid* Grid, bool SetFlt, bool SetCol, bool NoTemplateType, bool StructOnly)
{
    if (!Grid)
        return;
    const bool selected = SelectedRowCount(Grid) > 0;
    DBExportInt(stGrid, Grid, SetFlt, SetCol, NoTemplateType, selected, StructOnly);
}
