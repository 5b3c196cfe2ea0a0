#include "components/grid/TrDBAction.h"

#include "components/grid/TrDBActionBar.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rdlg.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/TrDBGridCellParamsForm.h"
#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridPropsForm.h"
#include "components/grid/rDBGridSorter.h"
#include "components/grid/rdbtool.h"
#include "platform/database/DataSet.h"
#include "platform/database/DataSource.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "resources/GridActionTexts.h"

TrDBAction* rDBAction = nullptr;

namespace {

SORVEX_EXCEPTION_KIND(ERightsError, Exception)

// Category bits of the grid's action mask.
struct TCategoryBit { const char* Category; int Bit; };
constexpr TCategoryBit CategoryBits[] = {{"Edit", 1}, {"Sort", 2}, {"Filter", 4}, {"Column", 8}, {"Props", 16}};

int CategoryBit(const QString& Category)
{
    for (const TCategoryBit& c : CategoryBits)
        if (Category == QLatin1String(c.Category))
            return c.Bit;
    return 0;
}

// Glyph of an image index: a colour and a short symbol, drawn on 16 x 16.
struct TGlyphDef { int Index; TColor Color; const char* Symbol; };
constexpr TGlyphDef GlyphDefs[] = {
    {1, 0x996633, "C"},  {2, 0x996633, "c"},  {4, 0x996633, "P"},  {5, 0x2020C0, "x"},  {6, 0x2020C0, "-"},
    {7, 0x00A0E0, "H"},  {8, 0x808000, "v"},  {9, 0x208020, "+"},  {10, 0x208020, "2"}, {11, 0x808000, "E"},
    {13, 0x2020C0, "D"}, {14, 0xA05000, "F"}, {15, 0xA05000, "&"}, {16, 0xA05000, "f"}, {17, 0xA05000, "S"},
    {18, 0xA05000, "L"}, {19, 0xA05000, "V"}, {21, 0xA05000, "W"}, {24, 0x606060, "R"}, {25, 0x208020, "S"},
    {28, 0x208020, "N"}, {31, 0x800080, "A"}, {32, 0x800080, "Z"}, {33, 0x800080, "s"}, {36, 0x996633, "|"},
    {37, 0x006080, "K"}, {39, 0x996633, "T"}, {40, 0x404040, "?"}, {41, 0x006080, "W"}, {42, 0x996633, "="},
    {43, 0x006080, "<>"}, {44, 0x007000, "X"}, {45, 0x505050, "P"}, {46, 0x007000, "I"}, {47, 0x606060, "p"},
    {48, 0x007000, "O"},
};

void DrawGlyph(TBitmap& B, TColor Color, const char* Symbol, bool Enabled)
{
    TCanvas* c = B.Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(TRect(0, 0, 16, 16));
    if (!Symbol)
        return;
    const TColor color = Enabled ? Color : TColor(0xA0A0A0);
    c->Brush()->SetColor(color);
    c->Pen()->SetColor(color);
    c->RoundRect(1, 1, 15, 15, 5, 5);
    c->Font()->SetColor(clWhite);
    c->Font()->SetStyle(fsBold);
    c->Font()->SetHeight(-10);
    c->Brush()->SetStyle(bsClear);
    const QString s = QString::fromLatin1(Symbol);
    c->TextOut(8 - c->TextWidth(s) / 2, 8 - c->TextHeight(s) / 2, s);
}

}  // namespace

class TrDBActionLink : public TDataLink {
public:
    explicit TrDBActionLink(TrDBAction* Owner) : FOwner(Owner) {}

protected:
    void ActiveChanged() override { FOwner->RefreshAction(); }
    void EditingChanged() override { FOwner->RefreshAction(); }
    // Opened, refreshed, inserted into or deleted from: emptiness may change.
    void DataSetChanged() override { FOwner->RefreshAction(); }
    // A move to another record changes nothing the actions depend on.
    void DataSetScrolled(int) override {}

private:
    TrDBAction* FOwner;
};

