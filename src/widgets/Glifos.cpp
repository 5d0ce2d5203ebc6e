#include "widgets/Glifos.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

// A square canvas, transparent around the drawing.
QPixmap novaImagem(int lado) {
    QPixmap p(lado, lado);
    p.fill(Qt::transparent);
    return p;
}

} // namespace

QPixmap glifoBusca() {
    QPixmap pix(16, 16);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath folha;
    folha.moveTo(1.5, 0.5);
    folha.lineTo(8.5, 0.5);
    folha.lineTo(11.5, 3.5);
    folha.lineTo(11.5, 14.5);
    folha.lineTo(1.5, 14.5);
    folha.closeSubpath();
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
    p.setBrush(Qt::white);
    p.drawPath(folha);
    p.drawLine(QPointF(8.5, 0.5), QPointF(8.5, 3.5));
    p.drawLine(QPointF(8.5, 3.5), QPointF(11.5, 3.5));
    p.setPen(QPen(QColor(0x9C, 0x9C, 0x9C), 1));
    for (const double y : {4.5, 6.5, 8.5, 10.5})
        p.drawLine(QPointF(3.5, y), QPointF(y < 5 ? 6.5 : 7.5, y));
    p.setPen(QPen(QColor(0x1F, 0x3F, 0x7F), 1.5));
    p.setBrush(QColor(0xBF, 0xDF, 0xFF, 0xD0));
    p.drawEllipse(QPointF(9.5, 9.5), 3.2, 3.2);
    p.setPen(QPen(QColor(0x5A, 0x3A, 0x1A), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.0, 12.0), QPointF(14.8, 14.8));
    return pix;
}

QPixmap glifoImpressora() {
    QPixmap pix(20, 20);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    // paper going in
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 1.5, 9, 7));
    // body
    p.setBrush(QColor(0x9A, 0x9A, 0xA6));
    p.setPen(QPen(QColor(0x40, 0x40, 0x48), 1));
    p.drawRoundedRect(QRectF(1.5, 7.5, 17, 8), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xC8, 0xC8, 0xD2));
    p.drawRect(QRectF(2.5, 8.5, 15, 2));
    // ready light
    p.setBrush(QColor(0x20, 0xC0, 0x30));
    p.drawEllipse(QPointF(15.5, 12.5), 1.1, 1.1);
    // printed page coming out
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 12.5, 9, 6));
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    p.drawLine(QPointF(7, 14.5), QPointF(13, 14.5));
    p.drawLine(QPointF(7, 16.5), QPointF(11, 16.5));
    return pix;
}

// The greyed look of a glyph on a disabled button.
QPixmap acinzentado(const QPixmap& original) {
    QImage img = original.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* linha = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int cinza = 128 + qGray(linha[x]) / 2;
            linha[x] = qRgba(cinza, cinza, cinza, qAlpha(linha[x]) * 3 / 4);
        }
    }
    return QPixmap::fromImage(img);
}

QPixmap desenhaLixeira() {
    QPixmap p = novaImagem(kLadoGlifoMensagem);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(60, 60, 60), 1.2));
    // Body: a slightly narrowing bin with ribs.
    QPolygonF corpo({QPointF(8, 10), QPointF(25, 10), QPointF(23, 31), QPointF(10, 31)});
    g.setBrush(QColor(170, 178, 190));
    g.drawPolygon(corpo);
    for (const qreal x : {12.5, 16.5, 20.5})
        g.drawLine(QPointF(x, 13), QPointF(x - (x - 16.5) * 0.15, 28));
    // Lid and handle.
    g.setBrush(QColor(130, 138, 150));
    g.drawRoundedRect(QRectF(6, 6, 21, 4), 1, 1);
    g.setBrush(Qt::NoBrush);
    g.drawRoundedRect(QRectF(13, 2.5, 7, 3.5), 1, 1);
    return p;
}

QPixmap desenhaDisquete() {
    QPixmap p = novaImagem(kLadoGlifoMensagem);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QPainterPath casca;
    casca.moveTo(3, 3);
    casca.lineTo(27, 3);
    casca.lineTo(30, 6);
    casca.lineTo(30, 30);
    casca.lineTo(3, 30);
    casca.closeSubpath();
    g.setPen(QPen(QColor(10, 20, 60), 1));
    g.setBrush(QColor(40, 60, 140));
    g.drawPath(casca);
    // Metal shutter with its window.
    g.setBrush(QColor(200, 200, 205));
    g.drawRect(QRectF(9, 3, 15, 9));
    g.setBrush(QColor(40, 60, 140));
    g.drawRect(QRectF(18, 4.5, 4, 6));
    // Label.
    g.setBrush(Qt::white);
    g.drawRect(QRectF(7, 17, 19, 13));
    g.setPen(QPen(QColor(150, 150, 170), 1));
    for (const qreal y : {21.0, 24.5, 28.0})
        g.drawLine(QPointF(9, y), QPointF(24, y));
    return p;
}

