#pragma once
// TJsonNode: the program's only JSON reader. Parse walks the text once,
// without recursion, and builds a tree of nodes: objects (members by name),
// arrays (items in order) and scalar values kept as their written text.
// It is tolerant and checks no syntax; callers walk the tree by member name
// and index and read values through the typed getters.
//
// The caller of Parse owns the root; every other node of the tree belongs to
// it and must not be freed on its own. A tree belongs to the thread that
// parsed it.

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FormatSettings.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>
#include <memory>
#include <vector>

SORVEX_EXCEPTION_KIND(EJSONUnknownFieldOrIndex, Exception)
SORVEX_EXCEPTION_KIND(EJSONParseError, Exception)

// The reader's date settings: "-" and ":" as separators, "yyyy-mm-dd" and
// "hh:nn:ss" as the date and time formats. Fixed when the program starts.
extern TFormatSettings JsonNodeFormatSettings;

class TJsonNode;
struct TJsonStore;

// The members of an object, by name (names compared exactly).
class TJsonNodeItems {
public:
    using TEntry = std::pair<QStringView, TJsonNode*>;

    int Count() const { return FCount; }
    bool ContainsKey(const QString& Name) const { return Find(Name) != nullptr; }
    bool TryGetValue(const QString& Name, TJsonNode*& Node) const;
    QStringList Keys() const;
    TJsonNode* Find(QStringView Name) const;

private:
    friend class TJsonNode;
    friend struct TJsonParser;

    // Both live in the tree's store: the members are laid down in one piece
    // when the object is complete, so an object costs no allocation of its own.
    const TEntry* FEntries = nullptr;
    int FCount = 0;
    // Large objects get an index so that lookups and the duplicate check of
    // the parse stay cheap.
    QHash<QStringView, TJsonNode*>* FIndex = nullptr;
};

// The items of an array, in text order.
class TJsonNodeListItems {
public:
    int Count() const { return FCount; }
    TJsonNode* operator[](int Index) const { return FItems[Index]; }
    TJsonNode* const* begin() const { return FItems; }
    TJsonNode* const* end() const { return FItems + FCount; }

private:
    friend class TJsonNode;
    friend struct TJsonParser;
    TJsonNode* const* FItems = nullptr;  // in the tree's store
    int FCount = 0;
};

class TJsonNode {
public:
    enum class TValueKind : unsigned char { vkUnassigned, vkNull, vkBoolean, vkText };

    // A node with the given parent, no flags and no value; it does not add
    // itself to the parent.
    explicit TJsonNode(TJsonNode* AParent = nullptr);
    ~TJsonNode();
    TJsonNode(const TJsonNode&) = delete;
    TJsonNode& operator=(const TJsonNode&) = delete;

    // The first object or array of the text, or empty when it holds none.
    static std::unique_ptr<TJsonNode> Parse(const QString& AJSON);

    TJsonNode* Parent() const { return FIsRoot ? nullptr : FParent; }
    bool IsList() const { return FIsList; }
    bool IsDict() const { return FIsDict; }
    TValueKind ValueKind() const { return TValueKind(FKind); }
    // The scalar value: invalid when unassigned, a null QVariant of type
    // nullptr_t for null, bool or QString otherwise.
    QVariant Value() const;
    // Empty for nodes that are not objects / arrays.
    const TJsonNodeItems* Items() const { return FIsDict ? FItems : nullptr; }
    const TJsonNodeListItems* ListItems() const { return FIsList ? FListItems : nullptr; }

    QString AsString() const;
    int AsInteger() const;
    int64_t AsInt64() const;
    bool AsBoolean() const;
    TDateTime AsDateTime() const;

    // The default indexed property: an integer picks an array item by its
    // zero-based index, a text an object member by name.
    TJsonNode& GetJSONByNameOrIndex(const QVariant& AData) const;
    TJsonNode& operator[](const QVariant& AData) const { return GetJSONByNameOrIndex(AData); }
    TJsonNode& operator[](const QString& Name) const { return Member(Name); }
    TJsonNode& operator[](const char* Name) const { return Member(QString::fromUtf8(Name)); }
    TJsonNode& operator[](int Index) const { return Item(Index); }

    TJsonNode& Member(QStringView Name) const;
    TJsonNode& Item(int64_t Index) const;

    // Iterates the items of an array node (nothing for other nodes).
    TJsonNode* const* begin() const { return FIsList ? FListItems->begin() : nullptr; }
    TJsonNode* const* end() const { return FIsList ? FListItems->end() : nullptr; }

private:
    friend struct TJsonParser;
    friend struct TJsonStore;

    // A reply makes a node for every value it holds, so a node is kept to
    // 32 bytes: the root of a parsed tree keeps its store where other nodes
    // keep their parent, and a node is an object or an array, never both.
    union {
        TJsonNode* FParent = nullptr;
        TJsonStore* FStore;  // the root of a parsed tree: everything the tree is made of
    };
    const char16_t* FTextData = nullptr;  // into the parsed text or the store's decoded texts
    int32_t FTextSize = 0;
    bool FIsRoot : 1 = false;
    bool FIsList : 1 = false;
    bool FIsKeyValue : 1 = false;
    bool FIsDict : 1 = false;
    bool FBool : 1 = false;
    unsigned char FKind : 2 = 0;  // a TValueKind
    union {
        TJsonNodeItems* FItems = nullptr;
        TJsonNodeListItems* FListItems;
    };

    QStringView Text() const { return QStringView(FTextData, FTextSize); }
    QString KindName() const;
};

// Reads an XML Schema dateTime ("yyyy-mm-ddThh:nn:ss", optional fraction,
// optional "Z" or offset). With an offset the result is in UTC; without one
// the written wall-clock time is taken unchanged. Raises EConvertError.
TDateTime XMLTimeToDateTime(const QString& Text);
