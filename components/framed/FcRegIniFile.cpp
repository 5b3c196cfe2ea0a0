#include "components/framed/FcRegIniFile.h"

#include "components/framed/FcSystem.h"
#include "platform/rtl/FileUtils.h"
#include "platform/ui/Forms.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const unsigned KeyAccess[10] = {0x0001, 0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x20019, 0x20006, 0x20019, 0xF003F};
const char* const HKEYS[7] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                              "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};

QString ProgramFile()
{
    const QString f = QCoreApplication::applicationFilePath();
    return f.isEmpty() ? QStringLiteral("sorvex") : f;
}

}  // namespace

TFcRegIniFile::TFcRegIniFile(TComponent* AOwner) : TComponent(AOwner) {}

TFcRegIniFile::~TFcRegIniFile()
{
    if (!FAutoUpdateIniFile && FIni && FPathType == ptIniFile) {
        try {
            UpdateIniFile();
        } catch (const Exception&) {
            // a destructor cannot report it; the values written stay unsaved
        }
    }
}

void TFcRegIniFile::SetFileEncoding(TFcIniFileEncoding Value)
{
    if (FFileEncoding != Value) {
        FFileEncoding = Value;
        FRefreshStorage = true;
    }
}

void TFcRegIniFile::SetPath(const QString& Value)
{
    if (FPath != Value) {
        FPath = Value;
        FRefreshStorage = true;
    }
}

void TFcRegIniFile::SetPathType(TFcPathType Value)
{
    if (FPathType != Value) {
        FPathType = Value;
        FRefreshStorage = true;
    }
}

void TFcRegIniFile::SetRegKey(TFcRegKey Value)
{
    if (FRegKey != Value) {
        FRegKey = Value;
        FRefreshStorage = true;
    }
}

void TFcRegIniFile::SetRegAccess(TFcRegAccess Value)
{
    if (FRegAccess != Value) {
        FRegAccess = Value;
        FRefreshStorage = true;
    }
}

void TFcRegIniFile::SetSpecialFolder(int Value)
{
    if (FSpecialFolder != Value) {
        FSpecialFolder = Value;
        FRefreshStorage = true;
    }
}

unsigned TFcRegIniFile::AccessRights() const
{
    unsigned r = 0;
    for (int i = 0; i < 10; ++i)
        if (FRegAccess & (1u << i))
            r |= KeyAccess[i];
    return r;
}

QString TFcRegIniFile::StorageFileName()
{
    CheckAccess();
    return FIni->FileName();
}

QString RegistryKeyFile(TFcRegKey RootKey, const QString& Key)
{
    QString key = Key;
    key.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString root = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QStringLiteral("/sorvex/registry/") + QLatin1String(HKEYS[RootKey]);
    return QDir::cleanPath(root + QLatin1Char('/') + key) + QStringLiteral(".ini");
}

void TFcRegIniFile::CheckAccess()
{
    if (!FRefreshStorage)
        return;
    // 1. free the open store
    if (FIni && !FAutoUpdateIniFile && FPathType == ptIniFile)
        FIni->UpdateFile();
    FIni.reset();
    QString file;
    if (FPathType == ptIniFile) {
        // 2. the file: in a special folder, else beside the program
        QString path = FPath;
        if (FSpecialFolder != sfNone) {
            const QString folder = GetSpecialFolderPath(TFcSpecialFolder(FSpecialFolder), ExtractFileDir(FPath));
            if (!folder.isEmpty())
                path = folder + ChangeFileExt(ExtractFileName(FPath.isEmpty() ? ProgramFile() : FPath), QStringLiteral(".ini"));
        }
        if (path.isEmpty())
            path = ChangeFileExt(ProgramFile(), QStringLiteral(".ini"));
        else if (ExtractFileDir(path).isEmpty())
            path = ExtractFilePath(ProgramFile()) + ChangeFileExt(path, QStringLiteral(".ini"));
        FPath = path;
        file = path;
    } else {
        // 3. the key path; the key itself is an INI file under the user's configuration folder
        if (FPath.isEmpty()) {
            const QString title = Application ? Application->Title : QString();
            FPath = QStringLiteral("\\Software\\Temp\\") +
                    (title.isEmpty() ? QFileInfo(ProgramFile()).completeBaseName() : title);
        }
        file = RegistryKeyFile(FRegKey, FPath);
        QDir().mkpath(ExtractFileDir(file));
    }
    FIni = std::make_unique<TMemIniFile>(file);
    FRefreshStorage = false;
}

void TFcRegIniFile::Written()
{
    // registry writes land at once; INI files when AutoUpdateIniFile says so
    if (FAutoUpdateIniFile || FPathType == ptRegistry)
        WriteOut();
}

