#pragma once
// Where a window opens: centred in the screen's available area, but never above or left of it,
// so that its title bar stays within reach when the window is larger than the screen (display
// scaling on a small screen).
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace widgets {

// Top-left corner of a frame of size `moldura` placed in `disponivel`.
QPoint PosicaoNaTela(QSize moldura, const QRect& disponivel);

// Moves the window there, on its own screen.
void CentraNaTela(QWidget* janela);

} // namespace widgets
