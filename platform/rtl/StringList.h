#pragma once
// TStringList: an ordered list of texts with an optional object per line,
// name=value access, delimited and line-break forms, sorting and files.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList {
public:
    TStringList() = default;
    virtual ~TStringList() = default;
    // A copy takes the lines and settings, never the owner's change handler.
    TStringList(const TStringList& Other);
    TStringList& operator=(const TStringList& Other);

    // Called after every change of the lines; between BeginUpdate and the
    // matching EndUpdate only once, at the end, when anything changed.
    std::function<void()> OnChange;
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    int Count() const { return int(FItems.size()); }
    const QString& operator[](int Index) const;
    QString Strings(int Index) const { return (*this)[Index]; }
    void SetStrings(int Index, const QString& S);
    void* Objects(int Index) const;
    void SetObjects(int Index, void* Obj);

    int Add(const QString& S);
    int AddObject(const QString& S, void* Obj);
    void AddStrings(const TStringList& Other);
    void Insert(int Index, const QString& S);
    void Delete(int Index);
    void Clear();
    void Exchange(int A, int B);
    int IndexOf(const QString& S) const;
    int IndexOfName(const QString& Name) const;
    int IndexOfObject(const void* Obj) const;
    bool Find(const QString& S, int& Index) const;  // binary search on a sorted list

    QString Names(int Index) const;
    QString ValueFromIndex(int Index) const;
    QString Values(const QString& Name) const;
    void SetValues(const QString& Name, const QString& Value);  // empty value deletes the line

    QString Text() const;  // lines joined with LineBreak, each line ended by it
    void SetText(const QString& S);
    QString CommaText() const;
    void SetCommaText(const QString& S);
    QString DelimitedText() const;
    void SetDelimitedText(const QString& S);

    void Sort();
    bool Sorted() const { return FSorted; }
    void SetSorted(bool V);
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool V);

    TDuplicates Duplicates = dupIgnore;
    QChar Delimiter = QLatin1Char(',');
    QChar QuoteChar = QLatin1Char('"');
    QChar NameValueSeparator = QLatin1Char('=');
    bool StrictDelimiter = false;
    QString LineBreak = QStringLiteral("\r\n");

    void LoadFromFile(const QString& FileName);  // UTF-8 (BOM honoured), Windows-1252 when not UTF-8
    void SaveToFile(const QString& FileName) const;  // UTF-8 without BOM; raises EFCreateError-like EInOutError

    QStringList ToQStringList() const;
    void Assign(const QStringList& L);

protected:
    int CompareStrings(const QString& A, const QString& B) const;

private:
    struct Item {
        QString S;
        void* Obj = nullptr;
    };
    void CheckIndex(int Index) const;
    void Changed();
    std::vector<Item> FItems;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
    bool FSorted = false;
    bool FCaseSensitive = false;
};

// Decodes text file bytes: BOM first, then strict UTF-8, else Windows-1252.
QString DecodeTextBytes(const QByteArray& Bytes);