TrDBAction::TrDBAction(TComponent* AOwner) : TComponent(AOwner)
{
    SetName(QStringLiteral("rDBAction"));
    ActList = new TActionList(this);
    ActList->SetName(QStringLiteral("ActList"));
    CreateImages();
    CreateActions();
    CreateMenus();
    for (int i = 0; i < ActList->ActionCount(); ++i)
        acShortCuts.push_back(ActList->Actions(i)->ShortCut());
    acEditSC = aceEdit->ShortCut();
    ParioCompConfig.rDBFieldsCfg.OnSetDefaultGridColumns = [this](TComponent*) {
        if (OnRunOtherAction)
            OnRunOtherAction(accDefaultGrid, FGrid);
    };
    // The update pass of the list recomputes everything once per pass.
    ActList->OnUpdate = [this](TBasicAction*, bool& Handled) {
        RefreshAction();
        Handled = true;
    };
    if (!rDBAction)
        rDBAction = this;
    // Opening, editing or emptying the active grid's data changes what may
    // run; a short timer follows it (an update pass per window would miss
    // the shared bar and menu).
    FLink = std::make_unique<TrDBActionLink>(this);
    FRefreshTimer = new TTimer(this);
    FRefreshTimer->SetInterval(200);
    FRefreshTimer->OnTimer = [this](TComponent*) {
        if (FGrid)
            RefreshAction();
    };
    RefreshAction();
}

TrDBAction::~TrDBAction()
{
    if (rDBAction == this)
        rDBAction = nullptr;
    ParioCompConfig.rDBFieldsCfg.OnSetDefaultGridColumns = nullptr;
}

void TrDBAction::CreateImages()
{
    ImgEna = new TImageList(this);
    ImgEna->SetName(QStringLiteral("ImgEna"));
    ImgDis = new TImageList(this);
    ImgDis->SetName(QStringLiteral("ImgDis"));
    for (int i = 0; i <= 48; ++i) {
        const TGlyphDef* def = nullptr;
        for (const TGlyphDef& d : GlyphDefs)
            if (d.Index == i)
                def = &d;
        for (bool enabled : {true, false}) {
            TBitmap b;
            b.SetSize(16, 16);
            DrawGlyph(b, def ? def->Color : clNone, def ? def->Symbol : nullptr, enabled);
            (enabled ? ImgEna : ImgDis)->AddMasked(&b, clFuchsia);
        }
    }
}

TAction* TrDBAction::Make(const char* Name, const char* Category, const char* Caption, int Tag, const char* ShortCut, int Image,
                          const char* Hint)
{
    auto* a = new TAction(this);
    a->SetName(QLatin1String(Name));
    a->SetCategory(QLatin1String(Category));
    a->SetCaption(QString::fromUtf8(Caption));
    a->SetHint(QString::fromUtf8(Hint ? Hint : Caption));
    a->Tag = Tag;
    if (ShortCut)
        a->SetShortCut(TextToShortCut(QLatin1String(ShortCut)));
    a->SetImageIndex(Image);
    a->SetActionList(ActList);
    a->OnExecute = [this, a](TComponent*) { Execute(a); };
    return a;
}

