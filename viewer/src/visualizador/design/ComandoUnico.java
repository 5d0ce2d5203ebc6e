package visualizador.design;

import java.sql.SQLException;
import org.postgresql.core.Parser;

/**
 * How many statements the driver sends for a text. It splits at each ";" it reads at top level and
 * sends every piece; asking its own splitter, not a lexer of ours, means the answer is the driver's
 * by construction. A text it sends as one statement goes to the server as one Parse message, where
 * a second command the server might read is refused, so a piece can never run as two.
 */
public final class ComandoUnico {
    private ComandoUnico() {}

    /**
     * The statements the driver would send for {@code sql} (0 for an empty text).
     *
     * @param aspasPadrao the session's standard_conforming_strings, which decides how the driver
     *     reads a backslash in quotes (on in every server since 9.1)
     */
    public static int comandos(String sql, boolean aspasPadrao) throws SQLException {
        return Parser.parseJdbcSql(sql, aspasPadrao, true, true, false, false).size();
    }

    static int comandos(String sql) {
        try {
            return comandos(sql, true);
        } catch (SQLException e) {
            return -1; // the driver could not read it: not one statement it would send as such
        }
    }

    /** The piece without final ";" and blanks, as long as the driver still reads one statement. */
    static String semFinal(String sql) {
        String t = sql.strip();
        while (t.endsWith(";")) {
            final String sem = t.substring(0, t.length() - 1).strip();
            if (comandos(sem) != 1 || comandos(t) != 1) break;
            t = sem;
        }
        return t;
    }
}
