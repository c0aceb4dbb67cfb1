#pragma once
// A stepper: a pair of small arrow buttons that count a value up and down
// within a range. It sits beside a text field that shows the same number;
// its owner copies the value between the two.
#include <QWidget>

class QToolButton;

class Stepper : public QWidget {
    Q_OBJECT
public:
    explicit Stepper(double minimum, double maximum, double increment, QWidget* parent = nullptr);

    double value() const { return _value; }
    int intValue() const { return int(qRound64(_value)); }
    // Kept within the range; sends nothing.
    void setValue(double value);
    double minimum() const { return _minimum; }
    double maximum() const { return _maximum; }
    void setMaximum(double maximum);

    // Counts one increment up or down (within the range) and says so.
    void stepUp();
    void stepDown();

signals:
    // The person changed the value with the arrows.
    void stepped();

private:
    double _value = 0, _minimum = 0, _maximum = 0, _increment = 1;
    QToolButton* up;
    QToolButton* down;
};
