#include "platform/ui/Forms.h"

#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QWidget>

TApplication* Application = nullptr;
static TScreen GlobalScreen;
TScreen* Screen = &GlobalScreen;

// ---- the Qt window behind a form -----------------------------------------

class TFormWidget : public QWidget {
public:
    explicit TFormWidget(TForm* Form) : FForm(Form) { setAttribute(Qt::WA_QuitOnClose, false); }
    QEventLoop* ModalLoop = nullptr;

protected:
    void showEvent(QShowEvent* e) override
    {
        QWidget::showEvent(e);
        if (!e->spontaneous())
            FForm->DoShow();
    }
    void hideEvent(QHideEvent* e) override
    {
        QWidget::hideEvent(e);
        if (!e->spontaneous())
            FForm->DoHide();
    }
    void closeEvent(QCloseEvent* e) override
    {
        if (!FForm->CloseQuery()) {
            e->ignore();
            return;
        }
        TCloseAction action = caHide;
        FForm->DoClose(action);
        if (action == caNone) {
            e->ignore();
            return;
        }
        e->accept();
        if (FForm->FModal && FForm->FModalResult == mrNone)
            FForm->FModalResult = mrCancel;
        if (ModalLoop)
            ModalLoop->quit();
        if (Application && Application->MainForm() == FForm)
            Application->Terminate();
    }

private:
    TForm* FForm;
};

// ---- TForm ----------------------------------------------------------------

TForm::TForm(TComponent* AOwner) : TComponent(AOwner), FWidget(std::make_unique<TFormWidget>(this)) {}

TForm::~TForm()
{
    if (FCreated)
        DoDestroy();
}

QWidget* TForm::Handle() const
{
    return FWidget.get();
}

QString TForm::Caption() const
{
    return FWidget->windowTitle();
}

void TForm::SetCaption(const QString& Value)
{
    FWidget->setWindowTitle(Value);
}

int TForm::Left() const
{
    return FWidget->x();
}

int TForm::Top() const
{
    return FWidget->y();
}

int TForm::Width() const
{
    return FWidget->width();
}

int TForm::Height() const
{
    return FWidget->height();
}

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FWidget->setGeometry(ALeft, ATop, AWidth, AHeight);
}

bool TForm::Visible() const
{
    return FWidget->isVisible();
}

void TForm::Show()
{
    FWidget->show();
    FWidget->raise();
}

void TForm::Hide()
{
    FWidget->hide();
}

void TForm::Close()
{
    FWidget->close();
}

void TForm::SetModalResult(int Value)
{
    FModalResult = Value;
    if (FModal && Value != mrNone)
        Close();
}

int TForm::ShowModal()
{
    FModalResult = mrNone;
    FModal = true;
    FWidget->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    FWidget->ModalLoop = &loop;
    FWidget->show();
    if (FWidget->isVisible())
        loop.exec();
    FWidget->ModalLoop = nullptr;
    FWidget->hide();
    FWidget->setWindowModality(Qt::NonModal);
    FModal = false;
    return FModalResult;
}

void TForm::DoCreate()
{
    FCreated = true;
    if (OnCreate)
        OnCreate(this);
}

void TForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

bool TForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::DoClose(TCloseAction& Action)
{
    if (OnClose)
        OnClose(this, Action);
}

void TForm::DoDestroy()
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

QCoreApplication* CreateQtApplication(int& argc, char** argv)
{
    return new TQtApplication(argc, argv);
}

struct TApplication::Impl {
    std::unique_ptr<QApplication> App;
};

TApplication::TApplication(int& argc, char** argv) : FImpl(std::make_unique<Impl>())
{
    if (QApplication* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        (void)existing;  // tests create one application for many cases
    else
        FImpl->App = std::make_unique<TQtApplication>(argc, argv);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    Application = this;
}

TApplication::~TApplication()
{
    // owned windows and modules go first, last created first, while Qt lives
    while (ComponentCount() > 0)
        delete Components(ComponentCount() - 1);
    if (Application == this)
        Application = nullptr;
}

void TApplication::AfterCreate(TComponent* Instance)
{
    if (auto* form = dynamic_cast<TForm*>(Instance)) {
        if (!FMainForm)
            FMainForm = form;
        form->DoCreate();
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
