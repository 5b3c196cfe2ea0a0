#pragma once
// The group box that frames most areas of the program's windows: a caption
// bar on any side in its own colours, a choice of frames, a background
// gradient or picture, a minimise button that collapses the box to its bar
// and back, and the child lay-out of rGroupBoxLayout.cpp.

#include "platform/ui/HintAction.h"
#include "components/base/ParioCompGlobalCfg.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"

#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

class TrGroupBox;

enum TCaptionPosition { cpTop, cpBottom, cpLeft, cpRight };
enum TMinMaxBtnType { mmbNone, mmbRound, mmbRect, mmbPicture };
enum TBackgroundPictureType { bkpNone, bkpCenter, bkpStretch, bkpTile };
enum TSetChildrenValueTypes { chvSetVisibility, chvSetEnability, chvSetColor, chvSetDataSource };

// Horizontal placement codes of a lay-out line ("0", "C", "CL", "CR", "L", "R", "E").
enum TrGroupBoxVerticalAlignment { gbvaNothing, gbvaColumn, gbvaColumnLeft, gbvaColumnRight, gbvaLeft, gbvaRight, gbvaExpand };
// Vertical placement codes ("0", "E", "B").
enum TrGroupBoxHorizontalAlignment { gbhaNothing, gbhaExpand, gbhaBottom };
extern const QString rGroupBoxVerticalAlignmentStr[7];
extern const QString rGroupBoxHorizontalAlignmentStr[3];

using TDrawControlEvent = std::function<void(TWinControl* Sender, const TRect& Rect)>;
using TDropFilesEvent = std::function<void(TComponent* Sender, int X, int Y)>;
using TChangeScaleEvent = std::function<void(int M, int D, bool isDpiChange, double ScaleRatio)>;

// The lay-out of a box's own children: one line per child in ChildCompsPos.
class TAutoResizeChild {
public:
    explicit TAutoResizeChild(TrGroupBox* Owner) : FOwner(Owner) {}
    bool AutoResizeActive() const { return FAutoResizeActive; }
    void SetAutoResizeActive(bool V);
    int AutoResizeDelay() const { return FAutoResizeDelay; }
    void SetAutoResizeDelay(int V) { FAutoResizeDelay = V; }
    int ColSpacing() const { return FColSpacing; }
    void SetColSpacing(int V);
    int RowSpacing() const { return FRowSpacing; }
    void SetRowSpacing(int V);
    int BorderSpacing() const { return FBorderSpacing; }
    void SetBorderSpacing(int V);
    int BorderLeftAddSpacing() const { return FBorderLeftAddSpacing; }
    void SetBorderLeftAddSpacing(int V);
    const QStringList& ColWidthsPercent() const { return FColWidthsPercent; }
    void SetColWidthsPercent(const QStringList& V);
    const QStringList& RowHeightsPercent() const { return FRowHeightsPercent; }
    void SetRowHeightsPercent(const QStringList& V);
    const QStringList& ChildCompsPos() const { return FChildCompsPos; }
    void SetChildCompsPos(const QStringList& V);
    bool AutoSetTabOrder() const { return FAutoSetTabOrder; }
    void SetAutoSetTabOrder(bool V) { FAutoSetTabOrder = V; }
    int GetColWidthPercent(int ColIndex) const;
    int GetRowHeightPercent(int RowIndex) const;

private:
    friend class TrGroupBox;
    void Changed(bool Repaint);
    TrGroupBox* FOwner;
    bool FAutoResizeActive = false;
    int FAutoResizeDelay = 100;
    int FColSpacing = 4;
    int FRowSpacing = 4;
    int FBorderSpacing = 8;
    int FBorderLeftAddSpacing = 0;
    QStringList FColWidthsPercent;
    QStringList FRowHeightsPercent;
    QStringList FChildCompsPos;
    bool FAutoSetTabOrder = true;
};

// Where a box sits on its parent box's percentage grid (1-based indexes).
class TAutoResizePos {
public:
    explicit TAutoResizePos(TrGroupBox* Owner) : FOwner(Owner) {}
    int ColumnIndexFrom() const { return FColumnIndexFrom; }
    void SetColumnIndexFrom(int V);
    int ColumnIndexTo() const { return FColumnIndexTo; }
    void SetColumnIndexTo(int V);
    int RowIndexFrom() const { return FRowIndexFrom; }
    void SetRowIndexFrom(int V);
    int RowIndexTo() const { return FRowIndexTo; }
    void SetRowIndexTo(int V);
    bool LastColumn() const { return FLastColumn; }
    void SetLastColumn(bool V);
    bool LastRow() const { return FLastRow; }
    void SetLastRow(bool V);

private:
    void Changed();
    TrGroupBox* FOwner;
    int FColumnIndexFrom = 0, FColumnIndexTo = 0, FRowIndexFrom = 0, FRowIndexTo = 0;
    bool FLastColumn = false, FLastRow = false;
};

