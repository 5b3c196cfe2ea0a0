#include "components/grid/TPropSaveFile.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rtool.h"
#include "components/base/zlib_interface.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Graphics.h"
#include "resources/GridActionTexts.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QFileInfo>
#include <cmath>

namespace {

const QString TabMark = QStringLiteral("_#9_");

bool SameName(const QString& A, const QString& B)
{
    return A.compare(B, Qt::CaseInsensitive) == 0;
}

void ShowFileError(const QString& Text, const QString& Name)
{
    QString s = Text;
    MessageBox(s.replace(QStringLiteral("%s"), Name), QString(), MB_OK | MB_ICONERROR);
}

// Integers as stored: decimal, "0x..." (more than two characters) or "$..." hex.
bool ParseInt(const QString& Text, int& Value)
{
    const QString s = Text.trimmed();
    bool ok = false;
    qlonglong v = 0;
    if (s.size() > 2 && s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = s.mid(2).toLongLong(&ok, 16);
    else if (s.startsWith(QLatin1Char('$')))
        v = s.mid(1).toLongLong(&ok, 16);
    else
        v = s.toLongLong(&ok, 10);
    if (!ok || v < INT32_MIN || v > UINT32_MAX)
        return false;
    Value = int(qint32(quint32(v & 0xFFFFFFFF)));
    return true;
}

int RoundHalfEven(double V)
{
    return int(std::nearbyint(V));
}

}  // namespace

// ---- TMemIniFileEx ----------------------------------------------------------

TMemIniFileEx::TMemIniFileEx(const QString& FileName) : FFileName(FileName)
{
    if (FFileName.isEmpty() || !QFileInfo::exists(FFileName))
        return;
    QFile f(FFileName);
    if (f.open(QIODevice::ReadOnly))
        HadBom = f.read(3) == QByteArray("\xEF\xBB\xBF", 3);
    QString text;
    ReadIniText(FFileName, text);
    SetContentAsString(text);
}

void TMemIniFileEx::SetCompress(bool Compress, bool ShowErr)
{
    UseCompress = Compress;
    if (!Compress || FFileName.isEmpty() || !QFileInfo::exists(FFileName))
        return;
    // A file that does not decompress (damaged, or not compressed at all)
    // restores nothing; the program goes on and the next save rewrites it.
    QFile f(FFileName);
    QByteArray plain;
    try {
        if (!f.open(QIODevice::ReadOnly))
            throw std::runtime_error("unreadable");
        plain = ZDecompress(f.readAll());
    } catch (...) {
        if (ShowErr)
            ShowFileError(gridacttxt::CannotOpenFile, FFileName);
        Clear();
        return;
    }
    QStringDecoder decode(Encoding);
    SetContentAsString(decode(plain));
}

TMemIniFileEx::Section* TMemIniFileEx::FindSection(const QString& Name)
{
    for (Section& s : FSections)
        if (SameName(s.Name, Name))
            return &s;
    return nullptr;
}

const TMemIniFileEx::Section* TMemIniFileEx::FindSection(const QString& Name) const
{
    return const_cast<TMemIniFileEx*>(this)->FindSection(Name);
}

void TMemIniFileEx::SetContentAsString(const QString& S)
{
    FSections.clear();
    Section* cur = nullptr;
    const QStringList lines = S.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2);
            cur = FindSection(name);
            if (!cur) {
                FSections.push_back({name, {}});
                cur = &FSections.back();
            }
            continue;
        }
        if (!cur)
            continue;  // text before the first section
        const int eq = int(line.indexOf(QLatin1Char('=')));
        Entry e;
        if (eq < 0) {
            e.Key = line;
            e.HasValue = false;
        } else {
            e.Key = line.left(eq).trimmed();
            e.Value = line.mid(eq + 1).trimmed();
        }
        cur->Entries.push_back(e);
    }
}

