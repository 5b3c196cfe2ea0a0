#include "platform/ui/ComboEditKeys.h"

#include "platform/ui/ControlWidget.h"
#include "platform/ui/StdCtrls.h"

#include <QComboBox>
#include <QLineEdit>

void RouteEditKeysToCombo(TComboBox* Combo)
{
    auto* box = static_cast<QComboBox*>(Combo->Widget());
    QLineEdit* edit = box ? box->lineEdit() : nullptr;
    if (edit && !TControlBridge::ControlOf(edit))
        TControlBridge::Attach(edit, Combo, true);
}

QString PendingKeyText()
{
    return TControlBridge::PendingKeyText();
}
