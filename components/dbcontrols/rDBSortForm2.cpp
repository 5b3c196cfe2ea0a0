#include "components/dbcontrols/rDBSortForm2.h"

#include "components/dbcontrols/DlgControls.h"
#include "components/base/ParioCompGlobalCfg.h"
#include "components/grid/TPropSaveMain.h"
#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/grid/rdbtool.h"
#include "components/stringgrid/rStringGridEd.h"
#include "components/stringgrid/rStringGridEdColumn.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/StdCtrls.h"
#include "components/dbcontrols/StringGridCellsStore.h"
#include "components/grid/TPropSaveFile.h"
#include "resources/DBControlsTexts.h"

namespace {

constexpr int ColNo = 0, ColField = 1, ColDesc = 2;

}  // namespace

TrDBSortForm2::TrDBSortForm2(TComponent* AOwner) : TrDBDlgBaseForm(AOwner)
{
    SetName(QStringLiteral("rDBSortForm2"));
    SetCaption(dbctltxt::SortCaption);
    SetClientWidth(514);
    SetClientHeight(235);
    Constraints.MinWidth = 520;
    Constraints.MinHeight = 264;
    PlaceControl<TLabel>(this, this, 8, 6, 200, 16, dbctltxt::SortingCriteria);
    grSort = PlaceControl<TrStringGridEd>(this, this, 8, 24, 262, 168);
    SetUpDialogListGrid(grSort, 3);
    grSort->SetCells(ColField, 0, dbctltxt::SortField);
    grSort->SetCells(ColDesc, 0, dbctltxt::SortDescending);
    grSort->Columns()->Items(ColNo)->SetAlignment(taRightJustify);
    grSort->Columns()->Items(ColNo)->ReadOnly = true;
    grSort->Columns()->Items(ColField)->SetButtonStyle(sgbDropDownList);
    grSort->Columns()->Items(ColDesc)->SetButtonStyle(sgbCheckbox);
    // The widths after the columns, which set their own on creation.
    grSort->SetColWidths(ColNo, 15);
    grSort->SetColWidths(ColField, 153);
    grSort->SetColWidths(ColDesc, 69);
    grSort->SetLeftCol(0);
    btUp = PlaceControl<TrButton>(this, this, 276, 24, 26, 24);
    SetButtonGlyph(btUp, dgMoveUp);
    btUp->SetHint(dbctltxt::MoveUpHint);
    btUp->OnClick = [this](TComponent*) { MoveRow(true); };
    btDown = PlaceControl<TrButton>(this, this, 276, 52, 26, 24);
    SetButtonGlyph(btDown, dgMoveDown);
    btDown->SetHint(dbctltxt::MoveDownHint);
    btDown->OnClick = [this](TComponent*) { MoveRow(false); };
    btDel = PlaceControl<TrButton>(this, this, 276, 84, 26, 24);
    SetButtonGlyph(btDel, dgDeleteRow);
    btDel->SetHint(dbctltxt::DeleteRowHint);
    btDel->OnClick = [this](TComponent*) { DeleteRow(); };
    btDelAll = PlaceControl<TrButton>(this, this, 276, 112, 26, 24);
    SetButtonGlyph(btDelAll, dgDeleteAll);
    btDelAll->SetHint(dbctltxt::DeleteAllRowsHint);
    btDelAll->OnClick = [this](TComponent*) { DeleteAllRows(); };
    btSave = PlaceControl<TrButton>(this, this, 308, 84, 30, 24);
    btSave->SetCaption(QStringLiteral(">>"));
    btSave->SetHint(dbctltxt::SaveSortingHint);
    PlaceControl<TLabel>(this, this, 344, 6, 160, 16, dbctltxt::SavedSorting);
    lbSavedSort = PlaceControl<TListBox>(this, this, 344, 24, 162, 140);
    btDelSort = PlaceControl<TrButton>(this, this, 344, 168, 26, 24);
    SetButtonGlyph(btDelSort, dgDeleteRow);
    btDelSort->SetHint(dbctltxt::DeleteRowHint);
    btDelSort->SetEnabled(false);
    btSave->OnClick = [this](TComponent*) { btSaveClick(); };
    lbSavedSort->OnClick = [this](TComponent*) {
        const int i = lbSavedSort->ItemIndex();
        btDelSort->SetEnabled(i >= 0);
        if (i >= 0)
            LoadSavedSort(int(reinterpret_cast<intptr_t>(lbSavedSort->Objects(i))));
    };
    lbSavedSort->OnDblClick = [this](TComponent*) {
        if (lbSavedSort->ItemIndex() >= 0)
            btOkClick();
    };
    btDelSort->OnClick = [this](TComponent*) { DeleteSavedSort(); };
    // Without a global property file there is nowhere to save to.
    btSave->SetEnabled(GetGlobal_PropSaveFile() != nullptr);
    lbSavedSort->SetEnabled(GetGlobal_PropSaveFile() != nullptr);
    btOk = PlaceControl<TrButton>(this, this, 306, 202, 97, 25, dbctltxt::Ok);
    SetButtonGlyph(btOk, dgOk);
    btOk->SetDefault(true);
    btOk->SetHint(dbctltxt::UseSortingHint);
    btOk->OnClick = [this](TComponent*) { btOkClick(); };
    btCancel = PlaceControl<TrButton>(this, this, 409, 202, 97, 25, dbctltxt::Cancel);
    SetButtonGlyph(btCancel, dgCancel);
    btCancel->SetCancel(true);
    btCancel->SetModalResult(mrCancel);
    btCancel->SetHint(dbctltxt::CancelHint);
    AnchorAroundGrowing(this, grSort);
    // Its place is read when shown and saved when closed, by the dialog itself.
    rDlgPropSave->PropSaveEvents = pseNone;
    FormCreate(this);
    OnActivate = [this](TComponent* S) { FormActivate(S); };
}