QString TMemIniFileEx::GetContentAsString() const
{
    QString out;
    for (const Section& s : FSections) {
        out += QLatin1Char('[') + s.Name + QStringLiteral("]\r\n");
        for (const Entry& e : s.Entries)
            out += e.HasValue ? e.Key + QLatin1Char('=') + e.Value + QStringLiteral("\r\n") : e.Key + QStringLiteral("\r\n");
        out += QStringLiteral("\r\n");
    }
    return out;
}

void TMemIniFileEx::UpdateFile()
{
    if (UseCompress || Encoding != QStringConverter::Utf8) {
        QStringEncoder encode(Encoding);
        const QByteArray bytes = encode(GetContentAsString());
        QFile f(FFileName);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(UseCompress ? ZCompress(bytes) : bytes) < 0)
            throw Exception(f.errorString());
        return;
    }
    WriteIniText(FFileName, GetContentAsString());
}

bool TMemIniFileEx::Find(const QString& SectionName, const QString& Key, QString& Value) const
{
    const Section* s = FindSection(SectionName);
    if (!s)
        return false;
    for (const Entry& e : s->Entries)
        if (SameName(e.Key, Key)) {
            if (!e.HasValue)
                return false;
            Value = e.Value;
            return true;
        }
    return false;
}

void TMemIniFileEx::Write(const QString& SectionName, const QString& Key, const QString& Value)
{
    Section* s = FindSection(SectionName);
    if (!s) {
        FSections.push_back({SectionName, {}});
        s = &FSections.back();
    }
    for (Entry& e : s->Entries)
        if (SameName(e.Key, Key)) {
            e.Value = Value;
            e.HasValue = true;
            return;
        }
    s->Entries.push_back({Key, Value, true});
}

bool TMemIniFileEx::SectionExists(const QString& SectionName) const
{
    return FindSection(SectionName) != nullptr;
}

void TMemIniFileEx::EraseSection(const QString& SectionName)
{
    for (size_t i = 0; i < FSections.size(); ++i)
        if (SameName(FSections[i].Name, SectionName)) {
            FSections.erase(FSections.begin() + qsizetype(i));
            return;
        }
}

void TMemIniFileEx::DeleteKey(const QString& SectionName, const QString& Key)
{
    Section* s = FindSection(SectionName);
    if (!s)
        return;
    for (size_t i = 0; i < s->Entries.size(); ++i)
        if (SameName(s->Entries[i].Key, Key)) {
            s->Entries.erase(s->Entries.begin() + qsizetype(i));
            return;
        }
}

QStringList TMemIniFileEx::SectionLines(const QString& SectionName) const
{
    QStringList out;
    if (const Section* s = FindSection(SectionName))
        for (const Entry& e : s->Entries)
            out << (e.HasValue ? e.Key + QLatin1Char('=') + e.Value : e.Key);
    return out;
}

QStringList TMemIniFileEx::SectionNames() const
{
    QStringList out;
    for (const Section& s : FSections)
        out << s.Name;
    return out;
}

// ---- TPropSaveFile ----------------------------------------------------------

