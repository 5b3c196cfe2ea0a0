// The person editor's logic against fbQueryPersonFD and its transaction.

#include "results/vrkPersonEditorRun.h"
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

int64_t TPersonEditorRun::Series()
{
    return formMain->nCurrentProcessedEventS > 0 ? formMain->nCurrentProcessedEventS : eventSeries->event_series_id();
}

TDataSet& TPersonEditorRun::Persons() const { return *M().fbQueryPersonFD; }

void TPersonEditorRun::Reload(int64_t PersonId)
{
    TFbQuery& q = *M().fbQueryPersonFD;
    q.Close();
    q.ParamByName(L("EVENT_SERIES_ID")).SetAsLargeInt(Series());
    q.Open();
    q.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(PersonId));
    vc_old_person_name = q.IsEmpty() ? QString() : q.FieldByName(L("PERSON_NAME"))->AsString();
}

void TPersonEditorRun::Open()
{
    bNewPerson = false;
    bRentedCardRefused = false;
    Reload(iPersonId);
    ReopenClubs(ClubId());
    if (iPersonId == 0)
        AddNewRow();
    bDataChanged = false;
}

void TPersonEditorRun::AddNewRow()
{
    TDataSet& p = Persons();
    p.Append();
    if (vcChip != L("0"))
        p.FieldByName(L("CONTROL_CARD"))->SetAsString(vcChip);
    p.FieldByName(L("SPORT_ID"))->SetAsString(vcSportID);
    p.FieldByName(L("PERSON_NAME"))->SetAsString(vcPersonName);
    p.FieldByName(L("EVENT_SERIES_ID"))->SetAsLargeInt(Series());
    p.FieldByName(L("WEB_SHOW"))->SetAsString(L("K"));
    p.FieldByName(L("PRINT_RECEIPT"))->SetAsString(L("K"));
    p.FieldByName(L("PERSON_SEX"))->SetAsString(L("M"));
    // The row is written with all its columns; a new person is not deleted.
    p.FieldByName(L("DELETED"))->SetAsString(L("E"));
    bNewPerson = true;
}

void TPersonEditorRun::NewPerson()
{
    AddNewRow();
    TDataSet& p = Persons();
    p.FieldByName(L("INSERTED"))->SetAsDateTime(Now());
    iNewPersonId = M().getNewPersonId();
    p.FieldByName(L("PERSON_ID"))->SetAsLargeInt(iNewPersonId);
}

void TPersonEditorRun::EditPerson()
{
    if (Persons().State() == dsBrowse && !Persons().IsEmpty())
        Persons().Edit();
}

void TPersonEditorRun::DeletePerson() { MessageBox(st::PersonDeleteMissing, st::EditorCaption, MB_OK); }

void TPersonEditorRun::SetName(const QString& Name)
{
    EditPerson();
    Persons().FieldByName(L("PERSON_NAME"))->SetAsString(Name);
}

void TPersonEditorRun::ResetCallerFields()
{
    vcChip = L("0");
    vcSportID.clear();
    vcPersonName.clear();
}

bool TPersonEditorRun::Ok()
{
    bRentedCardRefused = false;
    TDataSet& p = Persons();
    const QString card = p.Active() && !p.IsEmpty() ? p.FieldByName(L("CONTROL_CARD"))->AsString().trimmed() : QString();
    if (formMain->nCurrentProcessedEventS > 0 && !card.isEmpty()) {
        bool numeric = false;
        const qlonglong number = card.toLongLong(&numeric);
        QString message;
        if (numeric && M().onkoLainakortti(formMain->nCurrentProcessedEventS, number, message) == L("K")) {
            MessageBox(st::RentedAsOwnCard, st::EditorCaption, MB_OK);
            bRentedCardRefused = true;
            return false;
        }
    }
    ResetCallerFields();
    if (p.State() != dsEdit && p.State() != dsInsert) {
        iNewPersonId = 0;
        bDataChanged = false;
        return true;
    }
    try {
        const QString name = p.FieldByName(L("PERSON_NAME"))->AsString();
        const bool inserting = p.State() == dsInsert;
        bool check = inserting;
        if (!inserting && name != vc_old_person_name) {
            if (MessageBox(txt::PersonRenameWarning, st::EditorCaption, MB_YESNO | MB_ICONWARNING) != IDYES) {
                iNewPersonId = 0;
                bDataChanged = false;
                return false;
            }
            vc_old_person_name = name;
            check = true;
        }
        if (check) {
            int64_t found = 0;
            QString foundName;
            M().checkPerson(name, found, foundName);
            if (found != 0 && !inserting && found != p.FieldByName(L("PERSON_ID"))->AsLargeInt() &&
                MessageBox(txt::PersonNameExists1 + foundName + txt::PersonNameExists2, st::EditorCaption,
                           MB_YESNO | MB_ICONWARNING) != IDYES)
                return false;
            if (found != 0 && inserting) {
                const int answer = MessageBox(txt::PersonNameExists1 + foundName + st::PersonExistsInsert, st::EditorCaption,
                                              MB_YESNOCANCEL | MB_ICONWARNING);
                if (answer == IDCANCEL)
                    return false;
                if (answer == IDYES) {
                    iNewPersonId = found;
                    p.Cancel();
                    Reload(found);
                    bDataChanged = true;
                    if (M().fbTrPersonFD->Active())
                        M().fbTrPersonFD->Commit();
                    bNewPerson = false;
                    return true;
                }
            }
        }
        return Save();
    } catch (const EAbort&) {
        iNewPersonId = 0;
        bDataChanged = false;
        return false;
    } catch (const Exception& E) {
        do_message(false, E.Message(), MSG_ERROR);
        iNewPersonId = 0;
        bDataChanged = false;
        return false;
    }
}

