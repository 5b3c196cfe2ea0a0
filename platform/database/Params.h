#pragma once
// Statement parameters bound by name. Statements are written with ":NAME"
// markers; the access layer turns them into positional markers and binds the
// value of the parameter of that name (case-insensitive) at each position, so
// values never become part of the statement text.

#include "platform/database/DBTypes.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/DateUtils.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

class TField;

enum TParamType { ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult };

// A value tagged with its kind. The representation of Value follows the kind:
// texts QString, whole numbers qint64, floats double, fixed-point numbers a
// qint64 with Scale decimals (money: 4), date-times a double TDateTime,
// booleans bool, binary QByteArray; an invalid QVariant is SQL null.
class TParam {
public:
    TParam() = default;
    TParam(const QString& Name, TParamType Kind = ptInput) : FName(Name), FParamType(Kind) {}

    const QString& Name() const { return FName; }
    void SetName(const QString& v) { FName = v; }
    TParamType ParamType() const { return FParamType; }
    void SetParamType(TParamType v) { FParamType = v; }
    TFieldType DataType() const { return FDataType; }
    void SetDataType(TFieldType v) { FDataType = v; }
    int Scale() const { return FScale; }
    int Size() const { return FSize; }
    void SetSize(int v) { FSize = v; }

    bool IsNull() const { return !FValue.isValid(); }
    void Clear() { FValue = QVariant(); }

    QString AsString() const;
    void SetAsString(const QString& v);
    int AsInteger() const { return int(AsLargeInt()); }
    void SetAsInteger(int v);
    int64_t AsLargeInt() const;
    void SetAsLargeInt(int64_t v);
    double AsFloat() const;
    void SetAsFloat(double v);
    float AsSingle() const { return float(AsFloat()); }
    void SetAsSingle(float v);
    Currency AsCurrency() const;
    void SetAsCurrency(Currency v);
    // A fixed-point number with Scale decimals (Value holds the scaled integer).
    void SetAsFixed(int64_t v, int Scale);
    TDateTime AsDateTime() const;
    void SetAsDateTime(TDateTime v);
    void SetAsDate(TDateTime v);
    bool AsBoolean() const;
    void SetAsBoolean(bool v);
    QByteArray AsBytes() const;
    void SetAsBytes(const QByteArray& v);

    // The raw tagged value, and a value whose kind is taken from the variant
    // (string, integer, double, bool, byte array; null stays null).
    const QVariant& RawValue() const { return FValue; }
    void SetRaw(TFieldType Kind, const QVariant& v, int Scale = 0);
    QVariant Value() const { return FValue; }
    void SetValue(const QVariant& v);
    // Takes the kind and the value of a field of the current record.
    void AssignField(const TField& F);
    // Takes the kind and the value of another parameter.
    void AssignParam(const TParam& P)
    {
        FDataType = P.FDataType;
        FValue = P.FValue;
        FScale = P.FScale;
        FSize = P.FSize;
    }

private:
    QString FName;
    TParamType FParamType = ptInput;
    TFieldType FDataType = ftUnknown;
    QVariant FValue;
    int FScale = 0;
    int FSize = 0;
};

class TParams {
public:
    int Count() const { return int(FItems.size()); }
    TParam& operator[](int i) { return *FItems.at(size_t(i)); }
    const TParam& operator[](int i) const { return *FItems.at(size_t(i)); }
    TParam* FindParam(const QString& Name) const;
    // Raises EDatabaseError "Parameter 'NAME' not found" for an unknown name.
    TParam& ParamByName(const QString& Name) const;
    TParam& Add(const QString& Name, TParamType Kind = ptInput);
    void Clear() { FItems.clear(); }
    // Keeps the values of parameters whose names stay; adds new names in order.
    void Rebuild(const QStringList& Names);

private:
    std::vector<std::unique_ptr<TParam>> FItems;
};

// The statement with every ":NAME" marker replaced by "?" and the names in the
// order of the markers (a name used twice appears twice). Markers inside
// string literals, quoted identifiers and comments are left alone.
struct TParsedSQL {
    QString Text;
    QStringList Names;
};
TParsedSQL ParseNamedParams(const QString& SQL);
// The distinct names of the markers, in order of first use.
QStringList DistinctParamNames(const QStringList& Names);
