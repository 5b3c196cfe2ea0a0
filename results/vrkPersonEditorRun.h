#pragma once
// TPersonEditorRun: what the person editor ("Muokkaa tietoja") does to the
// persons of a series, apart from drawing: opening on a person or a new row,
// "Uusi", "Muokkaa", OK with its rented-card, rename and duplicate checks,
// and cancelling. The window binds its fields to fbQueryPersonFD and fills
// the data module's PersonEditor link with its controls and these fields.

#include <QString>
#include <cstdint>

class TDataSet;

class TPersonEditorRun {
public:
    // ---- set by the caller before the window is shown ----
    int64_t iPersonId = 0;
    QString vcChip = QStringLiteral("0");
    QString vcSportID;
    QString vcPersonName;
    // ---- read by the caller afterwards ----
    bool bDataChanged = false;
    int64_t iNewPersonId = 0;

    bool bNewPerson = false;
    QString vc_old_person_name;
    // The last OK was refused because the own card is a rented card.
    bool bRentedCardRefused = false;

    // The series the editor works on: the processed one, else the selected.
    static int64_t Series();
    TDataSet& Persons() const;

    void Open();
    void NewPerson();   // "Uusi"
    void EditPerson();  // "Muokkaa"
    void DeletePerson();  // "Poista": not available, says so
    // The name field's text (the window's edit feeds it; tests set it).
    void SetName(const QString& Name);
    // OK: true when the window closes.
    bool Ok();
    // "Peruuta" / Escape: true when the window closes.
    bool Cancel();
    // The window closes.
    void Close();
    // Closing with a pending edit asks first, unless the row is a new person
    // still being typed; true lets the window close.
    bool CloseQuery();
    // Drops a pending edit or insert; true when there was one.
    bool DropPending();

    // "Sukupuoli": "M" or "F" into the row.
    void SetSex(const QString& Sex);
    // The web-show box was clicked to Checked: the time of the choice is kept.
    void WebShowClicked(bool Checked);
    // The person's club (0 for none).
    int64_t ClubId() const;
    // After the club editor: the clubs again, the person's club shown; a
    // changed club marks the person changed.
    void ClubEdited(bool Changed);
    // A club added in the club editor becomes the person's club.
    void ClubAdded(int64_t ClubId);

private:
    void AddNewRow();
    bool Save();
    void Reload(int64_t PersonId);
    void ResetCallerFields();
    void ReopenClubs(int64_t ClubId);
    void EditWithStamp();
};
