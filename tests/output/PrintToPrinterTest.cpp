// "Print" in the export dialog and the print dialogs reaches a real print
// scheduler (a private one started here) as PDF pages holding the data; with
// no printer at all the dialogs print into a PDF file instead.
#include "components/base/rHTMLLabel.h"
#include "components/base/rdlg.h"
#include "components/dbcontrols/TrDBRecView.h"
#include "components/output/TDBPrintDirect.h"
#include "components/output/TRTFReport2.h"
#include "components/output/rDBExport.h"
#include "components/output/rDBPrint.h"
#include "components/output/rDBPrintDirect.h"
#include "platform/print/PrintDocument.h"
#include "platform/print/Printers.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/StdCtrls.h"
#include "tests/output/ExportFixture.h"
#include "tests/print/PrivateCups.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

class PrintToPrinter : public ::testing::Test {
protected:
    void SetUp() override
    {
        ParioCompConfig.rDBPrintCfg.PrintData_Dir = dir.path();
        ParioCompConfig.RTFRepDlgCfg.ExportExcelNoFileName = true;
        data = MakeAwkwardTable();
        grid = std::make_unique<TExportGrid>(data.get());
        previousModal = SetModalHook([this](TCustomForm* F) {
            if (dynamic_cast<TrDlgForm*>(F)) {
                ++messages;
                return int(mrOk);
            }
            if (auto* f = dynamic_cast<TrDBExportForm*>(F); f && driveExport)
                driveExport(f);
            if (auto* f = dynamic_cast<TrDBPrintForm*>(F); f && driveRtf)
                driveRtf(f);
            if (auto* f = dynamic_cast<TrDBPrintDirectForm*>(F); f && driveDirect)
                driveDirect(f);
            return int(mrCancel);
        });
        previousCommon = SetCommonDialogHook([this](TCommonDialog* D, QString&) {
            auto* o = dynamic_cast<TOpenDialog*>(D);
            if (!o || files.empty())
                return false;
            asked << o->FileName;
            o->FileName = files.front();
            files.erase(files.begin());
            return !o->FileName.isEmpty();
        });
    }
    void TearDown() override
    {
        SetModalHook(previousModal);
        SetCommonDialogHook(previousCommon);
        SetPrintersForTesting(std::nullopt);
        ParioCompConfig.rDBPrintCfg.PrintData_Dir.clear();
    }
    QString File(const char* Name) const { return dir.filePath(QLatin1String(Name)); }

    QTemporaryDir dir;
    std::unique_ptr<TClientDataSet> data;
    std::unique_ptr<TExportGrid> grid;
    std::function<void(TrDBExportForm*)> driveExport;
    std::function<void(TrDBPrintForm*)> driveRtf;
    std::function<void(TrDBPrintDirectForm*)> driveDirect;
    std::vector<QString> files;
    QStringList asked;
    int messages = 0;
    TModalHook previousModal;
    TCommonDialogHook previousCommon;
};

}  // namespace

TEST_F(PrintToPrinter, ExportAndRtfPrintSendPdfPagesWithTheData)
{
    TPrivateCups cups;
    if (!cups.Running())
        GTEST_SKIP() << "no private print scheduler: " << cups.Why().toStdString();
    ASSERT_TRUE(cups.AddPrinter(QStringLiteral("Toimisto"), false)) << cups.Why().toStdString();
    ASSERT_TRUE(cups.AddPrinter(QStringLiteral("Maali"), true)) << cups.Why().toStdString();
    // a text export printed on the default printer, a workbook without a file
    files = {File("runs.txt")};
    driveExport = [](TrDBExportForm* f) {
        f->SetKind(ekText);
        f->cbAction_nostore->SetItemIndex(aaPrint);
        ClickControl(f->btOk);
        f->SetKind(ekExcel);
        f->cbAction_nostore->SetItemIndex(aaPrint);
        ClickControl(f->btOk);
    };
    DBExport(grid->Grid, true, true, false, false);
    // the print-to-RTF document on the printer chosen in its dialog
    driveRtf = [](TrDBPrintForm* f) {
        EXPECT_EQ(f->cbPrinter->Text(), QStringLiteral("Maali"));
        f->cbPrinter->SetItemIndex(f->cbPrinter->IndexOf(QStringLiteral("Toimisto")));
        ClickControl(f->btPrint);
    };
    DBPrint(grid->Grid, true, true, QStringLiteral("Iltarastit"));
    EXPECT_EQ(messages, 0);

    const QStringList jobs = cups.Jobs(3, 120000);
    ASSERT_EQ(jobs.size(), 3);
    const QString txt = TPrivateCups::PdfText(jobs[0]).simplified();
    EXPECT_TRUE(txt.contains(QStringLiteral("Hämäläinen Säde, Österberg"))) << txt.toStdString();
    const QString xlsx = TPrivateCups::PdfText(jobs[1]).simplified();
    EXPECT_TRUE(xlsx.contains(QStringLiteral("Runner"))) << xlsx.toStdString();
    EXPECT_TRUE(xlsx.contains(QStringLiteral("Hämäläinen Säde, Österberg"))) << xlsx.toStdString();
    const QString rtf = TPrivateCups::PdfText(jobs[2]).simplified();
    EXPECT_TRUE(rtf.contains(QStringLiteral("Iltarastit"))) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains(QStringLiteral("a;b\"c"))) << rtf.toStdString();
}

