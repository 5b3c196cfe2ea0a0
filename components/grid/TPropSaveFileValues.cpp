// The property file's typed values beyond text, numbers and flags (words,
// date-times, variants), its content as lines and as a stream, and the
// conversion of a plain file into a compressed one, and the move of a
// component's sections to a new key.

#include "components/grid/TPropSaveFile.h"

#include "components/base/zlib_interface.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/StringList.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

namespace {

enum TValueKind { vkInteger, vkFloat, vkDateTime, vkBoolean, vkText };

// The reading and writing a value's kind chooses.
TValueKind KindOf(const QVariant& V)
{
    switch (V.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return vkInteger;
    case QMetaType::Double:
    case QMetaType::Float:
        return vkFloat;
    case QMetaType::QDateTime:
    case QMetaType::QDate:
        return vkDateTime;
    case QMetaType::Bool:
        return vkBoolean;
    default:
        return vkText;
    }
}

}  // namespace

uint16_t TPropSaveFile::ReadWord(const QString& Section, const QString& Ident, uint16_t Default)
{
    const int v = ReadVariant(Section, Ident, QVariant::fromValue<ushort>(Default)).toInt();
    return v < 0 || v > 0xFFFF ? Default : uint16_t(v);
}

void TPropSaveFile::WriteWord(const QString& Section, const QString& Ident, uint16_t Value)
{
    WriteVariant(Section, Ident, QVariant::fromValue<ushort>(Value));
}

double TPropSaveFile::ReadDateTime(const QString& Section, const QString& Ident, double Default)
{
    const QVariant dflt = DateTimeToQDateTime(Default);
    const QVariant v = ReadVariant(Section, Ident, dflt);
    // The default comes back as given, not rounded through the variant.
    return v == dflt ? Default : QDateTimeToDateTime(v.toDateTime());
}

void TPropSaveFile::WriteDateTime(const QString& Section, const QString& Ident, double Value)
{
    WriteVariant(Section, Ident, DateTimeToQDateTime(Value));
}

QVariant TPropSaveFile::ReadVariant(const QString& Section, const QString& Ident, const QVariant& Default)
{
    QVariant v = ReadTyped(Section, Ident, Default);
    if (OnReadValue)
        OnReadValue(Section, Ident, v);
    return v;
}

QVariant TPropSaveFile::ReadTyped(const QString& Section, const QString& Ident, const QVariant& Default) const
{
    switch (KindOf(Default)) {
    case vkInteger:
        return ReadStoredInteger(Section, Ident, Default.toInt());
    case vkFloat:
        return ReadStoredFloat(Section, Ident, Default.toDouble());
    case vkDateTime: {
        const QString text = ReadStoredString(Section, Ident, QString()).trimmed();
        TDateTime v = 0;
        return !text.isEmpty() && TryStrToDateTime(text, v) ? QVariant(DateTimeToQDateTime(v)) : Default;
    }
    case vkBoolean:
        return ReadStoredInteger(Section, Ident, Default.toBool() ? 1 : 0) != 0;
    case vkText:
        break;
    }
    return ReadStoredString(Section, Ident, Default.toString());
}

void TPropSaveFile::WriteVariant(const QString& Section, const QString& Ident, const QVariant& Value)
{
    QVariant v = Value;
    if (OnWriteValue)
        OnWriteValue(Section, Ident, v);
    if (v.isNull() || !v.isValid()) {
        DeleteKey(Section, Ident);
        return;
    }
    switch (KindOf(v)) {
    case vkInteger:
        WriteRaw(Section, Ident, QString::number(v.toInt()));
        break;
    case vkFloat:
        WriteStoredFloat(Section, Ident, v.toDouble());
        break;
    case vkDateTime:
        WriteRaw(Section, Ident, DateTimeToStr(QDateTimeToDateTime(v.toDateTime())));
        break;
    case vkBoolean:
        WriteRaw(Section, Ident, v.toBool() ? QStringLiteral("1") : QStringLiteral("0"));
        break;
    case vkText:
        WriteStoredString(Section, Ident, v.toString());
        break;
    }
}

void TPropSaveFile::GetStrings(TStrings& List) const
{
    List.SetText(GetContent());
}

void TPropSaveFile::SetStrings(const TStrings& List)
{
    SetContent(List.Text());
}

void TPropSaveFile::LoadFromStream(QIODevice* Source)
{
    if (!Source)
        return;
    QByteArray bytes = Source->readAll();
    if (FCompressFile)
        bytes = ZDecompress(bytes);
    SetContent(QString::fromUtf8(bytes));
}

void TPropSaveFile::SaveToStream(QIODevice* Dest)
{
    if (DisableAll || !Dest)
        return;
    const QByteArray bytes = GetContent().toUtf8();
    Dest->write(FCompressFile ? ZCompress(bytes) : bytes);
}

void TPropSaveFile::DoCompressFile(const QString& OrigFileName, const QString& DestFileName, bool DeleteOrigFile)
{
    if (!QFileInfo::exists(OrigFileName))
        return;
    const bool compress = FCompressFile;
    try {
        SetCompressFile(false);
        LoadFile(OrigFileName);
        SetCompressFile(true);
        // The original goes only once its settings are safely in the new file.
        if (SaveFile(DestFileName) && DeleteOrigFile)
            QFile::remove(OrigFileName);
    } catch (...) {
        SetCompressFile(compress);
        throw;
    }
    SetCompressFile(compress);
}

bool TPropSaveFile::MoveSections(const QString& OldKey, const QString& NewKey)
{
    if (!FIniFile || OldKey.compare(NewKey, Qt::CaseInsensitive) == 0 || SectionExists(NewKey) || !SectionExists(OldKey))
        return false;
    const QString prefix = OldKey + QLatin1Char('.');
    for (const QString& name : FIniFile->SectionNames()) {
        const bool own = name.compare(OldKey, Qt::CaseInsensitive) == 0;
        if (!own && !name.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        TStringList lines;
        ReadSection(name, lines);
        WriteSection(NewKey + name.mid(OldKey.size()), lines);
        EraseSection(name);
    }
    return true;
}
