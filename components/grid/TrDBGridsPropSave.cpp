#include "components/grid/TrDBGridsPropSave.h"

#include "components/grid/TCellParamsCondList.h"
#include "components/grid/TrDBGridCellConds.h"
#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/TrDBGridFilterBar.h"
#include "components/grid/TPropSaveParts.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"
#include "components/base/ParioCompGlobalCfg.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/DBListControls.h"

namespace {

const QString kColCount = QStringLiteral("ColCount");

}  // namespace

// ---- TDBGridsPropSave -------------------------------------------------------

bool TDBGridsPropSave::CanSave(TComponent* Comp) const
{
    return dynamic_cast<TDBComboBox*>(Comp) || dynamic_cast<TDBListBox*>(Comp) || dynamic_cast<TCustomDBGrid*>(Comp) ||
           dynamic_cast<TDataSet*>(Comp);
}

void TDBGridsPropSave::ProcDBList(TPropSaveAction psAction, TPropSaveFile* F, const QString& Key, TComponent* Comp)
{
    auto* combo = dynamic_cast<TDBComboBox*>(Comp);
    auto* list = dynamic_cast<TDBListBox*>(Comp);
    if (psAction == psaDelete) {
        F->EraseSection(Key);
        return;
    }
    TStringList l;
    if (psAction == psaSave) {
        for (const QString& s : combo ? combo->Items() : list->Items())
            l.Add(s);
        F->WriteStrings(Key, l);
        return;
    }
    if (!F->SectionExists(Key))
        return;
    F->ReadStrings(Key, l);
    QStringList items;
    for (int i = 0; i < l.Count(); ++i)
        items << l[i];
    if (list) {
        list->SetItems(items);
        list->DataChange();
        return;
    }
    combo->SetItems(items);
    // A drop-down list shows its field's value again among the new items.
    if (combo->Style() == csDropDownList) {
        try {
            combo->DataChange();
        } catch (...) {
        }
    }
}

void TDBGridsPropSave::ReadSaveProps(TPropSaveAction psAction, TPropSaveFile* PSFile, TComponent* Comp, const QString& Key)
{
    if (dynamic_cast<TDBComboBox*>(Comp) || dynamic_cast<TDBListBox*>(Comp)) {
        ProcDBList(psAction, PSFile, Key, Comp);
        return;
    }
    if (auto* ds = dynamic_cast<TDataSet*>(Comp)) {
        if (psAction == psaRead)
            ReadDataSet(PSFile, Key, ds);
        else if (psAction == psaSave)
            SaveDataSet(PSFile, Key, ds);
        else
            DelDataSet(PSFile, Key, ds);
        return;
    }
    auto* g = dynamic_cast<TCustomDBGrid*>(Comp);
    if (!g)
        return;
    if (psAction == psaRead)
        ReadDBGrid(PSFile, Key, g);
    else if (psAction == psaSave)
        SaveDBGrid(PSFile, Key, g);
    else
        DelDBGrid(PSFile, Key, g);
}

