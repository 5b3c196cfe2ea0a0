// The print dialogs: what they offer per source, the page estimate and
// fitting they show, and the documents they produce.

#include "components/base/rEditNum.h"
#include "components/base/rdlg.h"
#include "components/output/TDBPrintRTF.h"
#include "components/output/rDBPrint.h"
#include "platform/print/Printers.h"
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

}  // namespace
