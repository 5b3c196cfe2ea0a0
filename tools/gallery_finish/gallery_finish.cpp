// Screenshots of the finish desk's windows (run under Xvfb): the finish
// dialog for a clean read, a mispunch and an unknown card, and the result
// board for a clean run with standings, a disqualified run and a rented card.
// The first argument names the output folder (default "gallery_finish").

#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "devices/vrkEmitReader.h"
#include "devices/vrkResultBoard.h"
#include "platform/database/FbScript.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "results/vrkResultsClass.h"
#include "results/vrkResultsClass2.h"
#include "tests/support/TestDatabase.h"

#include <QDir>
#include <QFile>

namespace {

QString Emit(const QString& Card, const std::vector<std::pair<int, int>>& Punches)
{
    QString s = QStringLiteral("\"X\",\"0\",\"0\",\"%1\",\"01.06.2024 18.45.12.345\",\"01.06.2024 18.45.12.345\",%2,0033,0021")
                    .arg(Card.rightJustified(6, QLatin1Char('0')))
                    .arg(Card.toLongLong());
    for (int i = 0; i < 50; ++i) {
        const auto p = i < int(Punches.size()) ? Punches[size_t(i)] : std::pair<int, int>{0, 0};
        s += QStringLiteral(",%1,%2").arg(p.first, 3, 10, QLatin1Char('0')).arg(p.second, 5, 10, QLatin1Char('0'));
    }
    return s;
}

void Exec(const QString& Script)
{
    TFbTransaction t;
    t.SetConnection(DataModule1->convrkEventFD);
    TFbScript s;
    s.Connection = DataModule1->convrkEventFD;
    s.Transaction = &t;
    t.StartTransaction();
    s.ExecuteScript(Script);
    if (t.Active())
        t.Commit();
}

void Save(TCustomForm* Form, const QString& Path)
{
    for (int i = 0; i < 5; ++i)
        Application->ProcessMessages();
    TBitmap bmp;
    Form->PaintTo(&bmp);
    bmp.SaveToFile(Path);
}

// Opens a finish dialog for a read, takes its picture and then accepts it
// (OK; a run without a person is kept locally).
int64_t ShotFinishDialog(const QString& EmitString, const QString& Path, TformResultsClass2* Dialog = nullptr)
{
    TformResultsClass2* d = Dialog ? Dialog : formResultsClass2;
    d->vcChipString = EmitString;
    d->iResultsClassId = 0;
    SetModalHook([&](TCustomForm* F) {
        Save(F, Path);
        d->btnOKClick(nullptr);
        return int(mrOk);
    });
    d->ShowModal();
    SetModalHook(nullptr);
    return d->iResultsClassId;
}

}  // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery_finish");
    QDir().mkpath(out);
    qputenv("SORVEX_HOME", QDir(out).absolutePath().toLocal8Bit() + "/");
    SetMessageListSink([](const QString&) {});
    SetMessageBoxHook([](const TMessageBoxRequest& R) { return (R.Flags & 0xF) == MB_YESNO ? IDYES : IDOK; });

    TestDatabase db;
    Application->CreateForm(formMain);
    formMain->s_db_name = db.Path();
    formMain->s_db_user_name = QStringLiteral("SYSDBA");
    formMain->vcUILanguageCode = QStringLiteral("FI");
    formMain->SetBounds(0, 0, 1280, 800);
    Application->CreateForm(DataModule1);
    CreateEntityGlobals();
    if (!DataModule1->Connect())
        return 1;
    QFile fx(QStringLiteral(SORVEX_SOURCE_DIR "/tests/eventdb/fixture.sql"));
    if (!fx.open(QIODevice::ReadOnly))
        return 1;
    Exec(QString::fromUtf8(fx.readAll()));
    // a few earlier finishers of H21 for the board's standings
    QString runs;
    const char* names[] = {"Mäkinen Eero", "Laine Aino", "Heikkinen Juha", "Östman Säde", "Korpela Ville"};
    for (int i = 0; i < 5; ++i)
        runs += QStringLiteral(
                    "INSERT INTO VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, LEG_NUMBER, CONTROL_CARD, PERSON_ID, ENTRY_FEE, "
                    "INSERTED, UPDATED, CLASS_COURSE_ID, ORIGIN_CLIENT_ID, ORIGIN_CLIENT_NAME, RENTED_CHIP, RESULT_STATUS, "
                    "FIRST_RESULT_STATUS, PERSON_NAME, TIME_SEC, STATUS) VALUES (%1, 100, 1, '%2', 0, 0, '2024-06-01 19:00:00', "
                    "'2024-06-01 19:00:00', 401, 7, 'Testikone', 'E', 'V', 'V', '%3', %4, '0');")
                    .arg(7000 + i)
                    .arg(210000 + i)
                    .arg(QString::fromUtf8(names[i]))
                    .arg(1320 + i * 95);
    // (stored as they are, without the database's derivations)
    Exec(QStringLiteral("select rdb$set_context('USER_TRANSACTION', 'VRK_NO_QUEUE', '1') from rdb$database;") + runs);
    formMain->nCurrentProcessedEvent = 100;
    formMain->nCurrentProcessedEventS = 1;
    DataModule1->getEventData(100);

    Application->CreateForm(formResultsClass);
    Application->CreateForm(formResultsClass2);
    Application->CreateForm(formEmitReader);
    Application->CreateForm(formResultBoard);

    const int64_t clean = ShotFinishDialog(Emit(QStringLiteral("12345"), {{0, 0}, {31, 300}, {32, 700}, {33, 1100}, {100, 1500}, {250, 1600}}),
                                           out + QStringLiteral("/finish_clean.png"));
    const int64_t mispunch = ShotFinishDialog(Emit(QStringLiteral("54321"), {{0, 0}, {31, 600}, {32, 1200}, {100, 2400}, {250, 2700}}),
                                              out + QStringLiteral("/finish_mispunch.png"));
    // the unknown card is known to the card register: its row has the mark
    Exec(QStringLiteral("INSERT INTO VRK_PERSON_CHIPS (CONTROL_CARD, PERSON_NAME, CLUB_NAME, PERSON_CHIP_SOURCE) "
                        "VALUES ('044444', 'Rekisteri Riikka', 'OK Rasti', 'Kortti-rekisteri');"));
    ShotFinishDialog(Emit(QStringLiteral("44444"), {{0, 0}, {31, 400}, {32, 900}, {33, 1300}, {100, 1700}, {250, 1800}}),
                     out + QStringLiteral("/finish_unknown.png"));
    const int64_t rented = ShotFinishDialog(Emit(QStringLiteral("77777"), {{0, 0}, {31, 350}, {32, 800}, {33, 1200}, {100, 1650}, {250, 1700}}),
                                            out + QStringLiteral("/finish_rented.png"));

    ShotFinishDialog(Emit(QStringLiteral("54321"), {{0, 0}, {31, 620}, {32, 1180}, {33, 1790}, {100, 2380}, {250, 2700}}),
                     out + QStringLiteral("/older_dialog.png"), formResultsClass);

    formMain->bResultBoardVisible = true;
    formResultBoard->Show();
    formResultBoard->ShowResultData(clean);
    Save(formResultBoard, out + QStringLiteral("/board_ok.png"));
    formResultBoard->ShowResultData(mispunch);
    Save(formResultBoard, out + QStringLiteral("/board_disqualified.png"));
    formResultBoard->ShowResultData(rented);
    Save(formResultBoard, out + QStringLiteral("/board_rented.png"));
    formResultBoard->ShowReadPanel();
    Save(formResultBoard, out + QStringLiteral("/board_reading.png"));
    formMain->iResultBoardStyle = 1;
    formResultBoard->Hide();
    formResultBoard->Show();
    formResultBoard->ShowResultData(clean);
    Save(formResultBoard, out + QStringLiteral("/board_dark.png"));
    formResultBoard->Hide();
    formMain->bResultBoardVisible = false;
    formEmitReader->Show();
    Save(formEmitReader, out + QStringLiteral("/devices.png"));
    formEmitReader->Hide();
    return 0;
}
