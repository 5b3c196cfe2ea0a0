#include "platform/database/Fields.h"

#include "platform/database/DataSet.h"
#include "platform/rtl/StrUtils.h"

#include <cmath>

bool IsStringType(TFieldType T)
{
    return T == ftString || T == ftWideString || T == ftFixedChar || T == ftFixedWideChar || T == ftGuid;
}
bool IsIntegerType(TFieldType T)
{
    return T == ftSmallint || T == ftInteger || T == ftWord || T == ftLargeint || T == ftAutoInc || T == ftLongWord ||
           T == ftShortint || T == ftByte;
}
bool IsFixedType(TFieldType T)
{
    return T == ftBCD || T == ftFMTBcd;
}
bool IsFloatType(TFieldType T)
{
    return T == ftFloat || T == ftSingle || T == ftCurrency || T == ftExtended;
}
bool IsNumericFieldType(TFieldType T)
{
    return IsIntegerType(T) || IsFixedType(T) || IsFloatType(T);
}
bool IsDateTimeType(TFieldType T)
{
    return T == ftDate || T == ftTime || T == ftDateTime || T == ftTimeStamp;
}
bool IsBlobType(TFieldType T)
{
    return T == ftBlob || T == ftMemo || T == ftGraphic || T == ftFmtMemo || T == ftTypedBinary || T == ftWideMemo;
}

namespace {
bool IsTextBlob(TFieldType T) { return T == ftMemo || T == ftWideMemo || T == ftFmtMemo; }

double FixedToDouble(int64_t v, int scale)
{
    return double(v) / std::pow(10.0, scale);
}

// The values a narrow whole-number kind can hold; false for the other kinds.
bool NarrowIntegerRange(TFieldType T, qint64& Lo, qint64& Hi)
{
    switch (T) {
    case ftShortint: Lo = -128; Hi = 127; return true;
    case ftByte: Lo = 0; Hi = 255; return true;
    case ftLongWord: Lo = 0; Hi = 4294967295LL; return true;
    default: return false;
    }
}

void CheckRange(const TField& F, const QVariant& v)
{
    qint64 lo = 0, hi = 0;
    if (!v.isValid() || !NarrowIntegerRange(F.DataType(), lo, hi))
        return;
    const qint64 n = v.toLongLong();
    if (n < lo || n > hi)
        throw EDatabaseError(QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is %3 to %4")
                                 .arg(n).arg(F.FieldName()).arg(lo).arg(hi));
}

[[noreturn]] void BadValue(const TField& F, const QString& s)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid value for field '%2'").arg(s, F.FieldName()));
}
}  // namespace

TField::TField(TFieldType DataType) : FDataType(DataType) {}
TField::~TField() = default;

int TField::DisplayWidth() const
{
    if (FDisplayWidth > 0)
        return FDisplayWidth;
    if (IsStringType(FDataType))
        return FSize > 0 ? FSize : 20;
    if (IsDateTimeType(FDataType))
        return 18;
    if (FDataType == ftBoolean)
        return 5;
    return 10;
}

int TField::Index() const
{
    return FDataSet ? FDataSet->Fields().IndexOf(this) : -1;
}

void TField::SetIndex(int v)
{
    if (!FDataSet)
        return;
    int cur = Index();
    if (v < 0)
        v = 0;
    if (v >= FDataSet->FieldCount())
        v = FDataSet->FieldCount() - 1;
    if (cur != v) {
        FDataSet->Fields().Move(cur, v);
        FDataSet->DataEvent(deLayoutChange);
    }
}

bool TField::CanModify() const
{
    if (FReadOnly || FFieldKind != fkData)
        return false;
    return FDataSet == nullptr || FDataSet->CanModify();
}

QVariant TField::RawValue() const
{
    return FDataSet ? FDataSet->GetFieldRaw(*this) : QVariant();
}

void TField::SetRawValue(const QVariant& v)
{
    if (!FDataSet)
        throw EDatabaseError(QStringLiteral("Field '%1' has no dataset").arg(FFieldName));
    CheckRange(*this, v);
    FDataSet->SetFieldRaw(*this, v);
}

QVariant TField::OldValue() const
{
    if (!FDataSet)
        return QVariant();
    QVariant raw = FDataSet->GetFieldOldRaw(*this);
    if (!raw.isValid())
        return raw;
    switch (FDataType) {
    case ftBCD:
    case ftFMTBcd:
        return FixedToDouble(raw.toLongLong(), FSize);
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
        return DateTimeToQDateTime(raw.toDouble());
    default:
        return raw;
    }
}

