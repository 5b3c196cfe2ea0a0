#include "devices/vrkDeviceList.h"

#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "devices/vrkEmitReader.h"
#include "devices/vrkFinishDeskHost.h"
#include "platform/comm/CommPorts.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/StdCtrls.h"
#include "resources/FinishDeskTexts.h"
#include "results/vrkResultsClass2Util.h"

namespace {

void Select(TComboBox* List, const QString& Text)
{
    List->SetItemIndex(Text.isEmpty() ? -1 : List->IndexOf(Text));
}

}  // namespace

void hae_com_portit()
{
    if (!formEmitReader)
        return;
    // A configured port the system does not list by itself (a pseudo-terminal
    // such as the reader simulator's) is offered while it is a terminal.
    if (formMain)
        for (const QString& configured : {formMain->n_chip_reader_com, formMain->n_chip_printer_com})
            if (!configured.isEmpty() && CommPortExists(configured))
                RegisterCommPort(configured);
    const QStringList ports = CommPortList();
    for (TComboBox* list : {formEmitReader->cbbLukulaiteCom, formEmitReader->cbbTulostinCom}) {
        list->SetSorted(false);
        list->SetItems(ports);
        list->SetSorted(true);
    }
}

void InitialDeviceState()
{
    if (!formEmitReader || !formMain)
        return;
    formEmitReader->cbbLukulaite->SetItemIndex(formMain->n_chip_reader_device == 0 ? 0 : -1);
    hae_com_portit();
    Select(formEmitReader->cbbLukulaiteCom, formMain->n_chip_reader_com);
    Select(formEmitReader->cbbTulostinCom, formMain->n_chip_printer_com);
    formEmitReader->cbbTulostin->SetItemIndex(formMain->n_chip_printer_type);
    formEmitReader->StopDevice();
}

void refreshDevices()
{
    if (!formEmitReader)
        return;
    THourGlassCursor hourGlass;
    hae_com_portit();
    Select(formEmitReader->cbbTulostinCom, formMain ? formMain->n_chip_printer_com : QString());
    formEmitReader->StopDevice();
    Select(formEmitReader->cbbLukulaiteCom, formMain ? formMain->n_chip_reader_com : QString());
    formEmitReader->StartDevice();
    if (finishDeskHost)
        finishDeskHost->MenuRefresh();
}

void DeviceChanged(TDeviceChange Change, const QString& PortName)
{
    if (!formMain || formMain->nCurrentProcessedEvent == 0)
        return;
    const QString title = Application ? Application->Title : QString();
    if (Change == TDeviceChange::RemoveComplete) {
        refreshDevices();
        const QString text = PortName + fdtxt::PortRemoved;
        do_message(false, text, MSG_INFORMATION);
        MessageBox(text, title, MB_OK | MB_ICONINFORMATION);
    } else {
        const QString text = PortName + fdtxt::PortArrived;
        do_message(false, text, MSG_INFORMATION);
        MessageBox(text, title, MB_OK | MB_ICONINFORMATION);
        refreshDevices();
    }
}

void WatchDevices(TDeviceMonitor& Monitor)
{
    Monitor.SetOnDeviceChange([](TDeviceChange Change, const QString& PortName) { DeviceChanged(Change, PortName); });
}
