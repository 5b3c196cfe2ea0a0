#pragma once
// A rich text editor: character formats of the selection (font, size,
// colour, styles), paragraph formats (alignment, indents, numbering), its
// content as RTF text (our own reader and writer of the common RTF subset),
// text search, and drawing the content into any canvas.
//
// Indents are pixels at 96 dpi (15 twips each): LeftIndent is where the
// paragraph's lines start, FirstIndent where its first line starts.

#include "platform/ui/Controls.h"
#include "platform/ui/StdCtrls.h"

#include <QString>
#include <QStringList>

enum TNumberingStyle { nsNone, nsBullet, nsArabic, nsLowerLetter };

class TRichEdit : public TWinControl {
public:
    explicit TRichEdit(TComponent* AOwner);
    ~TRichEdit() override;

    // ---- content ----
    QString Text() const;
    void SetText(const QString& Value) override;
    QStringList Lines() const;
    QString RtfText() const;
    // Reads RTF ("{\rtf" at the start) or, otherwise, plain text.
    void SetRtfText(const QString& Value);
    void Clear() { SetText(QString()); }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    // Web links show as links and a click opens them (OnLinkClick).
    bool AutoURLDetect() const { return FAutoURLDetect; }
    void SetAutoURLDetect(bool Value);
    std::function<void(TComponent* Sender, const QString& Url)> OnLinkClick;

    // ---- selection (0-based character positions, a paragraph break is one) ----
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    QString SelText() const;
    void SetSelText(const QString& Value);
    void SelectAll();
    int TextLength() const;

    // ---- character format of the selection (at the caret when none) ----
    QString SelFontName() const;
    void SetSelFontName(const QString& Value);
    int SelFontSize() const;  // points
    void SetSelFontSize(int Value);
    TColor SelColor() const;
    void SetSelColor(TColor Value);
    TFontStyles SelStyle() const;
    void SetSelStyle(TFontStyles Value);
    void SetSelFont(const TFont& Font);
    void GetSelFont(TFont& Font) const;

    // ---- paragraph format of the caret's paragraph (the selection's when setting) ----
    TAlignment ParaAlignment() const;
    void SetParaAlignment(TAlignment Value);
    int ParaLeftIndent() const;
    void SetParaLeftIndent(int Value);
    int ParaFirstIndent() const;
    void SetParaFirstIndent(int Value);
    int ParaRightIndent() const;
    void SetParaRightIndent(int Value);
    TNumberingStyle ParaNumbering() const;
    void SetParaNumbering(TNumberingStyle Value);

    // ---- commands ----
    // The first match at or after StartPos within Length characters; -1 when none.
    int FindText(const QString& SearchStr, int StartPos, int Length, bool MatchCase) const;
    bool CanUndo() const;
    void Undo();
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    bool Modified = false;
    TNotifyEvent OnChange;
    TNotifyEvent OnSelectionChange;

    // ---- drawing into a canvas ----
    // The content's height in pixels when laid out Width pixels wide.
    int ContentHeight(int Width) const;
    // Draws the content laid out Rect's width into Rect, shifted up and left by the offsets.
    void RenderTo(TCanvas* Canvas, const TRect& Rect, int OffsetX, int OffsetY) const;

protected:
    QWidget* CreateWidget() override;

private:
    class TRichDocument;
    TRichDocument* FDoc;
    bool FReadOnly = false;
    bool FWordWrap = true;
    bool FAutoURLDetect = false;
    TScrollStyle FScrollBars = ssBoth;
    bool FSettingText = false;
};
