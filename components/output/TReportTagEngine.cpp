// Tags and their values: dispatch, formats and widths, fields, variables and
// host values, and the built-in tags.
#include "components/output/TReportTagEngine.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rtool.h"
#include "components/base/rdlg.h"
#include "components/output/NumToText.h"
#include "components/output/rRepPicture.h"
#include "components/output/rRepText.h"
#include "platform/database/Fields.h"
#include "platform/print/PrintDocument.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/Forms.h"
#include "resources/ReportTexts.h"

#include <QRegularExpression>

#include <cmath>

namespace {

bool HasPrefix(const QString& Text, const char* Prefix)
{
    return Text.startsWith(QLatin1String(Prefix), Qt::CaseInsensitive);
}

// The inside of a tag's first bracket pair.
QString InsideOf(const QString& Tag)
{
    return SepBracket(Tag).Inside;
}

// Cuts Text at every Sep, without quote or bracket awareness.
QStringList CutAt(const QString& Text, QChar Sep)
{
    return Text.split(Sep, Qt::KeepEmptyParts);
}

QString Unquote(const QString& Text)
{
    QString t = Text;
    t.remove(QLatin1Char('"'));
    return t;
}

} // namespace

TReportTagEngine::TReportTagEngine(TComponent* AOwner)
    : TComponent(AOwner)
{
}

TReportTagEngine::~TReportTagEngine() = default;

// ---- run state ------------------------------------------------------------------

void TReportTagEngine::ClearSlots()
{
    for (auto& s : FSlots)
        s = TSlot();
}

void TReportTagEngine::SetDatasets(const std::vector<TDataSet*>& DataSets)
{
    ClearSlots();
    if (DataSets.size() > size_t(MaxDatasets))
        throw TReportException(reptxt::TooManyDatasets);
    for (size_t i = 0; i < DataSets.size(); ++i)
        FSlots[i].DS = DataSets[i];
    RecCountDS0 = DSActive(0) ? FSlots[0].DS->RecordCount() : -1;
}

void TReportTagEngine::StartRun()
{
    Aborted = false;
    RecNbr = 1;
    RecNbrDS0 = -1;
    FShownRecNbr = -1;
    FExtendedInfo.Clear();
    PrinterName.clear();
    LCalcField.clear();
    bool abort = false;
    if (OnReportProcess)
        OnReportProcess(this, 0, abort);
    Aborted = abort;
}

void TReportTagEngine::EndRun()
{
    FreeCalcField();
    FreeBookMarks();
}

bool TReportTagEngine::DSActive(int i) const
{
    return i >= 0 && i < MaxDatasets && FSlots[i].DS && FSlots[i].DS->Active();
}

bool TReportTagEngine::DSNotEOF(int i) const
{
    if (i < 0)
        return true;
    return DSActive(i) && !FSlots[i].DS_eof && !FSlots[i].DS->Eof();
}

void TReportTagEngine::ProcessMessages()
{
    // the progress window's counter and abort link; every block step lets the
    // window messages run, at most every 50 ms so that short steps stay cheap
    if (ShowProgressBar && RecNbr % 10 == 0 && RecNbr != FShownRecNbr) {
        FShownRecNbr = RecNbr;
        const int percent = RecCountDS0 > 0 ? int(std::lround(std::max(0, RecNbrDS0) * 100.0 / RecCountDS0)) : -1;
        ShowInfoProgressBar(reptxt::CreatingReport + QLatin1Char('\r') + QString(reptxt::RecordProgress).replace(QStringLiteral("%d"), QString::number(RecNbr)),
                            nullptr, [this](TComponent*) { Aborted = true; }, percent);
        FMessagesRun.start();
    } else if (Application && (!FMessagesRun.isValid() || FMessagesRun.elapsed() >= 50)) {
        Application->ProcessMessages();
        FMessagesRun.start();
    }
    bool abort = Aborted;
    if (OnReportProcess)
        OnReportProcess(this, RecNbr, abort);
    Aborted = Aborted || abort;
}

void TReportTagEngine::CheckAbort()
{
    ProcessMessages();
    if (Aborted)
        throw Exception(reptxt::ActionAborted);
}