bool TDBGridsPropSave::FieldInList(const QString& FieldName)
{
    const QString& list = ParioCompConfig.PropSaveCfg.FieldList_UseNewWidth;
    if (list.trimmed().isEmpty())
        return false;
    for (const QString& n : list.split(QLatin1Char(';')))
        if (n.trimmed().compare(FieldName, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool TDBGridsPropSave::StoresAppearance()
{
    return !ParioCompConfig.PropSaveCfg.Grids_UseGlobalSetting;
}

void TDBGridsPropSave::SaveGridAppearance(TPropSaveFile* F, const QString& Key, TCustomDBGrid* G)
{
    F->WriteBool(Key, QStringLiteral("RowLines"), G->Options() & dgRowLines);
    F->WriteBool(Key, QStringLiteral("ColLines"), G->Options() & dgColLines);
    F->WriteInteger(Key, QStringLiteral("ColorStartGradient"), int(G->GradientStartColor));
    F->WriteInteger(Key, QStringLiteral("ColorEndGradient"), int(G->GradientEndColor));
    F->WriteInteger(Key, QStringLiteral("DrawingStyle"), int(G->DrawingStyle()));
    if (G->ParentFont()) {
        F->DeleteFont(Key);
        F->DeleteFont(Key + QStringLiteral(".Title"));
    } else {
        F->WriteFont(Key, *G->Font(), ScaleRatio);
        F->WriteFont(Key + QStringLiteral(".Title"), *G->TitleFont(), ScaleRatio);
    }
}

void TDBGridsPropSave::ReadGridAppearance(TPropSaveFile* F, const QString& Key, TCustomDBGrid* G)
{
    TDBGridOptions o = G->Options();
    o = F->ReadBool(Key, QStringLiteral("RowLines"), o & dgRowLines) ? (o | dgRowLines) : (o & ~dgRowLines);
    o = F->ReadBool(Key, QStringLiteral("ColLines"), o & dgColLines) ? (o | dgColLines) : (o & ~dgColLines);
    G->SetOptions(o);
    G->GradientStartColor = TColor(F->ReadInteger(Key, QStringLiteral("ColorStartGradient"), int(G->GradientStartColor)));
    G->GradientEndColor = TColor(F->ReadInteger(Key, QStringLiteral("ColorEndGradient"), int(G->GradientEndColor)));
    G->SetDrawingStyle(grids::TGridDrawingStyle(
        std::clamp(F->ReadInteger(Key, QStringLiteral("DrawingStyle"), int(G->DrawingStyle())), 0, int(grids::gdsGradient))));
    if (F->ValueExists(Key, QStringLiteral("FontName"))) {
        TFont font = *G->Font();
        F->ReadFont(Key, font, ScaleRatio);
        G->Font()->Assign(font);
    }
    if (F->ValueExists(Key + QStringLiteral(".Title"), QStringLiteral("FontName"))) {
        TFont font = *G->TitleFont();
        F->ReadFont(Key + QStringLiteral(".Title"), font, ScaleRatio);
        G->SetTitleFont(font);
    }
}

void TDBGridsPropSave::SaveDBGrid(TPropSaveFile* F, const QString& Key, TCustomDBGrid* G)
{
    if (StoresAppearance())
        SaveGridAppearance(F, Key, G);
    if (!StoreColumns)
        return;
    TDBGridColumns* cols = G->Columns();
    F->WriteInteger(Key, kColCount, cols->Count());
    const bool customised = cols->State() == csCustomized;
    for (int i = 0; i < cols->Count(); ++i)
        SaveDBColumn(F, Key, i, cols->Items(i), customised);
}

void TDBGridsPropSave::SaveDBColumn(TPropSaveFile* F, const QString& Key, int Idx, TColumn* C, bool Customised)
{
    const QString s = GetColumnKey(Key, Idx);
    F->WriteString(s, QStringLiteral("FieldName"), C->FieldName());
    if (C->Visible())
        F->WriteInteger(s, QStringLiteral("ColWidth"), C->Width());
    F->WriteBool(s, QStringLiteral("ColVisible"), C->Visible());
    if (!StoreColumnsProp)
        return;
    const TColumnValues a = C->AssignedValues();
    auto put = [&](const QString& K, bool Write, int V) {
        if (Write)
            F->WriteInteger(s, K, V);
        else
            F->DeleteKey(s, K);
    };
    put(QStringLiteral("ColColor"), !Customised || ((a & cvColor) && C->Color() != C->DefaultColor()), int(C->Color()));
    if (!Customised || (a & cvFont))
        F->WriteFont(s, *C->Font(), ScaleRatio);
    put(QStringLiteral("ColAlign"), !Customised || (a & cvAlignment), int(C->Alignment()));
    // A title shows the grid's fixed colour unless given its own.
    const TColor titleDefault = C->Grid() ? C->Grid()->FixedColor() : clBtnFace;
    put(QStringLiteral("ColTitleColor"), !Customised || ((a & cvTitleColor) && C->Title()->Color() != titleDefault),
        int(C->Title()->Color()));
    put(QStringLiteral("ColTitleAlign"), !Customised || (a & cvTitleAlignment), int(C->Title()->Alignment()));
    if (!Customised || (a & cvTitleCaption))
        F->WriteString(s, QStringLiteral("ColTitle"), C->Title()->Caption());
    if (TField* f = C->Field()) {
        F->WriteInteger(s, QStringLiteral("FieldWidth"), f->DisplayWidth());
        SaveFieldFormat(F, s, f);
    }
}

namespace {

bool HasDisplayFormat(TField* F)
{
    return dynamic_cast<TNumericField*>(F) || dynamic_cast<TDateTimeField*>(F) || dynamic_cast<TSQLTimeStampField*>(F);
}

}  // namespace

void TDBGridsPropSave::SaveFieldFormat(TPropSaveFile* F, const QString& Section, TField* Fld)
{
    if (HasDisplayFormat(Fld) && !Fld->DisplayFormat().isEmpty())
        F->WriteString(Section, QStringLiteral("FieldFormat"), Fld->DisplayFormat());
}

void TDBGridsPropSave::ReadFieldWidthFormat(TPropSaveFile* F, const QString& Section, TField* Fld)
{
    // Fields the program now sizes itself keep their designed width and format.
    if (FieldInList(Fld->FieldName()))
        return;
    Fld->SetDisplayWidth(F->ReadInteger(Section, QStringLiteral("FieldWidth"), Fld->DisplayWidth()));
    if (HasDisplayFormat(Fld))
        Fld->SetDisplayFormat(F->ReadString(Section, QStringLiteral("FieldFormat"), Fld->DisplayFormat()));
}

int TDBGridsPropSave::ReadDBColumnList(TPropSaveFile* F, const QString& Key)
{
    SavedDBColumnFieldList.Clear();
    const int n = F->ReadInteger(Key, kColCount, -1);
    for (int i = 0; i < n; ++i)
        SavedDBColumnFieldList.Add(F->ReadString(GetColumnKey(Key, i), QStringLiteral("FieldName"), QString()));
    return n;
}

void TDBGridsPropSave::ReadDBGrid(TPropSaveFile* F, const QString& Key, TCustomDBGrid* G)
{
    if (StoresAppearance())
        ReadGridAppearance(F, Key, G);
    if (!StoreColumns)
        return;
    const int n = ReadDBColumnList(F, Key);
    if (n <= 0)
        return;
    TDBGridColumns* cols = G->Columns();
    // Columns the file does not know keep their design places between the stored ones.
    std::vector<int> mark(size_t(cols->Count()), 0);
    for (int p = 0; p < cols->Count(); ++p)
        mark[size_t(p)] = SavedDBColumnFieldList.IndexOf(cols->Items(p)->FieldName()) < 0 ? 1 : 0;
    for (int j = 0; j < n; ++j) {
        const QString name = SavedDBColumnFieldList[j];
        TColumn* found = nullptr;
        for (int p = 0; p < cols->Count(); ++p)
            if (cols->Items(p)->FieldName() == name)
                found = cols->Items(p);
        if (!found) {
            if (EraseUnusedSection)
                F->EraseSection(GetColumnKey(Key, j));
            continue;
        }
        int m = 0;
        for (int p = 0; p < j && p < int(mark.size()); ++p)
            m += mark[size_t(p)];
        for (int p = j; p < int(mark.size()) && mark[size_t(p)]; ++p)
            ++m;
        const int target = std::min(j + m, cols->Count() - 1);
        found->SetIndex(target);
        ReadDBColumn(F, Key, j, found);
        if (EraseUnusedSection && j >= cols->Count())
            F->EraseSection(GetColumnKey(Key, j));
    }
}

void TDBGridsPropSave::ReadDBColumn(TPropSaveFile* F, const QString& Key, int Idx, TColumn* C)
{
    const QString s = GetColumnKey(Key, Idx);
    C->SetWidth(F->ReadInteger(s, QStringLiteral("ColWidth"), C->Width()));
    C->SetVisible(F->ReadBool(s, QStringLiteral("ColVisible"), C->Visible()));
    if (!StoreColumnsProp)
        return;
    const int color = F->ReadInteger(s, QStringLiteral("ColColor"), -1);
    if (color != -1)
        C->SetColor(TColor(color));
    if (F->ValueExists(s, QStringLiteral("FontName"))) {
        TFont font = *C->Font();
        F->ReadFont(s, font, ScaleRatio);
        C->SetFont(font);
    }
    const int align = F->ReadInteger(s, QStringLiteral("ColAlign"), -1);
    if (align >= 0 && align <= 2)
        C->SetAlignment(TAlignment(align));
    const int tcolor = F->ReadInteger(s, QStringLiteral("ColTitleColor"), -1);
    if (tcolor != -1)
        C->Title()->SetColor(TColor(tcolor));
    const int talign = F->ReadInteger(s, QStringLiteral("ColTitleAlign"), -1);
    if (talign >= 0 && talign <= 2)
        C->Title()->SetAlignment(TAlignment(talign));
    const QString title = F->ReadString(s, QStringLiteral("ColTitle"), QString());
    if (!title.isEmpty())
        C->Title()->SetCaption(title);
    if (TField* f = C->Field()) {
        f->SetAlignment(TFieldAlignment(int(C->Alignment())));
        f->SetDisplayLabel(C->Title()->Caption());
        ReadFieldWidthFormat(F, s, f);
    }
}

void TDBGridsPropSave::DelDBGrid(TPropSaveFile* F, const QString& Key, TCustomDBGrid* G)
{
    F->DeleteFont(Key);
    F->DeleteFont(Key + QStringLiteral(".Title"));
    for (int i = 0; i < G->Columns()->Count(); ++i)
        F->EraseSection(GetColumnKey(Key, i));
}

// ---- datasets ---------------------------------------------------------------

void TDBGridsPropSave::SaveDataSet(TPropSaveFile* F, const QString& Key, TDataSet* DS)
{
    const int n = DS->FieldCount();
    F->WriteInteger(Key, QStringLiteral("FieldCount"), n);
    for (int i = 0; i < n; ++i) {
        TField* f = DS->Fields()[i];
        const QString s = GetFieldKey(Key, i);
        F->WriteString(s, QStringLiteral("FieldName"), f->FieldName());
        F->WriteInteger(s, QStringLiteral("FieldWidth"), f->DisplayWidth());
        F->WriteBool(s, QStringLiteral("FieldVisible"), f->Visible());
        if (StoreColumnsProp) {
            F->WriteInteger(s, QStringLiteral("ColAlign"), int(f->Alignment()));
            F->WriteString(s, QStringLiteral("ColTitle"), f->DisplayLabel());
            SaveFieldFormat(F, s, f);
        }
    }
}

void TDBGridsPropSave::ReadDataSet(TPropSaveFile* F, const QString& Key, TDataSet* DS)
{
    const int n = F->ReadInteger(Key, QStringLiteral("FieldCount"), -1);
    if (n != DS->FieldCount()) {
        // The fields changed since the save: what was stored no longer fits.
        for (int i = 0; i <= 1000 && F->SectionExists(GetFieldKey(Key, i)); ++i)
            F->EraseSection(GetFieldKey(Key, i));
        return;
    }
    for (int i = 0; i < n; ++i) {
        const QString s = GetFieldKey(Key, i);
        const QString name = F->ReadString(s, QStringLiteral("FieldName"), QString());
        for (int k = 0; k < DS->FieldCount(); ++k)
            if (DS->Fields()[k]->FieldName() == name) {
                DS->Fields()[k]->SetIndex(i);
                break;
            }
        TField* f = DS->Fields()[i];
        if (!FieldInList(f->FieldName()))
            f->SetDisplayWidth(F->ReadInteger(s, QStringLiteral("FieldWidth"), f->DisplayWidth()));
        f->SetVisible(F->ReadBool(s, QStringLiteral("FieldVisible"), f->Visible()));
        if (StoreColumnsProp) {
            const int align = F->ReadInteger(s, QStringLiteral("ColAlign"), int(f->Alignment()));
            if (align >= 0 && align <= 2)
                f->SetAlignment(TFieldAlignment(align));
            f->SetDisplayLabel(F->ReadString(s, QStringLiteral("ColTitle"), f->DisplayLabel()));
            if (HasDisplayFormat(f) && !FieldInList(f->FieldName()))
                f->SetDisplayFormat(F->ReadString(s, QStringLiteral("FieldFormat"), f->DisplayFormat()));
        }
    }
}

void TDBGridsPropSave::DelDataSet(TPropSaveFile* F, const QString& Key, TDataSet* DS)
{
    for (int i = 0; i < DS->FieldCount(); ++i)
        F->EraseSection(GetFieldKey(Key, i));
}

// ---- TrDBGridsPropSave ------------------------------------------------------

bool TrDBGridsPropSave::CanSave(TComponent* Comp) const
{
    return TDBGridsPropSave::CanSave(Comp) || FindPropSavePart(ppGridSaver, Comp);
}

void TrDBGridsPropSave::ReadSaveProps(TPropSaveAction psAction, TPropSaveFile* PSFile, TComponent* Comp, const QString& Key)
{
    auto* g = dynamic_cast<TrDBGrid*>(Comp);
    if (g) {
        ScaleRatio = g->ScaleRatio();
        if (psAction == psaRead && StoresAppearance())
            g->SetGridLookStyle(TGridLookStyles(PSFile->ReadInteger(Key, QStringLiteral("LookStyle"), int(g->GridLookStyle()))));
    }
    TDBGridsPropSave::ReadSaveProps(psAction, PSFile, Comp, Key);
    if (const TPropSavePart* part = FindPropSavePart(ppGridSaver, Comp))
        part->ReadSave(psAction, PSFile, Comp, Key);
    if (!g)
        return;
    if (psAction == psaRead)
        ReadRDBGrid(PSFile, Key, g);
    else if (psAction == psaSave)
        SaveRDBGrid(PSFile, Key, g);
    else
        DelRDBGrid(PSFile, Key, g);
    if (OnReadSaveProps)
        OnReadSaveProps(g, psAction, PSFile);
}

void TrDBGridsPropSave::SaveRDBGrid(TPropSaveFile* F, const QString& K, TrDBGrid* G)
{
    TOptionsEx2& o = G->OptionsEx2();
    if (StoresAppearance())
        F->WriteInteger(K, QStringLiteral("LookStyle"), int(G->GridLookStyle()));
    F->WriteString(K, QStringLiteral("SortField"), G->SortFieldName());
    F->WriteBool(K, QStringLiteral("SortDesc"), G->SortDesc());
    F->WriteString(K, QStringLiteral("SortDirections"), G->SortDirections());
    F->WriteInteger(K, QStringLiteral("ColumnWidth"), int(G->ColumnWidth()));
    F->WriteInteger(K, QStringLiteral("RowDataLines"), G->RowLines());
    F->WriteInteger(K, QStringLiteral("TitleLines"), G->TitleLines());
    F->WriteBool(K, QStringLiteral("FilterButtons"), o.Filters.FunnelBtn);
    F->WriteBool(K, QStringLiteral("FilterBar"), o.Filters.TextBar);
    F->WriteBool(K, QStringLiteral("FilterPanel"), o.Filters.FilterPanel);
    F->WriteInteger(K, QStringLiteral("RowDataLineColor"), int(o.Appearance.DataRowLineColor));
    F->WriteInteger(K, QStringLiteral("RowDataDotLine"), int(o.Appearance.DataRowLineStyle));
    F->WriteInteger(K, QStringLiteral("FixedColumnsCount"), G->GetFixedCols());
    F->WriteInteger(K, QStringLiteral("FixedColumnsColor"), int(o.FixedCell.FixedColColor));
    F->WriteBool(K, QStringLiteral("EditorMemoContent"), o.Editors.Memo == obtContent);
    SaveFixedColText(F, K, G);
    SaveCellParamsCondList(F, K, TrDBGridCellConds::Of(G)->List);
    F->WriteBool(K, QStringLiteral("UseCellParamsConditions"), o.CellCondition.Active);
    if (StoreFieldsGroup) {
        F->WriteBool(K, QStringLiteral("FieldGroups"), o.Groups.Active);
        F->WriteBool(K, QStringLiteral("FieldGroupMergedCell"), o.Groups.ShowMergedCell);
        F->WriteBool(K, QStringLiteral("FieldGroupCanExpand"), o.Groups.CanExpand);
        F->WriteStrings(K + QStringLiteral(".FieldsGroup"), G->FieldsGroups);
    }
    if (StoreFooterRow)
        SaveFooterRow(F, K, G);
    if (StoreFilterSetting)
        SaveFilterState(F, K + QStringLiteral(".Filter"), G);
    if (StoreDesignSetting)
        for (const auto& [list, suffix] : DesignLists(G))
            F->WriteStrings(K + suffix, *list);
    // The row colours are appearance: with one global setting for every grid they stay out.
    if (!StoresAppearance())
        return;
    F->WriteBool(K, QStringLiteral("DrawColored"), o.Appearance.DrawColoredRow);
    F->WriteInteger(K, QStringLiteral("ColorOddRow"), int(G->ColorOddRow()));
    F->WriteInteger(K, QStringLiteral("ColorActiveRow"), int(G->ColorActiveRow()));
    F->WriteBool(K, QStringLiteral("ActiveRowGradient"), o.Appearance.ActiveRowGradient);
    F->WriteInteger(K, QStringLiteral("FontColorFiltered"), int(G->FontColorFiltered()));
}

void TrDBGridsPropSave::ReadRDBGrid(TPropSaveFile* F, const QString& K, TrDBGrid* G)
{
    TOptionsEx2& o = G->OptionsEx2();
    G->SetSortFieldName(F->ReadString(K, QStringLiteral("SortField"), G->SortFieldName()));
    G->SetSortDesc(F->ReadBool(K, QStringLiteral("SortDesc"), G->SortDesc()));
    G->SetSortDirections(F->ReadString(K, QStringLiteral("SortDirections"), G->SortDirections()));
    G->SetColumnWidthMode(TColumnWidth(F->ReadInteger(K, QStringLiteral("ColumnWidth"), int(G->ColumnWidth()))));
    G->SetRowLines(F->ReadInteger(K, QStringLiteral("RowDataLines"), G->RowLines()));
    G->SetTitleLines(F->ReadInteger(K, QStringLiteral("TitleLines"), G->TitleLines()));
    o.Filters.FunnelBtn = F->ReadBool(K, QStringLiteral("FilterButtons"), o.Filters.FunnelBtn);
    o.Filters.TextBar = F->ReadBool(K, QStringLiteral("FilterBar"), o.Filters.TextBar);
    o.Filters.FilterPanel = F->ReadBool(K, QStringLiteral("FilterPanel"), o.Filters.FilterPanel);
    o.Appearance.DataRowLineColor = TColor(F->ReadInteger(K, QStringLiteral("RowDataLineColor"), int(o.Appearance.DataRowLineColor)));
    o.Appearance.DataRowLineStyle =
        TPenStyle(std::clamp(F->ReadInteger(K, QStringLiteral("RowDataDotLine"), int(o.Appearance.DataRowLineStyle)), 0, int(psInsideFrame)));
    G->SetFixedCols(F->ReadInteger(K, QStringLiteral("FixedColumnsCount"), G->GetFixedCols()));
    o.FixedCell.FixedColColor = TColor(F->ReadInteger(K, QStringLiteral("FixedColumnsColor"), int(o.FixedCell.FixedColColor)));
    o.Editors.Memo = F->ReadBool(K, QStringLiteral("EditorMemoContent"), false) ? obtContent : obtGlyph;
    ReadFixedColText(F, K, G);
    ReadCellParamsCondList(F, K, TrDBGridCellConds::Of(G)->List);
    o.CellCondition.Active = F->ReadBool(K, QStringLiteral("UseCellParamsConditions"), o.CellCondition.Active);
    if (o.CellCondition.Active)
        TrDBGridCellConds::Of(G)->RefreshSummaries();
    if (StoreFieldsGroup) {
        F->ReadStrings(K + QStringLiteral(".FieldsGroup"), G->FieldsGroups);
        G->FieldsGroupsChanged();
        G->SetGroupsActive(F->ReadBool(K, QStringLiteral("FieldGroups"), o.Groups.Active));
        G->SetGroupsShowMergedCell(F->ReadBool(K, QStringLiteral("FieldGroupMergedCell"), o.Groups.ShowMergedCell));
        o.Groups.CanExpand = F->ReadBool(K, QStringLiteral("FieldGroupCanExpand"), o.Groups.CanExpand);
    }
    if (StoreFooterRow)
        ReadFooterRow(F, K, G);
    if (StoreFilterSetting)
        ReadFilterState(F, K + QStringLiteral(".Filter"), G);
    if (StoreDesignSetting)
        for (const auto& [list, suffix] : DesignLists(G))
            F->ReadStrings(K + suffix, *list);
    if (StoresAppearance()) {
        o.Appearance.DrawColoredRow = F->ReadBool(K, QStringLiteral("DrawColored"), o.Appearance.DrawColoredRow);
        G->SetColorOddRow(TColor(F->ReadInteger(K, QStringLiteral("ColorOddRow"), int(G->ColorOddRow()))));
        G->SetColorActiveRow(TColor(F->ReadInteger(K, QStringLiteral("ColorActiveRow"), int(G->ColorActiveRow()))));
        o.Appearance.ActiveRowGradient = F->ReadBool(K, QStringLiteral("ActiveRowGradient"), o.Appearance.ActiveRowGradient);
        G->SetFontColorFiltered(TColor(F->ReadInteger(K, QStringLiteral("FontColorFiltered"), int(G->FontColorFiltered()))));
    }
    // The columns may have moved since the groups were laid out (the column
    // part reads first): keep every group together behind its master.
    G->FixedGroupedCol(false, false);
    G->Invalidate();
}

void TrDBGridsPropSave::DelRDBGrid(TPropSaveFile* F, const QString& K, TrDBGrid* G)
{
    if (TrDBGridCellConds* c = TrDBGridCellConds::Find(G))
        for (int n = 0; n < c->List.Count(); ++n)
            F->EraseSection(GetCellParamKey(K, n));
    for (const char* s : {".FixedCol", ".FieldsGroup", "FooterFieldFooterDefs", "FooterFont", ".FilterTextValues", ".Filter",
                          ".Filter.FilterPanelItems"})
        F->EraseSection(K + QLatin1String(s));
    for (const auto& [list, suffix] : DesignLists(G))
        F->EraseSection(K + suffix);
}

std::vector<std::pair<TStringList*, QString>> TrDBGridsPropSave::DesignLists(TrDBGrid* G)
{
    return {{&G->FieldsAsBoolean, QStringLiteral("FieldsAsBoolean")},
            {&G->FieldsAsColor, QStringLiteral("FieldsAsColor")},
            {&G->FieldsAsDataBar, QStringLiteral("FieldsFieldsAsDataBar")},
            {&G->FieldsAsDate, QStringLiteral("FieldsAsDate")},
            {&G->FieldsAsGraphics, QStringLiteral("FieldsAsGraphics")},
            {&G->FieldsAsHTMLText, QStringLiteral("FieldsFieldsAsHTMLText")},
            {&G->FieldsAsLink, QStringLiteral("FieldsFieldsAsLink")},
            {&G->FieldsAsPassword, QStringLiteral("FieldsAsPassword")},
            {&G->FieldsAsRichText, QStringLiteral("FieldsFieldsAsRichText")},
            {&G->FieldsAsStatusBar, QStringLiteral("FieldsFieldsAsStatusBar")},
            {&G->FieldsAsTime, QStringLiteral("FieldsFieldsAsTime")},
            {&G->FieldsAutoPickList, QStringLiteral("FieldsAutoPickList")},
            {&G->FieldsDrawDropDown, QStringLiteral("FieldsDrawDropDown")},
            {&G->FieldsFilterButton, QStringLiteral("FieldsFilterButton")},
            {&G->FieldsFilterMapping, QStringLiteral("FieldsFieldsFilterMapping")},
            {&G->FieldsFixedColumnWidth, QStringLiteral("FieldsFieldsFixedColumnWidth")},
            {&G->TitleButtons, QStringLiteral("TitleButtons")},
            {&G->TitleHints, QStringLiteral("TitleHints")},
            {&G->TitleImages, QStringLiteral("TitleImages")},
            {&G->TitlePopupItems, QStringLiteral("TitlePopupItems")},
            {&G->DataImages, QStringLiteral("DataImages")}};
}

// The fixed column's texts and font, stored only when its width is not the default.
void TrDBGridsPropSave::SaveFixedColText(TPropSaveFile* F, const QString& K, TrDBGrid* G)
{
    const TFixedColText& t = *G->FixedColText();
    if (t.FixedColWidth() == 0 || t.FixedColWidth() == 11)
        return;
    F->WriteBool(K, QStringLiteral("FixedColParentFont"), t.ParentFont());
    if (!t.ParentFont())
        F->WriteFont(K + QStringLiteral(".FixedCol"), t.Font(), G->ScaleRatio());
    F->WriteInteger(K, QStringLiteral("FixedColWidth"), t.FixedColWidth());
    F->WriteString(K, QStringLiteral("FixedColTitleText"), t.TitleText());
    F->WriteString(K, QStringLiteral("FixedColTextMask"), t.TextMask());
    F->WriteInteger(K, QStringLiteral("FixedColTextAlign"), int(t.TextAlign()));
}

void TrDBGridsPropSave::ReadFixedColText(TPropSaveFile* F, const QString& K, TrDBGrid* G)
{
    TFixedColText& t = *G->FixedColText();
    t.SetFixedColWidth(F->ReadInteger(K, QStringLiteral("FixedColWidth"), t.FixedColWidth()));
    if (t.FixedColWidth() == 0 || t.FixedColWidth() == 11)
        return;
    if (F->ReadBool(K, QStringLiteral("FixedColParentFont"), t.ParentFont())) {
        t.SetParentFont(true);
    } else {
        TFont font(t.Font());
        F->ReadFont(K + QStringLiteral(".FixedCol"), font, G->ScaleRatio());
        t.SetFont(font);
    }
    t.SetTitleText(F->ReadString(K, QStringLiteral("FixedColTitleText"), t.TitleText()));
    t.SetTextMask(F->ReadString(K, QStringLiteral("FixedColTextMask"), t.TextMask()));
    t.SetTextAlign(TAlignment(std::clamp(F->ReadInteger(K, QStringLiteral("FixedColTextAlign"), int(t.TextAlign())), 0, 2)));
}

void TrDBGridsPropSave::SaveFooterRow(TPropSaveFile* F, const QString& K, TrDBGrid* G)
{
    TFooterRow* fr = G->FooterRow();
    F->WriteBool(K, QStringLiteral("FooterBoldText"), fr->BoldText);
    F->WriteInteger(K, QStringLiteral("FooterCellLinesColor"), int(fr->CellLinesColor));
    F->WriteInteger(K, QStringLiteral("FooterColor"), int(fr->Color));
    F->WriteStrings(K + QStringLiteral("FooterFieldFooterDefs"), fr->FieldFooterDefs);
    F->WriteString(K, QStringLiteral("FooterFixedColText"), fr->FixedColText);
    F->WriteFont(K + QStringLiteral("FooterFont"), fr->Font, G->ScaleRatio());
    F->WriteInteger(K, QStringLiteral("FooterFooterHeight"), fr->FooterHeight());
    F->WriteBool(K, QStringLiteral("FooterFooterVisible"), fr->FooterVisible());
    F->WriteBool(K, QStringLiteral("FooterParentFont"), fr->ParentFont());
    F->WriteBool(K, QStringLiteral("FooterShowCellLines"), fr->ShowCellLines);
    F->WriteString(K, QStringLiteral("FooterSimpleText"), fr->SimpleText);
    F->WriteInteger(K, QStringLiteral("FooterSimpleTextAlign"), int(fr->SimpleTextAlign));
}

void TrDBGridsPropSave::ReadFooterRow(TPropSaveFile* F, const QString& K, TrDBGrid* G)
{
    TFooterRow* fr = G->FooterRow();
    fr->BoldText = F->ReadBool(K, QStringLiteral("FooterBoldText"), fr->BoldText);
    fr->CellLinesColor = TColor(F->ReadInteger(K, QStringLiteral("FooterCellLinesColor"), int(fr->CellLinesColor)));
    fr->Color = TColor(F->ReadInteger(K, QStringLiteral("FooterColor"), int(fr->Color)));
    F->ReadStrings(K + QStringLiteral("FooterFieldFooterDefs"), fr->FieldFooterDefs);
    fr->FixedColText = F->ReadString(K, QStringLiteral("FooterFixedColText"), fr->FixedColText);
    F->ReadFont(K + QStringLiteral("FooterFont"), fr->Font, G->ScaleRatio());
    fr->SetFooterHeight(F->ReadInteger(K, QStringLiteral("FooterFooterHeight"), fr->FooterHeight()));
    fr->SetFooterVisible(F->ReadBool(K, QStringLiteral("FooterFooterVisible"), fr->FooterVisible()));
    fr->SetParentFont(F->ReadBool(K, QStringLiteral("FooterParentFont"), fr->ParentFont()));
    fr->ShowCellLines = F->ReadBool(K, QStringLiteral("FooterShowCellLines"), fr->ShowCellLines);
    fr->SimpleText = F->ReadString(K, QStringLiteral("FooterSimpleText"), fr->SimpleText);
    fr->SimpleTextAlign = TAlignment(std::clamp(F->ReadInteger(K, QStringLiteral("FooterSimpleTextAlign"), int(fr->SimpleTextAlign)), 0, 2));
}

void TrDBGridsPropSave::SaveFilterState(TPropSaveFile* F, const QString& S, TrDBGrid* G)
{
    TrDBGridColumnFilters* cf = TrDBGridColumnFilters::Of(G);
    TrDBGridFilterBar* bar = TrDBGridFilterBar::Of(G);
    if (G->OptionsEx2().Filters.TextListAddFilter) {
        TStringList lines;
        for (const auto& [field, texts] : bar->TextValueList) {
            lines.Add(QLatin1Char('[') + field + QLatin1Char(']'));
            for (const QString& t : texts)
                lines.Add(t + QStringLiteral("=1"));
        }
        F->WriteStrings(S + QStringLiteral("TextValues"), lines);
    }
    const auto& store = cf->ColumnFilters();
    F->WriteInteger(S, QStringLiteral("CondCount"), int(store.size()));
    for (size_t n = 0; n < store.size(); ++n) {
        F->WriteString(S, QStringLiteral("Field%1").arg(n), store[n].FieldName);
        F->WriteString(S, QStringLiteral("Cond%1").arg(n), store[n].FilterString);
        F->WriteString(S, QStringLiteral("Text%1").arg(n), cf->EditValues.Values(store[n].FieldName));
    }
    // The panel's history keeps its 21 latest texts.
    QStringList history = bar->FilterPanelCombo()->Items().mid(0, 21);
    bar->FilterPanelCombo()->SetItems(history);
    TStringList panel;
    panel.Assign(history);
    F->WriteStrings(S + QStringLiteral(".FilterPanelItems"), panel);
    if (TDataSet* ds = G->DataSet()) {
        F->WriteString(S, QStringLiteral("FilterText"), ds->Filter());
        F->WriteBool(S, QStringLiteral("Filtered"), ds->Filtered());
    }
}

void TrDBGridsPropSave::ReadFilterState(TPropSaveFile* F, const QString& S, TrDBGrid* G)
{
    TrDBGridColumnFilters* cf = TrDBGridColumnFilters::Of(G);
    TrDBGridFilterBar* bar = TrDBGridFilterBar::Of(G);
    if (G->OptionsEx2().Filters.TextListAddFilter) {
        TStringList lines;
        F->ReadStrings(S + QStringLiteral("TextValues"), lines);
        bar->TextValueList.clear();
        QString field;
        for (int i = 0; i < lines.Count(); ++i) {
            const QString l = lines[i];
            if (l.startsWith(QLatin1Char('[')) && l.endsWith(QLatin1Char(']')))
                field = l.mid(1, l.size() - 2);
            else if (!field.isEmpty() && l.endsWith(QStringLiteral("=1")))
                bar->TextValueList[field] << l.left(l.size() - 2);
        }
    }
    const int count = F->ReadInteger(S, QStringLiteral("CondCount"), 0);
    for (int n = 0; n < count; ++n)
        cf->DefineColumnFilter(F->ReadString(S, QStringLiteral("Field%1").arg(n), QString()),
                               F->ReadString(S, QStringLiteral("Cond%1").arg(n), QString()),
                               F->ReadString(S, QStringLiteral("Text%1").arg(n), QString()), false);
    if (F->SectionExists(S + QStringLiteral(".FilterPanelItems"))) {
        TStringList panel;
        F->ReadStrings(S + QStringLiteral(".FilterPanelItems"), panel);
        bar->FilterPanelCombo()->SetItems(panel.ToQStringList());
    }
    TDataSet* ds = G->DataSet();
    if (!ds)
        return;
    try {
        ds->SetFilter(F->ReadString(S, QStringLiteral("FilterText"), QString()));
        ds->SetFiltered(F->ReadBool(S, QStringLiteral("Filtered"), false));
    } catch (const std::exception&) {
        // A stored filter that no longer fits the data leaves the data unfiltered.
    }
    cf->GetColumnFilterString();
    cf->RefreshFilteredFieldNames();
}

void TrDBGridsPropSave::SaveFilterSetting(TrDBGrid* G, const QString& KeySuffix)
{
    if (PropSaveMain() && PropSaveMain()->PropSaveFile())
        SaveFilterState(PropSaveMain()->PropSaveFile(), GetKey(G) + QStringLiteral(".Filter") + KeySuffix, G);
}

void TrDBGridsPropSave::ReadFilterSetting(TrDBGrid* G, const QString& KeySuffix)
{
    if (PropSaveMain() && PropSaveMain()->PropSaveFile())
        ReadFilterState(PropSaveMain()->PropSaveFile(), GetKey(G) + QStringLiteral(".Filter") + KeySuffix, G);
}

void TrDBGridsPropSave::SaveCellParamsCondList(TPropSaveFile* F, const QString& Key, const TCellParamsCondList& L)
{
    F->WriteInteger(Key, QStringLiteral("CellParamsCondCount"), L.Count());
    for (int n = 0; n < L.Count(); ++n) {
        const TCellParamsCond& c = *L.Items[size_t(n)];
        const QString s = GetCellParamKey(Key, n);
        F->WriteString(s, QStringLiteral("Field"), c.FieldName);
        F->WriteInteger(s, QStringLiteral("Operator"), int(c.CondOperator));
        F->WriteString(s, QStringLiteral("Value"), c.Value);
        F->WriteInteger(s, QStringLiteral("Action"), int(c.Action));
        F->WriteInteger(s, QStringLiteral("FontColor"), int(c.FontColor));
        F->WriteInteger(s, QStringLiteral("BkColor"), int(c.BkColor));
        F->WriteBool(s, QStringLiteral("Bold"), c.Bold);
        F->WriteBool(s, QStringLiteral("WholeRow"), c.WholeRow);
        F->WriteBool(s, QStringLiteral("UseDataImage"), c.ImageDef.UseDataImage);
        F->WriteInteger(s, QStringLiteral("ImageIndex"), c.ImageDef.ImageIndex);
        F->WriteString(s, QStringLiteral("ImageAlignment"), c.ImageDef.ImageAlignment);
        F->WriteString(s, QStringLiteral("ShowText"), c.ImageDef.ShowText);
        F->WriteBool(s, QStringLiteral("StopIfTrue"), c.StopIfTrue);
        F->WriteBool(s, QStringLiteral("Deactive"), c.Deactive);
    }
}

void TrDBGridsPropSave::ReadCellParamsCondList(TPropSaveFile* F, const QString& Key, TCellParamsCondList& L)
{
    const int n = F->ReadInteger(Key, QStringLiteral("CellParamsCondCount"), 0);
    if (n <= 0)
        return;
    L.Clear();
    for (int i = 0; i < n; ++i) {
        const QString s = GetCellParamKey(Key, i);
        TCellParamsCond* c = L.Add();
        c->FieldName = F->ReadString(s, QStringLiteral("Field"), QString());
        c->CondOperator = TCellParamsCondOperators(std::clamp(F->ReadInteger(s, QStringLiteral("Operator"), 0), 0, 10));
        c->Value = F->ReadString(s, QStringLiteral("Value"), QString());
        c->Action = TCellParamsCondActions(std::clamp(F->ReadInteger(s, QStringLiteral("Action"), 0), 0, 2));
        c->FontColor = TColor(F->ReadInteger(s, QStringLiteral("FontColor"), int(clNone)));
        c->BkColor = TColor(F->ReadInteger(s, QStringLiteral("BkColor"), int(clNone)));
        c->Bold = F->ReadBool(s, QStringLiteral("Bold"), false);
        c->WholeRow = F->ReadBool(s, QStringLiteral("WholeRow"), false);
        c->ImageDef.UseDataImage = F->ReadBool(s, QStringLiteral("UseDataImage"), false);
        c->ImageDef.ImageIndex = F->ReadInteger(s, QStringLiteral("ImageIndex"), -1);
        c->ImageDef.ImageAlignment = F->ReadString(s, QStringLiteral("ImageAlignment"), QString());
        c->ImageDef.ShowText = F->ReadString(s, QStringLiteral("ShowText"), QString());
        c->StopIfTrue = F->ReadBool(s, QStringLiteral("StopIfTrue"), false);
        c->Deactive = F->ReadBool(s, QStringLiteral("Deactive"), false);
    }
}
