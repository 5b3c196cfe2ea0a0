#include "platform/ui/Clipbrd.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

namespace {

QClipboard* Board()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

}  // namespace

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}

QString TClipboard::AsText() const
{
    QClipboard* b = Board();
    return b ? b->text() : QString();
}

void TClipboard::SetAsText(const QString& Value)
{
    if (QClipboard* b = Board())
        b->setText(Value);
}

bool TClipboard::HasText() const
{
    QClipboard* b = Board();
    return b && b->mimeData() && b->mimeData()->hasText();
}

bool TClipboard::HasPicture() const
{
    QClipboard* b = Board();
    return b && b->mimeData() && b->mimeData()->hasImage();
}

void TClipboard::AssignBitmap(const TBitmap* Bitmap)
{
    if (QClipboard* b = Board(); b && Bitmap)
        b->setImage(Bitmap->Image());
}

bool TClipboard::GetBitmap(TBitmap* Bitmap) const
{
    QClipboard* b = Board();
    if (!b || !HasPicture())
        return false;
    const QImage img = b->image();
    if (img.isNull())
        return false;
    Bitmap->SetAlphaFormat(img.hasAlphaChannel() ? afDefined : afIgnored);
    Bitmap->Image() = img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    return true;
}

void TClipboard::Clear()
{
    if (QClipboard* b = Board())
        b->clear();
}
