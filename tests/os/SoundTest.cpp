#include "platform/os/Sound.h"

#include <QStringList>
#include <gtest/gtest.h>

TEST(Sound, KindsPlayTheirDesktopSoundsThroughTheSink)
{
    QStringList played;
    SetSoundSink([&](const QString& id) { played << id; });
    for (UINT kind : {0u, MB_ICONASTERISK, MB_ICONEXCLAMATION, MB_ICONHAND, 0x20u, 0x99u})
        EXPECT_TRUE(MessageBeep(kind));
    EXPECT_TRUE(Beep(750, 300));
    SetSoundSink(nullptr);
    EXPECT_EQ(played, QStringList({"bell", "dialog-information", "dialog-warning", "dialog-error", "dialog-question",
                                   "bell", "bell"}));
}

// Without a sound device (as on the test machines) a beep is silent, and
// repeated beeps neither raise nor hang.
TEST(Sound, WithoutASinkABeepNeverRaises)
{
    for (int i = 0; i < 3; ++i)
        EXPECT_NO_THROW(MessageBeep(MB_ICONEXCLAMATION));
}
