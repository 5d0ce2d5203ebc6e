package visualizador.dados;

import static org.junit.jupiter.api.Assertions.assertNotEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.file.Files;
import java.nio.file.Path;
import java.sql.ResultSet;
import java.sql.Statement;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import visualizador.BancoTeste;
import visualizador.ErroRelatorio;

class ConexaoAntecipadaTest {
    @TempDir
    Path home;

    private static int processoDoServidor(Conexao c) throws Exception {
        try (Statement st = c.jdbc().createStatement(); ResultSet rs = st.executeQuery("SELECT pg_backend_pid()")) {
            rs.next();
            return rs.getInt(1);
        }
    }

    /** The first caller gets the early session, a report run again gets one of its own. */
    @Test
    void primeiraEhAAntecipadaDepoisNovas() throws Exception {
        try (ConexaoAntecipada conexoes = ConexaoAntecipada.abrir(BancoTeste.SERVICO, BancoTeste.ambiente(home));
                Conexao primeira = conexoes.obter(); Conexao segunda = conexoes.obter()) {
            assertNotEquals(processoDoServidor(primeira), processoDoServidor(segunda));
        }
    }

    /** A failure to connect reaches the report as Conexao.abrir raises it, not as a hang or a null. */
    @Test
    void falhaAoConectarChegaAoRelatorio() throws Exception {
        final Ambiente base = BancoTeste.ambiente(home);
        final Path servicos = Path.of(base.variavel("PGSERVICEFILE"));
        Files.writeString(servicos, "[Zarvent]\nhost=127.0.0.1\nport=1\nuser=u\n");
        try (ConexaoAntecipada conexoes = ConexaoAntecipada.abrir(BancoTeste.SERVICO, base)) {
            final ErroRelatorio e = assertThrows(ErroRelatorio.class, conexoes::obter);
            assertTrue(e.getMessage().contains("Não foi possível conectar"), e.getMessage());
        }
    }
}
