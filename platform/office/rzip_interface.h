#pragma once
// The package calls of the office-document reports: open one ZIP package,
// list, read and replace its entries, and write it back. Entry contents cross
// as text with one character per stored byte (the parts are UTF-8 XML).
// Every call returns 0 on success; after a failure GetLastErrorMsg says why.
#include <QString>

#include <cstdint>

struct TZipDLL_interface {
    bool Loaded = false;
    // The ZIP code is linked in, so loading always succeeds; the pair stays
    // so that a pass still brackets its work and drops any package left open.
    bool LoadDll();
    void UnloadDll();
};

struct Trzip_interface {
    bool Loaded = false;

    void Load();
    void UnLoad();
    int OpenArchive(const QString& FileName);
    // With Save the changed package is written to the file it was opened
    // from; without, every change is dropped.
    int CloseArchive(bool Save);
    // The entry names, one per line.
    int GetFileList(QString& List);
    int ExtractToString(const QString& EntryName, QString& Content);
    int AddFromBuffer(const QString& EntryName, const void* Data, int64_t Count);
    int AddFromString(const QString& EntryName, const QString& Content);
    int GetLastErrorMsg(QString& Message);
};

extern TZipDLL_interface zipdll;
extern Trzip_interface rzip;
