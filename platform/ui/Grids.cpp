#include "platform/ui/Grids.h"

#include "platform/ui/ControlWidget.h"
#include "platform/ui/Themes.h"

#include <QApplication>
#include <QLineEdit>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>

namespace {

// A grid with right-to-left alignment lays its columns out from the right
// edge of its cell area: positions worked out left to right are reflected
// across the area (a rectangle by its edges, a point by its pixel).
TRect MirroredIn(const TRect& Area, const TRect& R)
{
    return TRect(Area.Left + Area.Right - R.Right, R.Top, Area.Left + Area.Right - R.Left, R.Bottom);
}

int MirroredXIn(const TRect& Area, int X)
{
    return Area.Left + Area.Right - 1 - X;
}
constexpr int SizingMargin = 3;
constexpr int ScrollBarExtent = 16;
}  // namespace

// ---- TCustomGrid: geometry ---------------------------------------------------------------

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner)
{
    FOptions = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    FColWidths.assign(5, FDefaultColWidth);
    FRowHeights.assign(5, FDefaultRowHeight);
    FColor = clWindow;
    FParentColor = false;
    SetTabStop(true);
    FWidth = 320;
    FHeight = 120;
}

TCustomGrid::~TCustomGrid() = default;

QWidget* TCustomGrid::CreateWidget()
{
    auto* w = new TControlWidget(this, false);
    w->setFocusPolicy(Qt::StrongFocus);
    w->setAttribute(Qt::WA_OpaquePaintEvent);
    FVScroll = new QScrollBar(Qt::Vertical, w);
    FHScroll = new QScrollBar(Qt::Horizontal, w);
    FVScroll->setFocusPolicy(Qt::NoFocus);
    FHScroll->setFocusPolicy(Qt::NoFocus);
    QObject::connect(FVScroll, &QScrollBar::valueChanged, [this](int v) { OnVScroll(v); });
    QObject::connect(FHScroll, &QScrollBar::valueChanged, [this](int v) { OnHScroll(v); });
    return w;
}

int TCustomGrid::LineWidthH() const
{
    return (FOptions & (goVertLine | goFixedVertLine)) ? FGridLineWidth : 0;
}

int TCustomGrid::LineWidthV() const
{
    return (FOptions & (goHorzLine | goFixedHorzLine)) ? FGridLineWidth : 0;
}

