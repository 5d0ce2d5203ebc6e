#include "widgets/FormMens.h"

#include "widgets/Fontes.h"
#include "widgets/Glifos.h"
#include "widgets/Posicao.h"

#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <memory>

TFormMens* FormMens = nullptr;

namespace {

constexpr int kLinhasSemBarra = 7;

QLabel* criaImagem(QWidget* pai, const char* nome, int top, const QPixmap& figura) {
    auto* img = new QLabel(pai);
    img->setObjectName(QLatin1String(nome));
    img->setGeometry(8, top, kLadoGlifoMensagem, kLadoGlifoMensagem);
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

    QFont fonte(kFonteControles);
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

    connect(bbSim, &QPushButton::clicked, this, [this] { done(rmSim); });
    connect(bbNao, &QPushButton::clicked, this, [this] { done(rmNao); });
    connect(bbCancel, &QPushButton::clicked, this, [this] { done(rmCancelar); });
    connect(bbOk, &QPushButton::clicked, this, [this] { done(rmOk); });

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
    done(rmCancelar);
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
        done(rmCancelar);
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

    widgets::CentraNaTela(this);

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
    // Ended without any button (hidden, or the program asked to end): that is a close.
    const int resposta = janela->exec();
    return resposta == 0 ? rmCancelar : resposta;
}
