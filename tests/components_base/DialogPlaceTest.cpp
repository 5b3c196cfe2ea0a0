// The library's dialogs keep their size and place in a property file between runs.
#include "components/base/rImageEdit.h"
#include "components/base/rdlg_baseform.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/TPropSaveMain.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<TPropSaveFile> OpenFile(const QString& Path)
{
    auto f = std::make_unique<TPropSaveFile>(nullptr);
    f->SetFileName(Path);
    f->LoadFile();
    return f;
}

int ShowEditor(TPropSaveFile* File, const std::function<void(TrImageEditForm*)>& Drive)
{
    TrImageEditForm::LastPos = TRect();  // only the file may carry the place over
    TPicture pic;
    pic.Bitmap()->SetSize(20, 10);
    auto old = SetModalHook([&](TCustomForm* f) {
        Drive(dynamic_cast<TrImageEditForm*>(f));
        return int(mrAbort);
    });
    ShowImageEdit(nullptr, &pic, File, true, true);
    SetModalHook(old);
    return 0;
}

}  // namespace

TEST(DialogPlaceTest, ThePictureEditorKeepsItsSizeInTheFileItIsGiven)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dialogs.ini"));
    {
        auto file = OpenFile(path);
        ShowEditor(file.get(), [](TrImageEditForm* e) { e->SetBounds(30, 40, 720, 410); });
        ASSERT_TRUE(file->SaveFile());
    }
    auto file = OpenFile(path);
    int width = 0, height = 0;
    ShowEditor(file.get(), [&](TrImageEditForm* e) {
        width = e->Width();
        height = e->Height();
    });
    EXPECT_EQ(width, 720);
    EXPECT_EQ(height, 410);
    // none given: the editor keeps nothing and opens at its own size
    ShowEditor(nullptr, [&](TrImageEditForm* e) { width = e->Width(); });
    EXPECT_NE(width, 720);
}

TEST(DialogPlaceTest, EveryLibraryDialogHasASaverOnTheApplicationsFile)
{
    QTemporaryDir dir;
    auto file = OpenFile(dir.filePath(QStringLiteral("app.ini")));
    file->SetUseAsGlobalFile(true);
    auto show = [](const std::function<void(TCustomForm*)>& Drive) {
        TrDlgBaseForm dlg(nullptr);
        dlg.SetName(QStringLiteral("SomeLibraryDialog"));
        auto old = SetModalHook([&](TCustomForm* f) {
            Drive(f);
            return int(mrCancel);
        });
        dlg.ShowModal();
        SetModalHook(old);
    };
    show([](TCustomForm* f) { f->SetBounds(5, 6, 480, 260); });
    int width = 0;
    show([&](TCustomForm* f) { width = f->Width(); });
    EXPECT_EQ(width, 480);
    auto* main = dynamic_cast<TPropSaveMain*>(TrDlgBaseForm(nullptr).DlgPropSave);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->PropSaveEvents, pseFormShowHide);
    EXPECT_EQ(main->PropSaveFile(), file.get());
    file->SetUseAsGlobalFile(false);
}
