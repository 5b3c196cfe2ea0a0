// Stored filters of a grid on the Firebird club table: storing the current
// filter under a proposed name, listing and applying by name, the dialog's
// marks, use, delete and answer, and the store surviving a restart of the
// global property file.

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rdlg.h"
#include "components/dbcontrols/rDBFilterSaver.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/Fields.h"
#include "platform/ui/StdCtrls.h"
#include "tests/dbcontrols/GeneralEventRecorder.h"
#include "tests/dbcontrols/FbClubsFixture.h"

#include <QTemporaryDir>
#include <functional>
#include <vector>

namespace {

class StoredFiltersTest : public FbClubsFixture {
protected:
    void SetUp() override
    {
        FbClubsFixture::SetUp();
        form->SetName(QStringLiteral("fmClubs"));
        grid = new TrDBGrid(form.get());
        grid->SetName(QStringLiteral("grClubs"));
        grid->SetParent(form.get());
        grid->SetDataSource(&clubSrc);
        clubs->FieldByName(QStringLiteral("CLUB_ABBR"))->SetDisplayLabel(QStringLiteral("Lyhenne"));
        path = dir.filePath(QStringLiteral("sorvex.ini"));
        OpenFile();
        previous = SetModalHook([this](TCustomForm* F) {
            if (auto* d = dynamic_cast<TrDlgForm*>(F)) {
                if (d->Edit) {
                    proposed = d->Edit->Text();
                    d->Edit->SetText(typedName);
                }
                ++questions;
                return answer;
            }
            auto* f = dynamic_cast<TrDBFilterSaverForm*>(F);
            return f && drive ? drive(f) : int(mrCancel);
        });
    }
    void TearDown() override
    {
        SetModalHook(previous);
        file.reset();
        FbClubsFixture::TearDown();
    }
    void OpenFile()
    {
        file = std::make_unique<TPropSaveFile>(nullptr);
        file->SetFileName(path);
        file->LoadFile();
        file->SetUseAsGlobalFile(true);
    }
    void Store(const QString& Filter, const QString& Name)
    {
        SetFilterString(clubs.get(), Filter, true);
        typedName = Name;
        SaveFilter(grid);
    }
    int Count() { return clubs->RecordCount(); }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<TPropSaveFile> file;
    TrDBGrid* grid = nullptr;
    TModalHook previous;
    std::function<int(TrDBFilterSaverForm*)> drive;
    QString proposed, typedName;
    int questions = 0;
    int answer = mrOk;
};

TEST_F(StoredFiltersTest, StoredUnderNamesAppliedByNameAndKeptOverARestart)
{
    // The proposal shows labels, not field names; quoted texts stay as they are.
    Store(QStringLiteral("(CLUB_ABBR = 'HS')"), QStringLiteral("ABC"));
    EXPECT_EQ(proposed, QStringLiteral("Lyhenne = 'HS'"));
    Store(QStringLiteral("CLUB_NAME = 'CLUB_ABBR'"), QStringLiteral("nimi"));
    EXPECT_EQ(proposed, QStringLiteral("CLUB_NAME = 'CLUB_ABBR'"));
    Store(QStringLiteral("CLUB_ID > 3"), QStringLiteral("abc"));
    QStringList names;
    ASSERT_TRUE(LoadFilterNames(grid, names));
    EXPECT_EQ(names, (QStringList{QStringLiteral("ABC"), QStringLiteral("nimi"), QStringLiteral("abc")}))
        << "the first store reused the blank row; a used name adds a row";
    // The program ends and starts again.
    file.reset();
    OpenFile();
    ASSERT_TRUE(LoadFilterNames(grid, names));
    EXPECT_EQ(names.size(), 3);
    SetFilterString(clubs.get(), QString(), true);
    ASSERT_TRUE(ActiveFilterName(grid, QStringLiteral("Abc")));
    EXPECT_EQ(clubs->Filter(), QStringLiteral("CLUB_ID > 3")) << "both rows applied, the later remains";
    EXPECT_EQ(Count(), 2);
    EXPECT_FALSE(ActiveFilterName(grid, QStringLiteral("none")));
    // Without a global property file nothing is listed.
    file.reset();
    EXPECT_FALSE(LoadFilterNames(grid, names));
}

// Unlike the other dataset dialogs this one tells the hook only of showing
// and closing, not of activation.
TEST_F(StoredFiltersTest, NoActivatedEventFromTheStoredFilterDialog)
{
    Store(QStringLiteral("CLUB_ID > 3"), QStringLiteral("isot"));
    GeneralEventRecorder<TrDBFilterSaverForm> events;
    std::vector<int>& ids = events.Ids;
    drive = [&](TrDBFilterSaverForm*) { return int(mrCancel); };
    LoadFilter(grid);
    EXPECT_EQ(ids, (std::vector<int>{pceDialogShown, pceDialogClosed}));
}

TEST_F(StoredFiltersTest, DialogMarksUsesDeletesAndAnswers)
{
    Store(QStringLiteral("CLUB_ABBR = 'HS'"), QStringLiteral("HS"));
    Store(QStringLiteral("CLUB_ID > 3"), QStringLiteral("isot"));
    // Opens with the active filter marked; a double click applies and stays open; Close answers true.
    drive = [&](TrDBFilterSaverForm* f) {
        EXPECT_EQ(f->FilterRowCount(), 2);
        EXPECT_EQ(f->Mark(1), QString());
        EXPECT_EQ(f->Mark(2), QStringLiteral("+"));
        f->SelectRow(1);
        f->UseSelected(false);
        EXPECT_EQ(f->Mark(1), QStringLiteral("+"));
        EXPECT_EQ(f->Mark(2), QString());
        return int(mrCancel);
    };
    EXPECT_TRUE(LoadFilter(grid));
    EXPECT_EQ(Count(), 1);
    // Deleting both rows leaves one blank row, which the next store reuses.
    questions = 0;
    answer = mrYes;
    drive = [&](TrDBFilterSaverForm* f) {
        f->SelectRow(2);
        f->DeleteSelected();
        EXPECT_EQ(f->FilterRowCount(), 1);
        EXPECT_EQ(f->FilterName(1), QStringLiteral("HS"));
        f->DeleteSelected();
        EXPECT_EQ(f->FilterRowCount(), 1);
        EXPECT_EQ(f->FilterName(1), QString());
        return int(mrCancel);
    };
    EXPECT_FALSE(LoadFilter(grid));
    EXPECT_EQ(questions, 2);
    answer = mrOk;
    Store(QStringLiteral("CLUB_ID = 1"), QStringLiteral("yksi"));
    QStringList names;
    ASSERT_TRUE(LoadFilterNames(grid, names));
    EXPECT_EQ(names, QStringList{QStringLiteral("yksi")});
}

}  // namespace
