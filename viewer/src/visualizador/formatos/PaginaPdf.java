package visualizador.formatos;

import java.util.Arrays;
import java.util.zip.Deflater;
import visualizador.pagina.Pintura;

/**
 * The operators of one page's content, built in a reusable byte buffer: numbers are written
 * digit by digit and text as glyph codes, so a line costs no formatter and no string encoding.
 */
final class PaginaPdf implements Pintura<FontePdf> {
    private byte[] b = new byte[1 << 15];
    private int n;
    private FontePdf fonte;
    private int tamanho; // hundredths of a point
    private boolean vermelho;
    private int tx;
    private int ty; // start of the current text line inside BT, hundredths of a point
    private boolean trecho; // a TJ array is open
    private double pena; // where its next glyph would go, in points

    void reiniciar() {
        n = 0;
        trecho = false;
        fonte = null;
        vermelho = false;
    }

    /** Text in red (a negative figure) or black; written only when it changes. */
    @Override
    public void vermelho(boolean sim) {
        if (sim == vermelho) return;
        fecharTrecho();
        vermelho = sim;
        op(sim ? "0.8 0 0 rg " : "0 g ");
    }

    /** Appends operators built earlier (the page header); the font they leave set is unknown. */
    void anexar(byte[] operadores) {
        garantir(operadores.length);
        System.arraycopy(operadores, 0, b, n, operadores.length);
        n += operadores.length;
        fonte = null; // the operators leave the fill colour black
    }

    byte[] copia() {
        return Arrays.copyOf(b, n);
    }

    void comprimir(Deflater d) {
        d.setInput(b, 0, n);
    }

    @Override
    public void abrirTexto() {
        op("BT ");
        tx = 0;
        ty = 0;
    }

    @Override
    public void fecharTexto() {
        fecharTrecho();
        op("ET\n");
    }

    /** Font and size, written only when they change (both belong to the graphics state). */
    void fonte(FontePdf f, float pontos) {
        final int t = Math.round(pontos * 100);
        if (f == fonte && t == tamanho) return;
        fecharTrecho();
        fonte = f;
        tamanho = t;
        op("/").op(f.nome).op(" ");
        centesimos(t);
        op("Tf ");
    }

    /**
     * Characters {@code inicio} to {@code fim} of {@code s} (then "…" when {@code reticencias}),
     * starting at {@code x} on baseline {@code y}. Pieces on the same baseline in the same font
     * and colour share one TJ array, the blank between them given as a displacement: a line of
     * cells costs one operator instead of a move and a show per cell.
     */
    @Override
    public void texto(FontePdf f, float pontos, float x, float y, CharSequence s, int inicio, int fim, boolean reticencias) {
        if (trecho && (f != fonte || Math.round(pontos * 100) != tamanho || Math.round(y * 100) != ty)) fecharTrecho();
        fonte(f, pontos);
        final double t = tamanho / 100.0;
        if (!trecho) {
            posicionar(x, y);
            op("[");
            trecho = true;
            pena = tx / 100.0;
        } else {
            final long deslocamento = Math.round((pena - x) * 1000 / t);
            if (deslocamento != 0) {
                garantir(24);
                if (deslocamento < 0) b[n++] = '-';
                inteiro(Math.abs(deslocamento));
                b[n++] = ' ';
                pena -= deslocamento * t / 1000;
            }
        }
        pena += cadeia(f, s, inicio, fim, reticencias) * t / 1000;
    }

    private void fecharTrecho() {
        if (!trecho) return;
        trecho = false;
        op("]TJ ");
    }

    /** Moves to the start of a text piece, relative to the last one, as Td requires. */
    private void posicionar(float x, float y) {
        final int cx = Math.round(x * 100);
        final int cy = Math.round(y * 100);
        centesimos(cx - tx);
        centesimos(cy - ty);
        op("Td ");
        tx = cx;
        ty = cy;
    }

    /** A literal string of glyph codes; returns its width in thousandths of the font size. */
    private float cadeia(FontePdf f, CharSequence s, int inicio, int fim, boolean reticencias) {
        garantir(4 * (fim - inicio) + 16);
        float w = 0;
        b[n++] = '(';
        int emUso = 0; // the fallback font now set, 0: f
        for (int i = inicio; i < fim; i++) {
            final int g = f.codigo(s, i);
            if (g == FontePdf.PULAR) continue;
            final int reserva = g >>> FontePdf.DESLOCAMENTO_RESERVA;
            if (reserva != emUso) {
                trocar(reserva == 0 ? f : f.reserva(reserva));
                emUso = reserva;
                garantir(4 * (fim - i) + 64);
            }
            codigo(g);
            w += f.largura(s, i);
        }
        if (emUso != 0) {
            trocar(f);
            garantir(16);
        }
        if (reticencias) {
            codigo(f.codigo(FontePdf.RETICENCIAS));
            w += f.largura(FontePdf.RETICENCIAS);
        }
        b[n++] = ')';
        return w;
    }

    /**
     * Inside a string of a TJ array: ends both, sets {@code f} at the same size and opens them
     * again. The text position goes on from where the glyphs shown left it.
     */
    private void trocar(FontePdf f) {
        b[n++] = ')';
        op("]TJ /").op(f.nome).op(" ");
        centesimos(tamanho);
        op("Tf [");
        b[n++] = '(';
    }

    private void codigo(int g) {
        if ((g & FontePdf.DOIS_BYTES) != 0) byte_(g >>> 8 & 0xff);
        byte_(g & 0xff);
    }

    /** A horizontal rule, in grey level {@code cinza} (0 black, 1 white). */
    @Override
    public void traco(float x1, float x2, float y, float espessura, float cinza) {
        op("q ");
        num(cinza).op("G ");
        num(espessura).op("w ");
        num(x1).num(y).op("m ");
        num(x2).num(y).op("l S Q\n");
    }

    // Inside a literal string, parentheses and backslash must be escaped, and a bare CR would be
    // read as an end of line.
    private void byte_(int v) {
        switch (v) {
            case '(', ')', '\\' -> {
                b[n++] = '\\';
                b[n++] = (byte) v;
            }
            case '\r' -> {
                b[n++] = '\\';
                b[n++] = 'r';
            }
            default -> b[n++] = (byte) v;
        }
    }

    PaginaPdf num(float v) {
        centesimos(Math.round(v * 100));
        return this;
    }

    private void centesimos(int c) {
        garantir(16);
        if (c < 0) {
            b[n++] = '-';
            c = -c;
        }
        inteiro(c / 100);
        final int f = c % 100;
        if (f != 0) {
            b[n++] = '.';
            b[n++] = (byte) ('0' + f / 10);
            if (f % 10 != 0) b[n++] = (byte) ('0' + f % 10);
        }
        b[n++] = ' ';
    }

    private void inteiro(long v) {
        int casas = 1;
        for (long d = v; d >= 10; d /= 10) casas++;
        for (int i = n + casas - 1; i >= n; i--, v /= 10) b[i] = (byte) ('0' + v % 10);
        n += casas;
    }

    private PaginaPdf op(String ascii) {
        final int len = ascii.length();
        garantir(len);
        for (int i = 0; i < len; i++) b[n++] = (byte) ascii.charAt(i);
        return this;
    }

    private void garantir(int mais) {
        if (n + mais > b.length) b = Arrays.copyOf(b, Math.max(b.length * 2, n + mais));
    }
}
