#include "base/AppError.h"
#include "search/TrocaTextoSQL.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>
#include <QtTest>

namespace {

const QString CRLF = QStringLiteral("\r\n");

// What a query gives back after its text was set: split at CR LF, LF or CR (a final break adds no
// empty line), every line followed by CR LF.
QString comoQuery(const QString& texto) {
    QString resultado;
    qsizetype inicio = 0;
    const qsizetype n = texto.size();
    while (inicio < n) {
        qsizetype fim = inicio;
        while (fim < n && texto.at(fim) != u'\r' && texto.at(fim) != u'\n')
            ++fim;
        resultado += texto.mid(inicio, fim - inicio) + CRLF;
        if (fim < n && texto.at(fim) == u'\r' && fim + 1 < n && texto.at(fim + 1) == u'\n')
            ++fim;
        inicio = fim + 1;
    }
    return resultado;
}

// The name the windows pass: the field name upper-cased, except for TextoDaSQL which passes it as is.
QString nomeDoChamador(const QString& campo, FormaTroca forma) {
    return forma == FormaTroca::TextoDaSQL ? campo : campo.toUpper();
}

const QString kPasso0 =
    QStringLiteral("select deppcod as Código,deppdes as Descrição from depp where deppdes "
                   "like :0 order by deppdes limit 50;");
const QString kCabecaDepp = QStringLiteral("SELECT DEPPCOD AS CÓDIGO,DEPPDES AS DESCRIÇÃO FROM DEPP WHERE ");
const QString kPasso1 = kCabecaDepp + QStringLiteral("UPPER(cast(DEPPCOD as varchar(254))) LIKE :0 ORDER BY "
                                                     "DEPPCOD DESC  LIMIT 50;\r\n");
const QString kPasso2 =
    kCabecaDepp +
    QStringLiteral("UPPER(cast(DEPPDES as varchar(254))) LIKE :0 ORDER BY DEPPDES  LIMIT 50;\r\n");
const QString kPasso3 = kCabecaDepp + QStringLiteral("UPPER(cast(DEPPDES as varchar(254))) LIKE :0 ORDER BY "
                                                     "DEPPDES DESC   LIMIT 50;\r\n");
const QString kPasso4 = kCabecaDepp + QStringLiteral("UPPER(cast(DEPPCOD as varchar(254))) LIKE :0 ORDER BY "
                                                     "DEPPCOD DESC   LIMIT 50;\r\n");

const QString kListaPro =
    QStringLiteral("select procod as Código,prodes as Descrição,proref as Referência from "
                   "pro where prodes like :0 order by Descrição limit 50;");
const QString kCabecaPro =
    QStringLiteral("SELECT PROCOD AS CÓDIGO,PRODES AS DESCRIÇÃO,PROREF AS REFERÊNCIA FROM PRO WHERE ");
const QString kListaForn =
    QStringLiteral("Select parcod,pardes as Descrição, parfan as Fantasia, parcnpjcpf as "
                   "CNPJ from par join forn on pardes like :0 and parcod = forparcod "
                   "Order By pardes limit 50;");
const QString kCabecaForn = QStringLiteral(
    "SELECT PARCOD,PARDES AS DESCRIÇÃO, PARFAN AS FANTASIA, PARCNPJCPF AS CNPJ FROM PAR JOIN FORN ON ");

} // namespace

Q_DECLARE_METATYPE(FormaTroca)

class TstTrocaTextoSQL : public QObject {
    Q_OBJECT

private slots:
    void rescrita_data();
    void rescrita();
    void falhas_data();
    void falhas();
    void trataOrdem_data();
    void trataOrdem();
    void retornaCampo_data();
    void retornaCampo();
    void apagaUpper_data();
    void apagaUpper();
    void exemploEmCadeia();
    void rescritasRepetidasMantemOFinal();
    void textoQualquerNuncaPassaDoLimite();
};

