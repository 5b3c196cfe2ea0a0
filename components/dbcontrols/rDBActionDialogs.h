#pragma once
// Links the grid action module's find, filter, sort, column-choice and
// stored-filter actions to this library's dialogs.

class TrDBAction;

void InstallDBActionDialogs(TrDBAction* Actions);
