#include "components/framed/FcPanelDockManager.h"

#include "components/framed/FcSystem.h"

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

TFcPanelDockManager::TFcPanelDockManager(TFcCustomPanel* Panel) : FPanel(Panel)
{
    FFont.SetName(QStringLiteral("Verdana"));
    FFont.SetSize(8);
    FCloseFont.SetName(QStringLiteral("Marlett"));
    FCloseFont.SetSize(8);
    Panel->DoubleBuffered = true;
    FSettle = std::make_unique<TTimer>(nullptr);
    FSettle->SetEnabled(false);
    FSettle->SetInterval(FloatSettleMs);
    FSettle->OnTimer = [this](TComponent*) {
        FSettle->SetEnabled(false);
        DockSettledFloats();
    };
}

TFcPanelDockManager::~TFcPanelDockManager()
{
    // floating clients leave their windows before those go
    for (auto& [client, window] : FFloating) {
        client->SetParent(nullptr);
        window->OnClose = nullptr;
        window->OnMove = nullptr;
        delete window;
    }
}

void TFcPanelDockManager::Forget(TComponent* Component)
{
    for (auto it = FFloating.begin(); it != FFloating.end();)
        it = it->first == Component || it->second == Component ? FFloating.erase(it) : std::next(it);
    for (TControl* c : FClients)
        if (static_cast<TComponent*>(c) == Component) {
            RemoveControl(c);
            break;
        }
}

bool TFcPanelDockManager::VerticalGrabbers() const
{
    return FPanel->Align() == alTop || FPanel->Align() == alBottom;
}

TFcDockZone* TFcPanelDockManager::LeafOf(TControl* Client) const
{
    std::function<TFcDockZone*(TFcDockZone*)> find = [&](TFcDockZone* Z) -> TFcDockZone* {
        if (!Z)
            return nullptr;
        if (Z->Client == Client)
            return Z;
        for (auto& c : Z->Children)
            if (TFcDockZone* f = find(c.get()))
                return f;
        return nullptr;
    };
    return Client ? find(FRoot.get()) : nullptr;
}

namespace {

// Puts Child in Split at Index with a weight; the split owns it.
void PutChild(TFcDockZone* Split, size_t Index, std::unique_ptr<TFcDockZone> Child, int Weight)
{
    Child->Parent = Split;
    Split->Children.insert(Split->Children.begin() + long(Index), std::move(Child));
    Split->Weights.insert(Split->Weights.begin() + long(Index), std::max(1, Weight));
}

size_t IndexIn(const TFcDockZone* Split, const TFcDockZone* Child)
{
    for (size_t i = 0; i < Split->Children.size(); ++i)
        if (Split->Children[i].get() == Child)
            return i;
    return 0;
}

}  // namespace

