// The grid's sort state and its application (through a sorter or the sort
// events), the record scan with the dataset's events silenced, the general
// event dispatch and the column width modes.

#include "components/grid/rDBGrid.h"

#include "components/grid/TrDBGridFilterBar.h"

#include "components/base/rtool.h"
#include "components/grid/rDBGridSorter.h"
#include "platform/database/DataSource.h"
#include "platform/database/Fields.h"
#include "platform/ui/ImgList.h"

#include <cmath>

// ---- sort state --------------------------------------------------------------------

QString TrDBGrid::TrimSortFields(const QString& Text)
{
    QStringList out;
    for (const QString& s : Text.split(QLatin1Char(',')))
        if (!s.trimmed().isEmpty())
            out << s.trimmed();
    return out.join(QLatin1Char(','));
}

QString TrDBGrid::TrimSortDirections(const QString& Text)
{
    QStringList out;
    for (const QString& s : Text.split(QLatin1Char(',')))
        if (!s.trimmed().isEmpty())
            out << (s.trimmed() == QLatin1String("D") ? QStringLiteral("D") : QStringLiteral("A"));
    return out.join(QLatin1Char(','));
}

TSortFieldNames TrDBGrid::GetSortFieldNames(const QString& Text)
{
    TSortFieldNames r;
    for (const QString& s : Text.split(QLatin1Char(',')))
        if (!s.isEmpty())
            r << s;
    return r;
}

TSortDirections TrDBGrid::GetSortDirections(const QString& Text)
{
    TSortDirections r;
    for (const QString& s : Text.split(QLatin1Char(',')))
        if (!s.isEmpty())
            r.push_back(s.compare(QLatin1String("D"), Qt::CaseInsensitive) == 0);
    return r;
}

void TrDBGrid::SetSortFieldName(const QString& v)
{
    FSortFieldName = TrimSortFields(v);
    Invalidate();
}

void TrDBGrid::SetSortDesc(bool v)
{
    FSortDesc = v;
    Invalidate();
}

void TrDBGrid::SetSortDirections(const QString& v)
{
    FSortDirections = TrimSortDirections(v);
    Invalidate();
}

void TrDBGrid::SetSorter(TrDBGridCustomSorter* v)
{
    if (FSorter)
        FSorter->RemoveFreeNotification(this);
    FSorter = v;
    if (v)
        v->FreeNotification(this);
}

int TrDBGrid::PosInSortField(const QString& FieldName) const
{
    const QStringList items = FSortFieldName.split(QLatin1Char(','));
    int pos = 0;
    for (int i = 0; i < items.size(); ++i)
        if (items[i].trimmed().compare(FieldName.trimmed(), Qt::CaseInsensitive) == 0)
            pos = i + 1;
    return pos;
}

bool TrDBGrid::GetSortDirection(const QString& FieldName) const
{
    const int p = PosInSortField(FieldName);
    if (p == 0)
        return FSortDesc;
    const QStringList d = FSortDirections.trimmed().split(QLatin1Char(','));
    return p <= d.size() && d[p - 1] == QLatin1String("D");
}

QString TrDBGrid::ChangeSortDirection(const QString& FieldName) const
{
    const int p = PosInSortField(FieldName);
    if (p == 0)
        return QString();
    const QString n = GetSortDirection(FieldName) ? QStringLiteral("A") : QStringLiteral("D");
    // A field beyond the last direction item gets the items it lacks.
    QStringList d = FSortDirections.isEmpty() ? QStringList() : FSortDirections.split(QLatin1Char(','));
    while (d.size() < p)
        d << (FSortDesc ? QStringLiteral("D") : QStringLiteral("A"));
    d[p - 1] = n;
    return d.join(QLatin1Char(','));
}

