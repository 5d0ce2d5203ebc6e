package visualizador.janela;

import static org.junit.jupiter.api.Assertions.assertEquals;

import java.nio.file.Path;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.Formato;

class VisualizacaoEscolhaArquivoTest {
    /** A typed known extension picks the format over the type chosen in the list. */
    @ParameterizedTest
    @CsvSource({"relatorio, PDF, PDF, relatorio.pdf", "relatorio.xls, PDF, XLS, relatorio.xls",
        "Relatorio.HTML, XLS, HTML, Relatorio.HTML", "relatorio.xlsx, PDF, XLS, relatorio.xls",
        "relatorio.txt, HTML, HTML, relatorio.txt.html", "r.pdf, HTML, PDF, r.pdf"})
    void extensaoDigitadaEscolheOFormato(String digitado, Formato tipo, Formato formato, String arquivo) {
        final Formato f = VisualizacaoEscolhaArquivo.formatoDigitado(digitado, tipo);
        assertEquals(formato, f);
        assertEquals(Path.of("/d", arquivo), VisualizacaoEscolhaArquivo.comExtensao(Path.of("/d", digitado), f));
    }
}
