// Exports of the sources that are not data grids: a record view (the
// current record), a tree view (its shown nodes, indented by depth) and a
// string grid (its data rows, numbers as numbers, sums over number columns).

#include "components/dbcontrols/TrDBRecView.h"
#include "components/output/RtfPlainText.h"
#include "components/output/TDBPrintDirect.h"
#include "components/output/TDBPrintRTF.h"
#include "components/output/TSLKExport.h"
#include "components/output/TTXTExport.h"
#include "components/output/TrXLSExport.h"
#include "components/output/rDBExport.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/StdCtrls.h"
#include "components/stringgrid/rStringGridEd.h"
#include "components/stringgrid/rStringGridEdColumn.h"
#include "platform/rtl/DateUtils.h"
#include "platform/database/ClientDataSet.h"
#include "platform/database/DataSource.h"
#include "platform/ui/Forms.h"
#include "platform/ui/TreeViews.h"
#include "tests/output/XlsxReadBack.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Sources {
    TForm form{nullptr};
    TrStringGridEd* grid = nullptr;
    TTreeView* tree = nullptr;
    TrDBRecView* view = nullptr;
    TClientDataSet data;
    TDataSource src;
    QTemporaryDir dir;

    Sources()
    {
        form.SetBounds(0, 0, 600, 400);
        grid = new TrStringGridEd(&form);
        grid->SetParent(&form);
        grid->SetColCount(3);
        grid->SetRowCount(4);
        grid->SetFixedRows(1);
        grid->SetFixedCols(0);
        const char* titles[] = {"Runner", "Km", "Club"};
        for (int c = 0; c < 3; ++c)
            grid->Columns()->Items(c)->SetTitleCaption(QString::fromLatin1(titles[c]));
        grid->Columns()->Items(1)->DataType = sgdNumber;
        const char* cells[3][3] = {{"Hämäläinen Säde", "4,5", "OK Espoo"}, {"Virtanen; \"Aino\"", "5", ""}, {"Österberg", "", "Rasti"}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                grid->SetCells(c, r + 1, QString::fromUtf8(cells[r][c]));

        tree = new TTreeView(&form);
        tree->SetParent(&form);
        TTreeNode* a = tree->Items()->Add(nullptr, QStringLiteral("H21"));
        tree->Items()->AddChild(a, QStringLiteral("Korhonen Eero"));
        TTreeNode* b = tree->Items()->Add(nullptr, QStringLiteral("D21"));
        tree->Items()->AddChild(b, QStringLiteral("hidden child"));
        a->SetExpanded(true);

        data.AddField(QStringLiteral("NAME"), ftWideString, 30)->SetDisplayLabel(QStringLiteral("Runner"));
        data.AddField(QStringLiteral("FEE"), ftCurrency);
        data.CreateDataSet();
        data.AppendRecord({QStringLiteral("Mäkinen Liisa"), 12.5});
        data.AppendRecord({QStringLiteral("Second"), 7.0});
        data.First();
        src.SetDataSet(&data);
        view = new TrDBRecView(&form);
        view->SetParent(&form);
        view->SetDataSource(&src);
        form.AfterConstruction();
    }
    QString File(const char* Name) const { return dir.filePath(QLatin1String(Name)); }
};

