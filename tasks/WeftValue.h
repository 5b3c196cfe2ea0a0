#pragma once
// TWeftValue: the one value type the task framework moves between threads:
// a kind tag, eight data bytes for plain values and one counted reference
// for everything that needs memory of its own (texts, variants, extended
// floats, arrays, records, owned objects, exceptions). Copying never copies
// texts or array contents; holders are never changed after creation, so a
// copy may be handed to another thread freely. A single TWeftValue variable
// is not guarded: two threads must not write the same variable at once.
//
// TWeftValueContainer is the list of optionally named values behind the
// array kind and the task parameters.
//
// Kinds on this platform: strings are QString; wide strings std::u16string;
// ANSI strings std::string in UTF-8 (the system code page here); variants
// QVariant; extended floats long double; objects derive from TWeftObject;
// interfaces are std::shared_ptr<IInterface>; an exception is a
// std::exception_ptr held by the value (shared, like an owned object).

#include "platform/rtl/DateUtils.h"
#include "tasks/WeftBase.h"

#include <QString>
#include <QVariant>
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <limits>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

enum TWeftValueDataType : uint8_t {
    ovtNull,
    ovtBoolean,
    ovtInteger,
    ovtInt64,
    ovtDouble,
    ovtObject,
    ovtPointer,
    ovtDateTime,
    ovtException,
    ovtExtended,
    ovtString,
    ovtInterface,
    ovtVariant,
    ovtArray,
    ovtRecord,
    ovtOwnedObject,
    ovtWideString,
    ovtAnsiString
};

// Raised by the typed conversions (CastTo<T>); every other failure of the
// values raises Exception with the messages of the reads.
SORVEX_EXCEPTION_KIND(EWeftValueConv, Exception)

// A holder of one value of a held kind; never changed after it is made.
template <class V>
class TWeftHolder : public IInterface {
public:
    explicit TWeftHolder(V value) : FValue(std::move(value)) {}
    const V& Value() const { return FValue; }

private:
    const V FValue;
};
using TWeftStringData = TWeftHolder<QString>;
using TWeftWideStringData = TWeftHolder<std::u16string>;
using TWeftAnsiStringData = TWeftHolder<std::string>;
using TWeftVariantData = TWeftHolder<QVariant>;
using TWeftExtendedData = TWeftHolder<long double>;

// Holds an exception for the exception kind; Detach takes it out.
class TWeftExceptionData : public IInterface {
public:
    explicit TWeftExceptionData(std::exception_ptr e) : FValue(std::move(e)) {}
    const std::exception_ptr& Value() const { return FValue; }

private:
    std::exception_ptr FValue;
};

// Owns an object on behalf of the values that hold it: the object lives
// exactly as long as some copy holds the wrapper, unless it is detached.
class TWeftAutoDestroyObject : public IInterface {
public:
    explicit TWeftAutoDestroyObject(TWeftObject* obj) : FValue(obj) {}
    ~TWeftAutoDestroyObject() override;
    TWeftObject* Value() const { return FValue; }
    // Gives the object up: it survives the wrapper.
    TWeftObject* Detach();

private:
    TWeftObject* FValue;
};
using IWeftAutoDestroyObject = std::shared_ptr<TWeftAutoDestroyObject>;
IWeftAutoDestroyObject CreateAutoDestroyObject(TWeftObject* obj);

using IInterfacePtr = std::shared_ptr<IInterface>;

class TWeftValueContainer;
struct TWeftVarRec;

class TWeftValue {
public:
    TWeftValue() = default;
    TWeftValue(const TWeftValue&) = default;
    TWeftValue& operator=(const TWeftValue&) = default;
    // A moved-from value is null. The moves, the plain stores and the
    // integer reads are inline: the parallel loops run them once per item.
    TWeftValue(TWeftValue&& other) noexcept
        : ovData(other.ovData), ovIntf(std::move(other.ovIntf)), ovType(other.ovType)
    {
        other.ovData = 0;
        other.ovType = ovtNull;
    }
    TWeftValue& operator=(TWeftValue&& other) noexcept
    {
        if (this != &other) {
            ovData = other.ovData;
            ovIntf = std::move(other.ovIntf);
            ovType = other.ovType;
            other.ovData = 0;
            other.ovIntf.reset();
            other.ovType = ovtNull;
        }
        return *this;
    }