void TstTrocaTextoSQL::rescrita_data() {
    QTest::addColumn<QString>("listagem"); // as the flow prepared it, before the query's round trip
    QTest::addColumn<FormaTroca>("forma");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<int>("coluna");
    QTest::addColumn<int>("colAnt");
    QTest::addColumn<bool>("decrescente");
    QTest::addColumn<QString>("esperado");

    const auto T = FormaTroca::Titulo;
    const auto D = FormaTroca::Digitacao;
    const auto S = FormaTroca::TextoDaSQL;

    QTest::newRow("shown: title on the search column sorts descending")
        << kPasso0 << T << "código" << 0 << 0 << false << kPasso1;
    QTest::newRow("title on another column: ascending, old DESC dropped")
        << kPasso1 << T << "descrição" << 1 << 0 << false << kPasso2;
    QTest::newRow("same title again: descending")
        << kPasso2 << T << "descrição" << 1 << 1 << false << kPasso3;
    QTest::newRow("typing in another column keeps DESC")
        << kPasso3 << D << "código" << 0 << 1 << false << kPasso4;

    QTest::newRow("parenthesised condition, more conditions after it")
        << QStringLiteral(
               "select secpcod as Código, secpdes as Descrição,        deppcod as Cod_Dep,deppdes as "
               "Des_Dep from secp       join depp on deppcod = secpdeppcod where (secpdes like :0)  "
               "and secpdeppcod = 3 order by secpdes limit 50;")
        << T << "descrição" << 1 << 0 << false
        << QStringLiteral(
               "SELECT SECPCOD AS CÓDIGO, SECPDES AS DESCRIÇÃO,        DEPPCOD AS COD_DEP,DEPPDES AS "
               "DES_DEP FROM SECP       JOIN DEPP ON DEPPCOD = SECPDEPPCOD WHERE (UPPER(cast(SECPDES as "
               "varchar(254))) LIKE :0)  AND SECPDEPPCOD = 3 ORDER BY SECPDES LIMIT 50;\r\n");
    QTest::newRow("column without alias is used by its name")
        << QStringLiteral("select appcod, appdes from app where appdes like :0 order by appdes limit 50;")
        << T << "appcod" << 0 << 0 << false
        << QStringLiteral("SELECT APPCOD, APPDES FROM APP WHERE UPPER(cast(APPCOD as varchar(254))) LIKE :0 "
                          "ORDER BY APPCOD DESC  LIMIT 50;\r\n");
    QTest::newRow("explicit field keeps its case; alias sort term replaced")
        << kListaPro << S << "procod" << 0 << 0 << false
        << kCabecaPro + "UPPER(cast(procod as varchar(254))) LIKE :0 ORDER BY procod LIMIT 50;\r\n";
    QTest::newRow("explicit field after a descending sort: ascending")
        << kPasso3 << S << "deppcod" << 1 << 1 << false
        << kCabecaDepp + "UPPER(cast(deppcod as varchar(254))) LIKE :0 ORDER BY deppcod   LIMIT 50;\r\n";
    QTest::newRow("title on an accented alias") << kListaPro << T << "referência" << 2 << 0 << false
                                                << kCabecaPro + "UPPER(cast(PROREF as varchar(254))) LIKE :0 "
                                                                "ORDER BY PROREF LIMIT 50;\r\n";
    QTest::newRow("explicit accented alias is not found, inserted as given")
        << kListaPro << S << "Descrição" << 0 << 0 << false
        << kCabecaPro + "UPPER(cast(Descrição as varchar(254))) LIKE :0 ORDER BY Descrição LIMIT 50;\r\n";
    QTest::newRow("explicit ASCII alias in lower case is found")
        << QStringLiteral(
               "select  catcod as Código, catdes as Descricao,         secpcod as Cod_Sec,secpdes as "
               "Des_Sec,        deppcod as Cod_Dep, deppdes as Des_Dep from cat      join secp on "
               "secpcod = catsecpcod      join depp on deppcod = secpdeppcod where (catdes like :0)  "
               "order by catdes limit 50;")
        << S << "cod_dep" << 0 << 0 << false
        << QStringLiteral(
               "SELECT  CATCOD AS CÓDIGO, CATDES AS DESCRICAO,         SECPCOD AS COD_SEC,SECPDES AS "
               "DES_SEC,        DEPPCOD AS COD_DEP, DEPPDES AS DES_DEP FROM CAT      JOIN SECP ON "
               "SECPCOD = CATSECPCOD      JOIN DEPP ON DEPPCOD = SECPDEPPCOD WHERE (UPPER(cast(DEPPCOD "
               "as varchar(254))) LIKE :0)  ORDER BY DEPPCOD LIMIT 50;\r\n");
    QTest::newRow("condition in a join, mixed-case Order By")
        << kListaForn << T << "fantasia" << 2 << 0 << false
        << kCabecaForn + "UPPER(cast(PARFAN as varchar(254))) LIKE :0 AND PARCOD = FORPARCOD ORDER BY PARFAN "
                         "LIMIT 50;\r\n";
    QTest::newRow("explicit empty name takes the expression before the first AS")
        << kListaForn << S << "" << 0 << 0 << false
        << kCabecaForn + "UPPER(cast(PARDES as varchar(254))) LIKE :0 AND PARCOD = FORPARCOD ORDER BY PARDES "
                         "LIMIT 50;\r\n";
    QTest::newRow("alias of an expression with parentheses; tail was only the line break")
        << QStringLiteral("select coalesce(a, b) as nome, c from t where c like :0 order by c") << T << "nome"
        << 0 << 1 << false
        << QStringLiteral("SELECT COALESCE(A, B) AS NOME, C FROM T WHERE UPPER(cast(COALESCE(A, B) as "
                          "varchar(254))) LIKE :0 ORDER BY COALESCE(A, B)");
    QTest::newRow("old compared expression with nested parentheses")
        << QStringLiteral("select a, b from t where upper(coalesce(b, '')) like :0 order by b limit 50;") << D
        << "a" << 0 << 1 << false
        << QStringLiteral("SELECT A, B FROM T WHERE UPPER(cast(A as varchar(254))) LIKE :0 ORDER BY A LIMIT "
                          "50;\r\n");
    QTest::newRow("further sort terms stay")
        << QStringLiteral("select a, b from t where b like :0 order by b desc, a limit 50;") << T << "a" << 0
        << 1 << false
        << QStringLiteral(
               "SELECT A, B FROM T WHERE UPPER(cast(A as varchar(254))) LIKE :0 ORDER BY A, A LIMIT "
               "50;\r\n");
    QTest::newRow("two descending terms: title does not toggle")
        << QStringLiteral("select a, b from t where b like :0 order by b desc , a desc limit 50;") << T << "b"
        << 1 << 1 << false
        << QStringLiteral(
               "SELECT A, B FROM T WHERE UPPER(cast(B as varchar(254))) LIKE :0 ORDER BY B , A DESC "
               "LIMIT 50;\r\n");
    QTest::newRow("typing with a descending window")
        << QStringLiteral("select a, b from t where b like :0 order by b limit 50;") << D << "a" << 0 << 1
        << true
        << QStringLiteral(
               "SELECT A, B FROM T WHERE UPPER(cast(A as varchar(254))) LIKE :0 ORDER BY A DESC  LIMIT "
               "50;\r\n");
    QTest::newRow("UPPER( in the select list is left alone")
        << QStringLiteral(
               "select upper(appdes) as d, appcod from app where appdes like :0 order by appdes limit "
               "50;")
        << T << "appcod" << 1 << 0 << false
        << QStringLiteral(
               "SELECT UPPER(APPDES) AS D, APPCOD FROM APP WHERE UPPER(cast(APPCOD as varchar(254))) "
               "LIKE :0 ORDER BY APPCOD LIMIT 50;\r\n");
    QTest::newRow("a name that begins a longer alias takes that alias's expression")
        << QStringLiteral(
               "select codigo_x as codigo, cod_y as cod from t where cod_y like :0 order by cod_y limit "
               "50;")
        << T << "cod" << 1 << 0 << false
        << QStringLiteral("SELECT CODIGO_X AS CODIGO, COD_Y AS COD FROM T WHERE UPPER(cast(CODIGO_X as "
                          "varchar(254))) LIKE :0 ORDER BY CODIGO_X LIMIT 50;\r\n");
    QTest::newRow("lines of a multi-line listing are kept")
        << QStringLiteral("select a, b\nfrom t\nwhere b like :0\norder by b limit 50;") << T << "a" << 0 << 1
        << false
        << QStringLiteral(
               "SELECT A, B\r\nFROM T\r\nWHERE UPPER(cast(A as varchar(254))) LIKE :0\r\nORDER BY A "
               "LIMIT 50;\r\n");

    const QString semOrdem = QStringLiteral("select appcod, appdes from app where appdes like :0 limit 50;");
    const QString semOrdemReescrita = QStringLiteral(
        "SELECT APPCOD, APPDES FROM APP WHERE UPPER(cast(APPCOD as varchar(254)))  APPCOD, APPDES "
        "FROM APP WHERE APPDES LIKE :0 LIMIT 50;\r\n");
    QTest::newRow("no ORDER BY, title") << semOrdem << T << "appcod" << 0 << 1 << false << semOrdemReescrita;
    QTest::newRow("no ORDER BY, typing") << semOrdem << D << "appcod" << 0 << 1 << false << semOrdemReescrita;
}

