// The zoomable picture view and the picture editor window.
#include "components/base/rImageEdit.h"
#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rImageZoom.h"
#include "platform/ui/Forms.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

namespace {

struct ZoomFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TrImageZoom* View = nullptr;

    void SetUp() override
    {
        Form->SetBounds(0, 0, 500, 500);
        View = new TrImageZoom(Form.get());
        View->SetParent(Form.get());
        View->SetBounds(0, 0, 400, 400);
    }

    void Picture(int W, int H)
    {
        View->Picture()->Bitmap()->SetSize(W, H);
        View->PictureChanged();
    }
};

}  // namespace

TEST_F(ZoomFixture, ZoomStepsAndLimits)
{
    Picture(100, 100);
    View->SetZoom(0);
    View->SetZoom(-5);
    EXPECT_EQ(View->Zoom(), 100);
    View->ZoomIn(5, false);
    EXPECT_EQ(View->Zoom(), 105);
    View->ZoomOut(5, false);
    EXPECT_EQ(View->Zoom(), 99);  // Floor of 99.75
    View->SetZoom(1);
    View->ZoomOut(25, false);
    EXPECT_EQ(View->Zoom(), 1);
    View->SetZoom(5000);
    EXPECT_EQ(View->Zoom(), 5000);
}

TEST_F(ZoomFixture, FittingAndLockedZoom)
{
    Picture(2000, 1000);
    View->SetReduceToFit(true);
    EXPECT_DOUBLE_EQ(View->InternalZoom(), 20);
    EXPECT_EQ(View->Zoom(), 100);
    View->SetReduceToFit(false);
    View->Fit();
    EXPECT_EQ(View->Zoom(), 20);
    View->SetLockOriginalZoom(true);
    EXPECT_DOUBLE_EQ(View->InternalZoom(), 100);
    View->SetLockOriginalZoom(false);
    Picture(1, 1);
    View->SetZoom(100);
    View->SetAutoFit(true);
    EXPECT_DOUBLE_EQ(View->InternalZoom(), 100);  // too small to fit
}

TEST_F(ZoomFixture, RotationSwapsTheSides)
{
    Picture(300, 200);
    View->SetRotateType(rt090);
    EXPECT_EQ(View->GetPictureWidth(), 200);
    EXPECT_EQ(View->GetPictureHeight(), 300);
}

TEST_F(ZoomFixture, InformationAndReadOnlyMenu)
{
    EXPECT_EQ(View->PictureInfo(), QStringLiteral("(empty)"));
    View->OnPopupMenu();
    EXPECT_EQ(View->GetPopupItem(32)->Caption(), QStringLiteral("(empty)"));
    Picture(640, 480);
    View->SetZoom(50);
    View->ImgGraphicType = gtBMP;
    EXPECT_EQ(View->PictureInfo(), QStringLiteral("BMP: 640 x 480; Zoom: 50%"));
    View->ReadOnly = true;
    View->OnPopupMenu();
    EXPECT_FALSE(View->GetPopupItem(1)->Enabled());
    EXPECT_FALSE(View->GetPopupItem(3)->Enabled());
    EXPECT_TRUE(View->GetPopupItem(2)->Enabled());
    EXPECT_TRUE(View->GetPopupItem(5)->Enabled());
    EXPECT_FALSE(View->CutImageToClipboard());
    EXPECT_FALSE(View->PasteImageFromClipboard());
    EXPECT_TRUE(View->CopyImageToClipboard());
    View->ImgGraphicType = gtError;
    EXPECT_EQ(View->PictureInfo(), QStringLiteral("(corrupted)"));
}

TEST(ImageEditTest, BrightnessAndContrast)
{
    TBitmap src(3, 1);
    src.SetPixel(0, 0, RGB(0, 0, 0));
    src.SetPixel(1, 0, RGB(255, 255, 255));
    src.SetPixel(2, 0, RGB(128, 200, 10));
    TBitmap out;
    ChangeBrightContr(&src, &out, 100, 0, 100, 100);
    EXPECT_EQ(out.Pixel(0, 0), RGB(100, 100, 100));
    EXPECT_EQ(out.Pixel(1, 0), RGB(255, 255, 255));
    ChangeBrightContr(&src, &out, 0, -100, 0, 0);
    EXPECT_EQ(out.Pixel(0, 0), RGB(110, 110, 110));
    EXPECT_EQ(out.Pixel(1, 0), RGB(144, 144, 144));
    ChangeBrightContr(&src, &out, 0, 100, 0, 0);
    EXPECT_EQ(GetRValue(out.Pixel(2, 0)), 134);
}

