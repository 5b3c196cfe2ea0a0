// The field-group definition text: the section names with their "::"
// separated properties and the parsed sections of the grid's FieldsGroups.

#include "components/grid/rDBGridFieldGroups.h"

#include "components/base/rpictool.h"
#include "components/base/rtool.h"
#include "platform/rtl/StrUtils.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

const QString Sep = QStringLiteral("::");

QString ColorText(TColor Color)
{
    return Color == clNone ? QString() : ColorToString(Color, false);
}

QString EscapeSep(const QString& Value)
{
    QString v = Value;
    v.replace(Sep, QStringLiteral(": :"));
    // A value ending in ":" would join the separator behind it and shift
    // every later property by one.
    if (v.endsWith(QLatin1Char(':')))
        v += QLatin1Char(' ');
    return v;
}

}  // namespace

int FieldGroupDefinitionID(const QString& Definition)
{
    QString rest = Definition.trimmed();
    bool ok = false;
    const int id = RemoveStrPart(rest, Sep, true).trimmed().toInt(&ok);
    return ok ? id : -1;
}

bool ParseFieldGroupDefinition(const QString& Definition, TFieldGroupDef& Def)
{
    Def = TFieldGroupDef{};
    QString rest = Definition;
    bool ok = false;
    const int id = RemoveStrPart(rest, Sep, true).trimmed().toInt(&ok);
    Def.GroupID = ok ? id : -1;
    Def.GroupCollapsedTitle = RemoveStrPart(rest, Sep, true);
    const QString titleColor = RemoveStrPart(rest, Sep, true).trimmed();
    Def.TitleFontColor = titleColor.isEmpty() ? clNone : StringToColor(titleColor);
    const QString lineColor = RemoveStrPart(rest, Sep, true).trimmed();
    Def.GroupLineColor = lineColor.isEmpty() ? clNone : StringToColor(lineColor);
    Def.ContentCollapsedMask = RemoveStrPart(rest, Sep, true);
    Def.GroupLocked = RemoveStrPart(rest, Sep, true).trimmed() == QLatin1String("1");
    Def.MergedCellTitle = RemoveStrPart(rest, Sep, true);
    return Def.GroupID >= 1;
}

QString BuildFieldGroupDefinition(const TFieldGroupDef& Def)
{
    const QStringList parts{QString::number(Def.GroupID),
                            EscapeSep(Def.GroupCollapsedTitle),
                            EscapeSep(ColorText(Def.TitleFontColor)),
                            EscapeSep(ColorText(Def.GroupLineColor)),
                            EscapeSep(Def.ContentCollapsedMask),
                            Def.GroupLocked ? QStringLiteral("1") : QStringLiteral("0"),
                            EscapeSep(Def.MergedCellTitle)};
    return parts.join(Sep);
}

// ---- TFieldGroupsIni ---------------------------------------------------------------------

void TFieldGroupsIni::Load(const QString& Text)
{
    FSections.clear();
    FSortedValid = FGroupsValid = false;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    Section* current = nullptr;
    for (const QString& raw : Text.split(lineBreak)) {
        const QString t = raw.trimmed();
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            const QString name = t.mid(1, t.size() - 2).trimmed();
            current = const_cast<Section*>(Find(name));
            if (!current) {
                FSections.push_back(Section{name, {}});
                current = &FSections.back();
            }
            continue;
        }
        const qsizetype eq = t.indexOf(QLatin1Char('='));
        if (!current || eq <= 0 || t.startsWith(QLatin1Char(';')))
            continue;
        current->Lines.emplace_back(t.left(eq).trimmed(), t.mid(eq + 1).trimmed());
    }
}

const TFieldGroupsIni::Section* TFieldGroupsIni::Find(const QString& Name) const
{
    for (const Section& s : FSections)
        if (SameText(s.Name, Name))
            return &s;
    return nullptr;
}

void TFieldGroupsIni::Erase(const QString& Name)
{
    auto it = std::find_if(FSections.begin(), FSections.end(), [&](const Section& s) { return SameText(s.Name, Name); });
    if (it != FSections.end())
        FSections.erase(it);
    FSortedValid = FGroupsValid = false;
}

void TFieldGroupsIni::Write(const QString& SectionName, const QString& Key, const QString& Value)
{
    auto* s = const_cast<Section*>(Find(SectionName));
    if (!s) {
        FSections.push_back(Section{SectionName, {}});
        s = &FSections.back();
        FSortedValid = FGroupsValid = false;
    }
    for (auto& line : s->Lines)
        if (SameText(line.first, Key)) {
            line.second = Value;
            return;
        }
    s->Lines.emplace_back(Key, Value);
}

QString TFieldGroupsIni::Text() const
{
    QString out;
    for (const Section& s : FSections) {
        out += QLatin1Char('[') + s.Name + QStringLiteral("]\r\n");
        for (const auto& line : s.Lines)
            out += line.first + QLatin1Char('=') + line.second + QStringLiteral("\r\n");
        out += QStringLiteral("\r\n");
    }
    return out;
}

const QStringList& TFieldGroupsIni::SortedNames() const
{
    if (FSortedValid)
        return FSortedNames;
    FSortedNames.clear();
    for (const Section& s : FSections)
        FSortedNames << s.Name;
    std::stable_sort(FSortedNames.begin(), FSortedNames.end(),
                     [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    FSortedValid = true;
    return FSortedNames;
}

QStringList TFieldGroupsIni::FieldList(const Section& S)
{
    QStringList fields;
    for (const auto& line : S.Lines) {
        if (SameText(line.second, QStringLiteral("M")))
            fields.prepend(line.first);
        else
            fields.append(line.first);
    }
    return fields;
}

const TFieldGroupsIni::Group* TFieldGroupsIni::GroupOfField(const QString& FieldName) const
{
    if (!FGroupsValid) {
        FGroups.clear();
        FGroupOfField.clear();
        for (const QString& name : SortedNames()) {
            const Section* s = Find(name);
            Group g;
            g.Name = name;
            g.IsGroup = ParseFieldGroupDefinition(name, g.Def);
            g.Fields = FieldList(*s);
            FGroups.push_back(std::move(g));
        }
        // Walked backwards so that the first section in sorted order wins.
        for (int i = int(FGroups.size()) - 1; i >= 0; --i)
            for (const auto& line : Find(FGroups[size_t(i)].Name)->Lines)
                FGroupOfField.insert(line.first.toUpper(), i);
        FGroupsValid = true;
    }
    const auto it = FGroupOfField.constFind(FieldName.toUpper());
    return it == FGroupOfField.cend() ? nullptr : &FGroups[size_t(*it)];
}
