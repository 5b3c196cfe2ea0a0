#pragma once
// The rich text editor with its formatting menu (font styles, sizes, colours,
// alignment, indents, bullets), optional clickable web links, search, its
// content as RTF text, and drawing of its content into any canvas (reports
// and the grids' RTF cells).

#include "platform/ui/Menus.h"
#include "platform/ui/RichEdit.h"

class TrRichEdit : public TRichEdit {
public:
    explicit TrRichEdit(TComponent* AOwner);
    TPopupMenu* Menu() const { return FMenu; }
    bool SupportURLLink() const { return FSupportURLLink; }
    void SetSupportURLLink(bool V);

    void SwitchFontStyle(TFontStyles Style);
    bool IncreaseFontSize(int Step);
    bool DecreaseFontSize(int Step);
    bool SelectFont();
    bool IncreaseIndent(int Step);
    bool DecreaseIndent(int Step);
    int NumberingEx() const;
    void SetNumberingEx(int N);
    bool SwitchBulletPoints();
    bool SwitchBulletNumbers();
    bool SwitchBulletLetters();
    QString GetRtfText() const;
    void SetRtfText(const QString& S);
    void AddSelectText(const QString& Text);
    void InsertSelectText(const QString& Text, bool ReplaceSelected, bool BeforeSelected);
    bool SearchText(const QString& Search, bool FromStart, bool IgnoreCase);
    bool SearchNext();
    void DrawToCanvas(const TRect& Rect, int OffsetX, int OffsetY, TCanvas* Canvas, bool ShowEllipsis);
    void CalculateTextHeight(TRect& Rect);

    // The menu's click handler, by the item's tag.
    void MenuClick(TComponent* Sender);
    // Enables the menu's items for the moment it opens.
    void MenuPopup();
    void KeyDown(Word& Key, TShiftState Shift) override;

private:
    bool SwitchNumbering(int N);
    TPopupMenu* FMenu;
    bool FSupportURLLink = false;
    QString FSearchText;
    bool FSearchIgnoreCase = true;
};
