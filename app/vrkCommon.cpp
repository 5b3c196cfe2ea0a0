#include "app/vrkCommon.h"

#include "app/vrkDoMessage.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/Forms.h"
#include "resources/SafeguardTexts.h"

QString GetExePath()
{
    const QString home = qEnvironmentVariable("SORVEX_HOME");
    if (!home.isEmpty())
        return IncludeTrailingPathDelimiter(home);
    return ExecutableDir();
}

int ReadInteger_Ini(const QString& AFileName, const QString& ASection, const QString& AIndent, int ADefault)
{
    TIniFile ini(AFileName);
    const QString text = ini.ReadString(ASection, AIndent, QString());
    int value = ADefault;
    if (text.isEmpty() || TryStrToInt(text, value))
        return value;
    // The default is written back later, so the user's text would vanish unseen.
    do_message(false, txt::IniBadNumber.arg(AFileName, ASection, AIndent, text), MSG_WARNING);
    return ADefault;
}

QString ReadString_Ini(const QString& AFileName, const QString& ASection, const QString& AIndent,
                       const QString& ADefault)
{
    TIniFile ini(AFileName);
    return ini.ReadString(ASection, AIndent, ADefault);
}

void WriteInteger_Ini(const QString& AFileName, const QString& ASection, const QString& AIndent, int AValue)
{
    TIniFile ini(AFileName);
    ini.WriteInteger(ASection, AIndent, AValue);
}

void WriteString_Ini(const QString& AFileName, const QString& ASection, const QString& AIndent,
                     const QString& AValue)
{
    TIniFile ini(AFileName);
    ini.WriteString(ASection, AIndent, AValue);
}

QStringList SplitString(const QString& Text, QChar Delimiter)
{
    return Text.split(Delimiter, Qt::KeepEmptyParts);
}

int centreleft(int fw)
{
    return (Screen->Width() - fw) / 2;
}

int centretop(int fh)
{
    return (Screen->Height() - fh) / 2;
}

QString DecryptStr(const QString& S, uint16_t Key)
{
    const QString upper = S.toUpper();
    const int L = int(upper.size());
    QByteArray buf(L / 2, '\0');
    auto hex = [](QChar c) -> int {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            return c.unicode() - '0';
        if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            return c.unicode() - 'A' + 10;
        return -1;
    };
    // pairs at one-based positions p, p+1 for p = 1, 3, 5 … while p < L
    for (int p = 1; p < L; p += 2) {
        const int hi = hex(upper[p - 1]);
        const int lo = hex(upper[p]);
        if (hi < 0 || lo < 0)
            return QString();
        buf[p / 2] = char(hi * 16 + lo);
    }
    uint16_t key = Key;
    for (qsizetype i = 0; i < buf.size(); ++i) {
        const uint8_t b = uint8_t(buf[i]);
        buf[i] = char(b ^ uint8_t(key >> 8));
        key = uint16_t((uint32_t(b) + key) * DecryptMultiplier + DecryptAddend);
    }
    return QString::fromUtf8(buf);
}