TEST(ImageEditTest, ModalAndNonModalWindows)
{
    TPicture pic;
    pic.Bitmap()->SetSize(40, 30);
    pic.Bitmap()->Canvas()->Brush()->SetColor(RGB(50, 50, 50));
    pic.Bitmap()->Canvas()->FillRect(Rect(0, 0, 40, 30));
    // view only: Close alone, and closing returns false
    auto old = SetModalHook([](TCustomForm* f) {
        auto* e = dynamic_cast<TrImageEditForm*>(f);
        EXPECT_FALSE(e->btOk->Visible());
        EXPECT_TRUE(e->btClose->Visible());
        f->SetBounds(11, 12, 700, 400);
        return int(mrAbort);
    });
    EXPECT_FALSE(ShowImageEdit(nullptr, &pic, nullptr, false, true));
    EXPECT_EQ(TrImageEditForm::LastPos.Width(), 700);
    EXPECT_EQ(TrImageEditForm::LastPos.Height(), 400);
    const TRect last = TrImageEditForm::LastPos;
    // editable: the brightness moves the channels together and OK writes back
    SetModalHook([last](TCustomForm* f) {
        auto* e = dynamic_cast<TrImageEditForm*>(f);
        // the last window's size (the offscreen platform moves windows by their frame)
        EXPECT_EQ(e->Width(), last.Width());
        EXPECT_EQ(e->Height(), last.Height());
        EXPECT_TRUE(e->btOk->Visible());
        e->trBrAll->SetPosition(100);
        EXPECT_EQ(e->trBrG->Position(), 100);
        return int(mrOk);
    });
    EXPECT_TRUE(ShowImageEdit(nullptr, &pic, nullptr, true, true));
    EXPECT_EQ(pic.Bitmap()->Pixel(5, 5), RGB(150, 150, 150));
    // restore original brings back the untouched picture
    SetModalHook([](TCustomForm* f) {
        auto* e = dynamic_cast<TrImageEditForm*>(f);
        e->trContr->SetPosition(40);
        e->ReloadBmp();
        EXPECT_EQ(e->trContr->Position(), 0);
        return int(mrOk);
    });
    EXPECT_TRUE(ShowImageEdit(nullptr, &pic, nullptr, true, true));
    EXPECT_EQ(pic.Bitmap()->Pixel(5, 5), RGB(150, 150, 150));
    SetModalHook(old);
    // not modal: returns at once and never changes the caller's picture
    EXPECT_FALSE(ShowImageEdit(nullptr, &pic, nullptr, true, false));
}

