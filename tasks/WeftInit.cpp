#include "tasks/WeftInit.h"

#include "platform/os/MessageWindow.h"
#include "platform/rtl/Exception.h"
#include "tasks/WeftComm.h"
#include "tasks/WeftContainers.h"
#include "tasks/WeftEnvironment.h"
#include "tasks/WeftSync.h"

#include <mutex>

UINT CWeftTaskMsg_NewMessage = 0;
UINT CWeftTaskMsg_Terminated = 0;
UINT CWeftPoolMsg = 0;

namespace {

std::once_flag gOnce;
bool gOk = false;
QString gError;

UINT Register(const char* name)
{
    const UINT id = RegisterWindowMessage(QString::fromLatin1(name));
    if (id == 0)
        throw Exception(QStringLiteral("RegisterWindowMessage(%1) failed, error %2")
                            .arg(QString::fromLatin1(name))
                            .arg(GetLastError()));
    return id;
}

void Run()
{
    try {
        // Lock-free containers place their compare-and-swap words on this
        // boundary. (The 1 ms timer resolution of other systems needs no
        // request here: the monotonic clock has it.)
        CASAlignment = 8;
        // The first-use lock of TWeftCS exists before any thread can race
        // for it.
        TWeftCS warmUp;
        warmUp.Acquire();
        warmUp.Release();
        // The processors, groups and NUMA nodes are read once, here; a
        // machine whose topology cannot be read does not start.
        Environment();
        // The lock-free containers' spin counts are measured on this thread
        // before any other exists, and the message queue must pass its
        // self-test.
        InitializeTimingInfo();
        RingBufferTest();
        CWeftTaskMsg_NewMessage = Register("Sorvex.Weft.Task.NewMessage");
        CWeftTaskMsg_Terminated = Register("Sorvex.Weft.Task.Terminated");
        CWeftPoolMsg = Register("Sorvex.Weft.Pool.Notice");
        gOk = true;
    } catch (const std::exception& e) {
        gError = ExceptionMessage(e);
        gOk = false;
    }
}

}  // namespace

namespace weft {

bool initialize(QString* error)
{
    std::call_once(gOnce, Run);
    if (!gOk && error)
        *error = gError;
    return gOk;
}

bool initialized()
{
    return gOk;
}

}  // namespace weft
