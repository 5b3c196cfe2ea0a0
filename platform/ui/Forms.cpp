#include "platform/ui/Forms.h"
#include "platform/ui/DialogKeys.h"

#include "platform/ui/ActnList.h"
#include "platform/ui/ControlWidget.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHelpEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>
#include <QStyleFactory>
#include <QTimer>
#include <QToolTip>
#include <QWindow>

TApplication* Application = nullptr;
static TScreen GlobalScreen;
TScreen* Screen = &GlobalScreen;

namespace {

TModalHook& ModalHook()
{
    static TModalHook hook;
    return hook;
}

}  // namespace

TModalHook SetModalHook(TModalHook Hook)
{
    TModalHook old = std::move(ModalHook());
    ModalHook() = std::move(Hook);
    return old;
}

TCustomForm* GetParentForm(const TControl* Control)
{
    return Control ? Control->ParentForm() : nullptr;
}

// ---- the Qt window behind a form -----------------------------------------

class TFormWidget : public TControlWidget {
public:
    explicit TFormWidget(TCustomForm* Form) : TControlWidget(Form, false), FForm(Form)
    {
        setAttribute(Qt::WA_QuitOnClose, false);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void showEvent(QShowEvent* e) override
    {
        QWidget::showEvent(e);
        if (!e->spontaneous()) {
            FForm->FVisible = true;
            FForm->DoShow();
        }
    }
    void hideEvent(QHideEvent* e) override
    {
        QWidget::hideEvent(e);
        if (!e->spontaneous()) {
            FForm->FVisible = false;
            FForm->DoHide();
            if (FForm->FActive)
                FForm->Deactivate();
        }
    }
    void changeEvent(QEvent* e) override
    {
        QWidget::changeEvent(e);
        if (e->type() == QEvent::ActivationChange) {
            if (isActiveWindow())
                FForm->Activate();
            else if (FForm->FActive)
                FForm->Deactivate();
        }
    }
    void resizeEvent(QResizeEvent* e) override
    {
        QWidget::resizeEvent(e);
        if (width() != FForm->FWidth || height() != FForm->FHeight) {
            FForm->FWidth = width();
            FForm->FHeight = height();
            FForm->Realign();
            FForm->Resize();
        }
    }
    void moveEvent(QMoveEvent* e) override
    {
        QWidget::moveEvent(e);
        // The place SetBounds gives (without the window frame), so that a
        // place read back and set again does not creep by the frame's size.
        FForm->FLeft = geometry().x();
        FForm->FTop = geometry().y();
        if (FForm->OnMove)
            FForm->OnMove(FForm);
    }
    void closeEvent(QCloseEvent* e) override
    {
        if (!FForm->CloseQuery()) {
            if (FForm->FModal)
                FForm->FModalResult = mrNone;
            e->ignore();
            return;
        }
        TCloseAction action = FForm->FModal ? caHide : caHide;
        FForm->DoClose(action);
        if (action == caNone) {
            if (FForm->FModal)
                FForm->FModalResult = mrNone;
            e->ignore();
            return;
        }
        e->accept();
        if (FForm->FModal && FForm->FModalResult == mrNone)
            FForm->FModalResult = mrCancel;
        if (FForm->FModalLoop)
            static_cast<QEventLoop*>(FForm->FModalLoop)->quit();
        if (Application && Application->MainForm() == FForm)
            Application->Terminate();
        else if (action == caFree)
            FForm->Release();
    }

private:
    TCustomForm* FForm;
};

// ---- TCustomForm ------------------------------------------------------------

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner)
{
    BeginLoading();
    FVisible = false;
    FParentFont = false;
    FParentColor = false;
    // The program's windows are all built to show their controls' hints, so a
    // window shows them unless it turns ShowHint off (the application's
    // ShowHint still turns every hint off).
    FShowHint = true;
    FColor = clBtnFace;
    FWidth = 320;
    FHeight = 240;
    Screen->AddForm(this);
}

TCustomForm::~TCustomForm()
{
    if (FCreated && !FDestroyed) {
        FDestroyed = true;
        DoDestroy();
    }
    Screen->RemoveForm(this);
    if (FWidget)
        FWidget->hide();
}

