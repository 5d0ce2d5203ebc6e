package visualizador.dados;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import java.nio.file.Path;
import java.sql.PreparedStatement;
import java.sql.ResultSet;
import java.sql.SQLException;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.ExecutionException;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.BancoTeste;

/** The session's own guarantees: one statement per text, and a cancel that reaches any thread. */
class SessaoTest {
    @TempDir
    Path home;

    /** What the driver would split is refused before anything is sent; the rest runs. */
    @ParameterizedTest
    @CsvSource(delimiter = '|', quoteCharacter = '`', value = {
        "SELECT 1                                   | true",
        "SELECT ';', $$;$$                          | true",
        "SELECT 1; SELECT 2                         | false",
        "SELECT a$$$ FROM (SELECT 1 AS a$$$) x; SELECT 1 AS b$$$ | false",
    })
    void umComandoPorTexto(String sql, boolean aceito) throws Exception {
        assumeTrue(BancoTeste.disponivel());
        try (Conexao c = BancoTeste.conectar(home)) {
            if (aceito) {
                try (PreparedStatement st = c.preparar(sql); ResultSet rs = st.executeQuery()) {
                    assertTrue(rs.next());
                }
            } else {
                final SQLException e = assertThrows(SQLException.class, () -> c.preparar(sql));
                assertEquals("42601", e.getSQLState());
            }
        }
    }

    /** cancelar() from another thread stops the statement, wherever it runs. */
    @Test
    void cancelarSozinhoParaOComando() throws Exception {
        assumeTrue(BancoTeste.disponivel());
        try (Conexao c = BancoTeste.conectar(home)) {
            final CompletableFuture<Void> longo = CompletableFuture.runAsync(() -> {
                try (PreparedStatement st = c.preparar("SELECT pg_sleep(60)"); ResultSet rs = st.executeQuery()) {
                    rs.next();
                } catch (SQLException e) {
                    throw new IllegalStateException(e);
                }
            });
            // The cancel may arrive before the statement starts; it is sent again until it ends.
            final long prazo = System.nanoTime() + TimeUnit.SECONDS.toNanos(20);
            while (!longo.isDone() && System.nanoTime() < prazo) {
                c.cancelar();
                try {
                    longo.get(100, TimeUnit.MILLISECONDS);
                } catch (java.util.concurrent.TimeoutException e) {
                    // still running: cancel again
                } catch (ExecutionException e) {
                    break;
                }
            }
            final ExecutionException e = assertThrows(ExecutionException.class, () -> longo.get(1, TimeUnit.SECONDS));
            assertEquals("57014", ((SQLException) e.getCause().getCause()).getSQLState());
        }
    }
}
