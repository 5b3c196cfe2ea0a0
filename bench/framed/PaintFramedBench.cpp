// Painting a window of 60 framed controls offscreen (goal: under 10 ms):
// panels in the gradient look, status bars with panes and a clock, radio
// groups, group boxes, check boxes, radio buttons, push buttons and a tool bar.
#include "components/framed/FcButton.h"
#include "components/framed/FcGroupBox.h"
#include "components/framed/FcPanel.h"
#include "components/framed/FcRadChk.h"
#include "components/framed/FcRadGrp.h"
#include "components/framed/FcStatus.h"
#include "components/framed/FcStatusBar.h"
#include "components/framed/FcToolbar.h"
#include "platform/ui/Forms.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

template <class T>
T* Put(TForm* f, TWinControl* parent, int x, int y, int w, int h, const QString& caption = QString())
{
    auto* c = new T(f);
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    if (!caption.isNull())
        c->SetCaption(caption);
    return c;
}

// 60 controls: the counts are kept in the comments as they are added.
TForm* BuildWindow()
{
    auto* f = new TForm(nullptr);
    f->SetBounds(0, 0, 900, 640);
    auto* bar = Put<TFcToolbar>(f, f, 0, 0, 900, 50);  // 1
    bar->SetVisualStyle(vsGradient);
    bar->SetRowHeight(46);
    for (int i = 0; i < 8; ++i)  // 9
        Put<TFcButton>(f, bar, 0, 0, 64, 40, QStringLiteral("Nappi %1").arg(i))->SetHotTrack(true);
    for (int i = 0; i < 8; ++i) {  // 17
        auto* p = Put<TFcPanel>(f, f, 10 + (i % 4) * 220, 60 + (i / 4) * 70, 210, 60, QStringLiteral("Rivi %1").arg(i));
        p->SetVisualStyle(i % 2 ? vsGradient : vsClassic);
        p->SetGradientDirection(TFcGradientDirection(i % 10));
        p->SetBorderOuter(fsFlatBold);
    }
    for (int i = 0; i < 4; ++i) {  // 21 (+ 5 buttons each = 41)
        auto* g = Put<TFcRadioGroup>(f, f, 10 + i * 220, 210, 210, 70, QStringLiteral("Tila"));
        g->SetGroupStyle(gsTopLine);
        g->SetColumns(3);
        g->SetItems({QStringLiteral("OK"), QStringLiteral("DNF"), QStringLiteral("DSQ"), QStringLiteral("MP"),
                     QStringLiteral("DNS")});
        g->SetItemIndex(i);
    }
    for (int i = 0; i < 4; ++i)  // 45
        Put<TFcCustomGroupBox>(f, f, 10 + i * 220, 290, 210, 60, QStringLiteral("Ryhmä %1").arg(i))
            ->SetGroupStyle(TFcGroupBoxStyle(i));
    for (int i = 0; i < 6; ++i)  // 51
        Put<TFcCheckBox>(f, f, 10 + i * 140, 360, 130, 17, QStringLiteral("Valinta %1").arg(i))->SetChecked(i % 2);
    for (int i = 0; i < 4; ++i)  // 55
        Put<TFcRadioButton>(f, f, 10 + i * 140, 390, 130, 17, QStringLiteral("Vaihtoehto %1").arg(i));
    auto* status = new TFcStatusBar(f);  // 56
    status->SetParent(f);
    for (int i = 0; i < 3; ++i)  // 59
        Put<TFcStatusPane>(f, status, i * 200, 0, 200, 19, QStringLiteral("Paneeli %1").arg(i));
    Put<TFcClockStatus>(f, status, 600, 0, 160, 19);  // 60
    f->AfterConstruction();
    return f;
}

}  // namespace

static void BM_PaintWindowWith60FramedControls(benchmark::State& state)
{
    std::unique_ptr<TForm> f(BuildWindow());
    TBitmap target;
    for (auto _ : state) {
        f->PaintTo(&target);
        benchmark::DoNotOptimize(target.Pixel(5, 5));
    }
}
BENCHMARK(BM_PaintWindowWith60FramedControls)->Unit(benchmark::kMillisecond);
