#include "base/AppError.h"
#include "common/Conversao.h"
#include "report/RelatorioJasper.h"
#include "widgets/FormMens.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTimer>
#include <QtTest>

using ListaParametros = QList<std::pair<QString, QVariant>>;
Q_DECLARE_METATYPE(ListaParametros)
Q_DECLARE_METATYPE(TFormatoSaida)

namespace {

const char* const kVarSaida = "ZV_JAVA_SAIDA";

void adiciona(TRelatorioJasper& job, const ListaParametros& parametros) {
    for (const auto& [chave, valor] : parametros) {
        switch (valor.typeId()) {
        case QMetaType::Int:
            job.addParametro(chave, valor.toInt());
            break;
        case QMetaType::QDateTime:
            job.addParametro(chave, valor.toDateTime());
            break;
        default:
            job.addParametro(chave, valor.toString());
        }
    }
}

QStringList lerArgumentos(const QString& arquivo) {
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("<ilegível>")};
    QByteArray dados = f.readAll();
    if (dados.endsWith('\0'))
        dados.chop(1);
    QStringList args;
    for (const QByteArray& a : dados.split('\0'))
        args << QString::fromUtf8(a);
    return args;
}

} // namespace

class TstRelatorioJasper : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void formatoSaida_data();
    void formatoSaida();
    void enumeradoToStr_data();
    void enumeradoToStr();
    void parametros_data();
    void parametros();
    void dataInvalidaNaoViraZero();
    void argumentos_data();
    void argumentos();
    void nadaEhInterpretado();
    void listaComoOTextoDeAntes_data();
    void listaComoOTextoDeAntes();
    void duasExecucoesDoisVisualizadores();
    void javaAusenteMostraAdvertencia();
    void javaDeVerdade_data();
    void javaDeVerdade();
    void opcoesJava_data();
    void opcoesJava();
    void opcoesJavaNoAmbienteDoFilho_data();
    void opcoesJavaNoAmbienteDoFilho();

private:
    // Waits for n finished stub runs and returns their argument lists (empty on timeout).
    QList<QStringList> execucoes(int n, int timeoutMs = 10000);
    QString pasta(const QString& nome) const { return fTmp.filePath(nome); }

    QTemporaryDir fTmp;
    QByteArray fPathOriginal;
    QByteArray fJdkOpcoesOriginal;
    bool fTinhaJdkOpcoes = false;
    QString fDirOriginal;
    QString fPrograma; // D
};

void TstRelatorioJasper::initTestCase() {
    QVERIFY(fTmp.isValid());
    fPathOriginal = qgetenv("PATH");
    fDirOriginal = QDir::currentPath();
    for (const char* p : {"bin", "saida", "ambiente", "trabalho", "vazio", "programa"})
        QVERIFY(QDir().mkpath(pasta(QLatin1String(p))));
    fPrograma = pasta(QStringLiteral("programa"));

    // A stand-in for the Java runtime: records its arguments NUL-separated, one file per run,
    // renamed into place so a half-written file is never read.
    QFile stub(pasta(QStringLiteral("bin/java")));
    QVERIFY(stub.open(QIODevice::WriteOnly));
    // JDK_JAVA_OPTIONS goes first into a file of its own ("<unset>" when not set).
    stub.write("#!/bin/sh\n"
               "saida=\"$ZV_JAVA_SAIDA.$$\"\n"
               "printf '%s' \"${JDK_JAVA_OPTIONS-<unset>}\" > \"$ZV_JAVA_AMBIENTE.$$\"\n"
               "printf '%s\\0' \"$@\" > \"$saida.tmp\" && mv \"$saida.tmp\" \"$saida\"\n");
    stub.close();
    QVERIFY(stub.setPermissions(stub.permissions() | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther));

    qputenv(kVarSaida, pasta(QStringLiteral("saida/run")).toUtf8());
    qputenv("ZV_JAVA_AMBIENTE", pasta(QStringLiteral("ambiente/run")).toUtf8());
    // Anything a shell might run would land here.
    QVERIFY(QDir::setCurrent(pasta(QStringLiteral("trabalho"))));
}

