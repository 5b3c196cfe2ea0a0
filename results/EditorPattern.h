#pragma once
// What the person and club editors share around their one editable dataset:
// the closing question while a row is still typed, and the drop of that row
// when Escape is released after the question was answered with Cancel.

#include "platform/database/DataSet.h"
#include "platform/ui/Dialogs.h"
#include "resources/StartDeskTexts.h"

// True when the window may close: nothing pending, a new entry still being
// typed (it goes without asking), or the operator lets the changes go.
inline bool EditorCloseQuery(const TDataSet& Data, bool NewEntry, const QString& Question)
{
    if (NewEntry || (Data.State() != dsEdit && Data.State() != dsInsert))
        return true;
    return MessageBox(Question, txt::startdesk::EditorCaption, MB_YESCANCEL | MB_ICONQUESTION) != IDCANCEL;
}

// Drops a pending edit or insert; true when there was one.
inline bool EditorDropPending(TDataSet& Data)
{
    if (Data.State() != dsEdit && Data.State() != dsInsert)
        return false;
    Data.Cancel();
    return true;
}
