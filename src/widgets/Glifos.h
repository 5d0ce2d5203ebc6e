#pragma once
// The program's pictures, drawn in code so that it carries no image files.
#include <QPixmap>

// Search button of a lookup field (16 x 16) and the print button (20 x 20).
QPixmap glifoBusca();
QPixmap glifoImpressora();
// The greyed look of a glyph on a disabled button.
QPixmap acinzentado(const QPixmap& original);

// The message window's pictures: one per message kind, kLadoGlifoMensagem square, and the small
// marks of its Yes and No buttons.
inline constexpr int kLadoGlifoMensagem = 33;
QPixmap desenhaLixeira();
QPixmap desenhaDisquete();
QPixmap desenhaAdvertencia();
QPixmap desenhaInformacao();
QPixmap desenhaPergunta();
QPixmap desenhaNotaComClipe();
QPixmap desenhaVisto();
QPixmap desenhaXis();
