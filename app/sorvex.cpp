// The program start: module initialisations, the single-instance check, the
// windows and data modules in their fixed order, the message loop, and the
// release of the single-instance mark.

#include "app/vrkFirstUse.h"
#include "app/vrkMainFinishDesk.h"
#include "app/vrkMainForm.h"
#include "components/dbcontrols/rDBActionDialogs.h"
#include "components/dbcontrols/rDBGridPropsDialogs.h"
#include "components/grid/TrDBAction.h"
#include "components/output/rDBActionOutput.h"
#include "app/vrkMainWebSync.h"
#include "app/vrkSettings.h"
#include "data/vrkDataModule.h"
#include "devices/vrkEmitReader.h"
#include "devices/vrkResultBoard.h"
#include "results/vrkResultsClass.h"
#include "results/vrkResultsClass2.h"
#include "results/vrkNewClass.h"
#include "results/vrkClub.h"
#include "results/vrkCourse.h"
#include "results/vrkPerson.h"
#include "results/vrkPersonMerge.h"
#include "results/vrkResultsClassForest.h"
#include "results/vrkSaldoMaksu.h"
#include "platform/os/MessageWindow.h"
#include "platform/os/NamedMutex.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/TestDriver.h"
#include "resources/ProgramTexts.h"
#include "resources/SafeguardTexts.h"
#include "tasks/WeftInit.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<TNamedMutex> AppMutex;
uint32_t MutexErr = 0;

void CheckSecondInstance()
{
    AppMutex = std::make_unique<TNamedMutex>(QStringLiteral("{AD12094E-7308-4067-8CAC-565A1FF3ADDC}"));
    MutexErr = AppMutex->LastError();
    if (MutexErr == ERROR_ALREADY_EXISTS) {
        MessageBox(txt::SecondInstance, QString(), MB_OK);
    } else if (MutexErr != 0) {
        // Nothing runs: the lock file itself is unusable, so say where.
        const QString text = txt::InstanceLockFailed.arg(QDir::cleanPath(QFileInfo(AppMutex->LockFileName()).absolutePath()),
                                                         AppMutex->ErrorText());
        std::fprintf(stderr, "sorvex: %s\n", qPrintable(text));
        MessageBox(text, QString(), MB_OK | MB_ICONERROR);
    }
}

// The windows and data modules, created once in this order and owned by the
// application. The main window comes first among the windows, so it is the
// application's main window; nothing created before the data module may touch
// the database.
// Order: TrDBAction, TformMain, TFormFirstUse, TformSettings, TDataModule1,
// TformResultsClass, TformResultsClass2, TformNewClass, TformPerson,
// TformClub, TformCourse, TformResultsClassForest, TformWorkerREST,
// TFormEmitReader, TformPersonMerge, TformResultBoard, TformSaldoMaksu.
// The start desk's windows and the main window's hooks that open them.
void LinkStartDesk()
{
    Application->CreateForm(formNewClass);
    formMain->Windows.NewClassDialog = [] {
        formNewClass->Run().OnRefreshTree = [] { formMain->refreshMainTree(); };
        formNewClass->Run().OnRefreshTreeEvent = [] { formMain->refreshMainTreeEvent(); };
        formNewClass->Opening();
        formNewClass->ShowModal();
    };
    Application->CreateForm(formPerson);
    formMain->Windows.PersonEditor = [](int64_t PersonId) {
        TPersonEditorRun& editor = formPerson->Run();
        editor.iPersonId = PersonId;
        editor.vcChip = QStringLiteral("0");
        formPerson->Opening();
        formPerson->ShowModal();
        editor.Close();
        return editor.bDataChanged;
    };
    Application->CreateForm(formClub);
    formMain->Windows.ClubEditor = [](int64_t ClubId) {
        TClubEditorRun& editor = formClub->Run();
        editor.iClubId = ClubId;
        formClub->Opening();
        formClub->ShowModal();
        return editor.bDataChanged;
    };
    Application->CreateForm(formCourse);
    formMain->Windows.CourseEditor = [](int64_t ClassId) {
        TCourseEditorRun& editor = formCourse->Run();
        if (ClassId > 0)
            editor.iClassId = ClassId;
        editor.OnRefreshTreeEvent = [] { formMain->refreshMainTreeEvent(); };
        editor.OnRefreshMainGrid = [] {
            formMain->refreshMainGrid();
            formMain->ClearLastResult();
        };
        formCourse->Opening();
        formCourse->ShowModal();
        return TformMain::TOtherWindows::TCourseChanges{editor.bDataChangedCourse, editor.bDataChangedControl};
    };
    Application->CreateForm(formResultsClassForest);
    formMain->Windows.CheckInDialog = [](int64_t ResultsClassId, bool) { OpenCheckInDialog(QString(), ResultsClassId); };
}

