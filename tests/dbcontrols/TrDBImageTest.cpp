// The data-aware picture over an in-memory table of blob pictures: what an
// empty or broken field shows, scaling on paste, converting all records and
// refusing to convert a read-only field.
#include "components/base/rdlg.h"
#include "components/base/rpictool.h"
#include "components/dbcontrols/TrDBImage.h"
#include "components/dbcontrols/rDBGridPropsDialogs.h"
#include "components/grid/rDBGridCellForms.h"
#include "platform/database/ClientDataSet.h"
#include "platform/database/DataSource.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct HookScope {
    explicit HookScope(TModalHook H) : Old(SetModalHook(std::move(H))) {}
    ~HookScope() { SetModalHook(Old); }
    TModalHook Old;
};

QByteArray PictureBytes(int W, int H, TrGraphicType Kind)
{
    TBitmap bmp;
    bmp.SetSize(W, H);
    TPicture pic;
    pic.AssignBitmap(&bmp);
    QByteArray bytes;
    SavePictureToStream(&pic, bytes, Kind);
    return bytes;
}

class TrDBImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 640, 480);
        form->AfterConstruction();
        pics.AddField(QStringLiteral("ID"), ftInteger);
        pics.AddField(QStringLiteral("PHOTO"), ftBlob);
        pics.SetKeyFields(QStringLiteral("ID"));
        pics.CreateDataSet();
        pics.AppendRecord({1, PictureBytes(40, 30, gtBMP)});
        pics.AppendRecord({2, PictureBytes(40, 30, gtJPG)});
        pics.AppendRecord({3, QVariant()});
        pics.AppendRecord({4, QByteArray("not a picture")});
        pics.First();
        src.SetDataSet(&pics);
        img = new TrDBImage(form.get());
        img->SetParent(form.get());
        img->SetBounds(40, 60, 300, 200);
        img->SetDataSource(&src);
        img->SetDataField(QStringLiteral("PHOTO"));
    }
    TrGraphicType Stored(int Id, TPicture* Into = nullptr)
    {
        pics.Locate(QStringLiteral("ID"), Id, {});
        TPicture p;
        return ReadPictureFromField(pics.FieldByName(QStringLiteral("PHOTO")), Into ? Into : &p);
    }
    std::unique_ptr<TForm> form;
    TClientDataSet pics;
    TDataSource src;
    TrDBImage* img = nullptr;
};

TEST_F(TrDBImageTest, ShowsKindEmptyCorruptedAndSubstitute)
{
    EXPECT_EQ(img->ImgGraphicType, gtBMP);
    EXPECT_TRUE(img->BackgroundText().isEmpty());
    pics.Next();
    EXPECT_EQ(img->ImgGraphicType, gtJPG);
    pics.Next();
    EXPECT_EQ(img->ImgGraphicType, gtNoPicture);
    EXPECT_EQ(img->BackgroundText(), QStringLiteral("(empty)"));
    pics.Next();
    EXPECT_EQ(img->ImgGraphicType, gtError);
    EXPECT_EQ(img->BackgroundText(), QStringLiteral("(corrupted)"));

    // A substitute for empty fields: shown locked, the bar's buttons off.
    TBitmap bmp;
    bmp.SetSize(16, 16);
    TPicture sub;
    sub.AssignBitmap(&bmp);
    img->SetPictureIfEmpty(&sub);
    EXPECT_EQ(img->BoundButtons()->Size(), 23);
    EXPECT_EQ(img->BoundButtons()->Name(), QStringLiteral("SubBoundButtons"));
    img->BoundButtons()->SetVisible(true);
    pics.Locate(QStringLiteral("ID"), 3, {});
    EXPECT_TRUE(img->BackgroundText().isEmpty());
    EXPECT_EQ(img->Picture()->Width(), 16);
    EXPECT_TRUE(img->LockOriginalZoom());
    for (int i = 1; i <= 4; ++i)
        EXPECT_FALSE(img->BoundButton(i)->Enabled()) << i;
    pics.First();
    EXPECT_FALSE(img->LockOriginalZoom());
    EXPECT_TRUE(img->BoundButton(1)->Enabled());
}

