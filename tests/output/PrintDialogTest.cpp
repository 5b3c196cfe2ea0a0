// The print dialogs: what they offer per source, the page estimate and
// fitting they show, and the documents they produce.

#include "components/base/rEditNum.h"
#include "components/base/rdlg.h"
#include "components/output/TDBPrintRTF.h"
#include "components/base/rImageZoom.h"
#include "components/output/TDBPrintDirect.h"
#include "components/output/rDBPrint.h"
#include "components/output/rDBPrintDirect.h"
#include "components/output/rDBPrintDirectPreview.h"
#include "platform/print/Printers.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "tests/output/ExportFixture.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class PrintDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetPrintersForTesting(QStringList{QStringLiteral("Desk"), QStringLiteral("Office")}, QStringLiteral("Desk"));
        ParioCompConfig.rDBPrintCfg.PrintData_Dir = dir.path();
        data = MakeResultsTable(250);
        grid = std::make_unique<TExportGrid>(data.get());
        previousModal = SetModalHook([this](TCustomForm* F) {
            if (dynamic_cast<TrDlgForm*>(F)) {
                ++messages;
                return int(mrOk);
            }
            driven = true;
            if (auto* f = dynamic_cast<TrDBPrintForm*>(F); f && driveRtf)
                driveRtf(f);
            if (auto* f = dynamic_cast<TrDBPrintDirectForm*>(F); f && driveDirect)
                driveDirect(f);
            if (auto* f = dynamic_cast<TrDBPrintDirectPreviewForm*>(F); f && drivePreview)
                return drivePreview(f);
            return int(mrCancel);
        });
    }
    void TearDown() override
    {
        SetModalHook(previousModal);
        SetPrintersForTesting(std::nullopt);
        ParioCompConfig.rDBPrintCfg.PrintData_Dir.clear();
    }

    QTemporaryDir dir;
    std::unique_ptr<TClientDataSet> data;
    std::unique_ptr<TExportGrid> grid;
    std::function<void(TrDBPrintForm*)> driveRtf;
    std::function<void(TrDBPrintDirectForm*)> driveDirect;
    std::function<int(TrDBPrintDirectPreviewForm*)> drivePreview;
    bool driven = false;
    int messages = 0;
    TModalHook previousModal;
};

TEST_F(PrintDialog, RtfDialogOpensOnlyOverActiveData)
{
    data->Close();
    DBPrint(grid->Grid, true, true);
    EXPECT_FALSE(driven);
    EXPECT_EQ(ActivePrintForm(), nullptr);
}

TEST_F(PrintDialog, RtfDialogFitsEstimatesAndProducesDocuments)
{
    driveRtf = [this](TrDBPrintForm* f) {
        EXPECT_EQ(ActivePrintForm(), f);
        EXPECT_EQ(f->eCaption->Text(), QStringLiteral("Evening results"));
        EXPECT_EQ(f->lRec->Caption(), QStringLiteral("250"));
        EXPECT_FALSE(f->btFilter->Enabled());
        EXPECT_TRUE(f->lblSetDefaultCol->Visible());
        EXPECT_EQ(f->cbPrinter->Text(), QStringLiteral("Desk"));
        // fifteen columns do not fit portrait: autoformat turns the page
        EXPECT_EQ(f->cbPaperOrient_nostore->ItemIndex(), 1);
        const int lines = TDBPrintRTF::PageLines(f->cbPaperType_nostore->ItemIndex(), 1, f->cbFont_nostore->ItemIndex());
        EXPECT_EQ(f->lPages->Caption(), QString::number(250 / lines + 1));
        // a font chosen by hand switches autoformat off and may cut text columns
        f->cbFont_nostore->SetItemIndex(6);
        f->cbFontClick();
        EXPECT_FALSE(f->chAutoformat->Checked());
        EXPECT_TRUE(f->chCut->Checked());
        f->chAutoformat->SetChecked(true);
        f->rbSelColClick();
        EXPECT_FALSE(f->chCut->Checked());
        f->RunExport(aaNone);
        f->RunExport(aaNone);
        EXPECT_TRUE(f->OutputFile().endsWith(QStringLiteral("printdata2.rtf")));
    };
    DBPrint(grid->Grid, true, false, QStringLiteral("Evening results"));
    EXPECT_TRUE(driven);
    EXPECT_TRUE(QFileInfo::exists(QDir(dir.path()).filePath(QStringLiteral("printdata1.rtf"))));
    EXPECT_EQ(messages, 0);
}

TEST_F(PrintDialog, RtfDialogShowsWhatEachSourceOffers)
{
    driveRtf = [](TrDBPrintForm* f) {
        EXPECT_FALSE(f->lblSetDefaultCol->Visible());
        EXPECT_TRUE(f->btFields->Visible());
        EXPECT_TRUE(f->chSum->Visible());
        EXPECT_TRUE(f->lblCut->Visible());
        EXPECT_EQ(f->lRec->Caption(), QStringLiteral("250"));
    };
    DBPrintInt(stDataset, data.get(), true, true, QString());
    EXPECT_TRUE(driven);
}