void TrDBSortForm2::DoClose(TCloseAction& Action)
{
    TrDBDlgBaseForm::DoClose(Action);
    rDlgPropSave->SaveProperties();
    FormClose(this, Action);
}

void TrDBSortForm2::DoShow()
{
    FormShow(this);
    rDlgPropSave->ReadProperties();
    grSort->SetDrawingStyle(ParioCompConfig.rDBToolCfg.rDlg_GridDrawingStyle);
    LoadFromGrid();
    LoadSavedSortNames();
    TrDBDlgBaseForm::DoShow();
}

void TrDBSortForm2::LoadFromGrid()
{
    // 2. Names and captions of the visible simple and memo columns.
    FN.clear();
    FL.clear();
    if (!rDBGrid)
        return;
    TStringList names, captions;
    const TGetFldDefs defs = FldDef(fdVisibleFieldOnly) | FldDef(fdSimpleField) | FldDef(fdMemoField);
    GetFldList(rDBGrid, &names, defs);
    GetFldList(rDBGrid, &captions, defs | FldDef(fdGetLabels));
    for (int i = 0; i < names.Count(); ++i) {
        FN << names[i];
        FL << (i < captions.Count() ? captions[i] : names[i]);
    }
    if (ParioCompConfig.rDBSortCfg.SortFieldList) {
        for (int i = 0; i < FL.size(); ++i) {
            int min = i;
            for (int j = i + 1; j < FL.size(); ++j)
                if (FL[j].compare(FL[min], Qt::CaseInsensitive) < 0)
                    min = j;
            FL.swapItemsAt(i, min);
            FN.swapItemsAt(i, min);
        }
    }
    grSort->Columns()->Items(ColField)->PickList = FL;
    // 3. The grid's present sort.
    const QStringList fields = GetGridSortFields(rDBGrid);
    const std::vector<bool> dirs = GetGridSortDescending(rDBGrid);
    grSort->SetRowCount(int(fields.size()) + 2);
    for (int i = 0; i < fields.size(); ++i) {
        const int at = int(FN.indexOf(fields[i]));
        grSort->SetCells(ColField, i + 1, at >= 0 ? FL[at] : fields[i]);
        grSort->SetCells(ColDesc, i + 1, i < int(dirs.size()) && dirs[size_t(i)] ? QStringLiteral("1") : QString());
    }
    grSort->SetCells(ColField, grSort->RowCount() - 1, QString());
    grSort->SetCells(ColDesc, grSort->RowCount() - 1, QString());
    // 4.
    Renumber();
    grSort->SetLeftCol(0);
}

