#pragma once
// TPersonMergeRun: what the person merge dialog ("Yhdistä henkilöt") does,
// apart from drawing: the candidate list without the kept person, the search,
// choosing, and OK, which names the chosen person in the kept person's
// NEW_PERSON_ID; the database then moves the runs and removes the person.

#include <QString>
#include <cstdint>

class TPersonMergeRun {
public:
    int64_t iPersonId = 0;          // in: the person to keep
    bool bDataChanged = false;      // out: the merge was written
    int64_t iSelectedPersonId = 0;  // the person to merge into the kept one
    int64_t iLastSelectedPerson = 0;
    QString Search;
    bool ShowsOK() const { return iSelectedPersonId != 0; }  // imgOK, else imgQuestion

    // The candidate filter for a search text: never the kept person, never
    // the blank row or a card-register row.
    static QString CandidateFilter(int64_t KeptId, const QString& Search);

    void Open();
    void SetSearch(const QString& Text);
    void ClearSearch();  // Escape in a non-empty search, the clear button
    void SelectPerson(int64_t PersonId);  // 0: the list's current row
    // Enter: the list's current row is chosen unless it is already the
    // chosen person or the blank row.
    void EnterKey();
    // Escape: a search in hand is cleared, a chosen person out of sight is
    // shown again; true when nothing of that was to do and the dialog cancels.
    bool EscapeKey();
    bool IsChosenRow() const;  // the list's current row is the chosen person
    static int64_t ListPersonId();  // the list's current row, 0 for none
    bool Ok();      // true when the dialog closes
    void Cancel();
    void Close();

private:
    void ApplyFilter();
    void ShowData();
};
