// The byte trace and the dispatch log of a dispatcher.

#include "devices/serial/SerDispatcher.h"
#include "devices/serial/SerErrors.h"

#include "platform/os/OsTypes.h"

#include <QDateTime>
#include <QFile>
#include <cerrno>
#include <sys/utsname.h>

using enum TDispatchType;
using enum TDispatchSubType;

namespace {

constexpr uint32_t kMaxTraceEntries = 4000000;
const char* const kEol = "\r\n";

// The file's result code for an open failure, as the layer's table numbers it.
int FileResult(const QFile& F)
{
    switch (F.error()) {
    case QFileDevice::NoError: return 0;
    case QFileDevice::PermissionsError: return 5;
    case QFileDevice::OpenError: return errno == ENOENT ? 3 : (errno == EACCES ? 5 : 2);
    case QFileDevice::WriteError: return 101;
    default: return 2;
    }
}

bool OpenText(QFile& F, bool Append)
{
    const bool exists = F.exists();
    return F.open(Append && exists ? (QIODevice::WriteOnly | QIODevice::Append)
                                   : (QIODevice::WriteOnly | QIODevice::Truncate));
}

// Writes one byte as the trace and the log show it, wrapping lines.
void WriteByte(QByteArray& Out, int& Column, uint8_t C, bool InHex, bool AllHex, int WrapAt, const QByteArray& Indent)
{
    QByteArray text;
    if (AllHex)
        text = "[" + QByteArray::number(C, 16).toUpper().rightJustified(2, '0') + "]";
    else if (C >= (InHex ? '!' : ' ') && C <= '~')
        text = QByteArray(1, static_cast<char>(C));
    else if (InHex)
        text = "[" + QByteArray::number(C, 16).toUpper().rightJustified(2, '0') + "]";
    else
        text = "[" + QByteArray::number(C) + "]";
    Column += static_cast<int>(text.size());
    if (Column > WrapAt) {
        Out += kEol;
        Out += Indent;
        Column = static_cast<int>(Indent.size() + text.size());
    }
    Out += text;
}

QString SystemName()
{
    utsname u{};
    if (uname(&u) != 0)
        return QStringLiteral("Unknown");
    return (QString::fromLocal8Bit(u.sysname) + QLatin1Char(' ') + QString::fromLocal8Bit(u.release)).left(80);
}

}  // namespace

// ---------------------------------------------------------------------------
// Trace

int TSerBaseDispatcher::InitTracing(uint32_t NumEntries)
{
    TSerLock g(DataSection);
    if (!TraceQueue.empty()) {
        TraceIndex = 0;
        TraceWrapped = false;
    } else {
        if (NumEntries > kMaxTraceEntries)
            return ecBadArgument;
        TraceQueue.assign(std::max<uint32_t>(NumEntries, 1), TTraceRecord());
        TraceMax = static_cast<uint32_t>(TraceQueue.size());
        TraceIndex = 0;
        TraceWrapped = false;
    }
    TracingOn = true;
    return ecOK;
}

void TSerBaseDispatcher::ClearTracing()
{
    TSerLock g(DataSection);
    TraceIndex = 0;
    TraceWrapped = false;
}

void TSerBaseDispatcher::AbortTracing()
{
    TSerLock g(DataSection);
    TracingOn = false;
    std::vector<TTraceRecord>().swap(TraceQueue);
    TraceMax = 0;
    TraceIndex = 0;
    TraceWrapped = false;
}

void TSerBaseDispatcher::StartTracing()
{
    TSerLock g(DataSection);
    if (!TraceQueue.empty())
        TracingOn = true;
}

void TSerBaseDispatcher::StopTracing()
{
    TSerLock g(DataSection);
    TracingOn = false;
}

