// The settings storage and the frame controller that loads, saves and pushes
// its settings.
#include "components/framed/FcCmboBx.h"
#include "components/framed/FcFrameController.h"
#include "components/framed/FcLstBox.h"
#include "components/framed/FcPanel.h"
#include "components/framed/FcRegIniFile.h"
#include "platform/ui/Forms.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

TEST(RegIniFileTest, PathRulesAndRoundTrip)
{
    QTemporaryDir dir;
    TFcRegIniFile ini(nullptr);
    const QString exeDir = QFileInfo(QCoreApplication::applicationFilePath()).absolutePath();
    ini.SetPath(QStringLiteral("framed_layout"));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("S"), QStringLiteral("K")));
    EXPECT_EQ(ini.Path(), exeDir + QStringLiteral("/framed_layout.ini")) << "a bare name beside the program";
    QFile::remove(ini.Path());

    const QString file = dir.filePath(QStringLiteral("tb.ini"));
    ini.SetPath(file);
    ini.WriteInteger(QStringLiteral("Bar"), QStringLiteral("Count"), 6);
    ini.WriteString(QStringLiteral("Bar"), QStringLiteral("Control0"), QStringLiteral("##btnNew"));
    ini.WriteBool(QStringLiteral("Bar"), QStringLiteral("Flat"), true);
    ini.WriteFloat(QStringLiteral("Bar"), QStringLiteral("Ratio"), 1.5);
    ini.WriteBinaryStream(QStringLiteral("Bar"), QStringLiteral("Blob"), QByteArray("\x01\xFF", 2));
    TFcRegIniFile again(nullptr);
    again.SetPath(file);
    EXPECT_EQ(again.ReadInteger(QStringLiteral("Bar"), QStringLiteral("Count"), 0), 6);
    EXPECT_EQ(again.ReadString(QStringLiteral("Bar"), QStringLiteral("Control0"), QString()), QStringLiteral("##btnNew"));
    EXPECT_TRUE(again.ReadBool(QStringLiteral("Bar"), QStringLiteral("Flat"), false));
    EXPECT_DOUBLE_EQ(again.ReadFloat(QStringLiteral("Bar"), QStringLiteral("Ratio"), 0), 1.5);
    EXPECT_EQ(again.ReadBinaryStream(QStringLiteral("Bar"), QStringLiteral("Blob")), QByteArray("\x01\xFF", 2));
    EXPECT_EQ(again.ReadInteger(QStringLiteral("Bar"), QStringLiteral("Missing"), 42), 42);
}

TEST(RegIniFileTest, WithoutAutoUpdateTheFileIsWrittenAtTheEnd)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("late.ini"));
    {
        TFcRegIniFile ini(nullptr);
        ini.SetAutoUpdateIniFile(false);
        ini.SetPath(file);
        ini.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), 1);
        EXPECT_FALSE(QFile::exists(file));
    }
    EXPECT_TRUE(QFile::exists(file));
}

TEST(RegIniFileTest, RegistryModeKeepsTheKeyInItsOwnFile)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    TFcRegIniFile reg(nullptr);
    reg.SetPathType(ptRegistry);
    reg.WriteString(QStringLiteral("ThemeManager"), QStringLiteral("ColorName"), QStringLiteral("METALLIC"));
    EXPECT_TRUE(reg.Path().startsWith(QStringLiteral("\\Software\\Temp\\")));
    EXPECT_TRUE(reg.StorageFileName().startsWith(home.path()));
    EXPECT_EQ(reg.AccessRights(), 0xF003Fu);
    qunsetenv("XDG_CONFIG_HOME");
}

namespace {

class Client : public TComponent, public IFcFramedProperties {
public:
    using TComponent::TComponent;
    void SetFrameProperty(TFcFrameControllerProperty P, const TFcFrameController*) override { Pushed << int(P); }
    TFcFrameControllerNotifications FrameControllerNotifications() const override { return Allowed; }
    TFcFrameControllerNotifications Allowed = fcnAll;
    QList<int> Pushed;
};

}  // namespace

