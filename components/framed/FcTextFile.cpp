#include "components/framed/FcTextFile.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/StringList.h"

#include <QFile>
#include <QIODevice>
#include <QSaveFile>
#include <QStringEncoder>

QByteArray EncodeText(const QString& Text, TFcIniFileEncoding Encoding)
{
    switch (Encoding) {
    case feUTF8: return QByteArray("\xEF\xBB\xBF") + Text.toUtf8();
    case feUnicode: {
        QStringEncoder utf16(QStringEncoder::Utf16LE);
        return QByteArray("\xFF\xFE") + QByteArray(utf16.encode(Text));
    }
    case feDefault: break;
    }
    return Text.toUtf8();
}

void SaveTextFile(const QString& FileName, const QString& Text, TFcIniFileEncoding Encoding)
{
    QSaveFile f(FileName);
    const QByteArray bytes = EncodeText(Text, Encoding);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw EFileStreamError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, f.errorString()));
}

QString LoadTextFile(const QString& FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EFileStreamError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, f.errorString()));
    return DecodeTextBytes(f.readAll());
}

void SaveTextStream(QIODevice* Stream, const QString& Text, TFcIniFileEncoding Encoding)
{
    const QByteArray bytes = EncodeText(Text, Encoding);
    if (!Stream || Stream->write(bytes) != bytes.size())
        throw EFileStreamError(QStringLiteral("Stream write error"));
}

QString LoadTextStream(QIODevice* Stream)
{
    return Stream ? DecodeTextBytes(Stream->readAll()) : QString();
}
