#include "platform/comm/PseudoTerminal.h"

#include <QFile>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

TPseudoTerminal::~TPseudoTerminal()
{
    CloseMaster();
}

bool TPseudoTerminal::Open()
{
    CloseMaster();
    int fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (grantpt(fd) != 0 || unlockpt(fd) != 0) {
        ::close(fd);
        return false;
    }
    char name[128];
    if (ptsname_r(fd, name, sizeof name) != 0) {
        ::close(fd);
        return false;
    }
    // Raw line on the pair from the start: no echo, no line editing, no
    // character translation, whatever the near end does later.
    termios t{};
    if (tcgetattr(fd, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
    }
    FMaster = fd;
    FSlavePath = QFile::decodeName(name);
    return true;
}

void TPseudoTerminal::CloseMaster()
{
    if (FMaster >= 0)
        ::close(FMaster);
    FMaster = -1;
}
