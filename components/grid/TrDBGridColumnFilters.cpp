#include "components/grid/TrDBGridColumnFilters.h"

#include "components/grid/TrDBGridCellConds.h"
#include "components/grid/TrDBGridFilterBar.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rdbtool.h"
#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"

namespace {

bool SameName(const QString& A, const QString& B)
{
    return A.compare(B, Qt::CaseInsensitive) == 0;
}

void RemoveName(TStringList& L, const QString& Name)
{
    for (int i = L.Count() - 1; i >= 0; --i)
        if (SameName(L.Names(i), Name))
            L.Delete(i);
}

void SetNameValue(TStringList& L, const QString& Name, const QString& Value)
{
    RemoveName(L, Name);
    L.Add(Name + QLatin1Char('=') + Value);
}

bool ToNumber(const QString& S, double& V)
{
    bool ok = false;
    V = QString(S).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok;
}

QString Both(const QString& A, const QString& B)
{
    return A + QStringLiteral(" AND ") + B;
}

}  // namespace

TrDBGridColumnFilters::TrDBGridColumnFilters(TrDBGrid* Grid) : TComponent(Grid), FGrid(Grid)
{
    SetName(QStringLiteral("ColumnFilters"));
}

TrDBGridColumnFilters* TrDBGridColumnFilters::Find(const TrDBGrid* Grid)
{
    return Grid ? dynamic_cast<TrDBGridColumnFilters*>(Grid->FindComponent(QStringLiteral("ColumnFilters"))) : nullptr;
}

TrDBGridColumnFilters* TrDBGridColumnFilters::Of(TrDBGrid* Grid)
{
    if (!Grid)
        return nullptr;
    if (TrDBGridColumnFilters* f = Find(Grid))
        return f;
    return new TrDBGridColumnFilters(Grid);
}

bool TrDBGridColumnFilters::DefineColumnFilter(const QString& FieldName, const QString& FilterCondition,
                                               const QString& TextFilterValue, bool ActivateFilter)
{
    TDataSet* ds = FGrid->DataSet();
    if (!ds || !ds->FindField(FieldName))
        return false;
    auto it = std::find_if(FStore.rbegin(), FStore.rend(), [&](const TColumnStoredProp& P) { return SameName(P.FieldName, FieldName); });
    if (it == FStore.rend())
        FStore.push_back({FieldName, 0, true, FilterCondition});
    else
        it->FilterString = FilterCondition;
    SetNameValue(EditValues, FieldName, TextFilterValue);
    bool result = true;
    if (ActivateFilter) {
        result = SetFilterString(ds, GetColumnFilterString(), false);
        Changed();
    }
    FGrid->Invalidate();
    return result;
}

QString TrDBGridColumnFilters::GetColumnFilterString()
{
    QString result, names;
    for (const TColumnStoredProp& p : FStore) {
        const QString f = p.FilterString.trimmed();
        if (f.isEmpty())
            continue;
        if (!result.isEmpty())
            result += QStringLiteral(" AND ");
        const bool wrapped = f.startsWith(QLatin1Char('(')) && f.endsWith(QLatin1Char(')')) && f.indexOf(QLatin1Char('('), 1) < 0;
        result += wrapped ? f : QLatin1Char('(') + f + QLatin1Char(')');
        names += p.FieldName + QLatin1Char(';');
    }
    FGrid->SetFilteredFieldNames(names);
    return result;
}

bool TrDBGridColumnFilters::SetFilterForField(TField* Fld, const QString& FilterString, bool MultiFieldFilter, bool SetFilter,
                                              bool ShowError)
{
    return FGrid->IntSetFilterForField(Fld, Fld, FilterString, MultiFieldFilter, SetFilter, ShowError);
}

bool TrDBGridColumnFilters::StoreFieldFilter(TField* Fld, TField* MappingFld, const QString& FilterString,
                                             bool MultiFieldFilter, bool SetFilter, bool ShowError)
{
    TDataSet* ds = FGrid->DataSet();
    bool result = true;
    if (!Fld) {
        if (SetFilter && ds)
            ds->SetFiltered(false);
        FStore.clear();
    } else {
        if (FilterString.trimmed().isEmpty()) {
            const QString shown = (MappingFld ? MappingFld : Fld)->FieldName();
            RemoveName(EditValues, shown);
            RemoveName(EditStatuses, shown);
        }
        auto it = std::find_if(FStore.rbegin(), FStore.rend(),
                               [&](const TColumnStoredProp& P) { return SameName(P.FieldName, Fld->FieldName()); });
        if (it == FStore.rend()) {
            FStore.push_back({Fld->FieldName(), 0, true, QString()});
            it = FStore.rbegin();
        }
        it->FilterString = FilterString.trimmed();
        if (!MultiFieldFilter)
            for (TColumnStoredProp& p : FStore)
                if (!SameName(p.FieldName, Fld->FieldName())) {
                    p.FilterString.clear();
                    RemoveName(EditValues, p.FieldName);
                    RemoveName(EditStatuses, p.FieldName);
                }
        if (SetFilter && ds) {
            const QString s = GetColumnFilterString();
            if (s.isEmpty())
                ds->SetFiltered(false);
            else
                result = SetFilterString(ds, s, ShowError);
        }
    }
    if (!Fld)
        GetColumnFilterString();
    FGrid->Invalidate();
    if (SetFilter)
        Changed();
    return result;
}

