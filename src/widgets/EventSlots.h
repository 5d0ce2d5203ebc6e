#pragma once
// Event slots of our controls: readable and writable bound methods, as the lookups expect.
// A slot is "assigned" when it holds a callable.
#include <QChar>
#include <QObject>
#include <functional>

namespace widgets {

using NotifyEvent = std::function<void(QObject* Sender)>;
using KeyPressEvent = std::function<void(QObject* Sender, QChar& Key)>;

inline bool Assigned(const NotifyEvent& e) {
    return static_cast<bool>(e);
}
inline bool Assigned(const KeyPressEvent& e) {
    return static_cast<bool>(e);
}

// Our controls that run their own key slots (the window's key preview leaves them alone).
class KeySlotTarget {
public:
    virtual ~KeySlotTarget() = default;
};

} // namespace widgets
