#include "components/base/rEditNum.h"
#include "components/base/rdlg.h"
#include "components/grid/TPropSaveFile.h"
#include "components/dbcontrols/rDBFilterForm.h"
#include "components/output/TrXLSExport.h"
#include "components/output/rDBExport.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/StdCtrls.h"
#include "tests/output/ExportFixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// Opens the export dialog on a grid and lets Drive work it; common dialogs
// are answered by Files in turn (an empty name cancels).
class ExportDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        data = MakeAwkwardTable();
        grid = std::make_unique<TExportGrid>(data.get());
        previousModal = SetModalHook([this](TCustomForm* F) {
            if (dynamic_cast<TrDlgForm*>(F)) {
                ++messages;
                return int(mrOk);
            }
            auto* f = dynamic_cast<TrDBExportForm*>(F);
            if (!f)
                return other ? other(F) : int(mrCancel);
            driven = true;
            if (drive)
                drive(f);
            return int(mrCancel);
        });
        previousCommon = SetCommonDialogHook([this](TCommonDialog* D, QString&) {
            ++commonDialogs;
            auto* o = dynamic_cast<TOpenDialog*>(D);
            if (!o || files.empty())
                return false;
            const QString f = files.front();
            files.erase(files.begin());
            lastFilter = o->Filter;
            lastExt = o->DefaultExt;
            o->FileName = f;
            return !f.isEmpty();
        });
        ParioCompConfig.RTFRepDlgCfg.ExportExcelNoFileName = true;
    }
    void TearDown() override
    {
        SetModalHook(previousModal);
        SetCommonDialogHook(previousCommon);
    }
    void Open(bool SetFlt = true, bool SetCol = true, bool NoTemplate = false)
    {
        driven = false;
        DBExport(grid->Grid, SetFlt, SetCol, NoTemplate, false);
    }
    QString File(const char* Name) const { return dir.filePath(QLatin1String(Name)); }

    QTemporaryDir dir;
    std::unique_ptr<TClientDataSet> data;
    std::unique_ptr<TExportGrid> grid;
    std::function<void(TrDBExportForm*)> drive;
    // answers the other windows the dialog opens (default: cancelled)
    std::function<int(TCustomForm*)> other;
    std::vector<QString> files;
    QString lastFilter, lastExt;
    bool driven = false;
    int messages = 0;
    int commonDialogs = 0;
    TModalHook previousModal;
    TCommonDialogHook previousCommon;
};

TEST(ExportSeparatorRule, TextsGiveTheirSeparator)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("; (semicolon)"), QStringLiteral(";")}, {QStringLiteral(", (comma)"), QStringLiteral(",")},
        {QStringLiteral("#9   (tab)"), QStringLiteral("\t")},   {QStringLiteral("#32  (space)"), QStringLiteral(" ")},
        {QStringLiteral("#124"), QStringLiteral("|")},           {QStringLiteral("|"), QStringLiteral("|")},
        {QStringLiteral("::"), QStringLiteral("::")},           {QStringLiteral("#"), QString(QChar(0))},
        {QString(), QString()},
    };
    for (const auto& [text, sep] : cases)
        EXPECT_EQ(ExportSeparator(text), sep) << text.toStdString();
}

TEST(ExportSaveFilter, FollowsKindAndTemplate)
{
    EXPECT_EQ(TrDBExportForm::SaveFilter(ekText, {}), QStringLiteral("Text file (*.txt)|*.txt|All files (*.*)|*.*"));
    EXPECT_EQ(TrDBExportForm::DefaultExt(ekSlk, {}), QStringLiteral("slk"));
    EXPECT_EQ(TrDBExportForm::SaveFilter(ekTemplate, QStringLiteral("/x/report.DOCX")),
              QStringLiteral("MSWord document (*.docx)|*.docx|All files (*.*)|*.*"));
    EXPECT_EQ(TrDBExportForm::SaveFilter(ekTemplate, QStringLiteral("/x/report.txt")), QStringLiteral("All files (*.*)|*.*"));
    EXPECT_EQ(TrDBExportForm::DefaultExt(ekTemplate, QStringLiteral("/x/report.txt")), QStringLiteral("txt"));
}

TEST_F(ExportDialog, ClosedDatasetOpensNothing)
{
    data->Close();
    Open();
    EXPECT_FALSE(driven);
    EXPECT_EQ(ActiveExportForm(), nullptr);
}

TEST_F(ExportDialog, FlagsAndSelectionDecideWhatIsOffered)
{
    drive = [this](TrDBExportForm* f) {
        EXPECT_EQ(ActiveExportForm(), f);
        EXPECT_FALSE(f->chSelRecOnly->Visible());
        EXPECT_FALSE(f->btFields->Enabled());
        EXPECT_FALSE(f->rbSelCol->Enabled());
        EXPECT_FALSE(f->rbAllCol->Enabled());
        EXPECT_FALSE(f->btFilter->Enabled());
        EXPECT_TRUE(f->lblSetDefaultCol->Visible());
        EXPECT_TRUE(f->btOk->Enabled());
        // the twin grid is hidden and has the caller's columns
        ASSERT_NE(f->TwinGrid(), nullptr);
        EXPECT_FALSE(f->TwinGrid()->Visible());
        EXPECT_EQ(f->TwinGrid()->Columns()->Count(), grid->Grid->Columns()->Count());
    };
    Open(false, false);
    EXPECT_TRUE(driven);

    grid->Select({2});
    drive = [](TrDBExportForm* f) {
        EXPECT_TRUE(f->chSelRecOnly->Visible());
        EXPECT_TRUE(f->btFields->Enabled());
        EXPECT_TRUE(f->btFilter->Enabled());
        f->SetKind(ekExcel);
        EXPECT_TRUE(f->chFreezePanes2->Visible());
        EXPECT_TRUE(f->Image2a->Visible());
        EXPECT_FALSE(f->Image2b->Visible());
        f->SetKind(ekSlk);
        EXPECT_FALSE(f->chFreezePanes2->Visible());
        EXPECT_TRUE(f->Image2b->Visible());
        f->SetKind(ekTemplate);
        EXPECT_FALSE(f->btFields->Enabled());
        EXPECT_FALSE(f->chSelRecOnly->Enabled());
    };
    Open();
    drive = [](TrDBExportForm* f) {
        EXPECT_EQ(f->rgItems[ekTemplate], nullptr);
        EXPECT_GE(f->Kind(), 0);
    };
    Open(true, true, true);
}

