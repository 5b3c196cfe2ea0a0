// The string grid's model: construction, the column collection kept in step
// with the column count, properties, the per-cell resolution of style, type
// and format, general events, hints, row heights, auto-fit and scaling.
#include "components/stringgrid/rStringGridEd.h"

#include "components/base/rGlyphs.h"
#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rRichEdit.h"
#include "components/stringgrid/rStringGridEdInplaceEdit.h"
#include "platform/ui/ExtCtrls.h"
#include "resources/StringGridTexts.h"

#include <algorithm>

using enum TOptionEx;

namespace {
constexpr int GeneralEventCreated = 1101;
constexpr int GeneralEventLoaded = 1102;
constexpr int VertScrollBarWidth = 16;
}  // namespace

TrStringGridEd::TrStringGridEd(TComponent* AOwner) : TStringGrid(AOwner), FColumns(std::make_unique<TrStringGridEdColumns>(this))
{
    SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goColSizing);
    DefaultDrawing = false;
    SetDefaultRowHeight(17);
    SetDefaultColWidth(90);
    FEllipsisTimer = new TTimer(this);
    FEllipsisTimer->SetEnabled(false);
    FEllipsisTimer->SetInterval(120);
    FEllipsisTimer->OnTimer = [this](TComponent*) {
        FEllipsisTimer->SetEnabled(false);
        EllipsisClick();
    };
    CheckColumns();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, GeneralEventCreated);
}

TrStringGridEd::~TrStringGridEd()
{
    // The editor asks the grid for its columns while it goes.
    FColumns->Clear();
}

TrStringGridEdInplaceEdit* TrStringGridEd::InplaceEditorEd() const
{
    return dynamic_cast<TrStringGridEdInplaceEdit*>(InplaceEditor());
}

void TrStringGridEd::CheckColumns()
{
    if (!FColumns)
        return;
    while (FColumns->Count() < ColCount()) {
        TrStringGridEdColumn* c = FColumns->Add();
        c->SetWidthFromGrid(ColWidths(FColumns->Count() - 1));
    }
    while (FColumns->Count() > ColCount())
        FColumns->Delete(FColumns->Count() - 1);
}

TrStringGridEdColumn* TrStringGridEd::ColumnOf(int ACol)
{
    CheckColumns();
    return ACol >= 0 && ACol < FColumns->Count() ? FColumns->Items(ACol) : nullptr;
}

void TrStringGridEd::SizeChanged(int OldColCount, int OldRowCount)
{
    TStringGrid::SizeChanged(OldColCount, OldRowCount);
    CheckColumns();
}

void TrStringGridEd::Loaded()
{
    TStringGrid::Loaded();
    ApplyColumnWidths();
    ResetSelRange();
    if (FAutoRowHeight)
        SetOptions(Options() & ~goRowSizing);
    ParioCompConfig.DoParioCompGeneralEventSimple(this, GeneralEventLoaded);
}

void TrStringGridEd::ApplyColumnWidths()
{
    CheckColumns();
    FSettingWidths = true;
    for (int i = 0; i < FColumns->Count(); ++i) {
        TrStringGridEdColumn* c = FColumns->Items(i);
        SetColWidths(i, c->Visible() ? c->Width() : -1);
    }
    FSettingWidths = false;
}

void TrStringGridEd::Notification(TComponent* AComponent, TOperation Operation)
{
    TStringGrid::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FCustomGlyphs) {
        FCustomGlyphs = nullptr;
        Invalidate();
    }
    for (int i = 0; FColumns && i < FColumns->Count(); ++i)
        if (FColumns->Items(i)->DataImageList() == AComponent) {
            FColumns->Items(i)->SetDataImageList(nullptr);
            Invalidate();
        }
}

void TrStringGridEd::SetCustomGlyphs(TrCustomGlyphs* V)
{
    FCustomGlyphs = V;
    if (V)
        V->FreeNotification(this);
    Invalidate();
}

void TrStringGridEd::SetOptionsEx(TOptionsEx V)
{
    FOptionsEx = V;
    Invalidate();
}

void TrStringGridEd::SetInnerMargin(int V)
{
    FInnerMargin = std::max(0, V);
    Invalidate();
}

void TrStringGridEd::SetTitleRowHeight(int V)
{
    FTitleRowHeight = V;
    ApplyTitleRowHeight();
}

