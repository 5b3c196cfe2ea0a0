// How the grid shows each field: the tests that pick a field's display kind
// from the per-field lists (each may be overruled by the general event), the
// values of check-box fields and their toggling, and the date and time
// values of fields edited as dates or times.

#include "components/grid/rDBGrid.h"

#include "components/base/rtool.h"
#include "platform/database/Fields.h"

#include <cmath>

namespace {

// A name entry: the whole line is the field name.
bool HasName(const TStringList& L, const TField* F)
{
    return F && L.IndexOf(F->FieldName()) >= 0;
}

// A pair entry: FIELD=value.
bool HasPair(const TStringList& L, const TField* F)
{
    return F && L.IndexOfName(F->FieldName()) >= 0;
}

bool HasNameOrPair(const TStringList& L, const TField* F)
{
    return HasName(L, F) || HasPair(L, F);
}

}  // namespace

bool TrDBGrid::IsBoolEx(TField* Field)
{
    bool v = Field && FOptionsEx2.Editors.BoolGlyphs &&
             (Field->DataType() == ftBoolean || HasPair(FieldsAsBoolean, Field));
    DoGeneralEventFieldBool(geIsBool, Field, v);
    return v;
}

bool TrDBGrid::IsMemoEx(TField* Field, bool WithStrings)
{
    const TOptionsEditors& e = FOptionsEx2.Editors;
    bool v = false;
    if (Field) {
        v = e.Memo != obtNone && IsMemoField(Field);
        if (!v && e.TextAsMemoSize > 0 && Field->Size() > e.TextAsMemoSize)
            v = Field->DataType() == ftWideString || (WithStrings && Field->DataType() == ftString);
    }
    DoGeneralEventFieldBool(geIsMemo, Field, v);
    return v;
}

bool TrDBGrid::IsMemoAsGlyph(TField* Field, bool WithStrings)
{
    bool v = IsMemoEx(Field, WithStrings) && FOptionsEx2.Editors.Memo == obtGlyph;
    DoGeneralEventFieldBool(geIsMemoGlyph, Field, v);
    return v;
}

bool TrDBGrid::IsMemoAsText(TField* Field, bool WithStrings)
{
    bool v = IsMemoEx(Field, WithStrings) && FOptionsEx2.Editors.Memo == obtContent;
    DoGeneralEventFieldBool(geIsMemoText, Field, v);
    return v;
}

bool TrDBGrid::IsHTMLTextEx(TField* Field)
{
    bool v = HasName(FieldsAsHTMLText, Field);
    DoGeneralEventFieldBool(geIsHTMLText, Field, v);
    return v;
}

bool TrDBGrid::IsGraphicEx(TField* Field)
{
    bool v = Field && FOptionsEx2.Editors.Graphic != obtNone && (IsGraphicField(Field) || HasName(FieldsAsGraphics, Field));
    DoGeneralEventFieldBool(geIsGraphic, Field, v);
    return v;
}

bool TrDBGrid::IsFieldAsDateEx(TField* Field)
{
    bool v = HasName(FieldsAsDate, Field);
    DoGeneralEventFieldBool(geIsFieldAsDate, Field, v);
    return v;
}

bool TrDBGrid::IsDateEx(TField* Field)
{
    bool v = Field && FOptionsEx2.Editors.DateTimePicker && (IsFieldAsDateEx(Field) || IsDateField(Field));
    DoGeneralEventFieldBool(geIsDate, Field, v);
    return v;
}

bool TrDBGrid::IsFieldAsTimeEx(TField* Field)
{
    bool v = HasNameOrPair(FieldsAsTime, Field);
    DoGeneralEventFieldBool(geIsFieldAsTime, Field, v);
    return v;
}

bool TrDBGrid::IsTimeEx(TField* Field)
{
    bool v = Field && (IsFieldAsTimeEx(Field) || IsTimeField(Field));
    DoGeneralEventFieldBool(geIsTime, Field, v);
    return v;
}

bool TrDBGrid::IsDrawDropDownEx(TField* Field)
{
    bool v = HasName(FieldsDrawDropDown, Field);
    DoGeneralEventFieldBool(geIsDrawDropDown, Field, v);
    return v;
}

// The print engine's entry: it must print a check box exactly where the grid shows one.
bool TrDBGrid::IsFieldAsBoolean(TField* Field)
{
    return IsBoolEx(Field);
}

bool TrDBGrid::IsColorEx(TField* Field)
{
    bool v = HasName(FieldsAsColor, Field);
    DoGeneralEventFieldBool(geIsColor, Field, v);
    return v;
}

bool TrDBGrid::IsLinkEx(TField* Field)
{
    bool v = HasPair(FieldsAsLink, Field);
    DoGeneralEventFieldBool(geIsLink, Field, v);
    return v;
}