void TstTrocaTextoSQL::rescrita() {
    QFETCH(QString, listagem);
    QFETCH(FormaTroca, forma);
    QFETCH(QString, campo);
    QFETCH(int, coluna);
    QFETCH(int, colAnt);
    QFETCH(bool, decrescente);
    QFETCH(QString, esperado);

    const QString texto = comoQuery(listagem);
    QCOMPARE(TrocaTextoSQL(texto, nomeDoChamador(campo, forma), forma, coluna, colAnt, decrescente),
             esperado);
}

void TstTrocaTextoSQL::falhas_data() {
    QTest::addColumn<QString>("listagem");
    QTest::addColumn<FormaTroca>("forma");
    QTest::addColumn<QString>("nome");

    QTest::newRow("no LIKE") << "select a from t order by a\r\n" << FormaTroca::Titulo << "A";
    QTest::newRow("no LIKE, explicit field") << "select a from t order by a\r\n"
                                             << FormaTroca::TextoDaSQL << "a";
    QTest::newRow("empty text") << "" << FormaTroca::Digitacao << "A";
    QTest::newRow("LIKE at the very start") << "like :0 order by a\r\n" << FormaTroca::Digitacao << "A";
    QTest::newRow("nothing before the compared expression") << "a like :0 order by a\r\n"
                                                            << FormaTroca::Digitacao << "A";
    QTest::newRow("unbalanced first sort term")
        << "select a from t where a like :0 order by coalesce(a, b\r\n"
        << FormaTroca::Titulo << "A";
    QTest::newRow("unbalanced aliased expression") << "select f(a as x from t where a like :0 order by a\r\n"
                                                   << FormaTroca::Titulo << "X";
}

