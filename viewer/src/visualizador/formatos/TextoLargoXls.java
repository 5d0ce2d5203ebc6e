package visualizador.formatos;

import java.util.ArrayList;
import java.util.List;

/**
 * A header text wider than the table (a long list of codes), wrapped in a cell as wide as the
 * table. A spreadsheet row is at most 409 points tall and a cell holds at most 32,767 characters,
 * so a longer text goes on in the rows below, cut between two items of the list.
 *
 * @param pedacos the rows' texts
 * @param linhas how many wrapped lines each row shows, for its height
 */
record TextoLargoXls(List<String> pedacos, List<Integer> linhas) {
    /** Points of one wrapped line of a 10-point font. */
    static final float ALTURA_LINHA = 12.75f;
    /** The wrapped lines a row can show (409 points). */
    static final int MAX_LINHAS = 32;
    private static final int MAX_TEXTO = 32_767;

    /**
     * {@code largura}: the table's width in characters of the sheet's default font; capitals are
     * wider, so a line is taken to hold a fifth fewer.
     */
    static TextoLargoXls quebrar(String texto, int largura) {
        final int porLinha = Math.max(10, largura * 4 / 5);
        final int maximo = Math.min(MAX_TEXTO, porLinha * (MAX_LINHAS - 2));
        final List<String> pedacos = new ArrayList<>();
        String resto = texto;
        while (resto.length() > maximo) {
            int corte = resto.lastIndexOf(", ", maximo - 1);
            if (corte <= 0) corte = maximo - 1; // one item longer than a row: cut inside it
            pedacos.add(resto.substring(0, corte + 1));
            resto = resto.substring(corte + 1).stripLeading();
        }
        pedacos.add(resto);
        final List<Integer> linhas = new ArrayList<>();
        for (String p : pedacos) linhas.add(Math.max(1, (p.length() + porLinha - 1) / porLinha));
        return new TextoLargoXls(List.copyOf(pedacos), List.copyOf(linhas));
    }
}
