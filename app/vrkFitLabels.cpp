#include "app/vrkFitLabels.h"

#include "platform/ui/StdCtrls.h"

void FitLabels(TWinControl* Root)
{
    for (int i = 0; i < Root->ControlCount(); ++i) {
        TControl* c = Root->Controls(i);
        if (auto* l = dynamic_cast<TCustomLabel*>(c); l && l->AutoSize())
            l->SetAutoSize(true);
        else if (auto* w = dynamic_cast<TWinControl*>(c))
            FitLabels(w);
    }
}