TEST_F(PrintToPrinter, WithoutPrintersTheDialogsOfferAPdfFile)
{
    SetPrintersForTesting(QStringList{});
    files = {File("tulos.pdf"), File("suora.pdf")};
    driveRtf = [](TrDBPrintForm* f) {
        ASSERT_EQ(f->cbPrinter->Items(), QStringList{PdfFilePrinter});
        EXPECT_EQ(f->cbPrinter->Text(), PdfFilePrinter);
        ClickControl(f->btPrint);
    };
    DBPrint(grid->Grid, true, true, QStringLiteral("Iltarastit"));
    driveDirect = [](TrDBPrintDirectForm* f) {
        EXPECT_EQ(f->cbPrinter->Text(), PdfFilePrinter);
        ClickControl(f->btPrint);
    };
    DBPrintDirect(grid->Grid, true, true, QStringLiteral("Suora"));
    EXPECT_EQ(messages, 0);
    ASSERT_EQ(asked.size(), 2);
    EXPECT_TRUE(asked[0].endsWith(QStringLiteral(".pdf")));
    const QString rtf = TPrivateCups::PdfText(File("tulos.pdf")).simplified();
    EXPECT_TRUE(rtf.contains(QStringLiteral("Hämäläinen Säde, Österberg"))) << rtf.toStdString();
    const QString direct = TPrivateCups::PdfText(File("suora.pdf")).simplified();
    EXPECT_TRUE(direct.contains(QStringLiteral("Suora"))) << direct.toStdString();
    EXPECT_TRUE(direct.contains(QStringLiteral("a;b\"c"))) << direct.toStdString();
}

TEST(DirectPrintContent, BooleansAreCheckBoxesAndRecordViewValuesKeepEveryLine)
{
    TClientDataSet data;
    data.AddField(QStringLiteral("NAME"), ftWideString, 30);
    data.AddField(QStringLiteral("PAID"), ftBoolean);
    data.AddField(QStringLiteral("NOTE"), ftMemo);
    data.CreateDataSet();
    const QString note = QStringLiteral("Ensimmäinen rivi\r\nToinen rivi ") + QStringLiteral("sana ").repeated(60) + QStringLiteral("viimeinen");
    data.AppendRecord({QStringLiteral("Mäkinen Liisa"), true, note});
    data.AppendRecord({QStringLiteral("Virtanen Aino"), false, QVariant()});
    data.First();
    TExportRecView v(&data);
    QTemporaryDir dir;

    TDBPrintDirect p;
    p.ExportFile = dir.filePath(QStringLiteral("rows.pdf"));
    ASSERT_TRUE(p.Execute(&data));
    const QString rows = TPrivateCups::PdfText(p.ExportFile).simplified();
    EXPECT_TRUE(rows.contains(QStringLiteral("Mäkinen Liisa"))) << rows.toStdString();
    EXPECT_FALSE(rows.contains(QStringLiteral("True"))) << rows.toStdString();
    EXPECT_FALSE(rows.contains(QStringLiteral("False"))) << rows.toStdString();
    ParioCompConfig.rDBPrintDirectCfg.BooleanAsCheckBox = false;
    ASSERT_TRUE(p.Execute(&data));
    ParioCompConfig.rDBPrintDirectCfg.BooleanAsCheckBox = true;
    EXPECT_TRUE(TPrivateCups::PdfText(p.ExportFile).contains(QStringLiteral("True")));

    p.ExportFile = dir.filePath(QStringLiteral("view.pdf"));
    ASSERT_TRUE(p.ExecuteSource(stRecView, v.View));
    const QString text = TPrivateCups::PdfText(p.ExportFile);
    EXPECT_TRUE(text.contains(QStringLiteral("Ensimmäinen rivi\n"))) << text.toStdString();
    EXPECT_TRUE(text.simplified().contains(QStringLiteral("viimeinen"))) << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("sana")), 60);
}

