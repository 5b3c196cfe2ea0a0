#include "components/dbcontrols/rDBFilterSaver.h"

#include "components/dbcontrols/DlgControls.h"
#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/dbcontrols/StringGridCellsStore.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rdbtool.h"
#include "components/stringgrid/rStringGridEd.h"
#include "components/stringgrid/rStringGridEdColumn.h"
#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/StdCtrls.h"
#include "resources/DBControlsTexts.h"

namespace {

bool IsNameBoundary(QChar C) { return C == QLatin1Char(' ') || C == QLatin1Char('<') || C == QLatin1Char('=') || C == QLatin1Char('>'); }

// Replaces the first occurrence of Name in S by Label when it stands as a
// name outside quotes; true when it did.
bool ReplaceFirstName(QString& S, const QString& Name, const QString& Label)
{
    const int at = int(S.indexOf(Name, 0, Qt::CaseInsensitive));
    if (at < 0)
        return false;
    if (S.left(at).count(QLatin1Char('\'')) % 2 != 0)
        return false;
    const int end = at + int(Name.size());
    if (at > 0 && !IsNameBoundary(S[at - 1]))
        return false;
    if (end < S.size() && !IsNameBoundary(S[end]))
        return false;
    S.replace(at, Name.size(), Label);
    return true;
}

// The dialog while one exists (the entry points without a window use it).
TrDBFilterSaverForm* rDBFilterSaverForm = nullptr;

// Runs Work on the open dialog, or on a hidden one made for the call.
template <class F>
auto WithDialog(TrDBGrid* Grid, F Work)
{
    if (rDBFilterSaverForm && rDBFilterSaverForm->G == Grid)
        return Work(rDBFilterSaverForm);
    auto* f = new TrDBFilterSaverForm(GetActiveOwner());
    f->G = Grid;
    auto result = Work(f);
    FreeF(f);
    return result;
}

}  // namespace

QString PresetFilterName(TDataSet* Dataset)
{
    if (!Dataset)
        return QString();
    QString s = Dataset->Filter();
    s.remove(QLatin1Char('('));
    s.remove(QLatin1Char(')'));
    bool replaced = true;
    // A label that holds its own field name would replace for ever: the
    // passes are bounded.
    for (int pass = 0; replaced && pass < 101; ++pass) {
        replaced = false;
        for (int i = 0; i < Dataset->FieldCount(); ++i) {
            const TField* f = Dataset->Fields()[i];
            if (f->DisplayLabel() != f->FieldName())
                replaced = ReplaceFirstName(s, f->FieldName(), f->DisplayLabel()) || replaced;
        }
    }
    return s;
}

// ---- the dialog ----------------------------------------------------------------------------------

TrDBFilterSaverForm::TrDBFilterSaverForm(TComponent* AOwner) : TrDBDlgBaseForm(AOwner)
{
    SetName(QStringLiteral("rDBFilterSaverForm"));
    SetCaption(dbctltxt::StoredFiltersCaption);
    Constraints.MinWidth = 310;
    Constraints.MinHeight = 250;
    SetClientWidth(400);
    SetClientHeight(266);
    sgFilter = PlaceControl<TrStringGridEd>(this, this, 8, 8, 384, 214);
    SetUpDialogListGrid(sgFilter, 3);
    sgFilter->SetCells(ColName, 0, dbctltxt::FilterNameTitle);
    sgFilter->SetCells(ColCondition, 0, dbctltxt::FilterConditionTitle);
    sgFilter->Columns()->Items(ColMark)->SetAlignment(taCenter);
    sgFilter->Columns()->Items(ColMark)->ReadOnly = true;
    sgFilter->SetColWidths(ColMark, 15);
    sgFilter->SetColWidths(ColName, 115);
    sgFilter->SetColWidths(ColCondition, 236);
    sgFilter->SetLeftCol(0);
    sgFilter->OnDblClick = [this](TComponent*) { UseSelected(false); };
    btUse = PlaceControl<TButton>(this, this, 8, 232, 90, 27, dbctltxt::UseFilter);
    btUse->Font()->SetStyle(fsBold);
    btUse->SetHint(dbctltxt::SetSelectedFilterHint);
    btUse->OnClick = [this](TComponent*) { UseSelected(true); };
    btDel = PlaceControl<TButton>(this, this, 104, 232, 90, 27, dbctltxt::DeleteGroup);
    btDel->SetHint(dbctltxt::DeleteSelectedFilterHint);
    btDel->OnClick = [this](TComponent*) { DeleteSelected(); };
    btClose = PlaceControl<TrButton>(this, this, 302, 232, 90, 27, dbctltxt::Close);
    SetButtonGlyph(btClose, dgClose);
    btClose->SetHint(dbctltxt::CloseHint);
    btClose->SetCancel(true);
    btClose->SetModalResult(mrCancel);
    AnchorAroundGrowing(this, sgFilter);
    FormCreate(this);
}

