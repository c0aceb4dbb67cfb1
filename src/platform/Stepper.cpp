#include "platform/Stepper.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

Stepper::Stepper(double minimum, double maximum, double increment, QWidget* parent)
    : QWidget(parent), _value(minimum), _minimum(minimum), _maximum(maximum), _increment(increment)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up = new QToolButton;
    down = new QToolButton;
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up, down}) {
        b->setAutoRepeat(true);
        b->setFixedSize(18, 12);
        b->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(b);
    }
    connect(up, &QToolButton::clicked, this, &Stepper::stepUp);
    connect(down, &QToolButton::clicked, this, &Stepper::stepDown);
}

void Stepper::setValue(double value)
{
    _value = std::clamp(value, _minimum, std::max(_minimum, _maximum));
}

void Stepper::setMaximum(double maximum)
{
    _maximum = std::max(_minimum, maximum);
    setValue(_value);
}

void Stepper::stepUp()
{
    setValue(_value + _increment);
    emit stepped();
}

void Stepper::stepDown()
{
    setValue(_value - _increment);
    emit stepped();
}
