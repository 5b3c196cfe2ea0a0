#include "app/vrkMainForm.h"

#include "app/vrkCommon.h"
#include "app/vrkDoMessage.h"
#include "app/vrkFitLabels.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StrUtils.h"
#include "platform/os/QuitSignals.h"
#include "resources/ProgramTexts.h"
#include "resources/SafeguardTexts.h"

TformMain* formMain = nullptr;

TformMain::TformMain(TComponent* AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("formMain"));
    SetCaption(txt::MainCaption);
    SetBounds(centreleft(1220), centretop(760), 1220, 760);
    BuildLayout();
    OnCreate = [this](TComponent* Sender) { FormCreate(Sender); };
    OnShow = [this](TComponent* Sender) { FormShow(Sender); };
    OnCloseQuery = [this](TComponent* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
    OnClose = [this](TComponent* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

TformMain::~TformMain()
{
    if (formMain == this) {
        WatchQuitSignals(nullptr);
        formMain = nullptr;
    }
}

void TformMain::FormCreate(TComponent*)
{
    FitLabels(this);
    getIniValues();
    if (Application)
        Application->OnException = [this](TComponent* Sender, const Exception& E) { AppException(Sender, E); };
    WatchQuitSignals([this](int Signal) { CloseBySignal(Signal); });
}

void TformMain::AppException(TComponent*, const Exception& E)
{
    do_message(true, txt::UnexpectedError + E.Message(), MSG_ERROR);
    Application->Terminate();
}

void TformMain::getIniValues()
{
    vcCurrentExeDirectory = GetExePath();
    for (const char* folder : {"log", "receive", "send"})
        ForceDirectories(vcCurrentExeDirectory + QLatin1String(folder));

    const QString sys = vcCurrentExeDirectory + txt::SystemIniName;
    const QString dev = vcCurrentExeDirectory + txt::DeviceIniName;

    const QString conn = QStringLiteral("CONNECT_PARAMS");
    s_db_name = ReadString_Ini(sys, conn, QStringLiteral("DB_NAME"), QString());
    if (UpperCase(s_db_name) == txt::DefaultDbName)
        s_db_name = vcCurrentExeDirectory + s_db_name;
    s_db_server = ReadString_Ini(sys, conn, QStringLiteral("DB_SERVER"), QString());
    s_db_user_name = DecryptStr(ReadString_Ini(sys, conn, QStringLiteral("USER_NAME"), QString()), DecryptStartKey);
    s_db_role_name = ReadString_Ini(sys, conn, QStringLiteral("ROLE_NAME"), QString());
    s_db_password = DecryptStr(ReadString_Ini(sys, conn, QStringLiteral("PASSWORD"), QString()), DecryptStartKey);
    vc_rest_base_url = ReadString_Ini(sys, QStringLiteral("WEB_SERVICE"), QStringLiteral("REST_BASE_URL"), QString());
    vc_rest_base_url_v2 =
        ReadString_Ini(sys, QStringLiteral("WEB_SERVICE"), QStringLiteral("REST_BASE_URL_V2"), QString());

    // A read-only program folder must not stop the start: the values are in
    // memory either way, and the failure is logged once. A file that exists
    // but cannot be read is never written back over: it still holds the
    // user's settings.
    bool writeFailed = false;
    const QString readError = IniFileReadError(dev);
    if (!readError.isEmpty()) {
        writeFailed = true;
        do_message(false, txt::IniUnreadable + readError, MSG_WARNING);
    }
    // Only missing keys are completed: a key the user wrote stays as written,
    // also when it could not be read (the default is then used in memory and
    // the warning is in the day log), so nothing the user typed is lost.
    auto keyPresent = [&](const QString& section, const QString& key) {
        TIniFile ini(dev);
        return ini.ValueExists(section, key);
    };
    auto writeBackInt = [&](const QString& section, const QString& key, int value) {
        if (writeFailed || keyPresent(section, key))
            return;
        try {
            WriteInteger_Ini(dev, section, key, value);
        } catch (const Exception& e) {
            writeFailed = true;
            do_message(false, txt::IniWriteFailed + e.Message(), MSG_WARNING);
        }
    };
    auto writeBackStr = [&](const QString& section, const QString& key, const QString& value) {
        if (writeFailed || keyPresent(section, key))
            return;
        try {
            WriteString_Ini(dev, section, key, value);
        } catch (const Exception& e) {
            writeFailed = true;
            do_message(false, txt::IniWriteFailed + e.Message(), MSG_WARNING);
        }
    };

    const QString reader = QStringLiteral("CHIP_READER");
    n_chip_reader_device = ReadInteger_Ini(dev, reader, QStringLiteral("UNIT"), 0);
    n_chip_reader_com = ReadString_Ini(dev, reader, QStringLiteral("COM"), QString());
    vc_chip_read_successively = ReadString_Ini(dev, reader, QStringLiteral("READ_SUCCESSIVELY"), QStringLiteral("E"));
    vc_chip_read_forest = ReadString_Ini(dev, reader, QStringLiteral("READ_FOREST"), QStringLiteral("K"));
    writeBackStr(reader, QStringLiteral("READ_FOREST"), vc_chip_read_forest);
    iChipReadDelay = ReadInteger_Ini(dev, reader, QStringLiteral("READ_DELAY"), 5);
    writeBackInt(reader, QStringLiteral("READ_DELAY"), iChipReadDelay);
    iResultBoardSound1 = ReadInteger_Ini(dev, reader, QStringLiteral("RESULT_BOARD_RENTED_CHIP_SOUND"), 0);
    writeBackInt(reader, QStringLiteral("RESULT_BOARD_RENTED_CHIP_SOUND"), iResultBoardSound1);
    iResultBoardSound2 = ReadInteger_Ini(dev, reader, QStringLiteral("RESULT_BOARD_MP_CHIP_SOUND"), 0);
    writeBackInt(reader, QStringLiteral("RESULT_BOARD_MP_CHIP_SOUND"), iResultBoardSound2);

    const QString printer = QStringLiteral("CHIP_PRINTER");
    n_chip_printer_com = ReadString_Ini(dev, printer, QStringLiteral("COM"), QString());
    n_chip_printer_type = ReadInteger_Ini(dev, printer, QStringLiteral("TYPE"), 0);
    // Ports are device paths here; an empty text means no printer port.
    vcChipPrinterPort = Trim(n_chip_printer_com);

    iDBLog = ReadInteger_Ini(dev, QStringLiteral("APPLICATION"), QStringLiteral("DBLOG"), 0);

    const QString ui = QStringLiteral("UI");
    iUILanguage = ReadInteger_Ini(dev, ui, QStringLiteral("LANGUAGE"), 0);
    vcUILanguageCode = iUILanguage == 0 ? QStringLiteral("EN") : QStringLiteral("FI");
    vc_ui_test_new_run = ReadString_Ini(dev, ui, QStringLiteral("TEST"), QStringLiteral("E"));
    iResultBoardStyle = ReadInteger_Ini(dev, ui, QStringLiteral("RESULT_BOARD_STYLE"), 0);
    writeBackInt(ui, QStringLiteral("RESULT_BOARD_STYLE"), iResultBoardStyle);
}
