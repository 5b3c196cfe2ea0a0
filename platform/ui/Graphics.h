#pragma once
// Fonts, pens, brushes, bitmaps and the canvas that draws with them.
//
// The canvas keeps the drawing rules of the classic window system so that
// every drawing algorithm reads as written: rectangles exclude their right
// and bottom edges, LineTo leaves out its end point, text is placed by its
// top-left corner, a solid brush fills behind text. Drawing goes through
// QPainter without anti-aliasing for shapes; text uses fixed fonts (see the
// substitution table) without sub-pixel colour fringes, so pictures are the
// same on every machine.

#include "platform/rtl/Exception.h"
#include "platform/ui/Types.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPaintDevice;
class QImage;
class QFont;
class QColor;
class QIODevice;
class TCanvas;

// ---- fonts ------------------------------------------------------------------

using TFontStyles = unsigned;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType };
constexpr int DEFAULT_CHARSET = 1;
constexpr int ANSI_CHARSET = 0;
constexpr int SYMBOL_CHARSET = 2;

// The installed face that stands in for a Windows face name.
QString SubstituteFontName(const QString& Name);
// Screen resolution used to turn points into pixels (96 unless a test sets it).
int ScreenPixelsPerInch();
void SetScreenPixelsPerInch(int Value);

class TFont {
public:
    TFont();
    TFont(const TFont& Other);
    TFont& operator=(const TFont& Other) { Assign(Other); return *this; }
    ~TFont();
    void Assign(const TFont& Source);

    QString Name() const { return FName; }
    void SetName(const QString& Value);
    // Height in pixels: negative is the character height (em), as the layouts store it.
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    int Size() const;  // points at PixelsPerInch
    void SetSize(int Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Charset() const { return FCharset; }
    void SetCharset(int Value);
    // Rotation in tenths of a degree, counter-clockwise.
    int Orientation() const { return FOrientation; }
    void SetOrientation(int Value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    TFontQuality Quality() const { return FQuality; }
    void SetQuality(TFontQuality Value);
    int PixelsPerInch = 0;  // 0 = the screen's

    bool operator==(const TFont& O) const;
    std::function<void()> OnChange;

    // The Qt font for this description (platform and print layers only).
    QFont ToQFont() const;

private:
    void Changed();
    QString FName = QStringLiteral("Tahoma");
    int FHeight = -11;
    TFontStyles FStyle = 0;
    TColor FColor = clWindowText;
    int FCharset = DEFAULT_CHARSET;
    int FOrientation = 0;
    TFontPitch FPitch = fpDefault;
    TFontQuality FQuality = fqDefault;
};

// ---- pens and brushes -----------------------------------------------------------

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
                pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor };

class TPen {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor V) { FColor = V; Changed(); }
    int Width() const { return FWidth; }
    void SetWidth(int V) { FWidth = V < 1 ? 1 : V; Changed(); }
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle V) { FStyle = V; Changed(); }
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode V) { FMode = V; Changed(); }
    void Assign(const TPen& S) { FColor = S.FColor; FWidth = S.FWidth; FStyle = S.FStyle; FMode = S.FMode; Changed(); }
    std::function<void()> OnChange;

private:
    void Changed() { if (OnChange) OnChange(); }
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBitmap;

class TBrush {
public:
    TBrush();
    TBrush(const TBrush& O);
    TBrush& operator=(const TBrush& O) { Assign(O); return *this; }
    ~TBrush();
    TColor Color() const { return FColor; }
    void SetColor(TColor V);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle V) { FStyle = V; Changed(); }
    // An 8 x 8 pattern bitmap; the brush keeps a copy (nullptr clears it).
    TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(const TBitmap* Value);
    void Assign(const TBrush& S);
    std::function<void()> OnChange;

private:
    void Changed() { if (OnChange) OnChange(); }
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    std::unique_ptr<TBitmap> FBitmap;
};

// ---- pictures -----------------------------------------------------------------

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };
enum TAlphaFormat { afIgnored, afDefined, afPremultiplied };

class TGraphic {
public:
    virtual ~TGraphic() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const { return Width() == 0 || Height() == 0; }
    virtual void Draw(TCanvas* ACanvas, const TRect& Rect) const = 0;
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value) { FTransparent = Value; Changed(); }
    std::function<void()> OnChange;

protected:
    void Changed() { if (OnChange) OnChange(); }
    bool FTransparent = false;
};