    // Implicit conversions store the matching kind; an object given this
    // way is never owned. Date-times have no C++ type of their own: use
    // FromDateTime / SetAsDateTime.
    TWeftValue(bool value) { SetAsBoolean(value); }
    TWeftValue(int32_t value) { SetAsInteger(value); }
    TWeftValue(int64_t value) { SetAsInt64(value); }
    TWeftValue(double value) { SetAsDouble(value); }
    TWeftValue(long double value) { SetAsExtended(value); }
    TWeftValue(const QString& value) { SetAsString(value); }
    TWeftValue(const char* value) { SetAsString(QString::fromUtf8(value)); }
    TWeftValue(const std::u16string& value) { SetAsWideString(value); }
    TWeftValue(const std::string& value) { SetAsAnsiString(value); }
    TWeftValue(const QVariant& value) { SetAsVariant(value); }
    TWeftValue(const IInterfacePtr& value) { SetAsInterface(value); }
    TWeftValue(TWeftObject* value) { SetAsObject(value); }
    TWeftValue(const std::exception_ptr& value) { SetAsException(value); }
    TWeftValue(void* value) { SetAsPointer(value); }

    static TWeftValue FromDateTime(TDateTime value);
    // An array of unnamed entries, one per argument (see TWeftVarRec).
    static TWeftValue Create(std::initializer_list<TWeftVarRec> values);
    // An array from alternating names and values; a repeated name (letter
    // case ignored) replaces the earlier value, a trailing name is ignored.
    static TWeftValue CreateNamed(std::initializer_list<TWeftVarRec> values);
    static TWeftValue Null() { return TWeftValue(); }

    void Clear()
    {
        ovData = 0;
        ovIntf.reset();
        ovType = ovtNull;
    }
    TWeftValueDataType DataType() const { return ovType; }
    // The plain data word and the held reference, for containers and tests.
    uint64_t RawData() const { return ovData; }
    const IInterfacePtr& RawIntf() const { return ovIntf; }

    // Stores.
    void SetAsBoolean(bool value);
    void SetAsInteger(int32_t value) { SetPlain(ovtInteger, uint64_t(int64_t(value))); }
    void SetAsInt64(int64_t value) { SetPlain(ovtInt64, uint64_t(value)); }
    void SetAsDouble(double value);
    void SetAsDateTime(TDateTime value);
    void SetAsObject(TWeftObject* value);
    void SetAsPointer(void* value);
    void SetAsException(std::exception_ptr value);
    void SetAsExtended(long double value);
    void SetAsString(const QString& value);
    void SetAsWideString(const std::u16string& value);
    void SetAsAnsiString(const std::string& value);
    void SetAsVariant(const QVariant& value);
    void SetAsInterface(const IInterfacePtr& value);
    void SetAsRecord(const IWeftAutoDestroyObject& value);
    // Takes ownership: the object is freed with the last copy of the value.
    void SetAsOwnedObject(TWeftObject* value);

    // Reads: TryCastToX leaves value untouched and returns false when the
    // kind does not convert; CastToX raises "TWeftValue cannot be converted
    // to ..."; CastToXDef returns the default then.
    bool TryCastToBoolean(bool& value) const;
    bool TryCastToInteger(int32_t& value) const;
    bool TryCastToCardinal(uint32_t& value) const;
    bool TryCastToInt64(int64_t& value) const
    {
        if (ovType != ovtInteger && ovType != ovtInt64)
            return TryCastToInt64Other(value);
        value = int64_t(ovData);
        return true;
    }
    bool TryCastToDouble(double& value) const;
    bool TryCastToExtended(long double& value) const;
    bool TryCastToDateTime(TDateTime& value) const;
    bool TryCastToString(QString& value) const;
    bool TryCastToWideString(std::u16string& value) const;
    bool TryCastToAnsiString(std::string& value) const;
    bool TryCastToVariant(QVariant& value) const;
    bool TryCastToInterface(IInterfacePtr& value) const;
    bool TryCastToObject(TWeftObject*& value) const;
    bool TryCastToException(std::exception_ptr& value) const;
    bool TryCastToPointer(void*& value) const;

