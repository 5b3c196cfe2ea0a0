#pragma once
// Links the grid action module's find, filter, sort and column-choice
// actions to this library's dialogs.

class TrDBAction;

void InstallDBActionDialogs(TrDBAction* Actions);