void TReportTagEngine::ApplyInfo()
{
    if (OnReadInfo)
        OnReadInfo(this);
    for (int i = 0; i < FExtendedInfo.Count(); ++i) {
        const QString line = FExtendedInfo[i];
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        QString value = line.mid(eq + 1);
        const int eq2 = value.indexOf(QLatin1Char('='));
        if (eq2 >= 0)
            value = value.left(eq2);
        if (SameText(key, QStringLiteral("SetPrinterName")))
            PrinterName = value;
        else if (SameText(key, QStringLiteral("DefaultCalcFormat")))
            DefaultCalcFormat = value;
        else if (SameText(key, QStringLiteral("DefaultNumericFormat")))
            DefaultNumericFormat = value;
        else if (SameText(key, QStringLiteral("DefaultBooleanFormat")))
            DefaultBooleanFormat = value;
        else if (SameText(key, QStringLiteral("DefaultDateFormat")))
            DefaultDateFormat = value;
        else if (SameText(key, QStringLiteral("DefaultTimeFormat")))
            DefaultTimeFormat = value;
        else if (SameText(key, QStringLiteral("FieldNotFoundValue")))
            FieldNotFoundValue = value;
        else if (SameText(key, QStringLiteral("ConvertScientificFormat")))
            ConvertScientificFormat = value == QLatin1String("1");
    }
}

// ---- dispatch -------------------------------------------------------------------

QString TReportTagEngine::ProcTagStr(const QString& Tag, bool& Resolved)
{
    Resolved = Tag.size() >= 2;
    if (HasPrefix(Tag, "next(")) {
        FindNext(GetDSIndex(Tag));
        return QString();
    }
    if (HasPrefix(Tag, "prev(")) {
        FindPrev(GetDSIndex(Tag));
        return QString();
    }
    if (HasPrefix(Tag, "first(")) {
        FindFirst(GetDSIndex(Tag));
        return QString();
    }
    if (HasPrefix(Tag, "last(")) {
        FindLast(GetDSIndex(Tag));
        return QString();
    }
    if (HasPrefix(Tag, "getbookmark(")) {
        GetDSBookmark(GetDSIndex(Tag));
        return QString();
    }
    if (HasPrefix(Tag, "gotobookmark(")) {
        GotoDSBookmark(GetDSIndex(Tag));
        return QString();
    }
    if (HasPrefix(Tag, "picture"))
        return PictureTagValue(Tag);
    if (HasPrefix(Tag, "barcode"))
        return BarcodeTagValue(Tag);
    if (SameText(Tag, QStringLiteral("resetcalc"))) {
        FreeCalcField();
        return QString();
    }
    if (HasPrefix(Tag, "defvar"))
        return ProcDefVar(InsideOf(Tag));
    if (SameText(Tag, QStringLiteral("listallfields")))
        return ListAllFields();
    return ProcTagWithFormat(Tag, Resolved);
}

QString TReportTagEngine::ProcTagWithFormat(const QString& TagText, bool& Resolved)
{
    QString tag = TagText;
    // 1-2: the format after the first colon of its source part.
    const TBracketParts parts = SepBracket(tag);
    QString source;
    if (!parts.Tail.isEmpty())
        source = parts.Tail;
    else if (parts.Inside.isEmpty())
        source = parts.Head;
    QString format;
    const int colon = source.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        format = source.mid(colon + 1);
        tag.chop(format.size() + 1);
    }
    // 3: widths.
    int minLeft = 0, minRight = 0;
    if (format.startsWith(QLatin1Char('<')) || format.startsWith(QLatin1Char('>'))) {
        const int c = format.indexOf(QLatin1Char(':'));
        const QString width = c >= 0 ? format.left(c) : format;
        const int n = StrToIntDef(width.mid(1).trimmed(), 0);
        (width[0] == QLatin1Char('<') ? minLeft : minRight) = n;
        format = c >= 0 ? format.mid(c + 1) : QString();
    }

    QString value;
    if (HasPrefix(tag, "seplist"))
        value = ProcSepList(InsideOf(tag));
    else if (HasPrefix(tag, "firstvalue"))
        value = ProcFirstValue(InsideOf(tag));
    else if (HasPrefix(tag, "case("))
        value = ProcCase(InsideOf(tag));
    else if (HasPrefix(tag, "numtotext"))
        value = ProcNumToText(tag, format);
    else if (HasPrefix(tag, "str_"))
        value = ProcStrFunction(tag);
    else if (tag.startsWith(QLatin1Char('=')))
        value = GetCalcValue(tag.mid(1), format.isEmpty() ? DefaultCalcFormat : format);
    else if (IsFieldTag(tag))
        value = GetDBValue(tag[0].unicode() - 'A', tag.mid(2), format);
    else {
        bool found = false;
        value = GetVarUserValue(tag, found);
        if (found)
            value = ProcPlainSection(value);
        else
            Resolved = false;
    }
    return ApplyWidth(value, minLeft, minRight);
}