bool TPersonEditorRun::Save()
{
    TDataSet& p = Persons();
    if (p.State() == dsInsert) {
        if (p.FieldByName(L("PERSON_ID"))->IsNull() || p.FieldByName(L("PERSON_ID"))->AsLargeInt() == 0) {
            p.FieldByName(L("INSERTED"))->SetAsDateTime(Now());
            iNewPersonId = M().getNewPersonId();
            if (iNewPersonId == 0)
                throw Exception(st::NewIdFailed);
            p.FieldByName(L("PERSON_ID"))->SetAsLargeInt(iNewPersonId);
        }
    } else {
        iNewPersonId = 0;
    }
    p.FieldByName(L("UPDATED"))->SetAsDateTime(Now());
    p.FieldByName(L("DO_SYNC"))->SetAsString(L("K"));
    const int64_t id = p.FieldByName(L("PERSON_ID"))->AsLargeInt();
    p.Post();
    M().fbTrPersonFD->Commit();
    Reload(id);
    bDataChanged = true;
    if (M().fbTrPersonFD->Active())
        M().fbTrPersonFD->Commit();
    bNewPerson = false;
    return true;
}

bool TPersonEditorRun::Cancel()
{
    ResetCallerFields();
    try {
        TDataSet& p = Persons();
        const bool pending = p.State() == dsEdit || p.State() == dsInsert;
        if (bDataChanged || pending) {
            if (MessageBox(st::PersonDiscard, st::EditorCaption, MB_YESCANCEL | MB_ICONQUESTION) == IDCANCEL)
                return false;
            if (pending)
                p.Cancel();
            if (M().fbTrPersonFD->Active())
                M().fbTrPersonFD->Rollback();
            bDataChanged = false;
        }
        bNewPerson = false;
        iNewPersonId = 0;
        return true;
    } catch (const Exception&) {
        iNewPersonId = 0;
        bDataChanged = false;
        return true;
    }
}

void TPersonEditorRun::Close()
{
    if (!bNewPerson && M().fbTrPersonFD->Active())
        M().fbTrPersonFD->Commit();
    M().fbQueryPersonFD->Close();
}

bool TPersonEditorRun::CloseQuery() { return EditorCloseQuery(Persons(), bNewPerson, st::PersonDiscard); }

bool TPersonEditorRun::DropPending() { return EditorDropPending(Persons()); }

void TPersonEditorRun::SetSex(const QString& Sex)
{
    TDataSet& p = Persons();
    if (!p.Active() || (p.IsEmpty() && p.State() != dsInsert) || p.FieldByName(L("PERSON_SEX"))->AsString() == Sex)
        return;
    EditPerson();
    p.FieldByName(L("PERSON_SEX"))->SetAsString(Sex);
}

void TPersonEditorRun::WebShowClicked(bool Checked)
{
    TDataSet& p = Persons();
    if (p.State() != dsEdit && p.State() != dsInsert)
        return;
    // The box also follows the row when it is shown; only a change of the
    // stored choice is a choice made now.
    if ((p.FieldByName(L("WEB_SHOW"))->AsString() == L("K")) == Checked)
        return;
    p.FieldByName(L("WEB_SHOW_ASKED"))->SetAsDateTime(Now());
}

int64_t TPersonEditorRun::ClubId() const
{
    const TDataSet& p = Persons();
    if (!p.Active() || (p.IsEmpty() && p.State() != dsInsert))
        return 0;
    TField* f = p.FindField(L("CLUB_ID"));
    return f && !f->IsNull() ? f->AsLargeInt() : 0;
}

void TPersonEditorRun::ReopenClubs(int64_t ClubId)
{
    TFbQuery& clubs = *M().fbQueryLookupClubFD;
    clubs.Close();
    clubs.ParamByName(L("EVENT_SERIES_ID")).SetAsLargeInt(Series());
    clubs.Open();
    clubs.Locate(L("CLUB_ID"), QVariant::fromValue<qlonglong>(ClubId));
    if (ClubId != 0)
        club->selectDB(ClubId);
}

void TPersonEditorRun::EditWithStamp()
{
    EditPerson();
    Persons().FieldByName(L("UPDATED"))->SetAsDateTime(Now());
}

void TPersonEditorRun::ClubEdited(bool Changed)
{
    ReopenClubs(ClubId());
    if (Changed)
        EditWithStamp();
}

void TPersonEditorRun::ClubAdded(int64_t ClubId)
{
    if (ClubId == 0)
        return;
    ReopenClubs(ClubId);
    EditWithStamp();
    Persons().FieldByName(L("CLUB_ID"))->SetAsLargeInt(ClubId);
}
