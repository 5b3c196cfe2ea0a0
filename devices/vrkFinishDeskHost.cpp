#include "devices/vrkFinishDeskHost.h"

TFinishDeskHost* finishDeskHost = nullptr;
