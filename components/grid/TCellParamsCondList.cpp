#include "components/grid/TCellParamsCondList.h"

#include "components/base/rdlg.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/TrDBGridSummaries.h"
#include "components/grid/TrDBGridsPropSave.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rdbtool.h"
#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/StrUtils.h"
#include "resources/GridCellCondTexts.h"
#include "platform/ui/Graphics.h"

#include <QDate>
#include <cmath>

namespace {

const QString InvalidCondition = QStringLiteral("Invalid condition for field %1. Condition will be deactivated.");
const QString YesWord = QStringLiteral("Yes");
const QString NoGridForSummary = QStringLiteral("A summary value needs a grid: %1");

// The index of the summary function in "FUNC(FIELD)" (cellcondtxt::SummaryFunctions),
// -1 when the text is not of that form or names no such function.
int SummaryFunction(const QString& E, int Open, int Close)
{
    if (Open <= 0 || Close < Open)
        return -1;
    return int(cellcondtxt::SummaryFunctions.indexOf(E.left(Open).trimmed().toUpper()));
}

struct TCompared {
    double Number = 0;
    bool Bool = false;
    QString Text;
};

}  // namespace

TCellParamsCond* TCellParamsCondList::Add()
{
    Items.push_back(std::make_unique<TCellParamsCond>());
    return Items.back().get();
}

void TCellParamsCondList::Assign(const TCellParamsCondList& Source)
{
    Items.clear();
    for (const auto& c : Source.Items)
        Items.push_back(std::make_unique<TCellParamsCond>(*c));
}

void TCellParamsCondList::ResetCond()
{
    for (auto& c : Items)
        c->LastRecNo = -1;
}

TSummaryResults TCellParamsCondList::SummaryOf(TDataSet* DS, TField* F) const
{
    if (!FGrid || !Summaries)
        throw Exception(NoGridForSummary.arg(F->FieldName()));
    TSummaryResults r = Summaries->GetSummaryResults(F, false);
    bool shown = false;
    for (int i = 0; i < FGrid->Columns()->Count() && !shown; ++i)
        shown = FGrid->Columns()->Items(i)->Field() == F;
    if (Summaries->Calculated() && (r.Field || !shown))
        return r;
    // Rules are read before the data opens, so the first paint over open
    // data finds nothing stored: count once now. Cells are painted through
    // a row override, which the record walk must not see.
    const int saved = DS->ActiveRecordOverride();
    DS->SetActiveRecordOverride(-1);
    try {
        r = Summaries->GetSummaryResults(F, true);
    } catch (...) {
        DS->SetActiveRecordOverride(saved);
        throw;
    }
    DS->SetActiveRecordOverride(saved);
    return r;
}

void TCellParamsCondList::LoadFromIniContent(TStringList& IniContent, const QString& GridKey)
{
    ProcIniContent(IniContent, GridKey, true);
}

void TCellParamsCondList::StoreToIniContent(TStringList& IniContent, const QString& GridKey)
{
    ProcIniContent(IniContent, GridKey, false);
}

void TCellParamsCondList::ProcIniContent(TStringList& IniContent, const QString& GridKey, bool Load)
{
    if (!FGrid)
        return;
    const QString key = !GridKey.isEmpty() ? GridKey
                        : (FGrid->Owner() ? FGrid->Owner()->Name() : QString()) + QLatin1Char('.') + FGrid->Name();
    auto file = std::make_unique<TPropSaveFile>(FGrid);
    // A scratch file: freeing it must write nothing to disk, on any path.
    file->DisableAll = true;
    file->SetStrings(IniContent);
    if (Load) {
        TrDBGridsPropSave::ReadCellParamsCondList(file.get(), key, *this);
        if (Count() > 0)
            FGrid->OptionsEx2().CellCondition.Active = true;
    } else {
        TrDBGridsPropSave::SaveCellParamsCondList(file.get(), key, *this);
        file->GetStrings(IniContent);
    }
    file.reset();
    FGrid->Invalidate();
}