void TstRelatorioJasper::init() {
    qputenv("PATH", pasta(QStringLiteral("bin")).toUtf8() + ':' + fPathOriginal);
    for (const char* p : {"saida", "ambiente"}) {
        QDir d(pasta(QLatin1String(p)));
        for (const QString& f : d.entryList(QDir::Files))
            d.remove(f);
    }
    QFile::remove(fPrograma + QStringLiteral("/visualizador.jsa"));
    fJdkOpcoesOriginal = qgetenv("JDK_JAVA_OPTIONS");
    fTinhaJdkOpcoes = qEnvironmentVariableIsSet("JDK_JAVA_OPTIONS");
}

void TstRelatorioJasper::cleanup() {
    qputenv("PATH", fPathOriginal);
    if (fTinhaJdkOpcoes)
        qputenv("JDK_JAVA_OPTIONS", fJdkOpcoesOriginal);
    else
        qunsetenv("JDK_JAVA_OPTIONS");
    QLocale::setDefault(QLocale::c());
}

void TstRelatorioJasper::cleanupTestCase() {
    QDir::setCurrent(fDirOriginal);
}

QList<QStringList> TstRelatorioJasper::execucoes(int n, int timeoutMs) {
    const QDir saida(pasta(QStringLiteral("saida")));
    auto prontos = [&] {
        QStringList l = saida.entryList({QStringLiteral("run.*")}, QDir::Files, QDir::Time | QDir::Reversed);
        l.removeIf([](const QString& f) { return f.endsWith(QLatin1String(".tmp")); });
        return l;
    };
    (void)QTest::qWaitFor([&] { return prontos().size() >= n; }, timeoutMs); // the caller checks the count
    QTest::qWait(100); // a stray extra run would show up here
    QList<QStringList> runs;
    for (const QString& f : prontos())
        runs << lerArgumentos(saida.filePath(f));
    return runs;
}

void TstRelatorioJasper::formatoSaida_data() {
    QTest::addColumn<TFormatoSaida>("formato");
    QTest::addColumn<QString>("codigo");
    QTest::newRow("vis") << tsVisualizacao << "VIS";
    QTest::newRow("pdf") << tsPDF << "PDF";
    QTest::newRow("xls") << tsXLS << "XLS";
    QTest::newRow("html") << tsHTML << "HTML";
    QTest::newRow("fora da lista") << static_cast<TFormatoSaida>(9) << "";
}

void TstRelatorioJasper::formatoSaida() {
    QFETCH(TFormatoSaida, formato);
    QFETCH(QString, codigo);
    QCOMPARE(TRelatorioVisualizador::TFormatoSaidaToStr(formato), codigo);
}

void TstRelatorioJasper::enumeradoToStr_data() {
    QTest::addColumn<int>("valor");
    QTest::addColumn<QStringList>("textos");
    QTest::addColumn<QList<int>>("valores");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("acha") << 20 << QStringList{"a", "b", "c"} << QList<int>{10, 20, 30} << "b";
    QTest::newRow("repetido vale o último") << 7 << QStringList{"a", "b", "c"} << QList<int>{7, 1, 7} << "c";
    QTest::newRow("ausente") << 5 << QStringList{"a"} << QList<int>{1} << "";
    QTest::newRow("listas vazias") << 0 << QStringList{} << QList<int>{} << "";
}

void TstRelatorioJasper::enumeradoToStr() {
    QFETCH(int, valor);
    QFETCH(QStringList, textos);
    QFETCH(QList<int>, valores);
    QFETCH(QString, esperado);
    QCOMPARE(EnumeradoToStr(valor, textos, valores), esperado);
    // Lists that are not parallel are a caller's fault, not a silent read past the end.
    QVERIFY_THROWS_EXCEPTION(RangeError, EnumeradoToStr(valor, textos, valores + QList<int>{valor}));
}

