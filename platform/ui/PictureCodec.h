#pragma once
// Writing pictures with a quality for the lossy formats, and icons: square
// pictures whose transparent pixels are left out, in the icon file format.

#include "platform/ui/Graphics.h"

#include <QByteArray>

// Quality 0..100 for JPEG; -1 leaves the codec's own.
QByteArray EncodeBitmapData(const TBitmap* Bitmap, const char* Format, int Quality);

class TIcon : public TBitmap {
public:
    TIcon() = default;
    QByteArray SaveToIconData() const { return SaveToData("ICO"); }
};
