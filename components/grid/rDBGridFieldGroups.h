#pragma once
// Field groups of the data grid: a master column followed by its member
// columns. The grid's FieldsGroups text holds one INI section per group,
// named by the group's properties joined by "::"
//   [id::collapsed title::title colour::line colour::content mask::locked::merged title]
// with one line per field: NAME=M for the master, NAME=0 for a member.
// A "::" inside a property is written as ": :".

#include "platform/ui/Graphics.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

class TField;

// What the grid knows about one field's group.
struct TGroupInfo {
    TField* Field = nullptr;
    bool IsGrouped = false;
    int GroupID = -1;
    QString MergedCellTitle;
    QString GroupCollapsedTitle;
    QString ContentCollapsedMask;
    TColor TitleFontColor = clNone;
    TColor GroupLineColor = clNone;
    bool IsMaster = false;
    TField* MasterField = nullptr;
    bool GroupLocked = false;
};

// The properties of one group as the section name carries them.
struct TFieldGroupDef {
    int GroupID = -1;
    QString GroupCollapsedTitle;
    TColor TitleFontColor = clNone;
    TColor GroupLineColor = clNone;
    QString ContentCollapsedMask;
    bool GroupLocked = false;
    QString MergedCellTitle;
};

// Parses a section name; true when it names a group (id >= 1). Missing
// properties stay empty, unknown colours are clNone.
bool ParseFieldGroupDefinition(const QString& Definition, TFieldGroupDef& Def);
// The section name of a group (no separator before the id, "::" inside a value as ": :").
QString BuildFieldGroupDefinition(const TFieldGroupDef& Def);
// The first "::" part of the trimmed definition as a number, -1 when it is none.
int FieldGroupDefinitionID(const QString& Definition);

// The parsed FieldsGroups text: sections in their order, section and key
// names compared without case.
class TFieldGroupsIni {
public:
    struct Section {
        QString Name;
        std::vector<std::pair<QString, QString>> Lines;  // field name, "M" or "0"
    };
    void Load(const QString& Text);
    const std::vector<Section>& Sections() const { return FSections; }
    const Section* Find(const QString& Name) const;
    void Erase(const QString& Name);
    // Sets a line, appending the section at the end when it is new.
    void Write(const QString& SectionName, const QString& Key, const QString& Value);
    // Each section line, its lines, an empty line.
    QString Text() const;
    // The section names sorted as text without case.
    const QStringList& SortedNames() const;
    // A section as the queries read it: its parsed name and fields.
    struct Group {
        QString Name;
        TFieldGroupDef Def;
        bool IsGroup = false;
        QStringList Fields;
    };
    // The first section in sorted order that has a line for the field
    // (nullptr when none); parsed once per text, as painting asks per cell.
    const Group* GroupOfField(const QString& FieldName) const;
    // The group's fields, master first (a later "M" line wins).
    static QStringList FieldList(const Section& S);

private:
    std::vector<Section> FSections;
    // Every paint asks for the sorted names; they change only with the sections.
    mutable QStringList FSortedNames;
    mutable bool FSortedValid = false;
    mutable std::vector<Group> FGroups;
    mutable QHash<QString, int> FGroupOfField;  // upper-case field name -> FGroups index
    mutable bool FGroupsValid = false;
};
