// The data grid's columns and titles, its selected-row bookmarks and its
// data link.
#include "platform/ui/DBGrids.h"

#include <algorithm>

namespace {

TAlignment FieldAlignment(const TField* F)
{
    return F ? TAlignment(int(F->Alignment())) : taLeftJustify;
}

}  // namespace

// ---- TColumnTitle --------------------------------------------------------------------

QString TColumnTitle::Caption() const
{
    return (FColumn->FAssigned & cvTitleCaption) ? FCaption : DefaultCaption();
}

void TColumnTitle::SetCaption(const QString& v)
{
    FCaption = v;
    FColumn->FAssigned |= cvTitleCaption;
    FColumn->Changed();
}

QString TColumnTitle::DefaultCaption() const
{
    if (TField* f = FColumn->Field())
        return f->DisplayLabel();
    return FColumn->FieldName();
}

TAlignment TColumnTitle::Alignment() const { return (FColumn->FAssigned & cvTitleAlignment) ? FAlignment : taLeftJustify; }

void TColumnTitle::SetAlignment(TAlignment v)
{
    FAlignment = v;
    FColumn->FAssigned |= cvTitleAlignment;
    FColumn->Changed();
}

TColor TColumnTitle::Color() const
{
    if (FColumn->FAssigned & cvTitleColor)
        return FColor;
    TCustomDBGrid* g = FColumn->Grid();
    return g ? g->FixedColor() : clBtnFace;
}

void TColumnTitle::SetColor(TColor v)
{
    FColor = v;
    FColumn->FAssigned |= cvTitleColor;
    FColumn->Changed();
}

TFont* TColumnTitle::Font()
{
    if (!(FColumn->FAssigned & cvTitleFont))
        if (TCustomDBGrid* g = FColumn->Grid())
            FFont.Assign(*g->TitleFont());
    return &FFont;
}

void TColumnTitle::SetFont(const TFont& v)
{
    FFont.Assign(v);
    FColumn->FAssigned |= cvTitleFont;
    FColumn->Changed();
}

void TColumnTitle::RestoreDefaults()
{
    FColumn->FAssigned &= ~(cvTitleCaption | cvTitleAlignment | cvTitleColor | cvTitleFont);
    FColumn->Changed();
}

void TColumnTitle::Assign(const TColumnTitle& S)
{
    FCaption = S.FCaption;
    FAlignment = S.FAlignment;
    FColor = S.FColor;
    FFont.Assign(S.FFont);
}

// ---- TColumn -------------------------------------------------------------------------

TColumn::TColumn(TDBGridColumns* Collection) : FCollection(Collection), FTitle(this) {}

TCustomDBGrid* TColumn::Grid() const { return FCollection ? FCollection->Grid() : nullptr; }

void TColumn::SetFieldName(const QString& v)
{
    FFieldName = v;
    FField = nullptr;
    Changed();
}

TField* TColumn::Field() const
{
    TCustomDBGrid* g = Grid();
    TDataSet* ds = g ? g->FDataLink.DataSet() : nullptr;
    if (!ds || FFieldName.isEmpty())
        return nullptr;
    if (FField && FField->DataSet() == ds && QString::compare(FField->FieldName(), FFieldName, Qt::CaseInsensitive) == 0)
        return FField;
    const_cast<TColumn*>(this)->FField = ds->FindField(FFieldName);
    return FField;
}

void TColumn::SetField(TField* v)
{
    FField = v;
    FFieldName = v ? v->FieldName() : QString();
    Changed();
}

int TColumn::DefaultWidth() const
{
    TCustomDBGrid* g = Grid();
    TField* f = Field();
    if (!g || !f)
        return 64;
    TCanvas measure;
    measure.Font()->Assign(*g->Font());
    int w = std::min(f->DisplayWidth(), 40) * measure.TextWidth(QStringLiteral("0")) + 4;
    measure.Font()->Assign(*g->TitleFont());
    w = std::max(w, measure.TextWidth(const_cast<TColumn*>(this)->FTitle.Caption()) + 4);
    return w;
}

int TColumn::Width() const { return (FAssigned & cvWidth) ? FWidth : DefaultWidth(); }

void TColumn::SetWidth(int v)
{
    if ((FAssigned & cvWidth) && FWidth == v)
        return;
    FWidth = v;
    FAssigned |= cvWidth;
    Changed();
}

void TColumn::SetVisible(bool v)
{
    if (FVisible == v)
        return;
    FVisible = v;
    Changed();
}

int TColumn::Index() const
{
    if (!FCollection)
        return -1;
    for (int i = 0; i < FCollection->Count(); ++i)
        if (FCollection->Items(i) == this)
            return i;
    return -1;
}

