#include "common/EventosForm.h"

#include <QColor>
#include <QDateTimeEdit>
#include <QFont>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <utility>

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

// Whether the control already has these colours set in every colour group.
bool jaPintado(const QWidget* controle, const QColor& fundo, const QColor& letra) {
    const QPalette& atual = controle->palette();
    for (const QPalette::ColorGroup grupo : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (const auto& [papel, cor] : {std::pair{QPalette::Base, fundo}, std::pair{QPalette::Text, letra}})
            if (!atual.isBrushSet(grupo, papel) || atual.brush(grupo, papel).style() != Qt::SolidPattern ||
                atual.color(grupo, papel) != cor)
                return false;
    return controle->autoFillBackground();
}

// Through the palette and the font rather than a stylesheet, so the control keeps its native look.
void pinta(QWidget* controle, const QColor& fundo, const QColor& letra) {
    // Every exit paints again (a lookup field's twice), and QWidget::setPalette resolves the whole
    // palette against the parent's even when nothing changes.
    if (jaPintado(controle, fundo, letra))
        return;
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
