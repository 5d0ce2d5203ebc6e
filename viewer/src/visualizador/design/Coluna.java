package visualizador.design;

/**
 * One column of the listing. A column with a description field shows "code - description", or
 * {@code vazio} when the code is null (a stock row without address, for instance).
 *
 * @param largura  width in points on the A4 landscape page
 * @param casas    decimal places of a NUMERO column
 * @param total    the column is summed in subtotals and the grand total
 * @param cortar   a text too long is cut with "…" on one line instead of wrapping in its cell
 * @param cresce   the column takes its share of the width the page has to spare
 * @param valoresSql a query giving every text the column can show (code and description when it
 *                 has a description field), read from a small table before the first line so
 *                 that a page can size the column for them; null when the design gives none
 * @param legenda  when several codes may show, lines print the code alone and the page header
 *                 lists each code with its description
 */
public record Coluna(String titulo, String campo, String campoDescricao, String vazio, TipoColuna tipo,
                     float largura, Alinhamento alinhamento, int casas, boolean total, boolean cortar,
                     boolean cresce, String valoresSql, boolean legenda) {

    public Coluna(String titulo, String campo, String campoDescricao, String vazio, TipoColuna tipo, float largura,
                  Alinhamento alinhamento, int casas, boolean total, boolean cortar, boolean cresce) {
        this(titulo, campo, campoDescricao, vazio, tipo, largura, alinhamento, casas, total, cortar, cresce, null, false);
    }

    public Coluna(String titulo, String campo, String campoDescricao, String vazio, TipoColuna tipo, float largura,
                  Alinhamento alinhamento, int casas, boolean total) {
        this(titulo, campo, campoDescricao, vazio, tipo, largura, alinhamento, casas, total, false, false);
    }

    public boolean composta() {
        return campoDescricao != null;
    }
}
