#include "components/grid/rdbtool.h"

#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/grid/rDBGridTexts.h"
#include "components/stringgrid/rStringGridEd.h"
#include "platform/database/ClientDataSet.h"
#include "platform/database/DataSource.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/Forms.h"

#include <map>
#include <memory>
#include <vector>

namespace {

// Restores the screen cursor on every way out.
class CursorKeeper {
public:
    explicit CursorKeeper(TCursor Previous) : FPrevious(Previous) {}
    ~CursorKeeper()
    {
        if (Screen)
            Screen->SetCursor(FPrevious);
    }

private:
    TCursor FPrevious;
};

TCursor SetScreenCursor(TCursor C)
{
    if (!Screen)
        return crDefault;
    const TCursor old = Screen->Cursor();
    Screen->SetCursor(C);
    return old;
}

const TrDBFilterCfg& FilterCfg() { return ParioCompConfig.rDBFilterCfg; }

// The key field a lookup field writes through (the field itself otherwise).
TField* KeyFieldOf(TField* F)
{
    if (F && F->FieldKind() == fkLookup && F->DataSet())
        if (TField* k = F->DataSet()->FindField(F->KeyFields))
            return k;
    return F;
}

int IndexOfCI(const QString& Text, const QString& Sub, int From)
{
    return Text.indexOf(Sub, From, Qt::CaseInsensitive);
}

}  // namespace

// ---- sets ----------------------------------------------------------------------------

bool InSimpleFldSet(TFieldType T)
{
    switch (T) {
    case ftString: case ftSmallint: case ftInteger: case ftWord: case ftBoolean: case ftFloat: case ftCurrency: case ftBCD:
    case ftDate: case ftTime: case ftDateTime: case ftAutoInc: case ftWideString: case ftLargeint: case ftGuid:
    case ftTimeStamp: case ftFMTBcd: case ftLongWord: case ftShortint: case ftByte: case ftExtended: case ftSingle:
        return true;
    default:
        return false;
    }
}

bool InApostrFldSet(TFieldType T)
{
    switch (T) {
    case ftString: case ftDate: case ftTime: case ftDateTime: case ftBlob: case ftMemo: case ftFmtMemo: case ftWideString:
    case ftGuid: case ftTimeStamp: case ftWideMemo:
        return true;
    default:
        return false;
    }
}

// ---- dataset resolution --------------------------------------------------------------

namespace {

TRecViewReader& RecViewReader()
{
    static TRecViewReader reader;
    return reader;
}

bool ReadRecView(TComponent* O, TRecViewRows& Out)
{
    return O && RecViewReader() && RecViewReader()(O, Out);
}

}  // namespace

void RegisterRecViewReader(TRecViewReader Reader)
{
    RecViewReader() = std::move(Reader);
}

TDataSet* GetDataSet(TComponent* GridOrDSet)
{
    try {
        if (auto* g = dynamic_cast<TCustomDBGrid*>(GridOrDSet))
            return g->DataSource() ? g->DataSource()->DataSet() : nullptr;
        if (TRecViewRows view; ReadRecView(GridOrDSet, view))
            return view.DataSet;
        if (auto* s = dynamic_cast<TDataSource*>(GridOrDSet))
            return s->DataSet();
        if (auto* d = dynamic_cast<TDataSet*>(GridOrDSet))
            return d;
    } catch (...) {
    }
    return nullptr;
}

bool IsEditing(TComponent* GridOrDSet)
{
    TDataSet* d = GetDataSet(GridOrDSet);
    return d && (d->State() == dsEdit || d->State() == dsInsert);
}

bool IsClientDataset(const TDataSet* Dataset) { return dynamic_cast<const TClientDataSet*>(Dataset) != nullptr; }

// No Advantage Database datasets exist in this program.
bool IsAdvantageDatabaseDataset(const TDataSet*) { return false; }

void ClearFilter(TComponent* GridOrDataSet) { SetFilterString(GetDataSet(GridOrDataSet), QString(), true); }

