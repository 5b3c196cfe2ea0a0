#include "platform/print/Printers.h"

#include <QPrinterInfo>

namespace {

struct TPrinterState {
    QString Chosen;
    std::optional<QStringList> TestNames;
    QString TestDefault;
};

TPrinterState& State()
{
    static TPrinterState state;
    return state;
}

}  // namespace

QStringList PrinterNames()
{
    if (State().TestNames)
        return *State().TestNames;
    return QPrinterInfo::availablePrinterNames();
}

QString SystemDefaultPrinterName()
{
    if (State().TestNames)
        return State().TestDefault;
    return QPrinterInfo::defaultPrinterName();
}

QString DefaultPrinterName()
{
    const QString chosen = State().Chosen;
    if (!chosen.isEmpty() && PrinterNames().contains(chosen))
        return chosen;
    return SystemDefaultPrinterName();
}

bool SetDefaultPrinterName(const QString& Name)
{
    if (Name.trimmed().isEmpty() || !PrinterNames().contains(Name))
        return false;
    State().Chosen = Name;
    return true;
}

void ResetDefaultPrinterName()
{
    State().Chosen.clear();
}

void SetPrintersForTesting(std::optional<QStringList> Names, const QString& SystemDefault)
{
    State().TestNames = std::move(Names);
    State().TestDefault = SystemDefault;
}
