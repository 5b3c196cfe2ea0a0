#include "platform/ui/ListBoxes.h"

#include "platform/ui/ControlWidget.h"
#include "platform/ui/Themes.h"

#include <QMouseEvent>
#include <QScrollBar>

namespace {

constexpr int ListBorder = 1;
constexpr int ScrollBarWidth = 17;

// The list's widget: a press moves the selection before the control's
// MouseDown runs (its own event filter is kept in front of the bridge's).
class TListWidget : public TControlWidget {
public:
    explicit TListWidget(TCustomListBox* List) : TControlWidget(List, false), FList(List) {}

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Watched == this && (Event->type() == QEvent::MouseButtonPress || Event->type() == QEvent::MouseButtonDblClick)) {
            auto* e = static_cast<QMouseEvent*>(Event);
            const QPoint p = e->position().toPoint();
            const TMouseButton b = e->button() == Qt::RightButton ? mbRight : e->button() == Qt::MiddleButton ? mbMiddle : mbLeft;
            FList->HandlePress(b, ShiftFromQt(e->modifiers(), e->buttons()), p.x(), p.y());
        }
        return false;
    }

private:
    TCustomListBox* FList;
};

}  // namespace

TCustomListBox::TCustomListBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    FWidth = 121;
    FHeight = 97;
    FColor = clWindow;
    FTabStop = true;
}

TCustomListBox::~TCustomListBox() = default;

QWidget* TCustomListBox::CreateWidget()
{
    auto* w = new TListWidget(this);
    w->setFocusPolicy(Qt::StrongFocus);
    return w;
}

