#pragma once
// Lets the window manager resize a form from its bottom-right corner, as a
// press on a size grip does.

class TCustomForm;

// Returns false when the platform cannot start it (no window yet, or offscreen).
bool StartWindowSizingFromCorner(TCustomForm* Form);