void TrDBAction::CreateActions()
{
    acoCopyCell = Make("acoCopyCell", "Copy", "Copy selected value", 49, nullptr, 2);
    aceView = Make("aceView", "Edit", "Show", 0, nullptr, 8, "Show selected record");
    aceEdit = Make("aceEdit", "Edit", "Edit", 355, "F2", 11, "Edit selected record");
    aceAdd = Make("aceAdd", "Edit", "New", 251, "Ctrl+N", 9, "Insert new record");
    aceDuplic = Make("aceDuplic", "Edit", "Duplicate", 255, "Ctrl+M", 10, "Duplicate selected record");
    aceDelete = Make("aceDelete", "Edit", "Delete", 455, "Ctrl+Del", 13, "Delete selected record");
    aceSave = Make("aceSave", "Edit", "Save", 215, "Ctrl+S", 25, "Save record");
    aceSaveAdd = Make("aceSaveAdd", "Edit", "Save and new", 215, "Ctrl+W", 28, "Save record and add new one");
    aceCancel = Make("aceCancel", "Edit", "Cancel", 215, nullptr, 6, "Cancel changes");
    acoFind = Make("acoFind", "Other", "Find record...", 49, "Ctrl+F", 40);
    acfFilterSel = Make("acfFilterSel", "Filter", "Filter by selection", 49, "Ctrl+R", 17);
    acfFilterSelAnd = Make("acfFilterSelAnd", "Filter", "Filter AND filter by selection", 49, "Ctrl+I", 15);
    acfFilterSelOr = Make("acfFilterSelOr", "Filter", "Filter OR filter by selection", 49, "Ctrl+O", 15);
    acfFilterDlg = Make("acfFilterDlg", "Filter", "Filter by value selection", 49, "Ctrl+Alt+R", 19,
                        "Enter filter by value selection from list");
    acfFilterForm = Make("acfFilterForm", "Filter", "Enter filter manually...", 49, nullptr, 16);
    acfFilter = Make("acfFilter", "Filter", "Switch filter on/off", 49, "Ctrl+Q", 14);
    accColumns = Make("accColumns", "Column", "Fields selection and properties...", 49, nullptr, 37);
    acsSort1 = Make("acsSort1", "Sort", "Sort data ascending", 49, "Ctrl+T", 31);
    acsSort2 = Make("acsSort2", "Sort", "Sort data descending", 49, nullptr, 32);
    acsSort3 = Make("acsSort3", "Sort", "Sort data according additional column", 49, "Shift+Ctrl+T", -1);
    acsSortDlg = Make("acsSortDlg", "Sort", "Set sorting in dialog...", 49, "Ctrl+Alt+T", 33, "Set sorting in dialog");
    acoExport = Make("acoExport", "Other", "Export data...", 1049, nullptr, 44);
    acoPrint = Make("acoPrint", "Other", "Print data to RTF...", 1049, nullptr, 24, "Print data to RTF file...");
    acoPrintDirect = Make("acoPrintDirect", "Other", "Print data...", 1049, nullptr, 47);
    acoRefresh = Make("acoRefresh", "Other", "Refresh data", 49, "F5", 48);
    acoClose = Make("acoClose", "Other", "Close", 48, nullptr, 5, "Close window");
    accWidthAuto = Make("accWidthAuto", "Column", "Align columns to window (automatic width)", 49, nullptr, 43);
    accWidthSame = Make("accWidthSame", "Column", "Align columns to window (same width)", 49, nullptr, 43);
    accWidthData = Make("accWidthData", "Column", "Width according data length", 49, nullptr, 41);
    accWidthDefault = Make("accWidthDefault", "Column", "Restore default columns width", 49, nullptr, -1);
    acsSortNone = Make("acsSortNone", "Sort", "Cancel data sorting", 49, nullptr, -1);
    acfFilterSave = Make("acfFilterSave", "Filter", "Save actual filter...", 49, nullptr, 21);
    acfFilterLoad = Make("acfFilterLoad", "Filter", "Stored filters...", 49, "Ctrl+L", 18);
    aceAutoEdit = Make("aceAutoEdit", "Edit", "Automatic start of editing", 351, "Ctrl+E", 11);
    acoImport = Make("acoImport", "Other", "Import data...", 0, nullptr, 46);
    acoPaste = Make("acoPaste", "Other", "Insert data from clipboard", 0, nullptr, 4);
    acoBatchEdit = Make("acoBatchEdit", "Other", "Batch updates...", 0, nullptr, -1);
    accDefaultGrid = Make("accDefaultGrid", "Column", "", 0, nullptr, -1);
    acoProperties = Make("acoProperties", "Props", "Table properties...", 49, nullptr, 45);
    acoOtherAction = Make("acoOtherAction", "Other", "", 0, nullptr, -1);
    acoColor = Make("acoColor", "Props", "Highlight of records...", 49, nullptr, 7);
    acoCopyRow = Make("acoCopyRow", "Copy", "Copy selected row", 49, nullptr, 42);
    acoCopyCol = Make("acoCopyCol", "Copy", "Copy selected column", 49, nullptr, 36);
    acoCopyAll = Make("acoCopyAll", "Copy", "Copy entire table", 49, nullptr, 39);
    acoCopyIncTitle = Make("acoCopyIncTitle", "Copy", "Copy title row as well", 49, nullptr, -1);
    acoCopyIncHidden = Make("acoCopyIncHidden", "Copy", "Copy hidden columns as well", 49, nullptr, -1);
    acoCopyIncTitle->SetAutoCheck(true);
    acoCopyIncHidden->SetAutoCheck(true);
}