void TColumn::SetIndex(int v)
{
    if (FCollection)
        FCollection->Move(Index(), v);
}

bool TColumn::ReadOnly() const
{
    if (FAssigned & cvReadOnly)
        return FReadOnly;
    TField* f = Field();
    return f && f->ReadOnly();
}

void TColumn::SetReadOnly(bool v)
{
    FReadOnly = v;
    FAssigned |= cvReadOnly;
    Changed();
}

TColor TColumn::DefaultColor() const
{
    TCustomDBGrid* g = Grid();
    return g ? g->Color() : clWindow;
}

TColor TColumn::Color() const { return (FAssigned & cvColor) ? FColor : DefaultColor(); }

void TColumn::SetColor(TColor v)
{
    FColor = v;
    FAssigned |= cvColor;
    Changed();
}

TFont* TColumn::DefaultFont() const
{
    TCustomDBGrid* g = Grid();
    return g ? g->Font() : nullptr;
}

TFont* TColumn::Font()
{
    if (!(FAssigned & cvFont))
        if (TFont* d = DefaultFont())
            FFont.Assign(*d);
    return &FFont;
}

void TColumn::SetFont(const TFont& v)
{
    FFont.Assign(v);
    FAssigned |= cvFont;
    Changed();
}

TAlignment TColumn::DefaultAlignment() const { return FieldAlignment(Field()); }

TAlignment TColumn::Alignment() const { return (FAssigned & cvAlignment) ? FAlignment : DefaultAlignment(); }

void TColumn::SetAlignment(TAlignment v)
{
    FAlignment = v;
    FAssigned |= cvAlignment;
    Changed();
}

void TColumn::RestoreDefaults()
{
    FAssigned = 0;
    ButtonStyle = cbsAuto;
    PickList.clear();
    DropDownRows = 7;
    Changed();
}

void TColumn::Assign(const TColumn& S)
{
    FFieldName = S.FFieldName;
    FField = nullptr;
    FVisible = S.FVisible;
    FWidth = S.FWidth;
    FReadOnly = S.FReadOnly;
    FColor = S.FColor;
    FFont.Assign(S.FFont);
    FAlignment = S.FAlignment;
    FTitle.Assign(S.FTitle);
    FAssigned = S.FAssigned;
    ButtonStyle = S.ButtonStyle;
    PickList = S.PickList;
    DropDownRows = S.DropDownRows;
    Tag = S.Tag;
    Changed();
}

bool TColumn::Showing() const { return FVisible; }

void TColumn::Changed()
{
    if (FCollection)
        FCollection->Changed();
}

// ---- TDBGridColumns ------------------------------------------------------------------

TColumn* TDBGridColumns::Add()
{
    FItems.push_back(std::make_unique<TColumn>(this));
    if (FUpdateCount == 0 && !(FGrid && FGrid->FInLayout))
        FState = csCustomized;
    Changed();
    return FItems.back().get();
}

void TDBGridColumns::Clear()
{
    FItems.clear();
    // A program that clears the columns sets its own.
    if (FUpdateCount == 0 && !(FGrid && FGrid->FInLayout))
        FState = csCustomized;
    Changed();
}

void TDBGridColumns::Delete(int i)
{
    FItems.erase(FItems.begin() + i);
    Changed();
}

void TDBGridColumns::Assign(const TDBGridColumns& Source)
{
    BeginUpdate();
    FItems.clear();
    for (const auto& c : Source.FItems) {
        FItems.push_back(std::make_unique<TColumn>(this));
        FItems.back()->Assign(*c);
    }
    FState = Source.FItems.empty() ? csDefault : csCustomized;
    EndUpdate();
}

void TDBGridColumns::SetState(TDBGridColumnsState v)
{
    if (v == FState)
        return;
    FState = v;
    if (v == csDefault)
        RebuildColumns();
}

void TDBGridColumns::RebuildColumns()
{
    TDataSet* ds = FGrid ? FGrid->FDataLink.DataSet() : nullptr;
    BeginUpdate();
    FItems.clear();
    if (ds)
        for (int i = 0; i < ds->FieldCount(); ++i) {
            TField* f = ds->Fields()[i];
            if (!f->Visible())
                continue;
            FItems.push_back(std::make_unique<TColumn>(this));
            FItems.back()->FFieldName = f->FieldName();
            FItems.back()->FField = f;
        }
    FState = csDefault;
    EndUpdate();
}

void TDBGridColumns::RestoreDefaults()
{
    BeginUpdate();
    for (auto& c : FItems)
        c->RestoreDefaults();
    EndUpdate();
}

