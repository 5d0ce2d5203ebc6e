#include "Digitacao.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

int codigoDaTecla(QChar c) {
    switch (c.unicode()) {
    case 8:
        return Qt::Key_Backspace;
    case 13:
        return Qt::Key_Return;
    case 27:
        return Qt::Key_Escape;
    default:
        return c.toUpper().unicode() < 0x100 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown);
    }
}

} // namespace

namespace testsupport {

void digita(QWidget* alvo, const QString& texto) {
    for (const QChar c : texto) {
        QKeyEvent aperta(QEvent::KeyPress, codigoDaTecla(c), Qt::NoModifier, QString(c));
        QApplication::sendEvent(alvo, &aperta);
        QKeyEvent solta(QEvent::KeyRelease, codigoDaTecla(c), Qt::NoModifier, QString(c));
        QApplication::sendEvent(alvo, &solta);
    }
}

void digita(const QString& texto) {
    for (const QChar c : texto) {
        QWidget* alvo = QApplication::focusWidget();
        if (!alvo)
            return;
        digita(alvo, QString(c));
    }
}

} // namespace testsupport