void TrStringGridEd::ApplyTitleRowHeight()
{
    if (FixedRows() < 1 || RowCount() < 1)
        return;
    const int h = FTitleRowHeight <= 0 ? DefaultRowHeight() : FTitleRowHeight;
    if (RowHeights(0) != h)
        SetRowHeights(0, h);
}

void TrStringGridEd::SetAutoRowHeight(bool V)
{
    FAutoRowHeight = V;
    if (V) {
        SetOptions(Options() & ~goRowSizing);
        SetDefaultRowHeightEd();
    }
    Invalidate();
}

void TrStringGridEd::SetAutoAddNewRow(bool V)
{
    FAutoAddNewRow = V;
    if (V && !Loading())
        CheckLastRows();
}

// ---- general events ------------------------------------------------------------------------

bool TrStringGridEd::DoGeneralEventParam(TGeneralEventType EventType, int ACol, QVariant& Value, void* ParamObject, int ARow)
{
    FGeneralEventRec.Col = ACol;
    FGeneralEventRec.Row = ARow;
    FGeneralEventRec.ParamObject = ParamObject;
    FGeneralEventRec.ParamValue = Value;
    bool allow = true;
    if (OnGeneralEvent)
        OnGeneralEvent(this, EventType, allow, FGeneralEventRec);
    Value = FGeneralEventRec.ParamValue;
    return allow;
}

bool TrStringGridEd::DoGeneralEvent(TGeneralEventType EventType)
{
    QVariant v = 0;
    return DoGeneralEventParam(EventType, -1, v, nullptr, -1);
}

// ---- per-cell resolution --------------------------------------------------------------------

TrStringGridEdEditStyle TrStringGridEd::GetEditStyleEx(int ACol, int ARow)
{
    TrStringGridEdColumn* c = ColumnOf(ACol);
    TrStringGridEdEditStyle s = c ? c->ButtonStyle() : sgbNone;
    if (OnGetEditStyle)
        OnGetEditStyle(this, ACol, s, ARow);
    return s;
}

TrStringGridEdDataType TrStringGridEd::GetDataType(int ACol, int ARow)
{
    TrStringGridEdColumn* c = ColumnOf(ACol);
    TrStringGridEdDataType t = c ? c->DataType : sgdText;
    if (OnGetDataType)
        OnGetDataType(this, ACol, t, ARow);
    return t;
}

QString TrStringGridEd::GetNumFormat(int ACol, int ARow)
{
    TrStringGridEdColumn* c = ColumnOf(ACol);
    QString f = c ? c->NumFormat : QString();
    if (OnGetNumFormat)
        OnGetNumFormat(this, ACol, f, ARow);
    return f;
}

TAlignment TrStringGridEd::GetDataAlignment(int ACol, int ARow)
{
    TrStringGridEdColumn* c = ColumnOf(ACol);
    if (!c)
        return taLeftJustify;
    if (c->AutoAlignment)
        return GetDataType(ACol, ARow) == sgdText ? taLeftJustify : taRightJustify;
    return c->Alignment();
}

bool TrStringGridEd::GetCellWordWrap(int ACol, int ARow)
{
    TrStringGridEdColumn* c = ColumnOf(ACol);
    if (!c)
        return false;
    return ARow < FixedRows() ? c->TitleWordWrap() : c->WordWrap();
}

unsigned TrStringGridEd::GetTextFormatSetting(bool WordWrap)
{
    if (WordWrap)
        return DT_WORDBREAK | DT_VCENTER | DT_NOPREFIX;
    return DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
}

QString TrStringGridEd::GetCellText(int ACol, int ARow) const
{
    if (ARow == 0 && FixedRows() > 0 && FColumns && ACol >= 0 && ACol < FColumns->Count()) {
        const QString t = FColumns->Items(ACol)->TitleCaption();
        if (!t.isEmpty())
            return t;
    }
    return Cells(ACol, ARow);
}

int TrStringGridEd::GetCoordPosition(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return cpOutside;
    const bool fixedCol = ACol < FixedCols(), fixedRow = ARow < FixedRows();
    if (fixedCol && fixedRow)
        return cpFixedCorner;
    if (fixedRow)
        return cpFixedRow;
    if (fixedCol)
        return cpFixedCol;
    return cpDataCell;
}

int TrStringGridEd::GetCoordPosition(const TPoint& P) const
{
    const TGridCoord c = MouseCoord(P.X, P.Y);
    return GetCoordPosition(c.X, c.Y);
}

// ---- row heights ----------------------------------------------------------------------------