TEST(FrameControllerTest, PushesAndStorage)
{
    TFcFrameController fc(nullptr);
    Client all(nullptr), some(nullptr);
    some.Allowed = 1u << fcpFrameStyle;
    fc.AddControl(&all);
    fc.AddControl(&some);
    EXPECT_EQ(all.Pushed.size(), 16) << "registering pushes every setting";
    EXPECT_EQ(all.Pushed.first(), int(fcpParentColor));
    EXPECT_EQ(some.Pushed, QList<int>({int(fcpFrameStyle)}));
    all.Pushed.clear();
    fc.SetColor(clYellow);
    EXPECT_EQ(all.Pushed, QList<int>({int(fcpColor)}));
    EXPECT_EQ(fc.FocusColor(), clYellow) << "the focus colour followed, not pushed by itself";

    EXPECT_THROW(fc.Save(QStringLiteral("F")), ENoRegIniFile);
    QTemporaryDir dir;
    TFcRegIniFile ini(nullptr);
    ini.SetPath(dir.filePath(QStringLiteral("frames.ini")));
    fc.SetRegIniFile(&ini);
    fc.SetFrameStyle(fsFlatBold);
    fc.Save(QStringLiteral("F"));
    TFcFrameController other(nullptr);
    other.SetRegIniFile(&ini);
    other.Load(QStringLiteral("F"));
    EXPECT_EQ(other.FrameStyle(), fsFlatBold);
    EXPECT_EQ(other.Color(), clYellow);
    other.Load(QStringLiteral("Empty"));
    EXPECT_EQ(other.DisabledColor(), clWindow) << "the loading default, not the constructor's";
    EXPECT_EQ(other.FrameStyle(), fsFlat);
    fc.RemoveControl(&all);
    fc.RemoveControl(&some);
}

TEST(FrameControllerTest, PanelsTakeTheFrameWhenVisible)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto* panel = new TFcPanel(form.get());
    TFcFrameController fc(nullptr);
    panel->SetFrameController(&fc);
    EXPECT_EQ(panel->BorderOuter(), fsRaised) << "an invisible frame changes nothing";
    fc.SetFrameStyle(fsFlatBold);
    fc.SetFrameVisible(true);
    EXPECT_EQ(panel->BorderOuter(), fsFlatBold);
    EXPECT_EQ(panel->FlatColorAdjustment(), 0);
    panel->SetFrameController(nullptr);
}

TEST(FrameControllerTest, ComboAndListBoxesTakeTheFrameAndTheirColours)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto* combo = new TFcComboBox(form.get());
    auto* list = new TFcListBox(form.get());
    TFcFrameController fc(nullptr);
    fc.SetFrameStyle(fsFlatBold);
    fc.SetFrameHotTrack(true);  // before the sides: hot tracking frames all sides
    fc.SetFrameSides(SideBit(sdLeft));
    fc.SetDisabledColor(clYellow);
    combo->SetFrameController(&fc);
    list->SetFrameController(&fc);
    fc.SetFrameColor(clRed);
    for (TFcFrameLook* look : {static_cast<TFcFrameLook*>(combo), static_cast<TFcFrameLook*>(list)}) {
        EXPECT_EQ(look->FrameStyle(), fsFlatBold);
        EXPECT_EQ(look->FrameSides(), SideBit(sdLeft));
        EXPECT_TRUE(look->FrameVisible());
        EXPECT_TRUE(look->FrameHotTrack());
        EXPECT_EQ(look->FrameColor(), clRed) << "a later change is pushed too";
    }
    EXPECT_EQ(combo->DisabledColor(), clYellow);
    EXPECT_EQ(list->DisabledColor(), clYellow);
    combo->SetFrameController(nullptr);
    list->SetFrameController(nullptr);
}

