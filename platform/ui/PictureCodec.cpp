#include "platform/ui/PictureCodec.h"

#include <QBuffer>
#include <QImage>

QByteArray EncodeBitmapData(const TBitmap* Bitmap, const char* Format, int Quality)
{
    if (!Bitmap)
        return QByteArray();
    Bitmap->Pixel(0, 0);  // finishes any drawing still pending on the picture
    QByteArray data;
    QBuffer buf(&data);
    buf.open(QIODevice::WriteOnly);
    Bitmap->Image().save(&buf, Format, Quality);
    return data;
}
