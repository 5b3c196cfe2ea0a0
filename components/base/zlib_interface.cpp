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

// ---- streams ---------------------------------------------------------------------

namespace {

const QString StreamWriteError = QStringLiteral("Stream write error");

// Writes all of Data to Dest or raises: a full disk must not pass silently.
void WriteAll(QIODevice* Dest, const char* Data, qint64 Len)
{
    while (Len > 0) {
        const qint64 n = Dest->write(Data, Len);
        if (n <= 0)
            throw EFileStreamError(StreamWriteError + (Dest->errorString().isEmpty() ? QString() : QStringLiteral(". ") + Dest->errorString()));
        Data += n;
        Len -= n;
    }
}

}  // namespace

TZCompressionStream::TZCompressionStream(QIODevice* ADest) : FDest(ADest), FZ(std::make_unique<z_stream_s>()), FOut(65536)
{
    *FZ = z_stream_s{};
    if (deflateInit2(FZ.get(), Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw EZCompressionError(QStringLiteral("Compression error"));
    open(QIODevice::WriteOnly);
}

TZCompressionStream::~TZCompressionStream()
{
    try {
        Finish();
    } catch (...) {
        // Finish was the place to hear about it.
    }
    deflateEnd(FZ.get());
}

bool TZCompressionStream::Deflate(int Flush)
{
    int rc = Z_OK;
    do {
        FZ->next_out = reinterpret_cast<Bytef*>(FOut.data());
        FZ->avail_out = uInt(FOut.size());
        rc = deflate(FZ.get(), Flush);
        if (rc == Z_STREAM_ERROR)
            throw EZCompressionError(QStringLiteral("Compression error"));
        WriteAll(FDest, FOut.data(), qint64(FOut.size() - FZ->avail_out));
    } while (FZ->avail_out == 0 || (Flush == Z_FINISH && rc != Z_STREAM_END));
    return rc == Z_STREAM_END;
}

qint64 TZCompressionStream::writeData(const char* Data, qint64 Len)
{
    if (FFinished)
        return -1;
    FZ->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Data));
    FZ->avail_in = uInt(Len);
    try {
        Deflate(Z_NO_FLUSH);
    } catch (const Exception& E) {
        setErrorString(E.Message());
        return -1;
    }
    return Len;
}

void TZCompressionStream::Finish()
{
    if (FFinished)
        return;
    FFinished = true;
    FZ->next_in = nullptr;
    FZ->avail_in = 0;
    Deflate(Z_FINISH);
}

TZDecompressionStream::TZDecompressionStream(QIODevice* ASource) : FSource(ASource), FZ(std::make_unique<z_stream_s>()), FIn(65536)
{
    *FZ = z_stream_s{};
    if (inflateInit2(FZ.get(), 15) != Z_OK)
        throw EZDecompressionError(QStringLiteral("Decompression error"));
    open(QIODevice::ReadOnly);
}

TZDecompressionStream::~TZDecompressionStream() { inflateEnd(FZ.get()); }

qint64 TZDecompressionStream::readData(char* Data, qint64 MaxLen)
{
    if (FEnded || MaxLen <= 0)
        return 0;
    FZ->next_out = reinterpret_cast<Bytef*>(Data);
    FZ->avail_out = uInt(MaxLen);
    while (FZ->avail_out > 0) {
        if (FZ->avail_in == 0) {
            const qint64 n = FSource->read(FIn.data(), qint64(FIn.size()));
            if (n <= 0) {
                // The source ended before the zlib stream did.
                setErrorString(QStringLiteral("Decompression error"));
                return -1;
            }
            FZ->next_in = reinterpret_cast<Bytef*>(FIn.data());
            FZ->avail_in = uInt(n);
        }
        const int rc = inflate(FZ.get(), Z_NO_FLUSH);
        if (rc == Z_STREAM_END) {
            FEnded = true;
            break;
        }
        if (rc != Z_OK) {
            setErrorString(QStringLiteral("Decompression error"));
            return -1;
        }
    }
    return MaxLen - qint64(FZ->avail_out);
}

std::unique_ptr<TZCompressionStream> MyCompStreamCreate(QIODevice* Dest) { return std::make_unique<TZCompressionStream>(Dest); }

std::unique_ptr<TZDecompressionStream> MyDecompStreamCreate(QIODevice* Source)
{
    return std::make_unique<TZDecompressionStream>(Source);
}

int64_t CompressStream(QIODevice* Source, QIODevice* Dest)
{
    Source->seek(0);
    {
        auto z = MyCompStreamCreate(Dest);
        std::vector<char> buf(1 << 20);
        for (;;) {
            const qint64 n = Source->read(buf.data(), qint64(buf.size()));
            if (n <= 0)
                break;
            if (z->write(buf.data(), n) != n)
                throw EFileStreamError(z->errorString());
        }
        z->Finish();
    }
    return Dest->size();
}

int64_t DeCompressStream(QIODevice* Source, QIODevice* Dest)
{
    auto z = MyDecompStreamCreate(Source);
    std::vector<char> buf(65536);
    for (;;) {
        const qint64 n = z->read(buf.data(), qint64(buf.size()));
        if (n < 0)
            throw EZDecompressionError(z->errorString());
        if (n == 0)
            break;
        WriteAll(Dest, buf.data(), n);
    }
    return Dest->size();
}

QString CompressString(const QString& Text, const QString& FileName)
{
    const QByteArray packed = ZCompress(Text.toUtf8());
    if (!FileName.isEmpty()) {
        QFile f(FileName);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw EFileStreamError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, f.errorString()));
        // A full disk shows only at the write or the flush.
        WriteAll(&f, packed.constData(), packed.size());
        if (!f.flush())
            throw EFileStreamError(StreamWriteError + QStringLiteral(". ") + f.errorString());
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
