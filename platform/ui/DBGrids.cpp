#include "platform/ui/DBGrids.h"
#include "platform/ui/Themes.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QRawFont>
#include <QSet>
#include <QStaticText>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace {

// The cell font as Qt sees it, kept while the same font paints cell after
// cell: building it and its metrics for each cell costs more than the text.
// Each font keeps the laid-out texts it drew, since laying out a text costs
// more than drawing it and a grid paints the same texts page after page.
struct CellFont {
    TFont Font;
    QFont QtFont;
    std::unique_ptr<QFontMetrics> Metrics;
    QHash<QString, QStaticText> Texts;
    // Texts drawn once: laid out and kept when they come again (a text seen
    // once, as most are while paging through a long table, is cheaper to
    // draw directly).
    QSet<QString> Seen;
    // Glyphs and advances of the Latin letters, for texts drawn without
    // going through the full text layout.
    QRawFont Raw;
    bool RawTried = false;
    static constexpr int SimpleChars = 0x250;
    std::array<quint32, SimpleChars> Glyphs{};
    std::array<qreal, SimpleChars> Advances{};
    std::array<signed char, SimpleChars> Known{};  // 0 unknown, 1 simple, -1 not
    bool Matches(const TFont& F) const { return Font == F && Font.Pitch() == F.Pitch() && Font.Quality() == F.Quality(); }
};

constexpr int KeptFonts = 6;
constexpr qsizetype KeptTextsPerFont = 8192;

CellFont& CellFontOf(const TFont& F)
{
    // Most recently used first: titles, cells and the indicator take turns.
    thread_local std::vector<std::unique_ptr<CellFont>> fonts;
    for (size_t i = 0; i < fonts.size(); ++i) {
        if (fonts[i]->Matches(F)) {
            if (i > 0)
                std::rotate(fonts.begin(), fonts.begin() + ptrdiff_t(i), fonts.begin() + ptrdiff_t(i) + 1);
            return *fonts.front();
        }
    }
    auto c = std::make_unique<CellFont>();
    c->Font.Assign(F);
    c->QtFont = F.ToQFont();
    c->Metrics = std::make_unique<QFontMetrics>(c->QtFont);
    if (int(fonts.size()) >= KeptFonts)
        fonts.pop_back();
    fonts.insert(fonts.begin(), std::move(c));
    return *fonts.front();
}

// The kept layout of a text, nullptr the first time the text is drawn.
const QStaticText* LaidOutText(CellFont& CF, const QString& Text)
{
    auto it = CF.Texts.constFind(Text);
    if (it != CF.Texts.constEnd())
        return &*it;
    if (!CF.Seen.contains(Text)) {
        if (CF.Seen.size() >= 4 * KeptTextsPerFont)
            CF.Seen.clear();
        CF.Seen.insert(Text);
        return nullptr;
    }
    if (CF.Texts.size() >= KeptTextsPerFont)
        CF.Texts.clear();
    QStaticText st(Text);
    st.setTextFormat(Qt::PlainText);
    st.setPerformanceHint(QStaticText::ModerateCaching);
    st.prepare(QTransform(), CF.QtFont);
    return &*CF.Texts.insert(Text, st);
}

// The glyphs of a text whose characters are all simple Latin ones with a
// glyph of their own in the font (false otherwise: the full layout draws it).
bool SimpleGlyphs(CellFont& CF, const QString& Text, QList<quint32>& Glyphs, QList<QPointF>& Positions, qreal& Width)
{
    if (!CF.RawTried) {
        CF.RawTried = true;
        CF.Raw = QRawFont::fromFont(CF.QtFont);
    }
    if (!CF.Raw.isValid())
        return false;
    Glyphs.clear();
    Positions.clear();
    qreal x = 0;
    for (QChar ch : Text) {
        const char16_t u = ch.unicode();
        if (u < 0x20 || u >= CellFont::SimpleChars)
            return false;
        if (CF.Known[u] == 0) {
            const QList<quint32> g = CF.Raw.glyphIndexesForString(QString(ch));
            if (g.size() != 1 || g[0] == 0) {
                CF.Known[u] = -1;
            } else {
                CF.Known[u] = 1;
                CF.Glyphs[u] = g[0];
                CF.Advances[u] = CF.Raw.advancesForGlyphIndexes(g).value(0).x();
            }
        }
        if (CF.Known[u] < 0)
            return false;
        Glyphs.append(CF.Glyphs[u]);
        Positions.append(QPointF(x, 0));
        x += CF.Advances[u];
    }
    Width = x;
    return true;
}

