#pragma once
// Pictures of the report engines: the options of picture, barcode and image
// field tags, picture kinds, resizing and rotation, and barcode bitmaps.
#include "platform/ui/Graphics.h"

#include <QByteArray>
#include <QString>

// Picture kinds as the library numbers them.
enum TRepPictureKind { pkNone = 0, pkError = 1, pkBMP = 2, pkJPEG = 3, pkPNG = 4, pkEMF = 5, pkOther = 6 };

struct TRepPictureOptions {
    // Target sizes as written: the number and its unit ('p' for w=/h=,
    // 'c' for wcm=/hcm=, 'i' for winch=/hinch=). RTF reads w= in points,
    // office documents in pixels.
    double WValue = 0, HValue = 0;
    char WUnit = 'p', HUnit = 'p';
    int WTwips = 0;
    int HTwips = 0;
    int Rotate = 0;
    bool Enlarge = false;
    QString NameField;
    bool InsertInRtf = false;
    int Quality = 100;
    bool QualityAuto = false;
    int SaveKind = -1;  // -1 keeps the kind read
    // Barcode options.
    QString Type;
    bool ShowCode = false;
    QString FontName = QStringLiteral("Verdana");
    int FontSize = 0;
};

// Target sizes in EMU for office documents (w= and h= in pixels at 96 dpi).
long long TargetEmu(double Value, char Unit);

// Reads ";"-separated options (names in any case, unknown ones ignored).
TRepPictureOptions ParsePictureOptions(const QString& Text);

// The kind of encoded picture data, by its first bytes.
TRepPictureKind PictureKindOf(const QByteArray& Data);
QString PictureKindExt(int Kind);
// Encodes a bitmap in a kind (none or BMP write BMP data).
QByteArray EncodePicture(const TBitmap& Bitmap, int Kind);

// Resizes to fit a box keeping proportions; grows only with Enlarge.
void FitBitmap(TBitmap& Bitmap, int BoxWidth, int BoxHeight, bool Enlarge);
void ScaleBitmap(TBitmap& Bitmap, int Percent, bool Enlarge);
// Rotates clockwise by Degrees; the bitmap grows to hold the turned picture.
void RotateBitmap(TBitmap& Bitmap, int Degrees);

// Draws a barcode tag's text into a bitmap cropped to the drawn code, as
// both report engines place it. On failure returns false with the value the
// tag shows instead.
bool DrawBarcodeBitmap(const QString& Text, const TRepPictureOptions& Options, TBitmap& Result, QString& Failure);