void TstTrocaTextoSQL::falhas() {
    QFETCH(QString, listagem);
    QFETCH(FormaTroca, forma);
    QFETCH(QString, nome);
    QVERIFY_THROWS_EXCEPTION(RangeError, TrocaTextoSQL(listagem, nome, forma, 0, 0, false));
}

void TstTrocaTextoSQL::trataOrdem_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<FormaTroca>("forma");
    QTest::addColumn<int>("coluna");
    QTest::addColumn<int>("colAnt");
    QTest::addColumn<bool>("decrescente");
    QTest::addColumn<QString>("esperado");

    const QString asc = QStringLiteral("SELECT A FROM T WHERE A LIKE :0 ORDER BY A LIMIT 50;\r\n");
    const QString desc = QStringLiteral("SELECT A FROM T WHERE A LIKE :0 ORDER BY A DESC  LIMIT 50;\r\n");
    const QString duas =
        QStringLiteral("SELECT A FROM T WHERE A LIKE :0 ORDER BY A DESC , B DESC LIMIT 50;\r\n");
    // Only the last sort clause counts: the DESC of an inner query is no reason to stop toggling.
    const QString interna = QStringLiteral(
        "SELECT A FROM (SELECT A FROM T ORDER BY A DESC , B DESC ) X WHERE A LIKE :0 ORDER BY A\r\n");

    QTest::newRow("title, same column") << asc << FormaTroca::Titulo << 1 << 1 << false << " DESC ";
    QTest::newRow("title, other column") << asc << FormaTroca::Titulo << 2 << 1 << false << "";
    QTest::newRow("title, same column, one DESC")
        << desc << FormaTroca::Titulo << 1 << 1 << false << " DESC ";
    QTest::newRow("title, two DESC") << duas << FormaTroca::Titulo << 1 << 1 << false << "";
    QTest::newRow("title, DESC only in an inner query")
        << interna << FormaTroca::Titulo << 1 << 1 << false << " DESC ";
    QTest::newRow("typing") << asc << FormaTroca::Digitacao << 1 << 1 << false << "";
    QTest::newRow("typing, descending window") << asc << FormaTroca::Digitacao << 1 << 2 << true << " DESC ";
    QTest::newRow("typing, descending window, already DESC")
        << desc << FormaTroca::Digitacao << 1 << 2 << true << "";
    QTest::newRow("explicit field") << asc << FormaTroca::TextoDaSQL << 1 << 1 << true << "";
}

void TstTrocaTextoSQL::trataOrdem() {
    QFETCH(QString, texto);
    QFETCH(FormaTroca, forma);
    QFETCH(int, coluna);
    QFETCH(int, colAnt);
    QFETCH(bool, decrescente);
    QFETCH(QString, esperado);
    QCOMPARE(TrataOrdem(texto, forma, coluna, colAnt, decrescente), esperado);
}