#include "components/framed/FcIntegerList.h"

TEST(IntegerListTest, RangeSortingAndDuplicates)
{
    TFcIntegerList l;
    EXPECT_EQ(l.Add(-5), 0) << "no bounds while Min equals Max";
    l.Clear();
    l.SetMin(10);
    EXPECT_EQ(l.Max(), 10);
    EXPECT_EQ(l.Add(99), 0) << "equal bounds: still no range";
    l.Clear();
    l.SetMax(20);
    EXPECT_THROW(l.Add(21), EOutOfRange);
    EXPECT_THROW(l.Add(9), EOutOfRange);
    try {
        l.Add(15);
        l.SetMin(16);
        FAIL();
    } catch (const EOutOfRange& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Unable to set new minimum value.\rList contains values below 16"));
    }
    EXPECT_EQ(l.Min(), 10) << "unchanged after the error";

    TFcIntegerList s;
    s.SetSorted(true);
    EXPECT_EQ(s.Add(5), 0);
    s.Add(1);
    EXPECT_EQ(s.Add(5), 1) << "dupIgnore returns the existing index";
    EXPECT_EQ(s.Count(), 2);
    s.SetDuplicates(dupError);
    EXPECT_THROW(s.Add(5), EListError);
    EXPECT_THROW(s.Insert(0, 3), EListError) << "no inserting into a sorted list";

    TFcIntegerList u;
    u.Add(7);
    u.Add(3);
    EXPECT_EQ(u.Add(7), 2) << "unsorted dupIgnore: the end index, nothing added";
    EXPECT_EQ(u.Count(), 2);
    u.Insert(2, 9);
    EXPECT_EQ(u.Items(2), 9) << "Insert at Count appends";
    EXPECT_THROW(u.Insert(5, 1), EListError);
    u.Add(-4);
    u.SetSorted(true);
    EXPECT_EQ(u.Items(0), -4);
    EXPECT_EQ(u.Items(3), 9);
    u.SetSorted(false);
    u.Exchange(0, 3);
    EXPECT_EQ(u.Items(0), 9) << "unsorting keeps the order, exchange works";
}

TEST(RegIniFileTest, TheFileIsWrittenInTheChosenEncoding)
{
    struct Case {
        TFcIniFileEncoding encoding;
        QByteArray start;
    } cases[] = {{feDefault, "[Ajanotto]"}, {feUTF8, "\xEF\xBB\xBF[Ajanotto]"}, {feUnicode, QByteArray("\xFF\xFE[\0A\0", 6)}};
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("asetukset.ini"));
        {
            TFcRegIniFile ini(nullptr);
            ini.SetPath(path);
            ini.SetFileEncoding(c.encoding);
            ini.WriteString(QStringLiteral("Ajanotto"), QStringLiteral("Nimi"), QStringLiteral("Ääneslahti"));
        }
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.readAll().startsWith(c.start)) << int(c.encoding);
        // whatever the encoding, the value reads back
        TFcRegIniFile again(nullptr);
        again.SetPath(path);
        EXPECT_EQ(again.ReadString(QStringLiteral("Ajanotto"), QStringLiteral("Nimi"), QString()), QStringLiteral("Ääneslahti"));
    }
}

TEST(IntegerListTest, AnIndexOutsideTheListIsTheListError)
{
    TFcIntegerList list;
    list.Add(4);
    for (const auto& call : std::vector<std::function<void()>>{[&] { list.Items(1); }, [&] { list.SetItem(-1, 3); },
                                                               [&] { list.Exchange(0, 2); }, [&] { list.Move(3, 0); }}) {
        try {
            call();
            FAIL();
        } catch (const EListError& e) {
            EXPECT_TRUE(e.Message().startsWith(QStringLiteral("List index out of bounds ("))) << e.Message().toStdString();
        }
    }
    EXPECT_EQ(list.Items(0), 4) << "unchanged";
}
