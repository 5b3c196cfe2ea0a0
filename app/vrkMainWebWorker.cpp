// The web worker's life cycle for the main window. Kept in a file of its own:
// the worker's task headers and the window's headers name some of the same
// system constants.

#include "app/vrkMainWebLink.h"
#include "app/vrkMainWebSync.h"
#include "sync/vrkWorkerREST.h"

PWebWorker NewWebWorker(TWebSession& Session, IWebSyncHost& Host)
{
    return PWebWorker(new TformWorkerREST(Session, Host));
}

void TWebWorkerDeleter::operator()(TformWorkerREST* Worker) const
{
    delete Worker;
}

void StartWebWorker(TformWorkerREST& Worker)
{
    Worker.DoNotConnect = 0;
    Worker.FormCreate();
    Worker.StartOnline();
}

void StopWebWorker(TformWorkerREST& Worker)
{
    Worker.StopOnline();
}

TMainWebSync::~TMainWebSync()
{
    StopOnline();
    SetMainWebLink(TMainWebLink());
    if (MainWebSync == this)
        MainWebSync = nullptr;
}
