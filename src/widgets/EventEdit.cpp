#include "widgets/EventEdit.h"

#include "common/ErrorReport.h"
#include "widgets/KeyPreview.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHash>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPointer>

namespace widgets {

namespace {
bool fromAnotherWindow(const QFocusEvent* e) {
    return e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason;
}

// Per window, the edit that was entered and has not been left yet. A modal window that opens
// while a control is entered, or while the focus is on its way to the next one, takes the focus
// away without an exit; when it closes the owner may get the focus back on another control
// (the flow moved it on, or back). Comparing with this record on the owner's return tells a
// real window switch (same control: nothing happened) from the flow's own move.
QHash<const QWidget*, QPointer<EventEdit>>& entradas() {
    static QHash<const QWidget*, QPointer<EventEdit>> porJanela;
    return porJanela;
}

EventEdit* entrado(const QWidget* janela) {
    EventEdit* e = entradas().value(janela);
    return e && e->window() == janela ? e : nullptr;
}

void registraEntrada(const QWidget* janela, EventEdit* edit) {
    auto& h = entradas();
    h.removeIf([](const auto& par) { return par.value().isNull(); });
    if (edit)
        h.insert(janela, edit);
    else
        h.remove(janela);
}

// The focus came back to `novo` with its window, or was moved there while the window was not
// active: when the window's entered control is another one, leave that one and enter this one,
// as a focus move inside the window would have. The entry is skipped when the exit sent the
// focus elsewhere.
void retomaFoco(QWidget* novo) {
    const QWidget* janela = novo->window();
    EventEdit* antigo = entrado(janela);
    auto* edit = qobject_cast<EventEdit*>(novo);
    if (antigo == novo || (!antigo && !edit))
        return;
    registraEntrada(janela, edit);
    const QPointer<EventEdit> vivo(edit);
    if (antigo && Assigned(antigo->OnExit))
        RunGuarded([antigo] { antigo->OnExit(antigo); });
    if (vivo && vivo->window()->focusWidget() == vivo && Assigned(vivo->OnEnter))
        RunGuarded([&vivo] { vivo->OnEnter(vivo); });
}

// Sees the focus come back to controls that are not ours.
class RetomadaDeFoco : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && watched->isWidgetType() &&
            !qobject_cast<EventEdit*>(watched) && fromAnotherWindow(static_cast<QFocusEvent*>(event)))
            retomaFoco(static_cast<QWidget*>(watched));
        return false;
    }
};

void instalaRetomada() {
    static QPointer<RetomadaDeFoco> instalada;
    if (!instalada && qApp) {
        instalada = new RetomadaDeFoco(qApp);
        qApp->installEventFilter(instalada);
    }
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

void SincronizaFoco(QWidget* janela) {
    if (janela == nullptr)
        return;
    janela = janela->window();
    // In an active window Qt has already delivered the move as an exit and an entry.
    if (janela->isActiveWindow())
        return;
    if (QWidget* foco = janela->focusWidget())
        retomaFoco(foco);
}

bool AltKey(const QKeyEvent* e) {
    // Ctrl+Alt is how some systems send AltGr, which types characters; AltGr on X11 is no Alt.
    return (e->modifiers() & Qt::AltModifier) && !(e->modifiers() & Qt::ControlModifier);
}

QString TypedText(const QKeyEvent* e) {
    if (e->key() == Qt::Key_Delete || AltKey(e))
        return {};
    return e->text();
}

QKeyEvent WithoutText(const QKeyEvent* e) {
    return QKeyEvent(e->type(), e->key(), e->modifiers(), QString(), e->isAutoRepeat(),
                     static_cast<ushort>(e->count()));
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
    instalaRetomada();
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (Assigned(OnChange))
            RunGuarded([this] { OnChange(this); });
    });
}

void EventEdit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    if (fromAnotherWindow(e)) {
        retomaFoco(this);
        return;
    }
    registraEntrada(window(), this);
    if (Assigned(OnEnter))
        RunGuarded([this] { OnEnter(this); });
}

void EventEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (fromAnotherWindow(e))
        return;
    if (entrado(window()) == this)
        registraEntrada(window(), nullptr);
    if (Assigned(OnExit))
        RunGuarded([this] { OnExit(this); });
}

void EventEdit::keyPressEvent(QKeyEvent* e) {
    const QString typed = TypedText(e);
    if (typed.isEmpty() && AltKey(e) && !e->text().isEmpty()) {
        QKeyEvent plain = WithoutText(e);
        QLineEdit::keyPressEvent(&plain);
        e->setAccepted(plain.isAccepted());
        return;
    }
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
