#pragma once
// The desktop's event sounds for the program's beeps (error reports, refused
// keys, the result board's sounds). Played through the sound theme of the
// desktop; where the computer has no sound device the call is silent and the
// first failure is logged once on stderr, because a missing beep must never
// stop a desk.

#include "platform/os/OsTypes.h"

#include <QString>
#include <functional>

// MessageBeep kinds beside the default sound 0 (MB_OK in platform/ui's
// Dialogs.h, the same value).
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONASTERISK = 0x40;
// The plain speaker beep.
constexpr UINT MB_SIMPLEBEEP = 0xFFFFFFFFu;

// Plays the event sound of a kind; unknown kinds play the default sound.
// Returns true when a sound was handed to the sound system (or to the sink).
bool MessageBeep(UINT uType);
// A tone of a frequency (Hz) and a length (ms). The desktop has no tone
// generator, so this plays the bell sound whatever the tone.
bool Beep(DWORD dwFreq, DWORD dwDuration);

// The desktop sound name a MessageBeep kind plays ("bell", "dialog-error" ...).
QString SoundEventId(UINT uType);

// Tests and tools replace the sound system with a sink that records each
// event sound name; an empty sink restores the sound system.
using TSoundSink = std::function<void(const QString& EventId)>;
void SetSoundSink(TSoundSink Sink);