QString TReportTagEngine::ApplyWidth(const QString& Value, int MinLeft, int MinRight) const
{
    QString v = Value;
    if (v.size() < MinLeft)
        v += QString(MinLeft - v.size(), QLatin1Char(' '));
    if (v.size() < MinRight)
        v = QString(MinRight - v.size(), QLatin1Char(' ')) + v;
    const int w = std::max(MinLeft, MinRight);
    if (w > 0 && v.size() > w)
        v = v.left(w);
    return v;
}

// ---- fields ---------------------------------------------------------------------

QString TReportTagEngine::FieldFailureText(int, const QString& FieldName, const QString& Message) const
{
    return QLatin1Char('?') + FieldName + QLatin1Char('?') + Message + QLatin1Char('?');
}

QString TReportTagEngine::GetFieldTagValue(const QString& FieldTag, const QString& Default)
{
    if (!IsFieldTag(FieldTag))
        return Default;
    return GetDBValue(FieldTag[0].unicode() - 'A', FieldTag.mid(2), QString());
}

QString TReportTagEngine::GetDBValue(int Slot, const QString& FieldName, const QString& Format)
{
    if (Slot < 0 || Slot >= MaxDatasets || !FSlots[Slot].DS)
        return reptxt::UnknownDataset;
    TDataSet* ds = FSlots[Slot].DS;
    if (!ds->Active())
        return reptxt::ClosedDataset;
    if (FSlots[Slot].DS_eof || ds->IsEmpty())
        return QString();
    if (FieldName == QLatin1String("#"))
        return QString::number(ds->RecNo());
    if (FieldName == QLatin1String("##"))
        return QString::number(ds->RecordCount());
    try {
        TField* f = nullptr;
        bool positional = FieldName.size() > 1 && FieldName[0] == QLatin1Char('#');
        for (int i = 1; positional && i < FieldName.size(); ++i)
            positional = FieldName[i].isDigit();
        if (positional) {
            const int index = FieldName.mid(1).toInt();
            if (index < 0 || index >= ds->FieldCount())
                throw Exception(QStringLiteral("Field index out of range"));
            f = ds->Fields()[index];
        } else {
            f = ds->FieldByName(FieldName);
        }
        if (SameText(Format, QStringLiteral("label")))
            return f->DisplayLabel();
        if (f->IsNull())
            return QString();
        return FieldValueByType(f, Format);
    } catch (const TReportException&) {
        throw;
    } catch (const Exception& e) {
        if (RaiseUnknownField)
            RaiseRepErr(reCalcField, FieldName);
        if (!FieldNotFoundValue.isEmpty())
            return FieldNotFoundValue;
        return FieldFailureText(Slot, FieldName, e.Message());
    }
}