void TrStringGridEd::SetDefaultRowHeightEd()
{
    if (!FAutoRowHeight)
        return;
    TCanvas* c = Canvas();
    c->Font()->Assign(*Font());
    const int extra = (Options() & goHorzLine) ? 4 : 2;
    SetDefaultRowHeight(c->TextHeight(QStringLiteral("Wg")) + extra);
    ApplyTitleRowHeight();
}

int TrStringGridEd::CalcCellHeight(int ACol, int ARow)
{
    const QString text = GetCellText(ACol, ARow);
    if (text.isEmpty() || ACol < 0 || ACol >= ColCount())
        return 0;
    TCanvas* c = Canvas();
    TrStringGridEdColumn* col = ColumnOf(ACol);
    c->Font()->Assign(ARow < FixedRows() ? *col->TitleFont() : *col->Font());
    TRect r = Rect(0, 0, std::max(1, ColWidths(ACol) - 2 * FInnerMargin - 4), 0);
    if (ARow >= FixedRows() && GetEditStyleEx(ACol, ARow) == sgbRichText) {
        if (TrRichEdit* rich = RichTextControl(text))
            rich->CalculateTextHeight(r);
        return r.Height() + FRichTextTopMargin + 2;
    }
    const bool wrap = GetCellWordWrap(ACol, ARow);
    unsigned flags = GetTextFormatSetting(wrap) | DT_CALCRECT;
    if (!wrap)
        flags &= ~DT_SINGLELINE;
    c->DrawText(text, r, flags);
    return r.Height() + 2;
}

int TrStringGridEd::CalcMaxRowHeight(int ARow, bool UseMax)
{
    int h = DefaultRowHeight();
    for (int c = 0; c < ColCount(); ++c) {
        h = std::max(h, CalcCellHeight(c, ARow));
        if (UseMax && AutoRowMaxHeight > 0 && h >= AutoRowMaxHeight)
            return AutoRowMaxHeight;
    }
    return h;
}

void TrStringGridEd::RowHeightsChanged()
{
    TStringGrid::RowHeightsChanged();
    ApplyTitleRowHeight();
}

// ---- hints -----------------------------------------------------------------------------------

void TrStringGridEd::DoHintShow(int ACol, int ARow, QString& HintStr, bool& CanShow)
{
    // The cells the mouse left and entered repaint (hot states follow it).
    FMouseCell = {ACol, ARow};
    try {
        const QString text = GetCellText(ACol, ARow);
        QString hint = text;
        if (OnGetHintText)
            OnGetHintText(this, ACol, hint, ARow);
        if (hint != text) {
            HintStr = hint;
            CanShow = !hint.isEmpty();
        } else if (!text.isEmpty() && CalcCellHeight(ACol, ARow) > RowHeights(ARow) + 4) {
            HintStr = text;
            // RTF: plain text, or the RTF itself for the HTML hint window to render.
            if (ARow >= FixedRows() && GetEditStyleEx(ACol, ARow) == sgbRichText)
                HintStr = ParioCompConfig.Global_HTMLHintComponent ? text + sgtxt::HintRichTextMarker : RichTextToPlainText(text);
            CanShow = true;
        } else {
            CanShow = false;
        }
    } catch (...) {
        CanShow = false;
    }
    TStringGrid::DoHintShow(ACol, ARow, HintStr, CanShow);
}

// ---- auto-fit and widths -----------------------------------------------------------------------

void TrStringGridEd::SetColumnAutoFit(int Index)
{
    TrStringGridEdColumn* col = ColumnOf(Index);
    if (!col || Index < FixedCols() || col->ButtonStyle() == sgbRichText)
        return;
    TCanvas* c = Canvas();
    c->Font()->Assign(*col->TitleFont());
    int w = std::max(40, c->TextWidth(col->TitleCaption()));
    c->Font()->Assign(*col->Font());
    const int limit = Width() * 2 / 3;
    for (int r = 0; r < RowCount(); ++r) {
        const int tw = c->TextWidth(GetCellText(Index, r));
        if (tw > limit) {
            w = limit;
            break;
        }
        w = std::max(w, tw);
    }
    if (IsButtonStyle(col->ButtonStyle()))
        w += VertScrollBarWidth;
    QVariant v = w;
    if (DoGeneralEventParam(geSetColumnWidth, Index, v, nullptr, -1))
        col->SetWidth(v.toInt() + 12);
}

