// TFormEmitReader: the card reader's device control and the repeat filter.

#include "app/vrkCommon.h"
#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "app/vrkMainGlyphs.h"
#include "app/vrkProgramToolbars.h"
#include "components/framed/FcToolbar.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "devices/serial/SerComPort.h"
#include "devices/serial/SerErrors.h"
#include "devices/vrkChipDispatch.h"
#include "devices/vrkDeviceList.h"
#include "devices/vrkEmitReader.h"
#include "devices/vrkFinishDeskHost.h"
#include "devices/vrkReceiptPrinter.h"
#include "devices/vrkResultBoard.h"
#include "platform/rtl/Exception.h"
#include "platform/comm/CommPorts.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/StdCtrls.h"
#include "resources/FinishDeskTexts.h"
#include "resources/SafeguardTexts.h"

#include <QTimer>
#include <utility>

TFormEmitReader* formEmitReader = nullptr;

namespace {

const QString kMenuOk = QStringLiteral("MENU3_OK");
const QString kMenuExclamation = QStringLiteral("MENU3_EXLAMATION");
const QString kMenuQuestion = QStringLiteral("MENU3_QUESTION");
const QString kMenuGray = QStringLiteral("MENU3_GRAY");

void Guidance(const QString& State)
{
    if (finishDeskHost)
        finishDeskHost->MenuShow(State);
}

void PrintActionEnabled(bool Enabled)
{
    if (finishDeskHost)
        finishDeskHost->SetPrintBadgeEnabled(Enabled);
}

QString DeviceIni()
{
    return GetExePath() + QStringLiteral("vrkEvent.ini");
}

// A configuration write that fails (read-only program folder) is reported and
// the choice stays in memory.
void WriteDeviceString(const QString& Section, const QString& Key, const QString& Value)
{
    try {
        WriteString_Ini(DeviceIni(), Section, Key, Value);
    } catch (const Exception& e) {
        do_message(false, e.Message(), MSG_WARNING);
    }
}

void WriteDeviceInt(const QString& Section, const QString& Key, int Value)
{
    try {
        WriteInteger_Ini(DeviceIni(), Section, Key, Value);
    } catch (const Exception& e) {
        do_message(false, e.Message(), MSG_WARNING);
    }
}

}  // namespace

TFormEmitReader::TFormEmitReader(TComponent* AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("FormEmitReader"));
    SetCaption(fdtxt::DevicesCaption);
    SetBorderStyle(bsDialog);
    SetBounds(centreleft(420), centretop(250), 420, 250);
    if (!current250Read)
        current250Read = new T250Read();
    FPostGuard = std::make_unique<QObject>();
    SerComPort1 = new TSerComPort(this);
    SerComPort1->SetName(QStringLiteral("SerComPort1"));
    SerComPort1->SetBaud(9600);
    SerComPort1->SetOnTriggerAvail(
        [this](TSerCustomComPort* CP, uint16_t Count) { SerComPort1TriggerAvail(CP, Count); });
    SerComPort1->OnThreadError = [this](TSerCustomComPort*, int Code) { ReaderLost(Code); };
    // A reader that went away is looked for once a second: a USB adapter
    // plugged back in is announced by the system as well, but a port the
    // system does not announce (a symbolic name, a pseudo-terminal) comes
    // back only by being there again.
    FReaderWatch = new TTimer(this);
    FReaderWatch->SetEnabled(false);
    FReaderWatch->SetInterval(1000);
    FReaderWatch->OnTimer = [this](TComponent*) { CheckReaderReturned(); };
    FKeptReadWatch = new TTimer(this);
    FKeptReadWatch->SetInterval(5000);
    FKeptReadWatch->OnTimer = [this](TComponent*) { DispatchKeptRead(); };
    BuildLayout();
}

TFormEmitReader::~TFormEmitReader()
{
    // The port closes after this form's own parts are gone.
    SerComPort1->OnThreadError = nullptr;
    if (formEmitReader == this)
        formEmitReader = nullptr;
}

