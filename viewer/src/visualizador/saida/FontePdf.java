package visualizador.saida;

import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.font.PDType0Font;

/**
 * An embedded TrueType font with each character's glyph and width looked up once: a report of a
 * million lines measures and writes its text from two arrays instead of PDFBox's per-call encoding.
 * Glyph codes are the font's own glyph ids (Identity-H), so two bytes per character.
 */
final class FontePdf {
    static final char RETICENCIAS = '\u2026';

    /** The resource name the page content uses ("F1"). */
    final String nome;
    final PDType0Font pd;
    private final char[] glifos = new char[65536]; // 0 = not looked up yet (.notdef is never written)
    private final float[] larguras = new float[65536]; // advance in thousandths of the font size

    FontePdf(PDDocument doc, Path arquivo, String nome) throws IOException {
        if (!Files.isReadable(arquivo))
            throw new IOException("fonte " + arquivo + " não encontrada (pacote fonts-dejavu-core)");
        this.pd = PDType0Font.load(doc, arquivo.toFile());
        this.nome = nome;
        if (glifoNaFonte('?') <= 0) throw new IOException("a fonte " + arquivo + " não tem os caracteres básicos");
    }

    char glifo(char c) {
        final char g = glifos[c];
        return g != 0 ? g : conhecer(c);
    }

    /** Width in thousandths of the font size. */
    float largura(char c) {
        if (glifos[c] == 0) conhecer(c);
        return larguras[c];
    }

    float largura(CharSequence s) {
        return largura(s, Float.MAX_VALUE);
    }

    /** The width of {@code s}, or, once past {@code maximo}, some width beyond it (no need to go on). */
    float largura(CharSequence s, float maximo) {
        float w = 0;
        for (int i = 0, n = s.length(); i < n && w <= maximo; i++) w += largura(s.charAt(i));
        return w;
    }

    /** How many leading characters of {@code s} fit in {@code maximo} thousandths of the size. */
    int caber(CharSequence s, float maximo) {
        return caber(s, 0, maximo);
    }

    /** The end of the longest piece of {@code s} from {@code inicio} that fits in {@code maximo}. */
    int caber(CharSequence s, int inicio, float maximo) {
        float w = 0;
        for (int i = inicio, n = s.length(); i < n; i++) {
            w += largura(s.charAt(i));
            if (w > maximo) return i;
        }
        return s.length();
    }

    float largura(CharSequence s, int inicio, int fim) {
        float w = 0;
        for (int i = inicio; i < fim; i++) w += largura(s.charAt(i));
        return w;
    }

    // Control characters print as a blank, characters the font lacks (and each half of a
    // surrogate pair) as "?": an unprintable character must never stop the report.
    private char conhecer(char c) {
        char usar = Character.isISOControl(c) ? ' ' : Character.isSurrogate(c) ? '?' : c;
        int gid = glifoNaFonte(usar);
        if (gid <= 0) {
            usar = '?';
            gid = glifoNaFonte(usar);
        }
        pd.addToSubset(usar);
        try {
            // Rounded as the embedded font's width table has them, so that positions computed
            // here are where a reader draws the glyphs.
            larguras[c] = Math.round(pd.getWidthFromFont(gid));
        } catch (IOException e) {
            larguras[c] = pd.getAverageFontWidth();
        }
        glifos[c] = (char) gid;
        return (char) gid;
    }

    private int glifoNaFonte(char c) {
        try {
            final byte[] b = pd.encode(String.valueOf(c));
            return b.length == 2 ? (b[0] & 0xff) << 8 | (b[1] & 0xff) : -1;
        } catch (IOException | IllegalArgumentException e) {
            return -1; // no glyph for it
        }
    }
}