void TrDBGridColumnFilters::ResetFilter()
{
    EditValues.Clear();
    EditStatuses.Clear();
    SetFilterForField(nullptr, QString(), true, true, true);
}

void TrDBGridColumnFilters::RefreshFilteredFieldNames()
{
    QString names;
    if (FGrid->IsFiltered()) {
        // Quoted values may hold words that look like field names.
        QString text = FGrid->DataSet()->Filter();
        for (int a = int(text.indexOf(QLatin1Char('\''))); a >= 0; a = int(text.indexOf(QLatin1Char('\'')))) {
            const int b = int(text.indexOf(QLatin1Char('\''), a + 1));
            text.remove(a, b < 0 ? text.size() - a : b - a + 1);
        }
        const QString seps = QStringLiteral("\t\n\v\f\r ()*+-/<=>[]");
        TDataSet* ds = FGrid->DataSet();
        for (int i = 0; i < ds->FieldCount(); ++i) {
            const QString n = ds->Fields()[i]->FieldName();
            for (int at = int(text.indexOf(n, 0, Qt::CaseInsensitive)); at >= 0;
                 at = int(text.indexOf(n, at + 1, Qt::CaseInsensitive))) {
                const int end = at + int(n.size());
                if ((at == 0 || seps.contains(text[at - 1])) && (end >= text.size() || seps.contains(text[end]))) {
                    names += n + QLatin1Char(';');
                    break;
                }
            }
        }
    }
    FGrid->SetFilteredFieldNames(names);
    if (TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(FGrid))
        bar->ResetFilterDlgLastColIdx();
    FGrid->Invalidate();
    Changed();
}

void TrDBGridColumnFilters::Changed()
{
    FGrid->DoFilterChange();
}

void TrDBGridColumnFilters::FilterChanged()
{
    if (TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(FGrid))
        bar->DoFilterChange();
    TFooterRow* footer = FGrid->FooterRow();
    if (footer->FooterVisible() && footer->RecalculateAfterFilter)
        FGrid->RecalculateSummaryResults(true);
    else if (TrDBGridCellConds* conds = TrDBGridCellConds::Find(FGrid); conds && FGrid->OptionsEx2().CellCondition.Active)
        conds->RefreshSummaries();
    if (OnFilterChanged)
        OnFilterChanged();
}

bool TrDBGridColumnFilters::ProcFilterBarFilter(TField* Field, const QString& Text)
{
    return FGrid->IntProcFilterBarFilter(Field, Text);
}

bool TrDBGridColumnFilters::ApplyBarText(TField* Field, const QString& Text)
{
    if (!Field || !Field->DataSet())
        return false;
    const QString c = BarTextCondition(Field, Text);
    const bool result = !Text.trimmed().isEmpty() ? !c.isEmpty() : true;
    if (!result) {
        SetNameValue(EditStatuses, Field->FieldName(), QStringLiteral("E"));
        return false;
    }
    SetNameValue(EditValues, Field->FieldName(), Text);
    const bool ok = FGrid->IntSetFilterForField(Field, Field, c, true, true, false);
    SetNameValue(EditStatuses, Field->FieldName(), ok ? QString() : QStringLiteral("E"));
    if (Text.trimmed().isEmpty())
        RemoveName(EditValues, Field->FieldName());
    return ok;
}

QString TrDBGridColumnFilters::BarTextCondition(TField* F, const QString& Text) const
{
    const QString t = Text.trimmed();
    if (t.isEmpty())
        return QString();
    for (const char* n : {"(null)", "is null", "=null"})
        if (SameName(t, QLatin1String(n)))
            return GetFilterCond(F, t, true, QString());
    for (const char* n : {"(not null)", "is not null", "<>null"})
        if (SameName(t, QLatin1String(n)))
            return GetFilterCondEx(F, t, false, true, QString());
    // No precedence: each condition joins the total with the separator read before it.
    QString total, rest = t;
    QChar pending = QLatin1Char('&');
    while (!rest.isEmpty()) {
        const int bar = int(rest.indexOf(QLatin1Char('|'))), amp = int(rest.indexOf(QLatin1Char('&')));
        const QChar sep = (bar >= 0 && (amp < 0 || bar < amp)) ? QLatin1Char('|') : QLatin1Char('&');
        const int at = int(rest.indexOf(sep));
        const QString part = (at < 0 ? rest : rest.left(at)).trimmed();
        rest = at < 0 ? QString() : rest.mid(at + 1);
        const QString c = PartCondition(F, part);
        if (c.isEmpty())
            continue;
        total = total.isEmpty() ? c
                : pending == QLatin1Char('&') ? MakeSQLCondAND({total, c})
                                                : MakeSQLCondOR({total, c});
        pending = sep;
    }
    return total;
}

