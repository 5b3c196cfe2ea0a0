#include "tasks/WeftValue.h"

#include "platform/rtl/StrUtils.h"

#include <bit>
#include <cstring>
#include <typeinfo>

TWeftAutoDestroyObject::~TWeftAutoDestroyObject()
{
    delete FValue;
}

TWeftObject* TWeftAutoDestroyObject::Detach()
{
    TWeftObject* obj = FValue;
    FValue = nullptr;
    return obj;
}

IWeftAutoDestroyObject CreateAutoDestroyObject(TWeftObject* obj)
{
    return std::make_shared<TWeftAutoDestroyObject>(obj);
}

// --- Construction and stores ---------------------------------------------------

TWeftValue TWeftValue::FromDateTime(TDateTime value)
{
    TWeftValue v;
    v.SetAsDateTime(value);
    return v;
}

void TWeftValue::SetHeld(TWeftValueDataType type, IInterfacePtr holder)
{
    ovIntf = std::move(holder);
    ovType = type;
}

void TWeftValue::SetAsBoolean(bool value)
{
    SetPlain(ovtBoolean, value ? 1 : 0);
}

void TWeftValue::SetAsDouble(double value)
{
    SetPlain(ovtDouble, std::bit_cast<uint64_t>(value));
}

void TWeftValue::SetAsDateTime(TDateTime value)
{
    SetPlain(ovtDateTime, std::bit_cast<uint64_t>(value));
}

void TWeftValue::SetAsObject(TWeftObject* value)
{
    SetPlain(ovtObject, uint64_t(reinterpret_cast<uintptr_t>(value)));
}

void TWeftValue::SetAsPointer(void* value)
{
    SetPlain(ovtPointer, uint64_t(reinterpret_cast<uintptr_t>(value)));
}

void TWeftValue::SetAsException(std::exception_ptr value)
{
    ovData = 0;
    SetHeld(ovtException, std::make_shared<TWeftExceptionData>(std::move(value)));
}

void TWeftValue::SetAsExtended(long double value)
{
    SetHeld(ovtExtended, std::make_shared<TWeftExtendedData>(value));
}

void TWeftValue::SetAsString(const QString& value)
{
    SetHeld(ovtString, std::make_shared<TWeftStringData>(value));
}

void TWeftValue::SetAsWideString(const std::u16string& value)
{
    SetHeld(ovtWideString, std::make_shared<TWeftWideStringData>(value));
}

void TWeftValue::SetAsAnsiString(const std::string& value)
{
    SetHeld(ovtAnsiString, std::make_shared<TWeftAnsiStringData>(value));
}

void TWeftValue::SetAsVariant(const QVariant& value)
{
    SetHeld(ovtVariant, std::make_shared<TWeftVariantData>(value));
}

void TWeftValue::SetAsInterface(const IInterfacePtr& value)
{
    SetHeld(ovtInterface, value);
}

void TWeftValue::SetAsRecord(const IWeftAutoDestroyObject& value)
{
    SetHeld(ovtRecord, value);
}

void TWeftValue::SetAsOwnedObject(TWeftObject* value)
{
    SetHeld(ovtOwnedObject, CreateAutoDestroyObject(value));
    ovData = uint64_t(reinterpret_cast<uintptr_t>(value));
}

std::exception_ptr TWeftValue::DetachException()
{
    std::exception_ptr e;
    if (ovType == ovtException && ovIntf)
        e = Held<TWeftExceptionData>().Value();
    if (ovType == ovtException)
        Clear();
    return e;
}

// --- Reads -----------------------------------------------------------------------

void TWeftValue::ConvError(const char* target)
{
    throw Exception(QStringLiteral("TWeftValue cannot be converted to %1").arg(QString::fromUtf8(target)));
}

namespace {

bool VariantToInt(const QVariant& v, int32_t& out)
{
    bool ok = false;
    const int n = v.toInt(&ok);
    if (ok)
        out = n;
    return ok;
}

}  // namespace

bool TWeftValue::TryCastToBoolean(bool& value) const
{
    if (ovType != ovtBoolean)
        return false;
    value = (ovData & 0xFF) != 0;
    return true;
}

bool TWeftValue::TryCastToInteger(int32_t& value) const
{
    switch (ovType) {
    case ovtNull: value = 0; return true;
    case ovtInteger:
    case ovtInt64: value = int32_t(uint32_t(ovData)); return true;
    case ovtVariant: return ovIntf && VariantToInt(Held<TWeftVariantData>().Value(), value);
    default: return false;
    }
}