TEST_F(TrDBImageTest, PasteIsScaledToMaxImageSizeAndKeepsKnownKind)
{
    img->MaxImageSize = 800;
    pics.Locate(QStringLiteral("ID"), 2, {});
    TBitmap big;
    big.SetSize(1600, 1200);
    Clipboard()->AssignBitmap(&big);
    ASSERT_TRUE(img->PasteImageFromClipboard());
    EXPECT_EQ(pics.State(), dsEdit) << "the dataset stays in edit state for the program to post";
    pics.Post();
    TPicture stored;
    EXPECT_EQ(Stored(2, &stored), gtJPG) << "pasted over a JPEG, stored as JPEG";
    EXPECT_EQ(stored.Width(), 800);
    EXPECT_EQ(stored.Height(), 600);

    // Into an empty field: the default kind, bitmap while SaveInJPG is off.
    img->SaveInJPG = false;
    img->MaxImageSize = 0;
    pics.Locate(QStringLiteral("ID"), 3, {});
    Clipboard()->AssignBitmap(&big);
    ASSERT_TRUE(img->PasteImageFromClipboard());
    pics.Post();
    EXPECT_EQ(Stored(3), gtBMP);
}

TEST_F(TrDBImageTest, ConvertAllSkipsSameEmptyAndCorruptedAndPostsEach)
{
    HookScope yes([](TCustomForm*) { return int(mrYes); });
    img->Convert(true, gtJPG);
    EXPECT_EQ(pics.State(), dsBrowse) << "each changed record was posted";
    EXPECT_EQ(Stored(1), gtJPG);
    EXPECT_EQ(Stored(2), gtJPG);
    EXPECT_EQ(Stored(3), gtNoPicture);
    EXPECT_EQ(Stored(4), gtError);

    // Answering No changes nothing.
    HookScope no([](TCustomForm*) { return int(mrNo); });
    img->Convert(true, gtBMP);
    EXPECT_EQ(Stored(1), gtJPG);
}

TEST_F(TrDBImageTest, ReadOnlyFieldRefusesConversionAndEditing)
{
    pics.FieldByName(QStringLiteral("PHOTO"))->SetReadOnly(true);
    int shown = 0;
    HookScope h([&](TCustomForm*) {
        ++shown;
        return int(mrOk);
    });
    img->Convert(false, gtJPG);
    EXPECT_EQ(shown, 1) << "the error dialog";
    EXPECT_EQ(Stored(1), gtBMP);
    EXPECT_FALSE(img->CanModify());
    EXPECT_FALSE(img->ResizePic(50));
}

TEST_F(TrDBImageTest, BarSitsAtItsPositionWithCaptions)
{
    img->BoundButtons()->SetSize(22);
    img->BoundButtons()->SetPosition(bpTopRight);
    img->BoundButtons()->SetVisible(true);
    TToolBar* bar = img->BoundToolBar();
    EXPECT_TRUE(bar->Visible());
    // Placed by the computed size (4 x 22 + 1 wide, 23 high), then fitted
    // to its buttons.
    EXPECT_EQ(bar->Left(), 40 + 300 - (4 * 22 + 1) + 1);
    EXPECT_EQ(bar->Top(), 60 - 23 + 1);
    EXPECT_EQ(bar->Width(), 4 * 22);
    EXPECT_EQ(bar->Height(), 22);
    EXPECT_EQ(img->BoundButton(2)->Caption(), QStringLiteral("+"));
    img->ShowEditor = ieNone;
    img->BoundButtons()->SetPosition(bpRightTop);
    EXPECT_EQ(bar->Height(), 3 * 22) << "no editor button; one button a row";
    EXPECT_EQ(bar->Width(), 22);
    EXPECT_EQ(bar->Left(), 40 + 300 + 1);
    EXPECT_EQ(img->BoundButton(3)->Top(), 2 * 22);
    img->BoundButtons()->SetVisible(false);
    EXPECT_FALSE(bar->AutoSize()) << "hidden: the 10 x 10 place, not fitted";
    EXPECT_EQ(bar->Width(), 10);
}

TEST_F(TrDBImageTest, GridPictureDialogsZoomBarShowsGlyphs)
{
    InstallDBGridPropsDialogs();
    auto* pic = dynamic_cast<TrDBImage*>(GridPictureLayer().Make(form.get()));
    ASSERT_NE(pic, nullptr);
    pic->SetParent(form.get());
    pic->SetBounds(10, 40, 300, 200);
    TToolBar* bar = pic->BoundToolBar();
    ASSERT_NE(bar->Images, nullptr);
    EXPECT_EQ(bar->Images->Count(), 4);
    EXPECT_FALSE(bar->ShowCaptions());
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(pic->BoundButton(i)->ImageIndex(), i - 1);
    EXPECT_FALSE(pic->BoundButton(2)->Hint().isEmpty()) << "the glyph's meaning stays in the hint";
}

}  // namespace
