#pragma once
// The library's toolbox for colours and pictures: the named colour table and
// colour texts, frames that follow the reading order, gradients, the data bar
// and status bar cell graphics, centring, tiling, smooth resizing and
// rotation of bitmaps, and reading and writing pictures (BMP, JPEG, PNG) to
// streams and files. Metafiles cannot be read on this platform: they are
// reported as unreadable pictures.

#include "components/base/ParioCompGlobalCfg.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"

#include <QByteArray>
#include <QString>

class TStringList;
class TField;

// "No picture" is gtNoPicture in code: gtNone already names the gradient
// type of the configuration record, in the same scope.
enum TrGraphicType : uint8_t { gtNoPicture = 0, gtError = 1, gtBMP = 2, gtJPG = 3, gtPNG = 4, gtEMF = 5, gtOther = 6 };

inline bool IsGraphicTypeValid(TrGraphicType T) { return T > gtError; }
QString GraphicTypeLabel(TrGraphicType T);

// ---- colour table ---------------------------------------------------------------------
constexpr int ColorsDefCount = 21;
struct TColorDef {
    TColor Value;
    QString Name;
    QString DisplayName;
};
const TColorDef& ColorsDefArr(int Index);

int GetColorList(TStringList* Strings, bool AddExtra, bool AddCustom, bool UseDisplayNames);
TColor GetColorValue(int Index);
QString GetColorName(int Index, bool UseDisplayName);
int GetColorIdx(TColor Color);
int GetColorIdx(const QString& Name);
QString ColorToString(TColor Color, bool UseDisplayName);
TColor StringToColor(const QString& Text);
bool IsSameColor(TColor Color1, TColor Color2, int Similarity);
void FontGetRotated(TFont* Font, int Angle);

// ---- drawing that follows the reading order ---------------------------------------------
void BiDi_ModifyRect(TCanvas* Canvas, TRect& Rect);
void BiDi_FrameRect(TCanvas* Canvas, const TRect& Rect, TColor Color);
void BiDi_DrawFocusRect(TCanvas* Canvas, const TRect& Rect);

// ---- gradients and geometry ----------------------------------------------------------------
void DrawGradient(TCanvas* Canvas, const TRect& Rect, TColor StartColor, TColor EndColor, bool Vertical, int Steps);
void DrawGradientH(TCanvas* Canvas, const TRect& Rect, TColor StartColor, TColor EndColor);
void MakeSquare(TRect& Rect);
void AnimateResize(TControl* Control, const TRect& TargetRect);

// ---- cell graphics ---------------------------------------------------------------------------
double DrawDataBar(TCanvas* Canvas, TRect Rect, TColor BarColor, double Value, double MinValue, double MaxValue,
                   TColor EndColor);
void DrawStatusBar(TCanvas* Canvas, TRect Rect, int Position, int Count, int Style, TColor EmptyColor, TColor FillColor);

// ---- bitmaps and pictures ----------------------------------------------------------------------
void GetBitmapFromPicture(TBitmap* Bitmap, const TPicture* Picture);
class TIcon;
void DrawBmpCenter(TCanvas* Canvas, const TRect& Rect, const TBitmap* Bitmap, bool Stretch = false);
// A Size x Size icon of the bitmap: centred on the button face, the button face left out.
void ConvertBmpToIco(const TBitmap* Bitmap, TIcon* Icon, int Size);
void DrawBmpAlign(TCanvas* Canvas, TRect Rect, const TBitmap* Bitmap, int Margin, TAlignment Alignment);
void DrawPictureCenter(TCanvas* Canvas, const TRect& Rect, const TPicture* Picture, bool Transparent, bool Stretch);
void DrawPictureTiles(TCanvas* Canvas, const TRect& Rect, const TPicture* Picture, bool Transparent);
void DrawBmpTiles(TCanvas* Canvas, const TRect& Rect, const TBitmap* Bitmap);
void SmoothResizeBitmap(TBitmap* Bitmap, int Width, int Height, bool Enlarge);
void SmoothResizeToBitmap(TBitmap* Source, TBitmap* Target);
void SmoothResizePicture(TPicture* Picture, int Width, int Height, bool Enlarge);
void RotateToBitmap(const TBitmap* Source, TBitmap* Target, double Degrees);
void RotateBitmap(TBitmap* Bitmap, double Degrees);
void RotatePicture(TPicture* Picture, double Degrees);
void BitmapChangeColor(const TBitmap* Source, TBitmap* Target, TColor NewColor, TColor OldColor);
inline bool IsJPGSupported() { return true; }
inline bool IsPNGSupported() { return true; }

// ---- picture storage ------------------------------------------------------------------------------
TrGraphicType GetFileTypeFromFileName(const QString& FileName);
QString GetFileTypeExtension(TrGraphicType GraphicType);
QString GetFileTypeFilterList(bool AllFormatsFirst);
// Reads a picture from stored bytes, trying BMP, JPEG, PNG (a metafile is
// never readable here); gtNoPicture for no bytes, gtError when none fits.
TrGraphicType ReadPictureFromBytes(const QByteArray& Data, TPicture* Picture);
// Blob fields (rpictoolFields.cpp): a null field is gtNoPicture and leaves the
// picture alone; unreadable bytes give gtError without a message.
TrGraphicType ReadPictureFromField(const TField* Field, TPicture* Picture);
TrGraphicType ReadBitmapFromField(const TField* Field, TBitmap* Bitmap);
bool WritePictureToField(TField* Field, const TPicture* Picture, TrGraphicType GraphicType);
bool WritePictureToField_Int(TField* Field, const TPicture* Picture, TrGraphicType GraphicType, int JpegQuality);
TrGraphicType SavePictureToStream(const TPicture* Picture, QByteArray& Stream, TrGraphicType GraphicType);
TrGraphicType SavePictureToStream_Int(const TPicture* Picture, QByteArray& Stream, TrGraphicType GraphicType, int JpegQuality);
TrGraphicType SavePictureToFile(const TPicture* Picture, const QString& FileName, TrGraphicType GraphicType);
TrGraphicType LoadPictureFromFile(TPicture* Picture, const QString& FileName, bool ShowError);
TrGraphicType OpenDlg_PictureFromFile(TPicture* Picture, const QString& InitialDir, TrGraphicType GraphicType);
TrGraphicType SaveDlg_PictureToFile(const TPicture* Picture, const QString& InitialDir, TrGraphicType GraphicType);
