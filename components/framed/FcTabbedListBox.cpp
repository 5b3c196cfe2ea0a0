#include "components/framed/FcTabbedListBox.h"

#include "components/framed/FcGrafx.h"
#include "components/framed/FcSystem.h"
#include "platform/ui/HeaderControl.h"

#include <cmath>

TFcTabStopList::TFcTabStopList(TFcCustomTabbedListBox* AListBox) : FListBox(AListBox)
{
    SetMax(2147483647);
    SetMin(-2147483647);
}

void TFcTabStopList::SetItem(int Index, int Value)
{
    TFcIntegerList::SetItem(Index, Value);
    FListBox->UpdateTabStops();
}

int TFcTabStopList::Add(int Value)
{
    const int i = TFcIntegerList::Add(Value);
    FListBox->UpdateTabStops();
    return i;
}

void TFcTabStopList::Delete(int Index)
{
    TFcIntegerList::Delete(Index);
    FListBox->UpdateTabStops();
}

void TFcTabStopList::Insert(int Index, int Value)
{
    TFcIntegerList::Insert(Index, Value);
    FListBox->UpdateTabStops();
}

TFcCustomTabbedListBox::TFcCustomTabbedListBox(TComponent* AOwner) : TFcCustomListBox(AOwner), FTabStops(this)
{
    ShowItemHints = false;
    FTabStops.SetDuplicates(dupAccept);
    FDialogUnits = GetAvgCharWidth(*Font());
}

void TFcCustomTabbedListBox::SetTabStops(const TFcIntegerList& Value)
{
    FTabStops.Clear();
    for (int i = 0; i < Value.Count(); ++i)
        FTabStops.TFcIntegerList::Add(Value.Items(i));
    UpdateTabStops();
}

void TFcCustomTabbedListBox::SetTabStopsMode(TFcTabStopsMode Value)
{
    if (FTabStopsMode == Value)
        return;
    FTabStopsMode = Value;
    if (Value == tsmAutomatic)
        AdjustTabStops();
}

std::vector<int> TFcCustomTabbedListBox::GetTabArray() const
{
    std::vector<int> tabs;
    for (int i = 0; i < FTabStops.Count() && i < 1000; ++i)
        tabs.push_back(FTabStops.Items(i) * 4);
    return tabs;
}

std::vector<int> TFcCustomTabbedListBox::TabPixels() const
{
    std::vector<int> px;
    for (int v : GetTabArray())
        px.push_back(int(std::nearbyint(double(v) * FDialogUnits / 4)));
    return px;
}

void TFcCustomTabbedListBox::UpdateTabStops()
{
    Invalidate();
}

void TFcCustomTabbedListBox::AdjustTabStops()
{
    if (Loading() || FUpdateCount > 0 || (ComponentState() & csDestroying) || FTabStopsMode != tsmAutomatic)
        return;
    FTabStops.Clear();
    int columns = 0;
    for (int i = 0; i < Count(); ++i)
        columns = std::max(columns, CountChar(QLatin1Char('\t'), Strings(i)));
    TBitmap plain(1, 1), group(1, 1);
    plain.Canvas()->SetFont(*Font());
    group.Canvas()->SetFont(FGroupFont);
    int stop = 0;
    for (int col = 0; col < columns; ++col) {
        int width = 0;
        for (int i = 0; i < Count(); ++i) {
            const bool header = GetItemIsGroup(i);
            QString text = header ? ItemCaption(i) : Strings(i);
            const QStringList cells = text.split(QLatin1Char('\t'));
            if (col >= cells.size())
                continue;
            int w = (header ? group : plain).Canvas()->TextWidth(cells.at(col));
            if (col == 0 && !header)
                w += InitialTabStopOffset();
            width = std::max(width, w);
        }
        stop += width / FDialogUnits + 4;
        FTabStops.TFcIntegerList::Add(stop);
    }
    UpdateTabStops();
}

void TFcCustomTabbedListBox::Loaded()
{
    TFcCustomListBox::Loaded();
    AdjustTabStops();
    UpdateTabStops();
}

void TFcCustomTabbedListBox::ItemInserted(int Index)
{
    TFcCustomListBox::ItemInserted(Index);
    AdjustTabStops();
}

void TFcCustomTabbedListBox::ItemDeleted(int Index)
{
    TFcCustomListBox::ItemDeleted(Index);
    AdjustTabStops();
}

void TFcCustomTabbedListBox::GroupFontChanged()
{
    AdjustTabStops();
}

void TFcCustomTabbedListBox::FontChanged()
{
    TFcCustomListBox::FontChanged();
    FDialogUnits = GetAvgCharWidth(*Font());
    AdjustTabStops();
}