// A bitmap in memory (32-bit pixels) with a canvas that draws into it.
class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int AWidth, int AHeight);
    TBitmap(const TBitmap& Other);
    TBitmap& operator=(const TBitmap& Other) { Assign(&Other); return *this; }
    ~TBitmap() override;
    void Assign(const TBitmap* Source);

    int Width() const override;
    int Height() const override;
    void SetWidth(int Value);
    void SetHeight(int Value);
    void SetSize(int AWidth, int AHeight);
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value) { FPixelFormat = Value; }
    TAlphaFormat AlphaFormat() const { return FAlphaFormat; }
    void SetAlphaFormat(TAlphaFormat Value);
    // The colour that is left out when the bitmap is drawn transparently:
    // in tmAuto the bottom-left pixel, in tmFixed the colour set.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor Value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value) { FTransparentMode = Value; }
    void Draw(TCanvas* ACanvas, const TRect& Rect) const override;

    TCanvas* Canvas();
    // Pixel access works on the picture itself (pending drawing is finished first).
    TColor Pixel(int X, int Y) const;
    void SetPixel(int X, int Y, TColor Color);
    // One row of 32-bit $AARRGGBB pixels.
    uint32_t* ScanLine(int Row);

    void LoadFromFile(const QString& FileName);   // raises EInvalidGraphic
    void SaveToFile(const QString& FileName) const;  // format by extension, BMP otherwise
    void LoadFromData(const QByteArray& Data);
    QByteArray SaveToData(const char* Format = "PNG") const;
    // Loads an image resource of the program ("RDBMARKUP" from the glyph set).
    bool LoadFromResourceName(const QString& Name);
    void Clear();
    void Dormant() {}
    void FreeImage() {}
    // Applies a mask: pixels where the mask is white become transparent.
    void Mask(TColor TransparentColor);

    // The picture itself (platform and print layers only).
    QImage& Image();
    const QImage& Image() const;

private:
    void EndPainting() const;
    std::unique_ptr<QImage> FImage;
    mutable std::unique_ptr<TCanvas> FCanvas;
    TPixelFormat FPixelFormat = pf32bit;
    TAlphaFormat FAlphaFormat = afIgnored;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
};

SORVEX_EXCEPTION_KIND(EInvalidGraphic, Exception)

enum TProgressStage { psStarting, psRunning, psEnding };
// How far reading a picture has come: R is the part ready to show, and
// RedrawNow says that it is worth showing now.
using TPictureProgressEvent =
    std::function<void(TProgressStage Stage, int PercentDone, bool RedrawNow, const TRect& R, const QString& Msg)>;

// A picture of any kind that the image codecs read (BMP, JPEG, PNG, GIF);
// held as a bitmap plus the format it came in. Reading reports its start
// (0 %) and its end (100 %, the whole picture ready) through OnProgress.
class TPicture {
public:
    TPicture();
    ~TPicture();
    TBitmap* Bitmap();
    const TBitmap* Graphic() const { return FBitmap.get(); }
    QString Format() const { return FFormat; }
    int Width() const;
    int Height() const;
    bool Empty() const;
    void Assign(const TPicture* Source);
    void AssignBitmap(const TBitmap* Source);
    void LoadFromFile(const QString& FileName);
    void SaveToFile(const QString& FileName) const;
    void LoadFromData(const QByteArray& Data);
    void Clear();
    std::function<void()> OnChange;
    TPictureProgressEvent OnProgress;

private:
    std::unique_ptr<TBitmap> FBitmap;
    QString FFormat;
};

// ---- the canvas -----------------------------------------------------------------

// Text-drawing flags.
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_BOTTOM = 0x8;
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_EXPANDTABS = 0x40;
constexpr unsigned DT_TABSTOP = 0x80;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_EXTERNALLEADING = 0x200;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;
constexpr unsigned DT_INTERNAL = 0x1000;
constexpr unsigned DT_EDITCONTROL = 0x2000;
constexpr unsigned DT_PATH_ELLIPSIS = 0x4000;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;
constexpr unsigned DT_MODIFYSTRING = 0x10000;
constexpr unsigned DT_RTLREADING = 0x20000;
constexpr unsigned DT_WORD_ELLIPSIS = 0x40000;
constexpr unsigned DT_HIDEPREFIX = 0x100000;
constexpr unsigned DT_PREFIXONLY = 0x200000;

// 3D edges.
constexpr unsigned BDR_RAISEDOUTER = 0x1;
constexpr unsigned BDR_SUNKENOUTER = 0x2;
constexpr unsigned BDR_RAISEDINNER = 0x4;
constexpr unsigned BDR_SUNKENINNER = 0x8;
constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr unsigned BF_LEFT = 0x1;
constexpr unsigned BF_TOP = 0x2;
constexpr unsigned BF_RIGHT = 0x4;
constexpr unsigned BF_BOTTOM = 0x8;
constexpr unsigned BF_RECT = 0xF;
constexpr unsigned BF_MIDDLE = 0x800;
constexpr unsigned BF_SOFT = 0x1000;
constexpr unsigned BF_ADJUST = 0x2000;
constexpr unsigned BF_FLAT = 0x4000;
constexpr unsigned BF_MONO = 0x8000;

