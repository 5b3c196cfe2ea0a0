// The grid action module on two windows: the main results window (grid Tag
// 129: no editing, no close) with the action tool bar, and an editor window
// (Tag 0) with tool bar and edit bar while a record is being edited.
// Screenshots go into the folder given as the first argument (default
// "gallery_gridactions"); run under Xvfb.

#include "components/grid/TrDBAction.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/ClientDataSet.h"
#include "platform/database/DataSource.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"

#include <QDir>

namespace {

std::unique_ptr<TClientDataSet> Runs()
{
    auto d = std::make_unique<TClientDataSet>();
    d->AddField(QStringLiteral("NRO"), ftInteger);
    d->AddField(QStringLiteral("NIMI"), ftWideString, 30);
    d->AddField(QStringLiteral("SEURA"), ftWideString, 20);
    d->AddField(QStringLiteral("AIKA"), ftInteger);
    d->CreateDataSet();
    const char* names[] = {"Virtanen Aino", "Korhonen Eero", "Mäkinen Liisa", "Nieminen Matti", "Hämäläinen Säde", "Laine Juha"};
    const char* clubs[] = {"Rasti-Helsinki", "OK Espoo", "Kiito-Tampere"};
    for (int i = 0; i < 6; ++i)
        d->AppendRecord({i + 101, QString::fromUtf8(names[i]), QString::fromUtf8(clubs[i % 3]), 1800 + i * 97});
    d->First();
    return d;
}

}  // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery_gridactions");
    QDir().mkpath(out);
    TrDBAction* actions = nullptr;
    Application->CreateForm(actions);
    auto data = Runs();
    TDataSource src;
    src.SetDataSet(data.get());

    auto settle = [] {
        for (int i = 0; i < 5; ++i)
            Application->ProcessMessages();
    };
    auto shot = [&](const char* Name, TControl* C) {
        settle();
        TBitmap b;
        C->PaintTo(&b);
        b.SaveToFile(out + QStringLiteral("/%1.png").arg(QLatin1String(Name)));
    };

    TForm* f = nullptr;
    Application->CreateForm(f);
    f->SetCaption(QStringLiteral("Tulokset"));
    f->SetBounds(20, 20, 620, 300);
    actions->CreateToolBar(f);
    auto* grid = new TrDBGrid(f);
    grid->SetParent(f);
    grid->SetAlign(alClient);
    grid->SetDataSource(&src);
    grid->Tag = 129;
    f->Show();
    actions->SetActiveGrid(grid);
    shot("results_toolbar", f);

    TForm* e = nullptr;
    Application->CreateForm(e);
    e->SetCaption(QStringLiteral("Henkilöt"));
    e->SetBounds(60, 60, 700, 330);
    actions->CreateToolBar(e);
    actions->CreateEditBar(e);
    auto* egrid = new TrDBGrid(e);
    egrid->SetParent(e);
    egrid->SetAlign(alClient);
    egrid->SetDataSource(&src);
    e->Show();
    actions->SetActiveGrid(egrid);
    shot("editor_browsing", e);
    data->Edit();
    actions->RefreshAction();
    shot("editor_editing", e);
    data->Cancel();
    return 0;
}
