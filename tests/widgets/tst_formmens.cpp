#include "widgets/FormMens.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <functional>

Q_DECLARE_METATYPE(TTipoMensagens)

namespace {

// What the window looked like while it was up.
struct Retrato {
    QString titulo;
    QStringList botoes;  // visible buttons, left to right: "name:caption@left"
    QStringList imagens; // visible images by name
    QString foco;        // objectName of the focused control
    bool barra = false;  // vertical scroll bar shown
    bool formMensEraJanela = false;
};

Retrato retrata(TFormMens* j) {
    Retrato r;
    r.titulo = j->windowTitle();
    QList<QPushButton*> botoes;
    for (const char* nome : {"bbSim", "bbNao", "bbCancel", "bbOk"}) {
        auto* bb = j->findChild<QPushButton*>(QLatin1String(nome));
        if (bb && bb->isVisible())
            botoes << bb;
    }
    std::stable_sort(botoes.begin(), botoes.end(),
                     [](const QPushButton* a, const QPushButton* b) { return a->x() < b->x(); });
    for (const QPushButton* bb : botoes)
        r.botoes << QStringLiteral("%1:%2@%3").arg(bb->objectName(), bb->text()).arg(bb->x());
    for (const char* nome : {"ImgExc", "ImgGrav", "ImgAdv", "ImgInfo", "ImgConf", "ImgResAEC"}) {
        auto* img = j->findChild<QLabel*>(QLatin1String(nome));
        if (img && img->isVisible())
            r.imagens << img->objectName();
    }
    r.foco = j->focusWidget() ? j->focusWidget()->objectName() : QString();
    auto* memo = j->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    r.barra = memo->verticalScrollBar()->isVisible();
    r.formMensEraJanela = (FormMens == j);
    return r;
}

// Calls Mensagem and, once its window is up, photographs it and runs acao on it. A safety
// timer ends a window the action failed to close, so a fault fails the test instead of hanging.
int mostra(const QString& texto, TTipoMensagens tipos, const std::function<void(TFormMens*)>& acao,
           Retrato* retrato = nullptr) {
    bool feito = false;
    int tentativas = 0;
    std::function<void()> espera;
    espera = [&] {
        auto* j = qobject_cast<TFormMens*>(QApplication::activeModalWidget());
        // Wait for activation too: that is when a window without a focus button focuses its first control.
        if (!j || !j->isVisible() || (!j->isActiveWindow() && ++tentativas < 100)) {
            QTimer::singleShot(10, espera);
            return;
        }
        if (retrato)
            *retrato = retrata(j);
        feito = true;
        acao(j);
        QTimer::singleShot(3000, j, [j] { j->done(-1); });
    };
    QTimer::singleShot(0, espera);
    const int r = Mensagem(texto, tipos);
    if (!feito)
        qWarning("message window never seen");
    return r;
}

void tecla(TFormMens* j, Qt::Key k) {
    QWidget* alvo = j->focusWidget() ? j->focusWidget() : j;
    QTest::keyClick(alvo, k);
}

QPushButton* botao(TFormMens* j, const QString& nome) {
    return j->findChild<QPushButton*>(nome);
}

} // namespace

class TstFormMens : public QObject {
    Q_OBJECT
private slots:
    void conjuntoDeTipos();
    void aparencia_data();
    void aparencia();
    void teclasECliques_data();
    void teclasECliques();
    void enterSemAcaoMantemJanela();
    void barraDeRolagem_data();
    void barraDeRolagem();
    void formMensEsvaziado();
};

void TstFormMens::conjuntoDeTipos() {
    QCOMPARE(Exclusao.bits(), quint8(1));
    QCOMPARE(Erro.bits(), quint8(128));
    QCOMPARE((ResAC + ResAEC).bits(), quint8(96));
    const TTipoMensagens s{tmGravacao, tmErro};
    QVERIFY(s.contains(tmGravacao) && s.contains(tmErro) && !s.contains(tmExclusao));
    QCOMPARE(s, Gravacao | Erro);
    QVERIFY(TTipoMensagens{}.isEmpty());
}

