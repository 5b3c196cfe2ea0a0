#include "tests/app_main/ControlReach.h"

#include "components/framed/FcButton.h"
#include "components/framed/FcToolButton.h"
#include "components/framed/FcToolbar.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include <typeinfo>

bool IsFramedButton(const TControl* C)
{
    // Check boxes and radio buttons share the button base; only push buttons count.
    return dynamic_cast<const TFcToolButton*>(C) || dynamic_cast<const TFcButton*>(C);
}

TPopupMenu* FramedDropDown(const TControl* C)
{
    auto* t = dynamic_cast<const TFcToolButton*>(C);
    return t ? t->DropDownMenu() : nullptr;
}

// The dialogs' rows of tool buttons: a spacer between neighbouring buttons,
// and the buttons in the window's own font. Counts the spacers.
QStringList DialogRowFindings(TCustomForm* Form, int& Spacers)
{
    QStringList findings;
    const QString form = Form->Name().isEmpty() ? QString::fromLatin1(typeid(*Form).name()) : Form->Name();
    for (int i = 0; i < Form->ComponentCount(); ++i) {
        auto* bar = dynamic_cast<TFcToolbar*>(Form->Components(i));
        if (!bar)
            continue;
        const TFcToolbarControlList& row = *bar->ToolbarControls();
        for (int k = 0; k < row.Count(); ++k) {
            TControl* c = row.Items(k).Control;
            Spacers += dynamic_cast<TFcSpacer*>(c) != nullptr;
            auto* b = dynamic_cast<TFcToolButton*>(c);
            if (!b)
                continue;
            if (b->Font()->Height() != Form->Font()->Height() || b->Font()->Name() != Form->Font()->Name())
                findings << form + QStringLiteral(": ") + b->Caption() + QStringLiteral(" in another font");
            if (k > 0 && dynamic_cast<TFcToolButton*>(row.Items(k - 1).Control))
                findings << form + QStringLiteral(": no spacer before ") + b->Caption();
        }
    }
    return findings;
}

QStringList PlatformGroupBoxes(TCustomForm* Form)
{
    QStringList found;
    for (int i = 0; i < Form->ComponentCount(); ++i)
        if (auto* g = dynamic_cast<TGroupBox*>(Form->Components(i)))
            found << Form->Name() + QStringLiteral(": box ") + g->Caption();
    return found;
}
