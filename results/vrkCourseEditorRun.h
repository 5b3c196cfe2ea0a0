#pragma once
// TCourseEditorRun: what the course and control editor ("Muokkaa tietoja")
// does, apart from drawing: the processed event's courses and controls, OK in
// its two parts (the course through the class update, which re-checks the
// course's runs in the database; the control through its dataset) and
// cancelling. The main window fills the two refresh hooks.

#include <QString>
#include <cstdint>
#include <functional>

class TDataSet;

class TCourseEditorRun {
public:
    int64_t iClassId = 0;               // in: the class to position on
    bool bDataChangedCourse = false;    // out
    bool bDataChangedControl = false;   // out

    std::function<void()> OnRefreshTreeEvent;  // refreshMainTreeEvent
    std::function<void()> OnRefreshMainGrid;   // refreshMainGrid and the last-result group

    TDataSet& Courses() const;
    TDataSet& Controls() const;

    void Open();
    void EditCourse();
    void EditControl();
    bool Ok();      // true when the window closes
    bool Cancel();  // true when the window closes
    // Closing with a pending course or control edit asks for each; true lets
    // the window close.
    bool CloseQuery();
    // Drops pending edits (Escape's release); true when there was one.
    bool DropPending();

private:
    bool SaveCourse();
    void SaveControl();
    void ShowData();
};
