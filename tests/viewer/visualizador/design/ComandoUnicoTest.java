package visualizador.design;

import static org.junit.jupiter.api.Assertions.assertEquals;

import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

class ComandoUnicoTest {
    /**
     * The piece as written (⏎ for a line break) and how many statements the driver sends for it:
     * a ";" hidden in quotes, identifiers or comments keeps it one; a real one makes two.
     */
    @ParameterizedTest
    @CsvSource(delimiter = '|', quoteCharacter = '`', value = {
        "SELECT 1                                                    | 1",
        "SELECT ';'                                                  | 1",
        "SELECT 'it''s;'                                             | 1",
        "SELECT E'\\';' ; SELECT 2                                   | 2",
        "SELECT \"a;b\" FROM t                                       | 1",
        "SELECT U&\"a;\" FROM t                                      | 1",
        "SELECT 1 -- ; ⏎ ; SELECT 2                                  | 2",
        "SELECT 1 -- ; SELECT 2                                      | 1",
        "SELECT /* /* ; */ ; */ 1                                    | 1",
        "SELECT /* /* */ ; SELECT 2 */ 1                             | 1",
        "SELECT $$;$$, $f$ ; $$ ; $f$                                | 1",
        "SELECT $a$ $b$ ; $b$ $a$                                    | 1",
        "SELECT a$$$ FROM t; COMMIT; CREATE TABLE x (a int); SELECT 1 AS b$$$ | 4",
        "SELECT a$b FROM t; SELECT 2                                 | 2",
        "SELECT 1; COMMIT; CREATE TABLE t (x int)                    | 3",
        "SELECT 1;                                                   | 1",
    })
    void comandosComoODriverEnvia(String sql, int comandos) {
        assertEquals(comandos, ComandoUnico.comandos(sql.strip().replace("⏎", "\n")));
    }

    @ParameterizedTest
    @CsvSource(delimiter = '|', value = {
        "SELECT 1 ;  | SELECT 1", "SELECT ';' | SELECT ';'", "SELECT 1;; | SELECT 1", "SELECT 1; SELECT 2; | SELECT 1; SELECT 2;"})
    void pontoEVirgulaFinalSai(String sql, String esperado) {
        assertEquals(esperado, ComandoUnico.semFinal(sql));
    }
}
