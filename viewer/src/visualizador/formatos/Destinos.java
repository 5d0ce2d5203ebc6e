package visualizador.formatos;

import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import visualizador.ErroRelatorio;
import visualizador.Formato;
import visualizador.dados.MotorRelatorio;
import visualizador.dados.Progresso;
import visualizador.pagina.Destino;
import visualizador.pagina.Formatos;

/** The destination of each file format. */
public final class Destinos {
    private Destinos() {}

    /** {@code arquivo} as given by {@link #arquivoFinal}: its extension picks .xls or .xlsx. */
    public static Destino criar(Formato formato, Path arquivo, Progresso progresso) throws IOException {
        return switch (formato) {
            case PDF, VIS -> new DestinoPdf(arquivo, progresso);
            case XLS -> new DestinoXls(arquivo);
            case HTML -> new DestinoHtml(arquivo);
            case CSV -> new DestinoCsv(arquivo);
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
            final long linhas = motor.contarLinhasTabela();
            if (linhas > LIMITE_LINHAS_HTML)
                throw new ErroRelatorio("O relatório tem " + Formatos.inteiro(linhas) + " linhas, mais que as "
                        + Formatos.inteiro(LIMITE_LINHAS_HTML) + " que uma página HTML abre bem no navegador. "
                        + "Escolha PDF ou restrinja os filtros.");
        }
        // XLS past its limit is not refused: it goes to .xlsx (see arquivoFinal).
    }

    /**
     * The file the report is written to: {@code pedido}, except that an XLS table longer than the
     * .xls limit is written as .xlsx, under the same name with that extension. A name that would
     * replace a file the user did not choose is refused.
     */
    public static Path arquivoFinal(Formato formato, Path pedido, MotorRelatorio motor) throws ErroRelatorio {
        verificarTamanho(formato, motor);
        if (formato != Formato.XLS) return pedido;
        final long linhas = motor.contarLinhasTabela();
        if (linhas <= DestinoXls.LIMITE_LINHAS) return pedido;
        final Path xlsx = DestinoXls.comoXlsx(pedido);
        if (!xlsx.equals(pedido) && Files.exists(xlsx))
            throw new ErroRelatorio("O relatório tem " + Formatos.inteiro(linhas) + " linhas, mais que as "
                    + Formatos.inteiro(DestinoXls.LIMITE_LINHAS) + " do formato XLS, e seria gravado em " + xlsx
                    + ", que já existe. Escolha outro nome.");
        System.err.println(avisoXlsx(linhas));
        return xlsx;
    }

    static String avisoXlsx(long linhas) {
        return "O relatório tem " + Formatos.inteiro(linhas) + " linhas, mais que as "
                + Formatos.inteiro(DestinoXls.LIMITE_LINHAS) + " do XLS: gravado em .xlsx (Excel 2007 ou posterior).";
    }
}
