#pragma once
// The standard controls: label, edit, memo, buttons, check box, radio button,
// combo box, list box (ListBoxes.h) and group box. Buttons, check boxes, radio
// buttons, labels, group boxes and list boxes draw themselves with the element
// painter; edits, memos and combo boxes use Qt's own widgets in the fixed look.

#include "platform/ui/Controls.h"
#include "platform/ui/ListBoxes.h"
#include "platform/ui/Themes.h"

#include <QStringList>
#include <vector>

class QPainter;

class TCustomImageList;

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);
    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    TWinControl* FocusControl = nullptr;
    bool EllipsisPosition = false;  // end ellipsis when the text does not fit

protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;
    // The text to draw (the caption unless a derived label prepares another).
    virtual QString GetLabelText();
    // Draws or (with DT_CALCRECT) measures the text into Rect.
    virtual void DoDrawText(TRect& Rect, unsigned Flags);
    // Sizes the label to its text when AutoSize is on.
    virtual void AdjustBounds();
    bool FAutoSize = true;
    bool FWordWrap = false;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FShowAccelChar = true;
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    void SetText(const QString& Value) override;
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    QChar PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(QChar Value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value) { FCharCase = Value; }
    QString TextHint() const { return FTextHint; }
    void SetTextHint(const QString& Value);
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    QString SelText() const;
    void SelectAll();
    // Entering the field with the keyboard selects its whole text (on by default).
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    void DoEnter() override;
    void Clear() { SetText(QString()); }
    // The clipboard's text replaces the selection, as Ctrl+V does (EditClipboard.cpp).
    void PasteFromClipboard();
    bool Modified = false;
    TNotifyEvent OnChange;
    virtual void Change();

protected:
    QWidget* CreateWidget() override;
    void CreateParams(TCreateParams& Params) override;
    void KeyPress(QChar& Key) override;
    // Shows or hides the hint on the screen; TextHint keeps its value.
    void SetTextHintShown(bool Value);
    // A flat line round the edit while Ctl3D is off, else the edit's own sunken frame.
    virtual void UpdateBorder();
    void Ctl3DChanged() override { UpdateBorder(); }
    int FMaxLength = 0;
    bool FReadOnly = false;
    QChar FPasswordChar;
    TEditCharCase FCharCase = ecNormal;
    QString FTextHint;
    bool FTextHintShown = true;
    bool FSettingText = false;
    bool FAutoSelect = true;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* AOwner);
    void SetText(const QString& Value) override;
    QString Text() const;
    QStringList Lines() const;
    void SetLines(const QStringList& Lines);
    int LineCount() const { return int(Lines().size()); }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool WantReturns = true;
    bool WantTabs = false;
    void SelectAll();
    void Clear() { SetText(QString()); }
    // Adds a line at the end.
    void Append(const QString& Line);
    // The most characters the user can enter (0: no limit); a line break counts two.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    // Character positions count a line break as two characters, as in Text().
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    QString SelText() const;
    // Replaces the selection (inserts at the caret when nothing is selected);
    // the part past MaxLength is dropped.
    void SetSelText(const QString& Value);
    // The caret as column (X) and line (Y), both from 0.
    TPoint CaretPos() const;
    void SetCaretPos(const TPoint& Value);
    // The line holding a character position (-1: the caret's line).
    int LineFromChar(int CharIndex) const;
    // The character position where a line starts (-1 when there is no such line).
    int LineIndex(int Line) const;
    int FirstVisibleLine() const;
    // The top-left corner of a character in the memo's coordinates, and the
    // character nearest to a point (both with the text as it is scrolled).
    TPoint PosFromChar(int CharIndex) const;
    int CharFromPos(const TPoint& Pos) const;
    // Scrolls the text so that the caret shows.
    void ScrollCaret();
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    bool CanUndo() const;
    void Undo();
    bool Modified = false;  // set when the user changes the text
    TNotifyEvent OnChange;
    // Every change of the text, typed or set; raises OnChange.
    virtual void Change();
    // Repaints the text area too (the scrolled view inside the frame).
    void Invalidate() override;
    bool WantsKey(Word Key, TShiftState Shift) const override;
    // Called by the widget layer after the text was painted; draws over it.
    virtual void PaintOverlay(TCanvas*) {}

protected:
    QWidget* CreateWidget() override;
    // Qt's positions (one character per line break) to ours and back.
    int ToCharIndex(int Position) const;
    int ToPosition(int CharIndex) const;
    int FMaxLength = 0;
    bool FWordWrap = true;
    bool FReadOnly = false;
    TScrollStyle FScrollBars = ssNone;
    bool FSettingText = false;
};

