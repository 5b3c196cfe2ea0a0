// Property files: value encodings, string lists, fonts, the file-name rule,
// writing to disk and reading back, and the global file's registration.

#include "components/base/ParioCompGlobalCfg.h"
#include "components/grid/TPropSaveFile.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Graphics.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString Raw(TPropSaveFile& F, const QString& S, const QString& K)
{
    QString v;
    F.IniFile()->Find(S, K, v);
    return v;
}

}  // namespace

TEST(PropSaveFile, ValueEncodingsRoundTrip)
{
    TPropSaveFile f(nullptr);
    f.SetContent(QString());
    f.WriteString(QStringLiteral("S"), QStringLiteral("Tab"), QStringLiteral("a\tb"));
    EXPECT_EQ(Raw(f, QStringLiteral("S"), QStringLiteral("Tab")), QStringLiteral("a_#9_b"));
    EXPECT_EQ(f.ReadString(QStringLiteral("s"), QStringLiteral("TAB"), QString()), QStringLiteral("a\tb"));

    struct Case { const char* stored; bool def; bool expect; };
    for (const Case& c : {Case{"yes", true, true}, Case{"yes", false, false}, Case{"2", false, true}, Case{"0", true, false}}) {
        f.SetContent(QStringLiteral("[B]\r\nK=%1\r\n").arg(QLatin1String(c.stored)));
        EXPECT_EQ(f.ReadBool(QStringLiteral("B"), QStringLiteral("K"), c.def), c.expect) << c.stored;
    }
    f.SetContent(QStringLiteral("[I]\r\nHex=0x1F\r\nDollar=$10\r\nBad=12a\r\nNoValue\r\n  Spaced  =  7  \r\n"));
    EXPECT_EQ(f.ReadInteger(QStringLiteral("I"), QStringLiteral("Hex"), 0), 31);
    EXPECT_EQ(f.ReadInteger(QStringLiteral("I"), QStringLiteral("Dollar"), 0), 16);
    EXPECT_EQ(f.ReadInteger(QStringLiteral("I"), QStringLiteral("Bad"), -5), -5);
    EXPECT_EQ(f.ReadString(QStringLiteral("I"), QStringLiteral("NoValue"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(f.ReadInteger(QStringLiteral("I"), QStringLiteral("Spaced"), 0), 7);
    f.WriteFloat(QStringLiteral("F"), QStringLiteral("X"), 12.5);
    EXPECT_DOUBLE_EQ(f.ReadFloat(QStringLiteral("F"), QStringLiteral("X"), 0), 12.5);
}

TEST(PropSaveFile, StringListsFontsAndSectionSearch)
{
    TPropSaveFile f(nullptr);
    f.SetContent(QString());
    TStringList l;
    l.Add(QStringLiteral("x"));
    f.ReadStrings(QStringLiteral("L"), l);  // no "ItemsCount": untouched
    EXPECT_EQ(l.Count(), 1);
    f.WriteInteger(QStringLiteral("L"), QStringLiteral("ItemsCount"), 0);
    f.ReadStrings(QStringLiteral("L"), l);
    EXPECT_EQ(l.Count(), 0);
    l.Add(QStringLiteral("one"));
    l.Add(QStringLiteral("two"));
    f.WriteStrings(QStringLiteral("L"), l);
    EXPECT_EQ(Raw(f, QStringLiteral("L"), QStringLiteral("Item1")), QStringLiteral("two"));
    f.DeleteStrings(QStringLiteral("L"));
    EXPECT_FALSE(f.ValueExists(QStringLiteral("L"), QStringLiteral("Item0")));

    TFont font;
    font.SetHeight(-20);
    font.SetStyle(fsBold | fsItalic);
    f.WriteFont(QStringLiteral("Font"), font, 1.25);
    EXPECT_EQ(f.ReadInteger(QStringLiteral("Font"), QStringLiteral("FontHeight"), 0), -16);
    EXPECT_EQ(f.ReadInteger(QStringLiteral("Font"), QStringLiteral("FontStyle"), 0), 3);
    TFont back;
    f.ReadFont(QStringLiteral("Font"), back, 1.25);
    EXPECT_EQ(back.Height(), -20);
    EXPECT_EQ(back.Style(), fsBold | fsItalic);

    f.SetContent(QStringLiteral("[A]\r\nName=Ville\r\n[B]\r\nname=Aino\r\nClub=OK\r\n"));
    EXPECT_EQ(f.GetSectionFromLine(QStringLiteral("NAME=aino")), QStringLiteral("B"));
    EXPECT_EQ(f.GetSectionFromLine(QStringLiteral("Club=*")), QStringLiteral("B"));
    EXPECT_EQ(f.GetSectionFromLine(QStringLiteral("name=*")), QStringLiteral("A"));
    EXPECT_EQ(f.GetSectionFromLine(QStringLiteral("Name=Nobody")), QString());
}

TEST(PropSaveFile, FileNameRuleSavingAndGlobalRegistration)
{
    QTemporaryDir dir;
    qputenv("SORVEX_HOME", dir.path().toUtf8());
    {
        TPropSaveFile f(nullptr);
        f.SetFileName(QStringLiteral("ResultsClassForest.ini"));
        f.LoadFile();
        EXPECT_EQ(f.GetFileName(), dir.path() + QStringLiteral("/ResultsClassForest.ini"));
        f.WriteString(QStringLiteral("Sec"), QStringLiteral("Key"), QStringLiteral("Ääkköset"));
        f.SetUseAsGlobalFile(true);
        EXPECT_EQ(GetGlobal_PropSaveFile(), &f);
    }  // destruction writes the file
    EXPECT_EQ(GetGlobal_PropSaveFile(), nullptr);
    QFile file(dir.path() + QStringLiteral("/ResultsClassForest.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes, QByteArray("[Sec]\r\nKey=") + QStringLiteral("Ääkköset").toUtf8() + QByteArray("\r\n\r\n"));

    TPropSaveFile disabled(nullptr);
    disabled.DisableAll = true;
    disabled.LoadFile(dir.path() + QStringLiteral("/ResultsClassForest.ini"));
    EXPECT_EQ(disabled.ReadString(QStringLiteral("sec"), QStringLiteral("key"), QString()), QStringLiteral("Ääkköset"));
    disabled.WriteString(QStringLiteral("Sec"), QStringLiteral("Key"), QStringLiteral("changed"));
    EXPECT_TRUE(disabled.SaveFile());
    TPropSaveFile again(nullptr);
    again.LoadFile(dir.path() + QStringLiteral("/ResultsClassForest.ini"));
    EXPECT_EQ(again.ReadString(QStringLiteral("Sec"), QStringLiteral("Key"), QString()), QStringLiteral("Ääkköset"));

    TPropSaveFile bad(nullptr);
    bad.LoadFile(dir.path() + QStringLiteral("/no/such/folder/x.ini"));
    bad.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), 1);
    EXPECT_FALSE(bad.SaveFileSilent());
    QString shown;
    auto old = SetMessageBoxHook([&shown](const TMessageBoxRequest& R) { shown = R.Text; return 1; });
    EXPECT_FALSE(bad.SaveFile());
    SetMessageBoxHook(old);
    EXPECT_EQ(shown, QStringLiteral("Error during saving file \"%1/no/such/folder/x.ini\".").arg(dir.path()));
    bad.DisableAll = true;  // the destructor does not try again
    qunsetenv("SORVEX_HOME");
}
