// The combo box's widget, the painting of owner-drawn combo box items
// (in the drop-down list and in the closed box), the drop-down's width and
// the edit field's selection.
#include "platform/ui/StdCtrls.h"
#include "platform/ui/ComboListDraw.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QApplication>
#include <QPaintEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

TRect FromQRect(const QRect& R)
{
    return Rect(R.left(), R.top(), R.right() + 1, R.bottom() + 1);
}

// Items of the drop-down list go through the combo box's DrawItem and MeasureItem.
class TComboItemDelegate : public QStyledItemDelegate {
public:
    TComboItemDelegate(TComboBox* Combo, QObject* Parent) : QStyledItemDelegate(Parent), FCombo(Combo) {}

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override
    {
        if (!ComboListOwnerDrawn(FCombo)) {
            QStyledItemDelegate::paint(Painter, Option, Index);
            return;
        }
        TOwnerDrawState state = 0;
        // the list's selected item is its current one, as the focus rectangle shows
        if (Option.state & QStyle::State_Selected)
            state |= odSelected | odFocused;
        if (!(Option.state & QStyle::State_Enabled))
            state |= odDisabled;
        FCombo->PaintItem(Painter, FromQRect(Option.rect), Index.row(), state);
    }

    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override
    {
        if (!ComboListOwnerDrawn(FCombo))
            return QStyledItemDelegate::sizeHint(Option, Index);
        return QSize(std::max(1, Option.rect.width()), FCombo->ItemHeightOf(Index.row()));
    }

private:
    TComboBox* FCombo;
};

// The closed box of an owner-drawn style shows its chosen item drawn by the control.
class TComboWidget : public QComboBox {
public:
    explicit TComboWidget(TComboBox* Combo) : FCombo(Combo) {}

    // the arrow, Alt+Down and SetDroppedDown all come here
    void showPopup() override
    {
        FCombo->DropDown();
        QComboBox::showPopup();
        QWidget* list = view() ? view()->window() : nullptr;
        if (!list || list == window())
            return;
        const QPoint at = mapToGlobal(QPoint(0, 0));
        const TRect wanted(at.x(), list->y(), at.x() + list->width(), list->y() + list->height());
        TRect placed = wanted;
        FCombo->PlaceDropDownList(placed);
        if (placed.Left != wanted.Left || placed.Top != wanted.Top)
            list->move(placed.Left, placed.Top);
    }

    void hidePopup() override
    {
        const bool open = view() && view()->isVisible();
        QComboBox::hidePopup();
        if (open)
            FCombo->CloseUp();
    }

protected:
    void paintEvent(QPaintEvent* Event) override
    {
        if (!FCombo->IsOwnerDrawn()) {
            QComboBox::paintEvent(Event);
            return;
        }
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        option.currentIcon = QIcon();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        TOwnerDrawState state = odComboBoxEdit;
        if (hasFocus())
            state |= odSelected | odFocused;
        if (!isEnabled())
            state |= odDisabled;
        FCombo->PaintItem(&painter, FromQRect(field), currentIndex(), state);
    }

private:
    TComboBox* FCombo;
};

// The drop-down shows DropDownCount rows below the box and scrolls the rest,
// rather than the menu-like list over the box that the fixed look would open.
class TComboListStyle : public QProxyStyle {
public:
    explicit TComboListStyle(QStyle* Base) : QProxyStyle(Base) {}
    int styleHint(StyleHint Hint, const QStyleOption* Option, const QWidget* Widget, QStyleHintReturn* Return) const override
    {
        if (Hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(Hint, Option, Widget, Return);
    }
};

QStyle* ComboListStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new TComboListStyle(QStyleFactory::create(QApplication::style()->name()));
        style->setParent(qApp);
    }
    return style;
}

}  // namespace

QComboBox* NewComboWidget(TComboBox* Combo)
{
    auto* cb = new TComboWidget(Combo);
    cb->setStyle(ComboListStyle());
    // Return in the edit field keeps the typed text as the text, never as a new item
    cb->setInsertPolicy(QComboBox::NoInsert);
    if (ComboListOwnerDrawn(Combo))
        cb->setItemDelegate(new TComboItemDelegate(Combo, cb));
    return cb;
}

void TComboBox::ApplyOwnerDraw()
{
    auto* cb = static_cast<QComboBox*>(FWidget);
    if (!cb)
        return;
    // the plain styles keep the list's own delegate; once owner drawn the
    // delegate stays and hands plain items back to the standard painting
    if (ComboListOwnerDrawn(this) && !dynamic_cast<TComboItemDelegate*>(cb->itemDelegate()))
        cb->setItemDelegate(new TComboItemDelegate(this, cb));
    if (cb->view())
        cb->view()->doItemsLayout();
    cb->update();
}

void TComboBox::SetItemHeight(int Value)
{
    if (Value <= 0)
        return;
    FItemHeight = Value;
    ApplyOwnerDraw();
}

