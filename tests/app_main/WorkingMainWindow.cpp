#include "tests/app_main/WorkingMainWindow.h"

#include "app/vrkMainForm.h"
#include "components/dbcontrols/TrDBTreeView.h"
#include "components/dbcontrols/rDBActionDialogs.h"
#include "components/dbcontrols/rDBGridPropsDialogs.h"
#include "components/output/rDBActionOutput.h"
#include "platform/ui/Forms.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <QWidget>

namespace {

// The grid action module exists before any window, as in the program; the
// main window's bar and menus bind to its actions when it is built.
std::unique_ptr<TrDBAction> MakeActions()
{
    InstallDBGridPropsDialogs();
    auto a = std::make_unique<TrDBAction>(nullptr);
    InstallDBActionDialogs(a.get());
    InstallDBActionOutput(a.get());
    return a;
}

}  // namespace

WorkingMainWindow::WorkingMainWindow() : Actions(MakeActions())
{
    f.Data.Connect();
    QFile fx(QStringLiteral(SORVEX_SOURCE_DIR "/tests/eventdb/fixture.sql"));
    fx.open(QIODevice::ReadOnly);
    f.Data.Exec(QString::fromUtf8(fx.readAll()));
    f.Data.Exec(QStringLiteral(
                    "update VRK_CLIENT set CLIENT_VERSION = '26.1', CLIENT_SECRET = 's3cret' where CLIENT_ID = 7;\n"
                    "insert into VRK_CLIENT_EVENT_SERIES (CLIENT_ID, EVENT_SERIES_ID) values (7, 1);\n"
                    "insert into VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, CONTROL_CARD, RESULT_STATUS, PERSON_ID, PERSON_NAME,"
                    " TIME_SEC) values (900, 100, '012345', 'H', 1001, 'Virtanen Matti', 1502);\n"
                    "insert into VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, CONTROL_CARD, RESULT_STATUS, PERSON_ID, PERSON_NAME)"
                    " values (901, 100, '054321', 'M', 1002, 'Korhonen Anna');\n"),
                true);
    f.Data.Module->Disconnect();
    // The first showing starts the window up; the later one only shows it.
    formMain->FormShow(formMain);
    formMain->Show();
    // A receipt printer is configured ("Tulosta" needs one).
    formMain->vcChipPrinterPort = QStringLiteral("/dev/null");
    formMain->tvMainTree->FullExpand();
    formMain->tvMainTree->SetSelected(formMain->FindEventNode(100));
    // Processed as "Aloita" leaves it, without the date check of the start.
    formMain->nCurrentProcessedEvent = 100;
    formMain->nCurrentProcessedEventS = 1;
    formMain->nCurrentProcessedEventSSeason = 10;
    formMain->refreshMainGrid();
    Settle();
}

WorkingMainWindow::~WorkingMainWindow()
{
    formMain->Hide();
    formMain->nCurrentProcessedEvent = 0;
}

void WorkingMainWindow::Settle()
{
    for (int i = 0; i < 5; ++i)
        Application->ProcessMessages();
}

void WorkingMainWindow::MouseClick(TControl* Control)
{
    QTest::mouseClick(Control->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(Control->Width() / 2, Control->Height() / 2));
}