// Text drawn in a cell as the canvas's TextRect would (the brush fills the
// cell when solid), clipped to it, with two pixels of margin and centred
// vertically.
void WriteText(TCanvas* C, const TRect& R, const QString& Text, TAlignment A)
{
    const int margin = 2;
    QPainter* p = C->Painter();
    if (!p) {
        C->TextRect(R, R.Left + margin, R.Top, Text);
        return;
    }
    if (C->Brush()->Style() == bsSolid)
        C->FillRect(R);
    if (Text.isEmpty() || R.Width() <= 2 * margin)
        return;
    CellFont& cf = CellFontOf(*C->Font());
    p->setFont(cf.QtFont);
    p->setPen(ToQColor(C->Font()->Color()));
    const QRect box(R.Left + margin, R.Top, R.Width() - 2 * margin, R.Height());
    const bool plainLine =
        !Text.contains(QLatin1Char('\n')) && !Text.contains(QLatin1Char('\r')) && !Text.contains(QLatin1Char('\t'));
    thread_local QList<quint32> glyphs;
    thread_local QList<QPointF> positions;
    qreal width = 0;
    if (plainLine && SimpleGlyphs(cf, Text, glyphs, positions, width)) {
        const int w = int(std::ceil(width));
        const int x = A == taRightJustify ? box.right() + 1 - w : A == taCenter ? box.left() + (box.width() - w) / 2 : box.left();
        const int y = box.top() + (box.height() - cf.Metrics->height()) / 2 + cf.Metrics->ascent();
        QGlyphRun run;
        run.setRawFont(cf.Raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        const bool clip = w > box.width() || cf.Metrics->height() > box.height();
        if (clip) {
            p->save();
            p->setClipRect(box, Qt::IntersectClip);
        }
        p->drawGlyphRun(QPointF(x, y), run);
        if (clip)
            p->restore();
        return;
    }
    const QStaticText* kept = plainLine ? LaidOutText(cf, Text) : nullptr;
    if (!kept) {
        int flags = Qt::AlignVCenter | Qt::TextSingleLine;
        flags |= A == taRightJustify ? Qt::AlignRight : A == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
        p->drawText(box, flags, Text);
        return;
    }
    const QStaticText& st = *kept;
    const int w = int(std::ceil(st.size().width()));
    const int h = cf.Metrics->height();
    const int x = A == taRightJustify ? box.right() + 1 - w : A == taCenter ? box.left() + (box.width() - w) / 2 : box.left();
    const int y = box.top() + (box.height() - h) / 2;
    // Only a text that does not fit needs a clip.
    const bool clip = w > box.width() || h > box.height();
    if (clip) {
        p->save();
        p->setClipRect(box, Qt::IntersectClip);
    }
    p->drawStaticText(QPoint(x, y), st);
    if (clip)
        p->restore();
}

QString CellText(const TField* F)
{
    if (!F)
        return QString();
    switch (F->DataType()) {
    case ftGraphic:
        return QStringLiteral("(GRAPHIC)");
    case ftBlob:
    case ftTypedBinary:
        return QStringLiteral("(BLOB)");
    case ftFmtMemo:
    case ftMemo:
    case ftWideMemo:
        return F->AsString().section(QLatin1Char('\n'), 0, 0);
    default:
        return F->DisplayText();
    }
}

}  // namespace

void DrawGridCellText(TCanvas* C, const TRect& R, const QString& Text, TAlignment A)
{
    WriteText(C, R, Text, A);
}

// ---- TCustomDBGrid -------------------------------------------------------------------

TCustomDBGrid::TCustomDBGrid(TComponent* AOwner)
    : TCustomGrid(AOwner), FDataLink(this), FColumns(this), FSelectedRows(this)
{
    FDBOptions = dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines | dgRowLines | dgTabs | dgConfirmDelete |
                 dgCancelOnExit | dgTitleClick | dgTitleHotTrack;
    FDefaultRowHeight = 20;
    FTitleFont.Assign(*Font());
    ApplyGridOptions();
    LayoutChanged();
}

TCustomDBGrid::~TCustomDBGrid()
{
    FInLayout = true;
    FDataLink.SetDataSource(nullptr);
}

void TCustomDBGrid::SetDataSource(TDataSource* v)
{
    if (v == FDataLink.DataSource())
        return;
    FSelectedRows.Clear();
    FDataLink.SetDataSource(v);
    LinkActive(FDataLink.Active());
}

void TCustomDBGrid::SetOptions(TDBGridOptions v)
{
    if (v == FDBOptions)
        return;
    FDBOptions = v;
    if (!(v & dgMultiSelect))
        FSelectedRows.Clear();
    ApplyGridOptions();
    LayoutChanged();
}

void TCustomDBGrid::ApplyGridOptions()
{
    // The fixed-cell click options have no data grid option of their own: a
    // descendant sets them on the base and they stay.
    TGridOptions g = TCustomGrid::Options() & (goFixedColClick | goFixedRowClick);
    if (FDBOptions & dgColLines)
        g |= goVertLine | goFixedVertLine;
    if (FDBOptions & dgRowLines)
        g |= goHorzLine | goFixedHorzLine;
    if (FDBOptions & dgEditing)
        g |= goEditing;
    if (FDBOptions & dgAlwaysShowEditor)
        g |= goAlwaysShowEditor;
    if (FDBOptions & dgTabs)
        g |= goTabs;
    if (FDBOptions & dgRowSelect)
        g |= goRowSelect;
    if (FDBOptions & dgColumnResize)
        g |= goColSizing | goColMoving;
    TCustomGrid::SetOptions(g);
}

