// Pictures and barcodes in RTF reports: linked beside the output file, or
// embedded as PNG or JPEG data.
#include "components/output/TRTFReport2.h"

#include "components/output/rRepText.h"
#include "platform/database/Fields.h"
#include "platform/rtl/Exception.h"
#include "resources/LibraryTexts.h"
#include "resources/ReportTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString BadPictureFormat = QStringLiteral("Bad picture format.");

// Splits "picture(NAME:opts)" or "picture(NAME):opts" into name and options.
void SplitPictureTag(const QString& Tag, QString& Name, QString& Options)
{
    const TBracketParts p = SepBracket(Tag);
    const QStringList inside = p.Inside.split(QLatin1Char(':'));
    Name = inside.value(0).trimmed();
    if (!p.Tail.isEmpty())
        Options = p.Tail.split(QLatin1Char(':')).value(1);
    else
        Options = inside.value(1);
}

} // namespace

QString TRTFReport2::PictureTagValue(const QString& Tag)
{
    QString name, options;
    SplitPictureTag(Tag, name, options);
    bool found = false;
    const QString path = GetVarUserValue(name, found);
    if (OnGetPictureContent) {
        TBitmap bmp;
        OnGetPictureContent(this, found ? path : name, &bmp);
        if (bmp.Width() > 0)
            return CreateFormatPicture(-1, nullptr, options, &bmp, QString());
    }
    if (!found)
        return QString();
    return CreateFormatPicture(-1, nullptr, options, nullptr, path);
}

QString TRTFReport2::PlaceBitmap(const TBitmap& Bitmap, const QString& Options)
{
    return CreateFormatPicture(-1, nullptr, Options, &Bitmap, QString());
}

QString TRTFReport2::PictureFieldValue(TField* Field, const QString& Format)
{
    int slot = -1;
    for (int i = 0; i < MaxDatasets; ++i)
        if (DS(i) == Field->DataSet())
            slot = i;
    return CreateFormatPicture(slot, Field, Format, nullptr, QString());
}

QString TRTFReport2::CreateFormatPicture(int Slot, TField* Field, const QString& OptionText, const TBitmap* Bitmap,
                                         const QString& FileName)
{
    try {
        // 1. The source.
        TBitmap picture;
        int kind = pkNone;
        if (Field) {
            const QByteArray data = Field->AsBytes();
            kind = PictureKindOf(data);
            if (kind == pkEMF || kind == pkOther || kind == pkNone)
                throw Exception(BadPictureFormat);
            try {
                picture.LoadFromData(data);
            } catch (const Exception&) {
                throw Exception(BadPictureFormat);
            }
        } else if (!FileName.isEmpty()) {
            QFile f(FileName);
            if (!f.exists())
                throw Exception(FillText(reptxt::FileNotFound, FileName));
            if (!f.open(QIODevice::ReadOnly))
                throw Exception(BadPictureFormat);
            const QByteArray data = f.readAll();
            kind = PictureKindOf(data);
            try {
                picture.LoadFromData(data);
            } catch (const Exception&) {
                throw Exception(BadPictureFormat);
            }
        } else if (Bitmap) {
            picture.Assign(Bitmap);
        } else {
            throw Exception(libtxt::ErrorInInputParameters);
        }
        // 2-3.
        const TRepPictureOptions options = ParsePictureOptions(OptionText);
        if (options.SaveKind >= 0)
            kind = options.SaveKind;
        if (options.Rotate != 0)
            RotateBitmap(picture, options.Rotate);
        // 4.
        if (options.InsertInRtf)
            return InsertPic(options, picture, kind);
        if (options.WTwips > 0 || options.HTwips > 0)
            FitBitmap(picture, options.WTwips / 15, options.HTwips / 15, options.Enlarge);
        return LinkPic(Slot, Field, options, picture, kind);
    } catch (const Exception& e) {
        return e.Message();
    }
}

QString TRTFReport2::GetPicName(int Slot, TField* Field, const TRepPictureOptions& Options)
{
    QString name;
    if (Options.NameField == QLatin1String("???")) {
        QString calc = QStringLiteral("???");
        bool replace = true;
        if (OnUserCalc)
            OnUserCalc(this, calc, replace);
        if (replace && calc != QLatin1String("???"))
            name = calc;
    } else if (!Options.NameField.isEmpty()) {
        for (const QString& raw : Options.NameField.split(QLatin1Char('+'))) {
            const QString part = raw.trimmed();
            if (part.isEmpty())
                break;
            if (IsConstantTag(part))
                name += part.mid(1, part.size() - 2);
            else
                name += GetDBValue(Slot, part, QString());
        }
    }
    if (!name.isEmpty())
        return name;
    if (Field && Slot >= 0)
        return QChar('A' + Slot) + QString::number(DS(Slot)->RecNo()) + QLatin1Char('_') + Field->FieldName();
    return QStringLiteral("ExtPic") + QString::number(++PicCount);
}

QString TRTFReport2::LinkPic(int Slot, TField* Field, const TRepPictureOptions& Options, TBitmap& Picture, int Kind)
{
    // Pictures without a kind of their own are stored as PNG.
    const int stored = (Kind == pkNone || Kind == pkOther) ? pkPNG : Kind;
    const QString file = GetPicName(Slot, Field, Options) + PictureKindExt(stored);
    const QString path = QDir(QFileInfo(OutputFile).absolutePath()).filePath(file);
    QFile f(path);
    const QByteArray data = EncodePicture(Picture, stored);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size())
        throw Exception(FillText(reptxt::SaveError, path));
    return QStringLiteral("{\\field{\\*\\fldinst { INCLUDEPICTURE \"%1\" \\\\* MERGEFORMAT \\\\d }}{\\fldrslt {}}}").arg(file);
}

QString TRTFReport2::InsertPic(const TRepPictureOptions& Options, TBitmap& Picture, int Kind) const
{
    // 1.
    if (Options.QualityAuto)
        FitBitmap(Picture, Options.WTwips / 20, Options.HTwips / 20, Options.Enlarge);
    else if (Options.Quality < 100)
        ScaleBitmap(Picture, Options.Quality, Options.Enlarge);
    // 2-3. Bitmaps are embedded as PNG: RTF readers show PNG blips everywhere.
    const int stored = Kind == pkJPEG ? pkJPEG : pkPNG;
    const QByteArray data = EncodePicture(Picture, stored);
    const QString keyword = stored == pkJPEG ? QStringLiteral("jpegblip") : QStringLiteral("pngblip");
    // 4. The displayed size.
    const int pw = Picture.Width(), ph = Picture.Height();
    double w = pw * 20.0, h = ph * 20.0;
    if (Options.WTwips > 0 && (Options.WTwips < w || Options.Enlarge)) {
        h = h * Options.WTwips / w;
        w = Options.WTwips;
    }
    if (Options.HTwips > 0 && (Options.HTwips < h || Options.Enlarge)) {
        w = w * Options.HTwips / h;
        h = Options.HTwips;
    }
    // 5.
    return QStringLiteral("{\\pict\\picscalex100\\picscaley100\\piccropl0\\piccropr0\\piccropt0\\piccropb0"
                          "\\picw%1\\pich%2\\picwgoal%3\\pichgoal%4\\%5 %6}")
        .arg(pw).arg(ph).arg(int(std::lround(w))).arg(int(std::lround(h))).arg(keyword,
                                                                                QString::fromLatin1(data.toHex().toUpper()));
}
