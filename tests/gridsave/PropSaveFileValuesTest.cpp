// Property files beyond text and numbers: words, date-times and variants,
// the content as lines and through streams (plain and compressed), the
// conversion of a plain file into a compressed one, and the file's encoding.

#include "components/base/zlib_interface.h"
#include "components/grid/TPropSaveFile.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(PropSaveFileValues, WordsDatesAndVariants)
{
    TPropSaveFile f(nullptr);
    f.SetContent(QString());
    f.WriteWord(QStringLiteral("S"), QStringLiteral("W"), 65535);
    EXPECT_EQ(f.ReadWord(QStringLiteral("S"), QStringLiteral("W"), 1), 65535);
    f.WriteInteger(QStringLiteral("S"), QStringLiteral("Big"), 70000);
    EXPECT_EQ(f.ReadWord(QStringLiteral("S"), QStringLiteral("Big"), 7), 7) << "beyond a word gives the default";

    const TDateTime when = EncodeDate(2026, 12, 11) + EncodeTime(14, 5, 9, 0);
    f.WriteDateTime(QStringLiteral("S"), QStringLiteral("D"), when);
    EXPECT_NEAR(f.ReadDateTime(QStringLiteral("S"), QStringLiteral("D"), 0), when, 1e-6);
    f.WriteString(QStringLiteral("S"), QStringLiteral("Bad"), QStringLiteral("ei päivä"));
    EXPECT_EQ(f.ReadDateTime(QStringLiteral("S"), QStringLiteral("Bad"), 3.5), 3.5);

    struct Case { QVariant value, def; };
    const Case cases[] = {{42, 0}, {2.5, 0.0}, {true, false}, {QStringLiteral("teksti\tsarkain"), QString()},
                          {DateTimeToQDateTime(when), QDateTime()}};
    for (const Case& c : cases) {
        f.WriteVariant(QStringLiteral("V"), QStringLiteral("K"), c.value);
        const QVariant back = f.ReadVariant(QStringLiteral("V"), QStringLiteral("K"), c.def);
        if (c.value.typeId() == QMetaType::QDateTime)
            EXPECT_EQ(back.toDateTime().toSecsSinceEpoch(), c.value.toDateTime().toSecsSinceEpoch());
        else
            EXPECT_EQ(back, c.value) << c.value.toString().toStdString();
    }
    f.WriteVariant(QStringLiteral("V"), QStringLiteral("K"), QVariant());
    EXPECT_FALSE(f.ValueExists(QStringLiteral("V"), QStringLiteral("K"))) << "a null value deletes the key";
}

// The value hooks see typed values: the read hook gets the caller's default
// for an absent key and may replace what is returned; the write hook runs
// before a null value deletes the key and may turn a deletion into a write
// or a write into a deletion.
TEST(PropSaveFileValues, ValueHooksSeeAndChangeTypedValues)
{
    TPropSaveFile f(nullptr);
    f.SetContent(QStringLiteral("[S]\nN=7\n"));
    QStringList seen;
    f.OnReadValue = [&](const QString& Section, const QString& Ident, QVariant& Value) {
        seen << QStringLiteral("%1.%2=%3:%4").arg(Section, Ident, Value.toString(), QString::fromLatin1(Value.typeName()));
        if (Ident == QLatin1String("Swap"))
            Value = 99;
    };
    EXPECT_EQ(f.ReadInteger(QStringLiteral("S"), QStringLiteral("N"), 1), 7);
    EXPECT_EQ(f.ReadInteger(QStringLiteral("S"), QStringLiteral("Absent"), 5), 5);
    EXPECT_EQ(f.ReadBool(QStringLiteral("S"), QStringLiteral("Flag"), true), true);
    EXPECT_EQ(f.ReadString(QStringLiteral("S"), QStringLiteral("Swap"), QStringLiteral("x")), QStringLiteral("99"));
    EXPECT_EQ(f.ReadInteger(QStringLiteral("S"), QStringLiteral("Swap"), 0), 99);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("S.N=7:int"), QStringLiteral("S.Absent=5:int"),
                                 QStringLiteral("S.Flag=true:bool"), QStringLiteral("S.Swap=x:QString"),
                                 QStringLiteral("S.Swap=0:int")}));

    QStringList written;
    f.OnWriteValue = [&](const QString&, const QString& Ident, QVariant& Value) {
        written << Ident + QLatin1Char('=') + (Value.isValid() ? QString::fromLatin1(Value.typeName()) : QStringLiteral("null"));
        if (Ident == QLatin1String("Keep") && !Value.isValid())
            Value = 2.5;
        else if (Ident == QLatin1String("N"))
            Value = QVariant();
    };
    f.WriteVariant(QStringLiteral("S"), QStringLiteral("Keep"), QVariant());
    f.WriteInteger(QStringLiteral("S"), QStringLiteral("N"), 8);
    f.WriteFloat(QStringLiteral("S"), QStringLiteral("F"), 1.5);
    EXPECT_EQ(written, (QStringList{QStringLiteral("Keep=null"), QStringLiteral("N=int"), QStringLiteral("F=double")}));
    QString kept;
    EXPECT_TRUE(f.IniFile()->Find(QStringLiteral("S"), QStringLiteral("Keep"), kept));
    EXPECT_EQ(kept, QStringLiteral("2,5"));
    EXPECT_FALSE(f.ValueExists(QStringLiteral("S"), QStringLiteral("N"))) << "the hook turned the write into a deletion";
    f.OnReadValue = nullptr;
    EXPECT_DOUBLE_EQ(f.ReadFloat(QStringLiteral("S"), QStringLiteral("F"), 0), 1.5);
}

