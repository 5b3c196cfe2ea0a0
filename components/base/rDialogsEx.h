#pragma once
// The library's file dialogs, which all take their options from the library
// configuration and pass through its one initialisation hook, and the font
// dialog routine.

#include "platform/ui/CommonDialogs.h"

class TrOpenDialog : public TOpenDialog {
public:
    explicit TrOpenDialog(TComponent* AOwner);
};

class TrSaveDialog : public TSaveDialog {
public:
    explicit TrSaveDialog(TComponent* AOwner);
};

// Edits Font in the font dialog; false (Font unchanged) when cancelled.
bool ShowSelectFontDialog(TFont* Font);
