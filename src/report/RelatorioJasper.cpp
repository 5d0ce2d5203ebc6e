#include "report/RelatorioJasper.h"

#include "base/AppError.h"
#include "common/Conversao.h"
#include "widgets/FormMens.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <exception>

TRelatorioJasper::TRelatorioJasper(const QString& p_Arquivo) : fArquivo(p_Arquivo) {}

void TRelatorioJasper::addParametro(const QString& p_key, const QString& p_valor) {
    fListaParametros.append(p_key + QLatin1Char('=') + (p_valor.isEmpty() ? QStringLiteral("0") : p_valor));
}

void TRelatorioJasper::addParametro(const QString& p_key, qint32 p_valor) {
    addParametro(p_key, QString::number(p_valor));
}

void TRelatorioJasper::addParametro(const QString& p_key, const QDateTime& p_valor) {
    const QDate data = p_valor.date();
    if (!data.isValid())
        throw ConversionError(QStringLiteral("Data inválida para o parâmetro %1 do relatório").arg(p_key));
    // QDate::toString with a format ignores the locale, so the viewer always gets ISO digits.
    addParametro(p_key, data.toString(QStringLiteral("yyyy-MM-dd")));
}

void TRelatorioVisualizador::executar(TFormatoSaida p_formato) {
    abrirJasper(Arquivo(), Parametros(), TFormatoSaidaToStr(p_formato), QStringLiteral("N"));
}

void TRelatorioVisualizador::abrirJasper(const QString& rel, const QString& parametros,
                                         const QString& formato_saida, const QString& valida_parametros) {
    abrirJasper(rel, QStringList{parametros}, formato_saida, valida_parametros);
}

QStringList TRelatorioVisualizador::argumentosDoVisualizador(const QString& rel,
                                                             const QStringList& parametros,
                                                             const QString& formato_saida,
                                                             const QString& valida_parametros) const {
    const QString pasta = pastaPrograma();
    QStringList argumentos{QStringLiteral("-jar"), pasta + QStringLiteral("/jasperviewer.jar"),
                           QStringLiteral("Zarvent"), pasta + QStringLiteral("/relatorios/") + rel};
    // The viewer has always received what follows the report split at blanks (an empty format or
    // a blank value is no argument at all, a value with a blank inside is two); no shell is
    // involved, so quotes, ";", "$(...)" and the like reach it as plain characters. The folder
    // may hold blanks: it is never split.
    static const QRegularExpression brancos(QStringLiteral("[ \\t]+"));
    for (const QString* parte : {&formato_saida, &valida_parametros})
        argumentos += parte->split(brancos, Qt::SkipEmptyParts);
    for (const QString& parametro : parametros)
        argumentos += parametro.split(brancos, Qt::SkipEmptyParts);
    return argumentos;
}

void TRelatorioVisualizador::abrirJasper(const QString& rel, const QStringList& parametros,
                                         const QString& formato_saida, const QString& valida_parametros) {
    try {
        const QStringList argumentos =
            argumentosDoVisualizador(rel, parametros, formato_saida, valida_parametros);

        QProcess processo;
        processo.setProgram(programaJava());
        processo.setArguments(argumentos);
        // The command line is fixed; the environment is where the runtime takes options from.
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        const QString doUsuario = ambiente.value(QStringLiteral("JDK_JAVA_OPTIONS"));
        const QString opcoes = opcoesJava(doUsuario);
        if (opcoes != doUsuario) {
            ambiente.insert(QStringLiteral("JDK_JAVA_OPTIONS"), opcoes);
            processo.setProcessEnvironment(ambiente);
        }
        if (!processo.startDetached())
#ifdef Q_OS_WIN
            throw AppError(
                QStringLiteral("Não foi possível iniciar o programa \"%1\" para abrir o relatório "
                               "%2.\nVerifique se o Java 17 está instalado na pasta jre do programa "
                               "ou no caminho de busca (PATH).")
                    .arg(QDir::toNativeSeparators(processo.program()), rel));
#else
            throw AppError(
                QStringLiteral("Não foi possível iniciar o programa \"java\" para abrir o relatório "
                               "%1.\nVerifique se o Java está instalado e no caminho de busca (PATH).")
                    .arg(rel));
#endif
    } catch (const AppError& e) {
        Mensagem(e.message(), Advertencia);
    } catch (const std::exception& e) {
        Mensagem(QString::fromLocal8Bit(e.what()), Advertencia);
    }
}

QString TRelatorioVisualizador::TFormatoSaidaToStr(TFormatoSaida t) {
    return EnumeradoToStr(
        t, {QStringLiteral("VIS"), QStringLiteral("PDF"), QStringLiteral("XLS"), QStringLiteral("HTML")},
        {tsVisualizacao, tsPDF, tsXLS, tsHTML});
}

QString TRelatorioVisualizador::opcoesJava(const QString& doUsuario) const {
    const QString arquivo = pastaPrograma() + QStringLiteral("/visualizador.jsa");
    if (!QFileInfo(arquivo).isFile())
        return doUsuario;
    static const QRegularExpression escolhaDoUsuario(QStringLiteral("SharedArchiveFile|-Xshare:"));
    if (doUsuario.contains(escolhaDoUsuario))
        return doUsuario;
    // java splits the variable at blanks and takes a quoted part whole; a path holding a quote
    // itself cannot be passed that way.
    if (arquivo.contains(QLatin1Char('"')))
        return doUsuario;
    QString opcao = QStringLiteral("-XX:SharedArchiveFile=") + arquivo;
    static const QRegularExpression branco(QStringLiteral("\\s"));
    if (opcao.contains(branco))
        opcao = QLatin1Char('"') + opcao + QLatin1Char('"');
    // Java skips an archive that does not fit it (another runtime, a changed jar), but says so on
    // standard error when it was made for another jar; skipped as quietly as a missing one.
    opcao += QStringLiteral(" -Xlog:cds=off,cds+dynamic=off");
    return doUsuario.trimmed().isEmpty() ? opcao : doUsuario + QLatin1Char(' ') + opcao;
}

QString TRelatorioVisualizador::programaJava() const {
#ifdef Q_OS_WIN
    // javaw.exe opens no console window; a runtime shipped in the program's folder comes first.
    const QString embutido = pastaPrograma() + QStringLiteral("/jre/bin/javaw.exe");
    return QFileInfo(embutido).isFile() ? embutido : QStringLiteral("javaw.exe");
#else
    return QStringLiteral("java");
#endif
}

QString TRelatorioVisualizador::pastaPrograma() const {
    QString pasta = fPastaPrograma.isEmpty() ? QCoreApplication::applicationDirPath() : fPastaPrograma;
    while (pasta.size() > 1 && pasta.endsWith(QLatin1Char('/')))
        pasta.chop(1);
    return pasta;
}

void TRelatorioVisualizador::setPastaPrograma(const QString& pasta) {
    fPastaPrograma = pasta;
}