void TCustomGrid::SetColCount(int v)
{
    v = std::max(v, 1);
    if (v == ColCount())
        return;
    const int oldCols = ColCount(), oldRows = RowCount();
    FColWidths.resize(size_t(v), FDefaultColWidth);
    FFixedCols = std::min(FFixedCols, v - 1 < 0 ? 0 : std::max(0, v - 1));
    FCurrent.X = std::clamp(FCurrent.X, FFixedCols, v - 1);
    FAnchor.X = std::clamp(FAnchor.X, FFixedCols, v - 1);
    ClampTopLeft();
    SizeChanged(oldCols, oldRows);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetRowCount(int v)
{
    v = std::max(v, 1);
    if (v == RowCount())
        return;
    const int oldCols = ColCount(), oldRows = RowCount();
    FRowHeights.resize(size_t(v), FDefaultRowHeight);
    FFixedRows = std::min(FFixedRows, std::max(0, v - 1));
    FCurrent.Y = std::clamp(FCurrent.Y, FFixedRows, v - 1);
    FAnchor.Y = std::clamp(FAnchor.Y, FFixedRows, v - 1);
    ClampTopLeft();
    SizeChanged(oldCols, oldRows);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetFixedCols(int v)
{
    v = std::clamp(v, 0, std::max(0, ColCount() - 1));
    FFixedCols = v;
    FCurrent.X = std::max(FCurrent.X, v);
    FAnchor.X = std::max(FAnchor.X, v);
    FTopLeft.X = std::max(FTopLeft.X, v);
    ClampTopLeft();
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetFixedRows(int v)
{
    v = std::clamp(v, 0, std::max(0, RowCount() - 1));
    FFixedRows = v;
    FCurrent.Y = std::max(FCurrent.Y, v);
    FAnchor.Y = std::max(FAnchor.Y, v);
    FTopLeft.Y = std::max(FTopLeft.Y, v);
    ClampTopLeft();
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int v)
{
    FDefaultColWidth = v;
    std::fill(FColWidths.begin(), FColWidths.end(), v);
    ColWidthsChanged();
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int v)
{
    FDefaultRowHeight = v;
    std::fill(FRowHeights.begin(), FRowHeights.end(), v);
    RowHeightsChanged();
    Invalidate();
}

void TCustomGrid::SetColWidths(int i, int w)
{
    if (i < 0 || i >= ColCount() || FColWidths[size_t(i)] == w)
        return;
    FColWidths[size_t(i)] = w;
    ColWidthsChanged();
    Invalidate();
}

void TCustomGrid::SetRowHeights(int i, int h)
{
    if (i < 0 || i >= RowCount() || FRowHeights[size_t(i)] == h)
        return;
    FRowHeights[size_t(i)] = h;
    RowHeightsChanged();
    Invalidate();
}

void TCustomGrid::SetGridLineWidth(int v)
{
    FGridLineWidth = std::max(0, v);
    Invalidate();
}

void TCustomGrid::SetTopRow(int v)
{
    v = std::clamp(v, FFixedRows, std::max(FFixedRows, RowCount() - 1));
    if (v == FTopLeft.Y)
        return;
    FTopLeft.Y = v;
    ClampTopLeft();
    TopLeftChanged();
}

void TCustomGrid::SetLeftCol(int v)
{
    v = std::clamp(v, FFixedCols, std::max(FFixedCols, ColCount() - 1));
    if (v == FTopLeft.X)
        return;
    FTopLeft.X = v;
    ClampTopLeft();
    TopLeftChanged();
}

void TCustomGrid::SetCol(int v) { MoveColRow(v, FCurrent.Y, true, true); }
void TCustomGrid::SetRow(int v) { MoveColRow(FCurrent.X, v, true, true); }

TGridRect TCustomGrid::Selection() const
{
    TGridRect r;
    r.Left = std::min(FAnchor.X, FCurrent.X);
    r.Right = std::max(FAnchor.X, FCurrent.X);
    r.Top = std::min(FAnchor.Y, FCurrent.Y);
    r.Bottom = std::max(FAnchor.Y, FCurrent.Y);
    if (FOptions & goRowSelect) {
        r.Left = FFixedCols;
        r.Right = ColCount() - 1;
    }
    return r;
}

int TCustomGrid::VisibleRowCount() const
{
    const TRect area = GridClientRect();
    int y = area.Top;
    for (int r = 0; r < FFixedRows; ++r)
        y += FRowHeights[size_t(r)] + LineWidthV();
    int n = 0;
    for (int r = FTopLeft.Y; r < RowCount(); ++r) {
        y += FRowHeights[size_t(r)] + LineWidthV();
        if (y > area.Bottom + LineWidthV())
            break;
        ++n;
    }
    return n;
}

int TCustomGrid::VisibleColCount() const
{
    const TRect area = GridClientRect();
    int x = area.Left;
    for (int c = 0; c < FFixedCols; ++c)
        x += FColWidths[size_t(c)] + LineWidthH();
    int n = 0;
    for (int c = FTopLeft.X; c < ColCount(); ++c) {
        x += FColWidths[size_t(c)] + LineWidthH();
        if (x > area.Right + LineWidthH())
            break;
        ++n;
    }
    return n;
}

void TCustomGrid::SetOptions(TGridOptions v)
{
    if (FOptions == v)
        return;
    FOptions = v;
    if (!(v & goEditing))
        HideEditor();
    else if (v & goAlwaysShowEditor)
        ShowEditor();
    Invalidate();
}

void TCustomGrid::SetFixedColor(TColor v)
{
    FFixedColor = v;
    Invalidate();
}

void TCustomGrid::SetDrawingStyle(grids::TGridDrawingStyle v)
{
    FDrawingStyle = v;
    Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle v)
{
    FScrollBars = v;
    UpdateScrollBars();
    Invalidate();
}

int TCustomGrid::ScrollBarSize()
{
    return ScrollBarExtent;
}

TRect TCustomGrid::GridClientRect() const
{
    TRect r = Rect(0, 0, Width(), Height());
    if (FVScroll && FVScroll->isVisibleTo(FVScroll->parentWidget()))
        r.Right -= ScrollBarExtent;
    if (FHScroll && FHScroll->isVisibleTo(FHScroll->parentWidget()))
        r.Bottom -= ScrollBarExtent;
    return r;
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return TRect();
    if (ACol >= FFixedCols && ACol < FTopLeft.X)
        return TRect();
    if (ARow >= FFixedRows && ARow < FTopLeft.Y)
        return TRect();
    const TRect area = GridClientRect();
    int x = area.Left;
    for (int c = 0; c < std::min(ACol, FFixedCols); ++c)
        x += FColWidths[size_t(c)] + LineWidthH();
    if (ACol >= FFixedCols)
        for (int c = FTopLeft.X; c < ACol; ++c)
            x += FColWidths[size_t(c)] + LineWidthH();
    int y = area.Top;
    for (int r = 0; r < std::min(ARow, FFixedRows); ++r)
        y += FRowHeights[size_t(r)] + LineWidthV();
    if (ARow >= FFixedRows)
        for (int r = FTopLeft.Y; r < ARow; ++r)
            y += FRowHeights[size_t(r)] + LineWidthV();
    if (x >= area.Right || y >= area.Bottom)
        return TRect();
    const TRect r = Rect(x, y, x + FColWidths[size_t(ACol)], y + FRowHeights[size_t(ARow)]);
    return UseRightToLeftAlignment() ? MirroredIn(area, r) : r;
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const
{
    TGridCoord c{-1, -1};
    const TRect area = GridClientRect();
    if (!area.Contains({X, Y}))
        return c;
    if (UseRightToLeftAlignment())
        X = MirroredXIn(area, X);
    int x = area.Left;
    for (int i = 0; i < ColCount(); ++i) {
        if (i >= FFixedCols && i < FTopLeft.X)
            continue;
        const int w = FColWidths[size_t(i)] + LineWidthH();
        if (X >= x && X < x + w) {
            c.X = i;
            break;
        }
        x += w;
        if (x > area.Right)
            break;
    }
    int y = area.Top;
    for (int i = 0; i < RowCount(); ++i) {
        if (i >= FFixedRows && i < FTopLeft.Y)
            continue;
        const int h = FRowHeights[size_t(i)] + LineWidthV();
        if (Y >= y && Y < y + h) {
            c.Y = i;
            break;
        }
        y += h;
        if (y > area.Bottom)
            break;
    }
    if (c.X < 0 || c.Y < 0)
        return TGridCoord{-1, -1};
    return c;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const
{
    const TGridCoord c = MouseCoord(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

TRect TCustomGrid::BoxRect(int ALeft, int ATop, int ARight, int ABottom) const
{
    TRect a = CellRect(ALeft, ATop), b = CellRect(ARight, ABottom);
    if (a.IsEmpty() || b.IsEmpty())
        return TRect();
    return Rect(a.Left, a.Top, b.Right, b.Bottom);
}

void TCustomGrid::InvalidateCell(int, int) { Invalidate(); }
void TCustomGrid::InvalidateRow(int) { Invalidate(); }
void TCustomGrid::InvalidateCol(int) { Invalidate(); }

void TCustomGrid::EndUpdate()
{
    if (FUpdateLock > 0 && --FUpdateLock == 0) {
        UpdateScrollBars();
        Invalidate();
    }
}

void TCustomGrid::ClampTopLeft()
{
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, ColCount() - 1));
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, RowCount() - 1));
    // No empty space below the last row when rows are hidden above.
    const TRect area = GridClientRect();
    int fixedH = 0;
    for (int r = 0; r < FFixedRows; ++r)
        fixedH += FRowHeights[size_t(r)] + LineWidthV();
    int room = area.Height() - fixedH;
    int top = RowCount();
    while (top > FFixedRows && room >= FRowHeights[size_t(top - 1)] + LineWidthV()) {
        room -= FRowHeights[size_t(top - 1)] + LineWidthV();
        --top;
    }
    FTopLeft.Y = std::min(FTopLeft.Y, std::max(FFixedRows, top));
}

void TCustomGrid::ScrollIntoView(int ACol, int ARow)
{
    const TGridCoord old = FTopLeft;
    if (ARow >= FFixedRows) {
        if (ARow < FTopLeft.Y)
            FTopLeft.Y = ARow;
        else
            while (FTopLeft.Y < ARow && ARow >= FTopLeft.Y + std::max(1, VisibleRowCount()))
                ++FTopLeft.Y;
    }
    if (ACol >= FFixedCols) {
        if (ACol < FTopLeft.X)
            FTopLeft.X = ACol;
        else
            while (FTopLeft.X < ACol && ACol >= FTopLeft.X + std::max(1, VisibleColCount()))
                ++FTopLeft.X;
    }
    if (!(old == FTopLeft))
        TopLeftChanged();
}

void TCustomGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show)
{
    ACol = std::clamp(ACol, FFixedCols, std::max(FFixedCols, ColCount() - 1));
    ARow = std::clamp(ARow, FFixedRows, std::max(FFixedRows, RowCount() - 1));
    if (ACol == FCurrent.X && ARow == FCurrent.Y) {
        if (MoveAnchor)
            FAnchor = FCurrent;
        if (Show)
            ScrollIntoView(ACol, ARow);
        return;
    }
    if (!SelectCell(ACol, ARow))
        return;
    if (FEditorMode)
        UpdateText();
    const TGridCoord old = FCurrent;
    FCurrent = {ACol, ARow};
    if (MoveAnchor || !(FOptions & goRangeSelect))
        FAnchor = FCurrent;
    if (Show)
        ScrollIntoView(ACol, ARow);
    if (FEditorMode || (FOptions & goAlwaysShowEditor))
        InvalidateEditor();
    Invalidate();
    CellMoved(old.X, old.Y);
}

void TCustomGrid::SizeChanged(int, int) {}

bool TCustomGrid::SelectCell(int, int) { return true; }

void TCustomGrid::TopLeftChanged()
{
    UpdateScrollBars();
    if (FEditorMode)
        InvalidateEditor();
    Invalidate();
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

void TCustomGrid::ColWidthsChanged()
{
    UpdateScrollBars();
    if (FEditorMode)
        InvalidateEditor();
}

void TCustomGrid::RowHeightsChanged()
{
    UpdateScrollBars();
    if (FEditorMode)
        InvalidateEditor();
}

void TCustomGrid::ColumnMoved(int, int) {}
void TCustomGrid::RowMoved(int, int) {}

bool TCustomGrid::BeginColumnDrag(int& Origin, int& Destination, const TPoint&)
{
    Destination = Origin;
    return Origin >= FFixedCols;
}

bool TCustomGrid::CheckColumnDrag(int& Origin, int& Destination, const TPoint&)
{
    (void)Origin;
    return Destination >= FFixedCols;
}

bool TCustomGrid::EndColumnDrag(int& Origin, int& Destination, const TPoint&)
{
    return Origin != Destination && Destination >= FFixedCols;
}

void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs) const
{
    State = gsNormal;
    Index = -1;
    const TGridCoord c = MouseCoord(X, Y);
    if (c.Y < 0 || c.Y >= FFixedRows || !(FOptions & goColSizing))
        return;
    // Near the right edge of a column in the fixed rows: size that column.
    for (int col = 0; col < ColCount(); ++col) {
        const TRect r = CellRect(col, c.Y);
        if (r.IsEmpty())
            continue;
        // The border a column is sized at is its far edge: the left one when mirrored.
        const int edge = UseRightToLeftAlignment() ? r.Left : r.Right;
        if (std::abs(X - edge) <= SizingMargin) {
            State = gsColSizing;
            Index = col;
            SizingPos = edge;
            SizingOfs = X - edge;
            return;
        }
    }
}

void TCustomGrid::CellClick(int, int, TMouseButton, TShiftState) {}

void TCustomGrid::DoHintShow(int ACol, int ARow, QString& HintStr, bool& CanShow)
{
    if (OnCellHint)
        OnCellHint(this, ACol, ARow, HintStr, CanShow);
}
void TCustomGrid::FixedCellClick(int, int) {}

bool TCustomGrid::CanHotTrack(int ACol, int ARow) const
{
    return (FOptions & goFixedHotTrack) && (ACol < FFixedCols || ARow < FFixedRows);
}

void TCustomGrid::SetHotTrackCell(TGridCoord C, bool Pressed)
{
    if (C == HotTrackCell() && Pressed == FHotTrackInfo.Pressed)
        return;
    FHotTrackInfo.Rect = {C.X, C.Y, C.X, C.Y};
    FHotTrackInfo.Pressed = Pressed;
    Invalidate();
}

// ---- scroll bars ---------------------------------------------------------------------

void TCustomGrid::GetVertScrollInfo(int& Min, int& Max, int& Page, int& Pos) const
{
    Page = std::max(1, VisibleRowCount());
    Min = FFixedRows;
    Max = std::max(FFixedRows, RowCount() - Page);
    Pos = FTopLeft.Y;
}

void TCustomGrid::VertScrollTo(int Pos) { SetTopRow(Pos); }

void TCustomGrid::VertScrollBy(int Lines) { SetTopRow(FTopLeft.Y + Lines); }

void TCustomGrid::UpdateScrollBars()
{
    if (!FVScroll || FUpdateLock > 0)
        return;
    FSettingScroll = true;
    int mn = 0, mx = 0, page = 1, pos = 0;
    GetVertScrollInfo(mn, mx, page, pos);
    const bool vs = ForceVertScrollBar || ((FScrollBars == ssVertical || FScrollBars == ssBoth) && mx > mn);
    FVScroll->setRange(mn, std::max(mn, mx));
    FVScroll->setPageStep(page);
    FVScroll->setValue(pos);
    FVScroll->setVisible(vs);
    int total = 0;
    for (int c = FFixedCols; c < ColCount(); ++c)
        total += FColWidths[size_t(c)] + LineWidthH();
    int fixedW = 0;
    for (int c = 0; c < FFixedCols; ++c)
        fixedW += FColWidths[size_t(c)] + LineWidthH();
    const bool hs = (FScrollBars == ssHorizontal || FScrollBars == ssBoth) && fixedW + total > Width() - (vs ? ScrollBarExtent : 0);
    FHScroll->setRange(FFixedCols, std::max(FFixedCols, ColCount() - 1));
    FHScroll->setPageStep(std::max(1, VisibleColCount()));
    FHScroll->setValue(FTopLeft.X);
    FHScroll->setVisible(hs);
    LayoutScrollBars();
    FSettingScroll = false;
}

void TCustomGrid::LayoutScrollBars()
{
    if (!FVScroll)
        return;
    const bool vs = FVScroll->isVisibleTo(FVScroll->parentWidget());
    const bool hs = FHScroll->isVisibleTo(FHScroll->parentWidget());
    FVScroll->setGeometry(Width() - ScrollBarExtent, 0, ScrollBarExtent, Height() - (hs ? ScrollBarExtent : 0));
    FHScroll->setGeometry(0, Height() - ScrollBarExtent, Width() - (vs ? ScrollBarExtent : 0), ScrollBarExtent);
}

void TCustomGrid::OnVScroll(int v)
{
    if (FSettingScroll)
        return;
    VertScrollTo(v);
}

void TCustomGrid::OnHScroll(int v)
{
    if (FSettingScroll)
        return;
    SetLeftCol(v);
}

void TCustomGrid::Resize()
{
    TCustomControl::Resize();
    ClampTopLeft();
    UpdateScrollBars();
    if (FEditorMode)
        InvalidateEditor();
}

void TCustomGrid::FontChanged()
{
    TCustomControl::FontChanged();
    if (FInplaceEdit)
        FInplaceEdit->SetFont(*Font());
}

// ---- painting ------------------------------------------------------------------------

TColor TCustomGrid::FixedCellColor() const { return FFixedColor; }

bool TCustomGrid::IsCellSelected(int ACol, int ARow) const
{
    const TGridRect s = Selection();
    return ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
}

void TCustomGrid::Paint()
{
    TCanvas* c = Canvas();
    const TRect area = GridClientRect();
    const bool mirrored = UseRightToLeftAlignment();
    auto M = [&](const TRect& R) { return mirrored ? MirroredIn(area, R) : R; };
    const int saved = c->SaveDC();
    c->IntersectClipRect(area);
    const bool focused = Focused();
    std::vector<int> rows, cols;
    {
        int y = area.Top;
        for (int r = 0; r < RowCount() && y < area.Bottom; ++r) {
            if (r >= FFixedRows && r < FTopLeft.Y)
                continue;
            rows.push_back(r);
            y += FRowHeights[size_t(r)] + LineWidthV();
        }
        int x = area.Left;
        for (int k = 0; k < ColCount() && x < area.Right; ++k) {
            if (k >= FFixedCols && k < FTopLeft.X)
                continue;
            cols.push_back(k);
            x += FColWidths[size_t(k)] + LineWidthH();
        }
    }
    int maxX = area.Left, maxY = area.Top;
    int y = area.Top;
    for (int r : rows) {
        const int h = FRowHeights[size_t(r)];
        int x = area.Left;
        for (int k : cols) {
            const int w = FColWidths[size_t(k)];
            const TRect cell = Rect(x, y, x + w, y + h);
            const bool fixed = k < FFixedCols || r < FFixedRows;
            TGridDrawState st = 0;
            if (fixed) {
                st |= gdFixed;
                if (HotTrackCell() == TGridCoord{k, r} && CanHotTrack(k, r)) {
                    st |= gdHotTrack;
                    if (FHotTrackInfo.Pressed)
                        st |= gdPressed;
                }
            } else {
                const bool current = k == FCurrent.X && r == FCurrent.Y;
                if (current && focused)
                    st |= gdFocused;
                if (IsCellSelected(k, r) && (!current || (FOptions & (goDrawFocusSelected | goRowSelect)) || !focused))
                    st |= gdSelected;
            }
            DrawCell(k, r, M(cell), st);
            x += w + LineWidthH();
        }
        maxX = std::max(maxX, x);
        y += h + LineWidthV();
    }
    maxY = y;
    // The lines between cells, one stroke per row and column band.
    c->Brush()->SetStyle(bsSolid);
    auto lineColor = [&](bool fixed, bool on) { return on ? (fixed ? clBlack : clSilver) : (fixed ? FixedCellColor() : Color()); };
    if (LineWidthV() > 0) {
        int ly = area.Top;
        for (int r : rows) {
            ly += FRowHeights[size_t(r)];
            const bool fixedRow = r < FFixedRows;
            int lx = area.Left;
            for (int k : cols) {
                const bool fixed = fixedRow || k < FFixedCols;
                const int w = FColWidths[size_t(k)] + LineWidthH();
                // Runs of cells of one kind share one stroke.
                c->Brush()->SetColor(lineColor(fixed, fixed ? (FOptions & goFixedHorzLine) : (FOptions & goHorzLine)));
                int run = w;
                if (!fixed) {
                    for (auto it = std::find(cols.begin(), cols.end(), k) + 1; it != cols.end() && *it >= FFixedCols; ++it)
                        run += FColWidths[size_t(*it)] + LineWidthH();
                    c->FillRect(M(Rect(lx, ly, lx + run, ly + LineWidthV())));
                    break;
                }
                c->FillRect(M(Rect(lx, ly, lx + run, ly + LineWidthV())));
                lx += run;
            }
            ly += LineWidthV();
        }
    }
    if (LineWidthH() > 0) {
        int lx = area.Left;
        for (int k : cols) {
            lx += FColWidths[size_t(k)];
            const bool fixedCol = k < FFixedCols;
            int ly = area.Top;
            int fixedH = 0;
            for (int r : rows)
                if (r < FFixedRows)
                    fixedH += FRowHeights[size_t(r)] + LineWidthV();
            if (fixedH > 0) {
                c->Brush()->SetColor(lineColor(true, FOptions & goFixedVertLine));
                c->FillRect(M(Rect(lx, ly, lx + LineWidthH(), ly + fixedH)));
            }
            ly += fixedH;
            const bool fixedBody = fixedCol;
            c->Brush()->SetColor(lineColor(fixedBody, fixedBody ? (FOptions & goFixedVertLine) : (FOptions & goVertLine)));
            c->FillRect(M(Rect(lx, ly, lx + LineWidthH(), maxY)));
            lx += LineWidthH();
        }
    }
    // What lies right of and below the cells.
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    if (maxX < area.Right)
        c->FillRect(M(Rect(maxX, area.Top, area.Right, area.Bottom)));
    if (maxY < area.Bottom)
        c->FillRect(M(Rect(area.Left, maxY, std::min(maxX, area.Right), area.Bottom)));
    // Column sizing line.
    if (FGridState == gsColSizing) {
        c->Pen()->SetColor(clBlack);
        c->MoveTo(FSizingPos, area.Top);
        c->LineTo(FSizingPos, area.Bottom);
    }
    c->RestoreDC(saved);
    // The corner between the scroll bars.
    if (FVScroll && FHScroll && FVScroll->isVisibleTo(FVScroll->parentWidget()) && FHScroll->isVisibleTo(FHScroll->parentWidget())) {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(Rect(Width() - ScrollBarExtent, Height() - ScrollBarExtent, Width(), Height()));
    }
    PaintBands();
}

void TCustomGrid::DrawCellBackground(const TRect& ARect, TColor AColor, TGridDrawState AState, int, int)
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    if ((AState & gdFixed) && FDrawingStyle == grids::gdsThemed) {
        // Fixed cells are header sections of the light look.
        DrawThemedHeaderSection(c, ARect, (AState & gdPressed) ? tsPressed : (AState & gdHotTrack) ? tsHot : tsNormal);
        c->Brush()->SetColor(AColor);
        return;
    }
    if ((AState & gdFixed) && FDrawingStyle == grids::gdsGradient) {
        c->GradientFill(ARect, GradientStartColor, GradientEndColor, gdVertical);
    } else {
        c->Brush()->SetColor(AColor);
        c->FillRect(ARect);
    }
    if ((AState & gdFixed) && Ctl3D() && FDrawingStyle == grids::gdsClassic) {
        TRect r = ARect;
        DrawEdge(c, r, (AState & gdPressed) ? BDR_SUNKENINNER : BDR_RAISEDINNER, BF_RECT);
    } else if ((AState & gdFixed) && (AState & gdHotTrack)) {
        c->Brush()->SetColor((AState & gdPressed) ? clBtnShadow : clHighlight);
        c->FrameRect(ARect);
    }
}

void TCustomGrid::DrawCellHighlight(const TRect& ARect, TGridDrawState AState, int, int)
{
    TCanvas* c = Canvas();
    if (FDrawingStyle == grids::gdsThemed) {
        DrawThemedItemSelection(c, ARect, Focused() || (FInplaceEdit && FInplaceEdit->Focused()));
        c->Brush()->SetColor(ThemedSelectionColor(Focused()));
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(clWindowText);
        return;
    }
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clHighlight);
    c->FillRect(ARect);
    c->Font()->SetColor(clHighlightText);
    (void)AState;
}

void TCustomGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    if (AState & gdFixed)
        DrawCellBackground(ARect, FixedCellColor(), AState, ACol, ARow);
    else if (AState & gdSelected)
        DrawCellHighlight(ARect, AState, ACol, ARow);
    else
        DrawCellBackground(ARect, Color(), AState, ACol, ARow);
    if ((AState & gdFocused) && !(FOptions & goRowSelect))
        Canvas()->DrawFocusRect(ARect);
}

// ---- editing -------------------------------------------------------------------------

bool TCustomGrid::CanEditShow() const
{
    return (FOptions & goEditing) && !(FOptions & goRowSelect) && FCurrent.X >= FFixedCols && FCurrent.Y >= FFixedRows;
}

bool TCustomGrid::CanEditModify() { return true; }

bool TCustomGrid::CanEditAcceptKey(QChar Key) const { return Key.isPrint() || Key == QLatin1Char('\b'); }

QString TCustomGrid::GetEditText(int, int) { return QString(); }

void TCustomGrid::SetEditText(int, int, const QString&) {}

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEditList(this); }

void TCustomGrid::SetEditorMode(bool v)
{
    if (v)
        ShowEditor();
    else
        HideEditor();
}

void TCustomGrid::ShowEditor()
{
    if (!CanEditShow())
        return;
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        FInplaceEdit->SetGrid(this);
        FInplaceEdit->SetParent(this);
        FInplaceEdit->SetFont(*Font());
    }
    FEditorMode = true;
    InvalidateEditor();
    FInplaceEdit->Show();
    if (Focused() || (FInplaceEdit->Widget() && QApplication::focusWidget() == nullptr))
        FInplaceEdit->SetFocus();
}

