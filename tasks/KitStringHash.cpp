#include "tasks/KitStringHash.h"

#include <algorithm>
#include <cstring>

namespace {

// Bucket counts for item counts up to 2^5 .. 2^30.
constexpr uint32_t CKitGoodHashSizes[26] = {
    53,      97,      193,      389,      769,      1543,     3079,      6151,      12289,
    24593,   49157,   98317,    196613,   393241,   786433,   1572869,   3145739,   6291469,
    12582917, 25165843, 50331653, 100663319, 201326611, 402653189, 805306457, 1610612741};

inline uint32_t Get16(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8);
}

TWeftObject* AsObject(int64_t v)
{
    return reinterpret_cast<TWeftObject*>(static_cast<uintptr_t>(v));
}

int64_t AsValue(TWeftObject* o)
{
    return static_cast<int64_t>(reinterpret_cast<uintptr_t>(o));
}

}  // namespace

uint32_t GetGoodHashSize(uint32_t dataSize)
{
    for (int i = 5; i <= 30; ++i)
        if (uint64_t(dataSize) <= (uint64_t(1) << i))
            return CKitGoodHashSizes[i - 5];
    throw Exception(QStringLiteral("GetGoodHashSize: Only data sizes up to %1 are supported").arg(1073741824));
}

uint32_t HashOf(const void* data, int length)
{
    if (!data || length <= 0)
        return 0;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    uint32_t hash = uint32_t(length);
    const int rem = length & 3;
    for (int n = length >> 2; n > 0; --n) {
        hash += Get16(p);
        const uint32_t tmp = (Get16(p + 2) << 11) ^ hash;
        hash = (hash << 16) ^ tmp;
        p += 4;
        hash += hash >> 11;
    }
    switch (rem) {
    case 3:
        hash += Get16(p);
        hash ^= hash << 16;
        hash ^= uint32_t(p[2]) << 18;
        hash += hash >> 11;
        break;
    case 2:
        hash += Get16(p);
        hash ^= hash << 11;
        hash += hash >> 17;
        break;
    case 1:
        hash += p[0];
        hash ^= hash << 10;
        hash += hash >> 1;
        break;
    default: break;
    }
    hash ^= hash << 3;
    hash += hash >> 5;
    hash ^= hash << 4;
    hash += hash >> 17;
    hash ^= hash << 25;
    hash += hash >> 6;
    return hash;
}

uint32_t HashOf(const QString& key)
{
    return HashOf(key.utf16(), int(key.size() * 2));
}

// --- TKitStringHash ----------------------------------------------------------

TKitStringHash::TKitStringHash(uint32_t numItems, bool canGrow)
    : TKitStringHash(GetGoodHashSize(numItems), numItems, canGrow)
{
}

TKitStringHash::TKitStringHash(uint32_t numBuckets, uint32_t numItems, bool canGrow)
    : shBuckets(std::max<uint32_t>(numBuckets, 1), 0), shCanGrow(canGrow), shItems(size_t(numItems) + 1),
      shNumBuckets(std::max<uint32_t>(numBuckets, 1)), shSize(numItems)
{
    shItems[0].Value = -1;
}

void TKitStringHash::Link(uint32_t idx)
{
    const uint32_t bucket = HashOf(shItems[idx].Key) % shNumBuckets;
    shItems[idx].Next = shBuckets[bucket];
    shBuckets[bucket] = idx;
}

void TKitStringHash::Grow()
{
    const size_t newLength = 2 * shItems.size() + 1;
    if (newLength - 1 > (size_t(1) << 30))
        GetGoodHashSize(uint32_t(std::min<size_t>(newLength, 0xFFFFFFFFu)));  // raises
    shItems.resize(newLength);
    shNumBuckets = GetGoodHashSize(uint32_t(newLength));
    shBuckets.assign(shNumBuckets, 0);
    shSize = uint32_t(newLength - 1);
    for (uint32_t i = 1; i < shFirstEmpty; ++i)
        Link(i);
}

