#include "platform/rtl/IniFiles.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/StrUtils.h"

#include <QFile>
#include <algorithm>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

QString CleanValue(const QString& raw)
{
    QString v = raw.trimmed();
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

}  // namespace

void TIniContent::Parse(const QString& Text)
{
    FSections.clear();
    FSections.push_back(Section{});
    const QStringList lines = Text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& raw = lines[i];
        if (i == lines.size() - 1 && raw.isEmpty())
            break;  // the final line break
        const QString t = raw.trimmed();
        if (t.startsWith(QLatin1Char('[')) && t.contains(QLatin1Char(']'))) {
            Section s;
            s.Name = t.mid(1, t.indexOf(QLatin1Char(']')) - 1).trimmed();
            s.Header = raw;
            FSections.push_back(std::move(s));
            continue;
        }
        Line l;
        l.Raw = raw;
        const qsizetype eq = raw.indexOf(QLatin1Char('='));
        if (eq > 0 && !t.startsWith(QLatin1Char(';'))) {
            l.Key = raw.left(eq).trimmed();
            l.Value = CleanValue(raw.mid(eq + 1));
        }
        FSections.back().Lines.push_back(std::move(l));
    }
}

QString TIniContent::Serialize() const
{
    QString out;
    for (const Section& s : FSections) {
        if (!s.Header.isEmpty())
            out += s.Header + QStringLiteral("\r\n");
        for (const Line& l : s.Lines)
            out += l.Raw + QStringLiteral("\r\n");
    }
    return out;
}

TIniContent::Section* TIniContent::FindSection(const QString& Name)
{
    for (size_t i = 1; i < FSections.size(); ++i)
        if (SameText(FSections[i].Name, Name))
            return &FSections[i];
    return nullptr;
}

const TIniContent::Section* TIniContent::FindSection(const QString& Name) const
{
    return const_cast<TIniContent*>(this)->FindSection(Name);
}

bool TIniContent::Find(const QString& SectionName, const QString& Ident, QString& Value) const
{
    const Section* s = FindSection(SectionName);
    if (!s)
        return false;
    for (const Line& l : s->Lines)
        if (!l.Key.isEmpty() && SameText(l.Key, Ident)) {
            Value = l.Value;
            return true;
        }
    return false;
}

void TIniContent::Set(const QString& SectionName, const QString& Ident, const QString& Value)
{
    if (FSections.empty())
        FSections.push_back(Section{});
    Section* s = FindSection(SectionName);
    if (!s) {
        // a blank line between sections, as the profile functions write them
        Section& last = FSections.back();
        if (FSections.size() > 1 && (last.Lines.empty() || !last.Lines.back().Raw.trimmed().isEmpty()))
            last.Lines.push_back(Line{});
        Section n;
        n.Name = SectionName;
        n.Header = QLatin1Char('[') + SectionName + QLatin1Char(']');
        FSections.push_back(std::move(n));
        s = &FSections.back();
    }
    Modified = true;
    for (Line& l : s->Lines)
        if (!l.Key.isEmpty() && SameText(l.Key, Ident)) {
            l.Value = Value;
            l.Raw = l.Key + QLatin1Char('=') + Value;
            return;
        }
    // new keys go after the last key line, before trailing blank lines
    size_t at = s->Lines.size();
    while (at > 0 && s->Lines[at - 1].Key.isEmpty() && s->Lines[at - 1].Raw.trimmed().isEmpty())
        --at;
    s->Lines.insert(s->Lines.begin() + qsizetype(at), Line{Ident + QLatin1Char('=') + Value, Ident, Value});
}

QStringList TIniContent::Keys(const QString& SectionName) const
{
    QStringList r;
    if (const Section* s = FindSection(SectionName))
        for (const Line& l : s->Lines)
            if (!l.Key.isEmpty())
                r << l.Key;
    return r;
}

QStringList TIniContent::Sections() const
{
    QStringList r;
    for (size_t i = 1; i < FSections.size(); ++i)
        r << FSections[i].Name;
    return r;
}

QStringList TIniContent::SectionLines(const QString& SectionName) const
{
    QStringList r;
    if (const Section* s = FindSection(SectionName))
        for (const Line& l : s->Lines)
            if (!l.Key.isEmpty())
                r << l.Key + QLatin1Char('=') + l.Value;
    return r;
}

void TIniContent::EraseSection(const QString& SectionName)
{
    for (size_t i = 1; i < FSections.size(); ++i)
        if (SameText(FSections[i].Name, SectionName)) {
            FSections.erase(FSections.begin() + qsizetype(i));
            Modified = true;
            return;
        }
}

void TIniContent::DeleteKey(const QString& SectionName, const QString& Ident)
{
    if (Section* s = FindSection(SectionName))
        for (size_t i = 0; i < s->Lines.size(); ++i)
            if (!s->Lines[i].Key.isEmpty() && SameText(s->Lines[i].Key, Ident)) {
                s->Lines.erase(s->Lines.begin() + qsizetype(i));
                Modified = true;
                return;
            }
}

bool ReadIniText(const QString& FileName, QString& Text, QString* Error, bool* SingleByte)
{
    if (SingleByte)
        *SingleByte = false;
    QFile f(FileName);
    Text.clear();
    if (Error)
        Error->clear();
    if (!f.open(QIODevice::ReadOnly)) {
        if (Error && QFileInfo::exists(FileName))
            *Error = QStringLiteral("Unable to read %1 (%2)").arg(FileName, f.errorString());
        return false;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (Error)
            *Error = QStringLiteral("Unable to read %1 (%2)").arg(FileName, f.errorString());
        return false;
    }
    Text = DecodeTextBytes(bytes);
    if (SingleByte && !bytes.startsWith("\xEF\xBB\xBF") && !bytes.startsWith("\xFF\xFE") && !bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString probe = utf8.decode(bytes);
        Q_UNUSED(probe);
        *SingleByte = utf8.hasError();
    }
    return true;
}

