#pragma once
// The glyphs of the main window's tool buttons: one 24 x 24 picture per
// command, drawn once at start-up, and after them the same pictures greyed
// for disabled buttons.

class TComponent;
class TImageList;

enum TMainGlyph {
    mgEdit, mgNew, mgDelete, mgTest, mgRefresh, mgPrint, mgMerge, mgToResult,
    mgStart, mgStop, mgReady, mgCourseEdit, mgCourseNew, mgDevicesRefresh, mgDevices, mgBoard,
    mgCollapse, mgExpand, mgSettings, mgCount
};

TImageList* MakeMainGlyphs(TComponent* Owner);
// The greyed picture of a glyph in the list MakeMainGlyphs made.
constexpr int DisabledGlyph(TMainGlyph Glyph)
{
    return mgCount + int(Glyph);
}