// ---- field kinds ---------------------------------------------------------------------

bool IsDataField(const TField* F) { return F && F->FieldKind() == fkData; }
bool IsSimpleField(const TField* F) { return F && InSimpleFldSet(F->DataType()); }
bool IsApostrField(const TField* F) { return F && InApostrFldSet(F->DataType()); }

bool IsMemoField(const TField* F)
{
    if (!F)
        return false;
    if (dynamic_cast<const TMemoField*>(F))
        return true;
    if (dynamic_cast<const TBlobField*>(F) && !dynamic_cast<const TGraphicField*>(F)) {
        const TFieldType t = F->DataType();
        return t == ftMemo || t == ftFmtMemo || t == ftWideMemo || (t == ftBlob && ParioCompConfig.rDBToolCfg.BlobField_ftBlobAsMemo);
    }
    return false;
}

bool IsGraphicField(const TField* F)
{
    if (!F)
        return false;
    if (dynamic_cast<const TGraphicField*>(F))
        return true;
    auto* blob = dynamic_cast<const TBlobField*>(F);
    if (blob && !IsMemoField(F))
        return F->DataType() == ftGraphic || F->DataType() == ftTypedBinary || blob->GraphicHeader();
    return false;
}

bool IsDateTimeField(const TField* F) { return dynamic_cast<const TDateTimeField*>(F) != nullptr; }
bool IsTimeField(const TField* F) { return dynamic_cast<const TTimeField*>(F) != nullptr; }
bool IsDateField(const TField* F) { return IsDateTimeField(F) && !IsTimeField(F); }

QString GetBooleanFieldTextValue(const TField* Fld, bool State)
{
    auto* b = dynamic_cast<const TBooleanField*>(Fld);
    if (!b)
        return QString();
    const QString dv = b->DisplayValues;
    if (dv.isEmpty())
        return State ? QStringLiteral("True") : QStringLiteral("False");
    int p = Pos(QStringLiteral(";"), dv);
    if (p == 0)
        p = 256;
    return State ? Copy(dv, 1, p - 1) : Copy(dv, p + 1, 255);
}

bool GetBooleanFieldState(const TField* Fld, const QString& TextValue)
{
    return QString::compare(TextValue, GetBooleanFieldTextValue(Fld, true), Qt::CaseInsensitive) == 0;
}

// ---- field lists ---------------------------------------------------------------------

TGetFldDefs GetFldDefs(bool GetLabels, bool VisibleFieldOnly, bool SimpleField, bool MemoField, bool PictureField, bool AllField,
                       bool DataFieldOnly)
{
    TGetFldDefs r = 0;
    if (GetLabels)
        r |= FldDef(fdGetLabels);
    if (VisibleFieldOnly)
        r |= FldDef(fdVisibleFieldOnly);
    if (SimpleField)
        r |= FldDef(fdSimpleField);
    if (MemoField)
        r |= FldDef(fdMemoField);
    if (PictureField)
        r |= FldDef(fdGraphicField);
    if (AllField)
        r |= FldDef(fdAllField);
    if (DataFieldOnly)
        r |= FldDef(fdDataFieldOnly);
    return r;
}

namespace {

bool KindWanted(const TField* F, TGetFldDefs D)
{
    if (HasFldDef(D, fdAllField))
        return true;
    return (HasFldDef(D, fdSimpleField) && IsSimpleField(F)) || (HasFldDef(D, fdMemoField) && IsMemoField(F)) ||
           (HasFldDef(D, fdGraphicField) && IsGraphicField(F));
}

// One item of a field list, when the definitions let it in: its index, its
// label or its field name, as the definitions ask.
void AddFldListItem(TStringList* List, TGetFldDefs D, int Index, bool Visible, TField* F, const QString& Label,
                    const QString& Name)
{
    if (HasFldDef(D, fdVisibleFieldOnly) && !Visible)
        return;
    if (HasFldDef(D, fdDataFieldOnly) && !IsDataField(F))
        return;
    if (!KindWanted(F, D))
        return;
    if (HasFldDef(D, fdGetIndex))
        List->Add(QString::number(Index));
    else if (HasFldDef(D, fdGetLabels))
        List->Add(Label);
    else
        List->Add(Name);
}

}  // namespace

