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

uint16_t TPropSaveFile::ReadWord(const QString& Section, const QString& Ident, uint16_t Default)
{
    const int v = ReadInteger(Section, Ident, Default);
    return v < 0 || v > 0xFFFF ? Default : uint16_t(v);
}

void TPropSaveFile::WriteWord(const QString& Section, const QString& Ident, uint16_t Value)
{
    WriteInteger(Section, Ident, Value);
}

double TPropSaveFile::ReadDateTime(const QString& Section, const QString& Ident, double Default)
{
    const QString text = ReadString(Section, Ident, QString()).trimmed();
    TDateTime v = 0;
    return !text.isEmpty() && TryStrToDateTime(text, v) ? v : Default;
}

void TPropSaveFile::WriteDateTime(const QString& Section, const QString& Ident, double Value)
{
    WriteString(Section, Ident, DateTimeToStr(Value));
}

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

QVariant TPropSaveFile::ReadVariant(const QString& Section, const QString& Ident, const QVariant& Default)
{
    switch (KindOf(Default)) {
    case vkInteger:
        return ReadInteger(Section, Ident, Default.toInt());
    case vkFloat:
        return ReadFloat(Section, Ident, Default.toDouble());
    case vkDateTime:
        return DateTimeToQDateTime(ReadDateTime(Section, Ident, QDateTimeToDateTime(Default.toDateTime())));
    case vkBoolean:
        return ReadBool(Section, Ident, Default.toBool());
    case vkText:
        break;
    }
    return ReadString(Section, Ident, Default.toString());
}

void TPropSaveFile::WriteVariant(const QString& Section, const QString& Ident, const QVariant& Value)
{
    if (Value.isNull() || !Value.isValid()) {
        DeleteKey(Section, Ident);
        return;
    }
    switch (KindOf(Value)) {
    case vkInteger:
        WriteInteger(Section, Ident, Value.toInt());
        break;
    case vkFloat:
        WriteFloat(Section, Ident, Value.toDouble());
        break;
    case vkDateTime:
        WriteDateTime(Section, Ident, QDateTimeToDateTime(Value.toDateTime()));
        break;
    case vkBoolean:
        WriteBool(Section, Ident, Value.toBool());
        break;
    case vkText:
        WriteString(Section, Ident, Value.toString());
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