QByteArray ReadBytes(const QString& Name)
{
    QFile f(Name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList TextLines(TTXTExport& T)
{
    QStringList l;
    for (int i = 0; i < T.ExportResult.Count(); ++i)
        l << T.ExportResult[i];
    return l;
}

TEST(ExportSources, TextOfStringGridTreeAndRecordView)
{
    Sources s;
    TTXTExport t;
    t.ActionAfter = aaNone;
    t.FieldSeparator = QStringLiteral(";");
    t.FillChar = QChar();
    ASSERT_TRUE(t.Execute(s.grid));
    EXPECT_EQ(TextLines(t), (QStringList{QStringLiteral("Runner;Km;Club"), QStringLiteral("Hämäläinen Säde;4,5;OK Espoo"),
                                         QStringLiteral("Virtanen; \"Aino\";5;"), QStringLiteral("Österberg;;Rasti")}));
    ASSERT_TRUE(t.Execute(s.tree));
    // a tree has no columns: an empty title line, then the shown nodes
    EXPECT_EQ(TextLines(t), (QStringList{QString(), QStringLiteral("H21"), QStringLiteral("  Korhonen Eero"), QStringLiteral("D21")}));
    ASSERT_TRUE(t.Execute(s.view));
    EXPECT_EQ(TextLines(t), (QStringList{QStringLiteral("Runner;FEE"), QStringLiteral("Mäkinen Liisa;12,50 €")}));
}

TEST(ExportSources, SylkAndSpreadsheetOfStringGridAndTree)
{
    Sources s;
    TSLKExport k;
    k.ActionAfter = aaNone;
    k.MakeSumRow = true;
    k.Encoding = seUtf8;
    k.ExportFile = s.File("grid.slk");
    ASSERT_TRUE(k.Execute(s.grid));
    const QString slk = QString::fromUtf8(ReadBytes(k.ExportFile));
    EXPECT_TRUE(slk.contains(QStringLiteral("C;K4.5"))) << slk.toStdString();
    EXPECT_TRUE(slk.contains(QStringLiteral("C;K\"Hämäläinen Säde\"")));
    EXPECT_TRUE(slk.contains(QStringLiteral(";K9.5;ESUM(R2C:R4C)"))) << slk.toStdString();
    k.ExportFile = s.File("tree.slk");
    ASSERT_TRUE(k.Execute(s.tree));
    EXPECT_TRUE(QString::fromUtf8(ReadBytes(k.ExportFile)).contains(QStringLiteral("C;X2\r\nC;K\"Korhonen Eero\"")));

    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.SetOption(xleAddSumRow, true);
    x.ExportFile = s.File("grid.xlsx");
    ASSERT_TRUE(x.ExportSource(stStringGrid, s.grid));
    const TXlsxReadBack book = ReadXlsx(x.ExportFile);
    ASSERT_TRUE(book.Ok);
    EXPECT_EQ(book.Cell(QStringLiteral("B2")), QStringLiteral("4.5"));
    EXPECT_EQ(book.Cell(QStringLiteral("A2")), QStringLiteral("Hämäläinen Säde"));
    EXPECT_EQ(book.Cells.value(QStringLiteral("B5")).Formula, QStringLiteral("SUM(B2:B4)"));
    x.ExportFile = s.File("tree.xlsx");
    ASSERT_TRUE(x.ExportSource(stTreeView, s.tree));
    EXPECT_EQ(ReadXlsx(x.ExportFile).Cell(QStringLiteral("B3")), QStringLiteral("Korhonen Eero"));
    // no tree column sums up: the sum row holds the word in its first column
    const TXlsxReadBack tree = ReadXlsx(x.ExportFile);
    QString sumCell;
    for (auto it = tree.Cells.cbegin(); it != tree.Cells.cend(); ++it)
        if (it.value().Value == QLatin1String("Sum:"))
            sumCell = it.key();
    EXPECT_TRUE(sumCell.startsWith(QLatin1Char('A'))) << sumCell.toStdString();
}

TEST(ExportSources, PrintedDirectlyAndToRtf)
{
    Sources s;
    TDBPrintDirect p;
    for (TComponent* src : std::initializer_list<TComponent*>{s.grid, s.tree, s.view}) {
        p.ExportFile = s.File("print.pdf");
        p.PrintSum = true;
        const TSourceType t = src == s.grid ? stStringGrid : src == s.tree ? stTreeView : stRecView;
        ASSERT_TRUE(p.ExecuteSource(t, src)) << int(t);
        EXPECT_EQ(p.PageCount(), 1);
    }
    TDBPrintRTF r;
    r.ActionAfter = aaNone;
    r.Folder = s.dir.path();
    r.Sum = true;
    ASSERT_TRUE(r.ExecuteSource(stStringGrid, s.grid));
    QString text = RtfToPlainText(QString::fromLatin1(ReadBytes(r.OutputFile())));
    EXPECT_TRUE(text.contains(QStringLiteral("Hämäläinen Säde"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("9,5")));
    ASSERT_TRUE(r.ExecuteSource(stTreeView, s.tree));
    text = RtfToPlainText(QString::fromLatin1(ReadBytes(r.OutputFile())));
    EXPECT_TRUE(text.contains(QStringLiteral("  Korhonen Eero")));
    EXPECT_FALSE(text.contains(QStringLiteral("hidden child")));
    ASSERT_TRUE(r.ExecuteSource(stRecView, s.view));
    text = RtfToPlainText(QString::fromLatin1(ReadBytes(r.OutputFile())));
    EXPECT_TRUE(text.contains(QStringLiteral("Runner:  Mäkinen Liisa"))) << text.toStdString();
    TDBPrintRTF::DelFiles(s.dir.path());
}

TEST(ExportSources, ExportDialogRunsOverEachSourceKind)
{
    Sources s;
    std::vector<QString> files = {s.File("grid.txt"), s.File("tree.slk"), s.File("view.txt")};
    const TCommonDialogHook common = SetCommonDialogHook([&](TCommonDialog* D, QString&) {
        auto* o = dynamic_cast<TOpenDialog*>(D);
        if (!o || files.empty())
            return false;
        o->FileName = files.front();
        files.erase(files.begin());
        return true;
    });
    int kind = ekText;
    bool sumShown = true;
    const TModalHook modal = SetModalHook([&](TCustomForm* F) {
        if (auto* f = dynamic_cast<TrDBExportForm*>(F)) {
            f->SetKind(kind);
            f->cbAction_nostore->SetItemIndex(aaNone);
            f->chCol1->SetChecked(false);
            f->cbSeparator_nostore->SetText(QStringLiteral("|"));
            sumShown = f->chSum2->Visible();
            f->btOkClick();
        }
        return int(mrCancel);
    });
    DBExportInt(stStringGrid, s.grid, false, false, false, false, false);
    kind = ekSlk;
    DBExportInt(stTreeView, s.tree, false, false, false, false, false);
    EXPECT_FALSE(sumShown);
    kind = ekText;
    DBExportInt(stRecView, s.view, false, false, false, false, false);
    SetModalHook(modal);
    SetCommonDialogHook(common);
    EXPECT_TRUE(files.empty());
    EXPECT_TRUE(QString::fromUtf8(ReadBytes(s.File("grid.txt"))).startsWith(QStringLiteral("Runner|Km|Club\r\nHämäläinen Säde|4,5|OK Espoo\r\n")));
    EXPECT_TRUE(ReadBytes(s.File("tree.slk")).contains("Korhonen Eero"));
    EXPECT_TRUE(QString::fromUtf8(ReadBytes(s.File("view.txt"))).contains(QStringLiteral("\"Mäkinen Liisa\"|12,50")));
}

}  // namespace

TEST(ExportSources, StringGridDatesChecksAndColoursByColumnKind)
{
    Sources s;
    TrStringGridEd* g = s.grid;
    g->SetColCount(5);
    g->Columns()->Items(3)->SetTitleCaption(QStringLiteral("Start"));
    g->Columns()->Items(3)->DataType = sgdDate;
    g->Columns()->Items(4)->SetTitleCaption(QStringLiteral("Paid"));
    g->Columns()->Items(4)->SetButtonStyle(sgbCheckbox);
    g->Columns()->Items(4)->CheckBoxTrueValue = QStringLiteral("KYLLA");
    g->Columns()->Items(4)->CheckBoxFalseValue = QStringLiteral("EI");
    g->Columns()->Items(1)->NumFormat = QStringLiteral("0.00");
    g->Columns()->Items(2)->SetColor(TColor(0x00FFFF));  // yellow
    g->Columns()->Items(0)->Font()->SetStyle(fsItalic);
    g->SetDateTimeCells(3, 1, EncodeDate(2024, 3, 15));
    g->SetBoolCells(4, 1, true);
    g->SetBoolCells(4, 2, false);

    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.SetOption(xleUseColumnsColor, true);
    x.SetOption(xleSetBkColor, true);
    x.ExportFile = s.File("kinds.xlsx");
    ASSERT_TRUE(x.ExportSource(stStringGrid, g)) << x.LastError().toStdString();
    const TXlsxReadBack r = ReadXlsx(x.ExportFile);
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(r.Cell(QStringLiteral("D2")), QStringLiteral("45366"));  // a date, not its text
    EXPECT_EQ(r.Cells.value(QStringLiteral("D2")).NumFormat, QStringLiteral("d.m.yyyy"));
    EXPECT_EQ(r.Cells.value(QStringLiteral("B2")).NumFormat, QStringLiteral("0.00"));
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("<c r=\"E2\" t=\"b\"><v>1</v></c>"))) << r.SheetXml.toStdString();
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("<c r=\"E3\" t=\"b\"><v>0</v></c>")));
    EXPECT_TRUE(r.StylesXml.contains(QStringLiteral("FFFFFF00"))) << r.StylesXml.toStdString();

    // SYLK: the date column by its picture and day number
    TSLKExport k;
    k.ActionAfter = aaNone;
    k.Encoding = seUtf8;
    k.ExportFile = s.File("kinds.slk");
    ASSERT_TRUE(k.Execute(g));
    const QString slk = QString::fromUtf8(ReadBytes(k.ExportFile));
    EXPECT_TRUE(slk.contains(QStringLiteral("F;P1;X4\r\nC;K45366\r\n"))) << slk.toStdString();

    // print to RTF: the column's italic font
    TDBPrintRTF p;
    p.ActionAfter = aaNone;
    p.Folder = s.dir.path();
    ASSERT_TRUE(p.ExecuteSource(stStringGrid, g));
    const QString rtf = QString::fromLatin1(ReadBytes(p.OutputFile()));
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\i H"))) << rtf.toStdString();
    TDBPrintRTF::DelFiles(s.dir.path());

    // direct printing: the check-box column shows glyphs, not its stored texts
    TDBPrintDirect d;
    d.ExportFile = s.File("kinds.pdf");
    ASSERT_TRUE(d.ExecuteSource(stStringGrid, g));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {d.ExportFile, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains(QStringLiteral("Paid"))) << printed.toStdString();
    EXPECT_FALSE(printed.contains(QStringLiteral("KYLLA"))) << printed.toStdString();
    EXPECT_FALSE(printed.contains(QStringLiteral("EI"))) << printed.toStdString();
}
