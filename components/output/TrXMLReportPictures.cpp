// Pictures and barcodes in office documents: stored in the package under
// media/, linked from the part, with relationship, manifest and content-type
// entries.
#include "components/output/TrXMLReport.h"

#include "components/output/rRepText.h"
#include "platform/database/Fields.h"
#include "platform/office/rzip_interface.h"
#include "platform/rtl/Exception.h"
#include "resources/LibraryTexts.h"
#include "resources/ReportTexts.h"

#include <QFile>

#include <cmath>

namespace {

const QString BadPictureFormat = QStringLiteral("Bad picture format.");

const char* const DocxDrawing =
    "</w:t></w:r><w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\">"
    "<wp:extent cx=\"%1\" cy=\"%2\"/><wp:docPr id=\"%6\" name=\"Pic%6\"/>"
    "<wp:cNvGraphicFramePr><a:graphicFrameLocks xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "noChangeAspect=\"1\"/></wp:cNvGraphicFramePr>"
    "<a:graphic xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">"
    "<a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
    "<pic:pic xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
    "<pic:nvPicPr><pic:cNvPr id=\"0\" name=\"Image\"/><pic:cNvPicPr/></pic:nvPicPr>"
    "<pic:blipFill><a:blip r:embed=\"%3\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill>"
    "<pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"%4\" cy=\"%5\"/></a:xfrm>"
    "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic></a:graphicData></a:graphic>"
    "</wp:inline></w:drawing></w:r><w:r><w:t>";

const char* const OdtFrame =
    "<draw:frame draw:style-name=\"a0\" draw:name=\"Img%4\" text:anchor-type=\"as-char\" svg:x=\"0cm\" svg:y=\"0cm\" "
    "svg:width=\"%1cm\" svg:height=\"%2cm\" style:rel-width=\"scale\" style:rel-height=\"scale\">"
    "<draw:image xlink:href=\"%3\" xlink:type=\"simple\" xlink:show=\"embed\" xlink:actuate=\"onLoad\"/>"
    "<svg:title/><svg:desc/></draw:frame>";

const char* const ImageRelType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";

QString FormatSizeCm(long long Thousandths)
{
    return QStringLiteral("%1.%2").arg(Thousandths / 1000).arg(Thousandths % 1000, 3, 10, QLatin1Char('0'));
}

} // namespace

QString TrXMLReport::PictureTagValue(const QString& Tag)
{
    const TBracketParts p = SepBracket(Tag);
    const QStringList inside = p.Inside.split(QLatin1Char(':'));
    const QString source = inside.value(0).trimmed();
    const QString options = !p.Tail.isEmpty() ? p.Tail.mid(p.Tail.indexOf(QLatin1Char(':')) + 1)
                                              : p.Inside.mid(p.Inside.indexOf(QLatin1Char(':')) + 1);
    bool found = false;
    const QString path = GetVarUserValue(source, found);
    if (OnGetPictureContent) {
        TBitmap bmp;
        OnGetPictureContent(this, source, &bmp);
        if (bmp.Width() >= 1)
            return CreateFormatPicture(nullptr, options, &bmp, QString());
    }
    return found ? CreateFormatPicture(nullptr, options, nullptr, path) : QString();
}

QString TrXMLReport::PlaceBitmap(const TBitmap& Bitmap, const QString& Options)
{
    return CreateFormatPicture(nullptr, Options, &Bitmap, QString());
}

QString TrXMLReport::PictureFieldValue(TField* Field, const QString& Format)
{
    return CreateFormatPicture(Field, Format, nullptr, QString());
}

