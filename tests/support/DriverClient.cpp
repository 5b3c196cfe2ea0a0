#include "tests/support/DriverClient.h"

#include <QElapsedTimer>
#include <QThread>
#include <QUrl>

namespace {

QByteArray EncodeWord(const QString& Word)
{
    return QUrl::toPercentEncoding(Word, QByteArray("!$&'()*+,;=:@/[]{}<>\"\\|^`~#?.-_"));
}

}  // namespace

bool TDriverClient::Connect(const QString& Path, int TimeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < TimeoutMs) {
        FSocket.connectToServer(Path);
        if (FSocket.waitForConnected(500))
            return true;
        FSocket.abort();
        QThread::msleep(50);  // the program is not listening yet
    }
    FLastError = QStringLiteral("cannot connect to ") + Path;
    return false;
}

TDriverReply TDriverClient::Send(const QStringList& Words, int ExtraMs)
{
    QByteArray line;
    for (const QString& w : Words)
        line += (line.isEmpty() ? QByteArray() : QByteArray(" ")) + EncodeWord(w);
    TDriverReply reply;
    FSocket.write(line + '\n');
    FSocket.waitForBytesWritten(5000);
    QElapsedTimer clock;
    clock.start();
    while (!FBuffer.contains('\n') && clock.elapsed() < ExtraMs + 15000 && FSocket.state() == QLocalSocket::ConnectedState) {
        FSocket.waitForReadyRead(100);
        FBuffer += FSocket.readAll();
    }
    const int nl = FBuffer.indexOf('\n');
    if (nl < 0) {
        reply.Text = QStringLiteral("no reply to ") + Words.join(QLatin1Char(' '));
        FLastError = reply.Text;
        return reply;
    }
    const QByteArray answer = FBuffer.left(nl);
    FBuffer.remove(0, nl + 1);
    const int space = answer.indexOf(' ');
    reply.Ok = answer.left(space < 0 ? answer.size() : space) == "ok";
    reply.Text = space < 0 ? QString() : QUrl::fromPercentEncoding(answer.mid(space + 1));
    if (!reply.Ok)
        FLastError = Words.join(QLatin1Char(' ')) + QStringLiteral(": ") + reply.Text;
    return reply;
}