void TstRelatorioJasper::parametros_data() {
    QTest::addColumn<ListaParametros>("entrada");
    QTest::addColumn<QStringList>("linhas");

    QTest::newRow("nenhum") << ListaParametros{} << QStringList{};
    QTest::newRow("texto, vazio vira 0")
        << ListaParametros{{"P_EMP", "12"}, {"P_DEP", ""}} << QStringList{"P_EMP=12", "P_DEP=0"};
    QTest::newRow("inteiros") << ListaParametros{{"A", 0},
                                                 {"B", -5},
                                                 {"C", 2147483647},
                                                 {"D", -2147483647 - 1}}
                              << QStringList{"A=0", "B=-5", "C=2147483647", "D=-2147483648"};
    QTest::newRow("data ignora hora e fuso")
        << ListaParametros{{"P_DATA", QDateTime(QDate(2025, 4, 28), QTime(23, 59, 59))},
                           {"P_UTC", QDateTime(QDate(2025, 4, 28), QTime(0, 0), QTimeZone::utc())},
                           {"P_ANO", QDateTime(QDate(987, 1, 2), QTime(12, 0))}}
        << QStringList{"P_DATA=2025-04-28", "P_UTC=2025-04-28", "P_ANO=0987-01-02"};
    QTest::newRow("chave repetida, igual e brancos mantidos")
        << ListaParametros{{"P_EMP", "1"}, {"P_X", "a=b"}, {"P_EMP", "2"}, {"P_Y", "dois  brancos"}}
        << QStringList{"P_EMP=1", "P_X=a=b", "P_EMP=2", "P_Y=dois  brancos"};
}

void TstRelatorioJasper::parametros() {
    QFETCH(ListaParametros, entrada);
    QFETCH(QStringList, linhas);
    // Dates must not follow the user's settings.
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    TRelatorioJasper job(QStringLiteral("zv_relacao_produto_enderecamento"));
    adiciona(job, entrada);
    QCOMPARE(job.Arquivo(), QStringLiteral("zv_relacao_produto_enderecamento"));
    QCOMPARE(job.Parametros(), linhas);
}

void TstRelatorioJasper::dataInvalidaNaoViraZero() {
    TRelatorioJasper job(QStringLiteral("r"));
    job.addParametro(QStringLiteral("P_A"), 1);
    QVERIFY_THROWS_EXCEPTION(ConversionError, job.addParametro(QStringLiteral("P_DATA"), QDateTime()));
    QCOMPARE(job.Parametros(), QStringList{QStringLiteral("P_A=1")});
}

void TstRelatorioJasper::argumentos_data() {
    QTest::addColumn<QString>("subpasta"); // program folder D below the temp folder
    QTest::addColumn<QString>("arquivo");
    QTest::addColumn<TFormatoSaida>("formato");
    QTest::addColumn<ListaParametros>("entrada");
    QTest::addColumn<QStringList>("esperados"); // the viewer's arguments after the report path

    QTest::newRow("sem parâmetros") << "programa"
                                    << "zv_relacao_produto_enderecamento" << tsVisualizacao
                                    << ListaParametros{} << QStringList{"VIS", "N"};
    QTest::newRow("ordem, repetidos e tipos")
        << "programa"
        << "rel" << tsPDF
        << ListaParametros{{"P_EMP", "1"},
                           {"P_PRO", ""},
                           {"P_EMP", 3},
                           {"P_N", -5},
                           {"P_D", QDateTime(QDate(2025, 4, 28), QTime(8, 30))}}
        << QStringList{"PDF", "N", "P_EMP=1", "P_PRO=0", "P_EMP=3", "P_N=-5", "P_D=2025-04-28"};
    QTest::newRow("valor com brancos vira vários argumentos")
        << "programa"
        << "rel" << tsXLS << ListaParametros{{"P_A", "um dois"}, {"P_B", "x  \t y "}}
        << QStringList{"XLS", "N", "P_A=um", "dois", "P_B=x", "y"};
    QTest::newRow("igual e aspas passam como estão")
        << "programa"
        << "rel" << tsHTML << ListaParametros{{"P_A", "k=v=w"}, {"P_B", "\"q\"'s'"}}
        << QStringList{"HTML", "N", "P_A=k=v=w", "P_B=\"q\"'s'"};
    QTest::newRow("formato fora da lista não vira argumento vazio")
        << "programa"
        << "rel" << static_cast<TFormatoSaida>(9) << ListaParametros{{"P_A", "1"}}
        << QStringList{"N", "P_A=1"};
    QTest::newRow("pasta do programa com brancos")
        << "pasta com  brancos"
        << "rel" << tsVisualizacao << ListaParametros{{"P_A", "1"}} << QStringList{"VIS", "N", "P_A=1"};
}

