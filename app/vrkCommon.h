#pragma once
// Common routines of the whole program: the program folder, one-shot INI
// reads and writes, text splitting, screen centring and the unscrambling of
// the database credentials.

#include <QString>
#include <QStringList>
#include <cstdint>

// The program folder with a trailing "/": $SORVEX_HOME when set (tests, and
// installs whose executable folder is read-only), else the executable's folder.
QString GetExePath();

// Each call opens the file, reads or writes one value, and closes it again.
// Missing file, section or key (or a non-integer for the integer read) gives
// the default; a text that is no integer is also logged as a warning naming
// the file, section, key and text. A write creates the file and section; it raises
// EIniFileException when the file cannot be written.
int ReadInteger_Ini(const QString& AFileName, const QString& ASection, const QString& AIndent, int ADefault);
QString ReadString_Ini(const QString& AFileName, const QString& ASection, const QString& AIndent,
                       const QString& ADefault);
void WriteInteger_Ini(const QString& AFileName, const QString& ASection, const QString& AIndent, int AValue);
void WriteString_Ini(const QString& AFileName, const QString& ASection, const QString& AIndent,
                     const QString& AValue);

// Pieces between the one-character delimiter, empty pieces kept; never empty.
QStringList SplitString(const QString& Text, QChar Delimiter);

int centreleft(int fw);
int centretop(int fh);

// The fixed constants of the credential scrambling: the starting key given for
// both the user name and the password, and the key step's multiplier and addend.
constexpr uint16_t DecryptStartKey = 0x5A3C;
constexpr uint16_t DecryptMultiplier = 0xCE6D;  // 52845
constexpr uint16_t DecryptAddend = 0x58BF;      // 22719

// Hexadecimal pairs to bytes, each XORed with the running key's high byte,
// read as UTF-8; malformed hexadecimal gives an empty text.
QString DecryptStr(const QString& S, uint16_t Key);