QString TrXMLReport::CreateFormatPicture(TField* Field, const QString& OptionText, const TBitmap* Bitmap,
                                         const QString& FileName)
{
    try {
        TBitmap picture;
        int kind = pkPNG;
        auto load = [&](const QByteArray& data) {
            kind = PictureKindOf(data);
            if (kind == pkEMF || kind == pkOther || kind == pkNone)
                throw Exception(BadPictureFormat);
            try {
                picture.LoadFromData(data);
            } catch (const Exception&) {
                throw Exception(BadPictureFormat);
            }
            if (kind == pkBMP)
                kind = pkPNG;
        };
        if (Field) {
            load(Field->AsBytes());
        } else if (!FileName.isEmpty()) {
            QFile f(FileName);
            if (!f.exists())
                throw Exception(FillText(reptxt::FileNotFound, FileName));
            if (!f.open(QIODevice::ReadOnly))
                throw Exception(BadPictureFormat);
            load(f.readAll());
        } else if (Bitmap) {
            picture.Assign(Bitmap);
        } else {
            throw Exception(libtxt::ErrorInInputParameters);
        }
        const TRepPictureOptions o = ParsePictureOptions(OptionText);
        if (o.SaveKind == pkJPEG || o.SaveKind == pkPNG)
            kind = o.SaveKind;
        if (o.Rotate != 0)
            RotateBitmap(picture, o.Rotate);
        if (FXMLFormat != tfDOCX && FXMLFormat != tfODT)
            RaiseErr(-2, QString());
        // Sizes: EMU for DOCX, thousandths of a centimetre otherwise.
        const double unit = FXMLFormat == tfDOCX ? 1.0 : 1.0 / 360.0;
        const double targetW = std::llround(TargetEmu(o.WValue, o.WUnit) * unit);
        const double targetH = std::llround(TargetEmu(o.HValue, o.HUnit) * unit);
        if (o.QualityAuto)
            FitBitmap(picture, int(std::lround(targetW / (9525 * unit))), int(std::lround(targetH / (9525 * unit))), o.Enlarge);
        else if (o.Quality < 100)
            ScaleBitmap(picture, o.Quality, o.Enlarge);
        const int pw = picture.Width(), ph = picture.Height();
        long long cx = std::llround(pw * 9525 * unit);
        if (targetW > 0 && (targetW < cx || o.Enlarge))
            cx = std::llround(targetW);
        long long cy = std::llround(double(cx) * ph / pw);
        if (targetH > 0 && (targetH < cy || o.Enlarge)) {
            cy = std::llround(targetH);
            cx = std::llround(double(cy) * pw / ph);
        }
        const QString id = AddImageFile(picture, kind);
        if (FXMLFormat == tfDOCX)
            return QString::fromLatin1(DocxDrawing).arg(cx).arg(cy).arg(id).arg(cx).arg(cy).arg(PicCount);
        return QString::fromLatin1(OdtFrame).arg(FormatSizeCm(cx), FormatSizeCm(cy), id).arg(PicCount);
    } catch (const Exception& e) {
        return e.Message();
    }
}

QString TrXMLReport::AddImageFile(const TBitmap& Picture, int Kind)
{
    ++PicCount;
    const QByteArray data = EncodePicture(Picture, Kind);
    const QString number = QStringLiteral("%1").arg(PicCount, 6, 10, QLatin1Char('0'));
    const QString name = QStringLiteral("media/image") + number + PictureKindExt(Kind);
    const QString mediaType = Kind == pkJPEG ? QStringLiteral("image/jpeg") : QStringLiteral("image/png");
    if (FXMLFormat == tfDOCX) {
        const QString id = QStringLiteral("xRepId") + number;
        RelItemStr += QStringLiteral("<Relationship Id=\"%1\" Type=\"%2\" Target=\"%3\"/>")
                          .arg(id, QString::fromLatin1(ImageRelType), name);
        rzip.AddFromBuffer(QStringLiteral("word/") + name, data.constData(), data.size());
        return id;
    }
    if (FXMLFormat != tfODT)
        RaiseErr(-2, QString());
    RelItemStr += QStringLiteral("<manifest:file-entry manifest:full-path=\"%1\" manifest:media-type=\"%2\"/>")
                      .arg(name, mediaType);
    rzip.AddFromBuffer(name, data.constData(), data.size());
    return name;
}

void TrXMLReport::UpdateRelFile()
{
    auto libraryError = [this] {
        QString message;
        rzip.GetLastErrorMsg(message);
        RaiseErr(-1, message);
    };
    QString relName;
    if (FXMLFormat == tfDOCX) {
        QString part = XMLFileName;
        part.remove(QLatin1String("word/"), Qt::CaseInsensitive);
        relName = QStringLiteral("word/_rels/") + part + QStringLiteral(".rels");
    } else if (FXMLFormat == tfODT) {
        relName = QStringLiteral("META-INF/manifest.xml");
    } else {
        RaiseErr(-2, QString());
    }
    QString rel;
    if (rzip.ExtractToString(relName, rel) != 0) {
        if (FXMLFormat != tfDOCX)
            libraryError();
        rel = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                             "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                             "</Relationships>");
    }
    const QString close = XMLMarkup(FXMLFormat).RelClose;
    const int at = rel.indexOf(close, 0, Qt::CaseInsensitive);
    if (at >= 0)
        rel.insert(at, RelItemStr);
    if (rzip.AddFromString(relName, rel) != 0)
        libraryError();
    if (FXMLFormat != tfDOCX)
        return;
    QString types;
    if (rzip.ExtractToString(QStringLiteral("[Content_Types].xml"), types) != 0)
        libraryError();
    for (const auto& [ext, type] : {std::pair{"jpg", "image/jpeg"}, std::pair{"png", "image/png"}}) {
        const QString entry = QStringLiteral("<Default Extension=\"%1\" ContentType=\"%2\"/>").arg(QLatin1String(ext), QLatin1String(type));
        if (!types.contains(entry, Qt::CaseInsensitive)) {
            const int end = types.indexOf(QLatin1String("</Types>"));
            if (end >= 0)
                types.insert(end, entry);
        }
    }
    if (rzip.AddFromString(QStringLiteral("[Content_Types].xml"), types) != 0)
        libraryError();
}
