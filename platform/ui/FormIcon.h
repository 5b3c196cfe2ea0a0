#pragma once
// The picture in a window's title bar, chosen by the program per window.

class TCustomForm;
class TBitmap;

// Shows Icon in the form's title bar; nil or an empty bitmap gives the program's own again.
void SetFormIcon(TCustomForm* Form, const TBitmap* Icon);
// The icon the form was given (an empty bitmap when none).
void GetFormIcon(const TCustomForm* Form, TBitmap* Icon);
