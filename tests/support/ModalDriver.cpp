#include "ModalDriver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

namespace testsupport {

QTimer* whenModal(std::function<void(QWidget*)> action, bool* ran, int timeoutMs, QWidget* ignore) {
    if (ran)
        *ran = false;
    auto* timer = new QTimer(qApp); // deletes itself when done
    timer->setObjectName(QStringLiteral("ModalDriver"));
    timer->setInterval(20);
    QElapsedTimer clock;
    clock.start();
    QPointer<QWidget> ignored(ignore);
    QObject::connect(timer, &QTimer::timeout, timer, [=]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != ignored.data() && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
            if (ran)
                *ran = true;
        } else if (clock.elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
    return timer;
}

void cancelPendingModalDrivers() {
    const auto timers =
        qApp->findChildren<QTimer*>(QStringLiteral("ModalDriver"), Qt::FindDirectChildrenOnly);
    for (QTimer* t : timers)
        delete t;
}

} // namespace testsupport
