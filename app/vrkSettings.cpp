#include "app/vrkSettings.h"

#include "app/vrkCommon.h"
#include "app/vrkDoMessage.h"
#include "app/vrkFitLabels.h"
#include "app/vrkMainForm.h"
#include "components/base/rMemoEx.h"
#include "components/framed/FcCmboBx.h"
#include "data/vrkEntities.h"
#include "platform/os/Sound.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/StdCtrls.h"
#include "resources/MainWindowTexts.h"
#include "resources/ProgramTexts.h"

TformSettings* formSettings = nullptr;

namespace {

template <class T>
T* Make(TComponent* Owner, TWinControl* Parent, const char* Name, int L, int T_, int W, int H)
{
    auto* c = new T(Owner);
    c->SetName(QString::fromLatin1(Name));
    c->SetParent(Parent);
    c->SetBounds(L, T_, W, H);
    return c;
}

TLabel* MakeCaption(TComponent* Owner, TWinControl* Parent, const QString& Text, int L, int T)
{
    auto* l = new TLabel(Owner);
    l->SetParent(Parent);
    l->SetCaption(Text);
    // Only placed: an auto-sized label takes its width from its text.
    l->SetLeft(L);
    l->SetTop(T);
    return l;
}

// The framed list of fixed choices: typing picks no free text.
TFcComboBox* MakeList(TComponent* Owner, TWinControl* Parent, const char* Name, int L, int T, int W, int H)
{
    auto* c = Make<TFcComboBox>(Owner, Parent, Name, L, T, W, H);
    c->AllowEdit = false;
    return c;
}

TTabSheet* Page(TformSettings* F, TPageControl* P, const char* Name, const QString& Text)
{
    auto* s = new TTabSheet(F);
    s->SetName(QString::fromLatin1(Name));
    s->SetPageControl(P);
    s->SetCaption(Text);
    return s;
}

QString DeviceIni()
{
    return GetExePath() + txt::DeviceIniName;
}

}  // namespace

TformSettings::TformSettings(TComponent* AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("formSettings"));
    SetCaption(txt::SettingsCaption);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 560, 420);
    SetKeyPreview(true);
    pcSettings = Make<TPageControl>(this, this, "pcSettings", 8, 8, 544, 364);
    BuildGeneral();
    BuildDevices();
    BuildUI();
    BuildMessages();
    btnOK = Make<TButton>(this, this, "btnOK", 464, 382, 88, 28);
    btnOK->SetCaption(txt::ButtonOK);
    btnOK->OnClick = [this](TComponent*) { OKClick(); };
    OnCreate = [this](TComponent*) { FitLabels(this); };
    OnShow = [this](TComponent*) { LoadControls(); };
    OnKeyDown = [this](TComponent*, Word& Key, TShiftState) {
        if (Key == VK_ESCAPE)
            Close();
    };
    SetMessageListSink([this](const QString& Line) {
        QStringList lines = rmxMessages->Lines();
        AppendMessageLine(lines, Line);
        rmxMessages->SetLines(lines);
    });
}

TformSettings::~TformSettings()
{
    SetMessageListSink(nullptr);
    if (formSettings == this)
        formSettings = nullptr;
}

void TformSettings::BuildGeneral()
{
    TTabSheet* p = Page(this, pcSettings, "tsGeneral", txt::SettingsPageGeneral);
    auto* box = Make<TGroupBox>(this, p, "gbComputer", 8, 8, 520, 170);
    box->SetCaption(txt::SettingsBoxComputer);
    auto edit = [&](TEdit*& E, const char* Name, const QString& Text, int Top, bool ReadOnly) {
        MakeCaption(this, box, Text, 12, Top + 4);
        E = Make<TEdit>(this, box, Name, 130, Top, 370, 24);
        E->SetReadOnly(ReadOnly);
    };
    edit(lbledtClientName, "lbledtClientName", txt::SettingsName, 24, true);
    edit(lbledtOwner, "lbledtOwner", txt::SettingsOwner, 58, true);
    edit(lbledtClientVersion, "lbledtClientVersion", txt::SettingsVersion, 92, true);
    edit(lbledtClientSecret, "lbledtClientSecret", txt::SettingsSecret, 126, false);
    // The secret links this computer to the web account: not for the eyes of
    // whoever stands behind the desk.
    lbledtClientSecret->SetPasswordChar(QLatin1Char('*'));
}

