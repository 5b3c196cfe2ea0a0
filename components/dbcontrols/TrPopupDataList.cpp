#include "components/dbcontrols/TrPopupDataList.h"

#include "components/base/rpictool.h"
#include "components/base/rtool.h"
#include "components/dbcontrols/DataItemDefs.h"
#include "platform/ui/Graphics.h"

#include <algorithm>

namespace {

constexpr int VScrollWidth = 17;

}  // namespace

void InstallGridDataList()
{
    TGridDataListLayer& l = GridDataListLayer();
    l.Make = [] { return new TrPopupDataList(nullptr); };
    l.Prepare = [](TPopupDataList* List, const TGridDataListSettings& S) {
        auto* r = dynamic_cast<TrPopupDataList*>(List);
        if (!r)
            return;
        r->FixedItemHeight = S.ItemHeight;
        r->ItemIncreaseHeight = S.IncreaseHeight;
        r->ItemIncreaseWidth = S.IncreaseWidth;
        r->GetListItemProps = S.ItemProps;
        r->PropsSender = S.Sender;
    };
    l.MaxItemWidth = [](TPopupDataList* List) {
        auto* r = dynamic_cast<TrPopupDataList*>(List);
        return r ? r->GetMaxItemWidth() : 0;
    };
}

bool LookupVarEquals(const QVariant& A, const QVariant& B) { return VarEquals(A, B); }

TrPopupDataList::TrPopupDataList(TComponent* AOwner) : TPopupDataList(AOwner) {}