TForm::TForm(TComponent* AOwner) : TCustomForm(AOwner) {}

QWidget* TCustomForm::CreateWidget()
{
    auto* w = new TFormWidget(this);
    w->setWindowTitle(FText);
    return w;
}

void TCustomForm::AfterConstruction()
{
    if (FCreated)
        return;
    FCreated = true;
    EndLoading();
    Realign();
    DoCreate();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        if (AComponent == FActiveControl)
            FActiveControl = nullptr;
        if (AComponent == FMenu)
            FMenu = nullptr;
        if (AComponent == FPopupParent)
            FPopupParent = nullptr;
        if (auto* l = dynamic_cast<TActionList*>(AComponent))
            RemoveActionList(l);
    }
}

int TCustomForm::PixelsPerInch() const
{
    return ScreenPixelsPerInch();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value)
{
    FBorderStyleForm = Value;
    ApplyWindowFlags();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value)
{
    FBorderIcons = Value;
    ApplyWindowFlags();
}

void TCustomForm::SetFormStyle(TFormStyle Value)
{
    FFormStyle = Value;
    ApplyWindowFlags();
}

void TCustomForm::ApplyWindowFlags()
{
    if (!FWidget)
        return;
    Qt::WindowFlags f = Qt::Window;
    switch (FBorderStyleForm) {
    case bsNone:
        f |= Qt::FramelessWindowHint;
        break;
    case bsDialog:
        f = Qt::Dialog | Qt::WindowTitleHint;
        break;
    case bsToolWindow:
    case bsSizeToolWin:
        f = Qt::Tool | Qt::WindowTitleHint;
        break;
    default:
        f |= Qt::WindowTitleHint;
        if (FBorderIcons & biMinimize)
            f |= Qt::WindowMinimizeButtonHint;
        if (FBorderIcons & biMaximize)
            f |= Qt::WindowMaximizeButtonHint;
    }
    if (FBorderIcons & biSystemMenu)
        f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    f |= Qt::CustomizeWindowHint;
    if (FFormStyle == fsStayOnTop)
        f |= Qt::WindowStaysOnTopHint;
    const bool visible = FWidget->isVisible();
    FWidget->setWindowFlags(f);
    if (FBorderStyleForm == bsSingle || FBorderStyleForm == bsDialog || FBorderStyleForm == bsToolWindow)
        FWidget->setFixedSize(FWidth, FHeight);
    if (visible)
        FWidget->show();
}

void TCustomForm::SetWindowState(TWindowState Value)
{
    FWindowState = Value;
    if (FWidget && FWidget->isVisible())
        FWidget->setWindowState(Value == wsMaximized ? Qt::WindowMaximized : Value == wsMinimized ? Qt::WindowMinimized : Qt::WindowNoState);
}

void TCustomForm::SetActiveControl(TWinControl* Value)
{
    FActiveControl = Value;
    if (Value) {
        Value->FreeNotification(this);
        if (Showing())
            Value->SetFocus();
    }
}

void TCustomForm::FocusControlChanged(TWinControl* Control)
{
    if (FActiveControl != Control) {
        FActiveControl = Control;
        Control->FreeNotification(this);
    }
    BroadcastFocusChanged(this, Control);
}

void TCustomForm::SetMenu(TMainMenu* Value)
{
    FMenu = Value;
    if (Value) {
        Value->FreeNotification(this);
        Value->AttachTo(this);
    }
}

void TCustomForm::AddActionList(TActionList* List)
{
    if (std::find(FActionLists.begin(), FActionLists.end(), List) == FActionLists.end())
        FActionLists.push_back(List);
}

void TCustomForm::RemoveActionList(TActionList* List)
{
    FActionLists.erase(std::remove(FActionLists.begin(), FActionLists.end(), List), FActionLists.end());
}

