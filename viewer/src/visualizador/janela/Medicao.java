package visualizador.janela;

/**
 * For the benchmark (-Dvisualizador.medir=1, or =sair to close the preview once its first page is
 * painted): moments of the preview written to standard error as "zv-medida NAME EPOCH_MS".
 */
final class Medicao {
    private static final String VALOR = System.getProperty("visualizador.medir", "");

    private Medicao() {}

    static boolean ativa() {
        return !VALOR.isEmpty();
    }

    static boolean sairAposPrimeiraPagina() {
        return VALOR.equals("sair");
    }

    static void marcar(String nome) {
        System.err.printf("zv-medida %s %.3f%n", nome, System.nanoTime() / 1e6 - DIFERENCA);
    }

    // Epoch milliseconds with the monotonic clock's resolution.
    private static final double DIFERENCA = System.nanoTime() / 1e6 - System.currentTimeMillis();
}
