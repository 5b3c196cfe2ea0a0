#pragma once
// The data-aware memo for notes written in a markup (RTF control words or
// HTML tags): commands that wrap the selection or insert marks, words and
// ranges highlighted over the text, page-break lines at given character
// columns, a format button and an edit-in-window button above its top
// right corner and a mini-HTML caption label there.

#include "components/base/rMemoHighlights.h"
#include "components/dbcontrols/TBoundLabel.h"
#include "components/dbcontrols/TBoundSpeedButton.h"
#include "components/dbcontrols/TrDBMemo.h"

#include <exception>

enum TFormatType { ftRTF, ftHTML };

class TrDBMemoEx : public TrDBMemo {
public:
    explicit TrDBMemoEx(TComponent* AOwner);

    // ---- highlights ----
    // "WORD", optionally TAB font colour TAB brush colour.
    const QStringList& HighlightWords() const { return FHL.Words; }
    void SetHighlightWords(const QStringList& V) { FHL.Words = V; Invalidate(); }
    bool HighlightWholeWords() const { return FHL.WholeWords; }
    void SetHighlightWholeWords(bool V) { FHL.WholeWords = V; Invalidate(); }
    const QString& HighlightFromStr() const { return FHL.FromStr; }
    void SetHighlightFromStr(const QString& V) { FHL.FromStr = V; Invalidate(); }
    const QString& HighlightToStr() const { return FHL.ToStr; }
    void SetHighlightToStr(const QString& V) { FHL.ToStr = V; Invalidate(); }
    TColor HighlightedFontColor() const { return FHL.FontColor; }
    void SetHighlightedFontColor(TColor V) { FHL.FontColor = V; Invalidate(); }
    TColor HighlightedBrushColor() const { return FHL.BrushColor; }
    void SetHighlightedBrushColor(TColor V) { FHL.BrushColor = V; Invalidate(); }
    // "FROM TAB TO TAB font colour TAB brush colour".
    const QStringList& HighlightFromToEx() const { return FHL.FromToEx; }
    void SetHighlightFromToEx(const QStringList& V) { FHL.FromToEx = V; Invalidate(); }
    const QString& PageBreaksCharNumber() const { return FHL.PageBreaksCharNumber; }
    void SetPageBreaksCharNumber(const QString& V) { FHL.PageBreaksCharNumber = V; Invalidate(); }
    const TMemoHighlights& Highlights() const { return FHL; }

    // ---- buttons, label, markup ----
    TBoundSpeedButton* ButtonFrm() const { return FButtonFrm; }
    TBoundSpeedButton* ButtonEdit() const { return FButtonEdit; }
    bool ShowButtonFrm() const { return FShowButtonFrm; }
    void SetShowButtonFrm(bool V);
    bool ShowButtonEdit() const { return FShowButtonEdit; }
    void SetShowButtonEdit(bool V);
    TBoundLabel* BoundLabel() const { return FBoundLabel; }
    TFormatType FormatType = ftRTF;
    // Escape closes the owning form (the memo of the edit window).
    bool CloseOnCancel = false;
    // Kept for the settings saver; the memo itself does not use it.
    QStringList StoredLines;
    TPopupMenu* FormatPopupMenu() const { return FFormatPopupMenu; }

    void FormatBold() { FormatInt(1); }
    void FormatItalic() { FormatInt(2); }
    void FormatUnderline() { FormatInt(3); }
    void FormatHTMLUnnumberedList() { FormatInt(11); }
    void FormatHTMLNumberedList() { FormatInt(12); }
    void FormatNewPage() { FormatInt(21); }
    void FormatHTMLNewLine() { FormatInt(22); }
    void FormatHTMLNewLinesAuto() { FormatInt(23); }
    void FormatHTMLHorLine() { FormatInt(24); }
    void FormatHTMLLink() { FormatInt(31); }
    void FormatClear() { FormatInt(99); }
    // One markup command by its menu tag; nothing unless the dataset edits.
    virtual void FormatInt(int Tag);
    virtual void ButtonClick(TComponent* Sender);
    // The memo's text in a window of its own, with the same settings.
    void ShowEditWin();
    void CreateFormatPopupMenu();
    // Places the buttons over the top right corner and the label beside them.
    void PlaceButtons();

    void SetParent(TWinControl* AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void PaintOverlay(TCanvas* Canvas) override;
    void UpdateState(TComponent* Sender) override;

protected:
    void Loaded() override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void ChangeScale(int M, int D) override;

private:
    void LoadGlyphs();
    // Tells why the window does not open, the focus back in the memo.
    void RefuseEditWin(const std::exception& E);
    TBoundSpeedButton* MakeButton(const char* Name, const char* GlyphName, const QString& Hint, const QString& DesignCaption);
    void Wrap(const QString& Opener, const QString& Closer);
    void WrapList(const QString& Opener);
    void InsertAtCaret(const QString& Text);
    void EndAllLines();
    void ClearFormats();
    void RefreshButtons();
    TMemoHighlights FHL;
    TBoundSpeedButton* FButtonFrm;
    TBoundSpeedButton* FButtonEdit;
    TBoundLabel* FBoundLabel;
    TPopupMenu* FFormatPopupMenu = nullptr;
    bool FShowButtonFrm = false;
    bool FShowButtonEdit = true;
};
