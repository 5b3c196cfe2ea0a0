// Drag-to-scroll: with the option on, a press on the data and a drag
// moves the rows with the mouse, as on a touch screen.

#include "components/grid/rDBGrid.h"


void TrDBGrid::DataScrollMove(int Row)
{
    if (!isDataScrolling || Row <= TitleRow() || Row == FDataScrollRow || !IsActive())
        return;
    // Dragging down brings earlier records into view.
    const int delta = FDataScrollRow - Row;
    FDataScrollRow = Row;
    ScrollData(delta);
}
