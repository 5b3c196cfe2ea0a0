#pragma once
// TformMain: the main window and the holder of the program-wide state that
// every part of the program reads: connection values, web addresses and the
// access token, device and display settings, processing ids, the last result
// action and the last read card. Its layout is built by the main-window work.

#include "platform/rtl/Exception.h"
#include "platform/ui/Forms.h"

#include <QString>
#include <cstdint>

class TformMain : public TForm {
public:
    explicit TformMain(TComponent* AOwner);
    ~TformMain() override;

    // Fills the configuration fields from both INI files (called at creation).
    void getIniValues();
    // The application-wide handler of exceptions that reached the message loop.
    void AppException(TComponent* Sender, const Exception& E);

    // ---- configuration (filled by getIniValues) ----
    QString vcCurrentExeDirectory;
    QString s_db_name;
    QString s_db_server;
    QString s_db_user_name;
    QString s_db_role_name;
    QString s_db_password;
    QString vc_rest_base_url;
    QString vc_rest_base_url_v2;
    int n_chip_reader_device = 0;
    QString n_chip_reader_com;
    QString n_chip_printer_com;
    int n_chip_printer_type = 0;
    QString vc_chip_read_successively = QStringLiteral("E");
    QString vc_chip_read_forest = QStringLiteral("K");
    QString vc_ui_test_new_run = QStringLiteral("E");
    int iChipReadDelay = 5;
    int iResultBoardSound1 = 0;
    int iResultBoardSound2 = 0;
    int iResultBoardStyle = 0;
    int iDBLog = 0;
    int iUILanguage = 0;
    QString vcUILanguageCode = QStringLiteral("EN");
    // The receipt printer's port as taken at start: the device path, or empty
    // when no printer port is set.
    QString vcChipPrinterPort;

    // ---- program-wide state ----
    QString vc_access_token;
    int n_online_connected = 0;
    int64_t nCurrentProcessedEvent = 0;
    int64_t nCurrentProcessedEventS = 0;
    int64_t nCurrentProcessedEventSSeason = 0;
    QString vc_main_function = QStringLiteral("MAALI");
    QString vc_last_result_action = QStringLiteral("EI");
    QString vc_last_read_chip;
    bool bResultBoardVisible = false;
    int64_t nMainGridCurrentResultClassId = 0;

private:
    void FormCreate(TComponent* Sender);
};

extern TformMain* formMain;
