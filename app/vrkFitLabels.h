#pragma once
// Labels placed while a window is still being built cannot size themselves
// to their texts yet; once it is built they are fitted again.

class TWinControl;

void FitLabels(TWinControl* Root);
