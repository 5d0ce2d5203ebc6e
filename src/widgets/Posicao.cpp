#include "widgets/Posicao.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace widgets {

QPoint PosicaoNaTela(QSize moldura, const QRect& disponivel) {
    const int x = disponivel.left() + (disponivel.width() - moldura.width()) / 2;
    const int y = disponivel.top() + (disponivel.height() - moldura.height()) / 2;
    return {std::max(x, disponivel.left()), std::max(y, disponivel.top())};
}

void CentraNaTela(QWidget* janela) {
    if (!janela)
        return;
    if (const QScreen* tela = janela->screen())
        // The frame is known once the window has been shown; before that, its own size.
        janela->move(PosicaoNaTela(janela->frameGeometry().size(), tela->availableGeometry()));
}

} // namespace widgets
