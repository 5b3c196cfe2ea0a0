#include "components/dbcontrols/TDBBoundLabel.h"

#include "platform/database/DataSource.h"
#include "resources/DBControlsTexts.h"

TPoint BoundLabelPos(TLabelPos Position, const TRect& R, int W, int H, const TMargins& M, bool UseMargins, int Dx)
{
    const int ml = UseMargins ? M.Left : 0, mt = UseMargins ? M.Top : 0, mr = UseMargins ? M.Right : 0, mb = UseMargins ? M.Bottom : 0;
    switch (Position) {
    case lpTopLeft: return {R.Left + Dx + ml, R.Top - H - 1 - mt};
    case lpTopCenter: return {R.Left + Dx + ml + (R.Width() - W - ml - mr) / 2, R.Top - H - 1 - mt};
    case lpTopRight: return {R.Left + R.Width() - W + Dx - mr, R.Top - H - 1 - mt};
    case lpLeftTop: return {R.Left - W - 3 + Dx - ml, R.Top + mt};
    case lpLeftCenter: return {R.Left - W - 3 + Dx - ml, R.Top + (R.Height() - H) / 2};
    case lpLeftBottom: return {R.Left - W - 3 + Dx - ml, R.Top + R.Height() - H - mb};
    }
    return {R.Left, R.Top};
}

TDBBoundLabel::TDBBoundLabel(TControl* AOwner) : TCustomLabel(AOwner), FOwnerControl(AOwner), FFieldCaptionSuffix(dbctltxt::DefaultCaptionSuffix)
{
    SetName(dbctltxt::SubDBLabelName);
    SetTransparent(true);
    if (auto* w = dynamic_cast<TWinControl*>(AOwner))
        FocusControl = w;
    if (AOwner)
        AOwner->FreeNotification(this);
    StoreVisible();
}

void TDBBoundLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomLabel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FOwnerControl) {
        FOwnerControl = nullptr;
        FocusControl = nullptr;
    }
}

void TDBBoundLabel::Loaded()
{
    TCustomLabel::Loaded();
    RefreshCaption(true);
}

void TDBBoundLabel::SetField(TDataSource* DataSource, const QString& FieldName)
{
    FField = nullptr;
    try {
        if (DataSource && DataSource->DataSet())
            FField = DataSource->DataSet()->FindField(FieldName);
    } catch (...) {
        FField = nullptr;
    }
    RefreshCaption(true);
}

void TDBBoundLabel::SetLabelField(TDataSource* DataSource, const QString& FieldName)
{
    FLabelFieldCaption.clear();
    try {
        if (DataSource && DataSource->DataSet())
            if (TField* f = DataSource->DataSet()->FindField(FieldName))
                FLabelFieldCaption = f->DisplayLabel();
    } catch (...) {
        FLabelFieldCaption.clear();
    }
    RefreshCaption(true);
}

void TDBBoundLabel::SetOwnCaption(const QString& V)
{
    FOwnCaption = V;
    RefreshCaption(true);
}

void TDBBoundLabel::SetFieldCaptionSuffix(const QString& V)
{
    FFieldCaptionSuffix = V;
    RefreshCaption(true);
}

void TDBBoundLabel::SetPosition(TLabelPos V)
{
    FPosition = V;
    RefreshCaption(false);
}

void TDBBoundLabel::SetShowRequiredBold(bool V)
{
    FShowRequiredBold = V;
    RefreshCaption(true);
}

void TDBBoundLabel::SetShowRequiredMark(bool V)
{
    FShowRequiredMark = V;
    RefreshCaption(true);
}

void TDBBoundLabel::SetRequiredMarkColor(TColor V)
{
    FRequiredMarkColor = V;
    RefreshCaption(true);
}

void TDBBoundLabel::SetRequiredMarkSpace(int V)
{
    FRequiredMarkSpace = V;
    RefreshCaption(true);
}

void TDBBoundLabel::RefreshCaption(bool RecalcBounds)
{
    // 1.
    QString s;
    const bool designing = ComponentState() & csDesigning;
    try {
        if (!(designing && !Visible())) {
            if (!FOwnCaption.isEmpty())
                s = FOwnCaption;
            else if (!FLabelFieldCaption.isEmpty())
                s = FLabelFieldCaption + FFieldCaptionSuffix;
            else if (FField)
                s = FField->DisplayLabel() + FFieldCaptionSuffix;
            else if (designing)
                s = dbctltxt::FieldLabel;
        }
    } catch (...) {
        s = Name();
    }
    // 2. A caption of the same text still re-measures (the required mark).
    try {
        if (s != Caption())
            SetCaption(s);
        else if (RecalcBounds)
            AdjustBounds();
        RefreshPosition(RecalcBounds);
    } catch (...) {
    }
}

void TDBBoundLabel::RefreshPosition(bool RecalcBounds)
{
    if (!FOwnerControl)
        return;
    if (RecalcBounds)
        AdjustBounds();
    const TPoint p = BoundLabelPos(FPosition, FOwnerControl->BoundsRect(), Width(), Height(), Margins, AlignWithMargins(), OwnerOffsetX);
    if (p.X != Left() || p.Y != Top())
        SetBounds(p.X, p.Y, Width(), Height());
}

void TDBBoundLabel::ChangeVisible(bool AVisible)
{
    if (AVisible == Visible())
        return;
    if (AVisible) {
        SetVisible(FOldVisible);
    } else {
        FOldVisible = Visible();
        SetVisible(false);
    }
}

void TDBBoundLabel::VisibleChanged()
{
    TCustomLabel::VisibleChanged();
    // A change while the control shows is the label's own setting.
    if (FOwnerControl && FOwnerControl->Visible())
        FOldVisible = Visible();
    RefreshCaption(false);
}

void TDBBoundLabel::DoDrawText(TRect& Rect, unsigned Flags)
{
    // 1. Fields that are not required draw the normal way.
    if (!FField || !FField->Required() || (!FShowRequiredBold && !FShowRequiredMark)) {
        TCustomLabel::DoDrawText(Rect, Flags);
        return;
    }
    // 2. Bold caption and a mark after it.
    TCanvas* c = Canvas();
    const bool measuring = Flags & DT_CALCRECT;
    c->Font()->Assign(*Font());
    if (FShowRequiredBold) {
        c->Font()->SetStyle(c->Font()->Style() | fsBold);
        if (measuring) {
            TCustomLabel::DoDrawText(Rect, Flags);
            c->Font()->SetStyle(c->Font()->Style() | fsBold);
            Rect.Right = Rect.Left + c->TextWidth(GetLabelText());
        } else {
            c->Brush()->SetStyle(bsClear);
            c->TextOut(Rect.Left, Rect.Top, GetLabelText());
        }
    } else {
        TCustomLabel::DoDrawText(Rect, Flags);
    }
    if (FShowRequiredMark) {
        TFont saved;
        saved.Assign(*c->Font());
        c->Font()->SetColor(FRequiredMarkColor);
        c->Font()->SetStyle(c->Font()->Style() | fsBold);
        const QString mark = QStringLiteral("*");
        const int w = c->TextWidth(mark);
        if (measuring) {
            Rect.Right += w + FRequiredMarkSpace;
        } else {
            c->Brush()->SetStyle(bsClear);
            c->TextOut(Rect.Right - w, Rect.Top, mark);
        }
        c->Font()->Assign(saved);
    }
}
