#include "base/AppError.h"
#include "common/EventosString.h"

#include <QtTest>

class TstEventosString : public QObject {
    Q_OBJECT

private slots:
    void retornaPosUltimo_data();
    void retornaPosUltimo();
    void apagaPalavra_data();
    void apagaPalavra();
    void apagaPalavraSemParada_data();
    void apagaPalavraSemParada();
    void valorSemZerosAEsq_data();
    void valorSemZerosAEsq();
};

void TstEventosString::retornaPosUltimo_data() {
    QTest::addColumn<QString>("procurado");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("esperado");

    QTest::newRow("once") << "LIKE"
                          << "SELECT DES FROM PRO WHERE DE LIKE :0 ORDER BY DE" << 30;
    QTest::newRow("twice gives the second") << "ORDER BY"
                                            << "SELECT PRODES FROM PRO ORDER BY PRODES) ORDER BY 1" << 41;
    QTest::newRow("absent") << "ORDER BY"
                            << "SELECT A FROM T" << 0;
    QTest::newRow("empty needle") << ""
                                  << "SELECT A" << 0;
    QTest::newRow("empty text") << "A"
                                << "" << 0;
    QTest::newRow("at the start") << "SEL"
                                  << "SELECT" << 1;
    QTest::newRow("at the end") << "CT"
                                << "SELECT" << 5;
    QTest::newRow("overlapping matches are skipped") << "AA"
                                                     << "AAA" << 1;
    QTest::newRow("matches follow each other") << "AA"
                                               << "AAAA" << 3;
    QTest::newRow("case counts") << "like"
                                 << "A LIKE B" << 0;
    QTest::newRow("accents count") << "CÓDIGO"
                                   << "CODIGO" << 0;
    QTest::newRow("accented text") << "AS"
                                   << "CÓDIGO AS X AS" << 13;
}

void TstEventosString::retornaPosUltimo() {
    QFETCH(QString, procurado);
    QFETCH(QString, texto);
    QFETCH(int, esperado);
    QCOMPARE(::retornaPosUltimo(procurado, texto), esperado);
}

void TstEventosString::apagaPalavra_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QChar>("posicao");
    QTest::addColumn<QString>("esperado");

    const QChar u(u'u');
    const QChar p(u'p');
    QTest::newRow("u: function call") << "SELECT A FROM T WHERE UPPER(X) " << u << "SELECT A FROM T WHERE ";
    QTest::newRow("u: keeps an opening parenthesis") << "WHERE (SECPDES" << u << "WHERE (";
    QTest::newRow("u: nested parentheses") << "WHERE UPPER(CAST(DEPPCOD AS VARCHAR(254)))" << u << "WHERE ";
    QTest::newRow("u: groups side by side") << "WHERE F(A)(B)" << u << "WHERE ";
    QTest::newRow("u: trailing blanks") << "A B   " << u << "A ";
    QTest::newRow("u: stop at a parenthesis") << "X (A" << u << "X (";
    QTest::newRow("u: only lower-case u cuts the end") << "A B" << QChar(u'U') << " B";
    QTest::newRow("p: sort term") << " X DESC" << p << " DESC";
    QTest::newRow("p: comma outside the group") << "UPPER(A, B), C" << p << ", C";
    QTest::newRow("p: empty") << "" << p << "";
    QTest::newRow("p: one word") << "ABC" << p << "";
    QTest::newRow("p: blanks after the word stay") << "DEPPDES  LIMIT 50;\r\n" << p << "  LIMIT 50;\r\n";
    QTest::newRow("p: leading comma") << "  ,A" << p << ",A";
    QTest::newRow("p: line break is part of the word") << "A\r\n" << p << "";
    QTest::newRow("p: any other letter") << "A B" << QChar(u'x') << " B";
}

void TstEventosString::apagaPalavra() {
    QFETCH(QString, texto);
    QFETCH(QChar, posicao);
    QFETCH(QString, esperado);
    QCOMPARE(ApagaPalavra(texto, posicao), esperado);
}

void TstEventosString::apagaPalavraSemParada_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QChar>("posicao");

    const QChar u(u'u');
    const QChar p(u'p');
    QTest::newRow("u: empty") << "" << u;
    QTest::newRow("u: blanks only") << "   " << u;
    QTest::newRow("u: one word") << "ABC" << u;
    QTest::newRow("u: unbalanced") << "X A)" << u;
    QTest::newRow("p: blanks only") << "   " << p;
    QTest::newRow("p: unclosed group") << "F(A" << p;
    QTest::newRow("p: unclosed group with comma") << "F(A, B" << p;
}

void TstEventosString::apagaPalavraSemParada() {
    QFETCH(QString, texto);
    QFETCH(QChar, posicao);
    QVERIFY_THROWS_EXCEPTION(RangeError, ApagaPalavra(texto, posicao));
}

void TstEventosString::valorSemZerosAEsq_data() {
    QTest::addColumn<QString>("conteudo");
    QTest::addColumn<QString>("esperado");

    QTest::newRow("leading zeros") << "000123"
                                   << "123";
    QTest::newRow("only zeros") << "000"
                                << "0";
    QTest::newRow("single zero") << "0"
                                 << "0";
    QTest::newRow("trailing zeros stay") << "100"
                                         << "100";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("letters") << "0A0"
                             << "A0";
    QTest::newRow("blank stops") << " 012"
                                 << " 012";
    QTest::newRow("several codes") << "007,008"
                                   << "7,008";
}

void TstEventosString::valorSemZerosAEsq() {
    QFETCH(QString, conteudo);
    QFETCH(QString, esperado);
    QCOMPARE(ValorSemZerosAEsq(conteudo), esperado);
}

QTEST_GUILESS_MAIN(TstEventosString)
#include "tst_eventosstring.moc"