void TstFormMens::aparencia_data() {
    QTest::addColumn<TTipoMensagens>("tipos");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QStringList>("botoes");
    QTest::addColumn<QStringList>("imagens");
    QTest::addColumn<QString>("foco");

    const QString sim216 = QStringLiteral("bbSim:&Sim@216");
    const QString nao300 = QStringLiteral("bbNao:&Não@300");
    const QString ok300 = QStringLiteral("bbOk:&OK@300");
    QTest::newRow("exclusao") << Exclusao << "Mensagem Confirma Exclusão" << QStringList{sim216, nao300}
                              << QStringList{"ImgExc"} << "bbNao";
    QTest::newRow("gravacao") << Gravacao << "Mensagem Confirma Gravação"
                              << QStringList{"bbSim:&Sim@133", "bbNao:&Não@216", "bbCancel:&Cancelar@300"}
                              << QStringList{"ImgGrav"} << "bbCancel";
    QTest::newRow("advertencia") << Advertencia << "Mensagem de Advertência" << QStringList{ok300}
                                 << QStringList{"ImgAdv"} << "bbOk";
    QTest::newRow("informacao") << Informacao << "Mensagem de Informação" << QStringList{ok300}
                                << QStringList{"ImgInfo"} << "bbOk";
    QTest::newRow("confirmacao") << Confirmacao << "Mensagem de Confirmação" << QStringList{sim216, nao300}
                                 << QStringList{"ImgConf"} << "bbNao";
    QTest::newRow("resAC") << ResAC << "Atenção"
                           << QStringList{"bbSim:&Alterar@216", "bbCancel:&Cancelar@300"}
                           << QStringList{"ImgResAEC"} << "bbCancel";
    QTest::newRow("resAEC") << ResAEC << "Atenção"
                            << QStringList{"bbSim:&Alterar@133", "bbNao:&Excluir@216",
                                           "bbCancel:&Cancelar@300"}
                            << QStringList{"ImgResAEC"} << "bbSim";
    // No button and no icon: the text box is the only control left to hold the focus.
    QTest::newRow("erro") << Erro << "Confirmar Exclusão de Arquivos" << QStringList{} << QStringList{}
                          << "Memo1";
    QTest::newRow("vazio") << TTipoMensagens{} << "Confirmar Exclusão de Arquivos" << QStringList{}
                           << QStringList{} << "Memo1";
    // Several kinds: images and buttons add up, moves compound, the highest kind wins.
    QTest::newRow("exclusao+informacao")
        << (Exclusao + Informacao) << "Mensagem de Informação" << QStringList{sim216, nao300, ok300}
        << QStringList{"ImgExc", "ImgInfo"} << "bbOk";
    QTest::newRow("exclusao+gravacao")
        << (Exclusao + Gravacao) << "Mensagem Confirma Gravação"
        << QStringList{"bbNao:&Não@216", "bbSim:&Sim@300", "bbCancel:&Cancelar@300"}
        << QStringList{"ImgExc", "ImgGrav"} << "bbCancel";
    QTest::newRow("advertencia+resAEC+erro")
        << TTipoMensagens{tmAdvertencia, tmResAEC, tmErro} << "Atenção"
        << QStringList{"bbSim:&Alterar@133", "bbNao:&Excluir@216", "bbCancel:&Cancelar@300", ok300}
        << QStringList{"ImgAdv", "ImgResAEC"} << "bbSim";
}

void TstFormMens::aparencia() {
    QFETCH(TTipoMensagens, tipos);
    QFETCH(QString, titulo);
    QFETCH(QStringList, botoes);
    QFETCH(QStringList, imagens);
    QFETCH(QString, foco);

    Retrato r;
    const int resultado = mostra(
        QStringLiteral("Listagem vazia!"), tipos, [](TFormMens* j) { tecla(j, Qt::Key_Escape); }, &r);
    QCOMPARE(resultado, 2);
    QCOMPARE(r.titulo, titulo);
    QCOMPARE(r.botoes, botoes);
    QCOMPARE(r.imagens, imagens);
    QCOMPARE(r.foco, foco);
}

void TstFormMens::teclasECliques_data() {
    QTest::addColumn<TTipoMensagens>("tipos");
    QTest::addColumn<QString>("focar"); // control to focus first; empty keeps the initial focus
    QTest::addColumn<QString>("acao");  // "esc", "enter", "close", "hide", or "click:<button>"
    QTest::addColumn<int>("esperado");

    QTest::newRow("informacao enter") << Informacao << ""
                                      << "enter" << 1;
    QTest::newRow("informacao esc") << Informacao << ""
                                    << "esc" << 2;
    QTest::newRow("exclusao enter no foco inicial (Não)") << Exclusao << ""
                                                          << "enter" << 7;
    QTest::newRow("gravacao enter no foco inicial (Cancelar)") << Gravacao << ""
                                                               << "enter" << 2;
    QTest::newRow("resAEC enter no foco inicial (Alterar)") << ResAEC << ""
                                                            << "enter" << 6;
    QTest::newRow("gravacao enter em Não") << Gravacao << "bbNao"
                                           << "enter" << 7;
    QTest::newRow("memo enter com Sim") << Exclusao << "Memo1"
                                        << "enter" << 6;
    QTest::newRow("memo enter só com OK") << Advertencia << "Memo1"
                                          << "enter" << 1;
    QTest::newRow("memo enter com Sim e OK") << (Exclusao + Informacao) << "Memo1"
                                             << "enter" << 6;
    QTest::newRow("sem foco enter aciona Sim") << Gravacao << "-"
                                               << "enter" << 6;
    QTest::newRow("memo esc") << Confirmacao << "Memo1"
                              << "esc" << 2;
    QTest::newRow("erro esc") << Erro << ""
                              << "esc" << 2;
    QTest::newRow("erro fechar") << Erro << ""
                                 << "close" << 2;
    QTest::newRow("gravacao fechar") << Gravacao << ""
                                     << "close" << 2;
    QTest::newRow("escondida sem botão") << Gravacao << ""
                                         << "hide" << 2;
    QTest::newRow("clique Sim") << Gravacao << ""
                                << "click:bbSim" << 6;
    QTest::newRow("clique Não") << Gravacao << ""
                                << "click:bbNao" << 7;
    QTest::newRow("clique Cancelar") << Gravacao << ""
                                     << "click:bbCancel" << 2;
    QTest::newRow("clique OK") << Advertencia << ""
                               << "click:bbOk" << 1;
    QTest::newRow("resAEC clique Excluir") << ResAEC << ""
                                           << "click:bbNao" << 7;
    QTest::newRow("resAC clique Alterar") << ResAC << ""
                                          << "click:bbSim" << 6;
}