void TDBGridColumns::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Changed();
}

void TDBGridColumns::Move(int From, int To)
{
    if (From < 0 || From >= Count() || To < 0 || To >= Count() || From == To)
        return;
    auto c = std::move(FItems[size_t(From)]);
    FItems.erase(FItems.begin() + From);
    FItems.insert(FItems.begin() + To, std::move(c));
    if (FUpdateCount == 0 && !(FGrid && FGrid->FInLayout))
        FState = csCustomized;
    Changed();
}

void TDBGridColumns::Changed()
{
    if (FUpdateCount > 0 || !FGrid || FGrid->FInLayout)
        return;
    FGrid->LayoutChanged();
}

// ---- TBookmarkList -------------------------------------------------------------------

namespace {

// Whether a remembered row is the row the dataset's fields read from now
// (the link may have made another visible row active for painting).
bool IsActiveRow(TDataSet& D, const TBookmark& B)
{
    if (D.ActiveRecordOverride() < 0)
        return D.GetBookmark() == B;
    bool anyKey = false;
    for (const QVariant& k : B.Key)
        anyKey = anyKey || k.isValid();
    if (!anyKey)
        return B.RecNo == D.ActiveRecordOverride() + 1;
    QVariantList key;
    for (const QString& n : D.KeyFields().split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (TField* f = D.FindField(n.trimmed()))
            key << f->RawValue();
    return key == B.Key;
}

}  // namespace

bool TBookmarkList::CurrentRowSelected() const
{
    TDataSet* ds = FGrid->FDataLink.DataSet();
    if (!ds || !ds->Active() || ds->IsEmpty())
        return false;
    for (const TBookmark& b : FList)
        if (IsActiveRow(*ds, b))
            return true;
    return false;
}

void TBookmarkList::SetCurrentRowSelected(bool v)
{
    TDataSet* ds = FGrid->FDataLink.DataSet();
    if (!ds || !ds->Active() || ds->IsEmpty())
        return;
    const TBookmark b = ds->GetBookmark();
    int i = -1;
    const bool found = Find(b, i);
    if (v && !found)
        FList.push_back(b);
    else if (!v && found)
        FList.erase(FList.begin() + i);
    FGrid->Invalidate();
}

bool TBookmarkList::Find(const TBookmark& B, int& Index) const
{
    Index = IndexOf(B);
    return Index >= 0;
}

int TBookmarkList::IndexOf(const TBookmark& B) const
{
    for (size_t i = 0; i < FList.size(); ++i)
        if (FList[i] == B)
            return int(i);
    return -1;
}

void TBookmarkList::Clear()
{
    if (FList.empty())
        return;
    FList.clear();
    FGrid->Invalidate();
}

void TBookmarkList::Delete()
{
    TDataSet* ds = FGrid->FDataLink.DataSet();
    if (!ds)
        return;
    ds->DisableControls();
    try {
        for (const TBookmark& b : FList)
            if (ds->BookmarkValid(b)) {
                ds->GotoBookmark(b);
                ds->Delete();
            }
    } catch (...) {
        ds->EnableControls();
        FList.clear();
        throw;
    }
    FList.clear();
    ds->EnableControls();
}

bool TBookmarkList::Refresh()
{
    TDataSet* ds = FGrid->FDataLink.DataSet();
    const size_t before = FList.size();
    if (ds)
        FList.erase(std::remove_if(FList.begin(), FList.end(), [&](const TBookmark& b) { return !ds->BookmarkValid(b); }), FList.end());
    return FList.size() != before;
}

// ---- TGridDataLink -------------------------------------------------------------------

void TGridDataLink::Reset()
{
    if (FModified)
        RecordChanged(nullptr);
    FModified = false;
}

void TGridDataLink::ActiveChanged() { FGrid->LinkActive(Active()); }
void TGridDataLink::DataSetChanged() { FGrid->DataChanged(); FModified = false; }
void TGridDataLink::DataSetScrolled(int Distance) { FGrid->Scroll(Distance); }
void TGridDataLink::EditingChanged() { FGrid->EditingChanged(); }
void TGridDataLink::LayoutChanged() { FGrid->LayoutChanged(); }
void TGridDataLink::RecordChanged(TField* Field)
{
    FGrid->RecordChanged(Field);
    FModified = false;
}

void TGridDataLink::UpdateData()
{
    if (FInUpdateData)
        return;
    FInUpdateData = true;
    try {
        if (FModified)
            FGrid->UpdateData();
        FModified = false;
    } catch (...) {
        FInUpdateData = false;
        throw;
    }
    FInUpdateData = false;
}
