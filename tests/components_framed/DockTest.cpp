// Docking into a framed panel: zones, 14-pixel grabbers, the close mark.
#include "components/framed/FcPanelDockManager.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>
#include <memory>

TEST(DockManagerTest, GrabbersAndClients)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 400);
    auto* site = new TFcPanel(form.get());
    site->SetParent(form.get());
    site->SetBorderOuter(fsNone);
    site->SetAlign(alLeft);
    site->SetWidth(200);
    TFcPanel* clients[2];
    for (auto*& c : clients) {
        c = new TFcPanel(form.get());
        c->SetCaption(QStringLiteral("Lukija"));
    }
    form->AfterConstruction();
    site->SetDockSite(true);
    TFcPanelDockManager* dm = site->DockManager();
    ASSERT_NE(dm, nullptr);
    dm->InsertControl(clients[0]);
    dm->InsertControl(clients[1]);
    const TRect zone = dm->ZoneRect(1);
    EXPECT_EQ(clients[1]->Top(), zone.Top + 14) << "a horizontal grabber above the client";
    EXPECT_EQ(clients[1]->Left(), zone.Left);
    EXPECT_EQ(dm->GrabberRect(zone).Height(), 14);
    TBitmap shot;
    site->PaintTo(&shot);
    EXPECT_EQ(shot.Pixel(20, zone.Top + 5), ColorToRGB(clInactiveCaption)) << "a windowed client without the focus";

    site->SetAlign(alTop);
    dm->ResetBounds();
    EXPECT_TRUE(dm->VerticalGrabbers());
    EXPECT_EQ(clients[0]->Left(), dm->ZoneRect(0).Left + 14) << "a vertical grabber at the client's left";

    const TRect close = dm->CloseRect(dm->ZoneRect(0));
    static_cast<TControl*>(site)->MouseDown(mbLeft, ssLeft, close.Left + 2, close.Top + 2);
    EXPECT_EQ(dm->ClientCount(), 1);
    EXPECT_FALSE(clients[0]->Visible()) << "the close mark hides the client";
    delete clients[1];
    EXPECT_EQ(dm->ClientCount(), 0) << "a freed client leaves the site";
}
