#pragma once
// The finish desk over a fresh event database loaded with the small fixture
// event (tests/eventdb/fixture.sql): the main window's state, the device
// form, the receipt printer, the result board and the finish dialog are made
// as the program makes them, with a recording stand-in for the main window's
// calls, message boxes answered by the test and sounds recorded.

#include "devices/vrkFinishDeskHost.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "tests/support/DataModuleFixture.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

class TFormEmitReader;
class TformResultBoard;
class TformResultsClass2;
class TReceiptPrinter;

class TFakeHost : public TFinishDeskHost {
public:
    void MenuShow(const QString& State) override { Menu << State; }
    void MenuRefresh() override { ++MenuRefreshes; }
    void SetPrintBadgeEnabled(bool Enabled) override { PrintBadgeEnabled = Enabled; }
    QString ActiveProcessingTabCaption() const override { return TabCaption; }
    QString GuidanceCaption() const override { return QStringLiteral("01.06.2024 Iltarastit 1"); }
    void ResetLastResultBox() override { ++LastResultResets; }
    void ShowLastResult(const QString& Sarja, const QString& Nimi, const QString& Seura, const QString& Aika,
                        const QString& Tulos) override
    {
        LastResult = {Sarja, Nimi, Seura, Aika, Tulos};
    }
    void ShowCardReadAgain(const QString& Card) override { ReadAgain << Card; }
    void refreshMainGrid(int64_t Id) override { GridRefreshes.push_back(Id); }
    void ActivateMainGrid() override { ++MainGridActivations; }
    void ShowCheckInDialog(const QString& ChipString) override { CheckIns << ChipString; }

    QStringList Menu;
    int MenuRefreshes = 0;
    bool PrintBadgeEnabled = false;
    QString TabCaption = QStringLiteral("Maali");
    int LastResultResets = 0;
    QStringList LastResult;
    QStringList ReadAgain;
    std::vector<int64_t> GridRefreshes;
    int MainGridActivations = 0;
    QStringList CheckIns;
};

class FinishDesk : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Answers for the next message boxes, in order; without one a box gets
    // its first button (OK, Yes).
    void Answer(int Button) { FAnswers.push_back(Button); }
    QStringList BoxTexts() const;
    // A card read with punches (code, card time in seconds).
    static QString Emit(const QString& Card, const std::vector<std::pair<int, int>>& Punches);
    // The clean run of course A (31, 32, 33, finish 100).
    static QString CleanEmit(const QString& Card);
    // Stores a card read at the finish as the finish dialog does; the run's id.
    static int64_t StoreRead(const QString& EmitString);
    QVariant Value(const QString& Sql) { return Db.Value(Sql); }

    DataModuleFixture Db;
    TFakeHost Host;
    std::vector<TMessageBoxRequest> Boxes;
    QStringList Sounds;  // the desktop sound names asked for
    // What a modal finish dialog does once it is open; returns its modal
    // result (the default presses "Peruuta").
    std::function<int(TCustomForm*)> OnModal;
    TFormEmitReader* Reader = nullptr;
    TformResultBoard* Board = nullptr;
    TformResultsClass2* Dialog = nullptr;
    TReceiptPrinter* Printer = nullptr;

private:
    std::deque<int> FAnswers;
    std::unique_ptr<TComponent> FOwner;
};