    bool CastToBoolean() const;
    int32_t CastToInteger() const;
    int64_t CastToInt64() const
    {
        if (ovType != ovtInteger && ovType != ovtInt64)
            return CastToInt64Other();
        return int64_t(ovData);
    }
    double CastToDouble() const;
    long double CastToExtended() const;
    TDateTime CastToDateTime() const;
    QString CastToString() const;
    std::u16string CastToWideString() const;
    std::string CastToAnsiString() const;
    QVariant CastToVariant() const;
    IInterfacePtr CastToInterface() const;
    TWeftObject* CastToObject() const;
    std::exception_ptr CastToException() const;
    void* CastToPointer() const;
    IWeftAutoDestroyObject CastToRecord() const;

    bool CastToBooleanDef(bool def) const;
    int32_t CastToIntegerDef(int32_t def) const;
    uint32_t CastToCardinalDef(uint32_t def) const;
    int64_t CastToInt64Def(int64_t def) const;
    double CastToDoubleDef(double def) const;
    long double CastToExtendedDef(long double def) const;
    TDateTime CastToDateTimeDef(TDateTime def) const;
    QString CastToStringDef(const QString& def) const;
    std::u16string CastToWideStringDef(const std::u16string& def) const;
    std::string CastToAnsiStringDef(const std::string& def) const;
    QVariant CastToVariantDef(const QVariant& def) const;
    IInterfacePtr CastToInterfaceDef(const IInterfacePtr& def) const;
    TWeftObject* CastToObjectDef(TWeftObject* def) const;
    std::exception_ptr CastToExceptionDef(const std::exception_ptr& def) const;
    void* CastToPointerDef(void* def) const;

    // The raising casts under their short names.
    bool AsBoolean() const { return CastToBoolean(); }
    int32_t AsInteger() const { return CastToInteger(); }
    int64_t AsInt64() const { return CastToInt64(); }
    double AsDouble() const { return CastToDouble(); }
    QString AsString() const { return CastToString(); }
    TWeftObject* AsObject() const { return CastToObject(); }

    // Takes the exception out of an exception-kind value (leaving it null)
    // so it can be raised again by its reader.
    std::exception_ptr DetachException();

    bool IsEmpty() const { return ovType == ovtNull; }
    bool IsBoolean() const { return ovType == ovtBoolean; }
    bool IsInteger() const { return ovType == ovtInteger || ovType == ovtInt64; }
    bool IsFloating() const { return ovType == ovtDouble || ovType == ovtExtended; }
    bool IsDateTime() const { return ovType == ovtDateTime; }
    bool IsObject() const { return ovType == ovtObject; }
    bool IsOwnedObject() const { return ovType == ovtOwnedObject; }
    bool IsPointer() const { return ovType == ovtPointer; }
    bool IsException() const { return ovType == ovtException; }
    bool IsString() const { return ovType == ovtString; }
    bool IsWideString() const { return ovType == ovtWideString; }
    bool IsAnsiString() const { return ovType == ovtAnsiString; }
    bool IsInterface() const { return ovType == ovtInterface; }
    bool IsVariant() const { return ovType == ovtVariant; }
    bool IsArray() const { return ovType == ovtArray; }
    bool IsRecord() const { return ovType == ovtRecord; }
    bool IsInterfacedType() const { return ovType >= ovtExtended; }

    // Arrays. A null value becomes an empty array on the first store; any
    // other non-array kind raises "TWeftValue does not contain an array".
    bool HasArrayItem(int idx) const;
    bool HasArrayItem(const QString& name) const;
    bool HasArrayItem(const TWeftValue& param) const;
    void SetAsArrayItem(const QString& name, const TWeftValue& value);
    void SetAsArrayItem(const TWeftValue& param, const TWeftValue& value);
    void SetAsArrayItemOV(const TWeftValue& param, const TWeftValue& value) { SetAsArrayItem(param, value); }
    // The array's container (still owned by the value); raises for other kinds.
    TWeftValueContainer& AsArray() const;