int GetFldListDBGrid(TCustomDBGrid* G, TStringList* List, TGetFldDefs D)
{
    List->Clear();
    for (int i = 0; i < G->Columns()->Count(); ++i) {
        TColumn* c = G->Columns()->Items(i);
        AddFldListItem(List, D, i, c->Visible(), c->Field(), c->Title()->Caption(), c->FieldName());
    }
    return List->Count();
}

int GetFldListDataset(TDataSet* Ds, TStringList* List, TGetFldDefs D)
{
    List->Clear();
    for (int i = 0; i < Ds->FieldCount(); ++i) {
        TField* f = Ds->Fields()[i];
        AddFldListItem(List, D, i, f->Visible(), f, f->DisplayLabel(), f->FieldName());
    }
    return List->Count();
}

int GetFldListStringGrid(TrStringGridEd* G, TStringList* List, TGetFldDefs D)
{
    List->Clear();
    TrStringGridEdColumns* cols = G->Columns();
    for (int i = 0; i < cols->Count(); ++i) {
        TrStringGridEdColumn* c = cols->Items(i);
        if (HasFldDef(D, fdVisibleFieldOnly) && !c->Visible())
            continue;
        if (HasFldDef(D, fdGetLabels) && !HasFldDef(D, fdGetIndex))
            List->Add(c->TitleCaption());
        else
            List->Add(QString::number(i));
    }
    return List->Count();
}

int GetFldList(TComponent* O, TStringList* List, TGetFldDefs FldsDef)
{
    if (!List)
        return 0;
    if (auto* g = dynamic_cast<TCustomDBGrid*>(O))
        return GetFldListDBGrid(g, List, FldsDef);
    if (auto* d = dynamic_cast<TDataSet*>(O))
        return GetFldListDataset(d, List, FldsDef);
    if (auto* sg = dynamic_cast<TrStringGridEd*>(O))
        return GetFldListStringGrid(sg, List, FldsDef);
    if (TRecViewRows view; ReadRecView(O, view))
        return GetFldListRecView(view, List, FldsDef);
    return 0;
}

int GetFldListRecView(const TRecViewRows& View, TStringList* List, TGetFldDefs D)
{
    List->Clear();
    for (int i = 0; i < int(View.Rows.size()); ++i) {
        TField* f = View.Rows[size_t(i)].first;
        AddFldListItem(List, D, i, true, f, View.Rows[size_t(i)].second, f ? f->FieldName() : QString());
    }
    return List->Count();
}

// ---- grid and record operations ------------------------------------------------------

void AssignGridProps(TCustomDBGrid* Source, TCustomDBGrid* Dest)
{
    if (!Source || !Dest)
        return;
    Dest->SetColor(Source->Color());
    Dest->SetFont(*Source->Font());
    Dest->SetTitleFont(*Source->TitleFont());
    Dest->SetDataSource(Source->DataSource());
    Dest->SetColumns(*Source->Columns());
}

void AddRecordEx(TCustomDBGrid* G, bool Insert)
{
    if (!G)
        return;
    G->SetSelectedIndex(0);
    while (G->SelectedIndex() >= 0 && G->SelectedIndex() < G->Columns()->Count() - 1 &&
           !G->Columns()->Items(G->SelectedIndex())->Visible())
        G->SetSelectedIndex(G->SelectedIndex() + 1);
    TDataSet* d = GetDataSet(G);
    if (!d)
        return;
    if (Insert)
        d->Insert();
    else
        d->Append();
}

