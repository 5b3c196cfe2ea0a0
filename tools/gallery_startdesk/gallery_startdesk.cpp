// Opens the check-in window and the chip balance payment window over a fresh
// copy of the event database loaded with the test fixture event, walks
// through the check-ins of a known card, a web entry and a typed rented card,
// and saves a screenshot after each step (folder: first argument, default
// "gallery_startdesk"). Run it under Xvfb and look at the pictures.

#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "results/vrkResultsClassForest.h"
#include "components/framed/FcNumericEdit.h"
#include "results/vrkNewClass.h"
#include "components/base/rTabControlEx.h"
#include "components/dbcontrols/TrDBEdit.h"
#include "components/framed/FcEdit.h"
#include "components/framed/FcNumericEdit.h"
#include "components/grid/rDBGrid.h"
#include "platform/ui/ActnList.h"
#include "results/vrkClub.h"
#include "results/vrkCourse.h"
#include "results/vrkPerson.h"
#include "results/vrkPersonMerge.h"
#include "results/vrkSaldoMaksu.h"
#include "tests/eventdb/EventDbFixture.h"
#include "tests/support/DataModuleFixture.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWidget>
#include <QFile>
#include <cstdio>

namespace {

// A card read at the start: the start punch only.
QString EmitOf(const QString& card) { return EventDb::Emit(card, {{0, 0}}); }

}  // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery_startdesk");
    QDir().mkpath(out);
    SetMessageBoxHook([](const TMessageBoxRequest& r) {
        std::printf("box: %s\n", qPrintable(r.Text));
        return IDYES;
    });

    DataModuleFixture f;
    if (!f.Connect())
        return 1;
    QFile fx(QStringLiteral(SORVEX_SOURCE_DIR "/tests/eventdb/fixture.sql"));
    fx.open(QIODevice::ReadOnly);
    f.Exec(QString::fromUtf8(fx.readAll()));
    f.Exec(QStringLiteral(
        "insert into vrk_chip_balance_options (chip_balance_options_id, event_series_id, payment_option_name, "
        "payment_option_price, payment_option_add_to_balance) values (1, 1, 'Kymppi', 10, 0);\n"
        "insert into vrk_chip_balance_options (chip_balance_options_id, event_series_id, payment_option_name, "
        "payment_option_price, payment_option_add_to_balance) values (2, 1, 'Bonus 20 / 25', 20, 25);\n"));
    formMain->nCurrentProcessedEvent = 100;
    formMain->nCurrentProcessedEventS = 1;
    formMain->nCurrentProcessedEventSSeason = 10;
    formMain->vcUILanguageCode = QStringLiteral("FI");
    auto reload = [&] {
        f.Module->getEventSeriesData(1);
        f.Module->getEventSeriesSeasonData(10);
        f.Module->getEventData(100);
    };
    reload();

    formResultsClassForest = new TformResultsClassForest(nullptr);
    formSaldoMaksu = new TformSaldoMaksu(nullptr);
    int shotNo = 0;
    auto shot = [&](TForm* w, const char* name) {
        std::printf("shot: %s\n", name);
        w->Show();
        for (int i = 0; i < 5; ++i)
            Application->ProcessMessages();
        TBitmap b;
        w->PaintTo(&b);
        b.SaveToFile(out + QStringLiteral("/%1_%2.png").arg(++shotNo, 2, 10, QLatin1Char('0')).arg(QLatin1String(name)));
    };
    TformResultsClassForest& w = *formResultsClassForest;
    TResultsClassForestRun& run = w.Run();
    const QString card = QStringLiteral("012345");

    // 1. a known card with a chip balance
    run.vcChipString = EmitOf(card);
    run.iResultsClassId = 0;
    if (!w.Opening())
        std::printf("known card: opening refused\n");
    shot(&w, "checkin_known_card");
    run.ChooseCourse(401);
    w.Sync();
    shot(&w, "checkin_course_chosen");
    formSaldoMaksu->Prepare(run);
    f.Module->fbQueryChipBalanceOptionsFD->Last();
    formSaldoMaksu->Payment()->ChooseOption();
    formSaldoMaksu->Sync();
    shot(formSaldoMaksu, "saldomaksu_option_chosen");
    formSaldoMaksu->Payment()->Ok();
    formSaldoMaksu->Hide();
    w.Sync();
    shot(&w, "checkin_after_balance_payment");
    run.Ok();
    w.Hide();

    // 2. a new run without a card: refusal, then a typed rented card
    run.vcChipString.clear();
    run.iResultsClassId = 0;
    w.Opening();
    shot(&w, "checkin_no_card_opened");
    run.EnterCard();
    run.LeaveCard(QStringLiteral("77777"));
    run.SelectPerson(1003);
    w.Sync();
    shot(&w, "checkin_rented_card");
    run.Cancel();
    w.Hide();

    // 3. web entries in use: the read card's entry is attached
    f.Exec(QStringLiteral("update vrk_event set web_entries = 'K' where event_id = 100;"));
    reload();
    run.vcChipString = EmitOf(QStringLiteral("054321"));
    run.iResultsClassId = 0;
    w.Opening();
    shot(&w, "checkin_web_entry");
    run.Cancel();
    w.Hide();
    // 3b. a new run without a card: the entry found by the search, attached
    run.vcChipString.clear();
    run.iResultsClassId = 0;
    w.Opening();
    w.edtSearchWebEntries->SetText(QStringLiteral("korh"));
    w.actWebEntriesSelect->Execute();
    shot(&w, "checkin_web_entry_searched");
    run.Cancel();
    w.Hide();
    // 3c. neither web entries nor chip balances: the narrow window
    f.Exec(QStringLiteral("update vrk_event set web_entries = 'E' where event_id = 100;\n"
                          "update vrk_event_series set chip_balance_in_use = 'E' where event_series_id = 1;"));
    reload();
    run.vcChipString.clear();
    run.iResultsClassId = 0;
    w.Opening();
    run.SelectPerson(1001);
    w.Sync();
    shot(&w, "checkin_narrow");
    run.Cancel();
    w.Hide();
    // 4. the person editor on a person, and on a new person from a web entry
    formPerson = new TformPerson(nullptr);
    formPerson->Run().iPersonId = 1001;
    formPerson->Opening();
    shot(formPerson, "person_editor_edit");
    formPerson->Run().Cancel();
    formPerson->Run().Close();
    formPerson->Hide();
    formPerson->Run().iPersonId = 0;
    formPerson->Run().vcChip = QStringLiteral("054321");
    formPerson->Run().vcPersonName = QStringLiteral("Korhonen Anna");
    formPerson->Opening();
    shot(formPerson, "person_editor_new");
    formPerson->Hide();

    // 5. the new class dialog filled in, then added with OK
    f.Module->getProcessedEventData(100);
    formNewClass = new TformNewClass(nullptr);
    formNewClass->Opening();
    formNewClass->edtClassName->SetText(QStringLiteral("D16"));
    formNewClass->edtLength->SetText(QStringLiteral("3,2"));
    formNewClass->edtControlsString->SetText(QStringLiteral("31,34,33"));
    formNewClass->edtFee->SetText(QStringLiteral("8,50"));
    shot(formNewClass, "new_class");
    formNewClass->btnOK->Click();
    formNewClass->Hide();

    // 6. the club editor on a club being edited, then on a new club
    formClub = new TformClub(nullptr);
    formClub->Run().iClubId = 501;
    formClub->Opening();
    formClub->Run().EditClub();
    shot(formClub, "club_editor_edit");
    formClub->Run().DropPending();
    formClub->Hide();
    formClub->Run().iClubId = 0;
    formClub->Opening();
    formClub->edtCLUB_NAME->SetText(QStringLiteral("Uusi Suunnistusseura"));
    shot(formClub, "club_editor_new");
    formClub->Run().DropPending();
    formClub->Hide();

    // 7. the person merge dialog: a search typed, then a candidate chosen
    f.Exec(QStringLiteral("insert into vrk_person (person_id, event_series_id, person_name, club_id) "
                          "values (1004, 1, 'Virtanen M.', 501);"));
    formPersonMerge = new TformPersonMerge(nullptr);
    formPersonMerge->Run().iPersonId = 1001;
    formPersonMerge->Opening();
    formPersonMerge->edtSearchPersons->SetText(QStringLiteral("virt"));
    shot(formPersonMerge, "person_merge_search");
    formPersonMerge->rdbgrdPersons->OnDblClick(formPersonMerge->rdbgrdPersons);
    shot(formPersonMerge, "person_merge_chosen");
    formPersonMerge->Run().Cancel();
    formPersonMerge->Run().Close();
    formPersonMerge->Hide();

    // 8. the course and control editor: a course being edited (the controls'
    // tab hidden), then the controls page
    formCourse = new TformCourse(nullptr);
    formCourse->Run().iClassId = 301;
    formCourse->Opening();
    formCourse->actCourseEdit->Execute();
    shot(formCourse, "course_editor_course_edit");
    formCourse->Run().DropPending();
    formCourse->Hide();
    formCourse->Opening();
    formCourse->pcPages->SetActivePage(formCourse->tsControl);
    shot(formCourse, "course_editor_controls");
    formCourse->Hide();

    // 9. a discard question of the editors: "Kyllä" and "Peruuta"
    SetMessageBoxHook(nullptr);
    QTimer::singleShot(300, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            box->grab().save(out + QStringLiteral("/%1_%2.png").arg(++shotNo, 2, 10, QLatin1Char('0')).arg(QLatin1String("editor_discard_question")));
            box->close();
        }
    });
    MessageBox(QStringLiteral("Olet muuttanut radan tietoja. Haluatko peruuttaa muutokset?"), QStringLiteral("Muokkaa tietoja"),
               MB_YESCANCEL | MB_ICONQUESTION);

    std::printf("%d screenshots in %s\n", shotNo, qPrintable(out));
    return 0;
}