void TCustomGrid::HideEditor()
{
    if (!FEditorMode)
        return;
    FEditorMode = false;
    if (FInplaceEdit) {
        const bool hadFocus = FInplaceEdit->Focused();
        FInplaceEdit->Hide();
        if (hadFocus && CanFocus())
            SetFocus();
    }
    Invalidate();
}

void TCustomGrid::InvalidateEditor()
{
    if (!FInplaceEdit || !FEditorMode)
        return;
    const TRect r = CellRect(FCurrent.X, FCurrent.Y);
    if (r.IsEmpty()) {
        FInplaceEdit->Move(Rect(-1000, -1000, -900, -980));
    } else {
        FInplaceEdit->Move(r);
    }
    FInplaceEdit->UpdateContents();
}

void TCustomGrid::UpdateText()
{
    if (!FInplaceEdit || !FEditorMode)
        return;
    if (FInplaceEdit->Text() != FEditorStartText || FInplaceEdit->Modified) {
        SetEditText(FCurrent.X, FCurrent.Y, FInplaceEdit->Text());
        FEditorStartText = FInplaceEdit->Text();
        FInplaceEdit->Modified = false;
    }
}

void TCustomGrid::EditorKeyDown(Word& Key, TShiftState Shift)
{
    switch (Key) {
    case VK_ESCAPE:
        if (FInplaceEdit) {
            FInplaceEdit->SetText(FEditorStartText);
            FInplaceEdit->Modified = false;
        }
        if (!(FOptions & goAlwaysShowEditor))
            HideEditor();
        Key = 0;
        break;
    case VK_RETURN:
        UpdateText();
        if (!(FOptions & goAlwaysShowEditor))
            HideEditor();
        else
            InvalidateEditor();
        Key = 0;
        break;
    default:
        KeyDown(Key, Shift);
        break;
    }
}