QString TReportTagEngine::FieldValueByType(TField* F, const QString& Format)
{
    auto pick = [](const QString& a, const QString& b, const QString& c) {
        return !a.isEmpty() ? a : (!b.isEmpty() ? b : c);
    };
    QString v;
    switch (F->DataType()) {
    case ftString: case ftWideString: case ftFixedChar: case ftFixedWideChar:
        if (Format.isEmpty())
            v = EscapeData(F->Text());
        else if (Format == QLatin1String("|*"))
            v = F->AsString().replace(QLatin1String("\\"), QLatin1String("\\\\"));
        else
            v = EscapeData(FormatMaskText(Format + QStringLiteral(";0;"), F->AsString()));
        break;
    case ftSmallint: case ftInteger: case ftWord: case ftFloat: case ftCurrency: case ftBCD: case ftAutoInc:
    case ftLargeint: case ftFMTBcd: case ftSingle: case ftLongWord: case ftShortint: case ftByte: case ftExtended: {
        const QString pattern = pick(Format, F->DisplayFormat(), DefaultNumericFormat);
        v = pattern.isEmpty() ? FloatToStr(F->AsFloat()) : FormatFloat(pattern, F->AsFloat());
        v = CheckScientificFormat(v);
        break;
    }
    case ftBoolean: {
        const auto* b = dynamic_cast<const TBooleanField*>(F);
        const QString values = pick(Format, b ? b->DisplayValues : QString(), DefaultBooleanFormat);
        const int semi = values.indexOf(QLatin1Char(';'));
        v = EscapeData(semi >= 0 ? (F->AsBoolean() ? values.left(semi) : values.mid(semi + 1)) : F->Text());
        break;
    }
    case ftDate: {
        const QString pattern = pick(Format, F->DisplayFormat(), DefaultDateFormat);
        v = FormatDateTime(pattern.isEmpty() ? FormatSettings().ShortDateFormat : pattern, F->AsDateTime());
        break;
    }
    case ftTime: {
        const QString pattern = pick(Format, F->DisplayFormat(), DefaultTimeFormat);
        v = FormatDateTime(pattern.isEmpty() ? FormatSettings().LongTimeFormat : pattern, F->AsDateTime());
        break;
    }
    case ftDateTime: case ftTimeStamp: {
        const QString pattern = pick(Format, F->DisplayFormat(), DefaultDateFormat);
        v = pattern.isEmpty() ? DateTimeToStr(F->AsDateTime()) : FormatDateTime(pattern, F->AsDateTime());
        break;
    }
    case ftBlob: case ftGraphic:
        if (F->DataType() == ftGraphic || SameText(Variables.Values(F->FieldName()), QStringLiteral("image")))
            return PictureFieldValue(F, Format);
        [[fallthrough]];
    case ftMemo: case ftFmtMemo: case ftWideMemo:
        v = MemoValue(F->AsString(), Format);
        if (v.contains(TagOpen()))
            v = ProcPlainSection(v);
        break;
    default:
        v = EscapeData(F->Text());
        break;
    }
    return FinishFieldValue(v);
}

// ---- variables and host values ----------------------------------------------------

QString TReportTagEngine::GetVarUserValue(const QString& Name, bool& Found)
{
    Found = false;
    QString value = Name;
    const int line = Variables.IndexOfName(Name);
    if (line >= 0) {
        Found = true;
        value = Variables.ValueFromIndex(line);
    } else if (OnUserCalcParams) {
        const TBracketParts p = SepBracket(Name);
        if (!p.Tail.isEmpty())
            RaiseRepErr(reTag, Name);
        QVariantList params;
        for (const QString& part : CutAt(p.Inside, QLatin1Char(';'))) {
            if (part.isEmpty())
                continue;
            double number;
            if (IsConstantTag(part) && part.size() >= 2) {
                params << part.mid(1, part.size() - 2);
            } else if (IsFieldTag(part) && DSActive(part[0].unicode() - 'A')
                       && DS(part[0].unicode() - 'A')->FindField(part.mid(2))) {
                params << DS(part[0].unicode() - 'A')->FindField(part.mid(2))->AsVariant();
            } else if (IsNumericTag(part, number)) {
                params << number;
            } else {
                params << part;
            }
        }
        QVariant result = QString();
        bool replace = false;
        OnUserCalcParams(this, p.Head, params, result, replace);
        if (replace) {
            value = result.toString();
            Found = true;
        }
    } else if (OnUserCalc) {
        QString calc = Name;
        bool replace = false;
        OnUserCalc(this, calc, replace);
        if (replace) {
            value = calc;
            Found = true;
        }
    }
    return FinishVarValue(value);
}