void CreateForms()
{
    InstallDBGridPropsDialogs();
    Application->CreateForm(rDBAction);
    InstallDBActionDialogs(rDBAction);
    InstallDBActionOutput(rDBAction);
    Application->CreateForm(formMain);
    Application->CreateForm(FormFirstUse);
    Application->CreateForm(formSettings);
    Application->CreateForm(DataModule1);
    formMain->Windows.Settings = [] { formSettings->ShowModal(); };
    Application->CreateForm(formResultsClass);
    Application->CreateForm(formResultsClass2);
    // 8 to 12 in this order: TformNewClass, TformPerson, TformClub,
    // TformCourse, TformResultsClassForest; each sets its hook in
    // formMain->Windows.
    LinkStartDesk();
    // 13: the web worker with the main window's own web calls.
    Application->CreateForm(MainWebSync);
    Application->CreateForm(formEmitReader);
    Application->CreateForm(formPersonMerge);
    formMain->Windows.PersonMerge = [](int64_t PersonId) {
        TPersonMergeRun& merge = formPersonMerge->Run();
        merge.iPersonId = PersonId;
        formPersonMerge->Opening();
        formPersonMerge->ShowModal();
        merge.Close();
        return merge.bDataChanged;
    };
    Application->CreateForm(formResultBoard);
    Application->CreateForm(formSaldoMaksu);
    LinkFinishDesk();
}

void InitializeModules()
{
    // Module initialisations of the program and its libraries join here.
    // The task framework's start-up work comes first; without it no worker
    // can run, so its failure ends the start.
    QString error;
    if (!weft::initialize(&error)) {
        std::fprintf(stderr, "sorvex: %s\n", qPrintable(error));
        std::exit(1);
    }
    // A failure inside a hidden window's message handler stays there (the
    // message loop goes on); it reaches the global exception handler that the
    // main window installs, and is dropped while none is installed.
    SetMessageExceptionHandler([](std::exception_ptr e) {
        if (!Application || !Application->OnException)
            return;
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& ex) {
            Application->HandleException(&ex);
        } catch (...) {
            Application->HandleException(nullptr);
        }
    });
}

}  // namespace

int main(int argc, char** argv)
{
    InitializeModules();
    TApplication app(argc, argv);
    Application->Initialize();
    CheckSecondInstance();
    int exitCode = 0;
    if (MutexErr == 0) {
        try {
            Application->MainFormOnTaskBar = true;
            CreateForms();
            // Whole-process tests drive the windows from here on (modal
            // windows opened while the main window shows included).
            StartTestDriverFromEnvironment();
            Application->Run();
        } catch (const std::exception& e) {
            // An exception outside every event handler (while creating the
            // windows) still gets its box before the program ends.
            Application->HandleException(&e);
            exitCode = 1;
        }
    } else if (MutexErr != ERROR_ALREADY_EXISTS) {
        exitCode = 1;
    }
    AppMutex.reset();
    return exitCode;
}