bool TCustomForm::IsShortCut(Word Key, TShiftState Shift)
{
    bool handled = false;
    if (OnShortCut)
        OnShortCut(this, Key, Shift, handled);
    if (handled || Key == 0)
        return true;
    const TShortCut sc = ShortCut(Key, Shift);
    if (FMenu && FMenu->IsShortCut(sc))
        return true;
    for (TActionList* l : FActionLists)
        if (l->IsShortCut(sc))
            return true;
    return false;
}

namespace {

TButton* FindButton(TWinControl* Parent, bool Default)
{
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* c = Parent->Controls(i);
        if (auto* b = dynamic_cast<TButton*>(c); b && b->Visible() && b->Enabled() && (Default ? b->Default() : b->Cancel()))
            return b;
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible())
            if (TButton* b = FindButton(w, Default))
                return b;
    }
    return nullptr;
}

}  // namespace

bool TCustomForm::DialogKey(Word Key, TShiftState Shift)
{
    // self-painted buttons first: the focused one holds the default role, and
    // only one of them is default at a time
    if (DispatchDialogKey(this, Key, Shift))
        return true;
    if (Key == VK_RETURN) {
        // a focused button answers Enter itself
        if (auto* b = dynamic_cast<TButton*>(FActiveControl); b && b->Focused()) {
            b->Click();
            return true;
        }
        if (TButton* b = FindButton(this, true)) {
            b->Click();
            return true;
        }
    } else if (Key == VK_ESCAPE) {
        if (TButton* b = FindButton(this, false)) {
            b->Click();
            return true;
        }
    }
    return false;
}

void TCustomForm::PlaceWindow()
{
    TRect area = Screen->WorkAreaRect();
    TCustomForm* around = nullptr;
    if (FPosition == poMainFormCenter && Application)
        around = Application->MainForm();
    if (FPosition == poOwnerFormCenter)
        around = dynamic_cast<TCustomForm*>(Owner());
    if (around && around != this && around->Showing())
        area = around->BoundsRect();
    if (FPosition == poScreenCenter || FPosition == poDesktopCenter || FPosition == poMainFormCenter || FPosition == poOwnerFormCenter)
        SetBounds(area.Left + (area.Width() - FWidth) / 2, area.Top + (area.Height() - FHeight) / 2, FWidth, FHeight);
}

void TCustomForm::SetPopupParent(TCustomForm* Value)
{
    FPopupParent = Value;
    if (Value)
        Value->FreeNotification(this);
    if (FWidget && FWidget->isVisible())
        ApplyPopupParent();
}

void TCustomForm::ApplyPopupParent()
{
    // The desktop keeps a window above its transient parent; the parent's
    // window may go first (the link is a guarded pointer on Qt's side).
    QWindow* own = FWidget ? FWidget->windowHandle() : nullptr;
    if (!own)
        return;
    QWidget* parent = FPopupParent && FPopupParent != this ? FPopupParent->Widget() : nullptr;
    own->setTransientParent(parent && parent->isVisible() ? parent->windowHandle() : nullptr);
}

void TCustomForm::Show()
{
    AfterConstruction();
    QWidget* w = Widget();
    if (!w->isVisible()) {
        ApplyWindowFlags();
        PlaceWindow();
        ApplyGeometry();
    }
    FVisible = true;
    w->show();
    ApplyPopupParent();
    w->raise();
    w->activateWindow();
    if (FActiveControl && FActiveControl->CanFocus())
        FActiveControl->SetFocus();
    else if (TWinControl* first = FindNextControl(nullptr, true, true, false))
        first->SetFocus();
}

void TCustomForm::VisibleChanged()
{
    if (!FWidget)
        return;
    if (FVisible && !FWidget->isVisible())
        Show();
    else if (!FVisible && FWidget->isVisible())
        FWidget->hide();
}

void TCustomForm::TextChanged()
{
    if (FWidget)
        FWidget->setWindowTitle(FText);
}

void TCustomForm::Close()
{
    if (FWidget && FWidget->isVisible())
        FWidget->close();
    else if (FModal && FModalLoop)
        static_cast<QEventLoop*>(FModalLoop)->quit();
}

void TCustomForm::Release()
{
    QPointer<QWidget> guard(Widget());
    QTimer::singleShot(0, QCoreApplication::instance(), [this, guard] {
        if (guard)
            delete this;
    });
}

