#include "platform/ui/TrackBar.h"

#include <QSlider>

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 150;
    FHeight = 45;
    FTabStop = true;
}

QWidget* TTrackBar::CreateWidget()
{
    auto* s = new QSlider(Qt::Horizontal);
    s->setRange(FMin, FMax);
    s->setValue(FPosition);
    s->setPageStep(PageSize);
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval(FFrequency);
    s->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(s, &QSlider::valueChanged, [this](int v) {
        if (FSetting)
            return;
        FPosition = v;
        if (OnChange)
            OnChange(this);
    });
    return s;
}

void TTrackBar::SetRange(int AMin, int AMax)
{
    FMin = AMin;
    FMax = std::max(AMin, AMax);
    FPosition = std::clamp(FPosition, FMin, FMax);
    if (auto* s = static_cast<QSlider*>(FWidget)) {
        FSetting = true;
        s->setRange(FMin, FMax);
        FSetting = false;
    }
}

void TTrackBar::SetPosition(int Value)
{
    Value = std::clamp(Value, FMin, FMax);
    if (Value == FPosition)
        return;
    FPosition = Value;
    if (auto* s = static_cast<QSlider*>(FWidget)) {
        FSetting = true;
        s->setValue(Value);
        FSetting = false;
    }
    if (OnChange)
        OnChange(this);
}

void TTrackBar::SetFrequency(int Value)
{
    FFrequency = std::max(1, Value);
    if (auto* s = static_cast<QSlider*>(FWidget))
        s->setTickInterval(FFrequency);
}