// ---- input ---------------------------------------------------------------------------

bool TCustomGrid::WantsKey(Word Key, TShiftState) const
{
    return Key == VK_RETURN || Key == VK_ESCAPE || (Key == VK_TAB && (FOptions & goTabs));
}

void TCustomGrid::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    const int page = std::max(1, VisibleRowCount());
    int c = FCurrent.X, r = FCurrent.Y;
    const bool ctrl = Shift & ssCtrl;
    bool moved = true;
    switch (Key) {
    case VK_UP:
        --r;
        break;
    case VK_DOWN:
        ++r;
        break;
    case VK_PRIOR:
        r -= page;
        break;
    case VK_NEXT:
        r += page;
        break;
    case VK_LEFT:
        if (FOptions & goRowSelect)
            SetLeftCol(LeftCol() - 1), moved = false;
        else
            --c;
        break;
    case VK_RIGHT:
        if (FOptions & goRowSelect)
            SetLeftCol(LeftCol() + 1), moved = false;
        else
            ++c;
        break;
    case VK_HOME:
        if (ctrl)
            r = FFixedRows;
        c = FFixedCols;
        break;
    case VK_END:
        if (ctrl)
            r = RowCount() - 1;
        c = ColCount() - 1;
        break;
    case VK_TAB:
        if (!(FOptions & goTabs)) {
            moved = false;
            break;
        }
        if (Shift & ssShift) {
            if (--c < FFixedCols) {
                c = ColCount() - 1;
                --r;
            }
        } else if (++c >= ColCount()) {
            c = FFixedCols;
            ++r;
        }
        break;
    case VK_F2:
        ShowEditor();
        moved = false;
        Key = 0;
        break;
    default:
        moved = false;
        break;
    }
    if (moved) {
        MoveColRow(c, r, !(Shift & ssShift) || !(FOptions & goRangeSelect), true);
        Key = 0;
    }
}

