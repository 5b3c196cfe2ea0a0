#pragma once
// The horizontal alignment of a single-line edit's text.

#include "platform/ui/Controls.h"

class TCustomEdit;

void SetEditAlignment(TCustomEdit* Edit, TAlignment Alignment);
