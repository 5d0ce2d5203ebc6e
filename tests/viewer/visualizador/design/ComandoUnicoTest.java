package visualizador.design;

import static org.junit.jupiter.api.Assertions.assertEquals;

import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

class ComandoUnicoTest {
    /** The piece as written (with ⏎ for a line break), and where its top-level ";" is (-1: none). */
    @ParameterizedTest
    @CsvSource(delimiter = '|', quoteCharacter = '`', value = {
        "SELECT 1                                 | -1",
        "SELECT ';'                               | -1",
        "SELECT 'it''s;'                          | -1",
        "SELECT E'\\';' ; x                       | 14",
        "SELECT 'a\\'; x                          | 11",
        "SELECT \"a;b\" FROM t                    | -1",
        "SELECT 1 -- ; ⏎ ; x                      | 16",
        "SELECT /* /* ; */ ; */ 1                 | -1",
        "SELECT $$;$$, $f$ ; $$ ; $f$             | -1",
        "SELECT $1; x                             | 9",
        "SELECT 1; COMMIT; CREATE TABLE t (x int) | 8",
    })
    void separadorNoNivelDeCima(String sql, int posicao) {
        assertEquals(posicao, ComandoUnico.separador(sql.strip().replace("⏎", "\n")));
    }

    @ParameterizedTest
    @CsvSource(delimiter = '|', value = {"SELECT 1 ;  | SELECT 1", "SELECT ';' | SELECT ';'", "SELECT 1;; | SELECT 1;;"})
    void umPontoEVirgulaFinalSai(String sql, String esperado) {
        assertEquals(esperado, ComandoUnico.semFinal(sql));
    }
}
