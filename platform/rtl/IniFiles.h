#pragma once
// INI files with the private-profile semantics the program relies on: section
// and key names compared without case, values trimmed and stripped of one pair
// of enclosing quotes, missing files/sections/keys giving the caller's default,
// and writes that create the file and the section. Comments and the order of
// lines survive a write.
//
// TMemIniFile holds the file in memory until UpdateFile; TIniFile reads the
// file again on every call and writes it back at once, so nothing is cached.

#include "platform/rtl/StringList.h"

#include <QString>
#include <QStringList>
#include <memory>

class TCustomIniFile {
public:
    explicit TCustomIniFile(const QString& FileName) : FFileName(FileName) {}
    virtual ~TCustomIniFile() = default;

    const QString& FileName() const { return FFileName; }

    virtual QString ReadString(const QString& Section, const QString& Ident, const QString& Default) = 0;
    virtual void WriteString(const QString& Section, const QString& Ident, const QString& Value) = 0;
    virtual void ReadSection(const QString& Section, TStringList& Strings) = 0;
    virtual void ReadSections(TStringList& Strings) = 0;
    virtual void ReadSectionValues(const QString& Section, TStringList& Strings) = 0;
    virtual void EraseSection(const QString& Section) = 0;
    virtual void DeleteKey(const QString& Section, const QString& Ident) = 0;
    virtual void UpdateFile() = 0;

    int ReadInteger(const QString& Section, const QString& Ident, int Default);
    void WriteInteger(const QString& Section, const QString& Ident, int Value);
    bool ReadBool(const QString& Section, const QString& Ident, bool Default);
    void WriteBool(const QString& Section, const QString& Ident, bool Value);
    double ReadFloat(const QString& Section, const QString& Ident, double Default);
    void WriteFloat(const QString& Section, const QString& Ident, double Value);
    bool SectionExists(const QString& Section);
    bool ValueExists(const QString& Section, const QString& Ident);

protected:
    QString FFileName;
};

// The parsed form shared by both kinds: lines kept as written.
class TIniContent {
public:
    void Parse(const QString& Text);
    QString Serialize() const;

    bool Find(const QString& Section, const QString& Ident, QString& Value) const;
    void Set(const QString& Section, const QString& Ident, const QString& Value);
    QStringList Keys(const QString& Section) const;
    QStringList Sections() const;
    QStringList SectionLines(const QString& Section) const;  // "key=value"
    void EraseSection(const QString& Section);
    void DeleteKey(const QString& Section, const QString& Ident);
    bool Modified = false;

private:
    struct Line {
        QString Raw;      // as written, for comments and blank lines
        QString Key;      // empty for non-key lines
        QString Value;
    };
    struct Section {
        QString Name;
        QString Header;   // the raw header line
        std::vector<Line> Lines;
    };
    Section* FindSection(const QString& Name);
    const Section* FindSection(const QString& Name) const;
    std::vector<Section> FSections;  // the first has an empty name: lines before any header
};

class TMemIniFile : public TCustomIniFile {
public:
    explicit TMemIniFile(const QString& FileName);

    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) override;
    void WriteString(const QString& Section, const QString& Ident, const QString& Value) override;
    void ReadSection(const QString& Section, TStringList& Strings) override;
    void ReadSections(TStringList& Strings) override;
    void ReadSectionValues(const QString& Section, TStringList& Strings) override;
    void EraseSection(const QString& Section) override;
    void DeleteKey(const QString& Section, const QString& Ident) override;
    // Writes the file when anything changed; raises EIniFileException on failure
    // and when the file exists but could not be read.
    void UpdateFile() override;
    // Why an existing file could not be read (its settings then read as
    // defaults); empty when it was read or does not exist.
    const QString& ReadError() const { return FReadError; }
    void Rename(const QString& FileName, bool Reload);
    void Clear();

private:
    void Load();
    TIniContent FContent;
    QString FReadError;
    bool FSingleByte = false;
};

class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const QString& FileName) : TCustomIniFile(FileName) {}

    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) override;
    // Raises EIniFileException when the file cannot be written, or exists
    // but cannot be read (it is never written over then).
    void WriteString(const QString& Section, const QString& Ident, const QString& Value) override;
    void ReadSection(const QString& Section, TStringList& Strings) override;
    void ReadSections(TStringList& Strings) override;
    void ReadSectionValues(const QString& Section, TStringList& Strings) override;
    void EraseSection(const QString& Section) override;
    void DeleteKey(const QString& Section, const QString& Ident) override;
    void UpdateFile() override {}
};

// Reads a whole INI text file; a missing or unreadable file is empty. Error
// (when given) tells why a file that exists could not be read.
// SingleByte (when given) tells that the file is not UTF-8 but an old
// single-byte text, which is then written back the same way.
bool ReadIniText(const QString& FileName, QString& Text, QString* Error = nullptr, bool* SingleByte = nullptr);
// Why an existing INI file cannot be read; empty when it can or is missing.
QString IniFileReadError(const QString& FileName);
// Writes it through a temporary file so a failed write leaves the old file.
// A single-byte file stays single-byte (UTF-8 only when a character needs it).
void WriteIniText(const QString& FileName, const QString& Text, bool SingleByte = false);