void TformSettings::BuildDevices()
{
    TTabSheet* p = Page(this, pcSettings, "tsDevices", txt::SettingsPageDevices);
    auto* box = Make<TGroupBox>(this, p, "gbReading", 8, 8, 520, 120);
    box->SetCaption(txt::SettingsBoxReading);
    chkReadSameChip = Make<TCheckBox>(this, box, "chkReadSameChip", 12, 24, 400, 22);
    chkReadSameChip->SetCaption(txt::SettingsReadSame);
    MakeCaption(this, box, txt::SettingsReadDelay, 12, 56);
    fccbReadDelay = MakeList(this, box, "fccbReadDelay", 200, 52, 60, 24);
    QStringList delays;
    for (int i = 0; i <= 10; ++i)
        delays << QString::number(i);
    fccbReadDelay->SetItems(delays);
    MakeCaption(this, box, txt::SettingsSeconds, 268, 56);
    chkReadForest = Make<TCheckBox>(this, box, "chkReadForest", 12, 86, 480, 22);
    chkReadForest->SetCaption(txt::SettingsReadForest);
    auto* receipt = Make<TGroupBox>(this, p, "gbReceipt", 8, 136, 520, 60);
    receipt->SetCaption(txt::SettingsBoxReceipt);
    const QString reader = QStringLiteral("CHIP_READER");
    chkReadSameChip->OnClick = [this, reader](TComponent*) {
        CheckChanged(chkReadSameChip, formMain->vc_chip_read_successively, reader, QStringLiteral("READ_SUCCESSIVELY"));
    };
    chkReadForest->OnClick = [this, reader](TComponent*) {
        CheckChanged(chkReadForest, formMain->vc_chip_read_forest, reader, QStringLiteral("READ_FOREST"));
    };
    fccbReadDelay->OnChange = [this, reader](TComponent*) {
        ListChanged(fccbReadDelay, formMain->iChipReadDelay, reader, QStringLiteral("READ_DELAY"));
    };
}

void TformSettings::BuildUI()
{
    TTabSheet* p = Page(this, pcSettings, "tsUI", txt::SettingsPageUI);
    auto* test = Make<TGroupBox>(this, p, "gbTest", 8, 8, 520, 56);
    test->SetCaption(txt::SettingsBoxTest);
    chkTestNewRun = Make<TCheckBox>(this, test, "chkTestNewRun", 12, 24, 400, 22);
    chkTestNewRun->SetCaption(txt::SettingsTestNewRun);
    chkTestNewRun->OnClick = [this](TComponent*) {
        CheckChanged(chkTestNewRun, formMain->vc_ui_test_new_run, QStringLiteral("UI"), QStringLiteral("TEST"));
        if (!FLoading)
            formMain->ShowTestAction(chkTestNewRun->Checked());
    };
    auto* board = Make<TGroupBox>(this, p, "gbBoard", 8, 72, 520, 130);
    board->SetCaption(txt::SettingsBoxBoard);
    MakeCaption(this, board, txt::SettingsLook, 12, 28);
    fccbResultBoardStyle = MakeList(this, board, "fccbResultBoardStyle", 200, 24, 160, 24);
    fccbResultBoardStyle->SetItems({txt::SettingsLookLight, txt::SettingsLookDark});
    fccbResultBoardStyle->OnChange = [this](TComponent*) {
        ListChanged(fccbResultBoardStyle, formMain->iResultBoardStyle, QStringLiteral("UI"), QStringLiteral("RESULT_BOARD_STYLE"));
    };
    const QStringList sounds{txt::SoundNone, txt::SoundOK, txt::SoundInfo, txt::SoundWarning, txt::SoundError};
    auto sound = [&](TComboBox*& L, TButton*& B, const char* Name, const char* Button, const QString& Text, int Top,
                     int* Field, const char* Key) {
        MakeCaption(this, board, Text, 12, Top + 4);
        L = MakeList(this, board, Name, 200, Top, 160, 24);
        L->SetItems(sounds);
        B = Make<TButton>(this, board, Button, 368, Top, 70, 24);
        B->SetCaption(txt::SettingsTestButton);
        TComboBox* list = L;
        B->OnClick = [list](TComponent*) { PlaySound(list->ItemIndex()); };
        L->OnChange = [this, list, Field, Key](TComponent*) {
            ListChanged(list, *Field, QStringLiteral("CHIP_READER"), QString::fromLatin1(Key));
        };
    };
    sound(fccbRentedChip, btnTestRented, "fccbRentedChip", "btnTestRented", txt::SettingsRentedSound, 58,
          &formMain->iResultBoardSound1, "RESULT_BOARD_RENTED_CHIP_SOUND");
    sound(fccbMPChip, btnTestMP, "fccbMPChip", "btnTestMP", txt::SettingsMPSound, 92, &formMain->iResultBoardSound2,
          "RESULT_BOARD_MP_CHIP_SOUND");
}

