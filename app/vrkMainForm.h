#pragma once
// TformMain: the main window and the holder of the program-wide state that
// every part of the program reads: connection values, web addresses and the
// access token, device and display settings, processing ids, the last result
// action and the last read card. Its start-up and closing live in
// vrkMainStartup.cpp, its controls in vrkMainLayout.cpp.

#include "platform/rtl/Exception.h"
#include "platform/ui/Forms.h"

class TTimer;
class TFcStatusBar;
class TFcStatusPane;
class TFcClockStatus;
class TFcToolbar;
class TFcToolButton;
class TImageList;
class TAction;
class TActionList;
class TPanel;
class TrGroupBox;
class TLabel;
class TButton;
class TCheckBox;
class TEdit;
class TrTabControlEx;
class TrDBAction;
class TrDBGrid;
class TrDBGridSorter_FireDac;
class TPropSaveFile;
class TPropSaveMain;
class TrDBGridsPropSave;
class TParioCompsPropSave;
class TrDBTreeView;
class TTreeNode;
class TControl;
class TPopupMenu;
class TFcPanel;
class TMenuItem;
class TToolBar;
class TFcLabel;
class TSplitter;
struct TPoint;

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

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

    // ---- start-up and closing ----
    // The first showing's sequence (connect, first use or upgrade, initial
    // state); later showings do nothing.
    void FormShow(TComponent* Sender);
    void StartUp();
    // A successful start or first use: the client row marked with this
    // version, the tree built, the web worker started.
    void FirstUseOK();
    // Ends the program without showing the main window.
    void FirstUseNOTOK();
    void FormCloseQuery(TComponent* Sender, bool& CanClose);
    void FormClose(TComponent* Sender, TCloseAction& Action);
    // SIGTERM or SIGINT: closes as the user's close does (layout saved, web
    // worker stopped, database closed), without questions and also from
    // inside a modal dialog.
    void CloseBySignal(int Signal);
    // The program is ending and the window is not to be shown.
    bool bNotShown = false;
    // The calendar download one second after the start.
    TTimer* TimerMainFormShow = nullptr;
    // The web connection pane of the status bar.
    void SetWebStatus(bool Connected);
    TFcStatusBar* stbMain = nullptr;
    // The clock pane shows the date and time in the locale's form.
    TFcClockStatus* fcstspnClock = nullptr;
    TFcStatusPane *fcstspnMainForm = nullptr, *fcstspnClient = nullptr, *fcstspnVersion = nullptr;
    QString StatusPaneText(int Index) const;

    // ---- layout (vrkMainLayout.cpp) ----
    TActionList* alMain = nullptr;
    TAction *actMaaliAloita = nullptr, *actMaaliLopeta = nullptr, *actMaaliValmis = nullptr;
    TAction *actRadatMuokkaa = nullptr, *actRadatUusi = nullptr, *actRadatTuo = nullptr;
    TAction *actLaitteetVirkista = nullptr, *actMaaliEmitLukija = nullptr, *actResultBoard = nullptr;
    TAction *actSettings = nullptr;
    TAction *actMainTreeEdit = nullptr, *actMainTreeMergePerson = nullptr, *actMainTreeAdd = nullptr;
    TAction *actMainTreeRefresh = nullptr, *actMainTreeCollapse = nullptr, *actMainTreeExpand = nullptr;
    TAction *actMainGridNew = nullptr, *actMainGridNewTest = nullptr, *actMainGridEdit = nullptr;
    TAction *actMainGridEditPerson = nullptr, *actMainGridMergePerson = nullptr, *actMainGridPrintBadge = nullptr;
    TAction *actMainGridDelete = nullptr, *actMainGridToResult = nullptr, *actMainGridRefresh = nullptr;
    // Guidance toolbar: one framed tool bar per step (its state icon, its
    // text and its buttons), side by side.
    TPanel* grpMenu = nullptr;
    TFcToolbar *tlbMenu1 = nullptr, *tlbMenu2 = nullptr, *tlbMenu3 = nullptr;
    TLabel *imgMenu1 = nullptr, *lblMenu1 = nullptr;
    TLabel *imgMenu2 = nullptr, *lblMenu2 = nullptr;
    TLabel *imgMenu3 = nullptr, *lblMenu3 = nullptr;
    std::vector<TControl*> FMenu1Buttons, FMenu2Buttons, FMenu3Buttons;
    TFcToolButton *btnAloita = nullptr, *btnLopeta = nullptr, *btnValmis = nullptr;
    TFcToolButton *btnRadatMuokkaa = nullptr, *btnRadatUusi = nullptr;
    TFcToolButton *btnLaitteetVirkista = nullptr, *btnLaitteet = nullptr, *btnTulos = nullptr;
    // The glyphs of the window's tool buttons.
    TImageList* ilMain = nullptr;
    QString vcMenuStatus, vcMenuHelpText;
    bool bMenu1Visible = false, bMenu2Visible = false, bMenu3Visible = false;
    // Navigation side.
    TPanel* pnlLeft = nullptr;
    // Beside the navigation side: widens or narrows it; disabled while the
    // tree box is minimised.
    TSplitter* splNavigation = nullptr;
    TrGroupBox* grpNavTree = nullptr;
    // The place of the tree box: the box lies on top of it and fills it
    // unless minimised (a box filling its parent by alignment cannot
    // shrink to its caption).
    TPanel* pnlTreeArea = nullptr;
    void FitTreeBox();
    TFcToolbar* fctlbrMainTree = nullptr;
    TrDBTreeView* tvMainTree = nullptr;
    TrDBTreeView* tvMainTreeEvent = nullptr;
    TrTabControlEx* tabKasittely = nullptr;
    TPanel *pnlLahto = nullptr, *pnlMaali = nullptr, *pnlMTR = nullptr;
    TLabel *lblSuorituksia = nullptr, *lblMaastossa = nullptr, *lblHyl = nullptr, *lblKesk = nullptr,
           *lblEAikaa = nullptr;
    TrGroupBox* gbWebTulospalvelu = nullptr;
    TLabel *imgWebOK = nullptr, *imgWebExclamation = nullptr;
    TFcLabel* lblWebMessage = nullptr;
    TEdit *edtLahettamatta = nullptr, *edtVastaanottamatta = nullptr;
    TrGroupBox* gbSynkronointiAction = nullptr;
    TLabel *imgSyncOK = nullptr, *imgSyncExclamation = nullptr;
    TFcLabel* lblActionMessage = nullptr;
    // The notification box of the first synchronisation after linking: shown
    // while it runs; its "Valmis" (created disabled) comes on when it is done
    // and closes the box with a fresh navigation tree (vrkMainNotification.cpp).
    TrGroupBox* gbNotification = nullptr;
    TLabel* lblNotification = nullptr;
    TButton* buttonNotification = nullptr;
    void NotificationShow();
    void NotificationReady();
    void buttonNotificationClick();
    // Results side.
    TrGroupBox* grpMainAreaDetails = nullptr;
    TFcToolbar* fctlbrMainGrid = nullptr;
    TCheckBox* chkAutoRefresh = nullptr;
    TrGroupBox* grpLastResult = nullptr;
    TLabel *lblSarja = nullptr, *lblNimi = nullptr, *lblSeura = nullptr, *lblAika = nullptr, *lblTulos = nullptr;
    TrDBGrid* rdbgrdResultsClass = nullptr;
    TrDBGridSorter_FireDac* rDBGridSorter_FireDac1 = nullptr;
    // The window's property file "sorvex.ini" in the program folder (the
    // application-wide one): the results grid's layout and the details
    // group box between runs.
    TPropSaveFile* PropSaveFile1 = nullptr;
    TPropSaveMain* PropSaveMain1 = nullptr;
    TrDBGridsPropSave* rDBGridsPropSave1 = nullptr;
    TParioCompsPropSave* ParioCompsPropSave1 = nullptr;
    // Reads the layout once the start-up has passed the upgrade (which may
    // have deleted the file); saves it when the window closes.
    void ReadLayout();
    void SaveLayout();
    TTimer *TimerWebTulospalvelu = nullptr, *TimerSynkronointiAction = nullptr;
    TTimer *TimerRefreshMainTreeEvent = nullptr, *TimerViimeisinKasitelty = nullptr;
    bool bResultsGridVisible = false;
    bool b_ready_pressed = false;
    QString vcCurrentNodeType;

    // ---- status boxes, counters, guidance (vrkMainStatus.cpp) ----
    void MenuShow(const QString& State, const QString& HelpText);
    void MenuRefresh();
    void refreshMessageCounts(int Unsent, int NotReceived);
    void WebTulospalveluShow();
    void WebTulospalveluHide(int DelayMs);
    void WebTulospalveluAlert();
    void WebTulospalveluUnAlert();
    void SynkronointiActionShow();
    void SynkronointiActionHide(int DelayMs);
    void SynkronointiActionOK();
    void SynkronointiActionERROR();
    void gbWebTulospalveluMinimizeChange();
    void grpNavTreeMinimizeChange();
    bool bWebTulospalveluChanged = false, bWebTulospalveluManualMin = false, bWebTulospalveluManualMax = false;
    bool bWebAlert = false;
    // The web service could not be reached at the last call (the status
    // pane's text); the box stays in alert until it answers again.
    bool bWebConnectionLost = false;
    int nWebEdTilanne = 0;
    int nWebLahettamatta[30] = {};
    // The device text of the guidance's third step ("type: port" lines).
    std::function<QString()> DeviceText;
    // The device step as now shown (visible, icon sign and colour, text),
    // for the device form's own guidance line.
    std::function<void(bool Visible, const QString& Sign, TColor Color, const QString& Text)> OnDeviceGuidance;
    void MirrorDeviceGuidance();

    // ---- processing (vrkMainProcessing.cpp) ----
    void actMaaliAloitaExecute();
    void actMaaliLopetaExecute();
    void actMaaliValmisExecute();
    void tabKasittelyChange();
    void refreshEventData();
    void actResultBoardExecute();
    // The start's "now" (tests set a fixed one).
    std::function<QDateTime()> ClockNow;

    // ---- trees (vrkMainTrees.cpp) ----
    void refreshMainTree();
    void refreshMainTreeEvent();
    void tvMainTreeChange(TTreeNode* Node);
    void tvMainTreeEventChange(TTreeNode* Node);
    void treeEdit();
    void treeAdd();
    void treeRefresh();
    void ShowStartTree();
    // After a download: the shown tree rebuilt, the selected event reloaded.
    void RefreshTreeAfterDownload();
    // The start tree's node of an event (none before the tree was built).
    TTreeNode* FindEventNode(int64_t EventId) const;
    // The event tree's node of the processed event.
    TTreeNode* FindProcessedEventNode(int64_t EventId) const;
    void ShowEventTree();

    // ---- results grid and actions (vrkMainGrid.cpp) ----
    void nayta_tulokset_grid();
    void piilota_tulokset_grid();
    void refreshMainGrid();
    void SetGridActions();
    void ClearLastResult();
    void actMainGridDeleteExecute();
    void ShowTestAction(bool Visible);
    // Opens a dialog of another window wrapped in disabling and enabling the
    // card reader; ClassesNeeded: the reader comes back only for an event
    // with classes.
    void WrapDialog(const std::function<void()>& Open, bool ClassesNeeded);

    // Binds the trees and the grid to the data module's datasets (once; the
    // module is created after the window).
    void BindDataModule();
    // Makes the results grid the grid action module's active grid.
    void ActivateMainGrid();
    TrDBTreeView* CurrentTree() const;

    // ---- grid action module and context menus (vrkMainMenus.cpp) ----
    // The results grid's menu: the program's entries, then the grid action
    // module's own (find, sort, filter, columns, copy, export, print).
    TPopupMenu* pmMainGrid = nullptr;
    // Both trees' menu; the node under the pointer is selected first.
    TPopupMenu* pmMainTree = nullptr;
    // The grid action module's tool bar above the results grid.
    TToolBar* rDBToolBar = nullptr;
    void BuildMenus();
    void ShowGridBars(bool Show);
    void TreeContextPopup(TrDBTreeView* Tree, const TPoint& MousePos);

    // ---- test entry (vrkMainTestEntry.cpp) ----
    TFcPanel* fcpnlMainGrid = nullptr;
    TEdit* edtChipString = nullptr;
    TButton* btnChipStringOK = nullptr;
    void BuildTestEntry();
    void btnChipStringOKClick();

    // The windows of the finish desk, the editors and the device form are
    // reached through these hooks (set where those windows are created, in
    // sorvex.cpp); an unset hook does nothing. Each gets the id in hand.
    struct TOtherWindows {
        std::function<void(int64_t ResultsClassId, bool NoChip)> FinishDialog;
        std::function<void(int64_t ResultsClassId, bool WebEntries)> CheckInDialog;
        std::function<bool(int64_t PersonId)> PersonEditor;  // true: data changed
        std::function<bool(int64_t ClubId)> ClubEditor;
        // What the course editor changed: the class's course (the tree shows
        // it) and its controls (the grid's runs are checked against them).
        struct TCourseChanges {
            bool Course = false, Control = false;
        };
        std::function<TCourseChanges(int64_t ClassId)> CourseEditor;
        std::function<bool(int64_t PersonId)> PersonMerge;
        std::function<void()> NewClassDialog;
        std::function<void(int64_t ResultsClassId)> PrintBadge;
        // The test entry's dispatch of a hand-typed emit string.
        std::function<void(const QString& EmitString)> ChipString;
        std::function<void()> DeviceForm;
        std::function<void()> RefreshDevices;
        // The device form's state at start: configured ports chosen.
        std::function<void()> InitialDevices;
        std::function<void()> StartDevice, StopDevice, DisableDevice, EnableDevice;
        std::function<void(bool Show)> ResultBoard;
        std::function<void()> Settings;
    } Windows;