void TstRelatorioJasper::argumentos() {
    QFETCH(QString, subpasta);
    QFETCH(QString, arquivo);
    QFETCH(TFormatoSaida, formato);
    QFETCH(ListaParametros, entrada);
    QFETCH(QStringList, esperados);

    const QString d = pasta(subpasta);
    QVERIFY(QDir().mkpath(d));
    TRelatorioVisualizador job(arquivo);
    job.setPastaPrograma(d);
    adiciona(job, entrada);
    job.executar(formato);

    const QList<QStringList> runs = execucoes(1);
    QCOMPARE(runs.size(), 1);
    const QStringList inicio{"-jar", d + "/jasperviewer.jar", "Zarvent", d + "/relatorios/" + arquivo};
    QCOMPARE(runs.first(), inicio + esperados);
}

void TstRelatorioJasper::nadaEhInterpretado() {
    TRelatorioVisualizador job(QStringLiteral("rel"));
    job.setPastaPrograma(fPrograma);
    job.addParametro(QStringLiteral("P_A"), QStringLiteral(";touch x"));
    job.addParametro(QStringLiteral("P_B"), QStringLiteral("$(touch x)"));
    job.addParametro(QStringLiteral("P_C"), QStringLiteral("`touch${IFS}x`|touch&&touch${IFS}x>y"));
    job.executar(tsPDF);

    const QList<QStringList> runs = execucoes(1);
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs.first().mid(6), (QStringList{"P_A=;touch", "x", "P_B=$(touch", "x)",
                                               "P_C=`touch${IFS}x`|touch&&touch${IFS}x>y"}));
    for (const QString& lugar : {pasta("trabalho"), fPrograma, pasta("bin"), pasta("saida")}) {
        QVERIFY2(!QFile::exists(lugar + "/x"), qPrintable(lugar));
        QVERIFY2(!QFile::exists(lugar + "/y"), qPrintable(lugar));
    }
}

void TstRelatorioJasper::listaComoOTextoDeAntes_data() {
    QTest::addColumn<TFormatoSaida>("formato");
    QTest::newRow("VIS") << tsVisualizacao;
    QTest::newRow("PDF") << tsPDF;
    QTest::newRow("XLS") << tsXLS;
}

// The parameters go to the launch as a list; the viewer must still get exactly what it got when
// they were joined by blanks and the whole text split again. Compared for the window's twelve
// parameters holding any mix of what an edit can hold (typed, pasted or written by a search).
void TstRelatorioJasper::listaComoOTextoDeAntes() {
    QFETCH(TFormatoSaida, formato);
    const auto antes = [](const QString& rel, const QStringList& parametros, const QString& formato_saida,
                          const QString& pasta) {
        QString juntos;
        for (const QString& p : parametros)
            juntos += QLatin1Char(' ') + p;
        QStringList args{"-jar", pasta + "/jasperviewer.jar", "Zarvent", pasta + "/relatorios/" + rel};
        static const QRegularExpression brancos(QStringLiteral("[ \\t]+"));
        for (const QString& parte : {formato_saida, QStringLiteral("N"), juntos})
            args += parte.split(brancos, Qt::SkipEmptyParts);
        return args;
    };
    const QStringList pedacos{"",   "0",      "7", "12", ",", " ",  "  ",     "\t", " \t ",  "\n",
                              "\r", "\u00A0", "=", "é",  "'", "\"", "VÁRIOS", "-1", "\u3000"};
    const QStringList chaves{"P_EMP",  "P_DEP", "P_PRO",   "P_FORN", "P_SECP",  "P_CAT",
                             "P_SCAT", "P_FAM", "P_MARCA", "P_APP",  "P_GRUPO", "P_ORDEM"};
    QRandomGenerator aleatorio(20261210);
    const QString rel = QStringLiteral("zv_relacao_produto_enderecamento");
    for (int vez = 0; vez < 500; ++vez) {
        TRelatorioVisualizador job(rel);
        job.setPastaPrograma(fPrograma);
        for (const QString& chave : chaves) {
            QString valor;
            for (int n = int(aleatorio.bounded(5)); n > 0; --n)
                valor += pedacos[int(aleatorio.bounded(pedacos.size()))];
            job.addParametro(chave, valor);
        }
        const QString codigo = TRelatorioVisualizador::TFormatoSaidaToStr(formato);
        const QStringList agora =
            job.argumentosDoVisualizador(rel, job.Parametros(), codigo, QStringLiteral("N"));
        QCOMPARE(agora, antes(rel, job.Parametros(), codigo, fPrograma));
    }
}