QPixmap desenhaAdvertencia() {
    QPixmap p = novaImagem(kLadoGlifoMensagem);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const QPolygonF triangulo({QPointF(16.5, 2), QPointF(31, 30), QPointF(2, 30)});
    g.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.setBrush(QColor(255, 210, 0));
    g.drawPolygon(triangulo);
    // Exclamation mark.
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::black);
    g.drawPolygon(QPolygonF({QPointF(14.8, 11), QPointF(18.2, 11), QPointF(17.3, 22), QPointF(15.7, 22)}));
    g.drawEllipse(QPointF(16.5, 25.8), 1.8, 1.8);
    return p;
}

QPixmap desenhaInformacao() {
    QPixmap p = novaImagem(kLadoGlifoMensagem);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(0, 40, 120), 1));
    g.setBrush(QColor(30, 100, 210));
    g.drawEllipse(QRectF(2, 2, 29, 29));
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::white);
    g.drawEllipse(QPointF(16.5, 9.5), 2.3, 2.3);
    g.drawRect(QRectF(14.5, 14, 4, 12));
    g.drawRect(QRectF(12.5, 14, 4, 2));
    g.drawRect(QRectF(12.5, 24.5, 8, 2));
    return p;
}

QPixmap desenhaPergunta() {
    QPixmap p = novaImagem(kLadoGlifoMensagem);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(0, 70, 40), 1));
    g.setBrush(QColor(40, 150, 90));
    g.drawEllipse(QRectF(2, 2, 29, 29));
    // The hook of the question mark, then its dot.
    QPainterPath gancho;
    gancho.moveTo(11.5, 12.5);
    gancho.cubicTo(11.5, 6.5, 21.5, 6.5, 21.5, 12);
    gancho.cubicTo(21.5, 16, 16.5, 16, 16.5, 21);
    g.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.setBrush(Qt::NoBrush);
    g.drawPath(gancho);
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::white);
    g.drawEllipse(QPointF(16.5, 25.5), 2, 2);
    return p;
}

QPixmap desenhaNotaComClipe() {
    QPixmap p = novaImagem(kLadoGlifoMensagem);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    // Sheet with a folded corner and ruled lines.
    QPainterPath folha;
    folha.moveTo(5, 5);
    folha.lineTo(28, 5);
    folha.lineTo(28, 24);
    folha.lineTo(22, 31);
    folha.lineTo(5, 31);
    folha.closeSubpath();
    g.setPen(QPen(QColor(120, 110, 60), 1));
    g.setBrush(QColor(255, 245, 170));
    g.drawPath(folha);
    g.setBrush(QColor(230, 215, 120));
    g.drawPolygon(QPolygonF({QPointF(28, 24), QPointF(22, 24), QPointF(22, 31)}));
    g.setPen(QPen(QColor(150, 150, 190), 1));
    for (const qreal y : {13.0, 17.0, 21.0, 25.0})
        g.drawLine(QPointF(8, y), QPointF(y < 22 ? 25 : 19, y));
    // Paper clip over the top edge.
    QPainterPath clipe;
    clipe.moveTo(20, 12);
    clipe.lineTo(20, 3);
    clipe.arcTo(QRectF(20, 0.5, 5, 5), 180, -180);
    clipe.lineTo(25, 14);
    clipe.arcTo(QRectF(17.5, 11, 7.5, 7.5), 0, -180);
    clipe.lineTo(17.5, 5);
    g.setPen(QPen(QColor(90, 90, 100), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.setBrush(Qt::NoBrush);
    g.drawPath(clipe);
    return p;
}

QPixmap desenhaVisto() {
    QPixmap p = novaImagem(16);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(0, 150, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.drawPolyline(QPolygonF({QPointF(2.5, 8.5), QPointF(6.5, 12.5), QPointF(13.5, 3.5)}));
    return p;
}

QPixmap desenhaXis() {
    QPixmap p = novaImagem(16);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(210, 0, 0), 2.6, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    g.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    return p;
}