TEST(ReportProgress, CounterAndAbortLinkKeepTheWindowAlive)
{
    auto d = MakeResultsTable(300);
    QTemporaryDir dir;
    TRTFReport2 r;
    r.TemplateFormat = tfRTF;
    r.ActionAfter = aaNone;
    r.ShowProgressBar = true;
    r.OutputFile = dir.filePath(QStringLiteral("out.rtf"));
    r.OnGetTemplateStr = [](TComponent*, QString& T) {
        T = QStringLiteral("{\\rtf1 \\\\scan(A)\\\\\\\\A.NAME\\\\\\par \\\\endscan(A)\\\\}");
    };
    QString shown;
    r.OnReportProcess = [&](TComponent*, int RecNbr, bool&) {
        if (RecNbr != 120)
            return;
        // the information window shows the counter; its Abort link is a real link to click
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TCustomForm* f = Screen->Forms(i);
            if (!f->Visible() || f->Caption() != QStringLiteral("Information"))
                continue;
            for (int k = 0; k < f->ComponentCount(); ++k)
                if (auto* l = dynamic_cast<TrHTMLLabel*>(f->Components(k)))
                    shown = l->Caption();
            for (int k = 0; k < f->ComponentCount(); ++k)
                if (auto* link = dynamic_cast<TrURLLabel*>(f->Components(k)); link && link->Visible())
                    ClickControl(link);
        }
    };
    try {
        r.Execute({d.get()});
        ADD_FAILURE() << "the report ran to its end";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Action aborted."));
    }
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Creating of report...\rrecord 120"))) << shown.toStdString();
    EXPECT_FALSE(QFileInfo::exists(r.OutputFile));
}

TEST(DirectPrintContent, RecordViewCaptionGoesWithItsPictureToTheNextPage)
{
    TClientDataSet data;
    data.AddField(QStringLiteral("NAME"), ftWideString, 30);
    data.AddField(QStringLiteral("PHOTO"), ftGraphic);
    data.CreateDataSet();
    // a picture taller than a page: it starts on a page of its own
    data.AppendRecord({QStringLiteral("Mäkinen Liisa"), PngOf(60, 20000, 0x1E5AA0)});
    data.First();
    TExportRecView v(&data);
    QTemporaryDir dir;

    TDBPrintDirect p;
    p.PrintPictures = true;
    p.PrintGrid = true;
    p.ExportFile = dir.filePath(QStringLiteral("view.pdf"));
    ASSERT_TRUE(p.ExecuteSource(stRecView, v.View));
    const QStringList pages = TPrivateCups::PdfText(p.ExportFile).split(QLatin1Char('\f'));
    ASSERT_GE(pages.size(), 2) << p.PageCount();
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Mäkinen Liisa"))) << pages[0].toStdString();
    EXPECT_FALSE(pages[0].contains(QStringLiteral("PHOTO"))) << pages[0].toStdString();
    EXPECT_TRUE(pages[1].contains(QStringLiteral("PHOTO:"))) << pages[1].toStdString();
}

TEST(DirectPrintContent, RecordViewNumbersEndWhereTheWidestValueEnds)
{
    TClientDataSet data;
    data.AddField(QStringLiteral("NAME"), ftWideString, 30);
    data.AddField(QStringLiteral("FEE"), ftCurrency);
    data.CreateDataSet();
    data.AppendRecord({QStringLiteral("Hämäläinen-Österberg Säde"), 12.5});
    data.First();
    TExportRecView v(&data);
    v.View->SetOptionsEx(GridOptEx(goNumberRight));
    QTemporaryDir dir;
    TDBPrintDirect p;
    p.ExportFile = dir.filePath(QStringLiteral("view.pdf"));
    ASSERT_TRUE(p.ExecuteSource(stRecView, v.View));
    // the number is right-aligned in a column as wide as the widest value, not at the margin
    const QStringList lines = TPrivateCups::PdfText(p.ExportFile).split(QLatin1Char('\n'));
    int nameEnd = -1, feeEnd = -1;
    for (const QString& l : lines) {
        if (l.contains(QStringLiteral("Säde")))
            nameEnd = int(l.indexOf(QStringLiteral("Säde"))) + 4;
        if (l.contains(QStringLiteral("12,50")))
            feeEnd = int(l.indexOf(QStringLiteral("12,50"))) + 7;  // "12,50 €"
    }
    ASSERT_GT(nameEnd, 0);
    ASSERT_GT(feeEnd, 0);
    EXPECT_NEAR(feeEnd, nameEnd, 2) << TPrivateCups::PdfText(p.ExportFile).toStdString();
}
