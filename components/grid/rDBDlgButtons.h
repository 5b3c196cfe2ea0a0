#pragma once
// The button row along the bottom of a dataset dialog: a panel as wide as the
// dialog whose right part keeps the dialog's closing buttons at the right
// edge while the dialog is resized.

#include "components/grid/rDBDlgBaseForm.h"

class TPanel;

struct TDlgBottomRow {
    TPanel* Panel = nullptr;  // the whole row (aligned to the bottom)
    TPanel* Right = nullptr;  // its right end, RightWidth wide
};
TDlgBottomRow AddDlgBottomRow(TrDBDlgBaseForm* Form, int RightWidth);

// A 97 x 25 button at Left in the right end of the row, with its glyph from
// the dialog's lists; a modal result other than mrNone closes the dialog.
TrButton* AddDlgButton(TrDBDlgBaseForm* Form, const TDlgBottomRow& Row, int Left, const QString& Caption, TrDlgGlyph Glyph,
                       int ModalResult);

// Hooks the base form's shown, activated and closed handling to the dialog's
// events and gives it the base's font, remembered place and help (FormCreate);
// called last in a dialog's constructor.
void BindDlgEvents(TrDBDlgBaseForm* Form);
