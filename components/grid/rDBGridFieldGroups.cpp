// Field groups of the data grid: reading and writing the definitions, the
// group of a field or column, keeping members behind their master, the drag
// rule, collapse and expand, and the collapsed master's texts.

#include "components/grid/rDBGrid.h"

#include "components/grid/rdbtool.h"
#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"
#include "platform/rtl/StrUtils.h"

namespace {

TFieldGroupDef MakeDef(int GroupID, const QString& MergedCellTitle, const QString& GroupCollapsedTitle,
                       const QString& ContentCollapsed, TColor TitleFontColor, TColor GroupLineColor, bool GroupLocked)
{
    TFieldGroupDef d;
    d.GroupID = GroupID;
    d.MergedCellTitle = MergedCellTitle;
    d.GroupCollapsedTitle = GroupCollapsedTitle;
    d.ContentCollapsedMask = ContentCollapsed;
    d.TitleFontColor = TitleFontColor;
    d.GroupLineColor = GroupLineColor;
    d.GroupLocked = GroupLocked;
    return d;
}

bool SameGroup(const TGroupInfo& A, const TGroupInfo& B)
{
    return A.IsGrouped && B.IsGrouped && A.GroupID == B.GroupID;
}

}  // namespace

// ---- the definitions ------------------------------------------------------------------------

const TFieldGroupsIni& TrDBGrid::FieldGroupsIni()
{
    if (!FFieldsGroupsIni)
        FFieldsGroupsIni = std::make_shared<TFieldGroupsIni>();
    // Compared line by line: building the whole text on every paint costs more.
    const QStringList lines = FieldsGroups.ToQStringList();
    if (lines != FFieldsGroupsLines) {
        FFieldsGroupsLines = lines;
        FFieldsGroupsIni->Load(lines.join(QStringLiteral("\r\n")));
    }
    return *FFieldsGroupsIni;
}

void TrDBGrid::FieldsGroupsChanged()
{
    FieldGroupsIni();
    Invalidate();
    FixedGroupedCol(false, false);
}

void TrDBGrid::SetFieldsGroupsText(const QString& Text)
{
    // The list's change handler regroups the columns.
    FieldsGroups.SetText(Text);
}

void TrDBGrid::SetGroupsActive(bool Value)
{
    if (FOptionsEx2.Groups.Active == Value)
        return;
    // The option's setter lays the grid out again and regroups the columns.
    FOptionsEx2.Groups.Active = Value;
}

void TrDBGrid::SetGroupsShowMergedCell(bool Value)
{
    if (FOptionsEx2.Groups.ShowMergedCell == Value)
        return;
    FOptionsEx2.Groups.ShowMergedCell = Value;
}

int TrDBGrid::GroupHeight() const
{
    const TOptionsGroups& g = FOptionsEx2.Groups;
    if (!g.Active)
        return 0;
    return UseScale(g.ShowMergedCell ? g.MergeCellHeightPixels : g.GroupHeightPixels);
}

int TrDBGrid::GetGroupID(const QString& GroupDef)
{
    return FieldGroupDefinitionID(GroupDef);
}

int TrDBGrid::Fields_GetGroupList(TStringList* GroupList)
{
    if (!GroupList)
        return 0;
    GroupList->Clear();
    for (const QString& name : FieldGroupsIni().SortedNames())
        GroupList->AddObject(name, reinterpret_cast<void*>(intptr_t(std::max(0, GetGroupID(name)))));
    return GroupList->Count();
}

QString TrDBGrid::Fields_GetGroupDefinition(int GroupID)
{
    for (const QString& name : FieldGroupsIni().SortedNames())
        if (GetGroupID(name) == GroupID)
            return name;
    return QString();
}

