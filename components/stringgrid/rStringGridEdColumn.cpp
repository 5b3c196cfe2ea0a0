#include "components/stringgrid/rStringGridEdColumn.h"

#include "components/stringgrid/rStringGridEd.h"

#include <algorithm>

// ---- TrStringGridEdColumn ----------------------------------------------------------------

TrStringGridEdColumn::TrStringGridEdColumn(TrStringGridEdColumns* Collection) : FCollection(Collection)
{
    FFont.OnChange = [this] {
        if (!FSettingFont)
            FParentFont = false;
        Changed();
    };
    FTitleFont.OnChange = [this] {
        if (!FSettingFont)
            FTitleParentFont = false;
        Changed();
    };
    RestoreDefaults();
}

TrStringGridEdColumn::~TrStringGridEdColumn() = default;

TrStringGridEd* TrStringGridEdColumn::Grid() const { return FCollection ? FCollection->Grid() : nullptr; }

int TrStringGridEdColumn::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

void TrStringGridEdColumn::Changed()
{
    if (FCollection)
        FCollection->Update();
}

void TrStringGridEdColumn::RestoreDefaults()
{
    FButtonStyle = sgbNone;
    DataType = sgdText;
    FDataImageList = nullptr;
    NumFormat.clear();
    MinValue = 0;
    MaxValue = 0;
    InvalidDataAction = sgaHighlight;
    InvalidDataColor = clRed;
    DropDownRows = 12;
    CheckBoxTrueValue = QStringLiteral("1");
    CheckBoxFalseValue = QStringLiteral("0");
    CheckBoxDblClick = false;
    CheckListSeparator = QStringLiteral(",");
    CheckListCaseSensitive = false;
    FAlignment = taLeftJustify;
    FCheckboxAlignment = taCenter;
    AutoAlignment = false;
    FColor = clWindow;
    PickList.clear();
    ReadOnly = false;
    FTitleCaption.clear();
    FTitleAlignment = taLeftJustify;
    FTitleWordWrap = false;
    FWidth = 90;
    FParentFont = true;
    FTitleParentFont = true;
    GridFontChanged();
    TrStringGridEd* g = Grid();
    if (!g)
        return;
    FWidth = g->DefaultColWidth();
    FColor = g->Color();
    ApplyWidthToGrid();
    if (g->OnColumnRestoreDefault)
        g->OnColumnRestoreDefault(this);
    Changed();
}

void TrStringGridEdColumn::Assign(const TrStringGridEdColumn& S)
{
    FButtonStyle = S.FButtonStyle;
    DataType = S.DataType;
    NumFormat = S.NumFormat;
    MinValue = S.MinValue;
    MaxValue = S.MaxValue;
    InvalidDataAction = S.InvalidDataAction;
    InvalidDataColor = S.InvalidDataColor;
    OutOfLimitDataColor = S.OutOfLimitDataColor;
    DropDownRows = S.DropDownRows;
    DropDownListCanDelete = S.DropDownListCanDelete;
    CheckBoxTrueValue = S.CheckBoxTrueValue;
    CheckBoxFalseValue = S.CheckBoxFalseValue;
    CheckBoxDblClick = S.CheckBoxDblClick;
    CheckListSeparator = S.CheckListSeparator;
    CheckListCaseSensitive = S.CheckListCaseSensitive;
    FAlignment = S.FAlignment;
    FCheckboxAlignment = S.FCheckboxAlignment;
    AutoAlignment = S.AutoAlignment;
    FColor = S.FColor;
    FSettingFont = true;
    FFont.Assign(S.FFont);
    FTitleFont.Assign(S.FTitleFont);
    FSettingFont = false;
    FParentFont = S.FParentFont;
    FTitleParentFont = S.FTitleParentFont;
    PickList = S.PickList;
    ReadOnly = S.ReadOnly;
    FVisible = S.FVisible;
    FTitleCaption = S.FTitleCaption;
    FTitleColor = S.FTitleColor;
    FTitleAlignment = S.FTitleAlignment;
    FWordWrap = S.FWordWrap;
    FTitleWordWrap = S.FTitleWordWrap;
    FieldName = S.FieldName;
    ColumnGroup = S.ColumnGroup;
    OnDropDownDrawItemEvent = S.OnDropDownDrawItemEvent;
    OnDropDownMeasureItemEvent = S.OnDropDownMeasureItemEvent;
    OnDropDownGetSize = S.OnDropDownGetSize;
    SetWidth(S.FWidth);
    Changed();
}

void TrStringGridEdColumn::GridFontChanged()
{
    TrStringGridEd* g = Grid();
    if (!g)
        return;
    FSettingFont = true;
    if (FParentFont)
        FFont.Assign(*g->Font());
    if (FTitleParentFont)
        FTitleFont.Assign(*g->Font());
    FSettingFont = false;
}

void TrStringGridEdColumn::SetParentFont(bool V)
{
    FParentFont = V;
    if (V)
        GridFontChanged();
}

void TrStringGridEdColumn::SetTitleParentFont(bool V)
{
    FTitleParentFont = V;
    if (V)
        GridFontChanged();
}

