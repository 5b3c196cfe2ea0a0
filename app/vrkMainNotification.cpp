// The notification box of the first synchronisation after this computer was
// linked to the web account: while the first download runs the operator sees
// that it is under way (the navigation tree fills only when it is done), and
// its "Valmis" closes the box with the tree rebuilt from what came.

#include "app/vrkMainForm.h"
#include "components/base/rGroupBox.h"
#include "platform/ui/StdCtrls.h"
#include "resources/MainWindowLayoutTexts.h"

void TformMain::NotificationShow()
{
    lblNotification->SetCaption(mwtxt::FirstSyncRunning);
    buttonNotification->SetEnabled(false);
    gbNotification->SetVisible(true);
}

void TformMain::NotificationReady()
{
    lblNotification->SetCaption(mwtxt::FirstSyncReady);
    buttonNotification->SetEnabled(true);
    gbNotification->SetVisible(true);
}

void TformMain::buttonNotificationClick()
{
    gbNotification->SetVisible(false);
    buttonNotification->SetEnabled(false);
    refreshMainTree();
}
