#include "tests/system/Scenario.h"

#include <QElapsedTimer>
#include <QProcess>
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

QString ValidationErrors(const QString& DatabasePath)
{
    QProcess gfix;
    gfix.setProcessChannelMode(QProcess::MergedChannels);
    gfix.start(QStringLiteral("gfix"), {QStringLiteral("-v"), QStringLiteral("-full"), QStringLiteral("-user"),
                                        QStringLiteral("SYSDBA"), DatabasePath});
    if (!gfix.waitForStarted(10000))
        return QStringLiteral("gfix did not start: ") + gfix.errorString();
    if (!gfix.waitForFinished(120000)) {
        gfix.kill();
        gfix.waitForFinished(5000);
        return QStringLiteral("gfix did not end in two minutes");
    }
    const QString out = QString::fromLocal8Bit(gfix.readAll()).trimmed();
    if (gfix.exitStatus() != QProcess::NormalExit || gfix.exitCode() != 0)
        return QStringLiteral("gfix ended with %1: ").arg(gfix.exitCode()) + out;
    // "Summary of validation errors", then one "Number of <kind> errors" or
    // "... warnings" line per kind found.
    QStringList errors;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString l = line.trimmed();
        if (!l.isEmpty() && !l.startsWith(QStringLiteral("Summary of validation errors")) && !l.contains(QStringLiteral("warnings")))
            errors << l;
    }
    return errors.join(QLatin1Char('\n'));
}
