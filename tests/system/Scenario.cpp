#include "tests/system/Scenario.h"

#include <QElapsedTimer>
#include <QThread>

bool WaitFor(const std::function<bool()>& Done, int Ms)
{
    QElapsedTimer t;
    t.start();
    while (!Done()) {
        if (t.elapsed() > Ms)
            return false;
        QThread::msleep(20);
    }
    return true;
}

TEmitCard CourseACard(uint32_t Number)
{
    TEmitCard c;
    c.Number = Number;
    c.Week = 33;
    c.Year = 21;
    c.Punches = {{0, 0}, {31, 600}, {132, 1200}, {33, 1800}, {100, 2400}, {250, 2700}};
    return c;
}

QStringList UnexpectedBoxes(TDriverClient& Driver)
{
    const TDriverReply boxes = Driver.Boxes();
    if (!boxes)
        return {QStringLiteral("(no answer: %1)").arg(Driver.LastError())};
    // One "Caption<TAB>Text" entry per box; a text's own line breaks continue it.
    QStringList entries;
    for (const QString& line : boxes.Lines()) {
        if (line.contains(QLatin1Char('\t')) || entries.isEmpty())
            entries << line;
        else
            entries.last() += QLatin1Char('\n') + line;
    }
    QStringList r;
    for (const QString& e : entries)
        if (!e.contains(QStringLiteral("Tapahtuman ratatietojen haku epäonnistui")))
            r << e;
    return r;
}