void TrDBAction::CreateMenus()
{
    auto item = [this](TMenuItem* Parent, TAction* A) {
        auto* m = new TMenuItem(this);
        if (A)
            m->SetAction(A);
        else
            m->SetCaption(QStringLiteral("-"));
        Parent->Add(m);
        return m;
    };
    auto sub = [this](TMenuItem* Parent, const QString& Caption, int Image, std::initializer_list<TAction*> Actions) {
        auto* m = new TMenuItem(this);
        m->SetCaption(Caption);
        m->SetImageIndex(Image);
        Parent->Add(m);
        for (TAction* a : Actions) {
            auto* c = new TMenuItem(this);
            if (a)
                c->SetAction(a);
            else
                c->SetCaption(QStringLiteral("-"));
            m->Add(c);
        }
        return m;
    };
    auto menu = [this](const char* Name) {
        auto* p = new TPopupMenu(this);
        p->SetName(QLatin1String(Name));
        p->Images = ImgEna;
        return p;
    };
    pmDBAction = menu("pmDBAction");
    TMenuItem* root = pmDBAction->Items();
    FMenuRecord = sub(root, QStringLiteral("Record"), 11,
                      {aceEdit, nullptr, aceAdd, aceDuplic, nullptr, aceDelete, aceSave, aceSaveAdd, aceCancel, nullptr, aceAutoEdit});
    FMenuRecordSep = item(root, nullptr);
    item(root, acoFind);
    FMenuSort = sub(root, QStringLiteral("Sorting of data"), 33, {acsSort1, acsSort2, acsSort3, nullptr, acsSortDlg, acsSortNone});
    FMenuFilter = sub(root, QStringLiteral("Filter data"), 14,
                      {acfFilterSel, acfFilterSelAnd, acfFilterSelOr, nullptr, acfFilterDlg, acfFilterForm, nullptr, acfFilter,
                       nullptr, acfFilterSave, acfFilterLoad});
    item(root, nullptr);
    FMenuColumns = sub(root, QStringLiteral("Columns setting"), 37,
                       {accColumns, nullptr, accWidthAuto, accWidthSame, accWidthData, nullptr, accWidthDefault});
    item(root, acoProperties);
    item(root, nullptr);
    sub(root, QStringLiteral("Copy data"), 1, {acoCopyCol, acoCopyRow, acoCopyAll, nullptr, acoCopyIncTitle, acoCopyIncHidden});
    sub(root, QStringLiteral("Export and update data"), 44,
        {acoExport, acoPrint, acoPrintDirect, nullptr, acoBatchEdit, acoImport, acoPaste});
    item(root, acoRefresh);

    pmFilterSel = menu("pmFilterSel");
    item(pmFilterSel->Items(), acfFilterSelAnd);
    item(pmFilterSel->Items(), acfFilterSelOr);
    pmFilterList = menu("pmFilterList");
    item(pmFilterList->Items(), acfFilterSave);
    item(pmFilterList->Items(), acfFilterLoad);
    item(pmFilterList->Items(), nullptr);
    pmFilterList->OnPopup = [this](TComponent*) {
        TMenuItem* items = pmFilterList->Items();
        while (items->Count() > 3)
            delete items->Items(items->Count() - 1);
        const QStringList names = FGrid && Dialogs.StoredFilterNames ? Dialogs.StoredFilterNames(FGrid) : QStringList();
        for (int i = 0; i < names.size(); ++i) {
            auto* m = new TMenuItem(this);
            m->SetCaption(names[i]);
            m->Tag = i;
            m->OnClick = [this, name = names[i]](TComponent*) {
                if (FGrid && Dialogs.ActivateStoredFilter && Dialogs.ActivateStoredFilter(FGrid, name))
                    TrDBGridColumnFilters::Of(FGrid)->RefreshFilteredFieldNames();
                RefreshAction();
            };
            items->Add(m);
        }
        if (!names.isEmpty())
            return;
        auto* none = new TMenuItem(this);
        none->SetCaption(gridacttxt::NoSavedItems);
        none->Tag = -1;
        none->SetEnabled(false);
        items->Add(none);
    };
    pmColumnWidth = menu("pmColumnWidth");
    for (TAction* a : {accWidthAuto, accWidthSame, accWidthData, static_cast<TAction*>(nullptr), accWidthDefault})
        item(pmColumnWidth->Items(), a);
    pmSortList = menu("pmSortList");
    pmSortList->OnPopup = [this](TComponent*) {
        TMenuItem* items = pmSortList->Items();
        while (items->Count() > 0)
            delete items->Items(items->Count() - 1);
        const QStringList names = FGrid && Dialogs.SavedSortNames ? Dialogs.SavedSortNames(FGrid) : QStringList();
        for (int i = 0; i < names.size(); ++i) {
            auto* m = new TMenuItem(this);
            m->SetCaption(names[i]);
            m->Tag = i;
            m->OnClick = [this, i](TComponent*) {
                if (FGrid && Dialogs.ActivateSavedSort)
                    Dialogs.ActivateSavedSort(FGrid, i);
                RefreshAction();
            };
            items->Add(m);
        }
        if (!names.isEmpty())
            return;
        auto* none = new TMenuItem(this);
        none->SetCaption(gridacttxt::NoSavedItems);
        none->Tag = -1;
        none->SetEnabled(false);
        items->Add(none);
    };
    pmCopyData = menu("pmCopyData");
    for (TAction* a : {acoCopyCol, acoCopyRow, acoCopyAll, static_cast<TAction*>(nullptr), acoCopyIncTitle, acoCopyIncHidden})
        item(pmCopyData->Items(), a);
}