void TFcPanelDockManager::InsertControl(TControl* Client, TAlign InsertAt, TControl* Target)
{
    if (std::find(FClients.begin(), FClients.end(), Client) != FClients.end())
        return;
    FClients.push_back(Client);
    Client->FreeNotification(FPanel);
    Client->SetParent(FPanel);
    Client->SetVisible(true);
    auto leaf = std::make_unique<TFcDockZone>();
    leaf->Client = Client;
    TFcDockZone* target = Target ? LeafOf(Target) : nullptr;
    if (!FRoot) {
        FRoot = std::move(leaf);
    } else if (target) {
        // beside the target: in its split when that runs the same way, else in a new split of its own
        const bool sideBySide = InsertAt == alLeft || InsertAt == alRight;
        const bool before = InsertAt == alLeft || InsertAt == alTop;
        TFcDockZone* parent = target->Parent;
        if (parent && parent->SideBySide == sideBySide) {
            const size_t at = IndexIn(parent, target);
            const int half = std::max(1, parent->Weights[at] / 2);
            parent->Weights[at] -= half;
            PutChild(parent, before ? at : at + 1, std::move(leaf), half);
        } else {
            auto split = std::make_unique<TFcDockZone>();
            split->SideBySide = sideBySide;
            TFcDockZone* s = split.get();
            std::unique_ptr<TFcDockZone> old;
            int weight = 100;
            if (parent) {
                const size_t at = IndexIn(parent, target);
                weight = parent->Weights[at];
                old = std::move(parent->Children[at]);
                split->Parent = parent;
                parent->Children[at] = std::move(split);
            } else {
                old = std::move(FRoot);
                FRoot = std::move(split);
            }
            (void)weight;
            PutChild(s, 0, std::move(old), 100);
            PutChild(s, before ? 0 : 1, std::move(leaf), 100);
        }
    } else {
        // after the others: side by side under a top or bottom panel, else stacked
        const bool sideBySide = VerticalGrabbers();
        if (FRoot->Client || FRoot->SideBySide != sideBySide) {
            auto split = std::make_unique<TFcDockZone>();
            split->SideBySide = sideBySide;
            PutChild(split.get(), 0, std::move(FRoot), 100);
            FRoot = std::move(split);
        }
        int total = 0;
        for (int w : FRoot->Weights)
            total += w;
        PutChild(FRoot.get(), FRoot->Children.size(), std::move(leaf), total / int(FRoot->Children.size()));
    }
    ResetBounds();
}

void TFcPanelDockManager::Collapse(TFcDockZone* Zone)
{
    TFcDockZone* parent = Zone->Parent;
    if (!parent) {
        FRoot.reset();
        return;
    }
    const size_t at = IndexIn(parent, Zone);
    const int weight = parent->Weights[at];
    parent->Children.erase(parent->Children.begin() + long(at));
    parent->Weights.erase(parent->Weights.begin() + long(at));
    // the neighbour takes the room
    if (!parent->Weights.empty())
        parent->Weights[std::min(at, parent->Weights.size() - 1)] += weight;
    if (parent->Children.size() != 1)
        return;
    // a split of one is that one
    std::unique_ptr<TFcDockZone> only = std::move(parent->Children.front());
    TFcDockZone* grand = parent->Parent;
    only->Parent = grand;
    if (!grand) {
        FRoot = std::move(only);
    } else {
        grand->Children[IndexIn(grand, parent)] = std::move(only);
    }
}

void TFcPanelDockManager::RemoveControl(TControl* Client)
{
    FClients.erase(std::remove(FClients.begin(), FClients.end(), Client), FClients.end());
    if (TFcDockZone* leaf = LeafOf(Client))
        Collapse(leaf);
    ResetBounds();
}

TRect TFcPanelDockManager::ZoneRect(int Index) const
{
    return ZoneRectOf(Clients(Index));
}

TRect TFcPanelDockManager::ZoneRectOf(TControl* Client) const
{
    const TFcDockZone* leaf = LeafOf(Client);
    return leaf ? leaf->Bounds : TRect();
}

void TFcPanelDockManager::AdjustDockRect(TControl*, TRect& R) const
{
    if (VerticalGrabbers())
        R.Left += FGrabberSize;
    else
        R.Top += FGrabberSize;
}

TRect TFcPanelDockManager::GrabberRect(const TRect& Z) const
{
    return VerticalGrabbers() ? Rect(Z.Left, Z.Top, Z.Left + FGrabberSize, Z.Bottom)
                              : Rect(Z.Left, Z.Top, Z.Right, Z.Top + FGrabberSize);
}

TRect TFcPanelDockManager::CloseRect(const TRect& Z) const
{
    return VerticalGrabbers() ? Rect(Z.Left + 1, Z.Top + 1, Z.Left + FGrabberSize - 2, Z.Top + 12)
                              : Rect(Z.Right - FGrabberSize - 1, Z.Top + 1, Z.Right - 2, Z.Top + 12);
}

