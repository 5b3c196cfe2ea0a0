#pragma once
// do_message: the one routine through which the program reports anything.
// Every call is numbered and written as one line to the day log
// ("yyyymmdd_loki.csv" in the program folder); on request the text is shown in
// a modal box; all but debugging notes go to the settings dialog's message list.

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

// Kinds.
constexpr int MSG_INFORMATION = 0;
constexpr int MSG_WARNING = 1;
constexpr int MSG_ERROR = 2;
constexpr int MSG_REST = 3;
constexpr int MSG_DEBUG = 9;

// Never raises. Called from another thread, it hands the call to the main thread.
void do_message(bool in_isError, const QString& in_message, int in_message_type);

// The running number of this run's calls.
extern int iMessageCounter;

QString MessageKindText(int in_message_type);
QString DayLogFileName(const QDate& Day);

// The settings dialog's "Ilmoitukset" list. Until a sink is set the lines are
// kept, and a new sink receives the kept lines first.
using TMessageListSink = std::function<void(const QString& Line)>;
void SetMessageListSink(TMessageListSink Sink);
// The list shows the latest lines only (the day log keeps every one): a desk
// that runs all day would otherwise keep every message of the day in memory.
constexpr int MessageListMostLines = 500;
// Appends Line, dropping the oldest lines beyond the bound.
void AppendMessageLine(QStringList& Lines, const QString& Line);
QStringList PendingMessageListLines();
