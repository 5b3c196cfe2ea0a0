// The grid's in-place editor, its button and its drop-down pick list.
#include "platform/ui/Grids.h"
#include "platform/ui/DropDownWindow.h"

#include "platform/ui/ControlWidget.h"
#include "platform/ui/GridButtonState.h"
#include "platform/ui/Themes.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPainter>
#include <QScreen>
#include <QToolButton>
#include <algorithm>

// ---- TInplaceEdit ------------------------------------------------------------------------

namespace {
const char* const HotProperty = "sorvexHot";
}  // namespace

// The button at the editor's right edge: painted by the editor's PaintButton.
// An ellipsis is clicked like a push button. A list button drops the list at
// the press; dragging into the list and releasing there picks the item under
// the pointer, as the list itself would on a press and release.
class TInplaceEditButton : public QWidget {
public:
    TInplaceEditButton(TInplaceEdit* Edit, QWidget* Parent) : QWidget(Parent), FEdit(Edit)
    {
        setObjectName(QStringLiteral("sorvexEditButton"));
        setFocusPolicy(Qt::NoFocus);
        setCursor(Qt::ArrowCursor);
        setAttribute(Qt::WA_Hover);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        TCanvas c;
        const TRect r = Rect(0, 0, width(), height());
        c.BeginPaint(&p, r);
        c.Font()->Assign(*FEdit->Font());
        FEdit->PaintButton(&c, r, FEdit->FButtonPressed);
        c.EndPaint();
    }
    void enterEvent(QEnterEvent*) override { SetHot(true); }
    void leaveEvent(QEvent*) override { SetHot(false); }
    void mouseDoubleClickEvent(QMouseEvent* E) override { E->accept(); }
    void mousePressEvent(QMouseEvent* E) override
    {
        if (E->button() != Qt::LeftButton)
            return;
        FEdit->FButtonPressed = true;
        FInList = false;
        FTracking = FEdit->EditStyle() != esEllipsis;
        update();
        if (!FTracking)
            return;
        FEdit->EditButtonClick();  // drops the list down, or closes an open one
        if (!ShownList()) {
            FTracking = false;
            FEdit->FButtonPressed = false;
            update();
        }
    }
    void mouseMoveEvent(QMouseEvent* E) override
    {
        if (!FTracking)
            return;
        const QPoint global = E->globalPosition().toPoint();
        const bool inside = rect().contains(E->position().toPoint());
        if (!FInList && inside != FEdit->FButtonPressed) {
            FEdit->FButtonPressed = inside;
            update();
        }
        QWidget* list = ListWidgetAt(global);
        if (list && !FInList) {
            // the list takes over as if pressed there
            FInList = true;
            FEdit->FButtonPressed = false;
            update();
            Forward(list, QEvent::MouseButtonPress, global, Qt::LeftButton);
        } else if (FInList && FListTarget) {
            Forward(FListTarget, QEvent::MouseMove, global, Qt::LeftButton);
        }
    }
    void mouseReleaseEvent(QMouseEvent* E) override
    {
        if (E->button() != Qt::LeftButton)
            return;
        const bool wasPressed = FEdit->FButtonPressed;
        FEdit->FButtonPressed = false;
        update();
        if (FTracking) {
            FTracking = false;
            if (FInList && FListTarget)
                Forward(FListTarget, QEvent::MouseButtonRelease, E->globalPosition().toPoint(), Qt::NoButton);
            FInList = false;
            FListTarget = nullptr;
            return;
        }
        if (wasPressed && rect().contains(E->position().toPoint()))
            FEdit->EditButtonClick();
    }

private:
    void SetHot(bool Hot)
    {
        if (property(HotProperty).toBool() != Hot) {
            setProperty(HotProperty, Hot);
            update();
        }
    }
    // The drop-down shown now, or none.
    TWinControl* ShownList() const
    {
        auto* lists = dynamic_cast<TInplaceEditList*>(FEdit);
        return lists && lists->ListVisible() ? lists->ActiveList() : nullptr;
    }
    // The shown list's widget under a screen point (its innermost child), or none.
    QWidget* ListWidgetAt(const QPoint& Global) const
    {
        TWinControl* list = ShownList();
        QWidget* top = list && list->HandleAllocated() ? list->Widget() : nullptr;
        if (!top || !top->isVisible() || !top->rect().contains(top->mapFromGlobal(Global)))
            return nullptr;
        QWidget* child = top->childAt(top->mapFromGlobal(Global));
        return child ? child : top;
    }
    void Forward(QWidget* Target, QEvent::Type Type, const QPoint& Global, Qt::MouseButtons Buttons)
    {
        if (Type == QEvent::MouseButtonPress)
            FListTarget = Target;
        const QPointF local = Target->mapFromGlobal(QPointF(Global));
        QMouseEvent e(Type, local, QPointF(Global), Qt::LeftButton, Buttons, Qt::NoModifier);
        QApplication::sendEvent(Target, &e);
    }

