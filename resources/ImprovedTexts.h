#pragma once
// Texts of the library's improved controls and picture tools (English, as
// the library's other texts), written once and referred to by name.

#include <QString>

namespace imptxt {

// picture tools
inline const QString BadPictureFormat = QStringLiteral("Bad picture format.");
inline const QString CannotOpenFile = QStringLiteral("Cannot open file \"%s\".");
inline const QString FilterBitmaps = QStringLiteral("Bitmaps (*.bmp)|*.bmp");
inline const QString FilterJpeg = QStringLiteral("Jpeg files (*.jpg;*.jpeg)|*.jpg;*.jpeg");
inline const QString FilterPng = QStringLiteral("PNG files (*.png)|*.png");
inline const QString FilterAllGraphics = QStringLiteral("Graphics formats (*.bmp;*.jpg;*.jpeg;*.png)|*.bmp;*.jpg;*.jpeg;*.png");
inline const QString GraphicTypeLabels[7] = {QStringLiteral("None"), QStringLiteral("Error"), QStringLiteral("BMP"),
                                             QStringLiteral("JPG"),  QStringLiteral("PNG"),   QStringLiteral("EMF"),
                                             QStringLiteral("Other")};

// image list files
inline const QString ImageListWriteError = QStringLiteral("Failed to write ImageList data to stream");
inline const QString ImageListReadError = QStringLiteral("Failed to read ImageList data from stream");

// memo and rich text editor
inline const QString Input = QStringLiteral("Input");
inline const QString Find = QStringLiteral("Find");
inline const QString NotFound = QStringLiteral("Not found");
inline const QString MenuFont = QStringLiteral("Font");
inline const QString MenuBold = QStringLiteral("Bold");
inline const QString MenuItalic = QStringLiteral("Italic");
inline const QString MenuUnderline = QStringLiteral("Underline");
inline const QString MenuStrikeOut = QStringLiteral("Strike out");
inline const QString MenuSmaller = QStringLiteral("Smaller");
inline const QString MenuBigger = QStringLiteral("Bigger");
inline const QString MenuChangeFont = QStringLiteral("Change font");
inline const QString MenuFontColor = QStringLiteral("Font color");
inline const QString MenuParagraph = QStringLiteral("Paragraph");
inline const QString MenuDecreaseIndent = QStringLiteral("Decrease indent");
inline const QString MenuIncreaseIndent = QStringLiteral("Increase indent");
inline const QString MenuAlignLeft = QStringLiteral("Align text to left");
inline const QString MenuAlignCenter = QStringLiteral("Align text center");
inline const QString MenuAlignRight = QStringLiteral("Align text to right");
inline const QString MenuBulletPoints = QStringLiteral("Bullet points . . .");
inline const QString MenuBulletNumbers = QStringLiteral("Bullets 1, 2, 3");
inline const QString MenuBulletLetters = QStringLiteral("Bullets a, b, c");

// picture view and editor
inline const QString PictureEmpty = QStringLiteral("(empty)");
inline const QString PictureCorrupted = QStringLiteral("(corrupted)");
inline const QString Zoom = QStringLiteral("Zoom");
inline const QString MenuChangeResolution = QStringLiteral("Change resolution");
inline const QString MenuEditInNewWindow = QStringLiteral("Edit in new window (brightness, contrast)");
inline const QString MenuZoomToWindow = QStringLiteral("Zoom - to window");
inline const QString MenuZoomIn = QStringLiteral("Zoom in");
inline const QString MenuZoomOut = QStringLiteral("Zoom out");
inline const QString MenuStoreInJpg = QStringLiteral("Store in JPG format");
inline const QString MenuCut = QStringLiteral("Cut");
inline const QString MenuCopy = QStringLiteral("Copy");
inline const QString MenuPaste = QStringLiteral("Paste");
inline const QString MenuSaveToFile = QStringLiteral("Save to file...");
inline const QString MenuLoadFromFile = QStringLiteral("Load from file...");
inline const QString RequestedSize = QStringLiteral("Requested size in percentage (1% - 500%):");
inline const QString PictureEditing = QStringLiteral("Picture editing");
inline const QString ZoomLabel = QStringLiteral("Zoom:");
inline const QString FitToWindow = QStringLiteral("Fit to window");
inline const QString BrightnessContrast = QStringLiteral("Brightness, contrast");
inline const QString ColorBalance = QStringLiteral("Color balance (RGB)");
inline const QString RestoreOriginal = QStringLiteral("Restore original");
inline const QString Brightness = QStringLiteral("Brightness:");
inline const QString Contrast = QStringLiteral("Contrast:");
inline const QString Close = QStringLiteral("Close");

}  // namespace imptxt
