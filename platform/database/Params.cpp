#include "platform/database/Params.h"

#include "platform/database/Fields.h"

#include <cmath>

// ---- TParam ----

void TParam::SetRaw(TFieldType Kind, const QVariant& v, int Scale)
{
    FDataType = Kind;
    FValue = v;
    FScale = Scale;
}

QString TParam::AsString() const
{
    if (IsNull())
        return QString();
    switch (FDataType) {
    case ftBCD:
    case ftFMTBcd:
    case ftCurrency:
        return FixedToPlainString(FValue.toLongLong(), FScale);
    case ftDate:
    case ftDateTime:
    case ftTimeStamp:
        return DateTimeToStr(FValue.toDouble());
    case ftBlob:
        return QString::fromUtf8(FValue.toByteArray());
    default:
        return FValue.toString();
    }
}

void TParam::SetAsString(const QString& v) { SetRaw(ftWideString, v); }
void TParam::SetAsInteger(int v) { SetRaw(ftInteger, qint64(v)); }
void TParam::SetAsLargeInt(int64_t v) { SetRaw(ftLargeint, qint64(v)); }
void TParam::SetAsFloat(double v) { SetRaw(ftFloat, v); }
void TParam::SetAsSingle(float v) { SetRaw(ftSingle, double(v)); }
void TParam::SetAsCurrency(Currency v) { SetRaw(ftCurrency, qint64(v.Raw()), 4); }
void TParam::SetAsFixed(int64_t v, int Scale) { SetRaw(ftFMTBcd, qint64(v), Scale); }
void TParam::SetAsDateTime(TDateTime v) { SetRaw(ftDateTime, v); }
void TParam::SetAsDate(TDateTime v) { SetRaw(ftDate, double(DateOf(v))); }
void TParam::SetAsBoolean(bool v) { SetRaw(ftBoolean, v); }
void TParam::SetAsBytes(const QByteArray& v) { SetRaw(ftBlob, v); }

int64_t TParam::AsLargeInt() const
{
    if (IsNull())
        return 0;
    switch (FDataType) {
    case ftBCD:
    case ftFMTBcd:
    case ftCurrency:
        return RescaleFixed(FValue.toLongLong(), FScale, 0);
    case ftFloat:
    case ftSingle:
    case ftExtended:
        return int64_t(std::llround(FValue.toDouble()));
    case ftBoolean:
        return FValue.toBool() ? 1 : 0;
    default:
        return FValue.toLongLong();
    }
}

double TParam::AsFloat() const
{
    if (IsNull())
        return 0;
    switch (FDataType) {
    case ftBCD:
    case ftFMTBcd:
    case ftCurrency:
        return double(FValue.toLongLong()) / std::pow(10.0, FScale);
    default:
        return FValue.toDouble();
    }
}

Currency TParam::AsCurrency() const
{
    if (IsNull())
        return Currency();
    switch (FDataType) {
    case ftBCD:
    case ftFMTBcd:
    case ftCurrency:
        return Currency::FromScaled(FValue.toLongLong(), FScale);
    case ftSmallint:
    case ftInteger:
    case ftLargeint:
        return Currency::FromScaled(FValue.toLongLong(), 0);
    default:
        return Currency::FromDouble(FValue.toDouble());
    }
}

TDateTime TParam::AsDateTime() const
{
    if (IsNull())
        return 0;
    if (FValue.typeId() == QMetaType::QString)
        return StrToDateTime(FValue.toString());
    return FValue.toDouble();
}

bool TParam::AsBoolean() const
{
    if (IsNull())
        return false;
    return FDataType == ftBoolean ? FValue.toBool() : AsLargeInt() != 0;
}

QByteArray TParam::AsBytes() const
{
    if (IsNull())
        return QByteArray();
    if (FValue.typeId() == QMetaType::QByteArray)
        return FValue.toByteArray();
    return AsString().toUtf8();
}