    TInplaceEdit* FEdit;
    bool FTracking = false;
    bool FInList = false;
    QPointer<QWidget> FListTarget;
};

bool InplaceButtonHot(const TInplaceEdit* Edit)
{
    QWidget* w = Edit && Edit->HandleAllocated() ? Edit->Widget() : nullptr;
    QWidget* button = w ? w->findChild<QWidget*>(QStringLiteral("sorvexEditButton"), Qt::FindDirectChildrenOnly) : nullptr;
    return button && button->property(HotProperty).toBool();
}

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomEdit(AOwner)
{
    SetVisible(false);
    SetTabStop(false);
}

void TInplaceEdit::SetEditStyle(TEditStyle v)
{
    if (FEditStyle == v && (v == esSimple) == (FButton == nullptr))
        return;
    FEditStyle = v;
    if (v == esSimple) {
        delete FButton;
        FButton = nullptr;
        static_cast<QLineEdit*>(Widget())->setTextMargins(0, 0, 0, 0);
        return;
    }
    if (!FButton)
        FButton = new TInplaceEditButton(this, Widget());
    LayoutButton();
    FButton->show();
    FButton->update();
}

TRect TInplaceEdit::ButtonRect() const
{
    const int w = FEditStyle == esSimple ? 0 : ButtonWidth();
    return Rect(Width() - w, 0, Width(), Height());
}

void TInplaceEdit::LayoutButton()
{
    if (!FButton)
        return;
    const TRect r = ButtonRect();
    // The text stops where the button begins.
    static_cast<QLineEdit*>(Widget())->setTextMargins(0, 0, r.Width(), 0);
    FButton->setGeometry(r.Left, r.Top, r.Width(), r.Height());
}

void TInplaceEdit::InvalidateButton()
{
    if (FButton) {
        LayoutButton();
        FButton->update();
    }
}

void TInplaceEdit::PaintButton(TCanvas* ACanvas, const TRect& R, bool Pressed)
{
    const TThemedState st = !Enabled() ? tsDisabled : Pressed ? tsPressed : InplaceButtonHot(this) ? tsHot : tsNormal;
    if (FEditStyle != esEllipsis) {
        DrawThemedComboButton(ACanvas, R, st);
        return;
    }
    if (ThemeServicesEnabled()) {
        DrawThemedPushButton(ACanvas, R, st);
    } else {
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Brush()->SetColor(clBtnFace);
        ACanvas->FillRect(R);
        TRect e = R;
        DrawEdge(ACanvas, e, Pressed ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT);
    }
    // Three dots in the middle, one pixel lower and to the right when pressed.
    const int d = std::max(1, R.Width() / 8);
    const int x = (R.Left + R.Right - d) / 2 + (Pressed ? 1 : 0);
    const int y = (R.Top + R.Bottom - d) / 2 + (Pressed ? 1 : 0);
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(Enabled() ? clBlack : clGrayText);
    for (int i = -1; i <= 1; ++i)
        ACanvas->FillRect(Rect(x + i * 2 * d, y, x + i * 2 * d + d, y + d));
}

void TInplaceEdit::UpdateContents()
{
    if (!FGrid)
        return;
    const int c = FGrid->Col(), r = FGrid->Row();
    SetMaxLength(FGrid->GetEditLimit());
    EditMask = FGrid->GetEditMask(c, r);
    SetEditStyle(FGrid->GetEditStyle(c, r));
    SetText(FGrid->GetEditText(c, r));
    Modified = false;
    FGrid->FEditorStartText = Text();
}

void TInplaceEdit::Move(const TRect& Loc)
{
    SetBounds(Loc.Left, Loc.Top, Loc.Width(), Loc.Height());
    LayoutButton();
}

void TInplaceEdit::Hide()
{
    if (!FShown)
        return;
    CloseUp(false);
    FShown = false;
    SetVisible(false);
}

void TInplaceEdit::Show()
{
    FShown = true;
    SetVisible(true);
}

void TInplaceEdit::Change()
{
    TCustomEdit::Change();
    if (FGrid && FShown)
        FGrid->InvalidateCell(FGrid->Col(), FGrid->Row());
}

