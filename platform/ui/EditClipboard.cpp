#include "platform/ui/StdCtrls.h"

#include <QLineEdit>

void TCustomEdit::PasteFromClipboard()
{
    if (!FReadOnly)
        static_cast<QLineEdit*>(Widget())->paste();
}