bool TCustomForm::Active() const
{
    return FActive;
}

void TCustomForm::SetModalResult(int Value)
{
    FModalResult = Value;
    if (FModal && Value != mrNone)
        Close();
}

int TCustomForm::ShowModal()
{
    AfterConstruction();
    FModalResult = mrNone;
    FModal = true;
    QWidget* w = Widget();
    w->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    FModalLoop = &loop;
    QPointer<QWidget> guard(w);
    Show();
    if (!FActive)
        Activate();
    if (ModalHook() && w->isVisible() && FModalResult == mrNone) {
        const int answer = ModalHook()(this);
        if (guard && w->isVisible() && FModalResult == mrNone)
            SetModalResult(answer == mrNone ? mrCancel : answer);
    }
    if (guard && w->isVisible() && FModalResult == mrNone)
        loop.exec();
    if (!guard)
        return mrCancel;
    FModalLoop = nullptr;
    w->hide();
    w->setWindowModality(Qt::NonModal);
    FModal = false;
    return FModalResult;
}

void TCustomForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}

void TCustomForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

void TCustomForm::Activate()
{
    if (FActive)
        return;
    FActive = true;
    if (OnActivate)
        OnActivate(this);
}

void TCustomForm::Deactivate()
{
    if (!FActive)
        return;
    FActive = false;
    if (OnDeactivate)
        OnDeactivate(this);
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action)
{
    if (OnClose)
        OnClose(this, Action);
}

void TCustomForm::DoDestroy()
{
    if (OnDestroy)
        OnDestroy(this);
}

// ---- TApplication -----------------------------------------------------------

namespace {

// Catches what escapes an event handler, so that one failing handler is
// reported instead of unwinding through Qt.
class TQtApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            if (Application)
                Application->HandleException(&e);
        } catch (...) {
            if (Application)
                Application->HandleException(nullptr);
        }
        return false;
    }
};

}  // namespace

void ApplyFixedLook()
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QPalette pal;
    auto set = [&](QPalette::ColorRole role, TColor c) { pal.setColor(role, ToQColor(c)); };
    set(QPalette::Window, clBtnFace);
    set(QPalette::WindowText, clWindowText);
    set(QPalette::Base, clWindow);
    set(QPalette::AlternateBase, clBtnFace);
    set(QPalette::Text, clWindowText);
    set(QPalette::Button, clBtnFace);
    set(QPalette::ButtonText, clBtnText);
    set(QPalette::Highlight, clHighlight);
    set(QPalette::HighlightedText, clHighlightText);
    set(QPalette::ToolTipBase, clInfoBk);
    set(QPalette::ToolTipText, clInfoText);
    set(QPalette::Light, clBtnHighlight);
    set(QPalette::Midlight, cl3DLight);
    set(QPalette::Mid, clBtnShadow);
    set(QPalette::Dark, clBtnShadow);
    set(QPalette::Shadow, cl3DDkShadow);
    set(QPalette::Link, clHotLight);
    set(QPalette::PlaceholderText, clGrayText);
    pal.setColor(QPalette::Disabled, QPalette::Text, ToQColor(clGrayText));
    pal.setColor(QPalette::Disabled, QPalette::WindowText, ToQColor(clGrayText));
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, ToQColor(clGrayText));
    pal.setColor(QPalette::Disabled, QPalette::Base, ToQColor(clBtnFace));
    QApplication::setPalette(pal);
    QApplication::setFont(TFont().ToQFont());
}

QCoreApplication* CreateQtApplication(int& argc, char** argv)
{
    auto* app = new TQtApplication(argc, argv);
    ApplyFixedLook();
    return app;
}

struct TApplication::Impl {
    std::unique_ptr<QApplication> App;
    std::unique_ptr<QTimer> IdleTimer;
};