void TInplaceEdit::Paste()
{
    if (ReadOnly() || (FGrid && !FGrid->CanEditModify()))
        return;
    static_cast<QLineEdit*>(Widget())->paste();
    Modified = true;
}

void TInplaceEdit::CancelMode(TControl* Sender)
{
    if (Sender != this)
        CloseUp(false);
    if (FButtonPressed) {
        FButtonPressed = false;
        InvalidateButton();
    }
}

void TInplaceEdit::KillFocus() { CloseUp(false); }

void TInplaceEdit::ShowPopup(TWinControl* List, int AWidth, int AHeight)
{
    QWidget* w = Widget();
    const QPoint topLeft = w->mapToGlobal(QPoint(0, 0));
    QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    const QRect desk = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 15, 1 << 15);
    int x = topLeft.x();
    int y = topLeft.y() + Height();
    if (y + AHeight > desk.bottom() + 1 && topLeft.y() - AHeight >= desk.top())
        y = topLeft.y() - AHeight;
    // Cut at the desktop's right edge; an editor starting near or past that
    // edge moves the list left instead, so it is never narrower than the
    // editor (or than it asked to be, when smaller) and never of no width.
    const int room = desk.right() + 1 - x;
    if (AWidth > room) {
        const int least = std::max(1, std::min(AWidth, Width()));
        if (room >= least)
            AWidth = room;
        else {
            AWidth = std::max(1, std::min(AWidth, desk.width()));
            x = std::max(desk.left(), desk.right() + 1 - AWidth);
        }
    }
    OwnDropDown(List->Widget(), w, [this] { CloseUp(false); });
    List->SetBounds(x, y, AWidth, AHeight);
    List->SetVisible(true);
    List->Widget()->show();
    if (FButton)
        FButton->update();
}

void TInplaceEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (!FGrid) {
        TCustomEdit::KeyDown(Key, Shift);
        return;
    }
    if ((Key == 'V' && Shift == ssCtrl) || (Key == VK_INSERT && Shift == ssShift)) {
        Paste();
        Key = 0;
        return;
    }
    const int len = Text().size();
    const bool atStart = SelStart() == 0 && SelLength() == 0;
    const bool atEnd = SelStart() >= len && SelLength() == 0;
    bool toGrid = false;
    switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE:
    case VK_RETURN:
    case VK_TAB:
        toGrid = true;
        break;
    case VK_LEFT:
        toGrid = atStart || SelLength() == len;
        break;
    case VK_RIGHT:
        toGrid = atEnd || SelLength() == len;
        break;
    case VK_HOME:
    case VK_END:
        toGrid = Shift & ssCtrl;
        break;
    case VK_INSERT:
    case VK_DELETE:
    case VK_BACK:
        if (!FGrid->CanEditModify())
            Key = 0;
        break;
    default:
        break;
    }
    if (toGrid) {
        FGrid->EditorKeyDown(Key, Shift);
        Key = 0;
        return;
    }
    TCustomEdit::KeyDown(Key, Shift);
}

bool TInplaceEdit::WantsKey(Word Key, TShiftState Shift) const
{
    if (FGrid && (Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_TAB))
        return FGrid->WantsKey(Key, Shift);
    return TCustomEdit::WantsKey(Key, Shift);
}

void TInplaceEdit::KeyPress(QChar& Key)
{
    if (FGrid && !Key.isNull()) {
        if (!FGrid->CanEditAcceptKey(Key) || !FGrid->CanEditModify()) {
            Key = QChar();
            return;
        }
    }
    TCustomEdit::KeyPress(Key);
}

void TInplaceEdit::DoExit()
{
    TCustomEdit::DoExit();
    KillFocus();
    if (FGrid && FShown) {
        FGrid->UpdateText();
        if (!(FGrid->Options() & goAlwaysShowEditor) && !FGrid->Focused())
            FGrid->HideEditor();
    }
}

void TInplaceEdit::EditButtonClick()
{
    if (FGrid)
        FGrid->EditButtonClick();
}

// ---- TPopupPickList ----------------------------------------------------------------------

TPopupPickList::TPopupPickList(TComponent* AOwner) : TCustomListBox(AOwner) { SetTabStop(false); }

QWidget* TPopupPickList::CreateWidget()
{
    QWidget* w = TCustomListBox::CreateWidget();
    // Over everything, without taking the focus from the editor.
    w->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->setFocusPolicy(Qt::NoFocus);
    return w;
}

void TPopupPickList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomListBox::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    const int i = ItemAtPos({X, Y}, true);
    if (i >= 0)
        SetItemIndex(i);
    if (OnPick)
        OnPick(i >= 0);
}

