#include "platform/ui/FormIcon.h"

#include "platform/ui/Forms.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QVariant>
#include <QWidget>

namespace {

// The picture itself is kept with the window, as the icon's pixmaps are scaled copies.
const char* const IconProperty = "sorvexFormIcon";

}  // namespace

void SetFormIcon(TCustomForm* Form, const TBitmap* Icon)
{
    if (!Form)
        return;
    QWidget* w = Form->Handle();
    if (!Icon || Icon->Empty()) {
        w->setWindowIcon(QIcon());
        w->setProperty(IconProperty, QVariant());
        return;
    }
    const QImage image = Icon->Image();
    w->setWindowIcon(QIcon(QPixmap::fromImage(image)));
    w->setProperty(IconProperty, image);
}

void GetFormIcon(const TCustomForm* Form, TBitmap* Icon)
{
    if (!Icon)
        return;
    Icon->Clear();
    const QVariant v = Form ? Form->Handle()->property(IconProperty) : QVariant();
    if (!v.isValid())
        return;
    const QImage image = v.value<QImage>();
    Icon->SetAlphaFormat(afDefined);
    Icon->SetSize(image.width(), image.height());
    Icon->Image() = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