TApplication::TApplication(int& argc, char** argv) : FImpl(std::make_unique<Impl>())
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        FImpl->App = std::make_unique<TQtApplication>(argc, argv);
        ApplyFixedLook();
    }
    QGuiApplication::setQuitOnLastWindowClosed(false);
    Application = this;
    // Qt has no idle message: a coalescing timer runs the idle pass instead
    FImpl->IdleTimer = std::make_unique<QTimer>();
    FImpl->IdleTimer->setInterval(200);
    QObject::connect(FImpl->IdleTimer.get(), &QTimer::timeout, [this] { DoIdle(); });
    FImpl->IdleTimer->start();
}

TApplication::~TApplication()
{
    FImpl->IdleTimer.reset();
    // owned windows and modules go first, last created first, while Qt lives
    while (ComponentCount() > 0)
        delete Components(ComponentCount() - 1);
    if (Application == this)
        Application = nullptr;
}

void TApplication::AfterCreate(TComponent* Instance)
{
    if (auto* form = dynamic_cast<TCustomForm*>(Instance)) {
        if (!FMainForm)
            FMainForm = form;
        form->AfterConstruction();
    } else {
        Instance->EndLoading();
    }
}

void TApplication::Run()
{
    if (FTerminated)
        return;
    if (FMainForm && ShowMainForm)
        FMainForm->Show();
    if (!FTerminated)
        QApplication::exec();
}

void TApplication::Terminate()
{
    FTerminated = true;
    QCoreApplication::quit();
}

void TApplication::ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::DoIdle()
{
    bool done = true;
    if (OnIdle)
        OnIdle(this, done);
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* f = Screen->Forms(i);
        if (f->Showing())
            for (TActionList* l : f->ActionLists())
                l->UpdateActions();
    }
}

void TApplication::CancelHint()
{
    QToolTip::hideText();
}

void TApplication::ActivateHint(const TPoint& CursorPos)
{
    const QPoint global(CursorPos.X, CursorPos.Y);
    QWidget* under = QApplication::widgetAt(global);
    if (!under)
        return;
    // The same event a resting mouse sends, so the hint rules stay in one place.
    QHelpEvent event(QEvent::ToolTip, under->mapFromGlobal(global), global);
    QApplication::sendEvent(under, &event);
}

bool TApplication::Active() const
{
    return QApplication::activeWindow() != nullptr;
}

void TApplication::HandleException(const std::exception* E)
{
    if (E && dynamic_cast<const EAbort*>(E))
        return;
    const Exception wrapped(E ? ExceptionMessage(*E) : QStringLiteral("Unknown exception"));
    const Exception& ex = (E && dynamic_cast<const Exception*>(E)) ? *static_cast<const Exception*>(E) : wrapped;
    if (OnException) {
        OnException(this, ex);
        return;
    }
    MessageBox(ex.Message(), Title, MB_OK | MB_ICONERROR);
}

// ---- TScreen ----------------------------------------------------------------

int TScreen::Width() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

int TScreen::Height() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
}

TRect TScreen::DesktopRect() const
{
    QRect r;
    for (QScreen* s : QGuiApplication::screens())
        r = r.united(s->geometry());
    return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

TRect TScreen::WorkAreaRect() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    const QRect r = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
    return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

int TScreen::PixelsPerInch() const
{
    return ScreenPixelsPerInch();
}

Qt::CursorShape CursorShapeForScreen(TCursor C);

void TScreen::SetCursor(TCursor Value)
{
    if (FCursor == Value)
        return;
    if (FCursor != crDefault && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::restoreOverrideCursor();
    FCursor = Value;
    if (Value != crDefault && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::setOverrideCursor(QCursor(CursorShapeForScreen(Value)));
}

TCustomForm* TScreen::ActiveForm() const
{
    for (TCustomForm* f : FForms)
        if (f->Active() && f->Showing())
            return f;
    if (QWidget* w = QApplication::activeWindow())
        if (auto* f = dynamic_cast<TCustomForm*>(TControlBridge::ControlOf(w)))
            return f;
    return nullptr;
}

TWinControl* TScreen::ActiveControl() const
{
    TCustomForm* f = ActiveForm();
    return f ? f->ActiveControl() : nullptr;
}

void TScreen::RemoveForm(TCustomForm* F)
{
    FForms.erase(std::remove(FForms.begin(), FForms.end(), F), FForms.end());
}
