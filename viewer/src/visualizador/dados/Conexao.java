package visualizador.dados;

import java.nio.ByteBuffer;
import java.nio.charset.CharacterCodingException;
import java.nio.charset.Charset;
import java.nio.charset.CodingErrorAction;
import java.nio.charset.StandardCharsets;
import java.sql.Connection;
import java.sql.DriverManager;
import java.sql.ResultSet;
import java.sql.SQLException;
import java.sql.Statement;
import java.util.Map;
import java.util.Properties;
import visualizador.ErroRelatorio;

/**
 * The viewer's one read-only database session, opened from a connection service. On a legacy
 * SQL_ASCII database the server converts nothing, so text is read as bytes: UTF-8 where they
 * are valid UTF-8, else Windows-1252.
 */
public final class Conexao implements AutoCloseable {
    private static final Charset WINDOWS_1252 = Charset.forName("windows-1252");

    private final Connection jdbc;
    private final boolean legado;

    private Conexao(Connection jdbc, boolean legado) {
        this.jdbc = jdbc;
        this.legado = legado;
    }

    public static Conexao abrir(String servico, Ambiente amb) throws ErroRelatorio {
        final Map<String, String> s = ArquivoServico.ler(servico, amb);
        final String host = s.getOrDefault("host", s.getOrDefault("hostaddr", "localhost"));
        if (host.startsWith("/"))
            throw new ErroRelatorio("O serviço \"" + servico + "\" usa o socket local " + host
                    + "; o visualizador conecta por TCP: informe host=localhost (ou o servidor) no serviço.");
        final String porta = s.getOrDefault("port", "5432");
        final String usuario = s.getOrDefault("user", System.getProperty("user.name"));
        final String banco = s.getOrDefault("dbname", usuario);
        final Properties p = new Properties();
        p.setProperty("user", usuario);
        String senha = s.get("password");
        if (senha == null) senha = ArquivoSenhas.senha(amb, host, porta, banco, usuario);
        if (senha != null) p.setProperty("password", senha);
        if (s.containsKey("sslmode")) p.setProperty("sslmode", s.get("sslmode"));
        if (s.containsKey("connect_timeout")) p.setProperty("connectTimeout", s.get("connect_timeout"));
        p.setProperty("ApplicationName", "jasperviewer");
        // Every transaction begins READ ONLY, a per-transaction setting rather than a start-up
        // option, so it also holds behind a pooler that refuses or does not carry session options.
        p.setProperty("readOnly", "true");
        p.setProperty("readOnlyMode", "always");
        p.setProperty("allowEncodingChanges", "true"); // see sqlAscii
        final String url = "jdbc:postgresql://" + (host.contains(":") ? "[" + host + "]" : host) + ":" + porta + "/"
                + java.net.URLEncoder.encode(banco, StandardCharsets.UTF_8);
        try {
            final Connection c = DriverManager.getConnection(url, p);
            try {
                c.setReadOnly(true);
                final boolean legado = sqlAscii(c);
                c.setAutoCommit(false); // a cursor (fetch size) needs a transaction
                return new Conexao(c, legado);
            } catch (SQLException e) {
                c.close();
                throw e;
            }
        } catch (SQLException e) {
            throw new ErroRelatorio("Não foi possível conectar ao banco de dados do serviço \"" + servico + "\" ("
                    + usuario + "@" + host + ":" + porta + "/" + banco + "): " + e.getMessage(), e);
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
        jdbc.close();
    }
}