void TCustomDBGrid::SetTitleFont(const TFont& v)
{
    FTitleFont.Assign(v);
    LayoutChanged();
}

void TCustomDBGrid::FontChanged()
{
    TCustomGrid::FontChanged();
    LayoutChanged();
}

TField* TCustomDBGrid::Fields(int i) const
{
    return ValidFieldIndex(i) ? FColumns.Items(i)->Field() : nullptr;
}

int TCustomDBGrid::RawToDataColumn(int ACol) const
{
    const int i = ACol - IndicatorOffset();
    return i >= 0 && i < int(FVisibleCols.size()) ? FVisibleCols[size_t(i)] : -1;
}

int TCustomDBGrid::DataToRawColumn(int ACol) const
{
    for (size_t i = 0; i < FVisibleCols.size(); ++i)
        if (FVisibleCols[i] == ACol)
            return int(i) + IndicatorOffset();
    return -1;
}

TColumn* TCustomDBGrid::ColumnAt(int RawCol) const
{
    const int d = RawToDataColumn(RawCol);
    return d >= 0 ? FColumns.Items(d) : nullptr;
}

int TCustomDBGrid::SelectedIndex() const { return RawToDataColumn(Col()); }

void TCustomDBGrid::SetSelectedIndex(int v)
{
    const int raw = DataToRawColumn(v);
    if (raw >= 0)
        MoveColRow(raw, Row(), true, true);
}

TField* TCustomDBGrid::SelectedField() const
{
    const int d = SelectedIndex();
    return d >= 0 ? FColumns.Items(d)->Field() : nullptr;
}

void TCustomDBGrid::SetSelectedField(TField* v)
{
    for (int i = 0; i < FColumns.Count(); ++i)
        if (FColumns.Items(i)->Field() == v) {
            SetSelectedIndex(i);
            return;
        }
}

// ---- layout --------------------------------------------------------------------------

void TCustomDBGrid::EndLayout()
{
    if (FLayoutLock > 0 && --FLayoutLock == 0)
        LayoutChanged();
}

void TCustomDBGrid::LayoutChanged()
{
    if (FLayoutLock > 0 || FInLayout)
        return;
    FInLayout = true;
    try {
        const int oldData = SelectedIndex();
        if (FColumns.State() == csDefault) {
            // Default columns follow the dataset's fields; a program may still
            // adjust them (hide one, set a width) until the fields change.
            TDataSet* ds = FDataLink.Active() ? FDataLink.DataSet() : nullptr;
            bool same = ds != nullptr;
            if (ds) {
                int n = 0;
                for (int i = 0; i < ds->FieldCount() && same; ++i) {
                    if (!ds->Fields()[i]->Visible())
                        continue;
                    same = n < FColumns.Count() && FColumns.Items(n)->Field() == ds->Fields()[i];
                    ++n;
                }
                same = same && n == FColumns.Count();
            }
            if (!same) {
                if (ds)
                    FColumns.RebuildColumns();
                else
                    FColumns.Clear();
            }
        }
        FVisibleCols.clear();
        for (int i = 0; i < FColumns.Count(); ++i)
            if (FColumns.Items(i)->Visible())
                FVisibleCols.push_back(i);
        const int ind = IndicatorOffset();
        BeginUpdate();
        FFixedCols = 0;
        FFixedRows = 0;
        SetColCount(ind + std::max<int>(1, int(FVisibleCols.size())));
        FFixedCols = ind;
        if (ind > 0)
            FColWidths[0] = IndicatorColWidth();
        for (size_t i = 0; i < FVisibleCols.size(); ++i)
            FColWidths[size_t(ind) + i] = FColumns.Items(FVisibleCols[i])->Width();
        if (FVisibleCols.empty())
            FColWidths[size_t(ind)] = 64;
        FFixedCols = std::min(ind + std::max(0, FrozenDataColumns()), std::max(ind, ColCount() - 1));
        FFixedRows = TitleOffset();
        UpdateRowCount();
        FTopLeft = {std::max(FTopLeft.X, FFixedCols), FFixedRows};
        FCurrent.X = std::clamp(oldData >= 0 && DataToRawColumn(oldData) >= 0 ? DataToRawColumn(oldData) : FCurrent.X, FFixedCols,
                                ColCount() - 1);
        FAnchor = FCurrent;
        EndUpdate();
    } catch (...) {
        FInLayout = false;
        throw;
    }
    FInLayout = false;
    UpdateActive();
    Invalidate();
}

void TCustomDBGrid::UpdateRowCount()
{
    const TRect area = GridClientRect();
    const int title = TitleOffset() ? TitleRowHeight() + LineWidthV() : 0;
    const int per = DataRowHeight() + LineWidthV();
    const int rows = std::max(1, (area.Height() - title) / std::max(1, per));
    if (FDataLink.Active())
        FDataLink.SetBufferCount(rows);
    const int data = FDataLink.Active() ? std::max(1, FDataLink.RecordCount()) : 1;
    const int want = TitleOffset() + data;
    const int oldFixed = FFixedRows;
    FFixedRows = 0;
    FRowHeights.assign(size_t(want), DataRowHeight());
    if (TitleOffset())
        FRowHeights[0] = TitleRowHeight();
    FFixedRows = oldFixed;
    FCurrent.Y = std::clamp(FCurrent.Y, FFixedRows, std::max(FFixedRows, RowCount() - 1));
    FTopLeft.Y = FFixedRows;
}

