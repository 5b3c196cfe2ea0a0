#include "platform/comm/Comm.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

uint32_t CommErrorFromErrno(int Errno)
{
    switch (Errno) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
        return ERROR_FILE_NOT_FOUND_;
    // Not a terminal: a folder, a plain file, /dev/null.
    case ENOTTY:
    case EISDIR:
        return ERROR_BAD_DEVICE_;
    case EACCES:
    case EPERM:
        return ERROR_PRIVILEGE_NOT_HELD_;
    case EBUSY:
    case EWOULDBLOCK:
        return ERROR_ACCESS_DENIED_;
    case EBADF:
        return ERROR_INVALID_HANDLE_;
    case EINVAL:
        return ERROR_INVALID_PARAMETER_;
    case EIO:
    case EPIPE:
        return ERROR_DEVICE_NOT_CONNECTED_;
    default:
        return ERROR_GEN_FAILURE_;
    }
}

namespace {

struct BaudEntry {
    uint32_t Rate;
    speed_t Code;
};

const BaudEntry kBauds[] = {
    {50, B50}, {75, B75}, {110, B110}, {134, B134}, {150, B150}, {200, B200}, {300, B300},
    {600, B600}, {1200, B1200}, {1800, B1800}, {2400, B2400}, {4800, B4800}, {9600, B9600},
    {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
    {460800, B460800}, {500000, B500000}, {576000, B576000}, {921600, B921600},
    {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000}, {2000000, B2000000},
    {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

bool BaudCode(uint32_t Rate, speed_t& Code)
{
    for (const auto& e : kBauds)
        if (e.Rate == Rate) {
            Code = e.Code;
            return true;
        }
    return false;
}

uint32_t BaudRate(speed_t Code)
{
    for (const auto& e : kBauds)
        if (e.Code == Code)
            return e.Rate;
    return 9600;
}

void Wake(int Fd)
{
    if (Fd >= 0) {
        uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(Fd, &one, sizeof one);
    }
}

void Drain(int Fd)
{
    uint64_t v;
    [[maybe_unused]] ssize_t n = ::read(Fd, &v, sizeof v);
}

}  // namespace


TCommDevice::TCommDevice()
{
    FCancelRead = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    FCancelWrite = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    FCancelEvent = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

TCommDevice::~TCommDevice()
{
    Close();
    for (int fd : {FCancelRead, FCancelWrite, FCancelEvent})
        if (fd >= 0)
            ::close(fd);
}

bool TCommDevice::Fail(int Errno)
{
    FLastError = CommErrorFromErrno(Errno);
    return false;
}

bool TCommDevice::Open(const QString& Path)
{
    if (FFd >= 0)
        return Fail(EBUSY);
    const QByteArray path = QFile::encodeName(Path);
    int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Fail(errno);
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        int e = errno;
        ::close(fd);
        return Fail(e == EIO ? EIO : ENOTTY);  // EINVAL and the like: not a terminal either
    }
    // Another holder of the device, in this process or another, keeps it: an
    // advisory lock for programs that cooperate, the terminal's exclusive mode
    // for those that do not.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int e = errno;
        ::close(fd);
        return Fail(e == EWOULDBLOCK ? EBUSY : e);
    }
    ioctl(fd, TIOCEXCL);

    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &tio);
    // A port freshly opened holds nothing from before.
    tcflush(fd, TCIOFLUSH);

    FFd = fd;
    FPath = Path;
    int ptyNumber = 0;
    // (also under another name: a link made by socat, or a stable name
    // pointing at the simulator's terminal)
    FPty = ioctl(fd, TIOCGPTN, &ptyNumber) == 0 || QFileInfo(Path).canonicalFilePath().startsWith(QLatin1String("/dev/pts/"));
    FDcb = TDCB();
    FDcb.BaudRate = BaudRate(cfgetospeed(&tio));
    FMask = 0;
    {
        std::lock_guard<std::mutex> g(FStateLock);
        FPendingErrors = 0;
        bool ok = false;
        FLastModem = ReadModemLines(ok);
        FHaveModem = ok;
        uint32_t dummy = 0;
        FHaveCounts = false;
        ReadErrorCounts(dummy);
        FPendingErrors = 0;
    }
    FLastError = 0;
    return true;
}

bool TCommDevice::Close()
{
    if (FFd < 0)
        return Fail(EBADF);
    CancelIo();
    flock(FFd, LOCK_UN);
    ioctl(FFd, TIOCNXCL);
    int r = ::close(FFd);
    FFd = -1;
    if (r != 0)
        return Fail(errno);
    return true;
}

bool TCommDevice::SetupComm(uint32_t InQueue, uint32_t OutQueue)
{
    if (FFd < 0)
        return Fail(EBADF);
    FInQueue = InQueue;
    FOutQueue = OutQueue;
    return true;
}

bool TCommDevice::GetCommState(TDCB& Dcb)
{
    if (FFd < 0)
        return Fail(EBADF);
    termios tio{};
    if (tcgetattr(FFd, &tio) != 0)
        return Fail(errno);
    Dcb = FDcb;
    Dcb.BaudRate = BaudRate(cfgetospeed(&tio));
    if (FDcb.BaudRate != 0 && BaudRate(cfgetospeed(&tio)) == FDcb.BaudRate)
        Dcb.BaudRate = FDcb.BaudRate;
    return true;
}

bool TCommDevice::SetCommState(const TDCB& Dcb)
{
    if (FFd < 0)
        return Fail(EBADF);
    termios tio{};
    if (tcgetattr(FFd, &tio) != 0)
        return Fail(errno);
    speed_t code;
    if (!BaudCode(Dcb.BaudRate, code))
        return Fail(EINVAL);
    if (Dcb.ByteSize < 5 || Dcb.ByteSize > 8 || Dcb.Parity > SPACEPARITY || Dcb.StopBits > TWOSTOPBITS)
        return Fail(EINVAL);
    cfsetispeed(&tio, code);
    cfsetospeed(&tio, code);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    tio.c_cflag |= sizes[Dcb.ByteSize - 5] | CLOCAL | CREAD;
    switch (Dcb.Parity) {
    case ODDPARITY: tio.c_cflag |= PARENB | PARODD; break;
    case EVENPARITY: tio.c_cflag |= PARENB; break;
    case MARKPARITY: tio.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case SPACEPARITY: tio.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    // One and a half stop bits exist only with five data bits, where the UART
    // gives them for the two-stop-bit setting.
    if (Dcb.StopBits != ONESTOPBIT)
        tio.c_cflag |= CSTOPB;
    // Linux couples CTS output flow and RTS input handshake in one flag.
    if ((Dcb.Flags & dcb_OutxCtsFlow) || (Dcb.Flags & dcb_RtsControlMask) == dcb_RtsControlHandshake)
        tio.c_cflag |= CRTSCTS;
    tio.c_iflag &= ~(INPCK | PARMRK | IGNPAR | IXON | IXOFF | IXANY | ISTRIP);
    if (Dcb.Flags & dcb_Parity)
        tio.c_iflag |= INPCK;
    else
        tio.c_iflag |= IGNPAR;
    if (Dcb.Flags & dcb_OutX)
        tio.c_iflag |= IXON;
    if (Dcb.Flags & dcb_InX)
        tio.c_iflag |= IXOFF;
    tio.c_cc[VSTART] = static_cast<cc_t>(Dcb.XonChar);
    tio.c_cc[VSTOP] = static_cast<cc_t>(Dcb.XoffChar);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (tcsetattr(FFd, TCSANOW, &tio) != 0)
        return Fail(errno);
    FDcb = Dcb;
    // The DTR and RTS control fields set the lines as the block is applied.
    const uint32_t dtr = Dcb.Flags & dcb_DtrControlMask;
    if (dtr == dcb_DtrControlEnable || dtr == dcb_DtrControlHandshake)
        EscapeCommFunction(SETDTR);
    else
        EscapeCommFunction(CLRDTR);
    const uint32_t rts = Dcb.Flags & dcb_RtsControlMask;
    if (rts == dcb_RtsControlEnable || rts == dcb_RtsControlHandshake)
        EscapeCommFunction(SETRTS);
    else if (rts == dcb_RtsControlDisable)
        EscapeCommFunction(CLRRTS);
    SetRS485(rts == dcb_RtsControlToggle);
    FLastError = 0;
    return true;
}

bool TCommDevice::GetCommTimeouts(TCommTimeouts& T) const
{
    T = FTimeouts;
    return FFd >= 0;
}

bool TCommDevice::SetCommTimeouts(const TCommTimeouts& T)
{
    if (FFd < 0)
        return Fail(EBADF);
    FTimeouts = T;
    return true;
}

bool TCommDevice::SetCommMask(uint32_t Mask)
{
    if (FFd < 0)
        return Fail(EBADF);
    FMask = Mask;
    FGenEvent.fetch_add(1);
    Wake(FCancelEvent);
    return true;
}

int TCommDevice::WaitFd(short Events, int TimeoutMs, short& Revents, int CancelFd)
{
    pollfd p[2] = {{FFd, Events, 0}, {CancelFd, POLLIN, 0}};
    int r;
    do {
        r = ::poll(p, 2, TimeoutMs);
    } while (r < 0 && errno == EINTR);
    if (r < 0)
        return -1;
    if (p[1].revents & POLLIN)
        Drain(CancelFd);
    Revents = p[0].revents;
    return r;
}

uint32_t TCommDevice::ReadModemLines(bool& Ok)
{
    int bits = 0;
    Ok = FFd >= 0 && ioctl(FFd, TIOCMGET, &bits) == 0;
    if (!Ok)
        return 0;
    uint32_t ms = 0;
    if (bits & TIOCM_CTS)
        ms |= MS_CTS_ON;
    if (bits & TIOCM_DSR)
        ms |= MS_DSR_ON;
    if (bits & TIOCM_RNG)
        ms |= MS_RING_ON;
    if (bits & TIOCM_CAR)
        ms |= MS_RLSD_ON;
    return ms;
}

bool TCommDevice::ReadErrorCounts(uint32_t& Errors)
{
    serial_icounter_struct ic{};
    if (FFd < 0 || ioctl(FFd, TIOCGICOUNT, &ic) != 0)
        return false;
    const int now[5] = {ic.buf_overrun, ic.overrun, ic.parity, ic.frame, ic.brk};
    static const uint32_t bits[5] = {CE_RXOVER, CE_OVERRUN, CE_RXPARITY, CE_FRAME, CE_BREAK};
    if (FHaveCounts)
        for (int i = 0; i < 5; ++i)
            if (now[i] != FCounts[i])
                Errors |= bits[i];
    std::copy(now, now + 5, FCounts);
    FHaveCounts = true;
    FPendingErrors |= Errors;
    return true;
}

int TCommDevice::WaitCommEvent(uint32_t& Events, int TimeoutMs)
{
    Events = 0;
    if (FFd < 0) {
        Fail(EBADF);
        return -1;
    }
    auto& gen = FGenEvent;
    const uint64_t start = gen.load();
    const int slice = 20;
    int waited = 0;
    for (;;) {
        const uint32_t mask = FMask.load();
        uint32_t ev = 0;
        {
            std::lock_guard<std::mutex> g(FStateLock);
            if (mask & (EV_CTS | EV_DSR | EV_RLSD | EV_RING | EV_RING_TE)) {
                bool ok = false;
                uint32_t ms = ReadModemLines(ok);
                if (ok && FHaveModem) {
                    uint32_t changed = ms ^ FLastModem;
                    if (changed & MS_CTS_ON)
                        ev |= EV_CTS;
                    if (changed & MS_DSR_ON)
                        ev |= EV_DSR;
                    if (changed & MS_RLSD_ON)
                        ev |= EV_RLSD;
                    if ((changed & MS_RING_ON) && (ms & MS_RING_ON))
                        ev |= EV_RING;
                    if ((changed & MS_RING_ON) && !(ms & MS_RING_ON))
                        ev |= EV_RING_TE;
                }
                if (ok) {
                    FLastModem = ms;
                    FHaveModem = true;
                }
            }
            if (mask & (EV_ERR | EV_BREAK)) {
                uint32_t errs = 0;
                ReadErrorCounts(errs);
                if (errs & CE_BREAK)
                    ev |= EV_BREAK;
                if (errs & (CE_RXOVER | CE_OVERRUN | CE_RXPARITY | CE_FRAME))
                    ev |= EV_ERR;
            }
        }
        if (mask & EV_RXCHAR) {
            int n = 0;
            if (ioctl(FFd, FIONREAD, &n) == 0 && n > 0)
                ev |= EV_RXCHAR;
        }
        ev &= mask;
        if (ev) {
            Events = ev;
            return 1;
        }
        if (gen.load() != start) {
            FLastError = ERROR_OPERATION_ABORTED_;
            return -2;
        }
        int wait = slice;
        if (TimeoutMs >= 0) {
            if (waited >= TimeoutMs)
                return 0;
            wait = std::min(slice, TimeoutMs - waited);
        }
        short rev = 0;
        int r = WaitFd(0, wait, rev, FCancelEvent);
        if (r < 0 || (rev & (POLLHUP | POLLERR | POLLNVAL))) {
            Fail(r < 0 ? errno : (rev & POLLNVAL) ? EBADF : EIO);
            return -1;
        }
        waited += wait;
    }
}

int TCommDevice::Read(void* Buffer, int Count, int TimeoutMs)
{
    if (FFd < 0) {
        Fail(EBADF);
        return -1;
    }
    if (Count <= 0)
        return 0;
    auto& gen = FGenRead;
    const uint64_t start = gen.load();
    // In raw mode without a minimum count a read of an empty line gives 0, as
    // a hang-up does; poll tells them apart.
    for (int pass = 0;; ++pass) {
        short rev = 0;
        int r = WaitFd(POLLIN, pass == 0 ? TimeoutMs : 0, rev, FCancelRead);
        if (r < 0 && errno != EINTR) {
            Fail(errno);
            return -1;
        }
        if (gen.load() != start) {
            FLastError = ERROR_OPERATION_ABORTED_;
            return -2;
        }
        if (rev & POLLNVAL) {
            Fail(EBADF);
            return -1;
        }
        if (rev & (POLLIN | POLLHUP | POLLERR)) {
            ssize_t n = ::read(FFd, Buffer, static_cast<size_t>(Count));
            if (n > 0)
                return static_cast<int>(n);
            if (rev & (POLLHUP | POLLERR)) {
                Fail(EIO);
                return -1;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR) {
                Fail(errno);
                return -1;
            }
        }
        if (pass > 0 || !(rev & POLLIN))
            return 0;
    }
}

int TCommDevice::Write(const void* Buffer, int Count, int& Written, int SliceMs)
{
    Written = 0;
    if (FFd < 0) {
        Fail(EBADF);
        return -1;
    }
    auto& gen = FGenWrite;
    const uint64_t start = gen.load();
    const char* p = static_cast<const char*>(Buffer);
    while (Written < Count) {
        if (gen.load() != start) {
            FLastError = ERROR_OPERATION_ABORTED_;
            return -2;
        }
        ssize_t n = ::write(FFd, p + Written, static_cast<size_t>(Count - Written));
        if (n > 0) {
            Written += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            Fail(errno);
            return -1;
        }
        short rev = 0;
        int r = WaitFd(POLLOUT, SliceMs, rev, FCancelWrite);
        if (r < 0) {
            Fail(errno);
            return -1;
        }
        if (rev & (POLLHUP | POLLERR | POLLNVAL)) {
            Fail((rev & POLLNVAL) ? EBADF : EIO);
            return -1;
        }
    }
    return Written;
}

void TCommDevice::CancelIo()
{
    FGenRead.fetch_add(1);
    FGenWrite.fetch_add(1);
    FGenEvent.fetch_add(1);
    Wake(FCancelRead);
    Wake(FCancelWrite);
    Wake(FCancelEvent);
}

bool TCommDevice::PurgeComm(uint32_t Flags)
{
    if (FFd < 0)
        return Fail(EBADF);
    if (Flags & PURGE_TXABORT) {
        FGenWrite.fetch_add(1);
        Wake(FCancelWrite);
    }
    if (Flags & PURGE_RXABORT) {
        FGenRead.fetch_add(1);
        Wake(FCancelRead);
    }
    int r = 0;
    if ((Flags & PURGE_TXCLEAR) && (Flags & PURGE_RXCLEAR))
        r = tcflush(FFd, TCIOFLUSH);
    else if (Flags & PURGE_TXCLEAR)
        r = tcflush(FFd, TCOFLUSH);
    else if (Flags & PURGE_RXCLEAR)
        r = tcflush(FFd, TCIFLUSH);
    if (r != 0)
        return Fail(errno);
    return true;
}

bool TCommDevice::ClearCommError(uint32_t& Errors, TComStat* Stat)
{
    Errors = 0;
    if (FFd < 0)
        return Fail(EBADF);
    {
        std::lock_guard<std::mutex> g(FStateLock);
        uint32_t fresh = 0;
        ReadErrorCounts(fresh);
        Errors = FPendingErrors;
        FPendingErrors = 0;
    }
    if (Stat) {
        int in = 0, out = 0;
        if (ioctl(FFd, FIONREAD, &in) != 0)
            in = 0;
        if (ioctl(FFd, TIOCOUTQ, &out) != 0)
            out = 0;
        Stat->Flags = 0;
        Stat->cbInQue = static_cast<uint32_t>(std::max(in, 0));
        Stat->cbOutQue = static_cast<uint32_t>(std::max(out, 0));
    }
    return true;
}

bool TCommDevice::EscapeCommFunction(int Function)
{
    if (FFd < 0)
        return Fail(EBADF);
    int bits = 0;
    int r = 0;
    switch (Function) {
    case SETDTR: bits = TIOCM_DTR; r = ioctl(FFd, TIOCMBIS, &bits); break;
    case CLRDTR: bits = TIOCM_DTR; r = ioctl(FFd, TIOCMBIC, &bits); break;
    case SETRTS: bits = TIOCM_RTS; r = ioctl(FFd, TIOCMBIS, &bits); break;
    case CLRRTS: bits = TIOCM_RTS; r = ioctl(FFd, TIOCMBIC, &bits); break;
    case SETBREAK: r = ioctl(FFd, TIOCSBRK); break;
    case CLRBREAK: r = ioctl(FFd, TIOCCBRK); break;
    case SETXOFF: r = tcflow(FFd, TCIOFF); break;
    case SETXON: r = tcflow(FFd, TCION); break;
    default: return Fail(EINVAL);
    }
    if (r != 0) {
        // A pseudo-terminal has no modem lines and no break: nothing to set.
        if (FPty && (errno == ENOTTY || errno == EINVAL))
            return true;
        return Fail(errno);
    }
    return true;
}

bool TCommDevice::GetCommModemStatus(uint32_t& ModemStat)
{
    ModemStat = 0;
    if (FFd < 0)
        return Fail(EBADF);
    std::lock_guard<std::mutex> g(FStateLock);
    bool ok = false;
    ModemStat = ReadModemLines(ok);
    if (!ok && !FPty)
        return Fail(errno);
    return true;
}

bool TCommDevice::DrainOutput()
{
    if (FFd < 0)
        return Fail(EBADF);
    if (tcdrain(FFd) != 0)
        return Fail(errno);
    return true;
}

bool TCommDevice::SetRS485(bool On)
{
    if (FFd < 0)
        return Fail(EBADF);
    serial_rs485 rs{};
    if (ioctl(FFd, TIOCGRS485, &rs) != 0)
        return !On ? true : Fail(errno);
    if (On)
        rs.flags |= SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
    else
        rs.flags &= ~SER_RS485_ENABLED;
    if (ioctl(FFd, TIOCSRS485, &rs) != 0)
        return Fail(errno);
    return true;
}
