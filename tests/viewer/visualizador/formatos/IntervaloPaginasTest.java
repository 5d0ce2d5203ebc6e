package visualizador.formatos;

import static org.junit.jupiter.api.Assertions.assertDoesNotThrow;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.ErroRelatorio;

class IntervaloPaginasTest {
    @ParameterizedTest(name = "\"{0}\" → {1}-{2}")
    @CsvSource(delimiter = '|', value = {"3-7 | 3 | 7", "' 3 - 7 ' | 3 | 7", "3–7 | 3 | 7", "3 a 7 | 3 | 7", "5 | 5 | 5",
        "1-1 | 1 | 1", "007-010 | 7 | 10", "4-4 | 4 | 4"})
    void aceita(String texto, int primeira, int ultima) throws ErroRelatorio {
        assertEquals(new IntervaloPaginas(primeira, ultima), IntervaloPaginas.analisar(texto));
    }

    @ParameterizedTest(name = "\"{0}\"")
    @CsvSource(delimiter = '|', nullValues = "NULO", value = {"''", "'   '", "NULO"})
    void emBrancoETodas(String texto) throws ErroRelatorio {
        assertNull(IntervaloPaginas.analisar(texto));
    }

    /** Each refused with a message that names what was typed and says what to do. */
    @ParameterizedTest(name = "\"{0}\"")
    @CsvSource(delimiter = '|', value = {"7-3 | escreva 3-7", "0 | a primeira página é a 1", "0-2 | a primeira página é a 1",
        "abc | como 3-7", "3-x | como 3-7", "3- | como 3-7", "-3 | como 3-7", "1,3 | como 3-7", "3-7-9 | como 3-7",
        "99999999999 | como 3-7", "2.5 | como 3-7"})
    void recusa(String texto, String explicacao) {
        final ErroRelatorio e = assertThrows(ErroRelatorio.class, () -> IntervaloPaginas.analisar(texto));
        assertTrue(e.getMessage().contains("\"" + texto.strip() + "\"") && e.getMessage().contains(explicacao),
                e.getMessage());
    }

    @ParameterizedTest(name = "{0}-{1} of {2}")
    @CsvSource({"3, 7, 7, true", "3, 7, 6, false", "1, 1, 1, true", "2, 2, 1, false", "1, 40, 40, true"})
    void cabeNoRelatorio(int primeira, int ultima, int total, boolean cabe) {
        final IntervaloPaginas i = new IntervaloPaginas(primeira, ultima);
        if (cabe) {
            assertDoesNotThrow(() -> i.verificar(total));
        } else {
            final ErroRelatorio e = assertThrows(ErroRelatorio.class, () -> i.verificar(total));
            assertTrue(e.getMessage().contains("tem " + total + " página"), e.getMessage());
        }
    }
}