void TFcRegIniFile::WriteOut()
{
    FIni->UpdateFile();
    // an INI file in another encoding than the default is written again in it
    if (FPathType == ptIniFile && FFileEncoding != feDefault)
        SaveTextFile(FIni->FileName(), LoadTextFile(FIni->FileName()), FFileEncoding);
}

void TFcRegIniFile::UpdateIniFile()
{
    if (FPathType != ptIniFile)
        return;
    CheckAccess();
    WriteOut();
}

bool TFcRegIniFile::SectionExists(const QString& Section)
{
    CheckAccess();
    return FIni->SectionExists(Section);
}

bool TFcRegIniFile::ValueExists(const QString& Section, const QString& Name)
{
    CheckAccess();
    return FIni->ValueExists(Section, Name);
}

bool TFcRegIniFile::ReadBool(const QString& Section, const QString& Name, bool Default)
{
    CheckAccess();
    return FIni->ReadBool(Section, Name, Default);
}

void TFcRegIniFile::WriteBool(const QString& Section, const QString& Name, bool Value)
{
    CheckAccess();
    FIni->WriteBool(Section, Name, Value);
    Written();
}

TDateTime TFcRegIniFile::ReadDateTime(const QString& Section, const QString& Name, TDateTime Default)
{
    CheckAccess();
    TDateTime v;
    return TryStrToDateTime(FIni->ReadString(Section, Name, QString()), v) ? v : Default;
}

void TFcRegIniFile::WriteDateTime(const QString& Section, const QString& Name, TDateTime Value)
{
    CheckAccess();
    FIni->WriteString(Section, Name, DateTimeToStr(Value));
    Written();
}

TDateTime TFcRegIniFile::ReadDate(const QString& Section, const QString& Name, TDateTime Default)
{
    return ReadDateTime(Section, Name, Default);
}

void TFcRegIniFile::WriteDate(const QString& Section, const QString& Name, TDateTime Value)
{
    CheckAccess();
    FIni->WriteString(Section, Name, DateToStr(Value));
    Written();
}

TDateTime TFcRegIniFile::ReadTime(const QString& Section, const QString& Name, TDateTime Default)
{
    return ReadDateTime(Section, Name, Default);
}

void TFcRegIniFile::WriteTime(const QString& Section, const QString& Name, TDateTime Value)
{
    WriteDateTime(Section, Name, Value);
}

double TFcRegIniFile::ReadFloat(const QString& Section, const QString& Name, double Default)
{
    CheckAccess();
    return FIni->ReadFloat(Section, Name, Default);
}

void TFcRegIniFile::WriteFloat(const QString& Section, const QString& Name, double Value)
{
    CheckAccess();
    FIni->WriteFloat(Section, Name, Value);
    Written();
}

int TFcRegIniFile::ReadInteger(const QString& Section, const QString& Name, int Default)
{
    CheckAccess();
    return FIni->ReadInteger(Section, Name, Default);
}

void TFcRegIniFile::WriteInteger(const QString& Section, const QString& Name, int Value)
{
    CheckAccess();
    FIni->WriteInteger(Section, Name, Value);
    Written();
}

QString TFcRegIniFile::ReadString(const QString& Section, const QString& Name, const QString& Default)
{
    CheckAccess();
    return FIni->ReadString(Section, Name, Default);
}

void TFcRegIniFile::WriteString(const QString& Section, const QString& Name, const QString& Value)
{
    CheckAccess();
    FIni->WriteString(Section, Name, Value);
    Written();
}

QByteArray TFcRegIniFile::ReadBinaryStream(const QString& Section, const QString& Name)
{
    CheckAccess();
    return QByteArray::fromHex(FIni->ReadString(Section, Name, QString()).toLatin1());
}

void TFcRegIniFile::WriteBinaryStream(const QString& Section, const QString& Name, const QByteArray& Value)
{
    CheckAccess();
    FIni->WriteString(Section, Name, QString::fromLatin1(Value.toHex().toUpper()));
    Written();
}

void TFcRegIniFile::ReadSection(const QString& Section, TStringList& Strings)
{
    CheckAccess();
    FIni->ReadSection(Section, Strings);
}

void TFcRegIniFile::ReadSections(TStringList& Strings)
{
    CheckAccess();
    FIni->ReadSections(Strings);
}

void TFcRegIniFile::ReadSectionValues(const QString& Section, TStringList& Strings)
{
    CheckAccess();
    FIni->ReadSectionValues(Section, Strings);
    if (FPathType == ptRegistry)
        Strings.Sort();  // a key lists its values by name
}

void TFcRegIniFile::EraseSection(const QString& Section)
{
    CheckAccess();
    FIni->EraseSection(Section);
    Written();
}

void TFcRegIniFile::DeleteKey(const QString& Section, const QString& Name)
{
    CheckAccess();
    FIni->DeleteKey(Section, Name);
    Written();
}
