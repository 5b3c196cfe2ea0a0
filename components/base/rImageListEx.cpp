#include "components/base/rImageListEx.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rpictool.h"
#include "components/base/rtool.h"
#include "components/base/zlib_interface.h"
#include "resources/ImprovedTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>

TrImageListEx::TrImageListEx(TComponent* AOwner) : TImageList(AOwner), FMaster(std::make_unique<TImageList>(nullptr))
{
    try {
        ExternalFileDesignTimeDir = GetSystemDir(CSIDL_PERSONAL);
    } catch (const std::exception&) {
        // no documents folder: the design-time folder stays empty
    }
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

TrImageListEx::~TrImageListEx() = default;

void TrImageListEx::Loaded()
{
    TImageList::Loaded();
    if (StoreToExternalFile)
        ReadExternalFile();
    StoreAsOriginalImages();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

void TrImageListEx::StoreAsOriginalImages()
{
    FMaster->Clear();
    FMaster->SetSize(Width(), Height());
    FMaster->ColorDepth = ColorDepth;
    FMaster->BkColor = BkColor;
    FMaster->Masked = Masked;
    TBitmap bmp;
    for (int i = 0; i < Count(); ++i) {
        GetBitmap(i, &bmp);
        FMaster->Add(&bmp);
    }
}

void TrImageListEx::ResizeImages(double ScaleRatio)
{
    // 1. and 2.
    const int w = int(std::nearbyint(FMaster->Width() * ScaleRatio));
    const int h = int(std::nearbyint(FMaster->Height() * ScaleRatio));
    if (w == Width() && h == Height())
        return;
    // 3.
    const bool resample = ScaleRatio >= MinScaleToResize;
    // 4. one change notice for the whole redraw
    const TCursor previous = WCursor();
    BeginUpdate();
    try {
        // 5.
        SetSize(w, h);
        Clear();
        // 6. and 7.
        TBitmap source(FMaster->Width(), FMaster->Height());
        for (int i = 0; i < FMaster->Count(); ++i) {
            FMaster->GetBitmap(i, &source);
            // the target starts transparent: what the image does not cover stays see-through
            TBitmap target;
            target.SetAlphaFormat(afDefined);
            target.SetSize(w, h);
            if (resample) {
                TBitmap src(source);
                SmoothResizeToBitmap(&src, &target);
            } else
                DrawBmpCenter(target.Canvas(), Rect(0, 0, w, h), &source);
            Add(&target);
        }
    } catch (...) {
        EndUpdate();
        ChCursor(previous);
        throw;
    }
    EndUpdate();
    ChCursor(previous);
}

QString TrImageListEx::ExternalFilePath(bool ForWriting) const
{
    QString folder;
    if (ComponentState() & csDesigning)
        folder = ExternalFileDesignTimeDir.isEmpty() ? GetSystemDir(CSIDL_PERSONAL) : ExternalFileDesignTimeDir;
    else
        folder = GetAppDir();
    const QString name = !ExternalFileName.isEmpty() ? ExternalFileName
                                                     : (Owner() ? Owner()->Name() : QString()) + QLatin1Char('_') + Name() + QStringLiteral(".rsc");
    const QString path = SetEndOfPath(folder) + name;
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir(dir).exists() && !QDir().mkpath(dir) && ForWriting)
        throw EImageListWriteError(imptxt::ImageListWriteError);
    return path;
}

void TrImageListEx::WriteExternalFile()
{
    const QString path = ExternalFilePath(true);
    QByteArray data;
    try {
        data = SaveToData();
    } catch (const std::exception&) {
        throw EImageListWriteError(imptxt::ImageListWriteError);
    }
    // written beside the old file and renamed, so a failed write loses no images
    const QString temp = path + QStringLiteral(".tmp");
    QFile f(temp);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(ZCompress(data)) < 0 || !f.flush())
        throw EImageListWriteError(imptxt::ImageListWriteError);
    f.close();
    QFile::remove(path);
    if (!QFile::rename(temp, path))
        throw EImageListWriteError(imptxt::ImageListWriteError);
}

void TrImageListEx::ReadExternalFile()
{
    const QString path = ExternalFilePath(false);
    QFile f(path);
    if (!f.exists())
        return;
    if (!f.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot open file \"%1\".").arg(path));
    const QByteArray data = ZDecompress(f.readAll());
    if (data.isEmpty())
        return;
    // read into a separate list first: a damaged file leaves the images as they were
    TImageList probe(nullptr);
    try {
        probe.LoadFromData(data);
    } catch (const std::exception&) {
        throw EImageListReadError(imptxt::ImageListReadError);
    }
    LoadFromData(data);
}

void AddButtonImages(TCustomImageList* List, std::initializer_list<const char*> Names, bool Disabled)
{
    for (const char* name : Names) {
        TBitmap b;
        if (name) {
            b.LoadFromResourceName(QLatin1String(name) + (Disabled ? QStringLiteral("D") : QString()));
        } else {
            b.SetAlphaFormat(afDefined);
            b.SetSize(List->Width(), List->Height());
        }
        List->Add(&b);
    }
    if (auto* ex = dynamic_cast<TrImageListEx*>(List))
        ex->StoreAsOriginalImages();
}