void TCustomDBGrid::UpdateActive()
{
    if (!FDataLink.Active())
        return;
    const int row = TitleOffset() + FDataLink.ActiveRecord();
    if (row != FCurrent.Y) {
        FCurrent.Y = row;
        FAnchor.Y = row;
    }
    UpdateScrollBars();
    if (EditorMode())
        InvalidateEditor();
}

void TCustomDBGrid::Resize()
{
    TCustomGrid::Resize();
    UpdateRowCount();
    UpdateActive();
}

// ---- link notifications --------------------------------------------------------------

void TCustomDBGrid::LinkActive(bool Value)
{
    // A dataset that closes or opens frees or makes its fields: no column may
    // keep pointing at the old ones.
    for (const auto& column : FColumns.FItems)
        column->FField = nullptr;
    if (!Value)
        HideEditor();
    FSelectedRows.Clear();
    LayoutChanged();
}

void TCustomDBGrid::DataChanged()
{
    if (!HandleAllocated() && !FDataLink.Active())
        return;
    UpdateRowCount();
    UpdateActive();
    if (EditorMode() && FInplaceEdit)
        FInplaceEdit->UpdateContents();
    Invalidate();
}

void TCustomDBGrid::Scroll(int Distance)
{
    (void)Distance;
    if (FDataLink.Active() && TitleOffset() + FDataLink.RecordCount() != RowCount())
        UpdateRowCount();
    UpdateActive();
    Invalidate();
}

void TCustomDBGrid::EditingChanged()
{
    if (!FDataLink.Editing() && EditorMode() && !(FDBOptions & dgAlwaysShowEditor))
        HideEditor();
    Invalidate();
}

void TCustomDBGrid::RecordChanged(TField* Field)
{
    if (EditorMode() && FInplaceEdit && (!Field || Field == SelectedField()) && !FDataLink.FInUpdateData)
        FInplaceEdit->UpdateContents();
    Invalidate();
}

void TCustomDBGrid::UpdateData()
{
    TField* f = SelectedField();
    if (!f)
        return;
    if (f->FieldKind() == fkLookup && f->LookupDataSet) {
        // A lookup column writes the key of the chosen text into its key field.
        const QVariant key = f->LookupDataSet->Lookup(f->LookupResultField, {FEditText}, f->LookupKeyFields);
        if (TField* k = f->DataSet()->FindField(f->KeyFields))
            k->SetAsVariant(key);
        return;
    }
    f->SetText(FEditText);
}

void TCustomDBGrid::ColEnter()
{
    if (OnColEnter)
        OnColEnter(this);
}

void TCustomDBGrid::ColExit()
{
    if (OnColExit)
        OnColExit(this);
}

void TCustomDBGrid::TitleClick(TColumn* Column)
{
    if (OnTitleClick)
        OnTitleClick(Column);
}

void TCustomDBGrid::DoCellClick(TColumn* Column)
{
    if (OnCellClick)
        OnCellClick(Column);
}

// ---- moving --------------------------------------------------------------------------

bool TCustomDBGrid::SelectCell(int ACol, int ARow)
{
    if (ACol != Col())
        ColExit();
    if (FDataLink.Active() && ARow != Row()) {
        TDataSet* ds = FDataLink.DataSet();
        ds->MoveBy(ARow - Row());
    }
    return true;
}

void TCustomDBGrid::CellMoved(int OldCol, int OldRow)
{
    (void)OldRow;
    UpdateActive();
    if (OldCol != Col())
        ColEnter();
}

void TCustomDBGrid::CellClick(int ACol, int ARow, TMouseButton Button, TShiftState Shift)
{
    (void)ARow;
    (void)Button;
    (void)Shift;
    DoCellClick(ColumnAt(ACol));
}

void TCustomDBGrid::FixedCellClick(int ACol, int ARow)
{
    if (ARow < TitleOffset() && ACol >= IndicatorOffset() && (FDBOptions & dgTitleClick))
        TitleClick(ColumnAt(ACol));
}

void TCustomDBGrid::ColWidthsChanged()
{
    TCustomGrid::ColWidthsChanged();
    if (FInLayout)
        return;
    FInLayout = true;
    for (size_t i = 0; i < FVisibleCols.size(); ++i) {
        TColumn* c = FColumns.Items(FVisibleCols[i]);
        const int w = FColWidths[size_t(IndicatorOffset()) + i];
        if (w != c->Width()) {
            c->FWidth = w;
            c->FAssigned |= cvWidth;
        }
    }
    FInLayout = false;
}

void TCustomDBGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    const int from = RawToDataColumn(FromIndex), to = RawToDataColumn(ToIndex);
    if (from >= 0 && to >= 0) {
        FColumns.Move(from, to);
        if (OnColumnMoved)
            OnColumnMoved(this, from, to);
    }
}

