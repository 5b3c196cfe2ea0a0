#pragma once
// Whole-stream and whole-text compression as zlib streams (RFC 1950, default
// level). The text form of compressed data holds one character per byte
// (Latin-1); texts themselves are compressed as their UTF-8 bytes.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <cstdint>

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