void TSerBaseDispatcher::AddTraceEntry(char CurEntry, uint8_t CurCh)
{
    TSerLock g(DataSection);
    if (TraceQueue.empty())
        return;
    TraceQueue[TraceIndex] = {CurEntry, CurCh};
    if (++TraceIndex >= TraceMax) {
        TraceIndex = 0;
        TraceWrapped = true;
    }
}

static int WriteTrace(TSerBaseDispatcher& D, const std::vector<TTraceRecord>& Ring, uint32_t Index, bool Wrapped,
                      const QString& FName, bool InHex, bool AllHex, bool Append)
{
    (void)D;
    QFile f(FName);
    if (!OpenText(f, Append))
        return -FileResult(f);
    QByteArray out;
    int column = 0;
    char last = 0;
    const uint32_t count = Wrapped ? static_cast<uint32_t>(Ring.size()) : Index;
    const uint32_t start = Wrapped ? Index : 0;
    for (uint32_t i = 0; i < count; ++i) {
        const TTraceRecord& r = Ring[(start + i) % Ring.size()];
        if (i == 0 || r.EventType != last) {
            if (i != 0) {
                out += kEol;
                out += kEol;
            }
            if (r.EventType == 'R')
                out += "Receive: ";
            else if (r.EventType == 'T')
                out += "Transmit: ";
            else
                out += QByteArray("Special-") + r.EventType + ": ";
            out += kEol;
            column = 0;
            last = r.EventType;
        }
        WriteByte(out, column, r.C, InHex, AllHex, 78, QByteArray());
    }
    out += kEol;
    const bool ok = f.write(out) == out.size();
    f.close();
    return ok ? 0 : -101;
}

int TSerBaseDispatcher::DumpTrace(const QString& FName, bool InHex, bool AllHex)
{
    TSerLock g(DataSection);
    if (TraceQueue.empty() || (!TraceWrapped && TraceIndex == 0))
        return ecOK;
    const int r = WriteTrace(*this, TraceQueue, TraceIndex, TraceWrapped, FName, InHex, AllHex, false);
    const uint32_t size = TraceMax;
    if (r != 0 && r != -101) {
        AbortTracing();
        return r;
    }
    AbortTracing();
    InitTracing(size);
    return r;
}

int TSerBaseDispatcher::AppendTrace(const QString& FName, bool InHex, bool AllHex)
{
    TSerLock g(DataSection);
    if (TraceQueue.empty() || (!TraceWrapped && TraceIndex == 0))
        return ecOK;
    const int r = WriteTrace(*this, TraceQueue, TraceIndex, TraceWrapped, FName, InHex, AllHex, true);
    const uint32_t size = TraceMax;
    AbortTracing();
    if (r != 0 && r != -101)
        return r;
    InitTracing(size);
    return r;
}

// ---------------------------------------------------------------------------
// Dispatch log

void TSerBaseDispatcher::InitDispatchLogging(uint32_t QueueSize)
{
    DLoggingQueue.Clear();
    DLoggingMax = QueueSize;
    DLoggingOn = true;
}

void TSerBaseDispatcher::ClearDispatchLogging()
{
    DLoggingQueue.Clear();
}

void TSerBaseDispatcher::AbortDispatchLogging()
{
    DLoggingOn = false;
    DLoggingQueue.Clear();
}

void TSerBaseDispatcher::StartDispatchLogging()
{
    DLoggingOn = true;
}

void TSerBaseDispatcher::StopDispatchLogging()
{
    DLoggingOn = false;
}

void TSerBaseDispatcher::AddDispatchEntry(TDispatchType DT, TDispatchSubType DST, uint32_t Data,
                                          const QByteArray& Buffer)
{
    if (!DLoggingOn)
        return;
    while (DLoggingMax != 0 && static_cast<uint32_t>(DLoggingQueue.BytesQueued()) > DLoggingMax)
        DLoggingQueue.Pop();
    const uint32_t time = static_cast<uint32_t>(OsMonotonicMs() - TimeBase);
    DLoggingQueue.Push(std::make_unique<TLogBuffer>(DT, DST, time, Data, Buffer));
}

