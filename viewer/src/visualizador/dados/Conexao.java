package visualizador.dados;

import java.nio.ByteBuffer;
import java.nio.charset.CharacterCodingException;
import java.nio.charset.Charset;
import java.nio.charset.CodingErrorAction;
import java.nio.charset.StandardCharsets;
import java.sql.Connection;
import java.sql.PreparedStatement;
import java.sql.ResultSet;
import java.sql.SQLException;
import java.sql.Statement;
import java.util.Map;
import java.util.Properties;
import java.util.Set;
import java.util.concurrent.ConcurrentHashMap;
import org.postgresql.core.BaseConnection;
import visualizador.ErroRelatorio;
import visualizador.conexao.ArquivoServico;
import visualizador.conexao.ConfiguracaoConexao;
import visualizador.conexao.TentativasConexao;
import visualizador.design.ComandoUnico;

/**
 * The viewer's one read-only database session, opened from a connection service. On a legacy
 * SQL_ASCII database the server converts nothing, so text is read as bytes: UTF-8 where they
 * are valid UTF-8, else Windows-1252.
 */
public final class Conexao implements AutoCloseable {
    private static final Charset WINDOWS_1252 = Charset.forName("windows-1252");

    /** The sessions open now: a process that is told to stop cancels their statements first. */
    private static final Set<Conexao> ABERTAS = ConcurrentHashMap.newKeySet();
    private static final long PRAZO_CANCELAR_AO_SAIR_MS = 1500;

    static {
        // SIGTERM, SIGINT and SIGHUP end the JVM through its shutdown hooks. A statement left
        // running would go on in the server (waiting for a lock, then reading the whole report)
        // long after the process is gone, so each is cancelled, as the Cancel button does.
        // A server that does not answer must not hold the exit up for long: the wait is bounded.
        Runtime.getRuntime().addShutdownHook(new Thread(() -> {
            final Thread cancela = new Thread(() -> ABERTAS.forEach(Conexao::cancelar), "conexao-cancelar-envio");
            cancela.setDaemon(true);
            cancela.start();
            try {
                cancela.join(PRAZO_CANCELAR_AO_SAIR_MS);
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
            }
        }, "conexao-cancelar"));
    }

    private final Connection jdbc;
    private final boolean legado;

    private Conexao(Connection jdbc, boolean legado) {
        this.jdbc = jdbc;
        this.legado = legado;
    }

    public static Conexao abrir(String servico, Ambiente amb) throws ErroRelatorio {
        final ConfiguracaoConexao cfg = ConfiguracaoConexao.de(servico, ArquivoServico.ler(servico, amb), amb);
        cfg.avisar(System.err::println);
        final Properties p = cfg.propriedades();
        // Read-only that the driver keeps: with autocommit off, every transaction it begins is
        // BEGIN READ ONLY. The readOnly property is left out on purpose: with it, turning
        // autocommit off makes the driver set the session back to READ WRITE.
        p.setProperty("readOnlyMode", "always");
        p.setProperty("allowEncodingChanges", "true"); // see sqlAscii
        // Behind a transaction pooler each transaction may get another server session: nothing
        // may be kept in the session. No named server-side statements (the next transaction's
        // session may already hold one of the same name, or none), and the extended protocol
        // always, so that a statement reaches the server as one Parse message, which can never
        // hold a second command.
        p.setProperty("prepareThreshold", "0");
        p.setProperty("preferQueryMode", "extended");
        try {
            final Connection c = TentativasConexao.conectar(cfg, p);
            try {
                c.setAutoCommit(false); // a cursor (fetch size) needs a transaction
                c.setReadOnly(true);
                final boolean legado = sqlAscii(c);
                c.commit(); // keeps the client encoding
                somenteLeitura(c);
                final Conexao conexao = new Conexao(c, legado);
                ABERTAS.add(conexao);
                return conexao;
            } catch (SQLException | ErroRelatorio e) {
                c.close();
                throw e;
            }
        } catch (SQLException e) {
            throw new ErroRelatorio("Não foi possível conectar ao banco de dados do serviço \"" + servico + "\" ("
                    + cfg.descricao() + "): " + e.getMessage(), e);
        }
    }

    /**
     * Opens the report's transaction with a query, which also fixes its snapshot: after it, not
     * even a design's SET TRANSACTION READ WRITE can widen it. Refuses a transaction that is not
     * read-only.
     */
    private static void somenteLeitura(Connection c) throws SQLException, ErroRelatorio {
        try (Statement st = c.createStatement();
                ResultSet rs = st.executeQuery("SELECT current_setting('transaction_read_only')")) {
            if (!rs.next() || !"on".equals(rs.getString(1)))
                throw new ErroRelatorio("A conexão não ficou somente leitura; o relatório não foi executado.");
        }
    }

    /** Asks the server to cancel the statement running now, if any (callable from any thread). */
    public void cancelar() {
        try {
            jdbc.unwrap(org.postgresql.PGConnection.class).cancelQuery();
        } catch (SQLException e) {
            // Nothing running, or the connection is gone: nothing to cancel.
        }
    }

    /**
     * On SQL_ASCII the server would refuse to send non-UTF-8 bytes to a UTF8 client, so the
     * session asks for no conversion at all and text is decoded here.
     */
    private static boolean sqlAscii(Connection c) throws SQLException {
        try (Statement st = c.createStatement()) {
            try (ResultSet rs = st.executeQuery("SHOW server_encoding")) {
                if (!rs.next() || !"SQL_ASCII".equalsIgnoreCase(rs.getString(1))) return false;
            }
            st.execute("SET client_encoding TO 'SQL_ASCII'");
            return true;
        }
    }

    /**
     * The only way the report's SQL is prepared: refused unless the driver sends it as one
     * statement, whatever quotes, comments or identifiers it holds.
     */
    public PreparedStatement preparar(String sql) throws SQLException {
        if (ComandoUnico.comandos(sql, jdbc.unwrap(BaseConnection.class).getStandardConformingStrings()) != 1)
            throw new SQLException("o SQL do relatório tem mais de um comando (\";\"); nada foi executado", "42601");
        return jdbc.prepareStatement(sql, ResultSet.TYPE_FORWARD_ONLY, ResultSet.CONCUR_READ_ONLY);
    }

    public Connection jdbc() {
        return jdbc;
    }

    public boolean legado() {
        return legado;
    }

    /** A text column, decoded as the database holds it. */
    public String texto(ResultSet rs, int coluna) throws SQLException {
        if (!legado) return rs.getString(coluna);
        return decodificar(rs.getBytes(coluna));
    }

    static String decodificar(byte[] bytes) {
        if (bytes == null) return null;
        try {
            return StandardCharsets.UTF_8.newDecoder().onMalformedInput(CodingErrorAction.REPORT)
                    .onUnmappableCharacter(CodingErrorAction.REPORT).decode(ByteBuffer.wrap(bytes)).toString();
        } catch (CharacterCodingException e) {
            return new String(bytes, WINDOWS_1252);
        }
    }

    @Override
    public void close() throws SQLException {
        ABERTAS.remove(this);
        jdbc.close();
    }
}
