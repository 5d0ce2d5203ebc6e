package visualizador.dados;

import java.util.ArrayList;
import java.util.List;

/**
 * Turns ":NAME" placeholders into JDBC's "?" and remembers the names in order. Quoted text,
 * quoted identifiers, comments and "::" casts are left alone.
 */
public record SqlNomeado(String sql, List<String> nomes) {

    public static SqlNomeado compilar(String texto) {
        final StringBuilder out = new StringBuilder(texto.length());
        final List<String> nomes = new ArrayList<>();
        int i = 0;
        final int n = texto.length();
        while (i < n) {
            final char c = texto.charAt(i);
            if (c == '\'' || c == '"') {
                final int fim = fimCitacao(texto, i, c);
                out.append(texto, i, fim);
                i = fim;
            } else if (c == '-' && i + 1 < n && texto.charAt(i + 1) == '-') {
                final int fim = texto.indexOf('\n', i);
                final int ate = fim < 0 ? n : fim;
                out.append(texto, i, ate);
                i = ate;
            } else if (c == '/' && i + 1 < n && texto.charAt(i + 1) == '*') {
                final int fim = texto.indexOf("*/", i + 2);
                final int ate = fim < 0 ? n : fim + 2;
                out.append(texto, i, ate);
                i = ate;
            } else if (c == ':' && i + 1 < n && texto.charAt(i + 1) == ':') {
                out.append("::");
                i += 2;
            } else if (c == ':' && i + 1 < n && inicioNome(texto.charAt(i + 1))) {
                int j = i + 1;
                while (j < n && parteNome(texto.charAt(j))) j++;
                nomes.add(texto.substring(i + 1, j));
                out.append('?');
                i = j;
            } else {
                out.append(c);
                i++;
            }
        }
        return new SqlNomeado(out.toString(), List.copyOf(nomes));
    }

    private static int fimCitacao(String t, int inicio, char aspa) {
        int i = inicio + 1;
        while (i < t.length()) {
            if (t.charAt(i) == aspa) {
                if (i + 1 < t.length() && t.charAt(i + 1) == aspa) i += 2; // doubled quote
                else return i + 1;
            } else i++;
        }
        return t.length();
    }

    private static boolean inicioNome(char c) {
        return Character.isLetter(c) || c == '_';
    }

    private static boolean parteNome(char c) {
        return Character.isLetterOrDigit(c) || c == '_';
    }
}