void DuplicRecord(TComponent* GridOrDSet, int TagToDuplic, bool DuplicBeforeAfterInsert)
{
    TDataSet* d = GetDataSet(GridOrDSet);
    if (!d || !d->Active())
        return;
    const TDataSet::TDataSetNotifyEvent afterInsert = d->AfterInsert;
    if (DuplicBeforeAfterInsert)
        d->AfterInsert = nullptr;
    try {
        std::vector<QVariant> values;
        for (int i = 0; i < d->FieldCount(); ++i)
            values.push_back(d->Fields()[i]->AsVariant());
        const bool atEof = d->Eof();
        if (!atEof)
            d->Next();
        const bool insert = !d->Eof();
        if (auto* g = dynamic_cast<TCustomDBGrid*>(GridOrDSet))
            AddRecordEx(g, insert);
        else if (insert)
            d->Insert();
        else
            d->Append();
        for (int i = 0; i < d->FieldCount(); ++i) {
            TField* f = d->Fields()[i];
            if (!(f->Tag & TagToDuplic))
                continue;
            try {
                f->SetAsVariant(values[size_t(i)]);
            } catch (...) {
                // one field that refuses its value does not stop the copy
            }
        }
    } catch (...) {
        d->AfterInsert = afterInsert;
        throw;
    }
    d->AfterInsert = afterInsert;
    if (DuplicBeforeAfterInsert && afterInsert)
        afterInsert(d);
}

namespace {

bool CurrentMatches(TField* F, const QVariant& Value, bool CaseSensitive)
{
    if (!dynamic_cast<TStringField*>(F))
        return F->AsVariant() == Value;
    if (CaseSensitive)
        return QVariant(F->AsString()) == Value;
    return QString::compare(F->AsString(), Value.toString(), Qt::CaseInsensitive) == 0;
}

}  // namespace

bool LocateRecord(TField* F, const QVariant& Value, bool CaseSensitive)
{
    if (!F || !Value.isValid() || Value.isNull() || !F->DataSet())
        return false;
    TDataSet* d = F->DataSet();
    d->Locate(F->FieldName(), Value, CaseSensitive ? 0 : loCaseInsensitive);
    return !d->IsEmpty() && CurrentMatches(F, Value, CaseSensitive);
}

