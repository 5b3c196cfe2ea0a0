#pragma once
// Property files: the INI store of window positions, control values and grid
// layouts between runs. All reads and writes go to memory; the disk is read
// at Loaded and written at destruction (or an explicit SaveFile).
//
// Format: "[section]" lines, "key=value" entries, an empty line after each
// section, CR LF line ends, UTF-8 without byte-order mark (a BOM read is kept
// for writing back). Section and key names compare without case and keep the
// order in which they were first created. TAB in string values is stored as
// "_#9_".

#include "platform/rtl/Component.h"

#include <QString>
#include <QStringConverter>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class TFont;
class TStringList;
using TStrings = TStringList;

// The ordered in-memory INI content with its file name and compression flag.
class TMemIniFileEx {
public:
    explicit TMemIniFileEx(const QString& FileName);
    const QString& FileName() const { return FFileName; }
    void Rename(const QString& Name) { FFileName = Name; }
    bool UseCompress = false;
    // Switching on for a named file that exists replaces the content by the
    // decompressed file; a failure shows "Cannot open file" when ShowErr.
    void SetCompress(bool Compress, bool ShowErr);
    QString GetContentAsString() const;
    void SetContentAsString(const QString& S);
    // Writes the file (compressed when UseCompress); raises on failure.
    void UpdateFile();

    bool Find(const QString& Section, const QString& Key, QString& Value) const;
    void Write(const QString& Section, const QString& Key, const QString& Value);
    bool SectionExists(const QString& Section) const;
    void EraseSection(const QString& Section);
    void DeleteKey(const QString& Section, const QString& Key);
    void Clear() { FSections.clear(); }
    QStringList SectionLines(const QString& Section) const;
    QStringList SectionNames() const;
    bool HadBom = false;
    // The text encoding of the file on disk (UTF-8 unless the owner chose another).
    QStringConverter::Encoding Encoding = QStringConverter::Utf8;

private:
    struct Entry { QString Key, Value; bool HasValue = true; };
    struct Section { QString Name; std::vector<Entry> Entries; };
    Section* FindSection(const QString& Name);
    const Section* FindSection(const QString& Name) const;
    QString FFileName;
    std::vector<Section> FSections;
};

class TPropSaveFile : public TComponent {
public:
    explicit TPropSaveFile(TComponent* AOwner);
    ~TPropSaveFile() override;

