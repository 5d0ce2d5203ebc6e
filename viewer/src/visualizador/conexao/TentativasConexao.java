package visualizador.conexao;

import java.sql.Connection;
import java.sql.DriverManager;
import java.sql.SQLException;
import java.util.ArrayList;
import java.util.List;
import java.util.Properties;

/**
 * Opens the session on the first host of the list that takes it, as libpq does. The driver is
 * given one host at a time, each with its own password: handed the whole list, it would send
 * one password to every host. Its targetServerType still checks each host; prefer-standby looks
 * for a standby on every host first, then takes any that answers.
 */
public final class TentativasConexao {

    private TentativasConexao() {}

    /** The connection, or an SQLException naming every host tried and why each failed. */
    public static Connection conectar(ConfiguracaoConexao cfg, Properties propriedades) throws SQLException {
        final String tipo = propriedades.getProperty("targetServerType", "any");
        final List<String> passagens = tipo.equals("preferSecondary") ? List.of("secondary", "any") : List.of(tipo);
        final List<String> falhas = new ArrayList<>();
        SQLException ultima = null;
        for (String passagem : passagens)
            for (Destino d : cfg.destinos()) {
                final Properties p = new Properties();
                p.putAll(propriedades);
                p.setProperty("targetServerType", passagem);
                if (d.senha() != null) p.setProperty("password", d.senha());
                try {
                    return DriverManager.getConnection(cfg.url(d), p);
                } catch (SQLException e) {
                    if (ultima != null) e.addSuppressed(ultima);
                    ultima = e;
                    falhas.add(falha(cfg, d, passagens.size() > 1 && passagem.equals("secondary"), e));
                }
            }
        throw new SQLException((falhas.size() > 1 ? "nenhum servidor aceitou a conexão. Tentados: " : "")
                + String.join(" | ", falhas) + ".", ultima.getSQLState(), ultima);
    }

    /** "host:port (what was special): the driver's message", without the message's final period. */
    private static String falha(ConfiguracaoConexao cfg, Destino d, boolean soStandby, SQLException e) {
        final List<String> notas = new ArrayList<>();
        if (soStandby) notas.add("só standby");
        if (d.senha() == null) notas.add("sem senha: nenhuma linha de " + cfg.arquivoSenhas() + " vale para ele");
        final String msg = String.valueOf(e.getMessage()).strip();
        return d.endereco() + (notas.isEmpty() ? "" : " (" + String.join("; ", notas) + ")") + ": "
                + (msg.endsWith(".") ? msg.substring(0, msg.length() - 1) : msg);
    }
}