// ---- reading ----

QString TField::RawToString(const QVariant& v, bool Display) const
{
    if (!v.isValid())
        return QString();
    switch (FDataType) {
    case ftBoolean:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case ftBCD:
    case ftFMTBcd: {
        QString s = FixedToPlainString(v.toLongLong(), FSize);
        return s.replace(QLatin1Char('.'), FormatSettings().DecimalSeparator);
    }
    case ftFloat:
    case ftSingle:
    case ftExtended:
    case ftCurrency:
        if (Display && !FDisplayFormat.isEmpty())
            return FormatFloat(FDisplayFormat, v.toDouble());
        return FloatToStr(v.toDouble());
    case ftDate:
        if (Display && !FDisplayFormat.isEmpty())
            return FormatDateTime(FDisplayFormat, v.toDouble());
        return DateToStr(v.toDouble());
    case ftTime:
        if (Display && !FDisplayFormat.isEmpty())
            return FormatDateTime(FDisplayFormat, v.toDouble());
        return TimeToStr(v.toDouble());
    case ftDateTime:
    case ftTimeStamp:
        if (Display && !FDisplayFormat.isEmpty())
            return FormatDateTime(FDisplayFormat, v.toDouble());
        return DateTimeToStr(v.toDouble());
    case ftBlob:
    case ftGraphic:
    case ftTypedBinary:
    case ftBytes:
    case ftVarBytes:
        return QString::fromUtf8(v.toByteArray());
    default:
        if (IsIntegerType(FDataType)) {
            if (Display && !FDisplayFormat.isEmpty())
                return FormatFloat(FDisplayFormat, double(v.toLongLong()));
            return QString::number(v.toLongLong());
        }
        return v.toString();
    }
}

QString TFloatField::RawToString(const QVariant& v, bool Display) const
{
    if (v.isValid() && Display && Currency && DisplayFormat().isEmpty()) {
        const TFormatSettings& fs = FormatSettings();
        QString fmt = QStringLiteral("#,##0.") + QString(fs.CurrencyDecimals, QLatin1Char('0'));
        return FormatFloat(fmt, v.toDouble()) + QLatin1Char(' ') + fs.CurrencyString;
    }
    return TField::RawToString(v, Display);
}

QString TFMTBCDField::RawToString(const QVariant& v, bool Display) const
{
    if (v.isValid() && Display) {
        const double d = FixedToDouble(v.toLongLong(), Size());
        if (!DisplayFormat().isEmpty())
            return FormatFloat(DisplayFormat(), d);
        if (Currency) {
            const TFormatSettings& fs = FormatSettings();
            QString fmt = QStringLiteral("#,##0.") + QString(fs.CurrencyDecimals, QLatin1Char('0'));
            return FormatFloat(fmt, d) + QLatin1Char(' ') + fs.CurrencyString;
        }
        return FloatToStr(d);
    }
    return TField::RawToString(v, Display);
}

QString TBooleanField::RawToString(const QVariant& v, bool Display) const
{
    if (!v.isValid())
        return QString();
    if (!DisplayValues.isEmpty()) {
        const QStringList parts = DisplayValues.split(QLatin1Char(';'));
        const QString t = parts.value(0);
        const QString f = parts.value(1);
        return v.toBool() ? t : f;
    }
    return TField::RawToString(v, Display);
}

QVariant TBooleanField::StringToRaw(const QString& s) const
{
    if (s.isEmpty())
        return QVariant();
    QString t = QStringLiteral("True"), f = QStringLiteral("False");
    if (!DisplayValues.isEmpty()) {
        const QStringList parts = DisplayValues.split(QLatin1Char(';'));
        t = parts.value(0);
        f = parts.value(1);
    }
    if (SameText(s, t) || (!t.isEmpty() && SameText(s, t.left(s.length()))))
        return true;
    if (SameText(s, f) || (!f.isEmpty() && SameText(s, f.left(s.length()))))
        return false;
    throw EConvertError(QStringLiteral("'%1' is not a valid boolean value for field '%2'").arg(s, FieldName()));
}