void TstRelatorioJasper::duasExecucoesDoisVisualizadores() {
    TRelatorioVisualizador job(QStringLiteral("rel"));
    job.setPastaPrograma(fPrograma);
    job.addParametro(QStringLiteral("P_A"), 1);
    job.executar(tsVisualizacao);
    job.executar(tsPDF);

    const QList<QStringList> runs = execucoes(2);
    QCOMPARE(runs.size(), 2);
    QStringList formatos{runs.at(0).value(4), runs.at(1).value(4)};
    formatos.sort();
    QCOMPARE(formatos, (QStringList{"PDF", "VIS"}));
    QCOMPARE(job.Parametros(), QStringList{"P_A=1"}); // the job is left as it was
}

void TstRelatorioJasper::javaAusenteMostraAdvertencia() {
    qputenv("PATH", pasta(QStringLiteral("vazio")).toUtf8());
    QString titulo, texto;
    bool tinhaOk = false;
    std::function<void()> procura = [&] {
        auto* j = qobject_cast<TFormMens*>(QApplication::activeModalWidget());
        if (!j) {
            QTimer::singleShot(10, this, procura);
            return;
        }
        titulo = j->windowTitle();
        texto = j->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText();
        auto* ok = j->findChild<QPushButton*>(QStringLiteral("bbOk"));
        tinhaOk = ok->isVisible();
        QTimer::singleShot(3000, j, [j] { j->done(-1); }); // never hang on a fault
        ok->click();
    };
    QTimer::singleShot(0, this, procura);

    TRelatorioVisualizador job(QStringLiteral("rel"));
    job.setPastaPrograma(fPrograma);
    job.executar(tsVisualizacao); // must come back once the warning is closed, never throw

    QCOMPARE(titulo, QStringLiteral("Mensagem de Advertência"));
    QVERIFY(tinhaOk);
    QVERIFY2(texto.contains(QLatin1String("\"java\"")), qPrintable(texto));
    QCOMPARE(FormMens, nullptr);
    QVERIFY(execucoes(0, 0).isEmpty());
}

void TstRelatorioJasper::opcoesJava_data() {
    QTest::addColumn<QString>("subpasta"); // of the program's folder; "" = that folder
    QTest::addColumn<bool>("comArquivo");
    QTest::addColumn<QString>("doUsuario");
    QTest::addColumn<QString>("esperado"); // %1: the archive's path

    const QString opcao = QStringLiteral("-XX:SharedArchiveFile=%1 -Xlog:cds=off,cds+dynamic=off");
    QTest::newRow("sem arquivo") << "" << false << ""
                                 << "";
    QTest::newRow("sem arquivo, as do usuário intactas") << "" << false << "-Xmx1g"
                                                         << "-Xmx1g";
    QTest::newRow("arquivo") << "" << true << "" << opcao;
    QTest::newRow("só brancos do usuário") << "" << true << "  " << opcao;
    QTest::newRow("depois das do usuário") << "" << true << "-Xmx1g '-Dx=a b'"
                                           << "-Xmx1g '-Dx=a b' " + opcao;
    QTest::newRow("o usuário escolheu um arquivo") << "" << true << "-XX:SharedArchiveFile=/x.jsa"
                                                   << "-XX:SharedArchiveFile=/x.jsa";
    QTest::newRow("o usuário desligou") << "" << true << "-Xshare:off"
                                        << "-Xshare:off";
    QTest::newRow("pasta com brancos") << "com brancos" << true << "-Xmx1g"
                                       << "-Xmx1g \"-XX:SharedArchiveFile=%1\" -Xlog:cds=off,cds+dynamic=off";
    QTest::newRow("pasta com aspas") << "com\"aspas" << true << "-Xmx1g"
                                     << "-Xmx1g";
}

