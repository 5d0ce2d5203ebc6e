package visualizador.dados;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import java.sql.ResultSet;
import java.sql.SQLException;
import java.sql.Statement;
import java.util.Map;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.BancoTeste;
import visualizador.ErroRelatorio;

class ConexaoTest {
    @TempDir
    Path home;

    @Test
    void sessaoSomenteLeitura() throws Exception {
        try (Conexao c = BancoTeste.conectar(home); Statement st = c.jdbc().createStatement()) {
            final SQLException e = assertThrows(SQLException.class, () -> st.execute("UPDATE marcas SET marcasdes = 'X'"));
            assertEquals("25006", e.getSQLState());
        }
    }

    /** Limits set in the service reach the session; the driver sets none of its own. */
    @Test
    void limitesDoServicoValem() throws Exception {
        final Ambiente base = BancoTeste.ambiente(home);
        final Path servicos = Path.of(base.variavel("PGSERVICEFILE"));
        Files.writeString(servicos, Files.readString(servicos) + "options=-c statement_timeout=150\n");
        try (Conexao c = Conexao.abrir(BancoTeste.SERVICO, base); Statement st = c.jdbc().createStatement()) {
            final SQLException e = assertThrows(SQLException.class, () -> st.execute("SELECT pg_sleep(5)"));
            assertEquals("57014", e.getSQLState());
            assertTrue(e.getMessage().contains("statement timeout"), e.getMessage());
        }
    }

    /** A host list is tried in order: the first, down, is passed over for the next. */
    @Test
    void variosHostsComoNaLibpq() throws Exception {
        final Ambiente base = BancoTeste.ambiente(home);
        final Path servicos = Path.of(base.variavel("PGSERVICEFILE"));
        final String porta = System.getenv("ZV_TEST_PGPORT");
        Files.writeString(servicos, Files.readString(servicos).replace("host=" + System.getenv("ZV_TEST_PGHOST"),
                "host=127.0.0.1," + System.getenv("ZV_TEST_PGHOST")).replace("port=" + porta, "port=1," + porta)
                + "target_session_attrs=read-write\n");
        try (Conexao c = Conexao.abrir(BancoTeste.SERVICO, base); Statement st = c.jdbc().createStatement();
             ResultSet rs = st.executeQuery("SELECT inet_server_port()")) {
            rs.next();
            assertEquals(porta, rs.getString(1));
        }
    }

    /**
     * host=127.0.0.1,localhost, the first down, and a password-file line for the second only:
     * each host gets its own password, and target_session_attrs is still checked on each.
     */
    @ParameterizedTest
    @CsvSource({"any, true", "read-write, true", "prefer-standby, true", "standby, false"})
    void senhaDoArquivoPorHost(String sessao, boolean conecta) throws Exception {
        assumeTrue(BancoTeste.disponivel(), "ZV_TEST_PGHOST not set: run through scripts/test.sh");
        final String porta = System.getenv("ZV_TEST_PGPORT");
        final Path servicos = home.resolve("pg_service.conf");
        Files.writeString(servicos, "[Zarvent]\nhost=127.0.0.1,localhost\nport=1," + porta + "\ndbname="
                + System.getenv("ZV_TEST_PGDATABASE") + "\nuser=" + System.getenv("ZV_TEST_PGUSER")
                + "\ntarget_session_attrs=" + sessao + "\n");
        final Path senhas = home.resolve(".pgpass");
        Files.writeString(senhas, "localhost:" + porta + ":*:*:" + System.getenv("ZV_TEST_PGPASSWORD") + "\n");
        Files.setPosixFilePermissions(senhas, PosixFilePermissions.fromString("rw-------"));
        final Ambiente amb = new Ambiente(Map.of("PGSERVICEFILE", servicos.toString()), home);
        if (!conecta) {
            final ErroRelatorio e = assertThrows(ErroRelatorio.class, () -> Conexao.abrir("Zarvent", amb));
            assertTrue(e.getMessage().contains("127.0.0.1:1 (sem senha: nenhuma linha de " + senhas)
                    && e.getMessage().contains("localhost:" + porta + ": "), e.getMessage());
            return;
        }
        try (Conexao c = Conexao.abrir("Zarvent", amb); Statement st = c.jdbc().createStatement();
             ResultSet rs = st.executeQuery("SELECT inet_server_port()")) {
            rs.next();
            assertEquals(porta, rs.getString(1));
        }
    }

    @Test
    void bancoForaDoArEMensagemClara() throws Exception {
        Files.writeString(home.resolve(".pg_service.conf"), "[Zarvent]\nhost=127.0.0.1\nport=1\ndbname=x\nuser=y\n");
        final Ambiente amb = new Ambiente(Map.of(), home);
        final ErroRelatorio e = assertThrows(ErroRelatorio.class, () -> Conexao.abrir("Zarvent", amb));
        assertTrue(e.getMessage().contains("Zarvent") && e.getMessage().contains("127.0.0.1:1"), e.getMessage());
    }

    // A SQL_ASCII database holding Windows-1252 names beside UTF-8 ones reads both correctly.
    @Test
    void bancoLegadoSqlAscii() throws Exception {
        final Ambiente base = BancoTeste.ambiente(home);
        final Path servicos = Path.of(base.variavel("PGSERVICEFILE"));
        Files.writeString(servicos, Files.readString(servicos).replace("dbname=" + System.getenv("ZV_TEST_PGDATABASE"),
                "dbname=zvlegado"));
        try (Conexao c = Conexao.abrir(BancoTeste.SERVICO, base); Statement st = c.jdbc().createStatement();
             ResultSet rs = st.executeQuery("SELECT pardes FROM par WHERE parcod IN (1, 2) ORDER BY parcod")) {
            assertTrue(c.legado());
            rs.next();
            assertEquals("MERCADÃO SÃO JOSÉ LTDA", c.texto(rs, 1));
            rs.next();
            assertEquals("BOA VISTA ATACADO E VAREJO LTDA", c.texto(rs, 1));
        }
    }

    @ParameterizedTest
    @CsvSource({"AÇÚCAR, UTF-8", "AÇÚCAR, windows-1252", "ÁGUA SANITÁRIA, UTF-8", "PÃO, windows-1252"})
    void decodificacaoLegada(String texto, String origem) {
        assertEquals(texto, Conexao.decodificar(texto.getBytes(java.nio.charset.Charset.forName(origem))));
    }
}
