#pragma once
// What the grid library's savers keep of this library's controls: the
// record view's fonts and lists (with the grid saver) and the data-aware
// memos' font and stored lines (with the library controls' saver). Each
// control registers its part when the first one is made.

class TPropSaveFile;
class TrDBRecView;
class TrDBMemo;
class QString;

void RegisterRecViewSaverPart();
void RegisterDBMemoSaverPart();

// Fonts to Key + ".ColFont" and ".SpecFont" (with the view's scale), the
// Fields, SpecFields and PickLists lists to ".Fields", ".SpecFields" and
// ".PickList"; reading rebuilds the rows and repaints the view.
void SaveRecView(TPropSaveFile* F, const QString& Key, TrDBRecView* V);
void ReadRecView(TPropSaveFile* F, const QString& Key, TrDBRecView* V);
