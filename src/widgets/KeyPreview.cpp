#include "widgets/KeyPreview.h"

#include "widgets/EventEdit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace widgets {

KeyPreview::KeyPreview(QWidget* window) : QObject(window), m_window(window) {
    setObjectName(QStringLiteral("KeyPreview"));
    qApp->installEventFilter(this);
}

KeyPreview::~KeyPreview() {
    if (qApp)
        qApp->removeEventFilter(this);
}

KeyPreview* KeyPreview::of(const QWidget* widget) {
    if (!widget)
        return nullptr;
    const QWidget* w = widget->window();
    return w ? w->findChild<KeyPreview*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() != QEvent::KeyPress && event->type() != QEvent::InputMethod) ||
        !watched->isWidgetType())
        return false;
    auto* target = static_cast<QWidget*>(watched);
    // Only the focused control's own delivery counts; events propagated to parents are not new keys.
    if (target != QApplication::focusWidget() || target->window() != m_window)
        return false;
    if (dynamic_cast<KeySlotTarget*>(target))
        return false; // runs the preview itself, before its own slot

    if (event->type() == QEvent::InputMethod) {
        // Text composed by an input method (dead keys, compose) is typed text too.
        auto* ime = static_cast<QInputMethodEvent*>(event);
        if (!ime->commitString().isEmpty())
            ime->setCommitString(FilterTypedText(target, {}, ime->commitString()), ime->replacementStart(),
                                 ime->replacementLength());
        return false;
    }

    auto* ke = static_cast<QKeyEvent*>(event);
    if (auto* button = qobject_cast<QPushButton*>(target);
        button && (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter)) {
        if (button->isEnabled())
            button->click();
        return true;
    }
    // Tab and Shift+Tab are focus moves of the window, not typed characters.
    if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab)
        return false;
    const QString typed = TypedText(ke);
    if (typed.isEmpty() && AltKey(ke) && !ke->text().isEmpty()) {
        QKeyEvent plain = WithoutText(ke);
        QCoreApplication::sendEvent(target, &plain);
        ke->setAccepted(plain.isAccepted());
        return true;
    }
    if (typed.isEmpty())
        return false;
    const QString text = FilterTypedText(target, {}, typed);
    if (text.isEmpty())
        return true;
    if (text != typed) {
        QKeyEvent replaced = ReplacedKeyEvent(ke, text);
        QCoreApplication::sendEvent(target, &replaced);
        return true;
    }
    return false;
}

} // namespace widgets