bool TWeftValue::TryCastToCardinal(uint32_t& value) const
{
    int32_t v;
    if (!TryCastToInteger(v))
        return false;
    value = uint32_t(v);
    return true;
}

bool TWeftValue::TryCastToInt64Other(int64_t& value) const
{
    switch (ovType) {
    case ovtNull: value = 0; return true;
    case ovtVariant: {
        int32_t v;
        if (!ovIntf || !VariantToInt(Held<TWeftVariantData>().Value(), v))
            return false;
        value = v;
        return true;
    }
    default: return false;
    }
}

bool TWeftValue::TryCastToExtended(long double& value) const
{
    switch (ovType) {
    case ovtNull: value = 0; return true;
    case ovtInteger:
    case ovtInt64: value = static_cast<long double>(int64_t(ovData)); return true;
    case ovtDouble:
    case ovtDateTime: value = std::bit_cast<double>(ovData); return true;
    case ovtExtended:
        if (!ovIntf)
            return false;
        value = Held<TWeftExtendedData>().Value();
        return true;
    default: return false;
    }
}

bool TWeftValue::TryCastToDouble(double& value) const
{
    long double v;
    if (!TryCastToExtended(v))
        return false;
    value = double(v);
    return true;
}

bool TWeftValue::TryCastToDateTime(TDateTime& value) const
{
    if (ovType == ovtInteger || ovType == ovtInt64)
        return false;
    return TryCastToDouble(value);
}

bool TWeftValue::TryCastToString(QString& value) const
{
    switch (ovType) {
    case ovtNull: value.clear(); return true;
    case ovtBoolean: value = (ovData & 0xFF) ? QStringLiteral("True") : QStringLiteral("False"); return true;
    case ovtInteger:
    case ovtInt64: value = QString::number(int64_t(ovData)); return true;
    case ovtDouble:
    case ovtDateTime:
    case ovtExtended: {
        double d;
        if (!TryCastToDouble(d))
            return false;
        value = FloatToStr(d);
        return true;
    }
    case ovtString:
        if (!ovIntf)
            return false;
        value = Held<TWeftStringData>().Value();
        return true;
    case ovtVariant:
        if (!ovIntf)
            return false;
        value = Held<TWeftVariantData>().Value().toString();
        return true;
    case ovtWideString:
        if (!ovIntf)
            return false;
        value = QString::fromStdU16String(Held<TWeftWideStringData>().Value());
        return true;
    case ovtAnsiString:
        if (!ovIntf)
            return false;
        value = QString::fromStdString(Held<TWeftAnsiStringData>().Value());
        return true;
    default: return false;
    }
}

// The ANSI and wide reads: their own kind as held, everything else as the
// string read gives it, converted.
template <class S>
bool TWeftValue::TryCastToText(TWeftValueDataType ownKind, S& value, S (QString::*convert)() const) const
{
    if (ovType == ownKind) {
        if (!ovIntf)
            return false;
        value = Held<TWeftHolder<S>>().Value();
        return true;
    }
    QString s;
    if (!TryCastToString(s))
        return false;
    value = (s.*convert)();
    return true;
}

bool TWeftValue::TryCastToAnsiString(std::string& value) const
{
    return TryCastToText(ovtAnsiString, value, &QString::toStdString);
}

bool TWeftValue::TryCastToWideString(std::u16string& value) const
{
    return TryCastToText(ovtWideString, value, &QString::toStdU16String);
}

bool TWeftValue::TryCastToVariant(QVariant& value) const
{
    if (ovType == ovtNull) {
        value = QVariant();
        return true;
    }
    if (ovType == ovtVariant && ovIntf) {
        value = Held<TWeftVariantData>().Value();
        return true;
    }
    return false;
}

bool TWeftValue::TryCastToInterface(IInterfacePtr& value) const
{
    if (ovType == ovtNull) {
        value.reset();
        return true;
    }
    if (ovType == ovtInterface) {
        value = ovIntf;
        return true;
    }
    return false;
}

bool TWeftValue::TryCastToObject(TWeftObject*& value) const
{
    switch (ovType) {
    case ovtNull: value = nullptr; return true;
    case ovtObject:
    case ovtOwnedObject: value = reinterpret_cast<TWeftObject*>(uintptr_t(ovData)); return true;
    default: return false;  // an exception is no TWeftObject here
    }
}

bool TWeftValue::TryCastToException(std::exception_ptr& value) const
{
    switch (ovType) {
    case ovtNull: value = nullptr; return true;
    case ovtException:
        value = ovIntf ? Held<TWeftExceptionData>().Value() : nullptr;
        return true;
    case ovtObject:
        // Objects are never exceptions here; an empty object reads as none.
        if (ovData != 0)
            return false;
        value = nullptr;
        return true;
    default: return false;
    }
}

