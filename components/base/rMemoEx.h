#pragma once
// The memo that paints highlights over its text (listed words, and ranges
// between a start and an end mark, each with its own colours), draws
// page-break guide lines at given character columns, and brings the edit
// menu with search.

#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

#include <QStringList>

enum TrMemoOption { moAllowSetFont = 1, moAllowWordWrap = 2, moAllowLoadSaveFile = 4 };
using TrMemoOptions = unsigned;

class TrMemoEx : public TMemo {
public:
    explicit TrMemoEx(TComponent* AOwner);
    TrMemoOptions OptionsEx = moAllowSetFont | moAllowLoadSaveFile;
    const QStringList& HighlightWords() const { return FHighlightWords; }
    void SetHighlightWords(const QStringList& V);
    bool HighlightWholeWords() const { return FHighlightWholeWords; }
    void SetHighlightWholeWords(bool V);
    const QString& HighlightFromStr() const { return FHighlightFromStr; }
    void SetHighlightFromStr(const QString& V);
    const QString& HighlightToStr() const { return FHighlightToStr; }
    void SetHighlightToStr(const QString& V);
    TColor HighlightedFontColor() const { return FHighlightedFontColor; }
    void SetHighlightedFontColor(TColor V);
    TColor HighlightedBrushColor() const { return FHighlightedBrushColor; }
    void SetHighlightedBrushColor(TColor V);
    const QStringList& HighlightFromToEx() const { return FHighlightFromToEx; }
    void SetHighlightFromToEx(const QStringList& V);
    const QString& PageBreaksCharNumber() const { return FPageBreaksCharNumber; }
    void SetPageBreaksCharNumber(const QString& V);
    TPopupMenu* Menu() const { return FMenu; }

    bool SearchText(const QString& Search, bool FromStart, bool IgnoreCase);
    bool SearchNext();
    void CheckProcSelectionChanged();
    void MenuClick(TComponent* Sender);
    void MenuPopup();

    // One highlighted part as painting lays it out (exposed for the tests).
    struct TPart {
        int CharIndex;
        QString Text;
        TColor FontColor;
        TColor BrushColor;  // clNone: transparent
    };
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

protected:
    void Loaded() override;

private:
    struct TLine {
        int Start;
        QString Text;
        QString Upper;
    };
    void AddRanges(const std::vector<TLine>& Lines, QString From, QString To, TColor Font, TColor Brush,
                   std::vector<TPart>& Parts) const;
    void AddPart(std::vector<TPart>& Parts, int CharIndex, const QString& Text, TColor Font, TColor Brush) const;
    TColor FontColorOf(const QString& Field) const;
    TColor BrushColorOf(const QString& Field) const;
    void Changed();

    QStringList FHighlightWords;
    bool FHighlightWholeWords = false;
    QString FHighlightFromStr, FHighlightToStr;
    TColor FHighlightedFontColor = clWindowText;
    TColor FHighlightedBrushColor = 0xC0DCC0;
    QStringList FHighlightFromToEx;
    QString FPageBreaksCharNumber;
    TPopupMenu* FMenu;
    QString FSearchText;
    bool FSearchIgnoreCase = true;
    int FPrevSelStart = 0, FPrevSelLength = 0;
};
