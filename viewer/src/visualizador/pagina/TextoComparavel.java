package visualizador.pagina;

import java.util.Arrays;

/**
 * Text in the form the preview's search compares: lower-cased code point by code point, as UTF-8,
 * built in a reusable buffer. Both a page's text and a searched text go through here, so both
 * sides agree on every character (one beyond 16 bits included); a lone surrogate becomes '?'.
 */
public final class TextoComparavel {
    private byte[] b = new byte[1 << 14];
    private int n;

    public static byte[] de(CharSequence s) {
        final TextoComparavel t = new TextoComparavel();
        t.texto(s, 0, s.length());
        return Arrays.copyOf(t.b, t.n);
    }

    public void limpar() {
        n = 0;
    }

    public byte[] bytes() {
        return b;
    }

    public int tamanho() {
        return n;
    }

    /** Appends bytes {@code de} to {@code ate} of {@code outro}. */
    void copiar(TextoComparavel outro, int de, int ate) {
        garantir(ate - de);
        System.arraycopy(outro.b, de, b, n, ate - de);
        n += ate - de;
    }

    void caractere(char c) {
        texto(String.valueOf(c), 0, 1);
    }

    void branco() {
        garantir(1);
        b[n++] = ' ';
    }

    void texto(CharSequence s, int de, int ate) {
        garantir(3 * (ate - de)); // a char takes at most 3 bytes, a surrogate pair 4
        for (int i = de; i < ate; i++) {
            final char c = s.charAt(i);
            if (c < 0x80) {
                b[n++] = (byte) (c >= 'A' && c <= 'Z' ? c + 32 : c);
                continue;
            }
            int cp = c;
            if (Character.isHighSurrogate(c) && i + 1 < ate && Character.isLowSurrogate(s.charAt(i + 1))) {
                cp = Character.toCodePoint(c, s.charAt(++i));
            } else if (Character.isSurrogate(c)) {
                b[n++] = '?';
                continue;
            }
            utf8(Character.toLowerCase(cp));
        }
    }

    private void utf8(int cp) {
        if (cp < 0x80) {
            b[n++] = (byte) cp;
        } else if (cp < 0x800) {
            b[n++] = (byte) (0xc0 | cp >> 6);
            b[n++] = (byte) (0x80 | cp & 0x3f);
        } else if (cp < 0x10000) {
            b[n++] = (byte) (0xe0 | cp >> 12);
            b[n++] = (byte) (0x80 | cp >> 6 & 0x3f);
            b[n++] = (byte) (0x80 | cp & 0x3f);
        } else {
            b[n++] = (byte) (0xf0 | cp >> 18);
            b[n++] = (byte) (0x80 | cp >> 12 & 0x3f);
            b[n++] = (byte) (0x80 | cp >> 6 & 0x3f);
            b[n++] = (byte) (0x80 | cp & 0x3f);
        }
    }

    private void garantir(int mais) {
        if (n + mais > b.length) b = Arrays.copyOf(b, Math.max(2 * b.length, n + mais));
    }
}