QVariant TField::StringToRaw(const QString& s) const
{
    if (IsStringType(FDataType) || IsTextBlob(FDataType))
        return s;
    if (s.trimmed().isEmpty())
        return QVariant();
    const QString t = s.trimmed();
    switch (FDataType) {
    case ftBoolean:
        if (SameText(t, QStringLiteral("True")))
            return true;
        if (SameText(t, QStringLiteral("False")))
            return false;
        BadValue(*this, s);
    case ftFloat:
    case ftSingle:
    case ftExtended:
    case ftCurrency: {
        double d = 0;
        if (!TryStrToFloat(t, d))
            BadValue(*this, s);
        return d;
    }
    case ftBCD:
    case ftFMTBcd: {
        double d = 0;
        if (!TryStrToFloat(t, d))
            BadValue(*this, s);
        return qint64(std::llround(d * std::pow(10.0, FSize)));
    }
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp: {
        TDateTime d = 0;
        bool ok = FDataType == ftTime ? TryStrToTime(t, d) : TryStrToDateTime(t, d);
        if (!ok)
            BadValue(*this, s);
        return d;
    }
    case ftBlob:
    case ftGraphic:
    case ftTypedBinary:
    case ftBytes:
    case ftVarBytes:
        return s.toUtf8();
    default:
        if (IsIntegerType(FDataType)) {
            bool ok = false;
            qint64 v = t.toLongLong(&ok);
            if (!ok)
                BadValue(*this, s);
            return v;
        }
        return s;
    }
}

QString TField::AsString() const
{
    return RawToString(RawValue(), false);
}

void TField::SetAsString(const QString& v)
{
    SetRawValue(StringToRaw(v));
}

int64_t TField::AsLargeInt() const
{
    QVariant v = RawValue();
    if (!v.isValid())
        return 0;
    if (IsIntegerType(FDataType))
        return v.toLongLong();
    if (IsFixedType(FDataType))
        return RescaleFixed(v.toLongLong(), FSize, 0);
    if (FDataType == ftBoolean)
        return v.toBool() ? 1 : 0;
    if (IsFloatType(FDataType))
        return int64_t(std::llround(v.toDouble()));
    if (IsStringType(FDataType) || IsTextBlob(FDataType)) {
        bool ok = false;
        qint64 r = v.toString().trimmed().toLongLong(&ok);
        if (!ok)
            BadValue(*this, v.toString());
        return r;
    }
    throw EConvertError(QStringLiteral("Field '%1' cannot be read as an integer").arg(FFieldName));
}

void TField::SetAsLargeInt(int64_t v)
{
    if (IsIntegerType(FDataType))
        SetRawValue(qint64(v));
    else if (IsFixedType(FDataType))
        SetRawValue(qint64(RescaleFixed(v, 0, FSize)));
    else if (IsFloatType(FDataType))
        SetRawValue(double(v));
    else if (FDataType == ftBoolean)
        SetRawValue(v != 0);
    else
        SetAsString(QString::number(v));
}

double TField::AsFloat() const
{
    QVariant v = RawValue();
    if (!v.isValid())
        return 0;
    if (IsFixedType(FDataType))
        return FixedToDouble(v.toLongLong(), FSize);
    if (IsIntegerType(FDataType))
        return double(v.toLongLong());
    if (IsFloatType(FDataType) || IsDateTimeType(FDataType))
        return v.toDouble();
    if (FDataType == ftBoolean)
        return v.toBool() ? 1 : 0;
    double d = 0;
    if (!TryStrToFloat(v.toString().trimmed(), d))
        BadValue(*this, v.toString());
    return d;
}

void TField::SetAsFloat(double v)
{
    if (IsFixedType(FDataType))
        SetRawValue(qint64(std::llround(v * std::pow(10.0, FSize))));
    else if (IsIntegerType(FDataType))
        SetRawValue(qint64(std::llround(v)));
    else if (IsFloatType(FDataType) || IsDateTimeType(FDataType))
        SetRawValue(v);
    else
        SetAsString(FloatToStr(v));
}

Currency TField::AsCurrency() const
{
    QVariant v = RawValue();
    if (!v.isValid())
        return Currency();
    if (IsFixedType(FDataType))
        return Currency::FromScaled(v.toLongLong(), FSize);
    if (IsIntegerType(FDataType))
        return Currency::FromScaled(v.toLongLong(), 0);
    return Currency::FromDouble(AsFloat());
}

void TField::SetAsCurrency(Currency v)
{
    if (IsFixedType(FDataType))
        SetRawValue(qint64(v.ToScaled(FSize)));
    else
        SetAsFloat(v.ToDouble());
}