void TSerBaseDispatcher::AddStringToLog(const QByteArray& S)
{
    AddDispatchEntry(dtUser, dstNone, 0, S);
}

static int WriteDispatchLog(TIOQueue& Queue, const QString& Device, const QString& FName, bool InHex, bool AllHex,
                            bool Append)
{
    QFile f(FName);
    if (!OpenText(f, Append))
        return -FileResult(f);
    QByteArray out;
    out += QByteArray("DORV v5.00") + kEol;
    out += QByteArray("Compiler : GCC " __VERSION__) + kEol;
    out += "Operating System : " + SystemName().toLocal8Bit() + kEol;
    out += "Device: " + Device.toLocal8Bit() + kEol;
    out += "Date/time: " + QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yy, hh:mm:ss")).toLatin1() + kEol;
    out += MessageNumberToString(15501).toLatin1() + kEol;
    out += MessageNumberToString(15502).toLatin1() + kEol;
    static const char* const statusKinds[] = {"(Not active)", "(Modem status)", "(Line status)",
                                              "(Output buffer free)", "(Output buffer used)", "(Output sent)"};
    while (std::unique_ptr<TIOBuffer> b = Queue.Pop()) {
        auto* e = dynamic_cast<TLogBuffer*>(b.get());
        if (!e)
            continue;
        QByteArray time = QByteArray::number(e->drTime).rightJustified(7, '0');
        time.insert(time.size() - 3, '.');
        const QByteArray type = MessageNumberToString(15001 + static_cast<int>(e->drType)).toLatin1();
        const QByteArray sub = e->drSubType == dstNone ? QByteArray() : MessageNumberToString(15100 + static_cast<int>(e->drSubType)).toLatin1();
        QByteArray line = time.rightJustified(8) + "  " + type.leftJustified(8) + "  " + sub.leftJustified(12) + "  "
                          + QByteArray::number(e->drData, 16).rightJustified(8, '0') + "  ";
        if (!e->drBuffer.isEmpty()) {
            if ((e->drType == dtTriggerAlloc || e->drType == dtTriggerDispose) && e->drSubType == dstStatusTrigger) {
                const int k = static_cast<uint8_t>(e->drBuffer[0]);
                line += (k >= 0 && k <= 5) ? statusKinds[k] : "";
            } else {
                int column = static_cast<int>(line.size());
                for (char c : e->drBuffer) {
                    if (AllHex && e->drType == dtUser)
                        WriteByte(line, column, static_cast<uint8_t>(c), false, false, 79, QByteArray(44, ' '));
                    else
                        WriteByte(line, column, static_cast<uint8_t>(c), InHex, AllHex, 79, QByteArray(44, ' '));
                }
            }
        } else if (e->drSubType == dstModemStatus) {
            QString names;
            for (int bit = 0; bit < 8; ++bit)
                if (e->drData & (1u << bit))
                    names += MessageNumberToString(15601 + bit);
            line += "(" + names.trimmed().toLatin1() + ")";
        }
        out += line + kEol;
    }
    const bool ok = f.write(out) == out.size();
    f.close();
    return ok ? 0 : -101;
}

int TSerBaseDispatcher::DumpDispatchLog(const QString& FName, bool InHex, bool AllHex)
{
    TSerLock g(DataSection);
    if (DLoggingQueue.Count() == 0)
        return ecOK;
    return WriteDispatchLog(DLoggingQueue, FDeviceName, FName, InHex, AllHex, false);
}

int TSerBaseDispatcher::AppendDispatchLog(const QString& FName, bool InHex, bool AllHex)
{
    TSerLock g(DataSection);
    if (DLoggingQueue.Count() == 0)
        return ecOK;
    return WriteDispatchLog(DLoggingQueue, FDeviceName, FName, InHex, AllHex, true);
}
