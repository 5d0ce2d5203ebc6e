package visualizador.pagina;

/** A test surface that only looks at the texts drawn: text blocks, colour and rules are ignored. */
interface PinturaSoDeTexto extends Pintura<FonteMeioEme> {
    @Override
    default void abrirTexto() {}

    @Override
    default void fecharTexto() {}

    @Override
    default void vermelho(boolean sim) {}

    @Override
    default void traco(float x1, float x2, float y, float espessura, float cinza) {}
}
