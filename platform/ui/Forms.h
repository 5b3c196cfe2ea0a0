#pragma once
// Windows and the application object.
//
// TApplication owns every window and module created with CreateForm and frees
// them in reverse order at the end; the first form created is the main form,
// and closing it ends the message loop. Exceptions that escape an event
// handler reach HandleException, which calls OnException when it is set.
//
// A form is built in code in its constructor (it is "loading" meanwhile);
// AfterConstruction, which CreateForm calls and Show/ShowModal call when
// nobody did, finishes loading (Loaded on every component) and runs OnCreate.
// A form's Width and Height are those of its client area.

#include "platform/rtl/Exception.h"
#include "platform/ui/Controls.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QWidget;
class QCoreApplication;
class TFormWidget;
class TActionList;
class TMainMenu;
class TButtonControl;

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7, mrClose = 8, mrHelp = 9, mrTryAgain = 10, mrContinue = 11, mrAll = 12, mrNoToAll = 13, mrYesToAll = 14 };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
using TBorderIcons = unsigned;
constexpr TBorderIcons biSystemMenu = 1;
constexpr TBorderIcons biMinimize = 2;
constexpr TBorderIcons biMaximize = 4;
constexpr TBorderIcons biHelp = 8;

using TCloseEvent = std::function<void(TComponent* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TComponent* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    // Finishes building: Loaded on every component, then OnCreate (once).
    void AfterConstruction();

    void Show();
    void Hide() { SetVisible(false); }
    void Close();
    void Release();
    // Shows the window modally and returns its ModalResult.
    virtual int ShowModal();
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value);
    bool Modal() const { return FModal; }
    bool Active() const;

    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TFormBorderStyle BorderStyle() const { return FBorderStyleForm; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState Value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Value);
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);
    TCustomForm* PopupParent() const { return FPopupParent; }
    // The form this one stays above while both are shown.
    void SetPopupParent(TCustomForm* Value);
    int HelpContext = 0;
    // The page of the help that the help hook opens for the window.
    QString HelpFile;
    bool AutoScroll = false;
    int PixelsPerInch() const;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    // The window moved on the screen (by the user dragging it, or in code).
    TNotifyEvent OnMove;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDestroy;
    std::function<void(TComponent* Sender, Word& Key, TShiftState Shift, bool& Handled)> OnShortCut;

    // The keyboard machinery of the controls on the window.
    virtual bool IsShortCut(Word Key, TShiftState Shift);
    virtual bool DialogKey(Word Key, TShiftState Shift);
    void FocusControlChanged(TWinControl* Control);
    void FocusNextControl(bool GoForward) { SelectNext(FActiveControl, GoForward, true); }
    // Action lists placed on the window take part in its shortcuts and updates.
    void AddActionList(TActionList* List);
    void RemoveActionList(TActionList* List);
    const std::vector<TActionList*>& ActionLists() const { return FActionLists; }

    QWidget* Handle() const { return Widget(); }

protected:
    friend class TFormWidget;
    friend class TApplication;
    QWidget* CreateWidget() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void Activate();
    virtual void Deactivate();
    virtual bool CloseQuery();
    virtual void DoClose(TCloseAction& Action);
    virtual void DoDestroy();
    void ApplyWindowFlags();
    void ApplyPopupParent();
    void PlaceWindow();
    void VisibleChanged() override;
    void TextChanged() override;

    int FModalResult = mrNone;
    bool FModal = false;
    bool FCreated = false;
    bool FDestroyed = false;
    bool FActive = false;
    bool FClosing = false;
    TPosition FPosition = poDesigned;
    TFormBorderStyle FBorderStyleForm = bsSizeable;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TWindowState FWindowState = wsNormal;
    TFormStyle FFormStyle = fsNormal;
    bool FKeyPreview = false;
    TWinControl* FActiveControl = nullptr;
    TMainMenu* FMenu = nullptr;
    TCustomForm* FPopupParent = nullptr;
    std::vector<TActionList*> FActionLists;
    void* FModalLoop = nullptr;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* AOwner);
};

// Test hook for modal windows: called once a window runs modally (shown,
// activated); it may fill in controls and press buttons. When the window is
// still open afterwards, the hook's answer becomes its modal result.
using TModalHook = std::function<int(TCustomForm* Form)>;
TModalHook SetModalHook(TModalHook Hook);

class TApplication : public TComponent {
public:
    // Creates the Qt application; one per process.
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    void Initialize() {}
    // Creates a window or module owned by the application and stores it in
    // Reference before its OnCreate runs, as the program's globals expect.
    template <class T>
    void CreateForm(T*& Reference)
    {
        Reference = nullptr;
        T* instance = new T(this);
        Reference = instance;
        AfterCreate(instance);
    }
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    void ProcessMessages();
    // One idle pass: OnIdle and the update of every action list.
    void DoIdle();
    TCustomForm* MainForm() const { return FMainForm; }
    void HandleException(const std::exception* E);
    bool Active() const;
    // Hides the hint that pops up over controls, if one shows.
    void CancelHint();
    // Shows the hint of the control under the screen point CursorPos at once.
    void ActivateHint(const TPoint& CursorPos);

    QString Title = QStringLiteral("sorvex");
    bool MainFormOnTaskBar = false;
    bool ShowMainForm = true;
    bool ShowHint = true;
    int HintPause = 500;
    int HintHidePause = 2500;
    TColor HintColor = clInfoBk;
    QString Hint;
    std::function<void(TComponent* Sender, const Exception& E)> OnException;
    std::function<void(TComponent* Sender, bool& Done)> OnIdle;
    TNotifyEvent OnHint;

private:
    void AfterCreate(TComponent* Instance);
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    struct Impl;
    std::unique_ptr<Impl> FImpl;
};

extern TApplication* Application;

// Creates the process's Qt application of the kind TApplication uses (one that
// routes exceptions escaping event handlers to Application->HandleException,
// with the fixed light look). Test mains call it before any TApplication exists.
QCoreApplication* CreateQtApplication(int& argc, char** argv);
// Gives the running Qt application the fixed look (style, palette, font).
void ApplyFixedLook();

class TScreen {
public:
    int Width() const;
    int Height() const;
    TRect DesktopRect() const;
    TRect WorkAreaRect() const;
    int PixelsPerInch() const;
    TCursor Cursor() const { return FCursor; }
    // The screen-wide cursor; crDefault gives every control its own again.
    void SetCursor(TCursor Value);
    TCustomForm* ActiveForm() const;
    TWinControl* ActiveControl() const;
    int FormCount() const { return int(FForms.size()); }
    TCustomForm* Forms(int Index) const { return FForms.at(size_t(Index)); }
    void AddForm(TCustomForm* F) { FForms.push_back(F); }
    void RemoveForm(TCustomForm* F);
    TFont* HintFont() { return &FHintFont; }
    TFont* MenuFont() { return &FMenuFont; }

private:
    TCursor FCursor = crDefault;
    std::vector<TCustomForm*> FForms;
    TFont FHintFont;
    TFont FMenuFont;
};

extern TScreen* Screen;

// The form a control lies on (nullptr when none).
TCustomForm* GetParentForm(const TControl* Control);
