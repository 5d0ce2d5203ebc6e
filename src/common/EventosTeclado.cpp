#include "common/EventosTeclado.h"

#include "base/AppError.h"
#include "common/Teclas.h"

#include <QWidget>

#include <cstring>

namespace {

// Accented Latin letters and the plain upper-case letter they are typed as; 0 when not folded.
char16_t letraSemAcento(char16_t c) {
    if ((c >= 0xC0 && c <= 0xC3) || (c >= 0xE0 && c <= 0xE3))
        return u'A';
    if (c == 0xC7 || c == 0xE7)
        return u'C';
    if ((c >= 0xC8 && c <= 0xCA) || (c >= 0xE8 && c <= 0xEA))
        return u'E';
    if ((c >= 0xCC && c <= 0xCE) || (c >= 0xEC && c <= 0xEE))
        return u'I';
    if ((c >= 0xD2 && c <= 0xD5) || (c >= 0xF2 && c <= 0xF5))
        return u'O';
    if ((c >= 0xD9 && c <= 0xDC) || (c >= 0xF9 && c <= 0xFC))
        return u'U';
    return 0;
}

bool caractereAceito(char16_t c) {
    switch (c) {
    case 3: // copy
    case kBackspace:
    case 9:  // Tab
    case 10: // line feed
    case kEnter:
    case 22:   // paste
    case 26:   // undo
    case 0xA7: // section sign
    case 0xAA: // feminine ordinal
    case 0xBA: // masculine ordinal
        return true;
    case u'\'':
    case u'^':
    case u'`':
        return false;
    default:
        return c >= 32 && c <= 125;
    }
}

// Controls in which Enter has a meaning of its own (new line, grid navigation). Only these exact
// classes: subclasses under other names move on like any edit.
bool enterPertenceAoControle(const QWidget* controle) {
    const char* const classe = controle->metaObject()->className();
    return std::strcmp(classe, "QPlainTextEdit") == 0 || std::strcmp(classe, "QTextEdit") == 0 ||
           std::strcmp(classe, "DataGrid") == 0;
}

} // namespace

void OnKeyPressDosNumeros(QChar& Key) {
    const char16_t c = Key.unicode();
    const bool aceito = c == kBackspace || c == kEnter || c == u',' || (c >= u'0' && c <= u'9');
    if (!aceito)
        Key = QChar(0);
}

void OnKeyPressDosTextos(QChar& Key) {
    char16_t c = Key.unicode();
    if (const char16_t plana = letraSemAcento(c))
        c = plana;
    if (!caractereAceito(c)) {
        Key = QChar(0);
        return;
    }
    if (c >= u'a' && c <= u'z')
        c = static_cast<char16_t>(c - u'a' + u'A');
    Key = QChar(c);
}

void FocaProximoControle(QWidget* janela) {
    if (janela == nullptr)
        return;
    janela = janela->window();
    QWidget* const atual = janela->focusWidget() != nullptr ? janela->focusWidget() : janela;
    for (QWidget* w = atual->nextInFocusChain(); w != nullptr && w != atual; w = w->nextInFocusChain()) {
        // A widget with a focus proxy stands in the chain through its proxy.
        if (w->window() == janela && w != janela && (w->focusPolicy() & Qt::TabFocus) &&
            w->focusProxy() == nullptr && w->isEnabled() && w->isVisibleTo(janela)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void OnKeyPressDoForm(QObject* Sender, QChar& Key) {
    auto* const janela = qobject_cast<QWidget*>(Sender);
    if (janela == nullptr || !janela->isWindow())
        throw InvalidTypeError(QStringLiteral("Invalid class typecast"));

    OnKeyPressDosTextos(Key);
    if (Key.unicode() != kEnter)
        return;
    QWidget* const controle = janela->focusWidget();
    if (controle == nullptr || controle == janela || enterPertenceAoControle(controle))
        return;
    FocaProximoControle(janela);
    Key = QChar(0);
}
