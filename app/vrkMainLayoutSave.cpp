// The main window's saved layout: its place and size, the results grid's
// columns, widths, order, sort, filter and field groups, and the details
// group box in the application-wide property file.

#include "app/vrkCommon.h"
#include "app/vrkMainForm.h"
#include "components/grid/TParioCompsPropSave.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/TPropSaveMain.h"
#include "components/grid/TrDBGridsPropSave.h"

void TformMain::BuildLayoutSaving()
{
    PropSaveFile1 = new TPropSaveFile(this);
    PropSaveFile1->SetName(QStringLiteral("PropSaveFile1"));
    PropSaveFile1->SetFileName(GetExePath() + QStringLiteral("sorvex.ini"));
    PropSaveFile1->SetUseAsGlobalFile(true);
    // Nothing is written back before the layout was read: a start that ends
    // early (first use refused, failed upgrade) leaves the file as it is.
    PropSaveFile1->DisableAll = true;
    PropSaveMain1 = new TPropSaveMain(this);
    PropSaveMain1->SetName(QStringLiteral("PropSaveMain1"));
    PropSaveMain1->SetPropSaveFile(PropSaveFile1);
    PropSaveMain1->PropSaveEvents = pseNone;
    // The window's place and size come back with the grid's layout.
    PropSaveMain1->FormSavePos = true;
    rDBGridsPropSave1 = new TrDBGridsPropSave(this);
    rDBGridsPropSave1->SetName(QStringLiteral("rDBGridsPropSave1"));
    rDBGridsPropSave1->SetPropSaveMain(PropSaveMain1);
    rDBGridsPropSave1->StoreColumnsProp = true;
    rDBGridsPropSave1->StoreFieldsGroup = true;
    rDBGridsPropSave1->StoreFilterSetting = true;
    rDBGridsPropSave1->Components.Add(QStringLiteral("rdbgrdResultsClass"));
    ParioCompsPropSave1 = new TParioCompsPropSave(this);
    ParioCompsPropSave1->SetName(QStringLiteral("ParioCompsPropSave1"));
    ParioCompsPropSave1->SetPropSaveMain(PropSaveMain1);
    ParioCompsPropSave1->Components.Add(QStringLiteral("grpMainAreaDetails"));
}

void TformMain::ReadLayout()
{
    // The file as it is now on disk: an upgrade may have removed it.
    PropSaveFile1->LoadFile();
    PropSaveFile1->DisableAll = false;
    PropSaveMain1->ReadProperties();
    // The coordinator reads a maximised window as its normal bounds and
    // leaves the maximising to the window's activation, which this window
    // does not hand over to it.
    if (PropSaveMain1->IsMaximized) {
        PropSaveMain1->IsMaximized = false;
        SetWindowState(wsMaximized);
    }
}

void TformMain::SaveLayout()
{
    if (PropSaveFile1->DisableAll)
        return;
    PropSaveMain1->SaveProperties();
    PropSaveFile1->SaveFileSilent();
}