void TFormEmitReader::BuildLayout()
{
    auto label = [this](const QString& Caption, int Top) {
        auto* l = new TLabel(this);
        l->SetParent(this);
        l->SetCaption(Caption);
        l->SetBounds(16, Top + 4, 120, 17);
        return l;
    };
    auto combo = [this](const QString& Name, int Top) {
        auto* c = new TComboBox(this);
        c->SetName(Name);
        c->SetParent(this);
        c->SetStyle(csDropDownList);
        c->SetBounds(150, Top, 250, 23);
        return c;
    };
    label(QStringLiteral("Lukulaite"), 16);
    cbbLukulaite = combo(QStringLiteral("cbbLukulaite"), 16);
    cbbLukulaite->SetItems({fdtxt::ReaderType250});
    label(QStringLiteral("Lukulaitteen portti"), 48);
    cbbLukulaiteCom = combo(QStringLiteral("cbbLukulaiteCom"), 48);
    label(QStringLiteral("Kuittitulostin"), 88);
    cbbTulostin = combo(QStringLiteral("cbbTulostin"), 88);
    cbbTulostin->SetItems({fdtxt::PrinterTypeMtr2, fdtxt::PrinterTypeEpr3, fdtxt::PrinterTypeWoosim});
    label(QStringLiteral("Tulostimen portti"), 120);
    cbbTulostinCom = combo(QStringLiteral("cbbTulostinCom"), 120);
    BuildGuidanceLine();
    btnOK = new TButton(this);
    btnOK->SetName(QStringLiteral("btnOK"));
    btnOK->SetParent(this);
    btnOK->SetCaption(QStringLiteral("OK"));
    btnOK->SetBounds(325, 192, 75, 25);
    btnOK->OnClick = [this](TComponent*) { Close(); };
    cbbLukulaite->OnChange = [this](TComponent* S) { cbbLukulaiteChange(S); };
    cbbLukulaiteCom->OnChange = [this](TComponent* S) { cbbLukulaiteComChange(S); };
    cbbTulostin->OnChange = [this](TComponent* S) { cbbTulostinChange(S); };
    cbbTulostinCom->OnChange = [this](TComponent* S) { cbbTulostinComChange(S); };
    if (formMain) {
        cbbLukulaite->SetItemIndex(formMain->n_chip_reader_device == 0 ? 0 : -1);
        cbbTulostin->SetItemIndex(formMain->n_chip_printer_type);
    }
}

// The main window's device step in small: its state icon and the "Virkistä"
// button, shown while the main window shows the device step.
void TFormEmitReader::BuildGuidanceLine()
{
    imgDeviceState = new TLabel(this);
    imgDeviceState->SetName(QStringLiteral("imgDeviceState"));
    imgDeviceState->SetParent(this);
    imgDeviceState->SetBounds(16, 190, 22, 24);
    imgDeviceState->Font()->SetSize(14);
    imgDeviceState->Font()->SetStyle(fsBold);
    imgDeviceState->SetHint(fdtxt::ReaderStateHint);
    imgDeviceState->SetShowHint(true);
    imgDeviceState->SetVisible(false);
    lblDevices = new TLabel(this);
    lblDevices->SetName(QStringLiteral("lblDevices"));
    lblDevices->SetParent(this);
    lblDevices->SetBounds(44, 168, 260, 17);
    lblDevices->SetVisible(false);
    // A framed tool bar as the main window's steps have: the state icon and
    // the "Virkistä" button.
    ilDevices = MakeMainGlyphs(this);
    tlbDevices = progbars::MakeToolbar(this, this, "tlbDevices", ilDevices, 50);
    tlbDevices->SetAlign(alNone);
    tlbDevices->SetBounds(8, 156, 112, 54);
    imgDeviceState->SetParent(tlbDevices);
    progbars::AddSpacer(this, tlbDevices, "spcDevices");
    tlbDevices->SetVisible(false);
}

void TFormEmitReader::SetRefreshAction(TBasicAction* Action)
{
    auto* a = dynamic_cast<TAction*>(Action);
    if (!a)
        return;
    // The form's button says "Virkistä" whatever the action's longer caption.
    tbtnVirkista = progbars::MakeOwnCaptionButton(this, tlbDevices, "tbtnVirkista", a, fdtxt::Virkista, 72, 50,
                                                  mgDevicesRefresh, DisabledGlyph(mgDevicesRefresh));
    // In the form's own font: the main window's large captions would dwarf
    // the form's lists beside it.
    progbars::InParentFont(tbtnVirkista);
    tlbDevices->Realign();
}

void TFormEmitReader::ShowGuidance(bool Visible, const QString& Sign, TColor Color, const QString& DeviceText)
{
    imgDeviceState->SetCaption(Sign);
    imgDeviceState->Font()->SetColor(Color);
    imgDeviceState->SetVisible(Visible);
    tlbDevices->SetVisible(Visible);
    tlbDevices->Realign();
    lblDevices->SetCaption(DeviceText);
}