void TFcPanelDockManager::Layout(TFcDockZone* Zone, const TRect& R)
{
    Zone->Bounds = R;
    if (Zone->Client) {
        TRect r = R;
        AdjustDockRect(Zone->Client, r);
        Zone->Client->SetBounds(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
        return;
    }
    const int n = int(Zone->Children.size());
    int total = 0;
    for (int w : Zone->Weights)
        total += w;
    const int room = std::max(0, (Zone->SideBySide ? R.Width() : R.Height()) - SplitterSize * (n - 1));
    int pos = Zone->SideBySide ? R.Left : R.Top;
    const int end = Zone->SideBySide ? R.Right : R.Bottom;
    for (int i = 0; i < n; ++i) {
        const int size = i == n - 1 ? end - pos : room * Zone->Weights[size_t(i)] / std::max(1, total);
        const TRect part = Zone->SideBySide ? Rect(pos, R.Top, pos + size, R.Bottom) : Rect(R.Left, pos, R.Right, pos + size);
        Layout(Zone->Children[size_t(i)].get(), part);
        pos += size + SplitterSize;
    }
}

void TFcPanelDockManager::ResetBounds()
{
    if (FRoot)
        Layout(FRoot.get(), FPanel->FixClientRect(FPanel->ClientRect(), true));
    FPanel->Invalidate();
}

void TFcPanelDockManager::PaintSite(TCanvas* Canvas)
{
    for (TControl* c : FClients)
        PaintDockFrame(Canvas, c, ZoneRectOf(c));
}

void TFcPanelDockManager::PaintDockFrame(TCanvas* C, TControl* Client, const TRect& R)
{
    if (!FPanel->ShowDockClientCaptions) {
        PaintPlainGrabber(C, R);
        return;
    }
    // 1./2. the caption in the active or inactive caption colours
    const QString text = Client->Caption();
    C->SetFont(FFont);
    auto* windowed = dynamic_cast<TWinControl*>(Client);
    const bool active = !windowed || windowed->Focused();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(active ? clActiveCaption : clInactiveCaption);
    C->Font()->SetColor(active ? clCaptionText : clInactiveCaptionText);
    const TRect bar = GrabberRect(R);
    C->FillRect(bar);
    if (!VerticalGrabbers()) {
        // 3.
        C->TextRect(bar, bar.Left + 2, bar.Top, text);
    } else {
        // 4. turned to read upwards
        C->SetFont(RotateFont(FFont, 90));
        C->Font()->SetColor(clCaptionText);
        const int saved = C->SaveDC();
        C->IntersectClipRect(bar);
        C->TextOut(bar.Right - 2 - C->TextMetrics().tmHeight, bar.Bottom - 3, text);
        C->RestoreDC(saved);
    }
    // 5. the close mark
    C->SetFont(FFont);
    DrawCloseMark(C, CloseRect(R), active ? clCaptionText : clInactiveCaptionText);
}

void TFcPanelDockManager::DrawCloseMark(TCanvas* C, const TRect& Close, TColor Color)
{
    C->Pen()->SetColor(Color);
    C->MoveTo(Close.Left + 2, Close.Top + 2);
    C->LineTo(Close.Right - 2, Close.Bottom - 2);
    C->MoveTo(Close.Right - 3, Close.Top + 2);
    C->LineTo(Close.Left + 1, Close.Bottom - 2);
}

void TFcPanelDockManager::PaintPlainGrabber(TCanvas* C, const TRect& R)
{
    // the dock tree's own frame: two raised grab lines along the grabber and a
    // small close button at its start (vertical) or end (horizontal)
    const TRect bar = GrabberRect(R);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(bar);
    const TRect close = CloseRect(R);
    TRect button = close;
    DrawEdge(C, button, EDGE_RAISED, BF_RECT);
    DrawCloseMark(C, close, clBtnText);
    for (int offset : {3, 7}) {
        TRect line = VerticalGrabbers() ? Rect(bar.Left + offset, close.Bottom + 3, bar.Left + offset + 3, bar.Bottom - 2)
                                        : Rect(bar.Left + 2, bar.Top + offset, close.Left - 3, bar.Top + offset + 3);
        if (!line.IsEmpty())
            DrawEdge(C, line, BDR_RAISEDINNER, BF_RECT);
    }
}

TFcPanelDockManager::TSplitterHit TFcPanelDockManager::SplitterAt(TPoint P) const
{
    TSplitterHit hit;
    std::function<void(TFcDockZone*)> look = [&](TFcDockZone* Z) {
        if (!Z || Z->Client || hit.Split)
            return;
        for (size_t i = 0; i + 1 < Z->Children.size(); ++i) {
            const TRect a = Z->Children[i]->Bounds;
            const TRect bar = Z->SideBySide ? Rect(a.Right, a.Top, a.Right + SplitterSize, a.Bottom)
                                            : Rect(a.Left, a.Bottom, a.Right, a.Bottom + SplitterSize);
            if (bar.Contains(P)) {
                hit = {Z, int(i)};
                return;
            }
        }
        for (auto& c : Z->Children)
            look(c.get());
    };
    look(FRoot.get());
    return hit;
}

TCursor TFcPanelDockManager::CursorAt(int X, int Y) const
{
    const TSplitterHit hit = FSizing.Split ? FSizing : SplitterAt(Point(X, Y));
    if (!hit.Split)
        return crDefault;
    return hit.Split->SideBySide ? crHSplit : crVSplit;
}

TControl* TFcPanelDockManager::DropTarget(TPoint P, TAlign& Side) const
{
    Side = alNone;
    for (TControl* c : FClients) {
        const TRect z = ZoneRectOf(c);
        if (!z.Contains(P) || z.Width() <= 0 || z.Height() <= 0)
            continue;
        // the nearest edge of the zone says where the new one goes
        const double left = double(P.X - z.Left) / z.Width(), top = double(P.Y - z.Top) / z.Height();
        const double d[4] = {left, 1 - left, top, 1 - top};
        const TAlign sides[4] = {alLeft, alRight, alTop, alBottom};
        Side = sides[std::min_element(d, d + 4) - d];
        return c;
    }
    return nullptr;
}

void TFcPanelDockManager::DockDrop(TControl* Client, TPoint P)
{
    TAlign side = alNone;
    TControl* target = DropTarget(P, side);
    if (target == Client)
        return;
    TForm* floating = nullptr;
    if (auto it = FFloating.find(Client); it != FFloating.end()) {
        floating = it->second;
        FFloating.erase(it);
    }
    if (std::find(FClients.begin(), FClients.end(), Client) != FClients.end())
        RemoveControl(Client);
    InsertControl(Client, side, target);
    delete floating;  // the window it floated in is empty now
}

TForm* TFcPanelDockManager::Undock(TControl* Client, TPoint ScreenPoint)
{
    RemoveControl(Client);
    // the window belongs to the site's window, so nothing outlives it
    auto* window = new TForm(GetParentForm(FPanel));
    window->SetCaption(Client->Caption());
    window->SetBorderStyle(bsSizeToolWin);
    window->SetBounds(ScreenPoint.X, ScreenPoint.Y, std::max(80, Client->Width()), std::max(40, Client->Height()));
    Client->SetParent(window);
    Client->SetBounds(0, 0, window->ClientWidth(), window->ClientHeight());
    window->OnResize = [Client, window](TComponent*) { Client->SetBounds(0, 0, window->ClientWidth(), window->ClientHeight()); };
    // closing the window brings the client home rather than losing it
    window->OnClose = [this, Client](TComponent*, TCloseAction& Action) {
        FFloating.erase(Client);
        Action = caFree;  // released once the close is over
        TFcDockZone* root = FRoot.get();
        DockDrop(Client, root ? Point(root->Bounds.Right - 1, root->Bounds.Bottom - 1) : Point(0, 0));
    };
    // dragged back by its caption, the window docks again once it rests over the site
    window->OnMove = [this, window](TComponent*) {
        if (!FloatOverSite(window))
            return;
        FSettle->SetEnabled(false);  // each move starts the wait again
        FSettle->SetEnabled(true);
    };
    FFloating[Client] = window;
    window->Show();
    return window;
}

TPoint TFcPanelDockManager::FloatCaptionPoint(const TForm* Window)
{
    // the middle of the window's top edge, just under the caption it is dragged by
    return Point(Window->Left() + Window->Width() / 2, Window->Top());
}

bool TFcPanelDockManager::FloatOverSite(const TForm* Window) const
{
    const TPoint p = FPanel->ScreenToClient(FloatCaptionPoint(Window));
    return FPanel->Showing() && FPanel->ClientRect().Contains(p);
}

void TFcPanelDockManager::DockSettledFloats()
{
    for (const auto& [client, window] : std::map<TControl*, TForm*>(FFloating))
        if (FloatOverSite(window)) {
            window->OnMove = nullptr;
            DockDrop(client, FPanel->ScreenToClient(FloatCaptionPoint(window)));
        }
}

bool TFcPanelDockManager::MouseDown(int X, int Y)
{
    const TPoint p = Point(X, Y);
    for (TControl* c : FClients)
        if (CloseRect(ZoneRectOf(c)).Contains(p)) {
            RemoveControl(c);
            c->SetVisible(false);
            return true;
        }
    FSizing = SplitterAt(p);
    if (FSizing.Split) {
        // where in the bar it was taken: the bar keeps that spot under the pointer
        const TRect a = FSizing.Split->Children[size_t(FSizing.Index)]->Bounds;
        FSizingGrab = FSizing.Split->SideBySide ? X - a.Right : Y - a.Bottom;
        return true;
    }
    for (TControl* c : FClients)
        if (GrabberRect(ZoneRectOf(c)).Contains(p)) {
            FDragging = c;
            FDragStart = p;
            FDragMoved = false;
            return true;
        }
    return false;
}

bool TFcPanelDockManager::MouseMove(int X, int Y)
{
    if (FSizing.Split) {
        // the two zones beside the bar share their room as the bar moves
        TFcDockZone* s = FSizing.Split;
        const size_t i = size_t(FSizing.Index);
        for (size_t k = 0; k < s->Children.size(); ++k) {
            const TRect b = s->Children[k]->Bounds;
            s->Weights[k] = std::max(1, s->SideBySide ? b.Width() : b.Height());
        }
        const TRect a = s->Children[i]->Bounds, b = s->Children[i + 1]->Bounds;
        const int start = s->SideBySide ? a.Left : a.Top;
        const int both = s->Weights[i] + s->Weights[i + 1];
        const int first = std::clamp((s->SideBySide ? X : Y) - FSizingGrab - start, 20, std::max(20, both - 20));
        s->Weights[i] = first;
        s->Weights[i + 1] = std::max(1, both - first);
        (void)b;
        ResetBounds();
        return true;
    }
    if (FDragging) {
        FDragMoved = FDragMoved || std::abs(X - FDragStart.X) + std::abs(Y - FDragStart.Y) > 3;
        return true;
    }
    return false;
}

bool TFcPanelDockManager::MouseUp(int X, int Y)
{
    if (FSizing.Split) {
        FSizing = {};
        return true;
    }
    if (!FDragging)
        return false;
    TControl* client = FDragging;
    FDragging = nullptr;
    if (!FDragMoved)
        return true;
    const TRect site = FPanel->ClientRect();
    if (site.Contains(Point(X, Y)))
        DockDrop(client, Point(X, Y));
    else
        Undock(client, FPanel->ClientToScreen(Point(X, Y)));
    return true;
}
