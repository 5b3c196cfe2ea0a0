// The string grid's rows and columns: the automatic empty last row, the
// update lock, inserting, deleting and moving rows and columns with the
// change log kept in step, and sorting by a column.
#include "components/stringgrid/rStringGridEd.h"

#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "platform/rtl/StrUtils.h"
#include "resources/StringGridTexts.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <cmath>

using enum TOptionEx;

namespace {

// Finnish order (å, ä, ö after z), letter case only breaking ties.
int CompareFinnish(const QString& A, const QString& B)
{
    static QCollator folded = [] {
        QCollator c(QLocale(QLocale::Finnish, QLocale::Finland));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    static QCollator exact = [] {
        QCollator c(QLocale(QLocale::Finnish, QLocale::Finland));
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    const int r = folded.compare(A, B);
    return r != 0 ? r : exact.compare(A, B);
}

int Sign(double D) { return D < 0 ? -1 : D > 0 ? 1 : 0; }

// Row or column numbers in the change log moved by an insertion or deletion.
QString ShiftIndex(const QString& S, int From, int By, int Deleted, bool& Gone)
{
    bool ok = false;
    const int i = S.toInt(&ok);
    Gone = false;
    if (!ok || i < From)
        return S;
    if (Deleted > 0 && i < From + Deleted) {
        Gone = true;
        return QString();
    }
    return QString::number(i + By);
}

}  // namespace

// ---- the automatic last row ---------------------------------------------------------------------

bool TrStringGridEd::IsRowEmpty(int ARow, bool SkipFixedCol, int ColumnGroup)
{
    if (ARow < FixedRows() || ARow >= RowCount())
        return true;
    for (int c = SkipFixedCol ? FixedCols() : 0; c < ColCount(); ++c) {
        if (ColumnGroup != 0 && (!ColumnOf(c) || ColumnOf(c)->ColumnGroup != ColumnGroup))
            continue;
        if (!Trim(Cells(c, ARow)).isEmpty())
            return false;
    }
    return true;
}

bool TrStringGridEd::CheckLastRow()
{
    if (UpdateLocked() || !FAutoAddNewRow)
        return false;
    const int last = RowCount() - 1;
    const bool e1 = RowCount() > 2 && last - 1 >= FixedRows() && IsRowEmpty(last - 1, true, 0);
    const bool e2 = IsRowEmpty(last, true, 0);
    if (e1 && e2) {
        SetRowCount(RowCount() - 1);
        return true;
    }
    if (e2)
        return false;
    SetRowCount(RowCount() + 1);
    return true;
}

void TrStringGridEd::CheckLastRows()
{
    for (int guard = RowCount() + 2; guard > 0 && CheckLastRow(); --guard) {
    }
}

void TrStringGridEd::BeginUpdateEd(bool UseChangeLog)
{
    ++FUpdateLockEd;
    FUseChangeLog = UseChangeLog;
    TStringGrid::BeginUpdate();
}

void TrStringGridEd::EndUpdateEd()
{
    if (FUpdateLockEd > 0) {
        --FUpdateLockEd;
        TStringGrid::EndUpdate();
    }
    CheckLastRows();
    Invalidate();
}

// ---- change log -----------------------------------------------------------------------------------

void TrStringGridEd::ShiftChangeLog(bool Rows, int From, int By, int DeletedCount)
{
    bool gone = false;
    if (Rows)
        for (QString& s : ChangedRows)
            s = ShiftIndex(s, From, By, DeletedCount, gone);
    for (QString& s : ChangedCells) {
        const int semi = s.indexOf(QLatin1Char(';'));
        if (semi < 0)
            continue;
        QString col = s.left(semi), row = s.mid(semi + 1);
        QString& part = Rows ? row : col;
        part = ShiftIndex(part, From, By, DeletedCount, gone);
        s = gone ? QString() : col + QLatin1Char(';') + row;
    }
    ChangeLogEdited();
}

void TrStringGridEd::ResetChangeLog()
{
    FinishEditing();
    ChangedRows.clear();
    ChangedCells.clear();
    ChangeLogEdited();
    Invalidate();
}

// ---- rows and columns ---------------------------------------------------------------------------------

void TrStringGridEd::ExchangeRows(int A, int B)
{
    if (A == B)
        return;
    for (int c = 0; c < ColCount(); ++c) {
        const QString a = Cells(c, A), b = Cells(c, B);
        if (a != b) {
            SetCells(c, A, b);
            SetCells(c, B, a);
        }
        void* oa = Objects(c, A);
        void* ob = Objects(c, B);
        if (oa || ob) {
            SetObjects(c, A, ob);
            SetObjects(c, B, oa);
        }
    }
}

namespace {

// Where index I lands when the row or column at From moves to To: the moved
// one goes to To, those between shift by one towards From.
int MovedIndex(int I, int From, int To)
{
    if (I == From)
        return To;
    if (From < To && I > From && I <= To)
        return I - 1;
    if (From > To && I >= To && I < From)
        return I + 1;
    return I;
}

}  // namespace

void TrStringGridEd::MoveRowEx(int FromIndex, int ToIndex)
{
    FinishEditing();
    ResetSelRange();
    if (FromIndex == ToIndex || FromIndex < 0 || ToIndex < 0 || FromIndex >= RowCount() || ToIndex >= RowCount())
        return;
    const int step = FromIndex < ToIndex ? 1 : -1;
    for (int r = FromIndex; r != ToIndex; r += step)
        ExchangeRows(r, r + step);
    for (QString& s : ChangedRows)
        s = QString::number(MovedIndex(s.toInt(), FromIndex, ToIndex));
    for (QString& s : ChangedCells) {
        const int semi = s.indexOf(QLatin1Char(';'));
        if (semi >= 0)
            s = s.left(semi + 1) + QString::number(MovedIndex(s.mid(semi + 1).toInt(), FromIndex, ToIndex));
    }
    ChangeLogEdited();
    Invalidate();
}

void TrStringGridEd::MoveColumnEx(int FromIndex, int ToIndex)
{
    FinishEditing();
    ResetSelRange();
    if (FromIndex == ToIndex || FromIndex < 0 || ToIndex < 0 || FromIndex >= ColCount() || ToIndex >= ColCount())
        return;
    const int step = FromIndex < ToIndex ? 1 : -1;
    for (int c = FromIndex; c != ToIndex; c += step)
        for (int r = 0; r < RowCount(); ++r) {
            const QString a = Cells(c, r), b = Cells(c + step, r);
            SetCells(c, r, b);
            SetCells(c + step, r, a);
        }
    CheckColumns();
    FColumns->Move(FromIndex, ToIndex);
    ApplyColumnWidths();
    // the changed-cell marks move with their column
    for (QString& s : ChangedCells) {
        const int semi = s.indexOf(QLatin1Char(';'));
        if (semi >= 0)
            s = QString::number(MovedIndex(s.left(semi).toInt(), FromIndex, ToIndex)) + s.mid(semi);
    }
    ChangeLogEdited();
    Invalidate();
}

void TrStringGridEd::InsertRowEx(int RowIndex, int NumberOfRows, bool Activate)
{
    if (NumberOfRows <= 0)
        return;
    FinishEditing();
    ResetSelRange();
    RowIndex = std::clamp(RowIndex, FixedRows(), RowCount());
    const int oldRow = Row();
    BeginUpdateEd(false);
    SetRowCount(RowCount() + NumberOfRows);
    for (int n = 0; n < NumberOfRows; ++n)
        for (int r = RowCount() - 1; r > RowIndex; --r)
            ExchangeRows(r, r - 1);
    --FUpdateLockEd;
    TStringGrid::EndUpdate();
    ShiftChangeLog(true, RowIndex, NumberOfRows, 0);
    if (Activate)
        SetRow(RowIndex);
    else
        SetRow(oldRow >= RowIndex ? oldRow + NumberOfRows : oldRow);
    ResetSelRange();
    Invalidate();
}

void TrStringGridEd::DeleteRowEx(int RowIndex, int NumberOfRows)
{
    if (RowIndex < FixedRows() || RowIndex >= RowCount() || NumberOfRows <= 0)
        return;
    FinishEditing();
    ResetSelRange();
    NumberOfRows = std::min(NumberOfRows, RowCount() - RowIndex);
    const int oldRow = Row();
    for (int n = 0; n < NumberOfRows; ++n) {
        for (int r = RowIndex; r < RowCount() - 1; ++r)
            ExchangeRows(r, r + 1);
        for (int c = 0; c < ColCount(); ++c) {
            SetCells(c, RowCount() - 1, QString());
            SetObjects(c, RowCount() - 1, nullptr);
        }
    }
    SetRowCount(std::max(FixedRows() + 1, RowCount() - NumberOfRows));
    ShiftChangeLog(true, RowIndex, -NumberOfRows, NumberOfRows);
    SetRow(std::min(oldRow, RowCount() - 1));
    CheckLastRows();
    ResetSelRange();
    Invalidate();
}

void TrStringGridEd::InsertColumnEx(int ColIndex, int NumberOfCols, bool Activate)
{
    if (NumberOfCols <= 0)
        return;
    FinishEditing();
    ResetSelRange();
    ColIndex = std::clamp(ColIndex, FixedCols(), ColCount());
    const int oldCol = Col();
    const int oldCount = ColCount();
    // New column items first, so the columns right of the insertion keep theirs.
    CheckColumns();
    FColumns->Insert(ColIndex, NumberOfCols);
    for (int i = ColIndex; i < ColIndex + NumberOfCols; ++i)
        FColumns->Items(i)->RestoreDefaults();
    SetColCount(oldCount + NumberOfCols);
    for (int c = ColCount() - 1; c >= ColIndex + NumberOfCols; --c)
        for (int r = 0; r < RowCount(); ++r) {
            SetCells(c, r, Cells(c - NumberOfCols, r));
            SetObjects(c, r, Objects(c - NumberOfCols, r));
        }
    for (int c = ColIndex; c < ColIndex + NumberOfCols; ++c)
        for (int r = 0; r < RowCount(); ++r) {
            SetCells(c, r, QString());
            SetObjects(c, r, nullptr);
        }
    ApplyColumnWidths();
    ShiftChangeLog(false, ColIndex, NumberOfCols, 0);
    if (Activate)
        SetCol(ColIndex);
    else
        SetCol(oldCol >= ColIndex ? oldCol + NumberOfCols : oldCol);
    ResetSelRange();
    Invalidate();
}

void TrStringGridEd::DeleteColumnEx(int ColIndex, int NumberOfCols)
{
    if (ColIndex < FixedCols() || ColIndex >= ColCount() || NumberOfCols <= 0)
        return;
    FinishEditing();
    ResetSelRange();
    NumberOfCols = std::min(NumberOfCols, ColCount() - ColIndex);
    const int oldCol = Col();
    for (int c = ColIndex; c < ColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r) {
            const int from = c + NumberOfCols;
            SetCells(c, r, from < ColCount() ? Cells(from, r) : QString());
            SetObjects(c, r, from < ColCount() ? Objects(from, r) : nullptr);
        }
    CheckColumns();
    const int keep = std::max(FixedCols() + 1, ColCount() - NumberOfCols);
    for (int i = 0; i < ColCount() - keep; ++i)
        FColumns->Delete(ColIndex < FColumns->Count() ? ColIndex : FColumns->Count() - 1);
    SetColCount(keep);
    ApplyColumnWidths();
    ShiftChangeLog(false, ColIndex, -NumberOfCols, NumberOfCols);
    SetCol(std::min(oldCol, ColCount() - 1));
    ResetSelRange();
    Invalidate();
}

void TrStringGridEd::SelectFirstCell(int ACol, int ARow)
{
    FinishEditing();
    MoveColRow(std::clamp(ACol, FixedCols(), ColCount() - 1), std::clamp(ARow, FixedRows(), RowCount() - 1), true, true);
    ResetSelRange();
}

// ---- sorting --------------------------------------------------------------------------------------------

bool TrStringGridEd::ReadColumnValue(TrStringGridEdColumn* C, const QString& Text, double& Value)
{
    switch (C->DataType) {
    case sgdText:
        return false;
    case sgdDate:
    case sgdDateTime: {
        TDateTime v = FormattedStrToDateTimeDef(Text, C->NumFormat, 0, C->DataType == sgdDate);
        Value = C->DataType == sgdDate ? std::floor(v) : v;
        return true;
    }
    case sgdTime: {
        TDateTime v = 0;
        if (!TryStrToTime(Text, v))
            return false;
        Value = v;
        return true;
    }
    default:
        return TryStrToFloat(CleanNumericString(RemoveThousandSeparator(Text)), Value);
    }
}

int TrStringGridEd::CompareValues(const QString& Text1, const QString& Text2, int EmptyResult, TrStringGridEdColumn* Column)
{
    if (Text1 == Text2)
        return 0;
    if (Text1.isEmpty())
        return EmptyResult;
    if (Text2.isEmpty())
        return 0;
    if (!Column || Column->DataType == sgdText)
        return CompareFinnish(Text1, Text2);
    double a = 0, b = 0;
    try {
        if (!ReadColumnValue(Column, Text1, a) || !ReadColumnValue(Column, Text2, b))
            return 0;
    } catch (...) {
        return 0;
    }
    return Sign(a - b);
}

int TrStringGridEd::CompareCellData(int ACol, int ARow1, int ARow2, int EmptyResult)
{
    return CompareValues(Cells(ACol, ARow1), Cells(ACol, ARow2), EmptyResult, ColumnOf(ACol));
}

void TrStringGridEd::SortProgress(int& Count, int RowTotal)
{
    ++Count;
    const int pos = int(int64_t(Count) * 50 / std::max(1, RowTotal));
    bool aborted = FAborted;
    if (OnProgress)
        OnProgress(this, sgtxt::ProgressSort, aborted, pos);
    if (aborted)
        FAborted = true;
    if (Count % 1000 == 1)
        ShowInfoProgressBar(sgtxt::Loading + sgtxt::OfData, this, [this](TComponent*) { DoAbort(); }, pos);
}

void TrStringGridEd::QuickSort(QStringList& List, std::vector<int>& Rows, int L, int R, int Dir, TrStringGridEdColumn* Column,
                               int& Count, int RowTotal, bool Counting)
{
    int I = L;
    do {
        // a.
        I = L;
        int J = R;
        int P = (L + R) / 2;
        do {
            // b.
            while (Dir * CompareValues(List[I], List[P], Dir, Column) < 0)
                ++I;
            while (Dir * CompareValues(List[J], List[P], Dir, Column) > 0)
                --J;
            // c.
            if (I <= J) {
                if (I != J) {
                    List.swapItemsAt(I, J);
                    std::swap(Rows[size_t(I)], Rows[size_t(J)]);
                    if (Counting)
                        SortProgress(Count, RowTotal);
                }
                if (P == I)
                    P = J;
                else if (P == J)
                    P = I;
                ++I;
                --J;
            }
            // d.
        } while (I <= J && !FAborted);
        if (FAborted)
            return;
        // e.
        if (L < J)
            QuickSort(List, Rows, L, J, Dir, Column, Count, RowTotal, Counting);
        L = I;
    } while (I < R && !FAborted);
}

void TrStringGridEd::SortData(int ACol, bool Descending, bool ResetSelection)
{
    // 1.
    FinishEditing();
    if (ACol < 0 || ACol >= ColCount())
        return;
    const int first = FixedRows();
    const int last = FAutoAddNewRow ? RowCount() - 2 : RowCount() - 1;
    const bool counting = HasOptionEx(dgSortShowProgress) && last > 1000;
    FAborted = false;
    // 2. The list and the row order are sorted together; the grid's rows
    // take the new order at the end, in one pass (exchanging rows cell by
    // cell as the sort goes is the same order, only slower).
    QStringList list = Cols(ACol);
    std::vector<int> rows(static_cast<size_t>(RowCount()));
    for (int r = 0; r < RowCount(); ++r)
        rows[size_t(r)] = r;
    BeginUpdateEd(false);
    int count = 0;
    if (last > first)
        QuickSort(list, rows, first, last, Descending ? -1 : 1, ColumnOf(ACol), count, RowCount(), counting);
    PermuteRows(rows);
    // 4.
    EndUpdateEd();
    if (counting)
        ShowInfoProgressBar(QString(), this, nullptr, 0);
    bool aborted = FAborted;
    if (OnProgress)
        OnProgress(this, sgtxt::ProgressEnd, aborted, 100);
    FLastSortCol = ACol;
    FLastSortDesc = Descending;
    if (ACol >= FixedCols())
        MoveColRow(ACol, FixedRows(), true, true);
    if (ResetSelection)
        ResetSelRange();
}
