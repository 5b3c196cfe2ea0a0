#pragma once
// The library's picture control: one picture at any zoom, fitted to the
// control, turned in quarter turns, dragged when larger than the control,
// zoomed with the wheel, with a menu for picture information, resizing, the
// picture editor, zoom, the storage format, the clipboard and files.

#include "components/base/rpictool.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Menus.h"

#include <memory>

class TControlScrollBars;

enum TRotateType { rt0, rt090, rt180, rt270 };
enum TImageShowEditor { ieShowModal, ieShowNoModal, ieEditModal, ieNone };
enum TTypeScrollbar { tsNone, tsHorz, tsVert, tsBoth };

class TrImageZoom : public TCustomControl {
public:
    explicit TrImageZoom(TComponent* AOwner);
    ~TrImageZoom() override;

    // Where the picture is drawn: destination in the control, source in the (turned) picture.
    struct TScaleInfo {
        TPoint DestOffset;
        TSize DestSize;
        TPoint SourceOffset;
        TSize SourceSize;
    };

    TPicture* Picture() { return FPicture.get(); }
    void SetPicture(const TPicture* Value) { FPicture->Assign(Value); }
    int Zoom() const { return FZoom; }
    void SetZoom(int Value);
    double InternalZoom() const { return FInternalZoom; }
    TPoint ZoomOffset() const { return FZoomOffset; }
    void SetZoomOffset(const TPoint& Value);
    void ZoomIn(int Percent, bool Center);
    void ZoomOut(int Percent, bool Center);
    void Fit();
    void MoveToCenter();
    bool LockOriginalZoom() const { return FLockOriginalZoom; }
    void SetLockOriginalZoom(bool V);
    bool EnlargeToFit() const { return FEnlargeToFit; }
    void SetEnlargeToFit(bool V);
    bool ReduceToFit() const { return FReduceToFit; }
    void SetReduceToFit(bool V);
    bool AutoFit() const { return FReduceToFit && FEnlargeToFit; }
    void SetAutoFit(bool V);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool V);
    TRotateType RotateType() const { return FRotateType; }
    void SetRotateType(TRotateType V);
    bool ScrollBar() const { return FScrollBar; }
    void SetScrollBar(bool V);
    TTypeScrollbar TypeScrollBar() const { return FTypeScrollBar; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor V);
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor V);
    const QString& BackgroundText() const { return FBackgroundText; }
    void SetBackgroundText(const QString& V);
    bool ShowBackgroundText() const { return FShowBackgroundText; }
    void SetShowBackgroundText(bool V);
    bool Transparent() const { return FTransparentPicture; }
    void SetTransparent(bool V);
    bool ShowPopupMenu() const { return FShowPopupMenu; }
    void SetShowPopupMenu(bool V);
    TImageShowEditor ShowEditor = ieShowModal;
    bool ReadOnly = false;
    bool DragAndMove = true;
    // Shown while a picture larger than the view is dragged around.
    TCursor DragCursor = crSizeAll;
    bool SaveInJPG = false;
    bool UseFocus = false;
    TrGraphicType ImgGraphicType = gtNoPicture;
    QString LastFileName;
    TPopupMenu* BuiltInMenu() const { return FPopupMenu; }

    TNotifyEvent OnChangeZoom;
    TNotifyEvent OnPaint;
    TNotifyEvent OnResize;
    // Shows a picture as far as it is read while it is being read.
    bool IncrementalDisplay() const { return FIncrementalDisplay; }
    void SetIncrementalDisplay(bool V) { FIncrementalDisplay = V; }
    std::function<void(TComponent* Sender, TProgressStage Stage, int PercentDone, bool RedrawNow, const TRect& R, const QString& Msg)>
        OnProgress;

    int GetPictureWidth() const;
    int GetPictureHeight() const;
    TScaleInfo ScaleInfo() const;
    int XSrc2Pict(int X) const;
    int YSrc2Pict(int Y) const;
    int XPict2Src(int X) const;
    int YPict2Src(int Y) const;
    QString PictureInfo();

    virtual bool CanModify() const { return !ReadOnly; }
    virtual bool CutImageToClipboard();
    virtual bool CopyImageToClipboard();
    virtual bool PasteImageFromClipboard();
    virtual bool SaveAsFile(const QString& FileName);
    virtual bool LoadFromFile(const QString& FileName);
    virtual bool ResizePic(int Percent);
    virtual bool ShowEditorWindow();
    virtual void PopupClick(TComponent* Sender);
    virtual void OnPopupMenu();
    TMenuItem* GetPopupItem(int Tag) const;
    void PictureChanged();

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

    // The bars' line, page and end moves (the page is half the client height for both bars).
    enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scTop, scBottom, scThumb };
    void Scroll(bool Horizontal, TScrollCode Code, int ThumbPos = 0);
    TRect ClientRect() const override;

protected:
    void Paint() override;
    void Resize() override;
    void Loaded() override;
    QWidget* CreateWidget() override;
    virtual void ZoomChanged();
    // The picture's reading progress: repainted at once with incremental
    // display, then passed on to OnProgress.
    virtual void Progress(TComponent* Sender, TProgressStage Stage, int PercentDone, bool RedrawNow, const TRect& R, const QString& Msg);

private:
    void SetInternalZoom();
    void UpdateScrollBar();
    void ShowScrollBars();
    void ScrollTo(bool Horizontal, int Pos);
    TColor BackColor() const;
    std::unique_ptr<TPicture> FPicture;
    int FZoom = 100;
    double FInternalZoom = 100;
    TPoint FZoomOffset;
    bool FLockOriginalZoom = false, FEnlargeToFit = false, FReduceToFit = false, FStretch = false;
    TRotateType FRotateType = rt0;
    bool FScrollBar = false;
    TTypeScrollbar FTypeScrollBar = tsNone;
    TColor FBorderColor = clWindowFrame;
    TColor FBackgroundColor = clNone;
    QString FBackgroundText;
    bool FShowBackgroundText = true;
    bool FTransparentPicture = false;
    bool FIncrementalDisplay = false;
    bool FShowPopupMenu = true;
    bool FCanDrag = false;
    bool FDrawing = false;
    bool FIsDragging = false;
    TCursor FCursorBeforeDrag = crDefault;
    TPoint FDragStartPoint, FDragStartOffset;
    bool FirstOpenMenu = true;
    TPopupMenu* FPopupMenu;
    std::unique_ptr<TControlScrollBars> FBars;
};

// Opens the picture editor window (rImageEdit.cpp).
bool ShowImageEdit(TBitmap* Bitmap, TPicture* Picture, TComponent* PropSaveFile, bool Editable, bool Modal);
