#pragma once
// Windows and the application object over Qt Widgets.
//
// TApplication owns every window and module created with CreateForm and frees
// them in reverse order at the end; the first form created is the main form,
// and closing it ends the message loop. Exceptions that escape an event
// handler reach HandleException, which calls OnException when it is set.

#include "platform/rtl/Exception.h"
#include "platform/rtl/Component.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;
class QCoreApplication;
class TFormWidget;

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7, mrClose = 8 };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

class TForm : public TComponent {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    QString Caption() const;
    void SetCaption(const QString& Value);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    bool Visible() const;

    void Show();
    void Hide();
    void Close();
    // Shows the window modally and returns its ModalResult.
    int ShowModal();
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value);

    std::function<void(TComponent* Sender)> OnCreate;
    std::function<void(TComponent* Sender)> OnShow;
    std::function<void(TComponent* Sender)> OnHide;
    std::function<void(TComponent* Sender, TCloseAction& Action)> OnClose;
    std::function<void(TComponent* Sender, bool& CanClose)> OnCloseQuery;
    std::function<void(TComponent* Sender)> OnDestroy;

    // The Qt window; only platform/ui and app/sorvex.cpp look behind it.
    QWidget* Handle() const;

protected:
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual bool CloseQuery();
    virtual void DoClose(TCloseAction& Action);
    virtual void DoDestroy();

private:
    friend class TFormWidget;
    friend class TApplication;
    std::unique_ptr<TFormWidget> FWidget;
    int FModalResult = mrNone;
    bool FModal = false;
    bool FCreated = false;
};

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
    TForm* MainForm() const { return FMainForm; }
    void HandleException(const std::exception* E);

    QString Title = QStringLiteral("sorvex");
    bool MainFormOnTaskBar = false;
    bool ShowMainForm = true;
    std::function<void(TComponent* Sender, const Exception& E)> OnException;

private:
    void AfterCreate(TComponent* Instance);
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    struct Impl;
    std::unique_ptr<Impl> FImpl;
};

extern TApplication* Application;

// Creates the process's Qt application of the kind TApplication uses (one that
// routes exceptions escaping event handlers to Application->HandleException).
// Test mains call it before any TApplication exists.
QCoreApplication* CreateQtApplication(int& argc, char** argv);

class TScreen {
public:
    int Width() const;
    int Height() const;
};

extern TScreen* Screen;
