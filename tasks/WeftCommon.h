#pragma once
// Small shared types of the task framework: a piece of code to run
// (TWeftExecutable), message ids (integer, text, pointer or procedure),
// integers kept ready for atomic access with the process-wide id counter
// WeftUID, a shared counter, a set of small non-negative integers (processor
// numbers), a dictionary from 64-bit ids to interfaces, a value that other
// threads can wait for, and thread naming for debuggers.

#include "platform/os/Waitable.h"
#include "tasks/WeftBase.h"
#include "tasks/WeftValue.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

// --- Executable --------------------------------------------------------------

enum TWeftExecutableKind { oekNull, oekProcedure, oekMethod, oekDelegate };

using TWeftProcedure = void (*)();
using TWeftDelegate = std::function<void()>;
// A method: code called with its object. MakeMethod<&C::M>(obj) (WeftBase.h)
// makes one for a member function without parameters.

class TWeftExecutable {
public:
    TWeftExecutable() = default;
    TWeftExecutable(TWeftProcedure proc) { SetProc(proc); }
    TWeftExecutable(const TMethod& method) { SetMethod(method); }
    TWeftExecutable(const TWeftDelegate& delegate) { SetDelegate(delegate); }

    void SetProc(TWeftProcedure value);
    // A method with no code or no object gives the null kind.
    void SetMethod(const TMethod& value);
    void SetDelegate(const TWeftDelegate& value);
    // Raise "TWeftExecutable: Wrong kind of executable %s, expected %s" for
    // another kind.
    TWeftProcedure GetProc() const;
    TMethod GetMethod() const;
    const TWeftDelegate& GetDelegate() const;
    TWeftProcedure Proc() const { return GetProc(); }
    TMethod Method() const { return GetMethod(); }
    const TWeftDelegate& Delegate() const { return GetDelegate(); }
    // Sets the null kind; the stored parts are kept.
    void Clear() { oeKind = oekNull; }
    bool IsNull() const { return oeKind == oekNull; }
    TWeftExecutableKind Kind() const { return oeKind; }
    // Runs whatever it holds; nothing for the null kind.
    void Execute() const;
    static void AnonCopy(TWeftDelegate& destination, const TWeftDelegate& source) { destination = source; }

private:
    void CheckKind(TWeftExecutableKind expected) const;

    TWeftDelegate oeDelegate;
    TMethod oeMethod;
    TWeftProcedure oeProcedure = nullptr;
    TWeftExecutableKind oeKind = oekNull;
};

QString WeftExecutableKindName(TWeftExecutableKind kind);

// --- Message id ----------------------------------------------------------------

enum TWeftMessageIDType { mitInteger, mitString, mitPointer, mitAnon };

class TWeftMessageID {
public:
    TWeftMessageID() = default;
    TWeftMessageID(int32_t value) : omidInteger(value), omidMessageType(mitInteger) {}
    TWeftMessageID(const QString& value);
    TWeftMessageID(void* value) : omidMessageType(mitPointer), omidPointer(value) {}
    static TWeftMessageID Create(const std::function<void(int32_t)>& anon);

    TWeftMessageIDType MessageType() const { return omidMessageType; }
    // Reading another kind than the one held fails an assertion.
    int32_t AsInteger() const;
    QString AsText() const;
    void* AsPointer() const;
    const std::function<void(int32_t)>& AsAnon() const;
    explicit operator int32_t() const { return AsInteger(); }
    explicit operator QString() const { return AsText(); }
    explicit operator void*() const { return AsPointer(); }
    // Decimal, the text, the pointer in hexadecimal; raises for a procedure.
    QString AsString() const;

private:
    std::function<void(int32_t)> omidAnon;
    int32_t omidInteger = 0;
    TWeftMessageIDType omidMessageType = mitInteger;
    void* omidPointer = nullptr;
    QString omidString;
};

// --- Aligned integers ------------------------------------------------------------