bool TrDBGrid::Fields_GetGroupSettingsEx(const QString& GroupDefinition, int& GroupID, QString& MergedCellTitle,
                                         QString& GroupCollapsedTitle, QString& ContentCollapsed, TColor& TitleFontColor,
                                         TColor& GroupLineColor, bool& GroupLocked, QStringList* FieldList)
{
    TFieldGroupDef d;
    const bool isGroup = ParseFieldGroupDefinition(GroupDefinition, d);
    GroupID = d.GroupID;
    MergedCellTitle = d.MergedCellTitle;
    GroupCollapsedTitle = d.GroupCollapsedTitle;
    ContentCollapsed = d.ContentCollapsedMask;
    TitleFontColor = d.TitleFontColor;
    GroupLineColor = d.GroupLineColor;
    GroupLocked = d.GroupLocked;
    if (FieldList) {
        FieldList->clear();
        if (const TFieldGroupsIni::Section* s = FieldGroupsIni().Find(GroupDefinition.trimmed()))
            *FieldList = TFieldGroupsIni::FieldList(*s);
    }
    return isGroup;
}

bool TrDBGrid::Fields_GetGroupSettings(const QString& GroupDefinition, int& GroupID, QString& GroupCollapsedTitle,
                                       QString& ContentCollapsed, TColor& TitleFontColor, TColor& GroupLineColor,
                                       bool& GroupLocked, QStringList* FieldList)
{
    QString merged;
    return Fields_GetGroupSettingsEx(GroupDefinition, GroupID, merged, GroupCollapsedTitle, ContentCollapsed,
                                     TitleFontColor, GroupLineColor, GroupLocked, FieldList);
}

QString TrDBGrid::Fields_SetGroupSettingsEx(int GroupID, const QString& MergedCellTitle, const QString& GroupCollapsedTitle,
                                            const QString& ContentCollapsed, TColor TitleFontColor, TColor GroupLineColor,
                                            bool GroupLocked, const QStringList& FieldList)
{
    const QString def = BuildFieldGroupDefinition(
        MakeDef(GroupID, MergedCellTitle, GroupCollapsedTitle, ContentCollapsed, TitleFontColor, GroupLineColor, GroupLocked));
    if (GroupID <= 0)
        return def;
    TFieldGroupsIni ini = FieldGroupsIni();
    const QString old = Fields_GetGroupDefinition(GroupID);
    if (!old.isEmpty())
        ini.Erase(old);
    for (int i = 0; i < FieldList.size(); ++i)
        ini.Write(def, FieldList[i], i == 0 ? QStringLiteral("M") : QStringLiteral("0"));
    SetFieldsGroupsText(ini.Text());
    return def;
}

QString TrDBGrid::Fields_SetGroupSettings(int GroupID, const QString& GroupCollapsedTitle, const QString& ContentCollapsed,
                                          TColor TitleFontColor, TColor GroupLineColor, bool GroupLocked,
                                          const QStringList& FieldList)
{
    return Fields_SetGroupSettingsEx(GroupID, QString(), GroupCollapsedTitle, ContentCollapsed, TitleFontColor,
                                     GroupLineColor, GroupLocked, FieldList);
}

// ---- group information ------------------------------------------------------------------------

TGroupInfo TrDBGrid::GetFldGroupInfo(TField* Fld, bool SkipCheckFldGroupOption)
{
    TGroupInfo info;
    info.Field = Fld;
    if (!(FOptionsEx2.Groups.Active || SkipCheckFldGroupOption) || !Fld || !IsDatasetLinked())
        return info;
    const TFieldGroupsIni::Group* g = FieldGroupsIni().GroupOfField(Fld->FieldName());
    if (!g)
        return info;
    info.IsGrouped = g->IsGroup;
    info.GroupID = g->Def.GroupID;
    info.MergedCellTitle = g->Def.MergedCellTitle;
    info.GroupCollapsedTitle = g->Def.GroupCollapsedTitle;
    info.ContentCollapsedMask = g->Def.ContentCollapsedMask;
    info.TitleFontColor = g->Def.TitleFontColor;
    info.GroupLineColor = g->Def.GroupLineColor;
    info.GroupLocked = g->Def.GroupLocked;
    if (!g->Fields.isEmpty()) {
        info.IsMaster = SameText(g->Fields.first(), Fld->FieldName());
        info.MasterField = info.IsMaster ? Fld : (DataSet() ? DataSet()->FindField(g->Fields.first()) : nullptr);
    }
    return info;
}

