#pragma once
// Insert-only hash tables keyed by case-sensitive strings: TKitStringHash
// maps a string to a 64-bit value, TKitStringObjectHash to an object (which
// it may own). Keys are hashed with SuperFastHash over the text's UTF-16
// bytes; bucket counts come from a fixed table of primes. A table has a
// fixed size or doubles when full. No locks: one owner at a time.

#include "tasks/WeftBase.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

// The bucket count for that many items; raises above 2^30 items.
uint32_t GetGoodHashSize(uint32_t dataSize);
// SuperFastHash (Paul Hsieh) of length bytes; 0 for no data.
uint32_t HashOf(const void* data, int length);
// The hash of the key's UTF-16 code units; 0 for the empty text.
uint32_t HashOf(const QString& key);

struct TKitStringHashKV {
    QString kvKey;
    int64_t kvValue = 0;
};

class TKitStringHash;

// Visits items in the order they were added (hidden duplicates included).
class TKitStringHashEnumerator {
public:
    explicit TKitStringHashEnumerator(const TKitStringHash& hash) : sheHash(hash) {}
    bool MoveNext();
    const TKitStringHashKV& Current();

private:
    const TKitStringHash& sheHash;
    uint32_t sheIndex = 0;
    TKitStringHashKV sheKV;
};

class TKitStringHash {
public:
    TKitStringHash(uint32_t numItems, bool canGrow);
    TKitStringHash(uint32_t numBuckets, uint32_t numItems, bool canGrow);

    // Puts the key in front of its chain without looking for it: a second
    // Add of a key hides the first for look-ups. A full fixed-size table
    // raises "TKitStringHash.Add: Maximum size reached".
    void Add(const QString& key, int64_t value);
    // Replaces the value of a present key, adds an absent one.
    void Update(const QString& key, int64_t value);
    bool Find(const QString& key, int64_t& value) const;
    bool HasKey(const QString& key) const { return FindBucket(key) != 0; }
    // Raises "TKitStringHash.ValueOf: Key %s does not exist".
    int64_t ValueOf(const QString& key) const;
    int Count() const { return int(shFirstEmpty - 1); }
    void ForEach(const std::function<void(const TKitStringHashKV&)>& enumerator) const;
    TKitStringHashEnumerator GetEnumerator() const { return TKitStringHashEnumerator(*this); }
    uint32_t NumBuckets() const { return shNumBuckets; }
    uint32_t Size() const { return shSize; }

private:
    friend class TKitStringHashEnumerator;
    struct TKitHashItem {
        uint32_t Next = 0;
        QString Key;
        int64_t Value = 0;
    };
    uint32_t FindBucket(const QString& key) const;
    void Grow();
    void Link(uint32_t idx);

    std::vector<uint32_t> shBuckets;
    bool shCanGrow;
    uint32_t shFirstEmpty = 1;
    std::vector<TKitHashItem> shItems;
    uint32_t shNumBuckets;
    uint32_t shSize;
};

struct TKitStringObjectHashKV {
    QString kvKey;
    TWeftObject* kvValue = nullptr;
};

class TKitStringObjectHash {
public:
    TKitStringObjectHash(uint32_t numItems, bool canGrow, bool ownsObjects);
    TKitStringObjectHash(uint32_t numBuckets, uint32_t numItems, bool canGrow, bool ownsObjects);
    ~TKitStringObjectHash();
    TKitStringObjectHash(const TKitStringObjectHash&) = delete;
    TKitStringObjectHash& operator=(const TKitStringObjectHash&) = delete;

    void Add(const QString& key, TWeftObject* value);
    // With ownership the old object of a present key is freed first when it
    // differs from the new one.
    void Update(const QString& key, TWeftObject* value);
    // value becomes nullptr when the key is absent.
    bool Find(const QString& key, TWeftObject*& value) const;
    bool HasKey(const QString& key) const { return sohHash.HasKey(key); }
    // Raises "TKitStringHash.ValueOf: Key %s does not exist".
    TWeftObject* ValueOf(const QString& key) const;
    // The object, or nullptr for an absent key.
    TWeftObject* Objects(const QString& key) const;
    int Count() const { return sohHash.Count(); }
    void ForEach(const std::function<void(const TKitStringObjectHashKV&)>& enumerator) const;

private:
    TKitStringHash sohHash;
    bool sohOwnsObjects;
};