TEST(PropSaveFileValues, LinesStreamsAndCompression)
{
    QTemporaryDir dir;
    TPropSaveFile f(nullptr);
    TStringList lines;
    lines.SetText(QStringLiteral("[formMain_XY]\r\nLeft=10\r\n"));
    f.SetStrings(lines);
    EXPECT_EQ(f.ReadInteger(QStringLiteral("formMain_XY"), QStringLiteral("Left"), 0), 10);
    TStringList back;
    f.GetStrings(back);
    EXPECT_EQ(back[0], QStringLiteral("[formMain_XY]"));

    QBuffer plain;
    plain.open(QIODevice::ReadWrite);
    f.SaveToStream(&plain);
    EXPECT_TRUE(plain.data().contains("Left=10"));
    f.SetCompressFile(true);
    QBuffer packed;
    packed.open(QIODevice::ReadWrite);
    f.SaveToStream(&packed);
    EXPECT_TRUE(ZDecompress(packed.data()).contains("Left=10")) << "one zlib stream";
    packed.seek(0);
    TPropSaveFile g(nullptr);
    g.SetCompressFile(true);
    g.LoadFromStream(&packed);
    EXPECT_EQ(g.ReadInteger(QStringLiteral("formMain_XY"), QStringLiteral("Left"), 0), 10);
    g.DisableAll = true;
    QBuffer none;
    none.open(QIODevice::ReadWrite);
    g.SaveToStream(&none);
    EXPECT_TRUE(none.data().isEmpty());

    // A plain file converted into a compressed one, the original removed.
    const QString orig = dir.path() + QStringLiteral("/vanha.ini"), dest = dir.path() + QStringLiteral("/uusi.ini.compress");
    {
        QFile out(orig);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("[A]\r\nB=1\r\n");
    }
    TPropSaveFile c(nullptr);
    c.DoCompressFile(orig, dest, true);
    EXPECT_FALSE(QFile::exists(orig));
    EXPECT_FALSE(c.CompressFile()) << "the file's own setting comes back";
    QFile in(dest);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ZDecompress(in.readAll()).contains("B=1"));
    // A conversion that cannot write its new file keeps the original.
    {
        QFile out(orig);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("[A]\r\nB=2\r\n");
    }
    int boxes = 0;
    const auto old = SetMessageBoxHook([&](const TMessageBoxRequest&) { ++boxes; return int(mrOk); });
    c.DoCompressFile(orig, dir.path() + QStringLiteral("/puuttuu/uusi.ini.compress"), true);
    SetMessageBoxHook(old);
    c.DisableAll = true;  // nowhere to write to at its end either
    EXPECT_TRUE(QFile::exists(orig)) << "the settings are not lost";
    EXPECT_EQ(boxes, 1) << "the failed save is reported";
}

// A compressed property file that does not decompress restores nothing,
// says so with the file's name, and the program goes on; an empty but sound
// compressed file is no error.
TEST(PropSaveFileValues, AnUnreadableCompressedFileIsReportedAndSkipped)
{
    QTemporaryDir dir;
    struct Case {
        const char* Name;
        QByteArray Bytes;
        bool Reported;
    } cases[] = {{"roska.ini", QByteArray("[A]\r\nB=1\r\n"), true},
                 {"katkennut.ini", ZCompress("[A]\r\nB=1\r\n").left(6), true},
                 {"tyhja.ini", ZCompress(QByteArray()), false},
                 {"ehja.ini", ZCompress("[A]\r\nB=1\r\n"), false}};
    for (const Case& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.Name));
        {
            QFile out(path);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(c.Bytes);
        }
        QStringList texts;
        const auto old = SetMessageBoxHook([&](const TMessageBoxRequest& R) {
            texts << R.Text;
            return int(mrOk);
        });
        TPropSaveFile f(nullptr);
        f.SetCompressFile(true);
        EXPECT_NO_THROW(f.LoadFile(path)) << c.Name;
        SetMessageBoxHook(old);
        f.DisableAll = true;
        ASSERT_EQ(texts.size(), c.Reported ? 1 : 0) << c.Name;
        if (c.Reported)
            EXPECT_EQ(texts[0], QStringLiteral("Cannot open file \"%1\".").arg(path)) << c.Name;
        const bool sound = QByteArray(c.Name) == "ehja.ini";
        EXPECT_EQ(f.ReadInteger(QStringLiteral("A"), QStringLiteral("B"), 0), sound ? 1 : 0) << c.Name;
    }
}

TEST(PropSaveFileValues, TheOwnerMayChooseTheEncoding)
{
    QTemporaryDir dir;
    const QString name = dir.path() + QStringLiteral("/latin.ini");
    {
        TPropSaveFile f(nullptr);
        f.OnGetIniFileEncoding = [](QStringConverter::Encoding& E) { E = QStringConverter::Latin1; };
        f.LoadFile(name);
        f.WriteString(QStringLiteral("S"), QStringLiteral("Nimi"), QStringLiteral("Äänekoski"));
        ASSERT_TRUE(f.SaveFile(name));
    }
    QFile in(name);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_TRUE(in.readAll().contains("Nimi=\xC4\xE4nekoski"));
    TPropSaveFile f(nullptr);
    f.OnGetIniFileEncoding = [](QStringConverter::Encoding& E) { E = QStringConverter::Latin1; };
    f.LoadFile(name);
    EXPECT_EQ(f.ReadString(QStringLiteral("S"), QStringLiteral("Nimi"), QString()), QStringLiteral("Äänekoski"));
}