private:
    void FormCreate(TComponent* Sender);
    void RadatMuokkaa();
    void RadatUusi();
    static void NotImplementedBox();
    void RefreshDevices();
    void ShowDeviceForm();
    void ShowSettings();
    void treeMerge();
    void GridEdit(bool FromDoubleClick);
    void GridNew();
    void GridNewTest();
    void GridPrintBadge();
    void GridMergePerson();
    void GridToResult();
    void GridEditPerson();
    void MainWebLinkCalendar();
    bool EventHasClasses() const;
    void BuildStatusBar();
    void BuildLayout();
    void BuildActions();
    void BuildGuidance();
    void BuildGuidanceButtons();
    void BuildTreeToolbar();
    void BuildGridToolbar();
    void FitModuleBar();
    void BuildNavigation();
    void BuildResults();
    void BuildLayoutSaving();
    void BuildTrees();
    void BuildGridColumns();
    void BindGrid();
    bool FBound = false;
    void InitialLayoutState();
    void SelectLastEvent();
    void ResetWebBoxes();
    void SetEditorActions(bool Edit, bool Merge, bool Add, bool Enabled);
    void ShowMenuState(const QString& State, const QString& HelpText);
    void FlowGuidance();
    int64_t SelectedEventId() const;
    // Steps of the start-up.
    void RunUpgrade();
    bool AskClientSecret();
    void InitialState();
    bool FStartedUp = false;
    bool FClosed = false;
    bool FClosingBySignal = false;
};

extern TformMain* formMain;
// The shared grid actions, toolbar and context menus (held by the grid
// library); created before the main window, whose results grid it serves first.
extern TrDBAction* rDBAction;
