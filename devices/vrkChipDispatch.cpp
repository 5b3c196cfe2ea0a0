#include "devices/vrkChipDispatch.h"

#include "app/vrkCommon.h"
#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "devices/vrkEmitReader.h"
#include "devices/vrkFinishDeskHost.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/Dialogs.h"
#include "resources/FinishDeskTexts.h"
#include "results/vrkResultsClass2.h"

namespace {

bool Processing()
{
    return formMain && formMain->nCurrentProcessedEvent != 0;
}

void DisableReading()
{
    if (Processing() && formEmitReader)
        formEmitReader->DisableDevice();
}

void EnableReading()
{
    if (Processing() && formEmitReader)
        formEmitReader->EnableDevice();
}

// Opens the finish dialog for a card read; with the result board shown (and
// not asked to wait) the dialog is shown without waiting and reading stays
// disabled until the board enables it.
void OpenFinishDialog(const QString& EmitString, bool AlwaysModal)
{
    formResultsClass2->vcChipString = EmitString;
    formResultsClass2->bNoChip = false;
    formResultsClass2->iResultsClassId = 0;
    if (!AlwaysModal && formMain && formMain->bResultBoardVisible) {
        formResultsClass2->Show();
        return;
    }
    formResultsClass2->ShowModal();
    if (!AlwaysModal)
        EnableReading();
}

// At the start desk: a card registered into the forest goes to the finish
// dialog when READ_FOREST is "K", any other to the check-in dialog.
void StartDeskDispatch(const QString& EmitString, bool AlwaysModal)
{
    QString errMsg;
    const QString answer = DataModule1 ? DataModule1->onkoKirjattuMaastoon(formMain->nCurrentProcessedEvent,
                                                                           EmitCardNumber(EmitString), errMsg)
                                       : QString();
    if (answer == QLatin1String("K") && formMain->vc_chip_read_forest == QLatin1String("K")) {
        OpenFinishDialog(EmitString, AlwaysModal);
        return;
    }
    if (finishDeskHost)
        finishDeskHost->ShowCheckInDialog(EmitString);
    if (!AlwaysModal)
        EnableReading();
}

}  // namespace

QString EmitCardNumber(const QString& EmitString)
{
    QString field = SplitString(EmitString, QLatin1Char(',')).value(3);
    if (field.startsWith(QLatin1Char('"')) && field.endsWith(QLatin1Char('"')) && field.length() >= 2)
        field = field.mid(1, field.length() - 2);
    return field.remove(QLatin1Char('"'));
}

void ChipRead(const QString& EmitString)
{
    if (!event || event->classess() <= 0) {
        MessageBox(fdtxt::EventHasNoCourses, Application ? Application->Title : QString(), MB_OK | MB_ICONINFORMATION);
        return;
    }
    DisableReading();
    if (formMain->vc_main_function != QLatin1String("LAHTO"))
        OpenFinishDialog(EmitString, false);
    else
        StartDeskDispatch(EmitString, false);
}

void ChipStringOK(const QString& EmitString)
{
    if (EmitString.isEmpty())
        return;
    // A text without a fourth field has no card number to hand on.
    if (SplitString(EmitString, QLatin1Char(',')).size() < 4) {
        MessageBox(fdtxt::ChipStringNoCard, Application ? Application->Title : QString(), MB_OK | MB_ICONERROR);
        return;
    }
    DisableReading();
    if (formMain->vc_main_function != QLatin1String("LAHTO"))
        OpenFinishDialog(EmitString, true);
    else
        StartDeskDispatch(EmitString, true);
    EnableReading();
}
