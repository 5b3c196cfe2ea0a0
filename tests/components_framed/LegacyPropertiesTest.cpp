// Settings older versions of the controls stored under other names: each
// control maps them onto what it publishes now, or reads and ignores them;
// names it does not know are left to others. Also the check list's per-item
// lists kept beside its strings.
#include "components/framed/FcButton.h"
#include "components/framed/FcChkLst.h"
#include "components/framed/FcCmboBx.h"
#include "components/framed/FcEdit.h"
#include "components/framed/FcFrameController.h"
#include "components/framed/FcLabel.h"
#include "components/framed/FcLegacyProps.h"
#include "components/framed/FcRadChk.h"
#include "components/framed/FcRadGrp.h"
#include "components/framed/FcToolButton.h"
#include "platform/ui/ImgList.h"

#include <gtest/gtest.h>

TEST(LegacyPropertiesTest, FrameSettingsOfEditsCombosListsAndTheController)
{
    TFcEdit edit(nullptr);
    EXPECT_TRUE(edit.ReadLegacyProperty(QStringLiteral("FrameFlat"), QStringLiteral("True")));
    EXPECT_TRUE(edit.FrameHotTrack());
    EXPECT_EQ(edit.FrameStyle(), fsStatus);
    EXPECT_EQ(edit.FrameHotStyle(), fsLowered);
    EXPECT_TRUE(edit.ReadLegacyProperty(QStringLiteral("FrameFocusStyle"), QStringLiteral("fsRaised")));
    EXPECT_EQ(edit.FrameHotStyle(), fsRaised);
    EXPECT_TRUE(edit.ReadLegacyProperty(QStringLiteral("FrameFlatStyle"), QStringLiteral("fsGroove")));
    EXPECT_EQ(edit.FrameStyle(), fsStatus) << "read and ignored";
    EXPECT_FALSE(edit.ReadLegacyProperty(QStringLiteral("Flat"), QStringLiteral("True")));
    // a frame style out of the range is refused by every frame style setter
    edit.SetFrameStyle(fsFlatRounded);
    EXPECT_EQ(edit.FrameStyle(), fsStatus);

    TFcComboBox combo(nullptr);
    EXPECT_TRUE(combo.ReadLegacyProperty(QStringLiteral("FrameFlat"), QStringLiteral("False")));
    EXPECT_FALSE(combo.FrameHotTrack());
    EXPECT_EQ(combo.FrameStyle(), fsFlat) << "False keeps the frame";
    EXPECT_TRUE(combo.ReadLegacyProperty(QStringLiteral("FrameFocusStyle"), QStringLiteral("fsNotAStyle")));
    EXPECT_EQ(combo.FrameHotStyle(), fsFlatBold) << "an unknown identifier changes nothing";

    TFcListBox list(nullptr);
    EXPECT_TRUE(list.ReadLegacyProperty(QStringLiteral("HorzExtent"), QStringLiteral("300")));
    EXPECT_TRUE(list.ReadLegacyProperty(QStringLiteral("FrameFocusStyle"), QStringLiteral("fsBump")));
    EXPECT_EQ(list.FrameHotStyle(), fsBump);

    TFcFrameController controller(nullptr);
    EXPECT_TRUE(controller.ReadLegacyProperty(QStringLiteral("FrameFocusStyle"), QStringLiteral("fsPopup")));
    EXPECT_EQ(controller.FrameHotStyle(), fsPopup);
    controller.SetFrameHotStyle(fsFlatRounded);
    EXPECT_EQ(controller.FrameHotStyle(), fsPopup);
}

