package visualizador.dados;

/** Told how far a long report has got; asked whether the user cancelled it. */
public interface Progresso {
    Progresso NENHUM = new Progresso() {};

    default void linhasLidas(long linhas) {}

    default void paginas(int paginas) {}

    default boolean cancelado() {
        return false;
    }

    /** {@code acao} runs when the user cancels (at once if already cancelled), to stop waiting work. */
    default void aoCancelar(Runnable acao) {}
}
