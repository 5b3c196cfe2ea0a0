#pragma once
// Settings of the small tool bar a data-aware control carries beside itself:
// where it sits, whether it shows glyphs or captions, and how it looks. Any
// change raises OnRefresh so the owning control lays the bar out again; so
// does the removal of its image list, which it then forgets.

#include "platform/ui/Controls.h"
#include "platform/ui/ImgList.h"

#include <QString>

class TCustomImageList;

enum TBoundButtonsPosition {
    bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight,
    bpLeftTop, bpLeftBottom, bpRightTop, bpRightBottom
};

class TBoundButtons : public TComponent {
public:
    explicit TBoundButtons(TComponent* AOwner) : TComponent(AOwner) { SetName(QStringLiteral("SubBoundButtons")); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool V) { Set(FVisible, V); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool V) { Set(FTransparent, V); }
    bool Flat() const { return FFlat; }
    void SetFlat(bool V) { Set(FFlat, V); }
    bool ShowGlyphs() const { return FShowGlyphs; }
    void SetShowGlyphs(bool V) { Set(FShowGlyphs, V); }
    // Button width and height in pixels.
    int Size() const { return FSize; }
    void SetSize(int V) { Set(FSize, V); }
    TBoundButtonsPosition Position() const { return FPosition; }
    void SetPosition(TBoundButtonsPosition V) { Set(FPosition, V); }
    // Captions of the buttons, ";"-separated, used when glyphs are off.
    const QString& Captions() const { return FCaptions; }
    void SetCaptions(const QString& V) { Set(FCaptions, V); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* V)
    {
        if (FImages) {
            FImages->UnRegisterChanges(this);
            FImages->RemoveFreeNotification(this);
        }
        if (V) {
            V->FreeNotification(this);
            V->RegisterChanges(this, [this] {
                if (OnRefresh)
                    OnRefresh(this);
            });
        }
        Set(FImages, V);
    }
    ~TBoundButtons() override
    {
        if (FImages)
            FImages->UnRegisterChanges(this);
    }

    TNotifyEvent OnRefresh;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == FImages) {
            FImages = nullptr;
            if (OnRefresh)
                OnRefresh(this);
        }
    }

private:
    template <class T>
    void Set(T& Field, const T& V)
    {
        if (Field == V)
            return;
        Field = V;
        if (OnRefresh)
            OnRefresh(this);
    }
    bool FVisible = false;
    bool FTransparent = true;
    bool FFlat = true;
    bool FShowGlyphs = false;
    int FSize = 23;
    TBoundButtonsPosition FPosition = bpTopRight;
    QString FCaptions = QStringLiteral("Fit;+;-;Edit");
    TCustomImageList* FImages = nullptr;
};
