#include "platform/ui/Menus.h"

#include "platform/ui/ActnList.h"
#include "platform/ui/ControlWidget.h"
#include "platform/ui/Forms.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

std::function<void(TPopupMenu*)> TPopupMenu::PopupHook;

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem()
{
    if (FAction)
        FAction->UnregisterClient(this);
    if (FParentItem)
        FParentItem->Remove(this);
    // sub-items without an owner belong to their parent item
    for (TMenuItem* i : std::vector<TMenuItem*>(FItems)) {
        i->FParentItem = nullptr;
        if (!i->Owner())
            delete i;
    }
}

void TMenuItem::SetAction(TBasicAction* Value)
{
    if (FAction)
        FAction->UnregisterClient(this);
    FAction = Value;
    if (FAction) {
        FAction->RegisterClient(this);
        FAction->FreeNotification(this);
        ActionChange(FAction);
    }
}

void TMenuItem::ActionChange(TBasicAction* Sender)
{
    if (auto* a = dynamic_cast<TCustomAction*>(Sender)) {
        FCaption = a->Caption();
        FHint = a->Hint();
        FShortCut = a->ShortCut();
        FImageIndex = a->ImageIndex();
        FEnabled = a->Enabled();
        FVisible = a->Visible();
        FChecked = a->Checked();
    }
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FAction)
        FAction = nullptr;
}

void TMenuItem::Add(TMenuItem* Item)
{
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (Item->FParentItem)
        Item->FParentItem->Remove(Item);
    Item->FParentItem = this;
    FItems.insert(FItems.begin() + std::clamp(Index, 0, Count()), Item);
}

void TMenuItem::Remove(TMenuItem* Item)
{
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    if (it != FItems.end()) {
        FItems.erase(it);
        Item->FParentItem = nullptr;
    }
}

void TMenuItem::Delete(int Index)
{
    TMenuItem* i = FItems.at(size_t(Index));
    Remove(i);
    delete i;
}

void TMenuItem::Clear()
{
    while (!FItems.empty())
        Delete(Count() - 1);
}

int TMenuItem::IndexOf(const TMenuItem* Item) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i] == Item)
            return int(i);
    return -1;
}

TMenuItem* TMenuItem::Find(const QString& ACaption) const
{
    for (TMenuItem* i : FItems)
        if (StripHotkey(i->Caption()).compare(StripHotkey(ACaption), Qt::CaseInsensitive) == 0)
            return i;
    return nullptr;
}

void TMenuItem::Click()
{
    if (!FEnabled)
        return;
    if (FAutoCheck)
        FChecked = !FChecked;
    if (OnClick)
        OnClick(this);
    else if (FAction)
        FAction->Execute();
}

bool TMenuItem::IsShortCut(TShortCut S)
{
    for (TMenuItem* i : std::vector<TMenuItem*>(FItems)) {
        if (i->FShortCut == S && i->FEnabled && i->FVisible) {
            i->Click();
            return true;
        }
        if (i->IsShortCut(S))
            return true;
    }
    return false;
}

void TMenuItem::FillQMenu(QMenu* Menu)
{
    for (TMenuItem* item : FItems) {
        if (!item->Visible())
            continue;
        if (item->IsLine()) {
            Menu->addSeparator();
            continue;
        }
        if (item->Count() > 0) {
            QMenu* sub = Menu->addMenu(item->Caption());
            sub->setEnabled(item->Enabled());
            item->FillQMenu(sub);
            continue;
        }
        QAction* a = Menu->addAction(item->Caption());
        a->setEnabled(item->Enabled());
        a->setCheckable(item->Checked() || item->AutoCheck());
        a->setChecked(item->Checked());
        if (item->Default()) {
            QFont f = a->font();
            f.setBold(true);
            a->setFont(f);
        }
        a->setToolTip(GetShortHint(item->Hint()));
        if (item->ShortCut() != scNone)
            a->setShortcut(QKeySequence(ShortCutToText(item->ShortCut())));
        a->setShortcutVisibleInContextMenu(true);
        QObject::connect(a, &QAction::triggered, [item] { item->Click(); });
    }
}

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) {}

TMenu::~TMenu()
{
    delete FItems;
}

TMainMenu::~TMainMenu()
{
    delete FBar.data();
}

void TMainMenu::AttachTo(TCustomForm* Form)
{
    FForm = Form;
    if (!FBar) {
        FBar = new QMenuBar(Form->Widget());
        FBar->setFont(Form->Font()->ToQFont());
    }
    Rebuild();
}

void TMainMenu::Rebuild()
{
    if (!FBar)
        return;
    FBar->clear();
    for (int i = 0; i < FItems->Count(); ++i) {
        TMenuItem* top = FItems->Items(i);
        if (!top->Visible())
            continue;
        QMenu* m = FBar->addMenu(top->Caption());
        m->setEnabled(top->Enabled());
        top->FillQMenu(m);
    }
    const int h = FBar->sizeHint().height();
    FBar->setGeometry(0, 0, FForm->Width(), h);
    FBar->show();
    FForm->Padding.Top = h;
    FForm->Realign();
}

void TPopupMenu::Popup(int X, int Y)
{
    if (OnPopup)
        OnPopup(this);
    if (PopupHook) {
        PopupHook(this);
    } else {
        QMenu menu;
        FItems->FillQMenu(&menu);
        menu.exec(QPoint(X, Y));
    }
    if (OnClose)
        OnClose(this);
}

TMenuItem* NewItem(const QString& Caption, TShortCut ShortCut, bool Checked, bool Enabled, TNotifyEvent OnClick, int, const QString& Name)
{
    auto* i = new TMenuItem(nullptr);
    i->SetCaption(Caption);
    i->SetShortCut(ShortCut);
    i->SetChecked(Checked);
    i->SetEnabled(Enabled);
    i->OnClick = std::move(OnClick);
    i->SetName(Name);
    return i;
}

TMenuItem* NewLine()
{
    auto* i = new TMenuItem(nullptr);
    i->SetCaption(QStringLiteral("-"));
    return i;
}