int TrDBSortForm2::SortRowCount() const { return grSort->RowCount(); }

QString TrDBSortForm2::CellText(int ACol, int ARow) const { return grSort->Cells(ACol, ARow); }

void TrDBSortForm2::SelectRow(int ARow) { grSort->SetRow(ARow); }

int TrDBSortForm2::CriteriaCount() const { return std::max(0, grSort->RowCount() - 2); }

void TrDBSortForm2::Renumber()
{
    for (int r = 1; r < grSort->RowCount() - 1; ++r)
        grSort->SetCells(ColNo, r, QString::number(r));
    grSort->SetCells(ColNo, grSort->RowCount() - 1, QStringLiteral("*"));
}

void TrDBSortForm2::SetRowField(int Row, const QString& Caption, bool Descending)
{
    if (Row < 1 || Row >= grSort->RowCount())
        return;
    grSort->SetCells(ColField, Row, Caption);
    grSort->SetCells(ColDesc, Row, Descending ? QStringLiteral("1") : QString());
    // A field chosen in the "*" row makes a new last row.
    if (Row == grSort->RowCount() - 1 && !Caption.isEmpty()) {
        grSort->SetRowCount(grSort->RowCount() + 1);
        grSort->SetCells(ColField, grSort->RowCount() - 1, QString());
        grSort->SetCells(ColDesc, grSort->RowCount() - 1, QString());
    }
    Renumber();
}

void TrDBSortForm2::SwapRows(int A, int B)
{
    for (int c : {ColField, ColDesc}) {
        const QString t = grSort->Cells(c, A);
        grSort->SetCells(c, A, grSort->Cells(c, B));
        grSort->SetCells(c, B, t);
    }
}

void TrDBSortForm2::MoveRow(bool Up)
{
    const int r = grSort->Row();
    const int last = grSort->RowCount() - 1;
    if (Up) {
        if (r <= 1)
            return;
        if (r < last)
            SwapRows(r, r - 1);
        grSort->SetRow(r - 1);
    } else {
        if (r >= last - 1)
            return;
        SwapRows(r, r + 1);
        grSort->SetRow(r + 1);
    }
}

void TrDBSortForm2::DeleteRow()
{
    const int r = grSort->Row();
    const int last = grSort->RowCount() - 1;
    if (r < 1 || r >= last)
        return;
    for (int i = r; i < last; ++i)
        for (int c : {ColField, ColDesc})
            grSort->SetCells(c, i, grSort->Cells(c, i + 1));
    if (grSort->RowCount() > 2)
        grSort->SetRowCount(grSort->RowCount() - 1);
    Renumber();
}

void TrDBSortForm2::DeleteAllRows()
{
    for (int r = 1; r < grSort->RowCount(); ++r)
        for (int c : {ColField, ColDesc})
            grSort->SetCells(c, r, QString());
    grSort->SetRowCount(2);
    Renumber();
}

bool TrDBSortForm2::TrySort()
{
    if (!rDBGrid)
        return false;
    QStringList fields, dirs;
    for (int r = 1; r < grSort->RowCount() - 1; ++r) {
        const QString caption = grSort->Cells(ColField, r);
        const int at = int(FL.indexOf(caption));
        if (caption.isEmpty() || at < 0)
            continue;
        fields << FN[at];
        dirs << (grSort->Cells(ColDesc, r) == QLatin1String("1") ? QStringLiteral("D") : QStringLiteral("A"));
    }
    return ChangeGridSort(rDBGrid, fields.join(QLatin1Char(',')), dirs.join(QLatin1Char(',')));
}

void TrDBSortForm2::btOkClick()
{
    grSort->UpdateText();
    if (TrySort())
        SetModalResult(mrOk);
    else
        DlgW(dbctltxt::SortingError);
}

bool ShowSortDialog(TComponent* Grid)
{
    if (!IsLinkedAndActive(Grid))
        return false;
    auto* f = new TrDBSortForm2(GetActiveOwner());
    f->rDBGrid = Grid;
    const bool ok = f->ShowModal() == mrOk;
    FreeF(f);
    return ok;
}