QString TrDBGridColumnFilters::PartCondition(TField* F, const QString& Part) const
{
    int n = 0;
    while (n < Part.size() && QStringLiteral("<>=").contains(Part[n]))
        ++n;
    QString op = Part.left(n);
    const QString value = Part.mid(n).trimmed();
    if (op == QLatin1String("="))
        op.clear();
    if (value.isEmpty())
        return QString();
    if (IsDateTimeField(F))
        return DateCondition(F, op, value);
    if (dynamic_cast<TNumericField*>(F) && op.isEmpty())
        return NumberCondition(F, value);
    return TextCondition(F, op, value);
}

QString TrDBGridColumnFilters::TextCondition(TField* F, QString Op, QString Value) const
{
    if (Op.isEmpty() && IsApostrField(F) && !IsDateTimeField(F)) {
        const TOptionsFilters& o = FGrid->OptionsEx2().Filters;
        const QString w = QString(o.GetTextFilterLikeChar());
        switch (o.TextFilterType) {
        case oftAnyPos: Value = w + Value + w; break;
        case oftStartPos: Value = Value + w; break;
        case oftExactValue: break;
        case oftAnyPosForNoLikeChar:
            if (!Value.contains(w))
                Value = w + Value + w;
            break;
        }
        Op = o.GetTextFilterLikeOperator();
    }
    return GetFilterCond(F, Value, false, Op);
}

QString TrDBGridColumnFilters::NumberCondition(TField* F, const QString& Value) const
{
    double v = 0;
    if (ToNumber(Value, v))
        return GetFilterCond(F, Value, false, QString());
    const TOptionsFilters& o = FGrid->OptionsEx2().Filters;
    const int i = int(Value.indexOf(o.NumberPartWildChar));
    if (!o.UseNumberPartAsRange || i < 1)
        return QString();
    int head = i;
    if (Value[i - 1] == QLatin1Char(',') || Value[i - 1] == QLatin1Char('.'))
        head = i - 1;
    double n = 0;
    if (!ToNumber(Value.left(head), n))
        return QString();
    const QString tail = Value.mid(head).replace(o.NumberPartWildChar, QLatin1Char('0'));
    // "12*" is 120 <= x < 130: the head and its successor with the tail behind.
    return Both(GetFilterCond(F, GetNumericFieldFilterValue(n) + tail, false, QStringLiteral(">=")),
                GetFilterCond(F, GetNumericFieldFilterValue(n + 1) + tail, false, QStringLiteral("<")));
}

QString TrDBGridColumnFilters::DateCondition(TField* F, const QString& Op, const QString& Value) const
{
    TDateTime d = 0;
    if (TryStrToDate(Value, d)) {
        if (!Op.isEmpty())
            return GetFilterCond(F, GetDateFieldFilterValue(d), false, Op);
        return Both(GetFilterCond(F, GetDateFieldFilterValue(d), false, QStringLiteral(">=")),
                    GetFilterCond(F, GetDateFieldFilterValue(d + 1), false, QStringLiteral("<")));
    }
    if (!FGrid->OptionsEx2().Filters.UseDatePartAsRange)
        return QString();
    bool ok = false;
    int y = Value.toInt(&ok);
    int m = 0;
    if (!ok) {
        y = 0;
        for (int i = 0; i < Value.size(); ++i)
            if (QStringLiteral("/-.,").contains(Value[i])) {
                m = Value.left(i).toInt();
                y = Value.mid(i + 1).toInt();
                if (y < m)
                    std::swap(y, m);
            }
    }
    TDateTime from = 0, to = 0;
    const bool lastDay = Op == QLatin1String(">") || Op == QLatin1String("<=");
    if (m < 1 || m > 12) {
        if (!TryEncodeDate(y, 1, 1, from) || !TryEncodeDate(y + 1, 1, 1, to))
            return QString();
    } else if (!TryEncodeDate(y, m, 1, from) || !TryEncodeDate(m == 12 ? y + 1 : y, m == 12 ? 1 : m + 1, 1, to)) {
        return QString();
    }
    if (!Op.isEmpty())
        return GetFilterCond(F, GetDateFieldFilterValue(lastDay ? to - 1 : from), false, Op);
    return Both(GetFilterCond(F, GetDateFieldFilterValue(from), false, QStringLiteral(">=")),
                GetFilterCond(F, GetDateFieldFilterValue(to), false, QStringLiteral("<")));
}