TrDBFilterSaverForm::~TrDBFilterSaverForm()
{
    if (rDBFilterSaverForm == this)
        rDBFilterSaverForm = nullptr;
}

QString TrDBFilterSaverForm::StoreKey() const
{
    const TComponent* owner = G ? G->Owner() : nullptr;
    return QStringLiteral("rDBFilterSaverForm.%1.%2").arg(owner ? owner->Name() : QString(), G ? G->Name() : QString());
}

bool TrDBFilterSaverForm::ReadStore()
{
    TPropSaveFile* file = GetGlobal_PropSaveFile();
    if (!file || !G)
        return false;
    ReadStrGridCells(file, StoreKey(), sgFilter);
    // The stored titles are the ones of the language that wrote them.
    sgFilter->SetCells(ColName, 0, dbctltxt::FilterNameTitle);
    sgFilter->SetCells(ColCondition, 0, dbctltxt::FilterConditionTitle);
    sgFilter->SetRowCount(std::max(2, sgFilter->RowCount()));
    return true;
}

bool TrDBFilterSaverForm::SaveStore()
{
    TPropSaveFile* file = GetGlobal_PropSaveFile();
    if (!file || !G)
        return false;
    DelStrGridCells(file, StoreKey(), sgFilter->ColCount());
    SaveStrGridCells(file, StoreKey(), sgFilter);
    return true;
}

int TrDBFilterSaverForm::FilterRowCount() const { return sgFilter->RowCount() - 1; }
QString TrDBFilterSaverForm::FilterName(int Row) const { return sgFilter->Cells(ColName, Row); }
QString TrDBFilterSaverForm::FilterCondition(int Row) const { return sgFilter->Cells(ColCondition, Row); }
QString TrDBFilterSaverForm::Mark(int Row) const { return sgFilter->Cells(ColMark, Row); }

void TrDBFilterSaverForm::SelectRow(int Row)
{
    if (Row >= 1 && Row < sgFilter->RowCount())
        sgFilter->SetRow(Row);
}

void TrDBFilterSaverForm::MarkActiveFilter()
{
    TDataSet* ds = G ? G->DataSet() : nullptr;
    const QString active = ds ? ds->Filter() : QString();
    for (int r = 1; r < sgFilter->RowCount(); ++r)
        sgFilter->SetCells(ColMark, r, ds && FilterCondition(r) == active ? QStringLiteral("+") : QString());
}

void TrDBFilterSaverForm::AddFilter(const QString& Name, const QString& Condition)
{
    ReadStore();
    const bool blankOnly = FilterRowCount() == 1 && FilterName(1).trimmed().isEmpty() && FilterCondition(1).trimmed().isEmpty();
    if (!blankOnly)
        sgFilter->SetRowCount(sgFilter->RowCount() + 1);
    const int last = sgFilter->RowCount() - 1;
    sgFilter->SetCells(ColMark, last, QString());
    sgFilter->SetCells(ColName, last, Name);
    sgFilter->SetCells(ColCondition, last, Condition);
    SaveStore();
}

