#pragma once
// The result and master-data windows' captioned boxes: a framed group with
// no choices of its own, its bold caption on a line across the top, the
// window showing through, the controls inside placed freely.

#include <QString>

class TComponent;
class TFcCustomRadioGroup;
class TFcRadioGroup;
class TWinControl;

TFcRadioGroup* MakeCaptionBox(TComponent* Owner, TWinControl* Parent, const QString& Name, const QString& Caption, int X,
                              int Y, int W, int H);
// The same look for a group that holds choices.
void StyleCaptionBox(TFcCustomRadioGroup* Box);
