#pragma once
// The test's end of the program's test driver (platform/ui/TestDriver.h):
// one blocking method per command. Each returns the reply; a reply converts
// to true when the program answered "ok", and Text holds the payload or the
// error message (decoded), so a test writes
//   ASSERT_TRUE(driver.Click("formMain.btnStart")) << driver.LastError();

#include <QLocalSocket>
#include <QString>
#include <QStringList>

struct TDriverReply {
    bool Ok = false;
    QString Text;
    explicit operator bool() const { return Ok; }
    // The payload's lines (grid rows, windows, boxes).
    QStringList Lines() const { return Text.isEmpty() ? QStringList() : Text.split(QLatin1Char('\n')); }
};

class TDriverClient {
public:
    // Connects to the socket, retrying while the program starts up, until
    // TimeoutMs passed.
    bool Connect(const QString& Path, int TimeoutMs);
    bool Connected() const { return FSocket.state() == QLocalSocket::ConnectedState; }
    void Disconnect() { FSocket.abort(); }

    TDriverReply Windows() { return Send({QStringLiteral("windows")}); }
    TDriverReply Wait(const QString& Name, int Ms = 10000) { return Send({QStringLiteral("wait"), Name, QString::number(Ms)}, Ms); }
    TDriverReply Gone(const QString& Name, int Ms = 10000) { return Send({QStringLiteral("gone"), Name, QString::number(Ms)}, Ms); }
    // Until the control shows a text containing Text.
    TDriverReply WaitFor(const QString& Name, const QString& Text, int Ms = 10000)
    {
        return Send({QStringLiteral("waitfor"), Name, Text, QString::number(Ms)}, Ms);
    }
    TDriverReply Get(const QString& Name) { return Send({QStringLiteral("get"), Name}); }
    TDriverReply Set(const QString& Name, const QString& Text) { return Send({QStringLiteral("set"), Name, Text}); }
    TDriverReply Click(const QString& Name) { return Send({QStringLiteral("click"), Name}); }
    TDriverReply Key(const QString& Name, const QString& Key) { return Send({QStringLiteral("key"), Name, Key}); }
    // Title row first, then one tab-separated line per row.
    TDriverReply Grid(const QString& Name) { return Send({QStringLiteral("grid"), Name}); }
    // Node texts, one tab of indent per level.
    TDriverReply Tree(const QString& Name) { return Send({QStringLiteral("tree"), Name}); }
    // A tree node by its text, or a data grid row by one of its cells.
    TDriverReply Select(const QString& Name, const QString& Text) { return Send({QStringLiteral("select"), Name, Text}); }
    TDriverReply Grab(const QString& Form, const QString& PngPath) { return Send({QStringLiteral("grab"), Form, PngPath}); }
    // "IDOK", "IDYES", "IDNO" or "IDCANCEL" for the next message box.
    TDriverReply Answer(const QString& Id) { return Send({QStringLiteral("answer"), Id}); }
    // The text for the next input box or file dialog.
    TDriverReply Input(const QString& Text) { return Send({QStringLiteral("input"), Text}); }
    // "Caption<TAB>Text" per message box shown so far.
    TDriverReply Boxes() { return Send({QStringLiteral("boxes")}); }
    TDriverReply Quit() { return Send({QStringLiteral("quit")}); }

    // Sends one command (words encoded here) and reads its reply; an error
    // reply when the program does not answer within ExtraMs + 15 s.
    TDriverReply Send(const QStringList& Words, int ExtraMs = 0);
    // The text of the last failed reply.
    const QString& LastError() const { return FLastError; }

private:
    QLocalSocket FSocket;
    QByteArray FBuffer;
    QString FLastError;
};
