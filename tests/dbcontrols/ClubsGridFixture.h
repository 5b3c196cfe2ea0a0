#pragma once
// The clubs behind a data grid on the fixture's form, for the grid dialog
// suites; the modal hook a test installs in `previous` goes back afterwards.

#include "components/grid/rDBGrid.h"
#include "platform/ui/Forms.h"
#include "tests/dbcontrols/FbClubsFixture.h"

class ClubsGridFixture : public FbClubsFixture {
protected:
    void SetUp() override
    {
        FbClubsFixture::SetUp();
        grid = new TrDBGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 600, 300);
        grid->SetDataSource(&clubSrc);
    }
    void TearDown() override
    {
        SetModalHook(previous);
        FbClubsFixture::TearDown();
    }
    TrDBGrid* grid = nullptr;
    TModalHook previous;
};