TEST(PrintDirectLineSpace, ItemsGiveTheirRatio)
{
    EXPECT_DOUBLE_EQ(LineSpaceRatioOf(QStringLiteral("1,2")), 0.2);
    EXPECT_DOUBLE_EQ(LineSpaceRatioOf(QStringLiteral("1.5")), 0.5);
    EXPECT_DOUBLE_EQ(LineSpaceRatioOf(QStringLiteral("2")), 1.0);
    EXPECT_DOUBLE_EQ(LineSpaceRatioOf(QStringLiteral("wide")), 0.0);
}

TEST_F(PrintDialog, DirectDialogEstimatesPagesAndKeepsMargins)
{
    data->Close();
    DBPrintDirect(grid->Grid, true, true);
    EXPECT_FALSE(driven);
    grid.reset();
    data = MakeResultsTable(250);
    grid = std::make_unique<TExportGrid>(data.get());
    const int before = ParioCompConfig.rDBPrintDirectCfg.HMarginMM;
    driveDirect = [](TrDBPrintDirectForm* f) {
        EXPECT_EQ(ActivePrintDirectForm(), f);
        EXPECT_EQ(f->eCaption->Text(), QStringLiteral("Results"));
        EXPECT_EQ(f->lRec1->Caption(), QStringLiteral("250"));
        ASSERT_GE(f->LinesPerPage(), 2);
        EXPECT_EQ(f->lPages1->Caption(), QString::number(250 / (f->LinesPerPage() - 1) + 1));
        EXPECT_FALSE(f->chPrintImg->Enabled());
        EXPECT_TRUE(f->chUseColors->Visible());
        // a larger font needs more pages
        const int lines = f->LinesPerPage();
        f->cbFont_nostore->SetText(QStringLiteral("16"));
        f->cbFontChange();
        EXPECT_LT(f->LinesPerPage(), lines);
        f->ePageHMargin->SetAsInteger(35);
    };
    DBPrintDirect(grid->Grid, true, true, QStringLiteral("Results"));
    EXPECT_EQ(ParioCompConfig.rDBPrintDirectCfg.HMarginMM, 35);
    ParioCompConfig.rDBPrintDirectCfg.HMarginMM = before;
}

TEST_F(PrintDialog, PreviewBrowsesPagesAndItsPrintButtonPrints)
{
    const QString pdf = QDir(dir.path()).filePath(QStringLiteral("runs.pdf"));
    int pagesSeen = 0;
    drivePreview = [&](TrDBPrintDirectPreviewForm* p) {
        pagesSeen = p->lPage->Caption().mid(2).toInt();
        EXPECT_GT(pagesSeen, 1);
        EXPECT_FALSE(p->btPrev->Enabled());
        EXPECT_TRUE(p->btNext->Enabled());
        EXPECT_LE(p->Img->Picture()->Bitmap()->Width(), 1600);
        p->btNextClick();
        EXPECT_EQ(p->PageIndex(), 1);
        p->ePage->SetText(QString::number(pagesSeen + 1));
        EXPECT_EQ(p->PageIndex(), 1);
        p->ePage->SetText(QString::number(pagesSeen));
        EXPECT_EQ(p->PageIndex(), pagesSeen - 1);
        EXPECT_FALSE(p->btNext->Enabled());
        return int(mrOk);
    };
    driveDirect = [&](TrDBPrintDirectForm* f) {
        f->PrintEng->ExportFile = pdf;
        f->chPrintFooter->SetChecked(true);
        f->RunPrint(true);
    };
    DBPrintDirect(grid->Grid, true, true);
    EXPECT_TRUE(QFileInfo::exists(pdf));
    EXPECT_EQ(messages, 0);
}

TEST_F(PrintDialog, PreviewStopsAtItsPageLimitWithAWarning)
{
    int pages = 0;
    drivePreview = [&](TrDBPrintDirectPreviewForm* p) {
        pages = p->lPage->Caption().mid(2).toInt();
        return int(mrCancel);
    };
    driveDirect = [](TrDBPrintDirectForm* f) {
        EXPECT_EQ(f->PrintEng->PreviewPageLimit, 60);
        f->PrintEng->PreviewPageLimit = 3;  // 250 runs take more pages than that
        f->RunPrint(true);
    };
    DBPrintDirect(grid->Grid, true, true);
    EXPECT_EQ(messages, 1);
    EXPECT_EQ(pages, 3);
}

TEST_F(PrintDialog, AbortedPrintWarnsAndLeavesNoFile)
{
    const QString pdf = QDir(dir.path()).filePath(QStringLiteral("aborted.pdf"));
    driveDirect = [&](TrDBPrintDirectForm* f) {
        f->PrintEng->ExportFile = pdf;
        f->PrintEng->OnProgressEvent = [f](TComponent*, TExportProgressStage Stage, int, const QString&) {
            if (Stage == psRunning)
                f->PrintEng->DoAbort();
        };
        f->RunPrint(false);
        EXPECT_EQ(f->pc->ActivePageIndex(), 0);
    };
    DBPrintDirect(grid->Grid, true, true);
    EXPECT_EQ(messages, 1);
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

}  // namespace
