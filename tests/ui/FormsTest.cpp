// Form life cycle, modal results through the test hook, keys and alignment.
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/ExtCtrls.h"

#include <QStringList>
#include <gtest/gtest.h>

TEST(FormsTest, LifeCycleHandlersRunInOrder)
{
    QStringList log;
    auto* f = new TForm(nullptr);
    f->OnCreate = [&](TComponent*) { log << "create"; };
    f->OnShow = [&](TComponent*) { log << "show"; };
    f->OnActivate = [&](TComponent*) { log << "activate"; };
    f->OnCloseQuery = [&](TComponent*, bool& can) { log << "closequery"; can = true; };
    f->OnClose = [&](TComponent*, TCloseAction&) { log << "close"; };
    f->OnHide = [&](TComponent*) { log << "hide"; };
    f->OnDestroy = [&](TComponent*) { log << "destroy"; };
    auto old = SetModalHook([](TCustomForm*) { return int(mrOk); });
    EXPECT_EQ(f->ShowModal(), mrOk);
    SetModalHook(old);
    delete f;
    EXPECT_EQ(log.join(','), QStringLiteral("create,show,activate,closequery,close,hide,destroy"));
}

TEST(FormsTest, ModalButtonClickSetsTheResultAndRefusedCloseKeepsItOpen)
{
    auto* f = new TForm(nullptr);
    auto* b = new TButton(f);
    b->SetParent(f);
    b->SetModalResult(mrYes);
    int queries = 0;
    f->OnCloseQuery = [&](TComponent*, bool& can) { can = ++queries > 1; };
    auto old = SetModalHook([&](TCustomForm* form) {
        b->Click();                       // refused the first time
        EXPECT_TRUE(form->Showing());
        b->Click();
        return int(mrNone);
    });
    EXPECT_EQ(f->ShowModal(), mrYes);
    EXPECT_EQ(queries, 2);
    SetModalHook(old);
    delete f;
}

TEST(FormsTest, AlignmentCarvesTheClientArea)
{
    auto* f = new TForm(nullptr);
    f->SetBounds(0, 0, 300, 200);
    auto* top = new TPanel(f);
    top->SetParent(f);
    top->SetHeight(30);
    top->SetAlign(alTop);
    auto* left = new TPanel(f);
    left->SetParent(f);
    left->SetWidth(50);
    left->SetAlign(alLeft);
    auto* client = new TPanel(f);
    client->SetParent(f);
    client->SetAlign(alClient);
    f->AfterConstruction();
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 30));
    EXPECT_EQ(left->BoundsRect(), Rect(0, 30, 50, 200));
    EXPECT_EQ(client->BoundsRect(), Rect(50, 30, 300, 200));
    f->SetBounds(0, 0, 400, 250);
    EXPECT_EQ(client->BoundsRect(), Rect(50, 30, 400, 250));
    delete f;
}

TEST(FormsTest, LoadedRunsForOwnedComponentsBeforeCreate)
{
    struct Probe : TComponent {
        using TComponent::TComponent;
        QStringList* Log = nullptr;
        void Loaded() override
        {
            TComponent::Loaded();
            *Log << "loaded";
        }
    };
    QStringList log;
    auto* f = new TForm(nullptr);
    auto* p = new Probe(f);
    p->Log = &log;
    EXPECT_TRUE(p->Loading());
    f->OnCreate = [&](TComponent*) { log << "create"; };
    f->AfterConstruction();
    EXPECT_FALSE(p->Loading());
    EXPECT_EQ(log.join(','), QStringLiteral("loaded,create"));
    delete f;
}
