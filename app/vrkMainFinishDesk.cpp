#include "components/base/rGroupBox.h"
#include "components/base/rTabControlEx.h"
#include "app/vrkMainFinishDesk.h"

#include "app/vrkMainForm.h"
#include "components/grid/rDBGrid.h"
#include "data/vrkDataModule.h"
#include "devices/vrkChipDispatch.h"
#include "devices/vrkDeviceList.h"
#include "devices/vrkEmitReader.h"
#include "devices/vrkFinishDeskHost.h"
#include "devices/vrkReceiptPrinter.h"
#include "devices/vrkResultBoard.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "results/vrkResultsClass2.h"
#include "resources/FinishDeskTexts.h"
#include "resources/MainWindowLayoutTexts.h"
#include "results/vrkResultsClassForest.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

class TMainFinishDeskHost : public TFinishDeskHost {
public:
    void MenuShow(const QString& State) override { formMain->MenuShow(State, State); }
    void MenuRefresh() override { formMain->MenuRefresh(); }
    void SetPrintBadgeEnabled(bool Enabled) override { formMain->actMainGridPrintBadge->SetEnabled(Enabled); }
    QString ActiveProcessingTabCaption() const override
    {
        return formMain->tabKasittely->ActiveTabCaption();
    }
    QString GuidanceCaption() const override { return formMain->lblMenu1->Caption(); }
    void ResetLastResultBox() override
    {
        formMain->TimerViimeisinKasitelty->SetEnabled(false);
        formMain->grpLastResult->SetColor(clBtnFace);
        // The card read again usually still lies on the reader and sends on:
        // its notice stays as long as the highlight would.
        if (!FReadAgain.isValid() || FReadAgain.hasExpired(ReadAgainShownMs))
            formMain->grpLastResult->SetCaption(mwtxt::ViimeisinKasitelty);
    }
    void ShowCardReadAgain(const QString& Card) override
    {
        formMain->grpLastResult->SetCaption(mwtxt::ViimeisinKasitelty + QStringLiteral(": ") + fdtxt::SameChip
                                            + QStringLiteral(" (") + Card + QLatin1Char(')'));
        formMain->grpLastResult->SetColor(RGB(255, 236, 139));
        formMain->TimerViimeisinKasitelty->SetEnabled(false);
        formMain->TimerViimeisinKasitelty->SetEnabled(true);
        FReadAgain.start();
    }
    void ShowLastResult(const QString& Sarja, const QString& Nimi, const QString& Seura, const QString& Aika,
                        const QString& Tulos) override
    {
        formMain->lblSarja->SetCaption(Sarja);
        formMain->lblNimi->SetCaption(Nimi);
        formMain->lblSeura->SetCaption(Seura);
        formMain->lblAika->SetCaption(Aika);
        formMain->lblTulos->SetCaption(Tulos);
        formMain->grpLastResult->SetCaption(mwtxt::ViimeisinKasitelty);
        // The box folds and opens again in the plain colour first, so a new
        // result shows as a change even when it reads like the last one.
        formMain->grpLastResult->SetVisible(true);
        formMain->grpLastResult->SetColor(clBtnFace);
        formMain->grpLastResult->SetMinimized(true);
        formMain->grpLastResult->SetMinimized(false);
        formMain->grpLastResult->SetColor(RGB(192, 220, 192));
        formMain->TimerViimeisinKasitelty->SetEnabled(false);
        formMain->TimerViimeisinKasitelty->SetEnabled(true);
    }
    void refreshMainGrid(int64_t ResultsClassId) override
    {
        formMain->refreshMainGrid();
        if (ResultsClassId != 0 && DataModule1->fbQueryResultsCFD->Active())
            DataModule1->fbQueryResultsCFD->Locate(QStringLiteral("RESULTS_CLASS_ID"), QVariant::fromValue<qlonglong>(ResultsClassId));
    }
    void ActivateMainGrid() override { formMain->ActivateMainGrid(); }
    void ShowCheckInDialog(const QString& EmitString) override { OpenCheckInDialog(EmitString, 0); }

private:
    static constexpr qint64 ReadAgainShownMs = 5000;
    QElapsedTimer FReadAgain;
};

// "type: port" of one device from the device form's lists; "-" for no port.
QString DeviceLine(TComboBox* Type, TComboBox* Port)
{
    const QString type = Type && Type->ItemIndex() >= 0 ? Type->Items().value(Type->ItemIndex()) : QString();
    const QString port = Port && Port->ItemIndex() >= 0 ? Port->Items().value(Port->ItemIndex()) : QString();
    return type + QStringLiteral(": ") + (port.isEmpty() ? QStringLiteral("-") : port);
}

TMainFinishDeskHost& Host()
{
    static TMainFinishDeskHost host;
    return host;
}

}  // namespace

void LinkFinishDesk()
{
    finishDeskHost = &Host();
    // The receipt printer's port lives as long as the main window.
    if (!receiptPrinter)
        receiptPrinter = new TReceiptPrinter(formMain);
    TformMain::TOtherWindows& w = formMain->Windows;
    w.FinishDialog = [](int64_t ResultsClassId, bool NoChip) {
        formResultsClass2->vcChipString.clear();
        formResultsClass2->bNoChip = NoChip;
        formResultsClass2->iResultsClassId = ResultsClassId;
        formResultsClass2->ShowModal();
    };
    w.PrintBadge = [](int64_t ResultsClassId) { receiptPrinter->printBadge(ResultsClassId); };
    w.ChipString = [](const QString& EmitString) { ChipStringOK(EmitString); };
    w.DeviceForm = [] { formEmitReader->Show(); };
    w.InitialDevices = [] { InitialDeviceState(); };
    // Serial adapters plugged in or pulled out while an event is processed
    // refresh the devices; the monitor lives as long as the application.
    struct TMonitorHolder : QObject {
        TUdevDeviceMonitor Monitor;
    };
    auto* holder = new TMonitorHolder;
    holder->setParent(QCoreApplication::instance());
    WatchDevices(holder->Monitor);
    formEmitReader->SetRefreshAction(formMain->actLaitteetVirkista);
    formMain->OnDeviceGuidance = [](bool Visible, const QString& Sign, TColor Color, const QString& Text) {
        formEmitReader->ShowGuidance(Visible, Sign, Color, Text);
    };
    formMain->DeviceText = [] {
        return DeviceLine(formEmitReader->cbbLukulaite, formEmitReader->cbbLukulaiteCom) + QStringLiteral("\r\n") +
               DeviceLine(formEmitReader->cbbTulostin, formEmitReader->cbbTulostinCom);
    };
    // The port lists are read afresh, with the configured ports chosen, when
    // processing starts and when the operator asks for it.
    w.StartDevice = [] { refreshDevices(); };
    w.RefreshDevices = [] { refreshDevices(); };
    w.StopDevice = [] { formEmitReader->StopDevice(); };
    w.EnableDevice = [] { formEmitReader->EnableDevice(); };
    w.DisableDevice = [] { formEmitReader->DisableDevice(); };
    w.ResultBoard = [](bool Show) {
        if (Show)
            formResultBoard->Show();
        else
            formResultBoard->Close();
    };
}