void TformSettings::BuildMessages()
{
    TTabSheet* p = Page(this, pcSettings, "tsMessages", txt::SettingsPageMessages);
    rmxMessages = Make<TrMemoEx>(this, p, "rmxMessages", 0, 0, 536, 334);
    rmxMessages->SetAlign(alClient);
    rmxMessages->SetReadOnly(true);
    rmxMessages->SetScrollBars(ssBoth);
    rmxMessages->SetWordWrap(false);
}

void TformSettings::CheckChanged(TCheckBox* Box, QString& Field, const QString& Section, const QString& Key)
{
    if (FLoading)
        return;
    Field = Box->Checked() ? QStringLiteral("K") : QStringLiteral("E");
    try {
        WriteString_Ini(DeviceIni(), Section, Key, Field);
    } catch (const std::exception& e) {
        do_message(false, txt::IniWriteFailed + QString::fromUtf8(e.what()), MSG_WARNING);
    }
}

void TformSettings::ListChanged(TComboBox* List, int& Field, const QString& Section, const QString& Key)
{
    if (FLoading || List->ItemIndex() < 0)
        return;
    Field = List->ItemIndex();
    try {
        WriteInteger_Ini(DeviceIni(), Section, Key, Field);
    } catch (const std::exception& e) {
        do_message(false, txt::IniWriteFailed + QString::fromUtf8(e.what()), MSG_WARNING);
    }
}

void TformSettings::LoadControls()
{
    FLoading = true;
    chkReadSameChip->SetChecked(formMain->vc_chip_read_successively == QLatin1String("K"));
    chkReadForest->SetChecked(formMain->vc_chip_read_forest == QLatin1String("K"));
    chkTestNewRun->SetChecked(formMain->vc_ui_test_new_run == QLatin1String("K"));
    if (Client) {
        lbledtClientName->SetText(Client->client_name());
        lbledtOwner->SetText(Client->owner());
        lbledtClientVersion->SetText(Client->client_version());
        lbledtClientSecret->SetText(Client->client_secret());
    }
    fccbReadDelay->SetItemIndex(formMain->iChipReadDelay);
    fccbResultBoardStyle->SetItemIndex(formMain->iResultBoardStyle);
    fccbRentedChip->SetItemIndex(formMain->iResultBoardSound1);
    fccbMPChip->SetItemIndex(formMain->iResultBoardSound2);
    FLoading = false;
}

void TformSettings::PlaySound(int Index)
{
    static const unsigned kinds[] = {0, 0, MB_ICONASTERISK, MB_ICONEXCLAMATION, MB_ICONHAND};
    if (Index >= 1 && Index <= 4)
        MessageBeep(kinds[Index]);
}

void TformSettings::OKClick()
{
    const QString name = lbledtClientName->Text();
    const QString owner = lbledtOwner->Text();
    const QString secret = lbledtClientSecret->Text();
    bool missing = false;
    for (const auto& [value, text] : {std::pair{name, txt::SettingsNameRequired}, std::pair{owner, txt::SettingsOwnerRequired},
                                      std::pair{secret, txt::SettingsSecretRequired}}) {
        if (value.isEmpty()) {
            MessageBox(text, QString(), MB_OK);
            missing = true;
        }
    }
    if (missing)
        return;
    if (name != Client->client_name() || owner != Client->owner() || secret != Client->client_secret()) {
        Client->Setclient_name(name);
        Client->Setowner(owner);
        Client->Setclient_secret(secret);
        Client->Setdo_sync(QStringLiteral("K"));
        Client->updateDB();
    }
    SetModalResult(mrOk);
    Close();
}
