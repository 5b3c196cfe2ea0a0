#pragma once
// One interface for the settings the framed controls read and write, kept
// in an INI file. The registry mode keeps its key path, but the key lives
// in an INI file of its own under the user's configuration folder.

#include "components/framed/FcCommon.h"
#include "components/framed/FcTextFile.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"

#include <QByteArray>
#include <memory>

SORVEX_EXCEPTION_KIND(ENoRegIniFile, Exception)

enum TFcPathType { ptIniFile, ptRegistry };
enum TFcRegKey { hkeyClassesRoot, hkeyCurrentUser, hkeyLocalMachine, hkeyUsers, hkeyPerformanceData,
                 hkeyCurrentConfig, hkeyDynData };
enum TFcRegAccessKey { keyQueryValue, keySetValue, keyCreateSubKey, keyEnumerateSubKeys, keyNotify, keyCreateLink,
                       keyRead, keyWrite, keyExecute, keyAllAccess };
using TFcRegAccess = unsigned;  // bit per TFcRegAccessKey

// The INI file that stands in for a registry key (Key with backslashes) under RootKey.
QString RegistryKeyFile(TFcRegKey RootKey, const QString& Key);

class TFcRegIniFile : public TComponent {
public:
    explicit TFcRegIniFile(TComponent* AOwner);
    ~TFcRegIniFile() override;

    bool AutoUpdateIniFile() const { return FAutoUpdateIniFile; }
    void SetAutoUpdateIniFile(bool Value) { FAutoUpdateIniFile = Value; }
    TFcIniFileEncoding FileEncoding() const { return FFileEncoding; }
    virtual void SetFileEncoding(TFcIniFileEncoding Value);
    // After the first access: the full path of the file (or the key) in use.
    QString Path() const { return FPath; }
    virtual void SetPath(const QString& Value);
    TFcPathType PathType() const { return FPathType; }
    virtual void SetPathType(TFcPathType Value);
    TFcRegKey RegKey() const { return FRegKey; }
    virtual void SetRegKey(TFcRegKey Value);
    TFcRegAccess RegAccess() const { return FRegAccess; }
    virtual void SetRegAccess(TFcRegAccess Value);
    int SpecialFolder() const { return FSpecialFolder; }
    virtual void SetSpecialFolder(int Value);
    // The file the store is kept in (for the registry mode, the INI file standing in for the key).
    QString StorageFileName();
    // The rights the registry mode asks for: the OR of the members' values.
    unsigned AccessRights() const;

    bool SectionExists(const QString& Section);
    bool ValueExists(const QString& Section, const QString& Name);
    bool ReadBool(const QString& Section, const QString& Name, bool Default);
    void WriteBool(const QString& Section, const QString& Name, bool Value);
    TDateTime ReadDate(const QString& Section, const QString& Name, TDateTime Default);
    void WriteDate(const QString& Section, const QString& Name, TDateTime Value);
    TDateTime ReadDateTime(const QString& Section, const QString& Name, TDateTime Default);
    void WriteDateTime(const QString& Section, const QString& Name, TDateTime Value);
    double ReadFloat(const QString& Section, const QString& Name, double Default);
    void WriteFloat(const QString& Section, const QString& Name, double Value);
    int ReadInteger(const QString& Section, const QString& Name, int Default);
    void WriteInteger(const QString& Section, const QString& Name, int Value);
    QString ReadString(const QString& Section, const QString& Name, const QString& Default);
    void WriteString(const QString& Section, const QString& Name, const QString& Value);
    TDateTime ReadTime(const QString& Section, const QString& Name, TDateTime Default);
    void WriteTime(const QString& Section, const QString& Name, TDateTime Value);
    QByteArray ReadBinaryStream(const QString& Section, const QString& Name);
    void WriteBinaryStream(const QString& Section, const QString& Name, const QByteArray& Value);
    void ReadSection(const QString& Section, TStringList& Strings);
    void ReadSections(TStringList& Strings);
    void ReadSectionValues(const QString& Section, TStringList& Strings);
    void EraseSection(const QString& Section);
    void DeleteKey(const QString& Section, const QString& Name);
    void UpdateIniFile();

private:
    void CheckAccess();
    void Written();
    // Writes the file in the chosen encoding.
    void WriteOut();
    TFcIniFileEncoding FFileEncoding = feDefault;
    bool FAutoUpdateIniFile = true;
    QString FPath;
    TFcPathType FPathType = ptIniFile;
    TFcRegKey FRegKey = hkeyCurrentUser;
    TFcRegAccess FRegAccess = 1u << keyAllAccess;
    int FSpecialFolder = 0;
    std::unique_ptr<TMemIniFile> FIni;
    bool FRefreshStorage = true;
};
