package visualizador.pagina;

import java.util.Arrays;

/**
 * The text drawn on one page, piece by piece with its baseline, already in the search's form
 * ({@link TextoComparavel}: each character is converted once, as it is drawn), read back in the
 * order a text extractor reads the page: lines from the top down, the pieces of a line left to
 * right, one blank between pieces that stand apart. The order is by baseline because the header
 * form is drawn before the body although its footer line sits at the bottom.
 */
public final class TrechosDaPagina {
    /** Pieces on one baseline closer than this (points) read as one word, without a blank. */
    private static final float JUNTOS = 1;

    private final TextoComparavel texto = new TextoComparavel();
    private float[] base = new float[64];
    private float[] inicioX = new float[64];
    private float[] fimX = new float[64];
    private int[] fim = new int[64]; // end of each piece's bytes in texto
    private int n;

    public void limpar() {
        texto.limpar();
        n = 0;
    }

    /** Characters {@code ini} to {@code fimTexto} of {@code s} (then "…"), drawn from x to xFim on baseline y. */
    public void trecho(float x, float xFim, float y, CharSequence s, int ini, int fimTexto, boolean reticencias) {
        if (n == base.length) crescer();
        texto.texto(s, ini, fimTexto);
        if (reticencias) texto.caractere(Metrica.RETICENCIAS);
        marcar(x, xFim, y);
    }

    private void marcar(float x, float xFim, float y) {
        base[n] = y;
        inicioX[n] = x;
        fimX[n] = xFim;
        fim[n] = texto.tamanho();
        n++;
    }

    /** Adds {@code outros}' pieces after these (the header's, at the start of a page). */
    public void anexar(TrechosDaPagina outros) {
        for (int i = 0; i < outros.n; i++) {
            if (n == base.length) crescer();
            texto.copiar(outros.texto, i == 0 ? 0 : outros.fim[i - 1], outros.fim[i]);
            marcar(outros.inicioX[i], outros.fimX[i], outros.base[i]);
        }
    }

    public TrechosDaPagina copia() {
        final TrechosDaPagina c = new TrechosDaPagina();
        c.anexar(this);
        return c;
    }

    /** Writes the page's text in reading order into {@code saida}. */
    public void emOrdem(TextoComparavel saida) {
        final int[] ordem = new int[n];
        for (int i = 0; i < n; i++) ordem[i] = i;
        // Stable by baseline, top first. Pieces come nearly in order (only the footer line is
        // out of place), so an insertion sort is linear here.
        for (int i = 1; i < n; i++) {
            final int p = ordem[i];
            int j = i - 1;
            while (j >= 0 && base[ordem[j]] < base[p]) {
                ordem[j + 1] = ordem[j];
                j--;
            }
            ordem[j + 1] = p;
        }
        for (int k = 0; k < n; k++) {
            final int i = ordem[k];
            if (k > 0) {
                final int antes = ordem[k - 1];
                final boolean colado = base[antes] == base[i] && inicioX[i] - fimX[antes] < JUNTOS;
                if (!colado) saida.branco();
            }
            saida.copiar(texto, i == 0 ? 0 : fim[i - 1], fim[i]);
        }
    }

    private void crescer() {
        final int m = base.length * 2;
        base = Arrays.copyOf(base, m);
        inicioX = Arrays.copyOf(inicioX, m);
        fimX = Arrays.copyOf(fimX, m);
        fim = Arrays.copyOf(fim, m);
    }
}
