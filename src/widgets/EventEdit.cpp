#include "widgets/EventEdit.h"

#include "common/ErrorReport.h"
#include "widgets/KeyPreview.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace widgets {

namespace {
bool fromAnotherWindow(const QFocusEvent* e) {
    return e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason;
}

int keyCodeFor(QChar c) {
    switch (c.unicode()) {
    case 8:
        return Qt::Key_Backspace;
    case 9:
        return Qt::Key_Tab;
    case 13:
        return Qt::Key_Return;
    case 27:
        return Qt::Key_Escape;
    default:
        break;
    }
    const QChar up = c.toUpper();
    if (up.unicode() >= 0x20 && up.unicode() <= 0xff)
        return up.unicode(); // Qt's key codes match Latin-1 for printable characters
    return Qt::Key_unknown;
}
} // namespace

QChar CharOfKeyEvent(const QKeyEvent* e) {
    const QString t = e->text();
    if (t.size() != 1)
        return {};
    return t.front();
}

QKeyEvent ReplacedKeyEvent(const QKeyEvent* e, QChar key) {
    return QKeyEvent(e->type(), keyCodeFor(key), e->modifiers(), QString(key), e->isAutoRepeat(),
                     static_cast<ushort>(e->count()));
}

bool PreviewAndFilterKey(QWidget* control, const KeyPressEvent& ownSlot, QChar& key) {
    try {
        if (KeyPreview* preview = KeyPreview::of(control); preview && Assigned(preview->OnKeyPress))
            preview->OnKeyPress(preview->window(), key);
        if (!key.isNull() && Assigned(ownSlot))
            ownSlot(control, key);
    } catch (const std::exception& e) {
        key = QChar(); // a failing handler swallows its key
        ShowException(e);
    } catch (...) {
        key = QChar();
        ShowErrorText(QStringLiteral("Erro desconhecido"));
    }
    return !key.isNull();
}

EventEdit::EventEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (Assigned(OnChange))
            RunGuarded([this] { OnChange(this); });
    });
}

void EventEdit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    if (!fromAnotherWindow(e) && Assigned(OnEnter))
        RunGuarded([this] { OnEnter(this); });
}

void EventEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (!fromAnotherWindow(e) && Assigned(OnExit))
        RunGuarded([this] { OnExit(this); });
}

void EventEdit::keyPressEvent(QKeyEvent* e) {
    QChar key = CharOfKeyEvent(e);
    if (key.isNull()) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    const QChar typed = key;
    if (!PreviewAndFilterKey(this, OnKeyPress, key)) {
        e->accept();
        return;
    }
    if (key == typed) {
        QLineEdit::keyPressEvent(e);
    } else {
        QKeyEvent replaced = ReplacedKeyEvent(e, key);
        QLineEdit::keyPressEvent(&replaced);
        e->setAccepted(replaced.isAccepted());
    }
}

} // namespace widgets
