// Writes the files of the exports and of direct printing into a folder, so
// a person can open them and look: gallery_export <folder>.

#include "components/output/TDBPrintDirect.h"
#include "components/output/TSLKExport.h"
#include "components/output/TTXTExport.h"
#include "components/output/TrXLSExport.h"
#include "tests/output/ExportFixture.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    auto d = MakeResultsTable(120);
    TDBPrintDirect p;
    p.Caption = QStringLiteral("Results of the evening training");
    p.PrintPageNumber = true;
    p.PrintRecCount = true;
    p.FitColumns = true;
    p.Orientation = poLandscape;
    p.ExportFile = out.filePath(QStringLiteral("print.pdf"));
    p.Execute(d.get());
    TDBPrintDirect g;
    g.PrintGrid = true;
    g.ExportFile = out.filePath(QStringLiteral("print_grid.pdf"));
    g.Execute(d.get());
    p.ExportFile = out.filePath(QStringLiteral("print.png"));
    p.Execute(d.get());
    g.ExportFile = out.filePath(QStringLiteral("print_grid.png"));
    g.Execute(d.get());
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.SetOption(xleSetCellBorders, true);
    x.SetOption(xleFreezeTitles, true);
    x.ExportFile = out.filePath(QStringLiteral("runs.xlsx"));
    x.ExportDBTable(d.get());
    return 0;
}