bool TWeftValue::TryCastToPointer(void*& value) const
{
    switch (ovType) {
    case ovtNull: value = nullptr; return true;
    case ovtObject:
    case ovtPointer:
    case ovtOwnedObject: value = reinterpret_cast<void*>(uintptr_t(ovData)); return true;
    default: return false;
    }
}

#define WEFT_CAST(Type, Name, Target)                  \
    Type TWeftValue::CastTo##Name() const              \
    {                                                  \
        Type v{};                                      \
        if (!TryCastTo##Name(v))                       \
            ConvError(Target);                         \
        return v;                                      \
    }                                                  \
    Type TWeftValue::CastTo##Name##Def(Type def) const \
    {                                                  \
        Type v{};                                      \
        return TryCastTo##Name(v) ? v : def;           \
    }

#define WEFT_CAST_REF(Type, Name, Target)                     \
    Type TWeftValue::CastTo##Name() const                     \
    {                                                         \
        Type v{};                                             \
        if (!TryCastTo##Name(v))                              \
            ConvError(Target);                                \
        return v;                                             \
    }                                                         \
    Type TWeftValue::CastTo##Name##Def(const Type& def) const \
    {                                                         \
        Type v{};                                             \
        return TryCastTo##Name(v) ? v : def;                  \
    }

WEFT_CAST(bool, Boolean, "boolean")
WEFT_CAST(int32_t, Integer, "int64")
int64_t TWeftValue::CastToInt64Other() const
{
    int64_t v{};
    if (!TryCastToInt64Other(v))
        ConvError("int64");
    return v;
}

int64_t TWeftValue::CastToInt64Def(int64_t def) const
{
    int64_t v{};
    return TryCastToInt64(v) ? v : def;
}

WEFT_CAST(double, Double, "double")
WEFT_CAST(long double, Extended, "extended")
WEFT_CAST(TDateTime, DateTime, "TDateTime")
WEFT_CAST(TWeftObject*, Object, "object")
WEFT_CAST(void*, Pointer, "pointer")
WEFT_CAST_REF(QString, String, "string")
WEFT_CAST_REF(std::u16string, WideString, "WideString")
WEFT_CAST_REF(std::string, AnsiString, "AnsiString")
WEFT_CAST_REF(QVariant, Variant, "variant")
WEFT_CAST_REF(IInterfacePtr, Interface, "interface")
WEFT_CAST_REF(std::exception_ptr, Exception, "exception")

#undef WEFT_CAST
#undef WEFT_CAST_REF

uint32_t TWeftValue::CastToCardinalDef(uint32_t def) const
{
    uint32_t v;
    return TryCastToCardinal(v) ? v : def;
}

IWeftAutoDestroyObject TWeftValue::CastToRecord() const
{
    if (ovType != ovtRecord)
        ConvError("record");
    return std::static_pointer_cast<TWeftAutoDestroyObject>(ovIntf);
}

// --- Arrays --------------------------------------------------------------------

TWeftValueContainer* TWeftValue::Container() const
{
    if (ovType != ovtArray)
        throw Exception(QStringLiteral("TWeftValue does not contain an array"));
    return reinterpret_cast<TWeftValueContainer*>(uintptr_t(ovData));
}

TWeftValueContainer& TWeftValue::AsArray() const
{
    return *Container();
}

void TWeftValue::EnsureArray()
{
    if (ovType == ovtNull) {
        auto* c = new TWeftValueContainer();
        SetHeld(ovtArray, CreateAutoDestroyObject(c));
        ovData = uint64_t(reinterpret_cast<uintptr_t>(c));
    }
}

bool TWeftValue::HasArrayItem(int idx) const
{
    return idx >= 0 && idx < Container()->Count();
}

bool TWeftValue::HasArrayItem(const QString& name) const
{
    return Container()->Exists(name);
}

bool TWeftValue::HasArrayItem(const TWeftValue& param) const
{
    if (param.IsInteger())
        return HasArrayItem(param.CastToInteger());
    if (param.IsString())
        return HasArrayItem(param.CastToString());
    throw Exception(QStringLiteral("TWeftValue contains neither an integer, string nor array"));
}

void TWeftValue::SetAsArrayItem(const QString& name, const TWeftValue& value)
{
    EnsureArray();
    Container()->SetItem(name, value);
}

void TWeftValue::SetAsArrayItem(const TWeftValue& param, const TWeftValue& value)
{
    EnsureArray();
    Container()->SetItem(param, value);
}

TWeftValue TWeftValue::Create(std::initializer_list<TWeftVarRec> values)
{
    TWeftValue v;
    v.EnsureArray();
    TWeftValueContainer* c = v.Container();
    for (const TWeftVarRec& r : values) {
        if (r.Invalid)
            throw Exception(QStringLiteral("TWeftValue.Create: invalid data type"));
        c->Add(r.Value);
    }
    return v;
}

TWeftValue TWeftValue::CreateNamed(std::initializer_list<TWeftVarRec> values)
{
    TWeftValue v;
    v.EnsureArray();
    TWeftValueContainer* c = v.Container();
    QString name;
    bool atName = true;
    for (const TWeftVarRec& r : values) {
        if (atName) {
            if (!r.IsText || r.Invalid)
                throw Exception(QStringLiteral("TWeftValue.CreateNamed: invalid name type"));
            name = r.NameText();
        } else {
            if (r.Invalid)
                throw Exception(QStringLiteral("TWeftValue.CreateNamed: invalid data type"));
            c->Add(r.Value, name);
        }
        atName = !atName;
    }
    return v;
}

QString TWeftVarRec::NameText() const
{
    return Value.CastToString();
}

// --- Log text ----------------------------------------------------------------

namespace {

QString ExceptionClassName(const std::exception_ptr& e)
{
    if (!e)
        throw Exception(QStringLiteral("no exception"));
    try {
        std::rethrow_exception(e);
    } catch (const std::exception& ex) {
        return WeftTypeName(typeid(ex));
    } catch (...) {
        return QStringLiteral("unknown");
    }
}

QString ObjectClassName(TWeftObject* obj)
{
    if (!obj)
        throw Exception(QStringLiteral("no object"));
    return obj->ClassName();
}

}  // namespace

QString TWeftValue::LogValue() const
{
    try {
        switch (ovType) {
        case ovtNull: return QStringLiteral("[0]");
        case ovtBoolean: return QStringLiteral("[B]") + ((ovData & 0xFF) ? QLatin1Char('T') : QLatin1Char('F'));
        case ovtInteger: return QStringLiteral("[4]") + QString::number(int32_t(uint32_t(ovData)));
        case ovtInt64: return QStringLiteral("[8]") + QString::number(int64_t(ovData));
        case ovtDouble: return QStringLiteral("[D]") + CastToString();
        case ovtObject: return QStringLiteral("[O]") + ObjectClassName(CastToObject());
        case ovtPointer:
            return QStringLiteral("[P]") + QStringLiteral("%1").arg(ovData, 16, 16, QLatin1Char('0')).toUpper();
        case ovtDateTime:
            return QStringLiteral("[T]") + FormatDateTime(QStringLiteral("yyyymmddhhnnsszzz"), CastToDateTime());
        case ovtException: return QStringLiteral("[E]") + ExceptionClassName(CastToException());
        case ovtExtended: return QStringLiteral("[X]") + CastToString();
        case ovtString: return QStringLiteral("[S]") + CastToString();
        case ovtInterface: return QStringLiteral("[I]");
        case ovtVariant: return QStringLiteral("[V]") + CastToString();
        case ovtArray: return QStringLiteral("[A]") + QString::number(Container()->Count());
        case ovtRecord: return QStringLiteral("[R]");
        case ovtOwnedObject: return QStringLiteral("[o]") + ObjectClassName(CastToObject());
        case ovtWideString: return QStringLiteral("[W]") + CastToString();
        case ovtAnsiString: return QStringLiteral("[N]") + CastToString();
        }
    } catch (...) {
    }
    return QStringLiteral("!") + QString::number(int(ovType));
}

// --- Container -----------------------------------------------------------------

namespace {

bool SameAsciiText(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= u'a' && x <= u'z')
            x = char16_t(x - 32);
        if (y >= u'a' && y <= u'z')
            y = char16_t(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

}  // namespace

void TWeftValueContainer::Grow(int requiredIdx)
{
    int newCap = 2 * Capacity() + 1;
    if (requiredIdx + 1 > newCap)
        newCap = requiredIdx + 1;
    ovcNames.resize(size_t(newCap));
    ovcValues.resize(size_t(newCap));
}

int TWeftValueContainer::IndexOf(const QString& paramName) const
{
    for (int i = 0; i < ovcCount; ++i) {
        const QString& n = ovcNames[size_t(i)];
        if (n == paramName && n.isEmpty() == paramName.isEmpty())
            return i;
        if (!n.isEmpty() && !paramName.isEmpty() && SameAsciiText(n, paramName))
            return i;
    }
    return -1;
}

void TWeftValueContainer::Add(const TWeftValue& paramValue, const QString& paramName)
{
    if (!ovcCanModify)
        throw Exception(QStringLiteral("TWeftValueContainer: Locked"));
    int idx = paramName.isEmpty() ? -1 : IndexOf(paramName);
    if (idx < 0) {
        idx = ovcCount;
        if (idx >= Capacity())
            Grow(idx);
        ++ovcCount;
        ovcNames[size_t(idx)] = paramName;
    }
    ovcValues[size_t(idx)] = paramValue;
}

void TWeftValueContainer::Assign(const std::vector<TWeftValue>& parameters)
{
    if (!ovcCanModify)
        throw Exception(QStringLiteral("TWeftValueContainer: Already locked"));
    Clear();
    ovcNames.reserve(parameters.size());
    ovcValues.reserve(parameters.size());
    for (const TWeftValue& v : parameters)
        Add(v);
}

void TWeftValueContainer::AssignNamed(const std::vector<TWeftValue>& parameters)
{
    if (!ovcCanModify)
        throw Exception(QStringLiteral("TWeftValueContainer.AssignNamed: Already locked"));
    if (parameters.size() % 2 != 0)
        throw Exception(QStringLiteral("TWeftValueContainer.AssignNamed: Not a proper number of parameters"));
    Clear();
    ovcNames.reserve(parameters.size() / 2);
    ovcValues.reserve(parameters.size() / 2);
    for (size_t i = 0; i < parameters.size(); i += 2)
        Add(parameters[i + 1], parameters[i].CastToString());
}

TWeftValue TWeftValueContainer::ByName(const QString& paramName) const
{
    return ByName(paramName, TWeftValue());
}

TWeftValue TWeftValueContainer::ByName(const QString& paramName, const TWeftValue& defValue) const
{
    const int idx = IndexOf(paramName);
    return idx >= 0 ? ovcValues[size_t(idx)] : defValue;
}

void TWeftValueContainer::Clear()
{
    ovcNames.clear();
    ovcValues.clear();
    ovcCount = 0;
}

void TWeftValueContainer::Insert(int paramIdx, const TWeftValue& value)
{
    WeftAssert(paramIdx >= 0, "TWeftValueContainer.Insert: Negative index");
    if (paramIdx >= Capacity())
        Grow(paramIdx);
    if (paramIdx >= ovcCount)
        ovcCount = paramIdx + 1;
    ovcValues[size_t(paramIdx)] = value;
}

TWeftValue TWeftValueContainer::GetItem(int paramIdx) const
{
    WeftAssert(paramIdx >= 0 && paramIdx < ovcCount, "TWeftValueContainer.GetItem: Index out of range");
    return ovcValues[size_t(paramIdx)];
}

TWeftValue TWeftValueContainer::GetItem(const QString& paramName) const
{
    const int idx = IndexOf(paramName);
    if (idx < 0)
        throw Exception(QStringLiteral("TWeftValueContainer.GetItem: Parameter %1 does not exist").arg(paramName));
    return ovcValues[size_t(idx)];
}

TWeftValue TWeftValueContainer::GetItem(const TWeftValue& param) const
{
    if (param.IsInteger())
        return GetItem(param.CastToInteger());
    if (param.IsString())
        return GetItem(param.CastToString());
    throw Exception(QStringLiteral("TWeftValueContainer.GetItem: Container can only be indexed by integer or string."));
}

void TWeftValueContainer::SetItem(int paramIdx, const TWeftValue& value)
{
    if (!ovcCanModify)
        throw Exception(QStringLiteral("TWeftValueContainer.SetItem: Container is locked"));
    Insert(paramIdx, value);
}

void TWeftValueContainer::SetItem(const QString& paramName, const TWeftValue& value)
{
    if (!ovcCanModify)
        throw Exception(QStringLiteral("TWeftValueContainer.SetItem: Container is locked"));
    int idx = IndexOf(paramName);
    if (idx < 0) {
        Add(value, paramName);
        return;
    }
    ovcValues[size_t(idx)] = value;
}

void TWeftValueContainer::SetItem(const TWeftValue& param, const TWeftValue& value)
{
    if (param.IsInteger())
        SetItem(param.CastToInteger(), value);
    else if (param.IsString())
        SetItem(param.CastToString(), value);
    else
        throw Exception(
            QStringLiteral("TWeftValueContainer.SetItem: Container can only be indexed by integer or string."));
}
