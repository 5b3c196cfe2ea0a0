#pragma once
// Links the grid action module's export and print actions to this
// library's export and print-to-RTF dialogs.

class TrDBAction;

void InstallDBActionOutput(TrDBAction* Actions);
