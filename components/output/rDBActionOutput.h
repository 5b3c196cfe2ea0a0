#pragma once
// Links the grid action module's export and print actions to this
// library's export, print-to-RTF and direct print dialogs.

class TrDBAction;

void InstallDBActionOutput(TrDBAction* Actions);
