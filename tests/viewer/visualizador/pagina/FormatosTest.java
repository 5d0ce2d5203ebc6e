package visualizador.pagina;

import static org.junit.jupiter.api.Assertions.assertEquals;

import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

class FormatosTest {
    // The status line and the totals count in words: singular for one only.
    @ParameterizedTest
    @CsvSource({"0, 0 páginas, 0 linhas", "1, 1 página, 1 linha", "2, 2 páginas, 2 linhas",
        "28050, 28.050 páginas, 28.050 linhas"})
    void contagens(long n, String paginas, String linhas) {
        assertEquals(paginas, Formatos.paginas(n));
        assertEquals(linhas, Formatos.linhas(n));
    }
}
