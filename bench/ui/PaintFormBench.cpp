// Painting a form with 40 controls offscreen.
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include <benchmark/benchmark.h>
#include <memory>

static void BM_PaintFormWith40Controls(benchmark::State& state)
{
    auto* f = new TForm(nullptr);
    f->SetBounds(0, 0, 800, 600);
    for (int i = 0; i < 40; ++i) {
        const int x = 10 + (i % 4) * 190, y = 10 + (i / 4) * 55;
        TControl* c = nullptr;
        switch (i % 8) {
        case 0: c = new TLabel(f); c->SetCaption(QStringLiteral("Nimike %1").arg(i)); break;
        case 1: c = new TEdit(f); c->SetText(QStringLiteral("Teksti %1").arg(i)); break;
        case 2: c = new TButton(f); c->SetCaption(QStringLiteral("Painike")); break;
        case 3: c = new TCheckBox(f); c->SetCaption(QStringLiteral("Valinta")); break;
        case 4: c = new TPanel(f); c->SetCaption(QStringLiteral("Paneeli")); break;
        case 5: c = new TComboBox(f); break;
        case 6: c = new TGroupBox(f); c->SetCaption(QStringLiteral("Ryhmä")); break;
        default: c = new TRadioButton(f); c->SetCaption(QStringLiteral("Vaihtoehto")); break;
        }
        c->SetParent(f);
        c->SetBounds(x, y, 170, 45);
    }
    f->AfterConstruction();
    TBitmap target;
    for (auto _ : state) {
        f->PaintTo(&target);
        benchmark::DoNotOptimize(target.Pixel(5, 5));
    }
    delete f;
}
BENCHMARK(BM_PaintFormWith40Controls)->Unit(benchmark::kMillisecond);
