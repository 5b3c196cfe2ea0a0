#pragma once
// The small pictures of the finish and check-in dialogs: the status marks
// (a coloured round sign) and the card-register mark, the card drawn in the
// person grid's picture column for a person known only from the card
// register (not a person of the series).

#include "platform/ui/DBGrids.h"

#include <QString>

class TBitmap;
class TImage;
class TrDBGrid;
class TWinControl;

// A hidden 22 x 22 picture of a round sign in Color, placed on Parent.
TImage* StatusPicture(TComponent* Owner, TWinControl* Parent, int Left, int Top, TColor Color, const QString& Sign);

// The picture (made once, kept for the program's life).
TBitmap* CardRegisterBitmap();
// The picture column: first, blank title, on the field CHIP_TYPE.
void AddCardRegisterColumn(TrDBGrid* Grid);
// Draws the picture column's cell of the current row over what the grid drew
// there (AddCardRegisterColumn hooks it to the grid); false when Column is
// not the picture column.
bool DrawCardRegisterCell(TrDBGrid* Grid, const TRect& Rect, TColumn* Column, TGridDrawState State);