bool ScanAllRecords(TDataSet* Dataset, const TScanCallBackProc& CallBack, bool DisableControls, bool BlockEvents, bool UseBookmark)
{
    if (!Dataset || !Dataset->Active())
        return true;
    CursorKeeper cursor(SetScreenCursor(crHourGlass));
    const TBookmark bm = Dataset->GetBookmark();
    int counter = 0;
    bool abort = false;
    TDataSet::TDataSetNotifyEvent before, after;
    bool disabled = false, blocked = false;
    auto restore = [&] {
        if (blocked) {
            Dataset->BeforeScroll = before;
            Dataset->AfterScroll = after;
        }
        if (disabled)
            Dataset->EnableControls();
    };
    try {
        if (DisableControls) {
            Dataset->DisableControls();
            disabled = true;
        }
        if (BlockEvents) {
            before = Dataset->BeforeScroll;
            after = Dataset->AfterScroll;
            Dataset->BeforeScroll = nullptr;
            Dataset->AfterScroll = nullptr;
            blocked = true;
        }
        Dataset->First();
        while (!Dataset->Eof()) {
            ++counter;
            if (CallBack)
                CallBack(Dataset, counter, abort);
            if (abort)
                break;
            Dataset->Next();
        }
        if (UseBookmark && Dataset->BookmarkValid(bm))
            Dataset->GotoBookmark(bm);
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return !abort;
}

void TScanObj::ScanCallBack(TDataSet*, int, bool&)
{
    L->AddObject(CaptionFld->AsString(), reinterpret_cast<void*>(intptr_t(IdFld ? IdFld->AsInteger() : -1)));
}

int LoadRecordList(TField* CaptionField, TField* IdField, TStringList* L)
{
    L->Clear();
    if (!CaptionField)
        return 0;
    auto scan = std::make_unique<TScanObj>(L, CaptionField, IdField);
    ScanAllRecords(
        CaptionField->DataSet(), [&](TDataSet* D, int RecIndex, bool& Abort) { scan->ScanCallBack(D, RecIndex, Abort); }, true, true,
        true);
    return L->Count();
}

// ---- text mask -----------------------------------------------------------------------

namespace {

QString FieldReference(const QString& Ref, TDataSet* Dataset, const QString& ReplaceNullValue, bool SkipNonExistingFields)
{
    const int colon = Ref.indexOf(QLatin1Char(':'));
    const QString name = colon < 0 ? Ref : Ref.left(colon);
    QString format = colon < 0 ? QString() : Ref.mid(colon + 1);
    if (const int c2 = format.indexOf(QLatin1Char(':')); c2 >= 0)
        format = format.left(c2);
    TField* f = Dataset->FindField(name);
    if (!f)
        return SkipNonExistingFields ? QStringLiteral("<?" "?<") + name + QStringLiteral(">?" "?>") : QLatin1Char('?') + name + QLatin1Char('?');
    QString value;
    if (f->IsNull() && !ReplaceNullValue.isEmpty())
        value = ReplaceNullValue;
    else if (IsMemoField(f))
        value = f->AsString();
    else
        value = f->DisplayText();
    bool truncate = false;
    if (format.startsWith(QLatin1Char('T'), Qt::CaseInsensitive)) {
        truncate = true;
        format.remove(0, 1);
    }
    QChar align;
    if (!format.isEmpty() && format[0] > QLatin1Char('9')) {
        align = format[0].toUpper();
        format.remove(0, 1);
    }
    const int w = StrToIntDef(format, 0);
    if (w > 0) {
        if (truncate)
            value = value.left(w);
        if (value.size() < w) {
            if (align == QLatin1Char('R')) {
                value = QString(w - value.size(), QLatin1Char(' ')) + value;
            } else if (align == QLatin1Char('C')) {
                value = QString((w - value.size()) / 2, QLatin1Char(' ')) + value;
                value += QString(w - value.size(), QLatin1Char(' '));
            } else {
                value += QString(w - value.size(), QLatin1Char(' '));
            }
        }
    }
    return value;
}

QString StrPartTag(const QString& Tag, TDataSet* Dataset, const QString& ReplaceNullValue, bool SkipNonExistingFields)
{
    const int open = Tag.indexOf(QLatin1Char('('));
    const int close = Tag.indexOf(QLatin1Char(')'), open + 1);
    const QString args = open >= 0 && close > open ? Tag.mid(open + 1, close - open - 1) : QString();
    const QStringList parts = args.split(QLatin1Char(','));
    const QString field = parts.value(0);
    const QString startArg = parts.value(1), lenArg = parts.value(2);
    const QString value = FieldReference(field, Dataset, ReplaceNullValue, SkipNonExistingFields);
    int start = StrToIntDef(startArg, 0);
    if (start == 0)
        start = IndexOfCI(value, startArg, 0) + 1;
    int len = StrToIntDef(lenArg, 0);
    if (len == 0) {
        const int p = start > 0 ? IndexOfCI(value, lenArg, start - 1) + 1 : 0;
        len = p - start;
    }
    if (start > 0 && len > 0)
        return Copy(value, start, len);
    return value;
}

}  // namespace

QString FillTextMask(const QString& Mask, TDataSet* Dataset, const QString& MaskStrStart, const QString& MaskStrStop,
                     const QString& ReplaceNullValue, bool SkipNonExistingFields)
{
    if (!Dataset || !Dataset->Active())
        return QString();
    // One pass from left to right: each tag is replaced where it stands and
    // the search goes on behind the inserted value, so a value that holds a
    // tag (even its own) is never expanded again and the loop always ends.
    QString result;
    std::map<QString, QString> done;  // tag (lower case) -> replacement
    int pos = 0;
    const int n = Mask.size();
    while (pos < n) {
        const int s = IndexOfCI(Mask, MaskStrStart, pos);
        const int e = s < 0 ? -1 : IndexOfCI(Mask, MaskStrStop, s + MaskStrStart.size());
        const QString tag = e < 0 ? QString() : Mask.mid(s + MaskStrStart.size(), e - s - MaskStrStart.size());
        if (s < 0 || e < 0 || tag.isEmpty())
            break;
        result += Mask.mid(pos, s - pos);
        const QString key = tag.toLower();
        auto it = done.find(key);
        if (it == done.end()) {
            QString rep;
            if (!tag.startsWith(QLatin1Char('#'))) {
                rep = FieldReference(tag, Dataset, ReplaceNullValue, SkipNonExistingFields);
            } else {
                const QString rest = tag.mid(1);
                const int code = StrToIntDef(rest, 0);
                if (code > 0)
                    rep = QChar(code);
                else if (rest.compare(QLatin1String("CRLF"), Qt::CaseInsensitive) == 0)
                    rep = QStringLiteral("\r\n");
                else if (rest.startsWith(QLatin1String("StrPart("), Qt::CaseInsensitive))
                    rep = StrPartTag(rest, Dataset, ReplaceNullValue, SkipNonExistingFields);
                else
                    rep = QLatin1Char('?') + tag + QLatin1Char('?');
            }
            it = done.emplace(key, rep).first;
        }
        result += it->second;
        pos = e + MaskStrStop.size();
    }
    // Past an empty tag nothing new is expanded, but the tags already met
    // are still replaced wherever they occur again.
    while (pos < n) {
        const int s = IndexOfCI(Mask, MaskStrStart, pos);
        const int e = s < 0 ? -1 : IndexOfCI(Mask, MaskStrStop, s + MaskStrStart.size());
        if (e < 0)
            break;
        const auto it = done.find(Mask.mid(s + MaskStrStart.size(), e - s - MaskStrStart.size()).toLower());
        const int next = it == done.end() ? s + MaskStrStart.size() : e + MaskStrStop.size();
        result += it == done.end() ? Mask.mid(pos, next - pos) : Mask.mid(pos, s - pos) + it->second;
        pos = next;
    }
    result += Mask.mid(pos);
    if (SkipNonExistingFields) {
        result.replace(QStringLiteral("<?" "?<"), QStringLiteral("<<"));
        result.replace(QStringLiteral(">?" "?>"), QStringLiteral(">>"));
    }
    return result;
}

// ---- filter expressions --------------------------------------------------------------

QChar GetFilterWildCardChar(const TDataSet* Dataset, bool SQLFormat)
{
    if (SQLFormat)
        return FilterCfg().SQLWildCardChar;
    if (IsClientDataset(Dataset))
        return QLatin1Char('%');
    return FilterCfg().FilterWildCardChar;
}

QString GetFilterLikeOperator(const TDataSet* Dataset, bool SQLFormat)
{
    if (SQLFormat)
        return FilterCfg().SQLLikeOperator;
    if (IsClientDataset(Dataset))
        return QStringLiteral("LIKE");
    return FilterCfg().FilterLikeOperator;
}

QString GetFilterNullEqualStr(const TDataSet* Dataset)
{
    return IsClientDataset(Dataset) ? QStringLiteral("IS") : FilterCfg().NullEqualStr;
}

QString GetFilterNotNullEqualStr(const TDataSet* Dataset)
{
    return IsClientDataset(Dataset) ? QStringLiteral("IS NOT") : FilterCfg().NotNullEqualStr;
}

QString GetQuotedFieldName(const QString& FieldName)
{
    if (FieldName.contains(QLatin1Char(' ')) || FieldName.contains(QLatin1Char('_')) ||
        ParioCompConfig.rDBToolCfg.IsReservedKeyword(FieldName))
        return FilterCfg().FieldQuoteStart + FieldName + FilterCfg().FieldQuoteStop;
    return FieldName;
}

QString GetNumericFieldFilterValue(double Value)
{
    QString s = FloatToStr(Value);
    const QChar sep = GetDecimalSeparator();
    if (sep != QLatin1Char('.'))
        s.replace(sep, QLatin1Char('.'));
    return s;
}

QString GetDateFieldFilterValue(TDateTime Value)
{
    if (!FilterCfg().DateFormat.isEmpty())
        return FormatDateTime(FilterCfg().DateFormat, Value);
    return DateToStr(Value);
}

QString MakeFilterCond(const QString& FldName, const QString& Cond, const QString& Value, const QString& AddSep)
{
    return QLatin1Char('(') + FldName + QLatin1Char(' ') + Cond + QLatin1Char(' ') + AddSep + Value + AddSep + QLatin1Char(')');
}

QString MakeFilterBetweenCond(const QString& FldName, const QString& ValueFrom, const QString& ValueTo, const QString& AddSep)
{
    return QLatin1Char('(') + FldName + QStringLiteral(">=") + AddSep + ValueFrom + AddSep + QStringLiteral(") AND (") + FldName +
           QStringLiteral("<=") + AddSep + ValueTo + AddSep + QLatin1Char(')');
}

namespace {

QString JoinConds(const QStringList& Params, const QString& Op)
{
    QString r;
    bool first = true;
    for (const QString& p : Params) {
        if (p.isEmpty())
            continue;
        if (!first)
            r += QLatin1Char(' ') + Op + QLatin1Char(' ');
        first = false;
        const bool wrapped = p.startsWith(QLatin1Char('(')) && p.endsWith(QLatin1Char(')')) && p.indexOf(QLatin1Char('('), 1) < 0;
        r += wrapped ? p : QLatin1Char('(') + p + QLatin1Char(')');
    }
    return r;
}

}  // namespace

QString MakeSQLCondAND(const QStringList& Params) { return JoinConds(Params, QStringLiteral("AND")); }
QString MakeSQLCondOR(const QStringList& Params) { return JoinConds(Params, QStringLiteral("OR")); }

QString GetFilterCond(TField* Field, const QString& Value, bool IsNull, const QString& Condition)
{
    return GetFilterCondEx(Field, Value, IsNull, false, Condition);
}

QString GetFilterCondEx(TField* Field, const QString& Value, bool IsNull, bool IsNotNull, const QString& Condition)
{
    try {
        if (!Field || !Field->DataSet() || !Field->DataSet()->Active())
            return QString();
        TField* f = KeyFieldOf(Field);
        if (!IsSimpleField(f) && !IsMemoField(f))
            return QString();
        QString sep = IsApostrField(f) ? QStringLiteral("'") : QString();
        QString val;
        if (dynamic_cast<TBooleanField*>(f)) {
            const bool t = GetBooleanFieldState(f, Value) ||
                           QString::compare(Value, FilterCfg().BooleanString[1], Qt::CaseInsensitive) == 0 || Value == QLatin1String("1");
            val = FilterCfg().BooleanString[t ? 1 : 0];
        } else if (dynamic_cast<TNumericField*>(f)) {
            val = Value;
            const QChar sys = GetDecimalSeparator();
            if (sys != FilterCfg().DecimalSeparator)
                val.replace(sys, FilterCfg().DecimalSeparator);
        } else {
            val = Value;
        }
        if (sep == QLatin1String("'"))
            val.replace(QStringLiteral("'"), QStringLiteral("''"));
        QString cond = Condition;
        if (cond.isEmpty())
            cond = IsClientDataset(f->DataSet()) && IsMemoField(f) ? QStringLiteral("LIKE") : QStringLiteral("=");
        if (IsNull) {
            sep = QStringLiteral(" ");
            val = QStringLiteral("NULL");
            cond = GetFilterNullEqualStr(f->DataSet());
        } else if (IsNotNull) {
            sep = QStringLiteral(" ");
            val = QStringLiteral("NULL");
            cond = GetFilterNotNullEqualStr(f->DataSet());
        }
        return MakeFilterCond(GetQuotedFieldName(f->FieldName()), cond, val, sep);
    } catch (...) {
        return QString();
    }
}

bool SetFilterString(TDataSet* Dataset, const QString& Filter, bool ShowError)
{
    if (!Dataset)
        return false;
    bool result = false;
    try {
        CursorKeeper cursor(SetScreenCursor(crSQLWait));
        const TBookmark bm = Dataset->GetBookmark();
        Dataset->DisableControls();
        try {
            const QString f = Filter.trimmed();
            if (!f.isEmpty())
                Dataset->SetFilter(f);
            Dataset->SetFiltered(!f.isEmpty());
            result = true;
            try {
                if (Dataset->Active() && !Dataset->IsEmpty()) {
                    if (Dataset->BookmarkValid(bm))
                        Dataset->GotoBookmark(bm);
                    else
                        Dataset->First();
                }
            } catch (...) {
            }
        } catch (...) {
            Dataset->EnableControls();
            throw;
        }
        Dataset->EnableControls();
    } catch (const Exception& e) {
        result = false;
        if (ShowError)
            ShowErr(libtxt::ErrorInExpression, e, false);
    }
    return result;
}

bool FilterByField(TField* Field, TFilterJoin FilterJoin)
{
    try {
        TField* f = KeyFieldOf(Field);
        if (!f || !f->DataSet())
            return false;
        QString value;
        if (dynamic_cast<TBooleanField*>(f))
            value = FilterCfg().BooleanString[f->AsBoolean() ? 1 : 0];
        else if (IsDateField(f))
            value = GetDateFieldFilterValue(f->AsDateTime());
        else
            value = f->AsString();
        const QString newf = GetFilterCond(f, value, f->IsNull(), QString());
        if (newf.isEmpty())
            return false;
        QString oldf = f->DataSet()->Filter().trimmed();
        if (!oldf.isEmpty()) {
            if (FilterJoin == fjAnd)
                oldf = QLatin1Char('(') + oldf + QStringLiteral(") AND ");
            else if (FilterJoin == fjOr)
                oldf = QLatin1Char('(') + oldf + QStringLiteral(") OR ");
            else
                oldf.clear();
        }
        return SetFilterString(f->DataSet(), oldf + newf, true);
    } catch (...) {
        return false;
    }
}

bool FilterBySel(TCustomDBGrid* Grid, TFilterJoin FilterJoin)
{
    if (!Grid)
        return false;
    TField* f = Grid->SelectedField();
    if (!f)
        return false;  // callers offer this only with a selected cell
    return FilterByField(f, FilterJoin);
}

// ---- search hint ---------------------------------------------------------------------

QString GetSearchHintText(const QString& SearchText, const QString& NewKey, TSearchingType SearchingType, bool Found, bool AllowFilter,
                          bool Filtered)
{
    QString r = SearchText;
    if (SearchingType == stFindNext)
        r += QStringLiteral(" >>");
    else if (SearchingType == stFindPrev)
        r = QStringLiteral("<< ") + r;
    if (!Found) {
        const QString nf = libtxt::NotFound.toLower();
        if (SearchingType == stFindFirst) {
            QString key = NewKey;
            if (!key.isEmpty() && key[0].unicode() == 0)
                key = QStringLiteral(" ");
            r += QStringLiteral(" (%1 %2)").arg(SearchText + key, nf);
        } else {
            r += QStringLiteral(" (%1)").arg(nf);
        }
    }
    if (AllowFilter && !SearchText.isEmpty()) {
        r += QStringLiteral("\r\n");
        if (Filtered)
            r += QStringLiteral("* %1, %2").arg(libtxt::Filtered, libtxt::CtrlLeftToReset);
        else
            r += QStringLiteral("* %1").arg(libtxt::CtrlRightToFilter);
    }
    return r;
}
