package visualizador.dados;

/** Told how far a long report has got; asked whether the user cancelled it. */
public interface Progresso {
    Progresso NENHUM = new Progresso() {};

    default void linhasLidas(long linhas) {}

    default void paginas(int paginas) {}

    default boolean cancelado() {
        return false;
    }
}
