#include "components/base/zlib_interface.h"

#include "platform/rtl/Exception.h"

#include <QBuffer>
#include <QFile>
#include <vector>
#include <zlib.h>

SORVEX_EXCEPTION_KIND(EZCompressionError, Exception)
SORVEX_EXCEPTION_KIND(EZDecompressionError, Exception)

QByteArray ZCompress(const QByteArray& Data)
{
    z_stream zs{};
    if (deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw EZCompressionError(QStringLiteral("Compression error"));
    QByteArray out;
    std::vector<char> buf(1 << 20);
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Data.constData()));
    zs.avail_in = uInt(Data.size());
    int rc = Z_OK;
    do {
        zs.next_out = reinterpret_cast<Bytef*>(buf.data());
        zs.avail_out = uInt(buf.size());
        rc = deflate(&zs, Z_FINISH);
        out.append(buf.data(), qsizetype(buf.size() - zs.avail_out));
    } while (rc == Z_OK);
    deflateEnd(&zs);
    if (rc != Z_STREAM_END)
        throw EZCompressionError(QStringLiteral("Compression error"));
    return out;
}

QByteArray ZDecompress(const QByteArray& Data)
{
    z_stream zs{};
    if (inflateInit2(&zs, 15) != Z_OK)
        throw EZDecompressionError(QStringLiteral("Decompression error"));
    QByteArray out;
    std::vector<char> buf(65536);
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Data.constData()));
    zs.avail_in = uInt(Data.size());
    int rc = Z_OK;
    do {
        zs.next_out = reinterpret_cast<Bytef*>(buf.data());
        zs.avail_out = uInt(buf.size());
        rc = inflate(&zs, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END) {
            inflateEnd(&zs);
            throw EZDecompressionError(QStringLiteral("Decompression error"));
        }
        out.append(buf.data(), qsizetype(buf.size() - zs.avail_out));
    } while (rc != Z_STREAM_END && (zs.avail_in > 0 || zs.avail_out == 0));
    inflateEnd(&zs);
    if (rc != Z_STREAM_END)
        throw EZDecompressionError(QStringLiteral("Decompression error"));
    return out;
}

int64_t CompressStream(QIODevice* Source, QIODevice* Dest)
{
    Source->seek(0);
    Dest->write(ZCompress(Source->readAll()));
    return Dest->size();
}

int64_t DeCompressStream(QIODevice* Source, QIODevice* Dest)
{
    Dest->write(ZDecompress(Source->readAll()));
    return Dest->size();
}

QString CompressString(const QString& Text, const QString& FileName)
{
    const QByteArray packed = ZCompress(Text.toUtf8());
    if (!FileName.isEmpty()) {
        QFile f(FileName);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw EFileStreamError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, f.errorString()));
        f.write(packed);
    }
    return QString::fromLatin1(packed);
}

QString DeCompressString(const QString& Text, const QString& FileName)
{
    QByteArray packed;
    if (!FileName.isEmpty()) {
        QFile f(FileName);
        if (!f.open(QIODevice::ReadOnly))
            throw EFileStreamError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, f.errorString()));
        packed = f.readAll();
    } else {
        packed = Text.toLatin1();
    }
    return QString::fromUtf8(ZDecompress(packed));
}