void TstRelatorioJasper::opcoesJava() {
    QFETCH(QString, subpasta);
    QFETCH(bool, comArquivo);
    QFETCH(QString, doUsuario);
    QFETCH(QString, esperado);

    const QString dir = subpasta.isEmpty() ? fPrograma : fPrograma + QLatin1Char('/') + subpasta;
    QVERIFY(QDir().mkpath(dir));
    const QString arquivo = dir + QStringLiteral("/visualizador.jsa");
    QFile::remove(arquivo);
    if (comArquivo) {
        QFile f(arquivo);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    TRelatorioVisualizador job(QStringLiteral("rel"));
    job.setPastaPrograma(dir);
    QCOMPARE(job.opcoesJava(doUsuario),
             esperado.contains(QLatin1String("%1")) ? esperado.arg(arquivo) : esperado);
    QFile::remove(arquivo);
}

void TstRelatorioJasper::opcoesJavaNoAmbienteDoFilho_data() {
    QTest::addColumn<bool>("doUsuarioDefinida");
    QTest::addColumn<QString>("doUsuario");
    QTest::addColumn<bool>("comArquivo");
    QTest::addColumn<QString>("esperado"); // %1: the archive's path

    QTest::newRow("nada") << false << "" << false << "<unset>";
    QTest::newRow("só a do usuário") << true << "-Xmx1g -Dzv=1" << false << "-Xmx1g -Dzv=1";
    const QString opcao = QStringLiteral("-XX:SharedArchiveFile=%1 -Xlog:cds=off,cds+dynamic=off");
    QTest::newRow("só o arquivo") << false << "" << true << opcao;
    QTest::newRow("as duas") << true << "-Xmx1g -Dzv=1" << true << "-Xmx1g -Dzv=1 " + opcao;
}

void TstRelatorioJasper::opcoesJavaNoAmbienteDoFilho() {
    QFETCH(bool, doUsuarioDefinida);
    QFETCH(QString, doUsuario);
    QFETCH(bool, comArquivo);
    QFETCH(QString, esperado);

    if (doUsuarioDefinida)
        qputenv("JDK_JAVA_OPTIONS", doUsuario.toUtf8());
    else
        qunsetenv("JDK_JAVA_OPTIONS");
    const QString arquivo = fPrograma + QStringLiteral("/visualizador.jsa");
    if (comArquivo) {
        QFile f(arquivo);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    TRelatorioVisualizador job(QStringLiteral("rel"));
    job.setPastaPrograma(fPrograma);
    job.executar(tsVisualizacao);

    const QList<QStringList> runs = execucoes(1);
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs.at(0).value(4), QStringLiteral("VIS")); // the command line is the usual one
    const QDir ambiente(pasta(QStringLiteral("ambiente")));
    const QStringList registros = ambiente.entryList(QDir::Files);
    QCOMPARE(registros.size(), 1);
    QFile f(ambiente.filePath(registros.at(0)));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()),
             esperado.contains(QLatin1String("%1")) ? esperado.arg(arquivo) : esperado);
    // The launcher's own environment is left as it was.
    QCOMPARE(qEnvironmentVariableIsSet("JDK_JAVA_OPTIONS"), doUsuarioDefinida);
    QCOMPARE(qEnvironmentVariable("JDK_JAVA_OPTIONS"), doUsuario);
}

void TstRelatorioJasper::javaDeVerdade_data() {
    // The archive beside the jar: the runtime must ignore one that does not fit, never refuse to start.
    QTest::addColumn<QString>("arquivo");
    QTest::newRow("sem arquivo") << "";
    QTest::newRow("arquivo vazio") << "vazio";
    QTest::newRow("arquivo corrompido") << "corrompido";
    QTest::newRow("arquivo de um jar anterior") << "anterior";
    QTest::newRow("arquivo deste jar") << "valido";
}