void TstFormMens::teclasECliques() {
    QFETCH(TTipoMensagens, tipos);
    QFETCH(QString, focar);
    QFETCH(QString, acao);
    QFETCH(int, esperado);

    const int resultado = mostra(QStringLiteral("Confirma?"), tipos, [&](TFormMens* j) {
        if (focar == QLatin1String("-")) {
            if (QWidget* f = j->focusWidget())
                f->clearFocus();
        } else if (!focar.isEmpty()) {
            j->findChild<QWidget*>(focar)->setFocus();
        }
        if (acao == QLatin1String("esc"))
            tecla(j, Qt::Key_Escape);
        else if (acao == QLatin1String("enter"))
            tecla(j, Qt::Key_Return);
        else if (acao == QLatin1String("close"))
            j->close();
        else if (acao == QLatin1String("hide"))
            j->hide();
        else
            QTest::mouseClick(botao(j, acao.mid(6)), Qt::LeftButton);
    });
    QCOMPARE(resultado, esperado);
}

void TstFormMens::enterSemAcaoMantemJanela() {
    // Without Sim or OK, Enter in the text box does nothing: the window stays until Esc.
    bool abertaAposEnter = false;
    const int resultado = mostra(QStringLiteral("Erro grave"), Erro, [&](TFormMens* j) {
        j->findChild<QWidget*>(QStringLiteral("Memo1"))->setFocus();
        tecla(j, Qt::Key_Enter);
        QTimer::singleShot(50, j, [&abertaAposEnter, j] {
            abertaAposEnter = j->isVisible();
            tecla(j, Qt::Key_Escape);
        });
    });
    QVERIFY(abertaAposEnter);
    QCOMPARE(resultado, 2);
}

void TstFormMens::barraDeRolagem_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("barra");

    auto linhas = [](int n, const QString& quebra = QStringLiteral("\n")) {
        QStringList l;
        for (int i = 1; i <= n; ++i)
            l << QStringLiteral("linha %1").arg(i);
        return l.join(quebra);
    };
    QTest::newRow("3 linhas") << linhas(3) << false;
    QTest::newRow("7 linhas") << linhas(7) << false;
    QTest::newRow("7 linhas e quebra final") << linhas(7) + "\n" << false;
    QTest::newRow("8 linhas") << linhas(8) << true;
    QTest::newRow("8 linhas CRLF") << linhas(8, QStringLiteral("\r\n")) << true;
    // One paragraph without any line break that wraps to far more than 7 lines.
    QTest::newRow("parágrafo longo") << QStringLiteral("palavra ").repeated(200) << true;
    QTest::newRow("6 linhas + uma que quebra")
        << linhas(6) + "\n" + QStringLiteral("texto comprido ").repeated(20) << true;
}

void TstFormMens::barraDeRolagem() {
    QFETCH(QString, texto);
    QFETCH(bool, barra);

    Retrato r;
    mostra(
        texto, Informacao, [](TFormMens* j) { tecla(j, Qt::Key_Escape); }, &r);
    QCOMPARE(r.barra, barra);
}

void TstFormMens::formMensEsvaziado() {
    Retrato r;
    QCOMPARE(FormMens, nullptr);
    mostra(
        QStringLiteral("x"), Advertencia, [](TFormMens* j) { tecla(j, Qt::Key_Return); }, &r);
    QVERIFY(r.formMensEraJanela);
    QCOMPARE(FormMens, nullptr);
}

QTEST_MAIN(TstFormMens)
#include "tst_formmens.moc"