void TrDBAction::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    // A grid destroyed while active is never acted on again.
    if (AComponent == FGrid) {
        FGrid = nullptr;
        FLink->SetDataSource(nullptr);
        RefreshAction();
    }
    if (AComponent == FStoredGrid)
        FStoredGrid = nullptr;
    std::erase(FBars, AComponent);
}

void TrDBAction::SetActiveGrid(TrDBGrid* Grid)
{
    if (Grid)
        FreeNotification(Grid);
    FGrid = Grid;
    FLink->SetDataSource(Grid ? Grid->DataSource() : nullptr);
    RefreshAction();
}

void TrDBAction::SetUserRights(bool EditRights, int actRights)
{
    if (actRights < 0 || actRights > 9)
        throw ERightsError(gridacttxt::InvalidRights);
    (EditRights ? URightsEdit : URights) = actRights;
    RefreshAction();
}

bool TrDBAction::IsUserRightsOk(TCustomAction* Action) const
{
    if (Action->Category() == QLatin1String("Edit"))
        return URightsEdit >= (Action->Tag / 100) % 10;
    return URights >= (Action->Tag / 1000) % 10;
}

int TrDBAction::ComputeFlags() const
{
    if (!FGrid)
        return 255;
    int flags = 1;
    try {
        TDataSet* ds = FGrid->DataSource() ? FGrid->DataSource()->DataSet() : nullptr;
        if (!ds)
            return flags;
        switch (ds->State()) {
        case dsBrowse: flags = 8; break;
        case dsEdit: flags = 16; break;
        case dsInsert: flags = 32; break;
        default: flags = 1; break;
        }
        if (ds->Active()) {
            if (ds->IsEmpty())
                flags |= 4;
            if (!ds->CanModify())
                flags |= 2;
        }
    } catch (const std::exception&) {
        // the flags known so far
    }
    return flags;
}

void TrDBAction::RefreshAction()
{
    const int mask = FGrid ? (FGrid->Tag | (FGrid->ReadOnly() ? 1 : 0)) : -1;
    FFlags = ComputeFlags();
    const std::pair<TAction*, int> singles[] = {{acoClose, 128}, {aceDuplic, 256}, {aceSaveAdd, 512}, {aceAdd, 1024},
                                                {aceEdit, 2048}, {aceDelete, 4096}, {aceAutoEdit, 8192}};
    for (int i = 0; i < ActList->ActionCount(); ++i) {
        auto* a = static_cast<TAction*>(ActList->Actions(i));
        const int bit = CategoryBit(a->Category());
        const bool categoryOk = bit == 0 || (mask != -1 && (mask & bit) == 0);
        bool stateOk = ((a->Tag % 100) & FFlags) == 0 && IsUserRightsOk(a);
        if (a == acoRefresh)
            stateOk = stateOk && FGrid && (FGrid->Sorter() || FGrid->OnRefreshData);
        bool enabled = categoryOk && stateOk;
        bool visible = true;
        if (FGrid)
            for (const auto& [action, b] : singles)
                if (action == a)
                    visible = (mask & b) == 0;
        a->SetVisible(visible);
        a->SetShortCut(categoryOk && visible ? acShortCuts[size_t(i)] : scNone);
        if (a->Tag == 0) {
            enabled = false;
            if (OnGetOtherActionState)
                OnGetOtherActionState(a, FGrid, enabled);
        }
        a->SetEnabled(enabled);
    }
    aceEdit->SetShortCut(aceEdit->Enabled() ? acEditSC : scNone);
    // The value list opens from a funnel button: a grid without them offers none.
    if (FGrid && !FGrid->OptionsEx2().Filters.FunnelBtn)
        acfFilterDlg->SetEnabled(false);
    FMenuRecord->SetVisible(mask != -1 && !(mask & 1));
    FMenuRecordSep->SetVisible(FMenuRecord->Visible());
    FMenuSort->SetVisible(mask != -1 && !(mask & 2));
    FMenuFilter->SetVisible(mask != -1 && !(mask & 4));
    FMenuColumns->SetVisible(mask != -1 && !(mask & 8));
    TDataSet* ds = FGrid && FGrid->DataSource() ? FGrid->DataSource()->DataSet() : nullptr;
    if (ds) {
        try {
            if (!aceAdd->Visible() && ds->State() == dsInsert)
                ds->Cancel();
            accWidthAuto->SetChecked(FGrid->ColumnWidth() == cwAutoWidth);
            accWidthSame->SetChecked(FGrid->ColumnWidth() == cwSameWidth);
            aceAutoEdit->SetChecked(FGrid->DataSource()->AutoEdit());
            acfFilter->SetChecked(ds->Filtered());
            acfFilterLoad->SetEnabled(GetGlobal_PropSaveFile() != nullptr);
            acfFilterSave->SetEnabled(acfFilterLoad->Enabled() && acfFilter->Checked());
        } catch (const std::exception&) {
        }
    }
    if (ParioCompConfig.rDBGridPropsCfg.HideCellParams)
        acoColor->SetVisible(false);
    for (TToolBar* bar : FBars)
        bar->Realign();
}

