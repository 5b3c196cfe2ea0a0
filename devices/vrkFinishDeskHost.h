#pragma once
// What the finish desk (card reader, dispatch, receipts, result board and the
// finish dialog) asks of the main window. The main window implements it and
// sets finishDeskHost when it is created; until then, and in tests without a
// main window, the calls go to whatever stands in (nothing happens when no
// host is set). The program-wide state itself (processing ids, the last
// result action, the last read card …) stays in the fields of formMain.

#include <QString>
#include <cstdint>

class TFinishDeskHost {
public:
    virtual ~TFinishDeskHost() = default;

    // Guidance toolbar: switch the device state picture ("MENU3_OK" …) and
    // refresh the device line.
    virtual void MenuShow(const QString& State) = 0;
    virtual void MenuRefresh() = 0;
    // The receipt action "Tulosta" of the results grid.
    virtual void SetPrintBadgeEnabled(bool Enabled) = 0;
    // The caption of the active tab of the processing tab control.
    virtual QString ActiveProcessingTabCaption() const = 0;
    // The caption of the first guidance label (event date and name).
    virtual QString GuidanceCaption() const = 0;
    // The "Viimeisin käsitelty" box: back to its normal colour, or shown for a
    // run with its five texts (class, name, club, time, result).
    virtual void ResetLastResultBox() = 0;
    virtual void ShowLastResult(const QString& Sarja, const QString& Nimi, const QString& Seura, const QString& Aika,
                                const QString& Tulos) = 0;
    // The reader dropped a card as the same card read again: the "Viimeisin
    // käsitelty" box says so (the operator sees why nothing opened).
    virtual void ShowCardReadAgain(const QString& Card) = 0;
    // Refreshes the results grid and positions it on the run (0: keep).
    virtual void refreshMainGrid(int64_t ResultsClassId) = 0;
    // Makes the results grid the grid action module's active grid again.
    virtual void ActivateMainGrid() = 0;
    // The check-in dialog for a card read at the start desk, shown modally
    // (its web entries page follows the selected event's flag).
    virtual void ShowCheckInDialog(const QString& ChipString) = 0;
};

extern TFinishDeskHost* finishDeskHost;
