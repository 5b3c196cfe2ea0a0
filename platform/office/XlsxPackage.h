#pragma once
// A ZIP package of a workbook opened through libzip: parts read, added,
// replaced and removed by name, and the list of sheets its workbook part
// names. Used by the workbook reader and by saving into an existing file.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <list>
#include <vector>

struct zip;

class TZipPackage {
public:
    // Opens File for reading, or with Write for changing it in place;
    // raises Exception when it is no ZIP package.
    explicit TZipPackage(const QString& File, bool Write = false);
    // Drops every change that was not committed.
    ~TZipPackage();
    TZipPackage(const TZipPackage&) = delete;
    TZipPackage& operator=(const TZipPackage&) = delete;

    // The part's bytes; empty when the package has no such part.
    QByteArray Part(const QString& Name) const;
    bool Has(const QString& Name) const;
    QStringList Names() const;
    // Adds the part or replaces it.
    void Put(const QString& Name, const QByteArray& Data);
    void Remove(const QString& Name);
    // Writes the changes into the file; raises Exception on failure.
    void Commit();

private:
    QString FFile;
    zip* FZip = nullptr;
    std::list<QByteArray> FKeep;  // the buffers libzip reads when it writes
};

// One sheet as the workbook part lists it.
struct TXlsxSheetEntry {
    QString Name;
    QString Part;   // e.g. "xl/worksheets/sheet1.xml"
    QString RelId;  // its relationship id in the workbook part
};
std::vector<TXlsxSheetEntry> ReadSheetList(const TZipPackage& Package);

// The relationship targets of a part's relationships file by id, as package
// names (targets are relative to BaseFolder, e.g. "xl/").
struct TXlsxRel {
    QString Id;
    QString Type;
    QString Target;
};
std::vector<TXlsxRel> ReadRels(const QByteArray& Xml, const QString& BaseFolder);