    // Compares as the integer cast or the string cast reads the value.
    bool operator==(int32_t other) const { return CastToInteger() == other; }
    bool operator==(const QString& other) const { return CastToString() == other; }
    bool operator==(const char* other) const { return CastToString() == QString::fromUtf8(other); }

    // A short text for diagnostics: "[4]7", "[S]text", "[B]T" ...
    QString LogValue() const;

    // Typed conversions. CastFrom: integers of up to 32 bits become the
    // integer kind (unsigned 32-bit ones the Int64 kind), 64-bit integers
    // Int64, bool Boolean, float/double Double, long double Extended, QString
    // String, TWeftObject pointers Object, other pointers Pointer,
    // shared_ptr<interface> Interface; any other type becomes a record held
    // in a TWeftRecordWrapper<T>. CastTo reads the same kinds back; an
    // integer that does not fit raises EWeftValueConv "Value %d is too big to
    // fit into %s".
    template <class T>
    static TWeftValue CastFrom(const T& value);
    template <class T>
    T CastTo() const;
    // Wrap stores a copy of value as an owned TWeftRecordWrapper<T>; Unwrap
    // reads it back.
    template <class T>
    static TWeftValue Wrap(const T& value);
    template <class T>
    T Unwrap() const;

private:
    void SetPlain(TWeftValueDataType type, uint64_t data)
    {
        if (ovIntf)
            ovIntf.reset();
        ovData = data;
        ovType = type;
    }
    // The integer reads of the kinds other than the integers.
    bool TryCastToInt64Other(int64_t& value) const;
    int64_t CastToInt64Other() const;
    void SetHeld(TWeftValueDataType type, IInterfacePtr holder);
    template <class H>
    const H& Held() const { return static_cast<const H&>(*ovIntf); }
    template <class S>
    bool TryCastToText(TWeftValueDataType ownKind, S& value, S (QString::*convert)() const) const;
    TWeftValueContainer* Container() const;
    void EnsureArray();
    [[noreturn]] static void ConvError(const char* target);

    uint64_t ovData = 0;
    IInterfacePtr ovIntf;
    TWeftValueDataType ovType = ovtNull;
};

// One argument of TWeftValue::Create / CreateNamed, carrying its own type:
// int -> Integer, bool -> Boolean, char -> one-character String, float,
// double and long double -> Extended, const char* and QString -> String,
// std::string -> AnsiString, std::u16string -> WideString, QVariant ->
// Variant, interfaces -> Interface, TWeftObject* -> Object, other pointers ->
// Pointer, int64 -> Int64, money (a type with Raw() in ten-thousandths) ->
// Extended. Wide characters and wide zero-terminated texts are refused
// ("TWeftValue.Create: invalid data type").
struct TWeftVarRec {
    TWeftValue Value;
    bool IsText = false;     // may serve as a name
    bool Invalid = false;    // refused as data and as a name

    TWeftVarRec(int32_t v) : Value(v) {}
    TWeftVarRec(bool v) : Value(v) {}
    TWeftVarRec(char v) : Value(QString(QLatin1Char(v))), IsText(true) {}
    TWeftVarRec(float v) : Value(static_cast<long double>(v)) {}
    TWeftVarRec(double v) : Value(static_cast<long double>(v)) {}
    TWeftVarRec(long double v) : Value(v) {}
    TWeftVarRec(const char* v) : Value(QString::fromUtf8(v)), IsText(true) {}
    TWeftVarRec(const QString& v) : Value(v), IsText(true) {}
    TWeftVarRec(const std::string& v) : Value(v), IsText(true) {}
    TWeftVarRec(const std::u16string& v) : Value(v), IsText(true) {}
    TWeftVarRec(const QVariant& v) : Value(v), IsText(true) {}
    TWeftVarRec(const IInterfacePtr& v) : Value(v) {}
    TWeftVarRec(TWeftObject* v) : Value(v) {}
    TWeftVarRec(void* v) : Value(v) {}
    TWeftVarRec(int64_t v) : Value(v) {}
    template <class M>
        requires requires(const M& m) { { m.Raw() } -> std::convertible_to<int64_t>; }
    TWeftVarRec(const M& money) : Value(static_cast<long double>(money.Raw()) / 10000.0L)
    {
    }
    TWeftVarRec(QChar) : Invalid(true) {}
    TWeftVarRec(char16_t) : Invalid(true) {}
    TWeftVarRec(const char16_t*) : Invalid(true) {}
    // The name a text argument gives.
    QString NameText() const;
};