bool TField::AsBoolean() const
{
    QVariant v = RawValue();
    if (!v.isValid())
        return false;
    if (FDataType == ftBoolean)
        return v.toBool();
    if (IsIntegerType(FDataType) || IsFixedType(FDataType))
        return v.toLongLong() != 0;
    if (IsStringType(FDataType)) {
        const QString s = v.toString().trimmed();
        return SameText(s, QStringLiteral("True")) || s == QLatin1String("1") || s == QLatin1String("K");
    }
    return AsFloat() != 0;
}

void TField::SetAsBoolean(bool v)
{
    if (FDataType == ftBoolean)
        SetRawValue(v);
    else if (IsStringType(FDataType))
        SetRawValue(v ? QStringLiteral("True") : QStringLiteral("False"));
    else
        SetAsLargeInt(v ? 1 : 0);
}

TDateTime TField::AsDateTime() const
{
    QVariant v = RawValue();
    if (!v.isValid())
        return 0;
    if (IsDateTimeType(FDataType))
        return v.toDouble();
    if (IsStringType(FDataType))
        return StrToDateTime(v.toString());
    throw EConvertError(QStringLiteral("Field '%1' cannot be read as a date-time").arg(FFieldName));
}

void TField::SetAsDateTime(TDateTime v)
{
    if (IsDateTimeType(FDataType))
        SetRawValue(FDataType == ftDate ? double(DateOf(v)) : (FDataType == ftTime ? double(TimeOf(v)) : v));
    else if (IsStringType(FDataType))
        SetRawValue(DateTimeToStr(v));
    else
        SetAsFloat(v);
}

QByteArray TField::AsBytes() const
{
    QVariant v = RawValue();
    if (!v.isValid())
        return QByteArray();
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray();
    return AsString().toUtf8();
}

void TField::SetAsBytes(const QByteArray& v)
{
    if (IsStringType(FDataType) || IsTextBlob(FDataType))
        SetRawValue(QString::fromUtf8(v));
    else
        SetRawValue(v);
}

QVariant TField::AsVariant() const
{
    QVariant v = RawValue();
    if (!v.isValid())
        return v;
    if (IsFixedType(FDataType))
        return FixedToDouble(v.toLongLong(), FSize);
    if (IsDateTimeType(FDataType))
        return DateTimeToQDateTime(v.toDouble());
    return v;
}

QVariant TField::ToRaw(const QVariant& v) const
{
    if (!v.isValid() || v.isNull())
        return QVariant();
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        return IsDateTimeType(FDataType) ? QVariant(QDateTimeToDateTime(v.toDateTime())) : QVariant(v.toDateTime().toString(Qt::ISODate));
    case QMetaType::QDate:
        return IsDateTimeType(FDataType) ? QVariant(QDateToDateTime(v.toDate())) : QVariant(v.toDate().toString(Qt::ISODate));
    case QMetaType::QString:
        return StringToRaw(v.toString());
    case QMetaType::Bool:
        if (FDataType == ftBoolean)
            return v.toBool();
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        if (IsFixedType(FDataType))
            return qint64(std::llround(v.toDouble() * std::pow(10.0, FSize)));
        if (IsIntegerType(FDataType))
            return qint64(std::llround(v.toDouble()));
        if (IsStringType(FDataType))
            return FloatToStr(v.toDouble());
        return v.toDouble();
    case QMetaType::QByteArray:
        if (IsStringType(FDataType) || IsTextBlob(FDataType))
            return QString::fromUtf8(v.toByteArray());
        return v;
    default:
        break;
    }
    // Whole numbers.
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (!ok)
        return StringToRaw(v.toString());
    if (IsIntegerType(FDataType))
        return n;
    if (IsFixedType(FDataType))
        return qint64(RescaleFixed(n, 0, FSize));
    if (FDataType == ftBoolean)
        return n != 0;
    if (IsStringType(FDataType) || IsTextBlob(FDataType))
        return QString::number(n);
    return double(n);
}

void TField::SetAsVariant(const QVariant& v)
{
    SetRawValue(ToRaw(v));
}

QString TField::DisplayText() const
{
    QString s = RawToString(RawValue(), true);
    if (OnGetText) {
        QString t = s;
        OnGetText(const_cast<TField*>(this), t, true);
        return t;
    }
    return s;
}

