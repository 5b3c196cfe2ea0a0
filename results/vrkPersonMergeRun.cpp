// The person merge: choosing the person to merge and marking the kept row.

#include "results/vrkPersonMergeRun.h"

#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/database/FbConnection.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/Dialogs.h"
#include "resources/StartDeskTexts.h"

namespace st = txt::startdesk;

namespace {
QString L(const char* s) { return QString::fromLatin1(s); }
TDataModule1& M() { return *DataModule1; }
int64_t Series()
{
    return formMain->nCurrentProcessedEventS > 0 ? formMain->nCurrentProcessedEventS : eventSeries->event_series_id();
}
}  // namespace

int64_t TPersonMergeRun::ListPersonId()
{
    TDataSet& p = *M().fbQueryLookupPersonFD;
    return p.Active() && !p.IsEmpty() ? p.FieldByName(L("PERSON_ID"))->AsLargeInt() : 0;
}

QString TPersonMergeRun::CandidateFilter(int64_t KeptId, const QString& Search)
{
    const QString base = L("PERSON_ID > 0 and PERSON_ID != ") + QuotedStr(QString::number(KeptId));
    const QString s = Search.trimmed();
    if (s.isEmpty())
        return base;
    const QStringList w = s.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (w.size() < 2)
        return base + L(" and PERSON_NAME like ") + QuotedStr(L("%") + s + L("%"));
    return base + L(" and (PERSON_NAME like ") + QuotedStr(L("%") + w[0] + L("% %") + w[1] + L("%")) +
           L(" or PERSON_NAME like ") + QuotedStr(L("%") + w[1] + L("% %") + w[0] + L("%")) + L(")");
}

void TPersonMergeRun::Open()
{
    iSelectedPersonId = 0;
    iLastSelectedPerson = 0;
    Search.clear();
    M().fbQueryLookupPersonFD->SetFiltered(false);
    if (iPersonId != 0) {
        ShowData();
        ApplyFilter();
    }
    bDataChanged = false;
}

void TPersonMergeRun::ShowData()
{
    TFbQuery& persons = *M().fbQueryPersonFD;
    persons.Close();
    persons.ParamByName(L("EVENT_SERIES_ID")).SetAsLargeInt(Series());
    persons.Open();
    persons.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(iPersonId));
    TFbQuery& clubs = *M().fbQueryLookupClubFD;
    clubs.Close();
    clubs.ParamByName(L("EVENT_SERIES_ID")).SetAsLargeInt(Series());
    clubs.Open();
    TFbQuery& candidates = *M().fbQueryLookupPersonFD;
    candidates.Close();
    candidates.ParamByName(L("EVENT_SERIES_ID")).SetAsLargeInt(formMain->nCurrentProcessedEventS);
    candidates.ParamByName(L("CONTROL_CARD")).Clear();
    candidates.Open();
    candidates.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(iSelectedPersonId));
}

void TPersonMergeRun::ApplyFilter()
{
    TFbQuery& candidates = *M().fbQueryLookupPersonFD;
    candidates.SetFiltered(false);
    if (!Search.trimmed().isEmpty() && iSelectedPersonId != 0) {
        iLastSelectedPerson = iSelectedPersonId;
        iSelectedPersonId = 0;
    }
    candidates.SetFilterOptions(foCaseInsensitive);
    candidates.SetFilter(CandidateFilter(iPersonId, Search));
    candidates.SetFiltered(true);
}

void TPersonMergeRun::SetSearch(const QString& Text)
{
    Search = Text;
    ApplyFilter();
}

void TPersonMergeRun::ClearSearch()
{
    TFbQuery& candidates = *M().fbQueryLookupPersonFD;
    if (!Search.isEmpty()) {
        Search.clear();
        ApplyFilter();
        if (iLastSelectedPerson != 0) {
            candidates.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(iLastSelectedPerson));
            SelectPerson(iLastSelectedPerson);
        }
    } else if (iSelectedPersonId != 0) {
        candidates.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(iSelectedPersonId));
    } else {
        if (iLastSelectedPerson != 0)
            candidates.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(iLastSelectedPerson));
        if (ListPersonId() != 0)
            SelectPerson(0);
    }
}

void TPersonMergeRun::SelectPerson(int64_t PersonId)
{
    TFbQuery& candidates = *M().fbQueryLookupPersonFD;
    if (iSelectedPersonId != 0 && ListPersonId() == iSelectedPersonId && (PersonId == 0 || PersonId == iSelectedPersonId)) {
        const int64_t removed = iSelectedPersonId;
        if (!Search.isEmpty()) {
            Search.clear();
            ApplyFilter();
        }
        iSelectedPersonId = 0;
        candidates.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(removed));
        iLastSelectedPerson = 0;
        return;
    }
    const int64_t id = PersonId != 0 ? PersonId : ListPersonId();
    if (id == 0 || id == iPersonId)
        return;  // the blank row and the kept person are never chosen
    if (!Search.isEmpty()) {
        Search.clear();
        ApplyFilter();
    }
    iSelectedPersonId = id;
    candidates.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(id));
    iLastSelectedPerson = id;
}

void TPersonMergeRun::EnterKey()
{
    const int64_t current = ListPersonId();
    if (current != 0 && current != iSelectedPersonId)
        SelectPerson(0);
}

bool TPersonMergeRun::EscapeKey()
{
    if (!Search.isEmpty()) {
        ClearSearch();
        return false;
    }
    if (iSelectedPersonId != 0 && ListPersonId() != iSelectedPersonId) {
        M().fbQueryLookupPersonFD->Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(iSelectedPersonId));
        return false;
    }
    return true;
}

bool TPersonMergeRun::IsChosenRow() const { return iSelectedPersonId != 0 && ListPersonId() == iSelectedPersonId; }

bool TPersonMergeRun::Ok()
{
    if (iSelectedPersonId == 0) {
        MessageBox(st::MergeChooseFirst, st::MergeCaption, MB_OK);
        return false;
    }
    if (MessageBox(st::MergeAsk, st::MergeCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        bDataChanged = false;
        return false;
    }
    try {
        TDataSet& p = *M().fbQueryPersonFD;
        if (!p.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(iPersonId)))
            throw Exception(st::MergeKeptMissing);
        p.Edit();
        p.FieldByName(L("UPDATED"))->SetAsDateTime(Now());
        p.FieldByName(L("DO_SYNC"))->SetAsString(L("K"));
        p.FieldByName(L("NEW_PERSON_ID"))->SetAsLargeInt(iSelectedPersonId);
        p.Post();
        M().fbTrPersonFD->Commit();
        iSelectedPersonId = 0;
        ShowData();
        bDataChanged = true;
        if (M().fbTrPersonFD->Active())
            M().fbTrPersonFD->Commit();
        return true;
    } catch (const Exception& E) {
        if (M().fbQueryPersonFD->State() == dsEdit)
            M().fbQueryPersonFD->Cancel();
        if (!dynamic_cast<const EAbort*>(&E))
            do_message(false, E.Message(), MSG_ERROR);
        bDataChanged = false;
        return false;
    }
}

void TPersonMergeRun::Cancel() { bDataChanged = false; }

void TPersonMergeRun::Close()
{
    M().fbQueryPersonFD->Close();
    M().fbQueryLookupPersonFD->Close();
    M().fbQueryLookupPersonFD->SetFiltered(false);
    if (M().fbTrPersonFD->Active())
        M().fbTrPersonFD->Commit();
}
