#pragma once
// The library's data-aware memo: the platform's memo with the shared
// companions (caption label, read-only colour, visibility from the field,
// exit hook), a text search that ignores case in any alphabet, and loading
// and saving its text from and to files without losing the text on errors.

#include "components/dbcontrols/TrDBFieldControl.h"
#include "platform/ui/DBCtrls.h"

class TPopupMenu;

enum TDBMemoOption { moAllowSetFont, moAllowWordWrap, moAllowLoadSaveFile };
using TDBMemoOptions = unsigned;
constexpr TDBMemoOptions MemoOpt(TDBMemoOption O) { return 1u << unsigned(O); }

class TrDBMemo : public TrDBFieldControl<TDBMemo> {
public:
    explicit TrDBMemo(TComponent* AOwner);
    TDBMemoOptions OptionsEx = MemoOpt(moAllowSetFont) | MemoOpt(moAllowLoadSaveFile);
    TPopupMenu* SearchMenu() const { return FPopupMenu; }

    // Finds Search (asked for when empty) from the start or after the
    // selection, selects the match; "Not found" otherwise.
    bool SearchText(const QString& Search, bool FromStart, bool IgnoreCase);
    bool SearchNext();
    const QString& LastSearchText() const { return FSearchText; }
    // Reads or writes the text; a file error is shown and changes nothing.
    bool LoadFromFile(const QString& FileName);
    bool SaveToFile(const QString& FileName);
    void PopupMenuOpen();
    void PopupMenuClick(int Tag);
    // The product of all scale changes (1.0 at 96 dots per inch).
    double ScaleRatio() const { return FScaleRatio; }

protected:
    void ChangeScale(int M, int D) override;
    double FScaleRatio = 1.0;

private:
    void BuildMenu();
    TPopupMenu* FPopupMenu = nullptr;
    QString FSearchText;
    bool FSearchIgnoreCase = true;
};
