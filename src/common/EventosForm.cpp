#include "common/EventosForm.h"

#include <QColor>
#include <QDateTimeEdit>
#include <QFont>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

QWidget* controleDeEdicao(QObject* Sender) {
    if (auto* w = qobject_cast<QLineEdit*>(Sender))
        return w;
    if (auto* w = qobject_cast<QPlainTextEdit*>(Sender))
        return w;
    if (auto* w = qobject_cast<QTextEdit*>(Sender))
        return w;
    if (auto* w = qobject_cast<QDateTimeEdit*>(Sender))
        return w;
    return nullptr;
}

// Through the palette and the font rather than a stylesheet, so the control keeps its native look.
void pinta(QWidget* controle, const QColor& fundo, const QColor& letra) {
    QPalette paleta = controle->palette();
    paleta.setColor(QPalette::Base, fundo);
    paleta.setColor(QPalette::Text, letra);
    controle->setPalette(paleta);
    controle->setAutoFillBackground(true);
}

} // namespace

void OnEnterDoDBEdit(QObject* Sender) {
    QWidget* const controle = controleDeEdicao(Sender);
    if (controle == nullptr)
        return;
    pinta(controle, QColor(0x00, 0x80, 0xC0), QColor(0xFF, 0xFF, 0xFF));
    QFont fonte = controle->font();
    fonte.setBold(true);
    controle->setFont(fonte);
}

void OnExitDoDBEdit(QObject* Sender) {
    QWidget* const controle = controleDeEdicao(Sender);
    if (controle == nullptr)
        return;
    if (qobject_cast<QLineEdit*>(controle) != nullptr && !controle->isEnabled())
        return;
    pinta(controle, QColor(0xFF, 0xFF, 0xFF), QColor(0x00, 0x00, 0x00));
    QFont fonte = controle->font();
    fonte.setBold(false);
    fonte.setItalic(false);
    fonte.setUnderline(false);
    fonte.setStrikeOut(false);
    controle->setFont(fonte);
}
