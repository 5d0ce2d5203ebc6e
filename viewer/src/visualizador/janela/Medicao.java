package visualizador.janela;

/**
 * For the benchmark: -Dvisualizador.medir=1 writes moments of the preview to standard error as
 * "zv-medida NAME EPOCH_MS"; =sair closes the preview once its first page is painted, =fim once
 * the report has ended and its last page is painted.
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

    static boolean sairNoFim() {
        return VALOR.equals("fim");
    }

    static void marcar(String nome) {
        System.err.printf("zv-medida %s %.3f%n", nome, System.nanoTime() / 1e6 - DIFERENCA);
    }

    // Epoch milliseconds with the monotonic clock's resolution.
    private static final double DIFERENCA = System.nanoTime() / 1e6 - System.currentTimeMillis();
}
