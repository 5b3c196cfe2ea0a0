#include "components/output/rDBPrintSetup.h"

#include "platform/print/PrintDocument.h"
#include "platform/print/PrinterSetupDialog.h"
#include "platform/print/Printers.h"
#include "platform/ui/StdCtrls.h"

void FillPrinterList(TComboBox* Box)
{
    // without printers the pages can still go into a PDF file
    Box->SetItems(PrinterChoices());
    const int def = Box->IndexOf(DefaultPrinterName());
    Box->SetItemIndex(def >= 0 ? def : (Box->Items().isEmpty() ? -1 : 0));
}

QString ChosenPrinter(const TComboBox* Box)
{
    const QString name = Box->ItemIndex() >= 0 ? Box->Text() : QString();
    return name == DefaultPrinterName() ? QString() : name;
}

bool PrinterSetup(TComboBox* Box, TPrinterOrientation* Orientation)
{
    QString name = Box->ItemIndex() >= 0 ? Box->Text() : DefaultPrinterName();
    TPrinterOrientation o = Orientation ? *Orientation : poPortrait;
    if (!ShowPrinterSetupDialog(name, o))
        return false;
    // the set-up of the PDF file printer names no printer of the system
    if (name.isEmpty() || (IsPdfFilePrinter(Box->Text()) && !PrinterNames().contains(name)))
        name = PrinterChoices().front();
    if (Box->IndexOf(name) < 0)
        Box->AddItem(name);
    Box->SetItemIndex(Box->IndexOf(name));
    if (Orientation)
        *Orientation = o;
    return true;
}