// Integers kept aligned for atomic access. The read-modify-writes are
// atomic and return the new value; Value reads and writes plainly
// (relaxed); copying is not atomic with respect to other operations.
class TWeftAlignedInt32 {
public:
    TWeftAlignedInt32(int32_t value = 0) : FData(value) {}
    TWeftAlignedInt32(const TWeftAlignedInt32& other) : FData(other.Value()) {}
    TWeftAlignedInt32& operator=(const TWeftAlignedInt32& other)
    {
        SetValue(other.Value());
        return *this;
    }
    TWeftAlignedInt32& operator=(int32_t value)
    {
        SetValue(value);
        return *this;
    }

    void Initialize() {}
    int32_t Add(int32_t value) { return FData.fetch_add(value) + value; }
    int32_t Subtract(int32_t value) { return FData.fetch_sub(value) - value; }
    int32_t Increment() { return Add(1); }
    int32_t Increment(int32_t value) { return Add(value); }
    int32_t Decrement() { return Subtract(1); }
    int32_t Decrement(int32_t value) { return Subtract(value); }
    bool CAS(int32_t oldValue, int32_t newValue) { return FData.compare_exchange_strong(oldValue, newValue); }
    std::atomic<int32_t>* Addr() { return &FData; }
    int32_t Value() const { return FData.load(std::memory_order_relaxed); }
    void SetValue(int32_t value) { FData.store(value, std::memory_order_relaxed); }
    operator int32_t() const { return Value(); }
    explicit operator uint32_t() const { return uint32_t(Value()); }
    int32_t operator+(int32_t v) const { return int32_t(uint32_t(Value()) + uint32_t(v)); }
    int32_t operator-(int32_t v) const { return int32_t(uint32_t(Value()) - uint32_t(v)); }

private:
    std::atomic<int32_t> FData;
};

class TWeftAlignedInt64 {
public:
    TWeftAlignedInt64(int64_t value = 0) : FData(value) {}
    TWeftAlignedInt64(const TWeftAlignedInt64& other) : FData(other.Value()) {}
    TWeftAlignedInt64& operator=(const TWeftAlignedInt64& other)
    {
        SetValue(other.Value());
        return *this;
    }

    void Initialize() {}
    // Add and Increment(v) return the old value plus v.
    int64_t Add(int64_t value) { return FData.fetch_add(value) + value; }
    int64_t Subtract(int64_t value) { return FData.fetch_sub(value) - value; }
    int64_t Increment() { return Add(1); }
    int64_t Increment(int64_t value) { return Add(value); }
    int64_t Decrement() { return Subtract(1); }
    int64_t Decrement(int64_t value) { return Subtract(value); }
    bool CAS(int64_t oldValue, int64_t newValue) { return FData.compare_exchange_strong(oldValue, newValue); }
    std::atomic<int64_t>* Addr() { return &FData; }
    int64_t Value() const { return FData.load(std::memory_order_relaxed); }
    void SetValue(int64_t value) { FData.store(value, std::memory_order_relaxed); }
    operator int64_t() const { return Value(); }

private:
    std::atomic<int64_t> FData;
};

// Process-wide unique ids: 0 at start, each new id is the incremented value.
extern TWeftAlignedInt64 WeftUID;

// --- Counter ---------------------------------------------------------------------

class IWeftCounter : public IInterface {
public:
    virtual int32_t GetValue() const = 0;
    virtual void SetValue(int32_t value) = 0;
    int32_t Value() const { return GetValue(); }
    virtual int32_t Increment() = 0;
    virtual int32_t Decrement() = 0;
    // Takes up to count (never below 0); the number taken.
    virtual int32_t Take(int32_t count) = 0;
    bool Take(int32_t count, int32_t& taken)
    {
        taken = Take(count);
        return taken > 0;
    }
};
using PWeftCounter = std::shared_ptr<IWeftCounter>;
PWeftCounter CreateCounter(int32_t initialValue = 0);

// --- Integer set -------------------------------------------------------------------

// A set of non-negative integers as a growable bit array. The whole-set
// operations (Assign, the AsArray/AsIntArray/AsBits/AsMask writes, Clear)
// compare the 64-bit mask before and after, so they raise "Cannot convert
// %d elements to a 8-byte mask" beyond 64 bits; Add, Remove, Contains and
// the list reads work at any size. OnChange runs after a change.
class TWeftIntegerSet : public IInterface {
public:
    using TOnChange = std::function<void(TWeftIntegerSet& set)>;

