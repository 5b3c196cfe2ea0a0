// The finish dialog's course candidates, punches, status and times.

#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "resources/FinishDeskTexts.h"
#include "components/dbcontrols/TrDBDateTimePicker.h"
#include "components/dbcontrols/TrDBLookupComboBox.h"
#include "components/grid/rDBGrid.h"
#include "components/dbcontrols/TrDBMemo.h"
#include "components/framed/FcDBRGrp.h"
#include "components/framed/FcEdit.h"
#include "results/vrkResultsClass2.h"
#include "results/vrkResultsClass2Util.h"

#include <cmath>

namespace {

constexpr double kSecondsPerDay = 86400.0;

int SecondsOfDay(TDateTime T)
{
    const double frac = T - std::floor(T);
    return static_cast<int>(std::lround(frac * kSecondsPerDay)) % 86400;
}

// A number of seconds as "hh:nn:ss" of a day (24 hours or more start again).
QString DayTimeText(int64_t Seconds)
{
    const int64_t s = ((Seconds % 86400) + 86400) % 86400;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg((s / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

TDateTime WithDate(TDateTime Date, TDateTime Time)
{
    return std::floor(Date) + (Time - std::floor(Time));
}

}  // namespace

TField* TformResultsClass2::RowField(const QString& Name) const
{
    return DataModule1->fbQuerySelectClassCourseFD->FieldByName(Name);
}

bool TformResultsClass2::ZeroTime(const QString& Text, bool OneDigitHour) const
{
    const QString sep = FormatSettings().TimeSeparator;
    const QString two = QStringLiteral("00") + sep + QStringLiteral("00") + sep + QStringLiteral("00");
    const QString one = QStringLiteral("0") + sep + QStringLiteral("00") + sep + QStringLiteral("00");
    return Text == two || (OneDigitHour && Text == one);
}

namespace {

// A bound picker shows a null field as zero time; the field tells.
bool PickerNull(TrDBDateTimePicker* Picker)
{
    return Picker->Field() ? Picker->Field()->IsNull() : Picker->IsNull();
}

}  // namespace

QString TformResultsClass2::PickerTime(TrDBDateTimePicker* Picker) const
{
    if (PickerNull(Picker))
        return FormatDateTime(FormatSettings().LongTimeFormat, 0);
    return FormatDateTime(FormatSettings().LongTimeFormat, Picker->DateTime());
}

void TformResultsClass2::LoadTimes()
{
    const bool wasLoading = FLoading;
    FLoading = true;
    // the bound pickers and the status group show the row themselves;
    // without an open row set they are emptied
    for (TrDBDateTimePicker* p : {dtpRegistered, dtpStartPunch, dtpRead, dtpChanged, dtpStart, dtpFinish, dtpPenalty})
        if (!p->Field())
            p->SetNull();
    FLoading = wasLoading;
}

void TformResultsClass2::StoreTime(TrDBDateTimePicker* Picker, const QString& Field)
{
    EditClassCourse();
    // the picker's own value: a changed picker is ahead of its field
    if (Picker->IsNull())
        RowField(Field)->Clear();
    else
        RowField(Field)->SetAsDateTime(Picker->DateTime());
}

void TformResultsClass2::haeSarja(int64_t ClassCourseId)
{
    TFbQuery* rows = DataModule1->fbQuerySelectClassCourseFD;
    if (!rows->Active())
        return;
    rows->Locate(QStringLiteral("CLASS_COURSE_ID"), QVariant::fromValue<qlonglong>(ClassCourseId));
    LoadTimes();
    const bool any = !rows->IsEmpty();
    const int64_t seconds = any ? std::llround(RowField(QStringLiteral("TIME_SEC"))->AsFloat()) : 0;
    const int penalty = PickerNull(dtpPenalty) ? 0 : SecondsOfDay(dtpPenalty->DateTime());
    edtTime->SetText(DayTimeText(seconds + penalty));
    haeLeimaukset(any ? RowField(QStringLiteral("RESULTS_CLASS_ALL_ID"))->AsLargeInt() : 0);
}

void TformResultsClass2::haeLeimaukset(int64_t ResultsClassAllId)
{
    TFbQuery* punches = DataModule1->fbQueryPunchesFD;
    punches->Close();
    punches->ParamByName(QStringLiteral("RESULTS_CLASS_ALL_ID")).SetAsLargeInt(ResultsClassAllId);
    punches->Open();
}

void TformResultsClass2::edtClassCourseClick(TComponent*)
{
    const int64_t cc = edtClassCourse->KeyValue().toLongLong();
    EditRun();
    RunFieldObj(QStringLiteral("CLASS_COURSE_ID"))->SetAsLargeInt(cc);
    haeSarja(cc);
    OpenAdditionalClasses(cc);
    RunFieldObj(QStringLiteral("ADDITIONAL_CLASS_ID"))->Clear();
    edtAdditionalClass->SetKeyValue(QVariant());
    const bool ok = !DataModule1->fbQuerySelectClassCourseFD->IsEmpty()
                    && RowField(QStringLiteral("STATUS"))->AsString().trimmed().toInt() == 0;
    imgOKC->SetVisible(ok);
    imgQuestionC->Hide();
    imgExlamationC->SetVisible(!ok);
}

void TformResultsClass2::ValidatePunches()
{
    int64_t cc = 0;
    QString className, message;
    DataModule1->validatePunches(iResultsClassId, cc, className, message);
    if (!message.isEmpty()) {
        ErrorBox(fdtxt::RecheckError + QLatin1Char(' ') + message);
        return;
    }
    ShowData();
    if (cc != edtClassCourse->KeyValue().toLongLong()
        && MessageBox(fdtxt::RecheckProposes + QLatin1Char(' ') + className, Title(), MB_YESNO | MB_ICONQUESTION)
               == IDYES) {
        EditRun();
        RunFieldObj(QStringLiteral("CLASS_COURSE_ID"))->SetAsLargeInt(cc);
        edtClassCourse->SetKeyValue(QVariant::fromValue<qlonglong>(cc));
        haeSarja(cc);
    }
}

bool TformResultsClass2::StatusChanging(int NewIndex)
{
    if (NewIndex != 0)
        return true;
    TFbQuery* rows = DataModule1->fbQuerySelectClassCourseFD;
    const bool missing = rows->IsEmpty() || RowField(QStringLiteral("START_TIME"))->IsNull()
                         || RowField(QStringLiteral("FINISH_TIME"))->IsNull() || ZeroTime(edtTime->Text(), !FOlder);
    if (missing) {
        ErrorBox(fdtxt::StatusOkNoTime);
        return false;
    }
    return true;
}

void TformResultsClass2::tarkastaAjat()
{
    if (FOlder) {
        // the older dialog recomputes on leaving an editable time instead
        return;
    }
    if (fcdbrdgrpSTATUS->ItemIndex() != 0 || DataModule1->fbQuerySelectClassCourseFD->IsEmpty())
        return;
    if (RowField(QStringLiteral("TIME_SEC"))->AsFloat() == 0) {
        ErrorBox(fdtxt::StatusOkNoTime);
        fcdbrdgrpSTATUS->SetItemIndex(2);
        EditClassCourse();
        RowField(QStringLiteral("STATUS"))->SetAsString(fdtxt::StatusValues[2]);
    }
}

void TformResultsClass2::laskeAjat(const QString& EditedField)
{
    TFbQuery* rows = DataModule1->fbQuerySelectClassCourseFD;
    if (FLoading || !rows->Active() || rows->IsEmpty())
        return;
    // 1. the first change of a candidate's times is noted once
    const QString changed = RowField(QStringLiteral("TIMES_CHANGED"))->AsString();
    if (changed.isEmpty() || changed == QLatin1String("E")) {
        EditClassCourse();
        const QString notes = RowField(QStringLiteral("RESULT_NOTES"))->AsString();
        RowField(QStringLiteral("RESULT_NOTES"))
            ->SetAsString(notes.isEmpty() ? fdtxt::TimesChangedNote : notes + QLatin1Char(' ') + fdtxt::TimesChangedNote);
        RowField(QStringLiteral("TIMES_CHANGED"))->SetAsString(QStringLiteral("K"));
    }
    const bool startZero = ZeroTime(PickerTime(dtpStart), true);
    const bool finishZero = ZeroTime(PickerTime(dtpFinish), true);
    if (startZero || finishZero) {
        // 2. no time can be computed
        if (RowField(QStringLiteral("TIME_SEC"))->AsFloat() != 0) {
            EditClassCourse();
            RowField(QStringLiteral("TIME_SEC"))->SetAsFloat(0);
        }
        dtpPenalty->SetReadOnly(true);
    } else {
        // 3. the pickers show times only; their dates follow the run
        FLoading = true;
        auto align = [&](TrDBDateTimePicker* Edited, TrDBDateTimePicker* Other) {
            TDateTime value = Edited->DateTime();
            for (TrDBDateTimePicker* from : {Other, dtpRead, dtpStartPunch})
                if (!PickerNull(from) && !ZeroTime(PickerTime(from), true))
                    value = WithDate(from->DateTime(), value);
            Edited->SetDateTime(value);
        };
        if (EditedField == QLatin1String("START_TIME"))
            align(dtpStart, dtpFinish);
        else if (EditedField == QLatin1String("FINISH_TIME"))
            align(dtpFinish, dtpStart);
        // 4. a run over midnight
        if (SecondsOfDay(dtpStart->DateTime()) > SecondsOfDay(dtpFinish->DateTime()))
            dtpStart->SetDateTime(WithDate(std::floor(dtpFinish->DateTime()) - 1, dtpStart->DateTime()));
        FLoading = false;
        StoreTime(dtpStart, QStringLiteral("START_TIME"));
        StoreTime(dtpFinish, QStringLiteral("FINISH_TIME"));
        // 5. the time in whole seconds
        const int64_t seconds = std::llround((dtpFinish->DateTime() - dtpStart->DateTime()) * kSecondsPerDay);
        RowField(QStringLiteral("TIME_SEC"))->SetAsFloat(double(seconds));
        dtpPenalty->SetReadOnly(false);
    }
    // 6. and 7. "Aika", with the penalty when both times are there
    const int64_t seconds = std::llround(RowField(QStringLiteral("TIME_SEC"))->AsFloat());
    edtTime->SetText(DayTimeText(seconds));
    if (!startZero && !finishZero) {
        const int penalty = PickerNull(dtpPenalty) ? 0 : SecondsOfDay(dtpPenalty->DateTime());
        edtTime->SetText(DayTimeText(seconds + penalty));
        if (!PickerNull(dtpPenalty)) {
            FLoading = true;
            dtpPenalty->SetDateTime(WithDate(dtpFinish->DateTime(), dtpPenalty->DateTime()));
            FLoading = false;
            StoreTime(dtpPenalty, QStringLiteral("CREDIT_PENALTY_TIME"));
        }
    }
}