// ---- built-in tags -------------------------------------------------------------

QString TReportTagEngine::EvalTagOrConst(const QString& Text, bool Quoted)
{
    if (Quoted)
        return Unquote(Text);
    bool resolved;
    return ProcTagStr(Text.trimmed(), resolved);
}

QString TReportTagEngine::ProcDefVar(const QString& Inside)
{
    QString list = Inside;
    const QString name = GetListPart(list, QLatin1Char(','));
    if (name.isEmpty())
        return QString();
    QString value;
    if (!list.isEmpty()) {
        const QString item = GetListPart(list, QLatin1Char(',')).trimmed();
        value = item.isEmpty() || IsConstantTag(item) ? Unquote(item) : EvalTagOrConst(item, false);
    }
    for (int i = Variables.Count() - 1; i >= 0; --i)
        if (SameText(Variables.Names(i), name))
            Variables.Delete(i);
    Variables.Add(name + QLatin1Char('=') + value);
    return QString();
}

QString TReportTagEngine::ProcSepList(const QString& Inside)
{
    QString rest = Inside;
    QString sep;
    const int q1 = rest.indexOf(QLatin1Char('"'));
    const int q2 = q1 >= 0 ? rest.indexOf(QLatin1Char('"'), q1 + 1) : -1;
    if (q1 >= 0 && q2 > q1) {
        sep = rest.mid(q1 + 1, q2 - q1 - 1).left(255);
        sep.replace(QLatin1String("*|"), SeplistBreak());
        rest.remove(q1, q2 - q1 + 1);
    }
    QStringList pieces = CutAt(rest, QLatin1Char(','));
    if (!pieces.isEmpty() && pieces.front().trimmed().isEmpty())
        pieces.removeFirst();
    QStringList values;
    for (const QString& piece : pieces) {
        if (piece.trimmed().isEmpty())
            break;
        const QString v = EvalTagOrConst(piece, false);
        if (!v.isEmpty())
            values << v;
    }
    return values.join(sep);
}

QString TReportTagEngine::ProcFirstValue(const QString& Inside)
{
    for (const QString& piece : CutAt(Inside, QLatin1Char(','))) {
        if (piece.trimmed().isEmpty())
            break;
        const QString v = EvalTagOrConst(piece, false);
        if (!v.isEmpty())
            return v;
    }
    return QString();
}

QString TReportTagEngine::ProcCase(const QString& Inside)
{
    const QStringList pieces = CutAt(Inside, QLatin1Char(';'));
    if (pieces.isEmpty())
        return QString();
    const QString subject = pieces.front();
    for (int i = 1; i < pieces.size(); ++i) {
        const QString& piece = pieces[i];
        const int c1 = piece.indexOf(QLatin1Char(','));
        const QString comparison = c1 >= 0 ? piece.left(c1) : piece;
        QString tag = c1 >= 0 ? piece.mid(c1 + 1) : QString();
        const int c2 = tag.indexOf(QLatin1Char(','));
        if (c2 >= 0)
            tag = tag.left(c2);
        if (comparison.compare(QLatin1String("#ELSE#"), Qt::CaseInsensitive) == 0
            || (!comparison.isEmpty() && GetConditionResult(subject + comparison))) {
            bool resolved;
            return ProcTagStr(tag, resolved);
        }
    }
    return QString();
}

QString TReportTagEngine::ProcNumToText(const QString& Tag, const QString& Format)
{
    const QString inside = InsideOf(Tag);
    QString text;
    if (IsConstantTag(inside)) {
        text = Unquote(inside);
    } else {
        bool resolved;
        text = ProcTagStr(inside.trimmed(), resolved);
        if (!resolved)
            return QLatin1Char('?') + inside + QLatin1Char('?');
    }
    if (NumToTextRemovesThousands())
        text = RemoveThousandSeparator(text);
    text.remove(QLatin1Char(' '));
    if (text.isEmpty())
        return QString();
    double value;
    if (!IsNumericTag(text, value))
        return QLatin1Char('?') + text + QLatin1Char('?');
    const QStringList parts = Format.split(QLatin1Char(';'));
    const QString currency = parts.value(0).trimmed();
    const QString sub = parts.value(1).trimmed();
    const QString language = parts.value(2).trimmed();
    const bool czech = language.isEmpty() || SameText(language, QStringLiteral("CZ"));
    return NumToTextLang(czech ? QStringLiteral("CZ") : QStringLiteral("EN"), QStringLiteral(" "), currency, value, sub);
}

