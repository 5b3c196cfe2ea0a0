#pragma once
// The memo that paints highlights over its text (listed words, and ranges
// between a start and an end mark, each with its own colours), draws
// page-break guide lines at given character columns, and brings the edit
// menu with search.

#include "components/base/rMemoHighlights.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

#include <QStringList>

enum TrMemoOption { moAllowSetFont = 1, moAllowWordWrap = 2, moAllowLoadSaveFile = 4 };
using TrMemoOptions = unsigned;

class TrMemoEx : public TMemo {
public:
    explicit TrMemoEx(TComponent* AOwner);
    TrMemoOptions OptionsEx = moAllowSetFont | moAllowLoadSaveFile;
    const QStringList& HighlightWords() const { return FHL.Words; }
    void SetHighlightWords(const QStringList& V);
    bool HighlightWholeWords() const { return FHL.WholeWords; }
    void SetHighlightWholeWords(bool V);
    const QString& HighlightFromStr() const { return FHL.FromStr; }
    void SetHighlightFromStr(const QString& V);
    const QString& HighlightToStr() const { return FHL.ToStr; }
    void SetHighlightToStr(const QString& V);
    TColor HighlightedFontColor() const { return FHL.FontColor; }
    void SetHighlightedFontColor(TColor V);
    TColor HighlightedBrushColor() const { return FHL.BrushColor; }
    void SetHighlightedBrushColor(TColor V);
    const QStringList& HighlightFromToEx() const { return FHL.FromToEx; }
    void SetHighlightFromToEx(const QStringList& V);
    const QString& PageBreaksCharNumber() const { return FHL.PageBreaksCharNumber; }
    void SetPageBreaksCharNumber(const QString& V);
    TPopupMenu* Menu() const { return FMenu; }

    bool SearchText(const QString& Search, bool FromStart, bool IgnoreCase);
    bool SearchNext();
    void CheckProcSelectionChanged();
    void MenuClick(TComponent* Sender);
    void MenuPopup();

    // One highlighted part as painting lays it out (exposed for the tests).
    using TPart = TMemoHighlights::TPart;
    // The parts the highlights give for the lines from FirstLine to LastLine.
    std::vector<TPart> HighlightParts(int FirstLine, int LastLine);
    // The x positions of the page-break guide lines within ClientWidth.
    std::vector<int> PageBreakPositions(TCanvas* Canvas, int ClientWidth) const;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void PaintOverlay(TCanvas* Canvas) override;
    void Change() override;

protected:
    void Loaded() override;

private:
    void Changed();

    TMemoHighlights FHL;
    TPopupMenu* FMenu;
    QString FSearchText;
    bool FSearchIgnoreCase = true;
    int FPrevSelStart = 0, FPrevSelLength = 0;
};