TGroupInfo TrDBGrid::GetColGroupInfo(int ColIdx, bool FindFirstVisibleCol)
{
    // Raw columns are the visible ones; hidden columns never stand at a raw index.
    (void)FindFirstVisibleCol;
    TColumn* column = ColumnAt(ColIdx);
    return GetFldGroupInfo(column ? column->Field() : nullptr, false);
}

bool TrDBGrid::IsGroupMasterExpanded(int ColIdx)
{
    if (!FOptionsEx2.Groups.Active)
        return false;
    const TGroupInfo master = GetColGroupInfo(ColIdx, false);
    if (!master.IsGrouped || !master.IsMaster)
        return false;
    return SameGroup(master, GetColGroupInfo(ColIdx + 1, true));
}

bool TrDBGrid::IsFieldGroupMasterExpanded(TField* Fld)
{
    bool expanded = false;
    for (int raw = IndicatorOffset(); raw < ColCount(); ++raw)
        if (TColumn* c = ColumnAt(raw); c && c->Field() == Fld)
            expanded = IsGroupMasterExpanded(raw);
    return expanded;
}

bool TrDBGrid::IsFieldGroupMasterVisible(TField* Fld)
{
    const TGroupInfo info = GetFieldGroupInfo(Fld);
    if (!info.IsGrouped || !info.MasterField)
        return false;
    for (int i = 0; i < Columns()->Count(); ++i)
        if (Columns()->Items(i)->Field() == info.MasterField)
            return Columns()->Items(i)->Visible();
    return false;
}

// ---- keeping groups together -------------------------------------------------------------------

void TrDBGrid::FixedGroupedCol(bool SwitchGroupOn, bool RestoreDefaults)
{
    // 1.
    if (RestoreDefaults)
        SetFieldsGroupsText(FFieldsGroupsDefault.Text());
    if (SwitchGroupOn)
        SetGroupsActive(true);
    // 2.
    if (!FOptionsEx2.Groups.Active || !IsDatasetLinked())
        return;
    TDBGridColumns* cols = Columns();
    auto infoAt = [&](int i) { return GetFldGroupInfo(cols->Items(i)->Field(), false); };
    // 3.
    for (int i = 0; i < cols->Count();) {
        i = std::max(i, 0);
        const TGroupInfo m = infoAt(i);
        if (!m.IsGrouped || !m.IsMaster) {
            ++i;
            continue;
        }
        TColumn* master = cols->Items(i);
        const bool visible = master->Visible();
        // 3.1 A member left of the master goes to the master's place; look again.
        int left = -1;
        for (int j = i - 1; j >= 0 && left < 0; --j) {
            const TGroupInfo o = infoAt(j);
            if (SameGroup(o, m) && !o.IsMaster)
                left = j;
        }
        if (left >= 0) {
            TColumn* member = cols->Items(left);
            if (!visible)
                member->SetVisible(false);
            member->SetIndex(master->Index());
            --i;
            continue;
        }
        // 3.2 Members right of it close up behind it.
        int last = i;
        for (int j = i + 1; j < cols->Count(); ++j) {
            if (!SameGroup(infoAt(j), m))
                continue;
            TColumn* member = cols->Items(j);
            if (!visible)
                member->SetVisible(false);
            if (j != last + 1)
                member->SetIndex(last + 1);
            last = member->Index();
        }
        ++i;
    }
}

void TrDBGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    TDBGrid::ColumnMoved(FromIndex, ToIndex);
    MoveGroupedCol(FromIndex, ToIndex);
}

void TrDBGrid::MoveGroupedCol(int FromIndex, int ToIndex)
{
    (void)FromIndex;
    if (!FOptionsEx2.Groups.Active)
        return;
    TColumn* master = ColumnAt(ToIndex);
    const TGroupInfo m = GetFldGroupInfo(master ? master->Field() : nullptr, false);
    if (!m.IsGrouped || !m.IsMaster)
        return;
    // The members, hidden ones too, in their order, directly behind the master.
    std::vector<TColumn*> members;
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumn* c = Columns()->Items(i);
        if (c != master && SameGroup(GetFldGroupInfo(c->Field(), false), m))
            members.push_back(c);
    }
    for (size_t k = 0; k < members.size(); ++k) {
        const int mi = master->Index(), cur = members[k]->Index();
        const int want = mi + 1 + int(k);
        if (cur < mi)
            members[k]->SetIndex(mi + int(k));
        else if (cur != want)
            members[k]->SetIndex(want);
    }
}

