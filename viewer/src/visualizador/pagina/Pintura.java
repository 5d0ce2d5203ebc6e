package visualizador.pagina;

/** Where a laid-out page is drawn, in points from its lower left corner, in fonts of type F. */
public interface Pintura<F extends Metrica> {
    void abrirTexto();

    void fecharTexto();

    /**
     * Characters {@code inicio} to {@code fim} of {@code s}, then "…" when {@code reticencias},
     * from {@code x} on baseline {@code y}; between {@link #abrirTexto} and {@link #fecharTexto}.
     */
    void texto(F fonte, float pontos, float x, float y, CharSequence s, int inicio, int fim, boolean reticencias);

    /** Text in red (a negative figure) or black. */
    void vermelho(boolean sim);

    /** A horizontal rule, in grey level {@code cinza} (0 black, 1 white). */
    void traco(float x1, float x2, float y, float espessura, float cinza);
}