bool TCustomDBGrid::BeginColumnDrag(int& Origin, int& Destination, const TPoint& MousePt)
{
    return Origin >= IndicatorOffset() && TCustomGrid::BeginColumnDrag(Origin, Destination, MousePt);
}

bool TCustomDBGrid::CheckColumnDrag(int& Origin, int& Destination, const TPoint& MousePt)
{
    return Destination >= IndicatorOffset() && TCustomGrid::CheckColumnDrag(Origin, Destination, MousePt);
}

void TCustomDBGrid::GetVertScrollInfo(int& Min, int& Max, int& Page, int& Pos) const
{
    TDataSet* ds = const_cast<TGridDataLink&>(FDataLink).DataSet();
    Min = 0;
    if (!FDataLink.Active() || !ds) {
        Max = 0;
        Page = 1;
        Pos = 0;
        return;
    }
    Page = std::max(1, FDataLink.BufferCount());
    Max = std::max(0, ds->RecordCount() - 1);
    Pos = std::max(0, ds->RecNo() - 1);
}

void TCustomDBGrid::VertScrollTo(int Pos)
{
    if (!FDataLink.Active())
        return;
    TDataSet* ds = FDataLink.DataSet();
    ds->MoveBy(Pos - (ds->RecNo() - 1));
}

void TCustomDBGrid::VertScrollBy(int Lines)
{
    if (FDataLink.Active())
        FDataLink.DataSet()->MoveBy(Lines);
}

void TCustomDBGrid::KeyDown(Word& Key, TShiftState Shift)
{
    if (OnKeyDown) {
        OnKeyDown(this, Key, Shift);
        if (Key == 0)
            return;
    }
    TDataSet* ds = FDataLink.Active() ? FDataLink.DataSet() : nullptr;
    if (!ds) {
        TCustomGrid::KeyDown(Key, Shift);
        return;
    }
    const bool ctrl = Shift & ssCtrl;
    const int page = std::max(1, FDataLink.BufferCount());
    auto clearSel = [&] {
        if ((FDBOptions & dgMultiSelect) && !(Shift & ssShift))
            FSelectedRows.Clear();
    };
    switch (Key) {
    case VK_UP:
        if (ds->State() == dsInsert && !ds->Modified()) {
            ds->Cancel();
        } else {
            clearSel();
            ds->Prior();
        }
        Key = 0;
        return;
    case VK_DOWN:
        if (ds->State() == dsInsert && !ds->Modified()) {
            Key = 0;
            return;
        }
        clearSel();
        ds->Next();
        Key = 0;
        return;
    case VK_PRIOR:
        clearSel();
        ds->MoveBy(-page);
        Key = 0;
        return;
    case VK_NEXT:
        clearSel();
        ds->MoveBy(page);
        Key = 0;
        return;
    case VK_HOME:
    case VK_END:
        if (ctrl) {
            clearSel();
            if (Key == VK_HOME)
                ds->First();
            else
                ds->Last();
            Key = 0;
            return;
        }
        break;
    case VK_INSERT:
        if ((FDBOptions & dgEditing) && !FReadOnly && ds->CanModify() && !ctrl) {
            ds->Insert();
            Key = 0;
            return;
        }
        break;
    case VK_ESCAPE:
        if (ds->State() == dsEdit || ds->State() == dsInsert) {
            ds->Cancel();
            Key = 0;
            return;
        }
        break;
    case VK_SPACE:
        if ((FDBOptions & dgMultiSelect) && ctrl) {
            FSelectedRows.SetCurrentRowSelected(!FSelectedRows.CurrentRowSelected());
            Key = 0;
            return;
        }
        break;
    default:
        break;
    }
    TCustomGrid::KeyDown(Key, Shift);
}

void TCustomDBGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridCoord c = MouseCoord(X, Y);
    TCustomGrid::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || c.X < 0 || c.Y < TitleOffset() || !FDataLink.Active() || !(FDBOptions & dgMultiSelect))
        return;
    if (Shift & ssCtrl) {
        FSelectedRows.SetCurrentRowSelected(!FSelectedRows.CurrentRowSelected());
    } else if (Shift & ssShift) {
        FSelectedRows.SetCurrentRowSelected(true);
    } else {
        FSelectedRows.Clear();
        FSelectedRows.SetCurrentRowSelected(true);
    }
}

void TCustomDBGrid::DoExit()
{
    try {
        if (FDataLink.Active() && (FDBOptions & dgCancelOnExit)) {
            TDataSet* ds = FDataLink.DataSet();
            if (ds->State() == dsInsert && !ds->Modified() && !FDataLink.Modified())
                ds->Cancel();
        }
    } catch (...) {
        TCustomGrid::DoExit();
        throw;
    }
    TCustomGrid::DoExit();
}

// ---- painting ------------------------------------------------------------------------