bool TrDBAction::CheckEditState(bool ShowDialog)
{
    if (ShowDialog && FGrid && IsEditing(FGrid)) {
        const int answer = DlgQCancel(gridacttxt::SaveChanges);
        try {
            if (answer == IDYES)
                Execute(aceSave);
            else if (answer == IDNO)
                Execute(aceCancel);
        } catch (const EAbort&) {
        } catch (const std::exception& E) {
            ShowErr(gridacttxt::CannotSaveRecord, E, false);
        }
    }
    return !FGrid || !IsEditing(FGrid);
}

void TrDBAction::CheckShortcut(Word& Key, TShiftState Shift)
{
    if (Key == 0)
        return;
    const TShortCut sc = ShortCut(Key, Shift);
    for (int i = 0; i < ActList->ActionCount(); ++i) {
        TCustomAction* a = ActList->Actions(i);
        if (a->ShortCut() != scNone && a->ShortCut() == sc) {
            if (a->Enabled())
                a->Execute();
            Key = 0;
            break;
        }
    }
    if (Key == VK_ESCAPE) {
        Execute(aceCancel);
        Key = 0;
    }
}

void TrDBAction::AddDBToolMenu(TMenuItem* M)
{
    std::function<void(TMenuItem*, TMenuItem*)> copy = [&](TMenuItem* Src, TMenuItem* Dest) {
        auto* c = new TMenuItem(M->Owner());
        c->SetCaption(Src->Caption());
        c->SetImageIndex(Src->ImageIndex());
        if (Src->Action())
            c->SetAction(Src->Action());
        Dest->Add(c);
        for (int i = 0; i < Src->Count(); ++i)
            copy(Src->Items(i), c);
    };
    TMenuItem* root = pmDBAction->Items();
    for (int i = 2; i < root->Count(); ++i)
        copy(root->Items(i), M);
}

bool TrDBAction::RunDialog(TAction* A)
{
    TrDBGrid* g = FGrid;
    const TrDBActionDialogs& d = Dialogs;
    auto missing = [A] { MessageBox(gridacttxt::DialogNotThere, A->Caption(), MB_OK | MB_ICONINFORMATION); };
    auto refreshNames = [g](bool Done) {
        if (Done && g)
            TrDBGridColumnFilters::Of(g)->RefreshFilteredFieldNames();
    };
    if (A == acoExport || A == acoPrint || A == acoPrintDirect) {
        const std::function<void(TrDBGrid*, bool, bool)>& run = A == acoExport ? d.Export : A == acoPrint ? d.Print : d.PrintDirect;
        if (!run)
            MessageBox(gridacttxt::ExportNotReady, A->Caption(), MB_OK | MB_ICONINFORMATION);
        else if (g && A == acoExport)
            run(g, acfFilter->Enabled(), accColumns->Enabled());
        else if (g)
            run(g, accColumns->Enabled(), acfFilter->Enabled());
    } else if (A == acfFilterSel || A == acfFilterSelAnd || A == acfFilterSelOr) {
        refreshNames(g && FilterBySel(g, A == acfFilterSel ? fjNone : A == acfFilterSelAnd ? fjAnd : fjOr));
    } else if (A == acfFilterDlg) {
        if (g)
            g->ShowFilterDlg(nullptr);
    } else if (A == acoFind) {
        d.Find ? void(g && d.Find(g)) : missing();
    } else if (A == acfFilterForm) {
        d.FilterForm ? refreshNames(g && d.FilterForm(g)) : missing();
    } else if (A == acsSortDlg) {
        d.SortDialog ? void(g && d.SortDialog(g)) : missing();
    } else if (A == accColumns) {
        d.ChooseFields ? (g ? d.ChooseFields(g) : void()) : missing();
    } else if (A == acfFilterSave) {
        d.SaveFilter ? void(g && d.SaveFilter(g)) : missing();
    } else if (A == acfFilterLoad) {
        d.LoadFilter ? refreshNames(g && d.LoadFilter(g)) : missing();
    } else if (A == acoProperties) {
        if (g) {
            const auto show = d.TableProperties ? d.TableProperties : DBGridProperties;
            show(g, accColumns->Enabled(), true, acfFilter->Enabled(), true);
        }
    } else if (A == acoColor) {
        if (g)
            d.CellParams ? d.CellParams(g) : void(DBGridCellParams(g));
    } else {
        return false;
    }
    return true;
}

