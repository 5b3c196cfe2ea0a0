#pragma once
// The glyphs of the main window's tool buttons: one 24 x 24 picture per
// command, drawn once at start-up.

class TComponent;
class TImageList;

enum TMainGlyph {
    mgEdit, mgNew, mgDelete, mgTest, mgRefresh, mgPrint, mgMerge, mgToResult,
    mgStart, mgStop, mgReady, mgCourseEdit, mgCourseNew, mgDevicesRefresh, mgDevices, mgBoard,
    mgCollapse, mgExpand, mgSettings, mgCount
};

TImageList* MakeMainGlyphs(TComponent* Owner);
