#pragma once
// A pair of scroll bars along the right and bottom edges of a self-painted
// control. The control sets ranges, thumbs (page sizes) and positions; the
// user's moves come back through OnScroll. A page move may be given its own
// size, apart from the thumb's.

#include "platform/ui/Controls.h"

#include <functional>
#include <memory>

class TControlScrollBars {
public:
    explicit TControlScrollBars(TWinControl* Control);
    ~TControlScrollBars();
    static constexpr int Extent = 16;

    // Creates the bars on the control's widget (call from its CreateWidget).
    void Attach();
    bool Attached() const;
    void SetShown(bool Value);
    bool Shown() const;
    // Range Min..Max for the thumb's position, a thumb Page long, at Pos.
    void Set(bool Horizontal, int Min, int Max, int Page, int Pos);
    int Position(bool Horizontal) const;
    int Maximum(bool Horizontal) const;
    // Moves a bar as the user would (the result is clamped; OnScroll follows).
    void SetPosition(bool Horizontal, int Pos);
    // Lays the bars along the control's edges (call when its size changes).
    void Place();
    std::function<void(bool Horizontal, int Pos)> OnScroll;
    // The size of a page move (nullptr: the thumb's size).
    std::function<int(bool Horizontal)> PageStep;

private:
    struct Bars;
    TWinControl* FControl;
    std::unique_ptr<Bars> FBars;
    bool FSetting = false;
};
