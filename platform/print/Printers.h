#pragma once
// The printers of the system (CUPS through Qt print support) and the
// program's own choice of default printer. The system's default printer is
// never changed: a printer chosen here is what the program prints on.

#include <QString>
#include <QStringList>
#include <optional>

// Installed printers in the platform's order.
QStringList PrinterNames();
// The system's default printer (empty when there is none).
QString SystemDefaultPrinterName();
// The program's default printer: the chosen one while it is installed,
// otherwise the system's default (empty when there is none).
QString DefaultPrinterName();
// Chooses the program's default printer; false (and nothing changes) when no
// installed printer has that name.
bool SetDefaultPrinterName(const QString& Name);
// Forgets the program's choice.
void ResetDefaultPrinterName();

// Tests put a fixed printer set in place of the system's (nullopt: the system's).
void SetPrintersForTesting(std::optional<QStringList> Names, const QString& SystemDefault = QString());