void TFcCustomTabbedListBox::AdjustHorzExtent()
{
    if (!FHorzScrollBar || FUpdateCount > 0)
        return;
    TBitmap m(1, 1);
    m.Canvas()->SetFont(*Font());
    const std::vector<int> tabs = TabPixels();
    int widest = 0;
    for (int i = 0; i < Count(); ++i) {
        const QStringList cells = (HorzExtentPrefix() + Strings(i) + QLatin1Char('x')).split(QLatin1Char('\t'));
        int x = 0;
        for (int c = 0; c < cells.size(); ++c) {
            if (c > 0)
                x = c - 1 < int(tabs.size()) ? std::max(x, std::abs(tabs[size_t(c - 1)])) : NextDefaultStop(x);
            x += m.Canvas()->TextWidth(cells.at(c));
        }
        widest = std::max(widest, x);
    }
    SetHorzExtent(widest + 1);
}

int TFcCustomTabbedListBox::NextDefaultStop(int X) const
{
    const int step = std::max(1, 8 * FDialogUnits);
    return (X / step + 1) * step;
}

void TFcCustomTabbedListBox::DrawTabbed(const QString& Text, const TRect& R)
{
    TCanvas* c = Canvas();
    const std::vector<int> tabs = TabPixels();
    const int y = R.Top + (R.Height() - c->TextHeight(QStringLiteral("Pp"))) / 2;
    const QStringList cells = Text.split(QLatin1Char('\t'));
    const bool rtl = UseRightToLeftAlignment();
    // x counts from the reading side: mirrored, the cells run leftwards from the right edge
    auto put = [&](int X, const QString& Cell) {
        const int w = c->TextWidth(Cell);
        c->TextRect(R, rtl ? R.Right - 2 - X - w : R.Left + 2 + X, y, Cell);
        return X + w;
    };
    int x = 0;
    for (int i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            if (i - 1 >= int(tabs.size())) {
                // past the given stops the list's default ones hold: every 8 characters
                x = put(NextDefaultStop(x), cells.at(i));
                continue;
            }
            const int stop = tabs[size_t(i - 1)];
            if (stop < 0) {
                // a right-aligned stop: the cell ends there
                x = -stop - c->TextWidth(cells.at(i));
            } else {
                x = std::max(x, stop);
            }
        }
        x = put(x, cells.at(i));
    }
}

void TFcCustomTabbedListBox::DefaultDrawItem(int Index, TRect R, TOwnerDrawState)
{
    Canvas()->FillRect(R);
    Canvas()->Brush()->SetStyle(bsClear);
    DrawTabbed(Strings(Index), R);
    Canvas()->Brush()->SetStyle(bsSolid);
}

void TFcCustomTabbedListBox::DrawGroup(int Index, TRect R, TOwnerDrawState State)
{
    PaintGroupBand(R, State);
    DrawTabbed(ItemCaption(Index), R);
    Canvas()->Brush()->SetStyle(bsSolid);
}

QString TFcCustomTabbedListBox::GetCellText(int ACol, int ARow) const
{
    if (ARow < 0 || ARow >= Count())
        throw EListError(QStringLiteral("Row parameter out of range"));
    const QStringList cells = Strings(ARow).split(QLatin1Char('\t'));
    if (ACol < 0 || ACol >= cells.size())
        throw EListError(QStringLiteral("Column parameter out of range"));
    return cells.at(ACol);
}

void TFcCustomTabbedListBox::SetCellText(int ACol, int ARow, const QString& Value)
{
    if (ARow < 0 || ARow >= Count())
        throw EListError(QStringLiteral("Row parameter out of range"));
    QStringList cells = Strings(ARow).split(QLatin1Char('\t'));
    if (ACol < 0 || ACol >= cells.size())
        throw EListError(QStringLiteral("Column parameter out of range"));
    cells[ACol] = Value;
    SetStrings(ARow, cells.join(QLatin1Char('\t')));
}

void TFcCustomTabbedListBox::UpdateFromHeader(TControl* Header)
{
    auto* header = dynamic_cast<TCustomHeaderControl*>(Header);
    if (!header)
        throw EHeaderError(
            QStringLiteral("Only THeader and THeaderControl components can be passed to TFcCustomTabbedListBox.UpdateFromHeader"));
    const bool headerControl = dynamic_cast<THeaderControl*>(header) != nullptr;
    const int sections = header->SectionCount();
    const int last = std::min(sections - (headerControl ? 1 : 2), FTabStops.Count() - 1);
    int sum = 0;
    for (int i = 0; i <= last; ++i) {
        const int width = header->Section(i).Width;
        sum += width;
        const int stop = FTabStops.Items(i);
        int value;
        if (stop >= 0)
            value = sum / FDialogUnits + 1;
        else if (headerControl && i == sections - 1)
            value = 1 - Width() / FDialogUnits;
        else
            value = 1 - (sum + width + 1) / FDialogUnits;
        FTabStops.TFcIntegerList::SetItem(i, value);
    }
    UpdateTabStops();
}
