#include "platform/ui/ControlScrollBars.h"

#include <QPointer>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>

struct TControlScrollBars::Bars {
    QPointer<QScrollBar> Horz, Vert;
    QScrollBar* Of(bool Horizontal) const { return Horizontal ? Horz.data() : Vert.data(); }
};

TControlScrollBars::TControlScrollBars(TWinControl* Control) : FControl(Control), FBars(std::make_unique<Bars>()) {}

TControlScrollBars::~TControlScrollBars() = default;

void TControlScrollBars::Attach()
{
    QWidget* w = FControl->Widget();
    auto make = [this, w](Qt::Orientation Dir) {
        auto* bar = new QScrollBar(Dir, w);
        bar->setObjectName(Dir == Qt::Horizontal ? QStringLiteral("sorvexHorzBar") : QStringLiteral("sorvexVertBar"));
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
        const bool horizontal = Dir == Qt::Horizontal;
        QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [this, bar, horizontal](int Action) {
            if (!PageStep)
                return;
            if (Action == QAbstractSlider::SliderPageStepAdd)
                bar->setSliderPosition(std::min(bar->maximum(), bar->value() + PageStep(horizontal)));
            else if (Action == QAbstractSlider::SliderPageStepSub)
                bar->setSliderPosition(std::max(bar->minimum(), bar->value() - PageStep(horizontal)));
        });
        QObject::connect(bar, &QAbstractSlider::valueChanged, bar, [this, horizontal](int v) {
            if (!FSetting && OnScroll)
                OnScroll(horizontal, v);
        });
        return bar;
    };
    FBars->Horz = make(Qt::Horizontal);
    FBars->Vert = make(Qt::Vertical);
}

bool TControlScrollBars::Attached() const
{
    return FBars->Horz && FBars->Vert;
}

void TControlScrollBars::SetShown(bool Value)
{
    if (!Attached())
        return;
    if (Value)
        Place();
    FBars->Horz->setVisible(Value);
    FBars->Vert->setVisible(Value);
}

bool TControlScrollBars::Shown() const
{
    return Attached() && FBars->Vert->isVisibleTo(FBars->Vert->parentWidget());
}

void TControlScrollBars::Set(bool Horizontal, int Min, int Max, int Page, int Pos)
{
    QScrollBar* bar = FBars->Of(Horizontal);
    if (!bar)
        return;
    FSetting = true;
    bar->setRange(Min, std::max(Min, Max));
    bar->setPageStep(std::max(1, Page));
    bar->setSingleStep(1);
    bar->setValue(Pos);
    FSetting = false;
}

int TControlScrollBars::Position(bool Horizontal) const
{
    QScrollBar* bar = FBars->Of(Horizontal);
    return bar ? bar->value() : 0;
}

int TControlScrollBars::Maximum(bool Horizontal) const
{
    QScrollBar* bar = FBars->Of(Horizontal);
    return bar ? bar->maximum() : 0;
}

void TControlScrollBars::SetPosition(bool Horizontal, int Pos)
{
    QScrollBar* bar = FBars->Of(Horizontal);
    if (bar)
        bar->setValue(std::clamp(Pos, bar->minimum(), bar->maximum()));
}

void TControlScrollBars::Place()
{
    if (!Attached())
        return;
    const int w = FControl->Width(), h = FControl->Height();
    FBars->Horz->setGeometry(0, h - Extent, std::max(0, w - Extent), Extent);
    FBars->Vert->setGeometry(w - Extent, 0, Extent, std::max(0, h - Extent));
}
