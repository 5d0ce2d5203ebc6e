package visualizador.formatos;

import java.io.IOException;
import java.io.Writer;

/** Text made safe inside markup: the HTML page and the spreadsheet's XML parts. */
final class Marcacao {
    private Marcacao() {}

    /** Nothing to escape: plain characters below the surrogates. */
    private static boolean limpo(String s) {
        for (int i = 0; i < s.length(); i++) {
            final char c = s.charAt(i);
            if (c < 0x20 || c == '<' || c == '>' || c == '&' || c == '"' || c == '\'' || c >= 0xD800)
                return false;
        }
        return true;
    }

    /** {@code s} escaped as {@link #escapar(String, Writer)} writes it. */
    static String escapar(String s) {
        final java.io.StringWriter w = new java.io.StringWriter(s.length() + 16);
        try {
            escapar(s, w);
        } catch (IOException e) {
            throw new java.io.UncheckedIOException(e); // a StringWriter does not fail
        }
        return w.toString();
    }

    /** Markup escaped for XML and HTML alike; characters XML cannot hold (controls, lone surrogates)
     * become U+FFFD. */
    static void escapar(String s, Writer w) throws IOException {
        if (limpo(s)) {
            w.write(s);
            return;
        }
        for (int i = 0; i < s.length(); i++) {
            final char c = s.charAt(i);
            switch (c) {
                case '<' -> w.write("&lt;");
                case '>' -> w.write("&gt;");
                case '&' -> w.write("&amp;");
                case '"' -> w.write("&quot;");
                case '\'' -> w.write("&#39;");
                default -> {
                    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' || c == 0xFFFE || c == 0xFFFF) {
                        w.write('\uFFFD');
                    } else if (Character.isHighSurrogate(c) && i + 1 < s.length()
                            && Character.isLowSurrogate(s.charAt(i + 1))) {
                        w.write(c);
                        w.write(s.charAt(++i));
                    } else if (Character.isSurrogate(c)) {
                        w.write('\uFFFD');
                    } else {
                        w.write(c);
                    }
                }
            }
        }
    }
}