QString TReportTagEngine::ListAllFields() const
{
    const QString br = ListLineBreak();
    QString r;
    for (int i = 0; i < MaxDatasets; ++i) {
        if (!FSlots[i].DS)
            continue;
        r += br + QChar('A' + i) + QStringLiteral(" (") + FSlots[i].DS->Name() + QLatin1Char(')') + br;
        for (int f = 0; f < FSlots[i].DS->FieldCount(); ++f)
            r += FSlots[i].DS->Fields()[f]->FieldName() + QStringLiteral("; ");
    }
    return r + br;
}

// ---- string functions --------------------------------------------------------------

namespace {

// A quoted constant of a string function: quotes removed; a text in single
// quotes is taken literally, otherwise "<TAB>" stands for a tab.
QString ExtractStrConst(const QString& Item)
{
    QString t = Item;
    t.remove(QLatin1Char('"'));
    if (t.startsWith(QLatin1Char('\'')))
        return t.size() >= 2 ? t.mid(1, t.size() - 2) : QString();
    return t.replace(QLatin1String("<TAB>"), QLatin1String("\t"), Qt::CaseInsensitive);
}

QString ProperCase(const QString& Text)
{
    QString t = Text.toLower();
    for (int i = 0; i < t.size(); ++i)
        if (i == 0 || t[i - 1] == QLatin1Char(' '))
            t[i] = t[i].toUpper();
    return t;
}

// Changes the text of a value but not the control words and escapes in it
// ("\\par ", "\\'7b"), which would stop working in another case.
QString OutsideControlWords(const QString& Value, const std::function<QString(const QString&)>& Change, bool Escaped)
{
    if (!Escaped)
        return Change(Value);
    // each control word stands in as one private-use character meanwhile
    static const QRegularExpression word(QStringLiteral("\\\\(?:'[0-9a-fA-F]{2}|[a-zA-Z]+-?[0-9]* ?)"));
    QStringList words;
    QString text;
    int at = 0;
    for (auto it = word.globalMatch(Value); it.hasNext() && words.size() < 6000;) {
        const auto m = it.next();
        text += Value.mid(at, m.capturedStart() - at) + QChar(char16_t(0xE000 + words.size()));
        words << m.captured(0);
        at = int(m.capturedEnd());
    }
    text = Change(text + Value.mid(at));
    QString out;
    for (const QChar c : text)
        if (c.unicode() >= 0xE000 && c.unicode() < 0xE000 + words.size())
            out += words[c.unicode() - 0xE000];
        else
            out += c;
    return out;
}

} // namespace