void TCustomDBGrid::SelectPaintRow(int DataRow)
{
    TDataSet* ds = FDataLink.DataSet();
    if (ds->State() != dsInsert) {
        FDataLink.SetActiveRecord(DataRow);
        return;
    }
    // A new record stands at the cursor's row; the rows below it move down.
    const int pos = FDataLink.FirstRecord() + DataRow;
    const int cur = ds->CurrentPosition();
    ds->SetActiveRecordOverride(pos == cur ? -1 : pos > cur ? pos - 1 : pos);
}

bool TCustomDBGrid::IsCellSelected(int ACol, int ARow) const
{
    if (!Focused() && !(FDBOptions & dgAlwaysShowSelection) && !(FInplaceEdit && FInplaceEdit->Focused()))
        return false;
    return TCustomGrid::IsCellSelected(ACol, ARow);
}

bool TCustomDBGrid::CanHotTrack(int ACol, int ARow) const
{
    return (FDBOptions & dgTitleHotTrack) && (FDBOptions & dgTitleClick) && ARow < TitleOffset() && ACol >= IndicatorOffset();
}

bool TCustomDBGrid::HighlightCell(int DataCol, int DataRow, const QString& Value, TGridDrawState AState)
{
    (void)DataCol;
    (void)DataRow;
    (void)Value;
    if ((FDBOptions & dgMultiSelect) && FDataLink.Active() && FSelectedRows.CurrentRowSelected())
        return true;
    return (AState & gdSelected) != 0;
}

void TCustomDBGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    TCanvas* c = Canvas();
    if (ARow < TitleOffset()) {
        DrawTitleCell(ACol, ARect, ColumnAt(ACol), AState);
        return;
    }
    const int dataRow = ARow - TitleOffset();
    if (ACol < IndicatorOffset()) {
        DrawIndicatorCell(dataRow, ARect, AState);
        return;
    }
    const int dataCol = RawToDataColumn(ACol);
    TColumn* column = dataCol >= 0 ? FColumns.Items(dataCol) : nullptr;
    if (!FDataLink.Active() || dataRow >= FDataLink.RecordCount() || !column) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(ARect);
        return;
    }
    // Read the painted row through the link's window: the cursor stays put
    // and no scroll events fire.
    // What field reads came from before (restored exactly, even when the
    // cursor's row lies outside the window for a moment).
    TDataSet* ds = FDataLink.DataSet();
    const int savedOverride = ds->ActiveRecordOverride();
    SelectPaintRow(dataRow);
    try {
        TField* f = column->Field();
        const QString value = CellText(f);
        // The default drawing shows the same text: read the field once.
        FPaintColumn = column;
        FPaintText = value;
        TGridDrawState st = AState;
        if (HighlightCell(dataCol, dataRow, value, AState))
            st |= gdSelected;
        else
            st &= ~gdSelected;
        c->Font()->Assign(*column->Font());
        c->Brush()->SetStyle(bsSolid);
        if ((st & gdSelected) && DrawingStyle() == grids::gdsThemed) {
            c->Brush()->SetColor(ThemedSelectionColor(Focused()));
        } else if (st & gdSelected) {
            c->Brush()->SetColor(clHighlight);
            c->Font()->SetColor(clHighlightText);
        } else {
            c->Brush()->SetColor(column->Color());
        }
        if (DefaultDrawing)
            DefaultDrawColumnCell(ARect, dataCol, column, st);
        DrawColumnCell(ARect, dataCol, column, st);
        if ((st & gdFocused) && !(FDBOptions & dgRowSelect) && DefaultDrawing && !EditorMode())
            c->DrawFocusRect(ARect);
    } catch (...) {
        FPaintColumn = nullptr;
        ds->SetActiveRecordOverride(savedOverride);
        throw;
    }
    FPaintColumn = nullptr;
    ds->SetActiveRecordOverride(savedOverride);
}

void TCustomDBGrid::DefaultDrawColumnCell(const TRect& Rect, int DataCol, TColumn* Column, TGridDrawState State)
{
    (void)DataCol;
    (void)State;
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(Rect);
    if (!Column)
        return;
    const QString text = Column == FPaintColumn ? FPaintText : CellText(Column->Field());
    c->Brush()->SetStyle(bsClear);
    WriteText(c, Rect, text, Column->Alignment());
    c->Brush()->SetStyle(bsSolid);
}

void TCustomDBGrid::DrawColumnCell(const TRect& Rect, int DataCol, TColumn* Column, TGridDrawState State)
{
    if (OnDrawColumnCell)
        OnDrawColumnCell(this, Rect, DataCol, Column, State);
}

void TCustomDBGrid::DrawTitleCell(int ACol, const TRect& ARect, TColumn* Column, TGridDrawState AState)
{
    TCanvas* c = Canvas();
    DrawCellBackground(ARect, Column ? Column->Title()->Color() : FixedColor(), AState, ACol, 0);
    if (!Column)
        return;
    c->Font()->Assign(*Column->Title()->Font());
    c->Brush()->SetStyle(bsClear);
    TRect r = ARect;
    if (AState & gdPressed)
        r.Offset(1, 1);
    WriteText(c, r, Column->Title()->Caption(), Column->Title()->Alignment());
    c->Brush()->SetStyle(bsSolid);
}