    bool DisableAll = false;
    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& Value);
    bool CompressFile() const { return FCompressFile; }
    void SetCompressFile(bool Value);
    bool UseAsGlobalFile() const { return FUseAsGlobalFile; }
    void SetUseAsGlobalFile(bool Value);
    std::function<void(TPropSaveFile* Sender)> OnLoadContent;
    std::function<void(TPropSaveFile* Sender)> OnSaveContent;
    // See and may change every value the typed reads return (the caller's
    // default for an absent key) and every value before the typed writes
    // store it (a null one then deletes the key).
    std::function<void(const QString& Section, const QString& Ident, QVariant& Value)> OnReadValue;
    std::function<void(const QString& Section, const QString& Ident, QVariant& Value)> OnWriteValue;
    // Chooses the text encoding when the in-memory file is made (UTF-8 by default).
    std::function<void(QStringConverter::Encoding& Encoding)> OnGetIniFileEncoding;

    void LoadFile(const QString& AFileName = QString());
    bool SaveFile(const QString& AFileName = QString());
    bool SaveFileSilent(const QString& AFileName = QString());
    QString GetFileName() const;
    // The full name the file-name rule gives for AFileName.
    QString ResolveFileName(const QString& AFileName) const;
    TMemIniFileEx* IniFile() const { return FIniFile.get(); }

    bool SectionExists(const QString& Section) const;
    bool ValueExists(const QString& Section, const QString& Ident) const;
    void ReadSection(const QString& Section, TStrings& Strings) const;
    void WriteSection(const QString& Section, const TStrings& Strings);
    void EraseSection(const QString& Section);
    void DeleteKey(const QString& Section, const QString& Ident);
    void Clear();
    QString GetContent() const;
    void SetContent(const QString& Text);
    // The whole content as INI lines; setting makes the in-memory file when there is none.
    void GetStrings(TStrings& List) const;
    void SetStrings(const TStrings& List);
    // The content from / to a stream (compressed when CompressFile); saving
    // does nothing with DisableAll.
    void LoadFromStream(QIODevice* Source);
    void SaveToStream(QIODevice* Dest);
    // Moves the sections of a component stored under an older key (OldKey and
    // OldKey + "." + anything) to NewKey, once: nothing happens when NewKey
    // is stored already or OldKey is not. True when something moved.
    bool MoveSections(const QString& OldKey, const QString& NewKey);
    // Converts a plain property file into a compressed one.
    void DoCompressFile(const QString& OrigFileName, const QString& DestFileName, bool DeleteOrigFile);
    QString GetSectionFromLine(const QString& Line) const;

    QString ReadString(const QString& Section, const QString& Ident, const QString& Default);
    void WriteString(const QString& Section, const QString& Ident, const QString& Value);
    int ReadInteger(const QString& Section, const QString& Ident, int Default);
    void WriteInteger(const QString& Section, const QString& Ident, int Value);
    bool ReadBool(const QString& Section, const QString& Ident, bool Default);
    void WriteBool(const QString& Section, const QString& Ident, bool Value);
    double ReadFloat(const QString& Section, const QString& Ident, double Default);
    void WriteFloat(const QString& Section, const QString& Ident, double Value);
    uint16_t ReadWord(const QString& Section, const QString& Ident, uint16_t Default);
    void WriteWord(const QString& Section, const QString& Ident, uint16_t Value);
    // Date and time as the program's date-time text ("d.m.yyyy h:nn:ss").
    double ReadDateTime(const QString& Section, const QString& Ident, double Default);
    void WriteDateTime(const QString& Section, const QString& Ident, double Value);
    // The kind of Default (integer, floating point, QDateTime, Boolean, else
    // text) chooses the reading; a null Value deletes the key.
    QVariant ReadVariant(const QString& Section, const QString& Ident, const QVariant& Default);
    void WriteVariant(const QString& Section, const QString& Ident, const QVariant& Value);
    void WriteStrings(const QString& Key, const TStrings& L);
    void ReadStrings(const QString& Key, TStrings& L);
    void DeleteStrings(const QString& Key);
    void WriteFont(const QString& Key, const TFont& Font, double ScaleRatio);
    void ReadFont(const QString& Key, TFont& Font, double ScaleRatio);
    void DeleteFont(const QString& Key);

protected:
    void Loaded() override;

private:
    // The stored text; false when the key is absent.
    bool ReadRaw(const QString& Section, const QString& Ident, QString& Value) const;
    void WriteRaw(const QString& Section, const QString& Ident, const QString& Value);
    // The stored values as the typed reads and writes take them, without the hooks.
    QString ReadStoredString(const QString& Section, const QString& Ident, const QString& Default) const;
    int ReadStoredInteger(const QString& Section, const QString& Ident, int Default) const;
    double ReadStoredFloat(const QString& Section, const QString& Ident, double Default) const;
    QVariant ReadTyped(const QString& Section, const QString& Ident, const QVariant& Default) const;
    void WriteStoredString(const QString& Section, const QString& Ident, const QString& Value);
    void WriteStoredFloat(const QString& Section, const QString& Ident, double Value);
    void CreateIniFile(const QString& Name, bool Recreate);
    bool DoSave(const QString& AFileName, bool ShowErrors);
    QString FFileName;
    bool FCompressFile = false;
    bool FUseAsGlobalFile = false;
    std::unique_ptr<TMemIniFileEx> FIniFile;
};

// The registered global property file, or nullptr (never a destroyed one).
TPropSaveFile* GetGlobal_PropSaveFile();
