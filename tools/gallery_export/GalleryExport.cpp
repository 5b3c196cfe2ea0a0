// Writes the files of the exports and of direct printing into a folder, and
// pictures of the export dialog, the print dialogs and the page preview, so
// a person can open them and look: gallery_export <folder>.

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rImageZoom.h"
#include "components/dbcontrols/TrDBRecView.h"
#include "components/output/TDBPrintDirect.h"
#include "components/output/TSLKExport.h"
#include "components/output/TTXTExport.h"
#include "components/output/TrXLSExport.h"
#include "components/output/rDBExport.h"
#include "components/output/rDBPrint.h"
#include "components/output/rDBPrintDirect.h"
#include "components/output/rDBPrintDirectPreview.h"
#include "platform/print/Printers.h"
#include "platform/ui/TreeViews.h"
#include "tests/output/ExportFixture.h"

#include <QDir>

namespace {

void WriteFiles(const QDir& out, TDataSet* d)
{
    TDBPrintDirect p;
    p.Caption = QStringLiteral("Results of the evening training");
    p.PrintPageNumber = true;
    p.PrintRecCount = true;
    p.FitColumns = true;
    p.Orientation = poLandscape;
    p.ExportFile = out.filePath(QStringLiteral("print.pdf"));
    p.Execute(d);
    TDBPrintDirect g;
    g.PrintGrid = true;
    g.ExportFile = out.filePath(QStringLiteral("print_grid.pdf"));
    g.Execute(d);
    p.ExportFile = out.filePath(QStringLiteral("print.png"));
    p.Execute(d);
    g.ExportFile = out.filePath(QStringLiteral("print_grid.png"));
    g.Execute(d);
    // Booleans print as check boxes
    TClientDataSet b;
    b.AddField(QStringLiteral("NAME"), ftWideString, 30);
    b.AddField(QStringLiteral("PAID"), ftBoolean);
    b.CreateDataSet();
    b.AppendRecord({QStringLiteral("Mäkinen Liisa"), true});
    b.AppendRecord({QStringLiteral("Virtanen Aino"), false});
    b.First();
    g.ExportFile = out.filePath(QStringLiteral("print_bool.png"));
    g.Execute(&b);
    // a record view (right-aligned numbers, a long note in one framed cell) and
    // a tree view whose long item text wraps beside its depth
    TClientDataSet r;
    r.AddField(QStringLiteral("NAME"), ftWideString, 30)->SetDisplayLabel(QStringLiteral("Runner"));
    r.AddField(QStringLiteral("FEE"), ftCurrency);
    r.AddField(QStringLiteral("NOTE"), ftMemo)->SetDisplayLabel(QStringLiteral("Note"));
    r.CreateDataSet();
    r.AppendRecord({QStringLiteral("Mäkinen Liisa"), 12.5,
                    QStringLiteral("First line\r\n") + QStringLiteral("a long note that wraps ").repeated(12)});
    r.First();
    TExportRecView view(&r);
    auto* tree = new TTreeView(view.Form.get());
    tree->SetParent(view.Form.get());
    TTreeNode* h21 = tree->Items()->Add(nullptr, QStringLiteral("H21"));
    tree->Items()->AddChild(h21, QStringLiteral("Korhonen Eero, OK Espoo: ") + QStringLiteral("a long remark on the run ").repeated(10));
    h21->SetExpanded(true);
    g.ExportFile = out.filePath(QStringLiteral("print_recview.png"));
    g.ExecuteSource(stRecView, view.View);
    g.ExportFile = out.filePath(QStringLiteral("print_tree.png"));
    g.ExecuteSource(stTreeView, tree);
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.SetOption(xleSetCellBorders, true);
    x.SetOption(xleFreezeTitles, true);
    x.ExportFile = out.filePath(QStringLiteral("runs.xlsx"));
    x.ExportDBTable(d);
}

void Settle()
{
    for (int i = 0; i < 5; ++i)
        Application->ProcessMessages();
}

void Shot(TCustomForm* F, const QDir& Out, const QString& Name)
{
    Settle();
    TBitmap b;
    F->PaintTo(&b);
    b.SaveToFile(Out.filePath(Name + QStringLiteral(".png")));
}

}  // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    QDir().mkpath(out.path());
    SetPrintersForTesting(QStringList{QStringLiteral("Start desk laser"), QStringLiteral("Finish desk")},
                          QStringLiteral("Finish desk"));
    ParioCompConfig.rDBPrintCfg.PrintData_Dir = out.filePath(QStringLiteral("printdata"));
    auto d = MakeResultsTable(120);
    WriteFiles(out, d.get());

    TExportGrid grid(d.get());
    grid.Form->Show();
    grid.Select({3, 5});
    SetModalHook([&](TCustomForm* F) {
        if (auto* e = dynamic_cast<TrDBExportForm*>(F)) {
            Shot(e, out, QStringLiteral("dialog_export_text"));
            e->SetKind(ekExcel);
            Shot(e, out, QStringLiteral("dialog_export_excel"));
            e->SetKind(ekSlk);
            Shot(e, out, QStringLiteral("dialog_export_slk"));
            e->SetKind(ekTemplate);
            Shot(e, out, QStringLiteral("dialog_export_template"));
        } else if (auto* p = dynamic_cast<TrDBPrintForm*>(F)) {
            Shot(p, out, PrinterNames().isEmpty() ? QStringLiteral("dialog_print_rtf_no_printers") : QStringLiteral("dialog_print_rtf"));
        } else if (auto* pd = dynamic_cast<TrDBPrintDirectForm*>(F)) {
            Shot(pd, out, QStringLiteral("dialog_print_direct"));
            pd->chPrintFooter->SetChecked(true);
            pd->RunPrint(true);
        } else if (auto* pv = dynamic_cast<TrDBPrintDirectPreviewForm*>(F)) {
            pv->SetBounds(pv->Left(), pv->Top(), 900, 700);
            Settle();
            pv->btFit->Click();
            Shot(pv, out, QStringLiteral("preview_fit"));
            pv->btNextClick();
            pv->Img->SetZoom(60);
            Shot(pv, out, QStringLiteral("preview_zoomed_page2"));
        }
        return int(mrCancel);
    });
    DBExport(grid.Grid, true, true);
    DBPrint(grid.Grid, true, true, QStringLiteral("Evening training"));
    DBPrintDirect(grid.Grid, true, true, QStringLiteral("Evening training"));
    // a computer without printers prints into PDF files
    SetPrintersForTesting(QStringList{});
    DBPrint(grid.Grid, true, true, QStringLiteral("Evening training"));
    SetModalHook(nullptr);
    return 0;
}
