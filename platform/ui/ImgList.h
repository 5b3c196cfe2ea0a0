#pragma once
// Image lists: equally sized pictures drawn by index, enabled or greyed.

#include "platform/ui/Graphics.h"
#include "platform/rtl/Component.h"

#include <QByteArray>
#include <functional>
#include <memory>
#include <vector>

enum TColorDepth { cdDeviceDependent, cd4Bit, cd8Bit, cd16Bit, cd24Bit, cd32Bit };

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner);
    ~TCustomImageList() override;
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetSize(int AWidth, int AHeight);
    void SetWidth(int V) { SetSize(V, FHeight); }
    void SetHeight(int V) { SetSize(FWidth, V); }
    int Count() const { return int(FImages.size()); }
    TColorDepth ColorDepth = cd32Bit;
    TColor BkColor = clNone;
    bool Masked = true;

    // Adds a picture (a strip of several is cut into images); returns the first index.
    int Add(const TBitmap* Image, const TBitmap* Mask = nullptr);
    int AddMasked(const TBitmap* Image, TColor MaskColor);
    void Replace(int Index, const TBitmap* Image);
    void Delete(int Index);
    void Clear();
    void GetBitmap(int Index, TBitmap* Image) const;
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true) const;
    // Own stream form: count, size, then each image as PNG with alpha.
    QByteArray SaveToData() const;
    void LoadFromData(const QByteArray& Data);
    std::function<void()> OnChange;
    // Further listeners to changes, one per Client (a control using the list).
    void RegisterChanges(const void* Client, std::function<void()> Handler);
    void UnRegisterChanges(const void* Client);
    // Changes between the two are told once, at the outermost EndUpdate.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

private:
    std::vector<std::pair<const void*, std::function<void()>>> FChangeLinks;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
    void Changed();
    int FWidth = 16, FHeight = 16;
    std::vector<std::unique_ptr<TBitmap>> FImages;
};

class TImageList : public TCustomImageList {
public:
    explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
};