TPropSaveFile::TPropSaveFile(TComponent* AOwner) : TComponent(AOwner)
{
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

TPropSaveFile::~TPropSaveFile()
{
    if (FIniFile && !DisableAll) {
        if (OnSaveContent)
            OnSaveContent(this);
        else
            SaveFile();
    }
    FIniFile.reset();
    // A destroyed file must never be handed out as the global one.
    if (ParioCompConfig.Global_PropSaveFile == this)
        ParioCompConfig.Global_PropSaveFile = nullptr;
}

void TPropSaveFile::Loaded()
{
    TComponent::Loaded();
    if (OnLoadContent) {
        CreateIniFile(QString(), true);
        OnLoadContent(this);
    } else {
        LoadFile();
    }
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

void TPropSaveFile::SetFileName(const QString& Value)
{
    FFileName = Value;
    if (!Value.isEmpty() && FIniFile)
        FIniFile->Rename(Value);
}

void TPropSaveFile::SetCompressFile(bool Value)
{
    FCompressFile = Value;
    if (FIniFile)
        FIniFile->UseCompress = Value;
}

void TPropSaveFile::SetUseAsGlobalFile(bool Value)
{
    if (Value == FUseAsGlobalFile)
        return;
    FUseAsGlobalFile = Value;
    if (Value)
        ParioCompConfig.Global_PropSaveFile = this;
}

QString TPropSaveFile::ResolveFileName(const QString& AFileName) const
{
    if (!AFileName.isEmpty())
        return AFileName;
    if (FIniFile && !FIniFile->FileName().isEmpty())
        return FIniFile->FileName();
    if (!FFileName.isEmpty())
        return QFileInfo(FFileName).fileName() == FFileName ? GetAppDir() + FFileName : FFileName;
    const QString exe = QCoreApplication::instance() ? QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName()
                                                      : QStringLiteral("sorvex");
    return GetAppDir() + exe + (FCompressFile ? QStringLiteral(".ini.compress") : QStringLiteral(".ini"));
}

void TPropSaveFile::CreateIniFile(const QString& Name, bool Recreate)
{
    if (FIniFile && !Recreate)
        return;
    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    if (OnGetIniFileEncoding)
        OnGetIniFileEncoding(encoding);
    FIniFile = std::make_unique<TMemIniFileEx>(Name);
    FIniFile->Encoding = encoding;
    if (encoding != QStringConverter::Utf8 && !FCompressFile && !Name.isEmpty()) {
        // Read again in the chosen encoding.
        QFile f(Name);
        if (f.open(QIODevice::ReadOnly)) {
            QStringDecoder decode(encoding);
            FIniFile->SetContentAsString(decode(f.readAll()));
        }
    }
    FIniFile->SetCompress(FCompressFile, true);
}

void TPropSaveFile::LoadFile(const QString& AFileName)
{
    CreateIniFile(ResolveFileName(AFileName), true);
}

QString TPropSaveFile::GetFileName() const
{
    return FIniFile ? FIniFile->FileName() : QString();
}

bool TPropSaveFile::SaveFile(const QString& AFileName)
{
    return DoSave(AFileName, true);
}

bool TPropSaveFile::SaveFileSilent(const QString& AFileName)
{
    return DoSave(AFileName, false);
}

bool TPropSaveFile::DoSave(const QString& AFileName, bool ShowErrors)
{
    if (!FIniFile)
        return true;
    if (!AFileName.isEmpty())
        SetFileName(AFileName);
    if (DisableAll)
        return true;
    // A nameless in-memory file (rule lists turned into text) has nowhere to go.
    if (FIniFile->FileName().isEmpty() && FFileName.isEmpty())
        return true;
    if (!FFileName.isEmpty())
        FIniFile->Rename(QFileInfo(FFileName).fileName() == FFileName ? GetAppDir() + FFileName : FFileName);
    try {
        FIniFile->UpdateFile();
    } catch (const std::exception&) {
        if (ShowErrors)
            ShowFileError(gridacttxt::SaveError, FIniFile->FileName());
        return false;
    }
    return true;
}

bool TPropSaveFile::SectionExists(const QString& Section) const
{
    return FIniFile && FIniFile->SectionExists(Section);
}

bool TPropSaveFile::ValueExists(const QString& Section, const QString& Ident) const
{
    QString v;
    return FIniFile && FIniFile->Find(Section, Ident, v);
}

void TPropSaveFile::ReadSection(const QString& Section, TStrings& Strings) const
{
    Strings.Clear();
    if (FIniFile)
        for (const QString& l : FIniFile->SectionLines(Section))
            Strings.Add(l);
}

void TPropSaveFile::WriteSection(const QString& Section, const TStrings& Strings)
{
    if (!FIniFile)
        LoadFile();
    for (int i = 0; i < Strings.Count(); ++i) {
        const QString l = Strings[i];
        const int eq = int(l.indexOf(QLatin1Char('=')));
        FIniFile->Write(Section, eq < 0 ? l : l.left(eq), eq < 0 ? QString() : l.mid(eq + 1));
    }
}

void TPropSaveFile::EraseSection(const QString& Section)
{
    if (FIniFile)
        FIniFile->EraseSection(Section);
}

void TPropSaveFile::DeleteKey(const QString& Section, const QString& Ident)
{
    if (FIniFile)
        FIniFile->DeleteKey(Section, Ident);
}

void TPropSaveFile::Clear()
{
    if (FIniFile)
        FIniFile->Clear();
}

QString TPropSaveFile::GetContent() const
{
    return FIniFile ? FIniFile->GetContentAsString() : QString();
}

void TPropSaveFile::SetContent(const QString& Text)
{
    CreateIniFile(QString(), false);
    FIniFile->SetContentAsString(Text);
}

QString TPropSaveFile::GetSectionFromLine(const QString& Line) const
{
    if (!FIniFile)
        return QString();
    const bool prefix = Line.endsWith(QLatin1Char('*'));
    const QString head = prefix ? Line.left(Line.size() - 1) : Line;
    for (const QString& s : FIniFile->SectionNames())
        for (const QString& l : FIniFile->SectionLines(s))
            if (prefix ? l.startsWith(head, Qt::CaseInsensitive) : SameName(l, Line))
                return s;
    return QString();
}

bool TPropSaveFile::ReadRaw(const QString& Section, const QString& Ident, QString& Value) const
{
    return FIniFile && FIniFile->Find(Section, Ident, Value);
}

void TPropSaveFile::WriteRaw(const QString& Section, const QString& Ident, const QString& Value)
{
    // A file component made at run time (never loaded) loads on its first write.
    if (!FIniFile)
        LoadFile();
    FIniFile->Write(Section, Ident, Value);
}

QString TPropSaveFile::ReadStoredString(const QString& Section, const QString& Ident, const QString& Default) const
{
    QString v;
    if (!ReadRaw(Section, Ident, v))
        return Default;
    return v.replace(TabMark, QStringLiteral("\t"));
}

int TPropSaveFile::ReadStoredInteger(const QString& Section, const QString& Ident, int Default) const
{
    QString v;
    int n = Default;
    if (ReadRaw(Section, Ident, v) && ParseInt(v, n))
        return n;
    return Default;
}

double TPropSaveFile::ReadStoredFloat(const QString& Section, const QString& Ident, double Default) const
{
    QString v;
    if (!ReadRaw(Section, Ident, v))
        return Default;
    bool ok = false;
    const double d = QString(v).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok ? d : Default;
}

void TPropSaveFile::WriteStoredString(const QString& Section, const QString& Ident, const QString& Value)
{
    QString v = Value;
    WriteRaw(Section, Ident, v.replace(QLatin1Char('\t'), TabMark));
}

void TPropSaveFile::WriteStoredFloat(const QString& Section, const QString& Ident, double Value)
{
    // The program's fixed Finnish conventions: decimal comma.
    WriteRaw(Section, Ident, QString::number(Value, 'g', 17).replace(QLatin1Char('.'), QLatin1Char(',')));
}

// The typed reads and writes go through the variant ones, so the value hooks
// see every value with its type.
QString TPropSaveFile::ReadString(const QString& Section, const QString& Ident, const QString& Default)
{
    return ReadVariant(Section, Ident, Default).toString();
}

void TPropSaveFile::WriteString(const QString& Section, const QString& Ident, const QString& Value)
{
    WriteVariant(Section, Ident, Value.isNull() ? QString(QLatin1String("")) : Value);
}

int TPropSaveFile::ReadInteger(const QString& Section, const QString& Ident, int Default)
{
    return ReadVariant(Section, Ident, Default).toInt();
}

void TPropSaveFile::WriteInteger(const QString& Section, const QString& Ident, int Value)
{
    WriteVariant(Section, Ident, Value);
}

bool TPropSaveFile::ReadBool(const QString& Section, const QString& Ident, bool Default)
{
    return ReadVariant(Section, Ident, Default).toBool();
}

void TPropSaveFile::WriteBool(const QString& Section, const QString& Ident, bool Value)
{
    WriteVariant(Section, Ident, Value);
}

double TPropSaveFile::ReadFloat(const QString& Section, const QString& Ident, double Default)
{
    return ReadVariant(Section, Ident, Default).toDouble();
}

void TPropSaveFile::WriteFloat(const QString& Section, const QString& Ident, double Value)
{
    WriteVariant(Section, Ident, Value);
}

void TPropSaveFile::WriteStrings(const QString& Key, const TStrings& L)
{
    WriteInteger(Key, QStringLiteral("ItemsCount"), L.Count());
    for (int i = 0; i < L.Count(); ++i)
        WriteString(Key, QStringLiteral("Item%1").arg(i), L[i]);
}

void TPropSaveFile::ReadStrings(const QString& Key, TStrings& L)
{
    const int n = ReadInteger(Key, QStringLiteral("ItemsCount"), -1);
    if (n == -1)
        return;
    L.Clear();
    for (int i = 0; i < n; ++i)
        L.Add(ReadString(Key, QStringLiteral("Item%1").arg(i), QString()));
}

void TPropSaveFile::DeleteStrings(const QString& Key)
{
    const int n = ReadInteger(Key, QStringLiteral("ItemsCount"), -1);
    for (int i = n - 1; i >= 0; --i)
        DeleteKey(Key, QStringLiteral("Item%1").arg(i));
    DeleteKey(Key, QStringLiteral("ItemsCount"));
}

void TPropSaveFile::WriteFont(const QString& Key, const TFont& Font, double ScaleRatio)
{
    const double r = ScaleRatio > 0 ? ScaleRatio : 1.0;
    WriteInteger(Key, QStringLiteral("FontCharset"), Font.Charset());
    WriteInteger(Key, QStringLiteral("FontColor"), int(Font.Color()));
    WriteString(Key, QStringLiteral("FontName"), Font.Name());
    WriteInteger(Key, QStringLiteral("FontHeight"), RoundHalfEven(Font.Height() / r));
    WriteInteger(Key, QStringLiteral("FontSize"), RoundHalfEven(Font.Size() / r));
    WriteInteger(Key, QStringLiteral("FontStyle"), int(Font.Style()));
}

void TPropSaveFile::ReadFont(const QString& Key, TFont& Font, double ScaleRatio)
{
    const double r = ScaleRatio > 0 ? ScaleRatio : 1.0;
    Font.SetCharset(ReadInteger(Key, QStringLiteral("FontCharset"), Font.Charset()));
    Font.SetColor(TColor(ReadInteger(Key, QStringLiteral("FontColor"), int(Font.Color()))));
    Font.SetName(ReadString(Key, QStringLiteral("FontName"), Font.Name()));
    if (ValueExists(Key, QStringLiteral("FontHeight")))
        Font.SetHeight(RoundHalfEven(ReadInteger(Key, QStringLiteral("FontHeight"), 0) * r));
    else if (ValueExists(Key, QStringLiteral("FontSize")))
        Font.SetSize(RoundHalfEven(ReadInteger(Key, QStringLiteral("FontSize"), 0) * r));
    const int style = ReadInteger(Key, QStringLiteral("FontStyle"), -1);
    if (style != -1)
        Font.SetStyle(TFontStyles(style) & (fsBold | fsItalic | fsUnderline | fsStrikeOut));
}

void TPropSaveFile::DeleteFont(const QString& Key)
{
    for (const char* k : {"FontCharset", "FontColor", "FontName", "FontHeight", "FontSize", "FontStyle"})
        DeleteKey(Key, QLatin1String(k));
}

TPropSaveFile* GetGlobal_PropSaveFile()
{
    return dynamic_cast<TPropSaveFile*>(ParioCompConfig.Global_PropSaveFile);
}
