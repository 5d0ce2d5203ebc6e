package visualizador.pagina;

import java.io.IOException;

/**
 * The pages a {@link Diagramacao} fills, as a format keeps them. The layout draws on
 * {@link #pintura()}: what it drew after {@link #rascunho()} becomes a frame or a footer, what it
 * drew after {@link #pagina} that page's body.
 */
public interface Folhas<F extends Metrica> {
    F normal();

    F negrito();

    Pintura<F> pintura();

    /** Clears the surface for a drawing that is not a page's body: a frame or a footer. */
    void rascunho();

    /** What was drawn since {@link #rascunho()} is frame {@code qual}: the part pages share. */
    void moldura(int qual) throws IOException;

    /** Ends the page being drawn, if any, and begins page {@code numero} (from 1) with frame {@code moldura}. */
    void pagina(int numero, int moldura) throws IOException;

    /** Ends the last page: all are laid out. */
    void ultimaPagina() throws IOException;

    /** What was drawn since {@link #rascunho()} is page {@code numero}'s footer, known once all are laid out. */
    void rodape(int numero) throws IOException;

    /** Whether it wants each page's text ({@link #texto}): keeping it costs a little on every line. */
    default boolean guardaTexto() {
        return false;
    }

    /** The text of the page just laid out, just before the next begins or the last ends; valid during the call. */
    default void texto(TrechosDaPagina pagina) {}
}