QString TFormEmitReader::CardKey(const QString& EmitString)
{
    const QString field4 = SplitString(EmitString, QLatin1Char(',')).value(3);
    const QString piece = Copy(field4, 2, 20);
    return Copy(piece, 1, piece.length() - 1);
}

bool TFormEmitReader::OpenPort()
{
    try {
        SerComPort1->SetOpen(true);
        return true;
    } catch (const Exception& e) {
        // A port that vanished or is held by another program: the reader
        // stays stopped and the operator is told why.
        FEmitDeviceStarted = false;
        FEmitDeviceEnabled = false;
        do_message(true, fdtxt::ReaderPortOpenFailed.arg(SerComPort1->ComPath(), e.Message()), MSG_ERROR);
        return false;
    }
}

void TFormEmitReader::StartDevice()
{
    if (!FEmitDeviceStarted) {
        const int device = formMain ? formMain->n_chip_reader_device : 0;
        const bool typeOk = device == 0 || device == 1;
        const bool portOk = cbbLukulaiteCom->ItemIndex() >= 0;
        if (!typeOk)
            do_message(true, fdtxt::ReaderNotSupported, MSG_ERROR);
        else if (!portOk)
            do_message(true, fdtxt::ReaderPortMissing, MSG_WARNING);
        else {
            const QString path = formMain ? formMain->n_chip_reader_com : cbbLukulaiteCom->Text();
            SerComPort1->SetComPath(path.isEmpty() ? cbbLukulaiteCom->Text() : path);
            FEmitDeviceStarted = true;
            FEmitDeviceEnabled = true;
            if (OpenPort()) {
                do_message(false,
                           fdtxt::ReaderStarted + QStringLiteral(" (") + SerComPort1->ComPath() + QStringLiteral(": ") +
                               cbbLukulaite->Text() + QStringLiteral(")"),
                           MSG_INFORMATION);
                Guidance(kMenuOk);
            }
        }
        if (!FEmitDeviceStarted) {
            Guidance(cbbLukulaiteCom->ItemIndex() >= 0 ? kMenuExclamation : kMenuQuestion);
            return;
        }
    }
    CheckPrinterPort();
}

void TFormEmitReader::CheckPrinterPort()
{
    if (cbbTulostinCom->Text() != cbbLukulaiteCom->Text()) {
        Guidance(kMenuOk);
        if (cbbTulostinCom->ItemIndex() < 0)
            PrintActionEnabled(false);
        return;
    }
    Guidance(kMenuQuestion);
    ClearPrinterPort();
}

void TFormEmitReader::ClearPrinterPort()
{
    cbbTulostinCom->SetItemIndex(-1);
    if (formMain)
        formMain->n_chip_printer_com.clear();
    WriteDeviceString(QStringLiteral("CHIP_PRINTER"), QStringLiteral("COM"), QString());
    if (receiptPrinter)
        receiptPrinter->SetPort(QString());
    PrintActionEnabled(false);
}

void TFormEmitReader::StopDevice()
{
    // Stopped on purpose (event stopped, devices refreshed): no longer waited for.
    FReaderWatch->SetEnabled(false);
    if (!FEmitDeviceStarted)
        return;
    FEmitDeviceStarted = false;
    FEmitDeviceEnabled = false;
    SerComPort1->SetOpen(false);
    do_message(false, fdtxt::ReaderStopped, MSG_INFORMATION);
    Guidance(kMenuQuestion);
}

void TFormEmitReader::EnableDevice()
{
    // What arrived while reading was off is taken now rather than dropped by
    // closing the port: closing would also drop the bytes still on their way
    // from the line, which may be the whole of the next runner's card. The
    // card in hand still lying on the reader is passed over; another card is
    // held and read below.
    if (FEmitDeviceStarted && !FEmitDeviceEnabled && SerComPort1->Open()) {
        try {
            TakeWhileDisabled(SerComPort1, SerComPort1->InBuffUsed());
        } catch (const Exception& e) {
            do_message(false, txt::ChipReaderHandlingFailed + e.Message(), MSG_ERROR);
        }
    }
    FEmitDeviceEnabled = true;
    if (FEmitDeviceStarted) {
        if (SerComPort1->Open() || OpenPort()) {
            Guidance(kMenuOk);
            // Not from inside the dispatch that is ending now.
            if (!FHeldEmit.isEmpty())
                QTimer::singleShot(0, FPostGuard.get(), [this] { DispatchHeldCard(); });
            else if (DataModule1 && !DataModule1->KeptReads().isEmpty())
                QTimer::singleShot(0, FPostGuard.get(), [this] { DispatchKeptRead(); });
        } else
            Guidance(cbbLukulaiteCom->ItemIndex() >= 0 ? kMenuExclamation : kMenuQuestion);
        return;
    }
    Guidance(cbbLukulaiteCom->ItemIndex() >= 0 ? kMenuExclamation : kMenuQuestion);
}

