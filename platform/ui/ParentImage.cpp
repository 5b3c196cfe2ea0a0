#include "platform/ui/ParentImage.h"

#include "platform/ui/ControlWidget.h"
#include "platform/ui/Controls.h"

#include <QImage>
#include <QPainter>

void PaintParentImage(TControl* Control, TCanvas* Canvas)
{
    TWinControl* parent = Control->Parent();
    if (!parent || Control->Width() <= 0 || Control->Height() <= 0)
        return;
    TBitmap under(Control->Width(), Control->Height());
    QImage& image = under.Image();
    image.fill(ToQColor(parent->Color()));
    {
        QPainter painter(&image);
        painter.translate(-Control->Left(), -Control->Top());
        painter.setClipRect(QRect(0, 0, parent->ClientWidth(), parent->ClientHeight()));
        TControlBridge::PaintControl(parent, &painter, QRect(0, 0, parent->Width(), parent->Height()));
    }
    Canvas->Draw(0, 0, &under);
}