void TstTrocaTextoSQL::retornaCampo_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("esperado");

    QTest::newRow("alias") << "SELECT DEPPCOD AS CÓDIGO,DEPPDES AS DESCRIÇÃO FROM DEPP"
                           << "DESCRIÇÃO"
                           << "DEPPDES";
    QTest::newRow("no alias") << "SELECT APPCOD, APPDES FROM APP"
                              << "APPDES"
                              << "APPDES";
    QTest::newRow("blanks before AS") << "SELECT A,  B   AS X FROM T"
                                      << "X"
                                      << "B";
    QTest::newRow("function with a comma inside") << "SELECT COALESCE(A, B) AS X FROM T"
                                                  << "X"
                                                  << "COALESCE(A, B)";
    QTest::newRow("expression at the start of the text") << "A AS X FROM T"
                                                         << "X"
                                                         << "A";
    QTest::newRow("first alias wins") << "SELECT A AS X, B AS X FROM T"
                                      << "X"
                                      << "A";
}

void TstTrocaTextoSQL::retornaCampo() {
    QFETCH(QString, texto);
    QFETCH(QString, nome);
    QFETCH(QString, esperado);
    QCOMPARE(RetornaCampo(texto, nome), esperado);
}

void TstTrocaTextoSQL::apagaUpper_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("esperado");

    QTest::newRow("leftover at the end") << "SELECT A FROM T WHERE UPPER("
                                         << "SELECT A FROM T WHERE ";
    QTest::newRow("leftover before blanks") << "SELECT A FROM T WHERE UPPER(  "
                                            << "SELECT A FROM T WHERE   ";
    QTest::newRow("only the leftover goes") << "SELECT UPPER(A) FROM T WHERE UPPER("
                                            << "SELECT UPPER(A) FROM T WHERE ";
    QTest::newRow("select list untouched") << "SELECT UPPER(A) AS X FROM T WHERE "
                                           << "SELECT UPPER(A) AS X FROM T WHERE ";
    QTest::newRow("opening parenthesis kept") << "SELECT A FROM T WHERE ("
                                              << "SELECT A FROM T WHERE (";
    QTest::newRow("empty") << ""
                           << "";
}

void TstTrocaTextoSQL::apagaUpper() {
    QFETCH(QString, texto);
    QFETCH(QString, esperado);
    QCOMPARE(ApagaUpper(texto), esperado);
}

// The worked steps applied one after the other, each on what the query gave back from the previous.
void TstTrocaTextoSQL::exemploEmCadeia() {
    QString texto = comoQuery(kPasso0);
    texto = comoQuery(TrocaTextoSQL(texto, QStringLiteral("CÓDIGO"), FormaTroca::Titulo, 0, 0, false));
    QCOMPARE(texto, kPasso1);
    texto = comoQuery(TrocaTextoSQL(texto, QStringLiteral("DESCRIÇÃO"), FormaTroca::Titulo, 1, 0, false));
    QCOMPARE(texto, kPasso2);
    texto = comoQuery(TrocaTextoSQL(texto, QStringLiteral("DESCRIÇÃO"), FormaTroca::Titulo, 1, 1, false));
    QCOMPARE(texto, kPasso3);
    texto = comoQuery(TrocaTextoSQL(texto, QStringLiteral("CÓDIGO"), FormaTroca::Digitacao, 0, 1, false));
    QCOMPARE(texto, kPasso4);
}