    TWeftIntegerSet() = default;
    explicit TWeftIntegerSet(const TWeftIntegerSet& value);

    const std::vector<bool>& GetAsBits() const { return FBits; }
    void SetAsBits(const std::vector<bool>& value);
    std::vector<int32_t> GetAsIntArray() const;
    void SetAsIntArray(const std::vector<int32_t>& value);
    std::vector<int32_t> GetAsArray() const { return GetAsIntArray(); }
    void SetAsArray(const std::vector<int32_t>& value) { SetAsIntArray(value); }
    uint64_t GetAsMask() const;
    void SetAsMask(uint64_t value);
    int32_t GetItem(int idx) const;
    int32_t Item(int idx) const { return GetItem(idx); }
    const TOnChange& GetOnChange() const { return FOnChange; }
    void SetOnChange(TOnChange value) { FOnChange = std::move(value); }

    // True when n was a member already.
    bool Add(int32_t n);
    void Assign(const TWeftIntegerSet& other);
    void Clear() { SetAsMask(0); }
    bool Contains(int32_t n) const;
    int Count() const;
    bool IsEmpty() const;
    // True when n was a member; n must be below the bit capacity.
    bool Remove(int32_t n);
    int BitCapacity() const { return int(FBits.size()); }

private:
    void Changed();
    void CheckIndex(int32_t n) const;
    const std::vector<int32_t>& Members() const;

    std::vector<bool> FBits;
    mutable bool FHasValueCopy = false;
    mutable std::vector<int32_t> FValueCopy;
    TOnChange FOnChange;
};
using PWeftIntegerSet = std::shared_ptr<TWeftIntegerSet>;

// --- Interface dictionary -------------------------------------------------------------

class TWeftInterfaceDictionary : public IInterface {
public:
    TWeftInterfaceDictionary() { FDictionary.reserve(100); }
    // Inserts or replaces.
    void Add(int64_t key, const IInterfacePtr& value) { FDictionary[key] = value; }
    void Clear() { FDictionary.clear(); }
    int Count() const { return int(FDictionary.size()); }
    void Remove(int64_t key) { FDictionary.erase(key); }
    // The interface or an empty reference.
    IInterfacePtr ValueOf(int64_t key) const;
    // (key, value) pairs in no defined order.
    auto begin() const { return FDictionary.begin(); }
    auto end() const { return FDictionary.end(); }

private:
    std::unordered_map<int64_t, IInterfacePtr> FDictionary;
};
using PWeftInterfaceDictionary = std::shared_ptr<TWeftInterfaceDictionary>;
PWeftInterfaceDictionary CreateInterfaceDictionary();

// --- Waitable value ------------------------------------------------------------------

// A value that other threads can wait for: Signal(data) stores the value,
// then sets the event.
class TWeftWaitableValue : public IInterface {
public:
    TWeftWaitableValue() = default;
    explicit TWeftWaitableValue(const TWeftValue& value) : FValue(value) {}
    THandle GetHandle() const { return FEvent; }
    THandle Handle() const { return FEvent; }
    TEventObject& GetEvent() const { return static_cast<TEventObject&>(*FEvent); }
    TWeftValue GetValue() const;
    TWeftValue Value() const { return GetValue(); }
    void Reset() { ResetEvent(FEvent); }
    void Signal() { SetEvent(FEvent); }
    void Signal(const TWeftValue& data);
    bool WaitFor(DWORD maxWait_ms = INFINITE) { return WaitForSingleObject(FEvent, maxWait_ms) == WAIT_OBJECT_0; }

private:
    THandle FEvent = CreateEvent(true, false);
    mutable std::mutex FLock;
    TWeftValue FValue;
};
using PWeftWaitableValue = std::shared_ptr<TWeftWaitableValue>;

// --- Utilities -------------------------------------------------------------------------

// Names the calling thread for debuggers (the kernel keeps 15 characters);
// repeating the thread's current name costs nothing.
void SetThreadName(const QString& name);
// The calling thread's name as last set through SetThreadName.
QString CurrentThreadName();
std::string StrPasA(const char* text);
