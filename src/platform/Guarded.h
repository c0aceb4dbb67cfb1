#pragma once
#include <QMutex>

// A value that several threads read and write whole: every access copies
// under a lock.
template <typename T>
class Guarded {
public:
    Guarded() = default;
    explicit Guarded(T value) : _value(std::move(value)) {}
    T get() const
    {
        QMutexLocker lock(&_mutex);
        return _value;
    }
    void set(const T& value)
    {
        QMutexLocker lock(&_mutex);
        _value = value;
    }

private:
    mutable QMutex _mutex;
    T _value{};
};
