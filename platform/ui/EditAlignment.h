#pragma once
// The horizontal alignment of a single-line edit's text, and room kept free
// at its right for a button inside it.

#include "platform/ui/Controls.h"

class TCustomEdit;

void SetEditAlignment(TCustomEdit* Edit, TAlignment Alignment);
void SetEditRightMargin(TCustomEdit* Edit, int Pixels);