TEST(LegacyPropertiesTest, HotTrackingGradientsAndIgnoredNames)
{
    TFcButton button(nullptr);
    EXPECT_TRUE(button.ReadLegacyProperty(QStringLiteral("FrameFlat"), QStringLiteral("True")));
    EXPECT_TRUE(button.HotTrack());
    EXPECT_FALSE(button.ReadLegacyProperty(QStringLiteral("Flat"), QStringLiteral("True")));
    TFcCheckBox check(nullptr);
    EXPECT_TRUE(check.ReadLegacyProperty(QStringLiteral("Flat"), QStringLiteral("True")));
    EXPECT_TRUE(check.HotTrack());
    TFcRadioGroup group(nullptr);
    EXPECT_TRUE(group.ReadLegacyProperty(QStringLiteral("Flat"), QStringLiteral("True")));
    EXPECT_TRUE(group.ItemHotTrack());
    EXPECT_TRUE(group.ReadLegacyProperty(QStringLiteral("UseGradients"), QStringLiteral("True")));
    EXPECT_EQ(group.VisualStyle(), vsGradient);
    EXPECT_TRUE(group.ReadLegacyProperty(QStringLiteral("ThemeAware"), QStringLiteral("False")));
    TFcLabel label(nullptr);
    EXPECT_TRUE(label.ReadLegacyProperty(QStringLiteral("FrameSides"), QStringLiteral("[sdLeft, sdTop]")));
    EXPECT_FALSE(label.ReadLegacyProperty(QStringLiteral("Caption"), QStringLiteral("x")));

    TFcToolButton tool(nullptr);
    struct Case {
        const char* name;
        const char* value;
        TColor TFcToolButton::*field;
        TColor expected;
    } cases[] = {{"GradientColorStart", "clWhite", &TFcToolButton::SelectionColorStart, clWhite},
                 {"GradientColorStop", "$00FF0000", &TFcToolButton::SelectionColorStop, TColor(0xFF0000)},
                 {"FrameColor", "255", &TFcToolButton::SelectionFrameColor, TColor(255)}};
    for (const Case& c : cases) {
        EXPECT_TRUE(tool.ReadLegacyProperty(QLatin1String(c.name), QLatin1String(c.value))) << c.name;
        EXPECT_EQ(tool.*c.field, c.expected) << c.name;
    }
    EXPECT_TRUE(tool.ReadLegacyProperty(QStringLiteral("UseGradients"), QStringLiteral("True")));
    EXPECT_EQ(tool.VisualStyle(), vsGradient);
}

TEST(LegacyPropertiesTest, CheckListItemListsBesideTheStrings)
{
    TFcCheckList list(nullptr);
    EXPECT_TRUE(list.StoredItemProperties().isEmpty()) << "nothing without items";
    list.AddEx(QStringLiteral("Uusi"), true, true, 2, 5);
    list.AddEx(QStringLiteral("Poista"), false, false);
    EXPECT_EQ(list.StoredItemProperties(),
              QStringList({QStringLiteral("ItemEnabled = (True False)"), QStringLiteral("ItemState = (1 0)")}));
    TImageList images(nullptr);
    list.SetImages(&images);
    const QStringList stored = list.StoredItemProperties();
    ASSERT_EQ(stored.size(), 4);
    EXPECT_EQ(stored[2], QStringLiteral("ItemImageIndex = (2 -1)"));
    EXPECT_EQ(stored[3], QStringLiteral("ItemDisabledIndex = (5 -1)"));
    // read back onto fresh items in item order
    TFcCheckList other(nullptr);
    other.AddEx(QStringLiteral("Uusi"), false, true);
    other.AddEx(QStringLiteral("Poista"), false, true);
    for (const QString& line : stored) {
        const int eq = int(line.indexOf(QLatin1String(" = ")));
        EXPECT_TRUE(other.ReadItemProperty(line.left(eq), line.mid(eq + 3))) << line.toStdString();
    }
    EXPECT_TRUE(other.GetItemChecked(0));
    EXPECT_FALSE(other.GetItemEnabled(1));
    EXPECT_EQ(other.GetItemImageIndex(0), 2);
    EXPECT_EQ(other.GetItemDisabledIndex(0), 5);
    EXPECT_FALSE(other.ReadItemProperty(QStringLiteral("Items"), QStringLiteral("()")));
    list.SetImages(nullptr);
}

TEST(LegacyPropertiesTest, DiscardingReadersKnowTheirKinds)
{
    struct Case {
        bool (*read)(const QString&);
        const char* value;
        bool ofKind;
    } cases[] = {{&TFcOldPropReader::ReadOldBooleanProp, "True", true},
                 {&TFcOldPropReader::ReadOldBooleanProp, "1", false},
                 {&TFcOldPropReader::ReadOldEnumProp, "fsLowered", true},
                 {&TFcOldPropReader::ReadOldIdentProp, "12ab", false},
                 {&TFcOldPropReader::ReadOldIntegerProp, "$00FF", true},
                 {&TFcOldPropReader::ReadOldIntegerProp, "-12", true},
                 {&TFcOldPropReader::ReadOldIntegerProp, "x", false},
                 {&TFcOldPropReader::ReadOldSetProp, "[sdLeft, sdTop]", true},
                 {&TFcOldPropReader::ReadOldSetProp, "[]", true},
                 {&TFcOldPropReader::ReadOldSetProp, "sdLeft", false},
                 {&TFcOldPropReader::ReadOldStringProp, "'Lähtö'", true},
                 {&TFcOldPropReader::ReadOldStringProp, "Lähtö", false}};
    for (const Case& c : cases)
        EXPECT_EQ(c.read(QString::fromUtf8(c.value)), c.ofKind) << c.value;
    EXPECT_TRUE(TFcOldPropReader::WriteOldProp().isEmpty());
}
