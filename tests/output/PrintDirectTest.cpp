#include "components/output/TDBPrintDirect.h"
#include "tests/output/ExportFixture.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

int PdfPages(const QByteArray& Pdf)
{
    return int(QString::fromLatin1(Pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

}  // namespace

TEST(PrintDirect, PrintsEveryRowOnCountedPdfPages)
{
    auto d = MakeResultsTable(500);
    QTemporaryDir dir;
    TDBPrintDirect p;
    p.Caption = QStringLiteral("Results");
    p.PrintPageNumber = true;
    p.PrintRecCount = true;
    p.FitColumns = true;
    p.ExportFile = dir.filePath(QStringLiteral("runs.pdf"));
    ASSERT_TRUE(p.Execute(d.get()));
    const int pages = PdfPages(ReadAll(p.ExportFile));
    EXPECT_EQ(pages, p.PageCount());
    EXPECT_GE(pages, 5);  // 500 lines at 8 points do not fit on four A4 pages

    TDBPrintDirect wide;
    wide.ExportFile = dir.filePath(QStringLiteral("wide.pdf"));
    wide.FitColumns = false;  // 15 columns wrap onto continuation lines: more pages
    ASSERT_TRUE(wide.Execute(d.get()));
    EXPECT_GT(wide.PageCount(), pages);
}

TEST(PrintDirect, AbortLeavesNoPdf)
{
    auto d = MakeResultsTable(500);
    QTemporaryDir dir;
    TDBPrintDirect p;
    p.ExportFile = dir.filePath(QStringLiteral("runs.pdf"));
    p.OnProgressEvent = [&](TComponent*, TExportProgressStage St, int Pct, const QString&) {
        if (St == psRunning && Pct >= 50)
            p.DoAbort();
    };
    EXPECT_FALSE(p.Execute(d.get()));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