void TCustomListBox::FontChanged()
{
    FLineHeight = 0;
    FAverageCharWidth = 0;
    TCustomControl::FontChanged();
    // runs once the bridge is attached: put the list's own filter in front of it
    if (FWidget)
        FWidget->installEventFilter(FWidget);
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::Resize()
{
    UpdateScrollBar();
    TCustomControl::Resize();
}

// ---- items -------------------------------------------------------------------------------

void TCustomListBox::SetItems(const QStringList& Items)
{
    Clear();
    for (const QString& s : Items)
        AddItem(s);
}

void TCustomListBox::SetStrings(int Index, const QString& Value)
{
    if (Index < 0 || Index >= Count())
        return;
    FItems[Index] = Value;
    Invalidate();
}

void* TCustomListBox::Objects(int Index) const
{
    return Index >= 0 && Index < Count() ? FObjects[size_t(Index)] : nullptr;
}

void TCustomListBox::SetObjects(int Index, void* Value)
{
    if (Index >= 0 && Index < Count())
        FObjects[size_t(Index)] = Value;
}

QString TCustomListBox::Strings(int Index) const
{
    if (Index < 0 || Index >= Count())
        return QString();
    if (IsVirtual()) {
        QString data;
        if (OnData)
            OnData(const_cast<TCustomListBox*>(this), Index, data);
        return data;
    }
    return FItems[Index];
}

int TCustomListBox::IndexOf(const QString& Item) const
{
    if (IsVirtual())
        return OnDataFind ? OnDataFind(const_cast<TCustomListBox*>(this), Item) : -1;
    return int(FItems.indexOf(Item));
}

void TCustomListBox::SetCount(int Value)
{
    if (!IsVirtual() || Value < 0 || Value == Count())
        return;
    // the texts stay with OnData; only the per-item state is kept here
    FItems.resize(Value);
    FObjects.resize(size_t(Value), nullptr);
    FSelected.resize(size_t(Value), false);
    if (FItemIndex >= Value)
        FItemIndex = -1;
    if (FAnchor >= Value)
        FAnchor = FItemIndex;
    FTopIndex = std::min(FTopIndex, MaxTopIndex());
    UpdateScrollBar();
    Invalidate();
}

int TCustomListBox::AddItem(const QString& Item, void* Object)
{
    if (IsVirtual())
        return -1;  // a virtual list's items come from OnData
    int index = Count();
    if (FSorted) {
        index = 0;
        while (index < Count() && FItems[index].compare(Item, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    InsertItem(index, Item, Object);
    return index;
}

void TCustomListBox::InsertItem(int Index, const QString& Item, void* Object)
{
    if (IsVirtual())
        return;
    Index = std::clamp(Index, 0, Count());
    FItems.insert(Index, Item);
    FObjects.insert(FObjects.begin() + Index, Object);
    FSelected.insert(FSelected.begin() + Index, false);
    if (FItemIndex >= Index)
        ++FItemIndex;
    if (FAnchor >= Index)
        ++FAnchor;
    ItemInserted(Index);
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::DeleteItem(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    FItems.removeAt(Index);
    FObjects.erase(FObjects.begin() + Index);
    FSelected.erase(FSelected.begin() + Index);
    if (FItemIndex == Index)
        FItemIndex = -1;
    else if (FItemIndex > Index)
        --FItemIndex;
    if (FAnchor == Index)
        FAnchor = FItemIndex;
    else if (FAnchor > Index)
        --FAnchor;
    ItemDeleted(Index);
    FTopIndex = std::min(FTopIndex, MaxTopIndex());
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::MoveItem(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex || CurIndex < 0 || CurIndex >= Count() || NewIndex < 0 || NewIndex >= Count())
        return;
    FItems.move(CurIndex, NewIndex);
    void* obj = FObjects[size_t(CurIndex)];
    FObjects.erase(FObjects.begin() + CurIndex);
    FObjects.insert(FObjects.begin() + NewIndex, obj);
    const bool sel = FSelected[size_t(CurIndex)];
    FSelected.erase(FSelected.begin() + CurIndex);
    FSelected.insert(FSelected.begin() + NewIndex, sel);
    ItemMoved(CurIndex, NewIndex);
    Invalidate();
}

void TCustomListBox::Clear()
{
    FItems.clear();
    FObjects.clear();
    FSelected.clear();
    FItemIndex = -1;
    FAnchor = -1;
    FTopIndex = 0;
    ItemsCleared();
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::SetSorted(bool Value)
{
    if (FSorted == Value)
        return;
    FSorted = Value;
    if (!Value || IsVirtual())
        return;
    // re-add in order, keeping each item's object
    QStringList items = FItems;
    std::vector<void*> objects = FObjects;
    Clear();
    for (int i = 0; i < items.size(); ++i)
        AddItem(items[i], objects[size_t(i)]);
}

// ---- selection -------------------------------------------------------------------------------

void TCustomListBox::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= Count())
        Value = -1;
    FItemIndex = Value;
    FAnchor = Value;
    if (!FMultiSelect) {
        std::fill(FSelected.begin(), FSelected.end(), false);
        if (Value >= 0)
            FSelected[size_t(Value)] = true;
    }
    if (Value >= 0)
        ScrollIntoView(Value);
    Invalidate();
}

void TCustomListBox::SetMultiSelect(bool Value)
{
    FMultiSelect = Value;
    SetItemIndex(FItemIndex);
}

bool TCustomListBox::Selected(int Index) const
{
    return Index >= 0 && Index < Count() && FSelected[size_t(Index)];
}

void TCustomListBox::SetSelected(int Index, bool Value)
{
    if (Index < 0 || Index >= Count())
        return;
    if (!FMultiSelect) {
        SetItemIndex(Value ? Index : (FItemIndex == Index ? -1 : FItemIndex));
        return;
    }
    FSelected[size_t(Index)] = Value;
    Invalidate();
}

int TCustomListBox::SelCount() const
{
    if (!FMultiSelect)
        return FItemIndex >= 0 ? 1 : 0;
    return int(std::count(FSelected.begin(), FSelected.end(), true));
}

void TCustomListBox::ClearSelection()
{
    std::fill(FSelected.begin(), FSelected.end(), false);
    if (!FMultiSelect)
        FItemIndex = -1;
    Invalidate();
}

void TCustomListBox::SelectAll()
{
    if (!FMultiSelect)
        return;
    std::fill(FSelected.begin(), FSelected.end(), true);
    Invalidate();
}

void TCustomListBox::UserSelect(int Index, TShiftState Shift)
{
    if (Index < 0 || Index >= Count())
        return;
    const int old = FItemIndex;
    if (FMultiSelect) {
        if (ExtendedSelect && (Shift & ssShift) && FAnchor >= 0) {
            std::fill(FSelected.begin(), FSelected.end(), false);
            for (int i = std::min(FAnchor, Index); i <= std::max(FAnchor, Index); ++i)
                FSelected[size_t(i)] = true;
        } else if (!ExtendedSelect || (Shift & ssCtrl)) {
            FSelected[size_t(Index)] = !FSelected[size_t(Index)];
            FAnchor = Index;
        } else {
            std::fill(FSelected.begin(), FSelected.end(), false);
            FSelected[size_t(Index)] = true;
            FAnchor = Index;
        }
        FItemIndex = Index;
    } else {
        std::fill(FSelected.begin(), FSelected.end(), false);
        FSelected[size_t(Index)] = true;
        FItemIndex = Index;
        FAnchor = Index;
    }
    ScrollIntoView(Index);
    Invalidate();
    if (old != FItemIndex && OnChange)
        OnChange(this);
    Click();
}

// ---- geometry -------------------------------------------------------------------------------

void TCustomListBox::SetStyle(TListBoxStyle Value)
{
    if (IsVirtual() != (Value == lbVirtual || Value == lbVirtualOwnerDraw))
        Clear();  // texts kept by the list and texts from OnData do not mix
    FStyle = Value;
    UpdateScrollBar();
    Invalidate();
}

int TCustomListBox::ItemHeight() const
{
    if (IsOwnerDrawn())
        return FItemHeight;
    if (FLineHeight == 0) {
        TCanvas measure;
        measure.Font()->Assign(FFont);
        // the line with a pixel of air above and below, as the light look's lists have
        FLineHeight = std::max(1, measure.TextHeight(QStringLiteral("Wg")) + 2);
    }
    return FLineHeight;
}

void TCustomListBox::SetItemHeight(int Value)
{
    if (Value <= 0)
        return;
    FItemHeight = Value;
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::MeasureItem(int Index, int& Height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, Index, Height);
}

int TCustomListBox::ItemHeightOf(int Index) const
{
    int h = ItemHeight();
    if (FStyle == lbOwnerDrawVariable)
        const_cast<TCustomListBox*>(this)->MeasureItem(Index, h);
    return std::max(1, h);
}

TRect TCustomListBox::ClientRect() const
{
    TRect r = Rect(ListBorder, ListBorder, FWidth - ListBorder, FHeight - ListBorder);
    if (FScrollBar && !FScrollBar->isHidden())
        r.Right -= ScrollBarWidth;
    if (FHScrollBar && !FHScrollBar->isHidden())
        r.Bottom -= ScrollBarWidth;
    if (r.Right < r.Left)
        r.Right = r.Left;
    if (r.Bottom < r.Top)
        r.Bottom = r.Top;
    return r;
}

TRect TCustomListBox::ItemRect(int Index) const
{
    const TRect area = ClientRect();
    if (Index < FTopIndex || Index >= Count() + 1)
        return TRect();
    int y = area.Top;
    for (int i = FTopIndex; i < Index; ++i) {
        y += ItemHeightOf(i);
        if (y >= area.Bottom)
            return TRect();
    }
    const int h = Index < Count() ? ItemHeightOf(Index) : ItemHeight();
    return Rect(area.Left, y, area.Right, y + h);
}

int TCustomListBox::ItemAtPos(const TPoint& Pos, bool Existing) const
{
    const TRect area = ClientRect();
    if (Pos.X < area.Left || Pos.X >= area.Right || Pos.Y < area.Top || Pos.Y >= area.Bottom)
        return -1;
    int y = area.Top;
    for (int i = FTopIndex; i < Count(); ++i) {
        const int h = ItemHeightOf(i);
        if (Pos.Y < y + h)
            return i;
        y += h;
    }
    return Existing ? -1 : Count();
}

int TCustomListBox::VisibleItemCount() const
{
    const TRect area = ClientRect();
    int y = area.Top, n = 0;
    for (int i = FTopIndex; i < Count(); ++i) {
        y += ItemHeightOf(i);
        if (y > area.Bottom)
            break;
        ++n;
    }
    if (FTopIndex + n >= Count()) {
        // below the last item, count what would fit at the item height
        const int rest = area.Bottom - y;
        if (rest > 0)
            n += rest / ItemHeight();
    }
    return n;
}

int TCustomListBox::MaxTopIndex() const
{
    const int height = ClientRect().Height();
    int used = 0, top = Count();
    while (top > 0) {
        const int h = ItemHeightOf(top - 1);
        if (used + h > height)
            break;
        used += h;
        --top;
    }
    return std::max(0, std::min(top, Count() - 1));
}

void TCustomListBox::SetTopIndex(int Value)
{
    Value = std::clamp(Value, 0, MaxTopIndex());
    if (Value == FTopIndex)
        return;
    FTopIndex = Value;
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::ScrollIntoView(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    if (Index < FTopIndex) {
        SetTopIndex(Index);
        return;
    }
    const int height = ClientRect().Height();
    int used = 0;
    for (int i = FTopIndex; i <= Index; ++i)
        used += ItemHeightOf(i);
    int top = FTopIndex;
    while (used > height && top < Index) {
        used -= ItemHeightOf(top);
        ++top;
    }
    SetTopIndex(top);
}

void TCustomListBox::UpdateScrollBar()
{
    if (!FWidget || FScrolling)
        return;
    if (!FScrollBar) {
        FScrollBar = new QScrollBar(Qt::Vertical, FWidget);
        FScrollBar->setFocusPolicy(Qt::NoFocus);
        FScrollBar->hide();
        QObject::connect(FScrollBar, &QScrollBar::valueChanged, [this](int v) {
            if (FScrolling)
                return;
            FScrolling = true;
            FTopIndex = std::clamp(v, 0, std::max(0, Count() - 1));
            FScrolling = false;
            Invalidate();
        });
    }
    if (!FHScrollBar) {
        FHScrollBar = new QScrollBar(Qt::Horizontal, FWidget);
        FHScrollBar->setFocusPolicy(Qt::NoFocus);
        FHScrollBar->hide();
        QObject::connect(FHScrollBar, &QScrollBar::valueChanged, [this](int v) {
            if (FScrolling)
                return;
            FLeftOffset = std::clamp(v, 0, MaxLeftOffset());
            Invalidate();
        });
    }
    // each bar shows when the items do not fit without it; the one takes room from the other
    int total = 0;
    for (int i = 0; i < Count() && total <= FHeight; ++i)
        total += ItemHeightOf(i);
    const int innerWidth = FWidth - 2 * ListBorder, innerHeight = FHeight - 2 * ListBorder;
    bool need = total > innerHeight;
    bool needH = FScrollWidth > 0 && FScrollWidth > innerWidth - (need ? ScrollBarWidth : 0);
    if (needH && !need)
        need = total > innerHeight - ScrollBarWidth;
    if (need && !needH)
        needH = FScrollWidth > 0 && FScrollWidth > innerWidth - ScrollBarWidth;
    FScrollBar->setVisible(need);
    FHScrollBar->setVisible(needH);
    FScrollBar->setGeometry(FWidth - ListBorder - ScrollBarWidth, ListBorder, ScrollBarWidth,
                            std::max(0, innerHeight - (needH ? ScrollBarWidth : 0)));
    FHScrollBar->setGeometry(ListBorder, FHeight - ListBorder - ScrollBarWidth,
                             std::max(0, innerWidth - (need ? ScrollBarWidth : 0)), ScrollBarWidth);
    FScrolling = true;
    const int maxTop = need ? MaxTopIndex() : 0;
    FScrollBar->setRange(0, maxTop);
    FScrollBar->setPageStep(std::max(1, VisibleItemCount()));
    FScrollBar->setSingleStep(1);
    if (FTopIndex > maxTop)
        FTopIndex = maxTop;
    FScrollBar->setValue(FTopIndex);
    const int maxLeft = MaxLeftOffset();
    FLeftOffset = std::min(FLeftOffset, maxLeft);
    FHScrollBar->setRange(0, maxLeft);
    FHScrollBar->setPageStep(std::max(1, ClientRect().Width()));
    FHScrollBar->setSingleStep(std::max(1, ItemHeight()));
    FHScrollBar->setValue(FLeftOffset);
    FScrolling = false;
}

int TCustomListBox::MaxLeftOffset() const
{
    return std::max(0, FScrollWidth - ClientRect().Width());
}

void TCustomListBox::SetScrollWidth(int Value)
{
    FScrollWidth = std::max(0, Value);
    UpdateScrollBar();
    FLeftOffset = std::min(FLeftOffset, MaxLeftOffset());
    Invalidate();
}

void TCustomListBox::SetLeftOffset(int Value)
{
    Value = std::clamp(Value, 0, MaxLeftOffset());
    if (Value == FLeftOffset)
        return;
    FLeftOffset = Value;
    UpdateScrollBar();
    Invalidate();
}

int TCustomListBox::TabStopPixels() const
{
    if (TabWidth <= 0)
        return 0;
    if (FAverageCharWidth == 0) {
        TCanvas measure;
        measure.Font()->Assign(FFont);
        // the average character width as the window system takes it: the mean of the alphabet
        static const QString Alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        FAverageCharWidth = std::max(1, (measure.TextWidth(Alphabet) / 26 + 1) / 2);
    }
    return std::max(1, TabWidth * FAverageCharWidth / 4);
}

// ---- painting -------------------------------------------------------------------------------

TOwnerDrawState TCustomListBox::ItemState(int Index) const
{
    TOwnerDrawState s = 0;
    if (Selected(Index))
        s |= odSelected;
    if (!FEnabled)
        s |= odDisabled;
    if (Index == FItemIndex && FWidget && FWidget->hasFocus())
        s |= odFocused;
    return s;
}

void TCustomListBox::DrawItem(int Index, TRect R, TOwnerDrawState State)
{
    TCanvas* c = Canvas();
    if (IsOwnerDrawn() && OnDrawItem) {
        OnDrawItem(this, Index, R, State);
        return;
    }
    c->FillRect(R);
    const QString text = Strings(Index);
    const unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    const int tab = TabStopPixels();
    TRect t = R;
    t.Left += 2;
    if (tab <= 0 || !text.contains(QLatin1Char('\t'))) {
        c->DrawText(text, t, flags);
        return;
    }
    // columns at the list's own tab stops, measured from the text's start
    const int origin = t.Left;
    const QStringList pieces = text.split(QLatin1Char('\t'));
    for (int i = 0; i < pieces.size(); ++i) {
        TRect p = t;
        c->DrawText(pieces[i], p, flags);
        if (i + 1 < pieces.size()) {
            const int end = t.Left + c->TextWidth(pieces[i]);
            t.Left = origin + ((end - origin) / tab + 1) * tab;
        }
    }
}

void TCustomListBox::Paint()
{
    TCanvas* c = Canvas();
    const TRect area = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FColor);
    c->FillRect(Rect(0, 0, FWidth, FHeight));
    const int saved = c->SaveDC();
    c->IntersectClipRect(area);
    int y = area.Top;
    for (int i = FTopIndex; i < Count() && y < area.Bottom; ++i) {
        const int h = ItemHeightOf(i);
        // scrolled lines start left of the area and are at least ScrollWidth wide
        const int left = area.Left - FLeftOffset;
        const TRect r = Rect(left, y, std::max(area.Right, left + FScrollWidth), y + h);
        const TOwnerDrawState state = ItemState(i);
        c->Font()->Assign(FFont);
        c->Brush()->SetStyle(bsSolid);
        if ((state & odSelected) && FEnabled) {
            c->Brush()->SetColor(clHighlight);
            c->Font()->SetColor(clHighlightText);
        } else {
            c->Brush()->SetColor(FColor);
            if (!FEnabled)
                c->Font()->SetColor(clGrayText);
        }
        DrawItem(i, r, state);
        if (state & odFocused) {
            c->Brush()->SetColor(FColor);
            c->Font()->SetColor(clWindowText);
            c->DrawFocusRect(FocusRectOf(r));
        }
        y += h;
    }
    c->RestoreDC(saved);
    if (Ctl3D()) {
        DrawThemedEditBorder(c, Rect(0, 0, FWidth, FHeight), FWidget && FWidget->hasFocus(), FEnabled);
    } else {
        c->Brush()->SetColor(clWindowFrame);
        c->FrameRect(Rect(0, 0, FWidth, FHeight));
    }
}

// ---- input -------------------------------------------------------------------------------

void TCustomListBox::HandlePress(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!FEnabled)
        return;
    if (CanFocus() && !Focused())
        SetFocus();
    if (Button != mbLeft && Button != mbRight)
        return;
    const int index = ItemAtPos({X, Y}, true);
    if (index < 0)
        return;
    // a right press keeps a multiple selection
    if (Button == mbRight && Selected(index))
        return;
    UserSelect(index, Shift);
}

void TCustomListBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    // dragging with the left button held moves a single selection along
    if (!(Shift & ssLeft) || FMultiSelect || !FEnabled)
        return;
    const int index = ItemAtPos({X, Y}, true);
    if (index >= 0 && index != FItemIndex)
        UserSelect(index, 0);
}

void TCustomListBox::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if ((Key == VK_LEFT || Key == VK_RIGHT) && MaxLeftOffset() > 0) {
        const int step = std::max(1, ItemHeight());
        SetLeftOffset(FLeftOffset + (Key == VK_LEFT ? -step : step));
        Key = 0;
        return;
    }
    if (Count() == 0)
        return;
    int next = -1;
    const int page = std::max(1, VisibleItemCount() - 1);
    switch (Key) {
    case VK_UP:
        next = std::max(0, FItemIndex - 1);
        break;
    case VK_DOWN:
        next = std::min(Count() - 1, FItemIndex + 1);
        break;
    case VK_HOME:
        next = 0;
        break;
    case VK_END:
        next = Count() - 1;
        break;
    case VK_PRIOR:
        next = std::max(0, FItemIndex - page);
        break;
    case VK_NEXT:
        next = std::min(Count() - 1, std::max(0, FItemIndex) + page);
        break;
    default:
        return;
    }
    Key = 0;
    if (next != FItemIndex || !Selected(next))
        UserSelect(next, Shift & ~ssCtrl);
}

void TCustomListBox::KeyPress(QChar& Key)
{
    TCustomControl::KeyPress(Key);
    if (Key.isNull() || Key <= QLatin1Char(' ') || Count() == 0)
        return;
    // the search wraps round after the last item
    for (int step = 1; step <= Count(); ++step) {
        const int i = (std::max(FItemIndex, -1) + step) % Count();
        if (Strings(i).startsWith(Key, Qt::CaseInsensitive)) {
            UserSelect(i, 0);
            break;
        }
    }
    Key = QChar();
}

bool TCustomListBox::WantsKey(Word Key, TShiftState) const
{
    if ((Key == VK_LEFT || Key == VK_RIGHT) && MaxLeftOffset() > 0)
        return true;
    return Key == VK_UP || Key == VK_DOWN || Key == VK_HOME || Key == VK_END || Key == VK_PRIOR || Key == VK_NEXT;
}

bool TCustomListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    SetTopIndex(FTopIndex - WheelDelta / 40);
    return true;
}