void TFormEmitReader::DisableDevice()
{
    FEmitDeviceEnabled = false;
}

void TFormEmitReader::ReaderLost(int ErrorCode)
{
    if (!FEmitDeviceStarted)
        return;
    // The reader counts as stopped at once, so that nothing waits on it and
    // the guidance asks for attention while the operator reads the message;
    // closing the port lets go of the device, so that it can come back.
    FLostPort = SerComPort1->ComPath();
    FEmitDeviceStarted = false;
    FEmitDeviceEnabled = false;
    FHeldEmit.clear();
    current250Read->NewFrame();
    try {
        SerComPort1->SetOpen(false);
    } catch (const Exception& e) {
        do_message(false, e.Message(), MSG_WARNING);
    }
    Guidance(kMenuExclamation);
    FReaderWatch->SetEnabled(true);
    const QString why = DorvLoadStr(ErrorCode);
    do_message(true, fdtxt::ReaderLost.arg(FLostPort, why.isEmpty() ? QString::number(ErrorCode) : why), MSG_ERROR);
}

bool TFormEmitReader::WatchingForReader() const
{
    return FReaderWatch->Enabled();
}

void TFormEmitReader::CheckReaderReturned()
{
    if (FEmitDeviceStarted || (formMain && formMain->nCurrentProcessedEvent == 0)) {
        FReaderWatch->SetEnabled(false);
        return;
    }
    if (!CommPortExists(FLostPort))
        return;
    FReaderWatch->SetEnabled(false);
    refreshDevices();
}

void TFormEmitReader::SerComPort1TriggerAvail(TSerCustomComPort* CP, uint16_t Count)
{
    if (!FEmitDeviceEnabled) {
        // Taken, not left on the line: a card put down while a dialog is open is held, never lost.
        TakeWhileDisabled(CP, Count);
        return;
    }
    if (formMain && formMain->bResultBoardVisible && formResultBoard && finishDeskHost
        && finishDeskHost->ActiveProcessingTabCaption() == fdtxt::FinishTabCaption && !formResultBoard->ReadPanelVisible())
        formResultBoard->ShowReadPanel();
    if (finishDeskHost)
        finishDeskHost->ResetLastResultBox();
    current250Read->HandleBytes(
        Count, [CP] { return static_cast<int>(CP->GetChar()); },
        [this](const QString& EmitString) { ProcessEmit(EmitString); });
}

void TFormEmitReader::TakeWhileDisabled(TSerCustomComPort* CP, int Count)
{
    // The assembly stops after each card; go on to the end of the bytes.
    int taken = 0;
    const auto next = [CP, &taken] {
        ++taken;
        return static_cast<int>(CP->GetChar());
    };
    while (taken < Count) {
        const int before = taken;
        current250Read->HandleBytes(Count - taken, next, [this](const QString& E) { HoldCard(E); });
        if (taken == before)
            break;
    }
}

void TFormEmitReader::HoldCard(const QString& EmitString)
{
    if (CardKey(EmitString) != FDispatchedKey) {
        FHeldEmit = EmitString;
        do_message(false, fdtxt::ReaderCardHeld + CardKey(EmitString), MSG_INFORMATION);
    }
    current250Read->NewFrame();
}

void TFormEmitReader::DispatchHeldCard()
{
    if (FHeldEmit.isEmpty() || !FEmitDeviceStarted || !FEmitDeviceEnabled)
        return;
    const QString held = std::exchange(FHeldEmit, QString());
    ProcessEmit(held);
}

void TFormEmitReader::DispatchKeptRead()
{
    if (!DataModule1 || !FEmitDeviceStarted || !FEmitDeviceEnabled || !FHeldEmit.isEmpty())
        return;
    const QString kept = DataModule1->TakeKeptRead();
    if (kept.isEmpty())
        return;
    const QString key = CardKey(kept);
    do_message(false, txt::ChipReadKeptRetried.arg(key), MSG_INFORMATION);
    Guidance(kMenuGray);
    FDispatchedKey = key;
    if (OnChipRead)
        OnChipRead(kept);
    else
        ChipRead(kept);
    FLastReadEmit = key;
}

