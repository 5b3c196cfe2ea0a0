#include "platform/ui/StdCtrls.h"

#include "platform/ui/ControlWidget.h"
#include "platform/ui/EditAlignment.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"

#include <QComboBox>
#include <QCompleter>
#include <QAbstractItemView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>

// ---- TCustomLabel ----------------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FWidth = 65;
    FHeight = 13;
}

QString TCustomLabel::GetLabelText()
{
    return FText;
}

void TCustomLabel::DoDrawText(TRect& R, unsigned Flags)
{
    QString text = GetLabelText();
    if ((Flags & DT_CALCRECT) && (text.isEmpty() || (FShowAccelChar && text.startsWith(QLatin1Char('&')) && text.size() == 1)))
        text = QStringLiteral(" ");
    if (!FShowAccelChar)
        Flags |= DT_NOPREFIX;
    TCanvas* c = Canvas();
    c->Font()->Assign(FFont);
    c->Font()->SetColor(FFont.Color());
    if (!FEnabled) {
        R.Offset(1, 1);
        c->Font()->SetColor(clBtnHighlight);
        c->DrawText(text, R, Flags);
        R.Offset(-1, -1);
        c->Font()->SetColor(clBtnShadow);
    }
    c->DrawText(text, R, Flags);
}

void TCustomLabel::Paint()
{
    TCanvas* c = Canvas();
    if (!FTransparent && !FParentColor) {
        c->Brush()->SetColor(FColor);
        c->FillRect(ClientRect());
    }
    c->Brush()->SetStyle(bsClear);
    TRect r = ClientRect();
    unsigned flags = (FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT) | DT_EXPANDTABS;
    if (FWordWrap)
        flags |= DT_WORDBREAK;
    if (EllipsisPosition)
        flags |= DT_END_ELLIPSIS;
    flags = DrawTextBiDiModeFlags(flags);
    if (FLayout != tlTop) {
        TRect calc = r;
        DoDrawText(calc, flags | DT_CALCRECT);
        const int off = r.Height() - calc.Height();
        r.Top += FLayout == tlBottom ? off : off / 2;
    }
    DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds()
{
    if (!FAutoSize || Loading())
        return;
    TRect r = ClientRect();
    unsigned flags = DT_CALCRECT | DT_EXPANDTABS;
    if (FWordWrap)
        flags |= DT_WORDBREAK;
    else
        r.Right = r.Left + 100000;
    DoDrawText(r, flags);
    int left = FLeft;
    if (FAlignment == taRightJustify)
        left += FWidth - r.Width();
    else if (FAlignment == taCenter)
        left += (FWidth - r.Width()) / 2;
    SetBounds(left, FTop, FWordWrap ? FWidth : r.Width(), r.Height());
}

void TCustomLabel::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value)
{
    FLayout = Value;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value)
{
    FShowAccelChar = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::TextChanged()
{
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::FontChanged()
{
    TGraphicControl::FontChanged();
    AdjustBounds();
}

// ---- TCustomEdit -------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 121;
    FHeight = 21;
    FColor = clWindow;
    FTabStop = true;
}

QWidget* TCustomEdit::CreateWidget()
{
    auto* e = new QLineEdit;
    e->setText(FText);
    e->setReadOnly(FReadOnly);
    e->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
    e->setPlaceholderText(FTextHintShown ? FTextHint : QString());
    if (!FPasswordChar.isNull())
        e->setEchoMode(QLineEdit::Password);
    e->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(e, &QLineEdit::textChanged, [this](const QString& t) {
        if (FSettingText)
            return;
        FText = t;
        Modified = true;
        Change();
    });
    return e;
}

void TCustomEdit::DoEnter()
{
    TWinControl::DoEnter();
    if (FAutoSelect)
        return;
    // the line edit selects everything on a Tab after this: take that back,
    // leaving the caret where the selection ended
    PostCall([this] {
        auto* e = static_cast<QLineEdit*>(Widget());
        if (e && e->hasSelectedText() && e->selectedText() == e->text())
            e->deselect();
    });
}

void TCustomEdit::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.ExStyle |= WS_EX_CLIENTEDGE;
    if (!FPasswordChar.isNull())
        Params.Style |= ES_PASSWORD;
}