void TstRelatorioJasper::javaDeVerdade() {
    QFETCH(QString, arquivo);
    // The real runtime on a tiny viewer that writes down what it received.
    if (QStandardPaths::findExecutable(QStringLiteral("javac")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("jar")).isEmpty())
        QSKIP("javac/jar not found");

    const QString fontes = pasta(QStringLiteral("java"));
    QVERIFY(QDir().mkpath(fontes + "/classes"));
    QFile::remove(fontes + "/classes/extra.txt");
    QFile src(fontes + "/Visualizador.java");
    QVERIFY(src.open(QIODevice::WriteOnly));
    src.write("import java.nio.charset.StandardCharsets;\n"
              "import java.nio.file.*;\n"
              "public class Visualizador {\n"
              "  public static void main(String[] a) throws Exception {\n"
              "    Path saida = Paths.get(System.getenv(\"ZV_JAVA_SAIDA\") + \".java\");\n"
              "    Path tmp = Paths.get(saida + \".tmp\");\n"
              "    Files.write(tmp, String.join(\"\\0\", a).getBytes(StandardCharsets.UTF_8));\n"
              "    Files.move(tmp, saida, StandardCopyOption.ATOMIC_MOVE);\n"
              "  }\n"
              "}\n");
    src.close();
    const QString d = pasta(QStringLiteral("programa java com brancos"));
    QVERIFY(QDir().mkpath(d));
    QCOMPARE(QProcess::execute(QStringLiteral("javac"),
                               {"-d", fontes + "/classes", fontes + "/Visualizador.java"}),
             0);
    QCOMPARE(QProcess::execute(QStringLiteral("jar"), {"cfe", d + "/jasperviewer.jar", "Visualizador", "-C",
                                                       fontes + "/classes", "."}),
             0);
    const QString jsa = d + QStringLiteral("/visualizador.jsa");
    QFile::remove(jsa);
    if (arquivo == QLatin1String("vazio") || arquivo == QLatin1String("corrompido")) {
        QFile f(jsa);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (arquivo == QLatin1String("corrompido"))
            for (int i = 0; i < 4096; ++i)
                f.write(QByteArray::number(QRandomGenerator::global()->generate()));
    } else if (arquivo == QLatin1String("anterior") || arquivo == QLatin1String("valido")) {
        // An archive the real runtime writes for this jar; "anterior": the jar then changes.
        QProcess dump;
        QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
        amb.insert(QString::fromLatin1(kVarSaida), pasta(QStringLiteral("trabalho/dump")));
        amb.remove(QStringLiteral("JDK_JAVA_OPTIONS"));
        dump.setProcessEnvironment(amb);
        const QString java = QStandardPaths::findExecutable(
            QStringLiteral("java"),
            QString::fromLocal8Bit(fPathOriginal).split(QLatin1Char(':'))); // not the stand-in
        dump.start(java, {"-XX:ArchiveClassesAtExit=" + jsa, "-jar", d + "/jasperviewer.jar"});
        QVERIFY(dump.waitForFinished(60000));
        QCOMPARE(dump.exitCode(), 0);
        QVERIFY(QFileInfo(jsa).size() > 0);
        if (arquivo == QLatin1String("anterior")) {
            QFile extra(fontes + "/classes/extra.txt");
            QVERIFY(extra.open(QIODevice::WriteOnly));
            extra.write("outro jar");
            extra.close();
            QCOMPARE(QProcess::execute(QStringLiteral("jar"), {"cfe", d + "/jasperviewer.jar", "Visualizador",
                                                               "-C", fontes + "/classes", "."}),
                     0);
        }
    }
    qunsetenv("JDK_JAVA_OPTIONS");

    TRelatorioVisualizador job(QStringLiteral("zv_relacao_produto_enderecamento"));
    job.setPastaPrograma(d);
    job.addParametro(QStringLiteral("P_EMP"), 1);
    job.addParametro(QStringLiteral("P_DEP"), QString());
    job.addParametro(QStringLiteral("P_DATA"), QDateTime(QDate(2025, 4, 28), QTime(10, 0)));
    job.addParametro(QStringLiteral("P_DES"), QStringLiteral("$(touch x);x"));
    qputenv("PATH", fPathOriginal);
    job.executar(tsXLS);

    const QString saida = pasta(QStringLiteral("saida/run.java"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(saida), 60000);
    QCOMPARE(lerArgumentos(saida),
             (QStringList{"Zarvent", d + "/relatorios/zv_relacao_produto_enderecamento", "XLS", "N",
                          "P_EMP=1", "P_DEP=0", "P_DATA=2025-04-28", "P_DES=$(touch", "x);x"}));
}

QTEST_MAIN(TstRelatorioJasper)
#include "tst_relatoriojasper.moc"
