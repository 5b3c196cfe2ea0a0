#include "app/vrkDoMessage.h"

#include "app/vrkCommon.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "resources/ProgramTexts.h"
#include "resources/SafeguardTexts.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <cstdio>

int iMessageCounter = 0;

namespace {

TMessageListSink& Sink()
{
    static TMessageListSink sink;
    return sink;
}

QStringList& Pending()
{
    static QStringList lines;
    return lines;
}

}  // namespace

void AppendMessageLine(QStringList& Lines, const QString& Line)
{
    Lines << Line;
    if (Lines.size() > MessageListMostLines)
        Lines.erase(Lines.begin(), Lines.end() - MessageListMostLines);
}

namespace {

void AddToMessageList(const QString& Line)
{
    try {
        if (Sink())
            Sink()(Line);
        else
            AppendMessageLine(Pending(), Line);
    } catch (...) {
        // the list is a convenience; the log line matters more
    }
}

// A day log that cannot be written loses every later line too, and the
// settings dialog's list is no place the user looks: say it once per log
// file in a box and on stderr.
void ReportUnwritableDayLog(const QString& FileName, const QString& Error)
{
    static QString reported;
    if (reported == FileName)
        return;
    reported = FileName;
    const QString text = txt::DayLogUnwritable.arg(FileName, Error);
    std::fprintf(stderr, "sorvex: %s\n", qPrintable(text));
    try {
        MessageBox(text, Application ? Application->Title : txt::MainCaption, MB_OK | MB_ICONWARNING);
    } catch (...) {
    }
}

// Appends one line; the file is closed again whatever happened.
bool AppendLine(const QString& FileName, const QString& Line, QString& Error)
{
    QFile f(FileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) {
        Error = f.errorString();
        return false;
    }
    const QByteArray bytes = Line.toUtf8();
    const bool ok = f.write(bytes) == bytes.size() && f.flush();
    if (!ok)
        Error = f.errorString();
    f.close();
    return ok;
}

// A message of several lines would split its log line over physical lines
// that a spreadsheet reads as rows of their own; quoted, it stays one field.
// A one-line message is written as it is (a ";" in it included), so that the
// usual lines read as before.
QString LogField(const QString& Message)
{
    if (!Message.contains(QLatin1Char('\n')) && !Message.contains(QLatin1Char('\r')))
        return Message;
    QString quoted = Message;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

}  // namespace

QString MessageKindText(int in_message_type)
{
    switch (in_message_type) {
    case MSG_INFORMATION:
        return txt::KindInformation;
    case MSG_WARNING:
        return txt::KindWarning;
    case MSG_ERROR:
        return txt::KindError;
    case MSG_REST:
        return txt::KindRest;
    case MSG_DEBUG:
        return txt::KindDebug;
    default:
        return txt::KindUnknown + IntToStr(in_message_type);
    }
}

QString DayLogFileName(const QDate& Day)
{
    return GetExePath() + Day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("_loki.csv");
}

void SetMessageListSink(TMessageListSink NewSink)
{
    Sink() = std::move(NewSink);
    if (Sink()) {
        const QStringList kept = Pending();
        Pending().clear();
        for (const QString& l : kept)
            AddToMessageList(l);
    }
}

QStringList PendingMessageListLines()
{
    return Pending();
}

void do_message(bool in_isError, const QString& in_message, int in_message_type)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread()) {
        QMetaObject::invokeMethod(
            app, [=] { do_message(in_isError, in_message, in_message_type); }, Qt::QueuedConnection);
        return;
    }
    try {
        const TDateTime now = Now();
        const QString fileName = DayLogFileName(DateTimeToQDate(now));
        const QString kindText = MessageKindText(in_message_type);
        ++iMessageCounter;
        const int number = iMessageCounter;
        QString shown;
        if (in_isError) {
            try {
                MessageBox(in_message, Application ? Application->Title : txt::MainCaption,
                           MB_OK | (in_message_type == MSG_INFORMATION ? MB_ICONINFORMATION : MB_ICONERROR));
            } catch (...) {
            }
            shown = QStringLiteral("X");
        }
        const QString stamp = QLatin1Char('[') + DateToStr(now) + QLatin1Char(' ') + TimeToStr(now) + QStringLiteral("] ");
        if (in_message_type != MSG_DEBUG)
            AddToMessageList(stamp + in_message);

        const QString line = IntToStr(number) + QLatin1Char(';') +
                             FormatDateTime(QStringLiteral("dd.mm.yyyy hh:nn:ss,zzz"), now) + QLatin1Char(';') +
                             kindText + QLatin1Char(';') + shown + QLatin1Char(';') + LogField(in_message);
        QString error;
        if (AppendLine(fileName, line + QStringLiteral("\r\n"), error))
            return;
        AddToMessageList(stamp + txt::LogTryAgain + line + QStringLiteral(") ") + error);
        Sleep(500);
        if (AppendLine(fileName, line + QStringLiteral("\r\n"), error))
            return;
        AddToMessageList(stamp + txt::LogFileException + line + QStringLiteral(") ") + error);
        ReportUnwritableDayLog(fileName, error);
    } catch (...) {
        // the message routine never raises to its caller
    }
}