QString TField::Text() const
{
    QVariant v = RawValue();
    QString s;
    if (v.isValid() && !FEditFormat.isEmpty() && !IsStringType(FDataType))
        s = IsDateTimeType(FDataType) ? FormatDateTime(FEditFormat, v.toDouble()) : FormatFloat(FEditFormat, AsFloat());
    else
        s = RawToString(v, false);
    if (OnGetText) {
        QString t = s;
        OnGetText(const_cast<TField*>(this), t, false);
        return t;
    }
    return s;
}

void TField::SetText(const QString& v)
{
    if (OnSetText)
        OnSetText(this, v);
    else
        SetAsString(v);
}

int TField::CompareRaw(const QVariant& a, const QVariant& b, bool CaseInsensitive) const
{
    const bool an = !a.isValid(), bn = !b.isValid();
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    if (IsIntegerType(FDataType) || IsFixedType(FDataType)) {
        const qint64 x = a.toLongLong(), y = b.toLongLong();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (IsFloatType(FDataType) || IsDateTimeType(FDataType)) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (FDataType == ftBoolean)
        return int(a.toBool()) - int(b.toBool());
    if (a.typeId() == QMetaType::QByteArray)
        return a.toByteArray().compare(b.toByteArray());
    return QString::compare(a.toString(), b.toString(), CaseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive);
}

std::unique_ptr<TField> CreateField(TFieldType DataType)
{
    switch (DataType) {
    case ftString:
    case ftFixedChar:
    case ftGuid:
        return std::make_unique<TStringField>(DataType);
    case ftWideString:
    case ftFixedWideChar: {
        auto f = std::make_unique<TWideStringField>();
        f->FixedChar = DataType == ftFixedWideChar;
        return f;
    }
    case ftSmallint:
        return std::make_unique<TSmallintField>();
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        return std::make_unique<TIntegerField>(DataType);
    case ftLargeint:
        return std::make_unique<TLargeintField>();
    case ftFloat:
        return std::make_unique<TFloatField>();
    case ftSingle:
        return std::make_unique<TSingleField>();
    case ftExtended:
        return std::make_unique<TExtendedField>();
    case ftLongWord:
        return std::make_unique<TLongWordField>();
    case ftShortint:
        return std::make_unique<TShortintField>();
    case ftByte:
        return std::make_unique<TByteField>();
    case ftCurrency:
        return std::make_unique<TCurrencyField>();
    case ftBCD:
        return std::make_unique<TBCDField>();
    case ftFMTBcd:
        return std::make_unique<TFMTBCDField>();
    case ftBoolean:
        return std::make_unique<TBooleanField>();
    case ftDate:
        return std::make_unique<TDateField>();
    case ftTime:
        return std::make_unique<TTimeField>();
    case ftDateTime:
        return std::make_unique<TDateTimeField>();
    case ftTimeStamp:
        return std::make_unique<TSQLTimeStampField>();
    case ftMemo:
    case ftFmtMemo:
        return std::make_unique<TMemoField>(DataType);
    case ftWideMemo:
        return std::make_unique<TWideMemoField>();
    case ftGraphic:
        return std::make_unique<TGraphicField>();
    case ftBlob:
    case ftTypedBinary:
    case ftBytes:
    case ftVarBytes:
        return std::make_unique<TBlobField>(DataType);
    default:
        return std::make_unique<TField>(DataType);
    }
}

// ---- TFields ----

TField* TFields::FindField(const QString& Name) const
{
    // Names are mostly written in capitals already; only others need folding.
    auto it = FByName.constFind(Name);
    if (it != FByName.constEnd())
        return *it;
    return FByName.value(Name.toUpper(), nullptr);
}

TField* TFields::FieldByName(const QString& Name) const
{
    TField* f = FindField(Name);
    if (!f)
        throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(Name));
    return f;
}

int TFields::IndexOf(const TField* F) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == F)
            return int(i);
    return -1;
}

void TFields::Add(std::unique_ptr<TField> F)
{
    FByName.insert(F->FieldName().toUpper(), F.get());
    FItems.push_back(std::move(F));
}

void TFields::Clear()
{
    FItems.clear();
    FByName.clear();
}

void TFields::Move(int From, int To)
{
    auto f = std::move(FItems[size_t(From)]);
    FItems.erase(FItems.begin() + From);
    FItems.insert(FItems.begin() + To, std::move(f));
}

void TFields::Reindex()
{
    FByName.clear();
    for (auto& f : FItems)
        FByName.insert(f->FieldName().toUpper(), f.get());
}