void TParam::SetValue(const QVariant& v)
{
    if (!v.isValid() || v.isNull()) {
        FValue = QVariant();
        return;
    }
    switch (v.typeId()) {
    case QMetaType::QString:
        SetAsString(v.toString());
        break;
    case QMetaType::Bool:
        SetAsBoolean(v.toBool());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        SetAsFloat(v.toDouble());
        break;
    case QMetaType::QByteArray:
        SetAsBytes(v.toByteArray());
        break;
    case QMetaType::QDateTime:
        SetAsDateTime(QDateTimeToDateTime(v.toDateTime()));
        break;
    case QMetaType::QDate:
        SetAsDate(QDateToDateTime(v.toDate()));
        break;
    default:
        SetAsLargeInt(v.toLongLong());
        break;
    }
}

void TParam::AssignField(const TField& F)
{
    FDataType = F.DataType();
    FScale = IsFixedType(F.DataType()) ? F.Size() : 0;
    FSize = F.Size();
    FValue = F.RawValue();
}

// ---- TParams ----

TParam* TParams::FindParam(const QString& Name) const
{
    for (auto& p : FItems)
        if (QString::compare(p->Name(), Name, Qt::CaseInsensitive) == 0)
            return p.get();
    return nullptr;
}

TParam& TParams::ParamByName(const QString& Name) const
{
    TParam* p = FindParam(Name);
    if (!p)
        throw EDatabaseError(QStringLiteral("Parameter '%1' not found").arg(Name));
    return *p;
}

TParam& TParams::Add(const QString& Name, TParamType Kind)
{
    FItems.push_back(std::make_unique<TParam>(Name, Kind));
    return *FItems.back();
}

void TParams::Rebuild(const QStringList& Names)
{
    std::vector<std::unique_ptr<TParam>> next;
    for (const QString& n : Names) {
        std::unique_ptr<TParam> keep;
        for (auto& p : FItems)
            if (p && QString::compare(p->Name(), n, Qt::CaseInsensitive) == 0) {
                keep = std::move(p);
                break;
            }
        next.push_back(keep ? std::move(keep) : std::make_unique<TParam>(n));
    }
    FItems = std::move(next);
}

// ---- named markers ----

namespace {
bool IsIdentStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool IsIdentChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }
}  // namespace

TParsedSQL ParseNamedParams(const QString& SQL)
{
    TParsedSQL r;
    r.Text.reserve(SQL.size());
    const int n = int(SQL.size());
    int i = 0;
    while (i < n) {
        const QChar c = SQL[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A literal or quoted identifier; a doubled quote stays inside.
            int j = i + 1;
            while (j < n) {
                if (SQL[j] == c) {
                    if (j + 1 < n && SQL[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            r.Text += SQL.mid(i, j - i + 1);
            i = j + 1;
        } else if (c == QLatin1Char('-') && i + 1 < n && SQL[i + 1] == QLatin1Char('-')) {
            int j = SQL.indexOf(QLatin1Char('\n'), i);
            if (j < 0)
                j = n;
            r.Text += SQL.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && SQL[i + 1] == QLatin1Char('*')) {
            int j = SQL.indexOf(QStringLiteral("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            r.Text += SQL.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n && IsIdentStart(SQL[i + 1]) &&
                   (i == 0 || !IsIdentChar(SQL[i - 1]))) {
            int j = i + 1;
            while (j < n && IsIdentChar(SQL[j]))
                ++j;
            r.Names << SQL.mid(i + 1, j - i - 1);
            r.Text += QLatin1Char('?');
            i = j;
        } else {
            r.Text += c;
            ++i;
        }
    }
    return r;
}

QStringList DistinctParamNames(const QStringList& Names)
{
    QStringList r;
    for (const QString& n : Names) {
        bool seen = false;
        for (const QString& x : r)
            seen = seen || QString::compare(x, n, Qt::CaseInsensitive) == 0;
        if (!seen)
            r << n;
    }
    return r;
}