TEST_F(ZoomFixture, ScrollBarsFollowAndMoveTheZoomedPicture)
{
    Form->Show();
    View->SetScrollBar(true);
    Picture(1000, 800);
    ASSERT_EQ(View->TypeScrollBar(), tsBoth);
    EXPECT_EQ(View->ClientWidth(), 384);  // the bars take their room from the client
    QScrollBar* vbar = nullptr;
    QScrollBar* hbar = nullptr;
    for (QScrollBar* b : View->Widget()->findChildren<QScrollBar*>())
        (b->orientation() == Qt::Vertical ? vbar : hbar) = b;
    ASSERT_TRUE(vbar && hbar);
    EXPECT_TRUE(vbar->isVisible());
    EXPECT_EQ(vbar->maximum(), 800 - 384);
    EXPECT_EQ(hbar->pageStep(), 384);
    // a click below the thumb pages by half the client height
    QTest::mouseClick(vbar, Qt::LeftButton, {}, QPoint(vbar->width() / 2, vbar->height() - 20));
    EXPECT_EQ(View->ZoomOffset().Y, 192);
    // the bar to the end, the line arrows by one pixel
    View->Scroll(true, TrImageZoom::scBottom);
    EXPECT_EQ(View->ZoomOffset().X, 1000 - 384);
    View->Scroll(true, TrImageZoom::scLineUp);
    EXPECT_EQ(View->ZoomOffset().X, 1000 - 385);
    // dragging the picture moves the thumbs with it
    // (under the size-all cursor while held, the view's own one after)
    QTest::mousePress(View->Widget(), Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(View->Widget()->cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseMove(View->Widget(), QPoint(250, 150));
    QTest::mouseRelease(View->Widget(), Qt::LeftButton, {}, QPoint(250, 150));
    EXPECT_NE(View->Widget()->cursor().shape(), Qt::SizeAllCursor);
    EXPECT_EQ(View->Cursor(), crDefault);
    EXPECT_EQ(hbar->value(), View->ZoomOffset().X);
    EXPECT_EQ(vbar->value(), 242);
    // fitted, the bars go away and the client is whole again
    View->Fit();
    EXPECT_EQ(View->TypeScrollBar(), tsNone);
    EXPECT_FALSE(vbar->isVisible());
    EXPECT_EQ(View->ClientWidth(), 400);
}

TEST_F(ZoomFixture, LoadingRaisesTheLoadedEvent)
{
    std::vector<int> events;
    auto old = ParioCompConfig.Global_OnParioCompGeneralEvent;
    ParioCompConfig.Global_OnParioCompGeneralEvent = [&](TComponent*, int Event, TComponent*, TComponent*, QVariant&) { events.push_back(Event); };
    auto* v = new TrImageZoom(nullptr);
    v->BeginLoading();
    v->EndLoading();
    delete v;
    ParioCompConfig.Global_OnParioCompGeneralEvent = old;
    EXPECT_EQ(events, (std::vector<int>{1101, 1102}));
}

// Reading a picture reports its start and end; with incremental display the
// view repaints when the picture says it is worth showing.
TEST_F(ZoomFixture, PictureReadingProgressReachesOnProgress)
{
    TBitmap source(30, 20);
    const QByteArray png = source.SaveToData("PNG");
    std::vector<std::pair<TProgressStage, int>> seen;
    TRect last;
    View->OnProgress = [&](TComponent* Sender, TProgressStage Stage, int Percent, bool, const TRect& R, const QString&) {
        EXPECT_EQ(Sender, View);
        seen.emplace_back(Stage, Percent);
        last = R;
    };
    int paints = 0;
    View->OnPaint = [&](TComponent*) { ++paints; };
    Form->Show();
    QApplication::processEvents();
    const int before = paints;
    View->Picture()->LoadFromData(png);
    EXPECT_EQ(seen, (std::vector<std::pair<TProgressStage, int>>{{psStarting, 0}, {psEnding, 100}}));
    EXPECT_EQ(last, Rect(0, 0, 30, 20));
    EXPECT_EQ(paints, before) << "no repaint inside the reading without incremental display";
    View->SetIncrementalDisplay(true);
    View->Picture()->LoadFromData(png);
    EXPECT_GT(paints, before) << "repainted at the end of the reading";
}

// The editor's page buttons are one group: the shown page's button is down
// and the pages themselves show no tabs.
TEST(ImageEditTest, PageButtonsAreOneGroupOverTablessPages)
{
    TrImageEditForm e(nullptr);
    EXPECT_TRUE(e.bt1->Down());
    EXPECT_EQ(e.pcEdit->ActivePage(), e.ts1);
    EXPECT_EQ(e.ts1->Caption(), QStringLiteral("Brightness, contrast"));
    EXPECT_EQ(e.ts2->Caption(), QStringLiteral("Color balance (RGB)"));
    EXPECT_FALSE(e.ts1->TabVisible());
    e.Show();
    QTest::mouseClick(e.bt2->Widget(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(e.pcEdit->ActivePage(), e.ts2);
    EXPECT_TRUE(e.bt2->Down());
    EXPECT_FALSE(e.bt1->Down());
    EXPECT_EQ(e.btZoomIn->ImageIndex, 1);
    EXPECT_EQ(e.btZoomOut->ImageIndex, 2);
    EXPECT_EQ(e.btZoomFit->ImageIndex, 0);
    EXPECT_EQ(e.btZoomIn->Images, static_cast<TCustomImageList*>(e.ImgZoomEna));
    EXPECT_EQ(e.btClose->ImageIndex, 2);
    EXPECT_EQ(e.btClose->Images, static_cast<TCustomImageList*>(e.ImgDlgEna));
}
