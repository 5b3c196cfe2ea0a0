// Colour texts, cell graphics, bitmap geometry and reading and writing
// pictures, with the error texts of unreadable files.
#include "components/base/rDialogsEx.h"
#include "components/base/rdlg.h"
#include "components/base/rpictool.h"
#include "platform/ui/PictureCodec.h"
#include "platform/ui/Forms.h"
#include "tests/support/TempProgramDir.h"

#include <gtest/gtest.h>

TEST(PicToolTest, ColourTexts)
{
    EXPECT_EQ(ColorToString(clRed, false), QStringLiteral("Red"));
    EXPECT_EQ(ColorToString(clNone, true), QStringLiteral("Custom..."));
    EXPECT_EQ(ColorToString(0x0000FE, false), QStringLiteral("$000000FE"));
    EXPECT_EQ(ColorToString(clMoneyGreen, true), QStringLiteral("Money Green"));
    EXPECT_EQ(StringToColor(QStringLiteral("Money Green")), 0xC0DCC0);
    EXPECT_EQ(StringToColor(QStringLiteral("moneygreen")), 0xC0DCC0);
    EXPECT_EQ(StringToColor(QStringLiteral("$FF")), 0xFF);
    EXPECT_EQ(StringToColor(QStringLiteral("255")), 0xFF);
    EXPECT_EQ(StringToColor(QStringLiteral("punainen")), clNone);
    EXPECT_TRUE(IsSameColor(clBlack, 0x010101, 90));
    EXPECT_FALSE(IsSameColor(clBlack, clWhite, 0));
    EXPECT_FALSE(IsSameColor(clRed, clRed, 100));
    EXPECT_EQ(GetColorIdx(QStringLiteral("SKY blue")), 17);
}

TEST(PicToolTest, DataBarAndStatusBar)
{
    TBitmap b(100, 10);
    TCanvas* c = b.Canvas();
    EXPECT_EQ(DrawDataBar(c, Rect(0, 0, 100, 10), clNone, 5, 5, 5, clNone), 0);
    EXPECT_EQ(DrawDataBar(c, Rect(0, 0, 100, 10), clNone, -3, 0, 10, clNone), 0);
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 100, 10));
    EXPECT_EQ(DrawDataBar(c, Rect(0, 0, 100, 10), clBlue, 50, 0, 10, clBlue), 1);
    EXPECT_EQ(b.Pixel(97, 5), clBlue);
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 100, 10));
    DrawStatusBar(c, Rect(0, 0, 100, 10), 3, 0, sbtDots, clNone, clNone);
    EXPECT_EQ(b.Pixel(5, 5), clWhite);
    DrawStatusBar(c, Rect(0, 0, 100, 10), 9, 4, sbtProgressBar, clNone, clNone);
    EXPECT_EQ(b.Pixel(97, 5), clTeal);  // a position above the count is the count
}

TEST(PicToolTest, GeometryOfBitmaps)
{
    TRect r = Rect(0, 0, 10, 4);
    MakeSquare(r);
    EXPECT_EQ(r, Rect(3, 0, 7, 4));
    TBitmap b(30, 20);
    SmoothResizeBitmap(&b, 0, 0, true);
    EXPECT_EQ(b.Width(), 30);
    SmoothResizeBitmap(&b, 60, 0, false);
    EXPECT_EQ(b.Width(), 30);
    SmoothResizeBitmap(&b, 60, 0, true);
    EXPECT_EQ(b.Width(), 60);
    EXPECT_EQ(b.Height(), 40);
    RotateBitmap(&b, 90);
    EXPECT_EQ(b.Width(), 40);
    EXPECT_EQ(b.Height(), 60);
}

TEST(PicToolTest, RectanglesFollowTheSurfacesReadingOrder)
{
    TBitmap b(20, 10);
    TCanvas* c = b.Canvas();
    TRect r = Rect(2, 1, 8, 5);
    BiDi_ModifyRect(c, r);
    EXPECT_EQ(r, Rect(2, 1, 8, 5));
    c->SetCanvasOrientation(coRightToLeft);
    BiDi_ModifyRect(c, r);
    EXPECT_EQ(r, Rect(8, 1, 2, 5));
    // The frame still lands on the same pixels.
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 20, 10));
    BiDi_FrameRect(c, Rect(2, 1, 8, 5), clRed);
    EXPECT_EQ(b.Canvas()->Pixel(2, 1), clRed);
    EXPECT_EQ(b.Canvas()->Pixel(7, 4), clRed);
    EXPECT_EQ(b.Canvas()->Pixel(4, 3), clWhite);
}