bool TCellParamsCondList::Evaluate(const TCellParamsCond& C) const
{
    TDataSet* ds = FGrid ? FGrid->DataSet() : FDataSet;
    TField* f = ds->FieldByName(C.FieldName);
    if (C.CondOperator == cpoAllways)
        return true;
    // The compared value: fixed, today, a column summary or another field.
    TCompared v;
    const bool isDate = IsDateTimeField(f);
    if (!C.Value.startsWith(QLatin1Char('='))) {
        v.Text = C.Value;
        TDateTime d = 0;
        if (isDate)
            v.Number = TryStrToDate(C.Value, d) ? d : 0;
        else
            v.Number = QString(C.Value).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
        v.Bool = C.Value == QLatin1String("1") || (!C.Value.isEmpty() && YesWord.startsWith(C.Value, Qt::CaseInsensitive));
    } else {
        const QString e = C.Value.mid(1, 255);
        const int open = int(e.indexOf(QLatin1Char('('))), close = int(e.lastIndexOf(QLatin1Char(')')));
        if (e.compare(QLatin1String("$Date"), Qt::CaseInsensitive) == 0) {
            v.Number = QDateToDateTime(QDate::currentDate());
            v.Text = FormatDateTime(QStringLiteral("ddddd"), v.Number);
        } else if (const int fn = SummaryFunction(e, open, close); fn >= 0) {
            const TSummaryResults r = SummaryOf(ds, ds->FieldByName(e.mid(open + 1, close - open - 1)));
            const double values[] = {r.Sum, r.Min, r.Max, r.Avg, double(r.CountValues), double(r.CountEmpty),
                                     double(r.CountValues + r.CountEmpty)};
            v.Number = values[fn];
            v.Text = FloatToStr(v.Number);
        } else {
            TField* other = ds->FieldByName(e);
            try {
                v.Number = other->AsFloat();
                v.Bool = other->AsBoolean();
            } catch (const std::exception&) {
            }
            v.Text = other->AsString();
        }
    }
    if (f->IsNull() || v.Text.isEmpty()) {
        if (C.CondOperator == cpoEqual)
            return v.Text.isEmpty() && f->IsNull();
        if (C.CondOperator == cpoNotEqual)
            return !v.Text.isEmpty() || !f->IsNull();
        return false;
    }
    if (dynamic_cast<TNumericField*>(f) || isDate) {
        const double a = f->AsFloat();
        const int c = std::fabs(a - v.Number) <= 1e-15 ? 0 : (a < v.Number ? -1 : 1);
        switch (C.CondOperator) {
        case cpoEqual: return c == 0;
        case cpoLess: return c < 0;
        case cpoLessOrEq: return c <= 0;
        case cpoGreater: return c > 0;
        case cpoGreaterOrEq: return c >= 0;
        case cpoNotEqual: return c != 0;
        default: return false;
        }
    }
    if (dynamic_cast<TBooleanField*>(f))
        return C.CondOperator == cpoEqual ? f->AsBoolean() == v.Bool : f->AsBoolean() != v.Bool;
    const QString s = f->AsString();
    switch (C.CondOperator) {
    case cpoEqual: return s.compare(v.Text, Qt::CaseInsensitive) == 0;
    case cpoNotEqual: return s.compare(v.Text, Qt::CaseInsensitive) != 0;
    case cpoLess: return s < v.Text;
    case cpoLessOrEq: return s <= v.Text;
    case cpoGreater: return s > v.Text;
    case cpoGreaterOrEq: return s >= v.Text;
    case cpoStart: return s.startsWith(v.Text, Qt::CaseInsensitive);
    case cpoNotStart: return !s.startsWith(v.Text, Qt::CaseInsensitive);
    case cpoContain: return s.contains(v.Text, Qt::CaseInsensitive);
    case cpoNotContain: return !s.contains(v.Text, Qt::CaseInsensitive);
    default: return false;
    }
}

void TCellParamsCondList::GetFieldCond(TField* Field, TFont* AFont, TColor& Background, TDataImageDef& DataImageDef,
                                       bool Highlight, bool RefreshCond)
{
    TDataSet* ds = FGrid ? FGrid->DataSet() : FDataSet;
    const bool active = FGrid ? Active : true;
    if (!active || !ds || !ds->Active())
        return;
    const int row = FGrid && FGrid->DataLink() ? FGrid->DataLink()->ActiveRecord() : -1;
    TCellParamsCondActions prevAction = cpaSet;
    bool prevResult = true;
    for (auto& rule : Items) {
        TCellParamsCond& c = *rule;
        if (c.Deactive)
            continue;
        bool result = false;
        TField* f = nullptr;
        try {
            f = ds->FieldByName(c.FieldName);
            if (c.CondOperator == cpoAllways)
                result = true;
            else if (!RefreshCond && FGrid && c.LastRecNo == row)
                result = c.LastResult;
            else
                result = Evaluate(c);
            c.LastRecNo = FGrid ? row : -1;
            c.LastResult = result;
        } catch (const Exception& E) {
            c.Deactive = true;
            c.ErrorDesc = E.Message();
            ShowErr(InvalidCondition.arg(c.FieldName), E, false);
            continue;
        }
        if (prevAction == cpaAND)
            result = result && prevResult;
        else if (prevAction == cpaOR)
            result = result || prevResult;
        prevAction = c.Action;
        prevResult = result;
        if (c.Action == cpaSet && result && (c.WholeRow || f == Field)) {
            if (!Highlight && c.FontColor != clNone && AFont)
                AFont->SetColor(c.FontColor);
            if (!Highlight && c.BkColor != clNone)
                Background = c.BkColor;
            if (c.Bold && AFont)
                AFont->SetStyle(AFont->Style() | fsBold);
            DataImageDef = c.ImageDef;
        }
        if (c.StopIfTrue && c.Action == cpaSet && result)
            break;
    }
}
