// The editing rules carried by the datasets: editor actions switched while a
// row is edited, name checks before club and person rows are posted, the
// upload stamp of changed rows, the main grid's current run and the colour
// of a web entry's fee. The handlers reach the windows through the links the
// windows fill when they are created.

#include "data/vrkDataModule.h"

#include "app/vrkMainForm.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "resources/ProgramTexts.h"

using vrk::L;

namespace {

void Enable(TAction* a, bool on)
{
    if (a)
        a->SetEnabled(on);
}

void Focus(TWinControl* c)
{
    if (c)
        c->SetFocus();
}

QString Caption()
{
    return Application ? Application->Title : QString();
}

// The upload stamp: the row was changed on this computer.
void Stamp(TDataSet* D)
{
    D->FieldByName(L("DO_SYNC"))->SetAsString(L("K"));
    D->FieldByName(L("UPDATED"))->SetAsDateTime(Now());
}

QString EditText(TCustomEdit* e)
{
    return e ? e->Text() : QString();
}

}  // namespace

void TDataModule1::AttachEditRules()
{
    // clubs
    auto clubActions = [this](bool on) {
        Enable(ClubEditor.actClubNew, on);
        Enable(ClubEditor.actClubEdit, on);
        Enable(ClubEditor.actClubDelete, on);
    };
    fbQueryClubFD->AfterEdit = [clubActions](TDataSet*) { clubActions(false); };
    fbQueryClubFD->AfterInsert = [clubActions](TDataSet*) { clubActions(false); };
    fbQueryClubFD->AfterScroll = [this, clubActions](TDataSet* D) {
        if (D->State() == dsInsert)
            return;
        clubActions(true);
        if (ClubEditor.vc_old_club_name)
            *ClubEditor.vc_old_club_name = D->FieldByName(L("CLUB_NAME"))->AsString();
    };
    fbQueryClubFD->BeforePost = [this](TDataSet* D) { ClubBeforePost(D); };

    // persons
    auto personActions = [this](bool on) {
        Enable(PersonEditor.actPersonNew, on);
        Enable(PersonEditor.actPersonEdit, on);
        Enable(PersonEditor.actPersonDelete, on);
    };
    fbQueryPersonFD->AfterEdit = [personActions](TDataSet*) { personActions(false); };
    fbQueryPersonFD->AfterInsert = [personActions](TDataSet*) { personActions(false); };
    fbQueryPersonFD->AfterScroll = [this, personActions](TDataSet* D) {
        if (D->State() == dsInsert)
            return;
        personActions(true);
        if (PersonEditor.vc_old_person_name)
            *PersonEditor.vc_old_person_name = D->FieldByName(L("PERSON_NAME"))->AsString();
    };
    fbQueryPersonFD->BeforePost = [this](TDataSet* D) { PersonBeforePost(D); };

    // courses and controls
    auto courseEditing = [this](TDataSet*) {
        Enable(CourseEditor.actCourseEdit, false);
        if (CourseEditor.tsControl)
            CourseEditor.tsControl->SetTabVisible(false);
    };
    fbQueryCourseFD->AfterEdit = courseEditing;
    fbQueryCourseFD->AfterInsert = courseEditing;
    fbQueryCourseFD->AfterScroll = [this](TDataSet*) {
        if (fbQueryControlFD->State() != dsInsert)
            Enable(CourseEditor.actCourseEdit, true);
    };
    fbQueryCourseFD->BeforePost = [this](TDataSet*) {
        // course and class values reach the database through updateClass
        if (CourseEditor.bDataChangedCourse)
            *CourseEditor.bDataChangedCourse = true;
    };
    auto controlEditing = [this](TDataSet*) {
        Enable(CourseEditor.actControlEdit, false);
        if (CourseEditor.tsCourses)
            CourseEditor.tsCourses->SetTabVisible(false);
    };
    fbQueryControlFD->AfterEdit = controlEditing;
    fbQueryControlFD->AfterInsert = controlEditing;
    fbQueryControlFD->AfterScroll = [this](TDataSet*) {
        if (fbQueryCourseFD->State() != dsInsert)
            Enable(CourseEditor.actControlEdit, true);
    };
    fbQueryControlFD->BeforePost = [this](TDataSet* D) {
        Stamp(D);
        if (CourseEditor.bDataChangedControl)
            *CourseEditor.bDataChangedControl = true;
    };

    // the main results grid
    fbQueryResultsCFD->AfterScroll = [this](TDataSet* D) { ResultsGridAfterScroll(D); };

    // web entries of the check-in dialog
    fbQueryWebEntriesFD->AfterScroll = [this](TDataSet* D) { WebEntriesAfterScroll(D); };
}