void TCustomDBGrid::DrawIndicatorCell(int DataRow, const TRect& ARect, TGridDrawState AState)
{
    TCanvas* c = Canvas();
    DrawCellBackground(ARect, FixedColor(), AState, 0, DataRow + TitleOffset());
    if (!FDataLink.Active() || DataRow != FDataLink.ActiveRecord())
    {
        if ((FDBOptions & dgMultiSelect) && FDataLink.Active() && DataRow < FDataLink.RecordCount()) {
            TDataSet* ds = FDataLink.DataSet();
            const int saved = ds->ActiveRecordOverride();
            SelectPaintRow(DataRow);
            const bool sel = FSelectedRows.CurrentRowSelected();
            ds->SetActiveRecordOverride(saved);
            if (sel) {
                c->Brush()->SetColor(clWindowText);
                const int cx = (ARect.Left + ARect.Right) / 2, cy = (ARect.Top + ARect.Bottom) / 2;
                c->FillRect(Rect(cx - 2, cy - 2, cx + 2, cy + 2));
            }
        }
        return;
    }
    const TDataSetState st = FDataLink.DataSet()->State();
    const int cx = (ARect.Left + ARect.Right) / 2, cy = (ARect.Top + ARect.Bottom) / 2;
    c->Pen()->SetColor(clWindowText);
    c->Brush()->SetColor(clWindowText);
    if (st == dsEdit) {
        c->MoveTo(cx, cy - 5);
        c->LineTo(cx, cy + 5);
        c->MoveTo(cx - 2, cy - 5);
        c->LineTo(cx + 3, cy - 5);
        c->MoveTo(cx - 2, cy + 5);
        c->LineTo(cx + 3, cy + 5);
    } else if (st == dsInsert) {
        c->Brush()->SetStyle(bsClear);
        c->Font()->Assign(*Font());
        WriteText(c, ARect, QStringLiteral("*"), taCenter);
        c->Brush()->SetStyle(bsSolid);
    } else {
        c->Polygon({{cx - 2, cy - 4}, {cx + 2, cy}, {cx - 2, cy + 4}});
    }
}

// ---- editing -------------------------------------------------------------------------

bool TCustomDBGrid::CanEditShow() const
{
    if (!(FDBOptions & dgEditing) || (FDBOptions & dgRowSelect) || FReadOnly || !FDataLink.Active() || FDataLink.ReadOnly())
        return false;
    if (Row() < TitleOffset() || Col() < IndicatorOffset())
        return false;
    TColumn* c = ColumnAt(Col());
    TField* f = c ? c->Field() : nullptr;
    return f && !c->ReadOnly() && !IsBlobType(f->DataType()) ? TCustomGrid::CanEditShow() || (FOptions & goEditing) : false;
}

bool TCustomDBGrid::CanEditModify()
{
    if (FReadOnly || !FDataLink.Active() || FDataLink.ReadOnly())
        return false;
    TColumn* c = ColumnAt(Col());
    TField* f = c ? c->Field() : nullptr;
    if (!f || c->ReadOnly())
        return false;
    const bool lookup = f->FieldKind() == fkLookup;
    if (!lookup && !f->CanModify())
        return false;
    FDataLink.Edit();
    if (FDataLink.Editing())
        FDataLink.SetModified();
    return FDataLink.Editing();
}

QString TCustomDBGrid::GetEditText(int ACol, int ARow)
{
    (void)ARow;
    TColumn* c = ColumnAt(ACol);
    TField* f = c ? c->Field() : nullptr;
    return f ? f->Text() : QString();
}

void TCustomDBGrid::SetEditText(int ACol, int ARow, const QString& Value)
{
    (void)ACol;
    (void)ARow;
    FEditText = Value;
    if (!FDataLink.Editing() && !CanEditModify())
        return;
    FDataLink.SetModified();
    FDataLink.UpdateRecord();
    Invalidate();
}

int TCustomDBGrid::GetEditLimit() const
{
    TField* f = SelectedField();
    return f && IsStringType(f->DataType()) ? f->Size() : 0;
}

QString TCustomDBGrid::GetEditMask(int ACol, int ARow) const
{
    (void)ARow;
    TColumn* c = ColumnAt(ACol);
    TField* f = c ? c->Field() : nullptr;
    return f ? f->EditMask() : QString();
}

TEditStyle TCustomDBGrid::GetEditStyle(int ACol, int ARow) const
{
    (void)ARow;
    TColumn* c = ColumnAt(ACol);
    if (!c)
        return esSimple;
    if (c->ButtonStyle == cbsEllipsis)
        return esEllipsis;
    if (c->ButtonStyle == cbsNone)
        return esSimple;
    TField* f = c->Field();
    if (f && f->FieldKind() == fkLookup)
        return esDataList;
    if (!c->PickList.isEmpty())
        return esPickList;
    return esSimple;
}

// ---- TDBGridInplaceEdit ------------------------------------------------------------------

TDBGridInplaceEdit::TDBGridInplaceEdit(TCustomDBGrid* Grid) : TInplaceEditList(Grid), FDBGrid(Grid) {}

