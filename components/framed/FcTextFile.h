#pragma once
// Text files of the framed controls in a chosen encoding: the default (UTF-8
// without a preamble), UTF-8 with its preamble, or UTF-16 little endian with
// its preamble. Writing goes through a temporary file, so a failed write
// leaves the old file as it was; reading recognises the preambles.

#include <QByteArray>
#include <QString>

class QIODevice;

enum TFcIniFileEncoding { feDefault, feUTF8, feUnicode };

QByteArray EncodeText(const QString& Text, TFcIniFileEncoding Encoding);
// Raises EFileStreamError "Cannot create file ..." when the file cannot be written.
void SaveTextFile(const QString& FileName, const QString& Text, TFcIniFileEncoding Encoding);
// Raises EFileStreamError "Cannot open file ..." when the file cannot be read.
QString LoadTextFile(const QString& FileName);
// Raises EWriteError "Stream write error" when the device takes less than all.
void SaveTextStream(QIODevice* Stream, const QString& Text, TFcIniFileEncoding Encoding);
QString LoadTextStream(QIODevice* Stream);