// A long session in one window: every rewriting must leave one condition, one sort clause, the
// expected sort and the row cap at the end; only the blanks before the cap may grow.
void TstTrocaTextoSQL::rescritasRepetidasMantemOFinal() {
    struct Acao {
        FormaTroca forma;
        int coluna;
    };
    const QString campos[] = {QStringLiteral("código"), QStringLiteral("descrição")};
    const QString expressoes[] = {QStringLiteral("DEPPCOD"), QStringLiteral("DEPPDES")};
    const Acao roteiro[] = {
        {FormaTroca::Titulo, 0},     {FormaTroca::Titulo, 1},    {FormaTroca::Titulo, 1},
        {FormaTroca::Titulo, 1},     {FormaTroca::Digitacao, 0}, {FormaTroca::Digitacao, 1},
        {FormaTroca::TextoDaSQL, 0}, {FormaTroca::Titulo, 0},    {FormaTroca::Titulo, 1},
        {FormaTroca::Titulo, 1},     {FormaTroca::Digitacao, 0}, {FormaTroca::Titulo, 0},
        {FormaTroca::TextoDaSQL, 1}, {FormaTroca::Digitacao, 0},
    };
    const QRegularExpression fim(QStringLiteral("ORDER BY (\\S+)( DESC)?( +)LIMIT 50;\\r\\n$"));

    QString texto = comoQuery(kPasso0);
    int colAnt = 0;
    bool desc = false;
    qsizetype brancos = 0;
    for (int volta = 0; volta < 3; ++volta) {
        for (const Acao& a : roteiro) {
            QString nome = campos[a.coluna];
            if (a.forma == FormaTroca::TextoDaSQL)
                nome = expressoes[a.coluna].toLower();
            else
                nome = nome.toUpper();
            texto = comoQuery(TrocaTextoSQL(texto, nome, a.forma, a.coluna, colAnt, false));

            if (a.forma == FormaTroca::Titulo)
                desc = a.coluna == colAnt;
            else if (a.forma == FormaTroca::TextoDaSQL)
                desc = false;
            if (a.forma != FormaTroca::TextoDaSQL)
                colAnt = a.coluna;

            const auto m = fim.match(texto);
            QVERIFY2(m.hasMatch(), qPrintable(texto));
            QCOMPARE(m.captured(1).toUpper(), expressoes[a.coluna]);
            QCOMPARE(m.hasCaptured(2), desc);
            QVERIFY2(m.captured(3).size() >= brancos, qPrintable(texto));
            brancos = m.captured(3).size();
            QCOMPARE(texto.count(QStringLiteral("LIKE :0")), 1);
            QCOMPARE(texto.count(QStringLiteral("ORDER BY")), 1);
            QVERIFY(texto.contains(QStringLiteral("WHERE UPPER(cast(") + m.captured(1) +
                                   QStringLiteral(" as varchar(254))) LIKE :0 ORDER BY")));
        }
    }
}

// Texts of SQL-like pieces in random order: the rewriting returns a text or fails with RangeError,
// nothing else (a debug build also asserts every character access).
void TstTrocaTextoSQL::textoQualquerNuncaPassaDoLimite() {
    const QStringList pecas = {
        QStringLiteral("select"), QStringLiteral(" "),         QStringLiteral("  "),
        QStringLiteral("a"),      QStringLiteral("b"),         QStringLiteral(" as "),
        QStringLiteral("x"),      QStringLiteral(","),         QStringLiteral("("),
        QStringLiteral(")"),      QStringLiteral(" like "),    QStringLiteral("like"),
        QStringLiteral(":0"),     QStringLiteral("order by"),  QStringLiteral(" desc "),
        QStringLiteral("desc"),   QStringLiteral("upper("),    QStringLiteral("\r\n"),
        QStringLiteral("ç"),      QStringLiteral("limit 50;"), QStringLiteral("ß"),
        QStringLiteral("\n"),
    };
    const QString nomes[] = {QString(), QStringLiteral("X"), QStringLiteral("A"), QStringLiteral("Ç")};
    const FormaTroca formas[] = {FormaTroca::Digitacao, FormaTroca::Titulo, FormaTroca::TextoDaSQL};

    QRandomGenerator gerador(20250428);
    int reescritos = 0;
    int recusados = 0;
    for (int i = 0; i < 20000; ++i) {
        QString texto;
        const int n = gerador.bounded(0, 25);
        for (int k = 0; k < n; ++k)
            texto += pecas.at(gerador.bounded(static_cast<int>(pecas.size())));
        if (gerador.bounded(2) == 1)
            texto = comoQuery(texto);
        const QString& nome = nomes[gerador.bounded(4)];
        const FormaTroca forma = formas[gerador.bounded(3)];
        try {
            const QString s = TrocaTextoSQL(texto, nome, forma, gerador.bounded(2), gerador.bounded(2),
                                            gerador.bounded(2) == 1);
            QVERIFY(s.contains(QStringLiteral(" as varchar(254))) ")));
            ++reescritos;
        } catch (const RangeError&) {
            ++recusados;
        }
    }
    // Both outcomes must actually have been exercised.
    QVERIFY(reescritos > 100);
    QVERIFY(recusados > 100);
}

QTEST_GUILESS_MAIN(TstTrocaTextoSQL)
#include "tst_trocatextosql.moc"
