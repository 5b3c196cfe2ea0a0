// The club editor's logic against fbQueryClubFD and its transaction.

#include "results/vrkClubEditorRun.h"
#include "results/EditorPattern.h"

#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/database/FbConnection.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"
#include "platform/ui/Dialogs.h"
#include "resources/ProgramTexts.h"
#include "resources/StartDeskTexts.h"

namespace st = txt::startdesk;

namespace {
QString L(const char* s) { return QString::fromLatin1(s); }
TDataModule1& M() { return *DataModule1; }
}  // namespace

int64_t TClubEditorRun::Series()
{
    return formMain->nCurrentProcessedEventS > 0 ? formMain->nCurrentProcessedEventS : eventSeries->event_series_id();
}

TDataSet& TClubEditorRun::Clubs() const { return *M().fbQueryClubFD; }

void TClubEditorRun::Reload(int64_t ClubId)
{
    TFbQuery& q = *M().fbQueryClubFD;
    q.Close();
    q.ParamByName(L("EVENT_SERIES_ID")).SetAsLargeInt(Series());
    q.Open();
    q.Locate(L("CLUB_ID"), QVariant::fromValue<qlonglong>(ClubId));
    vc_old_club_name = q.IsEmpty() ? QString() : q.FieldByName(L("CLUB_NAME"))->AsString();
}

void TClubEditorRun::Open()
{
    bNewClub = false;
    Reload(iClubId);
    if (iClubId == 0)
        AddNewRow();
    bDataChanged = false;
}

void TClubEditorRun::AddNewRow()
{
    TDataSet& c = Clubs();
    c.Append();
    c.FieldByName(L("EVENT_SERIES_ID"))->SetAsLargeInt(Series());
    c.FieldByName(L("SCORE_CALCULATION"))->SetAsString(L("K"));
    bNewClub = true;
}

void TClubEditorRun::NewClub()
{
    AddNewRow();
    Clubs().FieldByName(L("INSERTED"))->SetAsDateTime(Now());
    iNewClubId = M().getNewClubId();
    Clubs().FieldByName(L("CLUB_ID"))->SetAsLargeInt(iNewClubId);
}

void TClubEditorRun::EditClub()
{
    if (Clubs().State() == dsBrowse && !Clubs().IsEmpty())
        Clubs().Edit();
}

void TClubEditorRun::DeleteClub() { MessageBox(st::ClubDeleteMissing, st::EditorCaption, MB_OK); }

void TClubEditorRun::SetName(const QString& Name)
{
    EditClub();
    Clubs().FieldByName(L("CLUB_NAME"))->SetAsString(Name);
}

bool TClubEditorRun::Ok()
{
    TDataSet& c = Clubs();
    if (c.State() != dsEdit && c.State() != dsInsert) {
        iNewClubId = 0;
        bDataChanged = false;
        return true;
    }
    try {
        const bool inserting = c.State() == dsInsert;
        const QString name = c.FieldByName(L("CLUB_NAME"))->AsString();
        int64_t found = 0;
        QString foundName;
        if (inserting || name != vc_old_club_name)
            M().checkClub(name, found, foundName);
        if (found == 0)
            return Save();
        if (!inserting) {
            MessageBox(txt::ClubNameExists1 + foundName + txt::ClubNameExists2, st::EditorCaption, MB_OK | MB_ICONQUESTION);
            return false;
        }
        if (MessageBox(txt::ClubNameExists1 + foundName + st::ClubExistsInsert, st::EditorCaption,
                       MB_YESCANCEL | MB_ICONQUESTION) != IDYES)
            return false;
        iNewClubId = found;
        c.Cancel();
        Reload(found);
        bDataChanged = true;
        if (M().fbTrClubFD->Active())
            M().fbTrClubFD->Commit();
        bNewClub = false;
        return true;
    } catch (const EAbort&) {
    } catch (const Exception& E) {
        do_message(false, E.Message(), MSG_ERROR);
    }
    iNewClubId = 0;
    bDataChanged = false;
    return false;
}

bool TClubEditorRun::Save()
{
    TDataSet& c = Clubs();
    iNewClubId = 0;
    if (c.State() == dsInsert) {
        c.FieldByName(L("INSERTED"))->SetAsDateTime(Now());
        iNewClubId = M().getNewClubId();
        if (iNewClubId == 0)
            throw Exception(st::NewIdFailed);
        c.FieldByName(L("CLUB_ID"))->SetAsLargeInt(iNewClubId);
        c.FieldByName(L("DELETED"))->SetAsString(L("E"));
    }
    c.FieldByName(L("UPDATED"))->SetAsDateTime(Now());
    c.FieldByName(L("DO_SYNC"))->SetAsString(L("K"));
    const int64_t id = c.FieldByName(L("CLUB_ID"))->AsLargeInt();
    c.Post();
    M().fbTrClubFD->Commit();
    Reload(id);
    bDataChanged = true;
    if (M().fbTrClubFD->Active())
        M().fbTrClubFD->Commit();
    bNewClub = false;
    return true;
}

bool TClubEditorRun::Cancel()
{
    TDataSet& c = Clubs();
    const bool pending = c.State() == dsEdit || c.State() == dsInsert;
    if (bDataChanged || pending) {
        if (MessageBox(st::ClubDiscard, st::EditorCaption, MB_YESCANCEL | MB_ICONQUESTION) == IDCANCEL)
            return false;
        if (pending)
            c.Cancel();
        if (M().fbTrClubFD->Active())
            M().fbTrClubFD->Rollback();
        bDataChanged = false;
    }
    iNewClubId = 0;
    bNewClub = false;
    return true;
}

bool TClubEditorRun::CloseQuery() { return EditorCloseQuery(Clubs(), bNewClub, st::ClubDiscard); }

bool TClubEditorRun::DropPending() { return EditorDropPending(Clubs()); }