// The list of optionally named values behind the array kind.
class TWeftValueContainer : public TWeftObject {
public:
    TWeftValueContainer() = default;

    // Adds an entry; a non-empty name that exists replaces that entry's
    // value. Raises "TWeftValueContainer: Locked" when locked.
    void Add(const TWeftValue& paramValue, const QString& paramName = QString());
    void Assign(const std::vector<TWeftValue>& parameters);
    // Alternating names and values.
    void AssignNamed(const std::vector<TWeftValue>& parameters);
    TWeftValue ByName(const QString& paramName) const;
    TWeftValue ByName(const QString& paramName, const TWeftValue& defValue) const;
    void Clear();
    int Count() const { return ovcCount; }
    bool Exists(const QString& paramName) const { return IndexOf(paramName) >= 0; }
    // Names match when the very same or equal with A-Z case ignored.
    int IndexOf(const QString& paramName) const;
    // Stores at idx, growing Count to idx + 1 (skipped entries stay null);
    // does not test the lock.
    void Insert(int paramIdx, const TWeftValue& value);
    bool IsLocked() const { return !ovcCanModify; }
    void Lock() { ovcCanModify = false; }

    TWeftValue GetItem(int paramIdx) const;
    TWeftValue GetItem(const QString& paramName) const;
    TWeftValue GetItem(const TWeftValue& param) const;
    void SetItem(int paramIdx, const TWeftValue& value);
    void SetItem(const QString& paramName, const TWeftValue& value);
    void SetItem(const TWeftValue& param, const TWeftValue& value);
    TWeftValue operator[](int paramIdx) const { return GetItem(paramIdx); }
    TWeftValue operator[](const QString& paramName) const { return GetItem(paramName); }
    QString Name(int paramIdx) const { return ovcNames.at(size_t(paramIdx)); }
    int Capacity() const { return int(ovcValues.size()); }

private:
    void Grow(int requiredIdx);

    bool ovcCanModify = true;
    int ovcCount = 0;
    std::vector<QString> ovcNames;
    std::vector<TWeftValue> ovcValues;
};

// A data source for the parallel loops: override both.
class TWeftValueEnumerator : public TWeftObject {
public:
    virtual TWeftValue GetCurrent() = 0;
    virtual bool MoveNext() = 0;
};

// Holds one value of T for the record kind and Wrap<T>.
template <class T>
class TWeftRecordWrapper : public TWeftObject {
public:
    explicit TWeftRecordWrapper(const T& value) : FValue(value) {}
    const T& GetRecord() const { return FValue; }
    void SetRecord(const T& value) { FValue = value; }

private:
    T FValue;
};

// --- Typed conversions ---------------------------------------------------------

namespace weft_detail {

template <class T>
QString OrdinalName()
{
    if constexpr (std::is_same_v<T, int32_t>)
        return QStringLiteral("Integer");
    else if constexpr (std::is_same_v<T, uint32_t>)
        return QStringLiteral("Cardinal");
    else if constexpr (std::is_same_v<T, int16_t>)
        return QStringLiteral("SmallInt");
    else if constexpr (std::is_same_v<T, uint16_t>)
        return QStringLiteral("Word");
    else if constexpr (std::is_same_v<T, int8_t>)
        return QStringLiteral("ShortInt");
    else if constexpr (std::is_same_v<T, uint8_t>)
        return QStringLiteral("Byte");
    else if constexpr (std::is_same_v<T, int64_t>)
        return QStringLiteral("Int64");
    else if constexpr (std::is_same_v<T, uint64_t>)
        return QStringLiteral("UInt64");
    else
        return WeftTypeName(typeid(T));
}

template <class T>
struct IsSharedPtr : std::false_type {};
template <class T>
struct IsSharedPtr<std::shared_ptr<T>> : std::true_type {
    using Element = T;
};

}  // namespace weft_detail