void TCustomGrid::KeyPress(QChar& Key)
{
    TCustomControl::KeyPress(Key);
    if (Key.isNull())
        return;
    if (Key == QLatin1Char('\r')) {
        if (FEditorMode)
            HideEditor();
        else
            ShowEditor();
        Key = QChar();
        return;
    }
    if ((FOptions & goEditing) && !FEditorMode && Key.isPrint() && CanEditAcceptKey(Key)) {
        ShowEditor();
        if (FEditorMode && FInplaceEdit && CanEditModify()) {
            // Typing over a cell replaces its text with the key.
            FInplaceEdit->SetText(QString(Key));
            FInplaceEdit->Modified = true;
            FInplaceEdit->SetSelStart(1);
        }
        Key = QChar();
    }
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    FMouseDownPt = {X, Y};
    FDragPt = {X, Y};
    if (CanFocus() && !Focused() && !(FInplaceEdit && FInplaceEdit->Focused()))
        SetFocus();
    if (Button != mbLeft)
        return;
    TGridState st = gsNormal;
    int idx = -1, pos = 0, ofs = 0;
    CalcSizingState(X, Y, st, idx, pos, ofs);
    if (st == gsColSizing) {
        FGridState = gsColSizing;
        FSizingIndex = idx;
        FSizingPos = pos;
        FSizingOfs = ofs;
        return;
    }
    const TGridCoord c = MouseCoord(X, Y);
    if (c.X < 0)
        return;
    if (c.X < FFixedCols || c.Y < FFixedRows) {
        if (CanHotTrack(c.X, c.Y))
            SetHotTrackCell(c, true);
        if ((FOptions & goColMoving) && c.Y < FFixedRows && c.X >= FFixedCols) {
            int origin = c.X, dest = c.X;
            if (BeginColumnDrag(origin, dest, {X, Y})) {
                FMoveIndex = origin;
                FMovePos = dest;
                FGridState = gsColMoving;
            }
        }
        return;
    }
    if (FEditorMode && c.X == FCurrent.X && c.Y == FCurrent.Y)
        return;
    MoveColRow(c.X, c.Y, !(Shift & ssShift), true);
    if (Shift & ssDouble) {
        if (FOptions & goEditing)
            ShowEditor();
    } else if ((FOptions & goAlwaysShowEditor) && (FOptions & goEditing)) {
        ShowEditor();
    }
    CellClick(c.X, c.Y, Button, Shift);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    FDragPt = {X, Y};
    if (FDragPending && (Shift & ssLeft)
        && (std::abs(X - FMouseDownPt.X) > FDragThreshold || std::abs(Y - FMouseDownPt.Y) > FDragThreshold))
        BeginDrag(true);
    if (FDragging) {
        ShowDragTarget(X, Y);
        return;
    }
    switch (FGridState) {
    case gsColSizing: {
        const TRect r = CellRect(FSizingIndex, 0);
        if (UseRightToLeftAlignment())
            FSizingPos = std::min((r.IsEmpty() ? Width() : r.Right) - 4, X - FSizingOfs);
        else
            FSizingPos = std::max((r.IsEmpty() ? 0 : r.Left) + 4, X - FSizingOfs);
        Invalidate();
        return;
    }
    case gsColMoving: {
        const TGridCoord c = MouseCoord(X, Y);
        if (c.X >= 0) {
            int origin = FMoveIndex, dest = c.X;
            if (CheckColumnDrag(origin, dest, {X, Y}))
                FMovePos = dest;
        }
        return;
    }
    default:
        break;
    }
    TGridState st = gsNormal;
    int idx = -1, pos = 0, ofs = 0;
    CalcSizingState(X, Y, st, idx, pos, ofs);
    // Only the shape shown: the grid's own Cursor stays what its owner set.
    ShowCursorShape(st == gsColSizing ? crHSplit : Cursor());
    const TGridCoord c = MouseCoord(X, Y);
    if (!(c == FHintCell))
        RefreshCellHint(X, Y);
    if (c.X >= 0 && CanHotTrack(c.X, c.Y))
        SetHotTrackCell(c, FHotTrackInfo.Pressed && (Shift & ssLeft) && c == HotTrackCell());
    else if (HotTrackCell().X >= 0)
        SetHotTrackCell({-1, -1}, false);
}

