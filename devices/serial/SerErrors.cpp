#include "devices/serial/SerErrors.h"

#include "devices/serial/SerTypes.h"
#include "platform/rtl/Component.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>

namespace {

struct TMessageEntry {
    int MessageNumber;
    const char* MessageString;
};

// Sorted by the absolute value of the number; errors negative, labels positive.
const TMessageEntry kMessages[] = {
    {0, "OK"},
    {-2, "File not found"},
    {-3, "Path not found"},
    {-4, "Too many open files"},
    {-5, "File access denied"},
    {-6, "Invalid file handle"},
    {-8, "Insufficient memory"},
    {-15, "Invalid drive"},
    {-18, "No more files"},
    {-100, "Attempt to read beyond end of file"},
    {-101, "Disk is full"},
    {-102, "File/device not assigned"},
    {-103, "File/device not open"},
    {-104, "File/device not open for input"},
    {-105, "File/device not open for output"},
    {-150, "Disk is write-protected"},
    {-151, "Unknown disk unit"},
    {-152, "Drive is not ready"},
    {-153, "Unknown command"},
    {-154, "Data error"},
    {-155, "Bad request structure length"},
    {-156, "Seek error"},
    {-157, "Unknown media type"},
    {-158, "Disk sector not found"},
    {-159, "Printer is out of paper"},
    {-160, "Device write error"},
    {-161, "Device read error"},
    {-162, "General failure"},
    {-1001, "Bad handle passed to com function"},
    {-1002, "Bad argument passed to function"},
    {-1003, "Got quit message"},
    {-1004, "Terminal buffer greater than 65521"},
    {-1005, "ComPort component not assigned"},
    {-1006, "Internal error creating window class"},
    {-1007, "Modem component not assigned"},
    {-1008, "Phonebook component not assigned"},
    {-1009, "Component not compatible with WinSock"},
    {-2001, "ie_BadId - Specified comport doesn't exist"},
    {-2002, "ie_Baudrate - unsupported baud rate"},
    {-2003, "ie_Bytesize - invalid byte size"},
    {-2004, "ie_Default - error in default parameters"},
    {-2005, "ie_Hardware - Specified comport in use"},
    {-2006, "ie_Memory - unable to allocate queues"},
    {-2007, "ie_NOpen - device not open"},
    {-2008, "ie_Open - device already open"},
    {-2009, "No more handles, can't open port"},
    {-2010, "No timers available"},
    {-2011, "The ComNumber property of the TSerComPort has not been set"},
    {-2012, "Comport was not opened by Tapi"},
    {-2013, "ie_Access - no permission to open the device (add the user to the dialout group)"},
    {-2014, "ie_NotSerial - the device is not a serial port"},
    {-2015, "ie_OpenFailed - the device could not be opened"},
    {-3001, "No device layer specified"},
    {-3002, "Function not supported by driver"},
    {-3003, "EnableCommNotification failed"},
    {-3004, "Failed to put entire block"},
    {-3005, "Failed to get entire block"},
    {-3006, "Output buffer too small for block"},
    {-3007, "Buffer is empty"},
    {-3008, "Tracing not enabled"},
    {-3009, "Logging not enabled"},
    {-3010, "Base address not set"},
    {-4001, "Modem not started"},
    {-4002, "Modem is busy"},
    {-4003, "Modem not dialing"},
    {-4004, "Not dialing"},
    {-4005, "Already dialing"},
    {-4006, "Modem not responding"},
    {-4007, "Modem rejected command"},
    {-4008, "Modem status mismatch"},
    {-5001, "No more trigger slots"},
    {-5002, "Data trigger too long"},
    {-5003, "Bad trigger handle"},
    {-6006, "Protocol error"},
    {-6008, "Protocol error"},
    {-6009, "Protocol error"},
    {-7001, "Key too long"},
    {-7002, "Data too large"},
    {-7004, "INI file write error"},
    {-7005, "INI file read error"},
    {-7007, "Record exists"},
    {-7008, "Record not found"},
    {-7010, "Database full"},
    {-7011, "Database empty"},
    {-7013, "Bad field list"},
    {-7014, "Bad field for index"},
    {-8001, "Bad fax format"},
    {-8002, "Bad graphics format"},
    {-8003, "Conversion aborted"},
    {-8004, "Unpack aborted"},
    {-8005, "Can't make bitmap"},
    {-8053, "Invalid page number"},
    {-8060, "Bad fax machine"},
    {-8061, "Bad modem result"},
    {-8062, "Fax training error"},
    {-8063, "Fax initialization error"},
    {-8064, "Fax busy"},
    {-8065, "Voice call"},
    {-8066, "Data call"},
    {-8067, "No dial tone"},
    {-8068, "No carrier"},
    {-8069, "Fax session error"},
    {-8070, "Fax page error"},
    {-13868, "No memory"},
    {-13980, "Remote access library could not be loaded"},
    {15001, "No event"},
    {15002, "Dispatch"},
    {15003, "Trigger"},
    {15004, "Error"},
    {15005, "Thread"},
    {15006, "TrigAllc"},
    {15007, "TrigDisp"},
    {15008, "TrgHdAlc"},
    {15009, "TrgHdDsp"},
    {15010, "TrDatChg"},
    {15011, "Telnet"},
    {15012, "Fax"},
    {15013, "XModem"},
    {15014, "YModem"},
    {15015, "ZModem"},
    {15016, "Kermit"},
    {15017, "Ascii"},
    {15018, "BPlus"},
    {15019, "Packet"},
    {15020, "User"},
    {15021, "Script"},
    {15100, ""},
    {15101, "ReadCom"},
    {15102, "WriteCom"},
    {15103, "LineStatus"},
    {15104, "ModemStatus"},
    {15105, "Avail"},
    {15106, "Timer"},
    {15107, "Data"},
    {15108, "Status"},
    {15109, "Thread start"},
    {15110, "Thread exit"},
    {15111, "Thread sleep"},
    {15112, "Thread wake"},
    {15113, "DataTrigger"},
    {15114, "TimerTrigger"},
    {15115, "StatusTrigger"},
    {15116, "AvailTrigger"},
    {15117, "WndHandler"},
    {15118, "ProcHandler"},
    {15119, "EventHandler"},
    {15501, "Time      Type      SubType       Data      OtherData"},
    {15502, "--------  --------  ------------  --------  ---------"},
    {15601, "DCTS "},
    {15602, "DDSR "},
    {15603, "TERI "},
    {15604, "DDCD "},
    {15605, "CTS "},
    {15606, "DSR "},
    {15607, "RI "},
    {15608, "DCD "},
};

constexpr int kCount = static_cast<int>(sizeof kMessages / sizeof kMessages[0]);

// Half-way rounds to the even neighbour, as the table's search always did.
int RoundHalfEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

using TRaiser = std::function<void(int)>;

const std::map<int, TRaiser>& Raisers()
{
    static const std::map<int, TRaiser> table = [] {
        std::map<int, TRaiser> m;
#define SER_RAISER(Code, Name, Group) m[Code] = [](int c) { throw Name(c); };
#define SER_RAISER_TAPI(Code, Name) m[Code] = [](int c) { throw Name(c); };
        SER_EXCEPTION_LEAVES(SER_RAISER)
        SER_TAPI_LEAVES(SER_RAISER_TAPI)
#undef SER_RAISER
#undef SER_RAISER_TAPI
        for (int c : {-6006, -6008, -6009})
            m[c] = [](int code) { throw EProtocol(code); };
        return m;
    }();
    return table;
}

}  // namespace