bool TrDBFilterSaverForm::UseSelected(bool Close)
{
    const int r = sgFilter->Row();
    TDataSet* ds = G ? G->DataSet() : nullptr;
    if (!ds || r < 1 || r >= sgFilter->RowCount())
        return false;
    sgFilter->UpdateText();
    const bool ok = SetFilterString(ds, FilterCondition(r), true);
    MarkActiveFilter();
    mRes = mrOk;
    if (Close)
        SetModalResult(mrOk);
    return ok;
}

void TrDBFilterSaverForm::DeleteSelected()
{
    const int sel = sgFilter->Row();
    if (sel < 1 || sel >= sgFilter->RowCount() || DlgQ(dbctltxt::DeleteSelectedRecord) != mrYes)
        return;
    const int last = sgFilter->RowCount() - 1;
    for (int c : {ColName, ColCondition}) {
        for (int r = sel; r < last; ++r)
            sgFilter->SetCells(c, r, sgFilter->Cells(c, r + 1));
        sgFilter->SetCells(c, last, QString());
    }
    if (FilterRowCount() > 1)
        sgFilter->SetRowCount(sgFilter->RowCount() - 1);
    sgFilter->SetRow(std::min(sel, sgFilter->RowCount() - 1));
    MarkActiveFilter();
}

void TrDBFilterSaverForm::DoShow()
{
    FormShow(this);
    sgFilter->SetDrawingStyle(ParioCompConfig.rDBToolCfg.rDlg_GridDrawingStyle);
    ReadStore();
    MarkActiveFilter();
    mRes = mrCancel;
    TrDBDlgBaseForm::DoShow();
}

void TrDBFilterSaverForm::DoHide()
{
    sgFilter->UpdateText();
    SaveStore();
    TrDBDlgBaseForm::DoHide();
}

void TrDBFilterSaverForm::DoClose(TCloseAction& Action)
{
    FormClose(this, Action);
    TrDBDlgBaseForm::DoClose(Action);
}

// ---- entry points --------------------------------------------------------------------------------

void SaveFilter(TrDBGrid* Grid)
{
    TDataSet* ds = Grid ? Grid->DataSet() : nullptr;
    if (!ds || !GetGlobal_PropSaveFile())
        return;
    QString name = PresetFilterName(ds);
    if (!InputStr(dbctltxt::Input, dbctltxt::FilterNameTitle + QLatin1Char(':'), name))
        return;
    WithDialog(Grid, [&](TrDBFilterSaverForm* f) {
        f->AddFilter(name, ds->Filter());
        return true;
    });
}

bool LoadFilter(TrDBGrid* Grid)
{
    if (!Grid || !Grid->DataSet())
        return false;
    auto* f = new TrDBFilterSaverForm(GetActiveOwner());
    f->G = Grid;
    rDBFilterSaverForm = f;
    f->ShowModal();
    const bool applied = f->mRes == mrOk;
    FreeF(f);
    return applied;
}

bool LoadFilterNames(TrDBGrid* Grid, QStringList& List)
{
    List.clear();
    if (!Grid || !GetGlobal_PropSaveFile())
        return false;
    return WithDialog(Grid, [&](TrDBFilterSaverForm* f) {
        if (f != rDBFilterSaverForm)
            f->ReadStore();
        for (int r = 1; r < f->sgFilter->RowCount(); ++r)
            if (!f->FilterName(r).trimmed().isEmpty())
                List << f->FilterName(r);
        return true;
    });
}

bool ActiveFilterName(TrDBGrid* Grid, const QString& FilterName)
{
    if (!Grid || !Grid->DataSet() || !GetGlobal_PropSaveFile())
        return false;
    return WithDialog(Grid, [&](TrDBFilterSaverForm* f) {
        if (f != rDBFilterSaverForm)
            f->ReadStore();
        bool result = false;
        for (int r = 1; r < f->sgFilter->RowCount(); ++r)
            if (SameText(f->FilterName(r), FilterName))
                result = SetFilterString(Grid->DataSet(), f->FilterCondition(r), true);
        return result;
    });
}