void TCustomGrid::RefreshCellHint(int X, int Y)
{
    const TGridCoord c = MouseCoord(X, Y);
    FHintCell = c;
    QString hint;
    bool show = true;
    if (c.X >= 0)
        DoHintShow(c.X, c.Y, hint, show);
    hint.replace(QLatin1Char('|'), QLatin1Char('\n'));
    SetHint(show ? hint : QString());
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FDragPt = {X, Y};
    if (FDragging && Button == mbLeft) {
        EndDrag(true);
        return;
    }
    FDragPending = false;
    const TGridState st = FGridState;
    FGridState = gsNormal;
    if (st == gsColSizing) {
        const TRect r = CellRect(FSizingIndex, 0);
        if (!r.IsEmpty())
            SetColWidths(FSizingIndex, std::max(4, UseRightToLeftAlignment() ? r.Right - FSizingPos : FSizingPos - r.Left));
        Invalidate();
        return;
    }
    if (st == gsColMoving) {
        int origin = FMoveIndex, dest = FMovePos;
        if (origin != dest && EndColumnDrag(origin, dest, {X, Y})) {
            std::swap(FColWidths[size_t(origin)], FColWidths[size_t(dest)]);
            ColumnMoved(origin, dest);
            Invalidate();
            FHotTrackInfo.Pressed = false;
            return;
        }
    }
    const TGridCoord c = MouseCoord(X, Y);
    const bool wasPressed = FHotTrackInfo.Pressed;
    if (FHotTrackInfo.Pressed)
        SetHotTrackCell(HotTrackCell(), false);
    if (Button == mbLeft && c.X >= 0 && (c.X < FFixedCols || c.Y < FFixedRows)) {
        const TGridCoord down = MouseCoord(FMouseDownPt.X, FMouseDownPt.Y);
        if (down == c && (wasPressed || !CanHotTrack(c.X, c.Y)))
            FixedCellClick(c.X, c.Y);
    }
}

void TCustomGrid::MouseLeave()
{
    TCustomControl::MouseLeave();
    if (HotTrackCell().X >= 0)
        SetHotTrackCell({-1, -1}, false);
}

bool TCustomGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    const int steps = WheelDelta / 120;
    if (steps != 0)
        VertScrollBy(-steps * 3);
    return true;
}

void TCustomGrid::DoEnter()
{
    TCustomControl::DoEnter();
    if ((FOptions & goAlwaysShowEditor) && !FEditorMode)
        ShowEditor();
    Invalidate();
}

void TCustomGrid::DoExit()
{
    TCustomControl::DoExit();
    if (FGridState != gsNormal || FDragging || FDragPending || FHotTrackInfo.Pressed)
        CancelMode(nullptr);
    Invalidate();
}

// ---- dragging and cancel mode ------------------------------------------------------------

void TCustomGrid::BeginDrag(bool Immediate, int Threshold)
{
    if (FDragging)
        return;
    FDragThreshold = Threshold < 0 ? 5 : Threshold;
    if (Immediate || FDragThreshold == 0) {
        FDragPending = false;
        FDragging = true;
        ShowCursorShape(crDrag);
        DoStartDrag();
    } else {
        FDragPending = true;
    }
}

void TCustomGrid::EndDrag(bool Drop)
{
    FDragPending = false;
    if (!FDragging)
        return;
    FDragging = false;
    ShowCursorShape(Cursor());
    const TPoint p = FDragPt;
    TComponent* target = nullptr;
    if (Drop)
        // The control under the drop point (the grid itself when it is there).
        target = ControlAt(p.X, p.Y);
    DoEndDrag(target, p.X, p.Y);
}

