#pragma once
// Two settings of a combo box's drop-down list: its items drawn through the
// box's DrawItem also in the editable styles (a box that keeps its edit field
// but shows columns in its list), and an update bracket in which item changes
// reach the list once, at the end.

class TComboBox;

void SetComboListOwnerDrawn(TComboBox* Combo, bool Value);
// True for the owner-drawn styles and for a list set to be owner-drawn.
bool ComboListOwnerDrawn(const TComboBox* Combo);
void BeginComboUpdate(TComboBox* Combo);
void EndComboUpdate(TComboBox* Combo);