void TFormEmitReader::ProcessEmit(const QString& EmitString)
{
    const QString key = CardKey(EmitString);
    const QString successively = formMain ? formMain->vc_chip_read_successively : QStringLiteral("E");
    const QString mainFunction = formMain ? formMain->vc_main_function : QStringLiteral("MAALI");
    const QString lastAction = formMain ? formMain->vc_last_result_action : QStringLiteral("EI");
    const QString forest = formMain ? formMain->vc_chip_read_forest : QStringLiteral("K");
    const bool same = key == FLastReadEmit;
    const bool dropped = (successively == QLatin1String("E") && same)
                         || (successively != QLatin1String("K") && successively != QLatin1String("E"))
                         || (mainFunction == QLatin1String("MAALI") && lastAction == QLatin1String("MAALI_MAASTOON") && same)
                         || (mainFunction == QLatin1String("LAHTO") && forest == QLatin1String("K") && same);
    if (!dropped) {
        Guidance(kMenuGray);
        FDispatchedKey = key;
        FDroppedKey.clear();
        if (OnChipRead)
            OnChipRead(EmitString);
        else
            ChipRead(EmitString);
        FLastReadEmit = key;
    } else if (same) {
        SameCardDropped(key);
    }
    current250Read->NewFrame();
}

// The card was dropped as the one read last; said, so that neither the runner
// at the board (who would otherwise get the read error once the read panel's
// wait ran out) nor the operator is left guessing.
void TFormEmitReader::SameCardDropped(const QString& Key)
{
    if (Key != FDroppedKey)
        do_message(false, fdtxt::SameChip + QStringLiteral(" (") + Key + QLatin1Char(')'), MSG_INFORMATION);
    FDroppedKey = Key;
    if (finishDeskHost)
        finishDeskHost->ShowCardReadAgain(Key);
    if (formMain && formMain->bResultBoardVisible && formResultBoard && formResultBoard->ReadPanelVisible()) {
        // As after a dispatch: the board's next-card wait turns reading on.
        DisableDevice();
        formResultBoard->ShowSameChip();
        formResultBoard->HideReadPanel();
    }
}

void TFormEmitReader::cbbLukulaiteChange(TComponent*)
{
    if (formMain)
        formMain->n_chip_reader_device = cbbLukulaite->ItemIndex();
    WriteDeviceInt(QStringLiteral("CHIP_READER"), QStringLiteral("UNIT"), cbbLukulaite->ItemIndex());
    if (finishDeskHost)
        finishDeskHost->MenuRefresh();
}

void TFormEmitReader::cbbLukulaiteComChange(TComponent*)
{
    const QString text = cbbLukulaiteCom->Text();
    if (formMain)
        formMain->n_chip_reader_com = text;
    WriteDeviceString(QStringLiteral("CHIP_READER"), QStringLiteral("COM"), text);
    if (finishDeskHost)
        finishDeskHost->MenuRefresh();
    if (formMain && formMain->nCurrentProcessedEvent != 0 && !text.isEmpty() && event && event->classess() > 0) {
        StopDevice();
        StartDevice();
    }
}

void TFormEmitReader::cbbTulostinChange(TComponent*)
{
    if (formMain)
        formMain->n_chip_printer_type = cbbTulostin->ItemIndex();
    WriteDeviceInt(QStringLiteral("CHIP_PRINTER"), QStringLiteral("TYPE"), cbbTulostin->ItemIndex());
    if (finishDeskHost)
        finishDeskHost->MenuRefresh();
}

void TFormEmitReader::cbbTulostinComChange(TComponent*)
{
    const QString text = cbbTulostinCom->Text();
    if (text != cbbLukulaiteCom->Text()) {
        if (formMain)
            formMain->n_chip_printer_com = text;
        WriteDeviceString(QStringLiteral("CHIP_PRINTER"), QStringLiteral("COM"), text);
        if (receiptPrinter)
            receiptPrinter->SetPort(text);
        PrintActionEnabled(true);
    } else {
        MessageBox(fdtxt::PrinterPortTaken, Application ? Application->Title : QString(), MB_OK | MB_ICONERROR);
        ClearPrinterPort();
    }
    if (finishDeskHost)
        finishDeskHost->MenuRefresh();
}
