#pragma once
// The image list that keeps a copy of its images as loaded, redraws them for
// another display scale, and can keep its images in a compressed file of its
// own beside the program ("<owner>_<list>.rsc": one zlib stream holding the
// list in our own image-list format).

#include "platform/rtl/Exception.h"
#include "platform/ui/ImgList.h"

#include <initializer_list>
#include <memory>

SORVEX_EXCEPTION_KIND(EImageListWriteError, EInOutError)
SORVEX_EXCEPTION_KIND(EImageListReadError, EInOutError)

class TrImageListEx : public TImageList {
public:
    explicit TrImageListEx(TComponent* AOwner);
    ~TrImageListEx() override;
    bool StoreToDFM = true;
    bool StoreToExternalFile = false;
    QString ExternalFileName;
    QString ExternalFileDesignTimeDir;
    double MinScaleToResize = 1.75;
    TCustomImageList* MasterImages() const { return FMaster.get(); }

    void StoreAsOriginalImages();
    void ResizeImages(double ScaleRatio);
    // The external file's path (the design-time folder while designing, else
    // the program's folder); the folder is made when missing.
    QString ExternalFilePath(bool ForWriting) const;
    void WriteExternalFile();
    void ReadExternalFile();

protected:
    void Loaded() override;

private:
    std::unique_ptr<TImageList> FMaster;
};

// Fills List with the library's button images of those names (an empty
// image where the name is null), or with their greyed twins for disabled
// buttons; a TrImageListEx keeps them as its originals for rescaling.
void AddButtonImages(TCustomImageList* List, std::initializer_list<const char*> Names, bool Disabled = false);
