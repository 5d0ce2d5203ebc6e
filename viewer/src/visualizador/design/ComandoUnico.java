package visualizador.design;

/**
 * Finds a top-level ";" in a piece of SQL: the driver would send what follows it as a statement
 * of its own, outside the report's SELECT. Quotes ('', E'', "", $tag$) and comments (--, nested
 * block comments) are skipped as the server reads them.
 */
final class ComandoUnico {
    private ComandoUnico() {}

    /** The piece without one final ";" and the blanks around it. */
    static String semFinal(String sql) {
        final String t = sql.strip();
        return t.endsWith(";") && separador(t) == t.length() - 1 ? t.substring(0, t.length() - 1).strip() : t;
    }

    /** The offset of the first top-level ";", or -1. */
    static int separador(String s) {
        final int n = s.length();
        int i = 0;
        while (i < n) {
            final char c = s.charAt(i);
            if (c == ';') return i;
            if (c == '\'') {
                final boolean escape = i > 0 && (s.charAt(i - 1) == 'E' || s.charAt(i - 1) == 'e')
                        && (i < 2 || !Character.isLetterOrDigit(s.charAt(i - 2)) && s.charAt(i - 2) != '_');
                i = fimCitacao(s, i, '\'', escape);
            } else if (c == '"') {
                i = fimCitacao(s, i, '"', false);
            } else if (c == '-' && i + 1 < n && s.charAt(i + 1) == '-') {
                final int fim = s.indexOf('\n', i);
                i = fim < 0 ? n : fim + 1;
            } else if (c == '/' && i + 1 < n && s.charAt(i + 1) == '*') {
                int nivel = 1;
                i += 2;
                while (i < n && nivel > 0) {
                    if (s.startsWith("/*", i)) {
                        nivel++;
                        i += 2;
                    } else if (s.startsWith("*/", i)) {
                        nivel--;
                        i += 2;
                    } else i++;
                }
            } else if (c == '$' && (i == 0 || !parteNome(s.charAt(i - 1)))) {
                final int fimTag = s.indexOf('$', i + 1);
                final String tag = fimTag < 0 ? null : s.substring(i, fimTag + 1);
                if (tag != null && tag.chars().skip(1).limit(tag.length() - 2L).allMatch(ch -> parteNome((char) ch))
                        && (tag.length() == 2 || !Character.isDigit(tag.charAt(1)))) {
                    final int fim = s.indexOf(tag, fimTag + 1);
                    i = fim < 0 ? n : fim + tag.length();
                } else i++;
            } else i++;
        }
        return -1;
    }

    private static int fimCitacao(String s, int inicio, char aspa, boolean barraEscapa) {
        int i = inicio + 1;
        while (i < s.length()) {
            final char c = s.charAt(i);
            if (barraEscapa && c == '\\') i += 2;
            else if (c == aspa) {
                if (i + 1 < s.length() && s.charAt(i + 1) == aspa) i += 2;
                else return i + 1;
            } else i++;
        }
        return s.length();
    }

    private static boolean parteNome(char c) {
        return Character.isLetterOrDigit(c) || c == '_';
    }
}
