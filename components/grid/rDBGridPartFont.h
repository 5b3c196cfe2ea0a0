#pragma once
// A part of the grid drawn in a font of its own (the title line, the fixed
// column): the font follows the grid's while ParentFont is set.

#include "platform/ui/Graphics.h"

class TrDBGrid;

class TGridPartFont {
public:
    explicit TGridPartFont(TrDBGrid* Grid) : FGrid(Grid) {}
    virtual ~TGridPartFont() = default;
    const TFont& Font() const { return FFont; }
    // Changing the font clears ParentFont.
    void SetFont(const TFont& V);
    bool ParentFont() const { return FParentFont; }
    // Setting it takes the grid's font in and repaints.
    void SetParentFont(bool V);

protected:
    // Lays out or repaints after a change of the part.
    virtual void Changed() = 0;
    TrDBGrid* FGrid;
    TFont FFont;
    bool FParentFont = true;
};
