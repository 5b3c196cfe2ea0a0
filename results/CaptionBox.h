#pragma once
// The result and master-data windows' captioned boxes: a framed group with
// no choices of its own, its bold caption on a line across the top, the
// window showing through, the controls inside placed freely.

#include <QString>

class TComponent;
class TFcCustomRadioGroup;
class TFcLabel;
class TFcRadioGroup;
class TWinControl;

TFcRadioGroup* MakeCaptionBox(TComponent* Owner, TWinControl* Parent, const QString& Name, const QString& Caption, int X,
                              int Y, int W, int H);
// The same look for a group that holds choices.
void StyleCaptionBox(TFcCustomRadioGroup* Box);
// A field's caption on a framed label W wide, its text ending at the right
// edge, next to the field it names.
TFcLabel* MakeFieldCaption(TComponent* Owner, TWinControl* Parent, const QString& Caption, int X, int Y, int W);
