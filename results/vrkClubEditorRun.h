#pragma once
// TClubEditorRun: what the club editor ("Muokkaa tietoja") does to the clubs
// of a series, apart from drawing: opening on a club or a new row, "Uusi",
// "Muokkaa", OK with its duplicate-name check, and cancelling. The window
// binds its fields to fbQueryClubFD and fills the data module's ClubEditor
// link with its controls and these fields.

#include <QString>
#include <cstdint>

class TDataSet;

class TClubEditorRun {
public:
    int64_t iClubId = 0;        // in: the club to show, 0 for a new club
    bool bDataChanged = false;  // out
    int64_t iNewClubId = 0;     // out

    bool bNewClub = false;
    QString vc_old_club_name;

    static int64_t Series();
    TDataSet& Clubs() const;

    void Open();
    void NewClub();
    void EditClub();
    void DeleteClub();
    void SetName(const QString& Name);
    bool Ok();      // true when the window closes
    bool Cancel();  // true when the window closes
    // Closing with a pending edit asks first, unless the row is a new club
    // still being typed; true lets the window close.
    bool CloseQuery();
    // Drops a pending edit or insert; true when there was one.
    bool DropPending();

private:
    void AddNewRow();
    void Reload(int64_t ClubId);
    bool Save();
};