void TrDBAction::Execute(TAction* A)
{
    TrDBGrid* g = FGrid;
    TDataSet* ds = g && g->DataSource() ? g->DataSource()->DataSet() : nullptr;
    auto needGrid = [&] { return g && ds; };
    if (RunDialog(A)) {
        // done by a dialog of a library above
    } else if (A == aceAdd) {
        if (g) AddRecordEx(g, false);
    } else if (A == aceDuplic) {
        if (g) DuplicRecord(g, 1, false);
    } else if (A == aceEdit) {
        if (needGrid()) ds->Edit();
    } else if (A == aceDelete) {
        if (needGrid()) ds->Delete();
    } else if (A == aceSave) {
        if (needGrid()) ds->Post();
    } else if (A == aceSaveAdd) {
        if (needGrid()) {
            ds->Post();
            AddRecordEx(g, false);
        }
    } else if (A == aceCancel) {
        if (needGrid() && (ds->State() == dsEdit || ds->State() == dsInsert))
            ds->Cancel();
    } else if (A == aceAutoEdit) {
        if (g && g->DataSource()) g->DataSource()->SetAutoEdit(!g->DataSource()->AutoEdit());
    } else if (A == acfFilter) {
        if (needGrid()) {
            SetFilterString(ds, ds->Filtered() ? QString() : ds->Filter(), true);
            TrDBGridColumnFilters::Of(g)->RefreshFilteredFieldNames();
        }
    } else if (A == accWidthAuto || A == accWidthSame) {
        const TColumnWidth mode = A == accWidthAuto ? cwAutoWidth : cwSameWidth;
        if (g) g->SetColumnWidthMode(g->ColumnWidth() == mode ? cwNone : mode);
    } else if (A == accWidthData || A == accWidthDefault) {
        if (g) {
            g->SetColumnWidthMode(A == accWidthData ? cwDataWidth : cwDefaultWidth);
            g->SetColumnWidthMode(cwNone);
        }
    } else if (A == acsSort1 || A == acsSort2 || A == acsSort3) {
        try {
            if (g && g->SelectedField()) {
                const QString name = g->SelectedField()->FieldName();
                if (A != acsSort3)
                    g->ChangeSort(name, A == acsSort2);
                else if (g->PosInSortField(name) < 1)
                    g->ChangeSort(g->SortFieldName() + QLatin1Char(',') + name, g->SortDesc());
            }
        } catch (const std::exception&) {
        }
    } else if (A == acsSortNone) {
        if (g) {
            g->SetSortFieldName(QString());
            g->ChangeSort(QString(), false);
        }
    } else if (A == acoRefresh) {
        try {
            if (g && g->Sorter())
                g->Sorter()->DoRefresh(g, ds);
            else if (g && g->OnRefreshData)
                g->OnRefreshData(g);
        } catch (const std::exception&) {
        }
    } else if (A == acoClose) {
        if (CheckEditState(true))
            if (TCustomForm* f = Screen->ActiveForm())
                f->Close();
    } else if (A == acoCopyCell) {
        if (g) g->CopyCellData(true);
    } else if (A == acoCopyCol) {
        if (g) g->CopyActiveFieldData(acoCopyIncTitle->Checked());
    } else if (A == acoCopyRow) {
        if (g) g->CopyActiveRecordData(acoCopyIncTitle->Checked(), acoCopyIncHidden->Checked());
    } else if (A == acoCopyAll) {
        if (g) g->CopyAllData(acoCopyIncTitle->Checked(), acoCopyIncHidden->Checked());
    } else if (A == acoPaste) {
        if (g) g->PasteData(true);
    } else if (A == acoImport || A == acoBatchEdit || A == acoOtherAction) {
        if (OnRunOtherAction) OnRunOtherAction(A, g);
    }
    RefreshAction();
}