QString TReportTagEngine::ProcStrFunction(const QString& Tag)
{
    try {
        const TBracketParts p = SepBracket(Tag);
        if (!p.Tail.trimmed().isEmpty())
            throw Exception(p.Tail);
        const QString name = p.Head.trimmed().toLower();
        QString list = p.Inside;
        QStringList items;
        while (!list.isEmpty())
            items << GetListPart(list, QLatin1Char(','));
        if (items.isEmpty())
            throw Exception(Tag);
        bool resolved;
        const QString value = ProcTagStr(items[0], resolved);
        // Later arguments: a quoted constant, or a tag.
        auto arg = [&](int i, bool& Constant) {
            Constant = items[i].startsWith(QLatin1Char('"'));
            if (Constant)
                return ExtractStrConst(items[i]);
            bool r;
            return ProcTagStr(items[i], r);
        };
        const bool cs = name.endsWith(QLatin1String("cs"));
        const Qt::CaseSensitivity sens = cs ? Qt::CaseSensitive : Qt::CaseInsensitive;
        if (name == QLatin1String("str_part") || name == QLatin1String("str_partcs")) {
            if (items.size() != 3)
                throw Exception(Tag);
            bool constant;
            const QString s = arg(1, constant);
            double n = 0;
            int start = constant ? int(value.indexOf(s, 0, sens)) + 1 : (IsNumericTag(s, n) ? int(n) : 0);
            const QString e = arg(2, constant);
            int end = 0;
            if (start > 0) {
                if (constant) {
                    const int at = value.indexOf(e, start - 1, sens);
                    end = at >= 0 ? at + 1 : 0;
                } else if (IsNumericTag(e, n)) {
                    end = start + int(n);
                }
            }
            if (start <= 0 || end <= 0)
                return QString();
            return value.mid(start - 1, std::max(0, end - start));
        }
        if (name == QLatin1String("str_replace") || name == QLatin1String("str_replacecs")) {
            QString v = value;
            for (int i = 1; i + 1 < items.size(); i += 2) {
                bool c1, c2;
                const QString from = arg(i, c1);
                const QString to = arg(i + 1, c2);
                if (!from.isEmpty())
                    v.replace(from, to, sens);
            }
            return v;
        }
        if (items.size() != 1)
            throw Exception(Tag);
        // values of an RTF report carry control words already
        const bool escaped = EscapeData(QStringLiteral("\\")) != QStringLiteral("\\");
        if (name == QLatin1String("str_upper"))
            return OutsideControlWords(value, [](const QString& T) { return T.toUpper(); }, escaped);
        if (name == QLatin1String("str_lower"))
            return OutsideControlWords(value, [](const QString& T) { return T.toLower(); }, escaped);
        if (name == QLatin1String("str_proper"))
            return OutsideControlWords(value, ProperCase, escaped);
        if (name == QLatin1String("str_trim"))
            return value.trimmed();
        throw Exception(Tag);
    } catch (const TReportException&) {
        throw;
    } catch (const Exception& e) {
        RaiseRepErr(reCalcFunction, Tag + QStringLiteral("; ") + FillText(reptxt::ErrTag, e.Message()));
    }
}

// ---- after a run --------------------------------------------------------------------

void TReportTagEngine::RunActionAfter(int Action, const QString& File)
{
    if (Action == aaShow) {
        RunFile(File, QString(), QString(), SW_SHOWNORMAL, true);
        return;
    }
    // PrintCopies 0 asks for no copy at all
    if (Action != aaPrint || PrintCopies <= 0)
        return;
    // the printer is named on the print command; the default printer stays as it is
    if (!PrinterName.isEmpty() && !IsPdfFilePrinter(PrinterName)) {
        QStringList names;
        GetPrinterNames(names);
        if (!names.contains(PrinterName))
            RaiseRepErr(rePrinter, PrinterName);
    }
    CheckAbort();
    PrintFileOn(File, PrinterName.isEmpty() ? GetDefaultPrinterName() : PrinterName, PrintCopies);
}

bool TReportTagEngine::ResolveBarcodeTag(const QString& Tag, QString& Text, QString& Options)
{
    const TBracketParts p = SepBracket(Tag);
    const int colon = p.Tail.indexOf(QLatin1Char(':'));
    Options = colon >= 0 ? p.Tail.mid(colon + 1) : QString();
    const QString inside = p.Inside.trimmed();
    if (IsConstantTag(inside)) {
        Text = inside.mid(1, inside.size() - 2);
    } else {
        bool resolved;
        Text = ProcTagStr(inside, resolved);
        if (!resolved) {
            Text = QLatin1Char('?') + inside + QLatin1Char('?');
            return false;
        }
    }
    return !Text.isEmpty();
}

QString TReportTagEngine::BarcodeTagValue(const QString& Tag)
{
    QString text, options;
    if (!ResolveBarcodeTag(Tag, text, options))
        return text;
    TBitmap bmp;
    QString failure;
    if (!DrawBarcodeBitmap(text, ParsePictureOptions(options), bmp, failure))
        return failure;
    return PlaceBitmap(bmp, options);
}
