#include "platform/office/XlsxPackage.h"

#include "platform/rtl/Exception.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>
#include <zip.h>

TZipPackage::TZipPackage(const QString& File, bool Write) : FFile(File)
{
    int err = 0;
    FZip = zip_open(QFile::encodeName(File).constData(), Write ? 0 : ZIP_RDONLY, &err);
    if (!FZip)
        throw Exception(QStringLiteral("Cannot open workbook \"%1\": it is not a readable .xlsx file.").arg(File));
}

TZipPackage::~TZipPackage()
{
    if (FZip)
        zip_discard(FZip);
}

QByteArray TZipPackage::Part(const QString& Name) const
{
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(FZip, Name.toUtf8().constData(), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
        return QByteArray();
    zip_file_t* f = zip_fopen(FZip, Name.toUtf8().constData(), 0);
    if (!f)
        return QByteArray();
    QByteArray data(qsizetype(st.size), Qt::Uninitialized);
    const zip_int64_t n = zip_fread(f, data.data(), st.size);
    zip_fclose(f);
    return n == zip_int64_t(st.size) ? data : QByteArray();
}

bool TZipPackage::Has(const QString& Name) const
{
    return zip_name_locate(FZip, Name.toUtf8().constData(), 0) >= 0;
}

QStringList TZipPackage::Names() const
{
    QStringList out;
    const zip_int64_t n = zip_get_num_entries(FZip, 0);
    for (zip_int64_t i = 0; i < n; ++i)
        if (const char* name = zip_get_name(FZip, zip_uint64_t(i), 0))
            out << QString::fromUtf8(name);
    return out;
}

void TZipPackage::Put(const QString& Name, const QByteArray& Data)
{
    FKeep.push_back(Data);
    zip_source_t* src = zip_source_buffer(FZip, FKeep.back().constData(), zip_uint64_t(FKeep.back().size()), 0);
    if (!src || zip_file_add(FZip, Name.toUtf8().constData(), src, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
        if (src)
            zip_source_free(src);
        throw Exception(QStringLiteral("Cannot write \"%1\" into \"%2\": %3").arg(Name, FFile, QString::fromUtf8(zip_strerror(FZip))));
    }
}

void TZipPackage::Remove(const QString& Name)
{
    const zip_int64_t i = zip_name_locate(FZip, Name.toUtf8().constData(), 0);
    if (i >= 0)
        zip_delete(FZip, zip_uint64_t(i));
}

void TZipPackage::Commit()
{
    if (zip_close(FZip) != 0)
        throw Exception(QStringLiteral("Cannot write file \"%1\". %2").arg(FFile, QString::fromUtf8(zip_strerror(FZip))));
    FZip = nullptr;
    FKeep.clear();
}

std::vector<TXlsxRel> ReadRels(const QByteArray& Xml, const QString& BaseFolder)
{
    std::vector<TXlsxRel> out;
    QXmlStreamReader r(Xml);
    while (!r.atEnd()) {
        r.readNext();
        if (!r.isStartElement() || r.name() != QLatin1String("Relationship"))
            continue;
        const auto a = r.attributes();
        QString target = a.value(QLatin1String("Target")).toString();
        if (a.value(QLatin1String("TargetMode")) != QLatin1String("External"))
            target = target.startsWith(QLatin1Char('/')) ? target.mid(1) : QDir::cleanPath(BaseFolder + target);
        out.push_back({a.value(QLatin1String("Id")).toString(), a.value(QLatin1String("Type")).toString(), target});
    }
    return out;
}

std::vector<TXlsxSheetEntry> ReadSheetList(const TZipPackage& Package)
{
    std::vector<TXlsxRel> rels = ReadRels(Package.Part(QStringLiteral("xl/_rels/workbook.xml.rels")), QStringLiteral("xl/"));
    std::vector<TXlsxSheetEntry> out;
    QXmlStreamReader r(Package.Part(QStringLiteral("xl/workbook.xml")));
    while (!r.atEnd()) {
        r.readNext();
        if (!r.isStartElement() || r.name() != QLatin1String("sheet"))
            continue;
        QString id;
        for (const QXmlStreamAttribute& at : r.attributes())
            if (at.name() == QLatin1String("id"))
                id = at.value().toString();
        QString part;
        for (const TXlsxRel& rel : rels)
            if (rel.Id == id)
                part = rel.Target;
        out.push_back({r.attributes().value(QLatin1String("name")).toString(), part, id});
    }
    return out;
}