TDBGridInplaceEdit::~TDBGridInplaceEdit()
{
    SetActiveList(nullptr);
    delete FDataList;
}

namespace {

// The key field a lookup field's value comes from (nullptr: several or none).
TField* LookupKeyField(TField* F)
{
    return F && F->FieldKind() == fkLookup && F->DataSet() ? F->DataSet()->FindField(F->KeyFields) : nullptr;
}

}  // namespace

void TDBGridInplaceEdit::UpdateContents()
{
    CloseUp(false);
    PickList.clear();
    FUseDataList = false;
    if (TColumn* c = FDBGrid->ColumnAt(FDBGrid->Col())) {
        DropDownRows = c->DropDownRows;
        PickList = c->PickList;
        TField* f = c->Field();
        TField* key = LookupKeyField(f);
        FUseDataList = key && f->LookupDataSet && key->CanModify() && !FDBGrid->ReadOnly()
                       && !FDBGrid->DataLink()->ReadOnly();
    }
    TInplaceEditList::UpdateContents();
    if (FUseDataList) {
        if (!FDataList) {
            FDataList = new TPopupDataList(nullptr);
            FDataList->OnSelect = [this](TDBLookupListBase*) { CloseUp(true); };
        }
        SetActiveList(FDataList);
    } else {
        SetActiveList(nullptr);
        // A lookup whose key cannot change has nothing to choose from.
        if (FEditStyle == esDataList)
            SetEditStyle(esSimple);
    }
}

void TDBGridInplaceEdit::DropDown()
{
    if (!FUseDataList || ListVisible()) {
        TInplaceEditList::DropDown();
        return;
    }
    TField* f = FDBGrid->SelectedField();
    TField* key = LookupKeyField(f);
    if (!key || !f->LookupDataSet)
        return;
    FLookupSource.SetDataSet(f->LookupDataSet);
    FDataList->SetFont(*Font());
    FDataList->KeyField = f->LookupKeyFields;
    FDataList->ListField = f->LookupResultField;
    FDataList->SetListSource(&FLookupSource);
    FDataList->SetKeyValue(key->IsNull() ? QVariant() : key->AsVariant());
    int rows = std::max(1, DropDownRows);
    if (f->LookupDataSet->Active())
        rows = std::min(rows, std::max(1, FDataList->RecordCount()));
    FDataList->SetRowCount(rows);
    TInplaceEditList::DropDown();
}

void TDBGridInplaceEdit::CloseUp(bool Accept)
{
    if (!FUseDataList || PickListActive()) {
        TInplaceEditList::CloseUp(Accept);
        return;
    }
    if (!ListVisible())
        return;
    const QVariant value = FDataList->KeyValue();
    TInplaceEditList::CloseUp(false);
    FDataList->SetListSource(nullptr);
    FLookupSource.SetDataSet(nullptr);
    if (!Accept)
        return;
    TField* f = FDBGrid->SelectedField();
    TField* key = LookupKeyField(f);
    if (!key || !key->CanModify() || !FDBGrid->DataLink()->Edit())
        return;
    key->SetAsVariant(value);
    // The editor and a later write of the cell show the chosen row's text
    // (the lookup field itself is recalculated when the record is posted).
    const QString text = f->LookupDataSet->Lookup(f->LookupKeyFields, {value}, f->LookupResultField).toString();
    FDBGrid->FEditText = text;
    SetText(text);
    Modified = false;
    FDBGrid->FEditorStartText = Text();
    FDBGrid->Invalidate();
}

void TDBGridInplaceEdit::KeyPress(QChar& Key)
{
    if (FUseDataList && ListVisible() && !Key.isNull() && Key != QLatin1Char('\r') && Key != QChar(27)) {
        FDataList->ProcessSearchKey(Key);
        if (Key.isNull())
            return;
    }
    TInplaceEditList::KeyPress(Key);
}

void TDBGridInplaceEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (FUseDataList && ListVisible() && !(Shift & ssAlt)) {
        int target = FDataList->RecordIndex();
        const int page = FDataList->RowCount();
        switch (Key) {
        case VK_UP: target -= 1; break;
        case VK_DOWN: target += 1; break;
        case VK_PRIOR: target -= page; break;
        case VK_NEXT: target += page; break;
        default: target = -2; break;
        }
        if (target != -2) {
            FDataList->SelectRow(std::max(0, target));
            Key = 0;
            return;
        }
    }
    TInplaceEditList::KeyDown(Key, Shift);
}

TInplaceEdit* TCustomDBGrid::CreateEditor() { return new TDBGridInplaceEdit(this); }

void TCustomDBGrid::EditButtonClick()
{
    if (OnEditButtonClick)
        OnEditButtonClick(this);
}

void TCustomDBGrid::EditorKeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_ESCAPE && FInplaceEdit) {
        // First Escape: the cell shows the field's value again; the record
        // stays in edit mode until a second Escape cancels it.
        FDataLink.Reset();
        TCustomGrid::EditorKeyDown(Key, Shift);
        return;
    }
    TCustomGrid::EditorKeyDown(Key, Shift);
}
