#include "widgets/FormMens.h"

#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <memory>

TFormMens* FormMens = nullptr;

namespace {

constexpr int kLadoImagem = 33;
constexpr int kLinhasSemBarra = 7;

// --- Pictures --------------------------------------------------------------------------------
// Drawn here so the program carries no image files; transparent around the drawing.

QPixmap novaImagem(int lado = kLadoImagem) {
    QPixmap p(lado, lado);
    p.fill(Qt::transparent);
    return p;
}

QPixmap desenhaLixeira() {
    QPixmap p = novaImagem();
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
    QPixmap p = novaImagem();
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
    QPixmap p = novaImagem();
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
    QPixmap p = novaImagem();
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
    QPixmap p = novaImagem();
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
    QPixmap p = novaImagem();
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

// --- Widgets ---------------------------------------------------------------------------------

QLabel* criaImagem(QWidget* pai, const char* nome, int top, const QPixmap& figura) {
    auto* img = new QLabel(pai);
    img->setObjectName(QLatin1String(nome));
    img->setGeometry(8, top, kLadoImagem, kLadoImagem);
    img->setPixmap(figura);
    img->setAttribute(Qt::WA_TranslucentBackground);
    img->hide();
    return img;
}

QPushButton* criaBotao(QWidget* pai, const char* nome, int left, const QString& texto) {
    auto* bb = new QPushButton(texto, pai);
    bb->setObjectName(QLatin1String(nome));
    bb->setGeometry(left, 130, 75, 25);
    bb->hide();
    return bb;
}

// X takes Y's current left position.
void moveParaEsquerdaDe(QPushButton* x, const QPushButton* y) {
    x->move(y->x(), x->y());
}

bool ehEnter(const QKeyEvent* e) {
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

} // namespace

TFormMens::TFormMens() : QDialog(nullptr) {
    // Caption bar with the close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("FormMens"));
    setWindowTitle(QStringLiteral("Confirmar Exclusão de Arquivos"));
    setFixedSize(377, 158);

    QFont fonte(QStringLiteral("MS Sans Serif"));
    fonte.setPointSize(8);
    setFont(fonte);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    setAutoFillBackground(true);

    ImgExc = criaImagem(this, "ImgExc", 8, desenhaLixeira());
    ImgGrav = criaImagem(this, "ImgGrav", 7, desenhaDisquete());
    ImgAdv = criaImagem(this, "ImgAdv", 8, desenhaAdvertencia());
    ImgInfo = criaImagem(this, "ImgInfo", 8, desenhaInformacao());
    ImgConf = criaImagem(this, "ImgConf", 8, desenhaPergunta());
    ImgResAEC = criaImagem(this, "ImgResAEC", 8, desenhaNotaComClipe());

    bbSim = criaBotao(this, "bbSim", 49, QStringLiteral("&Sim"));
    bbSim->setIcon(QIcon(desenhaVisto()));
    bbSim->setDefault(true);
    bbNao = criaBotao(this, "bbNao", 133, QStringLiteral("&Não"));
    bbNao->setIcon(QIcon(desenhaXis()));
    bbCancel = criaBotao(this, "bbCancel", 216, QStringLiteral("&Cancelar"));
    bbOk = criaBotao(this, "bbOk", 300, QStringLiteral("&OK"));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(48, 8, 329, 118);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palMemo = Memo1->palette();
    palMemo.setColor(QPalette::Base, palMemo.color(QPalette::Button));
    palMemo.setColor(QPalette::Text, palMemo.color(QPalette::ButtonText));
    Memo1->setPalette(palMemo);

    setTabOrder(bbSim, bbNao);
    setTabOrder(bbNao, bbOk);
    setTabOrder(bbOk, bbCancel);
    setTabOrder(bbCancel, Memo1);

    connect(bbSim, &QPushButton::clicked, this, [this] { done(6); });
    connect(bbNao, &QPushButton::clicked, this, [this] { done(7); });
    connect(bbCancel, &QPushButton::clicked, this, [this] { done(2); });
    connect(bbOk, &QPushButton::clicked, this, [this] { done(1); });

    // The window sees every key before its controls do.
    for (QWidget* w :
         {static_cast<QWidget*>(bbSim), static_cast<QWidget*>(bbNao), static_cast<QWidget*>(bbCancel),
          static_cast<QWidget*>(bbOk), static_cast<QWidget*>(Memo1), Memo1->viewport()})
        w->installEventFilter(this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TFormMens::Timer1Timer);
    Timer1->start();
}

TFormMens::~TFormMens() = default;

void TFormMens::preparar(const QString& Texto, TTipoMensagens TipoMensagem) {
    QString texto = Texto;
    texto.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Memo1->setPlainText(texto);

    // Kinds apply in order, each to the layout the previous ones left: moves compound and the
    // highest kind's captions and focus win.
    if (TipoMensagem.contains(tmExclusao)) {
        moveParaEsquerdaDe(bbSim, bbCancel);
        moveParaEsquerdaDe(bbNao, bbOk);
        bbSim->show();
        bbNao->show();
        ImgExc->show();
        setWindowTitle(QStringLiteral("Mensagem Confirma Exclusão"));
        botaoFoco = bbNao;
    }
    if (TipoMensagem.contains(tmGravacao)) {
        moveParaEsquerdaDe(bbSim, bbNao);
        moveParaEsquerdaDe(bbNao, bbCancel);
        moveParaEsquerdaDe(bbCancel, bbOk);
        bbSim->show();
        bbNao->show();
        bbCancel->show();
        ImgGrav->show();
        setWindowTitle(QStringLiteral("Mensagem Confirma Gravação"));
        botaoFoco = bbCancel;
    }
    if (TipoMensagem.contains(tmAdvertencia)) {
        bbOk->show();
        ImgAdv->show();
        setWindowTitle(QStringLiteral("Mensagem de Advertência"));
        botaoFoco = bbOk;
    }
    if (TipoMensagem.contains(tmInformacao)) {
        bbOk->show();
        ImgInfo->show();
        setWindowTitle(QStringLiteral("Mensagem de Informação"));
        botaoFoco = bbOk;
    }
    if (TipoMensagem.contains(tmConfirmacao)) {
        moveParaEsquerdaDe(bbSim, bbCancel);
        moveParaEsquerdaDe(bbNao, bbOk);
        bbSim->show();
        bbNao->show();
        ImgConf->show();
        setWindowTitle(QStringLiteral("Mensagem de Confirmação"));
        botaoFoco = bbNao;
    }
    if (TipoMensagem.contains(tmResAC)) {
        moveParaEsquerdaDe(bbSim, bbCancel);
        moveParaEsquerdaDe(bbCancel, bbOk);
        bbSim->show();
        bbCancel->show();
        ImgResAEC->show();
        bbSim->setText(QStringLiteral("&Alterar"));
        bbCancel->setText(QStringLiteral("&Cancelar"));
        setWindowTitle(QStringLiteral("Atenção"));
        botaoFoco = bbCancel;
    }
    if (TipoMensagem.contains(tmResAEC)) {
        moveParaEsquerdaDe(bbSim, bbNao);
        moveParaEsquerdaDe(bbNao, bbCancel);
        moveParaEsquerdaDe(bbCancel, bbOk);
        bbSim->show();
        bbNao->show();
        bbCancel->show();
        ImgResAEC->show();
        bbSim->setText(QStringLiteral("&Alterar"));
        bbNao->setText(QStringLiteral("&Excluir"));
        bbCancel->setText(QStringLiteral("&Cancelar"));
        setWindowTitle(QStringLiteral("Atenção"));
        botaoFoco = bbSim;
    }
}

int TFormMens::linhasDoTexto() const {
    const QTextDocument* doc = Memo1->document();
    // Same width and wrapping the text box's own layout uses, measured without a scroll bar.
    const qreal largura = Memo1->contentsRect().width() - 2 * doc->documentMargin();
    const QTextOption opcao = doc->defaultTextOption();
    const QFont fonte = doc->defaultFont();

    int linhas = 0;
    for (QTextBlock bloco = doc->begin(); bloco.isValid(); bloco = bloco.next()) {
        const bool ultimo = !bloco.next().isValid();
        if (ultimo && bloco.text().isEmpty() && bloco != doc->begin())
            break;
        QTextLayout layout(bloco.text(), fonte);
        layout.setTextOption(opcao);
        layout.beginLayout();
        int linhasDoBloco = 0;
        for (QTextLine linha = layout.createLine(); linha.isValid(); linha = layout.createLine()) {
            linha.setLineWidth(largura);
            ++linhasDoBloco;
        }
        layout.endLayout();
        linhas += qMax(1, linhasDoBloco);
    }
    return linhas;
}

void TFormMens::reject() {
    // Close box and any other way out that is not a button.
    done(2);
}

bool TFormMens::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && trataTecla(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TFormMens::keyPressEvent(QKeyEvent* event) {
    if (!trataTecla(event))
        QDialog::keyPressEvent(event);
}

bool TFormMens::trataTecla(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        done(2);
        return true;
    }
    if (!ehEnter(event))
        return false;

    QWidget* foco = focusWidget();
    if (foco == Memo1 || foco == Memo1->viewport()) {
        if (!bbSim->isHidden())
            bbSim->click();
        else if (!bbOk->isHidden())
            bbOk->click();
        return true;
    }
    for (QPushButton* bb : {bbSim, bbNao, bbCancel, bbOk}) {
        if (foco == bb) {
            bb->click();
            return true;
        }
    }
    if (!bbSim->isHidden())
        bbSim->click();
    return true;
}

void TFormMens::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;

    if (const QScreen* tela = screen())
        move(tela->availableGeometry().center() - rect().center());

    Memo1->setVerticalScrollBarPolicy(linhasDoTexto() > kLinhasSemBarra ? Qt::ScrollBarAlwaysOn
                                                                        : Qt::ScrollBarAlwaysOff);
    if (botaoFoco)
        botaoFoco->setFocus(Qt::OtherFocusReason);
}

void TFormMens::Timer1Timer() {
    // Blinks the caption and task-bar entry while the message waits for an answer.
    QApplication::alert(this);
}

int Mensagem(const QString& Texto, TTipoMensagens TipoMensagem) {
    const auto janela = std::make_unique<TFormMens>();
    TFormMens* const anterior = FormMens;
    FormMens = janela.get();
    // Emptied before the window goes, also when preparing or showing it throws.
    const auto restaura = qScopeGuard([anterior] { FormMens = anterior; });
    janela->preparar(Texto, TipoMensagem);
    // Ended without any button (hidden, or the program asked to end): that is a close, 2.
    const int resposta = janela->exec();
    return resposta == 0 ? 2 : resposta;
}