class TrGroupBox : public TCustomGroupBox, public THintActionTarget {
public:
    explicit TrGroupBox(TComponent* AOwner);
    ~TrGroupBox() override;

    TFrameType FrameType() const { return FFrameType; }
    void SetFrameType(TFrameType V);
    TColor FrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor V);
    int CaptionHeight() const { return FCaptionHeight; }
    void SetCaptionHeight(int V);
    TColor CaptionColor() const { return FCaptionColor; }
    void SetCaptionColor(TColor V);
    TColor CaptionFontColor() const { return FCaptionFontColor; }
    void SetCaptionFontColor(TColor V);
    TColor CaptionDisableFontColor() const { return FCaptionDisableFontColor; }
    void SetCaptionDisableFontColor(TColor V);
    TFont* CaptionFont() { return &FCaptionFont; }
    void SetCaptionFont(const TFont& V) { FCaptionFont.Assign(V); }
    bool CaptionParentFont() const { return FCaptionParentFont; }
    void SetCaptionParentFont(bool V);
    TAlignment CaptionAlignment() const { return FCaptionAlignment; }
    void SetCaptionAlignment(TAlignment V);
    TCaptionPosition CaptionPosition() const { return FCaptionPosition; }
    void SetCaptionPosition(TCaptionPosition V);
    TColor GradientColorFrom() const { return FGradientColorFrom; }
    void SetGradientColorFrom(TColor V);
    TColor GradientColorTo() const { return FGradientColorTo; }
    void SetGradientColorTo(TColor V);
    TGradientType GradientType() const { return FGradientType; }
    void SetGradientType(TGradientType V);
    TMinMaxBtnType MinMaxBtnType() const { return FMinMaxBtnType; }
    void SetMinMaxBtnType(TMinMaxBtnType V);
    TPicture* MinBtnPicture() { return FMinBtnPicture.get(); }
    void SetMinBtnPicture(const TPicture* V) { FMinBtnPicture->Assign(V); }
    TPicture* MaxBtnPicture() { return FMaxBtnPicture.get(); }
    void SetMaxBtnPicture(const TPicture* V) { FMaxBtnPicture->Assign(V); }
    TPicture* BackgroundPicture() { return FBackgroundPicture.get(); }
    void SetBackgroundPicture(const TPicture* V) { FBackgroundPicture->Assign(V); }
    TBackgroundPictureType BackgroundPictureType() const { return FBackgroundPictureType; }
    void SetBackgroundPictureType(TBackgroundPictureType V);
    bool UseTabColor() const { return FUseTabColor; }
    void SetUseTabColor(bool V);
    bool MinimizeAnimate() const { return FMinimizeAnimate; }
    void SetMinimizeAnimate(bool V) { FMinimizeAnimate = V; }
    bool ShowSizeGrip() const { return FShowSizeGrip; }
    void SetShowSizeGrip(bool V);
    bool Minimized() const { return FMinimized; }
    void SetMinimized(bool Value);
    int OriginSize = 0;
    bool EnableDropFile() const { return FEnableDropFile; }
    void SetEnableDropFile(bool V);
    unsigned AutoMaximizeTime = 0;
    unsigned AutoMinimizeTime = 0;
    bool AutoEnableChildren = true;
    int ClientRectTop() const { return FClientRectTop; }
    void SetClientRectTop(int V);
    bool AutoHint = false;
    TAutoResizePos* AutoResizePos() { return FAutoResizePos.get(); }
    TAutoResizeChild* AutoResizeChild() { return FAutoResizeChild.get(); }
    double ScaleRatio() const { return FScaleRatio; }
    // The scaled size round(V × ScaleRatio), halves to even.
    int S(int V) const;
    // The scaled caption height h.
    int ScaledCaptionHeight() const { return FScaledCaptionHeight; }

    TDrawControlEvent OnDrawControl;
    TNotifyEvent OnMinimizeChange;
    TNotifyEvent OnRefreshAutoPosition;
    TDropFilesEvent OnDropFiles;
    TChangeScaleEvent OnChangeScale;

    // Walks all descendants, skipping those tagged ExcludeTag with their children.
    void SetAllChildren(TSetChildrenValueTypes ValueType, const QVariant& Value, void* P, int ExcludeTag);
    // The automatic minimise rule; the owner calls it periodically.
    void CheckAutoMinimize();
    // The mouse position (screen coordinates) and the millisecond clock the
    // rule reads; tests replace them.
    std::function<TPoint()> CursorPosSource;
    std::function<int64_t()> TickSource;
    static bool ParentIsTab(const TControl* Box);

    // Files dropped on the box: the list, the point and the child under it.
    int DropFilesCount() const { return int(FDropFiles.size()); }
    QString DropFileNames(int Index) const { return FDropFiles.value(Index); }
    TPoint DropPoint() const { return FDropPoint; }
    TControl* DropControl() const;
    // Called by the window layer when files were dropped at a client point.
    void FilesDropped(const QStringList& Files, const TPoint& Point);
    // The application's hint, shown as the caption with AutoHint; true when taken.
    bool ExecuteHintAction(const QString& Hint) override;

    // ---- child lay-out (rGroupBoxLayout.cpp) ----
    bool GetAutoResizeChildComponentPos(const QString& Name, TrGroupBoxVerticalAlignment& HorzCode, int& Column,
                                        int& ColumnCount, int& WidthReduction, TrGroupBoxHorizontalAlignment& VertCode,
                                        int& HeightReduction) const;
    QString SetAutoResizeChildComponentPos(const QString& Name, TrGroupBoxVerticalAlignment HorzCode, int Column,
                                           int ColumnCount, int WidthReduction, TrGroupBoxHorizontalAlignment VertCode,
                                           int HeightReduction);
    void RefreshAutoPosition();
    void SetNewBounds(const TRect& R);
    // Whether minimising or restoring is running (the lay-out waits meanwhile).
    bool Minimizing() const { return FMinimizing; }
    // The area aligned and laid-out children use.
    TRect AdjustedClientRect();
    TTimer* LayoutTimer() const { return FTimer; }

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
    void Loaded() override;
    void AdjustClientRect(TRect& Rect) override;
    void Paint() override;
    void Resize() override;
    void ChangeScale(int M, int D) override;
    void EnabledChanged() override;
    void FontChanged() override;
    virtual void DropFiles();

