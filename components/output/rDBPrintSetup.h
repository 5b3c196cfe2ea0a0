#pragma once
// The printer choice of the print dialogs: the list of installed printers
// with the program's default chosen, and the set-up button behind it.

#include "platform/print/TPrinter.h"

#include <QString>

class TComboBox;

// Fills Box with the installed printers and chooses the default one.
void FillPrinterList(TComboBox* Box);
// The chosen printer's name, empty when it is the default printer.
QString ChosenPrinter(const TComboBox* Box);
// The set-up dialog for the chosen printer; a printer picked there is chosen in Box.
bool PrinterSetup(TComboBox* Box, TPrinterOrientation* Orientation = nullptr);
