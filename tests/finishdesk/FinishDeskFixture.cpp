#include "tests/finishdesk/FinishDeskFixture.h"

#include "app/vrkDoMessage.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "devices/vrkEmitReader.h"
#include "devices/vrkReceiptPrinter.h"
#include "devices/vrkResultBoard.h"
#include "platform/os/Sound.h"
#include "results/vrkResultsClass2.h"

#include <QCoreApplication>
#include <QFile>

void FinishDesk::SetUp()
{
    SetMessageListSink([](const QString&) {});
    ASSERT_TRUE(Db.Connect());
    QFile fx(QStringLiteral(SORVEX_SOURCE_DIR "/tests/eventdb/fixture.sql"));
    ASSERT_TRUE(fx.open(QIODevice::ReadOnly));
    Db.Exec(QString::fromUtf8(fx.readAll()));
    formMain->nCurrentProcessedEvent = 100;
    formMain->nCurrentProcessedEventS = 1;
    formMain->nCurrentProcessedEventSSeason = 10;
    formMain->iChipReadDelay = 5;
    DataModule1->getEventData(100);
    finishDeskHost = &Host;
    SetMessageBoxHook([this](const TMessageBoxRequest& R) {
        Boxes.push_back(R);
        if (!FAnswers.empty()) {
            const int a = FAnswers.front();
            FAnswers.pop_front();
            return a;
        }
        const unsigned buttons = R.Flags & 0xF;
        return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
    });
    SetSoundSink([this](const QString& EventId) { Sounds << EventId; });
    SetModalHook([this](TCustomForm* F) {
        // the posted work of the opening runs first, as the modal loop would
        QCoreApplication::processEvents();
        if (!F->Visible())
            return int(mrCancel);
        if (OnModal)
            return OnModal(F);
        return int(mrCancel);
    });
    FOwner = std::make_unique<TComponent>(nullptr);
    Reader = new TFormEmitReader(FOwner.get());
    formEmitReader = Reader;
    Printer = new TReceiptPrinter(FOwner.get());
    receiptPrinter = Printer;
    Board = new TformResultBoard(FOwner.get());
    formResultBoard = Board;
    Dialog = new TformResultsClass2(FOwner.get());
    formResultsClass2 = Dialog;
    // as the application object does for the windows it creates
    for (TCustomForm* f : std::initializer_list<TCustomForm*>{Reader, Board, Dialog})
        f->AfterConstruction();
}

void FinishDesk::TearDown()
{
    FOwner.reset();
    finishDeskHost = nullptr;
    SetMessageBoxHook(nullptr);
    SetSoundSink(nullptr);
    SetModalHook(nullptr);
    SetMessageListSink(nullptr);
}

QStringList FinishDesk::BoxTexts() const
{
    QStringList r;
    for (const TMessageBoxRequest& b : Boxes)
        r << b.Text;
    return r;
}

QString FinishDesk::Emit(const QString& Card, const std::vector<std::pair<int, int>>& Punches)
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

QString FinishDesk::CleanEmit(const QString& Card)
{
    return Emit(Card, {{0, 0}, {31, 300}, {32, 700}, {33, 1100}, {100, 1500}, {250, 1600}});
}

int64_t FinishDesk::StoreRead(const QString& EmitString)
{
    int64_t id = 0;
    QString forest, message, flag;
    DataModule1->insertResultsClass(EmitString, QStringLiteral("E"), QString(), QString(), id, forest, message, flag);
    EXPECT_TRUE(message.isEmpty()) << message.toStdString();
    return id;
}
