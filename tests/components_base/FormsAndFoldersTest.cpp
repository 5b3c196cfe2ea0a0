// Form creation with the registry of form variables, moving checked items,
// special folders and the program's printer choice.
#include "components/base/rtool.h"
#include "platform/print/Printers.h"
#include "platform/ui/CheckLst.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class CountedForm : public TForm {
public:
    explicit CountedForm(TComponent* AOwner) : TForm(AOwner) { ++Alive; }
    ~CountedForm() override { --Alive; }
    static int Alive;
};
int CountedForm::Alive = 0;

class FailingForm : public TForm {
public:
    explicit FailingForm(TComponent* AOwner) : TForm(AOwner) { throw Exception(QStringLiteral("no resources")); }
};

CountedForm* GForm = nullptr;

// CreateF makes its forms through the application object.
class CreateFTest : public ::testing::Test {
protected:
    int Argc = 1;
    char Name[8] = "tests";
    char* Argv[2] = {Name, nullptr};
    TApplication App{Argc, Argv};
};

TEST_F(CreateFTest, CreatesOnceRegistersAndFreeEmptiesTheVariable)
{
    const size_t before = CreatedFormAdrList().size();
    EXPECT_TRUE(CreateF(GForm, true));
    ASSERT_NE(GForm, nullptr);
    CountedForm* first = GForm;
    EXPECT_FALSE(CreateF(GForm, true));
    EXPECT_EQ(GForm, first);
    EXPECT_EQ(CountedForm::Alive, 1);
    EXPECT_EQ(CreatedFormAdrList().size(), before + 1);
    EXPECT_EQ(CreatedFormAdrList().back(), static_cast<void*>(&GForm));
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_TRUE(FreeF(GForm));
    EXPECT_EQ(GForm, nullptr);
    EXPECT_EQ(CountedForm::Alive, 0);
    EXPECT_EQ(CreatedFormAdrList().size(), before);
    EXPECT_FALSE(FreeF(GForm));
    // unregistered forms are freed the same way
    CountedForm* local = nullptr;
    EXPECT_TRUE(CreateF(local, false));
    EXPECT_EQ(CreatedFormAdrList().size(), before);
    EXPECT_TRUE(FreeF(local));
}

TEST_F(CreateFTest, FailingConstructionRestoresTheCursorAndPassesTheError)
{
    Screen->SetCursor(crHandPoint);
    FailingForm* f = nullptr;
    EXPECT_THROW(CreateF(f, true), Exception);
    EXPECT_EQ(f, nullptr);
    EXPECT_EQ(Screen->Cursor(), crHandPoint);
    Screen->SetCursor(crDefault);
}

class MoveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        List = new TCheckListBox(Form);
        List->SetParent(Form);
        List->SetStyle(lbOwnerDrawFixed);
        List->SetItemHeight(20);
        List->SetBounds(0, 0, 120, 82);  // four lines of 20
        for (int i = 0; i < 8; ++i)
            List->AddItem(QString::number(i));
        List->SetChecked(5, true);
    }
    void TearDown() override { delete Form; }
    TForm* Form = nullptr;
    TCheckListBox* List = nullptr;
};

TEST_F(MoveTest, RefusedMovesChangeNothing)
{
    for (auto [from, to] : {std::pair{2, 2}, {-1, 2}, {2, -1}, {2, 8}, {8, 2}})
        EXPECT_FALSE(MoveCheckListBox(List, from, to)) << from << "->" << to;
    EXPECT_EQ(List->Strings(2), QStringLiteral("2"));
    EXPECT_EQ(List->ItemIndex(), -1);
}

TEST_F(MoveTest, MovedItemKeepsItsCheckAndBecomesCurrent)
{
    List->SetTopIndex(4);
    ASSERT_EQ(List->TopIndex(), 4);
    EXPECT_TRUE(MoveCheckListBox(List, 5, 4));
    EXPECT_TRUE(List->Checked(4));
    EXPECT_FALSE(List->Checked(5));
    EXPECT_EQ(List->Strings(4), QStringLiteral("5"));
    EXPECT_EQ(List->ItemIndex(), 4);
    EXPECT_EQ(List->TopIndex(), 3);  // one line up: the top reached the target
    List->SetTopIndex(0);
    EXPECT_TRUE(MoveCheckListBox(List, 1, 3));  // the last visible line: one line down
    EXPECT_EQ(List->TopIndex(), 1);
    EXPECT_EQ(List->ItemIndex(), 3);
    EXPECT_EQ(List->Strings(3), QStringLiteral("1"));
}

TEST(GetSystemDir, KnownFoldersEndInASlashAndUnknownOnesRaise)
{
    const QString docs = GetSystemDir(CSIDL_PERSONAL);
    EXPECT_TRUE(docs.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QDir::isAbsolutePath(docs));
    EXPECT_TRUE(GetSystemDir(CSIDL_APPDATA).endsWith(QLatin1Char('/')));
    try {
        GetSystemDir(0x7777);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("SHGetPathFromIDList failed : invalid ppidl"));
    }
}

TEST(Printers, ProgramDefaultFollowsTheChoice)
{
    SetPrintersForTesting(QStringList{QStringLiteral("Lähtö"), QStringLiteral("Maali")}, QStringLiteral("Lähtö"));
    QStringList names{QStringLiteral("old")};
    GetPrinterNames(names);
    EXPECT_EQ(names, (QStringList{QStringLiteral("Lähtö"), QStringLiteral("Maali")}));
    EXPECT_EQ(GetDefaultPrinterName(), QStringLiteral("Lähtö"));
    EXPECT_FALSE(SetDefaultPrinter(QStringLiteral("Toimisto"), true));
    EXPECT_TRUE(SetDefaultPrinter(QStringLiteral("Maali"), true));
    EXPECT_EQ(GetDefaultPrinterName(), QStringLiteral("Maali"));
    ResetDefaultPrinterName();
    SetPrintersForTesting(std::nullopt);
}

}  // namespace
