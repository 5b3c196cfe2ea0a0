// The report, export and grid classes tell the library's general event hook
// that one of them was created and, after a form's loading, loaded.
#include "components/base/ParioCompGlobalCfg.h"
#include "components/grid/rDBGrid.h"
#include "components/output/TRTFReport2.h"
#include "components/output/TSLKExport.h"
#include "components/output/TTXTExport.h"
#include "components/output/TrXLSExport.h"
#include "components/output/TrXMLReport.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <typeinfo>
#include <vector>

TEST(GeneralEvents, ReportExportAndGridClassesAnnounceCreationAndLoading)
{
    std::map<TComponent*, std::vector<int>> seen;
    auto oldHook = ParioCompConfig.Global_OnParioCompGeneralEvent;
    ParioCompConfig.Global_OnParioCompGeneralEvent = [&](TComponent* S, int Id, const TGeneralEventParam&, TComponent*, QVariant&) {
        if (Id == pceComponentCreated || Id == pceComponentLoaded)
            seen[S].push_back(Id);
    };
    auto form = std::make_unique<TForm>(nullptr);
    form->BeginLoading();
    auto* grid = new TrDBGrid(form.get());
    grid->SetParent(form.get());
    const std::vector<TComponent*> made = {new TRTFReport2(form.get()), new TrXMLReport(form.get()), new TrXLSExport(form.get()),
                                           new TSLKExport(form.get()), new TTXTExport(form.get()), grid};
    for (TComponent* c : made)
        EXPECT_EQ(seen[c], std::vector<int>{pceComponentCreated}) << typeid(*c).name();
    form->EndLoading();
    for (TComponent* c : made)
        EXPECT_EQ(seen[c], (std::vector<int>{pceComponentCreated, pceComponentLoaded})) << typeid(*c).name();
    ParioCompConfig.Global_OnParioCompGeneralEvent = oldHook;
}
