package visualizador.formatos;

import java.io.IOException;
import java.nio.file.Path;
import visualizador.pagina.DestinoTabela;

/**
 * The report's table for other programs, as a spreadsheet in Portuguese reads it: UTF-8 with a
 * byte order mark, ";" between fields, decimal comma without thousands separators, dates as
 * dd/mm/aaaa, CRLF line ends, and one line of column titles. Every column on every line, with no
 * group headers or totals to get in the way of a program; a summary has one line per group with
 * its count and sums. Written as it comes; the file appears only once complete.
 */
public final class DestinoCsv extends DestinoTabela {
    public DestinoCsv(Path arquivo) throws IOException {
        super(new SaidaCsv(arquivo));
    }

    /**
     * A text field, in quotes when it holds a separator, a quote or a line end. A text a
     * spreadsheet would take for a formula ("=", "+", "-", "@" first) gets an apostrophe in
     * front, as spreadsheets mark text: a product name must never run as a formula on the
     * reader's computer. A "-" before a digit is left alone (a reference like "-12" is no formula).
     */
    static String texto(String s) {
        String t = s;
        if (!t.isEmpty()) {
            final char c = t.charAt(0);
            final boolean numeroNegativo = c == '-' && t.length() > 1 && Character.isDigit(t.charAt(1))
                    && t.chars().allMatch(ch -> Character.isDigit(ch) || ch == ',' || ch == '.' || ch == '-');
            if (c == '=' || c == '+' || c == '@' || c == '\t' || c == '\r' || (c == '-' && !numeroNegativo)) t = "'" + t;
        }
        if (t.indexOf(';') < 0 && t.indexOf('"') < 0 && t.indexOf('\n') < 0 && t.indexOf('\r') < 0) return t;
        return '"' + t.replace("\"", "\"\"") + '"';
    }
}