void TCustomEdit::UpdateBorder()
{
    if (!HandleAllocated())
        return;  // the widget takes the border when it is made
    if (Ctl3D()) {
        SetEditFramePainter(this, nullptr);
        return;
    }
    SetEditFramePainter(this, [this](TCanvas* C) {
        C->Brush()->SetColor(clWindowFrame);
        C->FrameRect(Rect(0, 0, Width(), Height()));
    });
}

void TCustomEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::SetText(const QString& Value)
{
    if (FText == Value)
        return;
    FText = Value;
    if (auto* e = static_cast<QLineEdit*>(FWidget)) {
        FSettingText = true;
        e->setText(Value);
        FSettingText = false;
    }
    Change();
}

void TCustomEdit::KeyPress(QChar& Key)
{
    TWinControl::KeyPress(Key);
    if (FCharCase == ecUpperCase)
        Key = Key.toUpper();
    else if (FCharCase == ecLowerCase)
        Key = Key.toLower();
}

void TCustomEdit::SetMaxLength(int Value)
{
    FMaxLength = Value;
    if (auto* e = static_cast<QLineEdit*>(FWidget))
        e->setMaxLength(Value > 0 ? Value : 32767);
}

void TCustomEdit::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    if (auto* e = static_cast<QLineEdit*>(FWidget))
        e->setReadOnly(Value);
}

void TCustomEdit::SetPasswordChar(QChar Value)
{
    FPasswordChar = Value;
    if (auto* e = static_cast<QLineEdit*>(FWidget))
        e->setEchoMode(Value.isNull() ? QLineEdit::Normal : QLineEdit::Password);
}

void TCustomEdit::SetTextHint(const QString& Value)
{
    FTextHint = Value;
    if (auto* e = static_cast<QLineEdit*>(FWidget))
        e->setPlaceholderText(FTextHintShown ? Value : QString());
}

void TCustomEdit::SetTextHintShown(bool Value)
{
    FTextHintShown = Value;
    SetTextHint(FTextHint);
}

int TCustomEdit::SelStart() const
{
    auto* e = static_cast<QLineEdit*>(Widget());
    return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

void TCustomEdit::SetSelStart(int Value)
{
    static_cast<QLineEdit*>(Widget())->setCursorPosition(Value);
}

int TCustomEdit::SelLength() const
{
    return int(static_cast<QLineEdit*>(Widget())->selectedText().size());
}

void TCustomEdit::SetSelLength(int Value)
{
    auto* e = static_cast<QLineEdit*>(Widget());
    e->setSelection(e->cursorPosition(), Value);
}

QString TCustomEdit::SelText() const
{
    return static_cast<QLineEdit*>(Widget())->selectedText();
}

void TCustomEdit::SelectAll()
{
    static_cast<QLineEdit*>(Widget())->selectAll();
}

// ---- TMemo -----------------------------------------------------------------------

TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 185;
    FHeight = 89;
    FColor = clWindow;
    FTabStop = true;
}

// The memo's widget that keeps typed and pasted text within MaxLength (MemoSelection.cpp).
QPlainTextEdit* NewMemoWidget(TMemo* Memo);