void TrStringGridEdColumn::SetButtonStyle(TrStringGridEdEditStyle V) { FButtonStyle = V; Changed(); }
void TrStringGridEdColumn::SetDataImageList(TCustomImageList* V)
{
    FDataImageList = V;
    if (V && Grid())
        V->FreeNotification(Grid());
    Changed();
}
void TrStringGridEdColumn::SetAlignment(TAlignment V) { FAlignment = V; Changed(); }
void TrStringGridEdColumn::SetCheckboxAlignment(TAlignment V) { FCheckboxAlignment = V; Changed(); }
void TrStringGridEdColumn::SetColor(TColor V) { FColor = V; Changed(); }
void TrStringGridEdColumn::SetCustomDraw(bool V) { FCustomDraw = V; Changed(); }
void TrStringGridEdColumn::SetTitleColor(TColor V) { FTitleColor = V; Changed(); }
void TrStringGridEdColumn::SetTitleAlignment(TAlignment V) { FTitleAlignment = V; Changed(); }
void TrStringGridEdColumn::SetWordWrap(bool V) { FWordWrap = V; Changed(); }
void TrStringGridEdColumn::SetTitleWordWrap(bool V) { FTitleWordWrap = V; Changed(); }

void TrStringGridEdColumn::SetTitleCaption(const QString& V)
{
    if (V == FTitleCaption)
        return;
    FTitleCaption = V;
    Changed();
}

void TrStringGridEdColumn::ApplyWidthToGrid()
{
    TrStringGridEd* g = Grid();
    const int i = Index();
    if (!g || i < 0 || i >= g->ColCount())
        return;
    g->FSettingWidths = true;
    g->SetColWidths(i, FVisible ? FWidth : -1);
    g->FSettingWidths = false;
}

void TrStringGridEdColumn::SetWidth(int V)
{
    FWidth = V;
    ApplyWidthToGrid();
}

void TrStringGridEdColumn::SetVisible(bool V)
{
    if (V == FVisible)
        return;
    TrStringGridEd* g = Grid();
    const int i = Index();
    // The width the user gave the column is kept while it is hidden.
    if (!V && g && i >= 0 && i < g->ColCount() && g->ColWidths(i) > 0)
        FWidth = g->ColWidths(i);
    FVisible = V;
    ApplyWidthToGrid();
    Changed();
}

// ---- check lists --------------------------------------------------------------------------

bool TrStringGridEdColumn::CheckListContainValue(const QString& Text, const QString& Value) const
{
    const Qt::CaseSensitivity cs = CheckListCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const QStringList parts = Text.split(CheckListSeparator);
    return std::any_of(parts.begin(), parts.end(), [&](const QString& p) { return p.compare(Value, cs) == 0; });
}

QString TrStringGridEdColumn::CheckListAddValue(const QString& Text, const QString& Value) const
{
    if (Text.isEmpty())
        return Value;
    if (CheckListContainValue(Text, Value))
        return Text;
    return Text + CheckListSeparator + Value;
}

QString TrStringGridEdColumn::CheckListRemoveValue(const QString& Text, const QString& Value) const
{
    const Qt::CaseSensitivity cs = CheckListCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QString r;
    for (const QString& p : Text.split(CheckListSeparator))
        if (p.compare(Value, cs) != 0)
            r = CheckListAddValue(r, p);
    return r;
}

QString TrStringGridEdColumn::CheckListCleanUpText(const QString& Text, bool SortAsPickList) const
{
    if (!IsCheckListStyle(FButtonStyle))
        return Text;
    QString r;
    if (SortAsPickList) {
        for (const QString& item : PickList)
            if (CheckListContainValue(Text, item))
                r = CheckListAddValue(r, item);
        return r;
    }
    for (const QString& p : Text.split(CheckListSeparator))
        if (PickList.contains(p, Qt::CaseInsensitive))
            r = CheckListAddValue(r, p);
    return r;
}

void TrStringGridEdColumn::CheckListCleanUpRow(int ARow, bool SortAsPickList)
{
    TrStringGridEd* g = Grid();
    const int c = Index();
    if (!g || c < 0 || ARow < g->FixedRows() || ARow >= g->RowCount())
        return;
    const QString old = g->Cells(c, ARow);
    const QString now = CheckListCleanUpText(old, SortAsPickList);
    if (now != old)
        g->SetCells(c, ARow, now);
}

// ---- TrStringGridEdColumns -----------------------------------------------------------------

TrStringGridEdColumn* TrStringGridEdColumns::Add()
{
    FItems.push_back(std::make_unique<TrStringGridEdColumn>(this));
    return FItems.back().get();
}

void TrStringGridEdColumns::Delete(int Index)
{
    if (Index >= 0 && Index < Count())
        FItems.erase(FItems.begin() + Index);
}

void TrStringGridEdColumns::Move(int From, int To)
{
    if (From < 0 || To < 0 || From >= Count() || To >= Count() || From == To)
        return;
    auto item = std::move(FItems[size_t(From)]);
    FItems.erase(FItems.begin() + From);
    FItems.insert(FItems.begin() + To, std::move(item));
}

void TrStringGridEdColumns::Insert(int Index, int N)
{
    for (int i = 0; i < N; ++i)
        FItems.insert(FItems.begin() + std::clamp(Index, 0, Count()), std::make_unique<TrStringGridEdColumn>(this));
}

int TrStringGridEdColumns::IndexOf(const TrStringGridEdColumn* C) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)].get() == C)
            return i;
    return -1;
}

void TrStringGridEdColumns::RestoreDefaults()
{
    BeginUpdate();
    for (auto& c : FItems)
        c->RestoreDefaults();
    EndUpdate();
}

void TrStringGridEdColumns::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Update();
}

void TrStringGridEdColumns::Update()
{
    if (FUpdateCount == 0 && FGrid)
        FGrid->Invalidate();
}
