// The course and control editor's logic.

#include "results/vrkCourseEditorRun.h"
#include "results/vrkResultsClass2Util.h"

#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "platform/database/FbConnection.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"
#include "platform/ui/Dialogs.h"
#include "resources/StartDeskTexts.h"
#include "results/ControlCodes.h"

namespace st = txt::startdesk;

namespace {
QString L(const char* s) { return QString::fromLatin1(s); }
TDataModule1& M() { return *DataModule1; }
bool Pending(TDataSet& D) { return D.State() == dsEdit || D.State() == dsInsert; }
}  // namespace

TDataSet& TCourseEditorRun::Courses() const { return *M().fbQueryCourseFD; }
TDataSet& TCourseEditorRun::Controls() const { return *M().fbQueryControlFD; }

void TCourseEditorRun::ShowData()
{
    TFbQuery& courses = *M().fbQueryCourseFD;
    courses.Close();
    courses.ParamByName(L("EVENT_ID")).SetAsLargeInt(formMain->nCurrentProcessedEvent);
    courses.Open();
    if (iClassId > 0)
        courses.Locate(L("CLASS_ID"), QVariant::fromValue<qlonglong>(iClassId));
    TFbQuery& controls = *M().fbQueryControlFD;
    const QVariant control = controls.Active() && !controls.IsEmpty() ? controls.FieldByName(L("CONTROL_ID"))->RawValue() : QVariant();
    controls.Close();
    controls.ParamByName(L("EVENT_ID")).SetAsLargeInt(formMain->nCurrentProcessedEvent);
    controls.Open();
    if (control.isValid())
        controls.Locate(L("CONTROL_ID"), control);
}

void TCourseEditorRun::Open()
{
    M().CourseEditor.bDataChangedCourse = &bDataChangedCourse;
    M().CourseEditor.bDataChangedControl = &bDataChangedControl;
    ShowData();
    bDataChangedCourse = bDataChangedControl = false;
}

void TCourseEditorRun::EditCourse()
{
    if (Courses().State() == dsBrowse && !Courses().IsEmpty())
        Courses().Edit();
}

void TCourseEditorRun::EditControl()
{
    if (Controls().State() == dsBrowse && !Controls().IsEmpty())
        Controls().Edit();
}

bool TCourseEditorRun::SaveCourse()
{
    TDataSet& c = Courses();
    auto text = [&](const char* f) { return c.FieldByName(L(f))->AsString(); };
    if (text("CLASS_NAME").trimmed().isEmpty()) {
        do_message(true, st::RequiredField + L(" \"") + QStringLiteral("Radan nimi") + L("\""), MSG_ERROR);
        return false;
    }
    QString message;
    if (!CheckControlCodes(text("CONTROLS_STRING"), message)) {
        do_message(true, st::CourseUpdateFailed + L(" ") + message, MSG_ERROR);
        return false;
    }
    M().updateClass(text("CLASS_NAME"), text("FEE"), text("CALC_SCORING"), text("MASS_START_TIME"), text("CONTROLS_STRING"),
                    text("COURSE_LENGTH"), text("CLIMB"), text("NOTES"), text("FINISH_CODE"),
                    c.FieldByName(L("CLASS_ID"))->AsLargeInt(), c.FieldByName(L("COURSE_ID"))->AsLargeInt(),
                    text("ACTIVE_CLASS") == L("K") ? L("K") : L("E"), message);
    // Kept unposted and open (not posted and closed): posting would show the
    // stored course again and lose what the operator typed.
    if (!message.isEmpty()) {
        do_message(true, st::CourseUpdateFailed + L(" ") + message, MSG_ERROR);
        return false;
    }
    c.FieldByName(L("UPDATED"))->SetAsDateTime(Now());
    c.FieldByName(L("DO_SYNC"))->SetAsString(L("K"));
    c.Post();
    M().fbTrCourseFD->Commit();
    ShowData();
    bDataChangedCourse = true;
    return true;
}

void TCourseEditorRun::SaveControl()
{
    TDataSet& c = Controls();
    c.FieldByName(L("UPDATED"))->SetAsDateTime(Now());
    c.FieldByName(L("DO_SYNC"))->SetAsString(L("K"));
    c.Post();
    M().fbTrControlFD->Commit();
    ShowData();
    bDataChangedControl = true;
}

bool TCourseEditorRun::Ok()
{
    try {
        if (Pending(Courses()) && !SaveCourse())
            return false;
        if (M().fbTrCourseFD->Active())
            M().fbTrCourseFD->Commit();
        if (OnRefreshTreeEvent)
            OnRefreshTreeEvent();
    } catch (const Exception& E) {
        if (!dynamic_cast<const EAbort*>(&E))
            do_message(false, E.Message(), MSG_ERROR);
        bDataChangedCourse = false;
    }
    try {
        if (Pending(Controls()))
            SaveControl();
        if (M().fbTrControlFD->Active())
            M().fbTrControlFD->Commit();
    } catch (const Exception& E) {
        if (!dynamic_cast<const EAbort*>(&E))
            do_message(false, E.Message(), MSG_ERROR);
        bDataChangedControl = false;
    }
    if ((bDataChangedCourse || bDataChangedControl) && OnRefreshMainGrid) {
        THourGlassCursor hourglass;
        OnRefreshMainGrid();
    }
    return true;
}

bool TCourseEditorRun::Cancel()
{
    bool close = true;
    const struct {
        bool* Flag;
        TDataSet* Set;
        TFbTransaction* Transaction;
        const QString* Question;
    } parts[] = {{&bDataChangedCourse, &Courses(), M().fbTrCourseFD, &st::CourseDiscard},
                 {&bDataChangedControl, &Controls(), M().fbTrControlFD, &st::ControlDiscard}};
    for (const auto& p : parts) {
        if (!*p.Flag && !Pending(*p.Set))
            continue;
        if (MessageBox(*p.Question, st::EditorCaption, MB_YESCANCEL | MB_ICONQUESTION) == IDCANCEL) {
            close = false;
            continue;
        }
        if (Pending(*p.Set))
            p.Set->Cancel();
        if (p.Transaction->Active())
            p.Transaction->Rollback();
        *p.Flag = false;
    }
    return close;
}

bool TCourseEditorRun::CloseQuery()
{
    const std::pair<TDataSet*, const QString*> parts[] = {{&Courses(), &st::CourseDiscard},
                                                          {&Controls(), &st::ControlDiscard}};
    for (const auto& [set, question] : parts)
        if (Pending(*set) && MessageBox(*question, st::EditorCaption, MB_YESCANCEL | MB_ICONQUESTION) == IDCANCEL)
            return false;
    return true;
}

bool TCourseEditorRun::DropPending()
{
    bool dropped = false;
    for (TDataSet* set : {&Courses(), &Controls()})
        if (Pending(*set)) {
            set->Cancel();
            dropped = true;
        }
    return dropped;
}
