#pragma once
// Drives modal windows from tests: waits (from a timer) until a new modal window is active,
// then runs the action on it.
#include <QTimer>
#include <QWidget>
#include <functional>

namespace testsupport {

// Polls every 20 ms for up to timeoutMs for a modal widget (other than `ignore`), then runs
// action(modal). The flag `ran` tells the test whether it happened. The returned timer may be
// deleted to stop waiting (it deletes itself once done).
QTimer* whenModal(std::function<void(QWidget*)> action, bool* ran = nullptr, int timeoutMs = 5000,
                  QWidget* ignore = nullptr);

// Stops every driver still waiting (call from a test's cleanup(), so that a window that never
// came cannot fire an action into the next test).
void cancelPendingModalDrivers();

// Convenience: the first child of `modal` with this object name and type.
template <typename T> T* child(QWidget* modal, const char* name) {
    return modal ? modal->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

} // namespace testsupport
