// The grid's editing rules (when a cell may change, when the editor shows,
// what it shows for memo text, how typed dates and times are completed, the
// date column's calendar button), its notifications (scrolling, columns,
// widths), keeping the current record on its screen row, and multi-select.

#include "components/grid/rDBGrid.h"

#include "components/base/rtool.h"
#include "components/grid/rDBGridInplaceEditEx.h"
#include "platform/database/DataSource.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"

#include <cmath>

bool TrDBGrid::IsColumnReadOnly(TColumn* Column)
{
    TField* f = Column ? Column->Field() : nullptr;
    bool ro = !Column || !f || ReadOnly() || DataLink()->ReadOnly() || Column->ReadOnly() || f->ReadOnly() ||
              (DataSet() && !DataSet()->CanModify());
    DoGeneralEventFieldBool(geIsReadOnlyColumn, f, ro);
    return ro;
}

bool TrDBGrid::CanEdit()
{
    TColumn* col = SelectedIndex() >= 0 && SelectedIndex() < Columns()->Count() ? Columns()->Items(SelectedIndex()) : nullptr;
    if (!IsActive() || !(Options() & dgEditing) || IsColumnReadOnly(col))
        return false;
    bool can = true;
    if (OnCanEdit)
        OnCanEdit(this, col->Field(), col, can);
    if (!can)
        return false;
    DataLink()->Edit();
    return DataLink()->Editing();
}

bool TrDBGrid::CanEditModify()
{
    TColumn* col = ColumnAt(Col());
    TField* f = col ? col->Field() : nullptr;
    if (IsColumnReadOnly(col) || !f->CanModify())
        return false;
    switch (f->DataType()) {
    case ftBytes: case ftVarBytes: case ftBlob: case ftMemo: case ftGraphic: case ftFmtMemo: case ftTypedBinary:
    case ftWideMemo:
        if (!f->OnSetText && !IsMemoAsText(f, false))
            return false;
        break;
    default:
        break;
    }
    return TDBGrid::CanEditModify();
}

bool TrDBGrid::ReadOnlyButtonShows() const
{
    // A read-only cell keeps its ellipsis button usable when the option says so.
    if (!FOptionsEx2.Editors.AllowReadOnlyButton || !(Options() & dgEditing) || (Options() & dgRowSelect))
        return false;
    if (!const_cast<TrDBGrid*>(this)->IsActive() || Row() < TitleOffset() || Col() < IndicatorOffset())
        return false;
    TColumn* col = ColumnAt(Col());
    return col && col->Field() && col->ButtonStyle == cbsEllipsis;
}

bool TrDBGrid::CanEditShow() const
{
    auto* self = const_cast<TrDBGrid*>(this);
    bool show = TDBGrid::CanEditShow();
    // Memo text columns edit in place even though their type is a blob.
    TColumn* col = ColumnAt(Col());
    TField* f = col ? col->Field() : nullptr;
    if (!show && f && IsBlobType(f->DataType()) && self->IsMemoAsText(f, false) && (Options() & dgEditing) && !col->ReadOnly())
        show = true;
    const bool roButton = ReadOnlyButtonShows();
    if (!show && !roButton)
        return false;
    show = true;
    try {
        if (!self->IsActive() || !f)
            return false;
        if (self->OnCanEdit)
            self->OnCanEdit(self, f, col, show);
        if (roButton)
            return show;
        // Check boxes, glyphs, rich text and pictures are changed by keys,
        // clicks and their dialogs, not typed.
        if (f->ReadOnly() || (f->DataSet() && !f->DataSet()->CanModify()))
            return false;
        if (self->IsBoolEx(f) || self->IsMemoAsGlyph(f, false) || self->IsRichTextEx(f) || self->IsGraphicEx(f))
            return false;
    } catch (...) {
    }
    return show;
}

QString TrDBGrid::GetEditText(int ACol, int ARow)
{
    TColumn* col = ColumnAt(ACol);
    if (IsActive() && col && col->Field() && IsMemoAsText(col->Field(), false))
        return col->Field()->AsString();
    return TDBGrid::GetEditText(ACol, ARow);
}

QString TrDBGrid::ProcDatePart(const QString& DatePart)
{
    const QString dp = UpdateToDateSeparator(DatePart.trimmed());
    bool isInt = false;
    const int v = dp.toInt(&isInt);
    if (dp.size() < 3 && isInt) {
        const QDate today = DateTimeToQDate(Now());
        const QDate d(today.year(), today.month(), v);
        if (d.isValid())
            return DateToStr(QDateToDateTime(d));
    }
    return dp;
}

QString TrDBGrid::ProcTimePart(const QString& TimePart)
{
    const QString tp = UpdateToTimeSeparator(TimePart.trimmed());
    bool isInt = false;
    const int v = tp.toInt(&isInt);
    if (tp.size() < 3 && isInt)
        return QString::number(v) + GetTimeSeparator() + QStringLiteral("00");
    return tp;
}

void TrDBGrid::SetEditText(int ACol, int ARow, const QString& Value)
{
    QString t = Value;
    if (GetEditLimit() > 0)
        t = t.left(GetEditLimit());
    TColumn* col = ColumnAt(ACol);
    TField* f = col ? col->Field() : nullptr;
    if (f && IsDateEx(f)) {
        const int blank = t.indexOf(QLatin1Char(' '));
        const QString datePart = blank < 0 ? t : t.left(blank);
        const QString timePart = blank < 0 ? QString() : t.mid(blank + 1).trimmed();
        t = ProcDatePart(datePart);
        if (!timePart.isEmpty())
            t += QLatin1Char(' ') + ProcTimePart(timePart);
    } else if (f && IsTimeEx(f)) {
        t = ProcTimePart(t);
    }
    TDBGrid::SetEditText(ACol, ARow, t);
}