bool TrDBGrid::IsPasswordEx(TField* Field)
{
    bool v = HasNameOrPair(FieldsAsPassword, Field);
    DoGeneralEventFieldBool(geIsPassword, Field, v);
    return v;
}

bool TrDBGrid::IsFixedColumnWidth(TField* Field, const QString& FieldName)
{
    bool v = FieldsFixedColumnWidth.IndexOf(FieldName) >= 0;
    DoGeneralEventFieldBool(geIsFixedColumn, Field, v);
    return v;
}

// ---- boolean values ----------------------------------------------------------------

namespace {

QString BoolValues(const TStringList& L, const TField* F)
{
    const QString v = L.Values(F->FieldName());
    return v.isEmpty() ? QStringLiteral("1;0") : v;
}

}  // namespace

bool TrDBGrid::FieldAsBooleanValue(TField* F) const
{
    if (F->DataType() == ftBoolean)
        return F->AsBoolean();
    const QString trueText = BoolValues(FieldsAsBoolean, F).section(QLatin1Char(';'), 0, 0).trimmed();
    return F->AsString().compare(trueText, Qt::CaseInsensitive) == 0;
}

QVariant TrDBGrid::FieldAsBooleanDefValue(TField* F, bool Value) const
{
    if (F->DataType() == ftBoolean)
        return QVariant(Value);
    const QString v = BoolValues(FieldsAsBoolean, F);
    return Value ? v.section(QLatin1Char(';'), 0, 0).trimmed() : v.section(QLatin1Char(';'), 1, 1).trimmed();
}

bool TrDBGrid::ChangeBool(bool SetFalse, bool SetNull)
{
    TDataSet* ds = DataSet();
    const bool wasEditing = ds && (ds->State() == dsEdit || ds->State() == dsInsert);
    if (!CanEdit())
        return false;
    TField* f = SelectedField();
    bool result = false;
    try {
        if (SetNull)
            f->Clear();
        else if (f->DataType() == ftBoolean)
            f->SetAsBoolean(SetFalse ? false : !f->AsBoolean());
        else
            f->SetAsString(FieldAsBooleanDefValue(f, SetFalse ? false : !FieldAsBooleanValue(f)).toString());
        result = true;
        if (OnBoolClick)
            OnBoolClick(this, ds, Columns()->Items(SelectedIndex()), f, f->AsVariant());
        if (FOptionsEx2.Editors.BoolAutoSave && !wasEditing)
            ds->Post();
    } catch (...) {
    }
    return result;
}

// ---- dates and times ---------------------------------------------------------------

namespace {

bool IsNumericType(TFieldType t)
{
    return IsNumericFieldType(t);
}

}  // namespace

TDateTime TrDBGrid::GetDateValueEx(TField* Field) const
{
    if (!const_cast<TrDBGrid*>(this)->IsFieldAsDateEx(Field))
        return Field->AsDateTime();
    if (IsNumericType(Field->DataType()))
        return Field->AsFloat();
    const QString text = Field->AsString().trimmed();
    // A text that is no date raises; the editor's callers handle it.
    return text.isEmpty() ? 0 : StrToDate(text);
}

void TrDBGrid::SetDateValueEx(TField* Field, TDateTime Value)
{
    Value = std::floor(Value);
    if (IsDateTimeField(Field)) {
        // Only the date part changes; a time of day stays.
        const TDateTime old = Field->IsNull() ? 0 : Field->AsDateTime();
        Field->SetAsDateTime(Value + (old - std::floor(old)));
    } else if (IsNumericType(Field->DataType())) {
        Field->SetAsFloat(Value);
    } else {
        Field->SetAsString(DateTimeToFormattedStr(Value, QString(), false));
    }
}

TDateTime TrDBGrid::GetTimeValueEx(TField* Field) const
{
    if (!const_cast<TrDBGrid*>(this)->IsFieldAsTimeEx(Field))
        return Field->AsDateTime();
    if (IsNumericType(Field->DataType()))
        return Field->AsFloat();
    const QString text = Field->AsString().left(8).trimmed();
    return text.isEmpty() ? 0 : StrToTime(text);
}

void TrDBGrid::SetTimeValueEx(TField* Field, TDateTime Value)
{
    Value -= std::floor(Value);
    if (IsDateTimeField(Field)) {
        const TDateTime old = Field->IsNull() ? 0 : Field->AsDateTime();
        Field->SetAsDateTime(std::floor(old) + Value);
    } else if (IsNumericType(Field->DataType())) {
        Field->SetAsFloat(Value);
    } else {
        Field->SetAsString(DateTimeToFormattedStr(Value, QStringLiteral("hh:nn:ss"), true));
    }
}

int TrDBGrid::TimeFieldMinuteStep(const TField* Field) const
{
    bool ok = false;
    const int v = FieldsAsTime.Values(Field->FieldName()).trimmed().toInt(&ok);
    return ok && v > 0 ? v : 1;
}
