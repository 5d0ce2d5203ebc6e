#pragma once
// A report job (report file plus named parameters) and its launch in the external Java viewer.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Fixed underlying type: a format read from elsewhere may hold any int, and must still convert.
enum TFormatoSaida : int { tsVisualizacao, tsPDF, tsXLS, tsHTML };

class TRelatorioJasper {
public:
    // p_Arquivo: the report's name below the reports folder, without folder or extension.
    explicit TRelatorioJasper(const QString& p_Arquivo);

    const QString& Arquivo() const { return fArquivo; }
    // One "key=value" line per parameter, in the order added; repeated keys are kept.
    const QStringList& Parametros() const { return fListaParametros; }

    // An empty value is sent as "0".
    void addParametro(const QString& p_key, const QString& p_valor);
    void addParametro(const QString& p_key, qint32 p_valor);
    // Sends the date part only, as yyyy-MM-dd whatever the user's locale; an invalid date-time
    // raises ConversionError instead of being sent as "0".
    void addParametro(const QString& p_key, const QDateTime& p_valor);

private:
    QString fArquivo;
    QStringList fListaParametros;
};

class TRelatorioVisualizador : public TRelatorioJasper {
public:
    using TRelatorioJasper::TRelatorioJasper;

    // Starts the viewer for this job in the given format and returns at once.
    void executar(TFormatoSaida p_formato);

    // Starts "java -jar D/jasperviewer.jar Zarvent D/relatorios/rel formato valida parametros..."
    // detached, without a shell: each parameter is split at blanks and nothing in it is
    // interpreted. A launch that cannot start is shown as a warning message, never raised.
    void abrirJasper(const QString& rel, const QStringList& parametros, const QString& formato_saida,
                     const QString& valida_parametros);
    // The same with the parameters in one text, joined by blanks.
    void abrirJasper(const QString& rel, const QString& parametros, const QString& formato_saida,
                     const QString& valida_parametros);

    // The arguments java gets for that launch.
    QStringList argumentosDoVisualizador(const QString& rel, const QStringList& parametros,
                                         const QString& formato_saida,
                                         const QString& valida_parametros) const;

    static QString TFormatoSaidaToStr(TFormatoSaida t);

    // The Java runtime started: "java" from PATH on Linux; on Windows javaw.exe from the
    // program's jre\bin folder when there is one, else from PATH.
    QString programaJava() const;

    // JDK_JAVA_OPTIONS for the viewer, given the user's own (kept, first): the viewer's class-data
    // archive (visualizador.jsa beside jasperviewer.jar) is added when it exists, unless the user
    // already chose an archive or a sharing mode. java ignores an archive that does not fit it.
    QString opcoesJava(const QString& doUsuario) const;

    // The folder holding jasperviewer.jar and relatorios/; the program's own folder unless set.
    QString pastaPrograma() const;
    void setPastaPrograma(const QString& pasta);

private:
    QString fPastaPrograma;
};