bool TrDBGrid::CheckColumnDrag(int& Origin, int& Destination, const TPoint& MousePt)
{
    if (!TDBGrid::CheckColumnDrag(Origin, Destination, MousePt))
        return false;
    if (!FOptionsEx2.Groups.Active || Origin == Destination)
        return true;
    // 1.
    const TGroupInfo o = GetColGroupInfo(Origin, false);
    const int b = Destination + (Origin < Destination ? 1 : 0);
    // 2.
    // (Hidden members never stand at a raw index, so none lie between.)
    const TGroupInfo p = GetColGroupInfo(b - 1, false);
    // 3.
    const TGroupInfo n = GetColGroupInfo(b, false);
    // 4.
    if (!o.IsGrouped && !n.IsGrouped)
        return true;
    // 5.
    if (o.IsGrouped && (SameGroup(o, p) || SameGroup(o, n))) {
        if (o.IsMaster)
            return false;
        return !(SameGroup(o, n) && n.IsMaster);
    }
    // 6.
    if (o.IsGrouped && !o.IsMaster)
        return false;
    // 7.
    if (n.IsGrouped)
        return n.IsMaster;
    return true;
}

// ---- expand and collapse -------------------------------------------------------------------------

void TrDBGrid::IntExpandCollapseGroup(int GroupID, bool Expand)
{
    if (GroupID < 0)
        return;
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumn* c = Columns()->Items(i);
        const TGroupInfo info = GetFldGroupInfo(c->Field(), false);
        if (!info.IsGrouped || info.GroupID != GroupID || info.IsMaster)
            continue;
        c->SetVisible(Expand);
        if (Expand && (!(c->AssignedValues() & cvWidth) || c->Width() <= 0))
            SetOneColumnWidth(cwDefaultWidth, c, 0);
    }
    if (FColumnWidth == cwSameWidth || FColumnWidth == cwAutoWidth)
        SetColumnWidth(FColumnWidth, 0);
    Invalidate();
}

void TrDBGrid::IntExpandCollapseAll(bool Expand)
{
    TStringList groups;
    Fields_GetGroupList(&groups);
    for (int i = 0; i < groups.Count(); ++i)
        if (const int id = GetGroupID(groups[i]); id >= 0)
            IntExpandCollapseGroup(id, Expand);
}

void TrDBGrid::CollapseGroup(TField* Fld)
{
    const TGroupInfo info = GetFieldGroupInfo(Fld);
    if (info.IsGrouped && info.IsMaster)
        IntExpandCollapseGroup(info.GroupID, false);
}

void TrDBGrid::ExpandGroup(TField* Fld)
{
    const TGroupInfo info = GetFieldGroupInfo(Fld);
    if (info.IsGrouped && info.IsMaster)
        IntExpandCollapseGroup(info.GroupID, true);
}

// ---- the collapsed master's texts -------------------------------------------------------------

bool TrDBGrid::GetGroupMasterTitleContent(TField* Fld, QString& Text)
{
    const TGroupInfo info = GetFieldGroupInfo(Fld);
    if (!info.IsGrouped || !info.IsMaster || info.GroupCollapsedTitle.isEmpty() || IsFieldGroupMasterExpanded(Fld))
        return false;
    Text = info.GroupCollapsedTitle;
    return true;
}

bool TrDBGrid::GetGroupMasterCellContent(TField* Fld, QString& Text)
{
    const TGroupInfo info = GetFieldGroupInfo(Fld);
    if (!info.IsGrouped || !info.IsMaster || info.ContentCollapsedMask.isEmpty() || IsFieldGroupMasterExpanded(Fld))
        return false;
    Text = IsEmpty() ? QString() : FillTextMask(info.ContentCollapsedMask, DataSet(), QStringLiteral("<<"), QStringLiteral(">>"));
    return true;
}
