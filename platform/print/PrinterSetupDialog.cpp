#include "platform/print/PrinterSetupDialog.h"

#include "platform/print/Printers.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {
TPrinterSetupHook& Hook()
{
    static TPrinterSetupHook hook;
    return hook;
}
}  // namespace

void SetPrinterSetupHook(TPrinterSetupHook H)
{
    Hook() = std::move(H);
}

bool ShowPrinterSetupDialog(QString& PrinterName, TPrinterOrientation& Orientation)
{
    if (Hook())
        return Hook()(PrinterName, Orientation);
    QPrinter printer;
    printer.setPrinterName(PrinterName.isEmpty() ? DefaultPrinterName() : PrinterName);
    printer.setPageOrientation(Orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dlg(&printer);
    dlg.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    PrinterName = printer.printerName();
    Orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
    return true;
}