private:
    void Minimize();
    void Restore();
    bool IsHorizontal() const;
    int CollapsedSize() const;
    void MoveToSize(int Size, bool Horizontal);
    void CaptionFontChanged();
    void PaintCaption(TRect C, bool WithButton);
    void PaintMinButton(const TRect& C);
    void PaintFrame();
    void EnableDescendants(TWinControl* Parent, bool Value);
    void UpdateDropRegistration();
    void LayoutNestedBoxes(const TRect& CR);
    void LayoutLines(const TRect& CR);

    TFrameType FFrameType = ft3D;
    TColor FFrameColor = clWindowFrame;
    int FCaptionHeight = 14;
    int FScaledCaptionHeight = 14;
    TColor FCaptionColor = 0x808080;
    TColor FCaptionFontColor = 0xFFFFFF;
    TColor FCaptionDisableFontColor = clBtnShadow;
    TFont FCaptionFont;
    bool FCaptionParentFont = true;
    TAlignment FCaptionAlignment = taCenter;
    TCaptionPosition FCaptionPosition = cpTop;
    TColor FGradientColorFrom = clBtnFace;
    TColor FGradientColorTo = clBtnFace;
    TGradientType FGradientType = gtNone;
    TMinMaxBtnType FMinMaxBtnType = mmbNone;
    std::unique_ptr<TPicture> FMinBtnPicture, FMaxBtnPicture, FBackgroundPicture;
    TBackgroundPictureType FBackgroundPictureType = bkpNone;
    bool FUseTabColor = false;
    bool FMinimizeAnimate = false;
    bool FShowSizeGrip = false;
    TRect FButtonRect;
    bool FMinimized = false;
    bool FMinimizing = false;
    std::vector<bool> FChildVisibility;
    std::unique_ptr<TAutoResizePos> FAutoResizePos;
    std::unique_ptr<TAutoResizeChild> FAutoResizeChild;
    bool FEnableDropFile = false;
    TPoint FDropPoint;
    QStringList FDropFiles;
    int FClientRectTop = -1;
    TTimer* FTimer = nullptr;
    double FScaleRatio = 1.0;
    bool FLayoutNow = false;
    int64_t FLastTick = 0;
    bool FHasLastTick = false;
};
