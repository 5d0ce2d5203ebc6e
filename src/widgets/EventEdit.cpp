#include "widgets/EventEdit.h"

#include "common/ErrorReport.h"
#include "widgets/KeyPreview.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
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

QString TypedText(const QKeyEvent* e) {
    if (e->key() == Qt::Key_Delete)
        return {};
    return e->text();
}

QChar CharOfKeyEvent(const QKeyEvent* e) {
    const QString t = TypedText(e);
    if (t.size() != 1)
        return {};
    return t.front();
}

QKeyEvent ReplacedKeyEvent(const QKeyEvent* e, const QString& text) {
    const int key = text.size() == 1 ? keyCodeFor(text.front()) : Qt::Key_unknown;
    return QKeyEvent(e->type(), key, e->modifiers(), text, e->isAutoRepeat(),
                     static_cast<ushort>(e->count()));
}

QString FilterTypedText(QWidget* control, const KeyPressEvent& ownSlot, const QString& text) {
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        if (c.isSurrogate() && !pair)
            continue; // half a character is never text
        QChar key = c;
        if (PreviewAndFilterKey(control, ownSlot, key)) {
            if (pair && key == c)
                result += text.mid(i, 2);
            else if (!key.isSurrogate()) // a handler's lone half is dropped
                result += key;
        }
        if (pair)
            ++i;
    }
    return result;
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
    const QString typed = TypedText(e);
    if (typed.isEmpty()) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    const QString text = FilterTypedText(this, OnKeyPress, typed);
    if (text.isEmpty()) {
        e->accept();
        return;
    }
    if (text == typed) {
        QLineEdit::keyPressEvent(e);
    } else {
        QKeyEvent replaced = ReplacedKeyEvent(e, text);
        QLineEdit::keyPressEvent(&replaced);
        e->setAccepted(replaced.isAccepted());
    }
}

void EventEdit::inputMethodEvent(QInputMethodEvent* e) {
    if (!e->commitString().isEmpty())
        e->setCommitString(FilterTypedText(this, OnKeyPress, e->commitString()), e->replacementStart(),
                           e->replacementLength());
    QLineEdit::inputMethodEvent(e);
}

} // namespace widgets
