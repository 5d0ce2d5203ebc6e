package visualizador.design;

/**
 * One column of the listing. A column with a description field shows "code - description", or
 * {@code vazio} when the code is null (a stock row without address, for instance).
 *
 * @param largura  width in points on the A4 landscape page
 * @param casas    decimal places of a NUMERO column
 * @param total    the column is summed in subtotals and the grand total
 */
public record Coluna(String titulo, String campo, String campoDescricao, String vazio, TipoColuna tipo,
                     float largura, Alinhamento alinhamento, int casas, boolean total) {

    public boolean composta() {
        return campoDescricao != null;
    }
}