TEST(PicToolTest, FileTypesAndFilters)
{
    EXPECT_EQ(GetFileTypeFromFileName(QStringLiteral("kuva.JPEG")), gtJPG);
    EXPECT_EQ(GetFileTypeFromFileName(QStringLiteral("kuva.tif")), gtOther);
    EXPECT_EQ(GetFileTypeFromFileName(QStringLiteral("kuva")), gtOther);
    EXPECT_EQ(GetFileTypeExtension(gtPNG), QStringLiteral(".png"));
    EXPECT_EQ(GetFileTypeExtension(gtOther), QString());
    EXPECT_TRUE(GetFileTypeFilterList(true).startsWith(QStringLiteral("Graphics formats")));
    EXPECT_TRUE(GetFileTypeFilterList(false).startsWith(QStringLiteral("Bitmaps (*.bmp)|*.bmp|")));
    EXPECT_EQ(GraphicTypeLabel(gtEMF), QStringLiteral("EMF"));
}

namespace {

// Collects the texts of the error dialogs shown meanwhile.
struct ErrorDialogs {
    QStringList Texts;
    TModalHook Old;
    ErrorDialogs()
    {
        Old = SetModalHook([this](TCustomForm* f) {
            if (auto* d = dynamic_cast<TrDlgForm*>(f))
                for (auto* l : d->Lines)
                    Texts << l->Caption();
            return int(mrOk);
        });
    }
    ~ErrorDialogs() { SetModalHook(Old); }
};

}  // namespace

TEST(PicToolTest, PicturesSaveLoadAndTheirErrors)
{
    TempProgramDir dir;
    TPicture pic;
    pic.Bitmap()->SetSize(20, 10);
    pic.Bitmap()->Canvas()->Brush()->SetColor(clGreen);
    pic.Bitmap()->Canvas()->FillRect(Rect(0, 0, 20, 10));
    for (TrGraphicType t : {gtBMP, gtPNG, gtJPG}) {
        const QString name = dir.File(QStringLiteral("kuva") + GetFileTypeExtension(t));
        EXPECT_EQ(SavePictureToFile(&pic, name, t), t);
        TPicture back;
        EXPECT_EQ(LoadPictureFromFile(&back, name, true), t);
        EXPECT_EQ(back.Width(), 20);
        EXPECT_EQ(ParioCompConfig.rDBToolCfg.rpictool_LastFileName, name);
    }
    QByteArray stored;
    EXPECT_EQ(SavePictureToStream(&pic, stored, gtNoPicture), gtBMP);
    TPicture fromBytes;
    EXPECT_EQ(ReadPictureFromBytes(stored, &fromBytes), gtBMP);
    EXPECT_EQ(ReadPictureFromBytes(QByteArray(), &fromBytes), gtNoPicture);
    EXPECT_EQ(ReadPictureFromBytes(QByteArray("roskaa"), &fromBytes), gtError);

    ErrorDialogs errors;
    TPicture target;
    EXPECT_EQ(LoadPictureFromFile(&target, dir.File(QStringLiteral("puuttuu.png")), true), gtError);
    EXPECT_TRUE(errors.Texts.isEmpty());  // a missing file is no error message
    dir.Write(QStringLiteral("piirros.emf"), QByteArray(64, '\x01'));
    EXPECT_EQ(LoadPictureFromFile(&target, dir.File(QStringLiteral("piirros.emf")), true), gtError);
    dir.Write(QStringLiteral("rikki.png"), QByteArray("ei kuva"));
    EXPECT_EQ(LoadPictureFromFile(&target, dir.File(QStringLiteral("rikki.png")), false), gtError);
    ASSERT_FALSE(errors.Texts.isEmpty());
    EXPECT_TRUE(errors.Texts.join(QLatin1Char(' ')).contains(QStringLiteral("Bad picture format.")));
    const int shown = int(errors.Texts.size());
    EXPECT_EQ(LoadPictureFromFile(&target, dir.File(QStringLiteral("rikki.png")), true), gtError);
    EXPECT_GT(errors.Texts.size(), shown);
    EXPECT_TRUE(target.Empty());
    EXPECT_EQ(SavePictureToStream(&pic, stored, gtError), gtNoPicture);
}

