// Pictures in database blob fields.
#include "components/base/rdlg.h"
#include "components/base/rpictool.h"
#include "platform/database/Fields.h"
#include "resources/ImprovedTexts.h"

TrGraphicType ReadPictureFromField(const TField* Field, TPicture* Picture)
{
    if (Field->IsNull())
        return gtNoPicture;
    const TrGraphicType t = ReadPictureFromBytes(Field->AsBytes(), Picture);
    return t == gtNoPicture ? gtError : t;
}

TrGraphicType ReadBitmapFromField(const TField* Field, TBitmap* Bitmap)
{
    Bitmap->SetWidth(0);
    TPicture pic;
    const TrGraphicType t = ReadPictureFromField(Field, &pic);
    if (IsGraphicTypeValid(t))
        GetBitmapFromPicture(Bitmap, &pic);
    return t;
}

bool WritePictureToField_Int(TField* Field, const TPicture* Picture, TrGraphicType GraphicType, int JpegQuality)
{
    try {
        if (GraphicType == gtNoPicture) {
            Field->Clear();
            return true;
        }
        if (GraphicType == gtError || GraphicType > gtOther)
            throw EInvalidGraphic(imptxt::BadPictureFormat);
        if (!Picture || Picture->Empty()) {
            Field->Clear();
            return true;
        }
        // metafiles and other kinds are stored as bitmaps
        QByteArray data;
        const TrGraphicType stored = GraphicType == gtJPG || GraphicType == gtPNG ? GraphicType : gtBMP;
        if (SavePictureToStream_Int(Picture, data, stored, JpegQuality) == gtNoPicture)
            return false;
        Field->SetAsBytes(data);
        return true;
    } catch (const std::exception& e) {
        ShowErr(QString(), e, false);
        return false;
    }
}

bool WritePictureToField(TField* Field, const TPicture* Picture, TrGraphicType GraphicType)
{
    return WritePictureToField_Int(Field, Picture, GraphicType, 100);
}
