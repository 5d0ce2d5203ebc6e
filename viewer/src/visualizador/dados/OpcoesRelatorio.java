package visualizador.dados;

/**
 * The user's choices about what the report shows, beside its parameters: the launcher never sends
 * them; the parameter dialog and the preview set them.
 *
 * @param somenteTotais    one line per group with its count and sums, no detail lines
 * @param semEstoqueZerado leave out the lines whose stock is zero
 * @param paginaPorGrupo   each group starts on a page of its own (the formats with pages)
 */
public record OpcoesRelatorio(boolean somenteTotais, boolean semEstoqueZerado, boolean paginaPorGrupo) {
    /** The report as it always was: every line, zero stock included, groups one after the other. */
    public static final OpcoesRelatorio PADRAO = new OpcoesRelatorio(false, false, false);

    public OpcoesRelatorio(boolean somenteTotais, boolean semEstoqueZerado) {
        this(somenteTotais, semEstoqueZerado, false);
    }
}