TEST(DialogsExTest, FileDialogsTakeTheLibraryOptionsAndHookAndFontCancelKeepsTheFont)
{
    int hooked = 0;
    ParioCompConfig.rDBToolCfg.FileDialog_InitDialogEvent = [&](TComponent*) { ++hooked; };
    TrOpenDialog open(nullptr);
    TrSaveDialog save(nullptr);
    ParioCompConfig.rDBToolCfg.FileDialog_InitDialogEvent = nullptr;
    EXPECT_EQ(hooked, 2);
    EXPECT_EQ(open.Options, ofNoChangeDir | ofFileMustExist | ofEnableSizing);
    auto old = SetCommonDialogHook([](TCommonDialog* d, QString&) {
        if (auto* f = dynamic_cast<TFontDialog*>(d))
            f->Font.SetSize(30);
        return false;
    });
    TFont font;
    font.SetSize(9);
    EXPECT_FALSE(ShowSelectFontDialog(&font));
    EXPECT_EQ(font.Size(), 9);
    SetCommonDialogHook([](TCommonDialog* d, QString&) {
        if (auto* f = dynamic_cast<TFontDialog*>(d))
            f->Font.SetSize(14);
        return true;
    });
    EXPECT_TRUE(ShowSelectFontDialog(&font));
    EXPECT_EQ(font.Size(), 14);
    SetCommonDialogHook(old);
}

#include "platform/database/ClientDataSet.h"

TEST(PicToolTest, PicturesInBlobFields)
{
    TClientDataSet ds;
    ds.AddField(QStringLiteral("KUVA"), ftBlob);
    ds.CreateDataSet();
    ds.Append();
    TField* field = ds.FieldByName(QStringLiteral("KUVA"));
    TPicture pic;
    pic.Bitmap()->SetSize(8, 6);
    TPicture read;
    EXPECT_EQ(ReadPictureFromField(field, &read), gtNoPicture);
    struct Case {
        TrGraphicType Written, Read;
    } cases[] = {{gtBMP, gtBMP}, {gtPNG, gtPNG}, {gtJPG, gtJPG}, {gtEMF, gtBMP}, {gtOther, gtBMP}};
    for (const Case& c : cases) {
        EXPECT_TRUE(WritePictureToField(field, &pic, c.Written));
        EXPECT_EQ(ReadPictureFromField(field, &read), c.Read) << int(c.Written);
        EXPECT_EQ(read.Width(), 8);
    }
    TBitmap bmp;
    EXPECT_EQ(ReadBitmapFromField(field, &bmp), gtBMP);
    EXPECT_EQ(bmp.Height(), 6);
    field->SetAsBytes(QByteArray("ei kuva"));
    EXPECT_EQ(ReadPictureFromField(field, &read), gtError);
    EXPECT_TRUE(WritePictureToField(field, &pic, gtNoPicture));
    EXPECT_TRUE(field->IsNull());
    auto old = SetModalHook([](TCustomForm*) { return int(mrOk); });
    EXPECT_FALSE(WritePictureToField(field, &pic, gtError));
    SetModalHook(old);
}

TEST(PicToolTest, JpegQualityChangesTheBytesWritten)
{
    TPicture pic;
    pic.Bitmap()->SetSize(64, 64);
    // noise compresses badly, so the quality shows in the size
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            pic.Bitmap()->SetPixel(x, y, RGB((x * 37 + y * 11) % 256, (x * 13 + y * 71) % 256, (x * y) % 256));
    QByteArray low, high;
    EXPECT_EQ(SavePictureToStream_Int(&pic, low, gtJPG, 20), gtJPG);
    EXPECT_EQ(SavePictureToStream_Int(&pic, high, gtJPG, 100), gtJPG);
    EXPECT_LT(low.size(), high.size());
    EXPECT_TRUE(low.startsWith("\xFF\xD8")) << "a JPEG either way";
}

TEST(PicToolTest, BitmapBecomesAnIconWithTheButtonFaceLeftOut)
{
    TBitmap red(8, 8);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 8, 8));
    TIcon icon;
    ConvertBmpToIco(&red, &icon, 16);
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Height(), 16);
    EXPECT_EQ(icon.Pixel(8, 8), clRed) << "the picture in the middle";
    const QByteArray ico = icon.SaveToIconData();
    EXPECT_TRUE(ico.startsWith(QByteArray("\0\0\1\0", 4))) << "an icon file";
    TBitmap back;
    back.LoadFromData(ico);
    EXPECT_EQ(back.Width(), 16);
}
