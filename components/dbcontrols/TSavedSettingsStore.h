#pragma once
// Where the dataset dialogs keep what the user saves for later (saved sorts,
// stored filters): sections of string keys in the library's global property
// file. The dialogs reach the file only through this interface; none is set
// while the program keeps no global property file, and then saving is off.

#include <QString>
#include <QStringList>

class TSavedSettingsStore {
public:
    virtual ~TSavedSettingsStore() = default;
    virtual QString ReadString(const QString& Section, const QString& Key, const QString& Default) = 0;
    virtual void WriteString(const QString& Section, const QString& Key, const QString& Value) = 0;
    virtual void EraseSection(const QString& Section) = 0;
};

// The store of the global property file (nullptr: none).
TSavedSettingsStore* GlobalSettingsStore();
void SetGlobalSettingsStore(TSavedSettingsStore* Store);