TToolBar* TrDBAction::CreateToolBar(TWinControl* Parent)
{
    auto* bar = new TrDBActionBar(Parent);
    bar->SetName(QStringLiteral("TrDBToolBar"));
    bar->SetParent(Parent);
    bar->SetAlign(alTop);
    bar->Gradient = true;
    bar->SetShowHint(true);
    bar->SetTransparent(true);
    bar->Images = ImgEna;
    bar->DisabledImages = ImgDis;
    auto button = [bar, this](TAction* A, TPopupMenu* DropDown) {
        auto* b = new TToolButton(bar);
        if (A) {
            b->SetAction(A);
            if (DropDown) {
                b->SetStyle(tbsDropDown);
                b->DropdownMenu = DropDown;
            }
        } else {
            b->SetStyle(tbsSeparator);
        }
        b->SetParent(bar);
    };
    const std::pair<TAction*, TPopupMenu*> layout[] = {
        {acoFind, nullptr},       {nullptr, nullptr},      {acsSort1, nullptr},       {acsSort2, nullptr},
        {acsSortDlg, pmSortList}, {nullptr, nullptr},      {acfFilterSel, pmFilterSel}, {acfFilterForm, nullptr},
        {acfFilter, pmFilterList}, {nullptr, nullptr},     {accColumns, pmColumnWidth}, {acoProperties, nullptr},
        {nullptr, nullptr},       {acoCopyCell, pmCopyData}, {acoExport, nullptr},    {acoPrint, nullptr},
        {acoPrintDirect, nullptr}, {nullptr, nullptr},     {acoRefresh, nullptr}};
    for (const auto& [a, m] : layout)
        button(a, m);
    FBars.push_back(bar);
    FreeNotification(bar);
    return bar;
}

TToolBar* TrDBAction::CreateEditBar(TWinControl* Parent)
{
    auto* bar = new TrDBActionBar(Parent);
    bar->SetName(QStringLiteral("TrDBEditBar"));
    bar->SetParent(Parent);
    bar->SetAlign(alBottom);
    bar->SetShowCaptions(true);
    bar->SetButtonWidth(75);
    bar->SetButtonHeight(36);
    bar->EdgeBorders = true;
    bar->Images = ImgEna;
    bar->DisabledImages = ImgDis;
    // Duplicate ends the first row: delete, save, save and new, cancel and close follow below.
    for (TAction* a : {aceEdit, static_cast<TAction*>(nullptr), aceAdd, aceDuplic, aceDelete, aceSave, aceSaveAdd, aceCancel,
                       static_cast<TAction*>(nullptr), acoClose}) {
        auto* b = new TToolButton(bar);
        if (a) {
            b->SetAction(a);
        } else {
            b->SetStyle(tbsSeparator);
            b->SetWidth(8);
        }
        b->SetParent(bar);
        if (a == aceDuplic)
            bar->SetWrap(b, true);
    }
    FBars.push_back(bar);
    FreeNotification(bar);
    return bar;
}

void TrDBAction::RelinkActionTo(TWinControl* C, TrDBAction* NewDBAction)
{
    if (!C || !NewDBAction || NewDBAction == this)
        return;
    const std::pair<TPopupMenu*, TPopupMenu*> menus[] = {{pmFilterSel, NewDBAction->pmFilterSel},
                                                         {pmFilterList, NewDBAction->pmFilterList},
                                                         {pmColumnWidth, NewDBAction->pmColumnWidth},
                                                         {pmSortList, NewDBAction->pmSortList},
                                                         {pmCopyData, NewDBAction->pmCopyData}};
    for (int i = 0; i < C->ControlCount(); ++i) {
        TControl* ctl = C->Controls(i);
        if (TBasicAction* a = ctl->Action()) {
            // The same place in the other module's list.
            for (int k = 0; k < ActList->ActionCount() && k < NewDBAction->ActList->ActionCount(); ++k)
                if (ActList->Actions(k) == a) {
                    ctl->SetAction(NewDBAction->ActList->Actions(k));
                    break;
                }
        }
        if (auto* b = dynamic_cast<TToolButton*>(ctl))
            for (const auto& [mine, theirs] : menus)
                if (b->DropdownMenu && b->DropdownMenu == mine)
                    b->DropdownMenu = theirs;
        if (auto* w = dynamic_cast<TWinControl*>(ctl))
            RelinkActionTo(w, NewDBAction);
    }
}

void TrDBAction::acdIfBrowseExecute(TComponent* Trigger)
{
    // The button, speed button or menu item's own click handler, with the module as sender.
    if (auto* item = dynamic_cast<TMenuItem*>(Trigger)) {
        if (item->OnClick)
            item->OnClick(this);
    } else if (auto* ctl = dynamic_cast<TControl*>(Trigger)) {
        if (ctl->OnClick)
            ctl->OnClick(this);
    }
}