std::vector<TField*> TrPopupDataList::ListFields() const
{
    std::vector<TField*> r;
    TDataSet* d = const_cast<TListLink&>(FListLink).DataSet();
    if (!d)
        return r;
    for (const QString& n : ListField.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        r.push_back(d->FindField(n.trimmed()));
    return r;
}

int TrPopupDataList::ItemHeight() const
{
    if (FixedItemHeight > 0)
        return FixedItemHeight;
    return TPopupDataList::ItemHeight() - 2 + ItemIncreaseHeight;
}

void TrPopupDataList::ProcessSearchKey(QChar& Key)
{
    if (OnProcessSearchKey)
        OnProcessSearchKey(this, Key);
    if (!Key.isNull())
        TPopupDataList::ProcessSearchKey(Key);
}

int TrPopupDataList::GetMaxItemWidth()
{
    TDataSet* d = FListLink.DataSet();
    if (!d || !d->Active())
        return 0;
    const std::vector<TField*> fields = ListFields();
    FColWidth.assign(fields.size(), 0);
    TCanvas c;
    c.Font()->Assign(*Font());
    int sum = 0;
    try {
        // Rows are read in place: the list dataset's cursor stays where it is.
        for (int row = 0; row < d->RecordCount(); ++row) {
            d->SetActiveRecordOverride(row);
            for (size_t j = 0; j < fields.size(); ++j)
                if (fields[j])
                    FColWidth[j] = std::max(FColWidth[j], c.TextWidth(fields[j]->DisplayText()) + ItemIncreaseWidth + 8);
        }
        d->SetActiveRecordOverride(-1);
        for (int w : FColWidth)
            sum += w + 4;
        sum += VScrollWidth;
    } catch (...) {
        d->SetActiveRecordOverride(-1);
    }
    return sum;
}

TFieldAlignment TrPopupDataList::ReadingAlignment(TFieldAlignment A) const
{
    // Right to left the text starts at the other side of its cell.
    if (!UseRightToLeftReading())
        return A;
    return A == TFieldAlignment::LeftJustify ? TFieldAlignment::RightJustify
           : A == TFieldAlignment::RightJustify ? TFieldAlignment::LeftJustify
                                                : A;
}

void TrPopupDataList::Paint()
{
    TCanvas* c = Canvas();
    TDataSet* d = FListLink.DataSet();
    const int h = ItemHeight();
    // A lookup combo box indents its texts more than the grid's editor.
    const int m = dynamic_cast<TDBLookupComboBox*>(PropsSender) ? 4 : 2;
    c->Font()->Assign(*Font());
    const int z = c->TextWidth(QStringLiteral("0"));
    const int t = c->TextHeight(QStringLiteral("Wg"));
    const std::vector<TField*> fields = ListFields();
    TField* key = d ? d->FindField(KeyField) : nullptr;
    const int inView = d && d->Active() ? std::max(0, std::min(FRowCount, d->RecordCount() - FTop)) : 0;
    for (int i = 0; i < FRowCount; ++i) {
        // Colours of the row.
        TColor font = Enabled() ? GetStyleFontColor_ListBox(Font()->Color(), false) : GetStyleSystemColor(clGrayText);
        TColor brush = GetStyleBkColor_ListBox(Color());
        const int top = i * h;
        bool selected = false;
        if (i < inView) {
            d->SetActiveRecordOverride(FTop + i);
            selected = FKeyValue.isValid() && key && LookupVarEquals(FKeyValue, key->AsVariant());
            if (selected) {
                font = GetStyleSystemColor(clHighlightText);
                brush = GetStyleSystemColor(clHighlight);
            }
            int x = 0;
            for (size_t j = 0; j < fields.size() && x < ClientWidth(); ++j) {
                TField* f = fields[j];
                int w = j + 1 == fields.size() ? ClientWidth() - x
                        : j < FColWidth.size() && FColWidth[j] > 0 ? FColWidth[j]
                                                                    : (f ? f->DisplayWidth() : 10) * z + 8;
                TBitmap cell(std::max(1, w), h);
                TCanvas* cc = cell.Canvas();
                cc->Font()->Assign(*Font());
                cc->Font()->SetColor(font);
                cc->Brush()->SetColor(brush);
                cc->FillRect(Rect(0, 0, std::max(1, w), h));
                cc->Pen()->SetColor(clGray);
                QString text = f ? f->DisplayText() : QString();
                TBitmap pic;
                bool sepTop = false, sepBottom = false;
                if (GetListItemProps) {
                    GetListItemProps(PropsSender ? PropsSender : this, cc, i, int(j), selected, key, f, w, h, text, &pic, sepTop, sepBottom);
                    if (w != cell.Width()) {
                        cell.SetSize(std::max(1, w), h);
                        cc = cell.Canvas();
                        cc->Brush()->SetColor(brush);
                        cc->FillRect(Rect(0, 0, std::max(1, w), h));
                    }
                }
                if (!text.isEmpty() || !GetListItemProps) {
                    const int tw = cc->TextWidth(text);
                    const TFieldAlignment a = ReadingAlignment(f ? f->Alignment() : TFieldAlignment::LeftJustify);
                    int tx = a == TFieldAlignment::RightJustify ? w - tw - 4 : a == TFieldAlignment::Center ? (w - tw) / 2 : m;
                    tx = std::max(tx, m);
                    if (pic.Width() > 0)
                        tx = std::max(tx, pic.Width() + 4);
                    cc->Brush()->SetStyle(bsClear);
                    cc->Font()->SetColor(font);
                    cc->TextRect(Rect(0, 0, w, h), tx, (h - t) / 2, text);
                    cc->Brush()->SetStyle(bsSolid);
                }
                if (pic.Width() > 0)
                    cc->Draw(2, (h - pic.Height()) / 2, &pic);
                cc->Pen()->SetColor(clGray);
                if (sepTop) {
                    cc->MoveTo(0, 0);
                    cc->LineTo(w, 0);
                }
                if (sepBottom) {
                    cc->MoveTo(0, h - 1);
                    cc->LineTo(w, h - 1);
                }
                if (j + 1 < fields.size()) {
                    cc->MoveTo(w - 1, 0);
                    cc->LineTo(w - 1, h);
                }
                c->Draw(x, top, &cell);
                x += w;
            }
        } else {
            c->Brush()->SetColor(brush);
            c->FillRect(Rect(0, top, ClientWidth(), top + h));
        }
        if (selected)
            BiDi_DrawFocusRect(c, Rect(0, top, ClientWidth(), top + h));
    }
    if (d)
        d->SetActiveRecordOverride(-1);
    // The rest below the last row.
    c->Brush()->SetColor(GetStyleBkColor_ListBox(Color()));
    if (FRowCount * h < ClientHeight())
        c->FillRect(Rect(0, FRowCount * h, ClientWidth(), ClientHeight()));
}
