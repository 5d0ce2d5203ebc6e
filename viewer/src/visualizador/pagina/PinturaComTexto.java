package visualizador.pagina;

/**
 * A surface that keeps the text drawn on it besides drawing it: each page's text, for a search,
 * with the text of the page's frame first.
 */
final class PinturaComTexto<F extends Metrica> implements Pintura<F> {
    private final Pintura<F> pintura;
    private final TrechosDaPagina trechos = new TrechosDaPagina();
    private final TrechosDaPagina[] molduras = new TrechosDaPagina[3];

    PinturaComTexto(Pintura<F> pintura) {
        this.pintura = pintura;
    }

    /** What was drawn since {@link #limpar}. */
    TrechosDaPagina trechos() {
        return trechos;
    }

    void limpar() {
        trechos.limpar();
    }

    /** What was drawn since {@link #limpar} is frame {@code qual}'s text. */
    void guardarMoldura(int qual) {
        molduras[qual] = trechos.copia();
    }

    /** A page begins: its text starts with its frame's. */
    void comecarPagina(int moldura) {
        trechos.limpar();
        trechos.anexar(molduras[moldura]);
    }

    @Override
    public void abrirTexto() {
        pintura.abrirTexto();
    }

    @Override
    public void fecharTexto() {
        pintura.fecharTexto();
    }

    @Override
    public void texto(F f, float pontos, float x, float y, CharSequence s, int inicio, int fim, boolean reticencias) {
        pintura.texto(f, pontos, x, y, s, inicio, fim, reticencias);
        final float w = f.largura(s, inicio, fim) + (reticencias ? f.largura(Metrica.RETICENCIAS) : 0);
        trechos.trecho(x, x + w * pontos / 1000, y, s, inicio, fim, reticencias);
    }

    @Override
    public void vermelho(boolean sim) {
        pintura.vermelho(sim);
    }

    @Override
    public void traco(float x1, float x2, float y, float espessura, float cinza) {
        pintura.traco(x1, x2, y, espessura, cinza);
    }
}