class TButtonControl : public TCustomControl {
public:
    explicit TButtonControl(TComponent* AOwner);
    bool WordWrap = false;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void TextChanged() override;
    bool FHot = false;
    bool FPressed = false;
};

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* AOwner);
    bool Default() const { return FDefault; }
    void SetDefault(bool Value) { FDefault = Value; Invalidate(); }
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }
    TCustomImageList* Images = nullptr;
    int ImageIndex = -1;
    int ImageMarginLeft = 0;
    void Click() override;

protected:
    void Paint() override;
    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = 0;
};

class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TComponent* AOwner);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    TCheckState State() const { return FState; }
    void SetState(TCheckState Value);
    bool AllowGrayed = false;
    TAlignment Alignment = taRightJustify;  // caption right of the box
    void Click() override;

protected:
    void Paint() override;
    virtual void Toggle();
    TCheckState FState = cbUnchecked;
    bool FClicking = false;
};

class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    void Click() override;

protected:
    void Paint() override;
    bool FChecked = false;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// The owner-drawn styles (csOwnerDrawFixed, csOwnerDrawVariable) show a list
// without an edit field; each item of the drop-down list, and the chosen item
// in the closed box (with odComboBoxEdit), is drawn by DrawItem on Canvas,
// which calls OnDrawItem when assigned. csOwnerDrawVariable asks
// OnMeasureItem for each list item's height.
class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* AOwner);
    ~TComboBox() override;
    QStringList Items() const { return FItems; }
    void SetItems(const QStringList& Items);
    int AddItem(const QString& Item, void* Object = nullptr);
    void Clear();
    int Count() const { return int(FItems.size()); }
    void* Objects(int Index) const;
    void SetObjects(int Index, void* Value);
    int IndexOf(const QString& Item) const { return int(FItems.indexOf(Item)); }
    int ItemIndex() const;
    void SetItemIndex(int Value);
    void SetText(const QString& Value) override;
    QString Text() const;
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    bool DroppedDown() const;
    void SetDroppedDown(bool Value);
    // The drop-down list's width when wider than the box (0: the box's width).
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int Value);
    // The selection in the edit field (csDropDown, csSimple).
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    QString SelText() const;
    void SelectAll();
    // Typing in the edit field completes the text from the items (on by default).
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool Value);
    bool IsOwnerDrawn() const { return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }
    // The height of a list item in the owner-drawn styles.
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value);
    // The height of one item as the list shows it (OnMeasureItem in csOwnerDrawVariable).
    int ItemHeightOf(int Index);
    // The surface items are drawn on while DrawItem runs.
    TCanvas* Canvas() { return &FCanvas; }
    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    // Used by the widget layer: draws one item on a painter with the box's font and colours.
    void PaintItem(QPainter* Painter, const TRect& Rect, int Index, TOwnerDrawState State);
    // Used by the widget layer when the list opens (before it shows) and after it closed,
    // however that happened; they raise OnDropDown and OnCloseUp.
    virtual void DropDown();
    virtual void CloseUp();
    // The drop-down list is shown: Bounds is where the box's left edge puts
    // it (screen coordinates, before the desktop's own placement); a
    // descendant that changes it moves the list there.
    virtual void PlaceDropDownList(TRect& Bounds) { (void)Bounds; }
    // The text or the chosen item changed (raises OnChange).
    virtual void Change();

protected:
    QWidget* CreateWidget() override;
    // Draws one item: OnDrawItem when assigned, else the text on the brush.
    virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);
    // The user chose an item from the list (raises OnSelect).
    virtual void Select();
    // The user took an item from the list or by keys, a new one or the same again.
    virtual void ItemChosen() {}
    void Rebuild();
    // Puts the owner-drawn item painting on the widget, or takes it off.
    void ApplyOwnerDraw();
    QStringList FItems;
    std::vector<void*> FObjects;
    TCanvas FCanvas;
    int FItemHeight = 16;
    int FDropDownWidth = 0;
    bool FAutoComplete = true;
    TComboBoxStyle FStyle = csDropDown;
    int FDropDownCount = 8;
    bool FSorted = false;
    bool FUpdating = false;
};

class TCustomGroupBox : public TCustomControl {
public:
    explicit TCustomGroupBox(TComponent* AOwner);

protected:
    void Paint() override;
    void AdjustClientRect(TRect& Rect) override;
};

class TGroupBox : public TCustomGroupBox {
public:
    explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};