void TrDBGrid::CheckFormatSortDirection(QString& FieldNames, QString& Directions, const QString& RemoveFieldName)
{
    if (FieldNames.isEmpty())
        return;
    const QStringList f = TrimSortFields(FieldNames).split(QLatin1Char(','), Qt::SkipEmptyParts);
    const QStringList d = TrimSortDirections(Directions).toUpper().split(QLatin1Char(','), Qt::SkipEmptyParts);
    QString names, dirs;
    for (int i = 0; i < f.size(); ++i) {
        if (f[i].compare(RemoveFieldName, Qt::CaseInsensitive) == 0)
            continue;
        AddToSepList(names, f[i], QStringLiteral(","));
        AddToSepList(dirs, i < d.size() && d[i] == QLatin1String("D") ? QStringLiteral("D") : QStringLiteral("A"),
                     QStringLiteral(","));
    }
    FieldNames = names;
    Directions = dirs;
}

bool TrDBGrid::CanSort() const
{
    return FSorter || OnChangeSort || OnChangeSortEx;
}

// ---- applying a sort ---------------------------------------------------------------

bool TrDBGrid::ChangeSortEx(const QString& NewSortFieldNames, const QString& NewSortDirections)
{
    TDataSet* ds = DataSet();
    if (!ds || (!FSorter && !OnChangeSortEx))
        return false;
    bool ok = false;
    try {
        if (FSorter) {
            ok = FSorter->DoSort(this, ds, GetSortFieldNames(NewSortFieldNames), GetSortDirections(NewSortDirections));
        } else {
            ok = true;
            OnChangeSortEx(this, ds, GetSortFieldNames(NewSortFieldNames), GetSortDirections(NewSortDirections), ok);
        }
    } catch (...) {
        ok = false;
    }
    if (ok) {
        FSortDirections = NewSortDirections;
        SetSortFieldName(NewSortFieldNames);
    }
    return ok;
}

bool TrDBGrid::ChangeSort(const QString& NewSortFieldName, bool NewSortDesc)
{
    const QString d = NewSortDesc ? QStringLiteral("D") : QStringLiteral("A");
    TDataSet* ds = DataSet();
    if (!ds || (!FSorter && !OnChangeSort))
        return ChangeSortEx(NewSortFieldName, d);
    bool ok = false;
    try {
        if (FSorter) {
            ok = FSorter->DoSort(this, ds, GetSortFieldNames(NewSortFieldName), GetSortDirections(d));
        } else {
            ok = true;
            OnChangeSort(this, ds, NewSortFieldName, NewSortDesc, ok);
        }
    } catch (...) {
        ok = false;
    }
    if (ok) {
        FSortDesc = NewSortDesc;
        // The one direction item goes with the new sort, so that a later
        // ReSort or title glyph does not show an older direction.
        FSortDirections = d;
        SetSortFieldName(NewSortFieldName);
    }
    return ok;
}

bool TrDBGrid::ReSort()
{
    if (FSorter)
        return FSorter->DoSort(this, DataSet(), SortFieldNamesArr(), SortDirectionsArr());
    if (OnChangeSortEx)
        return ChangeSortEx(FSortFieldName, FSortDirections);
    return ChangeSort(FSortFieldName, FSortDesc);
}

// ---- record scan -------------------------------------------------------------------

void TrDBGrid::SaveResetDatasetEvents(int Reason)
{
    TDataSet* ds = DataSet();
    if (BeforeScanDataset)
        BeforeScanDataset(this, ds, Reason);
    FSavedEvents.emplace_back(ds->BeforeScroll, ds->AfterScroll, DataSource()->OnDataChange);
    ds->BeforeScroll = nullptr;
    ds->AfterScroll = nullptr;
    DataSource()->OnDataChange = nullptr;
}

void TrDBGrid::RestoreDatasetEvents(int Reason)
{
    TDataSet* ds = DataSet();
    auto& [before, after, change] = FSavedEvents.back();
    ds->BeforeScroll = before;
    ds->AfterScroll = after;
    DataSource()->OnDataChange = change;
    FSavedEvents.pop_back();
    if (AfterScanDataset)
        AfterScanDataset(this, ds, Reason);
}