void TrStringGridEd::SetColumnsAutoFit()
{
    for (int i = FixedCols(); i < ColCount(); ++i)
        SetColumnAutoFit(i);
}

int TrStringGridEd::GetColumnDataWidth(int ColIdx, int MaxRowsToTest)
{
    if (ColIdx < 0 || ColIdx >= ColCount())
        return -1;
    int w = 10;
    const int last = std::min(MaxRowsToTest, RowCount() - 1);
    for (int r = FixedRows(); r <= last; ++r)
        w = std::max(w, int(Cells(ColIdx, r).size()));
    return w;
}

void TrStringGridEd::ColWidthsChanged()
{
    TStringGrid::ColWidthsChanged();
    if (FSettingWidths || !FColumns)
        return;
    // A width the user gave a visible column is the column's width from now on.
    for (int i = 0; i < std::min(ColCount(), FColumns->Count()); ++i) {
        TrStringGridEdColumn* c = FColumns->Items(i);
        if (c->Visible() && ColWidths(i) > 0)
            c->SetWidthFromGrid(ColWidths(i));
    }
}

void TrStringGridEd::ColumnMoved(int FromIndex, int ToIndex)
{
    TStringGrid::ColumnMoved(FromIndex, ToIndex);
    CheckColumns();
    FColumns->Move(FromIndex, ToIndex);
}

void TrStringGridEd::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TStringGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!HasOptionEx(dgResizeLastColumn) || !FColumns || FColumns->Count() != ColCount() || ColCount() < 1)
        return;
    int others = 0;
    for (int i = 0; i < ColCount() - 1; ++i)
        others += std::max(0, ColWidths(i));
    const int w = ClientWidth() - others - 8;
    if (w > 30)
        FColumns->Items(ColCount() - 1)->SetWidth(w);
}

void TrStringGridEd::ChangeScale(int M, int D)
{
    if (!DoGeneralEvent(geChangeScaleBefore))
        return;
    TStringGrid::ChangeScale(M, D);
    FScaleRatio = FScaleRatio * M / D;
    CheckColumns();
    FSettingWidths = true;
    for (int i = 0; i < FColumns->Count(); ++i) {
        TrStringGridEdColumn* c = FColumns->Items(i);
        if (c->Width() > 0)
            c->SetWidth(MulDiv(c->Width(), M, D));
        if (!c->ParentFont())
            c->Font()->SetHeight(MulDiv(c->Font()->Height(), M, D));
        if (!c->TitleParentFont())
            c->TitleFont()->SetHeight(MulDiv(c->TitleFont()->Height(), M, D));
    }
    FSettingWidths = false;
    if (FTitleRowHeight > 0)
        SetTitleRowHeight(MulDiv(FTitleRowHeight, M, D));
    DoGeneralEvent(geChangeScaleAfter);
}

void TrStringGridEd::FontChanged()
{
    TStringGrid::FontChanged();
    for (int i = 0; FColumns && i < FColumns->Count(); ++i)
        FColumns->Items(i)->GridFontChanged();
    SetDefaultRowHeightEd();
}

void TrStringGridEd::TopLeftChanged()
{
    TStringGrid::TopLeftChanged();
    FMouseDownPoint = {-1, -1};
}

TEditStyle TrStringGridEd::GetEditStyle(int ACol, int ARow) const
{
    auto* self = const_cast<TrStringGridEd*>(this);
    const TrStringGridEdEditStyle s = self->GetEditStyleEx(ACol, ARow);
    if (IsEllipsisStyle(s))
        return esEllipsis;
    return IsButtonStyle(s) ? esPickList : esSimple;
}

// ---- RTF cells -------------------------------------------------------------------------------

TrRichEdit* TrStringGridEd::RichTextControl(const QString& Text)
{
    if (ComponentState() & csDesigning)
        return nullptr;
    if (!FRichText) {
        FRichText = new TrRichEdit(this);
        FRichText->SetVisible(false);
        FRichText->SetBorderStyle(bsNone);
        FRichText->SetParent(this);
        FRichText->SetBounds(0, 0, 0, 0);
    }
    if (IsRtfText(Text))
        FRichText->SetRtfText(Text);
    else
        FRichText->SetText(Text);
    return FRichText;
}

QString TrStringGridEd::RichTextToPlainText(const QString& RtfText)
{
    TrRichEdit* rich = RichTextControl(RtfText);
    return rich ? rich->Text() : RtfText;
}
