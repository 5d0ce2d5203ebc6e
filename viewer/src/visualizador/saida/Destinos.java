package visualizador.saida;

import java.io.IOException;
import java.nio.file.Path;
import visualizador.ErroRelatorio;
import visualizador.Formato;
import visualizador.dados.MotorRelatorio;
import visualizador.dados.Progresso;

/** The destination of each file format. */
public final class Destinos {
    private Destinos() {}

    public static Destino criar(Formato formato, Path arquivo, Progresso progresso) throws IOException {
        return switch (formato) {
            case PDF, VIS -> new DestinoPdf(arquivo, progresso);
            case XLS -> new DestinoXls(arquivo);
            case HTML -> new DestinoHtml(arquivo);
        };
    }

    /**
     * Lines above which an HTML page is refused: at about 400 bytes a line, some 40 MB of page,
     * past which a browser takes long to open it and holds gigabytes for it.
     */
    static final long LIMITE_LINHAS_HTML = 100_000;

    /** Refuses, before anything is laid out, a report too large for the format. */
    public static void verificarTamanho(Formato formato, MotorRelatorio motor) throws ErroRelatorio {
        if (formato == Formato.HTML) {
            final long linhas = motor.contarLinhas();
            if (linhas > LIMITE_LINHAS_HTML)
                throw new ErroRelatorio("O relatório tem " + Formatos.inteiro(linhas) + " linhas, mais que as "
                        + Formatos.inteiro(LIMITE_LINHAS_HTML) + " que uma página HTML abre bem no navegador. "
                        + "Escolha PDF ou restrinja os filtros.");
            return;
        }
        if (formato != Formato.XLS) return;
        final long linhas = motor.contarLinhas();
        if (linhas > DestinoXls.LIMITE_LINHAS)
            throw new ErroRelatorio("O relatório tem " + Formatos.inteiro(linhas) + " linhas, mais que as "
                    + Formatos.inteiro(DestinoXls.LIMITE_LINHAS) + " que uma planilha XLS comporta aqui. "
                    + "Escolha PDF ou restrinja os filtros.");
    }
}