QString IniFileReadError(const QString& FileName)
{
    QString text, error;
    ReadIniText(FileName, text, &error);
    return error;
}

namespace {
// The text in the file's own single-byte code page where every character fits,
// so bytes the user wrote come back as they were.
QByteArray EncodeIniText(const QString& Text, bool SingleByte)
{
    if (SingleByte) {
        QStringEncoder cp1252("windows-1252");
        if (cp1252.isValid()) {
            QByteArray bytes = cp1252.encode(Text);
            if (!cp1252.hasError())
                return bytes;
        } else if (std::all_of(Text.cbegin(), Text.cend(), [](QChar c) { return c.unicode() < 256; })) {
            // Without the code page the file was read as Latin-1.
            return Text.toLatin1();
        }
    }
    return Text.toUtf8();
}
}  // namespace

void WriteIniText(const QString& FileName, const QString& Text, bool SingleByte)
{
    QSaveFile f(FileName);
    f.setDirectWriteFallback(true);
    const QByteArray bytes = EncodeIniText(Text, SingleByte);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw EIniFileException(QStringLiteral("Unable to write to %1 (%2)").arg(FileName, f.errorString()));
}

// ---- TCustomIniFile ---------------------------------------------------------

int TCustomIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default)
{
    const QString s = ReadString(Section, Ident, QString());
    return StrToIntDef(s, Default);
}

void TCustomIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value)
{
    WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const QString& Section, const QString& Ident, bool Default)
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const QString& Section, const QString& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TCustomIniFile::ReadFloat(const QString& Section, const QString& Ident, double Default)
{
    return StrToFloatDef(ReadString(Section, Ident, QString()), Default);
}

void TCustomIniFile::WriteFloat(const QString& Section, const QString& Ident, double Value)
{
    WriteString(Section, Ident, FloatToStr(Value));
}

bool TCustomIniFile::SectionExists(const QString& Section)
{
    TStringList l;
    ReadSections(l);
    return l.IndexOf(Section) >= 0;
}

bool TCustomIniFile::ValueExists(const QString& Section, const QString& Ident)
{
    TStringList l;
    ReadSection(Section, l);
    return l.IndexOf(Ident) >= 0;
}

// ---- TMemIniFile ------------------------------------------------------------

TMemIniFile::TMemIniFile(const QString& FileName) : TCustomIniFile(FileName)
{
    Load();
}

void TMemIniFile::Load()
{
    QString text;
    ReadIniText(FFileName, text, &FReadError, &FSingleByte);
    FContent.Parse(text);
}

QString TMemIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default)
{
    QString v;
    return FContent.Find(Section, Ident, v) ? v : Default;
}

void TMemIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value)
{
    FContent.Set(Section, Ident, Value);
}

void TMemIniFile::ReadSection(const QString& Section, TStringList& Strings)
{
    Strings.Clear();
    for (const QString& k : FContent.Keys(Section))
        Strings.Add(k);
}

void TMemIniFile::ReadSections(TStringList& Strings)
{
    Strings.Clear();
    for (const QString& s : FContent.Sections())
        Strings.Add(s);
}

void TMemIniFile::ReadSectionValues(const QString& Section, TStringList& Strings)
{
    Strings.Clear();
    for (const QString& s : FContent.SectionLines(Section))
        Strings.Add(s);
}

void TMemIniFile::EraseSection(const QString& Section)
{
    FContent.EraseSection(Section);
}

void TMemIniFile::DeleteKey(const QString& Section, const QString& Ident)
{
    FContent.DeleteKey(Section, Ident);
}

void TMemIniFile::UpdateFile()
{
    // Writing back what we could not read would replace the user's settings
    // with only the keys written since.
    if (!FReadError.isEmpty())
        throw EIniFileException(FReadError + QStringLiteral("; not written over"));
    WriteIniText(FFileName, FContent.Serialize(), FSingleByte);
    FContent.Modified = false;
}

void TMemIniFile::Rename(const QString& FileName, bool Reload)
{
    FFileName = FileName;
    FReadError.clear();
    if (Reload)
        Load();
}

void TMemIniFile::Clear()
{
    FContent.Parse(QString());
}

// ---- TIniFile ---------------------------------------------------------------

QString TIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default)
{
    TMemIniFile f(FFileName);
    return f.ReadString(Section, Ident, Default);
}

void TIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value)
{
    TMemIniFile f(FFileName);
    f.WriteString(Section, Ident, Value);
    f.UpdateFile();
}

void TIniFile::ReadSection(const QString& Section, TStringList& Strings)
{
    TMemIniFile(FFileName).ReadSection(Section, Strings);
}

void TIniFile::ReadSections(TStringList& Strings)
{
    TMemIniFile(FFileName).ReadSections(Strings);
}

void TIniFile::ReadSectionValues(const QString& Section, TStringList& Strings)
{
    TMemIniFile(FFileName).ReadSectionValues(Section, Strings);
}

void TIniFile::EraseSection(const QString& Section)
{
    TMemIniFile f(FFileName);
    f.EraseSection(Section);
    f.UpdateFile();
}

void TIniFile::DeleteKey(const QString& Section, const QString& Ident)
{
    TMemIniFile f(FFileName);
    f.DeleteKey(Section, Ident);
    f.UpdateFile();
}
