#pragma once
// The caption label of a data-aware control: it sits beside or above its
// control wherever the control goes, takes its text from the bound field's
// display label (or its own caption), marks required fields, and hides and
// shows with the control without forgetting its own visibility.

#include "platform/ui/StdCtrls.h"

#include <QString>

class TDataSource;
class TField;

enum TLabelPos { lpTopLeft, lpTopCenter, lpTopRight, lpLeftTop, lpLeftCenter, lpLeftBottom };

class TDBBoundLabel : public TCustomLabel {
public:
    // Owner is the control the label belongs to.
    explicit TDBBoundLabel(TControl* AOwner);

    void SetField(TDataSource* DataSource, const QString& FieldName);
    void SetLabelField(TDataSource* DataSource, const QString& FieldName);
    TField* Field() const { return FField; }

    const QString& OwnCaption() const { return FOwnCaption; }
    void SetOwnCaption(const QString& V);
    const QString& FieldCaptionSuffix() const { return FFieldCaptionSuffix; }
    void SetFieldCaptionSuffix(const QString& V);
    TLabelPos Position() const { return FPosition; }
    void SetPosition(TLabelPos V);
    bool ShowRequiredBold() const { return FShowRequiredBold; }
    void SetShowRequiredBold(bool V);
    bool ShowRequiredMark() const { return FShowRequiredMark; }
    void SetShowRequiredMark(bool V);
    TColor RequiredMarkColor() const { return FRequiredMarkColor; }
    void SetRequiredMarkColor(TColor V);
    int RequiredMarkSpace() const { return FRequiredMarkSpace; }
    void SetRequiredMarkSpace(int V);
    // Pixels the label is moved sideways (a picker's null check box).
    int OwnerOffsetX = 0;

    void RefreshCaption(bool RecalcBounds);
    void RefreshPosition(bool RecalcBounds);
    // The owner was hidden or shown: a label hidden on its own stays hidden.
    void ChangeVisible(bool AVisible);
    void StoreVisible() { FOldVisible = Visible(); }

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DoDrawText(TRect& Rect, unsigned Flags) override;
    void VisibleChanged() override;

private:
    TControl* FOwnerControl;
    TField* FField = nullptr;
    QString FOwnCaption;
    QString FLabelFieldCaption;
    QString FFieldCaptionSuffix;
    TLabelPos FPosition = lpTopLeft;
    bool FOldVisible = true;
    bool FShowRequiredBold = false;
    bool FShowRequiredMark = true;
    TColor FRequiredMarkColor = clRed;
    int FRequiredMarkSpace = 2;
};

// Places a label (of width W and height H, margins when AlignWithMargins)
// by Position around the rectangle R; Dx moves it sideways.
TPoint BoundLabelPos(TLabelPos Position, const TRect& R, int W, int H, const TMargins& M, bool UseMargins, int Dx);