TEST_F(ExportDialog, TemplateKindWaitsForATemplate)
{
    files = {File("report.DOCX"), File("report.rtf")};
    drive = [](TrDBExportForm* f) {
        f->SetKind(ekTemplate);
        EXPECT_FALSE(f->btOk->Enabled());
        f->btRepFileClick();
        EXPECT_TRUE(f->btOk->Enabled());
        EXPECT_FALSE(f->eCharSet->Enabled());
        EXPECT_TRUE(f->lRepFile->Visible());
        f->btRepFileClick();
        EXPECT_TRUE(f->eCharSet->Enabled());
        EXPECT_EQ(f->eCharSet->AsInteger(), 238);
    };
    Open();
    EXPECT_TRUE(lastFilter.startsWith(QStringLiteral("Rich text format (*.rtf)|*.rtf|")));
}

TEST_F(ExportDialog, OkRunsTheChosenEngineAndStaysOpen)
{
    grid->Select({2});
    files = {File("runs.txt"), QString(), File("runs.slk")};
    drive = [](TrDBExportForm* f) {
        f->SetKind(ekText);
        f->cbAction_nostore->SetItemIndex(aaNone);
        f->cbSeparator_nostore->SetText(QStringLiteral("#9   (tab)"));
        f->chSelRecOnly->SetChecked(true);
        f->btOkClick();
        // a cancelled save dialog writes nothing
        f->btOkClick();
        EXPECT_EQ(ActiveExportForm(), f);
        f->SetKind(ekSlk);
        f->chSelRecOnly->SetChecked(false);
        f->btOkClick();
    };
    Open();
    EXPECT_EQ(lastExt, QStringLiteral("slk"));
    const QString text = QString::fromUtf8(ReadAll(File("runs.txt")));
    const QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << text.toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("\tRunner\t")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("2\t\"Hämäläinen Säde, Österberg\"")));
    EXPECT_FALSE(lines[0].contains(QStringLiteral("SECRET")));
    EXPECT_TRUE(ReadAll(File("runs.slk")).startsWith("ID;P"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(messages, 0);
}

TEST_F(ExportDialog, SpreadsheetShownNeedsNoFileButSavingAsksForOne)
{
    drive = [this](TrDBExportForm* f) {
        f->SetKind(ekExcel);
        f->cbAction_nostore->SetItemIndex(aaShow);
        f->XLSExp->ActionAfter = aaNone;
        const int before = commonDialogs;
        EXPECT_EQ(f->SaveFilter(ekExcel, {}), QStringLiteral("Excel file (*.xls*)|*.xls*|All files (*.*)|*.*"));
        f->cbAction_nostore->SetItemIndex(aaNone);
        f->btOkClick();
        EXPECT_EQ(commonDialogs, before + 1);
    };
    files = {QString()};
    Open();
}

TEST_F(ExportDialog, DataSelectionTellsTheCallersGridItsFilter)
{
    other = [this](TCustomForm* F) {
        if (!dynamic_cast<TrDBFilterForm*>(F))
            return int(mrCancel);
        data->SetFilter(QStringLiteral("ID = 2"));
        data->SetFiltered(true);
        return int(mrOk);
    };
    drive = [](TrDBExportForm* f) {
        ASSERT_TRUE(f->btFilter->Enabled());
        ClickControl(f->btFilter);
    };
    Open();
    EXPECT_TRUE(driven);
    EXPECT_EQ(data->RecordCount(), 1);
    EXPECT_EQ(grid->Grid->FilteredFieldNames(), QStringLiteral("ID;"));
}

TEST_F(ExportDialog, ChoicesComeBackNextTime)
{
    TPropSaveFile global(nullptr);
    global.SetFileName(File("props.ini"));
    global.SetUseAsGlobalFile(true);
    drive = [](TrDBExportForm* f) {
        f->SetKind(ekSlk);
        f->chCol2->SetChecked(false);
        f->rbAllCol->SetChecked(true);
        f->cbSeparator_nostore->SetText(QStringLiteral("::"));
    };
    Open();
    drive = [](TrDBExportForm* f) {
        EXPECT_EQ(f->Kind(), int(ekSlk));
        EXPECT_FALSE(f->chCol2->Checked());
        EXPECT_TRUE(f->rbAllCol->Checked());
        EXPECT_EQ(f->cbSeparator_nostore->Text(), QStringLiteral("::"));
        EXPECT_EQ(f->cbSeparator_nostore->Count(), 4);
    };
    Open();
    global.SetUseAsGlobalFile(false);
}

}  // namespace