QWidget* TMemo::CreateWidget()
{
    auto* m = NewMemoWidget(this);
    m->setPlainText(FText);
    m->setReadOnly(FReadOnly);
    m->setLineWrapMode(FWordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    m->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(m, &QPlainTextEdit::textChanged, [this, m] {
        if (FSettingText)
            return;
        FText = m->toPlainText();
        Modified = true;
        Change();
    });
    return m;
}

void TMemo::Change()
{
    if (OnChange)
        OnChange(this);
}

void TMemo::Invalidate()
{
    TWinControl::Invalidate();
    if (auto* m = static_cast<QPlainTextEdit*>(FWidget))
        m->viewport()->update();
}

void TMemo::SetText(const QString& Value)
{
    QString v = Value;
    v.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    FText = v;
    if (auto* m = static_cast<QPlainTextEdit*>(FWidget)) {
        FSettingText = true;
        m->setPlainText(v);
        FSettingText = false;
    }
    Change();
}

QString TMemo::Text() const
{
    QString t = FText;
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

QStringList TMemo::Lines() const
{
    if (FText.isEmpty())
        return {};
    QStringList l = FText.split(QLatin1Char('\n'));
    if (!l.isEmpty() && l.back().isEmpty())
        l.removeLast();
    return l;
}

void TMemo::SetLines(const QStringList& Lines)
{
    SetText(Lines.join(QLatin1Char('\n')));
}

void TMemo::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    if (auto* m = static_cast<QPlainTextEdit*>(FWidget))
        m->setLineWrapMode(Value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    if (auto* m = static_cast<QPlainTextEdit*>(FWidget))
        m->setReadOnly(Value);
}

void TMemo::SetScrollBars(TScrollStyle Value)
{
    FScrollBars = Value;
    if (auto* m = static_cast<QPlainTextEdit*>(FWidget)) {
        m->setVerticalScrollBarPolicy(Value == ssVertical || Value == ssBoth ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
        m->setHorizontalScrollBarPolicy(Value == ssHorizontal || Value == ssBoth ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    }
}

void TMemo::SelectAll()
{
    static_cast<QPlainTextEdit*>(Widget())->selectAll();
}

bool TMemo::WantsKey(Word Key, TShiftState) const
{
    return (Key == VK_RETURN && WantReturns) || (Key == VK_TAB && WantTabs);
}

// ---- buttons -------------------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* AOwner) : TCustomControl(AOwner)
{
    FTabStop = true;
}

void TButtonControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FEnabled) {
        FPressed = true;
        if (CanFocus())
            SetFocus();
        Invalidate();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TButtonControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FPressed = false;
    Invalidate();
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TButtonControl::MouseEnter()
{
    FHot = true;
    Invalidate();
    TCustomControl::MouseEnter();
}

void TButtonControl::MouseLeave()
{
    FHot = false;
    Invalidate();
    TCustomControl::MouseLeave();
}

void TButtonControl::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == VK_SPACE) {
        FPressed = true;
        Invalidate();
    }
}

void TButtonControl::KeyUp(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyUp(Key, Shift);
    if (Key == VK_SPACE && FPressed) {
        FPressed = false;
        Invalidate();
        Click();
    }
}

void TButtonControl::TextChanged()
{
    Invalidate();
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    FWidth = 75;
    FHeight = 25;
}

void TButton::Click()
{
    if (FModalResult != mrNone)
        if (TCustomForm* f = ParentForm())
            f->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::Paint()
{
    TCanvas* c = Canvas();
    TThemedState s = !FEnabled ? tsDisabled : FPressed ? tsPressed : FHot ? tsHot : (FDefault || Focused()) ? tsDefaulted : tsNormal;
    DrawThemedPushButton(c, ClientRect(), s);
    TRect r = ClientRect();
    r.Inflate(-3, -3);
    if (Images && ImageIndex >= 0 && ImageIndex < Images->Count()) {
        const int iy = (FHeight - Images->Height()) / 2;
        Images->Draw(c, ImageMarginLeft + 3, iy, ImageIndex, FEnabled);
        r.Left = ImageMarginLeft + 3 + Images->Width();
    }
    c->Brush()->SetStyle(bsClear);
    c->Font()->Assign(FFont);
    c->Font()->SetColor(ThemedTextColor(FEnabled));
    if (WordWrap) {
        TRect calc = r;
        c->DrawText(FText, calc, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
        const int off = (r.Height() - calc.Height()) / 2;
        r.Top += off;
        c->DrawText(FText, r, DT_CENTER | DT_WORDBREAK);
    } else {
        c->DrawText(FText, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner)
{
    FWidth = 97;
    FHeight = 17;
    FParentColor = true;
}

void TCheckBox::SetState(TCheckState Value)
{
    if (FState == Value)
        return;
    FState = Value;
    Invalidate();
    if (!FClicking)
        TButtonControl::Click();
}

void TCheckBox::Toggle()
{
    switch (FState) {
    case cbUnchecked:
        FState = AllowGrayed ? cbGrayed : cbChecked;
        break;
    case cbGrayed:
        FState = cbChecked;
        break;
    default:
        FState = cbUnchecked;
    }
}

void TCheckBox::Click()
{
    Toggle();
    Invalidate();
    TButtonControl::Click();
}

void TCheckBox::Paint()
{
    TCanvas* c = Canvas();
    const TThemedState s = !FEnabled ? tsDisabled : FPressed ? tsPressed : FHot ? tsHot : tsNormal;
    DrawThemedCheckBox(c, Rect(0, 0, ThemedCheckSize, FHeight), FState, s);
    c->Brush()->SetStyle(bsClear);
    c->Font()->Assign(FFont);
    c->Font()->SetColor(ThemedTextColor(FEnabled));
    TRect r = Rect(ThemedCheckSize + 4, 0, FWidth, FHeight);
    c->DrawText(FText, r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (Focused() && !FText.isEmpty()) {
        TRect calc = r;
        c->DrawText(FText, calc, DT_CALCRECT | DT_SINGLELINE);
        const int top = (FHeight - calc.Height()) / 2;
        c->DrawFocusRect(Rect(r.Left - 1, top, r.Left + calc.Width() + 1, top + calc.Height()));
    }
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    FWidth = 113;
    FHeight = 17;
    FParentColor = true;
}

void TRadioButton::SetChecked(bool Value)
{
    if (FChecked == Value)
        return;
    FChecked = Value;
    if (Value && FParent)
        for (int i = 0; i < FParent->ControlCount(); ++i)
            if (auto* r = dynamic_cast<TRadioButton*>(FParent->Controls(i)); r && r != this)
                r->SetChecked(false);
    Invalidate();
}

void TRadioButton::Click()
{
    SetChecked(true);
    TButtonControl::Click();
}

void TRadioButton::Paint()
{
    TCanvas* c = Canvas();
    const TThemedState s = !FEnabled ? tsDisabled : FHot ? tsHot : tsNormal;
    DrawThemedRadioButton(c, Rect(0, 0, ThemedCheckSize, FHeight), FChecked, s);
    c->Brush()->SetStyle(bsClear);
    c->Font()->Assign(FFont);
    c->Font()->SetColor(ThemedTextColor(FEnabled));
    TRect r = Rect(ThemedCheckSize + 4, 0, FWidth, FHeight);
    c->DrawText(FText, r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

// ---- TComboBox ----------------------------------------------------------------------

// The combo box's widget with owner-drawn items (ComboBoxDraw.cpp).
QComboBox* NewComboWidget(TComboBox* Combo);

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 145;
    FHeight = 21;
    FColor = clWindow;
    FTabStop = true;
}

TComboBox::~TComboBox() = default;

QWidget* TComboBox::CreateWidget()
{
    auto* cb = NewComboWidget(this);
    cb->setEditable(FStyle == csDropDown || FStyle == csSimple);
    cb->setMaxVisibleItems(FDropDownCount);
    cb->setFocusPolicy(Qt::StrongFocus);
    cb->addItems(FItems);
    cb->setCurrentIndex(-1);
    if (cb->isEditable())
        cb->setEditText(FText);
    if (cb->isEditable() && !FAutoComplete)
        cb->setCompleter(nullptr);
    QObject::connect(cb, &QComboBox::currentIndexChanged, [this, cb](int) {
        if (FUpdating)
            return;
        FText = cb->currentText();
        Select();
        Change();
    });
    QObject::connect(cb, &QComboBox::activated, [this](int) { ItemChosen(); });
    QObject::connect(cb, &QComboBox::editTextChanged, [this](const QString& t) {
        if (FUpdating)
            return;
        FText = t;
        Change();
    });
    return cb;
}

void TComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

void TComboBox::Rebuild()
{
    FObjects.resize(size_t(FItems.size()), nullptr);
    if (FSorted) {
        // sort the items with their objects
        std::vector<int> order(size_t(FItems.size()));
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = int(i);
        std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
            return FItems[a].compare(FItems[b], Qt::CaseInsensitive) < 0;
        });
        QStringList items;
        std::vector<void*> objects;
        for (int i : order) {
            items << FItems[i];
            objects.push_back(FObjects[size_t(i)]);
        }
        FItems = items;
        FObjects = objects;
    }
    // inside an update bracket (ComboListDraw.h) the list waits for its end
    if (auto* cb = static_cast<QComboBox*>(FWidget); cb && !cb->property("sorvexComboUpdating").toInt()) {
        FUpdating = true;
        const QString text = FText;
        cb->clear();
        cb->addItems(FItems);
        cb->setCurrentIndex(int(FItems.indexOf(text)));
        if (cb->isEditable())
            cb->setEditText(text);
        FUpdating = false;
    }
}

void TComboBox::SetItems(const QStringList& Items)
{
    FItems = Items;
    FObjects.assign(size_t(Items.size()), nullptr);
    Rebuild();
}

int TComboBox::AddItem(const QString& Item, void* Object)
{
    FItems << Item;
    FObjects.resize(size_t(FItems.size() - 1), nullptr);
    FObjects.push_back(Object);
    Rebuild();
    if (!FSorted)
        return Count() - 1;
    for (int i = 0; i < Count(); ++i)
        if (FObjects[size_t(i)] == Object && FItems[i] == Item)
            return i;
    return -1;
}

void* TComboBox::Objects(int Index) const
{
    return Index >= 0 && Index < Count() && size_t(Index) < FObjects.size() ? FObjects[size_t(Index)] : nullptr;
}

void TComboBox::SetObjects(int Index, void* Value)
{
    if (Index < 0 || Index >= Count())
        return;
    FObjects.resize(size_t(FItems.size()), nullptr);
    FObjects[size_t(Index)] = Value;
}

void TComboBox::SetAutoComplete(bool Value)
{
    FAutoComplete = Value;
    auto* cb = static_cast<QComboBox*>(FWidget);
    if (!cb || !cb->isEditable())
        return;
    if (!Value) {
        cb->setCompleter(nullptr);
        return;
    }
    auto* completer = new QCompleter(cb->model(), cb);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::InlineCompletion);
    cb->setCompleter(completer);
}

void TComboBox::Clear()
{
    FItems.clear();
    FObjects.clear();
    FText.clear();
    Rebuild();
}

int TComboBox::ItemIndex() const
{
    return static_cast<QComboBox*>(Widget())->currentIndex();
}

void TComboBox::SetItemIndex(int Value)
{
    auto* cb = static_cast<QComboBox*>(Widget());
    FUpdating = true;
    cb->setCurrentIndex(Value);
    FText = Value >= 0 && Value < FItems.size() ? FItems[Value] : (FStyle == csDropDownList ? QString() : FText);
    if (cb->isEditable())
        cb->setEditText(FText);
    FUpdating = false;
}

void TComboBox::SetText(const QString& Value)
{
    FText = Value;
    auto* cb = static_cast<QComboBox*>(Widget());
    FUpdating = true;
    const int i = int(FItems.indexOf(Value));
    cb->setCurrentIndex(i);
    if (cb->isEditable())
        cb->setEditText(Value);
    else if (i < 0)
        FText.clear();
    FUpdating = false;
}

QString TComboBox::Text() const
{
    return FText;
}

void TComboBox::SetStyle(TComboBoxStyle Value)
{
    FStyle = Value;
    if (auto* cb = static_cast<QComboBox*>(FWidget)) {
        cb->setEditable(Value == csDropDown || Value == csSimple);
        if (cb->isEditable())
            SetAutoComplete(FAutoComplete);
    }
    ApplyOwnerDraw();
}

void TComboBox::Select()
{
    if (OnSelect)
        OnSelect(this);
}

void TComboBox::SetDropDownCount(int Value)
{
    FDropDownCount = Value;
    if (auto* cb = static_cast<QComboBox*>(FWidget))
        cb->setMaxVisibleItems(Value);
}

void TComboBox::SetSorted(bool Value)
{
    FSorted = Value;
    Rebuild();
}

bool TComboBox::DroppedDown() const
{
    auto* cb = static_cast<QComboBox*>(Widget());
    return cb->view() && cb->view()->isVisible();
}

void TComboBox::SetDroppedDown(bool Value)
{
    // the widget raises OnDropDown and OnCloseUp
    auto* cb = static_cast<QComboBox*>(Widget());
    if (Value)
        cb->showPopup();
    else
        cb->hidePopup();
}

// ---- TCustomGroupBox --------------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    FWidth = 185;
    FHeight = 105;
    FParentColor = true;
}

void TCustomGroupBox::AdjustClientRect(TRect& R)
{
    TCustomControl::AdjustClientRect(R);
    TCanvas c;
    c.Font()->Assign(FFont);
    R.Top += c.TextHeight(QStringLiteral("0"));
    R.Inflate(-1, -1);
}

void TCustomGroupBox::Paint()
{
    TCanvas* c = Canvas();
    c->Font()->Assign(FFont);
    const int h = c->TextHeight(QStringLiteral("0"));
    DrawThemedGroupFrame(c, Rect(0, h / 2, FWidth, FHeight), FEnabled);
    if (!FText.isEmpty()) {
        TRect r = Rect(8, 0, 0, h);
        c->DrawText(FText, r, DT_CALCRECT | DT_SINGLELINE);
        r.Right += 2;
        c->Brush()->SetColor(FColor);
        c->FillRect(Rect(r.Left - 1, 0, r.Right + 1, h));
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(ThemedTextColor(FEnabled));
        c->DrawText(FText, r, DT_SINGLELINE | DT_LEFT);
    }
}