void TKitStringHash::Add(const QString& key, int64_t value)
{
    if (shFirstEmpty > shSize) {
        if (!shCanGrow)
            throw Exception(QStringLiteral("TKitStringHash.Add: Maximum size reached"));
        Grow();
    }
    const uint32_t idx = shFirstEmpty;
    shItems[idx].Key = key;
    shItems[idx].Value = value;
    Link(idx);
    ++shFirstEmpty;
}

uint32_t TKitStringHash::FindBucket(const QString& key) const
{
    for (uint32_t i = shBuckets[HashOf(key) % shNumBuckets]; i != 0; i = shItems[i].Next)
        if (shItems[i].Key == key)
            return i;
    return 0;
}

void TKitStringHash::Update(const QString& key, int64_t value)
{
    const uint32_t idx = FindBucket(key);
    if (idx)
        shItems[idx].Value = value;
    else
        Add(key, value);
}

bool TKitStringHash::Find(const QString& key, int64_t& value) const
{
    const uint32_t idx = FindBucket(key);
    if (!idx)
        return false;
    value = shItems[idx].Value;
    return true;
}

int64_t TKitStringHash::ValueOf(const QString& key) const
{
    const uint32_t idx = FindBucket(key);
    if (!idx)
        throw Exception(QStringLiteral("TKitStringHash.ValueOf: Key %1 does not exist").arg(key));
    return shItems[idx].Value;
}

void TKitStringHash::ForEach(const std::function<void(const TKitStringHashKV&)>& enumerator) const
{
    TKitStringHashEnumerator e(*this);
    while (e.MoveNext())
        enumerator(e.Current());
}

bool TKitStringHashEnumerator::MoveNext()
{
    if (sheIndex >= uint32_t(sheHash.Count()))
        return false;
    ++sheIndex;
    return true;
}

const TKitStringHashKV& TKitStringHashEnumerator::Current()
{
    sheKV.kvKey = sheHash.shItems[sheIndex].Key;
    sheKV.kvValue = sheHash.shItems[sheIndex].Value;
    return sheKV;
}

// --- TKitStringObjectHash ------------------------------------------------------

TKitStringObjectHash::TKitStringObjectHash(uint32_t numItems, bool canGrow, bool ownsObjects)
    : sohHash(numItems, canGrow), sohOwnsObjects(ownsObjects)
{
}

TKitStringObjectHash::TKitStringObjectHash(uint32_t numBuckets, uint32_t numItems, bool canGrow, bool ownsObjects)
    : sohHash(numBuckets, numItems, canGrow), sohOwnsObjects(ownsObjects)
{
}

TKitStringObjectHash::~TKitStringObjectHash()
{
    if (sohOwnsObjects)
        sohHash.ForEach([](const TKitStringHashKV& kv) { delete AsObject(kv.kvValue); });
}

void TKitStringObjectHash::Add(const QString& key, TWeftObject* value)
{
    sohHash.Add(key, AsValue(value));
}

void TKitStringObjectHash::Update(const QString& key, TWeftObject* value)
{
    if (sohOwnsObjects) {
        int64_t old;
        if (sohHash.Find(key, old) && AsObject(old) != value)
            delete AsObject(old);
    }
    sohHash.Update(key, AsValue(value));
}

bool TKitStringObjectHash::Find(const QString& key, TWeftObject*& value) const
{
    int64_t v;
    const bool found = sohHash.Find(key, v);
    value = found ? AsObject(v) : nullptr;
    return found;
}

TWeftObject* TKitStringObjectHash::ValueOf(const QString& key) const
{
    return AsObject(sohHash.ValueOf(key));
}

TWeftObject* TKitStringObjectHash::Objects(const QString& key) const
{
    TWeftObject* o;
    Find(key, o);
    return o;
}

void TKitStringObjectHash::ForEach(const std::function<void(const TKitStringObjectHashKV&)>& enumerator) const
{
    sohHash.ForEach([&](const TKitStringHashKV& kv) { enumerator(TKitStringObjectHashKV{kv.kvKey, AsObject(kv.kvValue)}); });
}
