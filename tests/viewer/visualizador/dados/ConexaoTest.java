package visualizador.dados;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.file.Files;
import java.nio.file.Path;
import java.sql.ResultSet;
import java.sql.SQLException;
import java.sql.Statement;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;
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

    private Ambiente ambiente(String servicos, String senhas, String... variaveis) throws Exception {
        final Map<String, String> env = new HashMap<>();
        if (servicos != null) Files.writeString(home.resolve(".pg_service.conf"), servicos);
        if (senhas != null) Files.writeString(home.resolve(".pgpass"), senhas);
        for (int i = 0; i < variaveis.length; i += 2) env.put(variaveis[i], variaveis[i + 1]);
        return new Ambiente(env, home);
    }

    @Test
    void servicoDoUsuarioAntesDoSistema() throws Exception {
        final Path sistema = Files.createDirectory(home.resolve("etc"));
        Files.writeString(sistema.resolve("pg_service.conf"), "[Zarvent]\nhost=sistema\n[Outro]\nhost=outro\n");
        final Ambiente amb = ambiente("# comment\n[Primeiro]\nhost=x\n\n[Zarvent]\n host = usuario \nport=6543\n", null,
                "PGSYSCONFDIR", sistema.toString());
        assertEquals(Map.of("host", "usuario", "port", "6543"), ArquivoServico.ler("Zarvent", amb));
        assertEquals("outro", ArquivoServico.ler("Outro", amb).get("host"));
        final ErroRelatorio e = assertThrows(ErroRelatorio.class, () -> ArquivoServico.ler("Nenhum", amb));
        assertTrue(e.getMessage().contains("\"Nenhum\"") && e.getMessage().contains(home.resolve(".pg_service.conf").toString())
                && e.getMessage().contains(sistema.resolve("pg_service.conf").toString()), e.getMessage());
    }

    @Test
    void servicoInvalidoENomeado() throws Exception {
        final Ambiente amb = ambiente("[Zarvent\nhost=x\n", null);
        assertThrows(ErroRelatorio.class, () -> ArquivoServico.ler("Zarvent", amb));
    }

    // A file group or others may read is ignored with libpq's warning, as psql does.
    @ParameterizedTest
    @CsvSource(delimiter = '|', value = {
        "h:5432:db:u:segredo              | rw------- | segredo",
        "*:*:*:u:coringa                  | r-------- | coringa",
        "h:5433:db:u:outra                | rw------- | ",
        "h:5432:db:u:com\\:dois\\\\pontos | rw------- | com:dois\\pontos",
        "h:5432:db:u:segredo              | rw-r----- | ",
        "h:5432:db:u:segredo              | rw----r-- | ",
    })
    void senhaDoPgpass(String linha, String modo, String esperada) throws Exception {
        final Ambiente amb = ambiente(null, "# comentário\n" + linha.strip() + "\n");
        Files.setPosixFilePermissions(home.resolve(".pgpass"), PosixFilePermissions.fromString(modo));
        final List<String> avisos = new ArrayList<>();
        final String senha = ArquivoSenhas.senha(amb, null, "h", "5432", "db", "u", avisos::add);
        if (esperada == null) assertNull(senha);
        else assertEquals(esperada, senha);
        assertEquals(modo.endsWith("------") ? List.of() : List.of("WARNING: password file \"" + home.resolve(".pgpass")
                + "\" has group or world access; permissions should be u=rw (0600) or less"), avisos);
    }

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

    @Test
    void bancoForaDoArEMensagemClara() throws Exception {
        final Ambiente amb = ambiente("[Zarvent]\nhost=127.0.0.1\nport=1\ndbname=x\nuser=y\n", null);
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