void TrDBGrid::ScanAllRecords(int Reason, int MaxRecords, bool FromFirst, bool IgnoreFilter, const TScanCallBack& CallBack)
{
    TDataSet* ds = DataSet();
    if (!ds || !ds->Active())
        return;
    // 1-3. Hourglass, the current record, controls off, events off.
    WCursor();
    const TBookmark bm = ds->GetBookmark();
    ds->DisableControls();
    SaveResetDatasetEvents(Reason);
    // 4-6. The walk; the filter and the position come back on every exit
    // path (a callback that raises must not leave the grid unfiltered).
    const bool filterOff = IgnoreFilter && ds->Filtered();
    auto restore = [&] {
        try {
            if (filterOff)
                ds->SetFiltered(true);
            if (ds->BookmarkValid(bm))
                ds->GotoBookmark(bm);
        } catch (...) {
        }
        RestoreDatasetEvents(Reason);
        ds->EnableControls();
        NCursor();
    };
    try {
        if (filterOff)
            ds->SetFiltered(false);
        if (FromFirst)
            ds->First();
        int i = 0;
        while (!ds->Eof()) {
            CallBack(ds, i);
            ++i;
            if ((MaxRecords > 0 && i > MaxRecords) || !FromFirst)
                break;
            ds->Next();
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

// ---- general event -----------------------------------------------------------------

bool TrDBGrid::DoGeneralEventParam(TGeneralEventType EventType, TColumn* Column, QVariant& ParamValue, void* ParamObject,
                                   TField* Field)
{
    if (!OnGeneralEvent)
        return true;
    FGeneralEventRec.Column = Column;
    FGeneralEventRec.Field = Field;
    FGeneralEventRec.ParamObject = ParamObject;
    FGeneralEventRec.ParamValue = ParamValue;
    if (Field && Field->DataSet() && Field->DataSet()->Active())
        FGeneralEventRec.FieldValue = Field->AsVariant();
    bool cont = true;
    OnGeneralEvent(this, EventType, FGeneralEventRec, cont);
    ParamValue = FGeneralEventRec.ParamValue;
    return cont;
}

bool TrDBGrid::DoGeneralEventFieldBool(TGeneralEventType EventType, TField* Field, bool& Value)
{
    if (!OnGeneralEvent)
        return true;
    QVariant v(Value);
    const bool cont = DoGeneralEventParam(EventType, nullptr, v, nullptr, Field);
    Value = v.toBool();
    return cont;
}

bool TrDBGrid::DoGeneralEventField(TGeneralEventType EventType, TField* Field)
{
    bool v = false;
    return DoGeneralEventFieldBool(EventType, Field, v);
}

bool TrDBGrid::DoGeneralEvent(TGeneralEventType EventType)
{
    return DoGeneralEventField(EventType, nullptr);
}

// ---- column widths -----------------------------------------------------------------

int TrDBGrid::GetLimitColumnWidth(int Width, bool UseMin, bool UseMax) const
{
    const int mn = UseScale(FOptionsEx2.Appearance.ColumnMinWidth);
    const int mx = UseScale(FOptionsEx2.Appearance.ColumnMaxWidth);
    if (UseMin && Width < mn)
        return mn;
    if (UseMax && Width > mx)
        return mx;
    return Width;
}

int TrDBGrid::GetTitleWidth(TColumn* Column)
{
    const TFont* font = Column->Title()->Font();
    const QString title = GetTitleText(Column);
    int a = GetLineWidth(title, font) + 4;
    // A title of several lines is as wide as its widest line, or as the text
    // spread over the title's lines when it has more lines than room.
    if (a > UseScale(FOptionsEx2.Appearance.ColumnMinWidth) && FTitleLines > 1) {
        QString rest = title;
        int widest = 0, lines = 0;
        while (!rest.isEmpty()) {
            widest = std::max(widest, GetLineWidth(GetLine(rest, 0, true), font));
            ++lines;
        }
        const int spread = int(std::nearbyint(a * ((lines - FTitleLines) * 0.2 + 1) / FTitleLines));
        a = std::max(widest + 4, spread);
    }
    TField* f = Column->Field();
    a += GetTitleButtonsWidth(f, true) + GetTitleImageWidth(f, true);
    if (TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(this); bar && bar->IsFunnelButtonColumn(Column->Index()))
        a += rGlyphs.FilterWidth(FScaleRatio) + 6;
    if (f && IsSimpleField(f) && CanSort())
        a += rGlyphs.SortWidth(FScaleRatio) + 6;
    return GetLimitColumnWidth(a, true, true);
}

void TrDBGrid::IntSetColumnWidth(TColumn* Column, int Width)
{
    if (Column->Width() == Width)
        return;
    QVariant v(Width);
    if (DoGeneralEventParam(geSetColumnWidth, Column, v, nullptr, Column->Field())) {
        // OnColWidthChanged tells the window of widths set by code too.
        FLastColWidthChangedIdx = DataToRawColumn(Column->Index());
        Column->SetWidth(v.toInt());
        // The layout takes the width without a width-change pass: tell the window here.
        if (FLastColWidthChangedIdx >= 0) {
            FLastColWidthChangedIdx = -1;
            if (OnColWidthChanged && Column->Visible())
                OnColWidthChanged(this, Column, false);
        }
    }
}

namespace {

QString MeasuredText(TrDBGrid* G, TField* F)
{
    if (!F)
        return QString();
    QString group;
    if (G->OptionsEx2().Groups.Active && G->GetGroupMasterCellContent(F, group))
        return group;
    if (IsSimpleField(F))
        return F->DisplayText();
    if (IsMemoField(F) && G->OptionsEx2().Editors.Memo == obtContent)
        return F->AsString();
    return QString();
}

}  // namespace

void TrDBGrid::SetOneColumnWidth(TColumnWidth Mode, TColumn* Column, int AdditionalSpace)
{
    if (!Column)
        return;
    int a = 0;
    switch (Mode) {
    case cwNone: a = Column->Width(); break;
    case cwDefaultWidth: a = Column->DefaultWidth(); break;
    case cwLabelWidth: a = GetTitleWidth(Column); break;
    case cwDataWidth:
    case cwDataLabelWidth: {
        if (!IsActive())
            return;
        a = Mode == cwDataLabelWidth ? GetTitleWidth(Column) : -1;
        TCanvas* c = Canvas();
        int widest = 0;
        ScanAllRecords(1, FOptionsEx2.Appearance.ColumnWidthMaxRecordsSearch, true, false, [&](TDataSet*, int) {
            c->Font()->Assign(*Column->Font());
            widest = std::max(widest, c->TextWidth(MeasuredText(this, Column->Field())) + 8);
        });
        if (widest >= 1) {
            if (IsDateEx(Column->Field()))
                widest += DefaultRowHeight();
            if (widest >= a)
                a = widest;
        }
        break;
    }
    default: return;
    }
    if (a > 0)
        IntSetColumnWidth(Column, AdditionalSpace + GetLimitColumnWidth(a, true, true));
}

void TrDBGrid::SetColumnWidth(TColumnWidth Mode, int AdditionalSpace)
{
    const int n = Columns()->Count();
    if (Mode == cwNone || n == 0)
        return;
    // 2. The fixed-width columns' share and the others' count and sum.
    int f = 0, k = 0, t = 0;
    std::vector<TColumn*> free;
    for (int i = 0; i < n; ++i) {
        TColumn* col = Columns()->Items(i);
        if (!col->Visible())
            continue;
        if (col->Width() > Width())
            col->SetWidth(Width());
        if (IsFixedColumnWidth(col->Field(), col->FieldName())) {
            f += col->Width() + ((Options() & dgColLines) ? 1 : 0);
        } else {
            ++k;
            t += col->Width();
            free.push_back(col);
        }
    }
    if (k == 0 || t == 0)
        return;
    // 3. The free width: the grid's width less a vertical scroll bar's room,
    // whether the bar shows yet or not, and less the border, so that the
    // columns still fit without a horizontal bar once rows fill the grid.
    int c = Width() - ScrollBarSize() - 2;
    if (Options() & dgIndicator)
        c -= ColWidths(0);
    if (BorderStyle() == bsSingle)
        c -= Ctl3D() ? 4 : 2;
    if (Options() & dgColLines)
        c -= k;
    switch (Mode) {
    case cwDefaultWidth:
    case cwLabelWidth:
        for (TColumn* col : free)
            SetOneColumnWidth(Mode, col, AdditionalSpace);
        return;
    case cwSameWidth:
        for (TColumn* col : free)
            IntSetColumnWidth(col, GetLimitColumnWidth((c - f) / k, true, false));
        return;
    case cwAutoWidth: {
        double x = double(c - f) / t;
        int m = UseScale(FOptionsEx2.Appearance.ColumnMinWidth);
        bool below = false;
        for (TColumn* col : free)
            below = below || int(x * col->Width()) < m;
        if (x < 1 && below)
            x = k * m < t ? double(c - k * m - f) / (t - k * m) : 0;
        else
            m = 0;
        for (TColumn* col : free)
            IntSetColumnWidth(col, GetLimitColumnWidth(m + int(x * (col->Width() - m)), true, false));
        return;
    }
    default: break;
    }
    // 7. The data modes measure every column in one scan.
    if (!IsActive())
        return;
    std::vector<int> measure(size_t(n), 0);
    for (int i = 0; i < n; ++i)
        if (Mode == cwDataLabelWidth)
            measure[size_t(i)] = GetTitleWidth(Columns()->Items(i));
    TCanvas* cv = Canvas();
    ScanAllRecords(1, FOptionsEx2.Appearance.ColumnWidthMaxRecordsSearch, true, false, [&](TDataSet*, int) {
        for (int i = 0; i < n; ++i) {
            TColumn* col = Columns()->Items(i);
            const QString s = MeasuredText(this, col->Field());
            if (s.isEmpty())
                continue;
            cv->Font()->Assign(*col->Font());
            measure[size_t(i)] = std::max(measure[size_t(i)], cv->TextWidth(s) + 8);
        }
    });
    for (int i = 0; i < n; ++i) {
        TColumn* col = Columns()->Items(i);
        int m = measure[size_t(i)];
        if (Mode == cwHideEmptyCol) {
            if (m == 0)
                col->SetVisible(false);
            continue;
        }
        if (n > 4)
            m = std::min(m, Width() / 4);
        if (m == 0)
            m = 8;
        if (IsDateEx(col->Field()))
            m += DefaultRowHeight();
        if (!IsFixedColumnWidth(col->Field(), col->FieldName()))
            IntSetColumnWidth(col, AdditionalSpace + GetLimitColumnWidth(m, true, true));
    }
}

void TrDBGrid::SetColumnWidthMode(TColumnWidth v)
{
    SetColumnWidth(v, 0);
    FColumnWidth = (v == cwDefaultWidth || v == cwDataWidth || v == cwDataLabelWidth) ? cwNone : v;
}

void TrDBGrid::RestoreColumnsWidth(bool RestoreVisibility, bool RestorePosition)
{
    for (size_t i = 0; i < FColumnStoredProps.size(); ++i) {
        const TColumnStoredProp& p = FColumnStoredProps[i];
        const int c = GetFieldNameColumnIndex(p.FieldName);
        if (c < 0)
            continue;
        TColumn* col = Columns()->Items(c);
        col->SetWidth(p.Width);
        if (RestoreVisibility)
            col->SetVisible(p.Visible);
        if (RestorePosition)
            col->SetIndex(int(i));
    }
}

int TrDBGrid::GetFieldNameColumnIndex(const QString& FieldName) const
{
    auto* cols = const_cast<TrDBGrid*>(this)->Columns();
    for (int i = 0; i < cols->Count(); ++i)
        if (cols->Items(i)->FieldName().compare(FieldName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
