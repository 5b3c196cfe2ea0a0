#pragma once
// Lets a combo box see the keys typed into its edit field (KeyDown and
// KeyPress of the combo run before the field takes the key), for combo
// boxes that complete or filter what is typed.

#include <QString>

class TComboBox;

// Call again after the style changed (a new edit field is made then).
void RouteEditKeysToCombo(TComboBox* Combo);
// During KeyPress: the rest of the typed text after the character handed
// over (the low half of a surrogate pair), empty otherwise.
QString PendingKeyText();
