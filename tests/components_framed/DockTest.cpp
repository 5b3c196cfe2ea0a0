// Docking into a framed panel: zones, 14-pixel grabbers, the close mark.
#include "components/framed/FcPanelDockManager.h"
#include "components/framed/FcEdit.h"
#include "platform/ui/Forms.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// A window with a dock site 200 wide at its left and panels to dock into it.
struct LeftSite {
    explicit LeftSite(int Clients)
    {
        form->SetBounds(0, 0, 400, 400);
        site = new TFcPanel(form.get());
        site->SetParent(form.get());
        site->SetBorderOuter(fsNone);
        site->SetAlign(alLeft);
        site->SetWidth(200);
        for (int i = 0; i < Clients; ++i) {
            clients.push_back(new TFcPanel(form.get()));
            clients.back()->SetCaption(QStringLiteral("Lukija"));
        }
        form->AfterConstruction();
        site->SetDockSite(true);
    }
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TFcPanel* site = nullptr;
    std::vector<TFcPanel*> clients;
};

}  // namespace

TEST(DockManagerTest, GrabbersAndClients)
{
    LeftSite f(2);
    TFcPanel* site = f.site;
    std::vector<TFcPanel*>& clients = f.clients;
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

namespace {

struct DockSite : ::testing::Test {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TFcPanel* site = nullptr;
    TFcEdit* clients[3] = {};
    TFcPanelDockManager* dm = nullptr;

    void SetUp() override
    {
        form->SetBounds(100, 100, 500, 400);
        site = new TFcPanel(form.get());
        site->SetParent(form.get());
        site->SetBorderOuter(fsNone);
        site->SetAlign(alLeft);
        site->SetWidth(300);
        const char* captions[] = {"Lukija", "Tulostin", "Taulu"};
        for (int i = 0; i < 3; ++i) {
            clients[i] = new TFcEdit(form.get());
            clients[i]->SetCaption(QLatin1String(captions[i]));
        }
        form->AfterConstruction();
        site->SetDockSite(true);
        dm = site->DockManager();
        form->Show();
        Application->ProcessMessages();
    }
    QWidget* W() const { return site->Widget(); }
    static QPoint Q(const TPoint& P) { return QPoint(P.X, P.Y); }
    // A press, a move in steps and a release on the site, as the mouse does them.
    void Drag(const TPoint& From, const TPoint& To)
    {
        QTest::mousePress(W(), Qt::LeftButton, {}, Q(From));
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(W(), Q(Point(From.X + (To.X - From.X) * step / 4, From.Y + (To.Y - From.Y) * step / 4)));
        QTest::mouseRelease(W(), Qt::LeftButton, {}, Q(To));
    }
};

}  // namespace

TEST_F(DockSite, TheBarBetweenTwoZonesResizesThem)
{
    dm->InsertControl(clients[0]);
    dm->InsertControl(clients[1]);
    const TRect first = dm->ZoneRectOf(clients[0]);
    const TPoint bar = Point(first.Left + 50, first.Bottom + 1);
    EXPECT_EQ(dm->CursorAt(bar.X, bar.Y), crVSplit);
    Drag(bar, Point(bar.X, bar.Y + 60));
    EXPECT_EQ(dm->ZoneRectOf(clients[0]).Height(), first.Height() + 60);
    EXPECT_EQ(dm->ZoneRectOf(clients[1]).Top, first.Bottom + 60 + TFcPanelDockManager::SplitterSize);
}

TEST_F(DockSite, AGrabberDraggedBesideAnotherZoneSplitsIt)
{
    dm->InsertControl(clients[0]);
    dm->InsertControl(clients[1]);
    // the second client's grabber to the right edge of the first zone
    const TRect from = dm->GrabberRect(dm->ZoneRectOf(clients[1]));
    const TRect target = dm->ZoneRectOf(clients[0]);
    Drag(Point(from.Left + 20, from.Top + 5), Point(target.Right - 5, target.Top + target.Height() / 2));
    const TRect a = dm->ZoneRectOf(clients[0]), b = dm->ZoneRectOf(clients[1]);
    EXPECT_EQ(a.Top, b.Top) << "now side by side";
    EXPECT_LT(a.Right, b.Left);
    ASSERT_NE(dm->RootZone(), nullptr);
    EXPECT_TRUE(dm->RootZone()->SideBySide);
    // a third one dropped on the bottom edge of the second zone splits that zone only
    dm->InsertControl(clients[2], alBottom, clients[1]);
    EXPECT_EQ(dm->ZoneRectOf(clients[2]).Left, dm->ZoneRectOf(clients[1]).Left);
    EXPECT_GT(dm->ZoneRectOf(clients[2]).Top, dm->ZoneRectOf(clients[1]).Top);
    EXPECT_EQ(dm->ZoneRectOf(clients[0]).Height(), dm->RootZone()->Bounds.Height()) << "the first zone keeps its full height";
}

TEST_F(DockSite, AGrabberDraggedOutUndocksAndClosingDocksBack)
{
    dm->InsertControl(clients[0]);
    dm->InsertControl(clients[1]);
    const TRect from = dm->GrabberRect(dm->ZoneRectOf(clients[0]));
    Drag(Point(from.Left + 20, from.Top + 5), Point(site->Width() + 80, 40));
    EXPECT_EQ(dm->ClientCount(), 1);
    auto* window = dynamic_cast<TForm*>(clients[0]->Parent());
    ASSERT_NE(window, nullptr) << "the client floats in a window of its own";
    EXPECT_EQ(window->Caption(), QStringLiteral("Lukija"));
    EXPECT_TRUE(window->Showing());
    EXPECT_EQ(dm->ZoneRectOf(clients[1]).Top, 0) << "the other client has the whole site";
    window->Close();
    Application->ProcessMessages();
    EXPECT_EQ(dm->ClientCount(), 2) << "closing the window brings the client home";
    EXPECT_EQ(clients[0]->Parent(), site);
}

TEST_F(DockSite, GrabbersFollowTheFocus)
{
    dm->InsertControl(clients[0]);
    dm->InsertControl(clients[1]);
    auto grabberColour = [&](int i) {
        TBitmap shot;
        site->PaintTo(&shot);
        const TRect g = dm->GrabberRect(dm->ZoneRectOf(clients[i]));
        return shot.Pixel(g.Left + g.Width() / 2, g.Top + 2);
    };
    clients[1]->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(grabberColour(1), ColorToRGB(clActiveCaption));
    EXPECT_EQ(grabberColour(0), ColorToRGB(clInactiveCaption));
    clients[0]->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(grabberColour(0), ColorToRGB(clActiveCaption));
    EXPECT_EQ(grabberColour(1), ColorToRGB(clInactiveCaption));
}

TEST_F(DockSite, AFloatingWindowMovedOverTheSiteDocksOnceItRests)
{
    dm->InsertControl(clients[0]);
    dm->InsertControl(clients[1]);
    const TRect from = dm->GrabberRect(dm->ZoneRectOf(clients[0]));
    Drag(Point(from.Left + 20, from.Top + 5), Point(site->Width() + 80, 40));
    auto* window = dynamic_cast<TForm*>(clients[0]->Parent());
    ASSERT_NE(window, nullptr);
    // moved about outside the site it stays afloat
    window->SetLeft(window->Left() + 30);
    QTest::qWait(TFcPanelDockManager::FloatSettleMs + 200);
    EXPECT_EQ(clients[0]->Parent(), window);
    // dragged by its caption over the lower part of the site, it docks there
    const TPoint target = site->ClientToScreen(Point(100, site->Height() - 40));
    window->SetBounds(target.X - window->Width() / 2, target.Y, window->Width(), window->Height());
    QTest::qWait(TFcPanelDockManager::FloatSettleMs + 200);
    Application->ProcessMessages();
    EXPECT_EQ(clients[0]->Parent(), site) << "home again";
    EXPECT_EQ(dm->ClientCount(), 2);
    EXPECT_GT(dm->ZoneRectOf(clients[0]).Top, dm->ZoneRectOf(clients[1]).Top) << "below the other one";
}

TEST(DockManagerTest, WithoutCaptionsTheGrabberHasGrabLinesAndACloseButton)
{
    LeftSite f(1);
    TFcPanel* site = f.site;
    TFcPanel* client = f.clients[0];
    site->ShowDockClientCaptions = false;
    TFcPanelDockManager* dm = site->DockManager();
    dm->InsertControl(client);
    const TRect zone = dm->ZoneRect(0);
    const TRect close = dm->CloseRect(zone);
    TBitmap shot;
    site->PaintTo(&shot);
    EXPECT_NE(shot.Pixel(20, zone.Top + 3), ColorToRGB(clBtnFace)) << "the upper grab line's lit edge";
    EXPECT_NE(shot.Pixel(20, zone.Top + 5), ColorToRGB(clBtnFace)) << "and its shadow";
    EXPECT_NE(shot.Pixel(20, zone.Top + 7), ColorToRGB(clBtnFace)) << "the second line";
    EXPECT_EQ(shot.Pixel(20, zone.Top + 1), ColorToRGB(clBtnFace));
    EXPECT_NE(shot.Pixel(close.Left + 3, close.Top + 3), ColorToRGB(clBtnFace)) << "the close mark";
    static_cast<TControl*>(site)->MouseDown(mbLeft, ssLeft, close.Left + 2, close.Top + 2);
    EXPECT_FALSE(client->Visible()) << "and it still closes";
}