ESerException::ESerException(int Code, bool PassThru)
    : Exception(DorvLoadStr(MapCodeToStringID(Code)))
    , ErrorCode(Code)
{
    (void)PassThru;
}

ESerException::ESerException(const QString& Text)
    : Exception(Text)
{
}

ESerException ESerException::CreateUnknown(const QString& Text, bool PassThru)
{
    (void)PassThru;
    return ESerException(Text);
}

QString MessageNumberToString(int Code)
{
    const int key = std::abs(Code);
    int low = 0;
    int high = kCount - 1;
    while (low <= high) {
        const int middle = RoundHalfEven((low + high) / 2.0);
        const int at = std::abs(kMessages[middle].MessageNumber);
        if (key == at)
            return QString::fromLatin1(kMessages[middle].MessageString);
        if (key < at)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return QString();
}

QString DorvLoadStr(int Code)
{
    const QString s = MessageNumberToString(Code);
    if (!s.isEmpty())
        return s;
    const int n = std::abs(Code);
    if (n > 0 && n < 134)
        return QString::fromLocal8Bit(std::strerror(n));
    return QString();
}

int MessageTableSize()
{
    return kCount;
}

void RaiseSerError(int Code)
{
    const auto& raisers = Raisers();
    auto it = raisers.find(Code);
    if (it != raisers.end())
        it->second(Code);
    if (Code == ecOutOfMemory)
        throw EOutOfMemory(QStringLiteral("Out of memory"));
    if (Code <= -2 && Code >= -162)
        throw ESerInOutError(DorvLoadStr(-Code), -Code);
    throw ESerException::CreateUnknown(QStringLiteral("Dorv exception"));
}

int CheckException(const TComponent* Component, int Code)
{
    if (Code >= 0)
        return Code;
    if (Component && Component->Loading())
        return Code;
    RaiseSerError(Code);
}