void TComboBox::MeasureItem(int Index, int& Height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, Index, Height);
}

int TComboBox::ItemHeightOf(int Index)
{
    int h = FItemHeight;
    if (FStyle == csOwnerDrawVariable)
        MeasureItem(Index, h);
    return std::max(1, h);
}

void TComboBox::DrawItem(int Index, TRect R, TOwnerDrawState State)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, R, State);
        return;
    }
    FCanvas.FillRect(R);
    R.Left += 2;
    FCanvas.DrawText(FItems.value(Index), R, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TComboBox::PaintItem(QPainter* Painter, const TRect& R, int Index, TOwnerDrawState State)
{
    const QPaintDevice* device = Painter->device();
    FCanvas.BeginPaint(Painter, Rect(0, 0, device ? device->width() : R.Right, device ? device->height() : R.Bottom));
    FCanvas.Font()->Assign(FFont);
    FCanvas.Brush()->SetStyle(bsSolid);
    if ((State & odSelected) && FEnabled) {
        FCanvas.Brush()->SetColor(clHighlight);
        FCanvas.Font()->SetColor(clHighlightText);
    } else {
        FCanvas.Brush()->SetColor(FColor);
        if (!FEnabled)
            FCanvas.Font()->SetColor(clGrayText);
    }
    // no item chosen: the field stays empty
    if (Index >= 0 && Index < Count())
        DrawItem(Index, R, State);
    else
        FCanvas.FillRect(R);
    if (State & odFocused)
        FCanvas.DrawFocusRect(R);
    FCanvas.EndPaint();
}

void TComboBox::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TComboBox::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}

// ---- the drop-down's width and the edit field's selection ----------------------------------

void TComboBox::SetDropDownWidth(int Value)
{
    FDropDownWidth = std::max(0, Value);
    auto* cb = static_cast<QComboBox*>(Widget());
    cb->view()->setMinimumWidth(FDropDownWidth);
}

int TComboBox::SelStart() const
{
    const QLineEdit* e = static_cast<QComboBox*>(Widget())->lineEdit();
    if (!e)
        return 0;
    return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

void TComboBox::SetSelStart(int Value)
{
    if (QLineEdit* e = static_cast<QComboBox*>(Widget())->lineEdit())
        e->setCursorPosition(std::clamp(Value, 0, int(e->text().size())));
}

int TComboBox::SelLength() const
{
    const QLineEdit* e = static_cast<QComboBox*>(Widget())->lineEdit();
    return e ? int(e->selectedText().size()) : 0;
}

void TComboBox::SetSelLength(int Value)
{
    if (QLineEdit* e = static_cast<QComboBox*>(Widget())->lineEdit())
        e->setSelection(SelStart(), std::max(0, Value));
}

QString TComboBox::SelText() const
{
    const QLineEdit* e = static_cast<QComboBox*>(Widget())->lineEdit();
    return e ? e->selectedText() : QString();
}

void TComboBox::SelectAll()
{
    if (QLineEdit* e = static_cast<QComboBox*>(Widget())->lineEdit())
        e->selectAll();
}

// ---- the list's own drawing and the update bracket -----------------------------------------

namespace {
const char* const OwnerDrawnList = "sorvexListOwnerDrawn";
const char* const Updating = "sorvexComboUpdating";
}  // namespace

void SetComboListOwnerDrawn(TComboBox* Combo, bool Value)
{
    QWidget* w = Combo->Widget();
    w->setProperty(OwnerDrawnList, Value);
    // the delegate that draws through the box (kept once set, as for the owner-drawn styles)
    auto* cb = static_cast<QComboBox*>(w);
    if (Value && !dynamic_cast<TComboItemDelegate*>(cb->itemDelegate()))
        cb->setItemDelegate(new TComboItemDelegate(Combo, cb));
    if (cb->view())
        cb->view()->doItemsLayout();
}

bool ComboListOwnerDrawn(const TComboBox* Combo)
{
    if (Combo->IsOwnerDrawn())
        return true;
    return Combo->HandleAllocated() && Combo->Widget()->property(OwnerDrawnList).toBool();
}

void BeginComboUpdate(TComboBox* Combo)
{
    QWidget* w = Combo->Widget();
    w->setProperty(Updating, w->property(Updating).toInt() + 1);
}

void EndComboUpdate(TComboBox* Combo)
{
    QWidget* w = Combo->Widget();
    const int count = w->property(Updating).toInt();
    if (count <= 0)
        return;
    w->setProperty(Updating, count - 1);
    if (count != 1)
        return;
    // the list takes the items at last, with their objects
    std::vector<void*> objects;
    for (int i = 0; i < Combo->Count(); ++i)
        objects.push_back(Combo->Objects(i));
    Combo->SetItems(Combo->Items());
    for (int i = 0; i < Combo->Count(); ++i)
        Combo->SetObjects(i, objects[size_t(i)]);
}
