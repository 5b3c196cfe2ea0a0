// The grid library's savers keep this library's controls through a real
// property file: the record view's fonts and row lists with the grid saver,
// the data-aware memo's font and stored lines with the controls' saver (a
// plain data-aware memo is taken but keeps nothing).

#include "components/dbcontrols/TrDBMemoEx.h"
#include "components/dbcontrols/TrDBRecView.h"
#include "components/grid/TParioCompsPropSave.h"
#include "components/grid/TrDBGridsPropSave.h"
#include "platform/ui/Forms.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

// A window with a coordinator over a property file; its one record view,
// memo and plain memo are bound to the two savers.
struct TSavedForm {
    explicit TSavedForm(const QString& FileName)
    {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetName(QStringLiteral("formNotes"));
        File = new TPropSaveFile(Form.get());
        File->SetFileName(FileName);
        Main = new TPropSaveMain(Form.get());
        Main->PropSaveEvents = pseNone;
        Main->FormSavePos = false;
        Main->SetPropSaveFile(File);
        View = Put<TrDBRecView>("rvRun");
        Memo = Put<TrDBMemoEx>("memNote");
        Plain = Put<TrDBMemo>("memPlain");
        Grids = new TrDBGridsPropSave(Form.get());
        Grids->SetPropSaveMain(Main);
        Grids->Components.Add(QStringLiteral("rvRun"));
        Controls = new TParioCompsPropSave(Form.get());
        Controls->SetPropSaveMain(Main);
        Controls->Components.Add(QStringLiteral("memNote"));
        Controls->Components.Add(QStringLiteral("memPlain"));
        Form->AfterConstruction();
    }
    template <typename T>
    T* Put(const char* Name)
    {
        auto* c = new T(Form.get());
        c->SetName(QLatin1String(Name));
        c->SetParent(Form.get());
        return c;
    }
    std::unique_ptr<TForm> Form;
    TPropSaveFile* File;
    TPropSaveMain* Main;
    TrDBRecView* View;
    TrDBMemoEx* Memo;
    TrDBMemo* Plain;
    TrDBGridsPropSave* Grids;
    TParioCompsPropSave* Controls;
};

}  // namespace

TEST(ControlSavers, RecordViewAndMemosComeBackFromTheFile)
{
    QTemporaryDir dir;
    const QString fn = dir.filePath(QStringLiteral("notes.ini"));
    {
        TSavedForm f(fn);
        EXPECT_TRUE(f.Grids->CanSave(f.View));
        EXPECT_TRUE(f.Controls->CanSave(f.Memo));
        EXPECT_TRUE(f.Controls->CanSave(f.Plain));
        f.View->Font()->SetName(QStringLiteral("DejaVu Serif"));
        f.View->Font()->SetHeight(-17);
        f.View->SpecFont()->SetColor(clMaroon);
        f.View->SetFields({QStringLiteral("NAME=Nimi"), QStringLiteral("CLUB")});
        f.View->SetSpecFields({QStringLiteral("NAME=B")});
        f.View->SetPickLists({QStringLiteral("[CLUB]"), QStringLiteral("OK Espoo")});
        f.Memo->SetParentFont(false);
        f.Memo->Font()->SetName(QStringLiteral("DejaVu Sans Mono"));
        f.Memo->StoredLines = {QStringLiteral("ensimmäinen"), QStringLiteral("toinen")};
        f.Main->SaveProperties();
        ASSERT_TRUE(f.File->SaveFile());
    }
    QFile raw(fn);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray text = raw.readAll();
    for (const char* section : {"[formNotes.rvRun.ColFont]", "[formNotes.rvRun.SpecFont]", "[formNotes.rvRun.Fields]",
                                "[formNotes.rvRun.SpecFields]", "[formNotes.rvRun.PickList]", "[formNotes.memNote]"})
        EXPECT_TRUE(text.contains(section)) << section;
    EXPECT_FALSE(text.contains("[formNotes.memPlain]")) << "a plain memo keeps nothing";

    TSavedForm g(fn);
    g.Main->ReadProperties();
    EXPECT_EQ(g.View->Font()->Name(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(g.View->Font()->Height(), -17);
    EXPECT_EQ(g.View->SpecFont()->Color(), clMaroon);
    EXPECT_EQ(g.View->Fields(), QStringList({QStringLiteral("NAME=Nimi"), QStringLiteral("CLUB")}));
    EXPECT_EQ(g.View->SpecFields(), QStringList{QStringLiteral("NAME=B")});
    EXPECT_EQ(g.View->PickLists(), QStringList({QStringLiteral("[CLUB]"), QStringLiteral("OK Espoo")}));
    EXPECT_EQ(g.Memo->Font()->Name(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(g.Memo->StoredLines, QStringList({QStringLiteral("ensimmäinen"), QStringLiteral("toinen")}));
}
