#pragma once
// MessageBeep: the desktop's event sounds. The kinds are those of the message
// boxes: 0 the default sound, MB_ICONASTERISK information, MB_ICONEXCLAMATION
// warning, MB_ICONHAND error. The sound is played by the desktop's sound
// theme player when the machine has one; otherwise nothing is heard.
//
// Tests set a sink and see which sounds were asked for, not the speaker.

#include <functional>

constexpr unsigned MB_ICONHAND = 0x10;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONASTERISK = 0x40;

// Never raises; returns true as the system call did.
bool MessageBeep(unsigned uType);

using TSoundSink = std::function<void(unsigned uType)>;
// Sets the sink that receives every MessageBeep and returns the previous one;
// an empty sink plays the sounds.
TSoundSink SetSoundSink(TSoundSink Sink);