enum TCanvasState { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };
enum TGradientDirection { gdHorizontal, gdVertical };

struct TTextMetric {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
};

// The direction a surface's horizontal coordinates run: a surface mirrored for
// right-to-left windows counts from the right edge.
enum TCanvasOrientation { coLeftToRight, coRightToLeft };

class TCanvas {
public:
    TCanvas();
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TFont* Font() { return &FFont; }
    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }
    void SetFont(const TFont& F) { FFont.Assign(F); }
    void SetPen(const TPen& P) { FPen.Assign(P); }
    void SetBrush(const TBrush& B) { FBrush.Assign(B); }
    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(const TPoint& P) { FPenPos = P; }
    TCanvasOrientation CanvasOrientation() const { return FOrientation; }
    void SetCanvasOrientation(TCanvasOrientation Value) { FOrientation = Value; }
    // Whether drawing reaches a surface (measuring works without one).
    bool HandleAllocated() const { return FPainter != nullptr; }

    void MoveTo(int X, int Y) { FPenPos = {X, Y}; }
    void LineTo(int X, int Y);
    void Polyline(const std::vector<TPoint>& Points);
    void Polygon(const std::vector<TPoint>& Points);
    void FillRect(const TRect& R);
    void FrameRect(const TRect& R);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void DrawFocusRect(const TRect& R);
    TColor Pixel(int X, int Y) const;
    void SetPixel(int X, int Y, TColor Color);

    void TextOut(int X, int Y, const QString& Text);
    void TextRect(const TRect& R, int X, int Y, const QString& Text);
    int TextWidth(const QString& Text) const;
    int TextHeight(const QString& Text) const;
    TSize TextExtent(const QString& Text) const;
    TTextMetric TextMetrics() const;
    // Draws or measures text as the window system's DrawText; returns the text height.
    int DrawText(const QString& Text, TRect& R, unsigned Flags);

    void Draw(int X, int Y, const TGraphic* Graphic);
    void StretchDraw(const TRect& R, const TGraphic* Graphic);
    void CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect);
    void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor TransparentColor);
    void GradientFill(const TRect& R, TColor StartColor, TColor EndColor, TGradientDirection Direction);

    // Clipping: the region drawing may reach, in canvas coordinates.
    TRect ClipRect() const;
    void IntersectClipRect(const TRect& R);
    void ExcludeClipRect(const TRect& R);
    // Moves the origin: drawing at (0, 0) lands at (DX, DY) (cumulative).
    void OffsetWindowOrg(int DX, int DY);
    TPoint WindowOrg() const { return FOrigin; }
    // Saves and restores clipping and origin.
    int SaveDC();
    void RestoreDC(int Saved);

    void Lock() {}
    void Unlock() {}
    void Refresh() {}

    // Binding to a surface (platform and print layers only).
    void BeginPaint(QPainter* Painter, const TRect& Bounds);
    void EndPaint();
    QPainter* Painter() const { return FPainter; }
    // The surface size, used when no clip is set.
    TRect DeviceRect() const { return FDeviceRect; }

protected:
    virtual void RequireSurface() const {}
    friend class TBitmap;

private:
    void ApplyPen() const;
    void ApplyBrush() const;
    void ApplyFont() const;
    void PlotLine(int X1, int Y1, int X2, int Y2);
    QPainter* FPainter = nullptr;
    TRect FDeviceRect;
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    TPoint FPenPos;
    TPoint FOrigin;
    int FSaveDepth = 0;
    std::vector<TPoint> FSavedOrigins;
    TCanvasOrientation FOrientation = coLeftToRight;
};

// Window-system helpers the drawing code calls by these names.
int DrawText(TCanvas* Canvas, const QString& Text, int Length, TRect& R, unsigned Flags);
bool DrawEdge(TCanvas* Canvas, TRect& R, unsigned Edge, unsigned Flags);
void Frame3D(TCanvas* Canvas, TRect& R, TColor TopColor, TColor BottomColor, int Width);
void GradientFillCanvas(TCanvas* Canvas, TColor StartColor, TColor EndColor, const TRect& R, TGradientDirection Direction);

// Qt colour of a TColor (platform and print layers only).
QColor ToQColor(TColor Color);
TColor FromQColor(const QColor& Color);