// ---- TInplaceEditList --------------------------------------------------------------------

TInplaceEditList::TInplaceEditList(TComponent* AOwner) : TInplaceEdit(AOwner) {}

TInplaceEditList::~TInplaceEditList() { delete FPickList; }

TPopupPickList* TInplaceEditList::PickListBox()
{
    if (!FPickList) {
        FPickList = new TPopupPickList(nullptr);
        FPickList->OnPick = [this](bool OnItem) { CloseUp(OnItem); };
    }
    return FPickList;
}

void TInplaceEditList::DropDown()
{
    if (ListVisible())
        return;
    TWinControl* list = ActiveList();
    if (list != FPickList) {
        ShowPopup(list, std::max(Width(), 80), list->Height());
        return;
    }
    if (FEditStyle != esPickList || PickList.isEmpty())
        return;
    TPopupPickList* l = PickListBox();
    l->SetStyle(l->OnDrawItem ? lbOwnerDrawVariable : lbStandard);
    l->SetFont(*Font());
    l->SetItems(PickList);
    l->SetItemIndex(PickList.indexOf(Text()));
    const int rows = std::min<int>(std::max(1, DropDownRows), PickList.size());
    int h = 0;
    for (int i = 0; i < rows; ++i) {
        int ih = l->ItemHeight();
        if (l->Style() == lbOwnerDrawVariable && l->OnMeasureItem)
            l->OnMeasureItem(l, i, ih);
        h += ih;
    }
    ShowPopup(l, std::max(Width(), 80), h + 4);
    if (l->ItemIndex() >= 0)
        l->SetItemIndex(l->ItemIndex());  // scrolled into view at its final size
}

void TInplaceEditList::ListHidden()
{
    if (FButton)
        FButton->update();
    Invalidate();
}

void TInplaceEditList::CloseUp(bool Accept)
{
    if (!ListVisible())
        return;
    TWinControl* list = ActiveList();
    list->Widget()->hide();
    list->SetVisible(false);
    ListHidden();
    if (list != FPickList)
        return;
    const int i = FPickList->ItemIndex();
    if (Accept && i >= 0 && i < PickList.size() && FGrid && FGrid->CanEditModify()) {
        SetText(PickList[i]);
        Modified = true;
        FGrid->UpdateText();
    }
}

bool TInplaceEditList::ListVisible() const
{
    TWinControl* list = FActiveList ? FActiveList : FPickList;
    return list && list->HandleAllocated() && list->Widget()->isVisible();
}

int TInplaceEditList::ListItemIndex() const { return FPickList ? FPickList->ItemIndex() : -1; }

void TInplaceEditList::SetListItemIndex(int i)
{
    if (FPickList)
        FPickList->SetItemIndex(i);
}

void TInplaceEditList::DblClick()
{
    if (FEditStyle == esPickList && !ListVisible())
        DropDown();
    else
        TInplaceEdit::DblClick();
}

void TInplaceEditList::KeyDown(Word& Key, TShiftState Shift)
{
    if (ListVisible()) {
        if (Key == VK_RETURN || Key == VK_ESCAPE || (Key == VK_DOWN && (Shift & ssAlt)) || (Key == VK_UP && (Shift & ssAlt))) {
            CloseUp(Key == VK_RETURN || Key == VK_DOWN);
            Key = 0;
            return;
        }
        if (Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT) {
            if (PickListActive()) {
                const int last = int(PickList.size()) - 1;
                const int page = std::max(1, DropDownRows - 1);
                int i = ListItemIndex();
                i = Key == VK_UP ? i - 1 : Key == VK_DOWN ? i + 1 : Key == VK_PRIOR ? i - page : i + page;
                SetListItemIndex(std::clamp(i, 0, std::max(0, last)));
            } else {
                ActiveList()->KeyDown(Key, Shift);
            }
            Key = 0;
            return;
        }
    } else if (((Key == VK_DOWN && (Shift & ssAlt)) || (Key == VK_F4 && Shift == 0))
               && (FEditStyle == esPickList || FEditStyle == esDataList)) {
        DropDown();
        Key = 0;
        return;
    }
    TInplaceEdit::KeyDown(Key, Shift);
}

void TInplaceEditList::EditButtonClick()
{
    if (FEditStyle == esPickList || FEditStyle == esDataList) {
        if (ListVisible())
            CloseUp(false);
        else
            DropDown();
        return;
    }
    if (OnEditButtonClick)
        OnEditButtonClick(this);
    TInplaceEdit::EditButtonClick();
}
