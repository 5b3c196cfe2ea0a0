#include "platform/ui/HoverHint.h"

#include "platform/ui/Forms.h"

#include <QHelpEvent>
#include <QToolTip>

TControl* HintControl(TControl* Control)
{
    if (Application && !Application->ShowHint)
        return nullptr;
    TControl* c = Control;
    while (c && !c->ShowHint())
        c = c->Parent();
    return c;
}

QString HoverHintText(TControl* Control)
{
    for (TControl* c = HintControl(Control); c; c = c->Parent())
        if (!c->Hint().isEmpty())
            return GetShortHint(c->Hint());
    return {};
}

void ShowHoverHint(TControl* Control, QWidget* Widget, const QHelpEvent* Event)
{
    const QString text = HoverHintText(Control);
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(Event->globalPos(), text, Widget);
}