void TDataModule1::ClubBeforePost(TDataSet* D)
{
    const QString name = D->FieldByName(L("CLUB_NAME"))->AsString();
    if (name.isEmpty()) {
        MessageBox(txt::ClubNameRequired, Caption(), MB_OK);
        Focus(ClubEditor.edtCLUB_NAME);
        Abort();
    }
    int64_t found = 0;
    QString foundName;
    if (D->State() == dsEdit && ClubEditor.vc_old_club_name &&
        *ClubEditor.vc_old_club_name != EditText(ClubEditor.edtCLUB_NAME))
        checkClub(name, found, foundName);
    if (found != 0) {
        MessageBox(txt::ClubNameExists1 + foundName + txt::ClubNameExists2, Caption(), MB_OK | MB_ICONQUESTION);
        Focus(ClubEditor.edtCLUB_NAME);
        Abort();
    }
    Stamp(D);
    if (ClubEditor.bDataChanged)
        *ClubEditor.bDataChanged = true;
}

void TDataModule1::PersonBeforePost(TDataSet* D)
{
    const QString name = D->FieldByName(L("PERSON_NAME"))->AsString();
    if (name.isEmpty()) {
        MessageBox(txt::PersonNameRequired, Caption(), MB_OK);
        Focus(PersonEditor.edtPERSON_NAME);
        Abort();
    }
    const bool renamed = D->State() == dsEdit && PersonEditor.vc_old_person_name &&
                         *PersonEditor.vc_old_person_name != EditText(PersonEditor.edtPERSON_NAME);
    if (renamed) {
        if (MessageBox(txt::PersonRenameWarning, Caption(), MB_YESNO | MB_ICONWARNING) != IDYES) {
            Focus(PersonEditor.edtPERSON_NAME);
            Abort();
        }
        int64_t found = 0;
        QString foundName;
        checkPerson(name, found, foundName);
        if (found != 0 &&
            MessageBox(txt::PersonNameExists1 + foundName + txt::PersonNameExists2, Caption(),
                       MB_YESNO | MB_ICONQUESTION) != IDYES) {
            Focus(PersonEditor.edtPERSON_NAME);
            Abort();
        }
    }
    Stamp(D);
    if (PersonEditor.bDataChanged)
        *PersonEditor.bDataChanged = true;
}

void TDataModule1::ResultsGridAfterScroll(TDataSet* D)
{
    TField* idField = D->FindField(L("RESULTS_CLASS_ID"));
    const int64_t id = (idField && !D->IsEmpty()) ? idField->AsLargeInt() : 0;
    if (formMain)
        formMain->nMainGridCurrentResultClassId = id;
    Enable(MainGrid.actMainGridToResult, false);
    if (!formMain || formMain->nCurrentProcessedEvent == 0 || id == 0)
        return;
    Enable(MainGrid.actMainGridEdit, true);
    Enable(MainGrid.actMainGridDelete, true);
    const QString code = D->FieldByName(L("RESULT_STATUS_CODE"))->AsString();
    if (code == QLatin1String("I") || code == QLatin1String("M"))
        Enable(MainGrid.actMainGridToResult, true);
}

void TDataModule1::WebEntriesAfterScroll(TDataSet* D)
{
    const QString state = D->FieldByName(L("PAYMENT_STATE"))->AsString();
    const QString fee = D->FieldByName(L("ENTRY_FEE"))->AsString();
    bool attention;
    if (state == QLatin1String("E"))
        attention = true;  // not paid
    else if (fee != QLatin1String("0.00") && fee != QLatin1String("0,00"))
        attention = false;
    else
        attention = state == QLatin1String("K") &&
                    D->FieldByName(L("ADDITIONALDETAILS"))->AsString() == QLatin1String("FREE_EVENT");
    TWebEntriesLink& w = WebEntries;
    if (w.edtENTRY_FEE) {
        w.edtENTRY_FEE->SetColor(attention ? clRed : clBtnFace);
        w.edtENTRY_FEE->Font()->SetStyle(attention ? fsBold : TFontStyles(0));
    }
    if (w.lblENTRY_FEE)
        w.lblENTRY_FEE->Font()->SetColor(attention ? clRed : clWindowText);
    for (TImage* img : {w.imgWebEntriesOK, w.imgWebEntriesQuestion, w.imgWebEntriesExlamation})
        if (img)
            img->Hide();
    if (w.OnCursorMoved)
        w.OnCursorMoved();
}
