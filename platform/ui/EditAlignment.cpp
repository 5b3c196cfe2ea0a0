#include "platform/ui/EditAlignment.h"

#include "platform/ui/StdCtrls.h"

#include <QLineEdit>

void SetEditAlignment(TCustomEdit* Edit, TAlignment Alignment)
{
    auto* e = static_cast<QLineEdit*>(Edit->Widget());
    if (!e)
        return;
    const Qt::Alignment h = Alignment == taRightJustify ? Qt::AlignRight : Alignment == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
    e->setAlignment(h | Qt::AlignVCenter);
}

void SetEditRightMargin(TCustomEdit* Edit, int Pixels)
{
    if (auto* e = static_cast<QLineEdit*>(Edit->Widget()))
        e->setTextMargins(0, 0, Pixels, 0);
}
