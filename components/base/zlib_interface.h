#pragma once
// Whole-stream and whole-text compression as zlib streams (RFC 1950, default
// level). The text form of compressed data holds one character per byte
// (Latin-1); texts themselves are compressed as their UTF-8 bytes.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

struct z_stream_s;

// A write-only stream that compresses what is written to it into Dest (not
// owned). Finish ends the zlib stream; freeing an unfinished stream finishes
// it too, ignoring failures, so call Finish to learn about them.
class TZCompressionStream : public QIODevice {
public:
    explicit TZCompressionStream(QIODevice* ADest);
    ~TZCompressionStream() override;
    // Writes the rest of the zlib stream; raises when Dest refused bytes.
    void Finish();
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* Data, qint64 Len) override;

private:
    bool Deflate(int Flush);
    QIODevice* FDest;
    std::unique_ptr<z_stream_s> FZ;
    std::vector<char> FOut;
    bool FFinished = false;
};

// A read-only stream that decompresses the zlib stream read from Source
// (not owned, from its current position). A read past the stream's end
// returns nothing; damaged data makes the read fail (-1).
class TZDecompressionStream : public QIODevice {
public:
    explicit TZDecompressionStream(QIODevice* ASource);
    ~TZDecompressionStream() override;
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* Data, qint64 MaxLen) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QIODevice* FSource;
    std::unique_ptr<z_stream_s> FZ;
    std::vector<char> FIn;
    bool FEnded = false;
};

std::unique_ptr<TZCompressionStream> MyCompStreamCreate(QIODevice* Dest);
std::unique_ptr<TZDecompressionStream> MyDecompStreamCreate(QIODevice* Source);

// Compresses all of Source (from its start) into Dest; returns Dest's size.
int64_t CompressStream(QIODevice* Source, QIODevice* Dest);
// Decompresses Source (from its position) into Dest; returns Dest's size.
// Data that is not a zlib stream raises EZDecompressionError.
int64_t DeCompressStream(QIODevice* Source, QIODevice* Dest);
// With a file name the compressed bytes are also written to that file.
QString CompressString(const QString& Text, const QString& FileName);
// With a file name the compressed bytes are read from it (Text unused).
QString DeCompressString(const QString& Text, const QString& FileName);

QByteArray ZCompress(const QByteArray& Data);
QByteArray ZDecompress(const QByteArray& Data);
