// Opens the main window over an event database holding a 5,000-run event and
// an empty one, selects each in the tree, starts processing the empty one,
// and shows the settings and first-use dialogs, writing a screenshot of each
// into the folder given as the first argument (default "gallery_main").
// Run it under Xvfb to look at the result.

#include "components/base/rGroupBox.h"
#include "components/framed/FcEdit.h"
#include "components/grid/TrDBAction.h"
#include "app/vrkFirstUse.h"
#include "app/vrkMainFinishDesk.h"
#include "app/vrkMainForm.h"
#include "components/dbcontrols/TrDBTreeView.h"
#include "components/grid/rDBGrid.h"
#include "app/vrkSettings.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "devices/vrkEmitReader.h"
#include "devices/vrkResultBoard.h"
#include "results/vrkResultsClass.h"
#include "results/vrkResultsClass2.h"
#include "platform/database/FbScript.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Menus.h"
#include "tools/gallery_grid/RunsDatabase.h"

#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <QTemporaryDir>
#include <cstdlib>

namespace {

void Settle()
{
    for (int i = 0; i < 8; ++i)
        Application->ProcessMessages();
}

void Shot(TWinControl* W, const QString& File)
{
    Settle();
    TBitmap b;
    W->PaintTo(&b);
    b.SaveToFile(File);
}

void LinkClient(TRunsDatabase& Db)
{
    TFbScript s;
    s.Connection = &Db.Con;
    s.Transaction = &Db.Tr;
    s.ExecuteScript(QStringLiteral(
        "execute procedure E_CLIENT.INSERT_CLIENT(5, 'Maalikone', 'Tiistairastit', 'K', null, '26.1', 's3cret');\n"
        "insert into VRK_CLIENT_EVENT_SERIES (CLIENT_ID, EVENT_SERIES_ID) values (5, 1);\n"
        "insert into VRK_EVENT (EVENT_ID, EVENT_SERIES_SEASON_ID, EVENT_NAME, ARENA_NAME, MAP_NAME, EVENT_DATE, FINISH_CODE)\n"
        "  values (201, 10, 'Joulurastit', 'Keskuspuisto', 'Keskuspuisto 2026', current_date, 100);\n"
        "COMMIT;\n"));
    if (Db.Tr.Active())
        Db.Tr.Commit();
}

void SelectEvent(int64_t Id)
{
    if (TTreeNode* n = formMain->FindEventNode(Id)) {
        TTreeNode* p = n->Parent();
        while (p) {
            p->SetExpanded(true);
            p = p->Parent();
        }
        formMain->tvMainTree->SetSelected(n);
    }
}

// Pops a menu up over a control and grabs the whole screen while it is open
// (under Xvfb; the menu is a window of its own, so painting the form alone
// would not show it), then closes it with Esc.
void MenuShot(TPopupMenu* Menu, TControl* At, int X, int Y, const QString& File)
{
    Settle();
    QTimer::singleShot(700, [File] {
        QGuiApplication::primaryScreen()->grabWindow(0).save(File);
        if (QWindow* w = QGuiApplication::focusWindow()) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QGuiApplication::sendEvent(w, &press);
        }
    });
    const TPoint p = At->ClientToScreen(TPoint{X, Y});
    Menu->Popup(p.X, p.Y);
}

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("SORVEX_HOME", home.path().toUtf8() + "/");
    TApplication app(argc, argv);
    const QString out = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery_main")).absolutePath();
    QDir().mkpath(out);
    SetMessageBoxHook([](const TMessageBoxRequest&) { return IDYES; });

    TRunsDatabase db(5000);
    LinkClient(db);

    Application->CreateForm(rDBAction);
    Application->CreateForm(formMain);
    Application->CreateForm(FormFirstUse);
    Application->CreateForm(formSettings);
    Application->CreateForm(DataModule1);
    Application->CreateForm(formResultsClass);
    Application->CreateForm(formResultsClass2);
    Application->CreateForm(formEmitReader);
    Application->CreateForm(formResultBoard);
    LinkFinishDesk();
    formMain->s_db_name = db.Con.DatabaseName;
    formMain->s_db_user_name = QStringLiteral("SYSDBA");
    formMain->Windows.Settings = [] { formSettings->ShowModal(); };
    formMain->Show();
    Shot(formMain, out + QStringLiteral("/01_main_started.png"));

    SelectEvent(200);
    Shot(formMain, out + QStringLiteral("/02_main_5000_runs.png"));

    SelectEvent(201);
    Shot(formMain, out + QStringLiteral("/03_main_empty_event.png"));

    formMain->ShowTestAction(true);
    formMain->actMaaliAloitaExecute();
    formMain->refreshMessageCounts(12, 3);
    Shot(formMain, out + QStringLiteral("/04_main_processing_empty_event.png"));

    // A course arrives: the guidance goes on to the devices.
    int64_t classId = 0;
    QString message;
    DataModule1->insertClass(QStringLiteral("A-rata"), 10, QStringLiteral("E"), QString(), QStringLiteral("31,32,33"), 2.5f,
                             40, QString(), 100, classId, message);
    formMain->actMaaliLopetaExecute();
    formMain->actMaaliAloitaExecute();
    Shot(formMain, out + QStringLiteral("/04b_main_processing_with_course.png"));
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        MenuShot(formMain->pmMainGrid, formMain->rdbgrdResultsClass, 200, 60, out + QStringLiteral("/04e_main_grid_menu.png"));
        MenuShot(formMain->pmMainTree, formMain->tvMainTreeEvent, 40, 30, out + QStringLiteral("/04f_main_tree_menu.png"));
        // On a class: "Muokkaa", the default entry, in bold.
        formMain->TreeContextPopup(formMain->tvMainTreeEvent, TPoint{90, 56});
        MenuShot(formMain->pmMainTree, formMain->tvMainTreeEvent, 90, 56, out + QStringLiteral("/04i_main_tree_menu_class.png"));
    }
    formEmitReader->Show();
    Shot(formEmitReader, out + QStringLiteral("/04h_device_form.png"));
    formEmitReader->Hide();
    formMain->actMainGridNewTest->Execute();
    Shot(formMain, out + QStringLiteral("/04g_main_test_entry.png"));
    formMain->grpNavTree->SetMinimized(true);
    Shot(formMain, out + QStringLiteral("/04c_main_tree_box_minimised.png"));
    formMain->grpNavTree->SetMinimized(false);
    Shot(formMain, out + QStringLiteral("/04d_main_tree_box_restored.png"));

    formSettings->Show();
    formSettings->LoadControls();
    Shot(formSettings, out + QStringLiteral("/05_settings_general.png"));
    formSettings->pcSettings->SetActivePageIndex(2);
    Shot(formSettings, out + QStringLiteral("/06_settings_ui.png"));
    formSettings->pcSettings->SetActivePageIndex(1);
    Shot(formSettings, out + QStringLiteral("/07_settings_devices.png"));
    formSettings->pcSettings->SetActivePageIndex(3);
    Shot(formSettings, out + QStringLiteral("/08_settings_messages.png"));
    formSettings->Hide();

    FormFirstUse->Show();
    FormFirstUse->fcdtTempClientID->SetText(QStringLiteral("DEMO-1234"));
    Shot(FormFirstUse, out + QStringLiteral("/09_first_use.png"));
    FormFirstUse->Hide();
    std::_Exit(0);
}