template <class T>
TWeftValue TWeftValue::CastFrom(const T& value)
{
    TWeftValue v;
    if constexpr (std::is_same_v<T, bool>) {
        v.SetAsBoolean(value);
    } else if constexpr (std::is_integral_v<T> && sizeof(T) <= 4 &&
                         (std::is_signed_v<T> || sizeof(T) < 4)) {
        v.SetAsInteger(int32_t(value));
    } else if constexpr (std::is_integral_v<T> && sizeof(T) <= 8) {
        v.SetAsInt64(int64_t(value));
    } else if constexpr (std::is_same_v<T, long double>) {
        v.SetAsExtended(value);
    } else if constexpr (std::is_floating_point_v<T>) {
        v.SetAsDouble(double(value));
    } else if constexpr (std::is_same_v<T, QString>) {
        v.SetAsString(value);
    } else if constexpr (std::is_pointer_v<T> &&
                         std::is_base_of_v<TWeftObject, std::remove_cv_t<std::remove_pointer_t<T>>>) {
        v.SetAsObject(const_cast<TWeftObject*>(static_cast<const TWeftObject*>(value)));
    } else if constexpr (std::is_pointer_v<T>) {
        v.SetAsPointer(const_cast<void*>(static_cast<const void*>(value)));
    } else if constexpr (weft_detail::IsSharedPtr<T>::value) {
        v.SetAsInterface(std::static_pointer_cast<IInterface>(value));
    } else {
        v.SetAsRecord(CreateAutoDestroyObject(new TWeftRecordWrapper<T>(value)));
    }
    return v;
}

template <class T>
T TWeftValue::CastTo() const
{
    if constexpr (std::is_same_v<T, bool>) {
        return CastToBoolean();
    } else if constexpr (std::is_integral_v<T>) {
        const int64_t n = CastToInt64();
        if constexpr (std::is_same_v<T, uint64_t>) {
            return uint64_t(n);
        } else {
            if (!std::in_range<T>(n))
                throw EWeftValueConv(QStringLiteral("Value %1 is too big to fit into %2")
                                         .arg(n)
                                         .arg(weft_detail::OrdinalName<T>()));
            return T(n);
        }
    } else if constexpr (std::is_same_v<T, long double>) {
        return CastToExtended();
    } else if constexpr (std::is_floating_point_v<T>) {
        return T(CastToDouble());
    } else if constexpr (std::is_same_v<T, QString>) {
        return CastToString();
    } else if constexpr (std::is_pointer_v<T> &&
                         std::is_base_of_v<TWeftObject, std::remove_cv_t<std::remove_pointer_t<T>>>) {
        return dynamic_cast<T>(CastToObject());
    } else if constexpr (std::is_pointer_v<T>) {
        return static_cast<T>(CastToPointer());
    } else if constexpr (weft_detail::IsSharedPtr<T>::value) {
        return std::dynamic_pointer_cast<typename weft_detail::IsSharedPtr<T>::Element>(CastToInterface());
    } else {
        const IWeftAutoDestroyObject rec = CastToRecord();
        auto* w = rec ? dynamic_cast<TWeftRecordWrapper<T>*>(rec->Value()) : nullptr;
        if (!w)
            throw EWeftValueConv(
                QStringLiteral("TWeftValue cannot be converted to %1").arg(WeftTypeName(typeid(T))));
        return w->GetRecord();
    }
}

template <class T>
TWeftValue TWeftValue::Wrap(const T& value)
{
    TWeftValue v;
    v.SetAsOwnedObject(new TWeftRecordWrapper<T>(value));
    return v;
}

template <class T>
T TWeftValue::Unwrap() const
{
    auto* w = dynamic_cast<TWeftRecordWrapper<T>*>(CastToObject());
    if (!w)
        throw EWeftValueConv(QStringLiteral("TWeftValue cannot be converted to %1").arg(WeftTypeName(typeid(T))));
    return w->GetRecord();
}