TControl* TCustomGrid::ControlAt(int X, int Y) const
{
    const QPoint global = const_cast<TCustomGrid*>(this)->Widget()->mapToGlobal(QPoint(X, Y));
    for (QWidget* w = QApplication::widgetAt(global); w; w = w->parentWidget())
        if (TControl* c = TControlBridge::ControlOf(w))
            return c;
    return X >= 0 && Y >= 0 && X < Width() && Y < Height() ? const_cast<TCustomGrid*>(this) : nullptr;
}

void TCustomGrid::ShowDragTarget(int X, int Y)
{
    // The cursor says whether the grid under the mouse would take the drop.
    auto* g = dynamic_cast<TCustomGrid*>(ControlAt(X, Y));
    bool accept = false;
    if (g) {
        const TPoint p = g->ScreenToClient(ClientToScreen({X, Y}));
        accept = g->DragOverAt(this, p.X, p.Y);
    }
    ShowCursorShape(accept ? crDrag : crNoDrop);
}

bool TCustomGrid::DragOverAt(TComponent* Source, int X, int Y)
{
    bool accept = false;
    if (OnDragOver)
        OnDragOver(this, Source, X, Y, accept);
    return accept;
}

void TCustomGrid::DoStartDrag()
{
    if (OnStartDrag)
        OnStartDrag(this);
}

void TCustomGrid::DoEndDrag(TComponent* Target, int X, int Y)
{
    if (OnEndDrag)
        OnEndDrag(this, Target, X, Y);
}

void TCustomGrid::CancelMode(TControl* Sender)
{
    FGridState = gsNormal;
    FSizingIndex = -1;
    FMoveIndex = -1;
    FMovePos = -1;
    if (FHotTrackInfo.Pressed)
        SetHotTrackCell(HotTrackCell(), false);
    if (FDragging || FDragPending)
        EndDrag(false);
    ShowCursorShape(Cursor());
    if (FInplaceEdit && Sender != FInplaceEdit)
        FInplaceEdit->CancelMode(Sender);
    Invalidate();
}

// ---- TCustomDrawGrid -----------------------------------------------------------------

void TCustomDrawGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    if (DefaultDrawing || !OnDrawCell)
        TCustomGrid::DrawCell(ACol, ARow, ARect, AState);
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TCustomDrawGrid::SelectCell(int ACol, int ARow)
{
    bool ok = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, ok);
    return ok;
}

QString TCustomDrawGrid::GetEditText(int ACol, int ARow)
{
    QString v;
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, v);
    return v;
}

QString TCustomDrawGrid::GetEditMask(int ACol, int ARow) const
{
    QString v;
    if (OnGetEditMask)
        OnGetEditMask(const_cast<TCustomDrawGrid*>(this), ACol, ARow, v);
    return v;
}

void TCustomDrawGrid::SetEditText(int ACol, int ARow, const QString& Value)
{
    if (OnSetEditText)
        OnSetEditText(this, ACol, ARow, Value);
}

void TCustomDrawGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    if (OnColumnMoved)
        OnColumnMoved(this, FromIndex, ToIndex);
}

void TCustomDrawGrid::RowMoved(int FromIndex, int ToIndex)
{
    if (OnRowMoved)
        OnRowMoved(this, FromIndex, ToIndex);
}

void TCustomDrawGrid::FixedCellClick(int ACol, int ARow)
{
    if (OnFixedCellClick)
        OnFixedCellClick(this, ACol, ARow);
}

// ---- TStringGrid ---------------------------------------------------------------------

QString TStringGrid::Cells(int ACol, int ARow) const
{
    auto it = FCells.find({ACol, ARow});
    return it == FCells.end() ? QString() : it->second;
}

void TStringGrid::SetCells(int ACol, int ARow, const QString& Value)
{
    if (Value.isEmpty())
        FCells.erase({ACol, ARow});
    else
        FCells[{ACol, ARow}] = Value;
    InvalidateCell(ACol, ARow);
}

void* TStringGrid::Objects(int ACol, int ARow) const
{
    auto it = FObjects.find({ACol, ARow});
    return it == FObjects.end() ? nullptr : it->second;
}

void TStringGrid::SetObjects(int ACol, int ARow, void* Value) { FObjects[{ACol, ARow}] = Value; }

QStringList TStringGrid::Cols(int ACol) const
{
    QStringList r;
    for (int i = 0; i < RowCount(); ++i)
        r << Cells(ACol, i);
    return r;
}

QStringList TStringGrid::Rows(int ARow) const
{
    QStringList r;
    for (int i = 0; i < ColCount(); ++i)
        r << Cells(i, ARow);
    return r;
}

void TStringGrid::SetRows(int ARow, const QStringList& Values)
{
    for (int i = 0; i < Values.size() && i < ColCount(); ++i)
        SetCells(i, ARow, Values[i]);
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    if (DefaultDrawing) {
        TCustomGrid::DrawCell(ACol, ARow, ARect, AState);
        TCanvas* c = Canvas();
        c->Font()->Assign(*Font());
        if ((AState & gdSelected) && !(AState & gdFixed))
            c->Font()->SetColor(clHighlightText);
        c->Brush()->SetStyle(bsClear);
        c->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
        c->Brush()->SetStyle(bsSolid);
    }
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}

QString TStringGrid::GetEditText(int ACol, int ARow)
{
    QString v = Cells(ACol, ARow);
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, v);
    return v;
}

void TStringGrid::SetEditText(int ACol, int ARow, const QString& Value)
{
    SetCells(ACol, ARow, Value);
    TDrawGrid::SetEditText(ACol, ARow, Value);
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    for (int r = 0; r < RowCount(); ++r) {
        const QString a = Cells(FromIndex, r), b = Cells(ToIndex, r);
        SetCells(FromIndex, r, b);
        SetCells(ToIndex, r, a);
    }
    TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    for (int k = 0; k < ColCount(); ++k) {
        const QString a = Cells(k, FromIndex), b = Cells(k, ToIndex);
        SetCells(k, FromIndex, b);
        SetCells(k, ToIndex, a);
    }
    TDrawGrid::RowMoved(FromIndex, ToIndex);
}