// ---- saved sorts --------------------------------------------------------------------------------

QString TrDBSortForm2::SortSection(int Slot) const
{
    const TComponent* owner = rDBGrid ? rDBGrid->Owner() : nullptr;
    return QStringLiteral("SortDlg2.%1.%2.%3")
        .arg(owner ? owner->Name() : QString(), rDBGrid ? rDBGrid->Name() : QString())
        .arg(Slot);
}

void TrDBSortForm2::LoadSavedSortNames()
{
    lbSavedSort->Clear();
    QStringList names;
    TPropSaveFile* store = GetGlobal_PropSaveFile();
    if (store && rDBGrid) {
        std::vector<std::pair<QString, int>> used;
        for (int n = 0; n < MaxSavedSorts; ++n) {
            const QString name = store->ReadString(SortSection(n), QStringLiteral("SortName"), QString());
            if (!name.isEmpty())
                used.emplace_back(name, n);
        }
        std::sort(used.begin(), used.end(),
                  [](const auto& A, const auto& B) { return A.first.compare(B.first, Qt::CaseInsensitive) < 0; });
        for (const auto& [name, slot] : used)
            lbSavedSort->AddItem(name, reinterpret_cast<void*>(intptr_t(slot)));
    }
    btDelSort->SetEnabled(lbSavedSort->ItemIndex() >= 0);
}

bool TrDBSortForm2::SaveSorting(const QString& Name)
{
    TPropSaveFile* store = GetGlobal_PropSaveFile();
    if (!store || !rDBGrid || Name.trimmed().isEmpty())
        return false;
    // The slot of that name, else the first free one.
    int slot = -1, free = -1;
    for (int n = 0; n < MaxSavedSorts && slot < 0; ++n) {
        const QString name = store->ReadString(SortSection(n), QStringLiteral("SortName"), QString());
        if (!name.isEmpty() && name.compare(Name, Qt::CaseInsensitive) == 0)
            slot = n;
        else if (name.isEmpty() && free < 0)
            free = n;
    }
    if (slot < 0)
        slot = free;
    if (slot < 0) {
        // A slot past the last listed one would be saved but never shown again.
        DlgW(dbctltxt::SavedSortsFull);
        return false;
    }
    grSort->UpdateText();
    const QString section = SortSection(slot);
    DelStrGridCells(store, section, grSort->ColCount());
    SaveStrGridCells(store, section, grSort);
    store->WriteString(section, QStringLiteral("SortName"), Name);
    LoadSavedSortNames();
    for (int i = 0; i < lbSavedSort->Count(); ++i)
        if (reinterpret_cast<intptr_t>(lbSavedSort->Objects(i)) == slot)
            lbSavedSort->SetItemIndex(i);
    btDelSort->SetEnabled(lbSavedSort->ItemIndex() >= 0);
    return true;
}

void TrDBSortForm2::LoadSavedSort(int Slot)
{
    TPropSaveFile* store = GetGlobal_PropSaveFile();
    if (!store)
        return;
    ReadStrGridCells(store, SortSection(Slot), grSort);
    grSort->SetRowCount(std::max(2, grSort->RowCount()));
}

void TrDBSortForm2::DeleteSavedSort()
{
    TPropSaveFile* store = GetGlobal_PropSaveFile();
    const int i = lbSavedSort->ItemIndex();
    if (!store || i < 0)
        return;
    DelStrGridCells(store, SortSection(int(reinterpret_cast<intptr_t>(lbSavedSort->Objects(i)))), 3);
    LoadSavedSortNames();
}

void TrDBSortForm2::btSaveClick()
{
    QStringList captions;
    for (int r = 1; r < grSort->RowCount() - 1; ++r)
        if (!grSort->Cells(ColField, r).isEmpty())
            captions << grSort->Cells(ColField, r);
    QString name = lbSavedSort->ItemIndex() >= 0 ? lbSavedSort->Strings(lbSavedSort->ItemIndex())
                                                 : captions.join(QStringLiteral(", "));
    if (!InputStr(dbctltxt::Input, dbctltxt::NameOfSavedItem, name) || name.trimmed().isEmpty())
        return;
    SaveSorting(name);
}