void TrDBGrid::EditButtonClick()
{
    if (IsActive() && DataLink()->Editing())
        DataLink()->UpdateRecord();
    TField* f = SelectedField();
    if (f && IsDateEx(f)) {
        if (!CanEdit())
            return;
        TDateTime d = 0;
        try {
            d = f->IsNull() ? 0 : GetDateValueEx(f);
        } catch (...) {
            d = 0;
        }
        if (TrDBGridInplaceEditEx* ed = GetInplaceEditor())
            ed->ShowCalendar(d == 0 ? std::floor(Now()) : d);
        return;
    }
    TDBGrid::EditButtonClick();
}

// ---- notifications -----------------------------------------------------------------

void TrDBGrid::Scroll(int Distance)
{
    if (FPainting)
        ++FPaintScrollCount;
    FPrevActiveBookmark = FActiveBookmark;
    if (IsActive())
        FActiveBookmark = DataSet()->GetBookmark();
    TDBGrid::Scroll(Distance);
    if (FFooterRow.FooterVisible() && FFooterRow.RefreshAfterScroll)
        Invalidate();
    if (!(ComponentState() & csDesigning))
        StopSearching();
    if (OnDataScrolled)
        OnDataScrolled(this);
}

void TrDBGrid::ColEnter()
{
    TDBGrid::ColEnter();
    const int dc = RawToDataColumn(Col());
    if (dc >= 0 && dc < Columns()->Count() && Columns()->Items(dc)->DropDownRows < int(DropDownRowsCount))
        Columns()->Items(dc)->DropDownRows = int(DropDownRowsCount);
}

void TrDBGrid::ColExit()
{
    TDBGrid::ColExit();
    StopSearching();
}

void TrDBGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs) const
{
    TDBGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs);
    if (State == gsColSizing)
        FLastColWidthChangedIdx = Index;
}

void TrDBGrid::ColWidthsChanged()
{
    const bool manual = GridState() == gsColSizing;
    TDBGrid::ColWidthsChanged();
    if (OnColWidthChanged && FLastColWidthChangedIdx >= 0) {
        const int dc = RawToDataColumn(FLastColWidthChangedIdx);
        if (dc >= 0 && dc < Columns()->Count() && Columns()->Items(dc)->Visible())
            OnColWidthChanged(this, Columns()->Items(dc), manual);
    }
    FLastColWidthChangedIdx = -1;
    UpdateFooterGrid();
}

// ---- keeping the row on screen ---------------------------------------------------------

void TrDBGrid::SaveRowPos(bool SetExUpdateLock)
{
    if (IsActive()) {
        oldRowPos = DataLink()->ActiveRecord();
        oldRecNo = DataSet()->RecNo();
    }
    if (SetExUpdateLock)
        ExUpdateLock = true;
}

void TrDBGrid::RestoreRowPos()
{
    ExUpdateLock = false;
    try {
        if (!IsActive() || DataSet()->RecNo() != oldRecNo)
            return;
        const int d = DataLink()->ActiveRecord() - oldRowPos;
        if (d == 0)
            return;
        const int m = d > 0 ? VisibleRowCount() - 1 - oldRowPos : -oldRowPos;
        TDataSet* ds = DataSet();
        BeginUpdate();
        ds->DisableControls();
        ds->MoveBy(m);
        DataLink()->FollowCursor();
        ds->MoveBy(-m);
        DataLink()->FollowCursor();
        ds->EnableControls();
        EndUpdate();
    } catch (...) {
    }
}

int TrDBGrid::ScrollData(int ScrollBy)
{
    if (ScrollBy == 0 || !IsActive())
        return 0;
    // Going past the window's edge by ScrollBy rows scrolls the window; going
    // back by what was covered leaves the same record current.
    const int active = DataLink()->ActiveRecord();
    const int a = ScrollBy < 0 ? active : active - DataLink()->BufferCount() + 1;
    TDataSet* ds = DataSet();
    int r = 0;
    BeginUpdate();
    ds->DisableControls();
    try {
        r = ds->MoveBy(ScrollBy - a);
        DataLink()->FollowCursor();
        if (r != 0) {
            ds->MoveBy(-r);
            DataLink()->FollowCursor();
        }
    } catch (...) {
        ds->EnableControls();
        EndUpdate();
        throw;
    }
    ds->EnableControls();
    EndUpdate();
    return r;
}

bool TrDBGrid::RowIsMultiselected(bool FromActiveRecord, int FromDataRow)
{
    if (!IsActive())
        return false;
    if (FromActiveRecord) {
        int i = 0;
        return SelectedRows()->Find(DataSet()->GetBookmark(), i);
    }
    if (FromDataRow < 0 || !(Options() & dgMultiSelect))
        return false;
    TDataSet* ds = DataSet();
    const int saved = ds->ActiveRecordOverride();
    bool r = false;
    try {
        DataLink()->SetActiveRecord(FromDataRow);
        r = SelectedRows()->CurrentRowSelected();
    } catch (...) {
    }
    ds->SetActiveRecordOverride(saved);
    return r;
}
