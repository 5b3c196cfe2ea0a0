// The new class: required fields, number limits and the class insert.

#include "results/vrkNewClassRun.h"

#include "app/vrkDoMessage.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/rtl/FormatSettings.h"
#include "resources/StartDeskTexts.h"
#include "results/ControlCodes.h"
#include "results/vrkResultsClass2Util.h"

#include <cmath>

namespace st = txt::startdesk;

double TNewClassRun::Number(const QString& Text, bool* ok)
{
    QString t = Text.trimmed();
    t.replace(FormatSettings().DecimalSeparator, QLatin1Char('.'));
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool good = false;
    const double v = t.isEmpty() ? 0.0 : t.toDouble(&good);
    if (ok)
        *ok = t.isEmpty() || good;
    return good ? v : 0.0;
}

void TNewClassRun::Open()
{
    ClassName.clear();
    Length.clear();
    ControlsString.clear();
    Fee.clear();
    Climb.clear();
    MassStartTime.clear();
    Notes.clear();
    FinishCode = processedEvent->finish_code();
    CalcScoring = processedEvent->default_calc_scoring();
}

QString TNewClassRun::NumberError(QString& Field, double Limit, bool Whole)
{
    bool ok = false;
    const double v = Number(Field, &ok);
    if (!ok || v > Limit || (Whole && v != std::floor(v)))
        return &Field == &Length ? st::BadLength : &Field == &Fee ? st::BadFee : st::BadClimb;
    if (Field.trimmed().isEmpty())
        Field = QStringLiteral("0");
    return QString();
}

bool TNewClassRun::LeaveNumber(QString& Field, double Limit, bool Whole)
{
    const QString error = NumberError(Field, Limit, Whole);
    if (!error.isEmpty())
        do_message(true, error, MSG_ERROR);
    return error.isEmpty();
}

QString TNewClassRun::QuietLeave(QString& Field)
{
    if (&Field == &Length)
        return NumberError(Field, kMaxLengthKm, false);
    return NumberError(Field, 9999, &Field == &Climb);
}

bool TNewClassRun::Ok()
{
    const struct {
        bool Missing;
        const char* Label;
    } required[] = {
        {ClassName.trimmed().isEmpty(), "Radan nimi"},
        {Number(Length) == 0.0, "Radan pituus"},
        {ControlsString.trimmed().isEmpty(), "Koodit"},
        {std::lround(Number(FinishCode)) == 0, "Maalin koodi"},
    };
    for (const auto& r : required) {
        if (r.Missing) {
            do_message(true, st::RequiredField + QStringLiteral(" \"") + QString::fromUtf8(r.Label) + QLatin1Char('"'), MSG_ERROR);
            return false;
        }
    }
    // The limits hold on OK too, for a field that was never left.
    for (auto [field, limit] : {std::pair{&Length, kMaxLengthKm}, std::pair{&Fee, 9999.0}, std::pair{&Climb, 9999.0}})
        if (!LeaveNumber(*field, limit, field == &Climb))
            return false;
    QString message;
    if (!CheckControlCodes(ControlsString, message)) {
        do_message(true, message, MSG_ERROR);
        return false;
    }
    int64_t classId = 0;
    THourGlassCursor hourglass;
    DataModule1->insertClass(ClassName, float(Number(Fee)), CalcScoring, MassStartTime, ControlsString,
                             float(Number(Length)), float(Number(Climb)), Notes,
                             int(std::lround(Number(FinishCode))), classId, message);
    if (OnRefreshTree)
        OnRefreshTree();
    if (!message.isEmpty()) {
        do_message(true, st::NewClassFailed + message, MSG_ERROR);
        return false;
    }
    if (OnRefreshTreeEvent)
        OnRefreshTreeEvent();
    return true;
}
